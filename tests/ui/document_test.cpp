// The document is the only writer of the project: every kind of edit is one
// undoable step that undo takes back bit for bit (tables and option values)
// and redo puts back, and the modified mark is the stack's clean state.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <array>
#include <filesystem>
#include <functional>

#include "model/collection.h"
#include "model/verification.h"
#include "persistence/project_file.h"
#include "persistence/sqlite_store.h"
#include "ui/document/project_document.h"

namespace pelodyn {
namespace {

// Everything an edit may touch: every table, every option value and the
// model flags that mirror options.
struct Snapshot {
  std::vector<std::vector<Row>> tables;
  OptionValues options;
  std::array<int, 11> flags{};
  bool operator==(const Snapshot&) const = default;
};

Snapshot Take(ProjectDocument& d) {
  Snapshot s;
  const Project& p = d.project();
  for (Table t : AllTables()) s.tables.push_back(p.store->rows(t));
  s.options = p.options;
  const AnalysisModel& m = p.model;
  s.flags = {m.AnalysisTheory,  m.UseOrdinary,      m.UseSimplifiedJanbu, m.UseSimplifiedBishop,
             m.UseSpencer,      m.SeepageKind,      m.SeismicEnabled,     m.TensionCrackEnabled,
             m.LineLoadEnabled, m.StripLoadEnabled, m.AnchorEnabled};
  return s;
}

std::unique_ptr<ProjectDocument> OpenExample(const char* name) {
  auto document = ProjectDocument::openPrivate();
  Project scratch(SqliteWorkingStore::OpenInMemory());
  NewProject(scratch);
  SilentPlatform silent;
  const std::filesystem::path file = std::filesystem::path(PELODYN_EXAMPLES) / name;
  ReadAnyProjectFile(scratch, silent, file);
  document->adoptProject(scratch, QString::fromStdString(file.string()));
  return document;
}

Row SoilRow(int line, double cohesion) {
  Row r(Table::Soil_Prop);
  r.set(SoilCommonField::LineNo, line)
      .set(SoilField::Cohesion, cohesion)
      .set(SoilField::Phi, 30.0)
      .set(SoilCommonField::UnitWeight, 19.0);
  r.set(SoilCommonField::Description, "ทรายแน่น").set(SoilCommonField::Color, 255);
  return r;
}

Row PointRow(int point, double x, double y) {
  Row r(Table::Geometry);
  r.set(GeometryField::LineNo, 1).set(GeometryField::PointNo, point).set(GeometryField::X, x).set(GeometryField::Y, y);
  return r;
}

struct EditCase {
  const char* name;
  std::function<void(ProjectDocument&)> edit;
};

const std::vector<EditCase>& Edits() {
  static const std::vector<EditCase> cases = {
      {"text of an edit box", [](ProjectDocument& d) { d.setOptionText(Option::E_Kh, "0.15"); }},
      {"text typed key by key",
       [](ProjectDocument& d) {
         for (const char* t : {"0", "0.", "0.3", "0.35"}) d.setOptionText(Option::E_Kv, t);
       }},
      {"check box", [](ProjectDocument& d) { d.setOptionChecked(Option::CB_Ordinary, true); }},
      {"check box of a load",
       [](ProjectDocument& d) {
         d.setOptionChecked(Option::CB_Seismic_Disable, !d.project().options.checked(Option::CB_Seismic_Disable));
       }},
      {"radio group", [](ProjectDocument& d) { d.setOptionIndex(Option::RG_Theory, 2); }},
      {"combo box", [](ProjectDocument& d) { d.setOptionIndex(Option::CB_Seepage, 2); }},
      {"several options at once",
       [](ProjectDocument& d) {
         d.setOptions("Grid", [](OptionValues& o) {
           o.setText(Option::E_12_Division, "8");
           o.setText(Option::E_23_Division, "9");
           o.setChecked(Option::CB_Grid_Increment, true);
         });
       }},
      {"a number cell", [](ProjectDocument& d) { d.editCell(Table::Soil_Prop, 1, 1, FieldValue{12.5}); }},
      {"a text cell",
       [](ProjectDocument& d) { d.editCell(Table::Soil_Prop, 2, 4, FieldValue{std::string("ดินเหนียว")}); }},
      {"an empty cell", [](ProjectDocument& d) { d.editCell(Table::Geometry, 3, 2, FieldValue{}); }},
      {"insert before the first row",
       [](ProjectDocument& d) { d.insertRows(Table::Geometry, 1, {PointRow(0, -5.0, 1.0)}); }},
      {"insert in the middle",
       [](ProjectDocument& d) {
         d.insertRows(Table::Soil_Prop, 2, {SoilRow(9, 1.0), SoilRow(10, 2.0)});
       }},
      {"append",
       [](ProjectDocument& d) {
         const int n = d.project().store->rowCount(Table::Geometry);
         d.insertRows(Table::Geometry, n + 1, {PointRow(99, 200.0, 0.0)});
       }},
      {"delete rows in the middle", [](ProjectDocument& d) { d.removeRows(Table::Geometry, 2, 3); }},
      {"delete the last row",
       [](ProjectDocument& d) { d.removeRows(Table::Soil_Prop, d.project().store->rowCount(Table::Soil_Prop), 1); }},
      {"replace a table", [](ProjectDocument& d) { d.replaceRows(Table::Soil_Prop, {SoilRow(1, 3.0)}); }},
      {"empty a table", [](ProjectDocument& d) { d.replaceRows(Table::Geometry, {}); }},
  };
  return cases;
}

// The flags that mirror options follow one rule, whoever sets them: the
// collection before a run or a save, and the document after every edit. For
// the tension crack the collection's rule wins: the crack is on only when
// its box is not checked AND its table has points; the box alone does not
// turn it on.
TEST(ProjectDocumentFlags, TheCrackIsOnOnlyWithItsBoxAndItsPointsForTheDocumentAsForTheCollection) {
  struct Case {
    bool disabled;
    int points;
    int on;
  };
  for (const Case& c : {Case{false, 0, 0}, Case{false, 2, 1}, Case{true, 2, 0}, Case{true, 0, 0}}) {
    SCOPED_TRACE(std::string(c.disabled ? "box checked, " : "box unchecked, ") + std::to_string(c.points) + " points");
    auto document = OpenExample("homogeneous-grid.pdd");
    std::vector<Row> crack;
    for (int k = 1; k <= c.points; ++k) {
      Row r(Table::Tcrack);
      r.set(PointField::PointNo, k).set(PointField::X, 50.0).set(PointField::Y, 60.0 - 5.0 * k);
      crack.push_back(r);
    }
    // The order of the two edits does not matter: either one brings the
    // flag up to date.
    document->setOptionChecked(Option::CB_Tension_Disable, c.disabled);
    document->replaceRows(Table::Tcrack, crack);
    const AnalysisModel& m = document->project().model;
    EXPECT_EQ(m.TensionCrackEnabled, c.on) << "the document";
    document->replaceRows(Table::Tcrack, {});
    document->setOptionChecked(Option::CB_Tension_Disable, !c.disabled);
    document->replaceRows(Table::Tcrack, crack);
    document->setOptionChecked(Option::CB_Tension_Disable, c.disabled);
    EXPECT_EQ(m.TensionCrackEnabled, c.on) << "the document, box set last";
    const Snapshot synced = Take(*document);

    SilentPlatform silent;
    CollectAnalysisData(document->projectForAnalysis(), silent, CollectionPurpose::Save);
    ASSERT_EQ(m.DataError, 0);
    EXPECT_EQ(m.TensionCrackEnabled, c.on) << "the collection";
    EXPECT_EQ(Take(*document).flags, synced.flags) << "every mirrored flag as the document set it";
  }
}

TEST(ProjectDocumentUndo, EveryKindOfEditIsOneStepThatUndoTakesBackBitForBit) {
  for (const EditCase& c : Edits()) {
    SCOPED_TRACE(c.name);
    auto document = OpenExample("layered-phreatic-loads.pdd");
    const QUndoStack& stack = document->undoStack();
    ASSERT_TRUE(stack.isClean());
    ASSERT_FALSE(document->isModified());
    const Snapshot before = Take(*document);

    c.edit(*document);
    const Snapshot after = Take(*document);
    EXPECT_NE(after, before) << "the edit changed nothing";
    EXPECT_EQ(stack.count(), 1) << "one edit, one step";
    EXPECT_TRUE(document->isModified());

    document->undo();
    EXPECT_EQ(Take(*document), before);
    EXPECT_TRUE(stack.isClean());
    EXPECT_FALSE(document->isModified());

    document->redo();
    EXPECT_EQ(Take(*document), after);
    EXPECT_TRUE(document->isModified());
  }
}

TEST(ProjectDocumentUndo, TheNotifierTellsWhatChangedOnEditUndoAndRedo) {
  auto document = OpenExample("homogeneous-grid.pdd");
  ProjectNotifier& n = document->notifier();
  QSignalSpy options(&n, &ProjectNotifier::optionChanged);
  QSignalSpy rows(&n, &ProjectNotifier::rowsChanged);
  QSignalSpy modified(&n, &ProjectNotifier::modifiedChanged);

  document->setOptionText(Option::E_Kh, "0.2");
  ASSERT_EQ(options.count(), 1);
  EXPECT_EQ(options.takeFirst().at(0).value<Option>(), Option::E_Kh);
  document->undo();
  EXPECT_EQ(options.count(), 1);
  document->removeRows(Table::Geometry, 2, 1);
  ASSERT_EQ(rows.count(), 1);
  EXPECT_EQ(rows.front().at(0).value<Table>(), Table::Geometry);
  EXPECT_EQ(rows.front().at(1).toInt(), 2);
  // Modified, clean again by undo, modified again.
  EXPECT_GE(modified.count(), 3);
  EXPECT_EQ(modified.back().at(0).toBool(), true);
}

TEST(ProjectDocumentUndo, SaveMarksCleanAndNewOrOpenForgetsTheSteps) {
  auto document = OpenExample("homogeneous-grid.pdd");
  document->setOptionText(Option::E_Kh, "0.2");
  document->setOptionChecked(Option::CB_Ordinary, true);
  document->markSaved(QStringLiteral("/nowhere/saved.pdd"));
  EXPECT_FALSE(document->isModified());
  EXPECT_EQ(document->projectFileName(), "saved.pdd");
  // Undo after a save is a change again.
  document->undo();
  EXPECT_TRUE(document->isModified());
  document->newProject({});
  EXPECT_FALSE(document->isModified());
  EXPECT_EQ(document->undoStack().count(), 0);
  EXPECT_EQ(document->project().options, OptionValues());
}

TEST(ProjectDocumentUndo, TypingOnAfterASaveIsAChangeOfItsOwn) {
  auto document = OpenExample("homogeneous-grid.pdd");
  document->setOptionText(Option::E_Kh, "0.2");
  document->markSaved(QStringLiteral("/nowhere/saved.pdd"));
  document->setOptionText(Option::E_Kh, "0.25");
  EXPECT_TRUE(document->isModified());
  document->undo();
  EXPECT_EQ(document->project().options.text(Option::E_Kh), "0.2");
  EXPECT_FALSE(document->isModified());
}

TEST(ProjectDocumentUndo, AValueAlreadyThereAndAWrongPositionPushNothing) {
  auto document = OpenExample("homogeneous-grid.pdd");
  const std::string kh = document->project().options.text(Option::E_Kh);
  document->setOptionText(Option::E_Kh, QString::fromStdString(kh));
  document->setOptionIndex(Option::RG_Theory, document->project().options.itemIndex(Option::RG_Theory));
  document->replaceRows(Table::Geometry, document->project().store->rows(Table::Geometry));
  EXPECT_EQ(document->undoStack().count(), 0);
  const int n = document->project().store->rowCount(Table::Geometry);
  EXPECT_THROW(document->insertRows(Table::Geometry, n + 2, {PointRow(1, 0, 0)}), StoreError);
  EXPECT_THROW(document->removeRows(Table::Geometry, n, 2), StoreError);
  EXPECT_EQ(document->undoStack().count(), 0);
  EXPECT_EQ(document->project().store->rowCount(Table::Geometry), n);
}

TEST(ProjectDocumentUndo, ARunIsNoEdit) {
  auto document = OpenExample("homogeneous-grid.pdd");
  document->setOptionText(Option::E_Kh, "0");
  const int steps = document->undoStack().count();
  document->beginRun();
  SilentPlatform silent;
  RunOptions options;
  const RunResult result = StartAnalysis(document->projectForAnalysis(), silent, options);
  document->endRun(result);
  document->presentCriticalSurfaces(silent);
  EXPECT_EQ(document->undoStack().count(), steps);
  EXPECT_TRUE(document->hasOwnResults());
  EXPECT_FALSE(document->presentedSurfaces().empty());
  // Undoing the edit leaves the run's results alone.
  document->undo();
  EXPECT_FALSE(document->presentedSurfaces().empty());
  EXPECT_GT(document->project().store->rowCount(Table::Results), 0);
}

}  // namespace
}  // namespace pelodyn
