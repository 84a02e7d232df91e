#include "engine/methods.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>
#include <type_traits>
#include <vector>

namespace pelodyn {
namespace {

constexpr double kInvalid = ResultValue(ResultCode::Invalid);
constexpr double kNotConverged = ResultValue(ResultCode::NotConverged);

// Two doubles side by side, in one SSE register. Every operation is made on
// each lane exactly as on one double (IEEE operations, never fused), so a
// slice's value does not depend on which lane it sits in. (Four lanes in AVX
// registers made the whole run slower: the library's SSE code that follows
// pays for the mixed register state.)
typedef double Two __attribute__((vector_size(16)));

// The same value in both lanes (T = Two), or the value itself (T = double).
template <typename T>
T All(double x) {
  if constexpr (std::is_same_v<T, Two>) {
    return Two{x, x};
  } else {
    return x;
  }
}

// Element u of a column (T = double), or elements u and u + 1 (T = Two).
template <typename T>
T Load(const double* column, std::size_t u) {
  if constexpr (std::is_same_v<T, double>) {
    return column[u];
  } else {
    T v;
    __builtin_memcpy(&v, column + u, sizeof v);
    return v;
  }
}

// The slice sums (EquilibriumParts) and the methods' normal forces.
class Sums {
 public:
  Sums(SliceSet& s, double kh, double kv) : s(s), kh(kh), kv(kv), first(s.ActiveFirst), end(s.ActiveEnd) {
    const EquilibriumParts parts = EquilibriumPartsOf(s, kh, kv);
    momentResisting = parts.momentResisting;
    momentDriving = parts.momentDriving;
    forceResisting = parts.forceResisting;
    forceDriving = parts.forceDriving;

    // The terms of the normal forces without F or lambda, each made with the
    // same operations in the same order as inside the normal forces.
    const auto n = s.SinAlpha.size();
    s.MethodTerms.resize(10 * n);
    double* terms = s.MethodTerms.data();
    for (const double** column : {&cohesionForce, &poreFriction, &bishopLoad, &bishopShear, &bishopTan}) {
      *column = terms;
      terms += n;
    }
    for (double** column : {&lambdaCohesion, &lambdaPore, &lambdaLine, &lambdaAnchor, &lambdaTan}) {
      *column = terms;
      terms += n;
    }
    double* cl = s.MethodTerms.data();
    double* plt = cl + n;
    double* load = plt + n;
    double* shear = load + n;
    double* tan = shear + n;
    for (int i = first; i < end; ++i) {
      const auto u = static_cast<std::size_t>(i);
      const double W = s.SliceWeight[u], l = s.BaseLength[u];
      const double c = s.BaseCohesion[u], tanPhi = s.BaseTanPhi[u], pore = s.BasePorePressure[u];
      const double sinA = s.SinAlpha[u];
      cl[u] = c * l;
      plt[u] = pore * l * tanPhi;
      load[u] = W + s.StripLoadOnSlice[u] + s.LineLoadV[u] + kv * W + s.AnchorV[u];
      shear[u] = c * l * sinA - pore * l * tanPhi * sinA;
      tan[u] = tanPhi * sinA;
    }

    bool loads = false;
    for (int i = first; i < end && !loads; ++i) {
      const auto u = static_cast<std::size_t>(i);
      loads = s.StripLoadOnSlice[u] != 0.0 || s.LineLoadV[u] != 0.0 || s.LineLoadH[u] != 0.0 || s.AnchorV[u] != 0.0 ||
              s.AnchorH[u] != 0.0;
    }
    const bool seismic = kh != 0.0 || kv != 0.0;
    m_spencerKind = seismic ? (loads ? kSpencerSeismicLoads : kSpencerSeismic) : (loads ? kSpencerLoads : kSpencer);
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

  // Bishop's and Janbu's normal force at factor F (vertical equilibrium), of
  // slice u (T = double) or of slices u and u + 1 (T = Two).
  template <typename T>
  T bishopNormal(std::size_t u, double F) const {
    return (Load<T>(bishopLoad, u) - Load<T>(bishopShear, u) / All<T>(F)) /
           (Load<T>(bishopTan, u) / All<T>(F) + Load<T>(s.CosAlpha.data(), u));
  }

  // Spencer's normal force at factor F and interslice inclination lambda,
  // with lambda's own terms taken from atLambda(lambda):
  //   numerator = W F + c l (lambda cos - sin) + u l tan(phi) (sin - lambda cos)
  //               - lambda F kh W + F kv W + F strip + F (LV - lambda LH)
  //               + F (AV + lambda AH)
  //   denominator = sin (tan(phi) + F lambda) + cos (F - lambda tan(phi))
  // summed left to right as written. Without seismic coefficients (Seismic
  // false) or without loads and anchors on the slices (Loads false) their
  // terms are left out: each is then a zero, and adding a zero changes at
  // most the sign of a zero numerator, which no sum can show (a sum that
  // starts at +0 stays +0 when -0 is added). An infinite F, where the zero
  // would have been a NaN, has already raised the overflow or division by
  // zero that rejects the surface.
  template <typename T, bool Seismic, bool Loads>
  T spencerNormal(std::size_t u, double F, double lambda) const {
    const T W = Load<T>(s.SliceWeight.data(), u), tanPhi = Load<T>(s.BaseTanPhi.data(), u);
    const T sinA = Load<T>(s.SinAlpha.data(), u), cosA = Load<T>(s.CosAlpha.data(), u);
    const T f = All<T>(F);
    T numerator = W * f + Load<T>(lambdaCohesion, u) + Load<T>(lambdaPore, u);
    if constexpr (Seismic) numerator = numerator - All<T>(lambda * F * kh) * W + All<T>(F * kv) * W;
    if constexpr (Loads) {
      numerator = numerator + f * Load<T>(s.StripLoadOnSlice.data(), u) + f * Load<T>(lambdaLine, u) +
                  f * Load<T>(lambdaAnchor, u);
    }
    const T denominator = sinA * (tanPhi + All<T>(F * lambda)) + cosA * (f - Load<T>(lambdaTan, u));
    return numerator / denominator;
  }

  // Spencer's terms that change with lambda but not with F, worked out once
  // for each lambda the walk tries.
  void atLambda(double lambda) {
    if (m_lambdaKnown && std::bit_cast<std::uint64_t>(lambda) == std::bit_cast<std::uint64_t>(m_lambda)) return;
    m_lambdaKnown = true;
    m_lambda = lambda;
    for (int i = first; i < end; ++i) {
      const auto u = static_cast<std::size_t>(i);
      const double sinA = s.SinAlpha[u], cosA = s.CosAlpha[u];
      lambdaCohesion[u] = cohesionForce[u] * (lambda * cosA - sinA);
      lambdaPore[u] = poreFriction[u] * (sinA - lambda * cosA);
      lambdaLine[u] = s.LineLoadV[u] - lambda * s.LineLoadH[u];
      lambdaAnchor[u] = s.AnchorV[u] + lambda * s.AnchorH[u];
      lambdaTan[u] = lambda * s.BaseTanPhi[u];
    }
  }

  // One evaluation: the moment factor M_R(N) / M_D(N) or the force factor
  // F_R(N) / F_D(N) of the normal forces of Bishop (at F) or of Spencer (at
  // F and lambda). Both sums have the form
  //   resisting += N tan(phi) x,  driving += N y
  // with (x, y) the shear and normal arms for moments, and cos(alpha) and
  // sin(alpha) for forces; they are summed slice by slice in order.
  struct Evaluation {
    bool spencer;
    double F, lambda;
    const double *x, *y;
    double resisting, driving;
    int first, count;
  };
  Evaluation evaluation(bool spencer, bool moment, double F, double lambda) const {
    return {spencer,
            F,
            lambda,
            moment ? s.ShearArm.data() : s.CosAlpha.data(),
            moment ? s.NormalArm.data() : s.SinAlpha.data(),
            moment ? momentResisting : forceResisting,
            moment ? momentDriving : forceDriving,
            first,
            std::max(end - first, 0)};
  }
  // Which normal force an evaluation uses.
  enum Kind { kBishop, kSpencer, kSpencerSeismic, kSpencerLoads, kSpencerSeismicLoads };
  template <Kind K, typename T>
  T normal(std::size_t u, const Evaluation& l) const {
    if constexpr (K == kBishop) {
      return bishopNormal<T>(u, l.F);
    } else {
      return spencerNormal < T, K == kSpencerSeismic || K == kSpencerSeismicLoads,
             K == kSpencerLoads || K == kSpencerSeismicLoads > (u, l.F, l.lambda);
    }
  }

  // The slices' products, two at a time (T = Two) each exactly as alone, or
  // the last one alone; the sums take them one by one in slice order.
  template <Kind K, typename T>
  void add(std::size_t u, const Evaluation& l, double& r, double& d) const {
    const T N = normal<K, T>(u, l);
    const T p = N * Load<T>(s.BaseTanPhi.data(), u) * Load<T>(l.x, u);
    const T q = N * Load<T>(l.y, u);
    if constexpr (std::is_same_v<T, double>) {
      r += p;
      d += q;
    } else {
      r += p[0];
      d += q[0];
      r += p[1];
      d += q[1];
    }
  }
  template <Kind K>
  [[gnu::always_inline]] double evaluate(const Evaluation& l) const {
    double r = l.resisting, d = l.driving;
    int i = 0;
    for (; i + 1 < l.count; i += 2) add<K, Two>(static_cast<std::size_t>(l.first + i), l, r, d);
    if (i < l.count) add<K, double>(static_cast<std::size_t>(l.first + i), l, r, d);
    return r / d;
  }
  // The value of one evaluation.
  [[gnu::always_inline]] double evaluate(const Evaluation& l) {
    if (!l.spencer) return evaluate<kBishop>(l);
    atLambda(l.lambda);
    switch (m_spencerKind) {
      case kSpencer:
        return evaluate<kSpencer>(l);
      case kSpencerSeismic:
        return evaluate<kSpencerSeismic>(l);
      case kSpencerLoads:
        return evaluate<kSpencerLoads>(l);
      default:
        return evaluate<kSpencerSeismicLoads>(l);
    }
  }

 private:
  const SliceSet& s;
  const double kh, kv;
  const int first, end;
  double momentResisting = 0.0, momentDriving = 0.0, forceResisting = 0.0, forceDriving = 0.0;
  // The columns of SliceSet::MethodTerms: c l, u l tan(phi), Bishop's load,
  // shear and tan(phi) sin(alpha); then Spencer's at the lambda last used:
  // c l (lambda cos - sin), u l tan(phi) (sin - lambda cos), LV - lambda LH,
  // AV + lambda AH and lambda tan(phi).
  const double *cohesionForce = nullptr, *poreFriction = nullptr;
  const double *bishopLoad = nullptr, *bishopShear = nullptr, *bishopTan = nullptr;
  double *lambdaCohesion = nullptr, *lambdaPore = nullptr, *lambdaLine = nullptr, *lambdaAnchor = nullptr,
         *lambdaTan = nullptr;
  double m_lambda = 0.0;
  bool m_lambdaKnown = false;
  Kind m_spencerKind = kSpencerSeismicLoads;
};

// One surface's methods, one evaluation at a time: Ordinary at once, then
// Bishop's and Janbu's iterations, then Spencer's walk.
class MethodsRun {
 public:
  MethodsRun(SliceSet& s, double kh, double kv, double tolerance) : m_s(s), m_sums(s, kh, kv), m_tolerance(tolerance) {
    double ordinary = m_sums.ordinary();
    if (!(ordinary > 0.0) || ordinary > 100.0) ordinary = kInvalid;
    s.FsOrdinary = ordinary;
    m_start = ordinary <= 100.0 ? ordinary : 1.0;
    m_iteration = FactorIteration{m_start};
  }
  MethodsRun(const MethodsRun&) = delete;
  MethodsRun& operator=(const MethodsRun&) = delete;

