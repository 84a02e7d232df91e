#include "ui/document/project_document.h"

#include <QDir>
#include <QFileInfo>

#include "model/collection.h"
#include "model/control_state.h"
#include "model/data_fingerprint.h"
#include "model/verification.h"
#include "persistence/folders.h"
#include "persistence/result_file_reading.h"
#include "persistence/sqlite_store.h"
#include "ui/document/edit_commands.h"
#include "ui/document/guard.h"

namespace pelodyn {

namespace {

QString OptionDescription(Option control) {
  return QStringLiteral("Set ") + OptionObjectName(control);
}

}  // namespace

ProjectDocument::ProjectDocument(std::unique_ptr<Project> project, StoreKind kind, std::unique_ptr<QLockFile> lock)
    : m_project(std::move(project)), m_storeKind(kind), m_lock(std::move(lock)) {
  connect(&m_undo, &QUndoStack::cleanChanged, &m_notifier,
          GuardedSlot([this](bool) { emit m_notifier.modifiedChanged(hasUnsavedWork()); }));
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

void ProjectDocument::editAsOne(const QString& description, const std::function<void()>& edits) {
  m_undo.beginMacro(description);
  try {
    edits();
  } catch (...) {
    m_undo.endMacro();
    throw;
  }
  m_undo.endMacro();
}

void ProjectDocument::setLanguage(std::uint8_t language) {
  if (m_project->model.Language == language) return;
  m_project->model.Language = language;
  emit m_notifier.languageChanged();
}

// ----- Edits -----------------------------------------------------------------

void ProjectDocument::setOptionText(Option control, const QString& text) {
  if (m_project->options.text(control) == text.toStdString()) return;
  OptionValues after = m_project->options;
  after.setText(control, text.toStdString());
  // A field that others follow takes them along, in the same step.
  ApplyTypingRules(m_project->options, after, control);
  std::vector<Option> changed{control};
  for (const ControlDef& def : OptionControls()) {
    if (def.key != control && def.kind == ControlKind::Edit &&
        after.text(def.key) != m_project->options.text(def.key)) {
      changed.push_back(def.key);
    }
  }
  m_undo.push(
      new SetOptionCommand(*this, OptionDescription(control), m_project->options, std::move(after), changed, true));
}

void ProjectDocument::setOptionChecked(Option control, bool checked) {
  if (m_project->options.checked(control) == checked) return;
  OptionValues after = m_project->options;
  after.setChecked(control, checked);
  m_undo.push(
      new SetOptionCommand(*this, OptionDescription(control), m_project->options, std::move(after), {control}, false));
}

void ProjectDocument::setOptionIndex(Option control, int index) {
  if (m_project->options.itemIndex(control) == index) return;
  OptionValues after = m_project->options;
  after.setItemIndex(control, index);
  m_undo.push(
      new SetOptionCommand(*this, OptionDescription(control), m_project->options, std::move(after), {control}, false));
}

void ProjectDocument::setOptions(const QString& description, const std::function<void(OptionValues&)>& change) {
  OptionValues after = m_project->options;
  change(after);
  if (after == m_project->options) return;
  std::vector<Option> changed;
  for (const ControlDef& def : OptionControls()) {
    const Option key = def.key;
    const bool differs = def.kind == ControlKind::Edit    ? after.text(key) != m_project->options.text(key)
                         : def.kind == ControlKind::Check ? after.checked(key) != m_project->options.checked(key)
                                                          : after.itemIndex(key) != m_project->options.itemIndex(key);
    if (differs) changed.push_back(key);
  }
  m_undo.push(new SetOptionCommand(*this, description, m_project->options, std::move(after), changed, false));
}

void ProjectDocument::editCell(Table table, int position, std::size_t field, const FieldValue& value) {
  Row before = m_project->store->rowAt(table, position);
  Row after = before;
  if (field >= after.fieldCount()) throw StoreError("Table " + std::string(TableName(table)) + " has no such field");
  after.value(field) = value;
  // The row's own conversion rules decide whether the value fits.
  if (const auto* i = std::get_if<std::int64_t>(&value)) after.setAt(field, *i);
  if (const auto* d = std::get_if<double>(&value)) after.setAt(field, *d);
  if (const auto* s = std::get_if<std::string>(&value)) after.setAt(field, std::string_view(*s));
  if (after == before) return;
  m_undo.push(new RowsCommand(*this, QStringLiteral("Edit ") + QString::fromUtf8(TableName(table).data()), table,
                              position, {std::move(before)}, {std::move(after)}));
}

void ProjectDocument::insertRows(Table table, int position, std::vector<Row> rows) {
  const int count = m_project->store->rowCount(table);
  if (rows.empty()) return;
  if (position < 1 || position > count + 1) throw StoreError("Cannot insert a row at " + std::to_string(position));
  m_undo.push(new RowsCommand(*this, QStringLiteral("Insert rows"), table, position, {}, std::move(rows)));
}

void ProjectDocument::removeRows(Table table, int position, int count) {
  if (count <= 0) return;
  std::vector<Row> removed = m_project->store->rowsFrom(table, position, count);
  if (static_cast<int>(removed.size()) != count) {
    throw StoreError("Table " + std::string(TableName(table)) + " has no row " + std::to_string(position + count - 1));
  }
  m_undo.push(new RowsCommand(*this, QStringLiteral("Delete rows"), table, position, std::move(removed), {}));
}

void ProjectDocument::replaceRows(Table table, std::vector<Row> rows) {
  std::vector<Row> before = m_project->store->rows(table);
  if (before == rows) return;
  m_undo.push(new RowsCommand(*this, QStringLiteral("Replace rows"), table, 1, std::move(before), std::move(rows)));
}

void ProjectDocument::replaceTables(const QString& description,
                                    std::vector<std::pair<Table, std::vector<Row>>> tables) {
  auto command = std::make_unique<TablesCommand>(*this, description);
  for (auto& [table, rows] : tables) {
    std::vector<Row> before = m_project->store->rows(table);
    if (before == rows) continue;
    new RowsCommand(*this, description, table, 1, std::move(before), std::move(rows), command.get());
  }
  if (command->childCount() == 0) return;
  m_undo.push(command.release());
}

void ProjectDocument::applyOptions(const OptionValues& values, const std::vector<Option>& changed) {
  m_project->options = values;
  SyncModelFlags(*m_project);
  for (Option control : changed) emit m_notifier.optionChanged(control);
  refreshCurrency();
}

void ProjectDocument::applyRows(Table table, int position, int removeCount, const std::vector<Row>& insert) {
  WorkingStore& store = *m_project->store;
  StoreTransaction transaction(store);
  if (removeCount == 1 && insert.size() == 1) {
    store.update(position, insert.front());
  } else {
    for (int k = 0; k < removeCount; ++k) store.remove(table, position);
    int at = position;
    for (const Row& row : insert) store.insert(at++, row);
  }
  transaction.commit();
  // The crack's switch follows its points as well as its box.
  if (table == Table::Tcrack) SyncModelFlags(*m_project);
  emit m_notifier.rowsEdited(table, position, removeCount, static_cast<int>(insert.size()));
  emit m_notifier.rowsChanged(table, position);
  refreshCurrency();
}

void ProjectDocument::refreshCurrency() {
  // A run in progress owns the store; its data cannot change meanwhile.
  if (m_runInProgress) return;
  const bool current = !m_runFingerprint || AnalysisDataFingerprint(*m_project) == *m_runFingerprint;
  if (current == m_resultsCurrent) return;
  m_resultsCurrent = current;
  emit m_notifier.resultsChanged();
  emit m_notifier.modifiedChanged(hasUnsavedWork());
}

void ProjectDocument::setResultsUnsaved(bool unsaved) {
  const bool before = hasUnsavedWork();
  m_resultsUnsaved = unsaved;
  if (before != hasUnsavedWork()) emit m_notifier.modifiedChanged(hasUnsavedWork());
}

void ProjectDocument::markResultsSaved(bool saved) {
  setResultsUnsaved(!saved && m_hasOwnResults);
}

const std::vector<CriticalSurface>& ProjectDocument::presentedSurfaces() const {
  static const std::vector<CriticalSurface> kNone;
  return m_resultsCurrent ? m_surfaces : kNone;
}

void ProjectDocument::setResultsNote(const QString& note) {
  if (m_resultsNote == note) return;
  m_resultsNote = note;
  emit m_notifier.resultsChanged();
}

std::optional<ResultsStamp> ProjectDocument::resultsStamp() const {
  if (!hasOwnResults() || !m_runFingerprint || !m_lastRun) return std::nullopt;
  std::vector<std::pair<int, int>> warnings;
  for (const RunWarning& w : m_lastRun->warnings) warnings.emplace_back(w.method, static_cast<int>(w.edge));
  return StampOfRun(*m_project, *m_runFingerprint, runTheory(), runMethods(), resultsPartial(), m_lastRun->trialsDone,
                    m_lastRun->trialsTotal, std::move(warnings));
}

void ProjectDocument::adoptSavedResults(const ResultsStamp& stamp, const std::filesystem::path& resultFile,
                                        PlatformServices& platform) {
  if (m_runInProgress) return;
  ReadResultFileTables(*m_project->store, resultFile);
  RunState& run = m_project->run;
  run.Minimum = stamp.minima;
  run.BestSurfaceX = stamp.bestSurfaceX;
  run.BestSurfaceY = stamp.bestSurfaceY;
  run.MaxRadius = stamp.maxRadius;
  run.MinRadius = stamp.minRadius;
  run.RunStarted = 1;
  RunResult result;
  result.outcome = stamp.partial ? RunOutcome::Stopped : RunOutcome::Complete;
  result.trialsDone = stamp.trialsDone;
  result.trialsTotal = stamp.trialsTotal;
  for (const auto& [method, edge] : stamp.warnings) {
    result.warnings.push_back(RunWarning{method, static_cast<RunWarning::Edge>(edge)});
  }
  m_lastRun = result;
  m_runTheory = static_cast<std::uint8_t>(stamp.theory);
  m_runMethods = stamp.methods;
  m_runFingerprint = stamp.fingerprint;
  m_hasOwnResults = true;
  m_resultsUnsaved = false;
  m_resultsCurrent = AnalysisDataFingerprint(*m_project) == stamp.fingerprint;
  m_resultsNote.clear();
  emit m_notifier.runStateChanged();
  // The surfaces are analysed again from the saved minima, in the data
  // they came from: the collection is that of the project as read.
  if (m_resultsCurrent) {
    SilentPlatform silent;
    CollectAnalysisData(*m_project, silent);
    if (m_project->model.DataError == 0) m_surfaces = PresentCriticalSurfaces(*m_project, platform);
  }
  emit m_notifier.tableReset(Table::Results);
  emit m_notifier.tableReset(Table::Failure_Geometry);
  emit m_notifier.resultsChanged();
  emit m_notifier.modifiedChanged(hasUnsavedWork());
}

// ----- Whole project -----------------------------------------------------------

void ProjectDocument::newProject(const std::function<void(Project&)>& readSettings) {
  NewProject(*m_project, readSettings);
  // The root data belong to the project they were typed for.
  {
    WorkingStore& store = *m_project->store;
    StoreTransaction transaction(store);
    for (Table table : CompanionTables()) {
      if (store.rowCount(table) > 0) store.empty(table);
    }
    transaction.commit();
  }
  SyncModelFlags(*m_project);
  m_projectFileName.clear();
  resetRunState();
  m_undo.clear();
  emit m_notifier.projectReset();
}

void ProjectDocument::adoptProject(Project& other, const QString& path) {
  Project& p = *m_project;
  WorkingStore& store = *p.store;
  {
    StoreTransaction transaction(store);
    for (Table table : AllTables()) {
      store.empty(table);
      other.store->visitRows(table, [&store](const Row& row) { store.append(row); });
    }
    transaction.commit();
  }
  const std::uint8_t language = p.model.Language;
  p.options = other.options;
  p.model = other.model;
  p.model.Language = language;
  p.drawing = other.drawing;
  p.ProjectFilePath = path.toStdString();
  m_projectFileName = QFileInfo(path).fileName();
  resetRunState();
  m_undo.clear();
  emit m_notifier.projectReset();
}

void ProjectDocument::markSaved(const QString& path) {
  m_project->ProjectFilePath = path.toStdString();
  m_projectFileName = QFileInfo(path).fileName();
  m_undo.setClean();
}

QString ProjectDocument::projectFilePath() const {
  return QString::fromStdString(m_project->ProjectFilePath);
}

void ProjectDocument::updateSettings(const std::function<void(AppSettings&)>& change) {
  const AppSettings before = m_project->settings;
  change(m_project->settings);
  if (!(before == m_project->settings)) emit m_notifier.settingsChanged();
}

void ProjectDocument::updateDrawing(const std::function<void(DrawingSettings&)>& change) {
  const DrawingSettings before = m_project->drawing;
  change(m_project->drawing);
  if (!(before == m_project->drawing)) emit m_notifier.settingsChanged();
}

// ----- The run ---------------------------------------------------------------

std::uint8_t ProjectDocument::runTheory() const {
  return m_runTheory ? *m_runTheory : m_project->model.AnalysisTheory;
}

std::array<bool, kMethodCount> ProjectDocument::runMethods() const {
  if (m_runTheory) return m_runMethods;
  const AnalysisModel& m = m_project->model;
  return {m.UseOrdinary != 0, m.UseSimplifiedJanbu != 0, m.UseSimplifiedBishop != 0, m.UseSpencer != 0};
}

void ProjectDocument::beginRun() {
  const AnalysisModel& m = m_project->model;
  m_runTheory = m.AnalysisTheory;
  m_runMethods = {m.UseOrdinary != 0, m.UseSimplifiedJanbu != 0, m.UseSimplifiedBishop != 0, m.UseSpencer != 0};
  m_runFingerprint = AnalysisDataFingerprint(*m_project);
  m_resultsCurrent = true;
  m_resultsNote.clear();
  m_runInProgress = true;
  m_surfaces.clear();
  emit m_notifier.runStateChanged();
  emit m_notifier.resultsChanged();
}

void ProjectDocument::endRun(const RunResult& result) {
  m_runInProgress = false;
  m_lastRun = result;
  // A run that failed has cleared what an earlier one left.
  m_hasOwnResults = result.outcome == RunOutcome::Complete || result.outcome == RunOutcome::Stopped;
  m_resultsUnsaved = m_hasOwnResults;
  emit m_notifier.runStateChanged();
  emit m_notifier.modifiedChanged(hasUnsavedWork());
}

void ProjectDocument::presentCriticalSurfaces(PlatformServices& platform) {
  // Out-of-date minima analysed in today's data would be neither.
  if (m_runInProgress || !m_resultsCurrent) return;
  m_surfaces = PresentCriticalSurfaces(*m_project, platform);
  emit m_notifier.tableReset(Table::Failure_Geometry);
  emit m_notifier.resultsChanged();
}

void ProjectDocument::presentResultsRow(PlatformServices& platform, double radius, double centerX, double centerY) {
  if (m_runInProgress || !m_resultsCurrent) return;
  std::optional<CriticalSurface> surface = ReplayResultsRow(*m_project, platform, radius, centerX, centerY);
  if (!surface) return;
  m_surfaces = {std::move(*surface)};
  emit m_notifier.tableReset(Table::Failure_Geometry);
  emit m_notifier.resultsChanged();
}

void ProjectDocument::setShowPicture(int method, bool shown) {
  if (method < 0 || method >= kMethodCount) return;
  m_project->run.ShowPicture[static_cast<std::size_t>(method)] = shown;
}

void ProjectDocument::recordCriticalSurface() {
  if (m_runInProgress || !m_resultsCurrent) return;
  RecordCriticalSurface(*m_project);
  emit m_notifier.tableReset(Table::Failure_Geometry);
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
  // The slice set of the previous project's last surface must not be shown
  // as this one's.
  m_project->slices = SliceSet{};
  m_hasOwnResults = false;
  m_resultsUnsaved = false;
  m_resultsCurrent = true;
  m_runFingerprint.reset();
  m_resultsNote.clear();
  m_lastRun.reset();
  m_runTheory.reset();
  m_surfaces.clear();
  emit m_notifier.runStateChanged();
  emit m_notifier.resultsChanged();
  emit m_notifier.modifiedChanged(hasUnsavedWork());
}

}  // namespace pelodyn
