#include "ui/project_document.h"

#include <QDir>

#include "persistence/folders.h"
#include "persistence/sqlite_store.h"

namespace pelodyn {

ProjectDocument::ProjectDocument(std::unique_ptr<Project> project, StoreKind kind, std::unique_ptr<QLockFile> lock)
    : m_project(std::move(project)), m_storeKind(kind), m_lock(std::move(lock)) {
  // Any change after the last New, Open or Save makes the project modified.
  // The tables a run or a replay fills are results, not the user's data.
  const auto touchTable = [this](Table table) {
    switch (table) {
      case Table::Results:
      case Table::Failure_Geometry:
      case Table::NonCirSlip_Janbu:
      case Table::NonCirSlip_Bishop:
      case Table::NonCirSlip_Spencer:
        return;
      default:
        setModified(true);
    }
  };
  connect(&m_notifier, &ProjectNotifier::tableReset, this, touchTable);
  connect(&m_notifier, &ProjectNotifier::rowsChanged, this, [touchTable](Table table, int) { touchTable(table); });
  connect(&m_notifier, &ProjectNotifier::optionChanged, this, [this] { setModified(true); });
}

ProjectDocument::~ProjectDocument() = default;

std::unique_ptr<ProjectDocument> ProjectDocument::openDesktop() {
  const std::filesystem::path folder = DatabaseFolder();
  EnsureFolder(folder);
  auto lock = std::make_unique<QLockFile>(QString::fromStdString((folder / "Janbu.lock").string()));
  // A lock left by a crashed program is taken over; a live one is not.
  lock->setStaleLockTime(0);
  if (lock->tryLock(0)) {
    auto project = std::make_unique<Project>(OpenDataStore());
    return std::unique_ptr<ProjectDocument>(
        new ProjectDocument(std::move(project), StoreKind::DataFolder, std::move(lock)));
  }
  auto document = openPrivate();
  document->m_storeWasTaken = true;
  return document;
}

std::unique_ptr<ProjectDocument> ProjectDocument::openPrivate() {
  auto project = std::make_unique<Project>(SqliteWorkingStore::OpenInMemory());
  return std::unique_ptr<ProjectDocument>(new ProjectDocument(std::move(project), StoreKind::Private, nullptr));
}

void ProjectDocument::setLanguage(std::uint8_t language) {
  if (m_project->model.Language == language) return;
  m_project->model.Language = language;
  emit m_notifier.languageChanged();
}

void ProjectDocument::setModified(bool modified) {
  m_modified = modified;
  if (!modified) m_undo.setClean();
}

void ProjectDocument::resetRunState() {
  RunState& run = m_project->run;
  run.RunStarted = 0;
  run.ResultAvailable = 0;
  run.LoopCount = 0;
  run.ProgressPercent = 0;
  run.MethodLoopCount = {};
  run.SlidingMassArea = 0.0;
  run.SurfaceCount = 0;
  run.ResultCodeCount.clear();
  run.Minimum = {};
  for (auto& v : run.BestSurfaceX) v.clear();
  for (auto& v : run.BestSurfaceY) v.clear();
  m_project->slices.SliceCount = 0;
  m_hasOwnResults = false;
}

void ProjectDocument::adoptProject(Project& other) {
  Project& p = *m_project;
  WorkingStore& store = *p.store;
  {
    StoreTransaction transaction(store);
    for (Table table : AllTables()) {
      // The vegetation calculator's root tables belong to the program, not
      // to a project file.
      if (table == Table::Root_No || table == Table::Root_Layer || table == Table::Root_Position) continue;
      store.empty(table);
      for (const Row& row : other.store->rows(table)) store.append(row);
    }
    transaction.commit();
  }
  const std::uint8_t language = p.model.Language;
  p.options = other.options;
  p.model = other.model;
  p.model.Language = language;
  p.drawing = other.drawing;
  p.ProjectFilePath = other.ProjectFilePath;
}

}  // namespace pelodyn
