// The four limit-equilibrium methods on the slices of one surface.
#pragma once

#include <cmath>

#include "model/slice_set.h"

namespace pelodyn {

// Fills FsOrdinary, FsBishop, FsJanbu and FsSpencer (and SpencerLambda) from
// the active slices ActiveFirst .. ActiveEnd - 1 and their forces; kh, kv are
// the seismic coefficients and passCriteria the convergence tolerance (> 0).
// Results out of range become ResultCode values. Arithmetic faults are not
// caught here: the caller looks at the floating-point flags.
void ComputeFactorsOfSafety(SliceSet& slices, double kh, double kv, double passCriteria);

// The slice sums with the parts that do not depend on the base normal
// forces gathered. With N the normal force of each slice, every method's
// moment and force factors are
//   M_R(N) / M_D(N),  M_R = momentResisting + sum N tan(phi) R,  M_D = momentDriving + sum N f
//   F_R(N) / F_D(N),  F_R = forceResisting + sum N tan(phi) cos(alpha),  F_D = forceDriving + sum N sin(alpha)
// with R the shear arm and f the normal arm about the centre of moments;
// the methods differ only in their normal forces.
struct EquilibriumParts {
  double momentResisting = 0.0, momentDriving = 0.0, forceResisting = 0.0, forceDriving = 0.0;
};
EquilibriumParts EquilibriumPartsOf(const SliceSet& slices, double kh, double kv);

// The iteration every method uses: F = step(F) until |F| > 100, or the change
// is within `tolerance`, or more than 100 steps were made. One step at a
// time: step(value) takes the value of the step at F and says whether the
// iteration has ended; k > 100 at the end means not converged.
struct FactorIteration {
  double F;
  int k = 0;
  bool step(double value, double tolerance) {
    const double previous = F;
    F = value;
    if (!(F <= 100.0 && F >= -100.0)) return true;
    ++k;
    if (!(previous - F > tolerance || F - previous > tolerance)) return true;
    return k > 100;
  }
};

// The same, driven by `step`; returns the step count.
template <typename Step>
int IterateFactor(double& F, double tolerance, Step&& step) {
  FactorIteration it{F};
  while (!it.step(step(it.F), tolerance)) {
  }
  F = it.F;
  return it.k;
}

// Spencer's search for the interslice inclination lambda at which the force
// and the moment factors agree. At each lambda the force equilibrium is
// iterated from the factor so far, then the moment equilibrium from where
// that ended. lambda climbs by 0.1 while the moment factor stays at or above
// the force factor, steps back once the order flips and goes on with a ten
// times finer step, down to 0.00001. One evaluation at a time: wanted()
// says which (force or moment, at F and lambda), answer() takes its value.
class SpencerWalk {
 public:
  struct Wanted {
    bool force;
    double F, lambda;
  };
  SpencerWalk(double start, double bishop, double tolerance);
  bool done() const { return m_done; }
  Wanted wanted() const { return {m_force, m_iteration.F, m_at}; }
  void answer(double value);
  // The factor (or a ResultCode value), and the last inclination used.
  double factor() const { return m_fs; }
  double lambda() const { return m_lambda; }

 private:
  void nextLambda();
  void finish();
  double m_bishop, m_tolerance;
  double m_lambda = 0.0, m_at = 0.0;
  int m_A = 0, m_B = 0, m_j = 0, m_kf = 0;
  double m_Ff, m_Fm, m_fs;
  FactorIteration m_iteration;
  bool m_force = true, m_done = false;
};

// The walk driven by forceFactor(F, lambda) and momentFactor(F, lambda), the
// force and moment equilibrium's step at the trial factor F. Returns the
// factor (or a ResultCode value); `lambda` ends at the last inclination used.
template <typename ForceFactor, typename MomentFactor>
double SpencerSearch(ForceFactor&& forceFactor, MomentFactor&& momentFactor, double start, double bishop,
                     double tolerance, double& lambda) {
  SpencerWalk walk(start, bishop, tolerance);
  while (!walk.done()) {
    const SpencerWalk::Wanted w = walk.wanted();
    walk.answer(w.force ? forceFactor(w.F, w.lambda) : momentFactor(w.F, w.lambda));
  }
  lambda = walk.lambda();
  return walk.factor();
}

}  // namespace pelodyn
