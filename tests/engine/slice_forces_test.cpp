// What acts on the slices: loads, anchors, strength, pore pressure, the
// zero-strength zone and the tension crack.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "engine_fixture.h"

namespace pelodyn {
namespace {

using testing::EngineFixture;

class SliceForces : public ::testing::Test, public EngineFixture {
 protected:
  void lineLoad(int no, double x, double magnitude, double angle) {
    Row r(Table::Lineload);
    r.set(LineLoadField::LoadNo, no)
        .set(LineLoadField::Magnitude, magnitude)
        .set(LineLoadField::X, x)
        .set(LineLoadField::Angle, angle);
    store().append(r);
    options().setChecked(Option::CB_LineLoad_Disable, false);
  }
  void anchor(int no, double magnitude, double xs, double ys, double xe, double ye, double bonded) {
    Row r(Table::Anchor);
    r.set(AnchorField::LoadNo, no)
        .set(AnchorField::Magnitude, magnitude)
        .set(AnchorField::XStart, xs)
        .set(AnchorField::YStart, ys);
    r.set(AnchorField::XEnd, xe).set(AnchorField::YEnd, ye).set(AnchorField::BondedLength, bonded);
    store().append(r);
    options().setChecked(Option::CB_Anchor_Disable, false);
  }
  std::size_t sliceStartingAt(double x) {
    for (int i = 0; i < slices().SliceCount; ++i) {
      if (std::fabs(slices().BoundaryX[static_cast<std::size_t>(i)] - x) < 1e-9) return static_cast<std::size_t>(i);
    }
    ADD_FAILURE() << "no slice starts at " << x;
    return 0;
  }
  static double total(const std::vector<double>& v) { return std::accumulate(v.begin(), v.end(), 0.0); }
};

TEST_F(SliceForces, LineLoadsActOnTheSliceRightOfTheirPoint) {
  homogeneousSlope();
  lineLoad(1, 30.0, 10.0, 0.0);  // vertical, on the slope face at y = 15
  lineLoad(2, 44.0, 7.0, 90.0);  // horizontal, on the toe at y = 10
  collectOk();
  analyseCircle(35.0, 35.0, 28.0);
  const SliceSet& s = slices();
  const std::size_t a = sliceStartingAt(30.0), b = sliceStartingAt(44.0);
  EXPECT_EQ(s.LineLoadOnSlice[a], 10.0);
  EXPECT_EQ(s.LineLoadV[a], 10.0);
  EXPECT_EQ(s.LineLoadH[a], 0.0);
  EXPECT_DOUBLE_EQ(s.LineLoadN[a], 10.0 * s.CosAlpha[a]);
  EXPECT_DOUBLE_EQ(s.LineLoadArm[a], 5.0);           // |xc - xP|, left of the centre
  EXPECT_NEAR(s.LineLoadArm[b], 35.0 - 10.0, 1e-9);  // |yc - yP|
  EXPECT_NEAR(s.LineLoadH[b], 7.0, 1e-9);
  EXPECT_EQ(total(s.LineLoadOnSlice), 17.0);
}

TEST_F(SliceForces, LoadAtTheRightEndActsOnNoSlice) {
  homogeneousSlope();
  collectOk();
  analyseCircle(35.0, 35.0, 28.0);
  const double exitX = slices().SlipX.back();
  lineLoad(1, exitX, 10.0, 0.0);
  collectOk();
  analyseCircle(35.0, 35.0, 28.0);
  EXPECT_EQ(total(slices().LineLoadOnSlice), 0.0);
}

// The boundaries are running sums of widths; a load's point must find its
// boundary wherever it stands.
TEST_F(SliceForces, EveryLoadInsideTheSurfaceActsOnExactlyOneSlice) {
  homogeneousSlope();
  lineLoad(1, 12.0, 1.0, 0.0);
  options().setText(Option::E_Cir_Slice, "37");
  collectOk();
  for (int k = 0; k < 300; ++k) {
    model().LineLoadX[0] = 11.5 + k * (35.9 / 300.0) + 1e-4 * std::sin(k);
    analyseCircle(35.0, 35.0, 28.0);
    const auto& on = slices().LineLoadOnSlice;
    ASSERT_EQ(std::count(on.begin(), on.end(), 1.0), 1) << "load at " << model().LineLoadX[0];
  }
}

TEST_F(SliceForces, StripLoadByTheSliceCentre) {
  homogeneousSlope();
  Row r(Table::Stripload);
  r.set(StripLoadField::LoadNo, 1)
      .set(StripLoadField::Magnitude, 4.0)
      .set(StripLoadField::BeginX, 25.0)
      .set(StripLoadField::EndX, 35.0);
  store().append(r);
  options().setChecked(Option::CB_StripLoad_Disable, false);
  collectOk();
  analyseCircle(35.0, 35.0, 28.0);
  const SliceSet& s = slices();
  double loaded = 0.0;
  for (int i = 0; i < s.SliceCount; ++i) {
    const auto u = static_cast<std::size_t>(i);
    const bool under = s.SliceMidX[u] >= 25.0 && s.SliceMidX[u] <= 35.0;
    EXPECT_EQ(s.StripLoadOnSlice[u], under ? 4.0 * s.SliceWidth[u] : 0.0);
    EXPECT_EQ(s.StripLoadN[u], s.StripLoadOnSlice[u] * s.CosAlpha[u]);
    loaded += s.StripLoadOnSlice[u];
  }
  EXPECT_GT(loaded, 0.0);
}

// An anchor from its head (30, 15) to its far end (24, 3) crosses the flat
// base y = 6 at (25.5, 6), sqrt(11.25) from the far end.
TEST_F(SliceForces, AnchorForceByItsBondedLength) {
  homogeneousSlope();
  irregularSurface({{10, 20}, {20, 6}, {40, 6}, {50, 10}});
  struct Case {
    int applyAs;
    double bonded, force;
  };
  for (const Case& c :
       {Case{0, std::sqrt(45.0), 50.0}, Case{0, 0.0, 100.0}, Case{1, std::sqrt(45.0), 100.0}, Case{0, 1.0, 100.0}}) {
    store().empty(Table::Anchor);
    anchor(1, 100.0, 30.0, 15.0, 24.0, 3.0, c.bonded);
    options().setItemIndex(Option::RG_Apply_as, c.applyAs);
    collectOk();
    analyseAt(30.0, 35.0);
    const SliceSet& s = slices();
    EXPECT_DOUBLE_EQ(s.AnchorPointX[0], 25.5);
    EXPECT_NEAR(s.AnchorForce[0], c.force, 1e-9);
    const std::size_t i = sliceStartingAt(22.0);  // 22 < 25.5 <= 26
    EXPECT_NEAR(s.AnchorForceOnSlice[i], c.force, 1e-9);
    EXPECT_NEAR(s.AnchorH[i], c.force * 6.0 / std::sqrt(180.0), 1e-9);
    EXPECT_NEAR(s.AnchorV[i], c.force * 12.0 / std::sqrt(180.0), 1e-9);
    // Foot of the perpendicular from (30, 35) on y = 2x - 45: (38, 31), right
    // of the centre, so the arm counts positive on a slope facing right.
    EXPECT_NEAR(s.AnchorArm[i], std::sqrt(80.0), 1e-9);
  }
}

TEST_F(SliceForces, VerticalAnchorIsIgnored) {
  homogeneousSlope();
  anchor(1, 100.0, 30.0, 15.0, 30.0, 3.0, 5.0);
  collectOk();
  analyseCircle(35.0, 35.0, 28.0);
  EXPECT_EQ(total(slices().AnchorForceOnSlice), 0.0);
}

TEST_F(SliceForces, AnisotropicSoilWithEqualDirectionsIsMohrCoulomb) {
  homogeneousSlope();
  collectOk();
  analyseCircle(35.0, 35.0, 28.0);
  const SliceSet mohrCoulomb = slices();

  EngineFixture aniso;
  aniso.anisoSoil(1, 10.0, 10.0, 25.0, 25.0, 18.0);
  aniso.anisoSoil(2, 0.0, 0.0, 0.0, 0.0, 0.0);
  aniso.line(1, {{0, 0}, {60, 0}});
  aniso.line(2, {{0, 20}, {20, 20}, {40, 10}, {60, 10}});
  aniso.options().setItemIndex(Option::CB_Strength_Model, 1);
  aniso.collectOk();
  aniso.analyseCircle(35.0, 35.0, 28.0);
  EXPECT_NEAR(aniso.slices().FsOrdinary, mohrCoulomb.FsOrdinary, 1e-12);
  EXPECT_NEAR(aniso.slices().FsBishop, mohrCoulomb.FsBishop, 1e-12);
  EXPECT_NEAR(aniso.slices().FsJanbu, mohrCoulomb.FsJanbu, 1e-12);
  EXPECT_NEAR(aniso.slices().FsSpencer, mohrCoulomb.FsSpencer, 1e-12);
}

TEST_F(SliceForces, AdvancedRowsChosenByTheNormalStressOnTheBase) {
  anisoSoil(1, 10.0, 12.0, 30.0, 35.0, 18.0);
  anisoSoil(2, 0.0, 0.0, 0.0, 0.0, 0.0);
  line(1, {{0, 0}, {60, 0}});
  line(2, {{0, 20}, {20, 20}, {40, 10}, {60, 10}});
  options().setItemIndex(Option::CB_Strength_Model, 1);
  for (auto [stress, phiV, phiH] : {std::tuple{0.0, 20.0, 25.0}, {100.0, 25.0, 30.0}}) {
    Row r(Table::Aniso_advance);
    r.set(AnisoAdvanceField::LineNo, 1)
        .set(AnisoAdvanceField::NormalStress, stress)
        .set(AnisoAdvanceField::PhiV, phiV)
        .set(AnisoAdvanceField::PhiH, phiH);
    store().append(r);
  }
  collectOk();
  analyseCircle(35.0, 35.0, 28.0);
  const SliceSet& s = slices();
  int low = 0, high = 0;
  for (int i = 0; i < s.SliceCount; ++i) {
    const auto u = static_cast<std::size_t>(i);
    const double sin2 = s.SinAlpha[u] * s.SinAlpha[u], cos2 = s.CosAlpha[u] * s.CosAlpha[u];
    const double sigma = s.SliceWeight[u] * cos2 / s.SliceWidth[u];
    EXPECT_DOUBLE_EQ(s.SliceNormalStress[u], sigma);
    const bool above = sigma >= 100.0;
    (above ? high : low)++;
    const double phi = above ? 30.0 * cos2 + 25.0 * sin2 : 25.0 * cos2 + 20.0 * sin2;
    EXPECT_NEAR(s.BaseTanPhi[u], std::tan(phi * 3.14159265359 / 180.0), 1e-12) << i;
    EXPECT_NEAR(s.BaseCohesion[u], 10.0 * sin2 + 12.0 * cos2, 1e-12);
  }
  EXPECT_GT(low, 0);
  EXPECT_GT(high, 0);
}

TEST_F(SliceForces, PorePressureFromTheWaterLine) {
  homogeneousSlope();
  options().setItemIndex(Option::CB_Seepage, 1);
  options().setText(Option::E_Unit_Weight_Water, "10");
  // A phreatic line below every base: no pore pressure.
  numberedPoint(Table::Waterline, 1, 0, 5);
  numberedPoint(Table::Waterline, 2, 60, 5);
  collectOk();
  analyseCircle(35.0, 35.0, 28.0);
  EXPECT_EQ(total(slices().BasePorePressure), 0.0);

  // A piezometric line 2 below the slope face and parallel to it: on the
  // face, u = gamma_w * h * cos^2(beta) with tan(beta) = 0.5.
  store().empty(Table::Waterline);
  int k = 1;
  for (auto [x, y] : {std::pair{0.0, 18.0}, {20.0, 18.0}, {40.0, 8.0}, {60.0, 8.0}}) {
    numberedPoint(Table::Waterline, k++, x, y);
  }
  options().setItemIndex(Option::CB_Phreatic_Peizometric, 1);
  collectOk();
  analyseCircle(35.0, 35.0, 28.0);
  const SliceSet& s = slices();
  int onFace = 0;
  for (int i = 0; i < s.SliceCount; ++i) {
    const auto u = static_cast<std::size_t>(i);
    const double mid = s.SliceMidX[u];
    const double head = 18.0 - 0.5 * (mid - 20.0) - s.BaseYAtMid[u];
    if (s.BoundaryX[u] >= 20.0 - 1e-9 && s.BoundaryX[u + 1] <= 40.0 + 1e-9) {
      ++onFace;
      EXPECT_NEAR(s.BasePorePressure[u], 10.0 * head * 0.8, 1e-9) << i;
    }
  }
  EXPECT_GT(onFace, 3);
}

TEST_F(SliceForces, PorePressureRatio) {
  homogeneousSlope();
  options().setItemIndex(Option::CB_Seepage, 2);
  options().setText(Option::E_Ru_average, "0.25");
  collectOk();
  analyseCircle(35.0, 35.0, 28.0);
  const SliceSet& s = slices();
  for (int i = 0; i < s.SliceCount; ++i) {
    const auto u = static_cast<std::size_t>(i);
    EXPECT_DOUBLE_EQ(s.BasePorePressure[u], 0.25 * s.SliceWeight[u] / s.BaseLength[u]);
  }
}

// A lake in front of the toe, modelled as a soil without strength up to
// y = 14: the bases in it leave the equilibrium, and the water pushes on the
// boundary where the surface leaves the firm soil (where the chords of the
// circle rise through y = 10).
TEST_F(SliceForces, ZeroStrengthZoneEndsTheSurfaceWithAWaterThrust) {
  soil(1, 10.0, 25.0, 18.0);
  soil(2, 0.0, 0.0, 10.0);
  soil(3, 0.0, 0.0, 0.0);
  line(1, {{0, 0}, {60, 0}});
  line(2, {{0, 20}, {20, 20}, {40, 10}, {60, 10}});
  line(3, {{0, 20}, {20, 20}, {32, 14}, {60, 14}});
  options().setItemIndex(Option::CB_Seepage, 1);
  options().setText(Option::E_Unit_Weight_Water, "10");
  numberedPoint(Table::Waterline, 1, 0, 14);
  numberedPoint(Table::Waterline, 2, 60, 14);
  collectOk();
  analyseCircle(35.0, 35.0, 28.0);
  const SliceSet& s = slices();
  ASSERT_LT(s.ActiveEnd, s.SliceCount);
  EXPECT_EQ(s.ActiveFirst, 0);
  // The ten chords of the circle from (35 - sqrt(559), 20) to (35 + sqrt(343), 14).
  const double xL = 35.0 - std::sqrt(559.0), xR = 35.0 + std::sqrt(343.0);
  double exit = 0.0;
  for (int i = 0; i < 10; ++i) {
    auto arc = [](double x) { return 35.0 - std::sqrt(784.0 - (x - 35.0) * (x - 35.0)); };
    const double x0 = xL + i * (xR - xL) / 10.0, x1 = xL + (i + 1) * (xR - xL) / 10.0;
    const double y0 = i == 0 ? 20.0 : arc(x0), y1 = i == 9 ? 14.0 : arc(x1);
    if (y0 < 10.0 && y1 >= 10.0) exit = x0 + (10.0 - y0) * (x1 - x0) / (y1 - y0);
  }
  EXPECT_NEAR(s.ExitX, exit, 1e-9);
  EXPECT_NEAR(s.ExitY, 10.0, 1e-9);
  EXPECT_NEAR(s.BoundaryX[static_cast<std::size_t>(s.ActiveEnd)], exit, 1e-9);
  EXPECT_NEAR(s.ThrustAtEnd, -0.5 * 10.0 * 4.0 * 4.0, 1e-6);
  EXPECT_NEAR(s.ThrustAtEndArm, 35.0 - 10.0 - 4.0 / 3.0, 1e-6);
  for (int i = s.ActiveEnd; i < s.SliceCount; ++i) EXPECT_EQ(s.BaseSoil[static_cast<std::size_t>(i)], 1);
  EXPECT_LT(s.FsBishop, 100.0);
}

// A crack line at depth y = d cuts the surface; the slices left of the crack
// (the crest side of a slope facing right) leave the equilibrium, and the
// water in the crack pushes on the first active slice.
TEST_F(SliceForces, TensionCrackCutsTheSurfaceAtItsPoint) {
  homogeneousSlope();
  numberedPoint(Table::Tcrack, 1, 0, 15);
  numberedPoint(Table::Tcrack, 2, 20, 15);
  options().setChecked(Option::CB_Tension_Disable, false);
  options().setText(Option::E_Percent_Water, "50");
  options().setText(Option::E_Water_Unit_Weight, "10");
  collectOk();
  for (int k = 0; k < 100; ++k) {
    const double depth = 12.5 + k * 0.07;
    model().TensionCrackY[0] = model().TensionCrackY[1] = depth;
    analyseCircle(35.0, 35.0, 28.0);
    const SliceSet& s = slices();
    ASSERT_TRUE(s.CrackFound);
    ASSERT_GT(s.ActiveFirst, 0);
    const auto F = static_cast<std::size_t>(s.ActiveFirst);
    ASSERT_NEAR(s.BoundaryX[F], s.CrackX, 1e-9) << "crack at depth " << depth;
    const double h = (20.0 - depth) * 0.5;
    ASSERT_NEAR(s.ThrustAtFirst, 0.5 * 10.0 * h * h, 1e-6);
    ASSERT_NEAR(s.ThrustAtFirstArm, 35.0 - depth - h / 3.0, 1e-6);
  }
}

// A section and its mirror image (every x to 60 - x, every polyline
// reversed, the anchor too) must give the same factors.
class Mirror : public ::testing::TestWithParam<bool> {};

TEST_P(Mirror, SectionAndItsMirrorImageAgree) {
  const bool withAnchor = GetParam();
  auto build = [&](EngineFixture& f, bool mirrored) {
    auto X = [&](double x) { return mirrored ? 60.0 - x : x; };
    auto polyline = [&](std::vector<std::pair<double, double>> points) {
      if (mirrored) std::reverse(points.begin(), points.end());
      for (auto& [x, y] : points) x = X(x);
      return points;
    };
    f.soil(1, 10.0, 25.0, 18.0);
    f.soil(2, 5.0, 30.0, 19.0);
    f.soil(3, 0.0, 0.0, 0.0);
    int k = 1;
    for (auto [x, y] : polyline({{0, 0}, {60, 0}})) f.point(1, k++, x, y);
    k = 1;
    for (auto [x, y] : polyline({{0, 8}, {30, 7}, {60, 9}})) f.point(2, k++, x, y);
    k = 1;
    for (auto [x, y] : polyline({{0, 20}, {20, 20}, {40, 10}, {60, 10}})) f.point(3, k++, x, y);
    k = 1;
    for (auto [x, y] : polyline({{0, 16}, {25, 13}, {45, 9}, {60, 9}})) f.numberedPoint(Table::Waterline, k++, x, y);
    f.options().setItemIndex(Option::CB_Seepage, 1);
    f.options().setText(Option::E_Unit_Weight_Water, "9.81");
    Row strip(Table::Stripload);
    strip.set(StripLoadField::LoadNo, 1)
        .set(StripLoadField::Magnitude, 12.0)
        .set(StripLoadField::BeginX, std::min(X(5), X(15)));
    strip.set(StripLoadField::EndX, std::max(X(5), X(15)));
    f.store().append(strip);
    f.options().setChecked(Option::CB_StripLoad_Disable, false);
    f.options().setChecked(Option::CB_Seismic_Disable, false);
    f.options().setText(Option::E_Kh, "0.1");
    f.options().setText(Option::E_Kv, "0.05");
    if (withAnchor) {
      Row a(Table::Anchor);
      a.set(AnchorField::LoadNo, 1)
          .set(AnchorField::Magnitude, 150.0)
          .set(AnchorField::XStart, X(30))
          .set(AnchorField::YStart, 15.0);
      a.set(AnchorField::XEnd, X(12)).set(AnchorField::YEnd, 6.0).set(AnchorField::BondedLength, 8.0);
      f.store().append(a);
      f.options().setChecked(Option::CB_Anchor_Disable, false);
    }
    k = 1;
    for (auto [x, y] : polyline({{0, 14}, {25, 14}})) f.numberedPoint(Table::Tcrack, k++, x, y);
    f.options().setChecked(Option::CB_Tension_Disable, false);
    f.options().setText(Option::E_Percent_Water, "50");
    f.options().setText(Option::E_Water_Unit_Weight, "9.81");
    f.options().setChecked(Option::CB_Ordinary, true);
    f.options().setText(Option::E_Cir_Slice, "30");
    f.options().setText(Option::E_Pass_Criteria, "0.0001");
    f.collectOk();
    f.analyseCircle(X(35.0), 35.0, 28.0);
  };
  EngineFixture right, left;
  build(right, false);
  build(left, true);
  const SliceSet& a = right.slices();
  const SliceSet& b = left.slices();
  ASSERT_GT(a.LeftGroundY, a.RightGroundY);
  ASSERT_LT(b.LeftGroundY, b.RightGroundY);
  // The crack cuts the crest side of each: the start of the one, the end of the other.
  ASSERT_GT(a.ActiveFirst, 0);
  ASSERT_LT(b.ActiveEnd, b.SliceCount);
  EXPECT_NEAR(a.ThrustAtFirst, b.ThrustAtEnd, 1e-9);
  if (withAnchor) {
    const auto sum = [](const std::vector<double>& v) { return std::accumulate(v.begin(), v.end(), 0.0); };
    ASSERT_GT(sum(a.AnchorForceOnSlice), 0.0);
    ASSERT_NEAR(sum(a.AnchorForceOnSlice), sum(b.AnchorForceOnSlice), 1e-9);
  }
  for (double fs : {a.FsOrdinary, a.FsJanbu, a.FsBishop, a.FsSpencer}) ASSERT_LT(fs, 100.0);
  EXPECT_NEAR(a.FsOrdinary, b.FsOrdinary, 1e-9);
  EXPECT_NEAR(a.FsJanbu, b.FsJanbu, 1e-9);
  EXPECT_NEAR(a.FsBishop, b.FsBishop, 1e-9);
  EXPECT_NEAR(a.FsSpencer, b.FsSpencer, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Sections, Mirror, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "WithAnchor" : "WithoutAnchor"; });

}  // namespace
}  // namespace pelodyn
