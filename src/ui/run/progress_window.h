// The progress window Form_Show_Process: Start/Stop, the progress texts and
// bar, the minimum factor of each method with its picture check box, and
// the details: the Results rows and their order by the Bishop factor.
// It shows what the worker sends; it reads the store only while no run goes
// on, and only the rows its grids show. A new or opened project clears
// everything it showed of the previous one; a stopped run says so.
//
// The minimum labels have one source: while a search runs, the minima it
// reports; once it has ended, the minima the run left in the project, the
// same the status line, the drawing and the saved and printed results show,
// each written by FactorText. A run the checks refused leaves the
// placeholders, and so do results that no longer belong to the data: those
// show the out-of-date text instead of minima, stopped-run note and
// warnings.
#pragma once

#include <QDialog>

#include "ui/document/project_document.h"
#include "ui/models/results_table_model.h"
#include "ui/models/sorted_results_model.h"
#include "ui/run/run_controller.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;
class QComboBox;

namespace pelodyn {

class ProgressWindow : public QDialog {
  Q_OBJECT
 public:
  ProgressWindow(ProjectDocument& document, RunController& controller, QWidget* parent = nullptr);

  // The Start/Stop button's action: starts a run, or asks the running one
  // to stop.
  void startOrStop();
  void setDetailsShown(bool shown);
  bool detailsShown() const { return m_detailsShown; }
  // Fills the sorted view from the Results rows (Sort).
  void sortResults();
  // Refreshes the Results grid from the store (after a run).
  void refreshResults();
  // Sets the method boxes from the project's method choice.
  void prepareForProject();
  // Forgets everything shown of the previous project.
  void clearForNewProject();
  // Chooses row `row` of the sorted view: its circle is analysed and drawn
  // (not while the results are out of date: the row belongs to other data).
  void chooseSortedRow(int row);
  // Shows what the document holds of the last run: its minima, its
  // stopped-run note and warnings, or the out-of-date text. Nothing while a
  // run goes on.
  void showRunResults();

  ResultsTableModel& resultsModel() { return m_resultsModel; }
  SortedResultsModel& sortedModel() { return m_sortedModel; }
  // How many times the window has put its captions in place (for the tests).
  int retranslateCount() const { return m_retranslateCount; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void onProgress(const ProgressCopy& progress);
  void onMinima(const MinimaCopy& minima);
  void onFinished();
  void onStarted();
  // Captions in the document's language; called when the language changes.
  void retranslate();
  // A caption the run sets, in the user's language.
  QString runCaption(const std::string& caption) const;
  // Sizes the Details grids to show their columns and several rows, and
  // the window to hold them.
  void fitDetails();

  ProjectDocument& m_document;
  RunController& m_controller;
  QLabel* m_methodTitle = nullptr;
  QLabel* m_minimumTitle = nullptr;
  QLabel* m_total = nullptr;
  QLabel* m_percent = nullptr;
  QProgressBar* m_bar = nullptr;
  QPushButton* m_startStop = nullptr;
  QPushButton* m_details = nullptr;
  QPushButton* m_close = nullptr;
  QCheckBox* m_pictures[4] = {};
  QLabel* m_minima[4] = {};
  QLabel* m_calFs = nullptr;
  QTableView* m_results = nullptr;
  QPushButton* m_sort = nullptr;
  QComboBox* m_method = nullptr;
  QTableView* m_sorted = nullptr;
  QLabel* m_stopped = nullptr;
  QLabel* m_warnings = nullptr;
  QLabel* m_outOfDate = nullptr;
  ResultsTableModel m_resultsModel;
  SortedResultsModel m_sortedModel;
  bool m_detailsShown = false;
  // The checks refused the last Start: the minima shown before are not
  // this data's.
  bool m_refused = false;
  int m_retranslateCount = 0;
};

}  // namespace pelodyn
