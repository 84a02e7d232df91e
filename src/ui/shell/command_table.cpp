#include "ui/shell/command_table.h"

#include <QActionGroup>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <stdexcept>

#include "qt_text/utf8.h"
#include "texts/captions.h"
#include "texts/messages.h"
#include "ui/document/guard.h"
#include "ui/shell/tool_icons.h"

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
    {"MN_PageSetup", "Page Setup", "", NoNeed},
    {"MN_Print", "&Print", "Ctrl+P", P},
    {"MN_PrintData", "Print Data", "", P},
    {"MN_PrintPreview", "Print Preview", "", P},
    {"MN_Preview_Drawing", "Drawing Page", "", P},
    {"MN_Preview_Data", "Data Report", "", P},
    {"MN_Preview_Result", "Result Report", "", P},
    {"MN_ExportPdf", "Export PDF", "", P},
    {"MN_ExportPdf_Drawing", "Drawing Page...", "", P},
    {"MN_ExportPdf_Data", "Data Report...", "", P},
    {"MN_ExportPdf_Result", "Result Report...", "", P},
    {"MN_Exit", "E&xit", "", NoNeed},
    {"MN_Undo", "&Undo", "Ctrl+Z", P | DisabledAtStart},
    {"MN_Redo", "&Redo", "Ctrl+Y", P | DisabledAtStart},
    {"MN_MovePoint", "Move Point", "", P | NeedsSelection},
    {"MN_DeletePoint", "Delete Point", "", P | NeedsSelection},
    {"MN_Theory", "Theory", "", P},
    {"MN_Method", "Method", "", P},
    {"MN_Step", "Step by Step", "Ctrl+W", P},
    {"MN_Show_Grid", "Show Grid", "", NoNeed},
    {"MN_Snap_Grid", "Snap Grid", "", NoNeed},
    {"MN_Setting", "Se&tting", "Ctrl+T", P},
    {"MN_LangThai", "Thai", "", NoNeed},
    {"MN_LangEng", "English", "", NoNeed},
    {"MN_SoilProp", "Soil Properties", "", P},
    {"MN_Geometry", "Geometry", "", P},
    {"MN_BottomLine", "Bottom Line", "", P},
    {"MN_SlipSurface", "Circular Failure ", "", P | L},
    {"MN_IrregularFailure", "Irregular Failure", "", P | L},
    {"MN_ProjectInf", "Project Information", "", P},
    {"MN_AnalysisSet", "Analysis Setting", "", P},
    {"MN_Draw_Geometry", "Geometry", "", P},
    {"MN_Draw_Grid", "Grid", "", P},
    {"MN_Draw_SpecCen", "Specific Center", "", P},
    {"MN_Draw_Surface", "Slip Surface", "", P | DisabledAtStart},
    {"MN_Draw_NonCirCen", "Axis", "", P | DisabledAtStart},
    {"MN_Draw_AutoCen", "Auto Center", "", P | DisabledAtStart},
    {"MN_Draw_Contour", "Draw Contour", "", P},
    {"MN_SetContour", "Contour Setting", "", L},
    {"MN_Run", "&Run", "Ctrl+R", P},
    {"MN_AutomaticExecuteFile", "Automatic Execute File", "", P},
    {"MN_FailureGeometry", "Failure Geometry", "", P},
    {"MN_SliceForces", "Slice Forces", "", P},
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
    {"PU_Vetget", "Vegetation", "", P},
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

// Why a command that is present does nothing yet; its tool tip says so.
const std::pair<const char*, UiText> kReasons[] = {

    {"MN_SlipSurface", UiText::KeyInOnStepForm}, {"MN_IrregularFailure", UiText::KeyInOnStepForm},
    {"MN_SetContour", UiText::ContourNotSet},    {"MN_PelodynHelp", UiText::NoHelpFile},
    {"TB_Verify", UiText::CheckedAtRun},  // the checks run with every calculation
};

}  // namespace

CommandTable::CommandTable(QMainWindow& window, CommandRegistry& commands) : m_window(window), m_commands(commands) {}

void CommandTable::build() {
  createCommands();
  createMenus();
  createToolBars();
}

QAction* CommandTable::cmd(const QString& name) const {
  QAction* a = m_commands.action(name);
  if (!a) throw std::logic_error("unknown command " + name.toStdString());
  return a;
}

QMenu* CommandTable::menu(const QString& name) const {
  return m_menus.value(name, nullptr);
}

