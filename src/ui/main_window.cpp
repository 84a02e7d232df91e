#include "ui/main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "engine/search.h"
#include "model/numbers.h"
#include "persistence/settings_file.h"
#include "texts/captions.h"
#include "texts/messages.h"
#include "ui/about_dialog.h"
#include "ui/failure_geometry_window.h"
#include "ui/guard.h"
#include "ui/input_strip.h"
#include "ui/progress_window.h"
#include "ui/run_controller.h"
#include "ui/tool_icons.h"
#include "view/picture_export.h"
#include "view/section_view.h"

namespace pelodyn {

namespace {

struct CommandDef {
  const char* name;
  const char* caption;  // built-in English caption, with its accelerator
  const char* shortcut;
  unsigned needs;
};

constexpr unsigned P = ChangesProject;
constexpr unsigned L = NotYetAvailable;

// Every command of the window. A command whose window arrives later is
// present and disabled.
const CommandDef kCommands[] = {
    {"MN_New", "&New", "Ctrl+N", P},
    {"MN_Open", "&Open", "Ctrl+O", P},
    {"MN_Save", "&Save", "Ctrl+S", P},
    {"MN_SaveAs", "Save &As...", "", P},
    {"MN_ExportPicture", "Export Picture...", "", P},
    {"MN_PageSetup", "Page Setup", "", L},
    {"MN_Print", "&Print", "Ctrl+P", L},
    {"MN_PrintData", "Print Data", "", L},
    {"MN_Exit", "E&xit", "", NoNeed},
    {"MN_MovePoint", "Move Point", "", P | L | DisabledAtStart},
    {"MN_DeletePoint", "Delete Point", "", P | L | DisabledAtStart},
    {"MN_Theory", "Theory", "", P},
    {"MN_Method", "Method", "", P},
    {"MN_Step", "Step by Step", "Ctrl+W", P | L},
    {"MN_Show_Grid", "Show Grid", "", NoNeed},
    {"MN_Snap_Grid", "Snap Grid", "", NoNeed},
    {"MN_Setting", "Se&tting", "Ctrl+T", P | L},
    {"MN_LangThai", "Thai", "", NoNeed},
    {"MN_LangEng", "English", "", NoNeed},
    {"MN_SoilProp", "Soil Properties", "", P | L},
    {"MN_Geometry", "Geometry", "", P | L},
    {"MN_BottomLine", "Bottom Line", "", P | L},
    {"MN_SlipSurface", "Circular Failure ", "", P | L},
    {"MN_IrregularFailure", "Irregular Failure", "", P | L},
    {"MN_ProjectInf", "Project Informations", "", P},
    {"MN_AnalysisSet", "Analysis Setting", "", P | L},
    {"MN_Draw_Geometry", "Geometry", "", P},
    {"MN_Draw_Grid", "Grid", "", P},
    {"MN_Draw_SpecCen", "Specific Center", "", P | L},
    {"MN_Draw_Surface", "Slip Surface", "", P | DisabledAtStart},
    {"MN_Draw_NonCirCen", "Axis", "", P | DisabledAtStart},
    {"MN_Draw_AutoCen", "Auto Center", "", P | L},
    {"MN_Draw_Contour", "Draw Contour", "", P},
    {"MN_SetContour", "Contour Setting", "", L},
    {"MN_Run", "&Run", "Ctrl+R", P},
    {"MN_AutomaticExecuteFile", "Automatic Execute File", "", P | L},
    {"MN_FailureGeometry", "Failure Geometry", "", P},
    {"MN_WhatsNew", "What's New?", "", NoNeed},
    {"MN_PelodynHelp", "Pelodyn Help", "", L},
    {"MN_About", "About Pelodyn", "", NoNeed},
    // Commands of the tool bar alone.
    {"TB_Auto_Search", "Auto search", "", P},
    {"TB_Verify", "Verify", "", P | L},
    {"TB_Seepage", "Seepage condition", "", P},
    {"TB_Load_Effect", "Load effect", "", P},
    {"TB_Hatch_Layer", "Show soil color", "", NoNeed},
    {"TB_Hatch_Slice", "Failure slip surface", "", NoNeed},
    {"TB_View_SoilProp", "Show soil property", "", NoNeed},
    {"TB_Zoom_IN", "Zoom in", "", NoNeed},
    {"TB_Zoom_OUT", "Zoom out", "", NoNeed},
    {"TB_AZoom", "Zoom extent", "", NoNeed},
    // The drop-down items of the seepage and load-effect buttons.
    {"PU_NoSeep", "No Seepage", "", P},
    {"PU_WaterLine", "Water Line", "", P},
    {"PU_Ru", "Pore Pressure Ratio", "", P},
    {"PU_Seismic", "Seismic Load", "", P},
    {"PU_TCrack", "Tension Crack", "", P},
    {"PU_ExLoad", "External Load", "", P},
    {"PU_Anchor", "Anchor or Geofabric", "", P},
    {"PU_Vetget", "Vegetation", "", P | L},
    // The effect bar's check buttons.
    {"TB_No_Seepage", "No Seepage", "", P},
    {"TB_Water_Line", "Water Line", "", P},
    {"TB_Ru", "Ru", "", P},
    {"TB_Seismic", "Seismic", "", P},
    {"TB_Crack", "Crack", "", P},
    {"TB_LineLoad", "Line Load", "", P},
    {"TB_StripLoad", "Strip Load", "", P},
    {"TB_Anchor", "Anchor", "", P},
};

// Tool buttons of ToolBar1 and the command each one shows; "|" separates.
const std::pair<const char*, const char*> kToolBar[] = {
    {"TB_New", "MN_New"},
    {"TB_Open", "MN_Open"},
    {"TB_Save", "MN_Save"},
    {"TB_Print", "MN_Print"},
    {"|", ""},
    {"TB_Setting", "MN_Setting"},
    {"TB_Analysis_Set", "MN_AnalysisSet"},
    {"|", ""},
    {"TB_Theory", "MN_Theory"},
    {"TB_Method", "MN_Method"},
    {"TB_Soil_Prop", "MN_SoilProp"},
    {"TB_Draw_Line", "MN_Draw_Geometry"},
    {"TB_Bottom_Line", "MN_BottomLine"},
    {"TB_Grid_Search", "MN_Draw_Grid"},
    {"TB_Spec_Search", "MN_Draw_SpecCen"},
    {"TB_Auto_Search", "TB_Auto_Search"},
    {"TB_Slip_NonCir", "MN_Draw_Surface"},
    {"TB_Axis_NonCir", "MN_Draw_NonCirCen"},
    {"TB_Seepage", "TB_Seepage"},
    {"TB_Load_Effect", "TB_Load_Effect"},
    {"|", ""},
    {"TB_Verify", "TB_Verify"},
    {"TB_Cal_FS", "MN_Run"},
    {"TB_Contour", "MN_Draw_Contour"},
    {"TB_Hatch_Layer", "TB_Hatch_Layer"},
    {"TB_Hatch_Slice", "TB_Hatch_Slice"},
    {"TB_View_SoilProp", "TB_View_SoilProp"},
    {"|", ""},
    {"TB_Move_Point", "MN_MovePoint"},
    {"TB_Del_Point", "MN_DeletePoint"},
    {"|", ""},
    {"TB_Show_Grid", "MN_Show_Grid"},
    {"TB_Snap_Grid", "MN_Snap_Grid"},
    {"TB_Zoom_IN", "TB_Zoom_IN"},
    {"TB_Zoom_OUT", "TB_Zoom_OUT"},
    {"TB_AZoom", "TB_AZoom"},
};

// Effect-bar loads: the button, the option check box that disables the
// load, and the model flag it mirrors.
struct LoadToggle {
  const char* button;
  const char* disableBox;
  std::uint8_t AnalysisModel::*flag;
};
const LoadToggle kLoadToggles[] = {
    {"TB_Seismic", "CB_Seismic_Disable", &AnalysisModel::SeismicEnabled},
    {"TB_Crack", "CB_Tension_Disable", &AnalysisModel::TensionCrackEnabled},
    {"TB_LineLoad", "CB_LineLoad_Disable", &AnalysisModel::LineLoadEnabled},
    {"TB_StripLoad", "CB_StripLoad_Disable", &AnalysisModel::StripLoadEnabled},
    {"TB_Anchor", "CB_Anchor_Disable", &AnalysisModel::AnchorEnabled},
};

QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

MainWindow::MainWindow(ProjectDocument& document, Prompter& prompter, QWidget* parent)
    : QMainWindow(parent), m_document(document), m_prompter(prompter), m_platform(prompter) {
  setObjectName(QStringLiteral("Form_Main_Pelodyn"));
  setWindowTitle(FileCommands::programTitle() + QStringLiteral(" - New Project.pdd"));
  SetErrorPrompter(&m_prompter);

  m_commands = std::make_unique<CommandRegistry>(this);
  createCommands();

  FileCommands::Hooks hooks;
  hooks.setCaption = [this](const QString& caption) { setWindowTitle(caption); };
  hooks.projectLoaded = [this] { projectLoaded(); };
  hooks.writeSettings = [this] {
    // A run still going on is stopped, and its thread joined, before the
    // project it works on is read.
    m_run->stopAndWait();
    Project& p = m_document.project();
    p.settings.ShowGrid = cmd("MN_Show_Grid")->isChecked();
    p.settings.SnapGrid = cmd("MN_Snap_Grid")->isChecked();
    if (m_view) p.settings.PixelsPerUnit = m_view->pixelsPerUnit();
    WriteSettingsFile(p);
  };
  m_files = std::make_unique<FileCommands>(m_document, m_prompter, m_platform, std::move(hooks));

  m_run = std::make_unique<RunController>(m_document, m_prompter);
  createMenus();
  createToolBars();

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  m_strip = new InputStrip(central);
  layout->addWidget(m_strip);
  m_view = new SectionView(central);
  m_view->setProject(&m_document.project());
  layout->addWidget(m_view, 1);
  setCentralWidget(central);

  createStatusBar();
  m_progress = new ProgressWindow(m_document, *m_run, this);
  connect(m_progress, &ProgressWindow::replayRequested, this, GuardedSlot([this] { replayCriticalSurfaces(); }));
  connect(m_progress, &ProgressWindow::sortedRowChosen, this,
          GuardedSlot([this](double r, double x, double y) { replaySortedRow(r, x, y); }));
  connect(m_run.get(), &RunController::started, this, GuardedSlot([this] { runStarted(); }));
  connect(m_run.get(), &RunController::finished, this,
          GuardedSlot([this](int outcome, const QString&) { runFinished(outcome); }));
  QtRunFeedback& feedback = m_run->feedback();
  connect(&feedback, &QtRunFeedback::trial, this, [this](const TrialCopy& t) {
    if (!m_document.project().drawing.ShowFailureAnimation) return;
    m_view->canvas()->setTrial(std::vector<double>(t.x.begin(), t.x.end()), std::vector<double>(t.y.begin(), t.y.end()),
                               t.centerX, t.centerY);
  });
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
  connectStripFields();

  ProjectNotifier& n = m_document.notifier();
  connect(&n, &ProjectNotifier::projectReset, this, GuardedSlot([this] {
    m_view->clearKeptSurfaces();
    m_view->setContourMap(std::nullopt);
    refreshStripFields();
    updateActions();
  }));
  connect(&n, &ProjectNotifier::optionChanged, this, GuardedSlot([this](const QString&) { updateActions(); }));
  connect(&n, &ProjectNotifier::languageChanged, this, GuardedSlot([this] { applyCaptions(); }));
  updateActions();
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

void MainWindow::createCommands() {
  for (const CommandDef& def : kCommands) {
    m_commands->add(QString::fromLatin1(def.name), QString::fromUtf8(def.caption), def.needs,
                    QKeySequence(QString::fromLatin1(def.shortcut)));
  }
  // The same command under the names of its other places.
  m_commands->alias(QStringLiteral("Exit_Pelodyn"), QStringLiteral("MN_Exit"));
  m_commands->alias(QStringLiteral("PU_MovePoint"), QStringLiteral("MN_MovePoint"));
  m_commands->alias(QStringLiteral("PU_DeletePoint"), QStringLiteral("MN_DeletePoint"));
  for (const auto& [button, command] : kToolBar) {
    if (QString::fromLatin1(button) != QLatin1String("|") && QLatin1String(button) != QLatin1String(command)) {
      m_commands->alias(QString::fromLatin1(button), QString::fromLatin1(command));
    }
  }

  for (const char* name : {"MN_Show_Grid", "MN_Snap_Grid", "MN_LangThai", "MN_LangEng", "TB_Hatch_Layer",
                           "TB_View_SoilProp", "PU_NoSeep", "PU_WaterLine", "PU_Ru", "TB_No_Seepage", "TB_Water_Line",
                           "TB_Ru", "TB_Seismic", "TB_Crack", "TB_LineLoad", "TB_StripLoad", "TB_Anchor"}) {
    cmd(QString::fromLatin1(name))->setCheckable(true);
  }
  cmd("MN_Show_Grid")->setChecked(true);
  cmd("MN_Snap_Grid")->setChecked(true);
  cmd("TB_Hatch_Layer")->setChecked(true);
  cmd("MN_LangEng")->setChecked(true);
  cmd("TB_No_Seepage")->setChecked(true);
  cmd("PU_NoSeep")->setChecked(true);
  auto* languages = new QActionGroup(this);
  languages->addAction(cmd("MN_LangThai"));
  languages->addAction(cmd("MN_LangEng"));
  for (const char* name : {"MN_SlipSurface", "MN_IrregularFailure", "TB_Verify"}) {
    cmd(QString::fromLatin1(name))->setVisible(false);
  }
  // The irregular-surface commands need the irregular theory.
  for (const char* name : {"MN_Draw_Surface", "MN_Draw_NonCirCen"}) {
    m_commands->setCondition(QString::fromLatin1(name), [](const CommandState& s) { return !s.circularTheory; });
  }
}

void MainWindow::createMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("Menu_Pelodyn"));
  auto menu = [this](QWidget* parent, const char* name, const char* caption) {
    auto* m = new QMenu(QString::fromUtf8(caption), parent);
    m->setObjectName(QString::fromLatin1(name));
    m_menus.insert(m->objectName(), m);
    return m;
  };
  auto add = [this](QMenu* m, std::initializer_list<const char*> names) {
    for (const char* n : names) {
      if (QLatin1String(n) == QLatin1String("-")) {
        m->addSeparator();
      } else {
        m->addAction(cmd(QString::fromLatin1(n)));
      }
    }
  };

