// Entering a project through the window as a new user does: rows added at
// the end of every grid, boundary points and soils deleted, the two water
// unit weights, the Ordinary method across the theories, the grid fields of
// a specific search, numbers checked where they are typed, the cursor's
// status panel, and the step-by-step form brought back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <functional>

#include "model/control_state.h"
#include "model/line_choice.h"
#include "model/soil_color.h"
#include "qt_text/utf8.h"
#include "texts/captions.h"
#include "texts/messages.h"
#include "ui/forms/step_by_step_form.h"
#include "ui/models/store_table_model.h"
#include "ui/shell/input_strip.h"
#include "ui/widgets/grid_editor.h"
#include "ui/window_fixture.h"
#include "view/section_view.h"

namespace pelodyn {
namespace {

// Types `values` into the current row of `grid` from its first column on,
// each cell ended with Enter as a user does.
void TypeRow(GridEditor* grid, const QStringList& values) {
  const int row = grid->currentIndex().row();
  ASSERT_GE(row, 0);
  for (int c = 0; c < values.size(); ++c) {
    const QModelIndex index = grid->model()->index(row, c);
    grid->setCurrentIndex(index);
    if (!grid->indexWidget(index)) grid->edit(index);
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(index));
    ASSERT_NE(editor, nullptr);
    editor->setText(values[c]);
    QTest::keyClick(editor, Qt::Key_Return);
  }
}

// Runs `drive` on the modal window named `name` once it shows, then
// triggers `command`, which opens it.
void DriveModal(QAction* command, const char* name, std::function<void(QWidget*)> drive) {
  bool driven = false;
  QTimer::singleShot(0, [name, drive, &driven] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() == QLatin1String(name) && w->isVisible()) {
        drive(w);
        driven = true;
        w->close();
      }
    }
  });
  command->trigger();
  EXPECT_TRUE(driven) << name;
}

// Saves a picture of `w` into PELODYN_PICTURES, when it is set, to be
// looked at; nothing is asserted about it.
void Picture(QWidget* w, const QString& name) {
  const QString folder = qEnvironmentVariable("PELODYN_PICTURES");
  if (folder.isEmpty()) return;
  QDir().mkpath(folder);
  QCoreApplication::processEvents();
  w->grab().save(folder + QStringLiteral("/entry-") + name + QStringLiteral(".png"));
}

std::vector<std::int64_t> Column(ProjectDocument& d, Table table, const char* field) {
  std::vector<std::int64_t> out;
  for (const Row& r : d.project().store->rows(table)) out.push_back(r.integerNamed(field));
  return out;
}

Row GeometryPoint(int line, int point, double x, double y) {
  Row r(Table::Geometry);
  r.set(GeometryField::LineNo, line)
      .set(GeometryField::PointNo, point)
      .set(GeometryField::X, x)
      .set(GeometryField::Y, y);
  return r;
}

class DataEntry : public test::WindowTest {
 protected:
  void SetUp() override {
    test::WindowTest::SetUp();
    document->setLanguage(1);
  }
  StepByStepForm& form() { return *window->stepForm(); }
  template <typename T>
  T* stepChild(const char* name) {
    return form().findChild<T*>(QString::fromLatin1(name));
  }
  template <typename T>
  T* stripChild(const char* name) {
    return window->inputStrip()->findChild<T*>(QString::fromLatin1(name));
  }
};

// The guide's soil steps: Append, type soil 1, Append, type soil 2, ...
TEST_F(DataEntry, SoilsAppendedOneAfterAnotherStayInOrderWithTheirColours) {
  form().show();
  GridEditor* grid = form().grid(QStringLiteral("DBG_Soil_Prop"));
  auto* append = stepChild<QPushButton>("B_Geometry_Insert_Append");
  ASSERT_NE(append, nullptr);
  EXPECT_EQ(append->text(), QStringLiteral("Append"));
  const QStringList soils[] = {{"1", "20", "25", "18", "Clay"},
                               {"2", "5", "32", "19", "Sand"},
                               {"3", "40", "35", "20", "Weathered rock"},
                               {"4", "0", "0", "0", "Air"}};
  for (const QStringList& soil : soils) {
    append->click();
    TypeRow(grid, soil);
  }
  EXPECT_EQ(Column(*document, Table::Soil_Prop, "Line No."), (std::vector<std::int64_t>{1, 2, 3, 4}));
  EXPECT_EQ(
      Column(*document, Table::Soil_Prop, "Color"),
      (std::vector<std::int64_t>{SoilColorDefault(1), SoilColorDefault(2), SoilColorDefault(3), SoilColorDefault(4)}));
  // Draw > Geometry finds the air row last: no complaint, four soils to draw.
  action("MN_Draw_Geometry")->trigger();
  EXPECT_TRUE(prompter.shown.empty()) << prompter.shown.front().text.toStdString();
  EXPECT_EQ(stripChild<QComboBox>("CB_Line_No")->count(), 4);
  // Insert still goes before the current row.
  grid->setCurrentIndex(grid->model()->index(1, 0));
  stepChild<QPushButton>("B_Geometry_Insert")->click();
  EXPECT_EQ(Column(*document, Table::Soil_Prop, "Line No."), (std::vector<std::int64_t>{1, 0, 2, 3, 4}));
}

