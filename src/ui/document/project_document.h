// The project the desktop program works on. The document is the only code
// that writes the project's working store, its option values and its run
// state, and the only emitter of the ProjectNotifier: every window listens
// to the notifier and shows what the document holds now.
//
// Every edit is an undoable command on the document's QUndoStack (set an
// option, edit a cell, insert, delete or replace rows); the modified mark is
// the stack's clean state. New and Open replace the whole project, clear the
// stack and reset what a run left. A run's results are not edits: a run
// neither enters the stack nor clears it.
//
// The desktop store lives in the data folder and is guarded by a lock file:
// a second running program that finds it locked keeps its project in a
// private in-memory store instead, so it can never empty the first one's
// tables.
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QUndoStack>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "engine/search.h"
#include "model/critical_surface.h"
#include "model/project.h"
#include "model/working_store.h"
#include "persistence/companion_file.h"
#include "ui/document/project_notifier.h"

namespace pelodyn {

class ProjectDocument : public QObject {
  Q_OBJECT
 public:
  enum class StoreKind { DataFolder, Private };

  // A document on the desktop store in the data folder when its lock can be
  // taken, else on a private in-memory store.
  static std::unique_ptr<ProjectDocument> openDesktop();
  // A document on a private in-memory store (tests, scripts).
  static std::unique_ptr<ProjectDocument> openPrivate();
  ~ProjectDocument() override;

  // Reading: the project as it stands, read-only (its store gives its reads
  // only). Every change goes through the calls below.
  const Project& project() const { return *m_project; }
  // The project for the analysis and the drawing, which keep their working
  // state in it: the collection step fills the analysis model, a run writes
  // its Results rows and minima (between beginRun and endRun), the view, the
  // mouse tool and the exported picture collect before they draw, and Save
  // collects the data it fingerprints and writes. Never for the tables or
  // the options a user edits: those change only by the edits below.
  Project& projectForAnalysis() { return *m_project; }
  ProjectNotifier& notifier() { return m_notifier; }
  // The stack, to watch (canUndoChanged, cleanChanged) and to count; undo,
  // redo and steps of several edits go through the document.
  const QUndoStack& undoStack() const { return m_undo; }
  void undo() { m_undo.undo(); }
  void redo() { m_undo.redo(); }
  // Runs `edits` (calls of the edits below) as one undoable step named
  // `description`; an exception ends the step with what was done so far
  // and goes on.
  void editAsOne(const QString& description, const std::function<void()>& edits);
  StoreKind storeKind() const { return m_storeKind; }
  // True when the desktop store was locked by another running program and
  // this document fell back to a private store.
  bool storeWasTaken() const { return m_storeWasTaken; }

  // 0 Thai, 1 English. The language is the user's, not the project's.
  std::uint8_t language() const { return m_project->model.Language; }
  void setLanguage(std::uint8_t language);

  // ----- Edits: each is one undoable command ---------------------------------
  // Consecutive text edits of the same field merge into one step, so typing
  // a number is undone at once. Setting a value a control already holds
  // pushes nothing.
  void setOptionText(Option control, const QString& text);
  void setOptionChecked(Option control, bool checked);
  void setOptionIndex(Option control, int index);
  // Several option values as one step (a choice that sets related options).
  void setOptions(const QString& description, const std::function<void(OptionValues&)>& change);
  // One field of the row at `position` (1-based).
  void editCell(Table table, int position, std::size_t field, const FieldValue& value);
  // Inserts `rows` before `position` (1 to rowCount + 1).
  void insertRows(Table table, int position, std::vector<Row> rows);
  void removeRows(Table table, int position, int count);
  void replaceRows(Table table, std::vector<Row> rows);
  // Replaces the rows of several tables as one step, written in one
  // transaction; a table whose rows stay as they are is left out, and
  // nothing is pushed when none changes.
  void replaceTables(const QString& description, std::vector<std::pair<Table, std::vector<Row>>> tables);

  // ----- Whole project ---------------------------------------------------------
  // New Project: tables emptied, options at their defaults; `readSettings`
  // runs inside it as New Project reads the settings file.
  void newProject(const std::function<void(Project&)>& readSettings);
  // Replaces the whole project by `other` (a project read into a scratch
  // copy) keeping this document's store, and takes `path` as its file.
  void adoptProject(Project& other, const QString& path);

  // ----- The file ----------------------------------------------------------
  // Unsaved changes since the last New, Open or Save: the undo stack is not
  // at its clean state.
  bool isModified() const { return !m_undo.isClean(); }
  // Unsaved work, for New, Open and Quit and the title's mark: unsaved
  // edits, or current results not yet written to a result file.
  bool hasUnsavedWork() const { return isModified() || resultsUnsaved(); }
  // Current results of this project that no result file holds yet.
  bool resultsUnsaved() const { return m_resultsUnsaved && m_hasOwnResults && m_resultsCurrent; }
  // Save wrote the result file of the current results, or decided there
  // was none to write (`saved`); or no result file holds the held results
  // any more (not `saved`), so that undo back to their data makes them
  // unsaved work again.
  void markResultsSaved(bool saved = true);
  // After a successful save of the project file.
  void markSaved(const QString& path);
  QString projectFilePath() const;
  // The name part of the project file last opened or saved.
  QString projectFileName() const { return m_projectFileName; }

