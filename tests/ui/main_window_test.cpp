// The main window as a user drives it: its named controls, the language
// switch, the file commands with their questions, and the guards that keep
// a failure from losing the project.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <fstream>

#include "persistence/folders.h"
#include "persistence/settings_file.h"
#include "persistence/sqlite_store.h"
#include "qt_text/utf8.h"
#include "support/test_folder.h"
#include "texts/captions.h"
#include "texts/messages.h"
#include "ui/document/guard.h"
#include "ui/document/project_document.h"
#include "ui/file_bytes.h"
#include "ui/scripted_prompter.h"
#include "ui/shell/command_registry.h"
#include "ui/shell/input_strip.h"
#include "ui/shell/main_window.h"
#include "view/section_view.h"

QT_BEGIN_NAMESPACE
// Readable failures: a QString prints as its text.
inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace pelodyn {
namespace {

namespace fs = std::filesystem;

using test::Bytes;
using test::WriteBytes;

int RunCommand(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = testing::TestFolder("pelodyn-ui-");
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const auto& entry : fs::directory_iterator(PELODYN_EXAMPLES)) {
      if (entry.path().extension() == ".pdd") fs::copy_file(entry.path(), dir / entry.path().filename());
    }
    fs::remove(SettingsFilePath());
    document = ProjectDocument::openPrivate();
    window = std::make_unique<MainWindow>(*document, prompter);
    window->resize(1200, 800);
    window->startUp();
  }
  void TearDown() override {
    window.reset();
    document.reset();
    fs::remove_all(dir);
  }

  QString path(const std::string& name) const { return QString::fromStdString((dir / name).string()); }
  QAction* action(const char* name) { return window->commands().action(QString::fromLatin1(name)); }
  // The caption as the title bar shows it: "[*]" becomes the modified mark.
  QString title() const {
    QString t = window->windowTitle();
    return t.replace(QStringLiteral("[*]"), window->isWindowModified() ? QStringLiteral("*") : QString());
  }
  template <class T = QWidget>
  T* control(const char* name) {
    return window->findChild<T*>(QString::fromLatin1(name));
  }
  void trigger(const char* name) {
    QAction* a = action(name);
    ASSERT_NE(a, nullptr) << name;
    a->trigger();
  }
  // The text a caption row writes, read back from its control.
  QString shownCaption(const CaptionRow& row) {
    const QString name = Q(row.control);
    if (auto* menu = window->findChild<QMenu*>(name)) return menu->title();
    QAction* a = window->commands().action(name);
    // A disabled command's hint is followed by the reason on its own line.
    if (row.property == CaptionProperty::Hint)
      return a ? a->toolTip().section(QLatin1Char('\n'), 0, 0) : QStringLiteral("<no action>");
    if (a) return a->text();
    QWidget* w = window->findChild<QWidget*>(name);
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    return QStringLiteral("<missing>");
  }

  fs::path dir;
  test::ScriptedPrompter prompter;
  std::unique_ptr<ProjectDocument> document;
  std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, EveryNamedControlIsThere) {
  QStringList names = {"Form_Main_Pelodyn",
                       "Menu_Pelodyn",
                       "ToolBar1",
                       "P_Top_Input",
                       "SB_Bottom_Input_down",
                       "SB_Bottom_Input_up",
                       "ScrollBox_Image",
                       "Image_Area",
                       "StatusBar_Pelodyn",
                       "TB_Effect_Bar",
                       "PU_Seepage",
                       "PU_Load_Effect",
                       "PU_Draw",
                       "MN_File",
                       "MN_Edit",
                       "MN_Option",
                       "MN_Key_In",
                       "MN_Draw",
                       "MN_Calculation",
                       "MN_Result",
                       "MN_Help",
                       "MN_Lang",
                       "MN_Draw_Cir",
                       "MN_Draw_NonCir",
                       "MN_Contour",
                       "Exit_Pelodyn",
                       "MN_WhatsNew",
                       "MN_Exit"};
  // Every tool button of both bars and every panel with its fields.
  for (const char* tb :
       {"TB_New",         "TB_Open",        "TB_Save",        "TB_Print",       "TB_Setting",     "TB_Analysis_Set",
        "TB_Theory",      "TB_Method",      "TB_Soil_Prop",   "TB_Draw_Line",   "TB_Bottom_Line", "TB_Grid_Search",
        "TB_Spec_Search", "TB_Auto_Search", "TB_Slip_NonCir", "TB_Axis_NonCir", "TB_Seepage",     "TB_Load_Effect",
        "TB_Verify",      "TB_Cal_FS",      "TB_Contour",     "TB_Hatch_Layer", "TB_Hatch_Slice", "TB_View_SoilProp",
        "TB_Move_Point",  "TB_Del_Point",   "TB_Show_Grid",   "TB_Snap_Grid",   "TB_Zoom_IN",     "TB_Zoom_OUT",
        "TB_AZoom",       "TB_No_Seepage",  "TB_Water_Line",  "TB_Ru",          "TB_Seismic",     "TB_Crack",
        "TB_LineLoad",    "TB_StripLoad",   "TB_Anchor"}) {
    EXPECT_NE(control<QToolButton>(tb), nullptr) << tb;
  }
  for (const QString& panel : window->inputStrip()->panelNames()) names << panel;
  for (const char* field : {"CB_Line_No",
                            "P_Color",
                            OptionCName(Option::E_12_Division),
                            OptionCName(Option::E_23_Division),
                            OptionCName(Option::E_Xgrid_Increment),
                            OptionCName(Option::E_Ygrid_Increment),
                            OptionCName(Option::E_MCX),
                            OptionCName(Option::E_MCY),
                            OptionCName(Option::E_Bound_L),
                            OptionCName(Option::E_Bound_R),
                            "GB_Moving_Center",
                            OptionCName(Option::CB_Moving_Center),
                            OptionCName(Option::E_Xauto_Increment),
                            OptionCName(Option::E_Yauto_Increment),
                            OptionCName(Option::CB_Ru_Condition),
                            OptionCName(Option::E_Ru_average),
                            "DBG_Ru_Variable",
                            OptionTwinName(Option::CB_Phreatic_Peizometric),
                            OptionCName(Option::E_Water_Unit_Weight),
                            OptionCName(Option::E_Kh),
                            OptionCName(Option::E_Kv),
                            OptionTwinName(Option::E_Water_Unit_Weight),
                            OptionCName(Option::E_Percent_Water),
                            "Button1",
                            "CB_Load_Type",
                            "P_LineLoad",
                            "P_StripLoad",
                            "DBE_LineLoad_Num",
                            "DBE_LineLoad_Mag",
                            "DBE_LineLoad_Ang",
                            "DBNav_LineLoad",
                            "DBE_StripLoad_Num",
                            "DBE_StripLoad_Mag",
                            "DBNav_StripLoad",
                            OptionTwinName(Option::RG_Apply_as),
                            "DBE_Anchor_Num",
                            "DBE_Anchor_Mag",
                            "DBE_Anchor_BL",
                            "DBNav_Anchor",
                            OptionCName(Option::E_Project_Name),
                            OptionTwinName(Option::E_Lacation),
                            OptionCName(Option::E_Engineer),
                            "Mm_Verify_Data",
                            "E_Contour_Interval",
                            "E_Max_Interval",
                            "E_Min_Interval",
                            "B_DrawGrid_Close"}) {
    names << QString::fromLatin1(field);
  }
  for (const CaptionRow& row : CaptionTable()) names << Q(row.control);
  for (const QString& name : names) {
    const bool found = window->commands().contains(name) || window->findChild<QObject*>(name) != nullptr ||
                       window->objectName() == name;
    EXPECT_TRUE(found) << name.toStdString();
  }
}

