// New, Open, Save, Save As and the confirmation of quitting.
//
// Nothing changes until an operation has succeeded: Open reads into a
// scratch project and hands it to the document only when the whole file was
// read; Save and Save As set the path, the name and the caption only after a
// successful write. A cancelled dialog writes nothing. New, Open and Quit
// with unsaved changes ask Save / Discard / Cancel first. The result file is
// written on save only when this project has results of its own; results of
// a stopped run are written only when the user says so.
#pragma once

#include <QString>
#include <functional>

#include <optional>
#include "texts/captions.h"

#include "persistence/companion_file.h"
#include "ui/document/project_document.h"
#include "ui/document/prompter.h"

namespace pelodyn {

class PlatformServices;

class FileCommands {
 public:
  struct Hooks {
    // The window caption changed (without the modified mark).
    std::function<void(const QString&)> setCaption;
    // A project was read or created: fit the view and redraw.
    std::function<void()> projectLoaded;
    // Writes the settings file when quitting.
    std::function<void()> writeSettings;
  };

  FileCommands(ProjectDocument& document, Prompter& prompter, PlatformServices& platform, Hooks hooks);

  static QString programTitle() { return ProgramTitle(); }

  // New Project on the document: tables emptied, options at their defaults,
  // the settings file applied. The settings file's error is shown once per
  // program run; the program then goes on with the defaults.
  void runNewProject(bool firstTime);

  // The commands; each returns true when it did what it was asked.
  bool newCommand();
  bool openCommand();
  // Opens `path` without the dialog (the command line, tests).
  bool openPath(const QString& path);
  bool saveCommand();
  bool saveAsCommand();
  bool confirmQuit();

  // The folder a file dialog opens in: the project's own folder, else the
  // last folder used (kept in the desktop settings), else the home folder.
  QString dialogFolder() const;

 private:
  QString text(UiText uiText) const;
  // Asks Save / Discard / Cancel when the project has unsaved changes;
  // true when the command may go on.
  bool settleUnsavedChanges(UiText caption);
  bool saveWithDialog(bool honourFilter);
  // Writes the project file at `path` (version 1.18 when `legacy`), its
  // companion, and the result file when the project has current results of
  // the saved data; a result file beside it that belongs to other data is
  // removed, and the user told. When the result file cannot be written the
  // project is saved all the same and the message says so.
  void saveProject(const QString& path, bool legacy);
  // After Open: the results of the result file beside the project when the
  // companion's stamp says they came from the data read, else a note.
  void showSavedResults(const std::optional<ResultsStamp>& stamp);
  void setPathAndCaption(const QString& path);
  void rememberFolder(const QString& path);

  ProjectDocument& m_document;
  Prompter& m_prompter;
  PlatformServices& m_platform;
  Hooks m_hooks;
  bool m_settingsErrorShown = false;
};

}  // namespace pelodyn
