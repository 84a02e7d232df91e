#include "view/display_list.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "model/numbers.h"

namespace pelodyn {
namespace {

// Row counts of the overlay tables, read once per layout.
struct OverlayRowCounts {
  int irregular = 0, water = 0, lineLoad = 0, stripLoad = 0, crack = 0, anchor = 0;
};

OverlayRowCounts CountOverlayRows(Project& project, const OverlayConditions& c) {
  WorkingStore& store = *project.store;
  OverlayRowCounts n;
  if (c.analysisTheory == 2) n.irregular = store.rowCount(Table::NonCircular_Coordinate);
  if (c.seepageKind == 1) n.water = store.rowCount(Table::Waterline);
  if (c.lineLoadEnabled) n.lineLoad = store.rowCount(Table::Lineload);
  if (c.stripLoadEnabled) n.stripLoad = 2 * store.rowCount(Table::Stripload);
  if (c.tensionCrackEnabled) n.crack = store.rowCount(Table::Tcrack);
  if (c.anchorEnabled) n.anchor = 2 * store.rowCount(Table::Anchor);
  return n;
}

// Places the ranges one after the other from `next` and sizes the list.
void Layout(DisplayList& list, const OverlayRowCounts& n) {
  int next = list.DisplayItemCount;
  auto place = [&next](DisplayRange& range, int count) {
    if (count <= 0) {
      range = {};
      return;
    }
    range = {next, next + count - 1, true};
    next += count;
  };
  list.DisplayRangeGeometry =
      list.DisplayItemCount > 0 ? DisplayRange{0, list.DisplayItemCount - 1, true} : DisplayRange{};
  place(list.DisplayRangeIrregular, n.irregular);
  place(list.DisplayRangeWater, n.water);
  place(list.DisplayRangeLineLoad, n.lineLoad);
  place(list.DisplayRangeStripLoad, n.stripLoad);
  place(list.DisplayRangeCrack, n.crack);
  place(list.DisplayRangeAnchor, n.anchor);
  list.items.resize(static_cast<std::size_t>(next));
}

DisplayItem MakeItem(int kind, int index, double x, double y, const DrawingSettings& d, const ViewTransform& t) {
  const PixelPoint p = t.worldToImage(x, y, d.ScaleX, d.ScaleY);
  return {kind, index, p.x, p.y, x, y};
}

// Fills `range` from the rows: one item per (x field, y field) pair of each
// row, in stored order.
void Fill(DisplayList& list, const DisplayRange& range, int kind, const std::vector<Row>& rows,
          std::initializer_list<std::pair<const char*, const char*>> points, const DrawingSettings& d,
          const ViewTransform& t) {
  if (range.empty()) return;
  int index = range.first;
  for (const Row& r : rows) {
    for (const auto& [fx, fy] : points) {
      if (index > range.last) return;
      list.items[static_cast<std::size_t>(index)] = MakeItem(kind, index, r.real(fx), r.real(fy), d, t);
      ++index;
    }
  }
}

}  // namespace

OverlayConditions ReadOverlayConditions(const Project& project) {
  const OptionValues& o = project.options;
  OverlayConditions c;
  c.analysisTheory = o.itemIndex(Option::RG_Theory);
  c.circularSearchKind = o.itemIndex(Option::CB_Cir_Search);
  c.seepageKind = o.itemIndex(Option::CB_Seepage);
  c.lineLoadEnabled = !o.checked(Option::CB_LineLoad_Disable);
  c.stripLoadEnabled = !o.checked(Option::CB_StripLoad_Disable);
  c.tensionCrackEnabled = !o.checked(Option::CB_Tension_Disable);
  c.anchorEnabled = !o.checked(Option::CB_Anchor_Disable);
  c.strengthModel = o.itemIndex(Option::CB_Strength_Model);
  return c;
}

void LayoutDisplayList(Project& project, DisplayList& list) {
  Layout(list, CountOverlayRows(project, ReadOverlayConditions(project)));
}

void RebuildOverlayItems(Project& project, const ViewTransform& transform, DisplayList& list) {
  const OverlayConditions c = ReadOverlayConditions(project);
  Layout(list, CountOverlayRows(project, c));
  WorkingStore& store = *project.store;
  const DrawingSettings& d = project.drawing;
  const std::pair<const char*, const char*> coordinates{"Coordi X", "Coordi Y"};
  if (!list.DisplayRangeIrregular.empty()) {
    Fill(list, list.DisplayRangeIrregular, DisplayKindIrregular, store.rows(Table::NonCircular_Coordinate),
         {coordinates}, d, transform);
  }
  if (!list.DisplayRangeWater.empty()) {
    Fill(list, list.DisplayRangeWater, DisplayKindWater, store.rows(Table::Waterline), {coordinates}, d, transform);
  }
  if (!list.DisplayRangeLineLoad.empty()) {
    Fill(list, list.DisplayRangeLineLoad, DisplayKindLineLoad, store.rows(Table::Lineload), {coordinates}, d,
         transform);
  }
  if (!list.DisplayRangeStripLoad.empty()) {
    Fill(list, list.DisplayRangeStripLoad, DisplayKindStripOrAnchor, store.rows(Table::Stripload),
         {{"Begin X", "Y1"}, {"End X", "Y2"}}, d, transform);
  }
  if (!list.DisplayRangeCrack.empty()) {
    Fill(list, list.DisplayRangeCrack, DisplayKindCrack, store.rows(Table::Tcrack), {coordinates}, d, transform);
  }
  if (!list.DisplayRangeAnchor.empty()) {
    Fill(list, list.DisplayRangeAnchor, DisplayKindStripOrAnchor, store.rows(Table::Anchor),
         {{"X start", "Y start"}, {"X end", "Y end"}}, d, transform);
  }
}

void RebuildDisplayList(Project& project, const ViewTransform& transform, DisplayList& list) {
  const std::vector<Row> rows = project.store->rows(Table::Geometry);
  const DrawingSettings& d = project.drawing;
  list.items.clear();
  list.items.reserve(rows.size());
  for (const Row& r : rows) {
    const int index = static_cast<int>(list.items.size());
    list.items.push_back(MakeItem(r.integer(GeometryField::LineNo), index, r.real(GeometryField::X),
                                  r.real(GeometryField::Y), d, transform));
  }
  list.DisplayItemCount = static_cast<int>(rows.size());
  const Table soils = ReadOverlayConditions(project).strengthModel == 1 ? Table::Aniso : Table::Soil_Prop;
  list.DisplaySoilCount = project.store->rowCount(soils);
  RebuildOverlayItems(project, transform, list);
}

void PlaceDisplayItems(const DrawingSettings& drawing, const ViewTransform& transform, DisplayList& list) {
  for (DisplayItem& item : list.items) {
    const PixelPoint p = transform.worldToImage(item.x, item.y, drawing.ScaleX, drawing.ScaleY);
    item.pixelX = p.x;
    item.pixelY = p.y;
  }
}

std::optional<FitBox> ReadFitBox(Project& project) {
  const std::vector<Row> rows = project.store->rows(Table::Geometry);
  if (rows.empty()) return std::nullopt;
  FitBox box{rows.front().real(GeometryField::X), rows.front().real(GeometryField::X),
             rows.front().real(GeometryField::Y), rows.front().real(GeometryField::Y)};
  auto extend = [&box](double x, double y) {
    box.xmin = std::min(box.xmin, x);
    box.xmax = std::max(box.xmax, x);
    box.ymin = std::min(box.ymin, y);
    box.ymax = std::max(box.ymax, y);
  };
  for (const Row& r : rows) extend(r.real(GeometryField::X), r.real(GeometryField::Y));
  const OptionValues& o = project.options;
  auto extendBy = [&](std::string_view cx, std::string_view cy) {
    double x = 0.0, y = 0.0;
    if (TryStrToFloat(o.text(cx), x) && TryStrToFloat(o.text(cy), y)) extend(x, y);
  };
  const int theory = o.itemIndex(Option::RG_Theory);
  if (theory == 1) {
    const int search = o.itemIndex(Option::CB_Cir_Search);
    if (search == 1) {
      extendBy(Option::E_X_Center, Option::E_Y_Center);
    } else if (search == 2) {
      extendBy(Option::E_Xauto_Start, Option::E_Yauto_Start);
    } else if (search == 0) {
      static constexpr std::string_view kCorners[6] = {Option::E_X_LeftDown,  Option::E_Y_LeftDown,
                                                       Option::E_X_RightDown, Option::E_Y_RightDown,
                                                       Option::E_X_RightTop,  Option::E_Y_RightTop};
      const bool allZero =
          std::all_of(std::begin(kCorners), std::end(kCorners), [&o](std::string_view c) { return o.text(c) == "0"; });
      double v[6];
      bool readable = true;
      for (int k = 0; k < 6; ++k) readable = TryStrToFloat(o.text(kCorners[k]), v[k]) && readable;
      if (!allZero && readable) {
        extend(v[0], v[1]);
        extend(v[2], v[3]);
        extend(v[4], v[5]);
        extend(v[0] + v[4] - v[2], v[1] + v[5] - v[3]);
      }
    }
  } else if (theory == 2) {
    extendBy(Option::E_NonCir_X_Center, Option::E_NonCir_Y_Center);
  }
  // What is drawn over the section: the water line, the loads, the crack,
  // the irregular surface.
  const OverlayConditions c = ReadOverlayConditions(project);
  const auto extendByRows = [&](Table table, std::initializer_list<std::pair<const char*, const char*>> points) {
    for (const Row& r : project.store->rows(table)) {
      for (const auto& [fx, fy] : points) {
        if (r.isNull(fx) || r.isNull(fy)) continue;  // not placed yet
        const double x = r.real(fx), y = r.real(fy);
        if (std::isfinite(x) && std::isfinite(y)) extend(x, y);
      }
    }
  };
  const std::pair<const char*, const char*> coordinates{"Coordi X", "Coordi Y"};
  if (c.seepageKind == 1) extendByRows(Table::Waterline, {coordinates});
  if (c.lineLoadEnabled) extendByRows(Table::Lineload, {coordinates});
  if (c.stripLoadEnabled) extendByRows(Table::Stripload, {{"Begin X", "Y1"}, {"End X", "Y2"}});
  if (c.anchorEnabled) extendByRows(Table::Anchor, {{"X start", "Y start"}, {"X end", "Y end"}});
  if (c.tensionCrackEnabled) extendByRows(Table::Tcrack, {coordinates});
  if (theory == 2) extendByRows(Table::NonCircular_Coordinate, {coordinates});
  const double sx = project.drawing.ScaleX, sy = project.drawing.ScaleY;
  const FitBox grid{box.xmin / sx, box.xmax / sx, box.ymin / sy, box.ymax / sy};
  // A scale of 0 has no box to fit.
  for (double v : {grid.xmin, grid.xmax, grid.ymin, grid.ymax}) {
    if (!std::isfinite(v)) return std::nullopt;
  }
  return grid;
}

}  // namespace pelodyn
