// The analysis of one trial slip surface: the surface is cut into slices,
// the forces on every slice are evaluated and the factor of safety is
// computed by the Ordinary, Simplified Janbu, Simplified Bishop and Spencer
// methods.
//
// The theory comes from the model: AnalysisTheory 2 analyses the irregular
// polyline NonCirX / NonCirY as given; any other theory intersects the circle
// of radius TrialRadius about (centerX, centerY) with the ground surface and
// analyses the chords of that circle. (centerX, centerY) is the moment centre
// in both cases.
//
// The result is always four numbers in slices.FsOrdinary ... FsSpencer: a
// factor of safety or a ResultCode value. Nothing throws: an arithmetic
// fault anywhere (division by zero, an invalid operation, overflow) gives
// ResultCode::ArithmeticFault in all four. The model must come from a
// collection that ended with DataError = 0; a model whose arrays do not
// match its counts is refused the same way.
#pragma once

#include "model/analysis_model.h"
#include "model/platform.h"
#include "model/slice_set.h"

namespace pelodyn {

struct SurfaceOptions {
  // Warn (through `platform`) when a circle cuts the ground more than twice.
  bool TwoIntersectWarning = false;
  PlatformServices* platform = nullptr;
};

void AnalyseSlipSurface(const AnalysisModel& model, double centerX, double centerY, SliceSet& slices,
                        const SurfaceOptions& options = {});
// The same with the circle's radius given here instead of the model's
// TrialRadius, so a search can try circles without writing into the model
// it reads. An irregular surface ignores `radius`.
void AnalyseSlipSurface(const AnalysisModel& model, double centerX, double centerY, double radius, SliceSet& slices,
                        const SurfaceOptions& options = {});

// The literal value of pi with which input angles in degrees are converted.
inline constexpr double kDegreesPi = 3.14159265359;
inline double DegreesToRadians(double degrees) {
  return degrees * kDegreesPi / 180.0;
}

}  // namespace pelodyn
