#include "ui/file_commands.h"

#include <QFileInfo>

#include "model/verification.h"
#include "persistence/project_file.h"
#include "persistence/result_file.h"
#include "persistence/settings_file.h"
#include "persistence/sqlite_store.h"
#include "texts/captions.h"
#include "texts/messages.h"

namespace pelodyn {

namespace {

std::filesystem::path ToPath(const QString& path) {
  return std::filesystem::path(path.toStdString());
}

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
  NewProject(project, [&](Project& p) {
    try {
      ReadSettingsFile(p);
    } catch (const std::exception& e) {
      // A damaged file must not leave half of its values behind.
      p.settings = settingsBefore;
      p.drawing = drawingBefore;
      settingsError = e.what();
    }
  });
  // The language is the user's choice of this session: only the start-up
  // takes it from the settings file.
  if (!firstTime) project.model.Language = language;
  if (!settingsError.empty() && !m_settingsErrorShown) {
    m_settingsErrorShown = true;
    m_prompter.error(
        programTitle(),
        QString::fromStdString(FormatText(UiTextFor(project.model.Language, UiText::SettingsDamaged), {settingsError}))
            .replace(QChar('\r'), QChar('\n')));
  }
  m_document.resetRunState();
  m_document.ProjectFileName.clear();
  m_document.setModified(false);
  m_document.undoStack().clear();
  emit m_document.notifier().projectReset();
  if (m_hooks.setCaption) m_hooks.setCaption(programTitle() + QStringLiteral(" - New Project.pdd"));
  if (m_hooks.projectLoaded) m_hooks.projectLoaded();
}

bool FileCommands::newCommand() {
  if (!m_prompter.askOkCancel(text(UiText::NewCaption), text(UiText::NewQuestion))) return false;
  runNewProject(false);
  return true;
}

bool FileCommands::openCommand() {
  if (m_document.isModified()) {
    switch (m_prompter.askSaveDiscardCancel(text(UiText::SaveChangesCaption), text(UiText::SaveChangesQuestion))) {
      case SaveChoice::Cancel:
        return false;
      case SaveChoice::Save:
        if (!saveCommand()) return false;
        break;
      case SaveChoice::Discard:
        break;
    }
  }
  const auto path = m_prompter.openFileName(text(UiText::SaveChangesCaption), {text(UiText::OpenDialogFilter)});
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

  m_document.adoptProject(scratch);
  project.ProjectFilePath = path.toStdString();
  m_document.resetRunState();
  m_document.ProjectFileName = QFileInfo(path).fileName();
  m_document.undoStack().clear();
  emit m_document.notifier().projectReset();
  m_document.setModified(false);
  setPathAndCaption(path);
  if (m_hooks.projectLoaded) m_hooks.projectLoaded();
  return true;
}

void FileCommands::setPathAndCaption(const QString& path) {
  if (m_hooks.setCaption) m_hooks.setCaption(programTitle() + QStringLiteral(" - ") + path);
}

bool FileCommands::writeTo(const QString& path, bool legacy) {
  Project& project = m_document.project();
  if (legacy) {
    WriteLegacyProjectFile(project, m_platform, ToPath(path));
  } else {
    WriteProjectFile(project, m_platform, ToPath(path));
  }
  return true;
}

void FileCommands::writeResultIfOwn() {
  Project& project = m_document.project();
  if (!m_document.hasOwnResults() || project.ProjectFilePath.empty()) return;
  WriteResultFile(project, MakeResultFilePath(project.ProjectFilePath));
}

bool FileCommands::saveCommand() {
  Project& project = m_document.project();
  if (!project.ProjectFilePath.empty()) {
    const QString path = QString::fromStdString(project.ProjectFilePath);
    writeTo(path, false);
    m_document.ProjectFileName = QFileInfo(path).fileName();
    m_document.setModified(false);
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
  const auto target = m_prompter.saveFileName(QString(), filters, QStringLiteral("New Project"), QStringLiteral("pdd"));
  if (!target) {
    m_prompter.information(QString(), text(UiText::FileNotSaved));
    return false;
  }
  if (QFileInfo::exists(target->path) &&
      !m_prompter.askOkCancel(text(UiText::ReplaceCaption), text(UiText::ReplaceQuestion))) {
    return false;
  }
  writeTo(target->path, honourFilter && target->filterIndex == 1);
  Project& project = m_document.project();
  project.ProjectFilePath = target->path.toStdString();
  m_document.ProjectFileName = QFileInfo(target->path).fileName();
  m_document.setModified(false);
  setPathAndCaption(target->path);
  writeResultIfOwn();
  m_prompter.information(QString(), text(UiText::FileSaved));
  return true;
}

bool FileCommands::confirmQuit() {
  if (!m_prompter.askOkCancel(text(UiText::QuitCaption), text(UiText::QuitQuestion))) return false;
  if (m_hooks.writeSettings) m_hooks.writeSettings();
  return true;
}

}  // namespace pelodyn
