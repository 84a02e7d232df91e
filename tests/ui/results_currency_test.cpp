// Results belong to the data they came from: an edit of any input of the
// analysis puts the held results out of date everywhere they are shown or
// saved, undo back to the run's data makes them current again, and a saved
// project carries its results (and its root data) into the next Open.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "model/data_fingerprint.h"
#include "model/verification.h"
#include "persistence/companion_file.h"
#include "persistence/project_file.h"
#include "persistence/result_file.h"
#include "persistence/sqlite_store.h"
#include "texts/captions.h"
#include "ui/document/project_document.h"
#include "ui/file_bytes.h"
#include "ui/results/failure_geometry_window.h"
#include "ui/results/slice_forces_window.h"
#include "ui/run/progress_window.h"
#include "ui/run/run_controller.h"
#include "ui/scripted_prompter.h"
#include "ui/shell/main_window.h"
#include "ui/window_fixture.h"
#include "view/section_view.h"

namespace pelodyn {
namespace {

namespace fs = std::filesystem;

class ResultsCurrencyTest : public test::WindowTest {
 protected:
  QString status() const { return window->statusBar()->currentMessage(); }
  bool showsResults() {
    return document->resultsCurrent() && progress().resultsModel().rowCount() > 0 &&
           !document->presentedSurfaces().empty() && !window->view()->criticalSurfaces().empty() &&
           status().startsWith("Calculation Complete");
  }
  // Nothing of the old run in the drawing, the status line, the progress
  // window and the Failure Geometry window.
  bool showsNoResults() {
    for (const char* name : {"L_FS_Ord", "L_FS_Simp_Jan", "L_FS_Simp_Bis", "L_FS_Spe"}) {
      if (progress().findChild<QLabel*>(name)->text() != "XX.XXX") return false;
    }
    // Nor the details' rows, sorted or not.
    if (progress().resultsModel().rowCount() != 0 || progress().sortedModel().rowCount() != 0) return false;
    FailureGeometryWindow geometry(*document, window.get());
    geometry.show();
    for (const char* name : {"L_Failure_SB", "L_Failure_X_Center", "L_Failure_Radius", "L_Surface_Shown"}) {
      if (!geometry.findChild<QLabel*>(name)->text().isEmpty()) return false;
    }
    // Nor the Slice Forces window: no forces of the old surface.
    SliceForcesWindow forces(*document, window.get());
    if (forces.table().rowCount() != 0 || forces.normalSeries().count() != 0 || !forces.solutionText().isEmpty()) {
      return false;
    }
    return !document->resultsCurrent() && document->presentedSurfaces().empty() &&
           window->view()->criticalSurfaces().empty() &&
           status() == QString::fromUtf8(UiTextFor(1, UiText::ResultsOutOfDate).data()) && !document->hasOwnResults() &&
           !document->resultsStamp().has_value();
  }
};

Row SoilRow(ProjectDocument& d, int position) {
  return d.project().store->rowAt(Table::Soil_Prop, position);
}

TEST_F(ResultsCurrencyTest, EveryInputEditPutsTheResultsOutOfDateAndUndoBringsThemBack) {
  struct Edit {
    const char* what;
    std::function<void(ProjectDocument&)> apply;
  };
  const Edit edits[] = {
      {"a soil's cohesion",
       [](ProjectDocument& d) { d.editCell(Table::Soil_Prop, 1, SoilRow(d, 1).fieldIndex("Cohesion"), 300.0); }},
      {"a boundary point",
       [](ProjectDocument& d) {
         const Row r = d.project().store->rowAt(Table::Geometry, 4);
         d.editCell(Table::Geometry, 4, r.fieldIndex("Coordi Y"), r.real(GeometryField::Y) + 0.5);
       }},
      {"the water line",
       [](ProjectDocument& d) {
         Row p(Table::Waterline);
         p.set(PointField::PointNo, 1).set(PointField::X, 0.0).set(PointField::Y, 30.0);
         d.insertRows(Table::Waterline, 1, {p});
       }},
      {"a line load",
       [](ProjectDocument& d) {
         Row load(Table::Lineload);
         load.set(LineLoadField::LoadNo, 1)
             .set(LineLoadField::Magnitude, 50.0)
             .set(LineLoadField::X, 30.0)
             .set(LineLoadField::Y, 60.0);
         d.insertRows(Table::Lineload, 1, {load});
       }},
      {"a method", [](ProjectDocument& d) { d.setOptionChecked(Option::CB_Ordinary, false); }},
      {"the robust Spencer choice", [](ProjectDocument& d) { d.setOptionChecked(Option::CB_Robust_Spencer, true); }},
      {"a search setting", [](ProjectDocument& d) { d.setOptionText(Option::E_Cir_Slice, "12"); }},
      {"the theory", [](ProjectDocument& d) { d.setOptionIndex(Option::RG_Theory, 2); }},
      {"vegetation Export",
       [](ProjectDocument& d) {
         Row soil = SoilRow(d, 1);
         soil.set(SoilField::Cohesion, 12.6);
         Row backup = SoilRow(d, 1);
         backup = Row(Table::Soil_Prop_Bak);
         for (std::size_t f = 0; f < soil.fieldCount(); ++f) backup.value(f) = SoilRow(d, 1).value(f);
         d.replaceTables("Export vegetation cohesion",
                         {{Table::Soil_Prop, {soil, SoilRow(d, 2)}}, {Table::Soil_Prop_Bak, {backup}}});
       }},
      {"vegetation Restore",
       [](ProjectDocument& d) {
         // What Restore writes back: the soil table as its backup had it.
         Row soil = SoilRow(d, 1);
         soil.set(SoilField::Cohesion, 550.0);
         d.replaceTables("Restore soil properties", {{Table::Soil_Prop, {soil, SoilRow(d, 2)}}});
       }},
  };
  open("homogeneous-grid.pdd");
  const fs::path project = dir / "homogeneous-grid.pdd";
  const fs::path pdr = fs::path(project).replace_extension(".pdr");
  runToEnd();
  ASSERT_TRUE(showsResults()) << status().toStdString();
  // Saved once, the project's result file lies beside it.
  window->commands().action("MN_Save")->trigger();
  ASSERT_TRUE(fs::exists(pdr));
  const std::string savedPdr = test::Bytes(pdr);

  for (const Edit& edit : edits) {
    SCOPED_TRACE(edit.what);
    progress().sortResults();
    ASSERT_GT(progress().sortedModel().rowCount(), 0);
    edit.apply(*document);
    EXPECT_TRUE(showsNoResults()) << status().toStdString();
    // With PELODYN_PICTURES set, what the user sees, in both languages.
    if (const QString folder = qEnvironmentVariable("PELODYN_PICTURES"); !folder.isEmpty() && &edit == edits) {
      window->resize(1200, 760);
      window->show();
      QCoreApplication::processEvents();
      window->grab().save(folder + "/out-of-date-english.png");
      window->setLanguage(0);
      QCoreApplication::processEvents();
      window->grab().save(folder + "/out-of-date-thai.png");
      window->setLanguage(1);
    }
    // Save writes the new data and leaves no result file of the old.
    prompter.shown.clear();
    window->commands().action("MN_Save")->trigger();
    EXPECT_FALSE(fs::exists(pdr));
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_TRUE(prompter.shown.front().text.contains("removed")) << prompter.shown.front().text.toStdString();
    // Undo to the run's data: the results are current again, and unsaved,
    // since no result file holds them now.
    document->undo();
    EXPECT_TRUE(showsResults()) << status().toStdString();
    EXPECT_TRUE(document->resultsUnsaved());
    window->commands().action("MN_Save")->trigger();
    ASSERT_TRUE(fs::exists(pdr));
    EXPECT_EQ(test::Bytes(pdr), savedPdr);
    EXPECT_FALSE(document->hasUnsavedWork());
  }
}

TEST_F(ResultsCurrencyTest, UndoToAnEmptyProjectLeavesNothingDrawn) {
  // The example's data typed into a new project as one step.
  Project scratch(SqliteWorkingStore::OpenInMemory());
  {
    SilentPlatform silent;
    NewProject(scratch);
    ReadAnyProjectFile(scratch, silent, fs::path(PELODYN_EXAMPLES) / "homogeneous-grid.pdd");
  }
  window->fileCommands().runNewProject(false);
  document->setOptions("Type the example", [&](OptionValues& o) { o = scratch.options; });
  document->replaceTables("Type the example", {{Table::Soil_Prop, scratch.store->rows(Table::Soil_Prop)},
                                               {Table::Geometry, scratch.store->rows(Table::Geometry)}});
  runToEnd();
  ASSERT_TRUE(showsResults()) << status().toStdString();
  while (document->undoStack().canUndo()) document->undo();
  EXPECT_TRUE(showsNoResults()) << status().toStdString();
  while (document->undoStack().canRedo()) document->redo();
  EXPECT_TRUE(showsResults()) << status().toStdString();
}

TEST_F(ResultsCurrencyTest, ResultsAreUnsavedWorkUntilTheirFileIsWritten) {
  open("homogeneous-grid.pdd");
  EXPECT_FALSE(document->hasUnsavedWork());
  runToEnd();
  EXPECT_TRUE(document->hasUnsavedWork());
  EXPECT_FALSE(document->isModified());
  EXPECT_TRUE(window->isWindowModified());
  // New asks, naming the results; Cancel keeps them.
  prompter.shown.clear();
  prompter.saveAnswers = {SaveChoice::Cancel};
  EXPECT_FALSE(window->fileCommands().newCommand());
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_TRUE(prompter.shown[0].text.contains("results")) << prompter.shown[0].text.toStdString();
  EXPECT_TRUE(showsResults());
  // Save answers it: the result file is written and nothing is unsaved.
  prompter.saveAnswers = {SaveChoice::Save};
  EXPECT_TRUE(window->fileCommands().newCommand());
  EXPECT_TRUE(fs::exists(dir / "homogeneous-grid.pdr"));
  EXPECT_FALSE(document->hasUnsavedWork());
}

TEST_F(ResultsCurrencyTest, SavedResultsAndRootDataComeBackWithTheProjectAndGoWithNew) {
  open("homogeneous-grid.pdd");
  const fs::path project = dir / "homogeneous-grid.pdd";
  Row root(Table::Root_No);
  root.set(RootField::RootNo, 1).set(RootField::Description, "Vetiver").set(RootField::Cohesion, 12.5);
  Row plant(Table::Root_Position);
  plant.set(RootPositionField::No, 1)
      .set(RootPositionField::RootType, 1)
      .set(RootPositionField::X, 70.0)
      .set(RootPositionField::Y, 55.0);
  document->insertRows(Table::Root_No, 1, {root});
  document->insertRows(Table::Root_Position, 1, {plant});
  runToEnd();
  const auto minima = document->project().run.Minimum;
  const auto surfaces = document->presentedSurfaces();
  ASSERT_FALSE(surfaces.empty());
  window->commands().action("MN_Save")->trigger();
  ASSERT_TRUE(fs::exists(dir / "homogeneous-grid.pdx"));

  window->fileCommands().runNewProject(false);
  EXPECT_EQ(document->project().store->rowCount(Table::Root_No), 0);
  EXPECT_EQ(document->project().store->rowCount(Table::Root_Position), 0);
  EXPECT_FALSE(document->lastRun().has_value());
  EXPECT_TRUE(window->view()->criticalSurfaces().empty());

  ASSERT_TRUE(window->fileCommands().openPath(QString::fromStdString(project.string())));
  EXPECT_EQ(document->project().store->rows(Table::Root_No), std::vector<Row>{root});
  EXPECT_EQ(document->project().store->rows(Table::Root_Position), std::vector<Row>{plant});
  EXPECT_TRUE(showsResults()) << status().toStdString();
  EXPECT_FALSE(document->hasUnsavedWork());
  EXPECT_EQ(document->project().run.Minimum, minima);
  ASSERT_EQ(document->presentedSurfaces().size(), surfaces.size());
  for (std::size_t k = 0; k < surfaces.size(); ++k) {
    EXPECT_EQ(document->presentedSurfaces()[k].labelFs, surfaces[k].labelFs);
  }
  EXPECT_GT(document->project().store->rowCount(Table::Results), 0);

  // Another project opened: none of this one's root data or results.
  open("layered-phreatic-loads.pdd");
  EXPECT_EQ(document->project().store->rowCount(Table::Root_No), 0);
  EXPECT_EQ(document->project().store->rowCount(Table::Root_Position), 0);
  EXPECT_FALSE(document->lastRun().has_value());

  // The project file changed by other means: its result file is not shown.
  {
    std::string bytes = test::Bytes(project);
    bytes.replace(bytes.find("600.000"), 7, "500.000");
    test::WriteBytes(project, bytes);
  }
  ASSERT_TRUE(window->fileCommands().openPath(QString::fromStdString(project.string())));
  EXPECT_FALSE(document->lastRun().has_value());
  EXPECT_TRUE(document->presentedSurfaces().empty());
  EXPECT_TRUE(status().contains("does not come from this project's data")) << status().toStdString();
}

TEST_F(ResultsCurrencyTest, TheWindowsRunRefusesInputsNoRealSectionHas) {
  struct Case {
    const char* what;
    std::function<void(ProjectDocument&)> apply;
    const char* says;
  };
  const Case cases[] = {
      {"a negative unit weight",
       [](ProjectDocument& d) { d.editCell(Table::Soil_Prop, 1, SoilRow(d, 1).fieldIndex("Unit Weight"), -19.5); },
       "Soil No. 1: Unit Weight = -19.5 is negative."},
      {"a negative cohesion",
       [](ProjectDocument& d) { d.editCell(Table::Soil_Prop, 1, SoilRow(d, 1).fieldIndex("Cohesion"), -5.0); },
       "Soil No. 1: Cohesion = -5 is negative."},
      {"a friction angle of 90 degrees",
       [](ProjectDocument& d) { d.editCell(Table::Soil_Prop, 1, SoilRow(d, 1).fieldIndex("Phi"), 90.0); },
       "degrees is 90 or more"},
      {"no method",
       [](ProjectDocument& d) {
         d.setOptions("No method", [](OptionValues& o) {
           for (const char* m : {OptionCName(Option::CB_Ordinary), OptionCName(Option::CB_Simp_Janbu),
                                 OptionCName(Option::CB_Simp_Bishop), OptionCName(Option::CB_Spencer)}) {
             o.setChecked(OptionNamed(m), false);
           }
         });
       },
       "No method is selected."},
      {"an automatic search without increments",
       [](ProjectDocument& d) {
         d.setOptions("Automatic", [](OptionValues& o) {
           o.setItemIndex(Option::CB_Cir_Search, 2);
           o.setText(Option::E_Xauto_Start, "118");
           o.setText(Option::E_Yauto_Start, "112");
         });
       },
       "Automatic search: "},
      {"a water line without points", [](ProjectDocument& d) { d.setOptionIndex(Option::CB_Seepage, 1); },
       "the water line has no point"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    open("homogeneous-grid.pdd");
    c.apply(*document);
    prompter.shown.clear();
    EXPECT_EQ(runToEnd(), -1);
    EXPECT_TRUE(prompter.sawText(QString::fromUtf8(c.says)))
        << (prompter.shown.empty() ? std::string("nothing shown") : prompter.shown.back().text.toStdString());
    EXPECT_FALSE(document->lastRun().has_value());
    window->progressWindow()->close();
  }
}

TEST_F(ResultsCurrencyTest, ResultsTheCommandLineSavedAreShownWithTheProject) {
  const fs::path project = dir / "homogeneous-grid.pdd";
  fs::copy_file(fs::path(PELODYN_EXAMPLES) / "homogeneous-grid.pdd", project);
  const std::string command =
      std::string(PELODYN_CLI) + " analyse --quiet --threads 1 " + project.string() + " >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  ASSERT_TRUE(fs::exists(dir / "homogeneous-grid.pdx"));
  ASSERT_TRUE(window->fileCommands().openPath(QString::fromStdString(project.string())));
  EXPECT_TRUE(showsResults()) << status().toStdString();
  EXPECT_NEAR(document->project().run.Minimum[Bishop].Fs, 1.9992, 5e-5);
}

}  // namespace
}  // namespace pelodyn
