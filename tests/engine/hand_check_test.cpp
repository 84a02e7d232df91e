// Slices and factors of two homogeneous cases checked against an independent
// computation (tests/engine/hand_check.py, which prints these numbers).
#include <gtest/gtest.h>

#include <cmath>

#include "engine_fixture.h"

namespace pelodyn {
namespace {

using testing::EngineFixture;

struct ExpectedSlice {
  double b, mid, baseY, height, weight, sinA, cosA, length, shearArm, normalArm, weightArmX;
};

void ExpectRelative(double actual, double expected, double relative, const char* what, int i) {
  const double tolerance = relative * std::max(1.0, std::fabs(expected));
  EXPECT_NEAR(actual, expected, tolerance) << what << " of slice " << i;
}

void ExpectSlices(const SliceSet& s, const std::vector<double>& boundaries, const std::vector<ExpectedSlice>& slices) {
  ASSERT_EQ(s.SliceCount, static_cast<int>(slices.size()));
  for (std::size_t i = 0; i < boundaries.size(); ++i) ExpectRelative(s.BoundaryX[i], boundaries[i], 1e-9, "x", int(i));
  for (std::size_t i = 0; i < slices.size(); ++i) {
    const ExpectedSlice& e = slices[i];
    const int k = static_cast<int>(i);
    ExpectRelative(s.SliceWidth[i], e.b, 1e-9, "width", k);
    ExpectRelative(s.SliceMidX[i], e.mid, 1e-9, "mid x", k);
    ExpectRelative(s.BaseYAtMid[i], e.baseY, 1e-9, "base y", k);
    ExpectRelative(s.SliceHeight[i], e.height, 1e-9, "height", k);
    ExpectRelative(s.SliceWeight[i], e.weight, 1e-9, "weight", k);
    ExpectRelative(s.SinAlpha[i], e.sinA, 1e-9, "sin", k);
    ExpectRelative(s.CosAlpha[i], e.cosA, 1e-9, "cos", k);
    ExpectRelative(s.BaseLength[i], e.length, 1e-9, "base length", k);
    ExpectRelative(s.ShearArm[i], e.shearArm, 1e-9, "shear arm", k);
    // The normal arm of a slice centred on its chord is zero but for rounding.
    ExpectRelative(s.NormalArm[i], e.normalArm, 1e-9, "normal arm", k);
    ExpectRelative(s.WeightArmX[i], e.weightArmX, 1e-9, "weight arm", k);
    EXPECT_EQ(s.BaseSoil[i], 0);
  }
}

TEST(HandCheck, CircleOnAHomogeneousSlope) {
  EngineFixture f;
  f.homogeneousSlope();
  f.collectOk();
  f.analyseCircle(35.0, 35.0, 28.0);
  const SliceSet& s = f.slices();
  EXPECT_NEAR(s.SlipX.front(), 11.3568191649262, 1e-9);
  EXPECT_NEAR(s.SlipX.back(), 47.6095202129185, 1e-9);
  EXPECT_EQ(s.LeftGroundY, 20.0);
  EXPECT_EQ(s.RightGroundY, 10.0);
  ExpectSlices(
      s,
      {11.3568191649262, 14.9820892697254, 18.6073593745247, 20, 22.2326294793239, 25.8578995841231, 29.4831696889224,
       33.1084397937216, 36.7337098985208, 40, 40.35898000332, 43.9842501081193, 47.6095202129185},
      {
          {3.62527010479923, 13.1694542173258, 17.7111894236996, 2.28881057630035, 149.356018040579, 0.783935798065956,
           0.620841899770539, 5.83928067055254, 27.8473643333194, 0, 21.8305457826742},
          {3.62527010479923, 16.7947243221251, 13.8612848720744, 6.13871512792563, 400.581007832656, 0.652574451248649,
           0.757724610645269, 4.78441646723338, 27.8976224751683, 0, 18.2052756778749},
          {1.39264062547532, 19.3036796872623, 11.8737966627084, 8.1262033372916, 203.703856170938, 0.522221270994847,
           0.852810028154293, 1.63300216871202, 27.9192104628377, -1.30898406773891, 15.6963203127377},
          {2.2326294793239, 21.116314739662, 10.7638231051007, 8.67801952506832, 348.746439848687, 0.522221270994847,
           0.852810028154293, 2.61796813547785, 27.9192104628377, 0.816501084356029, 13.883685260338},
          {3.62527010479923, 24.0452645317235, 9.30737841118179, 8.66998932295646, 565.758955825966, 0.392213027257855,
           0.919874416020594, 3.94104895370638, 27.930575240874, 0, 10.9547354682765},
          {3.62527010479923, 27.6705346365227, 8.0416911102142, 8.12304157152443, 530.067955847199, 0.262357677573519,
           0.964970698528318, 3.75687065972899, 27.9369196711362, 0, 7.32946536347725},
          {3.62527010479923, 31.295804741322, 7.30641755098875, 7.04568007835026, 459.764880408408, 0.132575764373701,
           0.991172874276092, 3.65755580977432, 27.9402142327971, 0, 3.70419525867803},
          {3.62527010479923, 34.9210748461212, 7.05884578670544, 5.48061679023396, 357.636891698926,
           0.00282468069897334, 0.999996010581517, 3.62528456757649, 27.9412656826963, 0, 0.0789251538787994},
          {3.26629010147919, 38.3668549492604, 7.26270404097439, 3.55386848439541, 208.943378145712, -0.126925785222519,
           0.991912216401052, 3.29292254644291, 27.9403034198542, -0.180953514526977, -3.36685494926041},
          {0.358980003320042, 40.17949000166, 7.4946500978366, 2.5053499021634, 16.1886692915367, -0.126925785222519,
           0.991912216401052, 0.361907029053969, 27.9403034198542, 1.64646127322146, -5.17949000166002},
          {3.62527010479923, 42.1716150557197, 7.99906482381185, 2.00093517618815, 130.570748565769, -0.256705614812269,
           0.966489641601944, 3.75096633088627, 27.9371180134269, 0, -7.17161505571966},
          {3.62527010479923, 45.7968851605189, 9.2402559414335, 0.759744058566501, 49.5769936107594, -0.386556521271733,
           0.922265718685399, 3.93083037930403, 27.9309352355464, 0, -10.7968851605189},
      });
  EXPECT_NEAR(s.FsOrdinary, 1.8461833594429, 1e-6);
  EXPECT_NEAR(s.FsBishop, 2.00867574639954, 1e-6);  // stopped by the 0.01 criterion
  f.model().PassCriteria = 1e-12;
  f.analyseCircle(35.0, 35.0, 28.0);
  EXPECT_NEAR(s.FsBishop, 2.00873294793557, 1e-6);
}

TEST(HandCheck, IrregularSurfaceOnAHomogeneousSlope) {
  EngineFixture f;
  f.homogeneousSlope();
  f.irregularSurface({{10, 20}, {20, 8}, {40, 6}, {50, 10}});
  f.collectOk();
  f.analyseAt(30.0, 35.0);
  const SliceSet& s = f.slices();
  EXPECT_EQ(s.LeftGroundY, 20.0);
  EXPECT_EQ(s.RightGroundY, 10.0);
  ExpectSlices(s, {10, 14, 18, 20, 22, 26, 30, 34, 38, 40, 42, 46, 50},
               {
                   {4, 12, 17.6, 2.4, 172.8, 0.768221279597376, 0.64018439966448, 6.24819974072532, 24.9671915869147,
                    1.8437310710337, 18},
                   {4, 16, 12.8, 7.2, 518.4, 0.768221279597376, 0.64018439966448, 6.24819974072532, 24.9671915869147,
                    8.09193081175902, 14},
                   {2, 19, 9.2, 10.8, 388.8, 0.768221279597376, 0.64018439966448, 3.12409987036266, 24.9671915869147,
                    12.778080617303, 11},
                   {2, 21, 7.9, 11.6, 417.6, 0.0995037190209989, 0.995037190209989, 2.00997512422418, 27.8610413258797,
                    -6.25878392642083, 9},
                   {4, 24, 7.6, 10.4, 748.8, 0.0995037190209989, 0.995037190209989, 4.01995024844836, 27.8610413258797,
                    -3.24382124008457, 6},
                   {4, 28, 7.2, 8.8, 633.6, 0.0995037190209989, 0.995037190209989, 4.01995024844836, 27.8610413258797,
                    0.776129008363791, 2},
                   {4, 32, 6.8, 7.2, 518.4, 0.0995037190209989, 0.995037190209989, 4.01995024844836, 27.8610413258797,
                    4.79607925681215, -2},
                   {4, 36, 6.4, 5.6, 403.2, 0.0995037190209989, 0.995037190209989, 4.01995024844836, 27.8610413258797,
                    8.8160295052605, -6},
                   {2, 39, 6.1, 4.4, 158.4, 0.0995037190209989, 0.995037190209989, 2.00997512422418, 27.8610413258797,
                    11.8309921915968, -9},
                   {2, 41, 6.4, 3.6, 129.6, -0.371390676354104, 0.928476690885259, 2.1540659228538, 30.6397307992136,
                    -0.408529743989507, -11},
                   {4, 44, 7.6, 2.4, 172.8, -0.371390676354104, 0.928476690885259, 4.3081318457076, 30.6397307992136,
                    2.8225691402912, -14},
                   {4, 48, 9.2, 0.8, 57.6, -0.371390676354104, 0.928476690885259, 4.3081318457076, 30.6397307992136,
                    7.1307009859988, -18},
               });
  EXPECT_NEAR(s.FsOrdinary, 2.55487335809744, 1e-6);
  EXPECT_NEAR(s.FsBishop, 2.34294651163119, 1e-6);
  f.model().PassCriteria = 1e-12;
  f.analyseAt(30.0, 35.0);
  EXPECT_NEAR(s.FsBishop, 2.34273183453472, 1e-6);
}

// D. G. Fredlund and J. Krahn (1977), "Comparison of slope stability methods
// of analysis", Canadian Geotechnical Journal 14(3): 429-439, Table 2: the
// 2:1 slope with the circle about (120, 90) of radius 80, dry (case 1) and
// with a piezometric line (case 5).
struct PublishedCase {
  const char* name;
  bool water;
  double ordinary, bishop, spencer;
  double janbu;  // uncorrected simplified Janbu, computed independently (not published)
};

class FredlundKrahn : public ::testing::TestWithParam<PublishedCase> {};

TEST_P(FredlundKrahn, WithinOnePercentOfThePublishedFactors) {
  const PublishedCase& c = GetParam();
  EngineFixture f;
  f.fredlundKrahnSlope();
  if (c.water) f.fredlundKrahnPiezometricLine();
  f.options().setText(Option::E_Cir_Slice, "200");
  f.options().setText(Option::E_Pass_Criteria, "0.0001");
  f.collectOk();
  f.analyseCircle(120.0, 90.0, 80.0);
  const SliceSet& s = f.slices();
  EXPECT_NEAR(s.SlipX.front(), 45.838, 0.001);
  EXPECT_NEAR(s.SlipX.back(), 158.730, 0.001);
  EXPECT_NEAR(s.FsOrdinary, c.ordinary, 0.01 * c.ordinary);
  EXPECT_NEAR(s.FsBishop, c.bishop, 0.01 * c.bishop);
  EXPECT_NEAR(s.FsSpencer, c.spencer, 0.01 * c.spencer);
  EXPECT_NEAR(s.FsJanbu, c.janbu, 0.01 * c.janbu);
}

INSTANTIATE_TEST_SUITE_P(Published, FredlundKrahn,
                         ::testing::Values(PublishedCase{"Dry", false, 1.928, 2.080, 2.073, 1.877},
                                           PublishedCase{"WaterLine", true, 1.693, 1.834, 1.830, 1.678}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pelodyn
