// The drawable points of the section: one item per boundary-line point, then
// one range per other kind of overlay item. The overlays are painted from it
// and the mouse tools hit-test against it.
//
// Built from the working tables and the option values only; a table row
// whose numbers make no sense is drawn where its coordinates say and never
// raises. Qt-free.
#pragma once

#include <optional>
#include <vector>

#include "model/project.h"
#include "model/section.h"
#include "view/view_transform.h"

namespace pelodyn {

// Kind codes of items that are not boundary-line points (those carry their
// line number, 1 to 99).
enum DisplayKind : int {
  DisplayKindIrregular = 104,
  DisplayKindWater = 106,
  DisplayKindLineLoad = 107,
  DisplayKindStripOrAnchor = 108,  // strip-load ends and anchor ends
  DisplayKindCrack = 109,
};

struct DisplayItem {
  int kind = 0;
  int index = 0;
  int pixelX = 0, pixelY = 0;  // image pixels
  // World units. A point the mouse editor places keeps world units too, so
  // that a change of zoom can place every item again from x, y alone.
  double x = 0.0, y = 0.0;
  // The "Point No." of a boundary-line point (0 for the other kinds).
  int number = 0;
  bool operator==(const DisplayItem&) const = default;
};

// A range of item indexes, first and last included; {0, 0} when the kind is
// absent (use `empty()`: an absent range and a one-item range at index 0
// look alike only by their numbers).
struct DisplayRange {
  int first = 0, last = 0;
  bool present = false;
  bool empty() const { return !present; }
  int count() const { return present ? last - first + 1 : 0; }
  bool operator==(const DisplayRange&) const = default;
};

struct DisplayList {
  std::vector<DisplayItem> items;
  DisplayRange DisplayRangeGeometry;
  DisplayRange DisplayRangeIrregular;
  DisplayRange DisplayRangeWater;
  DisplayRange DisplayRangeLineLoad;
  DisplayRange DisplayRangeStripLoad;  // two items per load: begin, end
  DisplayRange DisplayRangeCrack;
  DisplayRange DisplayRangeAnchor;  // two items per anchor: head, far end
  // Number of boundary-line items at the head of `items`.
  int DisplayItemCount = 0;
  // Soil rows of the current strength model's table at the last rebuild:
  // the boundary lines 1 to DisplaySoilCount are drawn.
  int DisplaySoilCount = 0;

  bool operator==(const DisplayList&) const = default;
};

// The overlay conditions as the option values state them now.
struct OverlayConditions {
  int analysisTheory = 1;      // RG_Theory
  int circularSearchKind = 0;  // CB_Cir_Search
  int seepageKind = 0;         // CB_Seepage
  bool lineLoadEnabled = false;
  bool stripLoadEnabled = false;
  bool tensionCrackEnabled = false;
  bool anchorEnabled = false;
  int strengthModel = 0;  // CB_Strength_Model
};
OverlayConditions ReadOverlayConditions(const Project& project);

// Computes the ranges for the current tables and conditions and sizes the
// list (the water line, loads, crack and anchors as the section reader
// orders them); the boundary-line items keep their place at the head (their count is
// DisplayItemCount, not the table's row count, so an edit in progress is
// kept).
void LayoutDisplayList(Project& project, DisplayList& list);
// Lays the list out and rebuilds the items after the boundary-line items
// from their tables; the boundary-line items stay as they are.
void RebuildOverlayItems(Project& project, const ViewTransform& transform, DisplayList& list);
// Rebuilds every item from the tables: boundary-line items from Geometry in
// stored order (and DisplaySoilCount), then each present range.
void RebuildDisplayList(Project& project, const ViewTransform& transform, DisplayList& list);
// The boundary lines the screen draws, 1 to DisplaySoilCount (at most 99):
// each line's items by the section reader's rule (by "Point No.", equal
// numbers in list order, numbers below 1 left out, a gap closed up), so the
// screen draws the lines the printed page draws. The items are those of the
// list, with any point being dragged where it is now.
std::vector<std::vector<const DisplayItem*>> BoundaryLineItems(const DisplayList& list);

// Places every item's pixel again from its x, y (world units) after the
// transform changed.
void PlaceDisplayItems(const DrawingSettings& drawing, const ViewTransform& transform, DisplayList& list);

// The box that Auto Fit shows, in grid units: every Geometry point, widened
// by the search centres of the current theory (the grid corners unless all
// six are "0", the specific centre, the automatic start, the irregular
// centre) and by the points of what is drawn over the section and switched
// on (water line, line and strip loads, anchors, crack, the irregular
// surface). A centre whose text does not convert is left out. Empty when
// Geometry has no rows or a scale of 0 leaves no finite box.
struct FitBox {
  double xmin = 0.0, xmax = 0.0, ymin = 0.0, ymax = 0.0;
  bool operator==(const FitBox&) const = default;
};
std::optional<FitBox> ReadFitBox(Project& project);

}  // namespace pelodyn
