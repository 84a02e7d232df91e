#include "view/section_painter.h"

#include <gtest/gtest.h>

#include "view_fixture.h"

namespace pelodyn {
namespace {

using testing::Render;
using testing::Rendered;
using testing::Rgb;
using testing::ViewProject;

const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);

// True when a pixel of colour `c` lies within `radius` pixels of `p`.
bool ColourNear(const QImage& image, PixelPoint p, QColor c, int radius = 1) {
  for (int dy = -radius; dy <= radius; ++dy) {
    for (int dx = -radius; dx <= radius; ++dx) {
      const int x = p.x + dx, y = p.y + dy;
      if (image.valid(x, y) && image.pixelColor(x, y) == c) return true;
    }
  }
  return false;
}

// Pixels of colour `c` in the rows above `belowRow` (all rows by default).
int CountColour(const QImage& image, QColor c, int belowRow = -1) {
  int n = 0;
  const int rows = belowRow < 0 ? image.height() : std::min(belowRow, image.height());
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == c;
  }
  return n;
}

TEST(ColourFromBgr, TheLowByteIsRed) {
  EXPECT_EQ(ColourFromBgr(0x0000FF), QColor(255, 0, 0));
  EXPECT_EQ(ColourFromBgr(0xFF0000), QColor(0, 0, 255));
  EXPECT_EQ(ColourFromBgr(0x80FFFF), QColor(255, 255, 128));
  EXPECT_EQ(ColourFromBgr(65280), QColor(0, 255, 0));
}

TEST(SoilBands, EachBandClosedAgainstTheNextFullLineAndALensAlongItsUpperLine) {
  using Points = std::vector<std::pair<double, double>>;
  const std::vector<Points> lines = {
      {{0, 0}, {100, 0}},
      // A lens: starts and ends on vertices of the line above.
      {{20, 10}, {50, 5}, {80, 10}},
      {{0, 10}, {20, 10}, {50, 12}, {80, 10}, {100, 10}},
      {{0, 20}, {100, 20}},
  };
  const std::vector<Points> bands = SoilBandPolygons(lines);
  ASSERT_EQ(bands.size(), 3u);
  EXPECT_EQ(bands[0], (Points{{0, 0}, {100, 0}, {100, 10}, {80, 10}, {50, 12}, {20, 10}, {0, 10}}));
  EXPECT_EQ(bands[1], (Points{{20, 10}, {50, 5}, {80, 10}, {50, 12}}));
  EXPECT_EQ(bands[2], (Points{{0, 10}, {20, 10}, {50, 12}, {80, 10}, {100, 10}, {100, 20}, {0, 20}}));
}

TEST(SoilBands, ALineMeetingTheUpperLineAtItsEndDropsWhatLiesBeyond) {
  using Points = std::vector<std::pair<double, double>>;
  // The lower line rises to meet the top line at x = 60; the top line goes
  // on to x = 100, which lies outside the band.
  const std::vector<Points> lines = {
      {{0, 0}, {60, 20}},
      {{0, 20}, {60, 20}, {100, 20}},
  };
  const std::vector<Points> bands = SoilBandPolygons(lines);
  ASSERT_EQ(bands.size(), 1u);
  EXPECT_EQ(bands[0], (Points{{0, 0}, {60, 20}, {0, 20}}));
}

TEST(SoilBands, NothingForFewerThanTwoLinesOrAnEmptyFirstLine) {
  EXPECT_TRUE(SoilBandPolygons({}).empty());
  EXPECT_TRUE(SoilBandPolygons({{{0, 0}, {1, 0}}}).empty());
  const auto bands = SoilBandPolygons({{}, {{0, 1}, {1, 1}}});
  ASSERT_EQ(bands.size(), 1u);
  EXPECT_TRUE(bands[0].empty());
}

