// The legend of a factor-of-safety contour map: what it says, how it is
// painted, and that the window's view keeps it in the corner of what is in
// sight.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <optional>

#include "view/fs_contour_painter.h"
#include "view/section_view.h"
#include "view_fixture.h"

namespace pelodyn {
namespace {

using testing::ViewProject;

// The ends of the disc colours, worked out from the spectrum: 700 nm is pure
// red; 380 nm is red and blue at 0.3 intensity, 255 * 0.3^0.8 = 97.
const std::array<int, 3> kLowestRgb{255, 0, 0};
const std::array<int, 3> kHighestRgb{97, 0, 97};

// A map of nodes in a row with these factors (nullopt: no factor), its
// range worked out as the gathering does: FsHigh the largest factor not
// above 50 (0 when none), FsLow the smallest.
ContourMap MapOf(const std::vector<std::optional<double>>& factors, double x0 = 0, double y0 = 0) {
  ContourMap map;
  map.rows = 1;
  map.cols = static_cast<int>(factors.size());
  double x = x0;
  for (const std::optional<double>& fs : factors) {
    map.nodes.push_back({x, y0, fs});
    x += 3;
    if (!fs) continue;
    if (*fs <= 50 && *fs > map.FsHigh) map.FsHigh = *fs;
    map.FsLow = std::min(map.FsLow, *fs);
  }
  return map;
}

TEST(ContourLegend, FromTheLowestFactorInRedToTheHighestInViolet) {
  struct Case {
    const char* name;
    std::vector<std::optional<double>> factors;
    std::vector<double> values;  // the entries' factors, ascending
    double minimum;
  };
  const Case cases[] = {
      {"a range in six even steps, a result code left out",
       {1.5, 1.2, 99999.0, std::nullopt, 2.2},
       {1.2, 1.4, 1.6, 1.8, 2.0, 2.2},
       1.2},
      {"a range of two thousandths: three values", {1.0, 1.002}, {1.0, 1.001, 1.002}, 1.0},
      {"a range under a thousandth still shows both ends", {2.0, 2.0004}, {2.0, 2.0004}, 2.0},
      {"all factors alike: one value", {1.25, 1.25, std::nullopt}, {1.25}, 1.25},
      {"nothing up to 50 (FsHigh 0): one value", {60.0, 99999.0}, {60.0}, 60.0},
  };
  for (const Case& c : cases) {
    const ContourMap map = MapOf(c.factors);
    const ContourLegend legend = MakeContourLegend(map);
    ASSERT_EQ(legend.entries.size(), c.values.size()) << c.name;
    for (std::size_t k = 0; k < c.values.size(); ++k) {
      EXPECT_NEAR(legend.entries[k].fs, c.values[k], 1e-12) << c.name << k;
      // Each entry in the colour its discs have.
      EXPECT_EQ(legend.entries[k].rgb, ContourRgb(legend.entries[k].fs, map.FsLow, map.FsHigh)) << c.name << k;
      if (k > 0) {
        EXPECT_GT(legend.entries[k].fs, legend.entries[k - 1].fs) << c.name << k;
      }
    }
    EXPECT_EQ(legend.entries.front().fs, map.FsLow) << c.name;
    EXPECT_EQ(legend.entries.front().rgb, kLowestRgb) << c.name;
    if (c.values.size() > 1) {
      EXPECT_EQ(legend.entries.back().fs, map.FsHigh) << c.name;
      EXPECT_EQ(legend.entries.back().rgb, kHighestRgb) << c.name;
    }
    EXPECT_EQ(legend.minimum, c.minimum) << c.name;
  }
  EXPECT_TRUE(MakeContourLegend(MapOf({std::nullopt, std::nullopt})).entries.empty()) << "no factor, no legend";
  EXPECT_TRUE(MakeContourLegend(ContourMap{}).entries.empty());
}

QColor ColourOf(const std::array<int, 3>& rgb) {
  return QColor(rgb[0], rgb[1], rgb[2]);
}

// The rows of `box` holding a pixel of colour `c`.
std::vector<int> RowsWith(const QImage& image, const QRect& box, QColor c) {
  std::vector<int> rows;
  for (int y = box.top(); y <= box.bottom(); ++y) {
    for (int x = box.left(); x <= box.right(); ++x) {
      if (image.valid(x, y) && image.pixelColor(x, y) == c) {
        rows.push_back(y);
        break;
      }
    }
  }
  return rows;
}

TEST(PaintContourLegend, AFramedBoxInTheTopRightCornerWithRedBelowViolet) {
  const QRect area(100, 50, 500, 400);
  struct Case {
    const char* name;
    std::vector<std::optional<double>> factors;
    bool violet;
  };
  const Case cases[] = {{"a range", {1.2, 1.7, 2.2}, true}, {"one colour", {1.3, 1.3}, false}};
  for (const Case& c : cases) {
    QImage image(700, 500, QImage::Format_RGB32);
    image.fill(Qt::lightGray);
    QPainter p(&image);
    const QRect box = PaintContourLegend(p, MakeContourLegend(MapOf(c.factors)), area);
    p.end();
    ASSERT_FALSE(box.isEmpty()) << c.name;
    // 8 pixels in from the area's top and right edges, inside the area.
    EXPECT_EQ(box.right(), area.right() - 8) << c.name;
    EXPECT_EQ(box.top(), area.top() + 8) << c.name;
    EXPECT_TRUE(area.contains(box)) << c.name;
    const QColor black(0, 0, 0), white(255, 255, 255);
    for (const QPoint corner : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()}) {
      EXPECT_EQ(image.pixelColor(corner), black) << c.name;
    }
    EXPECT_EQ(image.pixelColor(box.topLeft() + QPoint(2, 2)), white) << c.name;
    EXPECT_EQ(image.pixelColor(box.topLeft() - QPoint(1, 1)), QColor(Qt::lightGray)) << c.name;
    const std::vector<int> red = RowsWith(image, box, ColourOf(kLowestRgb));
    const std::vector<int> violet = RowsWith(image, box, ColourOf(kHighestRgb));
    ASSERT_FALSE(red.empty()) << c.name;
    EXPECT_EQ(!violet.empty(), c.violet) << c.name;
    if (!violet.empty()) {
      EXPECT_LT(violet.back(), red.front()) << c.name << ": violet on top";
    }
  }
  QImage image(100, 100, QImage::Format_RGB32);
  image.fill(Qt::lightGray);
  QPainter p(&image);
  EXPECT_TRUE(PaintContourLegend(p, ContourLegend{}, image.rect()).isEmpty());
  p.end();
  EXPECT_EQ(RowsWith(image, image.rect(), Qt::white).size(), 0u) << "an empty legend paints nothing";
}

TEST(SectionView, TheContourLegendStaysInTheTopRightCornerOfWhatIsInSight) {
  ViewProject p;
  p.load("layered-phreatic-loads.pdd");
  SectionView view;
  view.resize(420, 320);
  view.setProject(&p.project);
  view.show();
  const QSize port = view.viewport()->size();
  // The legend's part of the viewport, and the rest.
  const QRect corner(port.width() - 160, 0, 160, 240);
  auto count = [](const QImage& image, const QRect& box, QColor c) {
    return static_cast<int>(RowsWith(image, box, c).size());
  };
  const QColor red = ColourOf(kLowestRgb), violet = ColourOf(kHighestRgb);
  EXPECT_EQ(count(view.viewport()->grab().toImage(), corner, violet), 0) << "no map, no legend";

  // Discs far from the corner in sight, at the lower left of the drawing.
  view.setContourMap(MapOf({1.1, 1.6, 2.1}, 5, 5));
  for (const QPoint scroll : {QPoint(0, 0), QPoint(300, 200), QPoint(600, 330)}) {
    view.horizontalScrollBar()->setValue(scroll.x());
    view.verticalScrollBar()->setValue(scroll.y());
    const QImage shown = view.viewport()->grab().toImage();
    EXPECT_GT(count(shown, corner, red), 0) << scroll.x();
    EXPECT_GT(count(shown, corner, violet), 0) << scroll.x();
    // The discs' violet shows only where a disc is: the legend's is in the corner.
    const QRect left(0, 0, port.width() - 160, port.height());
    const PixelPoint disc = view.transform().worldToImage(11, 5, 1, 1);
    if (!QRect(scroll, port).contains(disc.x, disc.y)) {
      EXPECT_EQ(count(shown, left, violet), 0) << scroll.x();
    }
  }
  view.setContourMap(std::nullopt);
  EXPECT_EQ(count(view.viewport()->grab().toImage(), corner, violet), 0) << "cleared with the map";
}

}  // namespace
}  // namespace pelodyn
