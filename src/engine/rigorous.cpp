#include "engine/rigorous.h"

#include <algorithm>
#include <boost/math/tools/toms748_solve.hpp>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <utility>

#include "engine/methods.h"

namespace pelodyn {
namespace {

// The change of the factors, relative, at which the iteration at one lambda
// has settled; and how many steps it may take. Tighter than any pass
// criterion, so that the root-finder sees a smooth function of lambda.
constexpr double kSettled = 1e-9;
constexpr double kBracketSettled = 1e-7;
// The gap between the two factors, relative to the factor, at which they
// are taken to agree.
constexpr double kGapMet = 1e-7;
constexpr int kMaxSteps = 500;
// lambda is searched in steps of kLambdaStep out to kLambdaLimit either way.
constexpr double kLambdaStep = 0.1;
constexpr double kLambdaLimit = 3.0;
// The root-finder stops when lambda is known to this many bits, or after
// this many evaluations.
constexpr int kLambdaBits = 32;
constexpr std::uintmax_t kMaxRootSteps = 80;

// The active slices, where the slice set holds every column for them (a
// slice set left by a rejected surface may not); 0 otherwise.
int ActiveSlices(const SliceSet& s) {
  const int n = s.ActiveEnd - s.ActiveFirst;
  if (n <= 0 || s.ActiveFirst < 0 || s.ActiveEnd > s.SliceCount) return 0;
  const auto slices = static_cast<std::size_t>(s.SliceCount);
  for (const std::vector<double>* column :
       {&s.SliceWeight, &s.BaseLength,       &s.BaseCohesion, &s.BaseTanPhi,         &s.BasePorePressure,
        &s.SinAlpha,    &s.CosAlpha,         &s.ShearArm,     &s.NormalArm,          &s.WeightArmX,
        &s.WeightArmY,  &s.StripLoadOnSlice, &s.LineLoadV,    &s.LineLoadH,          &s.LineLoadOnSlice,
        &s.LineLoadArm, &s.AnchorV,          &s.AnchorH,      &s.AnchorForceOnSlice, &s.AnchorArm,
        &s.BaseYAtMid,  &s.SliceWidth,       &s.SliceHeight}) {
    if (column->size() < slices) return 0;
  }
  for (const std::vector<double>* column : {&s.BoundaryX, &s.BaseYAtBoundary, &s.SurfaceYAtBoundary}) {
    if (column->size() < slices + 1) return 0;
  }
  return n;
}

double StartingFactor(const SliceSet& s) {
  for (const double F : {s.FsBishop, s.FsJanbu, s.FsOrdinary}) {
    if (F > 0.0 && F <= 100.0) return F;
  }
  return 1.0;
}

// The slices' equations with interslice forces X = lambda f(x) E. Each slice
// balances vertically with its base normal N and shear
// S = (c l + (N - u l) tan(phi)) / F:
//   N cos(alpha) + S sin(alpha) = W (1 + kv) + loads + X_back - X_front
// (back: the face up the slope, front: the face down it), and horizontally:
//   E_front = E_back + N sin(alpha) + kh W + horizontal loads - S cos(alpha).
// The moment and force factors are the sums every method uses, with these N.
class GeneralEquilibrium {
 public:
  GeneralEquilibrium(const SliceSet& s, double kh, double kv, const IntersliceShape& shape)
      : s(s),
        kh(kh),
        first(s.ActiveFirst),
        n(ActiveSlices(s)),
        parts(n > 0 ? EquilibriumPartsOf(s, kh, kv) : EquilibriumParts{}),
        facingRight(s.LeftGroundY > s.RightGroundY),
        start(StartingFactor(s)),
        lastMoment(start),
        lastForce(start) {
    const auto count = static_cast<std::size_t>(n);
    load.resize(count);
    shear.resize(count);
    tanSin.resize(count);
    push.resize(count);
    for (std::size_t k = 0; k < count; ++k) {
      const std::size_t u = index(k);
      const double W = s.SliceWeight[u], l = s.BaseLength[u];
      const double c = s.BaseCohesion[u], tanPhi = s.BaseTanPhi[u], pore = s.BasePorePressure[u];
      const double sinA = s.SinAlpha[u];
      load[k] = W + s.StripLoadOnSlice[u] + s.LineLoadV[u] + kv * W + s.AnchorV[u];
      shear[k] = c * l * sinA - pore * l * tanPhi * sinA;
      tanSin[k] = tanPhi * sinA;
    }
    f.resize(count + 1);
    E.assign(count + 1, 0.0);
    X.assign(count + 1, 0.0);
    if (n > 0) {
      const double x0 = s.BoundaryX[static_cast<std::size_t>(first)];
      const double width = s.BoundaryX[static_cast<std::size_t>(first + n)] - x0;
      for (std::size_t j = 0; j <= count; ++j) {
        f[j] = width > 0.0 ? shape.at((s.BoundaryX[static_cast<std::size_t>(first) + j] - x0) / width) : 1.0;
      }
    }
    upThrust = facingRight ? s.ThrustAtFirst : s.ThrustAtEnd;
  }

