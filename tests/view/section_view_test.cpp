#include "view/section_view.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include "view_fixture.h"

namespace pelodyn {
namespace {

using testing::ViewProject;

// A view of 400 x 300 pixels on a project, painted once.
struct ShownView {
  ViewProject p;
  SectionView view;
  explicit ShownView(const char* example = "layered-phreatic-loads.pdd") {
    if (example != nullptr) p.load(example);
    view.resize(400, 300);
    view.setProject(&p.project);
    view.show();
    paint();
  }
  QImage paint() { return view.viewport()->grab().toImage(); }
};

TEST(SectionView, NamesOfTheScrollBoxAndTheCanvas) {
  SectionView view;
  EXPECT_EQ(view.objectName(), "ScrollBox_Image");
  EXPECT_EQ(view.canvas()->objectName(), "Image_Area");
  EXPECT_EQ(view.horizontalScrollBar()->singleStep(), 10);
  EXPECT_EQ(view.verticalScrollBar()->singleStep(), 10);
}

TEST(SectionView, WithoutAProjectOnlyTheBackground) {
  SectionView view;
  view.resize(200, 150);
  view.show();
  const QImage image = view.viewport()->grab().toImage();
  EXPECT_EQ(image.pixelColor(60, 60), QColor(255, 255, 255));
}

TEST(SectionView, TheCanvasSpansTheWorkAreaAtTheGridSize) {
  ShownView v;
  EXPECT_EQ(v.view.pixelsPerUnit(), 10);
  EXPECT_EQ(v.view.transform(), MakeViewTransform(v.p.project.drawing, 10));
  EXPECT_EQ(v.view.canvas()->size(), QSize(1020, 650));
  EXPECT_EQ(v.view.displayList().DisplayItemCount, 12);
}

TEST(SectionView, ControlWheelZoomsAndThePlainWheelDoesNot) {
  ShownView v;
  auto wheel = [&](int delta, Qt::KeyboardModifiers modifiers) {
    const QPointF at(50, 50);
    QWheelEvent event(at, v.view.viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(v.view.viewport(), &event);
  };
  wheel(120, Qt::ControlModifier);
  EXPECT_EQ(v.view.pixelsPerUnit(), 14);
  wheel(-120, Qt::ControlModifier);
  EXPECT_EQ(v.view.pixelsPerUnit(), 12);
  wheel(120, Qt::NoModifier);
  EXPECT_EQ(v.view.pixelsPerUnit(), 12);
}

TEST(SectionView, ZoomStepsAndLimits) {
  struct Case {
    int start;
    bool in;
    int expected;
  };
  const Case cases[] = {{10, true, 14}, {26, true, 30}, {30, true, 30}, {28, true, 30},
                        {10, false, 8}, {6, false, 4},  {4, false, 4},  {5, false, 4}};
  for (const Case& c : cases) {
    ShownView v;
    v.view.setPixelsPerUnit(c.start);
    v.paint();
    const int before = v.view.canvas()->baseRenderCount();
    if (c.in) {
      v.view.zoomIn();
    } else {
      v.view.zoomOut();
    }
    v.paint();
    EXPECT_EQ(v.view.pixelsPerUnit(), c.expected) << c.start << (c.in ? " in" : " out");
    // A zoom held at its bound redraws too.
    EXPECT_GT(v.view.canvas()->baseRenderCount(), before) << c.start;
    EXPECT_EQ(v.view.transform(), MakeViewTransform(v.p.project.drawing, c.expected));
    // Items and pixels agree after every zoom.
    for (const DisplayItem& item : v.view.displayList().items) {
      EXPECT_EQ((PixelPoint{item.pixelX, item.pixelY}), v.view.transform().worldToImage(item.x, item.y, 1, 1));
    }
  }
}

TEST(SectionView, ZoomKeepsTheCentreOfTheVisiblePart) {
  ShownView v;
  v.view.setViewOptions([] {
    ViewOptions o;
    o.snapGrid = false;
    return o;
  }());
  v.view.horizontalScrollBar()->setValue(300);
  v.view.verticalScrollBar()->setValue(200);
  auto centre = [&v] {
    const int cx = v.view.viewport()->width() / 2 + v.view.horizontalScrollBar()->value();
    const int cy = v.view.viewport()->height() / 2 + v.view.verticalScrollBar()->value();
    return std::pair{v.view.transform().pixelToGridX(cx, cy, false), v.view.transform().pixelToGridY(cx, cy, false)};
  };
  const auto [x0, y0] = centre();
  v.view.zoomIn();
  const auto [x1, y1] = centre();
  EXPECT_NEAR(x1, x0, 0.1);
  EXPECT_NEAR(y1, y0, 0.1);
}

TEST(SectionView, FitOnATableOfExtents) {
  struct Case {
    const char* name;
    double xmin, xmax, ymin, ymax;
    int width, height;
    SectionView::Fit expected;
  };
  // The image (nx by ny units at p pixels, plus the 20-pixel margin) must
  // fit the box: nx = floor((width - 20) / p), ny = floor((height - 20) / p);
  // p = floor(min((width - 20 - 60) / w, (height - 20 - 60) / h)) keeps 30
  // pixels around the content; the area is centred on the content, its low
  // side rounded to even.
  const Case cases[] = {
      // p = floor(min(720 / 180, 520 / 60)) = 4; nx = 195, ny = 145;
      // 90 - 97.5 = -7.5 -> -8, 30 - 72.5 = -42.5 -> -42.
      {"wide", 0, 180, 0, 60, 800, 600, {4, -8, 187, -42, 103}},
      // p = floor(min(72, 5.2)) = 5; nx = 156, ny = 116.
      {"tall", 0, 10, 0, 100, 800, 600, {5, -73, 83, -8, 108}},
      // Zero width counts as one unit: p = floor(min(720, 10.4)) = 10;
      // nx = 78, ny = 58; 5 - 39 = -34.
      {"zero width", 5, 5, 0, 50, 800, 600, {10, -34, 44, -4, 54}},
      // p = floor(min(7.2, 520)) = 7; nx = 111, ny = 82; 50 - 55.5 = -5.5
      // rounds to even, -6; 7 - 41 = -34.
      {"zero height", 0, 100, 7, 7, 800, 600, {7, -6, 105, -34, 48}},
      // p = 520; nx = ny = 1; 3 - 0.5 = 2.5 -> 2, 4 - 0.5 = 3.5 -> 4.
      {"a single point", 3, 3, 4, 4, 800, 600, {520, 2, 3, 4, 5}},
      {"huge: at least one pixel per unit", 0, 100000, 0, 10, 120, 100, {1, 49950, 50050, -35, 45}},
      {"scroll box under the padding", 0, 10, 0, 10, 80, 60, {1, -25, 35, -15, 25}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SectionView::ComputeFit(c.xmin, c.xmax, c.ymin, c.ymax, c.width, c.height), c.expected) << c.name;
  }
}

TEST(SectionView, FitViewSetsTheWorkAreaAndZoomAndNeedsGeometry) {
  ShownView v;
  v.view.fitView();
  const DrawingSettings& d = v.p.project.drawing;
  const int w = v.view.viewport()->width(), h = v.view.viewport()->height();
  // The layered example spans 0..100 x 0..72 with its grid of centres.
  const SectionView::Fit expected = SectionView::ComputeFit(0, 100, 0, 72, w, h);
  EXPECT_EQ(v.view.pixelsPerUnit(), expected.pixelsPerUnit);
  EXPECT_EQ(d.WorkAreaXmin, expected.xmin);
  EXPECT_EQ(d.WorkAreaXmax, expected.xmax);
  EXPECT_EQ(d.WorkAreaYmin, expected.ymin);
  EXPECT_EQ(d.WorkAreaYmax, expected.ymax);
  EXPECT_EQ(v.view.transform(), MakeViewTransform(d, expected.pixelsPerUnit));

  ShownView empty(nullptr);
  const DrawingSettings before = empty.p.project.drawing;
  empty.view.fitView();
  EXPECT_EQ(empty.p.project.drawing, before);
  EXPECT_EQ(empty.view.pixelsPerUnit(), 10);
}

TEST(SectionView, ALongSectionAtTheLargestZoomRendersOnlyTheVisiblePart) {
  ShownView v;
  v.p.project.drawing.WorkAreaXmax = 1000;
  v.view.setPixelsPerUnit(30);
  v.view.redrawBase(2);
  v.paint();
  EXPECT_EQ(v.view.canvas()->size(), QSize(30020, 1910));
  const QSize port = v.view.viewport()->size();
  EXPECT_EQ(v.view.canvas()->cachedBase().size(), port);
  EXPECT_EQ(v.view.canvas()->cachedBaseRect().size(), port);
  // Scrolling to the far end renders that part, at the same size.
  v.view.horizontalScrollBar()->setValue(v.view.horizontalScrollBar()->maximum());
  v.paint();
  EXPECT_EQ(v.view.canvas()->cachedBase().size(), port);
  EXPECT_EQ(v.view.canvas()->cachedBaseRect().right(), 30019);
}

TEST(SectionView, TheViewShowsWhatThePaintersDraw) {
  ShownView v;
  v.view.horizontalScrollBar()->setValue(400);
  v.view.verticalScrollBar()->setValue(300);
  const QImage shown = v.paint();
  const testing::Rendered whole = testing::Render(v.p.project, v.view.viewOptions());
  const QPoint offset(400, 300);
  int differing = 0;
  for (int y = 0; y < shown.height(); y += 7) {
    for (int x = 0; x < shown.width(); x += 7) {
      const bool same = shown.pixel(x, y) == whole.image.pixel(QPoint(x, y) + offset);
      differing += !same;
      if (!same)
        ADD_FAILURE() << x << "," << y << " " << std::hex << shown.pixel(x, y) << " "
                      << whole.image.pixel(QPoint(x, y) + offset);
    }
  }
  EXPECT_EQ(differing, 0);
}

TEST(SectionView, ScrollToOriginPutsTheOriginNearTheLowerLeftCorner) {
  ShownView v;
  v.view.scrollToOrigin();
  EXPECT_EQ(v.view.horizontalScrollBar()->value(), 0);
  const int expected =
      std::clamp(650 - v.view.viewport()->height() - 20 + 40, 0, v.view.verticalScrollBar()->maximum());
  EXPECT_EQ(v.view.verticalScrollBar()->value(), expected);
}

TEST(SectionView, NothingIsRedrawnWhileTheProjectLoads) {
  ShownView v;
  v.p.project.ProjectLoading = 1;
  v.p.project.drawing.WorkAreaXmax = 300;
  v.view.redrawBase(2);
  EXPECT_EQ(v.view.canvas()->size(), QSize(1020, 650));
  v.p.project.ProjectLoading = 0;
  v.view.redrawBase(2);
  EXPECT_EQ(v.view.canvas()->size(), QSize(3020, 650));
}

TEST(SectionView, OptionsRedrawTheLayersTheyTouch) {
  ShownView v;
  const int base = v.view.canvas()->baseRenderCount();
  const int overlay = v.view.canvas()->overlayRenderCount();
  ViewOptions o = v.view.viewOptions();
  o.snapGrid = !o.snapGrid;  // changes no picture
  v.view.setViewOptions(o);
  v.paint();
  EXPECT_EQ(v.view.canvas()->baseRenderCount(), base);
  o.resultAvailable = true;
  v.view.setViewOptions(o);
  v.paint();
  EXPECT_EQ(v.view.canvas()->baseRenderCount(), base);
  EXPECT_GT(v.view.canvas()->overlayRenderCount(), overlay);
  o.showGrid = false;
  v.view.setViewOptions(o);
  v.paint();
  EXPECT_GT(v.view.canvas()->baseRenderCount(), base);
}

TEST(SectionView, ATrialRepaintsOnlyItsOwnLayer) {
  ShownView v;
  v.view.horizontalScrollBar()->setValue(0);
  v.view.verticalScrollBar()->setValue(v.view.verticalScrollBar()->maximum());
  v.paint();
  const int base = v.view.canvas()->baseRenderCount();
  const int overlay = v.view.canvas()->overlayRenderCount();
  v.view.canvas()->setTrial({5, 15}, {2, 2}, 10, 12);
  const QImage with = v.paint();
  EXPECT_EQ(v.view.canvas()->baseRenderCount(), base);
  EXPECT_EQ(v.view.canvas()->overlayRenderCount(), overlay);
  const QPoint at = [&] {
    const PixelPoint q = v.view.transform().worldToImage(10, 2, 1, 1);
    return QPoint(q.x, q.y) - QPoint(v.view.horizontalScrollBar()->value(), v.view.verticalScrollBar()->value());
  }();
  EXPECT_EQ(with.pixelColor(at), QColor(255, 0, 0));
  v.view.canvas()->clearTrial();
  EXPECT_NE(v.paint().pixelColor(at), QColor(255, 0, 0));
}

TEST(SectionView, CursorReportedInWorldUnits) {
  ShownView v;
  v.p.project.drawing.ScaleX = 2;
  v.view.redrawBase(1);
  double wx = 0, wy = 0;
  QObject::connect(&v.view, &SectionView::cursorMoved, [&](double x, double y) {
    wx = x;
    wy = y;
  });
  const PixelPoint p = v.view.transform().gridToImage(12.6, 7.3);
  const auto moveTo = [&] {
    QMouseEvent move(QEvent::MouseMove, QPointF(p.x, p.y), QPointF(p.x, p.y), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(v.view.canvas(), &move);
  };
  // Without the grid snap the cursor is where it is; with it, on the
  // nearest node of the lattice, as a click there would place a point.
  ViewOptions o = v.view.viewOptions();
  o.snapGrid = false;
  v.view.setViewOptions(o);
  moveTo();
  EXPECT_DOUBLE_EQ(wx, 25.2);
  EXPECT_DOUBLE_EQ(wy, 7.3);
  o.snapGrid = true;
  v.view.setViewOptions(o);
  moveTo();
  EXPECT_DOUBLE_EQ(wx, 26.0);
  EXPECT_DOUBLE_EQ(wy, 7.0);
}

}  // namespace
}  // namespace pelodyn
