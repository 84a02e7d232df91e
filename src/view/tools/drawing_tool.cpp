#include "view/tools/drawing_tool.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace pelodyn {

namespace {

// The ground line: the points of the highest-numbered boundary line in
// "Point No." order, in grid units.
std::vector<std::pair<double, double>> TopLineInGridUnits(Project& project) {
  const std::vector<Row> rows = project.store->rows(Table::Geometry);
  int top = 0;
  for (const Row& r : rows) top = std::max(top, r.integer(GeometryField::LineNo));
  std::vector<std::pair<int, std::pair<double, double>>> points;
  const double sx = project.drawing.ScaleX != 0.0 ? project.drawing.ScaleX : 1.0;
  const double sy = project.drawing.ScaleY != 0.0 ? project.drawing.ScaleY : 1.0;
  for (const Row& r : rows) {
    if (r.integer(GeometryField::LineNo) == top) {
      points.push_back(
          {r.integer(GeometryField::PointNo), {r.real(GeometryField::X) / sx, r.real(GeometryField::Y) / sy}});
    }
  }
  std::stable_sort(points.begin(), points.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::pair<double, double>> line;
  for (const auto& p : points) line.push_back(p.second);
  return line;
}

int LargestPointNo(Project& project, Table table, int line) {
  int largest = 0;
  for (const Row& r : project.store->rows(table)) {
    if (table != Table::Geometry || r.integer(GeometryField::LineNo) == line)
      largest = std::max(largest, r.integer(GeometryField::PointNo));
  }
  return largest;
}

Row PointRow(Table table, int point, WorldPoint p) {
  Row r(table);
  r.set(GeometryField::PointNo, point).set(GeometryField::X, p.x).set(GeometryField::Y, p.y);
  return r;
}

}  // namespace

std::string DefaultRealText(double value) {
  if (value == 0.0) return "0";  // never "-0"
  char text[64];
  std::snprintf(text, sizeof text, "%.15g", value);
  return text;
}

std::optional<WorldPoint> SnapToTopLine(Project& project, double x, double y) {
  const std::vector<std::pair<double, double>> line = TopLineInGridUnits(project);
  const double sx = project.drawing.ScaleX != 0.0 ? project.drawing.ScaleX : 1.0;
  const double sy = project.drawing.ScaleY != 0.0 ? project.drawing.ScaleY : 1.0;
  const double x0 = x / sx, y0 = y / sy;
  double best = kVerticalSlope;
  std::optional<WorldPoint> foot;
  for (std::size_t s = 0; s + 1 < line.size(); ++s) {
    const auto [xa, ya] = line[s];
    const auto [xb, yb] = line[s + 1];
    const double m = xa != xb ? (yb - ya) / (xb - xa) : kVerticalSlope;
    const double b = ya - m * xa;
    const double xf = (x0 + m * (y0 - b)) / (m * m + 1.0);
    const double yf = m * xf + b;
    // Only a foot on the segment itself counts.
    if (!(xa <= xf && xf <= xb) || !(std::min(ya, yb) <= yf && yf <= std::max(ya, yb))) continue;
    const double d = std::hypot(xf - x0, yf - y0);
    if (d < best && d < project.drawing.SnapTopLayerLength) {
      best = d;
      foot = WorldPoint{xf * sx, yf * sy};
    }
  }
  return foot;
}

std::optional<double> TopLineHeightAt(Project& project, double x) {
  const std::vector<std::pair<double, double>> line = TopLineInGridUnits(project);
  const double sx = project.drawing.ScaleX != 0.0 ? project.drawing.ScaleX : 1.0;
  const double sy = project.drawing.ScaleY != 0.0 ? project.drawing.ScaleY : 1.0;
  const double x0 = x / sx;
  for (std::size_t s = 0; s + 1 < line.size(); ++s) {
    const auto [xa, ya] = line[s];
    const auto [xb, yb] = line[s + 1];
    if (!(std::min(xa, xb) <= x0 && x0 <= std::max(xa, xb))) continue;
    if (xa == xb) return std::max(ya, yb) * sy;  // a vertical step: its top
    return (ya + (yb - ya) * (x0 - xa) / (xb - xa)) * sy;
  }
  return std::nullopt;
}

void DrawingTool::start(int target) {
  m_target = target;
  m_step = 1;
  m_first = true;
  m_nextPoint = 1;
  m_topLineSnaps = 0;
  m_last.reset();
}

void DrawingTool::end() {
  // Only a surface with points can miss the ground: Draw then Close says
  // nothing.
  if (m_target == TargetIrregularSurface && !m_first && m_topLineSnaps != 2) m_edits.message(5);
  if (m_target == TargetGridCorners && !m_first && m_step <= 3) {
    m_edits.setOptionTexts(m_gridBefore);
    m_edits.gridIncomplete(m_step - 1);
  }
  m_target = TargetNone;
  m_last.reset();
}

WorldPoint DrawingTool::click(Project& project, double x, double y) {
  WorldPoint p{x, y};
  const int target = m_target;
  if (target == TargetIrregularSurface || target == TargetLineLoad || target == TargetStripLoad) {
    if (const std::optional<WorldPoint> foot = SnapToTopLine(project, x, y)) {
      p = *foot;
      if (target == TargetIrregularSurface) ++m_topLineSnaps;
    } else if (target != TargetIrregularSurface) {
      // A load acts on the ground surface: one clicked off it would float
      // above the section or sit inside it.
      if (const std::optional<double> ground = TopLineHeightAt(project, x)) p.y = *ground;
    }
  }
  const std::string px = DefaultRealText(p.x), py = DefaultRealText(p.y);
  bool done = false;
  if (target >= 1 && target <= 99) {
    Row r(Table::Geometry);
    r.set(GeometryField::LineNo, target)
        .set(GeometryField::PointNo, LargestPointNo(project, Table::Geometry, target) + 1);
    r.set(GeometryField::X, p.x).set(GeometryField::Y, p.y);
    m_edits.appendRow(r);
  } else {
    switch (target) {
      case TargetGridCorners: {
        static const char* const corners[][2] = {{Option::E_X_LeftDown, Option::E_Y_LeftDown},
                                                 {Option::E_X_RightDown, Option::E_Y_RightDown},
                                                 {Option::E_X_RightTop, Option::E_Y_RightTop}};
        if (m_first) {
          m_gridBefore.clear();
          for (const auto& corner : corners) {
            for (const char* control : corner) m_gridBefore.emplace_back(control, project.options.text(control));
          }
        }
        // The corners to come follow this one until they are clicked: the
        // grid shrinks to what was drawn instead of reaching for an old
        // corner.
        std::vector<std::pair<std::string, std::string>> texts;
        for (int k = m_step - 1; k < 3; ++k) {
          texts.emplace_back(corners[k][0], px);
          texts.emplace_back(corners[k][1], py);
        }
        m_edits.setOptionTexts(texts);
        done = ++m_step > 3;
        break;
      }
      case TargetSpecificCircle:
        if (m_step == 1) {
          m_edits.setOptionTexts({{Option::E_X_Center, px}, {Option::E_Y_Center, py}});
        } else {
          const WorldPoint c = m_last.value_or(p);
          m_edits.setOptionTexts({{Option::E_Radius, DefaultRealText(std::hypot(p.x - c.x, p.y - c.y))}});
        }
        done = ++m_step > 2;
        break;
      case TargetAutoStart:
        m_edits.setOptionTexts({{Option::E_Xauto_Start, px}, {Option::E_Yauto_Start, py}});
        done = true;
        break;
      case TargetIrregularCentre:
        m_edits.setOptionTexts({{Option::E_NonCir_X_Center, px}, {Option::E_NonCir_Y_Center, py}});
        done = true;
        break;
      case TargetIrregularSurface:
      case TargetWaterLine:
      case TargetCrack: {
        const Table table = target == TargetIrregularSurface ? Table::NonCircular_Coordinate
                            : target == TargetWaterLine      ? Table::Waterline
                                                             : Table::Tcrack;
        // The table is replaced by the new drawing at its first point, not
        // before: Draw then Close loses nothing.
        if (m_first) {
          m_edits.replaceTable(PointRow(table, 1, p));
          m_nextPoint = 2;
        } else {
          m_edits.appendRow(PointRow(table, m_nextPoint++, p));
        }
        break;
      }
      case TargetLineLoad:
        m_edits.setLoadFields(Table::Lineload, {{"Coordi X", p.x}, {"Coordi Y", p.y}});
        done = true;
        break;
      case TargetStripLoad:
        if (m_step == 1) {
          m_edits.setLoadFields(Table::Stripload, {{"Begin X", p.x}, {"Y1", p.y}});
        } else {
          m_edits.setLoadFields(Table::Stripload, {{"End X", p.x}, {"Y2", p.y}});
        }
        done = ++m_step > 2;
        break;
      case TargetAnchor:
        if (m_step == 1) {
          m_edits.setLoadFields(Table::Anchor, {{"X start", p.x}, {"Y start", p.y}});
        } else {
          m_edits.setLoadFields(Table::Anchor, {{"X end", p.x}, {"Y end", p.y}});
        }
        done = ++m_step > 2;
        break;
      default:
        return p;
    }
  }
  m_first = false;
  m_last = p;
  if (done) {
    m_target = TargetNone;
    m_last.reset();
  }
  return p;
}

std::optional<PointKey> FindBoundaryPoint(Project& project, double x, double y, double toleranceX, double toleranceY) {
  std::optional<PointKey> found;
  // The last point near the click wins, as the last one drawn lies on top.
  for (const Row& r : project.store->rows(Table::Geometry)) {
    if (std::abs(r.real(GeometryField::X) - x) <= toleranceX && std::abs(r.real(GeometryField::Y) - y) <= toleranceY) {
      found = PointKey{r.integer(GeometryField::LineNo), r.integer(GeometryField::PointNo)};
    }
  }
  return found;
}

std::vector<Row> MovedPointRows(Project& project, PointKey key, double x, double y) {
  std::vector<Row> rows = project.store->rows(Table::Geometry);
  for (Row& r : rows) {
    if (r.integer(GeometryField::LineNo) == key.line && r.integer(GeometryField::PointNo) == key.point) {
      r.set(GeometryField::X, x).set(GeometryField::Y, y);
      break;
    }
  }
  return rows;
}

std::vector<Row> DeletedPointRows(Project& project, PointKey key) {
  std::vector<Row> rows = project.store->rows(Table::Geometry);
  const auto gone = std::find_if(rows.begin(), rows.end(), [key](const Row& r) {
    return r.integer(GeometryField::LineNo) == key.line && r.integer(GeometryField::PointNo) == key.point;
  });
  if (gone == rows.end()) return rows;
  rows.erase(gone);
  for (Row& r : rows) {
    if (r.integer(GeometryField::LineNo) == key.line && r.integer(GeometryField::PointNo) > key.point) {
      r.set(GeometryField::PointNo, r.integer(GeometryField::PointNo) - 1);
    }
  }
  return rows;
}

}  // namespace pelodyn
