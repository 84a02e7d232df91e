// The selection window Form_AutoExeFile: the user picks a folder, chooses
// project files (*.pdd) from it into the list of files to run, and runs
// them one after the other ("Multiple Calculation").
//
// The batch runs on a worker thread. Each file is read into a project of
// its own, analysed and given its result file beside it, so the project the
// user has open, the main window's caption and its drawing are never
// touched. No message box appears while the batch goes on: a file that
// cannot be read or analysed gets "Failed" and its message in the summary,
// and the next file follows. Stop ends the batch after the current trial;
// the files not completed keep their old result files and their summary
// lines say they were stopped. At the end the summary is written to the
// temporary folder and the report window opens over this one with the
// summary the batch produced.
#pragma once

#include <QDialog>
#include <QStringList>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "batch/batch.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QThread;

namespace pelodyn {

class AutoExeFileReport;
class BatchFeedback;
class ProjectDocument;
class Prompter;

class AutoExeFileWindow : public QDialog {
  Q_OBJECT
 public:
  AutoExeFileWindow(ProjectDocument& document, Prompter& prompter, QWidget* parent = nullptr);
  ~AutoExeFileWindow() override;

  // The folder whose project files FLB_Source lists (its folders are in
  // DLB_Source). The window opens on the open project's folder (the home
  // folder for a project not yet saved).
  void setFolder(const QString& folder);
  QString folder() const { return m_folder; }
  // Choose Folder: the platform's folder dialog, opened on the folder
  // shown; the folder chosen is shown.
  void chooseFolder();
  // The entries of LB_Select: full paths in the order added.
  QStringList selectedFiles() const;

  // Add: the files selected in FLB_Source that the list does not hold yet
  // (compared as texts, letter case counting). Add All selects every file
  // first.
  void addSelected();
  void addAll();
  // The Delete key in LB_Select: removes its selected entries.
  void removeSelected();
  // Run: asks, then starts the batch on the worker; false when the user
  // declined, the list is empty or a batch runs already.
  bool run();
  // Stop: ends the batch after the current trial.
  void stop();
  bool isRunning() const { return m_thread != nullptr; }

  // The reports of the last batch, in list order, and its summary.
  const std::vector<FileReport>& reports() const { return m_reports; }
  const std::string& summary() const { return m_summary; }
  // The report window of the last batch (owned by this window), or nullptr.
  AutoExeFileReport* reportWindow() const { return m_report; }
  // How many times the window has put its captions in place (for the tests).
  int retranslateCount() const { return m_retranslateCount; }

 signals:
  // The file at `index` of the batch is done (analysed, failed or
  // stopped). Emitted from the worker thread: a receiver in the window's
  // thread gets it queued.
  void fileDone(int index);
  // The worker's progress, carried to the window's thread by a queued
  // connection (its arguments are copied by Qt's own event queue).
  void progressArrived(int file, int barPercent, const QString& trials);
  // The batch has ended and the report window is open.
  void batchFinished();

 public slots:
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QString startFolder() const;
  void fillDrives();
  void enterFolder(const QString& name);
  void refreshState();
  void refreshTotal();
  void retranslate();
  void showProgress(int file, int barPercent, const QString& trials);
  void onFinished();

  ProjectDocument& m_document;
  Prompter& m_prompter;
  QString m_folder;
  QComboBox* m_drives = nullptr;
  QLabel* m_folderLabel = nullptr;
  QListWidget* m_folders = nullptr;
  QLabel* m_directoryLabel = nullptr;
  QLabel* m_filesLabel = nullptr;
  QLabel* m_selectedLabel = nullptr;
  QGroupBox* m_progress = nullptr;
  QPushButton* m_browse = nullptr;
  QListWidget* m_files = nullptr;
  QListWidget* m_select = nullptr;
  QLabel* m_total = nullptr;
  QPushButton* m_add = nullptr;
  QPushButton* m_addAll = nullptr;
  QPushButton* m_run = nullptr;
  QPushButton* m_cancel = nullptr;
  QPushButton* m_stop = nullptr;
  QLabel* m_fileLabel = nullptr;
  QLabel* m_trialLabel = nullptr;
  QProgressBar* m_bar = nullptr;
  int m_selectedCount = 0;
  int m_retranslateCount = 0;

  // The batch.
  std::unique_ptr<BatchFeedback> m_feedback;
  std::atomic<bool> m_stopRequested{false};
  QThread* m_thread = nullptr;
  QStringList m_batchFiles;
  std::vector<FileReport> m_reports;
  std::string m_summary;
  std::string m_summaryError;  // why the summary file could not be written
  AutoExeFileReport* m_report = nullptr;
};

}  // namespace pelodyn
