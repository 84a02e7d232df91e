// The rigorous methods beside the four: Morgenstern-Price (general limit
// equilibrium) with a choice of interslice function, Spencer's assumption
// solved by the same root-finder, and Janbu's correction of the simplified
// Janbu factor. They work on the slices of a surface already analysed by
// AnalyseSlipSurface and leave the four methods' factors alone.
#pragma once

#include <string_view>
#include <vector>

#include "model/slice_set.h"

namespace pelodyn {

// The shape f(x) of the interslice forces, X = lambda f(x) E, with x the
// distance along the surface's horizontal extent normalised to 0 (left end)
// .. 1 (right end).
enum class IntersliceFunction {
  Constant,     // f = 1: Spencer's assumption
  HalfSine,     // f = sin(pi x)
  ClippedSine,  // the part of a half sine between the end values `left` and `right`
  Trapezoidal,  // `left` at x = 0 up to 1 at x = 0.25, 1 to x = 0.75, down to `right` at x = 1
  Points,       // straight between the given points (x ascending in 0..1), level beyond them
};

struct IntersliceShape {
  IntersliceFunction kind = IntersliceFunction::Constant;
  double left = 0.0, right = 0.0;  // end values, in 0..1, of the clipped sine and the trapezoid
  struct Point {
    double x, f;
  };
  std::vector<Point> points;

  double at(double x) const;
};

// The name of a function as the command line and the JSON output spell it
// ("constant", "half-sine", "clipped-sine", "trapezoidal", "points"), and back.
std::string_view IntersliceFunctionName(IntersliceFunction kind);
bool FindIntersliceFunction(std::string_view name, IntersliceFunction& kind);

// Why a rigorous solution was not found.
enum class RigorousOutcome {
  Converged,
  NoBalance,    // no lambda in the physical range brings force and moment equilibrium together
  NoFactor,     // the factors at some lambda do not settle, or are not positive
  OutOfRange,   // the factor found is not positive or above 100
  NotAnalysed,  // the surface has no active slices
};
std::string_view RigorousOutcomeText(RigorousOutcome outcome);

// The forces of each slice at a solution, in the direction of sliding:
// per slice (in slice order) its weight, base normal and shear forces and
// pore-water force; per boundary (SliceCount + 1 entries, left to right)
// the interslice normal E (compression positive) and shear X, and the height
// of E's line of action (the line of thrust).
struct SliceForces {
  std::vector<double> Weight, Normal, Shear, PoreForce;
  std::vector<double> BoundaryX, E, X, ThrustY;
  // The base and the ground at each boundary: the sliding mass between them.
  std::vector<double> BaseY, TopY;
};

// The physical checks of a solution, at the boundaries between slices (the
// two ends left out): an interslice normal that pulls (tension), and a line
// of thrust outside the sliding mass.
struct ForceWarning {
  enum class Kind { Tension, ThrustOutside };
  Kind kind;
  std::size_t boundary;  // index into SliceForces' boundary arrays
  double x;
};
std::vector<ForceWarning> CheckSliceForces(const SliceForces& forces);
std::string_view ForceWarningName(ForceWarning::Kind kind);  // "tension", "thrust_outside"

struct RigorousResult {
  RigorousOutcome outcome = RigorousOutcome::NotAnalysed;
  double F = 0.0;       // the factor (moment and force equilibrium agree)
  double lambda = 0.0;  // the interslice scale
  int iterations = 0;   // evaluations of the slices' equations, all lambdas together
  // The factor, or the ResultCode value that stands for no factor.
  double factorOrCode() const;
};

// Morgenstern-Price on the active slices of `slices`, with the seismic
// coefficients kh, kv. `forces`, when given, is filled at the solution.
RigorousResult MorgensternPrice(const SliceSet& slices, double kh, double kv, const IntersliceShape& shape,
                                SliceForces* forces = nullptr);

// The moment and the force factor at a fixed lambda (both iterated with the
// interslice forces until they settle); `settled` is false where they do
// not. With lambda = 0 they are the simplified Bishop and Janbu factors.
struct FactorsAtLambda {
  double moment = 0.0, force = 0.0;
  int iterations = 0;
  bool settled = false;
};
FactorsAtLambda MorgensternPriceAt(const SliceSet& slices, double kh, double kv, const IntersliceShape& shape,
                                   double lambda);

// Janbu's correction f0 = 1 + b1 (d/L - 1.4 (d/L)^2) of the simplified
// Janbu factor, with L the chord from the surface's entry to its exit, d the
// surface's greatest depth below that chord, and b1 = 0.69 where the bases
// have cohesion only, 0.31 where they have friction only, 0.50 where both.
struct JanbuCorrection {
  double f0 = 1.0, depth = 0.0, length = 0.0, b1 = 0.5;
};
JanbuCorrection JanbuCorrectionOf(const SliceSet& slices);

}  // namespace pelodyn