TEST_F(MainWindowTest, LanguageSwitchWritesEveryCaptionAndKeepsTypedValues) {
  // The window's built-in texts carry accelerators; the table's do not.
  EXPECT_EQ(action("MN_New")->text(), "&New");
  EXPECT_EQ(control<QLabel>("L_DrawLine_No")->text(), "Soil No.");
  auto* kh = control<QLineEdit>(OptionCName(Option::E_Kh));
  kh->clear();
  QTest::keyClicks(kh, "0.3");

  trigger("MN_LangThai");
  for (const CaptionRow& row : CaptionTable()) {
    EXPECT_EQ(shownCaption(row), Q(row.thai)) << row.control;
  }
  EXPECT_TRUE(action("MN_LangThai")->isChecked());
  EXPECT_FALSE(action("MN_LangEng")->isChecked());

  trigger("MN_LangEng");
  for (const CaptionRow& row : CaptionTable()) {
    EXPECT_EQ(shownCaption(row), Q(row.english)) << row.control;
  }
  struct Case {
    const char* control;
    const char* english;
  };
  // A round trip gives each button back the caption it was built with.
  for (const Case& c : {Case{"MN_New", "New"}, Case{"MN_SaveAs", "Save As..."}, Case{"MN_File", "&File"},
                        Case{"L_DrawLine_No", "Soil No."}, Case{"B_LineLoad_cancel", "Close"},
                        Case{"B_DrawGrid_OK", "Apply"}, Case{"PU_Vetget", "Vegetation"}, Case{"TB_Ru", "Ru"}}) {
    for (const CaptionRow& row : CaptionTable()) {
      if (row.control == c.control) {
        EXPECT_EQ(shownCaption(row), QString::fromUtf8(c.english)) << c.control;
      }
    }
  }
  EXPECT_EQ(kh->text(), "0.3");
  EXPECT_EQ(document->project().options.text(Option::E_Kh), "0.3");
}

