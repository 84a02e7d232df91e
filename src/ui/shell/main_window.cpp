#include "ui/shell/main_window.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QStatusBar>
#include <QUrl>
#include <QVBoxLayout>

#include "model/control_state.h"
#include "model/line_choice.h"
#include "model/numbers.h"
#include "persistence/settings_file.h"
#include "qt_text/utf8.h"
#include "texts/captions.h"
#include "texts/messages.h"
#include "ui/document/child_lookup.h"
#include "ui/document/guard.h"
#include "ui/forms/settings_dialogs.h"
#include "ui/forms/step_by_step_form.h"
#include "ui/forms/table_dialogs.h"
#include "ui/models/control_state_applier.h"
#include "ui/models/option_binding.h"
#include "ui/print/print_commands.h"
#include "ui/results/failure_geometry_window.h"
#include "ui/results/results_presenter.h"
#include "ui/results/slice_forces_window.h"
#include "ui/run/progress_window.h"
#include "ui/run/run_controller.h"
#include "ui/shell/about_dialog.h"
#include "ui/shell/command_table.h"
#include "ui/shell/drawing_controller.h"
#include "ui/shell/input_strip.h"
#include "ui/shell/load_editor.h"
#include "ui/shell/strip_controls.h"
#include "ui/shell/tool_windows.h"
#include "view/picture_export.h"
#include "view/section_painter.h"
#include "view/section_view.h"

