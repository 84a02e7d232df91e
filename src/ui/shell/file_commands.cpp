#include "ui/shell/file_commands.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "engine/search.h"
#include "model/verification.h"
#include "persistence/folders.h"
#include "persistence/project_file.h"
#include "persistence/result_file.h"
#include "persistence/settings_file.h"
#include "persistence/sqlite_store.h"
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
  Project& project = m_document.project();
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
  if (!m_document.isModified()) return true;
  switch (m_prompter.askSaveDiscardCancel(text(caption), text(UiText::SaveChangesQuestion))) {
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
  if (m_document.isModified()) {
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
  Project& project = m_document.project();
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

  m_document.adoptProject(scratch, path);
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

void FileCommands::writeTo(const QString& path, bool legacy) {
  Project& project = m_document.project();
  if (legacy) {
    WriteLegacyProjectFile(project, m_platform, ToPath(path));
  } else {
    WriteProjectFile(project, m_platform, ToPath(path));
  }
}

void FileCommands::writeResultIfOwn() {
  Project& project = m_document.project();
  if (!m_document.hasOwnResults() || project.ProjectFilePath.empty()) return;
  const std::filesystem::path resultPath = MakeResultFilePath(project.ProjectFilePath);
  const QString resultName = QString::fromStdString(resultPath.string());
  if (m_document.resultsPartial()) {
    // A stopped run's results are not the project's results: the result
    // file already there stays unless the user wants them.
    const QString stopped = StoppedRunText(m_document.language(), *m_document.lastRun());
    const QString question =
        QString::fromStdString(FormatText(UiTextFor(m_document.language(), UiText::PartialResultsQuestion),
                                          {stopped.toStdString(), resultName.toStdString()}));
    if (!m_prompter.askYesNo(text(UiText::PartialResultsCaption), MessageBoxText(question.toStdString()))) return;
  }
  try {
    // A million-row result file is read and written on two threads.
    WriteResultFile(project, resultPath, SearchThreads(0));
  } catch (const std::exception& e) {
    // The project file is written: the user must hear that, and why the
    // result file is not.
    throw std::runtime_error(FormatText(UiTextFor(m_document.language(), UiText::ResultFileNotWritten),
                                        {project.ProjectFilePath, resultPath.string(), e.what()}));
  }
}

bool FileCommands::saveCommand() {
  const QString path = m_document.projectFilePath();
  if (!path.isEmpty()) {
    writeTo(path, false);
    m_document.markSaved(path);
    rememberFolder(path);
    writeResultIfOwn();
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
  writeTo(target->path, honourFilter && target->filterIndex == 1);
  m_document.markSaved(target->path);
  rememberFolder(target->path);
  setPathAndCaption(target->path);
  writeResultIfOwn();
  m_prompter.information(QString(), text(UiText::FileSaved));
  return true;
}

bool FileCommands::confirmQuit() {
  if (m_document.isModified()) {
    if (!settleUnsavedChanges(UiText::QuitCaption)) return false;
  } else if (!m_prompter.askOkCancel(text(UiText::QuitCaption), text(UiText::QuitQuestion))) {
    return false;
  }
  if (m_hooks.writeSettings) m_hooks.writeSettings();
  return true;
}

}  // namespace pelodyn
