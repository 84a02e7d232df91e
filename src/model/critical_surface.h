// One slip surface as a run presents it: the surface the drawing shows with
// its slices, the four factors of safety the engine computed for it, the
// factor its label shows and the area of its sliding mass. The engine fills
// it (after a run, when the critical circles are analysed again, or when a
// Results row is replayed); windows and the drawing only show it.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

#include "model/slice_set.h"
#include "texts/messages.h"

namespace pelodyn {

struct CriticalSurface {
  // The method whose critical surface this is (Ordinary 0 ... Spencer 3), or
  // -1 for a surface that belongs to no single method (a replayed Results
  // row, a specific surface).
  int method = -1;
  // The four factors of this surface, in method order.
  std::array<double, 4> fs{kNoFactor, kNoFactor, kNoFactor, kNoFactor};
  // The factor the label at the centre shows: the method's own factor, or
  // for a replayed row the factor it was chosen by.
  double labelFs = kNoFactor;
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

// The geometry of the surface in `slices` (the slip polyline and the first
// SliceCount + 1 slice boundaries, the active range) copied into `surface`;
// its factors, label, centre and area are left as they are.
inline void TakeSurfaceGeometry(const SliceSet& slices, CriticalSurface& surface) {
  const auto head = [](const std::vector<double>& v, int count) {
    const auto n = std::min(static_cast<std::size_t>(std::max(count, 0)), v.size());
    return std::vector<double>(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(n));
  };
  surface.surfaceX = head(slices.SlipX, slices.SlipPointCount);
  surface.surfaceY = head(slices.SlipY, slices.SlipPointCount);
  surface.boundaryX = head(slices.BoundaryX, slices.SliceCount + 1);
  surface.surfaceYAtBoundary = head(slices.SurfaceYAtBoundary, slices.SliceCount + 1);
  surface.baseYAtBoundary = head(slices.BaseYAtBoundary, slices.SliceCount + 1);
  surface.sliceCount = slices.SliceCount;
  surface.activeFirst = slices.ActiveFirst;
  surface.activeEnd = slices.ActiveEnd;
}

}  // namespace pelodyn
