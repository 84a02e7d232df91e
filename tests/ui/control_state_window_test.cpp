// The main window shows what the options call for in every place at once
// (effect bar, pop-up items, panels, the theory's commands), stores a choice
// with the option changes it brings as one step, and its strip edits the
// Ru grid and the loads through the document. Showing a state never edits
// the project.
#include <gtest/gtest.h>

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include "model/control_state.h"
#include "texts/messages.h"
#include "ui/document/project_document.h"
#include "ui/models/control_state_applier.h"
#include "ui/models/store_table_model.h"
#include "ui/scripted_prompter.h"
#include "ui/shell/input_strip.h"
#include "ui/shell/main_window.h"
#include "ui/widgets/grid_editor.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace pelodyn {
namespace {

class ControlStateWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    document = ProjectDocument::openPrivate();
    window = std::make_unique<MainWindow>(*document, prompter);
    window->resize(1200, 800);
    window->startUp();
  }
  void TearDown() override {
    window.reset();
    document.reset();
  }

  QAction* action(const char* name) { return window->commands().action(QString::fromLatin1(name)); }
  template <class T = QWidget>
  T* control(const char* name) {
    T* w = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  void click(const char* name) { control<QAbstractButton>(name)->click(); }
  // Chooses item `index` of a combo with the keyboard, as a user does.
  void choose(const char* name, int index) {
    auto* combo = control<QComboBox>(name);
    while (combo->currentIndex() < index) QTest::keyClick(combo, Qt::Key_Down);
    while (combo->currentIndex() > index) QTest::keyClick(combo, Qt::Key_Up);
  }
  void type(const char* name, const char* text) {
    auto* edit = control<QLineEdit>(name);
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromLatin1(text));
  }
  const OptionValues& options() { return document->project().options; }
  int rows(Table table) { return document->project().store->rowCount(table); }
  int steps() { return document->undoStack().index(); }

  test::ScriptedPrompter prompter;
  std::unique_ptr<ProjectDocument> document;
  std::unique_ptr<MainWindow> window;
};

TEST_F(ControlStateWindowTest, EffectBarPopUpItemsAndHintsFollowTheOptions) {
  EXPECT_TRUE(action("TB_No_Seepage")->isChecked());
  EXPECT_TRUE(action("PU_NoSeep")->isChecked());
  EXPECT_FALSE(action("TB_Seismic")->isChecked());
  EXPECT_EQ(action("TB_Seismic")->toolTip(), "Disable Seismic Load");
  EXPECT_EQ(control<QToolButton>("TB_Seismic")->toolTip(), "Disable Seismic Load");

  action("TB_Seismic")->trigger();
  EXPECT_FALSE(options().checked(Option::CB_Seismic_Disable));
  EXPECT_TRUE(action("TB_Seismic")->isChecked());
  EXPECT_TRUE(action("PU_Seismic")->isChecked());
  EXPECT_EQ(action("TB_Seismic")->toolTip(), "Enable Seismic Load");
  // The hints stay English in Thai.
  window->setLanguage(kLanguageThai);
  EXPECT_EQ(action("TB_Seismic")->toolTip(), "Enable Seismic Load");
  EXPECT_TRUE(action("MN_LangThai")->isChecked());
  window->setLanguage(kLanguageEnglish);

  // Choosing the pop-up item of a load that is on shows its panel and keeps
  // its check mark.
  action("PU_Seismic")->trigger();
  EXPECT_TRUE(action("PU_Seismic")->isChecked());
  EXPECT_EQ(window->inputStrip()->currentPanel(), "P_Seismic");
  document->undo();
  EXPECT_FALSE(action("TB_Seismic")->isChecked());
  EXPECT_FALSE(action("PU_Seismic")->isChecked());

  // External Load stands for line and strip loads together.
  struct Step {
    const char* button;
    bool exLoadChecked;
  };
  action("PU_ExLoad")->trigger();
  EXPECT_FALSE(action("PU_ExLoad")->isChecked()) << "choosing the item shows the panel, it switches nothing on";
  for (const Step& s : {Step{"TB_LineLoad", true}, Step{"TB_StripLoad", true}, Step{"TB_LineLoad", true},
                        Step{"TB_StripLoad", false}}) {
    action(s.button)->trigger();
    EXPECT_EQ(action("PU_ExLoad")->isChecked(), s.exLoadChecked) << s.button;
  }

  // An option changed elsewhere (a file, another window) shows here too.
  document->setOptionIndex(Option::CB_Seepage, 2);
  for (const auto& [name, checked] :
       {std::pair{"TB_No_Seepage", false}, std::pair{"TB_Water_Line", false}, std::pair{"TB_Ru", true},
        std::pair{"PU_NoSeep", false}, std::pair{"PU_WaterLine", false}, std::pair{"PU_Ru", true}}) {
    EXPECT_EQ(action(name)->isChecked(), checked) << name;
  }
  // Choosing the seepage already chosen keeps its button down.
  action("TB_Ru")->trigger();
  EXPECT_TRUE(action("TB_Ru")->isChecked());
}