  QMenu* file = menu(bar, "MN_File", "&File");
  add(file, {"MN_New", "MN_Open", "MN_Save", "MN_SaveAs", "MN_ExportPicture", "-", "MN_PageSetup", "MN_Print",
             "MN_PrintData", "-", "MN_Exit"});
  QMenu* edit = menu(bar, "MN_Edit", "&Edit");
  add(edit, {"MN_MovePoint", "MN_DeletePoint"});
  QMenu* option = menu(bar, "MN_Option", "&Option");
  add(option, {"MN_Theory", "MN_Method", "MN_Step", "-", "MN_Show_Grid", "MN_Snap_Grid", "-", "MN_Setting"});
  QMenu* lang = menu(option, "MN_Lang", "Language");
  add(lang, {"MN_LangThai", "MN_LangEng"});
  option->addMenu(lang);
  QMenu* keyIn = menu(bar, "MN_Key_In", "&Key In");
  add(keyIn, {"MN_SoilProp", "MN_Geometry", "MN_BottomLine", "MN_SlipSurface", "MN_IrregularFailure", "-",
              "MN_ProjectInf", "MN_AnalysisSet"});
  QMenu* draw = menu(bar, "MN_Draw", "&Draw");
  add(draw, {"MN_Draw_Geometry", "-"});
  QMenu* cir = menu(draw, "MN_Draw_Cir", "Circular Failure");
  add(cir, {"MN_Draw_Grid", "MN_Draw_SpecCen"});
  draw->addMenu(cir);
  QMenu* nonCir = menu(draw, "MN_Draw_NonCir", "Irregular Failure");
  add(nonCir, {"MN_Draw_Surface", "MN_Draw_NonCirCen", "-", "MN_Draw_AutoCen"});
  draw->addMenu(nonCir);
  draw->addSeparator();
  QMenu* contour = menu(draw, "MN_Contour", "Contour");
  add(contour, {"MN_Draw_Contour", "MN_SetContour"});
  QAction* contourItem = draw->addMenu(contour);
  contourItem->setVisible(false);
  contourItem->setEnabled(false);
  QMenu* calc = menu(bar, "MN_Calculation", "&Calculation");
  add(calc, {"MN_Run", "MN_AutomaticExecuteFile"});
  QMenu* result = menu(bar, "MN_Result", "&Result");
  add(result, {"MN_FailureGeometry"});
  QMenu* help = menu(bar, "MN_Help", "&Help");
  add(help, {"MN_WhatsNew", "MN_PelodynHelp", "-", "MN_About"});
  for (QMenu* m : {file, edit, option, keyIn, draw, calc, result, help}) bar->addMenu(m);

