// Lookups of the points of the ground surface (the top boundary line).
#pragma once

#include "model/platform.h"
#include "model/project.h"

namespace pelodyn {

// The number (1-based) of the last point of the top line whose X equals x
// exactly; 1 when none does.
int TopLinePointIndexAtX(const AnalysisModel& model, double x);

// X of point k (1-based) of the top line, in world units, after rebuilding
// the boundary lines. Raises std::out_of_range for a point the line lacks.
double TopLinePointX(Project& project, PlatformServices& platform, int k);
// Y of point k of the top line from the current line arrays.
double TopLinePointY(const AnalysisModel& model, int k);

}  // namespace pelodyn