namespace pelodyn {

namespace {

// Effect-bar loads: the button and the option check box that disables the
// load.
const std::pair<const char*, Option> kLoadToggles[] = {
    {"TB_Seismic", Option::CB_Seismic_Disable},   {"TB_Crack", Option::CB_Tension_Disable},
    {"TB_LineLoad", Option::CB_LineLoad_Disable}, {"TB_StripLoad", Option::CB_StripLoad_Disable},
    {"TB_Anchor", Option::CB_Anchor_Disable},
};

}  // namespace

MainWindow::MainWindow(ProjectDocument& document, Prompter& prompter, QWidget* parent)
    : QMainWindow(parent), m_document(document), m_prompter(prompter), m_platform(prompter) {
  setObjectName(QStringLiteral("Form_Main_Pelodyn"));
  setCaption(FileCommands::programTitle() + QStringLiteral(" - New Project.pdd"));
  SetErrorPrompter(&m_prompter, [this] { return m_document.language(); });

  m_commands = std::make_unique<CommandRegistry>(this);
  m_table = std::make_unique<CommandTable>(*this, *m_commands);
  m_table->build();

  FileCommands::Hooks hooks;
  hooks.setCaption = [this](const QString& caption) { setCaption(caption); };
  hooks.projectLoaded = [this] { projectLoaded(); };
  hooks.writeSettings = [this] {
    // A run still going on is stopped, and its thread joined, before the
    // project it works on is read.
    m_run->stopAndWait();
    copyViewSettings();
    WriteSettingsFile(m_document.project());
  };
  m_files = std::make_unique<FileCommands>(m_document, m_prompter, m_platform, std::move(hooks));
  m_run = std::make_unique<RunController>(m_document, m_prompter);

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  m_strip = new InputStrip(central);
  m_lineCombo = RequireChild<QComboBox>(*m_strip, "CB_Line_No");
  m_lineDescription = RequireChild<QLabel>(*m_strip, "L_Description");
  m_lineSwatch = RequireChild<QFrame>(*m_strip, "P_Color");
  layout->addWidget(m_strip);
  m_view = new SectionView(central);
  m_view->setProject(&m_document.projectForAnalysis());
  layout->addWidget(m_view, 1);
  setCentralWidget(central);

  createStatusBar();
  m_results = new ResultsPresenter(m_document, *m_view, *statusBar(), this);
  m_progress = new ProgressWindow(m_document, *m_run, this);
  // The step-by-step form lives as long as the window and keeps its page
  // between showings.
  m_stepForm = new StepByStepForm(m_document, m_prompter, this);
  connect(m_stepForm, &StepByStepForm::lineChoicePrepared, this, GuardedSlot([this] { fillLineChoice(); }));
  connect(m_run.get(), &RunController::started, this, GuardedSlot([this] { runStarted(); }));
  connect(m_run.get(), &RunController::finished, this,
          GuardedSlot([this](int outcome, const QString& message) { runFinished(outcome, message); }));
  QtRunFeedback& feedback = m_run->feedback();
  connect(&feedback, &QtRunFeedback::trial, this, GuardedSlot([this](const TrialCopy& t) {
    if (!m_document.project().drawing.ShowFailureAnimation) return;
    m_view->canvas()->setTrial(std::vector<double>(t.x.begin(), t.x.end()), std::vector<double>(t.y.begin(), t.y.end()),
                               t.centerX, t.centerY);
  }));
  connect(&feedback, &QtRunFeedback::message, this, GuardedSlot([this](const MessageCopy& m) {
    const QString caption = m.caption.empty() ? FileCommands::programTitle() : QString::fromStdString(m.caption);
    const QString text = MessageBoxText(m.text);
    if (m.kind == static_cast<int>(MessageKind::Error)) {
      m_prompter.error(caption, text);
    } else {
      m_prompter.information(caption, text);
    }
  }));
  connectCommands();
  m_stripControls = new StripControls(
      m_document, *m_strip, m_prompter, *statusBar(), [this] { redrawAll(); }, this);
  connectDrawing();

  connect(m_lineCombo, &QComboBox::activated, this, GuardedSlot([this](int index) { showLineChoice(index); }));
  // The drawing, the effect buttons and the commands follow every change of
  // the project, whoever made it.
  ProjectNotifier& n = m_document.notifier();
  connect(&n, &ProjectNotifier::projectReset, this, GuardedSlot([this] {
    applyControlStates();
    fillLineChoice();
  }));
  // The line choice lists the soils of the project open now, as they are.
  connect(&n, &ProjectNotifier::rowsChanged, this, GuardedSlot([this](Table table, int) {
    if ((table == Table::Soil_Prop || table == Table::Aniso) && m_lineCombo->count() > 0) {
      fillLineChoice();
    }
  }));
  connect(&n, &ProjectNotifier::optionChanged, this, GuardedSlot([this](Option) {
    applyControlStates();
    if (!m_document.runInProgress()) redrawAll();
  }));
  connect(&n, &ProjectNotifier::rowsChanged, this, GuardedSlot([this](Table, int) {
    if (!m_document.runInProgress()) redrawAll();
  }));
  // Every other window listens to the notifier itself and retranslates
  // once per change.
  connect(&n, &ProjectNotifier::languageChanged, this, GuardedSlot([this] {
    applyCaptions();
    applyControlStates();
  }));
  connect(&n, &ProjectNotifier::modifiedChanged, this,
          GuardedSlot([this](bool modified) { setWindowModified(modified); }));
  connect(&m_document.undoStack(), &QUndoStack::canUndoChanged, this, GuardedSlot([this](bool) { updateActions(); }));
  connect(&m_document.undoStack(), &QUndoStack::canRedoChanged, this, GuardedSlot([this](bool) { updateActions(); }));
  connect(m_results, &ResultsPresenter::contoursShownChanged, this,
          GuardedSlot([this](bool shown) { cmd("MN_Draw_Contour")->setChecked(shown); }));
  applyControlStates();
}

MainWindow::~MainWindow() {
  SetErrorPrompter(nullptr);
}

QAction* MainWindow::cmd(const QString& name) const {
  QAction* a = m_commands->action(name);
  if (!a) throw std::logic_error("unknown command " + name.toStdString());
  return a;
}

void MainWindow::on(const QString& name, std::function<void()> slot) {
  connect(cmd(name), &QAction::triggered, this, GuardedSlot([slot = std::move(slot)](bool) { slot(); }));
}

void MainWindow::setCaption(const QString& caption) {
  // The modified mark: unsaved edits, or results not yet saved.
  setWindowTitle(caption + QStringLiteral("[*]"));
  setWindowModified(m_document.hasUnsavedWork());
}

void MainWindow::createStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("StatusBar_Pelodyn"));
  m_statusX = new QLabel(bar);
  m_statusX->setObjectName(QStringLiteral("StatusBar_Pelodyn_X"));
  m_statusX->setMinimumWidth(80);
  m_statusY = new QLabel(bar);
  m_statusY->setObjectName(QStringLiteral("StatusBar_Pelodyn_Y"));
  m_statusY->setMinimumWidth(80);
  // Panel 0: the cursor in world units, on the grid while the grid snap is
  // on; panel 1 is the soil tip's. Both are permanent panels on the right,
  // so a message of the status line (a run's summary) never hides them.
  bar->addPermanentWidget(m_statusX);
  bar->addPermanentWidget(m_statusY);
  m_statusX->setMinimumWidth(160);
  connect(m_view, &SectionView::cursorMoved, this, GuardedSlot([this](double x, double y) {
            m_statusX->setText(QStringLiteral("  ") + QString::fromStdString(FormatFixed(x, 2)) +
                               QStringLiteral(" , ") + QString::fromStdString(FormatFixed(y, 2)));
          }));
}

