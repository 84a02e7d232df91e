#include "ui/shell/file_commands.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "engine/search.h"
#include "model/data_fingerprint.h"
#include "model/verification.h"
#include "persistence/companion_file.h"
#include "persistence/folders.h"
#include "persistence/project_file.h"
#include "persistence/result_file.h"
#include "persistence/settings_file.h"
#include "persistence/sqlite_store.h"
#include "persistence/text_file.h"
#include "texts/captions.h"
#include "texts/messages.h"
#include "ui/document/run_texts.h"

namespace pelodyn {

namespace {

std::filesystem::path ToPath(const QString& path) {
  return std::filesystem::path(path.toStdString());
}

// The desktop program's own preferences beside the settings file, whose
// layout is fixed.
QSettings DesktopSettings() {
  return QSettings(QString::fromStdString((ConfigFolder() / "desktop.ini").string()), QSettings::IniFormat);
}

constexpr const char* kLastFolderKey = "files/lastFolder";

}  // namespace

FileCommands::FileCommands(ProjectDocument& document, Prompter& prompter, PlatformServices& platform, Hooks hooks)
    : m_document(document), m_prompter(prompter), m_platform(platform), m_hooks(std::move(hooks)) {}

QString FileCommands::text(UiText uiText) const {
  return MessageBoxText(UiTextFor(m_document.language(), uiText));
}

void FileCommands::runNewProject(bool firstTime) {
  const Project& project = m_document.project();
  const std::uint8_t language = project.model.Language;
  const AppSettings settingsBefore = project.settings;
  const DrawingSettings drawingBefore = project.drawing;
  std::string settingsError;
  m_document.newProject([&](Project& p) {
    try {
      ReadSettingsFile(p);
    } catch (const std::exception& e) {
      // A damaged file must not leave half of its values behind.
      p.settings = settingsBefore;
      p.drawing = drawingBefore;
      settingsError = e.what();
    }
    // The language is the user's choice of this session: only the start-up
    // takes it from the settings file.
    if (!firstTime) p.model.Language = language;
  });
  if (!settingsError.empty() && !m_settingsErrorShown) {
    m_settingsErrorShown = true;
    m_prompter.error(
        programTitle(),
        QString::fromStdString(FormatText(UiTextFor(project.model.Language, UiText::SettingsDamaged), {settingsError}))
            .replace(QChar('\r'), QChar('\n')));
  }
  if (m_hooks.setCaption) m_hooks.setCaption(programTitle() + QStringLiteral(" - New Project.pdd"));
  if (m_hooks.projectLoaded) m_hooks.projectLoaded();
}

bool FileCommands::settleUnsavedChanges(UiText caption) {
  if (!m_document.hasUnsavedWork()) return true;
  // Results alone are named as such: the data themselves are saved.
  const UiText question = m_document.isModified() ? UiText::SaveChangesQuestion : UiText::SaveResultsQuestion;
  switch (m_prompter.askSaveDiscardCancel(text(caption), text(question))) {
    case SaveChoice::Cancel:
      return false;
    case SaveChoice::Save:
      return saveCommand();
    case SaveChoice::Discard:
      return true;
  }
  return false;
}

bool FileCommands::newCommand() {
  if (m_document.hasUnsavedWork()) {
    if (!settleUnsavedChanges(UiText::NewCaption)) return false;
  } else if (!m_prompter.askOkCancel(text(UiText::NewCaption), text(UiText::NewQuestion))) {
    return false;
  }
  runNewProject(false);
  return true;
}

bool FileCommands::openCommand() {
  if (!settleUnsavedChanges(UiText::SaveChangesCaption)) return false;
  const auto path =
      m_prompter.openFileName(text(UiText::SaveChangesCaption), {text(UiText::OpenDialogFilter)}, dialogFolder());
  if (!path) return false;
  return openPath(*path);
}

bool FileCommands::openPath(const QString& path) {
  const Project& project = m_document.project();
  // Read into a scratch project: a file that fails half-way leaves the open
  // project, its path and the caption exactly as they were.
  Project scratch(SqliteWorkingStore::OpenInMemory());
  scratch.settings = project.settings;
  scratch.drawing = project.drawing;
  scratch.model.Language = project.model.Language;
  NewProject(scratch, [&](Project& p) {
    try {
      ReadSettingsFile(p);
    } catch (const std::exception&) {
      // Shown once at start-up; the values in use stay.
      p.settings = project.settings;
    }
  });
  ReadAnyProjectFile(scratch, m_platform, ToPath(path));
  // The companion beside it: what the project file has no room for. A
  // damaged one refuses the Open, naming it, before anything changed.
  const std::filesystem::path companionPath = CompanionFilePath(path.toStdString());
  std::optional<Companion> companion;
  if (std::filesystem::exists(companionPath)) {
    companion = ReadCompanionFile(companionPath);
    ApplyCompanion(*companion, scratch);
  }

  m_document.adoptProject(scratch, path);
  showSavedResults(companion ? companion->results : std::nullopt);
  rememberFolder(path);
  setPathAndCaption(path);
  if (m_hooks.projectLoaded) m_hooks.projectLoaded();
  return true;
}

void FileCommands::setPathAndCaption(const QString& path) {
  if (m_hooks.setCaption) m_hooks.setCaption(programTitle() + QStringLiteral(" - ") + path);
}

QString FileCommands::dialogFolder() const {
  const QString path = m_document.projectFilePath();
  if (!path.isEmpty()) {
    const QString folder = QFileInfo(path).absolutePath();
    if (QFileInfo(folder).isDir()) return folder;
  }
  const QString last = DesktopSettings().value(QLatin1String(kLastFolderKey)).toString();
  if (!last.isEmpty() && QFileInfo(last).isDir()) return last;
  return QDir::homePath();
}

void FileCommands::rememberFolder(const QString& path) {
  QSettings settings = DesktopSettings();
  settings.setValue(QLatin1String(kLastFolderKey), QFileInfo(path).absolutePath());
}

void FileCommands::showSavedResults(const std::optional<ResultsStamp>& stamp) {
  Project& project = m_document.projectForAnalysis();
  const std::filesystem::path resultPath = MakeResultFilePath(project.ProjectFilePath);
  std::error_code error;
  if (!std::filesystem::is_regular_file(resultPath, error)) return;
  // Results are shown only where the stamp says they came from exactly the
  // data just read and the result file is the one written with it.
  const bool belongs = stamp && stamp->fingerprint == AnalysisDataFingerprint(project) &&
                       std::filesystem::file_size(resultPath, error) == stamp->resultFileSize && !error;
  if (!belongs) {
    m_document.setResultsNote(QString::fromStdString(
        FormatText(UiTextFor(m_document.language(), UiText::SavedResultsNotOfData), {resultPath.string()})));
    return;
  }
  try {
    m_document.adoptSavedResults(*stamp, resultPath, m_platform);
  } catch (const std::exception& e) {
    m_document.resetRunState();
    m_document.setResultsNote(QString::fromStdString(
        FormatText(UiTextFor(m_document.language(), UiText::SavedResultsUnreadable), {e.what()})));
  }
}

void FileCommands::saveProject(const QString& path, bool legacy) {
  Project& project = m_document.projectForAnalysis();
  const std::string pathText = path.toStdString();
  const std::filesystem::path projectPath = ToPath(path);
  const std::filesystem::path companionPath = CompanionFilePath(pathText);
  const std::filesystem::path resultPath = MakeResultFilePath(pathText);

  // The companion already there: keys of a newer Pelodyn are kept, and its
  // stamp says whether the result file beside belongs to the saved data.
  Companion companion;
  std::error_code error;
  if (std::filesystem::exists(companionPath, error)) {
    try {
      companion = ReadCompanionFile(companionPath);
    } catch (const FileError&) {
      // A damaged companion is replaced by the one this save writes.
      companion = Companion{};
    }
  }
  const std::optional<ResultsStamp> oldStamp = companion.results;
  companion.results.reset();

  // The project file goes to a scratch name first and is read back: what it
  // cannot give back goes into the companion, and the data as they will be
  // opened decide which results belong beside them.
  std::filesystem::path projectScratch = projectPath;
  projectScratch += ".saving";
  std::filesystem::path companionScratch = companionPath;
  companionScratch += ".saving";
  struct Scratch {
    std::filesystem::path a, b;
    ~Scratch() {
      std::error_code ignored;
      std::filesystem::remove(a, ignored);
      std::filesystem::remove(b, ignored);
    }
  } scratchFiles{projectScratch, companionScratch};
  if (legacy) {
    WriteLegacyProjectFile(project, m_platform, projectScratch);
  } else {
    WriteProjectFile(project, m_platform, projectScratch);
  }
  std::uint64_t savedFingerprint = 0;
  {
    Project saved(SqliteWorkingStore::OpenInMemory());
    NewProject(saved);
    SilentPlatform silent;
    ReadAnyProjectFile(saved, silent, projectScratch);
    RecordBeyondFile(companion, project, saved);
    ApplyCompanion(companion, saved);
    savedFingerprint = AnalysisDataFingerprint(saved);
  }

  // The result file: written when the project has current results of the
  // saved data; otherwise one beside it that speaks for other data goes.
  std::string resultError;
  // Out-of-date results stay unsaved work: undo may make them current.
  bool resultsSettled = !m_document.hasOwnResults() && m_document.resultsCurrent();
  QString removedNotice;
  std::optional<ResultsStamp> stamp = m_document.resultsStamp();
  bool writeResults = stamp && stamp->fingerprint == savedFingerprint;
  if (writeResults && m_document.resultsPartial()) {
    // A stopped run's results are not the project's results: the result
    // file already there stays (when it belongs to these data) unless the
    // user wants them.
    const QString stopped = StoppedRunText(m_document.language(), *m_document.lastRun());
    const QString question =
        QString::fromStdString(FormatText(UiTextFor(m_document.language(), UiText::PartialResultsQuestion),
                                          {stopped.toStdString(), resultPath.string()}));
    writeResults = m_prompter.askYesNo(text(UiText::PartialResultsCaption), MessageBoxText(question.toStdString()));
  }
  if (writeResults) {
    try {
      // A million-row result file is read and written on two threads.
      WriteResultFile(project, resultPath, SearchThreads(0), ResultFileNotes(m_document));
      stamp->resultFileSize = std::filesystem::file_size(resultPath);
      companion.results = stamp;
      resultsSettled = true;
    } catch (const std::exception& e) {
      resultError = e.what();
    }
  }
  if (!companion.results && std::filesystem::exists(resultPath, error)) {
    const bool oldBelongs = oldStamp && oldStamp->fingerprint == savedFingerprint &&
                            std::filesystem::file_size(resultPath, error) == oldStamp->resultFileSize && !error;
    if (oldBelongs) {
      companion.results = oldStamp;
    } else if (std::filesystem::remove(resultPath, error) && !error) {
      removedNotice = QString::fromStdString(
          FormatText(UiTextFor(m_document.language(), UiText::ResultFileRemoved), {resultPath.string()}));
    } else {
      removedNotice = QString::fromStdString(FormatText(UiTextFor(m_document.language(), UiText::ResultFileNotRemoved),
                                                        {resultPath.string(), error.message()}));
    }
  }

  // Both files in place together; a companion with nothing to hold goes.
  if (companion.holdsData()) WriteCompanionFile(companion, companionScratch);
  std::filesystem::rename(projectScratch, projectPath);
  if (companion.holdsData()) {
    std::filesystem::rename(companionScratch, companionPath);
  } else {
    std::filesystem::remove(companionPath, error);
  }

  m_document.markSaved(path);
  if (resultsSettled) {
    m_document.markResultsSaved(true);
  } else if (!companion.results) {
    m_document.markResultsSaved(false);
  }
  rememberFolder(path);
  if (!resultError.empty()) {
    // The project file is written: the user must hear that, and why the
    // result file is not.
    throw std::runtime_error(FormatText(UiTextFor(m_document.language(), UiText::ResultFileNotWritten),
                                        {pathText, resultPath.string(), resultError}));
  }
  if (!removedNotice.isEmpty()) m_prompter.information(QString(), MessageBoxText(removedNotice.toStdString()));
}

bool FileCommands::saveCommand() {
  const QString path = m_document.projectFilePath();
  if (!path.isEmpty()) {
    saveProject(path, false);
    m_prompter.information(QString(), text(UiText::FileSaved));
    return true;
  }
  // A new project: Save asks for a name but always writes version 2.0.
  return saveWithDialog(false);
}

bool FileCommands::saveAsCommand() {
  return saveWithDialog(true);
}

bool FileCommands::saveWithDialog(bool honourFilter) {
  const QStringList filters = {text(UiText::SaveDialogFilterCurrent), text(UiText::SaveDialogFilterLegacy)};
  const QString initial = QDir(dialogFolder()).filePath(QStringLiteral("New Project"));
  const auto target = m_prompter.saveFileName(QString(), filters, initial, QStringLiteral("pdd"));
  if (!target) {
    m_prompter.information(QString(), text(UiText::FileNotSaved));
    return false;
  }
  if (QFileInfo::exists(target->path) &&
      !m_prompter.askOkCancel(text(UiText::ReplaceCaption), text(UiText::ReplaceQuestion))) {
    return false;
  }
  try {
    saveProject(target->path, honourFilter && target->filterIndex == 1);
  } catch (...) {
    // A project that was written carries its new name, even when its result
    // file failed.
    if (m_document.projectFilePath() == target->path) setPathAndCaption(target->path);
    throw;
  }
  setPathAndCaption(target->path);
  m_prompter.information(QString(), text(UiText::FileSaved));
  return true;
}

bool FileCommands::confirmQuit() {
  if (m_document.hasUnsavedWork()) {
    if (!settleUnsavedChanges(UiText::QuitCaption)) return false;
  } else if (!m_prompter.askOkCancel(text(UiText::QuitCaption), text(UiText::QuitQuestion))) {
    return false;
  }
  if (m_hooks.writeSettings) m_hooks.writeSettings();
  return true;
}

}  // namespace pelodyn