  QMenu* seepage = menu(this, "PU_Seepage", "");
  add(seepage, {"PU_NoSeep", "PU_WaterLine", "PU_Ru"});
  QMenu* loads = menu(this, "PU_Load_Effect", "");
  add(loads, {"PU_Seismic", "PU_TCrack", "PU_ExLoad", "PU_Anchor", "-", "PU_Vetget"});
  QMenu* popup = menu(this, "PU_Draw", "");
  add(popup, {"MN_MovePoint", "MN_DeletePoint"});
  cmd("TB_Seepage")->setMenu(seepage);
  cmd("TB_Load_Effect")->setMenu(loads);
}

void MainWindow::createToolBars() {
  m_toolBar = addToolBar(QStringLiteral("ToolBar1"));
  m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
  m_toolBar->setMovable(false);
  m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  m_toolBar->setIconSize(QSize(24, 24));
  for (const auto& [button, command] : kToolBar) {
    const QString name = QString::fromLatin1(button);
    if (name == QLatin1String("|")) {
      m_toolBar->addSeparator();
      continue;
    }
    QAction* a = cmd(QString::fromLatin1(command));
    // The button shows the command's picture; its hint is the action's tool
    // tip, which the language switch writes.
    a->setIcon(ToolIcon(name));
    auto* tb = new QToolButton(m_toolBar);
    tb->setObjectName(name);
    tb->setDefaultAction(a);
    tb->setToolButtonStyle(Qt::ToolButtonIconOnly);
    tb->setIconSize(QSize(24, 24));
    tb->setAutoRaise(true);
    if (a->menu()) tb->setPopupMode(QToolButton::MenuButtonPopup);
    QAction* slot = m_toolBar->addWidget(tb);
    slot->setVisible(a->isVisible());
    connect(a, &QAction::changed, tb, [a, slot] { slot->setVisible(a->isVisible()); });
  }
  // The built-in hints of the buttons are the English caption-table texts.
  for (const auto& [button, command] : kToolBar) {
    const std::string_view hint = CaptionText(kLanguageEnglish, button);
    if (!hint.empty()) cmd(QString::fromLatin1(command))->setToolTip(Q(hint));
  }

  addToolBarBreak(Qt::BottomToolBarArea);
  m_effectBar = new QToolBar(QStringLiteral("TB_Effect_Bar"), this);
  m_effectBar->setObjectName(QStringLiteral("TB_Effect_Bar"));
  m_effectBar->setMovable(false);
  m_effectBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  addToolBar(Qt::BottomToolBarArea, m_effectBar);
  for (const char* name : {"TB_No_Seepage", "TB_Water_Line", "TB_Ru", "|", "TB_Seismic", "TB_Crack", "TB_LineLoad",
                           "TB_StripLoad", "TB_Anchor"}) {
    if (QLatin1String(name) == QLatin1String("|")) {
      m_effectBar->addSeparator();
      continue;
    }
    auto* tb = new QToolButton(m_effectBar);
    tb->setObjectName(QString::fromLatin1(name));
    tb->setDefaultAction(cmd(QString::fromLatin1(name)));
    tb->setMinimumSize(65, 21);
    m_effectBar->addWidget(tb);
  }
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
  bar->addWidget(m_statusX);
  bar->addWidget(m_statusY);
  connect(m_view, &SectionView::cursorMoved, this, [this](double x, double y) {
    m_statusX->setText(QStringLiteral("X: ") + QString::fromStdString(FormatFixed(x, 2)));
    m_statusY->setText(QStringLiteral("Y: ") + QString::fromStdString(FormatFixed(y, 2)));
  });
}

void MainWindow::connectCommands() {
  on("MN_New", [this] { m_files->newCommand(); });
  on("MN_Open", [this] { m_files->openCommand(); });
  on("MN_Save", [this] { m_files->saveCommand(); });
  on("MN_SaveAs", [this] { m_files->saveAsCommand(); });
  on("MN_ExportPicture", [this] { exportPicture(); });
  on("MN_Exit", [this] { close(); });
  on("MN_LangThai", [this] { setLanguage(kLanguageThai); });
  on("MN_LangEng", [this] { setLanguage(kLanguageEnglish); });
  on("MN_About", [this] { showAbout(); });
  on("MN_WhatsNew", [this] { showWhatsNew(); });

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
      {"MN_SetContour", "P_Contour_Setting"},
      {"TB_Verify", "P_Verify_Data"},
  };
  for (const auto& [command, panel] : panels) {
    const QString p = QString::fromLatin1(panel);
    on(QString::fromLatin1(command), [this, p] { m_strip->showPanel(p); });
  }
  // The seepage choices and the load panels also switch their effect on.
  on("PU_NoSeep", [this] { setSeepage(0); });
  on("PU_WaterLine", [this] { setSeepage(1); });
  on("PU_Ru", [this] { setSeepage(2); });
  on("PU_Seismic", [this] { setEffect(QStringLiteral("TB_Seismic"), true); });
  on("PU_TCrack", [this] { setEffect(QStringLiteral("TB_Crack"), true); });
  on("TB_No_Seepage", [this] { setSeepage(0); });
  on("TB_Water_Line", [this] { setSeepage(1); });
  on("TB_Ru", [this] { setSeepage(2); });
  for (const LoadToggle& t : kLoadToggles) {
    const QString name = QString::fromLatin1(t.button);
    on(name, [this, name] { setEffect(name, cmd(name)->isChecked()); });
  }

