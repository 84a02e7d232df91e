#include "view/view_transform.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace pelodyn {
namespace {

// Default work area 0..100 x 0..63 at 10 pixels per unit.
ViewTransform Standard() {
  ViewTransform t;
  t.PixelsPerUnit = 10;
  t.ViewMargin = 20;
  t.ViewOriginX = 20;
  t.ViewOriginY = 20;
  t.ImageWidth = 1020;
  t.ImageHeight = 650;
  return t;
}

struct GridCase {
  const char* name;
  int pixelsPerUnit, originX, originY;
  double x, y;
  PixelPoint image, lattice;
};

// Halves go to the even integer: 22.5 -> 22 and 622.5 -> 622, where rounding
// away from zero would give 23 and 623; 18.5 -> 18 for a negative coordinate.
TEST(ViewTransform, GridToImageAndLatticeRoundHalvesToEven) {
  const GridCase cases[] = {
      {"whole units", 10, 20, 20, 3.0, 4.0, {50, 590}, {50, 590}},
      {"x half down to even", 10, 20, 20, 0.25, 0.0, {22, 630}, {22, 630}},
      {"x half up to even", 10, 20, 20, 0.75, 0.0, {28, 630}, {28, 630}},
      {"negative x half: 18.5 -> 18", 2, 20, 20, -0.75, 0.0, {18, 630}, {18, 630}},
      {"y half: 627.5 -> 628", 10, 20, 20, 0.0, 0.25, {20, 628}, {20, 628}},
      {"y half: 622.5 -> 622", 10, 20, 20, 0.0, 0.75, {20, 622}, {20, 622}},
      {"origin offset moves the image, not the lattice", 10, 75, 45, 1.0, 1.0, {85, 595}, {30, 620}},
      {"origin offset with a half", 10, 75, 45, 0.25, 0.25, {77, 602}, {22, 628}},
  };
  for (const GridCase& c : cases) {
    ViewTransform t = Standard();
    t.PixelsPerUnit = c.pixelsPerUnit;
    t.ViewOriginX = c.originX;
    t.ViewOriginY = c.originY;
    EXPECT_EQ(t.gridToImage(c.x, c.y), c.image) << c.name;
    EXPECT_EQ(t.gridToLattice(c.x, c.y), c.lattice) << c.name;
  }
}

TEST(ViewTransform, WorldToImageDividesByTheScales) {
  const ViewTransform t = Standard();
  EXPECT_EQ(t.worldToImage(6.0, 8.0, 2.0, 4.0), t.gridToImage(3.0, 2.0));
  // 2.5 grid units at P = 1 sit on a half: 22.5 -> 22.
  ViewTransform one = t;
  one.PixelsPerUnit = 1;
  EXPECT_EQ(one.worldToImage(5.0, 0.0, 2.0, 1.0).x, 22);
}

TEST(ViewTransform, RoundPixelIsTiesToEvenAndBounded) {
  const std::pair<double, int> cases[] = {{0.5, 0},
                                          {1.5, 2},
                                          {2.5, 2},
                                          {-0.5, 0},
                                          {-1.5, -2},
                                          {-2.5, -2},
                                          {2.4999, 2},
                                          {1e300, 1000000000},
                                          {-1e300, -1000000000}};
  for (const auto& [value, expected] : cases) EXPECT_EQ(RoundPixel(value), expected) << value;
  EXPECT_EQ(RoundPixel(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(ViewTransform, BottomUpFramesMirrorTheImageHeight) {
  const ViewTransform t = Standard();
  EXPECT_EQ(t.imageToBottomUp(7, 600), (PixelPoint{7, 50}));
  EXPECT_EQ(t.bottomUpToImage(7, 50), (PixelPoint{7, 600}));
}

struct SnapCase {
  const char* name;
  int x, yb;  // bottom-up pixels
  int snappedX, snappedYb;
};

TEST(ViewTransform, SnapToGridPicksTheNearestNodeWithTiesToLowerLeftFirst) {
  // Lattice nodes at 20, 30, 40 ... (margin 20, 10 pixels per unit).
  const SnapCase cases[] = {
      {"on a node", 30, 40, 30, 40},
      {"x halfway goes left", 25, 20, 20, 20},
      {"x past halfway goes right", 26, 20, 30, 20},
      {"y halfway goes down", 20, 25, 20, 20},
      {"y past halfway goes up", 20, 26, 20, 30},
      {"centre of a cell: lower-left", 25, 25, 20, 20},
      {"right half, y halfway: lower-right", 26, 25, 30, 20},
      {"upper half, x halfway: upper-left", 25, 26, 20, 30},
      {"upper-right quarter", 26, 26, 30, 30},
      // The cell index truncates toward zero, so left of the margin the
      // candidates are the nodes at 10 and 20.
      {"left of the margin", 3, 20, 10, 20},
  };
  const ViewTransform t = Standard();
  for (const SnapCase& c : cases) {
    const PixelPoint image = t.bottomUpToImage(c.x, c.yb);
    EXPECT_EQ(t.snapToGrid(image.x, image.y), t.bottomUpToImage(c.snappedX, c.snappedYb)) << c.name;
  }
}

TEST(ViewTransform, SnapUsesTheLatticeFrameNotWholeWorldUnits) {
  // With the origin 5 pixels off the lattice, a snapped point lies on a grid
  // dot, half a unit away from a whole grid coordinate.
  ViewTransform t = Standard();
  t.ViewOriginX = 25;
  const PixelPoint snapped = t.snapToGrid(44, 600);
  EXPECT_EQ(snapped.x, 40);
  EXPECT_DOUBLE_EQ(t.pixelToGridX(44, 600, true), 1.5);
}

TEST(ViewTransform, PixelToGridWithAndWithoutSnap) {
  const ViewTransform t = Standard();
  // X 45 is 2.5 units right of the origin; snapped it goes to the left node.
  EXPECT_DOUBLE_EQ(t.pixelToGridX(45, 605, false), 2.5);
  EXPECT_DOUBLE_EQ(t.pixelToGridX(45, 605, true), 2.0);
  EXPECT_DOUBLE_EQ(t.pixelToGridY(45, 605, false), 2.5);
  EXPECT_DOUBLE_EQ(t.pixelToGridY(45, 605, true), 2.0);
  // Round trip of a whole grid point.
  const PixelPoint p = t.gridToImage(7.0, 3.0);
  EXPECT_DOUBLE_EQ(t.pixelToGridX(p.x, p.y, false), 7.0);
  EXPECT_DOUBLE_EQ(t.pixelToGridY(p.x, p.y, false), 3.0);
}

TEST(ViewTransform, MakeViewTransformSizesTheImageForTheWorkArea) {
  struct Case {
    double xmin, xmax, ymin, ymax;
    int p;
    ViewTransform expected;
  };
  auto make = [](int p, int ox, int oy, int w, int h) {
    ViewTransform t;
    t.PixelsPerUnit = p;
    t.ViewOriginX = ox;
    t.ViewOriginY = oy;
    t.ImageWidth = w;
    t.ImageHeight = h;
    return t;
  };
  const Case cases[] = {
      {0, 100, 0, 63, 10, make(10, 20, 20, 1020, 650)},
      {-10, 190, -45, 105, 4, make(4, 60, 200, 820, 620)},
      // 52.5 -> 52 and 1052.5 -> 1052: halves to even.
      {-5.25, 100, 0, 63, 10, make(10, 72, 20, 1072, 650)},
      {0, 1000, 0, 63, 30, make(30, 20, 20, 30020, 1910)},
  };
  for (const Case& c : cases) {
    DrawingSettings d;
    d.WorkAreaXmin = c.xmin;
    d.WorkAreaXmax = c.xmax;
    d.WorkAreaYmin = c.ymin;
    d.WorkAreaYmax = c.ymax;
    EXPECT_EQ(MakeViewTransform(d, c.p), c.expected) << c.xmin << " " << c.xmax << " at " << c.p;
  }
}

TEST(PointInPolygon, CrossingNumberWithHalfOpenEdges) {
  const std::vector<std::pair<int, int>> square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  std::vector<std::pair<int, int>> closed = square;
  closed.push_back(square.front());
  // A U shape: the notch between x 4 and 6 from y 4 up is outside.
  const std::vector<std::pair<int, int>> u = {{0, 0}, {10, 0}, {10, 10}, {6, 10}, {6, 4}, {4, 4}, {4, 10}, {0, 10}};
  struct Case {
    const char* name;
    const std::vector<std::pair<int, int>>* polygon;
    int x, y;
    bool inside;
  };
  const Case cases[] = {
      {"centre", &square, 5, 5, true},
      {"right of it", &square, 15, 5, false},
      {"left of it", &square, -1, 5, false},
      {"on the left edge", &square, 0, 5, false},
      {"on the right edge", &square, 10, 5, false},
      {"on the bottom edge: the edges start there", &square, 5, 0, true},
      {"on the top edge: the edges end there", &square, 5, 10, false},
      {"corner", &square, 0, 0, false},
      {"in the U's arm", &u, 2, 8, true},
      {"in the U's notch", &u, 5, 8, false},
      {"below the notch", &u, 5, 2, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PointInPolygon(*c.polygon, c.x, c.y), c.inside) << c.name;
    if (c.polygon == &square) {
      EXPECT_EQ(PointInPolygon(closed, c.x, c.y), c.inside) << c.name << " (closed list)";
    }
  }
}

TEST(PointInPolygon, DegenerateListsContainNothing) {
  EXPECT_FALSE(PointInPolygon({}, 0, 0));
  EXPECT_FALSE(PointInPolygon({{3, 3}}, 3, 3));
  EXPECT_FALSE(PointInPolygon({{0, 0}, {10, 10}}, 5, 5));
}

TEST(PointNearPoint, SquareToleranceWithBoundsIncluded) {
  struct Case {
    int tolerance, x, y;
    bool near;
  };
  const Case cases[] = {
      {0, 100, 50, true}, {0, 101, 50, false}, {0, 100, 49, false}, {2, 102, 48, true},
      {2, 98, 52, true},  {2, 103, 50, false}, {2, 100, 47, false}, {4, 104, 54, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PointNearPoint(100, 50, c.tolerance, c.x, c.y), c.near) << c.tolerance << " " << c.x << "," << c.y;
  }
}

}  // namespace
}  // namespace pelodyn