TEST_F(MainWindowTest, QuestionsFollowTheLanguage) {
  trigger("MN_LangThai");
  prompter.okAnswers = {false};
  trigger("MN_New");
  ASSERT_FALSE(prompter.shown.empty());
  EXPECT_EQ(prompter.shown.back().caption, Q(UiTextFor(kLanguageThai, UiText::NewCaption)));
  EXPECT_TRUE(prompter.shown.back().text.startsWith(QStringLiteral("กรุณาตรวจสอบการบันทึกข้อมูลก่อนเริ่มโครงการใหม่\n")));

  trigger("MN_LangEng");
  prompter.okAnswers = {false};
  window->close();
  EXPECT_EQ(prompter.shown.back().text,
            QStringLiteral("Would you like to quit program?\nPlease check! Maybe file not saved."));
}

TEST_F(MainWindowTest, QuittingSavesTheSettingsWithTheLanguage) {
  window->show();
  trigger("MN_LangThai");
  trigger("MN_Show_Grid");  // off
  prompter.okAnswers = {true};
  EXPECT_TRUE(window->close());
  Project read(SqliteWorkingStore::OpenInMemory());
  ReadSettingsFile(read);
  EXPECT_EQ(read.model.Language, kLanguageThai);
  EXPECT_FALSE(read.settings.ShowGrid);
  fs::remove(SettingsFilePath());
}

TEST_F(MainWindowTest, OpeningADamagedFileChangesNothing) {
  ASSERT_TRUE(window->fileCommands().openPath(path("layered-phreatic-loads.pdd")));
  const Project& project = document->project();
  const QString caption = title();
  const std::string projectPath = project.ProjectFilePath;
  const auto geometry = project.store->rows(Table::Geometry);
  const OptionValues options = project.options;
  ASSERT_FALSE(geometry.empty());
  EXPECT_EQ(caption, "Pelodyn 2.1 - " + path("layered-phreatic-loads.pdd"));

  // The same kind of project, cut off half-way.
  const std::string good = Bytes(dir / "homogeneous-grid.pdd");
  WriteBytes(dir / "cut.pdd", good.substr(0, good.size() / 2));
  prompter.openAnswers = {path("cut.pdd")};
  trigger("MN_Open");

  EXPECT_EQ(prompter.count("error"), 1);
  EXPECT_EQ(title(), caption);
  EXPECT_EQ(project.ProjectFilePath, projectPath);
  EXPECT_EQ(project.store->rows(Table::Geometry), geometry);
  EXPECT_TRUE(project.options == options);

  // A later Save writes the project that was open, not a partial one.
  trigger("MN_Save");
  const fs::path converted = dir / "converted.pdd";
  ASSERT_EQ(RunCommand(std::string(PELODYN_CLI) + " convert " + (dir / "layered-phreatic-loads.pdd").string() + " " +
                       converted.string() + " >/dev/null 2>&1"),
            0);
  EXPECT_EQ(Bytes(dir / "layered-phreatic-loads.pdd"), Bytes(converted));
}