TEST_F(DataEntry, DownOnTheLastRowAddsARow) {
  form().show();
  GridEditor* grid = form().grid(QStringLiteral("DBG_Geometry"));
  QTest::keyClick(grid, Qt::Key_Down);  // an empty grid: its first row
  ASSERT_EQ(document->project().store->rowCount(Table::Geometry), 1);
  // A blank last row is not followed by another.
  QTest::keyClick(grid, Qt::Key_Down);
  ASSERT_EQ(document->project().store->rowCount(Table::Geometry), 1);
  TypeRow(grid, {"1", "1", "0", "10"});
  // Down while a cell is being typed keeps the text and adds the next row.
  grid->setCurrentIndex(grid->model()->index(0, 2));
  if (!grid->indexWidget(grid->currentIndex())) grid->edit(grid->currentIndex());
  auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
  ASSERT_NE(editor, nullptr);
  editor->setText(QStringLiteral("2.5"));
  QTest::keyClick(editor, Qt::Key_Down);
  ASSERT_EQ(document->project().store->rowCount(Table::Geometry), 2);
  EXPECT_EQ(document->project().store->rows(Table::Geometry)[0].real(GeometryField::X), 2.5);
  EXPECT_EQ(grid->currentIndex().row(), 1);
  // Down on a row that is not the last only moves.
  grid->setCurrentIndex(grid->model()->index(0, 0));
  QTest::keyClick(grid, Qt::Key_Down);
  EXPECT_EQ(document->project().store->rowCount(Table::Geometry), 2);
  EXPECT_EQ(grid->currentIndex().row(), 1);
}

TEST_F(DataEntry, EveryGridHasAnAppendInEitherLanguage) {
  const char* const inserts[] = {"B_Geometry_Insert", "Button16", "Button7",  "Button2", "Button12",
                                 "Button10",          "Button17", "Button22", "Button27"};
  for (std::uint8_t language : {std::uint8_t{1}, std::uint8_t{0}}) {
    document->setLanguage(language);
    for (const char* insert : inserts) {
      auto* append = form().findChild<QPushButton*>(QString::fromLatin1(insert) + QStringLiteral("_Append"));
      ASSERT_NE(append, nullptr) << insert;
      EXPECT_EQ(append->text(), Q(UiTextFor(language, UiText::AppendRow))) << insert;
    }
  }
  // Key In > Geometry appends point after point.
  DriveModal(action("MN_Geometry"), "Form_Geometry", [](QWidget* dialog) {
    auto* append = dialog->findChild<QPushButton*>(QStringLiteral("B_Geometry_Insert_Append"));
    ASSERT_NE(append, nullptr);
    EXPECT_EQ(append->text(), QStringLiteral("เพิ่มท้าย"));
    auto* grid = dialog->findChild<GridEditor*>(QStringLiteral("DBG_Geometry"));
    append->click();
    TypeRow(grid, {"1", "1", "0", "10"});
    append->click();
    TypeRow(grid, {"1", "2", "50", "10"});
  });
  EXPECT_EQ(Column(*document, Table::Geometry, "Point No."), (std::vector<std::int64_t>{1, 2}));
}

