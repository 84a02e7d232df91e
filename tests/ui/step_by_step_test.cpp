// The step-by-step form as an engineer uses it: a whole project typed in
// field by field and cell by cell, saved, and compared with the same project
// written by hand; the grids' row buttons; the pages' dependent controls.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <filesystem>

#include "model/collection.h"
#include "model/numbers.h"
#include "model/platform.h"
#include "model/soil_color.h"
#include "persistence/settings_file.h"
#include "support/test_folder.h"
#include "texts/messages.h"
#include "ui/document/project_document.h"
#include "ui/file_bytes.h"
#include "ui/forms/step_by_step_form.h"
#include "ui/models/store_table_model.h"
#include "ui/scripted_prompter.h"
#include "ui/shell/command_registry.h"
#include "ui/shell/main_window.h"
#include "ui/widgets/grid_editor.h"

namespace pelodyn {
namespace {

namespace fs = std::filesystem;

class StepByStepTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = testing::TestFolder("pelodyn-step-");
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::remove(SettingsFilePath());
    document = ProjectDocument::openPrivate();
    window = std::make_unique<MainWindow>(*document, prompter);
    window->resize(1200, 800);
    window->startUp();
    window->commands().action(QStringLiteral("MN_Step"))->trigger();
    form = window->stepForm();
    ASSERT_TRUE(form->isVisible());
  }
  void TearDown() override {
    window.reset();
    document.reset();
    fs::remove_all(dir);
  }

  template <class T>
  T* find(const char* name) {
    T* w = form->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  // Types into a field as the user does: select all, type, leave.
  void type(const char* field, const QString& text) {
    auto* e = find<QLineEdit>(field);
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, text);
    emit e->editingFinished();
  }
  void choose(const char* combo, int item) {
    auto* c = find<QComboBox>(combo);
    c->setCurrentIndex(item);
    emit c->activated(item);
  }
  // A copy of a bundled example in the test's folder: whatever another
  // program left beside the example (its results) is not this test's.
  QString openCopy(const char* example) {
    fs::copy_file(fs::path(PELODYN_EXAMPLES) / example, dir / example, fs::copy_options::overwrite_existing);
    return QString::fromStdString((dir / example).string());
  }
  // Shown on its page (the page itself may be behind another).
  bool shown(const char* name) { return !find<QWidget>(name)->isHidden(); }
  void click(const char* button) { find<QAbstractButton>(button)->click(); }
  // Types a row of cells into `grid` from its current cell on, Enter after
  // each: Enter moves to the next cell as Tab does, on into the next row.
  void typeRow(GridEditor* grid, const QStringList& cells) {
    for (const QString& text : cells) {
      grid->edit(grid->currentIndex());  // already open after an Enter
      // The open editor; closed ones are hidden until they are deleted.
      QList<QLineEdit*> open;
      for (QLineEdit* e : grid->viewport()->findChildren<QLineEdit*>()) {
        if (!e->isHidden()) open << e;
      }
      ASSERT_EQ(open.size(), 1);
      QTest::keyClicks(open.front(), text);
      QTest::keyClick(open.front(), Qt::Key_Return);
    }
  }
  // Inserts a row at the end through the row button and types it.
  void addRow(const char* gridName, const char* insertButton, const QStringList& cells) {
    GridEditor* grid = form->grid(QString::fromLatin1(gridName));
    grid->setCurrentIndex(QModelIndex());
    click(insertButton);
    grid->setCurrentIndex(grid->model()->index(grid->model()->rowCount() - 1, 0));
    typeRow(grid, cells);
  }

  fs::path dir;
  test::ScriptedPrompter prompter;
  std::unique_ptr<ProjectDocument> document;
  std::unique_ptr<MainWindow> window;
  StepByStepForm* form = nullptr;
};