  on("MN_Show_Grid", [this] { refreshViewOptions(); });
  on("MN_Snap_Grid", [this] { refreshViewOptions(); });
  on("TB_Hatch_Layer", [this] { refreshViewOptions(); });
  on("TB_View_SoilProp", [this] { m_soilPropertyTipShown = cmd("TB_View_SoilProp")->isChecked(); });
  on("TB_Hatch_Slice", [this] {
    AppSettings& s = m_document.project().settings;
    s.FailureSurfaceMode = (s.FailureSurfaceMode + 1) % 3;
    s.SliceHatchShown = s.FailureSurfaceMode == 2 ? 1 : 0;
    if (m_run->isRunning()) return;
    if (m_document.project().store->rowCount(Table::Failure_Geometry) > 0 &&
        m_document.project().options.itemIndex("RG_Theory") == 1) {
      replayCriticalSurfaces();
    } else {
      refreshViewOptions();
    }
  });
  on("MN_Run", [this] { showProgressWindow(); });
  on("MN_Draw_Contour", [this] { drawContours(); });
  on("MN_FailureGeometry", [this] {
    FailureGeometryWindow window(m_document.project(), this);
    // Creating the window records the critical surface.
    emit m_document.notifier().tableReset(Table::Failure_Geometry);
    window.exec();
  });
  on("TB_Zoom_IN", [this] { m_view->zoomIn(); });
  on("TB_Zoom_OUT", [this] { m_view->zoomOut(); });
  on("TB_AZoom", [this] {
    if (m_document.project().store->rowCount(Table::Geometry) > 0) m_view->fitView();
  });
}

