// The Soil Properties, Geometry and Bottom Line dialogs: their tables edited
// through the document, the soil colours, the strength model's grids, the
// bottom-line cover, and the line choice the soils give the drawing panel.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "model/soil_color.h"
#include "persistence/settings_file.h"
#include "texts/messages.h"
#include "ui/document/project_document.h"
#include "ui/forms/table_dialogs.h"
#include "ui/models/store_table_model.h"
#include "ui/scripted_prompter.h"
#include "ui/shell/command_registry.h"
#include "ui/shell/main_window.h"
#include "ui/widgets/grid_editor.h"

namespace pelodyn {
namespace {

Row Soil(int no, double c, const char* description) {
  Row r(Table::Soil_Prop);
  r.set(SoilCommonField::LineNo, no)
      .set(SoilField::Cohesion, c)
      .set(SoilField::Phi, c > 0 ? 30.0 : 0.0)
      .set(SoilCommonField::UnitWeight, c > 0 ? 18.0 : 0.0);
  r.set(SoilCommonField::Description, description).set(SoilCommonField::Color, 7);
  return r;
}

std::vector<std::int64_t> Colors(ProjectDocument& d, Table table) {
  std::vector<std::int64_t> out;
  for (const Row& r : d.project().store->rows(table)) out.push_back(r.integer(SoilCommonField::Color));
  return out;
}

class TableDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    document = ProjectDocument::openPrivate();
    document->setLanguage(1);
    document->insertRows(Table::Soil_Prop, 1, {Soil(1, 10, "Clay"), Soil(2, 5, "Sand"), Soil(3, 0, "Air")});
  }
  test::ScriptedPrompter prompter;
  std::unique_ptr<ProjectDocument> document;
};

TEST_F(TableDialogs, SoilColoursChosenAndSetByDefault) {
  SoilPropertiesDialog dialog(*document, prompter);
  GridEditor* grid = dialog.currentGrid();
  QAbstractItemModelTester tester(grid->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  // "..." colours the remembered row: the second, once it is clicked.
  grid->setCurrentIndex(grid->model()->index(1, 0));
  EXPECT_EQ(dialog.rememberedRow(), 2);
  prompter.colorAnswers = {QColor(0x11, 0x22, 0x33)};
  dialog.findChild<QPushButton*>(QStringLiteral("B_Color_Set"))->click();
  EXPECT_EQ(Colors(*document, Table::Soil_Prop), (std::vector<std::int64_t>{7, 0x332211, 7}));
  // A cancelled colour dialog changes nothing.
  dialog.findChild<QPushButton*>(QStringLiteral("B_Color_Set"))->click();
  EXPECT_EQ(Colors(*document, Table::Soil_Prop), (std::vector<std::int64_t>{7, 0x332211, 7}));
  // Default colours by position, as one step; after a deletion in the
  // middle they close up.
  grid->setCurrentIndex(grid->model()->index(0, 0));
  dialog.findChild<QPushButton*>(QStringLiteral("Button4"))->click();  // delete soil 1
  dialog.findChild<QPushButton*>(QStringLiteral("B_Default_Color"))->click();
  EXPECT_EQ(Colors(*document, Table::Soil_Prop), (std::vector<std::int64_t>{SoilColorDefault(1), SoilColorDefault(2)}));
  document->undo();
  EXPECT_EQ(Colors(*document, Table::Soil_Prop), (std::vector<std::int64_t>{0x332211, 7}));
}

TEST_F(TableDialogs, TheStrengthModelChoosesTheGridAndTheAdvancedPart) {
  SoilPropertiesDialog dialog(*document, prompter);
  dialog.show();
  auto* advance = dialog.findChild<QPushButton*>(QStringLiteral("B_Aniso_ad"));
  EXPECT_FALSE(advance->isEnabled());
  EXPECT_TRUE(dialog.findChild<QWidget*>(QStringLiteral("DBG_Soil_Properties"))->isVisible());
  auto* model = dialog.findChild<QComboBox*>(OptionObjectName(Option::CB_Strength_Model));
  model->setCurrentIndex(1);
  emit model->activated(1);
  EXPECT_EQ(document->project().options.itemIndex(Option::CB_Strength_Model), 1);
  EXPECT_TRUE(advance->isEnabled());
  EXPECT_FALSE(dialog.findChild<QWidget*>(QStringLiteral("DBG_Soil_Properties"))->isVisible());
  EXPECT_TRUE(dialog.findChild<QWidget*>(QStringLiteral("DBG_Soil_Aniso"))->isVisible());
  // Insert acts on the anisotropic table now, with the colour of its number.
  dialog.findChild<QPushButton*>(QStringLiteral("Button3"))->click();
  EXPECT_EQ(Colors(*document, Table::Aniso), (std::vector<std::int64_t>{SoilColorDefault(1)}));
  const int narrow = dialog.width();
  advance->click();
  EXPECT_TRUE(dialog.findChild<QWidget*>(QStringLiteral("DBGrid1"))->isVisible());
  EXPECT_GT(dialog.width(), narrow);
  dialog.findChild<QPushButton*>(QStringLiteral("Button2"))->click();  // Hide
  EXPECT_FALSE(dialog.findChild<QWidget*>(QStringLiteral("DBGrid1"))->isVisible());
  EXPECT_EQ(dialog.width(), narrow);
}

TEST_F(TableDialogs, ApplyChecksTheSoilsAndTheTextsFollowTheLanguage) {
  document->editCell(Table::Soil_Prop, 3, 3, FieldValue(18.0));  // the air weighs something
  {
    SoilPropertiesDialog dialog(*document, prompter);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Soil Properties"));
    dialog.findChild<QPushButton*>(QStringLiteral("B_OK"))->click();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, MessageBoxText(MessageText(1, 11)));
  }
  document->setLanguage(0);
  SoilPropertiesDialog thai(*document, prompter);
  EXPECT_EQ(thai.windowTitle(), QStringLiteral("คุณสมบัติดิน"));
  EXPECT_EQ(thai.findChild<QPushButton*>(QStringLiteral("B_Default_Color"))->text(), QStringLiteral("ค่าเริ่มต้น"));
  GeometryDialog geometry(*document, prompter);
  EXPECT_EQ(geometry.windowTitle(), QStringLiteral("รูปร่างชั้นดิน"));
  EXPECT_EQ(geometry.findChild<QPushButton*>(QStringLiteral("B_Geometry_OK"))->text(), QStringLiteral("ปฏิบัติ"));
}

