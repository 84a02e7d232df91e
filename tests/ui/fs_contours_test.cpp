// The contour colours and the map of factors over the grid of centres.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "persistence/sqlite_store.h"
#include "view/fs_contour_painter.h"
#include "view/fs_contours.h"

namespace pelodyn {
namespace {

using Rgb = std::array<int, 3>;

struct WavelengthCase {
  double w;
  Rgb rgb;
  const char* why;
};

TEST(WavelengthToRgb, BandsEndsAndOutOfRange) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const WavelengthCase cases[] = {
      {700, {255, 0, 0}, "red end of the full-intensity band"},
      {380, {97, 0, 97}, "f = 0.3: 255 * 0.3^0.8 = 97.3"},
      {510, {0, 255, 0}, "pure green"},
      {644.5, {255, 5, 0}, "n = 644: G = 255 * (0.5/65)^0.8 = 5.19"},
      {440, {0, 0, 255}, "pure blue"},
      {400, {131, 0, 181}, "f = 0.65: R = 255 * (0.6667 * 0.65)^0.8 = 130.6, B = 255 * 0.65^0.8 = 180.7"},
      {450, {0, 70, 255}, "G = 255 * 0.2^0.8 = 70.4"},
      {600, {255, 190, 0}, "G = 255 * (45/65)^0.8 = 190.01"},
      {750, {161, 0, 0}, "f = 0.5625: 255 * 0.5625^0.8 = 160.9"},
      {780.5, {96, 0, 0}, "n = 780 is still red, f = 0.295625: 96.2"},
      {379.9, {0, 0, 0}, "n = 379: below the visible range"},
      {781, {0, 0, 0}, "above the visible range"},
      {-5, {0, 0, 0}, "negative"},
      {1e300, {0, 0, 0}, "far too large for an int"},
      {nan, {0, 0, 0}, "not a number"},
  };
  for (const WavelengthCase& c : cases) EXPECT_EQ(WavelengthToRgb(c.w), c.rgb) << c.w << ": " << c.why;
}

TEST(AdjustIntensity, ZeroChannelAndFullChannel) {
  EXPECT_EQ(AdjustIntensity(0.0, 0.3), 0);
  EXPECT_EQ(AdjustIntensity(0.0, 0.0), 0);
  EXPECT_EQ(AdjustIntensity(1.0, 1.0), 255);
  EXPECT_EQ(AdjustIntensity(0.5, 1.0), 146);  // 255 * 0.5^0.8 = 146.47
}

// A grid of 2 x 2 divisions: corner 1 (0, 10), corner 2 (4, 10), corner 3
// (4, 14). Nodes: x = 2j, y = 10 + 2i, nine centres.
AnalysisModel SmallGrid() {
  AnalysisModel m;
  m.GridCornerX = {0.0, 4.0, 4.0};
  m.GridCornerY = {10.0, 10.0, 14.0};
  m.GridDivision12 = 2;
  m.GridDivision23 = 2;
  return m;
}

Row ResultRow(int num, double x, double y, double fsSpencer) {
  Row r(Table::Results);
  r.set(ResultField::Num, num).set(ResultField::XCenter, x).set(ResultField::YCenter, y).set(ResultField::Radius, 5.0);
  r.set(ResultField::FsOrd, 9.0)
      .set(ResultField::FsJan, 9.0)
      .set(ResultField::FsBis, 9.0)
      .set(ResultField::FsSpe, fsSpencer);
  return r;
}

// Rows in the order of the search: centre (0, 10) lies below the ground and
// wrote no row; (2, 10) has a single circle; (2, 12) only circles with
// factors above 50; the others two or three circles. The factors of a
// centre's circles differ so that the smallest one must be taken.
std::vector<Row> SearchRows() {
  std::vector<Row> rows;
  int n = 0;
  auto add = [&](double x, double y, std::initializer_list<double> fs) {
    for (double f : fs) rows.push_back(ResultRow(++n, x, y, f));
  };
  add(2, 10, {1.4});
  add(4, 10, {2.9, 2.6, 2.7});
  add(0, 12, {1.2, 1.0, 1.1});
  add(2, 12, {80.0, 1000000.0});
  add(4, 12, {1.95, 2.0});
  add(0, 14, {2.2, 2.1});
  add(2, 14, {3.0, 2.3});
  add(4, 14, {1.8, 1.7, 1.75});
  return rows;
}

struct NodeCase {
  int i, j;
  double x, y;
  std::optional<double> fs;
  Rgb rgb;
};

// Factors run from FsLow 1.0 to FsHigh 2.6 (80 is above 50 and does not
// count); wavelength = 645 - (F - 1) / 1.6 * 265.
const NodeCase kNodes[] = {
    {0, 0, 0, 10, std::nullopt, {}},     // below the ground: blank
    {0, 1, 2, 10, 1.4, {251, 255, 0}},   // single circle; 578.75 nm: R = 255 * (68.75/70)^0.8 = 251.4
    {0, 2, 4, 10, 2.6, {97, 0, 97}},     // FsHigh: 380 nm
    {1, 0, 0, 12, 1.0, {255, 0, 0}},     // FsLow: 645 nm, the first pure red
    {1, 1, 2, 12, 80.0, {97, 0, 97}},    // above 50: painted as FsHigh
    {1, 2, 4, 12, 1.95, {0, 245, 255}},  // 487.66 nm: G = 255 * (47.66/50)^0.8 = 245.4
    {2, 0, 0, 14, 2.1, {0, 136, 255}},   // 462.81 nm: G = 255 * (22.81/50)^0.8 = 136.1
    {2, 1, 2, 14, 2.3, {62, 0, 255}},    // 429.69 nm: R = 255 * (10.31/60)^0.8 = 62.3
    {2, 2, 4, 14, 1.7, {90, 255, 0}},    // 529.06 nm: R = 255 * (19.06/70)^0.8 = 90.1
};

TEST(GatherContourMap, EachNodeTakesTheSmallestFactorOfItsOwnCentre) {
  const ContourMap map = GatherContourMap(SmallGrid(), SearchRows());
  ASSERT_EQ(map.rows, 3);
  ASSERT_EQ(map.cols, 3);
  ASSERT_EQ(map.nodes.size(), 9u);
  EXPECT_DOUBLE_EQ(map.FsLow, 1.0);
  EXPECT_DOUBLE_EQ(map.FsHigh, 2.6);
  for (const NodeCase& c : kNodes) {
    const ContourNode& node = map.nodes[static_cast<std::size_t>(c.i * 3 + c.j)];
    EXPECT_DOUBLE_EQ(node.x, c.x) << c.i << "," << c.j;
    EXPECT_DOUBLE_EQ(node.y, c.y) << c.i << "," << c.j;
    EXPECT_EQ(node.fs, c.fs) << c.i << "," << c.j;
  }
}

TEST(GatherContourMap, ReadFromTheStoreRowByRowItIsTheSameMap) {
  auto store = SqliteWorkingStore::OpenInMemory();
  for (const Row& row : SearchRows()) store->append(row);
  const ContourMap streamed = GatherContourMap(SmallGrid(), *store);
  const ContourMap whole = GatherContourMap(SmallGrid(), SearchRows());
  ASSERT_EQ(streamed.nodes.size(), 9u);
  for (const NodeCase& c : kNodes) EXPECT_EQ(streamed.nodes[static_cast<std::size_t>(c.i * 3 + c.j)].fs, c.fs);
  EXPECT_EQ(streamed.FsLow, whole.FsLow);
  EXPECT_EQ(streamed.FsHigh, whole.FsHigh);
}

TEST(GatherContourMap, RowOrderDoesNotMatter) {
  std::vector<Row> rows = SearchRows();
  std::mt19937 random(7);
  std::shuffle(rows.begin(), rows.end(), random);
  const ContourMap map = GatherContourMap(SmallGrid(), rows);
  ASSERT_EQ(map.nodes.size(), 9u);
  for (const NodeCase& c : kNodes) EXPECT_EQ(map.nodes[static_cast<std::size_t>(c.i * 3 + c.j)].fs, c.fs);
}

TEST(GatherContourMap, CentresMatchAtTheStoredPrecision) {
  // Corners a third apart: the search stores the centres rounded to
  // hundredths (0.33, 0.67), and the nodes must still find them.
  AnalysisModel m;
  m.GridCornerX = {0.0, 1.0, 1.0};
  m.GridCornerY = {0.0, 0.0, 1.0};
  m.GridDivision12 = 3;
  m.GridDivision23 = 1;
  const std::vector<Row> rows = {ResultRow(1, 0.33, 0.0, 1.5), ResultRow(2, 0.67, 1.0, 1.25),
                                 ResultRow(3, 0.34, 0.0, 0.5)};  // a different centre
  const ContourMap map = GatherContourMap(m, rows);
  ASSERT_EQ(map.nodes.size(), 8u);
  EXPECT_EQ(map.nodes[1].fs, 1.5);
  EXPECT_EQ(map.nodes[4 + 2].fs, 1.25);
  int defined = 0;
  for (const ContourNode& n : map.nodes) defined += n.fs.has_value();
  EXPECT_EQ(defined, 2);
}

TEST(GatherContourMap, DegenerateInputsGiveDefinedMaps) {
  AnalysisModel noDivisions = SmallGrid();
  noDivisions.GridDivision12 = 0;
  ContourMap map = GatherContourMap(noDivisions, SearchRows());
  EXPECT_EQ(map.rows, 0);
  EXPECT_TRUE(map.nodes.empty());
  AnalysisModel negative = SmallGrid();
  negative.GridDivision23 = -3;
  EXPECT_TRUE(GatherContourMap(negative, SearchRows()).nodes.empty());

  map = GatherContourMap(SmallGrid(), {});
  ASSERT_EQ(map.nodes.size(), 9u);
  for (const ContourNode& n : map.nodes) EXPECT_FALSE(n.fs.has_value());
  EXPECT_EQ(map.FsHigh, 0.0);
  EXPECT_EQ(map.FsLow, 999999.0);

  // Every factor above 50: FsHigh stays 0 and the colours do not divide by
  // zero.
  map = GatherContourMap(SmallGrid(), {ResultRow(1, 2, 12, 1000000.0), ResultRow(2, 4, 14, 60.0)});
  EXPECT_EQ(map.FsHigh, 0.0);
  EXPECT_EQ(map.FsLow, 60.0);
  EXPECT_EQ(ContourRgb(60.0, map.FsLow, map.FsHigh), (Rgb{255, 0, 0}));
  EXPECT_EQ(ContourRgb(1000000.0, map.FsLow, map.FsHigh), (Rgb{255, 0, 0}));
}

TEST(ContourColour, AllEqualFactorsGetTheLowestColour) {
  std::vector<Row> rows;
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) rows.push_back(ResultRow(i * 3 + j + 1, 2.0 * j, 10.0 + 2 * i, 1.5));
  }
  const ContourMap map = GatherContourMap(SmallGrid(), rows);
  EXPECT_EQ(map.FsLow, 1.5);
  EXPECT_EQ(map.FsHigh, 1.5);
  for (const ContourNode& n : map.nodes) {
    ASSERT_TRUE(n.fs.has_value());
    EXPECT_EQ(ContourColour(*n.fs, map.FsLow, map.FsHigh), QColor(255, 0, 0));
  }
}

