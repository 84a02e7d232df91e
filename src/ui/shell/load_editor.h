// The record editor of one load table on the input strip (line loads, strip
// loads, anchors): a few fields showing the current row, a navigator
// (first, previous, next, last) and the buttons New, Edit, OK, Delete and
// Close.
//
// Browsing, the fields are read-only and show the current row. New clears
// the fields for a row to come (its "Load No." proposed as the next number)
// and Edit makes the current row's fields editable; in either the navigator,
// New, Edit and Delete wait, and OK stores what was typed as one undoable
// step (a new row is appended; an edited row keeps its place). Close gives
// up what was typed and only then collapses the strip, so New followed by
// Close leaves no empty row behind. Delete removes the current row (one
// undoable step). Draw stays disabled until loads can be drawn.
//
// The editor follows the document: undo, redo, a grid elsewhere or a new
// project move or refresh its current row, and a reset gives up a pending
// edit.
#pragma once

#include <QObject>
#include <QString>
#include <vector>

#include "model/working_store.h"

class QLineEdit;
class QPushButton;
class QToolButton;
class QWidget;

namespace pelodyn {

class ProjectDocument;

class LoadEditor : public QObject {
  Q_OBJECT
 public:
  struct Field {
    const char* edit;        // the edit box on the strip
    std::string_view field;  // the table's field it shows
  };
  struct Names {
    Table table;
    std::vector<Field> fields;  // the first is "Load No."
    const char* navigator;
    const char* newButton;
    const char* editButton;
    const char* okButton;
    const char* deleteButton;
    const char* closeButton;
    const char* drawButton;
  };

  // Finds its controls by name below `panel`.
  LoadEditor(ProjectDocument& document, QWidget& panel, Names names, QObject* parent = nullptr);

  enum class Mode { Browse, Inserting, Editing };
  Mode mode() const { return m_mode; }
  // 1-based position of the row shown, 0 when the table is empty.
  int position() const { return m_position; }
  // Every control name the editor makes work.
  QStringList controlNames() const;

  void newRecord();
  void editRecord();
  // Stores what was typed. A text that is not a number of its field raises
  // ConversionError and leaves the editor as it was.
  void confirm();
  void deleteRecord();
  // Gives up a pending New or Edit.
  void cancel();
  void moveTo(int position);
  // Fields set by drawing the load or anchor on the section (its point or
  // ends); stored with the row by OK, given up with it by Close. Only while
  // a row is prepared by New or Edit.
  void setDrawnFields(const std::vector<std::pair<std::string, double>>& fields);
  // The fields drawn for the row being prepared; empty once it is stored or
  // given up.
  const std::vector<std::pair<std::string, double>>& drawnFields() const { return m_drawn; }
  Table table() const { return m_names.table; }

 signals:
  // Draw was pressed: the drawing tool takes the next clicks.
  void drawRequested();
  // drawnFields() changed: a point was drawn, or OK or Close let them go.
  void drawnChanged();

 private:
  void follow();
  void show();
  void setMode(Mode mode);
  Row typedRow(Row row) const;

  ProjectDocument& m_document;
  Names m_names;
  std::vector<QLineEdit*> m_edits;
  std::vector<QToolButton*> m_navigator;  // first, previous, next, last
  QPushButton* m_new = nullptr;
  QPushButton* m_edit = nullptr;
  QPushButton* m_ok = nullptr;
  QPushButton* m_delete = nullptr;
  QPushButton* m_draw = nullptr;
  std::vector<std::pair<std::string, double>> m_drawn;
  Mode m_mode = Mode::Browse;
  int m_position = 0;
};

}  // namespace pelodyn
