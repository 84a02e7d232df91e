// New, Open, Save, Save As and the confirmation of quitting.
//
// Nothing changes until an operation has succeeded: Open reads into a
// scratch project and takes it over only when the whole file was read; Save
// and Save As set the path, the name and the caption only after a
// successful write. A cancelled dialog writes nothing. The result file is
// written on save only when this project has results of its own.
#pragma once

#include <QString>
#include <functional>

#include "texts/captions.h"
#include "ui/project_document.h"
#include "ui/prompter.h"

namespace pelodyn {

class PlatformServices;

class FileCommands {
 public:
  struct Hooks {
    // The window caption changed.
    std::function<void(const QString&)> setCaption;
    // A project was read or created: fit the view and redraw.
    std::function<void()> projectLoaded;
    // Writes the settings file when quitting.
    std::function<void()> writeSettings;
  };

  FileCommands(ProjectDocument& document, Prompter& prompter, PlatformServices& platform, Hooks hooks);

  static QString programTitle() { return QStringLiteral("Pelodyn 2.1"); }

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

 private:
  QString text(UiText uiText) const;
  bool saveWithDialog(bool honourFilter);
  bool writeTo(const QString& path, bool legacy);
  void writeResultIfOwn();
  void setPathAndCaption(const QString& path);

  ProjectDocument& m_document;
  Prompter& m_prompter;
  PlatformServices& m_platform;
  Hooks m_hooks;
  bool m_settingsErrorShown = false;
};

}  // namespace pelodyn