TEST(PaintExample, SoilBandsWaterLineAndBoundaryLinesOfTheLayeredExample) {
  ViewProject p;
  p.load("layered-phreatic-loads.pdd");
  const Rendered r = Render(p.project, ViewOptions{});
  // Soil colours as stored, one band each (points off the grid lattice and
  // clear of the overlays).
  EXPECT_EQ(r.atWorld(50.5, 5.5), Rgb(8454143));
  EXPECT_EQ(r.atWorld(50.5, 14.5), Rgb(8454016));
  EXPECT_EQ(r.atWorld(10.5, 27.5), Rgb(16777088));
  // Above the ground: the white background.
  EXPECT_EQ(r.atWorld(80.5, 40.5), kWhite);
  // Boundary lines in black: the bottom line and the ground surface.
  EXPECT_EQ(r.atWorld(50.5, 0.0), kBlack);
  EXPECT_EQ(r.atWorld(27.5, 30.0), kBlack);
  // The water line (0, 25) - (60, 14) - (100, 13): dark blue dashes on a
  // white band, so that no soil colour (this example's soils are light blue
  // and cyan) hides it: along the line every pixel is blue or white, and
  // mostly blue.
  const QColor blue(0, 0, 160);
  int hits = 0, samples = 0;
  for (double x = 2.0; x < 58.0; x += 1.0, ++samples) {
    const PixelPoint at = r.transform.worldToImage(x, 25.0 - 11.0 * x / 60.0, 1, 1);
    hits += ColourNear(r.image, at, blue);
    EXPECT_TRUE(ColourNear(r.image, at, blue, 0) || ColourNear(r.image, at, kWhite, 0)) << x;
  }
  EXPECT_GT(hits, samples / 2) << hits << " of " << samples;
}

TEST(CentreGrid, LinesTooCloseAreThinnedToEveryNth) {
  struct Case {
    double spacing;
    int step;
  };
  // 4 pixels apart is the least: n = ceil(4 / spacing).
  for (const Case& c : {Case{10, 1}, Case{4, 1}, Case{3.9, 2}, Case{2, 2}, Case{1.1, 4}, Case{0.5, 8}}) {
    EXPECT_EQ(CentreGridLineStep(c.spacing), c.step) << c.spacing;
  }
  EXPECT_GT(CentreGridLineStep(0.0), 1000000);
}

TEST(CentreGrid, AFineGridStaysAGridInsteadOfABlackSquare) {
  // A grid of 20 x 20 units at 10 pixels a unit: 180 divisions would put
  // the lines 1.1 pixels apart.
  for (const char* divisions : {"180", "10"}) {
    ViewProject p;
    p.coloredSoil(1, 0xFFFFFF);
    p.coloredSoil(2, 0);
    p.line(1, {{0, 0}, {60, 0}});
    p.line(2, {{0, 10}, {60, 10}});
    p.options().setItemIndex(Option::RG_Theory, 1);
    p.options().setItemIndex(Option::CB_Cir_Search, 0);
    testing::SetCentreGrid(p.options(), "20", "20", "40", "40", divisions);
    ViewOptions o;
    o.showGrid = false;
    const Rendered r = Render(p.project, o);
    const PixelPoint low = r.transform.worldToImage(20, 20, 1, 1), high = r.transform.worldToImage(40, 40, 1, 1);
    int black = 0, all = 0;
    for (int y = high.y + 1; y < low.y; ++y) {
      for (int x = low.x + 1; x < high.x; ++x, ++all) black += r.image.pixelColor(x, y) == kBlack;
    }
    // Lines at least 4 pixels apart each way cover under half the area;
    // the grid's outline is drawn whole.
    EXPECT_LT(black, all / 2) << divisions;
    EXPECT_GT(black, all / 30) << divisions;
    EXPECT_EQ(r.image.pixelColor(high.x, (low.y + high.y) / 2), kBlack) << divisions;
    EXPECT_EQ(r.image.pixelColor((low.x + high.x) / 2, high.y), kBlack) << divisions;
  }
}

TEST(PaintExample, GridDotsOnlyWithShowGridAndAboveThreePixelsPerUnit) {
  ViewProject p;
  p.load("homogeneous-grid.pdd");
  const QColor grey = Rgb(0x808080);
  ViewOptions on;
  ViewOptions off;
  off.showGrid = false;
  // (60, 100) lies above the ground and off the centre grid.
  EXPECT_EQ(Render(p.project, on, 10, false).atWorld(60, 61), grey);
  EXPECT_EQ(Render(p.project, off, 10, false).atWorld(60, 61), kWhite);
  // Counted in the upper half, away from the axis labels; the bands cover
  // the dots below the ground.
  const QImage three = Render(p.project, on, 3, false).image;
  const QImage four = Render(p.project, on, 4, false).image;
  EXPECT_EQ(CountColour(three, grey, three.height() / 2), 0);
  EXPECT_GT(CountColour(four, grey, four.height() / 2), 300);
}