TEST_F(MainWindowTest, SavingAnOpenedExampleWritesWhatTheCommandLineConverterWrites) {
  for (const char* name : {"homogeneous-grid.pdd", "layered-phreatic-loads.pdd", "irregular-random.pdd"}) {
    const fs::path original = fs::path(PELODYN_EXAMPLES) / name;
    ASSERT_TRUE(window->fileCommands().openPath(path(name)));
    trigger("MN_Save");
    EXPECT_TRUE(prompter.sawText(QStringLiteral("File saved complete."))) << name;
    const fs::path converted = dir / (std::string("cli-") + name);
    ASSERT_EQ(RunCommand(std::string(PELODYN_CLI) + " convert " + original.string() + " " + converted.string() +
                         " >/dev/null 2>&1"),
              0);
    EXPECT_EQ(Bytes(dir / name), Bytes(converted)) << name;
    // Opened and saved at once: the project has no results of its own.
    EXPECT_FALSE(fs::exists(fs::path(dir / name).replace_extension(".pdr"))) << name;
  }
}

TEST_F(MainWindowTest, CancelledSaveAsLeavesEverythingAsItWas) {
  ASSERT_TRUE(window->fileCommands().openPath(path("homogeneous-grid.pdd")));
  const QString caption = title();
  const std::string other = Bytes(dir / "irregular-random.pdd");

  // Cancel in the replace question.
  prompter.saveTargets = {SaveTarget{path("irregular-random.pdd"), 0}};
  prompter.okAnswers = {false};
  trigger("MN_SaveAs");
  EXPECT_EQ(Bytes(dir / "irregular-random.pdd"), other);
  EXPECT_EQ(title(), caption);
  EXPECT_EQ(document->project().ProjectFilePath, path("homogeneous-grid.pdd").toStdString());

  // Cancel in the dialog: a message, and nothing written.
  trigger("MN_SaveAs");
  EXPECT_EQ(prompter.shown.back().text, "File not saved.");
  EXPECT_FALSE(fs::exists(dir / "homogeneous-grid.pdr"));
  EXPECT_EQ(title(), caption);

  // Save As in the older format, then Save writes version 2.0 to that path.
  prompter.saveTargets = {SaveTarget{path("old.pdd"), 1}};
  trigger("MN_SaveAs");
  EXPECT_EQ(title(), "Pelodyn 2.1 - " + path("old.pdd"));
  EXPECT_NE(Bytes(dir / "old.pdd").rfind("=====Pelodyn_2.0_Data=====", 0), 0u);
  trigger("MN_Save");
  EXPECT_EQ(Bytes(dir / "old.pdd").rfind("=====Pelodyn_2.0_Data=====", 0), 0u);
}

TEST_F(MainWindowTest, AFailedWriteKeepsThePathAndTheCaption) {
  ASSERT_TRUE(window->fileCommands().openPath(path("homogeneous-grid.pdd")));
  const QString caption = title();
  prompter.saveTargets = {SaveTarget{path("no-such-folder/dam.pdd"), 0}};
  trigger("MN_SaveAs");
  EXPECT_EQ(prompter.shown.back().kind, "error");
  EXPECT_FALSE(prompter.sawText(QStringLiteral("File saved complete.")));
  EXPECT_EQ(title(), caption);
  EXPECT_EQ(document->project().ProjectFilePath, path("homogeneous-grid.pdd").toStdString());
  EXPECT_FALSE(fs::exists(dir / "no-such-folder"));
}

