// The mouse editor of the main window: it feeds the drawing's pointer events
// to the drawing tool, shows the rubber band and the selected point, and
// carries out the tool's changes with the document's undoable commands
// (a load or anchor's point goes to its editor, stored by its OK). It also
// keeps the selection of a boundary-line point for Move Point and Delete
// Point, by the point's key.
#pragma once

#include <QObject>
#include <QPoint>
#include <optional>

#include "view/tools/drawing_tool.h"

class QMenu;

namespace pelodyn {

class ProjectDocument;
class Prompter;
class SectionView;
class StripControls;

class LoadEditor;

class DrawingController : public QObject, private DrawingEdits {
  Q_OBJECT
 public:
  DrawingController(ProjectDocument& document, Prompter& prompter, SectionView& view, StripControls& strip,
                    QMenu* popup, QObject* parent = nullptr);

  // Starts drawing `target` with the option changes it brings (the search
  // kind, a load switched on) as one step.
  void start(int target);
  // Ends the drawing in progress (right click, the line panel's Close).
  void end();
  bool drawing() const { return m_tool.drawing(); }
  int target() const { return m_tool.target(); }

  // Move Point: the next press takes the selected point (or any point
  // under it), the release puts it down.
  void beginMove();
  // Delete Point: removes the selected point's row; that line's later
  // points are numbered one lower.
  void deleteSelected();
  bool hasSelection() const { return m_selected.has_value(); }
  // The soil tip: while on, a click on a soil band names that soil and its
  // strength (soilTip); the right button turns it off.
  void setSoilTip(bool on);
  bool soilTip() const { return m_soilTip; }
  std::optional<PointKey> selection() const { return m_selected; }

  // The pointer, in world units (already on the grid while the grid snap
  // is on); `button` is a Qt::MouseButton.
  void press(double x, double y, int button, QPoint globalPosition = {});
  void move(double x, double y);
  void release(double x, double y, int button);

 signals:
  void selectionChanged(bool selected);
  // The text of the soil under the last click (empty: none), and the tip
  // turned off by the right button.
  void soilTipText(const QString& text);
  void soilTipEnded();

 private:
  // DrawingEdits
  void appendRow(const Row& row) override;
  void replaceTable(const Row& first) override;
  void setOptionTexts(const std::vector<std::pair<Option, std::string>>& texts) override;
  void setLoadFields(Table table, const std::vector<std::pair<std::string, double>>& fields) override;
  void replaceGeometry(std::vector<Row> rows) override;
  void message(int number) override;
  void gridIncomplete(int cornersClicked) override;

  // Shows the load or anchor `editor` holds drawn points for.
  void showPlacedLoad(const LoadEditor& editor);
  // During a Move Point drag the grabbed point's lines follow the pointer:
  // its item of the drawing is moved (nullopt: put back where its row says).
  void dragItemTo(std::optional<WorldPoint> at);

  void select(std::optional<PointKey> key);
  std::optional<WorldPoint> pointOf(PointKey key);
  QString soilUnder(double x, double y);

  ProjectDocument& m_document;
  Prompter& m_prompter;
  SectionView& m_view;
  StripControls& m_strip;
  QMenu* m_popup;
  DrawingTool m_tool;
  std::optional<PointKey> m_selected;
  bool m_moving = false;
  bool m_grabbed = false;
  bool m_soilTip = false;
  // The drawing item of the grabbed point and where its row has it.
  int m_dragItem = -1;
  WorldPoint m_dragFrom;
};

}  // namespace pelodyn