TEST_F(StepByStepTest, AProjectTypedInIsSavedAsTheSameFileWrittenByHand) {
  // Page 0: the project and the methods (the defaults are the example's).
  type(OptionCName(Option::E_Project_Name), QStringLiteral("Layered slope with water and loads"));
  type(OptionCName(Option::E_Lacation), QStringLiteral("Example"));
  type(OptionCName(Option::E_Engineer), QStringLiteral("Pelodyn"));
  click("B_Next_Project_Name");
  // Page 1: four soils, the last the air, and four boundary lines.
  const QStringList soils[] = {{"1", "30", "35", "20", "Weathered rock"},
                               {"2", "12", "28", "19", "Stiff clay"},
                               {"3", "5", "24", "18", "Silty sand"},
                               {"4", "0", "0", "0", "Air"}};
  for (const QStringList& soil : soils) addRow("DBG_Soil_Prop", "B_Geometry_Insert", soil);
  const QStringList points[] = {{"1", "1", "0", "0"},    {"1", "2", "100", "0"},  {"2", "1", "0", "10"},
                                {"2", "2", "100", "12"}, {"3", "1", "0", "20"},   {"3", "2", "45", "18"},
                                {"3", "3", "60", "14"},  {"3", "4", "100", "13"}, {"4", "1", "0", "30"},
                                {"4", "2", "30", "30"},  {"4", "3", "60", "15"},  {"4", "4", "100", "15"}};
  for (const QStringList& p : points) addRow("DBG_Geometry", "Button16", p);
  click("B_Next_Soil_Properties");
  EXPECT_TRUE(prompter.shown.empty()) << prompter.shown.front().text.toStdString();
  EXPECT_EQ(form->pages().currentIndex(), 2);
  click("Button1");
  // Page 3: a phreatic line.
  choose(OptionCName(Option::CB_Seepage), 1);
  type(OptionCName(Option::E_Unit_Weight_Water), QStringLiteral("9.81"));
  // The crack's water follows the water line's, as the example has it.
  EXPECT_EQ(document->project().options.text(Option::E_Water_Unit_Weight), "9.81");
  addRow("DBG_Waterline", "Button2", {"1", "0", "25"});
  addRow("DBG_Waterline", "Button2", {"2", "60", "14"});
  addRow("DBG_Waterline", "Button2", {"3", "100", "13"});
  click("B_Next_Seepage");
  // Page 4: seismic, a line load and a strip load.
  click(OptionCName(Option::CB_Seismic_Disable));
  type(OptionCName(Option::E_Kh), QStringLiteral("0.1"));
  click(OptionCName(Option::CB_LineLoad_Disable));
  addRow("DBG_LindLoad", "Button12", {"1", "40", "20", "30", "0"});
  click(OptionCName(Option::CB_StripLoad_Disable));
  addRow("DBG_StripLoad", "Button10", {"1", "15", "5", "25", "30", "30"});
  click("B_Next_Load_Effect");
  // Page 5: the grid of centres.
  type(OptionCName(Option::E_X_LeftDown), QStringLiteral("40"));
  type(OptionCName(Option::E_Y_LeftDown), QStringLiteral("32"));
  type(OptionCName(Option::E_X_RightDown), QStringLiteral("80"));
  type(OptionCName(Option::E_Y_RightDown), QStringLiteral("32"));
  type(OptionCName(Option::E_X_RightTop), QStringLiteral("80"));
  type(OptionCName(Option::E_Y_RightTop), QStringLiteral("72"));
  type(OptionCName(Option::E_12_Division), QStringLiteral("8"));
  type(OptionCName(Option::E_23_Division), QStringLiteral("8"));
  click("B_Close_Step");
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(prompter.shown.empty());

  // New soils took the colours of their numbers.
  const std::vector<Row> rows = document->project().store->rows(Table::Soil_Prop);
  ASSERT_EQ(rows.size(), 4u);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(rows[k].integer(SoilCommonField::Color), SoilColorDefault(k + 1));

  const fs::path saved = dir / "typed.pdd";
  prompter.saveTargets = {SaveTarget{QString::fromStdString(saved.string()), 0}};
  window->commands().action(QStringLiteral("MN_SaveAs"))->trigger();
  ASSERT_TRUE(fs::exists(saved));
  EXPECT_EQ(test::Bytes(saved), test::Bytes(fs::path(PELODYN_EXAMPLES) / "layered-phreatic-loads.pdd"));

  // Every edit was its own undoable step: undoing them all gives back the
  // new project, unmodified.
  const QUndoStack& undo = document->undoStack();
  EXPECT_GT(undo.count(), 40);
  while (undo.canUndo()) document->undo();
  EXPECT_EQ(document->project().store->rowCount(Table::Geometry), 0);
  EXPECT_EQ(document->project().options, OptionValues());
}

