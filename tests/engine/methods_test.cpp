// The iteration rules of the methods, on synthetic steps and on one slice
// whose sums can be written down by hand.
#include "engine/methods.h"

#include <gtest/gtest.h>

#include <vector>

namespace pelodyn {
namespace {

TEST(IterateFactor, StopsWhenTheChangeIsWithinTheTolerance) {
  // 1.500 -> 1.520 -> 1.515: the second change, 0.005, is within 0.01.
  std::vector<double> values = {1.520, 1.515, 1.6};
  std::size_t next = 0;
  double F = 1.500;
  const int k = IterateFactor(F, 0.01, [&](double) { return values[next++]; });
  EXPECT_EQ(F, 1.515);
  EXPECT_EQ(k, 2);
  EXPECT_EQ(next, 2u);
}

TEST(IterateFactor, StopsAtOnceAboveOneHundred) {
  double F = 1.0;
  int evaluations = 0;
  const int k = IterateFactor(F, 0.01, [&](double previous) {
    ++evaluations;
    return evaluations == 3 ? -150.0 : previous + 1.0;
  });
  EXPECT_EQ(F, -150.0);
  EXPECT_EQ(k, 2);
  EXPECT_EQ(evaluations, 3);
}

TEST(IterateFactor, GivesUpAfterOneHundredAndOneEvaluations) {
  double F = 1.0;
  int evaluations = 0;
  const int k = IterateFactor(F, 0.01, [&](double previous) {
    ++evaluations;
    return previous == 1.0 ? 2.0 : 1.0;  // oscillates forever
  });
  EXPECT_EQ(k, 101);
  EXPECT_EQ(evaluations, 101);
}

// lambda climbs by 0.1 while the moment factor is at or above the force
// factor (at 0, 0.1 and 0.2), steps back from 0.3 to 0.2 and goes on by 0.01.
TEST(SpencerSearch, BracketsLambdaWithFinerSteps) {
  std::vector<double> tried;
  auto force = [&](double, double lambda) {
    if (tried.empty() || tried.back() != lambda) tried.push_back(lambda);
    return 1.5;
  };
  auto moment = [&](double, double lambda) { return 1.5 + 0.255 - lambda; };
  double lambda = -1.0;
  const double fs = SpencerSearch(force, moment, 1.2, 1.5, 0.001, lambda);
  ASSERT_GE(tried.size(), 9u);
  const std::vector<double> expected = {0.0, 0.1, 0.2, 0.3, 0.2, 0.21, 0.22, 0.23, 0.24, 0.25, 0.26};
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(tried[i], expected[i], 1e-12) << i;
  // ... then 0.25 and steps of 0.001 up to the crossing at 0.255.
  EXPECT_NEAR(lambda, 0.255, 0.0011);
  EXPECT_NEAR(fs, 1.5 + 0.255 - lambda, 1e-12);
}

TEST(SpencerSearch, FactorsThatNeverMeetAreInvalid) {
  auto force = [](double, double) { return 1.0; };
  auto moment = [](double, double lambda) { return 9.0 + lambda; };  // always above
  double lambda = 0.0;
  EXPECT_EQ(SpencerSearch(force, moment, 1.0, 1.0, 0.01, lambda), 1000000.0);
}

// One slice with sin(alpha) = 0.5, cos(alpha) = 0.75, W = 1, l = 1, unit
// arms and tan(phi) = 0.5: Ordinary = c + 0.75 * 0.5.
SliceSet OneSlice(double cohesion) {
  SliceSet s;
  s.SliceCount = 1;
  s.ActiveFirst = 0;
  s.ActiveEnd = 1;
  for (auto* v : {&s.SliceWeight, &s.SliceWidth, &s.BaseLength, &s.ShearArm, &s.WeightArmX}) v->assign(1, 1.0);
  for (auto* v : {&s.NormalArm, &s.WeightArmY, &s.BasePorePressure, &s.LineLoadOnSlice, &s.LineLoadH, &s.LineLoadV,
                  &s.LineLoadN, &s.LineLoadArm, &s.StripLoadOnSlice, &s.StripLoadN, &s.AnchorForceOnSlice, &s.AnchorH,
                  &s.AnchorV, &s.AnchorN, &s.AnchorArm}) {
    v->assign(1, 0.0);
  }
  s.SinAlpha.assign(1, 0.5);
  s.CosAlpha.assign(1, 0.75);
  s.BaseCohesion.assign(1, cohesion);
  s.BaseTanPhi.assign(1, 0.5);
  return s;
}

// Bishop's step on that slice: F' = c + 0.5 N(F), N(F) = (1 - 0.5 c / F) / (0.25 / F + 0.75).
double BishopStep(double c, double F) {
  return c + 0.5 * (1.0 - 0.5 * c / F) / (0.25 / F + 0.75);
}

TEST(OrdinaryMethod, ExactlyOneHundredStandsAndSeedsTheOthers) {
  SliceSet s = OneSlice(99.625);                // 99.625 + 0.375 = 100 exactly
  ComputeFactorsOfSafety(s, 0.0, 0.0, 1000.0);  // a tolerance that stops after one step
  EXPECT_EQ(s.FsOrdinary, 100.0);
  EXPECT_DOUBLE_EQ(s.FsBishop, BishopStep(99.625, 100.0));
}

TEST(OrdinaryMethod, AboveOneHundredIsInvalidAndTheOthersStartFromOne) {
  SliceSet s = OneSlice(99.6251);
  ComputeFactorsOfSafety(s, 0.0, 0.0, 1000.0);
  EXPECT_EQ(s.FsOrdinary, 1000000.0);
  EXPECT_DOUBLE_EQ(s.FsBishop, BishopStep(99.6251, 1.0));
}

TEST(RatioTest, AFailedBishopFailsJanbuAndSpencer) {
  SliceSet s = OneSlice(150.0);  // every factor is above 100
  ComputeFactorsOfSafety(s, 0.0, 0.0, 0.01);
  EXPECT_EQ(s.FsOrdinary, 1000000.0);
  EXPECT_EQ(s.FsBishop, 1000000.0);
  EXPECT_EQ(s.FsJanbu, 1000000.0);
  EXPECT_EQ(s.FsSpencer, 1000000.0);
}

}  // namespace
}  // namespace pelodyn