TEST_F(TableDialogs, TheBottomLineChoiceMovesTheCover) {
  BottomLineDialog dialog(*document, prompter);
  dialog.show();
  const auto shown = [&dialog](const char* name) {
    return dialog.findChild<QWidget*>(QString::fromLatin1(name))->isVisible();
  };
  const auto enabled = [&dialog](const char* name) {
    return dialog.findChild<QWidget*>(QString::fromLatin1(name))->isEnabled();
  };
  EXPECT_TRUE(shown("P_Specific_Bottom_Line"));
  EXPECT_FALSE(shown("DBG_Specific_Bottom_Line"));
  EXPECT_TRUE(enabled(OptionCName(Option::E_BottomLine)));
  EXPECT_FALSE(enabled("B_Bottom_Line_Insert"));
  EXPECT_TRUE(enabled("B_Bottom_Line_Cancel"));
  // Chosen elsewhere (the step-by-step form), shown here.
  document->setOptionIndex(Option::CB_Bottom_Line_Choose, 1);
  EXPECT_FALSE(shown("P_Specific_Bottom_Line"));
  EXPECT_TRUE(shown("DBG_Specific_Bottom_Line"));
  EXPECT_FALSE(enabled(OptionCName(Option::E_BottomLine)));
  dialog.findChild<QPushButton*>(QStringLiteral("B_Bottom_Line_Insert"))->click();
  EXPECT_EQ(document->project().store->rowCount(Table::Bottom_Line), 1);
}

TEST(TableDialogCommands, SoilPropertiesApplyFillsTheLineChoice) {
  std::filesystem::remove(SettingsFilePath());
  auto document = ProjectDocument::openPrivate();
  test::ScriptedPrompter prompter;
  MainWindow window(*document, prompter);
  window.startUp();
  document->setLanguage(1);
  document->insertRows(Table::Soil_Prop, 1, {Soil(1, 10, "Weathered sandstone"), Soil(2, 0, "Air")});
  QAction* command = window.commands().action(QStringLiteral("MN_SoilProp"));
  ASSERT_TRUE(command->isEnabled());
  // The modal dialog is driven once it shows.
  QTimer::singleShot(0, [] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() == QLatin1String("Form_Soil_Properties") && w->isVisible()) {
        w->findChild<QPushButton*>(QStringLiteral("B_OK"))->click();
        w->findChild<QPushButton*>(QStringLiteral("B_Close"))->click();
      }
    }
  });
  command->trigger();
  auto* choice = window.findChild<QComboBox*>(QStringLiteral("CB_Line_No"));
  ASSERT_EQ(choice->count(), 2);
  EXPECT_EQ(choice->itemText(0), QStringLiteral("1 : Weathered sands..."));
  EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("L_Description"))->text(),
            QStringLiteral(": Weathered sandstone"));
  EXPECT_TRUE(prompter.shown.empty());
  // Choosing another soil shows its description.
  choice->setCurrentIndex(1);
  emit choice->activated(1);
  EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("L_Description"))->text(), QStringLiteral(": Air"));
  // A renamed soil shows its new name; a new project has none to show.
  document->editCell(Table::Soil_Prop, 2, 4, FieldValue(std::string("Sky")));
  EXPECT_EQ(choice->itemText(1), QStringLiteral("2 : Sky"));
  document->newProject({});
  EXPECT_EQ(choice->count(), 0);
}

}  // namespace
}  // namespace pelodyn
