// The plan of a circular grid search, worked out from the collected model
// alone: where the grid's centres lie, the fan of radii about a centre and
// the trials the search is to make. The sequential and the parallel search,
// the progress, the run's planned total, the collection's limit on stored
// circles and the FS contours all place the same centres and radii from
// here, in the same order of operations, so a centre lands on the same
// double wherever it is computed.
#pragma once

#include <utility>

#include "model/analysis_model.h"

namespace pelodyn {

// The radii a circle about (xc, yc) may take in the collected section:
// maxRadius, the distance to the bottom line, and minRadius, to the ground
// line, both at most the distance to the nearer end of the ground line.
// The lines, their slopes and the bottom line must have been collected.
void CircleRadiusRange(const AnalysisModel& model, double xc, double yc, double& maxRadius, double& minRadius);

// The circles of the fan about a centre with this radius range: the range
// divided by `decrement` when that is positive (circles by Radius
// Decrement), rounded as the fan rounds it, else `circles` (No. of Circle);
// 0 for an empty range. The fan stops early only when rounding leaves its
// last radius at the smallest, so this is what it makes or one more.
long long FanCircleCount(double maxRadius, double minRadius, int circles, double decrement);

// The fan of circles about one centre: from maxRadius down by `step`, at
// most `circles` of them, ending before a radius at or below minRadius.
// Radii are stepped by repeated subtraction (maxRadius, maxRadius - step,
// ...), which is what every search and the Results rows hold.
struct CircleFan {
  double maxRadius = 0.0, minRadius = 0.0;
  double step = 0.0;
  long long circles = 0;
};

// The fan for a radius range by the model's circle rule: by Radius
// Decrement when RadiusDecrement is above 0 (the collection sets it only
// then), else CircleCount circles spread over the range.
CircleFan PlanCircleFan(const AnalysisModel& model, double maxRadius, double minRadius);
// The same about the centre (xc, yc), with its radius range.
CircleFan PlanCircleFanAt(const AnalysisModel& model, double xc, double yc);

// The grid of centres: corner 1 + f x (corner 3 - corner 2) / Division 2-3
// + j x (corner 2 - corner 1) / Division 1-2 for f = 0 .. Division 2-3 and
// j = 0 .. Division 1-2, row by row (f outer, j inner). A division below 1
// leaves that direction at corner 1's row or column; a negative one leaves
// no centre at all.
class GridPlan {
 public:
  explicit GridPlan(const AnalysisModel& model);

  // Centres along a row (side 1-2) and rows (side 2-3); 0 for a negative
  // division.
  long long columns() const { return m_columns; }
  long long rows() const { return m_rows; }
  long long centreCount() const { return m_columns * m_rows; }
  // Centre (f, j): row f, column j.
  std::pair<double, double> centre(long long f, long long j) const {
    return {m_x1 + f * m_d23x + j * m_d12x, m_y1 + f * m_d23y + j * m_d12y};
  }
  // Centre number k (0-based) in search order.
  std::pair<double, double> centre(long long k) const { return centre(k / m_columns, k % m_columns); }

  // The trials the grid search plans before it starts, as its progress
  // counts them: every centre with No. of Circle circles. Circles by Radius
  // Decrement are not known before each centre's range is: 0 then.
  long long plannedTrials() const;
  // The circles the grid's fans make, summed centre by centre with each
  // centre's own radius range: the Results rows of a grid search before
  // any pattern walk. No circle is analysed; the cost is a radius range per
  // centre. Stops counting once the sum passes 1e18.
  long long circleTotal() const;

 private:
  const AnalysisModel& m_model;
  long long m_columns = 0, m_rows = 0;
  double m_x1 = 0.0, m_y1 = 0.0;
  double m_d12x = 0.0, m_d12y = 0.0, m_d23x = 0.0, m_d23y = 0.0;
};

// GridPlan(model).circleTotal(), or 0 when the model has no ground line.
long long GridCircleTotal(const AnalysisModel& model);

}  // namespace pelodyn