TEST_F(ControlStateWindowTest, IrregularTheoryEnablesItsCommandsAndSetsOrdinaryAsideInOneStep) {
  click(OptionTwinName(Option::CB_Ordinary));
  ASSERT_TRUE(options().checked(Option::CB_Ordinary));
  const int before = steps();

  click("RB_NonCir");
  EXPECT_EQ(options().itemIndex(Option::RG_Theory), 2);
  EXPECT_EQ(document->project().model.UseOrdinary, 0);
  EXPECT_EQ(steps(), before + 1);
  auto* ordinary = control<QCheckBox>(OptionTwinName(Option::CB_Ordinary));
  EXPECT_FALSE(ordinary->isChecked());
  EXPECT_FALSE(ordinary->isEnabled());
  // The tool buttons agree with the computed states.
  const auto states = ControlStates(options(), document->language());
  for (const char* button :
       {"TB_Grid_Search", "TB_Spec_Search", "TB_Auto_Search", "TB_Contour", "TB_Slip_NonCir", "TB_Axis_NonCir"}) {
    const ControlState* s = FindControlState(states, ControlWindow::Main, button);
    ASSERT_TRUE(s && s->enabled) << button;
    // The specific centre is not built yet: it stays disabled either way.
    const bool expected = *s->enabled && std::string_view(button) != "TB_Spec_Search";
    EXPECT_EQ(control<QToolButton>(button)->isEnabled(), expected) << button;
  }
  EXPECT_TRUE(action("MN_Draw_Surface")->isEnabled());
  EXPECT_FALSE(action("MN_Draw_Grid")->isEnabled());

  document->undo();
  EXPECT_EQ(options().itemIndex(Option::RG_Theory), 1);
  EXPECT_TRUE(options().checked(Option::CB_Ordinary));
  EXPECT_TRUE(ordinary->isChecked());
  EXPECT_TRUE(ordinary->isEnabled());
  EXPECT_TRUE(control<QRadioButton>("RB_Circular")->isChecked());

  // Back to circular after irregular: Ordinary is offered again as the
  // user left it.
  click("RB_NonCir");
  click("RB_Circular");
  EXPECT_TRUE(options().checked(Option::CB_Ordinary));
  EXPECT_TRUE(ordinary->isChecked());
  EXPECT_TRUE(ordinary->isEnabled());
  EXPECT_EQ(document->project().model.UseOrdinary, 1);
  EXPECT_TRUE(control<QToolButton>("TB_Grid_Search")->isEnabled());

  // A run still disables what the theory allows.
  window->setRunInProgress(true);
  EXPECT_FALSE(control<QToolButton>("TB_Grid_Search")->isEnabled());
  document->setOptionChecked(Option::CB_Spencer, false);  // a change while disabled
  EXPECT_FALSE(control<QToolButton>("TB_Grid_Search")->isEnabled());
  window->setRunInProgress(false);
  EXPECT_TRUE(control<QToolButton>("TB_Grid_Search")->isEnabled());
}

