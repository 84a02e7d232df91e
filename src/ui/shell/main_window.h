// The main window Form_Main_Pelodyn: menus, the command tool bar ToolBar1,
// the input strip, the drawing area, the status bar and the effect bar.
// Every command starts here; its logic lives with the room that owns it.
// The window holds no project data: it shows what the document holds and
// hands every edit to it.
#pragma once

#include <QMainWindow>
#include <memory>

#include "ui/document/project_document.h"
#include "ui/document/prompter.h"
#include "ui/document/qt_platform.h"
#include "ui/shell/command_registry.h"
#include "ui/shell/file_commands.h"

class QComboBox;
class QFrame;
class QLabel;

namespace pelodyn {

class CommandTable;
class InputStrip;
class PrintCommands;
class ProgressWindow;
class StepByStepForm;
class DrawingController;
class ResultsPresenter;
class RunController;
class SectionView;
class StripControls;

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
  StepByStepForm* stepForm() const { return m_stepForm; }
  DrawingController* drawing() const { return m_drawing; }
  ResultsPresenter& results() { return *m_results; }
  ProjectDocument& document() { return m_document; }

  // New Project with the settings file, once: the first time the window is
  // shown (a restore of a minimised window does not run it again). Tests
  // call it directly.
  void startUp();
  bool startedUp() const { return m_startedUp; }

  // Sets the language (0 Thai, 1 English) and every caption of the window.
  void setLanguage(std::uint8_t language);
  void applyCaptions();

  // Commands and controls that change the project are disabled while a run
  // goes on.
  void setRunInProgress(bool running);
  void updateActions();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void createStatusBar();
  void connectCommands();
  // Shows in every control of the window what the options call for (check
  // marks, down states, hints, the theory's commands).
  void applyControlStates();
  void refreshViewOptions();
  void redrawAll();
  void projectLoaded();
  void setCaption(const QString& caption);
  void exportPicture();
  void showAbout();
  void showWhatsNew();
  void showProgressWindow();
  void showFailureGeometry();
  void showStepByStep();
  // Fills the drawing panel's line choice from the soils of the strength
  // model, quietly: the forms that check the soils have said what is wrong.
  void fillLineChoice();
  // The mouse editor: its commands, Draw buttons and pointer events.
  void connectDrawing();
  void showLineChoice(int index);
  // Copies what the window holds of the user's settings (the grid switches,
  // the zoom) into them before they are shown or written.
  void copyViewSettings();
  void runStarted();
  void runFinished(int outcome, const QString& message);
  void cycleSliceDisplay();
  QAction* cmd(const QString& name) const;
  void on(const QString& name, std::function<void()> slot);

  ProjectDocument& m_document;
  Prompter& m_prompter;
  QtPlatform m_platform;
  std::unique_ptr<CommandRegistry> m_commands;
  std::unique_ptr<CommandTable> m_table;
  std::unique_ptr<FileCommands> m_files;
  std::unique_ptr<RunController> m_run;
  ProgressWindow* m_progress = nullptr;
  StepByStepForm* m_stepForm = nullptr;
  DrawingController* m_drawing = nullptr;
  InputStrip* m_strip = nullptr;
  // The strip's line choice, the chosen soil's description and colour.
  QComboBox* m_lineCombo = nullptr;
  QLabel* m_lineDescription = nullptr;
  QFrame* m_lineSwatch = nullptr;
  SectionView* m_view = nullptr;
  StripControls* m_stripControls = nullptr;
  ResultsPresenter* m_results = nullptr;
  PrintCommands* m_print = nullptr;
  QLabel* m_statusX = nullptr;
  QLabel* m_statusY = nullptr;
  CommandState m_state;
  // The description and colour of each soil of the line choice.
  std::vector<std::pair<QString, std::int32_t>> m_lineChoice;
  bool m_startedUp = false;
};

}  // namespace pelodyn
