// A grid over one working table that the user edits in place: a typed cell
// becomes an undoable edit of the document, Enter moves to the next cell as
// Tab does, Down on the last row adds a row after it (unless that row is
// still blank), and the row buttons of
// the forms (Insert before the current row, Append after the last, Delete
// the current row, Clear All) act through the document too. A value the
// table's field refuses is named in a message and the cell keeps its old
// value.
#pragma once

#include <QTableView>
#include <cstdint>
#include <functional>

#include "model/working_store.h"

namespace pelodyn {

class ProjectDocument;
class Prompter;
class StoreTableModel;

class GridEditor : public QTableView {
  Q_OBJECT
 public:
  GridEditor(ProjectDocument& document, Table table, Prompter& prompter, QWidget* parent = nullptr);

  Table table() const;
  StoreTableModel& storeModel() { return *m_model; }
  // Column titles of the grid; the columns follow the table's fields.
  void setHeaders(const QStringList& titles);

  // The row buttons. Insert puts an empty row before the current one (at
  // the end when there is none); Append puts one after the last row, so
  // rows typed one after another stay in the order typed; Delete removes
  // the current row; Clear All empties the table (nothing happens, and
  // nothing is asked, when it is already empty). The new row becomes the
  // current one.
  //
  // A new soil row takes a colour no other soil of its table shows, and the
  // other soils keep theirs, so a band keeps its colour wherever its row
  // moves. Deleting a soil that a boundary line still uses asks first.
  // Deleting a boundary-line point numbers the line's later points one
  // lower, so the line keeps no gap.
  void insertRow();
  void appendRow();
  void deleteRow();
  void clearAll();

  // 1-based position of the current row, 0 when there is none.
  int currentPosition() const;
  // Whether the last row holds nothing typed yet (false for an empty grid).
  bool lastRowBlank();

 signals:
  // The current row moved to another row (a click, a key).
  void currentRowChanged(int position);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  ProjectDocument& m_document;
  Prompter& m_prompter;
  StoreTableModel* m_model;
};

// The column of `field` in a grid over `table` (the grids follow the table's
// field order).
int FieldColumn(Table table, std::string_view field);

// The Insert, Delete and Clear All buttons (named `names`, in that order) of
// the grid `target` gives at the click (nullptr: the buttons do nothing, as
// on the seepage page without seepage), in a row of their own, with an
// Append button after Insert, named after it with "_Append" added. Its text
// is set by SetAppendTexts.
QWidget* MakeRowButtons(const QStringList& names, std::function<GridEditor*()> target, QWidget* parent);

// Sets the text of every Append button under `root` for `language`
// (0 Thai, 1 English).
void SetAppendTexts(QWidget* root, std::uint8_t language);

}  // namespace pelodyn