TEST_F(ControlStateWindowTest, SpecificSearchTurnsTheAutomaticCentreOffEverywhere) {
  click("RB_NonCir");
  auto* autoCenter = control<QCheckBox>(OptionCName(Option::CB_Auto_Center));
  EXPECT_TRUE(autoCenter->isEnabled());
  EXPECT_TRUE(action("MN_Draw_AutoCen")->isEnabled());
  click(OptionCName(Option::CB_Auto_Center));
  EXPECT_TRUE(options().checked(Option::CB_Auto_Center));
  EXPECT_TRUE(action("MN_Draw_AutoCen")->isChecked());
  const int before = steps();

  click("RB_Specific_Search");
  EXPECT_EQ(options().itemIndex(Option::CB_NonCir_Search), 0);
  EXPECT_FALSE(options().checked(Option::CB_Auto_Center));
  EXPECT_EQ(steps(), before + 1);
  EXPECT_FALSE(autoCenter->isChecked());
  EXPECT_FALSE(autoCenter->isEnabled());
  EXPECT_FALSE(action("MN_Draw_AutoCen")->isChecked());
  EXPECT_FALSE(action("MN_Draw_AutoCen")->isEnabled());

  document->undo();
  EXPECT_TRUE(options().checked(Option::CB_Auto_Center));
  EXPECT_TRUE(control<QRadioButton>("RB_Random_Search")->isChecked());
  EXPECT_TRUE(autoCenter->isChecked());
  document->redo();

  // Random again: the centre stays off until chosen, from the menu too.
  click("RB_Random_Search");
  EXPECT_FALSE(options().checked(Option::CB_Auto_Center));
  EXPECT_TRUE(autoCenter->isEnabled());
  action("MN_Draw_AutoCen")->trigger();
  EXPECT_TRUE(options().checked(Option::CB_Auto_Center));
  EXPECT_TRUE(autoCenter->isChecked());
  EXPECT_TRUE(action("MN_Draw_AutoCen")->isChecked());
}

TEST_F(ControlStateWindowTest, RuConditionShowsItsGridWhichEditsTheTable) {
  action("PU_Ru")->trigger();
  EXPECT_EQ(options().itemIndex(Option::CB_Seepage), 2);
  EXPECT_EQ(window->inputStrip()->currentPanel(), "P_Ru");
  auto* grid = control<GridEditor>("DBG_Ru_Variable");
  ASSERT_NE(grid, nullptr);
  EXPECT_TRUE(grid->isHidden());
  EXPECT_TRUE(control<QComboBox>(OptionCName(Option::CB_Ru_Condition))->isEnabled());

  choose(OptionCName(Option::CB_Ru_Condition), 1);
  EXPECT_EQ(options().itemIndex(Option::CB_Ru_Condition), 1);
  EXPECT_FALSE(grid->isHidden());

  // The grid's pop-up menu inserts a row; a typed cell is an undoable edit.
  ASSERT_EQ(grid->actions().size(), 3);
  EXPECT_EQ(grid->actions()[0]->text(), "Insert");
  EXPECT_EQ(grid->actions()[1]->text(), "Append");
  grid->actions()[0]->trigger();
  ASSERT_EQ(rows(Table::Ru_variable), 1);
  ASSERT_TRUE(grid->model()->setData(grid->model()->index(0, 1), QStringLiteral("0.35")));
  EXPECT_DOUBLE_EQ(document->project().store->rowAt(Table::Ru_variable, 1).real(RuField::Ru), 0.35);
  document->undo();
  EXPECT_EQ(document->project().store->rowAt(Table::Ru_variable, 1).real(RuField::Ru), 0.0);
  grid->setCurrentIndex(grid->model()->index(0, 0));
  EXPECT_EQ(grid->actions()[2]->text(), "Delete");
  grid->actions()[2]->trigger();
  EXPECT_EQ(rows(Table::Ru_variable), 0);

  choose(OptionCName(Option::CB_Ru_Condition), 0);
  EXPECT_TRUE(grid->isHidden());
  // Another window's choice shows here.
  document->setOptionIndex(Option::CB_Ru_Condition, 1);
  EXPECT_EQ(control<QComboBox>(OptionCName(Option::CB_Ru_Condition))->currentIndex(), 1);
  EXPECT_FALSE(grid->isHidden());
}

TEST_F(ControlStateWindowTest, WaterLineTypeIsTheWaterLineKind) {
  action("PU_WaterLine")->trigger();
  choose(OptionTwinName(Option::CB_Phreatic_Peizometric), 1);
  EXPECT_EQ(options().itemIndex(Option::CB_Phreatic_Peizometric), 1);
  document->undo();
  EXPECT_EQ(options().itemIndex(Option::CB_Phreatic_Peizometric), 0);
  EXPECT_EQ(control<QComboBox>(OptionTwinName(Option::CB_Phreatic_Peizometric))->currentIndex(), 0);
}

