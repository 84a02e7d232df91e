#include "engine/methods.h"

#include <cmath>

namespace pelodyn {
namespace {

constexpr double kInvalid = ResultValue(ResultCode::Invalid);
constexpr double kNotConverged = ResultValue(ResultCode::NotConverged);

// The slice sums with the parts that do not depend on the base normal force
// gathered once. With N the normal force of each slice:
//   M_R(N) = momentResisting + sum N tan(phi) Rs
//   M_D(N) = momentDriving + sum N f
//   F_R(N) = forceResisting + sum N tan(phi) cos(alpha)
//   F_D(N) = forceDriving + sum N sin(alpha)
class Sums {
 public:
  Sums(const SliceSet& s, double kh, double kv) : s(s), kh(kh), kv(kv), first(s.ActiveFirst), end(s.ActiveEnd) {
    for (int i = first; i < end; ++i) {
      const auto u = static_cast<std::size_t>(i);
      const double W = s.SliceWeight[u], l = s.BaseLength[u];
      const double c = s.BaseCohesion[u], tanPhi = s.BaseTanPhi[u], pore = s.BasePorePressure[u];
      momentResisting += (c * l - pore * l * tanPhi) * s.ShearArm[u];
      momentDriving += W * s.WeightArmX[u] + kh * W * s.WeightArmY[u] + kv * W * s.WeightArmX[u] +
                       s.LineLoadOnSlice[u] * s.LineLoadArm[u] + s.StripLoadOnSlice[u] * s.WeightArmX[u] -
                       s.AnchorForceOnSlice[u] * s.AnchorArm[u];
      forceResisting += c * l * s.CosAlpha[u] - pore * l * tanPhi * s.CosAlpha[u];
      forceDriving += kh * W + s.LineLoadH[u] - s.AnchorH[u];
    }
    momentDriving += s.ThrustAtEnd * s.ThrustAtEndArm + s.ThrustAtFirst * s.ThrustAtFirstArm;
    forceDriving += s.ThrustAtEnd + s.ThrustAtFirst;
  }

  // Ordinary: the normal force from the slice's own weight and loads.
  double ordinary() const {
    double mr = momentResisting, md = momentDriving;
    for (int i = first; i < end; ++i) {
      const auto u = static_cast<std::size_t>(i);
      const double W = s.SliceWeight[u];
      const double N =
          W * s.CosAlpha[u] + W * s.SinAlpha[u] * (kv - kh) + s.AnchorN[u] + s.LineLoadN[u] + s.StripLoadN[u];
      mr += N * s.BaseTanPhi[u] * s.ShearArm[u];
      md += N * s.NormalArm[u];
    }
    return mr / md;
  }

  // Bishop's and Janbu's normal force at factor F (vertical equilibrium).
  double bishopNormal(std::size_t u, double F) const {
    const double W = s.SliceWeight[u], l = s.BaseLength[u];
    const double c = s.BaseCohesion[u], tanPhi = s.BaseTanPhi[u], pore = s.BasePorePressure[u];
    const double sinA = s.SinAlpha[u];
    return (W + s.StripLoadOnSlice[u] + s.LineLoadV[u] + kv * W + s.AnchorV[u] -
            (c * l * sinA - pore * l * tanPhi * sinA) / F) /
           (tanPhi * sinA / F + s.CosAlpha[u]);
  }

  // Spencer's normal force at factor F and interslice inclination lambda.
  double spencerNormal(std::size_t u, double F, double lambda) const {
    const double W = s.SliceWeight[u], l = s.BaseLength[u];
    const double c = s.BaseCohesion[u], tanPhi = s.BaseTanPhi[u], pore = s.BasePorePressure[u];
    const double sinA = s.SinAlpha[u], cosA = s.CosAlpha[u];
    const double numerator = W * F + c * l * (lambda * cosA - sinA) + pore * l * tanPhi * (sinA - lambda * cosA) -
                             lambda * F * kh * W + F * kv * W + F * s.StripLoadOnSlice[u] +
                             F * (s.LineLoadV[u] - lambda * s.LineLoadH[u]) +
                             F * (s.AnchorV[u] + lambda * s.AnchorH[u]);
    const double denominator = sinA * (tanPhi + F * lambda) + cosA * (F - lambda * tanPhi);
    return numerator / denominator;
  }

  template <typename Normal>
  double moment(Normal&& normal) const {
    double mr = momentResisting, md = momentDriving;
    for (int i = first; i < end; ++i) {
      const auto u = static_cast<std::size_t>(i);
      const double N = normal(u);
      mr += N * s.BaseTanPhi[u] * s.ShearArm[u];
      md += N * s.NormalArm[u];
    }
    return mr / md;
  }

  template <typename Normal>
  double force(Normal&& normal) const {
    double fr = forceResisting, fd = forceDriving;
    for (int i = first; i < end; ++i) {
      const auto u = static_cast<std::size_t>(i);
      const double N = normal(u);
      fr += N * s.BaseTanPhi[u] * s.CosAlpha[u];
      fd += N * s.SinAlpha[u];
    }
    return fr / fd;
  }

 private:
  const SliceSet& s;
  const double kh, kv;
  const int first, end;
  double momentResisting = 0.0, momentDriving = 0.0, forceResisting = 0.0, forceDriving = 0.0;
};

}  // namespace

void ComputeFactorsOfSafety(SliceSet& s, double kh, double kv, double passCriteria) {
  const Sums sums(s, kh, kv);

  double ordinary = sums.ordinary();
  if (!(ordinary > 0.0) || ordinary > 100.0) ordinary = kInvalid;
  s.FsOrdinary = ordinary;
  const double start = ordinary <= 100.0 ? ordinary : 1.0;

  double bishop = start;
  const int kb = IterateFactor(bishop, passCriteria, [&](double F) {
    return sums.moment([&](std::size_t u) { return sums.bishopNormal(u, F); });
  });
  const double lastBishop = bishop;
  if (bishop <= 0.0) bishop = kInvalid;
  if (std::fabs(lastBishop) > 100.0) bishop = kInvalid;
  if (kb > 100) bishop = kNotConverged;
  s.FsBishop = bishop;

  double janbu = start;
  const int kj = IterateFactor(janbu, passCriteria, [&](double F) {
    return sums.force([&](std::size_t u) { return sums.bishopNormal(u, F); });
  });
  const double lastJanbu = janbu;
  if (janbu <= 0.0 || std::fabs(bishop / janbu) > 3.0) janbu = kInvalid;
  if (std::fabs(lastJanbu) > 100.0) janbu = kInvalid;
  if (kj > 100) janbu = kNotConverged;
  s.FsJanbu = janbu;

  s.FsSpencer = SpencerSearch(
      [&](double F, double lambda) {
        return sums.force([&](std::size_t u) { return sums.spencerNormal(u, F, lambda); });
      },
      [&](double F, double lambda) {
        return sums.moment([&](std::size_t u) { return sums.spencerNormal(u, F, lambda); });
      },
      start, bishop, passCriteria, s.SpencerLambda);
}

}  // namespace pelodyn