TEST_F(DataEntry, DeletingAMiddlePointRenumbersTheLinesLaterPoints) {
  document->insertRows(Table::Geometry, 1,
                       {GeometryPoint(1, 1, 0, 5), GeometryPoint(1, 2, 20, 5), GeometryPoint(1, 3, 40, 6),
                        GeometryPoint(1, 4, 60, 6), GeometryPoint(2, 1, 0, 10), GeometryPoint(2, 2, 60, 12)});
  const int steps = document->undoStack().count();
  DriveModal(action("MN_Geometry"), "Form_Geometry", [](QWidget* dialog) {
    auto* grid = dialog->findChild<GridEditor*>(QStringLiteral("DBG_Geometry"));
    grid->setCurrentIndex(grid->model()->index(1, 1));  // line 1, point 2
    dialog->findChild<QPushButton*>(QStringLiteral("B_Geometry_Delete"))->click();
  });
  EXPECT_EQ(Column(*document, Table::Geometry, "Line No."), (std::vector<std::int64_t>{1, 1, 1, 2, 2}));
  EXPECT_EQ(Column(*document, Table::Geometry, "Point No."), (std::vector<std::int64_t>{1, 2, 3, 1, 2}));
  const std::vector<Row> rows = document->project().store->rows(Table::Geometry);
  EXPECT_EQ(rows[1].real(GeometryField::X), 40.0);
  EXPECT_EQ(rows[2].real(GeometryField::X), 60.0);
  // One step: undo gives the line back whole.
  EXPECT_EQ(document->undoStack().count(), steps + 1);
  document->undo();
  EXPECT_EQ(Column(*document, Table::Geometry, "Point No."), (std::vector<std::int64_t>{1, 2, 3, 4, 1, 2}));
}

// The renumbering delete and the crack weight that follows are edits like
// any other: the run's numbers go out of date with them and come back with
// their undo.
TEST_F(DataEntry, TheNewEditsPutTheResultsOutOfDateAndUndoBringsThemBack) {
  open("layered-phreatic-loads.pdd");
  ASSERT_EQ(runToEnd(), static_cast<int>(RunOutcome::Complete));
  ASSERT_TRUE(document->resultsCurrent());
  DriveModal(action("MN_Geometry"), "Form_Geometry", [](QWidget* dialog) {
    auto* grid = dialog->findChild<GridEditor*>(QStringLiteral("DBG_Geometry"));
    grid->setCurrentIndex(grid->model()->index(5, 1));  // line 3, point 2
    dialog->findChild<QPushButton*>(QStringLiteral("B_Geometry_Delete"))->click();
  });
  EXPECT_FALSE(document->resultsCurrent());
  EXPECT_TRUE(document->presentedSurfaces().empty());
  document->undo();
  EXPECT_TRUE(document->resultsCurrent());
  document->setOptionText(Option::E_Unit_Weight_Water, QStringLiteral("10"));
  EXPECT_EQ(document->project().options.text(Option::E_Water_Unit_Weight), "10");
  EXPECT_FALSE(document->resultsCurrent());
  document->undo();
  EXPECT_EQ(document->project().options.text(Option::E_Water_Unit_Weight), "9.81");
  EXPECT_TRUE(document->resultsCurrent());
}

TEST_F(DataEntry, AUsedSoilIsDeletedOnlyWhenTheUserAgrees) {
  form().show();
  GridEditor* grid = form().grid(QStringLiteral("DBG_Soil_Prop"));
  auto* append = stepChild<QPushButton>("B_Geometry_Insert_Append");
  for (const QStringList& soil : {QStringList{"1", "20", "25", "18", "Clay"}, QStringList{"2", "5", "32", "19", "Sand"},
                                  QStringList{"3", "0", "0", "0", "Air"}}) {
    append->click();
    TypeRow(grid, soil);
  }
  document->insertRows(
      Table::Geometry, 1,
      {GeometryPoint(1, 1, 0, 5), GeometryPoint(1, 2, 60, 5), GeometryPoint(2, 1, 0, 10), GeometryPoint(2, 2, 60, 12)});
  auto* remove = stepChild<QPushButton>("B_Geometry_Delete");
  struct Case {
    std::uint8_t language;
    int row;     // 1-based
    bool asked;  // the soil lies above a drawn line
    bool agree;  // the answer
    int soilsAfter;
  };
  const Case cases[] = {{1, 2, true, false, 3}, {0, 2, true, false, 3}, {1, 3, false, true, 2}, {0, 2, true, true, 1}};
  for (const Case& c : cases) {
    document->setLanguage(c.language);
    prompter.shown.clear();
    prompter.okAnswers = {c.agree};
    grid->setCurrentIndex(grid->model()->index(c.row - 1, 0));
    remove->click();
    const std::string context = "language " + std::to_string(c.language) + ", row " + std::to_string(c.row);
    EXPECT_EQ(document->project().store->rowCount(Table::Soil_Prop), c.soilsAfter) << context;
    if (c.asked) {
      ASSERT_EQ(prompter.shown.size(), 1u) << context;
      EXPECT_EQ(prompter.shown[0].kind, "question");
      const std::string number = std::to_string(c.row);
      EXPECT_EQ(prompter.shown[0].text,
                MessageBoxText(FormatText(UiTextFor(c.language, UiText::SoilInUseQuestion), {number})))
          << context;
    } else {
      EXPECT_TRUE(prompter.shown.empty()) << context;
    }
  }
}