TEST_F(StepByStepTest, RowButtonsInsertBeforeDeleteAndClearAll) {
  GridEditor* grid = form->grid(QStringLiteral("DBG_Geometry"));
  QAbstractItemModelTester tester(grid->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  const auto numbers = [this] {
    std::vector<int> out;
    for (const Row& r : document->project().store->rows(Table::Geometry))
      out.push_back(r.integer(GeometryField::PointNo));
    return out;
  };
  for (const char* n : {"1", "2", "3"}) addRow("DBG_Geometry", "Button16", {"1", n, n, "0"});
  EXPECT_EQ(numbers(), (std::vector<int>{1, 2, 3}));
  // Insert puts an empty row before the current one.
  grid->setCurrentIndex(grid->model()->index(1, 1));
  click("Button16");
  EXPECT_EQ(grid->currentPosition(), 2);
  typeRow(grid, {"9"});
  grid->setCurrentIndex(grid->model()->index(1, 1));
  EXPECT_EQ(numbers(), (std::vector<int>{1, 9, 2, 3}));
  click("Button15");  // Delete the current row
  EXPECT_EQ(numbers(), (std::vector<int>{1, 2, 3}));
  // A value the field cannot hold is refused with its message; the cell
  // keeps its value.
  const QModelIndex x = grid->model()->index(0, 2);
  EXPECT_FALSE(grid->model()->setData(x, QStringLiteral("1,5")));
  ASSERT_FALSE(prompter.shown.empty());
  EXPECT_EQ(prompter.shown.back().text,
            QStringLiteral("Geometry, row 1, Coordi X: '1,5' is not a valid floating point value"));
  EXPECT_EQ(grid->model()->data(x).toString(), QStringLiteral("1"));
  click("Button11");  // Clear All
  EXPECT_EQ(grid->model()->rowCount(), 0);
  const int steps = document->undoStack().count();
  click("Button11");  // already empty: nothing happens
  EXPECT_EQ(document->undoStack().count(), steps);
  document->undo();
  EXPECT_EQ(numbers(), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(grid->model()->rowCount(), 3);
}

TEST_F(StepByStepTest, EveryGridPassesTheModelTesterThroughItsRowCommands) {
  const char* const grids[] = {"DBG_Soil_Prop",     "DBG_Soil_Aniso",  "DBG_Geometry",     "DBG_Specific_Bottom_Line",
                               "DBG_Waterline",     "DBG_Ru_Variable", "DBG_LindLoad",     "DBG_StripLoad",
                               "DBG_Tension_Crack", "DBG_Anchor",      "DBG_NonCir_Coordi"};
  for (const char* name : grids) {
    GridEditor* grid = form->grid(QString::fromLatin1(name));
    ASSERT_NE(grid, nullptr) << name;
    QAbstractItemModelTester tester(grid->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    grid->insertRow();
    grid->insertRow();
    grid->setCurrentIndex(grid->model()->index(0, 0));
    ASSERT_TRUE(grid->model()->setData(grid->model()->index(0, 0), QStringLiteral("5"))) << name;
    grid->insertRow();  // before the first
    EXPECT_EQ(grid->model()->index(1, 0).data().toString(), QStringLiteral("5")) << name;
    grid->deleteRow();
    EXPECT_EQ(grid->model()->rowCount(), 2) << name;
    grid->clearAll();
    EXPECT_EQ(grid->model()->rowCount(), 0) << name;
    document->undo();
    EXPECT_EQ(grid->model()->rowCount(), 2) << name;
    document->redo();
    EXPECT_EQ(grid->model()->rowCount(), 0) << name;
  }
}

TEST_F(StepByStepTest, SeepageButtonsActOnTheChosenTableOnly) {
  struct Case {
    int seepage;
    Table table;  // the table Insert adds to
  };
  for (const Case c : {Case{0, Table::Results}, Case{1, Table::Waterline}, Case{2, Table::Ru_variable}}) {
    choose(OptionCName(Option::CB_Seepage), c.seepage);
    const int water = document->project().store->rowCount(Table::Waterline);
    const int ru = document->project().store->rowCount(Table::Ru_variable);
    click("Button2");
    EXPECT_EQ(document->project().store->rowCount(Table::Waterline), water + (c.table == Table::Waterline))
        << c.seepage;
    EXPECT_EQ(document->project().store->rowCount(Table::Ru_variable), ru + (c.table == Table::Ru_variable))
        << c.seepage;
  }
}

TEST_F(StepByStepTest, TheoryChoicesAndTheirDependentControls) {
  // The parallel theory is not analysed: message 13, back to circular.
  click("RG_Theory_0");
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].text, MessageBoxText(MessageText(document->language(), 13)));
  EXPECT_EQ(document->project().options.itemIndex(Option::RG_Theory), 1);
  EXPECT_TRUE(find<QRadioButton>("RG_Theory_1")->isChecked());
  // Irregular: the ordinary method is shown unchecked, disabled and not
  // analysed, the
  // non-circular search and its explanation show; one undo takes it back.
  click(OptionCName(Option::CB_Ordinary));
  ASSERT_TRUE(document->project().options.checked(Option::CB_Ordinary));
  click("RG_Theory_2");
  EXPECT_EQ(document->project().options.itemIndex(Option::RG_Theory), 2);
  EXPECT_EQ(document->project().model.UseOrdinary, 0);
  EXPECT_FALSE(find<QCheckBox>(OptionCName(Option::CB_Ordinary))->isChecked());
  EXPECT_FALSE(find<QCheckBox>(OptionCName(Option::CB_Ordinary))->isEnabled());
  EXPECT_TRUE(shown("GB_NonCircular_Search"));
  EXPECT_TRUE(shown("P_Explain_NonCir"));
  EXPECT_FALSE(shown("P_Explain_Cir"));
  document->undo();
  EXPECT_EQ(document->project().options.itemIndex(Option::RG_Theory), 1);
  EXPECT_TRUE(document->project().options.checked(Option::CB_Ordinary));
  EXPECT_TRUE(find<QCheckBox>(OptionCName(Option::CB_Ordinary))->isEnabled());
  EXPECT_FALSE(shown("GB_NonCircular_Search"));
}

TEST_F(StepByStepTest, CoversFollowTheirSwitches) {
  struct Case {
    const char* check;  // the "Disable" box
    const char* cover;
  };
  for (const Case c : {Case{OptionCName(Option::CB_Seismic_Disable), "P_Seismic_Disable"},
                       Case{OptionCName(Option::CB_LineLoad_Disable), "P_LineLoad_not_Cal"},
                       Case{OptionCName(Option::CB_StripLoad_Disable), "P_StripLoad_not_Cal"},
                       Case{OptionCName(Option::CB_Tension_Disable), "P_Tcrack_not_Cal"},
                       Case{OptionCName(Option::CB_Anchor_Disable), "P_Anchor_not_Cal"}}) {
    EXPECT_TRUE(shown(c.cover)) << c.cover;
    click(c.check);
    EXPECT_FALSE(document->project().options.checked(OptionNamed(c.check))) << c.check;
    EXPECT_FALSE(shown(c.cover)) << c.cover;
  }
  // A change made elsewhere (undo) shows here too.
  document->undo();
  EXPECT_TRUE(shown("P_Anchor_not_Cal"));
  // The bottom-line choice moves the cover from the specific grid to the
  // number.
  EXPECT_TRUE(shown("P_Specific_Bottom_Line"));
  choose(OptionCName(Option::CB_Bottom_Line_Choose), 1);
  EXPECT_FALSE(shown("P_Specific_Bottom_Line"));
  EXPECT_FALSE(find<QLineEdit>(OptionCName(Option::E_BottomLine))->isEnabled());
  // A new project shows its own values.
  choose(OptionCName(Option::CB_Seepage), 2);
  document->newProject({});
  EXPECT_EQ(find<QComboBox>(OptionCName(Option::CB_Seepage))->currentIndex(), 0);
  EXPECT_TRUE(shown("P_Specific_Bottom_Line"));
}

TEST_F(StepByStepTest, NumbersAreReadWhenTheFieldIsLeft) {
  // A bad value is named once, when the field is left, and kept as typed.
  type(OptionCName(Option::E_Cir_Slice), QStringLiteral("1O"));
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].text, QStringLiteral("No. of Slice: '1O' is not a valid integer value"));
  EXPECT_EQ(find<QLineEdit>(OptionCName(Option::E_Cir_Slice))->text(), QStringLiteral("1O"));
  emit find<QLineEdit>(OptionCName(Option::E_Cir_Slice))->editingFinished();
  EXPECT_EQ(prompter.shown.size(), 1u);
  // The analysis settings take their shortest form once typed; other
  // fields keep what was typed.
  type(OptionCName(Option::E_Pass_Criteria), QStringLiteral("0.010"));
  EXPECT_EQ(document->project().options.text(Option::E_Pass_Criteria), "0.01");
  EXPECT_EQ(find<QLineEdit>(OptionCName(Option::E_Pass_Criteria))->text(), QStringLiteral("0.01"));
  type(OptionCName(Option::E_X_LeftDown), QStringLiteral("40.0"));
  EXPECT_EQ(document->project().options.text(Option::E_X_LeftDown), "40.0");
  // A bottom-line number of 200 stays as typed.
  type(OptionCName(Option::E_BottomLine), QStringLiteral("200"));
  EXPECT_EQ(find<QLineEdit>(OptionCName(Option::E_BottomLine))->text(), QStringLiteral("200"));
}