void MainWindow::connectCommands() {
  on("MN_New", [this] { m_files->newCommand(); });
  on("MN_Open", [this] { m_files->openCommand(); });
  on("MN_Save", [this] { m_files->saveCommand(); });
  on("MN_SaveAs", [this] { m_files->saveAsCommand(); });
  on("MN_ExportPicture", [this] { exportPicture(); });
  m_print = new PrintCommands(m_document, m_prompter, this);
  m_print->connectActions([this](const QString& name) { return cmd(name); });
  on("MN_Exit", [this] { close(); });
  on("MN_Undo", [this] { m_document.undo(); });
  on("MN_Redo", [this] { m_document.redo(); });
  on("MN_LangThai", [this] { setLanguage(kLanguageThai); });
  on("MN_LangEng", [this] { setLanguage(kLanguageEnglish); });
  on("MN_About", [this] { showAbout(); });
  on("MN_WhatsNew", [this] { showWhatsNew(); });
  m_commands->setCondition(QStringLiteral("MN_Undo"), [](const CommandState& s) { return s.canUndo; });
  m_commands->setCondition(QStringLiteral("MN_Redo"), [](const CommandState& s) { return s.canRedo; });

  // Commands that show an input panel.
  const std::pair<const char*, const char*> panels[] = {
      {"MN_Theory", "P_Theory"},
      {"MN_Method", "P_Method"},
      {"MN_ProjectInf", "P_Top_Project_Inf"},
      {"MN_Draw_Geometry", "P_Draw_Line"},
      {"MN_Draw_Grid", "P_Top_Draw_Grid"},
      {"TB_Auto_Search", "P_Top_Auto_Search"},
      {"MN_Draw_Surface", "P_Top_NonCir"},
      {"MN_Draw_NonCirCen", "P_Top_NonCir_Axis"},
      {"PU_Seismic", "P_Seismic"},
      {"PU_TCrack", "P_TCrack"},
      {"PU_ExLoad", "P_ExLoad"},
      {"PU_Anchor", "P_Anchor"},
      {"PU_WaterLine", "P_Water_Line"},
      {"PU_Ru", "P_Ru"},
  };
  for (const auto& [command, panel] : panels) {
    const QString p = QString::fromLatin1(panel);
    on(QString::fromLatin1(command), [this, p] { m_strip->showPanel(p); });
  }
  // The seepage choices and the load panels also switch their effect on.
  const char* seepage[][2] = {{"TB_No_Seepage", "PU_NoSeep"}, {"TB_Water_Line", "PU_WaterLine"}, {"TB_Ru", "PU_Ru"}};
  for (int k = 0; k < 3; ++k) {
    for (const char* name : seepage[k]) {
      on(QString::fromLatin1(name), [this, k] {
        m_document.setOptionIndex(Option::CB_Seepage, k);
        // A click toggled the check mark; the option decides it.
        applyControlStates();
      });
    }
  }
  // The load pop-up items show their panels; Seismic and Tension Crack also
  // switch their load on. Their check marks show the loads' states.
  on("PU_Seismic", [this] { m_document.setOptionChecked(Option::CB_Seismic_Disable, false); });
  on("PU_TCrack", [this] { m_document.setOptionChecked(Option::CB_Tension_Disable, false); });
  for (const char* item : {"PU_Seismic", "PU_TCrack", "PU_ExLoad", "PU_Anchor"}) {
    on(QString::fromLatin1(item), [this] { applyControlStates(); });
  }
  for (const auto& [button, option] : kLoadToggles) {
    const QString name = QString::fromLatin1(button);
    const Option control = option;
    on(name, [this, name, control] {
      m_document.setOptionChecked(control, !cmd(name)->isChecked());
      applyControlStates();
    });
  }
  on("MN_Draw_AutoCen", [this] {
    m_document.setOptions(QStringLiteral("Set CB_Auto_Center"), [](OptionValues& o) {
      o.setChecked(Option::CB_Auto_Center, !o.checked(Option::CB_Auto_Center));
      ApplyOptionRules(o, Option::CB_Auto_Center);
    });
    applyControlStates();
  });

  on("MN_Show_Grid", [this] { refreshViewOptions(); });
  on("MN_Snap_Grid", [this] { refreshViewOptions(); });
  on("TB_Hatch_Layer", [this] { refreshViewOptions(); });
  on("TB_Hatch_Slice", [this] { cycleSliceDisplay(); });
  on("MN_Run", [this] { showProgressWindow(); });
  cmd("MN_Draw_Contour")->setCheckable(true);
  on("MN_Draw_Contour", [this] {
    m_results->setContoursShown(cmd("MN_Draw_Contour")->isChecked());
    // Without a grid search of this project there is no map to show.
    cmd("MN_Draw_Contour")->setChecked(m_results->contoursShown());
  });
  on("MN_FailureGeometry", [this] { showFailureGeometry(); });
  on("MN_SliceForces", [this] {
    SliceForcesWindow window(m_document, this);
    window.exec();
  });
  on("MN_Step", [this] { showStepByStep(); });
  on("MN_SoilProp", [this] {
    SoilPropertiesDialog dialog(m_document, m_prompter, this);
    connect(&dialog, &SoilPropertiesDialog::soilsApplied, this, GuardedSlot([this] { fillLineChoice(); }));
    dialog.exec();
  });
  on("MN_Setting", [this] {
    copyViewSettings();
    ShowSettingDialog(m_document, m_prompter, this, [this] {
      // A new grid size is a new zoom: the drawing starts again from the
      // origin at that scale.
      m_view->setPixelsPerUnit(m_document.project().settings.PixelsPerUnit);
      redrawAll();
      m_view->scrollToOrigin();
    });
  });
  on("MN_AnalysisSet", [this] { ShowAnalysisSettingDialog(m_document, m_prompter, this); });
  on("MN_PageSetup", [this] { ShowPageSetupDialog(m_document, m_prompter, this); });
  on("MN_Geometry", [this] {
    GeometryDialog dialog(m_document, m_prompter, this);
    dialog.exec();
  });
  on("MN_BottomLine", [this] {
    BottomLineDialog dialog(m_document, m_prompter, this);
    dialog.exec();
  });
  // Zoom and fit wait while a drawing is in progress: its points and the
  // rubber band stay where the user sees them.
  on("TB_Zoom_IN", [this] {
    if (!m_drawing->drawing()) m_view->zoomIn();
  });
  on("TB_Zoom_OUT", [this] {
    if (!m_drawing->drawing()) m_view->zoomOut();
  });
  on("TB_AZoom", [this] {
    if (!m_drawing->drawing() && m_document.project().store->rowCount(Table::Geometry) > 0) m_view->fitView();
  });
}