TEST_F(DataEntry, EachSoilKeepsItsColourAndANewOneGetsAColourNotInUse) {
  form().show();
  GridEditor* grid = form().grid(QStringLiteral("DBG_Soil_Prop"));
  auto* append = stepChild<QPushButton>("B_Geometry_Insert_Append");
  for (int k = 0; k < 3; ++k) append->click();
  const std::vector<std::int64_t> before = Column(*document, Table::Soil_Prop, "Color");
  ASSERT_EQ(before, (std::vector<std::int64_t>{SoilColorDefault(1), SoilColorDefault(2), SoilColorDefault(3)}));
  // A soil inserted between the first two: the others keep their colours,
  // the new one shows one of its own.
  grid->setCurrentIndex(grid->model()->index(1, 0));
  stepChild<QPushButton>("B_Geometry_Insert")->click();
  const std::vector<std::int64_t> after = Column(*document, Table::Soil_Prop, "Color");
  ASSERT_EQ(after.size(), 4u);
  EXPECT_EQ(after[0], before[0]);
  EXPECT_EQ(after[2], before[1]);
  EXPECT_EQ(after[3], before[2]);
  EXPECT_EQ(after[1], SoilColorDefault(4));
  // After a deletion, the freed colour is the next one given.
  grid->setCurrentIndex(grid->model()->index(0, 0));
  stepChild<QPushButton>("B_Geometry_Delete")->click();
  append->click();
  EXPECT_EQ(
      Column(*document, Table::Soil_Prop, "Color"),
      (std::vector<std::int64_t>{SoilColorDefault(4), SoilColorDefault(2), SoilColorDefault(3), SoilColorDefault(1)}));
}

TEST_F(DataEntry, TheCrackWaterFollowsTheWaterLineUnlessGivenItsOwn) {
  document->setOptionChecked(Option::CB_Tension_Disable, false);
  form().show();
  auto* line = stepChild<QLineEdit>(OptionCName(Option::E_Unit_Weight_Water));
  auto* crack = stepChild<QLineEdit>(OptionCName(Option::E_Water_Unit_Weight));
  ASSERT_NE(line, nullptr);
  ASSERT_NE(crack, nullptr);
  ASSERT_EQ(crack->text(), line->text());
  // Each field says where it is used, and that the crack's follows.
  EXPECT_EQ(line->toolTip(), Q(UiTextFor(1, UiText::WaterLineUnitWeightHint)));
  EXPECT_EQ(crack->toolTip(), Q(UiTextFor(1, UiText::CrackUnitWeightHint)));
  const int steps = document->undoStack().count();
  line->selectAll();
  QTest::keyClicks(line, QStringLiteral("9.81"));
  EXPECT_EQ(document->project().options.text(Option::E_Water_Unit_Weight), "9.81");
  EXPECT_EQ(crack->text(), QStringLiteral("9.81"));
  EXPECT_EQ(stripChild<QLineEdit>(OptionTwinName(Option::E_Water_Unit_Weight))->text(), QStringLiteral("9.81"));
  // The typing is one step, and its undo gives both back.
  EXPECT_EQ(document->undoStack().count(), steps + 1);
  document->undo();
  EXPECT_EQ(document->project().options.text(Option::E_Unit_Weight_Water), "1.0");
  EXPECT_EQ(document->project().options.text(Option::E_Water_Unit_Weight), "1.0");
  document->redo();
  // A crack given a weight of its own keeps it.
  crack->selectAll();
  QTest::keyClicks(crack, QStringLiteral("10"));
  line->selectAll();
  QTest::keyClicks(line, QStringLiteral("9.8"));
  EXPECT_EQ(document->project().options.text(Option::E_Unit_Weight_Water), "9.8");
  EXPECT_EQ(document->project().options.text(Option::E_Water_Unit_Weight), "10");
}

