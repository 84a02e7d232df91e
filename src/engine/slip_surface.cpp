#include "engine/slip_surface.h"

#include <algorithm>
#include <array>
#include <cfenv>
#include <cmath>
#include <cstdint>

#include "engine/methods.h"
#include "engine/rigorous.h"
#include "texts/messages.h"

namespace pelodyn {
namespace {

// A point within this distance of a segment's end is taken to be the end.
constexpr double kSnap = 1e-6;
// Break points closer than this to a base-slice edge are not used.
constexpr double kMargin = 0.01;
// A load or crack point at a boundary that is a running sum of widths may
// differ from it in the last bits; this is how far apart they may be.
double BoundaryTolerance(double x) {
  return 1e-9 * std::max(1.0, std::fabs(x));
}

constexpr int kFaults = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;

// The floating-point flags, cleared before each surface and looked at after
// each stage. On x86-64 the x87 and SSE flags are read and cleared directly:
// the library's calls save and reload the whole x87 environment, which costs
// more than a slice. The flag bits are the same in both registers.
#if defined(__x86_64__) && defined(__GNUC__)
void ClearFaults() {
  unsigned csr;
  __asm__ volatile("fnclex\n\tstmxcsr %0" : "=m"(csr) : : "memory");
  csr &= ~static_cast<unsigned>(FE_ALL_EXCEPT);
  __asm__ volatile("ldmxcsr %0" : : "m"(csr) : "memory");
}
bool Faulted() {
  unsigned short status;
  unsigned csr;
  __asm__ volatile("fnstsw %0\n\tstmxcsr %1" : "=am"(status), "=m"(csr) : : "memory");
  return ((status | csr) & kFaults) != 0;
}
#else
void ClearFaults() {
  std::feclearexcept(FE_ALL_EXCEPT);
}
bool Faulted() {
  return std::fetestexcept(kFaults) != 0;
}
#endif

double Snap(double x, double a, double b) {
  if (std::fabs(x - a) <= kSnap) return a;
  if (std::fabs(x - b) <= kSnap) return b;
  return x;
}

template <typename T>
void Reset(std::vector<T>& v, std::size_t n) {
  v.assign(n, T{});
}

// One analysis in progress: the model read, the slice set written.
class Analysis {
 public:
  Analysis(const AnalysisModel& model, double xc, double yc, double radius, SliceSet& slices,
           const SurfaceOptions& options)
      : m(model), s(slices), o(options), xc(xc), yc(yc), radius(radius) {}

  void run();

 private:
  bool modelUsable() const;
  bool circleMeetsGround();
  bool buildChords();
  bool takePolyline();
  void slipSegments();
  void crossings();
  void crackPoint();
  void anchorPoints();
  bool layout();
  void sliceGeometry();
  void linesAtCentre();
  bool armsAndBaseLength();
  void lineLoads();
  void stripLoads();
  void anchorsPerSlice();
  void weightAndBaseSoil();
  void strength();
  double tanPhiOf(std::size_t soil);
  bool zeroStrengthZone();
  void crackCut();
  void waterThrusts();
  void crackThrust();
  void porePressure();
  double waterLineY(double x, bool& found) const;
  void robustSpencer();

  void reject(ResultCode code) {
    const double v = ResultValue(code);
    s.FsOrdinary = s.FsJanbu = s.FsBishop = s.FsSpencer = v;
  }
  static bool faulted() { return Faulted(); }
  bool facingRight() const { return s.LeftGroundY > s.RightGroundY; }
  int ground() const { return m.LineCount - 1; }

