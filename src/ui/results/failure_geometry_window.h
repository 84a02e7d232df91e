// The Failure Geometry window: the minimum factor of safety of each selected
// method, the centre and radius of the surface analysed last, the area of
// its sliding mass, and the points of that surface in a grid over table
// Failure_Geometry.
//
// The values are those of the surface the document presents last (the
// critical circle drawn last, or a replayed row): centre, radius and area
// all belong to that one surface. Creating the window records it into
// Failure_Geometry (replacing what the table held), so the grid, the result
// report and the printed drawing all show the same points. Without any
// analysed surface the value labels stay empty and the table is left alone.
// A new or opened project clears what the window shows. Its texts are
// English in both languages, but for the line that says which surface is
// listed (the critical circle of a method, a replayed Results row ...) and
// the out-of-date text, which follow the user's language: results the data
// no longer match show no values and no points, only that text, and cannot
// be printed. A minimum that is a result code reads "no factor" with its
// meaning.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <optional>

#include "ui/document/project_document.h"
#include "ui/models/store_table_model.h"

namespace pelodyn {

// ":  " followed by the value rounded to 4 decimals (ties to even) in the
// shortest general form, or ":  N/A" without a value.
QString FailureValueText(std::optional<double> value);

class FailureGeometryWindow : public QDialog {
  Q_OBJECT
 public:
  explicit FailureGeometryWindow(ProjectDocument& document, QWidget* parent = nullptr);

  StoreTableModel& pointsModel() { return *m_points; }

  // Print is enabled while table Failure_Geometry holds the points the
  // result report lists.
  void refreshPrintButton();
  // Fills the values from what the document presents now.
  void fillValues();

 signals:
  // Print was clicked: the owner prints the result report.
  void printRequested();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void clearValues();
  void onResultsChanged();

  ProjectDocument& m_document;
  StoreTableModel* m_points = nullptr;
  QLabel* m_xCaption = nullptr;
  QLabel* m_yCaption = nullptr;
  QLabel* m_x = nullptr;
  QLabel* m_y = nullptr;
  QLabel* m_radius = nullptr;
  QLabel* m_area = nullptr;
  QLabel* m_fs[4] = {};
  QLabel* m_shownSurface = nullptr;
  QLabel* m_outOfDate = nullptr;
  QTableView* m_grid = nullptr;
  QPushButton* m_print = nullptr;
};

}  // namespace pelodyn