TEST_F(DataEntry, TheOrdinaryChoiceComesBackWithTheCircularTheory) {
  auto* ordinary = stripChild<QCheckBox>(OptionTwinName(Option::CB_Ordinary));
  ASSERT_NE(ordinary, nullptr);
  if (!ordinary->isChecked()) ordinary->click();
  ASSERT_TRUE(document->project().options.checked(Option::CB_Ordinary));
  stripChild<QRadioButton>("RB_NonCir")->click();
  ASSERT_EQ(document->project().options.itemIndex(Option::RG_Theory), 2);
  // Not offered under the irregular theory, and not analysed.
  EXPECT_FALSE(ordinary->isChecked());
  EXPECT_FALSE(ordinary->isEnabled());
  EXPECT_FALSE(stepChild<QCheckBox>(OptionCName(Option::CB_Ordinary))->isChecked());
  EXPECT_FALSE(UsesOrdinary(document->project().options));
  EXPECT_EQ(document->project().model.UseOrdinary, 0);
  stripChild<QRadioButton>("RB_Circular")->click();
  EXPECT_TRUE(ordinary->isChecked());
  EXPECT_TRUE(ordinary->isEnabled());
  EXPECT_TRUE(stepChild<QCheckBox>(OptionCName(Option::CB_Ordinary))->isChecked());
  EXPECT_EQ(document->project().model.UseOrdinary, 1);
  // The same through the step-by-step form's theory.
  form().show();
  stepChild<QRadioButton>("RG_Theory_2")->click();
  EXPECT_FALSE(stepChild<QCheckBox>(OptionCName(Option::CB_Ordinary))->isChecked());
  stepChild<QRadioButton>("RG_Theory_1")->click();
  EXPECT_TRUE(stepChild<QCheckBox>(OptionCName(Option::CB_Ordinary))->isChecked());
  EXPECT_TRUE(ordinary->isChecked());
}

TEST_F(DataEntry, ASpecificSearchDisablesTheGridFieldsAndSaysWhy) {
  form().show();
  const char* const gridFields[] = {OptionCName(Option::E_X_LeftDown), OptionCName(Option::E_Y_RightTop),
                                    OptionCName(Option::E_12_Division), OptionCName(Option::E_23_Division),
                                    OptionCName(Option::CB_Grid_Increment)};
  auto* kind = stepChild<QComboBox>(OptionCName(Option::CB_Cir_Search));
  for (std::uint8_t language : {std::uint8_t{1}, std::uint8_t{0}}) {
    document->setLanguage(language);
    kind->setCurrentIndex(1);
    emit kind->activated(1);
    ASSERT_EQ(document->project().options.itemIndex(Option::CB_Cir_Search), 1);
    for (const char* name : gridFields) {
      QWidget* w = stepChild<QWidget>(name);
      EXPECT_FALSE(w->isEnabled()) << name;
      EXPECT_EQ(w->toolTip(), Q(UiTextFor(language, UiText::GridUnusedBySpecificSearch))) << name;
    }
    EXPECT_TRUE(stepChild<QWidget>(OptionCName(Option::E_X_Center))->isEnabled());
    form().pages().setCurrentIndex(5);
    Picture(&form(), QStringLiteral("specific-search-") + QString::number(language));
    kind->setCurrentIndex(0);
    emit kind->activated(0);
    for (const char* name : gridFields) {
      EXPECT_TRUE(stepChild<QWidget>(name)->isEnabled()) << name;
      EXPECT_TRUE(stepChild<QWidget>(name)->toolTip().isEmpty()) << name;
    }
  }
}

