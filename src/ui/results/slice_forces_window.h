// The Slice Forces window: the forces of each slice of the surface the
// document presents last (the surface analysed last), from a
// Morgenstern-Price solution with a constant interslice function on its
// slices: each slice's weight, base normal and shear and pore-water force,
// the interslice normal E and shear X on both sides, a plot of E and X
// along the surface, and the physical checks (tension between slices, a
// line of thrust outside the sliding mass).
//
// Results of other data show nothing but the out-of-date text; a new or
// opened project clears the window. Its texts follow the user's language.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "ui/document/project_document.h"

QT_BEGIN_NAMESPACE
class QChartView;
class QLineSeries;
QT_END_NAMESPACE

namespace pelodyn {

class SliceForcesWindow : public QDialog {
  Q_OBJECT
 public:
  explicit SliceForcesWindow(ProjectDocument& document, QWidget* parent = nullptr);

  QTableWidget& table() { return *m_table; }
  // The points of the plot: E and X at each boundary.
  const QLineSeries& normalSeries() const { return *m_normal; }
  const QLineSeries& shearSeries() const { return *m_shear; }
  // The solution line and the checks, as shown.
  QString solutionText() const { return m_solution->text(); }
  QString checksText() const { return m_checks->text(); }

  // Fills everything from what the document presents now.
  void fill();

 private:
  void clear();
  void retranslate();

  ProjectDocument& m_document;
  QLabel* m_outOfDate = nullptr;
  QLabel* m_shownSurface = nullptr;
  QLabel* m_solution = nullptr;
  QLabel* m_checks = nullptr;
  QTableWidget* m_table = nullptr;
  QChartView* m_chart = nullptr;
  QLineSeries* m_normal = nullptr;
  QLineSeries* m_shear = nullptr;
  QPushButton* m_close = nullptr;
};

}  // namespace pelodyn
