// Warnings for minima on the edge of the grid of centres, and their words.
#include <gtest/gtest.h>

#include "engine/search.h"
#include "engine_fixture.h"
#include "texts/messages.h"

namespace pelodyn {
namespace {

using Edge = RunWarning::Edge;
using testing::EngineFixture;
using testing::SetCentreGrid;

struct Corners {
  double x1, y1, x2, y2, x3, y3;
};

// A model with the grid of centres and the Bishop minimum at (cx, cy).
struct GridCase {
  const char* name;
  Corners corners;
  int division12, division23;
  double cx, cy;
  std::vector<Edge> expected;
};

std::vector<RunWarning> Warnings(const GridCase& c, int method = Bishop) {
  AnalysisModel md;
  md.GridCornerX = {c.corners.x1, c.corners.x2, c.corners.x3};
  md.GridCornerY = {c.corners.y1, c.corners.y2, c.corners.y3};
  md.GridDivision12 = c.division12;
  md.GridDivision23 = c.division23;
  md.UseOrdinary = md.UseSimplifiedJanbu = md.UseSimplifiedBishop = md.UseSpencer = 0;
  (method == Ordinary ? md.UseOrdinary
   : method == Janbu  ? md.UseSimplifiedJanbu
   : method == Bishop ? md.UseSimplifiedBishop
                      : md.UseSpencer) = 1;
  RunState run;
  for (MethodMinimum& min : run.Minimum) min.Fs = 99999.0;
  MethodMinimum& min = run.Minimum[static_cast<std::size_t>(method)];
  min.Fs = 1.5;
  min.CenterX = c.cx;
  min.CenterY = c.cy;
  min.Radius = 10.0;
  return GridEdgeWarnings(md, run);
}

TEST(GridEdges, TheEdgesAMinimumLiesOnAreNamedByWhereTheyLie) {
  const Corners square{10, 40, 30, 40, 30, 60};  // x 10..30, y 40..60, corner 1 lower left
  // The same square entered from its upper right corner: corner 1 (30, 60),
  // corner 2 (10, 60), corner 3 (10, 40).
  const Corners turned{30, 60, 10, 60, 10, 40};
  // A square turned by 30 degrees about (0, 0): corner 2 at 20 (cos, sin),
  // corner 3 a further 20 (-sin, cos). Its lowest side runs from corner 1
  // to corner 2, its leftmost from corner 1 up to (-10, 17.32).
  const Corners tilted{0, 0, 17.320508075688775, 10, 7.320508075688775, 27.320508075688775};
  // Steeper than wide: a tall narrow grid, x 0..4, y 0..100.
  const Corners tall{0, 0, 4, 0, 4, 100};
  const GridCase cases[] = {
      {"Inside", square, 4, 4, 20, 50, {}},
      {"InsideNextToTheEdge", square, 4, 4, 15, 45, {}},
      {"LowerRow", square, 4, 4, 20, 40, {Edge::Lower}},
      {"UpperRow", square, 4, 4, 25, 60, {Edge::Upper}},
      {"LeftColumn", square, 4, 4, 10, 55, {Edge::Left}},
      {"RightColumn", square, 4, 4, 30, 45, {Edge::Right}},
      {"LowerLeftCorner", square, 4, 4, 10, 40, {Edge::Lower, Edge::Left}},
      {"UpperRightCorner", square, 4, 4, 30, 60, {Edge::Upper, Edge::Right}},
      {"EnteredTurnedLower", turned, 4, 4, 20, 40, {Edge::Lower}},
      {"EnteredTurnedLeft", turned, 4, 4, 10, 50, {Edge::Left}},
      {"TiltedLower", tilted, 2, 2, 8.660254037844387, 5, {Edge::Lower}},
      {"TiltedLeft", tilted, 2, 2, -5, 8.660254037844387, {Edge::Left}},
      {"TiltedInside", tilted, 2, 2, 3.660254037844387, 13.660254037844387, {}},
      {"TallLowerRow", tall, 2, 50, 2, 0, {Edge::Lower}},
      {"TallRightColumn", tall, 2, 50, 4, 50, {Edge::Right}},
      // After a pattern walk: beyond the grid counts as on its edge.
      {"WalkedBelow", square, 4, 4, 22.5, 37.5, {Edge::Lower}},
      {"WalkedInside", square, 4, 4, 22.5, 47.5, {}},
      // One row of centres: no grid across the rows to extend.
      {"OneRow", {10, 40, 30, 40, 30, 40}, 4, 0, 10, 40, {Edge::Left}},
      {"OneRowDividedButFlat", {10, 40, 30, 40, 30, 40}, 4, 3, 20, 40, {}},
      {"OneCentre", {10, 40, 10, 40, 10, 40}, 0, 0, 10, 40, {}},
      {"CornersOnALine", {10, 40, 20, 40, 30, 40}, 4, 4, 10, 40, {}},
  };
  for (const GridCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<RunWarning> expected;
    for (Edge e : c.expected) expected.push_back({Bishop, e});
    EXPECT_EQ(Warnings(c), expected);
  }
}

TEST(GridEdges, OnlySelectedMethodsWithAFactorWarn) {
  const GridCase lower{"Lower", {10, 40, 30, 40, 30, 60}, 4, 4, 20, 40, {}};
  EXPECT_EQ(Warnings(lower, Spencer), (std::vector<RunWarning>{{Spencer, Edge::Lower}}));
  AnalysisModel md;
  md.GridCornerX = {10, 30, 30};
  md.GridCornerY = {40, 40, 60};
  md.GridDivision12 = md.GridDivision23 = 4;
  md.UseOrdinary = 0;  // not selected, on the edge
  md.UseSimplifiedJanbu = md.UseSimplifiedBishop = md.UseSpencer = 1;
  RunState run;
  for (MethodMinimum& min : run.Minimum) min = {1.2, 10.0, 40.0, 8.0, 0, 0, 0, 0};
  run.Minimum[Janbu].Fs = 99999.0;  // no factor found
  run.Minimum[Spencer].CenterX = 20.0;
  run.Minimum[Spencer].CenterY = 50.0;  // inside
  EXPECT_EQ(GridEdgeWarnings(md, run), (std::vector<RunWarning>{{Bishop, Edge::Lower}, {Bishop, Edge::Left}}));
}

TEST(GridEdges, TheWordsSayWhatToDo) {
  EXPECT_EQ(RunWarningText({Bishop, Edge::Lower}, kLanguageEnglish),
            "Simplified Bishop: the minimum lies on the lower edge of the grid of centres; extend the grid beyond its "
            "lower edge.");
  EXPECT_EQ(RunWarningText({Ordinary, Edge::Right}, kLanguageEnglish),
            "Ordinary: the minimum lies on the right edge of the grid of centres; extend the grid beyond its right "
            "edge.");
  EXPECT_EQ(RunWarningText({Janbu, Edge::Upper}, kLanguageThai),
            "Simplified Janbu: ค่าต่ำสุดอยู่ที่ขอบด้านบนของกริดจุดศูนย์กลาง กรุณาขยายกริดออกไปทางขอบด้านบน");
  EXPECT_EQ(RunWarningText({Spencer, Edge::Left}, kLanguageThai),
            "Spencer: ค่าต่ำสุดอยู่ที่ขอบด้านซ้ายของกริดจุดศูนย์กลาง กรุณาขยายกริดออกไปทางขอบด้านซ้าย");
  EXPECT_EQ(RunWarningText({Spencer, Edge::Left}, 7), "");
}

class GridRun : public ::testing::Test, public EngineFixture {
 protected:
  RunResult run() {
    project.run.StopRequested = 0;
    return RunAnalysis(project, ui);
  }
};

// The slope of the hand-checked cases with a grid wholly above its critical
// centres: every method's minimum is on the grid's lowest row, y = 50.
TEST_F(GridRun, ACompleteGridSearchReportsTheEdgesOfItsMinima) {
  homogeneousSlope();
  SetCentreGrid(options(), "30", "50", "50", "70", "4");
  options().setText(Option::E_Cir_Decrement, "5");
  for (const char* box : {Option::CB_Ordinary, Option::CB_Simp_Janbu, Option::CB_Simp_Bishop, Option::CB_Spencer})
    options().setChecked(box, true);
  RunResult result = run();
  ASSERT_EQ(result.outcome, RunOutcome::Complete);
  std::vector<RunWarning> expected;
  for (int method = Ordinary; method <= Spencer; ++method) {
    const MethodMinimum& min = project.run.Minimum[static_cast<std::size_t>(method)];
    ASSERT_LT(min.Fs, 99999.0);
    EXPECT_EQ(min.CenterY, 50.0) << method;  // on the lowest row: the independent check
    EXPECT_GT(min.CenterX, 30.0);
    EXPECT_LT(min.CenterX, 50.0);
    expected.push_back({method, Edge::Lower});
  }
  EXPECT_EQ(result.warnings, expected);

  // A specific circle is no grid: no warning.
  options().setItemIndex(Option::CB_Cir_Search, 1);
  options().setText(Option::E_X_Center, "35");
  options().setText(Option::E_Y_Center, "35");
  options().setText(Option::E_Radius, "25");
  result = run();
  ASSERT_EQ(result.outcome, RunOutcome::Complete);
  EXPECT_TRUE(result.warnings.empty());
}

}  // namespace
}  // namespace pelodyn