void MainWindow::connectStripFields() {
  Project& project = m_document.project();
  for (const InputStrip::Twin& twin : InputStrip::twins()) {
    auto* edit = m_strip->findChild<QLineEdit*>(QString::fromLatin1(twin.field));
    if (!edit) continue;
    const std::string option = twin.option;
    connect(edit, &QLineEdit::textChanged, this, GuardedSlot([this, &project, option](const QString& text) {
              if (m_updatingFields) return;
              // The twin is only rewritten when its text differs, so the
              // copy never comes back.
              if (project.options.text(option) == text.toStdString()) return;
              project.options.setText(option, text.toStdString());
              emit m_document.notifier().optionChanged(QString::fromStdString(option));
            }));
  }
  auto* increment = m_strip->findChild<QCheckBox*>(QStringLiteral("CB_Grid_Increment"));
  auto* cover = m_strip->findChild<QLabel*>(QStringLiteral("P_Grid_Increment"));
  connect(increment, &QCheckBox::toggled, this, GuardedSlot([this, &project, cover](bool on) {
            cover->setVisible(!on);
            // The cover: without Increment the two steps are not used.
            for (const char* e : {"E_Xgrid_Increment", "E_Ygrid_Increment"}) {
              if (auto* edit = m_strip->findChild<QLineEdit*>(QString::fromLatin1(e))) edit->setEnabled(on);
            }
            if (m_updatingFields || project.options.checked("CB_Grid_Increment") == on) return;
            project.options.setChecked("CB_Grid_Increment", on);
            emit m_document.notifier().optionChanged(QStringLiteral("CB_Grid_Increment"));
          }));

  // Theory and methods: the option values and the model flags they mirror.
  const std::pair<const char*, int> theories[] = {{"RB_Circular", 1}, {"RB_NonCir", 2}};
  for (const auto& [name, theory] : theories) {
    auto* radio = m_strip->findChild<QRadioButton*>(QString::fromLatin1(name));
    const int value = theory;
    connect(radio, &QRadioButton::toggled, this, GuardedSlot([this, &project, value](bool on) {
              if (!on || m_updatingFields) return;
              project.options.setItemIndex("RG_Theory", value);
              project.model.AnalysisTheory = static_cast<std::uint8_t>(value);
              emit m_document.notifier().optionChanged(QStringLiteral("RG_Theory"));
              redrawAll();
            }));
  }
  struct MethodBox {
    const char* box;
    const char* option;
    std::uint8_t AnalysisModel::*flag;
  };
  const MethodBox methods[] = {{"CB_Ordinary_Method", "CB_Ordinary", &AnalysisModel::UseOrdinary},
                               {"CB_Simp_Janbu_Method", "CB_Simp_Janbu", &AnalysisModel::UseSimplifiedJanbu},
                               {"CB_Simp_Bishop_Method", "CB_Simp_Bishop", &AnalysisModel::UseSimplifiedBishop},
                               {"CB_Spencer_Method", "CB_Spencer", &AnalysisModel::UseSpencer}};
  for (const MethodBox& m : methods) {
    auto* box = m_strip->findChild<QCheckBox*>(QString::fromLatin1(m.box));
    const std::string option = m.option;
    const auto flag = m.flag;
    connect(box, &QCheckBox::toggled, this, GuardedSlot([this, &project, option, flag](bool on) {
              if (m_updatingFields) return;
              project.options.setChecked(option, on);
              project.model.*flag = on ? 1 : 0;
              emit m_document.notifier().optionChanged(QString::fromStdString(option));
            }));
  }

  // Every panel's Close button only collapses the strip.
  for (QPushButton* b : m_strip->findChildren<QPushButton*>()) {
    const QString n = b->objectName();
    if (n.endsWith(QLatin1String("_Close")) || n == QLatin1String("B_Method_OK") ||
        n == QLatin1String("B_Contour_Setting_OK") || n.endsWith(QLatin1String("_cancel")) ||
        n == QLatin1String("B_Anchor_Cancel") || n == QLatin1String("B_DrawLine_Cancel")) {
      connect(b, &QPushButton::clicked, m_strip, [this] { m_strip->setExpanded(false); });
    }
  }
  connect(m_strip->findChild<QPushButton*>(QStringLiteral("B_DrawGrid_OK")), &QPushButton::clicked, this,
          GuardedSlot([this](bool) {
            if (CentreGridDivisionInvalid(m_document.project())) {
              m_prompter.information(FileCommands::programTitle(),
                                     MessageBoxText(MessageText(m_document.language(), 0)));
              if (auto* e = m_strip->findChild<QLineEdit*>(QStringLiteral("E_12_Division"))) e->setFocus();
              return;
            }
            redrawAll();
          }));
}

