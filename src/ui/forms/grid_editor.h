// A grid over one working table that the user edits in place: a typed cell
// becomes an undoable edit of the document, Enter moves to the next cell as
// Tab does, and the row buttons of the forms (Insert before the current row,
// Delete the current row, Clear All) act through the document too. A value
// the table's field refuses is named in a message and the cell keeps its old
// value.
#pragma once

#include <QTableView>
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
  // the end when there is none); Delete removes the current row; Clear All
  // empties the table (nothing happens, and nothing is asked, when it is
  // already empty).
  void insertRow();
  void deleteRow();
  void clearAll();

  // 1-based position of the current row, 0 when there is none.
  int currentPosition() const;

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
// on the seepage page without seepage), in a row of their own.
QWidget* MakeRowButtons(const QStringList& names, std::function<GridEditor*()> target, QWidget* parent);

}  // namespace pelodyn
