// One slip surface as a run presents it: the surface the drawing shows with
// its slices, the four factors of safety the engine computed for it, the
// factor its label shows and the area of its sliding mass. The engine fills
// it (after a run, when the critical circles are analysed again, or when a
// Results row is replayed); windows and the drawing only show it.
#pragma once

#include <array>
#include <vector>

namespace pelodyn {

struct CriticalSurface {
  // The method whose critical surface this is (Ordinary 0 ... Spencer 3), or
  // -1 for a surface that belongs to no single method (a replayed Results
  // row, a specific surface).
  int method = -1;
  // The four factors of this surface, in method order.
  std::array<double, 4> fs{99999.0, 99999.0, 99999.0, 99999.0};
  // The factor the label at the centre shows: the method's own factor, or
  // for a replayed row the factor it was chosen by.
  double labelFs = 99999.0;
  bool hasLabel = true;
  // World units. The radius is 0 for an irregular surface.
  double centerX = 0.0, centerY = 0.0, radius = 0.0;
  double slidingMassArea = 0.0;

  // The slip polyline and the slice boundaries (world units).
  std::vector<double> surfaceX, surfaceY;
  std::vector<double> boundaryX, surfaceYAtBoundary, baseYAtBoundary;
  int sliceCount = 0, activeFirst = 0, activeEnd = 0;

  bool operator==(const CriticalSurface&) const = default;
};

}  // namespace pelodyn