void MainWindow::refreshStripFields() {
  const Project& project = m_document.project();
  m_updatingFields = true;
  for (const InputStrip::Twin& twin : InputStrip::twins()) {
    if (auto* edit = m_strip->findChild<QLineEdit*>(QString::fromLatin1(twin.field))) {
      const QString text = QString::fromStdString(project.options.text(twin.option));
      if (edit->text() != text) edit->setText(text);
    }
  }
  const bool increment = project.options.checked("CB_Grid_Increment");
  m_strip->findChild<QCheckBox*>(QStringLiteral("CB_Grid_Increment"))->setChecked(increment);
  for (const char* e : {"E_Xgrid_Increment", "E_Ygrid_Increment"}) {
    m_strip->findChild<QLineEdit*>(QString::fromLatin1(e))->setEnabled(increment);
  }
  m_strip->findChild<QLabel*>(QStringLiteral("P_Grid_Increment"))->setVisible(!increment);
  const int theory = project.options.itemIndex("RG_Theory");
  m_strip->findChild<QRadioButton*>(QStringLiteral("RB_Circular"))->setChecked(theory == 1);
  m_strip->findChild<QRadioButton*>(QStringLiteral("RB_NonCir"))->setChecked(theory == 2);
  m_strip->findChild<QCheckBox*>(QStringLiteral("CB_Ordinary_Method"))
      ->setChecked(project.options.checked("CB_Ordinary"));
  m_strip->findChild<QCheckBox*>(QStringLiteral("CB_Simp_Janbu_Method"))
      ->setChecked(project.options.checked("CB_Simp_Janbu"));
  m_strip->findChild<QCheckBox*>(QStringLiteral("CB_Simp_Bishop_Method"))
      ->setChecked(project.options.checked("CB_Simp_Bishop"));
  m_strip->findChild<QCheckBox*>(QStringLiteral("CB_Spencer_Method"))
      ->setChecked(project.options.checked("CB_Spencer"));

  const int seepage = project.options.itemIndex("CB_Seepage");
  const char* seepButtons[] = {"TB_No_Seepage", "TB_Water_Line", "TB_Ru"};
  const char* seepItems[] = {"PU_NoSeep", "PU_WaterLine", "PU_Ru"};
  for (int k = 0; k < 3; ++k) {
    cmd(QString::fromLatin1(seepButtons[k]))->setChecked(seepage == k);
    cmd(QString::fromLatin1(seepItems[k]))->setChecked(seepage == k);
  }
  for (const LoadToggle& t : kLoadToggles) {
    cmd(QString::fromLatin1(t.button))->setChecked(!project.options.checked(t.disableBox));
  }
  m_updatingFields = false;
}

