// The slice set: everything the analysis of one slip surface computes, kept
// until the next surface is analysed. The drawing, the reports and the
// searches read it; AnalyseSlipSurface overwrites it.
//
// Vectors keep their capacity from surface to surface, so once a search has
// seen its largest surface no analysis allocates. Per-slice arrays hold
// SliceCount entries, boundary arrays SliceCount + 1. A rejected surface
// keeps whatever geometry was built before the rejection.
#pragma once

#include <array>
#include <vector>

#include "model/array2d.h"

namespace pelodyn {

// The factor-of-safety values that stand for a surface (or a method) that
// could not be analysed. They are stored and shown as numbers.
enum class ResultCode : int {
  Invalid = 1000000,          // non-positive, above 100, ratio test, no convergence of Spencer's bracket
  TooShallow = 1000006,       // tallest slice not taller than DepthTallest
  NoStrength = 1000007,       // more than half of the bases have c = 0 and tan phi = 0
  BaseOffSurface = 1000008,   // a slice's cos(alpha) is not positive
  MissesGround = 1000009,     // the circle does not cut the ground on both sides
  NotConverged = 1000010,     // more than 100 iterations
  ArithmeticFault = 1000011,  // division by zero, invalid operation or overflow
};

inline constexpr double ResultValue(ResultCode code) {
  return static_cast<double>(static_cast<int>(code));
}

// Absent line at an x, and the unset crossing.
inline constexpr double kAbsentLine = -9999.0;
inline constexpr double kNoCrossing = 99999.0;

struct SliceSet {
  // The slip polyline analysed: the chords of a circle, or the irregular
  // surface as given.
  int SlipPointCount = 0;
  std::vector<double> SlipX, SlipY;
  std::vector<double> SlipSlope, SlipIntercept;

  // Crossings[line][segment][slip segment], stored flat; kNoCrossing where
  // the two do not cross.
  std::vector<double> Crossings;
  int CrossingSegmentsPerLine = 0;  // LineMaxPointCount - 1
  double crossing(int line, int segment, int slipSegment) const {
    return Crossings[(static_cast<std::size_t>(line) * CrossingSegmentsPerLine + segment) *
                         static_cast<std::size_t>(SlipPointCount - 1) +
                     slipSegment];
  }

  double LeftGroundY = 0.0, RightGroundY = 0.0;
  double EntryX = 0.0, EntryY = 0.0, ExitX = 0.0, ExitY = 0.0;

  int SliceCount = 0;
  std::vector<double> SliceWidth, BoundaryX, BaseYAtBoundary, SurfaceYAtBoundary;
  std::vector<double> SliceMidX, BaseYAtMid, SliceHeight;
  Array2D<double> LineYAtMid;  // [slice][line]
  std::vector<double> BaseSlope, SinAlpha, CosAlpha, BaseLength;
  std::vector<double> ShearArm, NormalArm, WeightArmX, WeightArmY;
  std::vector<double> SliceWeight;
  std::vector<int> BaseSoil;
  int ActiveFirst = 0, ActiveEnd = 0;

  // Forces on the slices.
  std::vector<double> BaseCohesion, BaseTanPhi, BasePorePressure;
  std::vector<double> LineLoadOnSlice, LineLoadH, LineLoadV, LineLoadN, LineLoadArm;
  std::vector<double> StripLoadOnSlice, StripLoadN;
  std::vector<double> AnchorForceOnSlice, AnchorH, AnchorV, AnchorN, AnchorArm;
  std::vector<double> SliceNormalStress;
  double ThrustAtEnd = 0.0, ThrustAtEndArm = 0.0, ThrustAtFirst = 0.0, ThrustAtFirstArm = 0.0;
  // The advanced anisotropic row chosen last for each soil.
  std::vector<double> AdvancedAnisoPhiVAt, AdvancedAnisoPhiHAt;

  // The tension-crack point on the slip surface, filed by the surface's
  // direction (descending: last point lower than the first).
  bool CrackFound = false;
  double CrackX = 0.0, CrackY = 0.0;
  std::array<double, 2> CrackSlotX{};  // [0] ascending, [1] descending
  // Per anchor: where it acts, its direction and force (0 when it misses).
  std::vector<double> AnchorPointX, AnchorPointY, AnchorDirX, AnchorDirY, AnchorForce;

  // The four factors of safety (or result codes), and Spencer's interslice
  // force inclination tan(theta) at the end of its search.
  double FsOrdinary = 0.0, FsJanbu = 0.0, FsBishop = 0.0, FsSpencer = 0.0;
  double SpencerLambda = 0.0;

  // Scratch of the slice layout.
  std::vector<double> BreakPoints, MarginPoints, StrictPoints;
  // Scratch of the methods: the per-slice terms that do not change while
  // they iterate, worked out once per surface.
  std::vector<double> MethodTerms;
};

}  // namespace pelodyn