  int slices() const { return n; }
  double lastFactor() const { return lastMoment; }

  // The factors at lambda. The iteration starts from the interslice normals
  // and the factors the last lambda ended with (none at first): the root-
  // finder's lambdas lie close together, and so do their solutions.
  FactorsAtLambda at(double lambda, double tolerance = kSettled) {
    for (std::size_t j = 1; j + 1 < X.size(); ++j) X[j] = lambda * f[j] * E[j];
    FactorsAtLambda r;
    double Fm = lastMoment, Ff = lastForce;
    for (int step = 1; step <= kMaxSteps; ++step) {
      const auto [Fm1, Ff1] = factors(Fm, Ff);
      r.iterations = step;
      if (!std::isfinite(Fm1) || !std::isfinite(Ff1) || Fm1 <= 0.0 || Ff1 <= 0.0 || Fm1 > 1e3 || Ff1 > 1e3) {
        r.moment = Fm1;
        r.force = Ff1;
        return r;
      }
      for (std::size_t j = 1; j + 1 < X.size(); ++j) X[j] = lambda * f[j] * E[j];
      const bool settled = std::fabs(Fm1 - Fm) <= tolerance * Fm1 && std::fabs(Ff1 - Ff) <= tolerance * Ff1;
      Fm = Fm1;
      Ff = Ff1;
      if (settled && step > 1) {
        r.settled = true;
        break;
      }
    }
    r.moment = Fm;
    r.force = Ff;
    if (r.settled) {
      lastMoment = Fm;
      lastForce = Ff;
    } else {
      // Start the next lambda afresh.
      std::fill(E.begin(), E.end(), 0.0);
      lastMoment = lastForce = start;
    }
    return r;
  }