void MainWindow::setSeepage(int kind) {
  Project& project = m_document.project();
  project.options.setItemIndex("CB_Seepage", kind);
  project.model.SeepageKind = static_cast<std::uint8_t>(kind);
  refreshStripFields();
  emit m_document.notifier().optionChanged(QStringLiteral("CB_Seepage"));
  redrawAll();
}

void MainWindow::setEffect(const QString& name, bool on) {
  Project& project = m_document.project();
  for (const LoadToggle& t : kLoadToggles) {
    if (name != QLatin1String(t.button)) continue;
    project.options.setChecked(t.disableBox, !on);
    project.model.*t.flag = on ? 1 : 0;
    cmd(name)->setChecked(on);
    emit m_document.notifier().optionChanged(QString::fromLatin1(t.disableBox));
  }
  redrawAll();
}

void MainWindow::refreshViewOptions() {
  ViewOptions o = m_view->viewOptions();
  const AppSettings& s = m_document.project().settings;
  o.showGrid = cmd("MN_Show_Grid")->isChecked();
  o.snapGrid = cmd("MN_Snap_Grid")->isChecked();
  o.soilColourShown = cmd("TB_Hatch_Layer")->isChecked();
  o.failureSurfaceMode = s.FailureSurfaceMode;
  o.sliceHatchShown = s.SliceHatchShown != 0;
  o.resultAvailable = m_document.project().run.ResultAvailable != 0;
  m_view->setViewOptions(o);
}

void MainWindow::redrawAll() {
  m_view->rebuildDisplayList();
  m_view->redrawBase(1);
  m_view->redrawOverlays();
}

void MainWindow::projectLoaded() {
  Project& project = m_document.project();
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
  updateActions();
}

void MainWindow::showProgressWindow() {
  if (m_run->isRunning()) {
    m_progress->raise();
    return;
  }
  m_document.project().run.StopRequested = 1;
  m_progress->show();
  m_progress->raise();
}

void MainWindow::runStarted() {
  setRunInProgress(true);
  m_view->clearKeptSurfaces();
  m_view->setContourMap(std::nullopt);
  ViewOptions o = m_view->viewOptions();
  o.resultAvailable = false;
  m_view->setViewOptions(o);
  // From here the worker owns the project: the view draws what it has.
  m_view->setFrozen(true);
}

void MainWindow::runFinished(int outcome) {
  m_view->canvas()->clearTrial();
  m_view->setFrozen(false);
  setRunInProgress(false);
  Project& p = m_document.project();
  if (outcome == static_cast<int>(RunOutcome::Complete) && p.model.AnalysisTheory == 1 &&
      p.model.CircularSearchKind != 1) {
    replayCriticalSurfaces();
  } else {
    refreshViewOptions();
    m_view->redrawBase(1);
    m_view->redrawOverlays();
  }
  // After the replay: the area is that of the critical surface drawn.
  showRunSummary(outcome);
}

void MainWindow::showRunSummary(int outcome) {
  const Project& p = m_document.project();
  const std::uint8_t language = m_document.language();
  if (outcome == static_cast<int>(RunOutcome::Stopped)) {
    statusBar()->showMessage(Q(UiTextFor(language, UiText::RunStopped)));
    return;
  }
  if (outcome != static_cast<int>(RunOutcome::Complete)) return;
  static const char* names[] = {"Ordinary", "Janbu", "Bishop", "Spencer"};
  const std::uint8_t used[] = {p.model.UseOrdinary, p.model.UseSimplifiedJanbu, p.model.UseSimplifiedBishop,
                               p.model.UseSpencer};
  std::string minima;
  for (int k = 0; k < kMethodCount; ++k) {
    const double fs = p.run.Minimum[static_cast<std::size_t>(k)].Fs;
    if (!used[k] || !(fs < 99999.0)) continue;
    if (!minima.empty()) minima += ", ";
    minima += std::string(names[k]) + " " + FormatFixed(fs, 3);
  }
  if (minima.empty()) minima = "-";
  statusBar()->showMessage(QString::fromStdString(
      FormatText(UiTextFor(language, UiText::RunSummary), {minima, FormatFixed(p.run.SlidingMassArea, 2)})));
}