QString CommandTable::disabledReason(std::uint8_t language, const QString& name) {
  for (const auto& [command, reason] : kReasons) {
    if (name == QLatin1String(command)) return Q(UiTextFor(language, reason));
  }
  return {};
}

void CommandTable::createCommands() {
  for (const CommandDef& def : kCommands) {
    m_commands.add(QString::fromLatin1(def.name), QString::fromUtf8(def.caption), def.needs,
                   QKeySequence(QString::fromLatin1(def.shortcut)));
  }
  // The same command under the names of its other places.
  m_commands.alias(QStringLiteral("Exit_Pelodyn"), QStringLiteral("MN_Exit"));
  m_commands.alias(QStringLiteral("PU_MovePoint"), QStringLiteral("MN_MovePoint"));
  m_commands.alias(QStringLiteral("PU_DeletePoint"), QStringLiteral("MN_DeletePoint"));
  for (const auto& [button, command] : kToolBar) {
    if (QString::fromLatin1(button) != QLatin1String("|") && QLatin1String(button) != QLatin1String(command)) {
      m_commands.alias(QString::fromLatin1(button), QString::fromLatin1(command));
    }
  }

  for (const char* name :
       {"MN_Show_Grid", "MN_Snap_Grid",    "MN_LangThai",   "MN_LangEng",    "TB_Hatch_Layer", "TB_View_SoilProp",
        "PU_NoSeep",    "PU_WaterLine",    "PU_Ru",         "PU_Seismic",    "PU_TCrack",      "PU_ExLoad",
        "PU_Anchor",    "MN_Draw_AutoCen", "TB_No_Seepage", "TB_Water_Line", "TB_Ru",          "TB_Seismic",
        "TB_Crack",     "TB_LineLoad",     "TB_StripLoad",  "TB_Anchor"}) {
    cmd(QString::fromLatin1(name))->setCheckable(true);
  }
  cmd("MN_Show_Grid")->setChecked(true);
  cmd("MN_Snap_Grid")->setChecked(true);
  cmd("TB_Hatch_Layer")->setChecked(true);
  cmd("MN_LangEng")->setChecked(true);
  cmd("TB_No_Seepage")->setChecked(true);
  cmd("PU_NoSeep")->setChecked(true);
  auto* languages = new QActionGroup(&m_window);
  languages->addAction(cmd("MN_LangThai"));
  languages->addAction(cmd("MN_LangEng"));
  for (const char* name : {"MN_SlipSurface", "MN_IrregularFailure", "TB_Verify"}) {
    cmd(QString::fromLatin1(name))->setVisible(false);
  }
  // The circular searches and their contour map need the circular theory,
  // the irregular-surface commands the irregular one.
  for (const char* name : {"MN_Draw_Grid", "MN_Draw_SpecCen", "TB_Auto_Search", "MN_Draw_Contour"}) {
    m_commands.setCondition(QString::fromLatin1(name), [](const CommandState& s) { return s.circularTheory; });
  }
  for (const char* name : {"MN_Draw_Surface", "MN_Draw_NonCirCen"}) {
    m_commands.setCondition(QString::fromLatin1(name), [](const CommandState& s) { return !s.circularTheory; });
  }
  m_commands.setCondition(QStringLiteral("MN_Draw_AutoCen"),
                          [](const CommandState& s) { return !s.circularTheory && s.nonCirRandomSearch; });
}

