// Whether the minima of a grid search lie on the grid's edges, and the
// warning that says so.
#include <array>
#include <cmath>

#include "engine/search.h"
#include "engine/search_internal.h"
#include "texts/messages.h"

namespace pelodyn {
namespace {

struct Vec {
  double x, y;
};

// A pair of opposite sides of the grid: the first and the last rows
// (separated by corner 3 - corner 2) or the first and the last columns
// (separated by corner 2 - corner 1). `low` and `high` name the side at
// position 0 and at position 1 across the pair.
struct SidePair {
  bool active = false;
  Vec across{0.0, 0.0};
  RunWarning::Edge low = RunWarning::Edge::Lower, high = RunWarning::Edge::Upper;
};

// How far apart the pair lies in Y against in X, as a share of its length:
// |y| / |across|, compared without the division.
bool MoreVertical(const Vec& a, const Vec& b) {
  return std::fabs(a.y) * std::hypot(b.x, b.y) >= std::fabs(b.y) * std::hypot(a.x, a.y);
}

// Names the sides of a pair from their midpoints (`lowMid` at position 0).
void NameSides(SidePair& pair, bool vertical, const Vec& lowMid, const Vec& highMid) {
  using Edge = RunWarning::Edge;
  if (vertical) {
    const bool lowIsLower = lowMid.y <= highMid.y;
    pair.low = lowIsLower ? Edge::Lower : Edge::Upper;
    pair.high = lowIsLower ? Edge::Upper : Edge::Lower;
  } else {
    const bool lowIsLeft = lowMid.x <= highMid.x;
    pair.low = lowIsLeft ? Edge::Left : Edge::Right;
    pair.high = lowIsLeft ? Edge::Right : Edge::Left;
  }
}

}  // namespace

std::vector<RunWarning> GridEdgeWarnings(const AnalysisModel& md, const RunState& run) {
  // A minimum this close to an edge, as a share of the grid across it, is on
  // it: far below one division (at most 1000 of them), far above rounding.
  constexpr double kOnEdge = 1e-6;
  std::vector<RunWarning> out;
  const Vec p1{md.GridCornerX[0], md.GridCornerY[0]};
  const Vec u{md.GridCornerX[1] - p1.x, md.GridCornerY[1] - p1.y};                            // along a row
  const Vec v{md.GridCornerX[2] - md.GridCornerX[1], md.GridCornerY[2] - md.GridCornerY[1]};  // along a column
  SidePair rows, columns;
  rows.active = md.GridDivision23 >= 1 && (v.x != 0.0 || v.y != 0.0);
  rows.across = v;
  columns.active = md.GridDivision12 >= 1 && (u.x != 0.0 || u.y != 0.0);
  columns.across = u;
  if (!rows.active && !columns.active) return out;
  const double det = u.x * v.y - u.y * v.x;
  if (rows.active && columns.active && det == 0.0) return out;  // the corners on one line: no grid to extend

  // Which pair is Lower and Upper.
  bool rowsVertical, columnsVertical;
  if (rows.active && columns.active) {
    rowsVertical = MoreVertical(v, u);
    columnsVertical = !rowsVertical;
  } else {
    rowsVertical = std::fabs(v.y) >= std::fabs(v.x);
    columnsVertical = std::fabs(u.y) >= std::fabs(u.x);
  }
  // Midpoints: first row p1 + u/2, last row p1 + v + u/2; first column
  // p1 + v/2, last column p1 + u + v/2.
  NameSides(rows, rowsVertical, {p1.x + u.x / 2, p1.y + u.y / 2}, {p1.x + v.x + u.x / 2, p1.y + v.y + u.y / 2});
  NameSides(columns, columnsVertical, {p1.x + v.x / 2, p1.y + v.y / 2}, {p1.x + u.x + v.x / 2, p1.y + u.y + v.y / 2});

  for (int method = Ordinary; method <= Spencer; ++method) {
    const MethodMinimum& min = run.Minimum[static_cast<std::size_t>(method)];
    if (!search_internal::Selected(md, method) || !(min.Fs < kNoFactor)) continue;
    const Vec c{min.CenterX - p1.x, min.CenterY - p1.y};
    // The centre as p1 + a u + b v: a across the columns, b across the rows.
    double a = 0.0, b = 0.0;
    if (rows.active && columns.active) {
      a = (c.x * v.y - c.y * v.x) / det;
      b = (u.x * c.y - u.y * c.x) / det;
    } else if (columns.active) {
      a = (c.x * u.x + c.y * u.y) / (u.x * u.x + u.y * u.y);
    } else {
      b = (c.x * v.x + c.y * v.y) / (v.x * v.x + v.y * v.y);
    }
    std::array<bool, 4> on{};  // by Edge
    auto mark = [&](const SidePair& pair, double position) {
      if (!pair.active) return;
      if (position <= kOnEdge) on[static_cast<std::size_t>(pair.low)] = true;
      if (position >= 1.0 - kOnEdge) on[static_cast<std::size_t>(pair.high)] = true;
    };
    mark(rows, b);
    mark(columns, a);
    for (std::size_t e = 0; e < on.size(); ++e) {
      if (on[e]) out.push_back({method, static_cast<RunWarning::Edge>(e)});
    }
  }
  return out;
}

std::string RunWarningText(const RunWarning& warning, std::uint8_t language) {
  const std::string_view pattern = GridEdgeWarningPattern(language);
  if (pattern.empty()) return {};
  return FormatText(pattern,
                    {MethodName(language, warning.method), GridEdgeName(language, static_cast<int>(warning.edge))});
}

}  // namespace pelodyn