void MainWindow::connectDrawing() {
  m_drawing = new DrawingController(m_document, m_prompter, *m_view, *m_stripControls, m_table->menu("PU_Draw"), this);
  connect(m_view, &SectionView::pointerPressed, m_drawing,
          GuardedSlot([this](double x, double y, int b, QPoint g) { m_drawing->press(x, y, b, g); }));
  connect(m_view, &SectionView::pointerMoved, m_drawing,
          GuardedSlot([this](double x, double y) { m_drawing->move(x, y); }));
  connect(m_view, &SectionView::pointerReleased, m_drawing,
          GuardedSlot([this](double x, double y, int b) { m_drawing->release(x, y, b); }));
  connect(m_drawing, &DrawingController::selectionChanged, this, GuardedSlot([this](bool selected) {
            m_state.hasSelection = selected;
            updateActions();
          }));
  on("MN_MovePoint", [this] { m_drawing->beginMove(); });
  on("TB_View_SoilProp", [this] { m_drawing->setSoilTip(cmd("TB_View_SoilProp")->isChecked()); });
  connect(m_drawing, &DrawingController::soilTipText, m_statusY, &QLabel::setText);
  connect(m_drawing, &DrawingController::soilTipEnded, this,
          GuardedSlot([this] { cmd("TB_View_SoilProp")->setChecked(false); }));
  on("MN_DeletePoint", [this] { m_drawing->deleteSelected(); });
  // The commands and Draw buttons that start a drawing target.
  on("MN_Draw_Grid", [this] { m_drawing->start(TargetGridCorners); });
  on("MN_Draw_SpecCen", [this] { m_drawing->start(TargetSpecificCircle); });
  on("TB_Auto_Search", [this] { m_drawing->start(TargetAutoStart); });
  on("MN_Draw_NonCirCen", [this] { m_drawing->start(TargetIrregularCentre); });
  on("MN_Draw_Geometry", [this] {
    // The soils are checked before a line can be chosen.
    const LineChoice choice = PrepareLineChoice(m_document.projectForAnalysis());
    if (choice.soilCount == 0) {
      m_prompter.information(FileCommands::programTitle(),
                             MessageBoxText(UiTextFor(m_document.language(), UiText::DrawSoilsFirst)));
    }
    for (int message : choice.messages) {
      m_prompter.error(FileCommands::programTitle(), MessageBoxText(LineChoiceText(m_document.project(), message)));
    }
    fillLineChoice();
    // The line the list shows is the one the clicks draw.
    const int current = m_lineCombo->currentIndex();
    if (current >= 0 && current < static_cast<int>(m_lineChoice.size())) {
      m_drawing->start(current + 1);
    }
  });
  const std::pair<const char*, int> drawButtons[] = {
      {"B_WaterLine_Draw", TargetWaterLine}, {"Button1", TargetCrack}, {"B_NonCir_Draw", TargetIrregularSurface}};
  for (const auto& [name, target] : drawButtons) {
    const int t = target;
    connect(RequireChild<QPushButton>(*m_strip, name), &QPushButton::clicked, this,
            GuardedSlot([this, t](bool) { m_drawing->start(t); }));
  }
  connect(&m_stripControls->lineLoads(), &LoadEditor::drawRequested, this,
          GuardedSlot([this] { m_drawing->start(TargetLineLoad); }));
  connect(&m_stripControls->stripLoads(), &LoadEditor::drawRequested, this,
          GuardedSlot([this] { m_drawing->start(TargetStripLoad); }));
  connect(&m_stripControls->anchors(), &LoadEditor::drawRequested, this,
          GuardedSlot([this] { m_drawing->start(TargetAnchor); }));
  // Choosing a soil starts drawing its boundary line.
  connect(m_lineCombo, &QComboBox::activated, this, GuardedSlot([this](int index) {
            if (index >= 0 && index < static_cast<int>(m_lineChoice.size())) m_drawing->start(index + 1);
          }));
  // Closing the panel a drawing started from ends it (the line panel's
  // Close, a load panel's Close, the strip's arrow).
  connect(m_strip, &InputStrip::expandedChanged, this, GuardedSlot([this](bool expanded) {
            if (!expanded) m_drawing->end();
          }));
  ConnectToolWindows(*m_commands, m_document, m_prompter, this);
}

