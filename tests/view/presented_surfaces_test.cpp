// The surfaces a run presents: drawn from their own copies instead of the
// project's slice set, each with its mark and its own label, and labels of
// surfaces sharing a centre stacked so that each can be read.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <set>

#include "model/numbers.h"
#include "texts/captions.h"
#include "view/section_view.h"
#include "view_fixture.h"

namespace pelodyn {
namespace {

using testing::Rgb;
using testing::ViewProject;

const QColor kRed(255, 0, 0);
const QColor kYellow(255, 255, 0);
constexpr int kLabelGap = 2;

TEST(StackLabels, LabelsThatWouldMeetStackDownAndOthersStayPut) {
  const QSize s(40, 16);
  struct Case {
    const char* name;
    std::vector<QPoint> anchors;
    std::vector<QSize> sizes;
    std::vector<QPoint> expected;
  };
  const Case cases[] = {
      {"one label stays at its anchor", {{7, 9}}, {s}, {{7, 9}}},
      {"three on one centre: one label height and the gap apart",
       {{10, 10}, {10, 10}, {10, 10}},
       {s, s, s},
       {{10, 10}, {10, 10 + 16 + kLabelGap}, {10, 10 + 2 * (16 + kLabelGap)}}},
      {"distant centres unchanged", {{10, 10}, {200, 10}, {10, 200}}, {s, s, s}, {{10, 10}, {200, 10}, {10, 200}}},
      {"side by side, touching only", {{10, 10}, {50, 10}}, {s, s}, {{10, 10}, {50, 10}}},
      {"partial overlap below moves under the first", {{10, 10}, {30, 20}}, {s, s}, {{10, 10}, {30, 28}}},
      {"partial overlap above moves under the first too", {{10, 20}, {10, 12}}, {s, s}, {{10, 20}, {10, 38}}},
      {"moved past one, then past the next", {{10, 10}, {10, 40}, {10, 12}}, {s, s, s}, {{10, 10}, {10, 40}, {10, 58}}},
      {"a mark without a label neither moves nor pushes",
       {{10, 10}, {10, 10}, {10, 10}},
       {s, QSize(0, 0), s},
       {{10, 10}, {10, 10}, {10, 28}}},
      {"labels of different sizes", {{10, 10}, {12, 14}}, {QSize(40, 20), QSize(30, 10)}, {{10, 10}, {12, 32}}},
  };
  for (const Case& c : cases) {
    const std::vector<QPoint> places = StackLabels(c.anchors, c.sizes);
    EXPECT_EQ(places, c.expected) << c.name;
    // Whatever the case, no two labels meet.
    for (std::size_t i = 0; i < places.size() && i < c.sizes.size(); ++i) {
      for (std::size_t j = i + 1; j < places.size(); ++j) {
        EXPECT_FALSE(QRect(places[i], c.sizes[i]).intersects(QRect(places[j], c.sizes[j]))) << c.name << i << j;
      }
    }
  }
}

CriticalSurface Vee(double centreX, double labelFs, double centreY = 45.0) {
  // A two-slice vee 20 wide and 10 deep under y = 25, centred under the centre.
  const double l = centreX - 10, m = centreX, r = centreX + 10;
  CriticalSurface s;
  s.method = 2;
  s.labelFs = labelFs;
  s.centerX = centreX;
  s.centerY = centreY;
  s.radius = 20;
  s.surfaceX = {l, m, r};
  s.surfaceY = {25, 15, 25};
  s.boundaryX = {l, m, r};
  s.surfaceYAtBoundary = {25, 25, 25};
  s.baseYAtBoundary = {25, 15, 25};
  s.sliceCount = 2;
  s.activeFirst = 0;
  s.activeEnd = 2;
  return s;
}

QFont LabelFont() {
  QFont font("Tahoma");
  font.setPixelSize(13);
  font.setBold(true);
  return font;
}

using Glyphs = std::set<std::pair<int, int>>;

// The pure red pixels of `box`, relative to its top-left corner.
Glyphs RedPixels(const QImage& image, const QRect& box) {
  Glyphs g;
  for (int y = box.top(); y <= box.bottom(); ++y) {
    for (int x = box.left(); x <= box.right(); ++x) {
      if (image.valid(x, y) && image.pixelColor(x, y) == kRed) g.insert({x - box.left(), y - box.top()});
    }
  }
  return g;
}

// The box a factor label covers with its white background (the text laid
// out from a top-left corner), and the glyphs it shows, drawn on its own.
QSize LabelSize(const QString& text) {
  return QFontMetrics(LabelFont()).boundingRect(QRect(0, 0, 1000, 100), Qt::AlignLeft | Qt::AlignTop, text).size();
}

Glyphs LabelGlyphs(const QString& text) {
  QImage image(LabelSize(text), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setFont(LabelFont());
  p.setPen(kRed);
  p.drawText(QRect(0, 0, 1000, 100), Qt::AlignLeft | Qt::AlignTop, text);
  p.end();
  return RedPixels(image, image.rect());
}

// A view large enough to show the whole layered example without scrolling:
// viewport pixels are canvas pixels.
struct WholeView {
  ViewProject p;
  SectionView view;
  WholeView() {
    p.load("layered-phreatic-loads.pdd");
    view.resize(1100, 750);
    view.setProject(&p.project);
    ViewOptions o;
    o.showGrid = false;
    o.resultAvailable = true;
    view.setViewOptions(o);
    view.show();
  }
  QImage paint() {
    EXPECT_EQ(view.canvas()->visibleImageRect(), view.canvas()->rect());
    return view.viewport()->grab().toImage();
  }
  QPoint pixel(double x, double y) const {
    const PixelPoint q = view.transform().worldToImage(x, y, view.scene().scaleX, view.scene().scaleY);
    return {q.x, q.y};
  }
  // Where a label of a mark at world (x, y) would be on its own: right of
  // the mark and 3 pixels above its bottom.
  QPoint labelAnchor(double x, double y) const {
    const int r = static_cast<int>(std::nearbyint(10.0 * p.project.drawing.CenterMarkSize));
    return pixel(x, y) + QPoint(r + 3, r - 3);
  }
  // The project's own analysed surface: a vee centred at x = 50.
  void projectSurface() {
    SliceSet& s = p.project.slices;
    s.SlipPointCount = 3;
    s.SlipX = {40, 50, 60};
    s.SlipY = {25, 15, 25};
    s.SliceCount = 2;
    s.BoundaryX = {40, 50, 60};
    s.SurfaceYAtBoundary = {25, 25, 25};
    s.BaseYAtBoundary = {25, 15, 25};
    s.ActiveFirst = 0;
    s.ActiveEnd = 2;
    p.project.model.CenterX = 50;
    p.project.model.CenterY = 45;
    p.project.run.ShowPicture[Bishop] = 1;
    p.project.run.Minimum[Bishop].Fs = 1.5;
    view.redrawOverlays();
  }
};

// A point inside the left slice of a vee centred at x (7 right of its left
// end, 3 above its base).
std::pair<double, double> InLeftSlice(double x) {
  return {x - 3, 22};
}

TEST(PresentedSurfaces, EachIsDrawnWithItsMarkAndItsOwnLabelInsteadOfTheProjectsSurface) {
  WholeView v;
  v.projectSurface();
  const QColor fill = Rgb(v.p.project.drawing.SliceFillColor);
  auto filledAt = [&](const QImage& shown, double x) {
    const auto [wx, wy] = InLeftSlice(x);
    return shown.pixelColor(v.pixel(wx, wy)) == fill;
  };
  ASSERT_TRUE(filledAt(v.paint(), 50)) << "the project's surface before any is presented";

  const std::vector<CriticalSurface> surfaces = {Vee(25, 1.234), Vee(75, 2.5)};
  v.view.setCriticalSurfaces(surfaces);
  EXPECT_EQ(v.view.criticalSurfaces(), surfaces);
  ASSERT_EQ(v.view.scene().presented.size(), 2u);
  for (std::size_t k = 0; k < 2; ++k) {
    const SectionScene::Analysed& a = v.view.scene().presented[k];
    EXPECT_EQ(a.surfaceX, surfaces[k].surfaceX);
    EXPECT_EQ(a.baseYAtBoundary, surfaces[k].baseYAtBoundary);
    EXPECT_EQ(a.centerX, surfaces[k].centerX);
    EXPECT_EQ(a.labelFs, surfaces[k].labelFs);
    EXPECT_EQ(a.labelPrefix, "Bis ");
    EXPECT_TRUE(a.hasLabel);
    EXPECT_EQ(a.centerMarkSize, v.p.project.drawing.CenterMarkSize);
    EXPECT_EQ(a.sliceFillColour, v.p.project.drawing.SliceFillColor);
  }

  const QImage shown = v.paint();
  EXPECT_TRUE(filledAt(shown, 25));
  EXPECT_TRUE(filledAt(shown, 75));
  EXPECT_FALSE(filledAt(shown, 50)) << "the project's surface gives way to the presented ones";
  EXPECT_NE(shown.pixelColor(v.pixel(50, 45)), kYellow);
  for (const CriticalSurface& s : surfaces) {
    EXPECT_EQ(shown.pixelColor(v.pixel(s.centerX, s.centerY)), kYellow) << s.centerX;
    // A method's critical surface names its method before the factor.
    const QString text = QString::fromStdString("Bis " + FormatFixed(s.labelFs, 3));
    const Glyphs own = LabelGlyphs(text);
    ASSERT_FALSE(own.empty());
    EXPECT_EQ(RedPixels(shown, QRect(v.labelAnchor(s.centerX, s.centerY), LabelSize(text))), own) << s.labelFs;
  }

  // Without a result nothing analysed is drawn; an empty list gives the
  // drawing back to the project's surface.
  ViewOptions o = v.view.viewOptions();
  o.resultAvailable = false;
  v.view.setViewOptions(o);
  EXPECT_FALSE(filledAt(v.paint(), 25));
  o.resultAvailable = true;
  v.view.setViewOptions(o);
  v.view.setCriticalSurfaces({});
  const QImage back = v.paint();
  EXPECT_TRUE(filledAt(back, 50));
  EXPECT_FALSE(filledAt(back, 25));
}

TEST(PresentedSurfaces, AValueThatIsNoFactorIsLabelledWithWhyThereIsNone) {
  WholeView v;
  const CriticalSurface surface = Vee(50, 1000009.0);
  v.view.setCriticalSurfaces({surface});
  const QImage shown = v.paint();
  const QString text = QString::fromStdString("Bis " + NoFactorText(1, 1000009.0));
  ASSERT_TRUE(text.startsWith("Bis no factor")) << text.toStdString();
  const Glyphs own = LabelGlyphs(text);
  ASSERT_FALSE(own.empty());
  EXPECT_EQ(RedPixels(shown, QRect(v.labelAnchor(surface.centerX, surface.centerY), LabelSize(text))), own);
}

TEST(PresentedSurfaces, DrawnWhileFrozenWithTheSettingsReadBefore) {
  WholeView v;
  const int fill = v.p.project.drawing.SliceFillColor;
  v.view.setFrozen(true);
  // A search owns the project now: what it changes is not read.
  v.p.project.drawing.SliceFillColor = 0x0000FF;
  v.view.setCriticalSurfaces({Vee(25, 1.234)});
  const QImage shown = v.paint();
  const auto [x, y] = InLeftSlice(25);
  EXPECT_EQ(shown.pixelColor(v.pixel(x, y)), Rgb(fill));
  EXPECT_EQ(shown.pixelColor(v.pixel(25, 45)), kYellow);
}

TEST(PresentedSurfaces, LabelsOfOneCentreStackAndStayReadableOverTheContourDiscs) {
  WholeView v;
  const std::vector<double> factors = {1.234, 2.468, 3.7};
  std::vector<CriticalSurface> surfaces;
  for (double fs : factors) surfaces.push_back(Vee(50, fs));
  // One more far away (and clear of the contour legend in the top-right
  // corner): its label stays where it would be alone.
  surfaces.push_back(Vee(85, 4.321, 35.0));
  v.view.setCriticalSurfaces(surfaces);

  auto check = [&](const QImage& shown, const char* what) {
    const QPoint anchor = v.labelAnchor(50, 45);
    int top = anchor.y();
    for (double fs : factors) {
      const QString text = QString::fromStdString("Bis " + FormatFixed(fs, 3));
      EXPECT_EQ(RedPixels(shown, QRect(QPoint(anchor.x(), top), LabelSize(text))), LabelGlyphs(text)) << what << fs;
      top += LabelSize(text).height() + kLabelGap;
    }
    const QString far = QStringLiteral("Bis 4.321");
    EXPECT_EQ(RedPixels(shown, QRect(v.labelAnchor(85, 35), LabelSize(far))), LabelGlyphs(far)) << what;
  };
  check(v.paint(), "on the surfaces");

  // Discs over the shared centre: the marks and labels are drawn again on
  // top of them, stacked the same way.
  ContourMap map;
  map.rows = 1;
  map.cols = 2;
  map.nodes = {{50, 45, 1.234}, {52, 44, 3.7}};
  map.FsLow = 1.234;
  map.FsHigh = 3.7;
  v.view.setContourMap(map);
  check(v.paint(), "over the discs");
}

}  // namespace
}  // namespace pelodyn