TEST_F(ControlStateWindowTest, ChoosingALoadTypeSwitchesThatLoadOnAndShowsItsEditor) {
  action("PU_ExLoad")->trigger();
  auto* lineGroup = control("P_LineLoad");
  auto* stripGroup = control("P_StripLoad");
  EXPECT_FALSE(lineGroup->isHidden());
  EXPECT_TRUE(stripGroup->isHidden());

  choose("CB_Load_Type", 1);
  EXPECT_TRUE(lineGroup->isHidden());
  EXPECT_FALSE(stripGroup->isHidden());
  EXPECT_FALSE(options().checked(Option::CB_StripLoad_Disable));
  EXPECT_TRUE(options().checked(Option::CB_LineLoad_Disable));
  EXPECT_TRUE(action("TB_StripLoad")->isChecked());
  EXPECT_TRUE(action("PU_ExLoad")->isChecked());

  choose("CB_Load_Type", 0);
  EXPECT_FALSE(lineGroup->isHidden());
  EXPECT_FALSE(options().checked(Option::CB_LineLoad_Disable));
  EXPECT_TRUE(action("TB_LineLoad")->isChecked());
}

TEST_F(ControlStateWindowTest, LoadEditorsAddEditBrowseAndDeleteRowsAsUndoableSteps) {
  struct Editor {
    const char* panel;
    Table table;
    std::vector<std::pair<const char*, const char*>> fields;  // edit box, table field
    const char *newButton, *editButton, *okButton, *deleteButton, *closeButton, *drawButton, *navigator;
  };
  const Editor editors[] = {
      {"PU_ExLoad",
       Table::Lineload,
       {{"DBE_LineLoad_Num", "Load No."}, {"DBE_LineLoad_Mag", "Magnitude"}, {"DBE_LineLoad_Ang", "Angle"}},
       "B_LL_New",
       "B_LineLoad_Edit",
       "B_LineLoad_OK",
       "B_LineLoad_del",
       "B_LineLoad_cancel",
       "B_LIneLoad_Draw",
       "DBNav_LineLoad"},
      {"PU_ExLoad",
       Table::Stripload,
       {{"DBE_StripLoad_Num", "Load No."}, {"DBE_StripLoad_Mag", "Magnitude"}},
       "B_StripLoad_New",
       "B_StripLoad_Edit",
       "B_StripLoad_OK",
       "B_StripLoad_Del",
       "BB_StripLoad_cancel",
       "B_StripLoad_Draw",
       "DBNav_StripLoad"},
      {"PU_Anchor",
       Table::Anchor,
       {{"DBE_Anchor_Num", "Load No."}, {"DBE_Anchor_Mag", "Magnitude"}, {"DBE_Anchor_BL", "Bonded Length"}},
       "B_Anchor_New",
       "B_Anchor_Edit",
       "B_Anchor_OK",
       "B_Anchor_Del",
       "B_Anchor_Cancel",
       "B_Anchor_Draw",
       "DBNav_Anchor"},
  };
  for (const Editor& e : editors) {
    SCOPED_TRACE(TableName(e.table));
    action(e.panel)->trigger();
    if (e.table == Table::Stripload) choose("CB_Load_Type", 1);
    const auto nav = [&](const char* part) { return control<QToolButton>((std::string(e.navigator) + part).c_str()); };
    const auto edit = [&](std::size_t k) { return control<QLineEdit>(e.fields[k].first); };
    const auto stored = [&](int position, std::size_t k) {
      return document->project().store->rowAt(e.table, position).realNamed(e.fields[k].second);
    };
    EXPECT_FALSE(control(e.okButton)->isEnabled());
    EXPECT_FALSE(control(e.editButton)->isEnabled()) << "no row to edit";
    EXPECT_FALSE(control(e.drawButton)->isEnabled());
    EXPECT_TRUE(edit(0)->isReadOnly());

    // New, then Close with nothing typed: no empty row is left behind.
    const int before = steps();
    click(e.newButton);
    EXPECT_EQ(edit(0)->text(), "1");
    EXPECT_FALSE(edit(1)->isReadOnly());
    EXPECT_TRUE(control(e.okButton)->isEnabled());
    EXPECT_FALSE(control(e.newButton)->isEnabled());
    EXPECT_TRUE(control(e.drawButton)->isEnabled()) << "a prepared row can be drawn";
    click(e.closeButton);
    EXPECT_FALSE(control(e.drawButton)->isEnabled());
    EXPECT_EQ(rows(e.table), 0);
    EXPECT_EQ(steps(), before);
    EXPECT_FALSE(window->inputStrip()->isExpanded());
    EXPECT_TRUE(edit(0)->text().isEmpty());

    // Two new loads, each one step.
    click(e.newButton);
    type(e.fields[1].first, "12.5");
    click(e.okButton);
    click(e.newButton);
    EXPECT_EQ(edit(0)->text(), "2");
    type(e.fields[1].first, "7");
    click(e.okButton);
    ASSERT_EQ(rows(e.table), 2);
    EXPECT_EQ(steps(), before + 2);
    EXPECT_EQ(document->project().store->rowAt(e.table, 2).integer(LoadCommonField::LoadNo), 2);
    EXPECT_DOUBLE_EQ(stored(1, 1), 12.5);
    EXPECT_DOUBLE_EQ(stored(2, 1), 7.0);
    EXPECT_TRUE(edit(1)->isReadOnly());
    EXPECT_EQ(edit(1)->text(), "7");

    // The navigator.
    EXPECT_FALSE(nav("_Next")->isEnabled());
    nav("_First")->click();
    EXPECT_EQ(edit(1)->text(), "12.5");
    EXPECT_FALSE(nav("_Prior")->isEnabled());
    nav("_Next")->click();
    EXPECT_EQ(edit(1)->text(), "7");

    // Edit changes two fields of the current row in one step.
    click(e.editButton);
    EXPECT_FALSE(nav("_First")->isEnabled()) << "browsing waits while a record is edited";
    type(e.fields[0].first, "5");
    type(e.fields[1].first, "8.25");
    click(e.okButton);
    EXPECT_EQ(steps(), before + 3);
    EXPECT_EQ(document->project().store->rowAt(e.table, 2).integer(LoadCommonField::LoadNo), 5);
    EXPECT_DOUBLE_EQ(stored(2, 1), 8.25);
    document->undo();
    EXPECT_EQ(document->project().store->rowAt(e.table, 2).integer(LoadCommonField::LoadNo), 2);
    EXPECT_EQ(edit(0)->text(), "2") << "the editor shows the row undo put back";

    // A magnitude that is no number is named; nothing is stored.
    click(e.newButton);
    type(e.fields[1].first, "abc");
    click(e.okButton);
    EXPECT_TRUE(prompter.sawText(QStringLiteral("'abc' is not a valid floating point value")));
    EXPECT_EQ(rows(e.table), 2);
    EXPECT_TRUE(control(e.okButton)->isEnabled()) << "the user goes on typing";
    click(e.closeButton);

    // Delete, and undo puts the row back.
    nav("_First")->click();
    click(e.deleteButton);
    ASSERT_EQ(rows(e.table), 1);
    EXPECT_EQ(edit(1)->text(), "7");
    document->undo();
    EXPECT_EQ(rows(e.table), 2);
    EXPECT_DOUBLE_EQ(stored(1, 1), 12.5);
  }
}