TEST_F(StepByStepTest, TheRadiusDecrementTypedReachesTheRun) {
  ASSERT_TRUE(window->fileCommands().openPath(openCopy("layered-phreatic-loads.pdd")));
  choose(OptionCName(Option::CB_Circle_Decrement), 1);
  type(OptionCName(Option::E_Cir_Decrement), QStringLiteral("2"));
  SilentPlatform silent;
  CollectAnalysisData(document->projectForAnalysis(), silent);
  EXPECT_EQ(document->project().model.RadiusDecrement, 2.0);
  EXPECT_EQ(document->project().model.CircleCount, 0);
}

TEST_F(StepByStepTest, NextOnTheSoilPageChecksTheSoils) {
  form->pages().setCurrentIndex(1);
  addRow("DBG_Soil_Prop", "B_Geometry_Insert", {"1", "10", "30", "18", "Clay"});
  addRow("DBG_Soil_Prop", "B_Geometry_Insert", {"3", "0", "0", "18", "Air"});
  click("B_Next_Soil_Properties");
  ASSERT_EQ(prompter.shown.size(), 2u);
  EXPECT_EQ(prompter.shown[0].text, MessageBoxText(MessageText(document->language(), 11)));
  // The soil-number message names the row and its number as the grid shows them.
  EXPECT_EQ(
      prompter.shown[1].text,
      QStringLiteral("Soil properties data is not correct: Soil Properties, row 2: Soil No. = 3, but the last "
                     "soil must be No. 2, the number of soils (the soils are numbered 1 to 2).\nPlease recheck."));
  EXPECT_EQ(form->pages().currentIndex(), 2);
}

}  // namespace
}  // namespace pelodyn