void CommandTable::createMenus() {
  QMenuBar* bar = m_window.menuBar();
  bar->setObjectName(QStringLiteral("Menu_Pelodyn"));
  auto menu = [this](QWidget* parent, const char* name, const char* caption) {
    auto* m = new QMenu(QString::fromUtf8(caption), parent);
    m->setObjectName(QString::fromLatin1(name));
    // A disabled item says why in its tool tip.
    m->setToolTipsVisible(true);
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
             "MN_PrintData", "MN_PrintPreview", "MN_ExportPdf", "-", "MN_Exit"});
  QMenu* preview = menu(file, "PU_Print_Preview", "");
  add(preview, {"MN_Preview_Drawing", "MN_Preview_Data", "MN_Preview_Result"});
  cmd("MN_PrintPreview")->setMenu(preview);
  QMenu* pdf = menu(file, "PU_Export_Pdf", "");
  add(pdf, {"MN_ExportPdf_Drawing", "MN_ExportPdf_Data", "MN_ExportPdf_Result"});
  cmd("MN_ExportPdf")->setMenu(pdf);
  QMenu* edit = menu(bar, "MN_Edit", "&Edit");
  add(edit, {"MN_Undo", "MN_Redo", "-", "MN_MovePoint", "MN_DeletePoint"});
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
  add(result, {"MN_FailureGeometry", "MN_SliceForces"});
  QMenu* help = menu(bar, "MN_Help", "&Help");
  add(help, {"MN_WhatsNew", "MN_PelodynHelp", "-", "MN_About"});
  for (QMenu* m : {file, edit, option, keyIn, draw, calc, result, help}) bar->addMenu(m);

  QMenu* seepage = menu(&m_window, "PU_Seepage", "");
  add(seepage, {"PU_NoSeep", "PU_WaterLine", "PU_Ru"});
  QMenu* loads = menu(&m_window, "PU_Load_Effect", "");
  add(loads, {"PU_Seismic", "PU_TCrack", "PU_ExLoad", "PU_Anchor", "-", "PU_Vetget"});
  QMenu* popup = menu(&m_window, "PU_Draw", "");
  add(popup, {"MN_MovePoint", "MN_DeletePoint"});
  cmd("TB_Seepage")->setMenu(seepage);
  cmd("TB_Load_Effect")->setMenu(loads);
}

void CommandTable::createToolBars() {
  m_toolBar = m_window.addToolBar(QStringLiteral("ToolBar1"));
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
    QObject::connect(a, &QAction::changed, tb, GuardedSlot([a, slot] { slot->setVisible(a->isVisible()); }));
  }
  // The built-in hints of the buttons are the English caption-table texts.
  for (const auto& [button, command] : kToolBar) {
    const std::string_view hint = CaptionText(kLanguageEnglish, button);
    if (!hint.empty()) cmd(QString::fromLatin1(command))->setToolTip(Q(hint));
  }

  m_window.addToolBarBreak(Qt::BottomToolBarArea);
  m_effectBar = new QToolBar(QStringLiteral("TB_Effect_Bar"), &m_window);
  m_effectBar->setObjectName(QStringLiteral("TB_Effect_Bar"));
  m_effectBar->setMovable(false);
  m_effectBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  m_window.addToolBar(Qt::BottomToolBarArea, m_effectBar);
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

void CommandTable::applyCaptions(std::uint8_t language) {
  for (const CaptionRow& row : CaptionTable()) {
    const QString name = Q(row.control);
    const QString text = Q(language == kLanguageThai ? row.thai : row.english);
    if (QMenu* menu = m_menus.value(name, nullptr)) {
      menu->setTitle(text);
      continue;
    }
    if (row.property == CaptionProperty::Hint) {
      if (QAction* a = m_commands.action(name)) a->setToolTip(text);
      continue;
    }
    if (QAction* a = m_commands.action(name); a && !name.startsWith(QLatin1String("TB_"))) {
      a->setText(text);
      continue;
    }
    if (QAction* a = m_commands.action(name); a && row.property == CaptionProperty::Text) {
      a->setText(text);
      continue;
    }
    QWidget* w = m_window.findChild<QWidget*>(name);
    if (auto* label = qobject_cast<QLabel*>(w)) {
      label->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
      button->setText(text);
    }
  }
  // Commands outside the caption table keep English; Export Picture has its
  // own twin.
  cmd("MN_ExportPicture")->setText(Q(UiTextFor(language, UiText::ExportPictureCaption)) + QStringLiteral("..."));
  cmd("MN_Undo")->setText(Q(UiTextFor(language, UiText::UndoCaption)));
  cmd("MN_Redo")->setText(Q(UiTextFor(language, UiText::RedoCaption)));
  applyReasons(language);
}

void CommandTable::applyReasons(std::uint8_t language) {
  // A command that does nothing yet is disabled and says why.
  for (const auto& [command, reason] : kReasons) {
    QAction* a = cmd(QString::fromLatin1(command));
    const QString why = Q(UiTextFor(language, reason));
    QString tip = a->toolTip();
    const qsizetype cut = tip.indexOf(QLatin1Char('\n'));
    if (cut >= 0) tip.truncate(cut);
    if (tip.isEmpty()) tip = a->text().remove(QLatin1Char('&'));
    a->setToolTip(tip + QLatin1Char('\n') + why);
    a->setStatusTip(why);
  }
}

}  // namespace pelodyn