void MainWindow::applyControlStates() {
  std::vector<ControlState> states = ControlStates(m_document.project().options, m_document.language());
  // Whether a command can be used is the command registry's to say (a run
  // disables it too): the theory reaches it through the command state.
  for (ControlState& s : states) {
    if (s.window == ControlWindow::Main && m_commands->contains(QString::fromStdString(s.control))) {
      s.enabled.reset();
    }
  }
  ApplyControlStates(this, ControlWindow::Main, states);
  updateActions();
}

void MainWindow::refreshViewOptions() {
  ViewOptions o = m_view->viewOptions();
  const AppSettings& s = m_document.project().settings;
  o.showGrid = cmd("MN_Show_Grid")->isChecked();
  o.snapGrid = cmd("MN_Snap_Grid")->isChecked();
  o.soilColourShown = cmd("TB_Hatch_Layer")->isChecked();
  o.failureSurfaceMode = s.FailureSurfaceMode;
  o.sliceHatchShown = s.SliceHatchShown != 0;
  o.resultAvailable = !m_document.presentedSurfaces().empty();
  m_view->setViewOptions(o);
}

void MainWindow::redrawAll() {
  m_view->rebuildDisplayList();
  m_view->redrawBase(1);
  m_view->redrawOverlays();
}

void MainWindow::projectLoaded() {
  const Project& project = m_document.project();
  cmd("MN_Show_Grid")->setChecked(project.settings.ShowGrid);
  cmd("MN_Snap_Grid")->setChecked(project.settings.SnapGrid);
  refreshViewOptions();
  if (project.store->rowCount(Table::Geometry) > 0) {
    m_view->fitView();
  } else {
    m_view->setPixelsPerUnit(project.drawing.GridSize);
    m_view->redrawBase(0);
    m_view->rebuildDisplayList();
  }
  setWindowModified(m_document.hasUnsavedWork());
  updateActions();
}