namespace pelodyn {
namespace {

// A typed number by its value, any other text as it is.
std::string Normal(const std::string& text) {
  double value = 0.0;
  return TryStrToFloat(text, value) ? FormatShortest(value) : text;
}

// Every value of the form survives Save and Open, whether or not the
// project file has room for it where it stands (a unit weight of water
// without seepage, a fourth decimal): what the file cannot hold goes into
// the companion file.
TEST_F(StepByStepTest, EveryFieldTypedComesBackAfterSaveAndOpen) {
  ASSERT_TRUE(window->fileCommands().openPath(openCopy("layered-phreatic-loads.pdd")));
  OptionValues typed = document->project().options;
  int n = 0;
  for (const ControlDef& def : OptionControls()) {
    const std::string name(def.name);
    ++n;
    switch (def.kind) {
      case ControlKind::Edit: {
        const std::string now = typed.text(OptionNamed(name));
        if (name == OptionCName(Option::E_Project_Name) || name == OptionCName(Option::E_Lacation) ||
            name == OptionCName(Option::E_Engineer)) {
          typed.setText(OptionNamed(name), now + " " + std::to_string(n));
        } else if (now.find('.') == std::string::npos && name != OptionCName(Option::E_BottomLine)) {
          typed.setText(OptionNamed(name), std::to_string(std::stoi(now) + n % 7 + 1));
        } else if (name != OptionCName(Option::E_BottomLine)) {
          typed.setText(OptionNamed(name), FormatShortest(std::stod(now) + 0.0625 * (n % 5 + 1)));
        }
        break;
      }
      case ControlKind::Check:
        typed.setChecked(def.key, !typed.checked(OptionNamed(name)));
        break;
      case ControlKind::Choice:
        typed.setItemIndex(def.key, typed.itemIndex(OptionNamed(name)) == 1 ? 0 : 1);
        break;
    }
  }
  document->setOptions("Type every field", [&](OptionValues& o) { o = typed; });
  const fs::path saved = dir / "every-field.pdd";
  prompter.saveTargets = {SaveTarget{QString::fromStdString(saved.string()), 0}};
  window->commands().action(QStringLiteral("MN_SaveAs"))->trigger();
  ASSERT_TRUE(fs::exists(saved));

  window->fileCommands().runNewProject(false);
  ASSERT_TRUE(window->fileCommands().openPath(QString::fromStdString(saved.string())));
  const OptionValues& back = document->project().options;
  for (const ControlDef& def : OptionControls()) {
    const std::string name(def.name);
    switch (def.kind) {
      case ControlKind::Edit:
        EXPECT_EQ(Normal(back.text(OptionNamed(name))), Normal(typed.text(OptionNamed(name)))) << name;
        if (auto* edit = form->findChild<QLineEdit*>(QString::fromStdString(name))) {
          EXPECT_EQ(edit->text().toStdString(), back.text(OptionNamed(name))) << name;
        }
        break;
      case ControlKind::Check:
        EXPECT_EQ(back.checked(OptionNamed(name)), typed.checked(OptionNamed(name))) << name;
        break;
      case ControlKind::Choice:
        EXPECT_EQ(back.itemIndex(OptionNamed(name)), typed.itemIndex(OptionNamed(name))) << name;
        break;
    }
  }
}

}  // namespace
}  // namespace pelodyn
