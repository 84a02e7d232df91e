// The project the desktop program works on, with the one change notifier
// that grids, the drawing and the control state listen to.
//
// The document owns the Project and its working store. The desktop store
// lives in the data folder and is guarded by a lock file: a second running
// program that finds it locked keeps its project in a private in-memory
// store instead, so it can never empty the first one's tables.
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QUndoStack>
#include <memory>

#include "model/project.h"
#include "model/working_store.h"

namespace pelodyn {

// Tells everything that shows the project what changed. Data flows one way:
// an edit changes the project, then the notifier tells every view.
class ProjectNotifier : public QObject {
  Q_OBJECT
 signals:
  // A new project or a project read from a file: everything changed.
  void projectReset();
  void tableReset(pelodyn::Table table);
  void rowsChanged(pelodyn::Table table, int position);
  void optionChanged(const QString& control);
  // The drawing settings or the view options changed.
  void drawingChanged();
  // The language of captions and messages changed.
  void languageChanged();
  // A run started or ended, or its results changed.
  void runStateChanged();
};

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

  Project& project() { return *m_project; }
  const Project& project() const { return *m_project; }
  ProjectNotifier& notifier() { return m_notifier; }
  QUndoStack& undoStack() { return m_undo; }
  StoreKind storeKind() const { return m_storeKind; }
  // True when the desktop store was locked by another running program and
  // this document fell back to a private store.
  bool storeWasTaken() const { return m_storeWasTaken; }

  // 0 Thai, 1 English.
  std::uint8_t language() const { return m_project->model.Language; }
  void setLanguage(std::uint8_t language);

  // Unsaved changes since the last New, Open or Save.
  bool isModified() const { return m_modified; }
  void setModified(bool modified);

  // The name part of the project file last opened or saved.
  QString ProjectFileName;

  // True once a run of this project has left results: only then does a save
  // write the result file.
  bool hasOwnResults() const { return m_hasOwnResults; }
  void setHasOwnResults(bool has) { m_hasOwnResults = has; }

  // Forgets the results of the last run (New and Open).
  void resetRunState();

  // Replaces the whole project by `other` (a project read into a scratch
  // copy) keeping this document's store: the tables are copied row by row
  // in one transaction.
  void adoptProject(Project& other);

 private:
  ProjectDocument(std::unique_ptr<Project> project, StoreKind kind, std::unique_ptr<QLockFile> lock);

  std::unique_ptr<Project> m_project;
  StoreKind m_storeKind;
  std::unique_ptr<QLockFile> m_lock;
  ProjectNotifier m_notifier;
  QUndoStack m_undo;
  bool m_modified = false;
  bool m_hasOwnResults = false;
  bool m_storeWasTaken = false;
};

}  // namespace pelodyn