TEST_F(DataEntry, ALetterInAStripNumberIsMarkedWhereItIsTyped) {
  window->show();
  struct Case {
    const char* panel;
    const char* field;
    const char* label;
  };
  const Case cases[] = {{"P_Seismic", OptionCName(Option::E_Kh), "L_Seismic_kh"},
                        {"P_Seismic", OptionCName(Option::E_Kv), "L_Seismic_kv"},
                        {"P_Water_Line", OptionCName(Option::E_Water_Unit_Weight), "L_WUW"},
                        {"P_TCrack", OptionTwinName(Option::E_Water_Unit_Weight), "L_Tcrack_WUW"},
                        {"P_TCrack", OptionCName(Option::E_Percent_Water), "L_Tcrack_Per"}};
  for (std::uint8_t language : {std::uint8_t{1}, std::uint8_t{0}}) {
    document->setLanguage(language);
    for (const Case& c : cases) {
      window->inputStrip()->showPanel(QString::fromLatin1(c.panel));
      auto* edit = stripChild<QLineEdit>(c.field);
      ASSERT_NE(edit, nullptr) << c.field;
      edit->selectAll();
      QTest::keyClicks(edit, QStringLiteral("0.1x"));
      EXPECT_FALSE(edit->styleSheet().isEmpty()) << c.field;
      const QString label = Q(CaptionText(language, c.label));
      EXPECT_TRUE(edit->toolTip().contains(label)) << c.field << " " << edit->toolTip().toStdString();
      EXPECT_TRUE(window->statusBar()->currentMessage().contains(label)) << c.field;
      if (std::string_view(c.field) == OptionCName(Option::E_Kh)) {
        Picture(window.get(), QStringLiteral("kh-letter-") + QString::number(language));
      }
      QTest::keyClick(edit, Qt::Key_Backspace);
      EXPECT_TRUE(edit->styleSheet().isEmpty()) << c.field;
      EXPECT_TRUE(edit->toolTip().isEmpty()) << c.field;
    }
  }
  // Run itself still refuses what is left wrong; nothing was lost meanwhile.
  EXPECT_EQ(document->project().options.text(Option::E_Kh), "0.1");
}

TEST_F(DataEntry, TheCursorPanelStaysBesideTheStatusMessages) {
  window->show();
  auto* x = window->statusBar()->findChild<QLabel*>(QStringLiteral("StatusBar_Pelodyn_X"));
  ASSERT_NE(x, nullptr);
  open("homogeneous-grid.pdd");
  document->setOptionText(Option::E_12_Division, QStringLiteral("2"));
  document->setOptionText(Option::E_23_Division, QStringLiteral("2"));
  emit window->view()->cursorMoved(12.5, 3.25);
  ASSERT_EQ(runToEnd(), 0);
  // The run's summary stands in the status line, the cursor beside it.
  ASSERT_FALSE(window->statusBar()->currentMessage().isEmpty());
  EXPECT_TRUE(x->isVisible());
  emit window->view()->cursorMoved(20.0, 7.5);
  EXPECT_TRUE(x->isVisible());
  EXPECT_EQ(x->text(), QStringLiteral("  20.00 , 7.50"));
  Picture(window.get(), QStringLiteral("cursor-after-run"));
}

TEST_F(DataEntry, StepByStepBringsBackAMinimisedForm) {
  window->show();
  action("MN_Step")->trigger();
  ASSERT_TRUE(form().isVisible());
  form().showMinimized();
  ASSERT_TRUE(form().isMinimized());
  action("MN_Step")->trigger();
  EXPECT_FALSE(form().isMinimized());
  EXPECT_TRUE(form().isVisible());
  EXPECT_EQ(action("MN_Step")->shortcut(), QKeySequence(QStringLiteral("Ctrl+W")));
}

TEST_F(DataEntry, TheWindowKeepsItsWidthAcrossLoadTypes) {
  window->resize(1000, 700);
  window->show();
  QApplication::processEvents();
  const int width = window->width();
  const int minimum = window->minimumSizeHint().width();
  window->inputStrip()->showPanel(QStringLiteral("P_ExLoad"));
  auto* type = stripChild<QComboBox>("CB_Load_Type");
  ASSERT_TRUE(stripChild<QWidget>("P_LineLoad")->isVisible());
  QApplication::processEvents();
  EXPECT_EQ(window->width(), width);
  for (int round = 0; round < 3; ++round) {
    for (int item : {1, 0}) {
      type->setCurrentIndex(item);
      emit type->activated(item);
      QApplication::processEvents();
      EXPECT_EQ(window->width(), width) << "round " << round << ", load type " << item;
      if (round == 0) Picture(window.get(), QStringLiteral("load-type-") + QString::number(item));
    }
  }
  EXPECT_LE(window->minimumSizeHint().width(), std::max(minimum, width));
}

}  // namespace
}  // namespace pelodyn
