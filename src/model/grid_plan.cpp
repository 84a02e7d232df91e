#include "model/grid_plan.h"

#include <algorithm>
#include <cmath>

#include "model/numbers.h"

namespace pelodyn {
namespace {

// The sum beyond which a count is no longer followed: far beyond any store.
constexpr long long kCountCap = 1000000000000000000LL;

// Distance from C to the segment from P to Q of a line with slope m and
// intercept q (m the vertical sentinel for a vertical segment).
double DistanceToSegment(double xc, double yc, double xp, double yp, double xq, double yq, double m, double q) {
  if (m != kVerticalSlope) {
    const double xf = ((yc - q) * m + xc) / (m * m + 1.0);
    if (xf < xp) return std::hypot(xc - xp, yc - yp);
    if (xf > xq) return std::hypot(xc - xq, yc - yq);
    return std::hypot(xc - xf, yc - (m * xf + q));
  }
  if (yc < yp) return std::hypot(xc - xp, yc - yp);
  if (yc <= yq) return std::fabs(xc - xp);
  return std::hypot(xc - xq, yc - yq);
}

}  // namespace

void CircleRadiusRange(const AnalysisModel& md, double xc, double yc, double& maxRadiusOut, double& minRadiusOut) {
  auto segmentDistance = [&](int line, int p) {
    const auto k = static_cast<std::size_t>(line);
    return DistanceToSegment(xc, yc, md.LineX[k][p], md.LineY[k][p], md.LineX[k][p + 1], md.LineY[k][p + 1],
                             md.LineSlope[k][p], md.LineIntercept[k][p]);
  };
  const int g = md.LineCount - 1;
  const int groundPoints = md.LinePointCount[static_cast<std::size_t>(g)];
  const double t = std::min(std::hypot(xc - md.LineX[g][0], yc - md.LineY[g][0]),
                            std::hypot(xc - md.LineX[g][groundPoints - 1], yc - md.LineY[g][groundPoints - 1]));
  double maxRadius = 999999.0;
  if (md.BottomLineChoice == 0) {
    const int line = md.BottomLineNo - 1;
    if (line >= 0 && line < md.LineCount) {
      for (int p = 0; p + 1 < md.LinePointCount[static_cast<std::size_t>(line)]; ++p) {
        maxRadius = std::min(maxRadius, segmentDistance(line, p));
      }
    }
  } else {
    for (int k = 0; k < md.BottomLineCount; ++k) {
      const int line = md.BottomLineLineNo[static_cast<std::size_t>(k)] - 1;
      if (line < 0 || line >= md.LineCount) continue;
      const int points = md.LinePointCount[static_cast<std::size_t>(line)];
      const int last = std::min(md.BottomLineEndPoint[static_cast<std::size_t>(k)], points) - 1;
      for (int p = std::max(md.BottomLineBeginPoint[static_cast<std::size_t>(k)] - 1, 0); p < last; ++p) {
        maxRadius = std::min(maxRadius, segmentDistance(line, p));
      }
    }
  }
  double minRadius = 999999.0;
  for (int p = 0; p + 1 < groundPoints; ++p) minRadius = std::min(minRadius, segmentDistance(g, p));
  maxRadiusOut = std::min(maxRadius, t);
  minRadiusOut = std::min(minRadius, t);
}

long long FanCircleCount(double maxRadius, double minRadius, int circles, double decrement) {
  if (!(maxRadius > minRadius)) return 0;
  if (!(decrement > 0.0)) return std::max(circles, 0);
  // Rounded as the fan rounds it (std::nearbyint); a count beyond any store
  // is kept from overflowing.
  const double count = std::nearbyint((maxRadius - minRadius) / decrement);
  if (!(count < 1e18)) return kCountCap;
  return std::max(static_cast<long long>(count), 0LL);
}

CircleFan PlanCircleFan(const AnalysisModel& md, double maxRadius, double minRadius) {
  CircleFan fan;
  fan.maxRadius = maxRadius;
  fan.minRadius = minRadius;
  fan.step = md.RadiusDecrement > 0.0 ? md.RadiusDecrement : (maxRadius - minRadius) / md.CircleCount;
  fan.circles = FanCircleCount(maxRadius, minRadius, md.CircleCount, md.RadiusDecrement);
  return fan;
}

CircleFan PlanCircleFanAt(const AnalysisModel& md, double xc, double yc) {
  double maxRadius = 0.0, minRadius = 0.0;
  CircleRadiusRange(md, xc, yc, maxRadius, minRadius);
  return PlanCircleFan(md, maxRadius, minRadius);
}

GridPlan::GridPlan(const AnalysisModel& md) : m_model(md) {
  m_columns = std::max(md.GridDivision12 + 1, 0);
  m_rows = std::max(md.GridDivision23 + 1, 0);
  m_x1 = md.GridCornerX[0];
  m_y1 = md.GridCornerY[0];
  m_d12x = md.GridDivision12 >= 1 ? (md.GridCornerX[1] - m_x1) / md.GridDivision12 : 0.0;
  m_d12y = md.GridDivision12 >= 1 ? (md.GridCornerY[1] - m_y1) / md.GridDivision12 : 0.0;
  m_d23x = md.GridDivision23 >= 1 ? (md.GridCornerX[2] - md.GridCornerX[1]) / md.GridDivision23 : 0.0;
  m_d23y = md.GridDivision23 >= 1 ? (md.GridCornerY[2] - md.GridCornerY[1]) / md.GridDivision23 : 0.0;
}

long long GridPlan::plannedTrials() const {
  if (m_model.RadiusDecrement > 0.0) return 0;
  return centreCount() * static_cast<long long>(m_model.CircleCount);
}

long long GridPlan::circleTotal() const {
  long long total = 0;
  for (long long f = 0; f < m_rows; ++f) {
    for (long long j = 0; j < m_columns; ++j) {
      const auto [x, y] = centre(f, j);
      total += PlanCircleFanAt(m_model, x, y).circles;
      if (total > kCountCap) return total;
    }
  }
  return total;
}

long long GridCircleTotal(const AnalysisModel& md) {
  if (md.LineCount < 1) return 0;
  if (md.LinePointCount[static_cast<std::size_t>(md.LineCount - 1)] < 1) return 0;
  return GridPlan(md).circleTotal();
}

}  // namespace pelodyn
