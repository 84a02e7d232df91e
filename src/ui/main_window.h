// The main window Form_Main_Pelodyn: menus, the command tool bar ToolBar1,
// the input strip, the drawing area, the status bar and the effect bar.
// Every command starts here; its logic lives with the part that owns it.
#pragma once

#include <QMainWindow>
#include <memory>

#include "ui/command_registry.h"
#include "ui/file_commands.h"
#include "ui/project_document.h"
#include "ui/prompter.h"
#include "ui/qt_platform.h"

class QLabel;
class QMenu;
class QToolBar;
class QActionGroup;

namespace pelodyn {

class InputStrip;
class ProgressWindow;
class RunController;
class SectionView;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  // The window uses `prompter` for every question and message; tests give
  // one that answers by script.
  MainWindow(ProjectDocument& document, Prompter& prompter, QWidget* parent = nullptr);
  ~MainWindow() override;

  CommandRegistry& commands() { return *m_commands; }
  SectionView* view() const { return m_view; }
  InputStrip* inputStrip() const { return m_strip; }
  FileCommands& fileCommands() { return *m_files; }
  RunController& runController() { return *m_run; }
  ProgressWindow* progressWindow() const { return m_progress; }
  ProjectDocument& document() { return m_document; }

  // New Project with the settings file, once: the first time the window is
  // shown (a restore of a minimised window does not run it again). Tests
  // call it directly.
  void startUp();
  bool startedUp() const { return m_startedUp; }

  // Sets the language (0 Thai, 1 English) and every caption of the window.
  void setLanguage(std::uint8_t language);
  // Writes the caption table of the current language into the controls.
  void applyCaptions();

  // Tells the commands whether a run goes on: commands that touch the
  // project are disabled meanwhile.
  void setRunInProgress(bool running);
  void updateActions();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void createCommands();
  void createMenus();
  void createToolBars();
  void createStatusBar();
  void connectCommands();
  void connectStripFields();
  void refreshStripFields();
  void refreshViewOptions();
  void redrawAll();
  void projectLoaded();
  void exportPicture();
  void showAbout();
  void showWhatsNew();
  void setEffect(const QString& name, bool on);
  void setSeepage(int kind);
  void showProgressWindow();
  void runStarted();
  void runFinished(int outcome);
  // The minima and the sliding-mass area of a finished run on the status line.
  void showRunSummary(int outcome);
  // Analyses the critical circles of the checked methods again and draws
  // the last one with its slices (after a run, a picture box, the hatch
  // button).
  void replayCriticalSurfaces();
  void replaySortedRow(double radius, double centerX, double centerY);
  // The factor-of-safety discs over the grid of centres (after a grid search).
  void drawContours();
  QAction* cmd(const QString& name) const;
  void on(const QString& name, std::function<void()> slot);

  ProjectDocument& m_document;
  Prompter& m_prompter;
  QtPlatform m_platform;
  std::unique_ptr<CommandRegistry> m_commands;
  std::unique_ptr<FileCommands> m_files;
  std::unique_ptr<RunController> m_run;
  ProgressWindow* m_progress = nullptr;
  InputStrip* m_strip = nullptr;
  SectionView* m_view = nullptr;
  QToolBar* m_toolBar = nullptr;
  QToolBar* m_effectBar = nullptr;
  QLabel* m_statusX = nullptr;
  QLabel* m_statusY = nullptr;
  QHash<QString, QMenu*> m_menus;
  CommandState m_state;
  bool m_startedUp = false;
  bool m_soilPropertyTipShown = false;
  bool m_updatingFields = false;
};

}  // namespace pelodyn