  // ----- Preferences ---------------------------------------------------------
  // The user's preferences the settings file keeps (grid switches, the
  // display of the critical surface, page setup): no project edit, no undo.
  void updateSettings(const std::function<void(AppSettings&)>& change);
  // The drawing settings of the Setting dialog (working area, scale, grid
  // size, markers, failure colour): preferences too, kept in the settings
  // file.
  void updateDrawing(const std::function<void(DrawingSettings&)>& change);

  // ----- The run -------------------------------------------------------------
  // Asks a running search to stop after its current trial (the Start/Stop
  // loop ends with it); safe from any thread.
  void requestStop() { m_project->run.StopRequested = 1; }
  // Hands the project to a run; the window must not touch it until endRun.
  void beginRun();
  void endRun(const RunResult& result);
  bool runInProgress() const { return m_runInProgress; }
  // True once a run of this project has left results: only then does a save
  // write the result file.
  // Results of data since changed do not count.
  bool hasOwnResults() const { return m_hasOwnResults && m_resultsCurrent; }
  // The last run of this project, when there was one.
  const std::optional<RunResult>& lastRun() const { return m_lastRun; }
  // The theory (AnalysisTheory) and the selected methods (Ordinary, Janbu,
  // Bishop, Spencer) of the run whose results the project holds, as they
  // were when it started: the options may have changed since, the results
  // have not. Before any run the project's own flags.
  std::uint8_t runTheory() const;
  std::array<bool, kMethodCount> runMethods() const;
  // The last run was stopped before it ended: its results are partial.
  bool resultsPartial() const { return m_lastRun && m_lastRun->outcome == RunOutcome::Stopped; }
  // The held results belong to the data as it stands now. False once any
  // input of the analysis changed since the run (an edit, a vegetation
  // Export or Restore, an undo past it); undo back to exactly the run's data
  // makes them current again. While false, no window, print or file shows
  // them: the minima, surfaces, labels and contours are out of date.
  bool resultsCurrent() const { return m_resultsCurrent; }
  // The stamp that records the held results in the companion file: what
  // they came from, the run's kind and outcome, its minima. Nothing when
  // there are no current results of this project.
  std::optional<ResultsStamp> resultsStamp() const;
  // Takes the results saved beside the project just opened: the tables of
  // `resultFile` (Results rows, irregular surfaces) and the stamp's minima.
  // They count as saved, and as current when the stamp's fingerprint is
  // that of the data; their surfaces are then presented. A result file
  // that cannot be read raises FileError and leaves no results.
  void adoptSavedResults(const ResultsStamp& stamp, const std::filesystem::path& resultFile,
                         PlatformServices& platform);
  // What the status line says of results that were not shown (a result
  // file that belongs to other data); empty when there is nothing to say.
  const QString& resultsNote() const { return m_resultsNote; }
  void setResultsNote(const QString& note);

  // The surfaces the drawing and the result windows present (the critical
  // surface of each shown method, or a replayed row), as the engine
  // computed them.
  // Nothing while the results are out of date.
  const std::vector<CriticalSurface>& presentedSurfaces() const;
  // Analyses the critical surfaces of the shown methods again (after a run,
  // a picture box, the slice-display cycle).
  void presentCriticalSurfaces(PlatformServices& platform);
  // Analyses the circle of one Results row and presents it alone.
  void presentResultsRow(PlatformServices& platform, double radius, double centerX, double centerY);
  // Which methods' critical surfaces are presented (the progress window's
  // picture boxes).
  void setShowPicture(int method, bool shown);
  // Records the surface presented last into Failure_Geometry (the Failure
  // Geometry window does this when it opens).
  void recordCriticalSurface();
  // Forgets what a run left (New and Open).
  void resetRunState();

 private:
  friend class SetOptionCommand;
  friend class RowsCommand;
  friend class TablesCommand;
  // The store for the commands' own transactions.
  WorkingStore& store() { return *m_project->store; }
  ProjectDocument(std::unique_ptr<Project> project, StoreKind kind, std::unique_ptr<QLockFile> lock);

  // The writes the commands make; each tells the notifier.
  void applyOptions(const OptionValues& values, const std::vector<Option>& changed);
  void applyRows(Table table, int position, int removeCount, const std::vector<Row>& insert);
  // Compares the data with the data the held results came from, and tells
  // the windows when the answer changes.
  void refreshCurrency();
  void setResultsUnsaved(bool unsaved);

  std::unique_ptr<Project> m_project;
  StoreKind m_storeKind;
  std::unique_ptr<QLockFile> m_lock;
  ProjectNotifier m_notifier;
  QUndoStack m_undo;
  QString m_projectFileName;
  bool m_hasOwnResults = false;
  bool m_storeWasTaken = false;
  bool m_runInProgress = false;
  bool m_resultsCurrent = true;
  bool m_resultsUnsaved = false;
  // The fingerprint of the data the held results came from.
  std::optional<std::uint64_t> m_runFingerprint;
  QString m_resultsNote;
  std::optional<RunResult> m_lastRun;
  // Set when a run begins, forgotten with its results.
  std::optional<std::uint8_t> m_runTheory;
  std::array<bool, kMethodCount> m_runMethods{};
  std::vector<CriticalSurface> m_surfaces;
};

}  // namespace pelodyn