void MainWindow::replayCriticalSurfaces() {
  if (m_run->isRunning()) return;
  Project& p = m_document.project();
  m_view->clearKeptSurfaces();
  if (p.options.itemIndex("RG_Theory") == 1) {
    // The critical circle of each checked method, analysed again in turn;
    // each is kept on the drawing under the next. A replay only redraws:
    // the run's count of surfaces stays the run's.
    const long surfaces = p.run.SurfaceCount;
    const auto codes = p.run.ResultCodeCount;
    const std::uint8_t used[] = {p.model.UseOrdinary, p.model.UseSimplifiedJanbu, p.model.UseSimplifiedBishop,
                                 p.model.UseSpencer};
    Searcher searcher(p, m_platform);
    bool any = false;
    int previous = 0;
    for (int k = 0; k < kMethodCount; ++k) {
      const MethodMinimum& min = p.run.Minimum[static_cast<std::size_t>(k)];
      if (!p.run.ShowPicture[static_cast<std::size_t>(k)] || !used[k] || min.Radius == 0.0) continue;
      // Each kept circle is labelled with its own method's factor.
      if (any) m_view->keepAnalysedSurface(p.run.Minimum[static_cast<std::size_t>(previous)].Fs);
      previous = k;
      p.model.TrialRadius = min.Radius;
      p.model.CenterX = min.CenterX;
      p.model.CenterY = min.CenterY;
      searcher.Analyse();
      any = true;
    }
    if (any) {
      searcher.RecordCriticalSurface();
      searcher.ComputeSlidingMassArea();
      p.run.ResultAvailable = 1;
    }
    p.run.SurfaceCount = surfaces;
    p.run.ResultCodeCount = codes;
  }
  refreshViewOptions();
  m_view->redrawBase(1);
  m_view->redrawOverlays();
}

void MainWindow::drawContours() {
  Project& p = m_document.project();
  // The map is that of a grid search: only then does each centre of the
  // grid have its circles in the Results rows.
  if (m_run->isRunning() || p.model.AnalysisTheory != 1 || p.model.CircularSearchKind != 0 ||
      p.store->rowCount(Table::Results) == 0) {
    return;
  }
  m_view->setContourMap(GatherContourMap(p.model, p.store->rows(Table::Results)));
}

void MainWindow::replaySortedRow(double radius, double centerX, double centerY) {
  if (m_run->isRunning()) return;
  Project& p = m_document.project();
  const long surfaces = p.run.SurfaceCount;
  const auto codes = p.run.ResultCodeCount;
  Searcher searcher(p, m_platform);
  searcher.ReplaySortedRow(radius, centerX, centerY);
  p.run.SurfaceCount = surfaces;
  p.run.ResultCodeCount = codes;
  refreshViewOptions();
  m_view->redrawBase(1);
  m_view->redrawOverlays();
}

void MainWindow::startUp() {
  if (m_startedUp) return;
  m_startedUp = true;
  m_files->runNewProject(true);
  // The built-in texts are the English ones; only Thai needs the switch.
  if (m_document.language() == kLanguageThai) applyCaptions();
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
  const std::uint8_t language = m_document.language();
  for (const CaptionRow& row : CaptionTable()) {
    const QString name = Q(row.control);
    const QString text = Q(language == kLanguageThai ? row.thai : row.english);
    if (QMenu* menu = m_menus.value(name, nullptr)) {
      menu->setTitle(text);
      continue;
    }
    if (row.property == CaptionProperty::Hint) {
      if (QAction* a = m_commands->action(name)) a->setToolTip(text);
      continue;
    }
    if (QAction* a = m_commands->action(name); a && !name.startsWith(QLatin1String("TB_"))) {
      a->setText(text);
      continue;
    }
    if (QAction* a = m_commands->action(name); a && row.property == CaptionProperty::Text) {
      a->setText(text);
      continue;
    }
    QWidget* w = findChild<QWidget*>(name);
    if (auto* label = qobject_cast<QLabel*>(w)) {
      label->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
      button->setText(text);
    }
  }
  // Commands outside the caption table keep English; Export Picture has its
  // own twin.
  cmd("MN_ExportPicture")->setText(Q(UiTextFor(language, UiText::ExportPictureCaption)) + QStringLiteral("..."));
}

void MainWindow::setRunInProgress(bool running) {
  m_state.runInProgress = running;
  updateActions();
}

void MainWindow::updateActions() {
  m_state.circularTheory = m_document.project().options.itemIndex("RG_Theory") != 2;
  m_commands->updateActions(m_state);
}

void MainWindow::exportPicture() {
  const std::uint8_t language = m_document.language();
  const QString caption = Q(UiTextFor(language, UiText::ExportPictureCaption));
  const QStringList filters = Q(UiTextFor(language, UiText::ExportPictureFilter)).split(QStringLiteral(";;"));
  QString initial = m_document.ProjectFileName.isEmpty() ? QStringLiteral("New Project")
                                                         : QFileInfo(m_document.ProjectFileName).completeBaseName();
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
  ExportPicture(m_document.project(), m_view->viewOptions(), std::filesystem::path(path.toStdString()), *size);
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
