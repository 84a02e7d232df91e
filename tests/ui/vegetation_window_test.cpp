// The vegetation window: the root tables edited through the document,
// Generate on a case worked out by hand, and Export and Restore of the
// soils' cohesions with their faults.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include "model/options.h"
#include "texts/messages.h"
#include "ui/document/guard.h"
#include "ui/document/project_document.h"
#include "ui/models/store_table_model.h"
#include "ui/scripted_prompter.h"
#include "ui/vegetation/vegetation_window.h"
#include "ui/widgets/grid_editor.h"

namespace pelodyn {
namespace {

Row Soil(int no, double c, double phi, double gamma, const char* description) {
  Row r(Table::Soil_Prop);
  r.set(SoilCommonField::LineNo, no)
      .set(SoilField::Cohesion, c)
      .set(SoilField::Phi, phi)
      .set(SoilCommonField::UnitWeight, gamma);
  r.set(SoilCommonField::Description, description).set(SoilCommonField::Color, 255);
  return r;
}

std::vector<double> Cohesions(ProjectDocument& d, Table table = Table::Soil_Prop) {
  std::vector<double> out;
  for (const Row& r : d.project().store->rows(table)) out.push_back(r.real(SoilField::Cohesion));
  return out;
}

class VegetationWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    document = ProjectDocument::openPrivate();
    document->setLanguage(1);
    SetErrorPrompter(&prompter);
    window = std::make_unique<VegetationWindow>(*document, prompter);
    // One root type of cohesion 10 reaching 2 in layer 1 and nothing in
    // layer 2; one plant at (1, 1). Area (0, 0)-(2, 4) in cells of 2 x 2
    // with 2 x 2 minor cells, window 1 x 1: C[1,1] = 10, C[1,2] = 6 (the
    // minor centres at y = 2.5 lie within 2), C[2,1] = C[2,2] = 2.
    Row type(Table::Root_No);
    type.set(RootField::RootNo, 1).set(RootField::Description, "Vetiver").set(RootField::Cohesion, 10.0);
    Row layer1(Table::Root_Layer), layer2(Table::Root_Layer);
    layer1.set(RootLayerField::RootNo, 1).set(RootLayerField::LayerNo, 1).set(RootLayerField::Radius, 2.0);
    layer2.set(RootLayerField::RootNo, 1).set(RootLayerField::LayerNo, 2).set(RootLayerField::Radius, 0.0);
    Row plant(Table::Root_Position);
    plant.set(RootPositionField::No, 1)
        .set(RootPositionField::RootType, 1)
        .set(RootPositionField::X, 1.0)
        .set(RootPositionField::Y, 1.0);
    document->insertRows(Table::Root_No, 1, {type});
    document->insertRows(Table::Root_Layer, 1, {layer1, layer2});
    document->insertRows(Table::Root_Position, 1, {plant});
    setBoxes({{"E_Max_Area_X", "2"},
              {"E_Max_Area_Y", "4"},
              {"E_Hor_Grid_No", "1"},
              {"E_Ver_Grid_No", "2"},
              {"E_Hor_SmallGrid_No", "2"},
              {"E_Ver_SmallGrid_No", "2"},
              {"E_Eff_Width_No", "1"},
              {"E_Eff_Length_No", "1"}});
    document->insertRows(
        Table::Soil_Prop, 1,
        {Soil(1, 20, 30, 18, "1,1"), Soil(2, 21, 30, 18, "Clay"), Soil(3, 22, 30, 18, "1,2"), Soil(4, 0, 0, 0, "2,1")});
    document->markSaved(document->projectFilePath());
  }
  void TearDown() override {
    window.reset();
    SetErrorPrompter(nullptr);
  }
  void setBoxes(std::initializer_list<std::pair<const char*, const char*>> boxes) {
    for (const auto& [name, text] : boxes) {
      window->findChild<QLineEdit*>(QString::fromLatin1(name))->setText(QString::fromLatin1(text));
    }
  }
  void click(const char* name) { window->findChild<QPushButton*>(QString::fromLatin1(name))->click(); }
  QString report() const { return window->findChild<QPlainTextEdit*>(QStringLiteral("M_Result"))->toPlainText(); }
  QString lastText() const { return prompter.shown.empty() ? QString() : prompter.shown.back().text; }

  test::ScriptedPrompter prompter;
  std::unique_ptr<ProjectDocument> document;
  std::unique_ptr<VegetationWindow> window;
};