  const AnalysisModel& m;
  SliceSet& s;
  const SurfaceOptions& o;
  const double xc, yc;
  const double radius;  // of a circle; unused for an irregular surface
  int n0 = 0;           // base slices
  double tallest = 0.0;
  // tan(phi) of the first soils, once each is known (bit k: soil k).
  static constexpr std::size_t kKnownSoils = 64;
  std::uint64_t knownTanPhi = 0;
  std::array<double, kKnownSoils> soilTanPhi;
};

bool Analysis::modelUsable() const {
  const auto lines = static_cast<std::size_t>(m.LineCount);
  if (m.LineCount < 1 || m.SoilCount < m.LineCount) return false;
  if (m.LinePointCount.size() < lines || m.LineX.rows() < lines || m.LineY.rows() < lines ||
      m.LineSlope.rows() < lines || m.LineIntercept.rows() < lines || m.SoilUnitWeight.size() < lines) {
    return false;
  }
  for (std::size_t k = 0; k < lines; ++k) {
    const auto points = static_cast<std::size_t>(m.LinePointCount[k]);
    if (m.LinePointCount[k] < 0 || m.LineX.columns() < points || (points > 1 && m.LineSlope.columns() < points - 1)) {
      return false;
    }
  }
  const auto soils = static_cast<std::size_t>(m.SoilCount);
  if (m.StrengthModel == 1) {
    if (m.SoilCv.size() < soils || m.SoilCh.size() < soils || m.SoilPhiV.size() < soils || m.SoilPhiH.size() < soils) {
      return false;
    }
  } else if (m.SoilCohesion.size() < soils || m.SoilPhi.size() < soils) {
    return false;
  }
  auto sized = [](std::size_t n, std::initializer_list<const std::vector<double>*> arrays) {
    for (const auto* a : arrays) {
      if (a->size() < n) return false;
    }
    return true;
  };
  if (m.SeepageKind == 1 && !sized(static_cast<std::size_t>(m.WaterLinePointCount), {&m.WaterLineX, &m.WaterLineY})) {
    return false;
  }
  if (m.TensionCrackEnabled &&
      !sized(static_cast<std::size_t>(m.TensionCrackPointCount), {&m.TensionCrackX, &m.TensionCrackY})) {
    return false;
  }
  if (m.LineLoadEnabled &&
      !sized(static_cast<std::size_t>(m.LineLoadCount), {&m.LineLoadX, &m.LineLoadMagnitude, &m.LineLoadAngle})) {
    return false;
  }
  if (m.StripLoadEnabled && !sized(static_cast<std::size_t>(m.StripLoadCount),
                                   {&m.StripLoadBeginX, &m.StripLoadEndX, &m.StripLoadMagnitude})) {
    return false;
  }
  if (m.AnchorEnabled &&
      !sized(static_cast<std::size_t>(m.AnchorCount), {&m.AnchorMagnitude, &m.AnchorXStart, &m.AnchorYStart,
                                                       &m.AnchorXEnd, &m.AnchorYEnd, &m.AnchorBondedLength})) {
    return false;
  }
  if (m.AdvancedAnisoEnabled && m.AdvancedAnisoMaxRows > 0 &&
      (m.AdvancedAnisoRowCount.size() < soils || m.AdvancedAnisoNormalStress.rows() < soils ||
       m.AdvancedAnisoNormalStress.columns() < static_cast<std::size_t>(m.AdvancedAnisoMaxRows) ||
       m.AdvancedAnisoPhiV.rows() < soils || m.AdvancedAnisoPhiH.rows() < soils)) {
    return false;
  }
  return true;
}

// Where the circle cuts the ground surface, scanning the ground segments from
// left to right. The first cut of a segment on the way down is a left point,
// the second on the way up a right point; further cuts form a second pair
// that replaces the first by the sum of the ground slopes at the cuts.
bool Analysis::circleMeetsGround() {
  const int g = ground();
  const double R = radius;
  struct Cut {
    double x, y, slope;
  };
  Cut left{-99999.0, 0.0, 0.0}, right{99999.0, 0.0, 0.0};
  Cut left2{0.0, 0.0, 0.0}, right2{0.0, 0.0, 0.0};
  auto leftSet = [&] { return left.x != -99999.0; };
  auto rightSet = [&] { return right.x != 99999.0; };
  const int points = m.LinePointCount[static_cast<std::size_t>(g)];
  for (int p = 0; p + 1 < points; ++p) {
    const double mg = m.LineSlope[g][p];
    const double qg = m.LineIntercept[g][p];
    const double xp = m.LineX[g][p], xp1 = m.LineX[g][p + 1];
    if (mg != kVerticalSlope) {
      const double A = mg * mg + 1.0;
      const double B = (qg - yc) * mg - xc;
      const double C = (qg - yc) * (qg - yc) + xc * xc - R * R;
      const double D = B * B - A * C;
      if (!(D > 0.0)) continue;  // a tangent does not count
      const double root = std::sqrt(D);
      const double x1 = Snap((-B - root) / A, xp, xp1);
      const double x2 = Snap((-B + root) / A, xp, xp1);
      if (xp <= x1 && x1 <= xp1) {
        const Cut cut{x1, mg * x1 + qg, mg};
        if (!leftSet()) {
          left = cut;
        } else {
          left2 = cut;
        }
      }
      if (xp <= x2 && x2 <= xp1) {
        const Cut cut{x2, mg * x2 + qg, mg};
        if (!rightSet()) {
          if (leftSet()) right = cut;
        } else {
          right2 = cut;
          if (o.TwoIntersectWarning && o.platform != nullptr) {
            // The same Thai text in both languages, as the users know it.
            o.platform->showMessage(MessageKind::Plain, "",
                                    std::string(CoreTextFor(kLanguageThai, CoreText::CircleCutsTwice)));
          }
          const double s1 = left.slope + right.slope;
          const double s2 = left2.slope + right2.slope;
          const bool replace = (left.y > right.y || left2.y > right2.y) ? (s2 < s1) : (s2 > s1);
          if (replace) {
            // The slopes of the first pair stay: a later cut is compared
            // against them.
            left.x = left2.x;
            left.y = left2.y;
            right.x = right2.x;
            right.y = right2.y;
          }
        }
      }
    } else if (std::fabs(xc - xp) < R && (!leftSet() || !rightSet())) {
      const double h = std::sqrt(R * R - (xc - xp) * (xc - xp));
      const double y1 = yc + h, y2 = yc - h;
      const double yp = m.LineY[g][p], yp1 = m.LineY[g][p + 1];
      if (yp1 < y1 && y1 <= yp) {
        right = {xp, y1, right.slope};
      } else if (yp1 < y2 && y2 <= yp) {
        right = {xp, y2, right.slope};
      }
      if (yp <= y1 && y1 < yp1) {
        left = {xp, y1, left.slope};
      } else if (yp <= y2 && y2 < yp1) {
        left = {xp, y2, left.slope};
      }
    }
  }
  if (!leftSet() || !rightSet()) return false;
  s.LeftGroundY = left.y;
  s.RightGroundY = right.y;
  // The chords start and end at the cuts.
  s.SlipPointCount = n0 + 1;
  s.SlipX.resize(static_cast<std::size_t>(n0) + 1);
  s.SlipY.resize(static_cast<std::size_t>(n0) + 1);
  s.SlipX[0] = left.x;
  s.SlipY[0] = left.y;
  s.SlipX[static_cast<std::size_t>(n0)] = right.x;
  s.SlipY[static_cast<std::size_t>(n0)] = right.y;
  return true;
}

// The chord polyline: n0 equal steps in x on the lower arc of the circle.
bool Analysis::buildChords() {
  const double R = radius;
  const double w0 = (s.SlipX[static_cast<std::size_t>(n0)] - s.SlipX[0]) / n0;
  for (int i = 1; i < n0; ++i) {
    const double x = s.SlipX[static_cast<std::size_t>(i) - 1] + w0;
    s.SlipX[static_cast<std::size_t>(i)] = x;
    s.SlipY[static_cast<std::size_t>(i)] = yc - std::sqrt(R * R - (x - xc) * (x - xc));
  }
  return true;
}

bool Analysis::takePolyline() {
  const int n = m.NonCirPointCount;
  if (n < 2 || m.NonCirX.size() < static_cast<std::size_t>(n) || m.NonCirY.size() < static_cast<std::size_t>(n)) {
    return false;
  }
  s.SlipPointCount = n;
  s.SlipX.assign(m.NonCirX.begin(), m.NonCirX.begin() + n);
  s.SlipY.assign(m.NonCirY.begin(), m.NonCirY.begin() + n);
  // The facing of an irregular surface comes from its ground crossings.
  s.LeftGroundY = 0.0;
  s.RightGroundY = 0.0;
  return true;
}

void Analysis::slipSegments() {
  const int segments = s.SlipPointCount - 1;
  s.SlipSlope.resize(static_cast<std::size_t>(segments));
  s.SlipIntercept.resize(static_cast<std::size_t>(segments));
  for (int i = 0; i < segments; ++i) {
    const double x0 = s.SlipX[static_cast<std::size_t>(i)], x1 = s.SlipX[static_cast<std::size_t>(i) + 1];
    const double y0 = s.SlipY[static_cast<std::size_t>(i)], y1 = s.SlipY[static_cast<std::size_t>(i) + 1];
    const double slope = (x0 != x1) ? (y1 - y0) / (x1 - x0) : kVerticalSlope;
    s.SlipSlope[static_cast<std::size_t>(i)] = slope;
    s.SlipIntercept[static_cast<std::size_t>(i)] = y0 - slope * x0;
  }
  s.EntryX = s.SlipX.front();
  s.EntryY = s.SlipY.front();
  s.ExitX = s.SlipX.back();
  s.ExitY = s.SlipY.back();
}

void Analysis::crossings() {
  const int slipSegments = s.SlipPointCount - 1;
  const int lineSegments = std::max(m.LineMaxPointCount - 1, 0);
  s.CrossingSegmentsPerLine = lineSegments;
  s.Crossings.assign(static_cast<std::size_t>(m.LineCount) * lineSegments * slipSegments, kNoCrossing);
  const bool irregular = m.AnalysisTheory == 2;
  const int g = ground();
  for (int k = 0; k < m.LineCount; ++k) {
    const int segments = m.LinePointCount[static_cast<std::size_t>(k)] - 1;
    for (int p = 0; p < segments; ++p) {
      const double mk = m.LineSlope[k][p], qk = m.LineIntercept[k][p];
      const double xp = m.LineX[k][p], xp1 = m.LineX[k][p + 1];
      for (int j = 0; j < slipSegments; ++j) {
        const double ms = s.SlipSlope[static_cast<std::size_t>(j)];
        if (mk == ms) continue;
        const double qs = s.SlipIntercept[static_cast<std::size_t>(j)];
        const double xs = s.SlipX[static_cast<std::size_t>(j)], xs1 = s.SlipX[static_cast<std::size_t>(j) + 1];
        // Segments side by side cannot cross. They are passed by without the
        // division unless it could overflow: that raises the fault that
        // rejects the surface, and must still be raised.
        if ((xp1 < xs || xs1 < xp) && (mk == kVerticalSlope || std::fabs(qk - qs) < std::fabs(ms - mk) * 0x1p1000)) {
          continue;
        }
        double x = (mk != kVerticalSlope) ? (qk - qs) / (ms - mk) : xp;
        x = Snap(x, xs, xs1);
        if (!(xs <= x && x <= xs1 && xp <= x && x <= xp1)) continue;
        s.Crossings[(static_cast<std::size_t>(k) * lineSegments + p) * slipSegments + j] = x;
        if (irregular && k == g) {
          const double y = (qk * ms - qs * mk) / (ms - mk);
          if (j == 0) s.LeftGroundY = y;
          if (j == slipSegments - 1 && j != 0) s.RightGroundY = y;
        }
      }
    }
  }
}

// Where the slip surface meets the crack line (the last find wins).
void Analysis::crackPoint() {
  s.CrackFound = false;
  s.CrackSlotX = {0.0, 0.0};
  if (!m.TensionCrackEnabled) return;
  const int slipSegments = s.SlipPointCount - 1;
  for (int t = 0; t + 1 < m.TensionCrackPointCount; ++t) {
    const double xa = m.TensionCrackX[static_cast<std::size_t>(t)];
    const double xb = m.TensionCrackX[static_cast<std::size_t>(t) + 1];
    if (xa == xb) continue;
    const double ya = m.TensionCrackY[static_cast<std::size_t>(t)];
    const double yb = m.TensionCrackY[static_cast<std::size_t>(t) + 1];
    const double kt = (yb - ya) / (xb - xa);
    const double qt = ya - kt * xa;
    for (int j = 0; j < slipSegments; ++j) {
      const double ms = s.SlipSlope[static_cast<std::size_t>(j)];
      if (ms == kt) continue;
      const double qs = s.SlipIntercept[static_cast<std::size_t>(j)];
      const double xs = s.SlipX[static_cast<std::size_t>(j)], xs1 = s.SlipX[static_cast<std::size_t>(j) + 1];
      const double x = Snap((qt - qs) / (ms - kt), xs, xs1);
      if (xs <= x && x <= xs1) {
        s.CrackFound = true;
        s.CrackX = x;
        s.CrackY = (qt * ms - qs * kt) / (ms - kt);
      }
    }
  }
  if (s.CrackFound) {
    const bool descending = s.SlipY.back() < s.SlipY.front();
    s.CrackSlotX[descending ? 1 : 0] = s.CrackX;
  }
}

// Where each anchor crosses the slip surface, and the force it carries
// there. Only a crossing between the anchor's two ends counts: the line of
// an anchor extended past its ends may cut the surface again, and that cut
// must not take the anchor away.
void Analysis::anchorPoints() {
  if (!m.AnchorEnabled) return;
  const auto count = static_cast<std::size_t>(m.AnchorCount);
  for (auto* v : {&s.AnchorPointX, &s.AnchorPointY, &s.AnchorDirX, &s.AnchorDirY, &s.AnchorForce}) Reset(*v, count);
  const int slipSegments = s.SlipPointCount - 1;
  for (std::size_t k = 0; k < count; ++k) {
    const double Xs = m.AnchorXStart[k], Ys = m.AnchorYStart[k];
    const double Xe = m.AnchorXEnd[k], Ye = m.AnchorYEnd[k];
    if (Xs == Xe) continue;  // a vertical anchor is never applied
    const double ka = (Ys - Ye) / (Xs - Xe);
    const double qa = Ys - ka * Xs;
    const double length = std::hypot(Xs - Xe, Ys - Ye);
    const double lo = std::min(Xs, Xe), hi = std::max(Xs, Xe);
    for (int j = 0; j < slipSegments; ++j) {
      const double ms = s.SlipSlope[static_cast<std::size_t>(j)];
      if (ms == ka) continue;
      const double qs = s.SlipIntercept[static_cast<std::size_t>(j)];
      const double xs = s.SlipX[static_cast<std::size_t>(j)], xs1 = s.SlipX[static_cast<std::size_t>(j) + 1];
      const double x = Snap((qa - qs) / (ms - ka), xs, xs1);
      if (!(xs <= x && x <= xs1) || !(lo < x && x < hi)) continue;
      const double y = ka * x + qa;
      double force = m.AnchorMagnitude[k];
      if (m.AnchorApplyAs == 0) {
        const double bonded = m.AnchorBondedLength[k] == 0.0 ? 1e-6 : m.AnchorBondedLength[k];
        const double r = std::hypot(x - Xe, y - Ye) / bonded;
        if (r < 1.0) force *= r;
      }
      s.AnchorPointX[k] = x;
      s.AnchorPointY[k] = y;
      s.AnchorDirX[k] = (Xs - Xe) / length;
      s.AnchorDirY[k] = (Ys - Ye) / length;
      s.AnchorForce[k] = force;
    }
  }
}

// Cuts the n0 base slices at the ground vertices, the crack point, the loads,
// the slip-surface vertices and the crossings inside them.
bool Analysis::layout() {
  const double x0 = s.SlipX.front();
  const double w = (s.SlipX.back() - x0) / n0;
  const int g = ground();
  const int groundPoints = m.LinePointCount[static_cast<std::size_t>(g)];
  // Candidates, sorted once: those that must keep 0.01 from a base-slice
  // edge (ground and slip-surface vertices, crossings) and those that need
  // only lie strictly inside (crack point, loads).
  auto& margin = s.MarginPoints;
  auto& strict = s.StrictPoints;
  margin.clear();
  strict.clear();
  for (int p = 0; p < groundPoints; ++p) margin.push_back(m.LineX[g][p]);
  margin.insert(margin.end(), s.SlipX.begin(), s.SlipX.end());
  for (double x : s.Crossings) {
    if (x != kNoCrossing) margin.push_back(x);
  }
  if (s.CrackFound) strict.push_back(s.CrackX);
  if (m.LineLoadEnabled) strict.insert(strict.end(), m.LineLoadX.begin(), m.LineLoadX.begin() + m.LineLoadCount);
  if (m.StripLoadEnabled) {
    strict.insert(strict.end(), m.StripLoadBeginX.begin(), m.StripLoadBeginX.begin() + m.StripLoadCount);
    strict.insert(strict.end(), m.StripLoadEndX.begin(), m.StripLoadEndX.begin() + m.StripLoadCount);
  }
  std::sort(margin.begin(), margin.end());
  std::sort(strict.begin(), strict.end());

  auto& widths = s.SliceWidth;
  widths.clear();
  auto& bp = s.BreakPoints;
  for (int a = 0; a < n0; ++a) {
    const double xa = x0 + a * w;
    const double xb = xa + w;
    bp.clear();
    for (auto it = std::upper_bound(margin.begin(), margin.end(), xa + kMargin);
         it != margin.end() && *it < xb - kMargin; ++it) {
      bp.push_back(*it);
    }
    for (auto it = std::upper_bound(strict.begin(), strict.end(), xa); it != strict.end() && *it < xb; ++it) {
      bp.push_back(*it);
    }
    // Each break point once: a point given by two sources (a load on a
    // ground vertex) must not leave a slice of width zero.
    std::sort(bp.begin(), bp.end());
    bp.erase(std::unique(bp.begin(), bp.end()), bp.end());
    double previous = xa;
    for (double x : bp) {
      widths.push_back(x - previous);
      previous = x;
    }
    widths.push_back(xb - previous);
  }
  const int n = static_cast<int>(widths.size());
  s.SliceCount = n;
  const auto un = static_cast<std::size_t>(n);
  for (auto* v : {&s.BoundaryX, &s.BaseYAtBoundary, &s.SurfaceYAtBoundary}) Reset(*v, un + 1);
  for (auto* v : {&s.SliceMidX,        &s.BaseYAtMid,  &s.SliceHeight,        &s.BaseSlope,  &s.SinAlpha,
                  &s.CosAlpha,         &s.BaseLength,  &s.ShearArm,           &s.NormalArm,  &s.WeightArmX,
                  &s.WeightArmY,       &s.SliceWeight, &s.BaseCohesion,       &s.BaseTanPhi, &s.BasePorePressure,
                  &s.LineLoadOnSlice,  &s.LineLoadH,   &s.LineLoadV,          &s.LineLoadN,  &s.LineLoadArm,
                  &s.StripLoadOnSlice, &s.StripLoadN,  &s.AnchorForceOnSlice, &s.AnchorH,    &s.AnchorV,
                  &s.AnchorN,          &s.AnchorArm,   &s.SliceNormalStress}) {
    Reset(*v, un);
  }
  Reset(s.BaseSoil, un);
  s.LineYAtMid.assign(un, static_cast<std::size_t>(m.LineCount), kAbsentLine);
  // The first boundary is where the first slip segment meets the ground.
  double first = s.SlipX.front();
  for (int p = 0; p + 1 < groundPoints; ++p) {
    const double x = s.crossing(g, p, 0);
    if (x != kNoCrossing) {
      first = x;
      break;
    }
  }
  s.BoundaryX[0] = first;
  for (std::size_t i = 1; i <= un; ++i) s.BoundaryX[i] = s.BoundaryX[i - 1] + widths[i - 1];
  return n > 0;
}

// Each slice takes the slip segment it lies on.
void Analysis::sliceGeometry() {
  const int n = s.SliceCount;
  const bool right = facingRight();
  const bool ascending = std::all_of(s.SliceWidth.begin(), s.SliceWidth.end(), [](double b) { return b >= 0.0; });
  int matched = 0;
  for (int j = 0; j + 1 < s.SlipPointCount; ++j) {
    const double xs = s.SlipX[static_cast<std::size_t>(j)], xs1 = s.SlipX[static_cast<std::size_t>(j) + 1];
    const double ms = s.SlipSlope[static_cast<std::size_t>(j)], qs = s.SlipIntercept[static_cast<std::size_t>(j)];
    const int from = matched;
    for (int i = from; i < n; ++i) {
      const auto ui = static_cast<std::size_t>(i);
      const double xl = s.BoundaryX[ui], b = s.SliceWidth[ui];
      // Boundaries only grow left to right: no later slice fits this segment.
      if (ascending && xl + b > xs1 + kMargin) break;
      if (!(xl >= xs - kMargin && xl + b <= xs1 + kMargin)) continue;
      ++matched;
      s.BaseYAtBoundary[ui] = ms * xl + qs;
      if (i == n - 1) s.BaseYAtBoundary[ui + 1] = ms * s.BoundaryX[ui + 1] + qs;
      const double mid = xl + b / 2.0;
      s.SliceMidX[ui] = mid;
      s.BaseYAtMid[ui] = ms * mid + qs;
      s.BaseSlope[ui] = ms;
      const double alpha = std::atan(ms);
      s.SinAlpha[ui] = right ? -std::sin(alpha) : std::sin(alpha);
      s.CosAlpha[ui] = std::cos(alpha);
    }
  }
}

void Analysis::linesAtCentre() {
  const int n = s.SliceCount;
  const int g = ground();
  tallest = 0.0;
  for (int i = 0; i < n; ++i) {
    const auto ui = static_cast<std::size_t>(i);
    const double mid = s.SliceMidX[ui];
    for (int k = 0; k < m.LineCount; ++k) {
      const int segments = m.LinePointCount[static_cast<std::size_t>(k)] - 1;
      for (int p = 0; p < segments; ++p) {
        const double xp = m.LineX[k][p], xp1 = m.LineX[k][p + 1];
        if (xp == xp1 || !(xp <= mid && mid <= xp1)) continue;
        const double mk = m.LineSlope[k][p], qk = m.LineIntercept[k][p];
        s.LineYAtMid[ui][k] = mk * mid + qk;
        if (k == g) {
          s.SurfaceYAtBoundary[ui] = mk * s.BoundaryX[ui] + qk;
          if (i == n - 1) s.SurfaceYAtBoundary[ui + 1] = mk * s.BoundaryX[ui + 1] + qk;
        }
      }
    }
    s.SliceHeight[ui] = s.LineYAtMid[ui][g] - s.BaseYAtMid[ui];
    tallest = std::max(tallest, s.SliceHeight[ui]);
  }
}

bool Analysis::armsAndBaseLength() {
  const int n = s.SliceCount;
  const int g = ground();
  const bool right = facingRight();
  for (int i = 0; i < n; ++i) {
    const auto ui = static_cast<std::size_t>(i);
    const double mid = s.SliceMidX[ui];
    int seg = -1;
    for (int j = s.SlipPointCount - 2; j >= 0; --j) {
      if (s.SlipX[static_cast<std::size_t>(j)] < mid && mid < s.SlipX[static_cast<std::size_t>(j) + 1]) {
        seg = j;
        break;
      }
    }
    if (seg >= 0) {
      const double ms = s.SlipSlope[static_cast<std::size_t>(seg)];
      const double qs = s.SlipIntercept[static_cast<std::size_t>(seg)];
      const double xf = (xc - ms * qs + ms * yc) / (ms * ms + 1.0);
      const double yf = ms * xf + qs;
      s.ShearArm[ui] = std::hypot(xc - xf, yc - yf);
      double normal = std::hypot(mid - xf, s.BaseYAtMid[ui] - yf);
      double weightX = std::fabs(xc - mid);
      if (right) {
        if (mid < xf) normal = -normal;
        if (mid > xc) weightX = -weightX;
      } else {
        if (mid > xf) normal = -normal;
        if (mid < xc) weightX = -weightX;
      }
      s.NormalArm[ui] = normal;
      s.WeightArmX[ui] = weightX;
      const double midHeight = (s.LineYAtMid[ui][g] + s.BaseYAtMid[ui]) / 2.0;
      const double weightY = std::fabs(yc - midHeight);
      s.WeightArmY[ui] = midHeight > yc ? -weightY : weightY;
    }
    if (!(s.CosAlpha[ui] > 0.0)) return false;
    s.BaseLength[ui] = s.SliceWidth[ui] / s.CosAlpha[ui];
  }
  return true;
}

// The slice whose left boundary is at x, within the tolerance of a running
// sum; -1 when none is.
int SliceAtBoundary(const SliceSet& s, double x) {
  const double tolerance = BoundaryTolerance(x);
  auto it = std::lower_bound(s.BoundaryX.begin(), s.BoundaryX.begin() + s.SliceCount, x - tolerance);
  if (it == s.BoundaryX.begin() + s.SliceCount || std::fabs(*it - x) > tolerance) return -1;
  return static_cast<int>(it - s.BoundaryX.begin());
}

void Analysis::lineLoads() {
  if (!m.LineLoadEnabled) return;
  const bool rightOrLevel = s.LeftGroundY >= s.RightGroundY;
  for (int k = 0; k < m.LineLoadCount; ++k) {
    const double xp = m.LineLoadX[static_cast<std::size_t>(k)];
    const int i = SliceAtBoundary(s, xp);
    if (i < 0) continue;
    const auto ui = static_cast<std::size_t>(i);
    const double P = m.LineLoadMagnitude[static_cast<std::size_t>(k)];
    const double thetaDegrees = m.LineLoadAngle[static_cast<std::size_t>(k)];
    const double theta = DegreesToRadians(thetaDegrees);
    s.LineLoadOnSlice[ui] = P;
    s.LineLoadH[ui] = P * std::sin(theta);
    s.LineLoadV[ui] = P * std::cos(theta);
    s.LineLoadN[ui] = P * (std::cos(theta) * s.CosAlpha[ui] - std::sin(theta) * s.SinAlpha[ui]);
    const double yp = s.SurfaceYAtBoundary[ui];
    double xf = xp, yf = yc;  // a vertical load
    if (90.0 - thetaDegrees != 90.0) {
      const double k2 = std::tan(DegreesToRadians(90.0 - thetaDegrees));
      const double q = yp - k2 * xp;
      xf = (xc - k2 * q + yc * k2) / (k2 * k2 + 1.0);
      yf = k2 * xf + q;
    }
    double arm = std::hypot(xc - xf, yc - yf);
    if ((rightOrLevel && xf > xc) || (!rightOrLevel && xf < xc)) arm = -arm;
    s.LineLoadArm[ui] = arm;
  }
}

void Analysis::stripLoads() {
  if (!m.StripLoadEnabled) return;
  for (int i = 0; i < s.SliceCount; ++i) {
    const auto ui = static_cast<std::size_t>(i);
    for (int k = 0; k < m.StripLoadCount; ++k) {
      const auto uk = static_cast<std::size_t>(k);
      if (m.StripLoadBeginX[uk] <= s.SliceMidX[ui] && s.SliceMidX[ui] <= m.StripLoadEndX[uk]) {
        s.StripLoadOnSlice[ui] = m.StripLoadMagnitude[uk] * s.SliceWidth[ui];
        s.StripLoadN[ui] = s.StripLoadOnSlice[ui] * s.CosAlpha[ui];
      }
    }
  }
}

// The force of an anchor on the sliding mass, in the same frame for a slope
// facing either way: its horizontal part counts toward the downhill side
// as it does on a slope that faces right, so a section and its mirror image
// get the same factors.
void Analysis::anchorsPerSlice() {
  if (!m.AnchorEnabled) return;
  const bool right = facingRight();
  const bool rightOrLevel = s.LeftGroundY >= s.RightGroundY;
  for (int k = 0; k < m.AnchorCount; ++k) {
    const auto uk = static_cast<std::size_t>(k);
    const double T = s.AnchorForce[uk];
    if (T == 0.0) continue;
    const double xt = s.AnchorPointX[uk];
    int slice = -1;
    for (int i = 0; i < s.SliceCount; ++i) {
      if (s.BoundaryX[static_cast<std::size_t>(i)] < xt && xt <= s.BoundaryX[static_cast<std::size_t>(i) + 1]) {
        slice = i;
      }
    }
    if (slice < 0) continue;
    const auto ui = static_cast<std::size_t>(slice);
    const double dx = right ? s.AnchorDirX[uk] : -s.AnchorDirX[uk];
    const double dy = s.AnchorDirY[uk];
    s.AnchorForceOnSlice[ui] = T;
    s.AnchorH[ui] = T * dx;
    s.AnchorV[ui] = T * dy;
    s.AnchorN[ui] = T * (s.SinAlpha[ui] * dx + s.CosAlpha[ui] * dy);
    // Foot of the perpendicular from the centre on the anchor's line.
    const double Xs = m.AnchorXStart[uk], Ys = m.AnchorYStart[uk];
    const double ka = (Ys - m.AnchorYEnd[uk]) / (Xs - m.AnchorXEnd[uk]);
    const double qa = Ys - ka * Xs;
    const double xf = (xc - ka * qa + ka * yc) / (ka * ka + 1.0);
    const double yf = ka * xf + qa;
    double arm = std::hypot(xc - xf, yc - yf);
    if ((rightOrLevel && xf < xc) || (!rightOrLevel && xf > xc)) arm = -arm;
    s.AnchorArm[ui] = arm;
  }
}

// Each band between consecutive lines present at the centre line, clipped at
// the base, weighs with the unit weight of the soil below its upper line.
// The base lies in the soil of the lowest band. A sliver (no line more than
// kMargin above its base, where the surface enters or leaves the ground)
// has no band: its base takes the soil just under the ground at its mid, as
// the ground line would give it, not the lowest soil.
void Analysis::weightAndBaseSoil() {
  const int g = ground();
  for (int i = 0; i < s.SliceCount; ++i) {
    const auto ui = static_cast<std::size_t>(i);
    const double* y = s.LineYAtMid[ui];
    const double b = s.SliceWidth[ui];
    int t = 0;
    bool inside = false, based = false;
    int groundSoil = -1;
    double weight = 0.0;
    for (int k = 0; k < m.LineCount; ++k) {
      if (y[k] == kAbsentLine) {
        ++t;
        continue;
      }
      if (k == g) groundSoil = k - t;
      if (s.SliceHeight[ui] - kMargin > y[g] - y[k]) {
        double below;
        if (!inside) {
          below = s.BaseYAtMid[ui];
          s.BaseSoil[ui] = k - t;
          inside = true;
          based = true;
        } else {
          below = y[k - t];
        }
        weight += (y[k] - below) * b * m.SoilUnitWeight[static_cast<std::size_t>(k - t)];
      } else {
        inside = false;
      }
      t = 1;
    }
    if (!based && groundSoil >= 0) s.BaseSoil[ui] = groundSoil;
    s.SliceWeight[ui] = weight;
  }
}

// tan(phi) of a Mohr-Coulomb soil, worked out once per surface for the
// soils its bases lie in (the same value as on every slice).
double Analysis::tanPhiOf(std::size_t soil) {
  if (soil >= kKnownSoils) return std::tan(DegreesToRadians(m.SoilPhi[soil]));
  if (!(knownTanPhi & (std::uint64_t{1} << soil))) {
    soilTanPhi[soil] = std::tan(DegreesToRadians(m.SoilPhi[soil]));
    knownTanPhi |= std::uint64_t{1} << soil;
  }
  return soilTanPhi[soil];
}

void Analysis::strength() {
  const bool advanced = m.AdvancedAnisoEnabled && m.AdvancedAnisoMaxRows > 0;
  if (m.StrengthModel == 1) {
    s.AdvancedAnisoPhiVAt.resize(static_cast<std::size_t>(m.SoilCount));
    s.AdvancedAnisoPhiHAt.resize(static_cast<std::size_t>(m.SoilCount));
  }
  for (int i = 0; i < s.SliceCount; ++i) {
    const auto ui = static_cast<std::size_t>(i);
    const auto soil = static_cast<std::size_t>(s.BaseSoil[ui]);
    if (m.StrengthModel == 1) {
      const double sin2 = s.SinAlpha[ui] * s.SinAlpha[ui];
      const double cos2 = s.CosAlpha[ui] * s.CosAlpha[ui];
      s.BaseCohesion[ui] = m.SoilCv[soil] * sin2 + m.SoilCh[soil] * cos2;
      double phiV = m.SoilPhiV[soil], phiH = m.SoilPhiH[soil];
      if (advanced && m.AdvancedAnisoRowCount[soil] != 0) {
        const double sigma = s.SliceWeight[ui] * cos2 / s.SliceWidth[ui];
        s.SliceNormalStress[ui] = sigma;
        phiV = 0.0;
        phiH = 0.0;
        for (int r = 0; r < m.AdvancedAnisoRowCount[soil]; ++r) {
          if (m.AdvancedAnisoNormalStress[soil][r] <= sigma) {
            phiV = m.AdvancedAnisoPhiV[soil][r];
            phiH = m.AdvancedAnisoPhiH[soil][r];
          }
        }
        s.AdvancedAnisoPhiVAt[soil] = phiV;
        s.AdvancedAnisoPhiHAt[soil] = phiH;
      }
      s.BaseTanPhi[ui] = std::tan(DegreesToRadians(phiH * cos2 + phiV * sin2));
    } else {
      s.BaseCohesion[ui] = m.SoilCohesion[soil];
      s.BaseTanPhi[ui] = tanPhiOf(soil);
    }
  }
}

// Slices without strength (water in front of the toe, say) are counted; with
// a water line they leave the equilibrium and the surface starts or ends at
// the first slice with strength.
bool Analysis::zeroStrengthZone() {
  const int n = s.SliceCount;
  auto weak = [&](int i) {
    return s.BaseCohesion[static_cast<std::size_t>(i)] == 0.0 && s.BaseTanPhi[static_cast<std::size_t>(i)] == 0.0;
  };
  int count = 0;
  for (int i = 0; i < n; ++i) {
    if (!weak(i)) continue;
    ++count;
    if (m.SeepageKind != 1) continue;
    if (i < n - 1 && !weak(i + 1)) {
      s.EntryX = s.BoundaryX[static_cast<std::size_t>(i) + 1];
      s.EntryY = s.BaseYAtBoundary[static_cast<std::size_t>(i) + 1];
      s.ActiveFirst = i + 1;
    }
    if (i > 0 && !weak(i - 1)) {
      s.ExitX = s.BoundaryX[static_cast<std::size_t>(i)];
      s.ExitY = s.BaseYAtBoundary[static_cast<std::size_t>(i)];
      s.ActiveEnd = i;
    }
  }
  // n / 2 rounded to the nearest integer, halves to even.
  const int half = (n % 2 == 0) ? n / 2 : ((n / 2) % 2 == 0 ? n / 2 : n / 2 + 1);
  return count <= half;
}

void Analysis::crackCut() {
  if (!m.TensionCrackEnabled) return;
  const bool right = facingRight();
  double xk = s.CrackSlotX[right ? 1 : 0];
  // The crack point is a slice boundary: take it as exactly that boundary.
  const int at = SliceAtBoundary(s, xk);
  if (at >= 0) xk = s.BoundaryX[static_cast<std::size_t>(at)];
  for (int l = 0; l + 1 < s.SliceCount; ++l) {
    if (s.BoundaryX[static_cast<std::size_t>(l)] < xk && xk < s.BoundaryX[static_cast<std::size_t>(l) + 2]) {
      if (right) {
        s.ActiveFirst = l + 1;
      } else {
        s.ActiveEnd = l + 1;
      }
    }
  }
}

void Analysis::waterThrusts() {
  s.ThrustAtEnd = s.ThrustAtEndArm = s.ThrustAtFirst = s.ThrustAtFirstArm = 0.0;
  if (m.SeepageKind != 1) return;
  const auto E = static_cast<std::size_t>(s.ActiveEnd), F = static_cast<std::size_t>(s.ActiveFirst);
  const double gw = m.WaterUnitWeight;
  const double hE = s.SurfaceYAtBoundary[E] - s.BaseYAtBoundary[E];
  const double hF = s.SurfaceYAtBoundary[F] - s.BaseYAtBoundary[F];
  const double armE = yc - s.BaseYAtBoundary[E] - hE / 3.0;
  const double armF = yc - s.BaseYAtBoundary[F] - hF / 3.0;
  if (s.LeftGroundY > s.RightGroundY) {
    s.ThrustAtEnd = -0.5 * gw * hE * hE;
    s.ThrustAtEndArm = armE;
  } else if (s.LeftGroundY < s.RightGroundY) {
    s.ThrustAtFirst = -0.5 * gw * hF * hF;
    s.ThrustAtFirstArm = armF;
  } else {
    s.ThrustAtEnd = 0.5 * gw * hE * hE;
    s.ThrustAtEndArm = armE;
    s.ThrustAtFirst = 0.5 * gw * hF * hF;
    s.ThrustAtFirstArm = armF;
    if (s.ThrustAtEnd >= s.ThrustAtFirst) {
      s.ThrustAtEnd = -s.ThrustAtEnd;
    } else {
      s.ThrustAtFirst = -s.ThrustAtFirst;
    }
  }
}

void Analysis::crackThrust() {
  if (!m.TensionCrackEnabled) return;
  const double p = m.TensionCrackWaterPercent / 100.0;
  const double gt = m.TensionCrackWaterUnitWeight;
  if (facingRight()) {
    const auto F = static_cast<std::size_t>(s.ActiveFirst);
    const double h = (s.SurfaceYAtBoundary[F] - s.BaseYAtBoundary[F]) * p;
    s.ThrustAtFirst = 0.5 * gt * h * h;
    s.ThrustAtFirstArm = yc - s.BaseYAtBoundary[F] - h / 3.0;
  } else {
    const auto E = static_cast<std::size_t>(s.ActiveEnd);
    const double h = (s.SurfaceYAtBoundary[E] - s.BaseYAtBoundary[E]) * p;
    s.ThrustAtEnd = 0.5 * gt * h * h;
    s.ThrustAtEndArm = yc - s.BaseYAtBoundary[E] - h / 3.0;
  }
}

// The water line's y at x, on the first of its segments that holds x.
double Analysis::waterLineY(double x, bool& found) const {
  for (int j = 0; j + 1 < m.WaterLinePointCount; ++j) {
    const double xa = m.WaterLineX[static_cast<std::size_t>(j)], xb = m.WaterLineX[static_cast<std::size_t>(j) + 1];
    if (!(xa <= x && x <= xb)) continue;
    found = true;
    const double ya = m.WaterLineY[static_cast<std::size_t>(j)], yb = m.WaterLineY[static_cast<std::size_t>(j) + 1];
    if (xa == xb) return std::max(ya, yb);
    return ya + (yb - ya) * (x - xa) / (xb - xa);
  }
  found = false;
  return 0.0;
}

// Pore pressure at each base. Where the water line does not reach a slice
// there is no water: the slice gets u = 0.
void Analysis::porePressure() {
  if (m.SeepageKind == 1) {
    const double gw = m.WaterUnitWeight;
    for (int i = 0; i < s.SliceCount; ++i) {
      const auto ui = static_cast<std::size_t>(i);
      bool found = false;
      const double yw = waterLineY(s.SliceMidX[ui], found);
      if (!found) continue;
      double head = yw - s.BaseYAtMid[ui];
      if (m.WaterLineKind == 1) {
        bool foundL = false, foundR = false;
        double yl = waterLineY(s.BoundaryX[ui], foundL);
        double yr = waterLineY(s.BoundaryX[ui + 1], foundR);
        if (!foundL) yl = yw;
        if (!foundR) yr = yw;
        const double b = s.SliceWidth[ui];
        const double cosBeta = b == 0.0 ? 1.0 : b / std::sqrt(b * b + (yr - yl) * (yr - yl));
        head *= cosBeta * cosBeta;
      }
      if (head > 0.0) s.BasePorePressure[ui] = head * gw;
    }
  } else if (m.SeepageKind == 2) {
    for (int i = 0; i < s.SliceCount; ++i) {
      const auto ui = static_cast<std::size_t>(i);
      double ru = m.RuAverage;
      if (m.RuCondition == 1) {
        const auto soil = static_cast<std::size_t>(s.BaseSoil[ui]);
        ru = soil < m.RuVariable.size() ? m.RuVariable[soil] : 0.0;
      }
      s.BasePorePressure[ui] = ru * s.SliceWeight[ui] / s.BaseLength[ui];
    }
  }
}

// Spencer's assumption (a constant interslice function) solved by the
// rigorous root-finder, for a surface on which the walk gave no factor:
// more than 100 steps at one lambda, the factors never meeting or running
// off. The factor passes the walk's own checks: positive, at most 100, and
// within a factor of 3 of Bishop's; where the root-finder finds none, the
// walk's code stays.
void Analysis::robustSpencer() {
  const RigorousResult r = MorgensternPrice(s, m.SeismicKh, m.SeismicKv, IntersliceShape{});
  if (r.outcome != RigorousOutcome::Converged) return;
  s.SpencerLambda = r.lambda;
  s.FsSpencer = std::fabs(s.FsBishop / r.F) > 3.0 ? ResultValue(ResultCode::Invalid) : r.F;
}

void Analysis::run() {
  ClearFaults();
  s.SliceCount = 0;
  n0 = m.SliceCountInput;
  const bool irregular = m.AnalysisTheory == 2;
  if (n0 <= 0 || !modelUsable()) return reject(ResultCode::ArithmeticFault);

  if (irregular) {
    if (!takePolyline()) return reject(ResultCode::BaseOffSurface);
  } else {
    if (!circleMeetsGround()) return reject(faulted() ? ResultCode::ArithmeticFault : ResultCode::MissesGround);
    buildChords();
  }
  slipSegments();
  crossings();
  crackPoint();
  anchorPoints();
  if (faulted()) return reject(ResultCode::ArithmeticFault);

  if (!layout()) return reject(ResultCode::BaseOffSurface);
  sliceGeometry();
  linesAtCentre();
  const bool based = armsAndBaseLength();
  if (faulted()) return reject(ResultCode::ArithmeticFault);
  if (!based) return reject(ResultCode::BaseOffSurface);

  lineLoads();
  stripLoads();
  anchorsPerSlice();
  s.ActiveFirst = 0;
  s.ActiveEnd = s.SliceCount;
  if (faulted()) return reject(ResultCode::ArithmeticFault);
  if (!(tallest > m.DepthTallest)) return reject(ResultCode::TooShallow);
  weightAndBaseSoil();

  strength();
  const bool strong = zeroStrengthZone();
  if (faulted()) return reject(ResultCode::ArithmeticFault);
  if (!strong) return reject(ResultCode::NoStrength);
  crackCut();
  waterThrusts();
  crackThrust();
  porePressure();
  if (faulted()) return reject(ResultCode::ArithmeticFault);

  ComputeFactorsOfSafety(s, m.SeismicKh, m.SeismicKv, m.PassCriteria);
  if (m.RobustSpencer && !(s.FsSpencer < ResultValue(ResultCode::Invalid))) robustSpencer();
  if (faulted() || !std::isfinite(s.FsOrdinary) || !std::isfinite(s.FsJanbu) || !std::isfinite(s.FsBishop) ||
      !std::isfinite(s.FsSpencer)) {
    reject(ResultCode::ArithmeticFault);
  }
}

}  // namespace

void AnalyseSlipSurface(const AnalysisModel& model, double centerX, double centerY, SliceSet& slices,
                        const SurfaceOptions& options) {
  AnalyseSlipSurface(model, centerX, centerY, model.TrialRadius, slices, options);
}

void AnalyseSlipSurface(const AnalysisModel& model, double centerX, double centerY, double radius, SliceSet& slices,
                        const SurfaceOptions& options) {
  Analysis analysis(model, centerX, centerY, radius, slices, options);
  analysis.run();
}

}  // namespace pelodyn