TEST(PaintExample, SoilColoursOffLeavesTheBandsWhite) {
  ViewProject p;
  p.load("homogeneous-grid.pdd");
  ViewOptions o;
  o.soilColourShown = false;
  EXPECT_EQ(Render(p.project, o).atWorld(50.5, 10.5), kWhite);
  EXPECT_EQ(Render(p.project, ViewOptions{}).atWorld(50.5, 10.5), Rgb(8454143));
}

TEST(PaintSoilBands, ALensPaintedOverTheBandItLiesIn) {
  ViewProject p;
  p.coloredSoil(1, 0x0000FF);
  p.coloredSoil(2, 0x00FF00);
  p.coloredSoil(3, 0xFF0000);
  p.coloredSoil(4, 0);
  p.line(1, {{0, 0}, {100, 0}});
  p.line(2, {{20, 30}, {50, 20}, {80, 30}});
  p.line(3, {{0, 30}, {20, 30}, {80, 30}, {100, 30}});
  p.line(4, {{0, 50}, {100, 50}});
  const Rendered r = Render(p.project, ViewOptions{});
  EXPECT_EQ(r.atWorld(50.5, 10.5), QColor(255, 0, 0));  // band of line 1
  EXPECT_EQ(r.atWorld(50.5, 27.5), QColor(0, 255, 0));  // the lens, over it
  EXPECT_EQ(r.atWorld(10.5, 27.5), QColor(255, 0, 0));  // beside the lens
  EXPECT_EQ(r.atWorld(50.5, 40.5), QColor(0, 0, 255));  // band of line 3
}

TEST(PaintSoilBands, ColoursComeFromTheTableOfTheStrengthModel) {
  for (int model : {0, 1}) {
    ViewProject p;
    p.coloredSoil(1, 0x0000FF);
    p.coloredSoil(2, 0);
    Row aniso(Table::Aniso);
    aniso.set(SoilCommonField::LineNo, 1).set(SoilCommonField::Color, 0x00FF00);
    p.store().append(aniso);
    p.line(1, {{0, 0}, {50, 0}});
    p.line(2, {{0, 10}, {50, 10}});
    p.options().setItemIndex(Option::CB_Strength_Model, model);
    const QColor expected = model == 0 ? QColor(255, 0, 0) : QColor(0, 255, 0);
    EXPECT_EQ(Render(p.project, ViewOptions{}).atWorld(25.5, 5.5), expected) << model;
  }
}

TEST(PaintSoilBands, HitTestFindsTheLensOnTopOfItsBand) {
  ViewProject p;
  for (int k = 1; k <= 4; ++k) p.coloredSoil(k, 0);
  p.line(1, {{0, 0}, {100, 0}});
  p.line(2, {{20, 30}, {50, 20}, {80, 30}});
  p.line(3, {{0, 30}, {20, 30}, {80, 30}, {100, 30}});
  p.line(4, {{0, 50}, {100, 50}});
  const SectionScene scene = ReadSectionScene(p.project, ViewOptions{});
  const ViewTransform t = MakeViewTransform(p.project.drawing, 10);
  const auto polygons = BandPolygonsInPixels(scene, t);
  ASSERT_EQ(polygons.size(), 3u);
  auto top = [&](double x, double y) {
    const PixelPoint q = t.gridToImage(x, y);
    int hit = -1;
    for (std::size_t i = 0; i < polygons.size(); ++i) {
      if (PointInPolygon(polygons[i], q.x, q.y)) hit = static_cast<int>(i);
    }
    return hit;
  };
  EXPECT_EQ(top(50.5, 27.5), 1);
  EXPECT_EQ(top(10.5, 27.5), 0);
  EXPECT_EQ(top(50.5, 40.5), 2);
  EXPECT_EQ(top(50.5, 60.5), -1);
}

TEST(PaintSoilBands, ScalesAreAppliedToTheBands) {
  ViewProject p;
  p.coloredSoil(1, 0x0000FF);
  p.coloredSoil(2, 0);
  p.line(1, {{0, 0}, {200, 0}});
  p.line(2, {{0, 20}, {200, 20}});
  p.project.drawing.ScaleX = 4;
  p.project.drawing.ScaleY = 1;
  const Rendered r = Render(p.project, ViewOptions{});
  // 200 world units are 50 grid units wide.
  EXPECT_EQ(r.at(r.transform.gridToImage(45.5, 10.5)), QColor(255, 0, 0));
  EXPECT_EQ(r.at(r.transform.gridToImage(55.5, 10.5)), kWhite);
}