void MainWindow::showProgressWindow() {
  if (m_run->isRunning()) {
    m_progress->raise();
    return;
  }
  m_document.requestStop();
  m_progress->show();
  m_progress->raise();
}

void MainWindow::copyViewSettings() {
  m_document.updateSettings([this](AppSettings& s) {
    s.ShowGrid = cmd("MN_Show_Grid")->isChecked();
    s.SnapGrid = cmd("MN_Snap_Grid")->isChecked();
    if (m_view) s.PixelsPerUnit = m_view->pixelsPerUnit();
  });
}

void MainWindow::fillLineChoice() {
  QComboBox* combo = m_lineCombo;
  const LineChoice choice = PrepareLineChoice(m_document.projectForAnalysis());
  m_lineChoice.clear();
  combo->clear();
  for (const LineChoiceEntry& e : choice.entries) {
    combo->addItem(QString::fromStdString(e.text));
    m_lineChoice.emplace_back(QString::fromStdString(e.description), e.color);
  }
  if (choice.entries.empty()) return;
  combo->setCurrentIndex(0);
  showLineChoice(0);
}

void MainWindow::showLineChoice(int index) {
  if (index < 0 || index >= static_cast<int>(m_lineChoice.size())) return;
  const auto& [description, c] = m_lineChoice[static_cast<std::size_t>(index)];
  m_lineDescription->setText(QStringLiteral(": ") + description);
  QPalette p = m_lineSwatch->palette();
  p.setColor(QPalette::Window, QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
  m_lineSwatch->setPalette(p);
}

void MainWindow::showStepByStep() {
  // A minimised form comes back as it was before, in front.
  m_stepForm->setWindowState((m_stepForm->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  m_stepForm->show();
  m_stepForm->raise();
  m_stepForm->activateWindow();
}

void MainWindow::showFailureGeometry() {
  FailureGeometryWindow window(m_document, this);
  connect(&window, &FailureGeometryWindow::printRequested, this,
          GuardedSlot([this] { m_print->print(PrintedDocument::ResultReport); }));
  window.exec();
}

void MainWindow::runStarted() {
  setRunInProgress(true);
  m_view->canvas()->clearTrial();
  // From here the worker owns the project: the view draws what it has.
  m_view->setFrozen(true);
}

void MainWindow::runFinished(int outcome, const QString& message) {
  m_view->canvas()->clearTrial();
  m_view->setFrozen(false);
  setRunInProgress(false);
  // What ended a failed run (an error, Results rows the store refused) is
  // the user's to know: nothing else says the run did not go through.
  if (outcome == static_cast<int>(RunOutcome::Failed) && !message.isEmpty()) {
    m_prompter.error(FileCommands::programTitle(), MessageBoxText(message.toStdString()));
  }
  // The engine analyses the critical surfaces again and hands them over;
  // a stopped run presents what it found so far.
  if (outcome == static_cast<int>(RunOutcome::Complete) || outcome == static_cast<int>(RunOutcome::Stopped)) {
    m_document.presentCriticalSurfaces(m_platform);
  }
  refreshViewOptions();
  redrawAll();
}

void MainWindow::cycleSliceDisplay() {
  m_document.updateSettings([](AppSettings& s) {
    s.FailureSurfaceMode = (s.FailureSurfaceMode + 1) % 3;
    s.SliceHatchShown = s.FailureSurfaceMode == 2 ? 1 : 0;
  });
  if (m_run->isRunning()) return;
  if (m_document.project().store->rowCount(Table::Failure_Geometry) > 0 &&
      m_document.project().options.itemIndex(Option::RG_Theory) == 1) {
    m_document.presentCriticalSurfaces(m_platform);
  }
  refreshViewOptions();
}

void MainWindow::startUp() {
  if (m_startedUp) return;
  m_startedUp = true;
  m_files->runNewProject(true);
  // The built-in texts are the English ones; only Thai needs the switch.
  if (m_document.language() == kLanguageThai) {
    applyCaptions();
  } else {
    m_table->applyReasons(kLanguageEnglish);
  }
  cmd(m_document.language() == kLanguageThai ? "MN_LangThai" : "MN_LangEng")->setChecked(true);
  if (m_document.storeWasTaken()) {
    m_prompter.information(FileCommands::programTitle(),
                           MessageBoxText(UiTextFor(m_document.language(), UiText::StoreInUse)));
  }
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // Only the first show starts the program: restoring a minimised window
  // shows it again.
  if (!m_startedUp) Guarded([this] { startUp(); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
  bool accept = false;
  Guarded([&] { accept = m_files->confirmQuit(); });
  if (accept) {
    event->accept();
  } else {
    event->ignore();
  }
}

void MainWindow::setLanguage(std::uint8_t language) {
  if (language != kLanguageThai && language != kLanguageEnglish) return;
  cmd(language == kLanguageThai ? "MN_LangThai" : "MN_LangEng")->setChecked(true);
  if (m_document.language() == language) {
    applyCaptions();
    return;
  }
  m_document.setLanguage(language);  // the notifier applies the captions
}

void MainWindow::applyCaptions() {
  m_table->applyCaptions(m_document.language());
  m_stripControls->retranslate(m_document.language());
}

void MainWindow::setRunInProgress(bool running) {
  m_state.runInProgress = running;
  m_stripControls->setRunInProgress(running);
  updateActions();
}

void MainWindow::updateActions() {
  const OptionValues& options = m_document.project().options;
  m_state.circularTheory = options.itemIndex(Option::RG_Theory) != 2;
  m_state.nonCirRandomSearch = options.itemIndex(Option::CB_NonCir_Search) != 0;
  m_state.canUndo = m_document.undoStack().canUndo();
  m_state.canRedo = m_document.undoStack().canRedo();
  m_commands->updateActions(m_state);
}

void MainWindow::exportPicture() {
  const std::uint8_t language = m_document.language();
  const QString caption = Q(UiTextFor(language, UiText::ExportPictureCaption));
  const QStringList filters = Q(UiTextFor(language, UiText::ExportPictureFilter)).split(QStringLiteral(";;"));
  const QString name = m_document.projectFileName().isEmpty()
                           ? QStringLiteral("New Project")
                           : QFileInfo(m_document.projectFileName()).completeBaseName();
  const QString initial = QDir(m_files->dialogFolder()).filePath(name);
  const auto target = m_prompter.saveFileName(caption, filters, initial, QStringLiteral("png"));
  if (!target) return;
  const auto size = m_prompter.askPictureSize(caption, Q(UiTextFor(language, UiText::PictureWidth)),
                                              Q(UiTextFor(language, UiText::PictureHeight)), QSize(1600, 1000));
  if (!size) return;
  QString path = target->path;
  static const char* suffixes[] = {"png", "svg", "pdf"};
  if (QFileInfo(path).suffix().isEmpty() && target->filterIndex >= 0 && target->filterIndex < 3) {
    path += QLatin1Char('.') + QLatin1String(suffixes[target->filterIndex]);
  }
  ExportPicture(m_document.projectForAnalysis(), m_view->viewOptions(), std::filesystem::path(path.toStdString()),
                *size);
  statusBar()->showMessage(
      QString::fromStdString(FormatText(UiTextFor(language, UiText::PictureExported), {path.toStdString()})), 5000);
}

void MainWindow::showAbout() {
  AboutDialog dialog(m_document.language(), FileCommands::programTitle(), this);
  dialog.exec();
}

void MainWindow::showWhatsNew() {
  // The release notes sit in the installed data folder; nothing is reported
  // when they or the viewer are missing.
  const QDir exe(QCoreApplication::applicationDirPath());
  for (const QString& candidate : {exe.filePath(QStringLiteral("../share/pelodyn/whatsnew.txt")),
                                   exe.filePath(QStringLiteral("../../share/pelodyn/whatsnew.txt"))}) {
    if (QFileInfo::exists(candidate)) {
      QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(candidate).canonicalFilePath()));
      return;
    }
  }
}

}  // namespace pelodyn
