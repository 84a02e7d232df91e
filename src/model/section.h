// The section as its working tables describe it: the boundary lines, the
// water line, the line and strip loads, the tension crack and the anchors,
// each in world units. The collection, the screen, the printed drawing page
// and the drawing tool all read the section here, so every one of them
// draws and analyses the same lines.
//
// One rule places the rows of a numbered table (the points of a line, of
// the water line and of the crack by "Point No.", the loads and anchors by
// "Load No."): rows are taken by increasing number, rows of equal number in
// table order; a number below 1 has no place and is left out. A gap in the
// numbers closes up: the line goes on from the point before the gap to the
// point after it. A repeated number keeps both rows, in table order. The
// collection refuses a section with a gap or a repeat before a run (it
// names them), and its line arrays hold each point at its own number;
// drawing them shows what the tables hold.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "model/working_store.h"

namespace pelodyn {

// The order in which the rule takes rows with these numbers: the indexes of
// `numbers`, by increasing number, equal numbers in their order here,
// numbers below 1 left out.
std::vector<std::size_t> NumberedOrder(const std::vector<int>& numbers);

using SectionPolyline = std::vector<std::pair<double, double>>;

// One boundary line: its points by the rule, with the number of each.
struct BoundaryLine {
  SectionPolyline points;
  std::vector<int> numbers;  // "Point No." of each point, ascending
  // The largest "Point No." of the line (0 without points): what a complete
  // line has as many points as.
  int largestNumber() const { return numbers.empty() ? 0 : numbers.back(); }
  // True when the line's numbers run 1, 2, ... without a gap or a repeat.
  bool complete() const;
};

// Geometry line numbers run from 1 to 99; the mouse editor uses the numbers
// from 101 up for its other drawing targets.
inline constexpr int kMaxBoundaryLine = 99;

// The boundary lines of the Geometry rows: line k at index k - 1, for k = 1
// to the largest "Line No." (at most `lineLimit`); a line without rows is
// empty. Rows of a line number below 1 or above the limit belong to none.
std::vector<BoundaryLine> ReadBoundaryLines(const std::vector<Row>& geometry, int lineLimit = kMaxBoundaryLine);
// The same from the store's Geometry table.
std::vector<BoundaryLine> ReadBoundaryLines(const WorkingStore& store, int lineLimit = kMaxBoundaryLine);

// The other items of the section, each table by the rule.
struct SectionLineLoad {
  double x = 0.0, y = 0.0;
  double angle = 0.0;  // degrees from the vertical, as the table holds it
  double magnitude = 0.0;
};
struct SectionStripLoad {
  double beginX = 0.0, endX = 0.0, y1 = 0.0, y2 = 0.0;
  double magnitude = 0.0;
};
struct SectionAnchor {
  double xStart = 0.0, yStart = 0.0, xEnd = 0.0, yEnd = 0.0;
  double bondedLength = 0.0;
  double magnitude = 0.0;
};
SectionPolyline ReadWaterLine(const WorkingStore& store);
SectionPolyline ReadTensionCrack(const WorkingStore& store);
std::vector<SectionLineLoad> ReadLineLoads(const WorkingStore& store);
std::vector<SectionStripLoad> ReadStripLoads(const WorkingStore& store);
std::vector<SectionAnchor> ReadAnchors(const WorkingStore& store);

}  // namespace pelodyn