TEST_F(ControlStateWindowTest, ANewProjectGivesUpAPendingLoadAndShowsItsFirstRow) {
  action("PU_Anchor")->trigger();
  click("B_Anchor_New");
  type("DBE_Anchor_Mag", "3");
  prompter.saveAnswers = {SaveChoice::Discard};
  action("MN_New")->trigger();
  EXPECT_EQ(rows(Table::Anchor), 0);
  EXPECT_FALSE(control("B_Anchor_OK")->isEnabled());
  EXPECT_TRUE(control("B_Anchor_New")->isEnabled());
  EXPECT_TRUE(control<QLineEdit>("DBE_Anchor_Mag")->text().isEmpty());
}

TEST(ControlStateApplier, ShowsStatesWithoutEditingAndLeavesOtherWindowsAlone) {
  test::ScriptedPrompter prompter;
  auto document = ProjectDocument::openPrivate();
  MainWindow window(*document, prompter);
  window.startUp();
  // A window of its own inside the main window, with a control of the same name.
  auto* dialog = new QDialog(&window);
  auto* twin = new QLineEdit(QStringLiteral("untouched"), dialog);
  twin->setObjectName(OptionObjectName(Option::E_Project_Name));

  OptionValues shown;
  shown.setText(Option::E_Project_Name, "Dam 4");
  shown.setItemIndex(Option::CB_Seepage, 2);
  shown.setItemIndex(Option::CB_Ru_Condition, 1);
  shown.setChecked(Option::CB_Seismic_Disable, false);
  shown.setItemIndex(Option::RG_Theory, 2);
  const OptionValues before = document->project().options;
  ApplyControlStates(&window, ControlWindow::Main, ControlStates(shown, 1));

  EXPECT_EQ(window.findChild<QLineEdit*>(QString::fromLatin1(OptionTwinName(Option::E_Lacation)))->text(),
            "New Location");
  EXPECT_EQ(window.inputStrip()->findChild<QLineEdit*>(OptionObjectName(Option::E_Project_Name))->text(), "Dam 4");
  EXPECT_EQ(twin->text(), "untouched");
  EXPECT_TRUE(window.commands().action(QStringLiteral("TB_Ru"))->isChecked());
  EXPECT_TRUE(window.commands().action(QStringLiteral("TB_Seismic"))->isChecked());
  EXPECT_EQ(window.findChild<QComboBox*>(OptionObjectName(Option::CB_Ru_Condition))->currentIndex(), 1);
  EXPECT_TRUE(window.findChild<QRadioButton*>(QStringLiteral("RB_NonCir"))->isChecked());
  // Nothing of it reached the project.
  EXPECT_TRUE(document->project().options == before);
  EXPECT_EQ(document->undoStack().count(), 0);
  EXPECT_FALSE(document->isModified());
}