  // The forces at factor F with the interslice forces of the last at().
  void forces(double F, SliceForces& out) const {
    const auto count = static_cast<std::size_t>(n);
    out.Weight.assign(count, 0.0);
    out.Normal.assign(count, 0.0);
    out.Shear.assign(count, 0.0);
    out.PoreForce.assign(count, 0.0);
    out.BoundaryX.assign(count + 1, 0.0);
    out.E = E;
    out.X = X;
    out.ThrustY.assign(count + 1, 0.0);
    out.BaseY.assign(count + 1, 0.0);
    out.TopY.assign(count + 1, 0.0);
    for (std::size_t j = 0; j <= count; ++j) {
      out.BoundaryX[j] = s.BoundaryX[static_cast<std::size_t>(first) + j];
      out.BaseY[j] = boundaryBase(j);
      out.TopY[j] = boundaryTop(j);
    }
    for (std::size_t k = 0; k < count; ++k) {
      const std::size_t u = index(k);
      const double N = normal(k, F);
      out.Weight[k] = s.SliceWeight[u];
      out.Normal[k] = N;
      out.Shear[k] =
          (s.BaseCohesion[u] * s.BaseLength[u] + (N - s.BasePorePressure[u] * s.BaseLength[u]) * s.BaseTanPhi[u]) / F;
      out.PoreForce[k] = s.BasePorePressure[u] * s.BaseLength[u];
    }
    // The line of thrust: each slice's moments about the middle of its
    // base, slice by slice down the slope, from a third of the height at
    // the upper end. The weight and the loads are taken through the
    // middle of the slice; the seismic force at half its height.
    // An interslice normal that is nought to the solution's accuracy (at the
    // lower end, where it closes the balance) has no line of action: its
    // height is the base's.
    double weight = 0.0;
    for (const double w : out.Weight) weight += std::fabs(w);
    const double nought = 1e-9 * weight;
    const std::size_t up = facingRight ? 0 : count;
    out.ThrustY[up] = boundaryBase(up) + (boundaryTop(up) - boundaryBase(up)) / 3.0;
    for (std::size_t m = 0; m < count; ++m) {
      const std::size_t k = facingRight ? m : count - 1 - m;
      const std::size_t u = index(k), b = back(k), fr = front(k);
      const double ym = s.BaseYAtMid[u], w = s.SliceWidth[u];
      const double yc = ym + s.SliceHeight[u] / 2.0;
      const double moment = (out.ThrustY[b] - ym) * E[b] - w / 2.0 * (X[b] + X[fr]) + (yc - ym) * kh * s.SliceWeight[u];
      out.ThrustY[fr] = std::fabs(E[fr]) > nought ? ym + moment / E[fr] : boundaryBase(fr);
    }
  }

 private:
  std::size_t index(std::size_t k) const { return static_cast<std::size_t>(first) + k; }
  std::size_t back(std::size_t k) const { return facingRight ? k : k + 1; }
  std::size_t front(std::size_t k) const { return facingRight ? k + 1 : k; }
  double boundaryBase(std::size_t j) const { return s.BaseYAtBoundary[static_cast<std::size_t>(first) + j]; }
  double boundaryTop(std::size_t j) const { return s.SurfaceYAtBoundary[static_cast<std::size_t>(first) + j]; }

  double normal(std::size_t k, double F) const {
    const std::size_t u = index(k);
    return (load[k] + (X[back(k)] - X[front(k)]) - shear[k] / F) / (tanSin[k] / F + s.CosAlpha[u]);
  }
  // One step: the moment factor at Fm and the force factor at Ff with the
  // interslice forces as they are; then the interslice normals marched
  // down the slope at the new force factor. (Marched at the old one, the
  // iteration takes several times the steps.)
  std::pair<double, double> factors(double Fm, double Ff) {
    double mr = parts.momentResisting, md = parts.momentDriving;
    double fr = parts.forceResisting, fd = parts.forceDriving;
    const double byFm = 1.0 / Fm, byFf = 1.0 / Ff;
    for (std::size_t k = 0; k < load.size(); ++k) {
      const std::size_t u = index(k);
      const double tanPhi = s.BaseTanPhi[u], cosA = s.CosAlpha[u];
      const double vertical = load[k] + (X[back(k)] - X[front(k)]);
      const double Nm = (vertical - shear[k] * byFm) / (tanSin[k] * byFm + cosA);
      const double Nf = (vertical - shear[k] * byFf) / (tanSin[k] * byFf + cosA);
      mr += Nm * tanPhi * s.ShearArm[u];
      md += Nm * s.NormalArm[u];
      fr += Nf * tanPhi * cosA;
      fd += Nf * s.SinAlpha[u];
    }
    const double moment = mr / md, force = fr / fd;
    march(force);
    return {moment, force};
  }
  // The interslice normals at factor F, down the slope from the thrust at
  // its upper end.
  void march(double F) {
    const auto count = load.size();
    const double byF = 1.0 / F;
    for (std::size_t k = 0; k < count; ++k) {
      const std::size_t u = index(k);
      const double tanPhi = s.BaseTanPhi[u], sinA = s.SinAlpha[u], cosA = s.CosAlpha[u];
      const double N = (load[k] + (X[back(k)] - X[front(k)]) - shear[k] * byF) / (tanSin[k] * byF + cosA);
      const double l = s.BaseLength[u];
      const double S = (s.BaseCohesion[u] * l + (N - s.BasePorePressure[u] * l) * tanPhi) * byF;
      push[k] = N * sinA + kh * s.SliceWeight[u] + s.LineLoadH[u] - s.AnchorH[u] - S * cosA;
    }
    E[facingRight ? 0 : count] = upThrust;
    for (std::size_t m = 0; m < count; ++m) {
      const std::size_t k = facingRight ? m : count - 1 - m;
      E[front(k)] = E[back(k)] + push[k];
    }
  }

