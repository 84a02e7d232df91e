#include "model/section.h"

#include <algorithm>
#include <numeric>

namespace pelodyn {
namespace {

// The rows of `table` by the rule, on their `field`.
template <FieldKey F>
std::vector<Row> ByNumber(const WorkingStore& store, Table table, F field) {
  std::vector<Row> rows = store.rows(table);
  std::vector<int> numbers;
  numbers.reserve(rows.size());
  for (const Row& r : rows) numbers.push_back(r.integer(field));
  std::vector<Row> out;
  for (std::size_t i : NumberedOrder(numbers)) out.push_back(std::move(rows[i]));
  return out;
}

SectionPolyline PointsByNumber(const WorkingStore& store, Table table) {
  SectionPolyline out;
  for (const Row& r : ByNumber(store, table, PointField::PointNo))
    out.emplace_back(r.real(PointField::X), r.real(PointField::Y));
  return out;
}

}  // namespace

std::vector<std::size_t> NumberedOrder(const std::vector<int>& numbers) {
  std::vector<std::size_t> order;
  order.reserve(numbers.size());
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    if (numbers[i] >= 1) order.push_back(i);
  }
  std::stable_sort(order.begin(), order.end(),
                   [&numbers](std::size_t a, std::size_t b) { return numbers[a] < numbers[b]; });
  return order;
}

bool BoundaryLine::complete() const {
  for (std::size_t k = 0; k < numbers.size(); ++k) {
    if (numbers[k] != static_cast<int>(k) + 1) return false;
  }
  return true;
}

std::vector<BoundaryLine> ReadBoundaryLines(const std::vector<Row>& geometry, int lineLimit) {
  int lineCount = 0;
  for (const Row& r : geometry) lineCount = std::max(lineCount, r.integer(GeometryField::LineNo));
  lineCount = std::min(lineCount, lineLimit);
  std::vector<BoundaryLine> lines(static_cast<std::size_t>(std::max(lineCount, 0)));
  if (lines.empty()) return lines;
  // Each line's rows in table order, then by the rule.
  std::vector<std::vector<std::size_t>> rowsOf(lines.size());
  for (std::size_t i = 0; i < geometry.size(); ++i) {
    const int line = geometry[i].integer(GeometryField::LineNo);
    if (line >= 1 && line <= lineCount) rowsOf[static_cast<std::size_t>(line - 1)].push_back(i);
  }
  for (std::size_t k = 0; k < lines.size(); ++k) {
    std::vector<int> numbers;
    numbers.reserve(rowsOf[k].size());
    for (std::size_t i : rowsOf[k]) numbers.push_back(geometry[i].integer(GeometryField::PointNo));
    BoundaryLine& line = lines[k];
    for (std::size_t j : NumberedOrder(numbers)) {
      const Row& r = geometry[rowsOf[k][j]];
      line.points.emplace_back(r.real(GeometryField::X), r.real(GeometryField::Y));
      line.numbers.push_back(numbers[j]);
    }
  }
  return lines;
}

std::vector<BoundaryLine> ReadBoundaryLines(const WorkingStore& store, int lineLimit) {
  return ReadBoundaryLines(store.rows(Table::Geometry), lineLimit);
}

SectionPolyline ReadWaterLine(const WorkingStore& store) {
  return PointsByNumber(store, Table::Waterline);
}

SectionPolyline ReadTensionCrack(const WorkingStore& store) {
  return PointsByNumber(store, Table::Tcrack);
}

std::vector<SectionLineLoad> ReadLineLoads(const WorkingStore& store) {
  std::vector<SectionLineLoad> out;
  for (const Row& r : ByNumber(store, Table::Lineload, LoadCommonField::LoadNo)) {
    out.push_back({r.real(LineLoadField::X), r.real(LineLoadField::Y), r.real(LineLoadField::Angle),
                   r.real(LineLoadField::Magnitude)});
  }
  return out;
}

std::vector<SectionStripLoad> ReadStripLoads(const WorkingStore& store) {
  std::vector<SectionStripLoad> out;
  for (const Row& r : ByNumber(store, Table::Stripload, LoadCommonField::LoadNo)) {
    out.push_back({r.real(StripLoadField::BeginX), r.real(StripLoadField::EndX), r.real(StripLoadField::Y1),
                   r.real(StripLoadField::Y2), r.real(StripLoadField::Magnitude)});
  }
  return out;
}

std::vector<SectionAnchor> ReadAnchors(const WorkingStore& store) {
  std::vector<SectionAnchor> out;
  for (const Row& r : ByNumber(store, Table::Anchor, LoadCommonField::LoadNo)) {
    out.push_back({r.real(AnchorField::XStart), r.real(AnchorField::YStart), r.real(AnchorField::XEnd),
                   r.real(AnchorField::YEnd), r.real(AnchorField::BondedLength), r.real(AnchorField::Magnitude)});
  }
  return out;
}

}  // namespace pelodyn