TEST(ControlStateApplier, RadioGroupsCombosAndButtonsShowingActions) {
  // A window built the way a form may build its controls.
  QWidget form;
  auto* layout = new QVBoxLayout(&form);
  auto* theory = new QGroupBox(&form);
  theory->setObjectName(OptionObjectName(Option::RG_Theory));
  auto* radios = new QVBoxLayout(theory);
  for (int k = 0; k < 4; ++k) radios->addWidget(new QRadioButton(QString::number(k), theory));
  layout->addWidget(theory);
  auto* seepage = new QComboBox(&form);
  seepage->setObjectName(OptionObjectName(Option::CB_Seepage));
  seepage->addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
  layout->addWidget(seepage);
  auto* cover = new QWidget(&form);
  cover->setObjectName(QStringLiteral("P_WaterLine_not_Cal"));
  layout->addWidget(cover);
  auto* group = new QButtonGroup(&form);
  group->setObjectName(OptionObjectName(Option::CB_NonCir_Search));
  for (int k = 0; k < 2; ++k) {
    auto* r = new QRadioButton(&form);
    layout->addWidget(r);
    group->addButton(r, k);
  }
  auto* seismic = new QAction(&form);
  seismic->setObjectName(QStringLiteral("TB_Seismic"));
  seismic->setCheckable(true);
  auto* button = new QToolButton(&form);
  button->setObjectName(QStringLiteral("TB_Seismic"));
  button->setDefaultAction(seismic);
  layout->addWidget(button);
  QObject::connect(seepage, &QComboBox::activated, &form, [] { FAIL() << "activated by a shown state"; });
  QObject::connect(seismic, &QAction::triggered, &form, [] { FAIL() << "triggered by a shown state"; });

  OptionValues o;
  o.setItemIndex(Option::RG_Theory, 2);
  o.setItemIndex(Option::CB_Seepage, 1);
  o.setItemIndex(Option::CB_NonCir_Search, 0);
  o.setChecked(Option::CB_Seismic_Disable, false);
  std::vector<ControlState> states = ControlStates(o, 1);
  states.push_back({ControlWindow::Step, "TB_Seismic", true, {}, {}, {}, "Enable Seismic Load", {}});
  ApplyControlStates(&form, ControlWindow::Step, states);
  EXPECT_TRUE(theory->findChildren<QRadioButton*>()[2]->isChecked());
  EXPECT_EQ(seepage->currentIndex(), 1);
  EXPECT_TRUE(cover->isHidden());
  EXPECT_TRUE(group->button(0)->isChecked());
  EXPECT_TRUE(seismic->isChecked());
  EXPECT_EQ(button->toolTip(), "Enable Seismic Load");

  o.setItemIndex(Option::CB_Seepage, 0);
  ApplyControlStates(&form, ControlWindow::Step, ControlStates(o, 1));
  EXPECT_FALSE(cover->isHidden());
}

}  // namespace
}  // namespace pelodyn
