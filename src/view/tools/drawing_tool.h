// The mouse editor's logic, in world units and without any widget: what a
// click places for each drawing target, the ground-line snap, and the
// selection, move and delete of boundary-line points. The canvas turns mouse
// events into calls here; every change goes out through DrawingEdits, which
// the desktop program implements with the document's undoable commands, so
// the tools never write the store themselves.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/project.h"

namespace pelodyn {

// What a click places. 1 to 99 are the boundary lines; the others:
enum DrawTarget : int {
  TargetNone = 0,
  TargetGridCorners = 101,
  TargetSpecificCircle = 102,
  TargetAutoStart = 103,
  TargetIrregularSurface = 104,
  TargetIrregularCentre = 105,
  TargetWaterLine = 106,
  TargetLineLoad = 107,
  TargetStripLoad = 108,
  TargetCrack = 109,
  TargetAnchor = 110,
};

struct WorldPoint {
  double x = 0.0, y = 0.0;
  bool operator==(const WorldPoint&) const = default;
};

// The changes the tools make. Each call is one step of the user's work.
class DrawingEdits {
 public:
  virtual ~DrawingEdits() = default;
  // A row appended to its table.
  virtual void appendRow(const Row& row) = 0;
  // The table made of this one row: the first point of a drawing that
  // replaces its table (water line, crack, irregular surface).
  virtual void replaceTable(const Row& first) = 0;
  // Option texts set together (the corner, centre, radius, start fields).
  virtual void setOptionTexts(const std::vector<std::pair<Option, std::string>>& texts) = 0;
  // Fields of the load or anchor being edited (Lineload, Stripload,
  // Anchor): they are stored with it by its OK.
  virtual void setLoadFields(Table table, const std::vector<std::pair<std::string, double>>& fields) = 0;
  // The boundary-line rows after a point was moved or deleted.
  virtual void replaceGeometry(std::vector<Row> rows) = 0;
  // A numbered message of the message table (5: the irregular surface does
  // not meet the ground twice).
  virtual void message(int number) = 0;
  // The grid of centres was ended after `cornersClicked` (1 or 2) of its
  // three corners; its corners are back as they were before the drawing.
  virtual void gridIncomplete(int cornersClicked) = 0;
};

// The nearest foot point on the ground line (the boundary line with the
// highest number, its points in increasing "Point No.") within `snapLength`
// grid units of (x, y), in world units. Feet outside their segment do not
// count. Nothing when there is no ground line or no foot close enough.
std::optional<WorldPoint> SnapToTopLine(Project& project, double x, double y);

// The ground line's height at world x (the highest-numbered boundary line,
// its points in increasing "Point No."), or nothing when x lies outside it.
std::optional<double> TopLineHeightAt(Project& project, double x);

// A number in the default real form of the fields: up to 15 significant
// digits, no trailing zeros.
std::string DefaultRealText(double value);

class DrawingTool {
 public:
  explicit DrawingTool(DrawingEdits& edits) : m_edits(edits) {}

  // Starts drawing `target`, with its resets. Nothing is written until the
  // first click.
  void start(int target);
  // Ends the drawing (right click, Close). An irregular surface that did not
  // meet the ground line exactly twice says so (message 5); its points stay.
  // A grid of centres is accepted only with its three corners: ended before,
  // it gets its former corners back and says so (gridIncomplete).
  void end();
  bool drawing() const { return m_target != TargetNone; }
  int target() const { return m_target; }
  // Places one point at world (x, y) (already on the grid when the grid
  // snap is on). Returns the point placed: on the ground line for the
  // irregular surface when close enough; line and strip loads always stand
  // on the ground (the nearest foot when close enough, else straight above
  // or below the click), unless the click lies beyond the ground's ends. A
  // corner of the grid of centres also places the corners still to come, so
  // the grid never holds a corner left from before. A one-shot target ends
  // by itself after its last click.
  WorldPoint click(Project& project, double x, double y);
  // The start of the rubber band: the point placed last while drawing.
  std::optional<WorldPoint> lastPoint() const { return m_last; }
  int topLineSnapCount() const { return m_topLineSnaps; }

 private:
  DrawingEdits& m_edits;
  int m_target = TargetNone;
  int m_step = 1;
  bool m_first = true;
  int m_nextPoint = 1;
  int m_topLineSnaps = 0;
  std::optional<WorldPoint> m_last;
  // The grid's corner texts before its first click, to give back.
  std::vector<std::pair<Option, std::string>> m_gridBefore;
};

// A boundary-line point: its row's key.
struct PointKey {
  int line = 0, point = 0;
  bool operator==(const PointKey&) const = default;
};

// The boundary-line point nearest (x, y) within `tolerance` world units on
// each axis, or nothing.
std::optional<PointKey> FindBoundaryPoint(Project& project, double x, double y, double toleranceX, double toleranceY);
// The Geometry rows with the point `key` moved to (x, y); every other row
// as it was.
std::vector<Row> MovedPointRows(Project& project, PointKey key, double x, double y);
// The Geometry rows without the point `key`; that line's later points are
// numbered one lower, every other row as it was.
std::vector<Row> DeletedPointRows(Project& project, PointKey key);

}  // namespace pelodyn