TEST(PaintLongLines, An80PointLineAndA200VertexBandDrawToTheirEnd) {
  ViewProject p;
  p.coloredSoil(1, 0x0000FF);
  p.coloredSoil(2, 0);
  p.project.drawing.WorkAreaXmax = 210;
  for (int k = 1; k <= 200; ++k) p.point(1, k, k - 1, 2 + 4 * (k % 2));
  p.line(2, {{0, 20}, {199, 20}});
  ViewOptions o;
  o.showGrid = false;
  const Rendered r = Render(p.project, o);
  // Inside the band far to the right: beyond any 100-vertex polygon.
  EXPECT_EQ(r.atWorld(190.5, 12.5), QColor(255, 0, 0));
  EXPECT_EQ(r.atWorld(190.5, 25.5), kWhite);
  // The last segment of the line (198, 2) - (199, 6) is drawn in black.
  EXPECT_TRUE(ColourNear(r.image, r.transform.worldToImage(198.5, 4.0, 1, 1), kBlack));

  ViewProject eighty;
  eighty.coloredSoil(1, 0x0000FF);
  eighty.coloredSoil(2, 0);
  for (int k = 1; k <= 80; ++k) eighty.point(1, k, k - 1, 2 + 4 * (k % 2));
  eighty.line(2, {{0, 20}, {79, 20}});
  const Rendered e = Render(eighty.project, o);
  EXPECT_TRUE(ColourNear(e.image, e.transform.worldToImage(78.5, 4.0, 1, 1), kBlack));
  EXPECT_EQ(e.at(e.transform.worldToImage(79, 2, 1, 1)), kBlack) << "the mark of point 80";
}

// A grid of centres from (10, 10) to (30, 10) to (30, 20).
void CentreGrid(ViewProject& p, const char* division12) {
  p.options().setItemIndex(Option::RG_Theory, 1);
  p.options().setItemIndex(Option::CB_Cir_Search, 0);
  p.options().setText(Option::E_X_LeftDown, "10");
  p.options().setText(Option::E_Y_LeftDown, "10");
  p.options().setText(Option::E_X_RightDown, "30");
  p.options().setText(Option::E_Y_RightDown, "10");
  p.options().setText(Option::E_X_RightTop, "30");
  p.options().setText(Option::E_Y_RightTop, "20");
  p.options().setText(Option::E_12_Division, division12);
  p.options().setText(Option::E_23_Division, "2");
}

TEST(PaintCentreGrid, DrawnWhenReadableAndSkippedOtherwiseWithoutRaising) {
  struct Case {
    const char* division;
    bool drawn;
    bool divisionInvalid;
  };
  const Case cases[] = {{"4", true, false}, {"abc", false, false}, {"0", false, true}, {"", false, false}};
  for (const Case& c : cases) {
    ViewProject p;
    CentreGrid(p, c.division);
    ViewOptions o;
    o.showGrid = false;
    Rendered r;
    ASSERT_NO_THROW(r = Render(p.project, o)) << c.division;
    // (15, 15): a line of the first family (x = 10 + 5 i).
    EXPECT_EQ(r.atWorld(15, 17.5) == kBlack, c.drawn) << c.division;
    EXPECT_EQ(r.atWorld(22.5, 15) == kBlack, c.drawn) << c.division;
    EXPECT_EQ(CentreGridDivisionInvalid(p.project), c.divisionInvalid) << c.division;
    EXPECT_TRUE(p.ui.shown.empty()) << "painting shows no message";
  }
}

TEST(PaintLoads, ALineLoadOfAngleZeroPointsDownFromThirtyPixelsAbove) {
  ViewProject p;
  p.options().setChecked(Option::CB_LineLoad_Disable, false);
  p.row(Table::Lineload, {{"Load No.", 1}, {"Magnitude", 5}, {"Coordi X", 20}, {"Coordi Y", 10}, {"Angle", 0}});
  p.row(Table::Lineload, {{"Load No.", 2}, {"Magnitude", 5}, {"Coordi X", 60}, {"Coordi Y", 10}, {"Angle", 90}});
  ViewOptions o;
  o.showGrid = false;
  const Rendered r = Render(p.project, o);
  const PixelPoint a = r.transform.worldToImage(20, 10, 1, 1);
  EXPECT_EQ(r.at({a.x, a.y - 28}), kRed);
  EXPECT_EQ(r.at({a.x, a.y - 33}), kWhite) << "the shaft is 30 pixels long";
  EXPECT_EQ(r.at({a.x, a.y + 5}), kWhite);
  EXPECT_EQ(r.at({a.x, a.y - 3}), kRed) << "the head at the point";
  // Angle 90: the shaft lies along +X, the load pushes toward -X.
  const PixelPoint b = r.transform.worldToImage(60, 10, 1, 1);
  EXPECT_EQ(r.at({b.x + 28, b.y}), kRed);
  EXPECT_EQ(r.at({b.x - 5, b.y}), kWhite);
}