TEST_F(MainWindowTest, OpenAsksAboutUnsavedChangesFirst) {
  auto* kh = control<QLineEdit>(OptionCName(Option::E_Kh));
  QTest::keyClicks(kh, "5");
  ASSERT_TRUE(document->isModified());
  prompter.saveAnswers = {SaveChoice::Cancel};
  prompter.openAnswers = {path("homogeneous-grid.pdd")};
  trigger("MN_Open");
  EXPECT_EQ(prompter.openAnswers.size(), 1u) << "the dialog must not open after Cancel";
  EXPECT_EQ(document->project().store->rowCount(Table::Geometry), 0);

  prompter.saveAnswers = {SaveChoice::Discard};
  trigger("MN_Open");
  EXPECT_GT(document->project().store->rowCount(Table::Geometry), 0);
  EXPECT_FALSE(document->isModified());
  EXPECT_EQ(kh->text(), QString::fromStdString(document->project().options.text(Option::E_Kh)));
}

TEST_F(MainWindowTest, PanelFieldsAreTwinsOfTheOptionValues) {
  struct Case {
    const char* field;
    const char* option;
  };
  for (const Case& c : {Case{OptionCName(Option::E_Kh), OptionCName(Option::E_Kh)},
                        Case{OptionCName(Option::E_Water_Unit_Weight), OptionCName(Option::E_Unit_Weight_Water)},
                        Case{OptionTwinName(Option::E_Water_Unit_Weight), OptionCName(Option::E_Water_Unit_Weight)},
                        Case{OptionTwinName(Option::E_Lacation), OptionCName(Option::E_Lacation)},
                        Case{OptionCName(Option::E_12_Division), OptionCName(Option::E_12_Division)}}) {
    auto* edit = control<QLineEdit>(c.field);
    ASSERT_NE(edit, nullptr) << c.field;
    edit->selectAll();
    QTest::keyClicks(edit, "7.25");
    EXPECT_EQ(document->project().options.text(OptionNamed(c.option)), "7.25") << c.field;
  }
  // New Project (discarding the typed values) puts the fields back at the
  // option defaults.
  prompter.saveAnswers = {SaveChoice::Discard};
  trigger("MN_New");
  EXPECT_EQ(control<QLineEdit>(OptionCName(Option::E_Kh))->text(), "0");
  EXPECT_EQ(control<QLineEdit>(OptionTwinName(Option::E_Lacation))->text(), "New Location");
}

TEST_F(MainWindowTest, PanelsShowOneAtATimeAndCloseOnlyCollapses) {
  InputStrip* strip = window->inputStrip();
  window->show();
  trigger("TB_Theory");
  EXPECT_TRUE(strip->isExpanded());
  EXPECT_EQ(strip->currentPanel(), "P_Theory");
  trigger("MN_Method");
  EXPECT_TRUE(strip->panel("P_Method")->isVisible());
  EXPECT_FALSE(strip->panel("P_Theory")->isVisible());
  QTest::mouseClick(control<QPushButton>("B_Method_OK"), Qt::LeftButton);
  EXPECT_FALSE(strip->isExpanded());
  EXPECT_TRUE(control<QLabel>("L_Top_Method")->isVisible());
  QTest::mouseClick(control<QToolButton>("SB_Bottom_Input_down"), Qt::LeftButton);
  EXPECT_TRUE(control<QPushButton>("B_Method_OK")->isVisible());
}

