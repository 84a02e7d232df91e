// The Failure Geometry window: the minimum factor of safety of each selected
// method, the centre and radius of the surface analysed last, the area of
// its sliding mass, and the points of that surface in a grid over table
// Failure_Geometry.
//
// Creating the window records the surface analysed last into
// Failure_Geometry (replacing what the table held), so the grid, the result
// report and the printed drawing all show the same points. Without any
// analysed surface the value labels stay empty and the table is left alone.
// Its texts are English in both languages.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <optional>

#include "model/project.h"
#include "ui/store_table_model.h"

namespace pelodyn {

// ":  " followed by the value rounded to 4 decimals (ties to even) in the
// shortest general form, or ":  N/A" without a value.
QString FailureValueText(std::optional<double> value);

class FailureGeometryWindow : public QDialog {
  Q_OBJECT
 public:
  explicit FailureGeometryWindow(Project& project, QWidget* parent = nullptr);

  StoreTableModel& pointsModel() { return *m_points; }

  // Enables Print exactly when Failure_Geometry holds rows; showing the
  // window does this too.
  void refreshPrintButton();

 signals:
  // Print was clicked: the owner prints the result report.
  void printRequested();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void fillValues();

  Project& m_project;
  StoreTableModel* m_points = nullptr;
  QLabel* m_xCaption = nullptr;
  QLabel* m_yCaption = nullptr;
  QLabel* m_x = nullptr;
  QLabel* m_y = nullptr;
  QLabel* m_radius = nullptr;
  QLabel* m_area = nullptr;
  QLabel* m_fs[4] = {};
  QTableView* m_grid = nullptr;
  QPushButton* m_print = nullptr;
};

}  // namespace pelodyn