TEST(PaintLoads, AStripLoadStandsOnItsSegmentOrUprightWithoutATopLine) {
  const QColor red(255, 0, 0);
  for (bool withGround : {false, true}) {
    ViewProject p;
    p.options().setChecked(Option::CB_StripLoad_Disable, false);
    if (withGround) {
      p.coloredSoil(1, 0xFFFFFF);
      p.coloredSoil(2, 0);
      p.line(1, {{0, 0}, {100, 0}});
      p.line(2, {{0, 10}, {100, 10}});
    }
    p.row(Table::Stripload, {{"Load No.", 1}, {"Begin X", 10}, {"End X", 20}, {"Y1", 10}, {"Y2", 10}});
    ViewOptions o;
    o.showGrid = false;
    Rendered r;
    ASSERT_NO_THROW(r = Render(p.project, o));
    const PixelPoint begin = r.transform.worldToImage(10, 10, 1, 1);
    // The side of the strip rises 15 pixels above its begin point.
    EXPECT_TRUE(ColourNear(r.image, {begin.x, begin.y - 10}, red)) << withGround;
    EXPECT_TRUE(ColourNear(r.image, {begin.x + 50, begin.y - 15}, red)) << withGround;
    EXPECT_FALSE(ColourNear(r.image, {begin.x + 50, begin.y + 8}, red)) << withGround;
  }
}

TEST(PaintAnchors, TheBondedPartShowsThickBeyondTheFarEnd) {
  ViewProject p;
  p.options().setChecked(Option::CB_Anchor_Disable, false);
  p.row(Table::Anchor, {{"Load No.", 1},
                        {"Magnitude", 1},
                        {"X start", 40},
                        {"Y start", 20},
                        {"X end", 30},
                        {"Y end", 20},
                        {"Bonded Length", 5}});
  ViewOptions o;
  o.showGrid = false;
  const Rendered r = Render(p.project, o);
  const QColor darkRed = Rgb(0x000080);
  EXPECT_EQ(r.atWorld(35, 20), kRed);
  EXPECT_EQ(r.atWorld(27.5, 20), darkRed);
  // Five pixels thick.
  const PixelPoint m = r.transform.worldToImage(27.5, 20, 1, 1);
  EXPECT_EQ(r.at({m.x, m.y + 2}), darkRed);
  EXPECT_EQ(r.at({m.x, m.y + 4}), kWhite);
  EXPECT_EQ(r.atWorld(23.5, 20), kWhite) << "nothing beyond the bonded length";
}

TEST(PaintAxes, LabelsCarryTheScalesOnlyWhenAScaleDiffersFromOne) {
  // The amount of ink tells which text was drawn.
  auto labelInk = [](double sx, double sy) {
    ViewProject p;
    p.project.drawing.ScaleX = sx;
    p.project.drawing.ScaleY = sy;
    ViewOptions o;
    o.showGrid = false;
    const Rendered r = Render(p.project, o, 10, false);
    return static_cast<int>(r.image.width() * r.image.height()) - CountColour(r.image, kWhite);
  };
  const int plain = labelInk(1, 1);
  EXPECT_GT(labelInk(2, 1), plain + 20);
  EXPECT_GT(labelInk(1, 0.5), plain + 20);
}