  bool done() const { return m_phase == Phase::Done; }
  // Makes the evaluation wanted next and takes its value.
  [[gnu::always_inline]] void step() { answer(m_sums.evaluate(wanted())); }
  // The evaluation wanted next.
  Sums::Evaluation wanted() const {
    switch (m_phase) {
      case Phase::Bishop:
        return m_sums.evaluation(false, true, m_iteration.F, 0.0);
      case Phase::Janbu:
        return m_sums.evaluation(false, false, m_iteration.F, 0.0);
      default: {
        const SpencerWalk::Wanted w = m_walk->wanted();
        return m_sums.evaluation(true, !w.force, w.F, w.lambda);
      }
    }
  }
  // Takes the value of the evaluation wanted() gave.
  void answer(double value) {
    switch (m_phase) {
      case Phase::Bishop: {
        if (!m_iteration.step(value, m_tolerance)) return;
        double bishop = m_iteration.F;
        if (bishop <= 0.0) bishop = kInvalid;
        if (std::fabs(m_iteration.F) > 100.0) bishop = kInvalid;
        if (m_iteration.k > 100) bishop = kNotConverged;
        m_s.FsBishop = m_bishop = bishop;
        m_iteration = FactorIteration{m_start};
        m_phase = Phase::Janbu;
        return;
      }
      case Phase::Janbu: {
        if (!m_iteration.step(value, m_tolerance)) return;
        double janbu = m_iteration.F;
        if (janbu <= 0.0 || std::fabs(m_bishop / janbu) > 3.0) janbu = kInvalid;
        if (std::fabs(m_iteration.F) > 100.0) janbu = kInvalid;
        if (m_iteration.k > 100) janbu = kNotConverged;
        m_s.FsJanbu = janbu;
        m_walk.emplace(m_start, m_bishop, m_tolerance);
        m_phase = Phase::Spencer;
        return;
      }
      case Phase::Spencer:
        m_walk->answer(value);
        if (m_walk->done()) {
          m_s.FsSpencer = m_walk->factor();
          m_s.SpencerLambda = m_walk->lambda();
          m_phase = Phase::Done;
        }
        return;
      case Phase::Done:
        return;
    }
  }