TEST_F(MainWindowTest, CommandsThatTouchTheProjectAreDisabledDuringARun) {
  window->setRunInProgress(true);
  for (const char* name : {"MN_New", "MN_Open", "MN_Save", "MN_SaveAs", "MN_Theory", "TB_Water_Line", "PU_Seismic"}) {
    EXPECT_FALSE(action(name)->isEnabled()) << name;
  }
  for (const char* name : {"TB_Zoom_IN", "TB_Zoom_OUT", "TB_AZoom", "MN_Exit", "MN_About", "MN_LangThai"}) {
    EXPECT_TRUE(action(name)->isEnabled()) << name;
  }
  window->setRunInProgress(false);
  EXPECT_TRUE(action("MN_Open")->isEnabled());
  // Commands whose windows arrive later stay disabled; the irregular-surface
  // commands wait for the irregular theory.
  for (const char* name : {"MN_MovePoint", "MN_PelodynHelp", "MN_Draw_Surface"}) {
    EXPECT_FALSE(action(name)->isEnabled()) << name;
  }
  // The batch and vegetation windows are there, but not while a run goes on.
  for (const char* name : {"MN_AutomaticExecuteFile", "PU_Vetget"}) {
    EXPECT_TRUE(action(name)->isEnabled()) << name;
    window->setRunInProgress(true);
    EXPECT_FALSE(action(name)->isEnabled()) << name;
    window->setRunInProgress(false);
  }
  control<QAbstractButton>("RB_NonCir")->click();
  EXPECT_TRUE(action("MN_Draw_Surface")->isEnabled());
  EXPECT_TRUE(action("MN_Draw_NonCirCen")->isEnabled());
}

TEST_F(MainWindowTest, AFailureInACommandIsShownAndTheProgramGoesOn) {
  Guarded([] { throw std::runtime_error("disk on fire"); });
  EXPECT_EQ(prompter.shown.back().kind, "error");
  EXPECT_EQ(prompter.shown.back().text, "disk on fire");

  // An open dialog naming a file that does not exist.
  prompter.openAnswers = {path("missing.pdd")};
  trigger("MN_Open");
  EXPECT_EQ(prompter.shown.back().kind, "error");
  EXPECT_EQ(title(), "Pelodyn 2.1 - New Project.pdd");

  // A division of 0 in the grid panel: message 0, nothing thrown.
  auto* division = control<QLineEdit>(OptionCName(Option::E_12_Division));
  division->selectAll();
  QTest::keyClicks(division, "0");
  control<QPushButton>("B_DrawGrid_OK")->click();
  EXPECT_EQ(prompter.shown.back().text, Q(MessageText(kLanguageEnglish, 0)));
  division->selectAll();
  QTest::keyClicks(division, "abc");
  control<QPushButton>("B_DrawGrid_OK")->click();
  window->view()->canvas()->grab();
}

TEST_F(MainWindowTest, StartUpRunsNewProjectOnceAndADamagedSettingsFileIsReportedOnce) {
  window.reset();
  EnsureFolder(ConfigFolder());
  WriteBytes(SettingsFilePath(), "[Page_Setup]\r\nabc\r\n");
  prompter.shown.clear();
  window = std::make_unique<MainWindow>(*document, prompter);
  window->show();
  EXPECT_TRUE(window->startedUp());
  EXPECT_EQ(prompter.count("error"), 1);
  EXPECT_TRUE(document->project().settings.PageLandscape);

  auto* kh = control<QLineEdit>(OptionCName(Option::E_Kh));
  kh->setText("0.15");
  window->showMinimized();
  window->showNormal();
  EXPECT_EQ(kh->text(), "0.15") << "a restored window must not start a new project";

  trigger("MN_New");
  EXPECT_EQ(prompter.count("error"), 1) << "the damaged settings file is reported once";
  fs::remove(SettingsFilePath());
}

TEST_F(MainWindowTest, ExportPictureWritesTheDrawing) {
  ASSERT_TRUE(window->fileCommands().openPath(path("layered-phreatic-loads.pdd")));
  prompter.saveTargets = {SaveTarget{path("section"), 0}};
  trigger("MN_ExportPicture");
  const std::string png = Bytes(dir / "section.png");
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
}