TEST(PaintRobustness, RowsWithSenselessNumbersPaintWithoutRaising) {
  ViewProject p;
  p.coloredSoil(1, 0x0000FF);
  p.line(1, {{0, 0}, {50, 0}});
  p.point(1, 2000000000, 10, 10);  // a point number far beyond the table
  p.point(0, 1, 5, 5);
  p.point(150, 1, 5, 5);
  p.point(-1, -1, 5, 5);
  p.line(2, {{0, 10}, {50, 10}});
  p.options().setItemIndex(Option::CB_Seepage, 1);
  p.row(Table::Waterline, {{"Point No.", 7}});  // coordinates null
  p.options().setChecked(Option::CB_Anchor_Disable, false);
  p.row(Table::Anchor, {{"Load No.", 1}, {"X start", 5}, {"Y start", 5}, {"X end", 5}, {"Y end", 5}});
  p.options().setItemIndex(Option::RG_Theory, 1);
  p.options().setItemIndex(Option::CB_Cir_Search, 1);
  p.options().setText(Option::E_X_Center, "1e400");
  ViewOptions o;
  o.resultAvailable = true;  // with no analysed surface to show
  Rendered r;
  ASSERT_NO_THROW(r = Render(p.project, o));
  EXPECT_EQ(r.atWorld(25.5, 5.5), QColor(255, 0, 0));
  EXPECT_TRUE(p.ui.shown.empty());
}

TEST(PaintRobustness, ReadingTheSceneLeavesTheAnalysisModelAlone) {
  ViewProject p;
  p.coloredSoil(1, 0x0000FF);
  p.coloredSoil(2, 0);
  p.line(1, {{0, 0}, {50, 0}});
  p.line(2, {{0, 10}, {50, 10}});
  p.options().setItemIndex(Option::RG_Theory, 1);
  p.options().setItemIndex(Option::CB_Cir_Search, 2);
  p.options().setText(Option::E_Xauto_Start, "30");
  p.options().setText(Option::E_Yauto_Start, "40");
  // The centre of the surface analysed last, as a search left it.
  p.project.model.CenterX = 12.5;
  p.project.model.CenterY = 22.5;
  const AnalysisModel before = p.project.model;
  ViewOptions o;
  o.resultAvailable = true;
  Render(p.project, o);
  EXPECT_EQ(p.project.model.CenterX, 12.5);
  EXPECT_EQ(p.project.model.CenterY, 22.5);
  EXPECT_EQ(p.project.model.CircularSearchKind, before.CircularSearchKind);
  EXPECT_EQ(p.project.model.ViewLineCount, before.ViewLineCount);
  EXPECT_EQ(p.project.model.LineCount, before.LineCount);
}

struct AnalysedSurface : ViewProject {
  AnalysedSurface() {
    SliceSet& s = project.slices;
    s.SlipPointCount = 3;
    s.SlipX = {10, 20, 30};
    s.SlipY = {15, 5, 15};
    s.SliceCount = 2;
    s.BoundaryX = {10, 20, 30};
    s.SurfaceYAtBoundary = {15, 15, 15};
    s.BaseYAtBoundary = {15, 5, 15};
    s.ActiveFirst = 0;
    s.ActiveEnd = 2;
    project.model.CenterX = 20;
    project.model.CenterY = 40;
    project.run.Minimum[Bishop].Fs = 1.2345;
    project.options.setItemIndex(Option::RG_Theory, 2);
  }
};

TEST(PaintAnalysedSurface, SlicesByFailureSurfaceMode) {
  struct Case {
    int mode;
    bool hatch;
    bool filled, lines;
  };
  const Case cases[] = {
      {0, true, false, false}, {1, false, true, false}, {2, true, false, true}, {2, false, false, false}};
  for (const Case& c : cases) {
    AnalysedSurface p;
    ViewOptions o;
    o.showGrid = false;
    o.resultAvailable = true;
    o.failureSurfaceMode = c.mode;
    o.sliceHatchShown = c.hatch;
    const Rendered r = Render(p.project, o);
    EXPECT_EQ(r.atWorld(15.5, 13.5) == Rgb(65280), c.filled) << c.mode;
    EXPECT_EQ(r.atWorld(20, 12.5) == kBlack, c.lines || c.filled) << c.mode;
    // The surface itself and the yellow centre mark in every mode.
    EXPECT_TRUE(ColourNear(r.image, r.transform.worldToImage(15, 10, 1, 1), kBlack)) << c.mode;
    EXPECT_EQ(r.atWorld(20, 40), Rgb(0x00FFFF)) << c.mode;
  }
  AnalysedSurface none;
  ViewOptions o;
  o.showGrid = false;
  EXPECT_EQ(Render(none.project, o).atWorld(20, 40), kWhite) << "no result to show";
}

}  // namespace
}  // namespace pelodyn