 private:
  enum class Phase { Bishop, Janbu, Spencer, Done };
  SliceSet& m_s;
  Sums m_sums;
  const double m_tolerance;
  double m_start = 1.0, m_bishop = kInvalid;
  FactorIteration m_iteration{1.0};
  std::optional<SpencerWalk> m_walk;
  Phase m_phase = Phase::Bishop;
};

}  // namespace

EquilibriumParts EquilibriumPartsOf(const SliceSet& s, double kh, double kv) {
  EquilibriumParts e;
  for (int i = s.ActiveFirst; i < s.ActiveEnd; ++i) {
    const auto u = static_cast<std::size_t>(i);
    const double W = s.SliceWeight[u], l = s.BaseLength[u];
    const double c = s.BaseCohesion[u], tanPhi = s.BaseTanPhi[u], pore = s.BasePorePressure[u];
    e.momentResisting += (c * l - pore * l * tanPhi) * s.ShearArm[u];
    e.momentDriving += W * s.WeightArmX[u] + kh * W * s.WeightArmY[u] + kv * W * s.WeightArmX[u] +
                       s.LineLoadOnSlice[u] * s.LineLoadArm[u] + s.StripLoadOnSlice[u] * s.WeightArmX[u] -
                       s.AnchorForceOnSlice[u] * s.AnchorArm[u];
    e.forceResisting += c * l * s.CosAlpha[u] - pore * l * tanPhi * s.CosAlpha[u];
    e.forceDriving += kh * W + s.LineLoadH[u] - s.AnchorH[u];
  }
  e.momentDriving += s.ThrustAtEnd * s.ThrustAtEndArm + s.ThrustAtFirst * s.ThrustAtFirstArm;
  e.forceDriving += s.ThrustAtEnd + s.ThrustAtFirst;
  return e;
}

SpencerWalk::SpencerWalk(double start, double bishop, double tolerance)
    : m_bishop(bishop), m_tolerance(tolerance), m_Ff(kInvalid), m_Fm(kInvalid), m_fs(start), m_iteration{start} {
  nextLambda();
}

void SpencerWalk::nextLambda() {
  constexpr double kSteps[] = {0.1, 0.01, 0.001, 0.0001, 0.00001};
  if (m_A != 0 && m_B != 0) {
    if (m_Fm >= m_Ff) {
      if (m_A >= 1 && m_A <= 5) {
        m_lambda += kSteps[m_A - 1];
        m_B = m_A;
      }
    } else if (m_B >= 1 && m_B <= 5) {
      m_lambda -= kSteps[m_B - 1];
      m_A = m_B + 1;
    }
  }
  m_at = m_lambda;
  m_iteration = FactorIteration{m_fs};
  m_force = true;
}

void SpencerWalk::answer(double value) {
  if (m_done || !m_iteration.step(value, m_tolerance)) return;
  m_fs = m_iteration.F;
  if (m_force) {
    m_kf = m_iteration.k;
    m_Ff = m_fs;
    m_iteration = FactorIteration{m_fs};
    m_force = false;
    return;
  }
  m_Fm = m_fs;
  if (m_kf > 100 || m_iteration.k > 100) {
    m_fs = kNotConverged;
    m_done = true;
    return;
  }
  if (std::fabs(m_Fm) > 100.0 || std::fabs(m_Ff) > 100.0) return finish();
  if (m_A == 0 && m_B == 0) m_A = m_B = 1;
  ++m_j;
  const double gap = std::fabs(m_Fm - m_Ff);
  if (gap <= m_tolerance || (m_A == 6 && gap > 5.0) || m_j > 100) return finish();
  nextLambda();
}

void SpencerWalk::finish() {
  if (m_fs <= 0.0 || std::fabs(m_bishop / m_fs) > 3.0) m_fs = kInvalid;
  if (std::fabs(m_Fm) > 100.0 || std::fabs(m_Ff) > 100.0) m_fs = kInvalid;
  if ((m_A == 6 && std::fabs(m_Fm - m_Ff) > 5.0) || m_j > 100) m_fs = kInvalid;
  m_done = true;
}

void ComputeFactorsOfSafety(SliceSet& s, double kh, double kv, double passCriteria) {
  MethodsRun run(s, kh, kv, passCriteria);
  while (!run.done()) run.step();
}

}  // namespace pelodyn