TEST_F(VegetationWindowTest, TheStartingBoxesAndTheGridsOverTheRootTables) {
  VegetationWindow fresh(*document, prompter);
  const std::pair<const char*, const char*> first[] = {
      {"E_Original_Cohesion", "2"}, {"E_Min_Area_X", "0"},   {"E_Min_Area_Y", "0"},     {"E_Max_Area_X", "2"},
      {"E_Max_Area_Y", "30.02"},    {"E_Hor_Grid_No", "2"},  {"E_Ver_Grid_No", "26"},   {"E_Hor_SmallGrid_No", "10"},
      {"E_Ver_SmallGrid_No", "10"}, {"E_Eff_Width_No", "2"}, {"E_Eff_Length_No", "26"}, {"E_Layer_Height", "0.5"},
  };
  for (const auto& [name, text] : first) {
    EXPECT_EQ(fresh.findChild<QLineEdit*>(QString::fromLatin1(name))->text(), text) << name;
  }
  EXPECT_EQ(fresh.windowTitle(), "Vegetation");
  auto* pages = fresh.findChild<QTabWidget*>(QStringLiteral("PC_Vegetation"));
  ASSERT_EQ(pages->count(), 3);
  EXPECT_EQ(pages->tabText(0), "Root Properties");
  EXPECT_EQ(pages->tabText(2), "Results");

  // A typed cell is an undoable edit of the document.
  for (GridEditor* grid : {window->rootNoGrid(), window->rootLayerGrid(), window->rootPositionGrid()}) {
    QAbstractItemModelTester tester(grid->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  }
  StoreTableModel& plants = window->rootPositionGrid()->storeModel();
  ASSERT_TRUE(plants.setData(plants.index(0, 2), QStringLiteral("1.5")));
  EXPECT_EQ(document->project().store->rowAt(Table::Root_Position, 1).real(RootPositionField::X), 1.5);
  document->undo();
  EXPECT_EQ(document->project().store->rowAt(Table::Root_Position, 1).real(RootPositionField::X), 1.0);
  EXPECT_EQ(window->rootNoGrid()->model()->headerData(1, Qt::Horizontal).toString(), "Description");
}

TEST_F(VegetationWindowTest, GenerateReportsTheWeakestRowAndTheProfile) {
  click("B_Gen_VegEff");
  EXPECT_EQ(report(),
            "Min. cohesion row is 2\nMin. cohesion column is 1\n\nC[1,1] = 10\nC[1,2] = 6\nC[2,1] = 2\nC[2,2] = 2");
  // A box that does not convert stops Generate; the results stay.
  setBoxes({{"E_Eff_Width_No", "abc"}});
  click("B_Gen_VegEff");
  EXPECT_EQ(lastText(), "Eff. width: 'abc' is not a valid integer value");
  ASSERT_TRUE(window->result().has_value());
  EXPECT_EQ(window->result()->rows, 2);
  // Refusals name the fault and keep the results too.
  setBoxes({{"E_Eff_Width_No", "2"}});
  click("B_Gen_VegEff");
  EXPECT_EQ(lastText(), "The effective width and length (2 x 1) must not exceed the divisions (1 x 2).");
  setBoxes({{"E_Eff_Width_No", "1"}});
  Row orphan(Table::Root_Position);
  orphan.set(RootPositionField::No, 2)
      .set(RootPositionField::RootType, 7)
      .set(RootPositionField::X, 0.0)
      .set(RootPositionField::Y, 0.0);
  document->insertRows(Table::Root_Position, 2, {orphan});
  click("B_Gen_VegEff");
  EXPECT_EQ(lastText(), "Plants, row 2: root type 7 has no row in Root types.");
  EXPECT_TRUE(report().startsWith(QStringLiteral("Min. cohesion row is 2")));
}

TEST_F(VegetationWindowTest, ExportBeforeGenerateAndRestoreWithoutBackupChangeNothing) {
  click("B_Export");
  EXPECT_EQ(prompter.shown.back().kind, "error");
  EXPECT_EQ(lastText(), "Generate the vegetation effect before Export.");
  click("B_Restore");
  EXPECT_EQ(prompter.shown.back().kind, "information");
  EXPECT_TRUE(lastText().startsWith(QStringLiteral("There is no backup of the soil properties")));
  EXPECT_EQ(Cohesions(*document), (std::vector<double>{20, 21, 22, 0}));
  EXPECT_EQ(document->undoStack().count(), document->undoStack().cleanIndex());

  // After New the backup of an earlier Export is gone: Restore says so and
  // never empties the soil table.
  click("B_Gen_VegEff");
  click("B_Export");
  document->newProject([](Project&) {});
  document->insertRows(Table::Soil_Prop, 1, {Soil(1, 5, 30, 18, "1,1")});
  click("B_Restore");
  EXPECT_TRUE(lastText().startsWith(QStringLiteral("There is no backup of the soil properties")));
  EXPECT_EQ(Cohesions(*document), (std::vector<double>{5}));
  // Nor are the previous project's results shown or exported into this one.
  EXPECT_TRUE(report().isEmpty());
  EXPECT_FALSE(window->result().has_value());
  click("B_Export");
  EXPECT_EQ(lastText(), "Generate the vegetation effect before Export.");
  EXPECT_EQ(Cohesions(*document), (std::vector<double>{5}));
}

TEST_F(VegetationWindowTest, ABadRowRefusesTheExportAndChangesNothing) {
  click("B_Gen_VegEff");
  document->editCell(Table::Soil_Prop, 2, 4, FieldValue(std::string("3,1")));
  const int steps = document->undoStack().count();
  click("B_Export");
  EXPECT_EQ(lastText(), "Soil Properties, row 2 (\"3,1\"): layer 3 is not between 1 and 2.");
  document->editCell(Table::Soil_Prop, 2, 4, FieldValue(std::string("1,two")));
  click("B_Export");
  EXPECT_EQ(lastText(), "Soil Properties, row 2 (\"1,two\"): 'two' is not a valid integer value");
  EXPECT_EQ(Cohesions(*document), (std::vector<double>{20, 21, 22, 0}));
  EXPECT_EQ(document->project().store->rowCount(Table::Soil_Prop_Bak), 0);
  EXPECT_EQ(document->undoStack().count(), steps + 1);  // the second cell edit only
}

TEST_F(VegetationWindowTest, ExportKeepsOneBackupAndRestorePutsBackOnlyWhatItWrote) {
  click("B_Gen_VegEff");
  const int steps = document->undoStack().count();
  click("B_Export");
  EXPECT_EQ(Cohesions(*document), (std::vector<double>{10, 21, 6, 0}));
  EXPECT_EQ(Cohesions(*document, Table::Soil_Prop_Bak), (std::vector<double>{20, 21, 22, 0}));
  // It says which rows it changed, as the soil table shows them.
  EXPECT_EQ(prompter.shown.back().kind, "information");
  EXPECT_EQ(lastText(),
            "Export changed the soil properties of the project:\nSoil Properties, row 1 (Soil No. 1): Cohesion 20 -> "
            "10\nSoil Properties, row 3 (Soil No. 3): Cohesion 22 -> 6");
  // One undoable step for both tables.
  EXPECT_EQ(document->undoStack().count(), steps + 1);
  document->undo();
  EXPECT_EQ(Cohesions(*document), (std::vector<double>{20, 21, 22, 0}));
  EXPECT_EQ(document->project().store->rowCount(Table::Soil_Prop_Bak), 0);
  document->redo();

  // A second Export after another Generate keeps the first backup.
  setBoxes({{"E_Original_Cohesion", "4"}});
  click("B_Gen_VegEff");
  document->setLanguage(kLanguageThai);
  click("B_Export");
  EXPECT_EQ(Cohesions(*document), (std::vector<double>{10, 21, 7, 0}));
  EXPECT_EQ(lastText(), "การส่งออกได้เปลี่ยนคุณสมบัติดินของโครงการ:\nคุณสมบัติดิน แถวที่ 3 (ชั้นดิน 3): แรงยึดเหนี่ยว 6 -> 7");
  // An Export that writes the values already there says it changed nothing.
  click("B_Export");
  EXPECT_EQ(lastText(), "การส่งออกไม่ได้เปลี่ยนข้อมูลใด: ชั้นดินที่ส่งออกมีค่าแรงยึดเหนี่ยวนี้อยู่แล้ว หรือไม่มีชั้นดินที่ระบุชั้นและแถวของรากพืช");
  document->setLanguage(kLanguageEnglish);
  EXPECT_EQ(Cohesions(*document, Table::Soil_Prop_Bak), (std::vector<double>{20, 21, 22, 0}));

  // The user edits an exported cohesion and another soil, and adds a row.
  document->editCell(Table::Soil_Prop, 3, 1, FieldValue(7.5));
  document->editCell(Table::Soil_Prop, 2, 2, FieldValue(25.0));
  document->insertRows(Table::Soil_Prop, 5, {Soil(5, 30, 30, 18, "1,1")});
  click("B_Restore");
  EXPECT_EQ(Cohesions(*document), (std::vector<double>{20, 21, 7.5, 0, 30}));
  EXPECT_EQ(document->project().store->rowAt(Table::Soil_Prop, 2).real(SoilField::Phi), 25.0);
  // The backup was used up: a second Restore has none.
  EXPECT_EQ(document->project().store->rowCount(Table::Soil_Prop_Bak), 0);
  click("B_Restore");
  EXPECT_TRUE(lastText().startsWith(QStringLiteral("There is no backup of the soil properties")));
  EXPECT_EQ(Cohesions(*document), (std::vector<double>{20, 21, 7.5, 0, 30}));
}

TEST_F(VegetationWindowTest, UnderTheAnisotropicModelExportSaysTheTableIsNotUsed) {
  document->setOptionIndex(Option::CB_Strength_Model, 1);
  click("B_Gen_VegEff");
  click("B_Export");
  EXPECT_EQ(prompter.shown.back().kind, "information");
  EXPECT_EQ(lastText(),
            "The cohesions were written into the Mohr-Coulomb soil table, but the anisotropic strength model in use "
            "does not read that table.");
  EXPECT_EQ(Cohesions(*document), (std::vector<double>{10, 21, 6, 0}));
}

}  // namespace
}  // namespace pelodyn