  const SliceSet& s;
  const double kh;
  const int first, n;
  const EquilibriumParts parts;
  const bool facingRight;
  double upThrust = 0.0;
  // The factor the first iteration starts from: Bishop's where the four
  // methods gave it (far from the answer, the normals of the steep slices
  // turn over and the iteration fails), or 1.
  const double start;
  double lastMoment, lastForce;
  std::vector<double> load, shear, tanSin, push;  // per slice
  std::vector<double> f, E, X;                    // per boundary
};

}  // namespace

double IntersliceShape::at(double x) const {
  x = std::clamp(x, 0.0, 1.0);
  switch (kind) {
    case IntersliceFunction::Constant:
      return 1.0;
    case IntersliceFunction::HalfSine:
      return std::sin(std::numbers::pi * x);
    case IntersliceFunction::ClippedSine: {
      const double a = std::asin(std::clamp(left, 0.0, 1.0));
      const double b = std::asin(std::clamp(right, 0.0, 1.0));
      return std::sin(a + x * (std::numbers::pi - a - b));
    }
    case IntersliceFunction::Trapezoidal:
      if (x < 0.25) return left + (1.0 - left) * x / 0.25;
      if (x > 0.75) return 1.0 + (right - 1.0) * (x - 0.75) / 0.25;
      return 1.0;
    case IntersliceFunction::Points: {
      if (points.empty()) return 1.0;
      if (x <= points.front().x) return points.front().f;
      for (std::size_t i = 1; i < points.size(); ++i) {
        const Point& a = points[i - 1];
        const Point& b = points[i];
        if (x <= b.x) return b.x > a.x ? a.f + (b.f - a.f) * (x - a.x) / (b.x - a.x) : b.f;
      }
      return points.back().f;
    }
  }
  return 1.0;
}

std::string_view IntersliceFunctionName(IntersliceFunction kind) {
  switch (kind) {
    case IntersliceFunction::Constant:
      return "constant";
    case IntersliceFunction::HalfSine:
      return "half-sine";
    case IntersliceFunction::ClippedSine:
      return "clipped-sine";
    case IntersliceFunction::Trapezoidal:
      return "trapezoidal";
    case IntersliceFunction::Points:
      return "points";
  }
  return "constant";
}

bool FindIntersliceFunction(std::string_view name, IntersliceFunction& kind) {
  for (const IntersliceFunction k :
       {IntersliceFunction::Constant, IntersliceFunction::HalfSine, IntersliceFunction::ClippedSine,
        IntersliceFunction::Trapezoidal, IntersliceFunction::Points}) {
    if (IntersliceFunctionName(k) == name) {
      kind = k;
      return true;
    }
  }
  return false;
}

std::string_view RigorousOutcomeText(RigorousOutcome outcome) {
  switch (outcome) {
    case RigorousOutcome::Converged:
      return "converged";
    case RigorousOutcome::NoBalance:
      return "no interslice scale between -3 and 3 brings force and moment equilibrium together";
    case RigorousOutcome::NoFactor:
      return "the factors do not settle, or are not positive, before force and moment equilibrium meet";
    case RigorousOutcome::OutOfRange:
      return "the factor is not positive or is above 100";
    case RigorousOutcome::NotAnalysed:
      return "the surface has no slices";
  }
  return "";
}

double RigorousResult::factorOrCode() const {
  switch (outcome) {
    case RigorousOutcome::Converged:
      return F;
    case RigorousOutcome::NoFactor:
      return ResultValue(ResultCode::NotConverged);
    default:
      return ResultValue(ResultCode::Invalid);
  }
}

FactorsAtLambda MorgensternPriceAt(const SliceSet& slices, double kh, double kv, const IntersliceShape& shape,
                                   double lambda) {
  GeneralEquilibrium g(slices, kh, kv, shape);
  if (g.slices() == 0) return {};
  return g.at(lambda);
}

RigorousResult MorgensternPrice(const SliceSet& slices, double kh, double kv, const IntersliceShape& shape,
                                SliceForces* forces) {
  RigorousResult result;
  GeneralEquilibrium g(slices, kh, kv, shape);
  if (g.slices() == 0) return result;

  // While lambda is bracketed only the gap's sign matters: the factors
  // need not settle as far as for the root.
  double tolerance = kBracketSettled;
  auto gap = [&](double lambda, bool& ok) {
    const FactorsAtLambda at = g.at(lambda, tolerance);
    result.iterations += at.iterations;
    ok = at.settled;
    return at.moment - at.force;
  };

  // Bracket the root of the gap between the two factors. The gap is nearly
  // straight in lambda, so secant steps from lambda = 0 and 0.1 (the way
  // the gap points: the force factor grows with lambda) usually land on
  // both sides of it at once. Where they do not, lambda is stepped out by
  // 0.1 either way to 3.
  bool ok = false;
  const double g0 = gap(0.0, ok);
  if (!ok) {
    result.outcome = RigorousOutcome::NoFactor;
    return result;
  }
  double a = 0.0, ga = g0, b = 0.0, gb = g0;
  bool bracketed = g0 == 0.0;
  bool failed = false;
  {
    double l0 = 0.0, v0 = g0, l1 = g0 > 0.0 ? kLambdaStep : -kLambdaStep;
    double v1 = bracketed ? 0.0 : gap(l1, ok);
    for (int step = 0; !bracketed && ok && step < 4; ++step) {
      if ((v1 <= 0.0) != (v0 <= 0.0)) {
        a = l0;
        ga = v0;
        b = l1;
        gb = v1;
        bracketed = true;
        break;
      }
      if (v1 == v0) break;
      // Aim a little past the secant's root, so that the next point most
      // likely lies beyond it.
      double l2 = l1 - v1 * (l1 - l0) / (v1 - v0);
      l2 += 0.01 * (l2 > l1 ? 1.0 : -1.0);
      l2 = std::clamp(l2, std::max(l1 - 0.5, -kLambdaLimit), std::min(l1 + 0.5, kLambdaLimit));
      if (l2 == l1) break;
      const double v2 = gap(l2, ok);
      l0 = l1;
      v0 = v1;
      l1 = l2;
      v1 = v2;
    }
    ok = true;
  }
  for (const double direction : {g0 > 0.0 ? 1.0 : -1.0, g0 > 0.0 ? -1.0 : 1.0}) {
    if (bracketed) break;
    double previous = 0.0, gPrevious = gap(0.0, ok);  // back to lambda = 0's solution
    for (int i = 1; i * kLambdaStep <= kLambdaLimit + 1e-12; ++i) {
      const double lambda = direction * i * kLambdaStep;
      const double gl = gap(lambda, ok);
      if (!ok) {
        failed = true;  // no further this way; the other way may still meet
        break;
      }
      if ((gl <= 0.0) != (gPrevious <= 0.0)) {
        a = previous;
        ga = gPrevious;
        b = lambda;
        gb = gl;
        bracketed = true;
        break;
      }
      previous = lambda;
      gPrevious = gl;
    }
  }
  if (!bracketed) {
    result.outcome = failed ? RigorousOutcome::NoFactor : RigorousOutcome::NoBalance;
    return result;
  }

  double root = a;
  if (ga != 0.0 && gb != 0.0) {
    if (a > b) {
      std::swap(a, b);
      std::swap(ga, gb);
    }
    bool solved = true;
    tolerance = kSettled;
    // The root-finder also stops once the two factors agree to the
    // accuracy they are settled to: closer lambdas only chase that noise.
    double closest = a, closestGap = std::fabs(ga);
    bool met = false;
    auto f = [&](double lambda) {
      bool settled = false;
      const double v = gap(lambda, settled);
      solved = solved && settled;
      if (std::fabs(v) < closestGap) {
        closest = lambda;
        closestGap = std::fabs(v);
      }
      met = met || std::fabs(v) <= kGapMet * std::max(1.0, g.lastFactor());
      return v;
    };
    boost::math::tools::eps_tolerance<double> bits(kLambdaBits);
    auto narrowEnough = [&](double x, double y) { return met || bits(x, y); };
    std::uintmax_t steps = kMaxRootSteps;
    const auto [lo, hi] = boost::math::tools::toms748_solve(f, a, b, ga, gb, narrowEnough, steps);
    if (!solved) {
      result.outcome = RigorousOutcome::NoFactor;
      return result;
    }
    root = met ? closest : (lo + hi) / 2.0;
  } else if (gb == 0.0) {
    root = b;
  }
  const FactorsAtLambda at = g.at(root);
  result.iterations += at.iterations;
  if (!at.settled) {
    result.outcome = RigorousOutcome::NoFactor;
    return result;
  }
  result.lambda = root;
  result.F = at.moment;
  result.outcome = (result.F > 0.0 && result.F <= 100.0) ? RigorousOutcome::Converged : RigorousOutcome::OutOfRange;
  if (forces) g.forces(at.force, *forces);
  return result;
}

std::vector<ForceWarning> CheckSliceForces(const SliceForces& f) {
  std::vector<ForceWarning> warnings;
  for (std::size_t j = 1; j + 1 < f.E.size(); ++j) {
    if (f.E[j] < 0.0) warnings.push_back({ForceWarning::Kind::Tension, j, f.BoundaryX[j]});
    if (f.ThrustY[j] < f.BaseY[j] || f.ThrustY[j] > f.TopY[j]) {
      warnings.push_back({ForceWarning::Kind::ThrustOutside, j, f.BoundaryX[j]});
    }
  }
  return warnings;
}

std::string_view ForceWarningName(ForceWarning::Kind kind) {
  return kind == ForceWarning::Kind::Tension ? "tension" : "thrust_outside";
}

JanbuCorrection JanbuCorrectionOf(const SliceSet& s) {
  JanbuCorrection j;
  const double dx = s.ExitX - s.EntryX, dy = s.ExitY - s.EntryY;
  j.length = std::hypot(dx, dy);
  if (!(j.length > 0.0)) return j;
  const int points = std::min({s.SlipPointCount, static_cast<int>(s.SlipX.size()), static_cast<int>(s.SlipY.size())});
  for (int i = 0; i < points; ++i) {
    const auto u = static_cast<std::size_t>(i);
    // Below the chord (which runs left to right) is the negative side.
    const double below = -(dx * (s.SlipY[u] - s.EntryY) - dy * (s.SlipX[u] - s.EntryX)) / j.length;
    j.depth = std::max(j.depth, below);
  }
  bool cohesion = false, friction = false;
  const int active = ActiveSlices(s);
  for (int i = s.ActiveFirst; i < s.ActiveFirst + active; ++i) {
    const auto u = static_cast<std::size_t>(i);
    cohesion = cohesion || s.BaseCohesion[u] > 0.0;
    friction = friction || s.BaseTanPhi[u] > 0.0;
  }
  j.b1 = cohesion && friction ? 0.50 : (cohesion ? 0.69 : 0.31);
  const double ratio = j.depth / j.length;
  j.f0 = 1.0 + j.b1 * (ratio - 1.4 * ratio * ratio);
  return j;
}

}  // namespace pelodyn