TEST(DesktopStore, ASecondProgramDoesNotTakeTheWorkingStore) {
  auto first = ProjectDocument::openDesktop();
  EXPECT_EQ(first->storeKind(), ProjectDocument::StoreKind::DataFolder);
  auto second = ProjectDocument::openDesktop();
  EXPECT_EQ(second->storeKind(), ProjectDocument::StoreKind::Private);
  EXPECT_TRUE(second->storeWasTaken());
  EXPECT_FALSE(first->storeWasTaken());
  // The second window says so when it starts.
  test::ScriptedPrompter prompter;
  {
    MainWindow window(*second, prompter);
    window.startUp();
  }
  EXPECT_TRUE(prompter.sawText(QStringLiteral("Another Pelodyn is running")));
  // The second one's New Project empties only its own tables.
  Row row(Table::Geometry);
  row.set(GeometryField::LineNo, 1)
      .set(GeometryField::PointNo, 1)
      .set(GeometryField::X, 0.0)
      .set(GeometryField::Y, 0.0);
  first->projectForAnalysis().store->append(row);
  second->projectForAnalysis().store->empty(Table::Geometry);
  EXPECT_EQ(first->project().store->rowCount(Table::Geometry), 1);
  first->projectForAnalysis().store->empty(Table::Geometry);
  first.reset();
  auto third = ProjectDocument::openDesktop();
  EXPECT_EQ(third->storeKind(), ProjectDocument::StoreKind::DataFolder);
}

TEST(DesktopProgram, ExportsAPictureWithoutADisplayAndListsItsOptions) {
  const fs::path out = fs::temp_directory_path() / "pelodyn-export-test.png";
  fs::remove(out);
  const std::string env = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ";
  ASSERT_EQ(RunCommand(env + PELODYN_GUI + " --export-picture " + out.string() + " --size 640x400 " + PELODYN_EXAMPLES +
                       "/homogeneous-grid.pdd >/dev/null 2>&1"),
            0);
  const std::string png = Bytes(out);
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  // Width and height sit big-endian in the header chunk.
  auto be32 = [&](std::size_t at) {
    return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16) |
           (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
  };
  EXPECT_EQ(be32(16), 640u);
  EXPECT_EQ(be32(20), 400u);
  fs::remove(out);

  // Analysed first: the minima on standard output, the critical surface drawn;
  // the minimum is the command-line program's, to the digits printed.
  const fs::path minima = fs::temp_directory_path() / "pelodyn-export-minima.txt";
  ASSERT_EQ(RunCommand(env + PELODYN_GUI + " --analyse --export-picture " + out.string() + " " + PELODYN_EXAMPLES +
                       "/homogeneous-grid.pdd > " + minima.string() + " 2>/dev/null"),
            0);
  EXPECT_GT(Bytes(out).size(), 24u);
  const fs::path json = fs::temp_directory_path() / "pelodyn-export-minima.json";
  ASSERT_EQ(RunCommand(std::string(PELODYN_CLI) + " analyse --json --quiet " + PELODYN_EXAMPLES +
                       "/homogeneous-grid.pdd > " + json.string() + " 2>/dev/null"),
            0);
  const std::string cli = Bytes(json);
  const std::size_t at = cli.find("\"bishop\"");
  ASSERT_NE(at, std::string::npos);
  const double bishop = std::stod(cli.substr(cli.find("\"fs\":", at) + 5));
  char expected[64];
  std::snprintf(expected, sizeof expected, "bishop %.6g", bishop);
  EXPECT_NE(Bytes(minima).find(expected), std::string::npos) << Bytes(minima);
  for (const fs::path& f : {out, minima, json}) fs::remove(f);

  EXPECT_NE(RunCommand(env + PELODYN_GUI + " --export-picture " + out.string() + " /nonexistent.pdd >/dev/null 2>&1"),
            0);
  EXPECT_FALSE(fs::exists(out));
  const fs::path help = fs::temp_directory_path() / "pelodyn-help.txt";
  ASSERT_EQ(RunCommand(env + PELODYN_GUI + " --help > " + help.string() + " 2>&1"), 0);
  EXPECT_NE(Bytes(help).find("--export-picture"), std::string::npos);
  fs::remove(help);
}

}  // namespace
}  // namespace pelodyn
