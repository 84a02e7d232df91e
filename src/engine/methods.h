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

// The iteration every method uses: F = step(F) until |F| > 100, or the change
// is within `tolerance`, or more than 100 steps were made. Returns the step
// count k; k > 100 means not converged.
template <typename Step>
int IterateFactor(double& F, double tolerance, Step&& step) {
  int k = 0;
  for (;;) {
    const double previous = F;
    F = step(previous);
    if (!(F <= 100.0 && F >= -100.0)) break;
    ++k;
    if (!(previous - F > tolerance || F - previous > tolerance)) break;
    if (k > 100) break;
  }
  return k;
}

// Spencer's search for the interslice inclination lambda at which the force
// and the moment factors agree. forceFactor(F, lambda) and
// momentFactor(F, lambda) evaluate one step of the force and moment
// equilibrium at the trial factor F. lambda climbs by 0.1 while the moment
// factor stays at or above the force factor, steps back once the order flips
// and goes on with a ten times finer step, down to 0.00001. Returns the
// factor (or a ResultCode value); `lambda` ends at the last inclination used.
template <typename ForceFactor, typename MomentFactor>
double SpencerSearch(ForceFactor&& forceFactor, MomentFactor&& momentFactor, double start, double bishop,
                     double tolerance, double& lambda) {
  constexpr double kInvalid = ResultValue(ResultCode::Invalid);
  constexpr double kSteps[] = {0.1, 0.01, 0.001, 0.0001, 0.00001};
  lambda = 0.0;
  int A = 0, B = 0, j = 0;
  double Ff = kInvalid, Fm = kInvalid;
  double fs = start;
  for (;;) {
    if (A != 0 && B != 0) {
      if (Fm >= Ff) {
        if (A >= 1 && A <= 5) {
          lambda += kSteps[A - 1];
          B = A;
        }
      } else if (B >= 1 && B <= 5) {
        lambda -= kSteps[B - 1];
        A = B + 1;
      }
    }
    const double at = lambda;
    const int kf = IterateFactor(fs, tolerance, [&](double F) { return forceFactor(F, at); });
    Ff = fs;
    const int km = IterateFactor(fs, tolerance, [&](double F) { return momentFactor(F, at); });
    Fm = fs;
    if (kf > 100 || km > 100) return ResultValue(ResultCode::NotConverged);
    if (std::fabs(Fm) > 100.0 || std::fabs(Ff) > 100.0) break;
    if (A == 0 && B == 0) A = B = 1;
    ++j;
    const double gap = std::fabs(Fm - Ff);
    if (gap <= tolerance || (A == 6 && gap > 5.0) || j > 100) break;
  }
  if (fs <= 0.0 || std::fabs(bishop / fs) > 3.0) fs = kInvalid;
  if (std::fabs(Fm) > 100.0 || std::fabs(Ff) > 100.0) fs = kInvalid;
  if ((A == 6 && std::fabs(Fm - Ff) > 5.0) || j > 100) fs = kInvalid;
  return fs;
}

}  // namespace pelodyn
