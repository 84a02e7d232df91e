// The geometry of one surface: the circle and the ground, the slice layout,
// the depth check, weights and base soils, and the result codes.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <numeric>

#include "engine_fixture.h"

namespace pelodyn {
namespace {

using testing::EngineFixture;

class SlipSurface : public ::testing::Test, public EngineFixture {
 protected:
  void groundOnly(std::initializer_list<std::pair<double, double>> ground) {
    soil(1, 10.0, 25.0, 18.0);
    soil(2, 0.0, 0.0, 0.0);
    line(1, {{0, 0}, {60, 0}});
    line(2, ground);
    options().setText(Option::E_Cir_Depth_Tallest, "0");
    collectOk();
  }
  void expectAll(double code) {
    EXPECT_EQ(slices().FsOrdinary, code);
    EXPECT_EQ(slices().FsJanbu, code);
    EXPECT_EQ(slices().FsBishop, code);
    EXPECT_EQ(slices().FsSpencer, code);
  }
};

TEST_F(SlipSurface, ACircleThatOnlyTouchesOrMissesTheGroundIsRejected) {
  groundOnly({{0, 20}, {60, 20}});
  analyseCircle(30.0, 30.0, 10.0);  // tangent: D = 0
  expectAll(1000009.0);
  analyseCircle(30.0, 50.0, 10.0);  // wholly in the air
  expectAll(1000009.0);
  analyseCircle(0.0, 20.0, 5.0);  // the only cut is a right cut with no left cut before it
  expectAll(1000009.0);
  analyseCircle(30.0, 30.0, 15.0);
  EXPECT_GT(slices().SliceCount, 0);
  EXPECT_NE(slices().FsOrdinary, 1000009.0);
}

TEST_F(SlipSurface, LeftCutOnAVerticalStep) {
  groundOnly({{0, 10}, {20, 10}, {20, 20}, {60, 20}});
  analyseCircle(25.0, 30.0, 15.0);
  EXPECT_EQ(slices().SlipX.front(), 20.0);
  EXPECT_DOUBLE_EQ(slices().SlipY.front(), 30.0 - std::sqrt(200.0));
  EXPECT_DOUBLE_EQ(slices().SlipX.back(), 25.0 + std::sqrt(125.0));
  EXPECT_EQ(slices().SlipY.back(), 20.0);
  EXPECT_LT(slices().LeftGroundY, slices().RightGroundY);  // faces left
}

// Ground with two valleys: the circle about (30, 30) of radius 22 cuts it
// four times. First pair: (8.06, 28.39) on a slope of -0.2 and (24.93, 8.59)
// on -1.3, sum -1.5; second pair: (34.64, 8.49) on 1.4 and (41.57, 11.29) on
// -3.0, sum -1.6. The first pair's left point is the higher, so the smaller
// sum wins: the second pair.
TEST_F(SlipSurface, FourCutsKeepThePairChosenBySlopeSum) {
  groundOnly({{0, 30}, {10, 28}, {30, 2}, {40, 16}, {44, 4}, {60, 20}});
  RecordingPlatform warnings;
  model().TrialRadius = 22.0;
  AnalyseSlipSurface(model(), 30.0, 30.0, slices(), {true, &warnings});
  EXPECT_NEAR(slices().SlipX.front(), 34.63905006500995, 1e-9);
  EXPECT_NEAR(slices().SlipY.front(), 8.494670091013923, 1e-9);
  EXPECT_NEAR(slices().SlipX.back(), 41.570524351924306, 1e-9);
  EXPECT_EQ(warnings.messageTexts(), std::vector<std::string>{"วงกลมตัดชั้นดินมากกว่า 1 ตำแหน่ง"});
  EXPECT_EQ(warnings.shown[0].kind, MessageKind::Plain);

  AnalyseSlipSurface(model(), 30.0, 30.0, slices(), {false, &warnings});
  EXPECT_EQ(warnings.shown.size(), 1u);  // no warning when it is off
}

// Six cuts; the extra pairs have slope sums 0 and 1.7 against -2.2 with the
// left point higher, so the first pair stays. One warning per extra right cut.
TEST_F(SlipSurface, ExtraCutsThatDoNotWinLeaveTheFirstPair) {
  groundOnly({{0, 30}, {10, 28}, {22, 4}, {30, 14}, {38, 4}, {50, 22}, {60, 24}});
  RecordingPlatform warnings;
  model().TrialRadius = 22.0;
  AnalyseSlipSurface(model(), 30.0, 30.0, slices(), {true, &warnings});
  EXPECT_NEAR(slices().SlipX.front(), 8.0591244355820, 1e-9);
  EXPECT_NEAR(slices().SlipX.back(), 18.32249938994628, 1e-9);
  EXPECT_EQ(warnings.shown.size(), 2u);
}

TEST_F(SlipSurface, BreakPointsKeepTheirDistanceFromBaseSliceEdges) {
  // Base slices of width 1 from x = 10; ground vertices at 13.01 (exactly
  // 0.01 from an edge) and 15.02; a line load exactly on the edge 17.
  soil(1, 10.0, 25.0, 18.0);
  soil(2, 0.0, 0.0, 0.0);
  line(1, {{0, 0}, {60, 0}});
  line(2, {{0, 20}, {13.01, 20}, {15.02, 20}, {60, 20}});
  Row load(Table::Lineload);
  load.set(LineLoadField::LoadNo, 1)
      .set(LineLoadField::Magnitude, 5.0)
      .set(LineLoadField::X, 17.0)
      .set(LineLoadField::Angle, 0.0);
  store().append(load);
  options().setChecked(Option::CB_LineLoad_Disable, false);
  irregularSurface({{10, 20}, {10.5, 10}, {19.5, 10}, {20, 20}});
  options().setText(Option::E_NonCir_Slice, "10");
  collectOk();
  analyseAt(15.0, 30.0);
  std::vector<double> boundaries(slices().BoundaryX.begin(), slices().BoundaryX.end());
  std::vector<double> expected = {10, 10.5, 11, 12, 13, 14, 15, 15.02, 16, 17, 18, 19, 19.5, 20};
  ASSERT_EQ(boundaries.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(boundaries[i], expected[i], 1e-12) << i;
  EXPECT_EQ(slices().LineLoadOnSlice[9], 5.0);  // the slice from 17 to 18
  EXPECT_EQ(std::accumulate(slices().LineLoadOnSlice.begin(), slices().LineLoadOnSlice.end(), 0.0), 5.0);
}

TEST_F(SlipSurface, TwoBoundaryLinesInOneBaseSliceMakeThreeSlices) {
  soil(1, 10.0, 25.0, 18.0);
  soil(2, 5.0, 20.0, 17.0);
  soil(3, 2.0, 15.0, 16.0);
  soil(4, 0.0, 0.0, 0.0);
  line(1, {{0, 0}, {60, 0}});
  line(2, {{0, 10}, {60, 10}});
  line(3, {{0, 12}, {60, 12}});
  line(4, {{0, 20}, {60, 20}});
  // A steep first segment crosses lines 3 and 2 inside the first base slice.
  irregularSurface({{10, 20}, {14, 4}, {30, 4}, {34, 20}});
  options().setText(Option::E_NonCir_Slice, "3");
  options().setText(Option::E_NonCir_Depth_Tallest, "0");
  collectOk();
  analyseAt(22.0, 30.0);
  const SliceSet& s = slices();
  // Base slice [10, 18]: cuts at 12 (line 3), 12.5 (line 2) and the vertex 14.
  ASSERT_GE(s.SliceCount, 4);
  EXPECT_DOUBLE_EQ(s.BoundaryX[1], 12.0);
  EXPECT_DOUBLE_EQ(s.BoundaryX[2], 12.5);
  EXPECT_DOUBLE_EQ(s.BoundaryX[3], 14.0);
  EXPECT_DOUBLE_EQ(s.SliceWidth[0] + s.SliceWidth[1] + s.SliceWidth[2] + s.SliceWidth[3], 8.0);
  EXPECT_EQ(s.BaseSoil[0], 2);
  EXPECT_EQ(s.BaseSoil[1], 1);
  EXPECT_EQ(s.BaseSoil[2], 0);
}

TEST_F(SlipSurface, WeightBandsSkipALineThatEndsShort) {
  soil(1, 10.0, 25.0, 10.0);
  soil(2, 10.0, 25.0, 20.0);
  soil(3, 0.0, 0.0, 0.0);
  line(1, {{0, 0}, {60, 0}});
  line(2, {{0, 10}, {30, 10}});  // ends at x = 30
  line(3, {{0, 20}, {60, 20}});
  irregularSurface({{10, 20}, {11, 5}, {49, 5}, {50, 20}});
  options().setText(Option::E_NonCir_Slice, "40");
  options().setText(Option::E_NonCir_Depth_Tallest, "0");
  collectOk();
  analyseAt(30.0, 40.0);
  const SliceSet& s = slices();
  auto sliceAt = [&](double mid) {
    for (int i = 0; i < s.SliceCount; ++i) {
      if (std::fabs(s.SliceMidX[static_cast<std::size_t>(i)] - mid) < 1e-9) return static_cast<std::size_t>(i);
    }
    ADD_FAILURE() << "no slice at " << mid;
    return std::size_t{0};
  };
  // Under line 2: 5 of soil 1 and 10 of soil 2 on a width of 1.
  EXPECT_NEAR(s.SliceWeight[sliceAt(19.5)], 5 * 10 + 10 * 20, 1e-9);
  EXPECT_EQ(s.BaseSoil[sliceAt(19.5)], 0);
  // Beyond its end the band from the base to the ground is one band, of the
  // soil below the lowest line present.
  EXPECT_NEAR(s.SliceWeight[sliceAt(39.5)], 15 * 10, 1e-9);
  EXPECT_EQ(s.LineYAtMid[sliceAt(39.5)][1], -9999.0);
}

TEST_F(SlipSurface, DepthCheckRejectsATallestSliceThatIsNotTaller) {
  homogeneousSlope();
  collectOk();
  model().DepthTallest = 0.0;
  analyseCircle(35.0, 35.0, 28.0);
  const double tallest = *std::max_element(slices().SliceHeight.begin(), slices().SliceHeight.end());
  model().DepthTallest = tallest;
  analyseCircle(35.0, 35.0, 28.0);
  expectAll(1000006.0);
  model().DepthTallest = std::nextafter(tallest, 0.0);
  analyseCircle(35.0, 35.0, 28.0);
  EXPECT_LT(slices().FsOrdinary, 100.0);
}

TEST_F(SlipSurface, BasesWithoutStrengthRejectTheSurface) {
  soil(1, 0.0, 0.0, 18.0);
  soil(2, 0.0, 0.0, 0.0);
  line(1, {{0, 0}, {60, 0}});
  line(2, {{0, 20}, {20, 20}, {40, 10}, {60, 10}});
  collectOk();
  analyseCircle(35.0, 35.0, 28.0);
  expectAll(1000007.0);
}

TEST_F(SlipSurface, ASurfaceDrawnRightToLeftHasNoBase) {
  homogeneousSlope();
  irregularSurface({{50, 10}, {40, 6}, {20, 8}, {10, 20}});
  collectOk();
  analyseAt(30.0, 35.0);
  expectAll(1000008.0);
}

TEST_F(SlipSurface, ArithmeticFaultsBecomeACodeAndLeaveNoFlagBehind) {
  soil(1, 10.0, 25.0, 18.0);
  soil(2, 0.0, 0.0, 0.0);
  line(1, {{0, 0}, {60, 0}});
  line(2, {{0, 20}, {20, 20}, {40, 10}, {60, 10}});
  collectOk();
  // The collection refuses such a unit weight; the model may still hold one.
  model().SoilUnitWeight[0] = 1e308;  // the weights overflow
  analyseCircle(35.0, 35.0, 28.0);
  expectAll(1000011.0);
  EXPECT_EQ(slices().SliceCount, 12);  // the slices built stay

  // A model whose arrays do not match its counts is refused, not read.
  model().LineCount = 5;
  analyseCircle(35.0, 35.0, 28.0);
  expectAll(1000011.0);
  model().LineCount = 2;
  model().SliceCountInput = 0;
  analyseCircle(35.0, 35.0, 28.0);
  expectAll(1000011.0);
}

// The flags are the surface's own: what was raised before it (in the x87 or
// the SSE unit) is cleared first, and what it raises itself is seen.
TEST_F(SlipSurface, OnlyASurfacesOwnArithmeticFaultsCount) {
  homogeneousSlope();
  collectOk();
  analyseCircle(35.0, 35.0, 28.0);
  const double bishop = slices().FsBishop;
  ASSERT_LT(bishop, 100.0);

  std::feraiseexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW);
  volatile long double x87 = 1.0L, zero = 0.0L;
  x87 = x87 / zero;  // raises in the x87 unit's own flags
  analyseCircle(35.0, 35.0, 28.0);
  EXPECT_EQ(slices().FsBishop, bishop);

  model().SoilUnitWeight[0] = 1e308;
  analyseCircle(35.0, 35.0, 28.0);
  expectAll(1000011.0);
}

TEST_F(SlipSurface, IrregularSurfaceStartsAtItsFirstGroundCrossing) {
  homogeneousSlope();
  irregularSurface({{12, 20}, {20, 8}, {40, 6}, {50, 10}});
  collectOk();
  analyseAt(30.0, 35.0);
  EXPECT_EQ(slices().BoundaryX[0], 12.0);
  EXPECT_EQ(slices().EntryX, 12.0);
  EXPECT_EQ(slices().ExitX, 50.0);
}

// A circle that leaves the ground 0.013 past the toe makes a sliver there:
// no line is more than 0.01 above its base. It takes the soil just under
// the ground, not the deepest soil, which the circle never reaches.
struct SliverCase : EngineFixture {
  explicit SliverCase(double unreachedCohesion) {
    soil(1, unreachedCohesion, 30.0, 19.0);
    soil(2, 10.0, 25.0, 18.0);
    soil(3, 0.0, 0.0, 0.0);
    line(1, {{0, 0}, {60, 0}});
    line(2, {{0, 5}, {60, 5}});
    line(3, {{0, 20}, {20, 20}, {40, 10}, {60, 10}});
    options().setText(Option::E_Cir_Depth_Tallest, "0");
    collect();
    const double r = std::hypot(40.013 - 30.0, 25.0);
    analyseCircle(30.0, 35.0, r);
  }
};

TEST(Sliver, TakesTheSoilUnderTheGroundAndNotTheDeepestSoil) {
  SliverCase weak(10.0), strong(1000.0);
  ASSERT_EQ(weak.model().DataError, 0);
  const SliceSet& s = weak.slices();
  ASSERT_GT(s.SliceCount, 2);
  // The sliver is there, and bears on soil 2.
  bool sliver = false;
  for (int i = 0; i < s.SliceCount; ++i) {
    const auto u = static_cast<std::size_t>(i);
    EXPECT_EQ(s.BaseSoil[u], 1) << "slice " << i + 1;
    if (s.SliceHeight[u] < 0.01) sliver = true;
  }
  EXPECT_TRUE(sliver);
  EXPECT_LT(weak.slices().FsBishop, 100.0);
  EXPECT_EQ(weak.slices().FsOrdinary, strong.slices().FsOrdinary);
  EXPECT_EQ(weak.slices().FsJanbu, strong.slices().FsJanbu);
  EXPECT_EQ(weak.slices().FsBishop, strong.slices().FsBishop);
  EXPECT_EQ(weak.slices().FsSpencer, strong.slices().FsSpencer);
}

}  // namespace
}  // namespace pelodyn