// 20 pixels per world unit, grid (0, 0) at pixel (20, 400 - 20): node (x, y)
// is painted at (20 + 20x, 380 - 20y), 40 pixels apart.
ViewTransform TwentyPixelsPerUnit() {
  ViewTransform t;
  t.PixelsPerUnit = 20;
  t.ViewMargin = 20;
  t.ViewOriginX = 20;
  t.ViewOriginY = 20;
  t.ImageWidth = 200;
  t.ImageHeight = 400;
  return t;
}

TEST(PaintContours, DiscsOfTheNodeColoursAndNothingForBlankNodes) {
  const ContourMap map = GatherContourMap(SmallGrid(), SearchRows());
  QImage image(200, 400, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 3));
    PaintContours(painter, map, TwentyPixelsPerUnit(), DrawingSettings{});
    EXPECT_EQ(painter.pen().color(), QColor(Qt::black));  // restored
  }
  for (const NodeCase& c : kNodes) {
    const int px = static_cast<int>(20 + 20 * c.x), py = static_cast<int>(380 - 20 * c.y);
    const QColor expected = c.fs ? QColor(c.rgb[0], c.rgb[1], c.rgb[2]) : QColor(Qt::white);
    SCOPED_TRACE(testing::Message() << "node " << c.i << "," << c.j);
    // The smallest factor (1.0 at node 1,0) carries the minimum's black
    // diamond, whatever surface the drawing shows; every other centre shows
    // its colour.
    const bool minimum = c.fs == 1.0;
    EXPECT_EQ(image.pixelColor(px, py), minimum ? QColor(Qt::black) : expected);
    EXPECT_EQ(image.pixelColor(px + 10, py), expected);
    // Radius 15 without an outline: the colour reaches 14 pixels out and
    // stops before 16.
    EXPECT_EQ(image.pixelColor(px + 14, py), expected);
    EXPECT_EQ(image.pixelColor(px, py - 14), expected);
    EXPECT_EQ(image.pixelColor(px + 17, py), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(px, py + 17), QColor(Qt::white));
  }
}

TEST(PaintContours, WorldScalesPlaceTheDiscs) {
  // Two world units per grid unit in X, half a unit in Y.
  DrawingSettings drawing;
  drawing.ScaleX = 2.0;
  drawing.ScaleY = 0.5;
  ContourMap map;
  map.rows = map.cols = 1;
  map.nodes = {{4.0, 5.0, 1.0}};
  map.FsLow = map.FsHigh = 1.0;
  QImage image(200, 400, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  PaintContours(painter, map, TwentyPixelsPerUnit(), drawing);
  painter.end();
  // Grid (2, 10) -> pixel (60, 180), the minimum's diamond at its centre.
  EXPECT_EQ(image.pixelColor(60, 180), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(70, 180), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(20 + 80, 380 - 100), QColor(Qt::white));
}

}  // namespace
}  // namespace pelodyn
