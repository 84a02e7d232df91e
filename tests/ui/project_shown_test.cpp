// Every window shows the project that is open now: after a run, opening
// another project leaves nothing of the first on screen; a replayed row is
// labelled with its own factor; a run locks the controls that change the
// project; a stopped run says so and its partial results are written only
// when the user wants them; edits are undone from the Edit menu and the
// title carries the modified mark.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <filesystem>

#include "engine/searcher.h"
#include "texts/messages.h"
#include "ui/document/project_document.h"
#include "ui/file_bytes.h"
#include "ui/results/failure_geometry_window.h"
#include "ui/results/results_presenter.h"
#include "ui/run/progress_window.h"
#include "ui/run/run_controller.h"
#include "ui/scripted_prompter.h"
#include "ui/shell/input_strip.h"
#include "ui/shell/main_window.h"
#include "ui/window_fixture.h"
#include "view/section_view.h"

namespace pelodyn {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

class ProjectShownTest : public test::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    window->runController().setThreads(2);
  }
  template <class T = QWidget>
  T* in(QWidget* w, const char* name) {
    return w->findChild<T*>(QString::fromLatin1(name));
  }
  QString title() const {
    QString t = window->windowTitle();
    return t.replace(QStringLiteral("[*]"), window->isWindowModified() ? QStringLiteral("*") : QString());
  }
};

TEST_F(ProjectShownTest, OpeningAnotherProjectAfterARunShowsNothingOfTheFirst) {
  open("homogeneous-grid.pdd");
  runToEnd();
  progress().setDetailsShown(true);
  progress().sortResults();
  action("MN_Draw_Contour")->trigger();
  // The first project's results are on show everywhere.
  ASSERT_GT(progress().resultsModel().rowCount(), 0);
  ASSERT_GT(progress().sortedModel().rowCount(), 0);
  ASSERT_NE(in<QLabel>(&progress(), "L_FS_Simp_Bis")->text(), "XX.XXX");
  ASSERT_TRUE(window->view()->contourMap().has_value());
  ASSERT_TRUE(action("MN_Draw_Contour")->isChecked());
  ASSERT_FALSE(window->view()->criticalSurfaces().empty());
  ASSERT_FALSE(window->statusBar()->currentMessage().isEmpty());

  open("irregular-random.pdd");
  EXPECT_EQ(in<QLabel>(&progress(), "L_Total_Process")->text(), "Total Process");
  EXPECT_EQ(in<QLabel>(&progress(), "L_Process_Percent")->text(), "XX %");
  for (const char* label : {"L_FS_Ord", "L_FS_Simp_Jan", "L_FS_Simp_Bis", "L_FS_Spe"}) {
    EXPECT_EQ(in<QLabel>(&progress(), label)->text(), "XX.XXX") << label;
  }
  EXPECT_EQ(progress().resultsModel().rowCount(), 0);
  EXPECT_EQ(progress().sortedModel().rowCount(), 0);
  EXPECT_FALSE(in<QLabel>(&progress(), "L_Run_Stopped")->isVisible());
  EXPECT_FALSE(window->view()->contourMap().has_value());
  EXPECT_FALSE(action("MN_Draw_Contour")->isChecked());
  EXPECT_TRUE(window->view()->criticalSurfaces().empty());
  EXPECT_FALSE(window->view()->viewOptions().resultAvailable);
  EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty());
  EXPECT_FALSE(document->hasOwnResults());
  // The contour map cannot come back: the new project has no grid search.
  action("MN_Draw_Contour")->trigger();
  EXPECT_FALSE(window->view()->contourMap().has_value());

  FailureGeometryWindow geometry(*document, window.get());
  for (const char* label : {"L_Failure_X_Center", "L_Failure_Radius", "L_Failure_Area", "L_Failure_Spe"}) {
    EXPECT_EQ(in<QLabel>(&geometry, label)->text(), "") << label;
  }
  EXPECT_EQ(geometry.pointsModel().rowCount(), 0);
  EXPECT_FALSE(in<QPushButton>(&geometry, "B_Print")->isEnabled());
}

TEST_F(ProjectShownTest, TheContourButtonTogglesTheMap) {
  open("homogeneous-grid.pdd");
  EXPECT_FALSE(window->results().contoursAvailable());
  action("MN_Draw_Contour")->trigger();
  EXPECT_FALSE(window->view()->contourMap().has_value()) << "no run, no map";
  EXPECT_FALSE(action("MN_Draw_Contour")->isChecked());
  runToEnd();
  action("MN_Draw_Contour")->trigger();
  EXPECT_TRUE(window->view()->contourMap().has_value());
  action("MN_Draw_Contour")->trigger();
  EXPECT_FALSE(window->view()->contourMap().has_value());
}

// Each method set: the replayed row's surface is labelled with that row's
// Bishop factor, and its centre, radius and area are those the engine gives
// for that one circle.
TEST_F(ProjectShownTest, AReplayedSortedRowCarriesItsOwnFactorCentreRadiusAndArea) {
  struct MethodSet {
    const char* name;
    bool ordinary, janbu, bishop, spencer;
  };
  for (const MethodSet& set :
       {MethodSet{"Bishop only", false, false, true, false}, MethodSet{"all four", true, true, true, true},
        MethodSet{"Janbu, Bishop, Spencer", false, true, true, true}}) {
    SCOPED_TRACE(set.name);
    open("homogeneous-grid.pdd");
    document->setOptionChecked(Option::CB_Ordinary, set.ordinary);
    document->setOptionChecked(Option::CB_Simp_Janbu, set.janbu);
    document->setOptionChecked(Option::CB_Simp_Bishop, set.bishop);
    document->setOptionChecked(Option::CB_Spencer, set.spencer);
    runToEnd();
    progress().setDetailsShown(true);
    progress().sortResults();
    SortedResultsModel& sorted = progress().sortedModel();
    ASSERT_GT(sorted.rowCount(), 3);
    const SortedResult row = sorted.sortedRow(3);
    ASSERT_GT(row.fsBishop, document->project().run.Minimum[Bishop].Fs) << "a row that is not the minimum";
    auto* grid = in<QTableView>(&progress(), "DBG_Sort_Result");
    grid->clicked(sorted.index(3, 0));

    const auto& shown = window->view()->criticalSurfaces();
    ASSERT_EQ(shown.size(), 1u);
    const CriticalSurface& s = shown.front();
    EXPECT_EQ(s.centerX, row.xCenter);
    EXPECT_EQ(s.centerY, row.yCenter);
    EXPECT_EQ(s.radius, row.radius);
    // The engine on the same circle, analysed on its own.
    Project& p = document->projectForAnalysis();
    SilentPlatform silent;
    p.model.TrialRadius = row.radius;
    p.model.CenterX = row.xCenter;
    p.model.CenterY = row.yCenter;
    Searcher searcher(p, silent);
    searcher.Analyse();
    searcher.ComputeSlidingMassArea();
    EXPECT_DOUBLE_EQ(s.labelFs, p.slices.FsBishop);
    EXPECT_NEAR(s.labelFs, row.fsBishop, 5e-4) << "the row stores its factor rounded to 3 decimals";
    EXPECT_DOUBLE_EQ(s.slidingMassArea, p.run.SlidingMassArea);
    EXPECT_NE(s.labelFs, p.run.Minimum[Bishop].Fs);

    // The Failure Geometry window shows that same surface.
    FailureGeometryWindow geometry(*document, window.get());
    EXPECT_EQ(in<QLabel>(&geometry, "L_Failure_X_Center")->text(), FailureValueText(row.xCenter));
    EXPECT_EQ(in<QLabel>(&geometry, "L_Failure_Radius")->text(), FailureValueText(row.radius));
    EXPECT_EQ(in<QLabel>(&geometry, "L_Failure_Area")->text(), FailureValueText(s.slidingMassArea));
    EXPECT_EQ(geometry.pointsModel().rowCount(), s.sliceCount + 1);
  }
}

TEST_F(ProjectShownTest, CriticalCirclesOfEveryShownMethodAreLabelledWithTheirOwnMinimum) {
  open("homogeneous-grid.pdd");
  runToEnd();
  const auto& shown = window->view()->criticalSurfaces();
  ASSERT_FALSE(shown.empty());
  for (const CriticalSurface& s : shown) {
    ASSERT_GE(s.method, 0);
    const MethodMinimum& min = document->project().run.Minimum[static_cast<std::size_t>(s.method)];
    EXPECT_EQ(s.labelFs, min.Fs) << s.method;
    EXPECT_EQ(s.centerX, min.CenterX) << s.method;
    EXPECT_EQ(s.radius, min.Radius) << s.method;
  }
  // Unticking a method's picture box takes its circle away.
  auto* bishop = in<QAbstractButton>(&progress(), "CB_ShowPic_SB");
  const std::size_t before = shown.size();
  bishop->click();
  EXPECT_EQ(window->view()->criticalSurfaces().size(), before - 1);
  for (const CriticalSurface& s : window->view()->criticalSurfaces()) EXPECT_NE(s.method, Bishop);
  // An edit of another field leaves the boxes as the user set them.
  document->setOptionText(Option::E_Kh, "0.05");
  EXPECT_FALSE(bishop->isChecked());
  // Another choice of methods sets them afresh.
  document->setOptionChecked(Option::CB_Ordinary, false);
  EXPECT_TRUE(bishop->isChecked());
  EXPECT_FALSE(in<QAbstractButton>(&progress(), "CB_ShowPic_Ord")->isEnabled());
}

TEST_F(ProjectShownTest, DuringARunTheFieldsThatChangeTheProjectAreDisabled) {
  open("homogeneous-grid.pdd");
  document->setOptionText(Option::E_12_Division, "60");
  document->setOptionText(Option::E_23_Division, "60");
  window->inputStrip()->showPanel(QStringLiteral("P_Top_Draw_Grid"));
  auto* division = in<QLineEdit>(window.get(), OptionCName(Option::E_12_Division));
  ASSERT_TRUE(division->isEnabled());
  action("MN_Run")->trigger();
  QSignalSpy finished(&window->runController(), &RunController::finished);
  startStop()->click();
  ASSERT_TRUE(window->runController().isRunning());
  for (const char* name :
       {OptionCName(Option::E_12_Division), "B_DrawGrid_OK", OptionCName(Option::CB_Grid_Increment), "RB_NonCir",
        OptionCName(Option::E_Kh), OptionTwinName(Option::CB_Spencer), OptionCName(Option::E_Project_Name)}) {
    EXPECT_FALSE(in(window.get(), name)->isEnabled()) << name;
  }
  EXPECT_FALSE(action("MN_Undo")->isEnabled());
  QTest::keyClicks(division, "5");
  EXPECT_EQ(document->project().options.text(Option::E_12_Division), "60");
  startStop()->click();
  test::WaitForSignal(finished);
  EXPECT_TRUE(division->isEnabled());
  EXPECT_TRUE(action("MN_Undo")->isEnabled());
}

TEST_F(ProjectShownTest, AStoppedRunSaysSoAndItsPartialResultsAreSavedOnlyWhenWanted) {
  open("homogeneous-grid.pdd");
  const fs::path pdr = dir / "homogeneous-grid.pdr";
  // A complete run of the data the stopped run will have, saved: its result
  // file belongs to the saved data.
  document->setOptionText(Option::E_12_Division, "60");
  document->setOptionText(Option::E_23_Division, "60");
  runToEnd();
  action("MN_Save")->trigger();
  const std::string oldPdr = Bytes(pdr);
  ASSERT_FALSE(oldPdr.empty());
  runAndStop();
  ASSERT_TRUE(document->resultsPartial());
  const RunResult& last = *document->lastRun();
  ASSERT_GT(last.trialsDone, 0);
  ASSERT_LT(last.trialsDone, last.trialsTotal);
  const QString stopped = QStringLiteral("Calculation stopped after %1 of %2 trials: the results are partial.")
                              .arg(last.trialsDone)
                              .arg(last.trialsTotal);
  auto* label = in<QLabel>(&progress(), "L_Run_Stopped");
  EXPECT_FALSE(label->isHidden());
  EXPECT_EQ(label->text(), stopped);
  EXPECT_EQ(window->statusBar()->currentMessage(), stopped);
  // In Thai too, once the language change has reached the window.
  window->setLanguage(kLanguageThai);
  QCoreApplication::sendPostedEvents();
  EXPECT_TRUE(label->text().startsWith(QString::fromUtf8("หยุดการคำนวณหลังจาก"))) << label->text().toStdString();
  EXPECT_TRUE(window->statusBar()->currentMessage().startsWith(QString::fromUtf8("หยุดการคำนวณหลังจาก")));
  window->setLanguage(kLanguageEnglish);
  QCoreApplication::sendPostedEvents();

  // Save, answered No: the project file is written, the old result file,
  // which still belongs to these data, stays.
  const std::size_t asked = prompter.shown.size();
  action("MN_Save")->trigger();
  ASSERT_GT(prompter.shown.size(), asked);
  EXPECT_EQ(prompter.shown[asked].kind, "question");
  EXPECT_TRUE(prompter.shown[asked].text.startsWith(stopped)) << prompter.shown[asked].text.toStdString();
  EXPECT_EQ(Bytes(pdr), oldPdr);
  EXPECT_TRUE(prompter.sawText(QStringLiteral("File saved complete.")));
  EXPECT_NE(Bytes(dir / "homogeneous-grid.pdd").find("60"), std::string::npos);

  // Answered Yes: the partial results replace it.
  prompter.yesAnswers = {true};
  action("MN_Save")->trigger();
  EXPECT_NE(Bytes(pdr), oldPdr);

  // A result file that nothing ties to the saved data does not stay beside
  // them: answered No, it is removed, and the user told.
  test::WriteBytes(pdr, "=====Pelodyn_2.0_Result=====\r\n1\r\n");
  fs::remove(dir / "homogeneous-grid.pdx");
  runAndStop();
  prompter.shown.clear();
  action("MN_Save")->trigger();
  EXPECT_FALSE(fs::exists(pdr));
  EXPECT_TRUE(prompter.sawText(QStringLiteral("was removed"))) << prompter.shown.back().text.toStdString();
}

TEST_F(ProjectShownTest, AMinimumOnTheEdgeOfTheGridIsReportedWhereTheResultsShow) {
  open("homogeneous-grid.pdd");
  // The example's own grid holds its minima inside: nothing to report.
  runToEnd();
  ASSERT_TRUE(document->lastRun()->warnings.empty());
  EXPECT_TRUE(in<QLabel>(&progress(), "L_Run_Warnings")->isHidden());
  // The same grid raised well above the critical centres.
  document->setOptions(QStringLiteral("Grid"), [](OptionValues& o) {
    o.setText(Option::E_Y_LeftDown, "100");
    o.setText(Option::E_Y_RightDown, "100");
    o.setText(Option::E_Y_RightTop, "130");
  });
  runToEnd();
  const std::vector<RunWarning>& warnings = document->lastRun()->warnings;
  ASSERT_FALSE(warnings.empty());
  auto* label = in<QLabel>(&progress(), "L_Run_Warnings");
  EXPECT_FALSE(label->isHidden());
  // One line per edge names every method whose minimum lies on it.
  for (const RunWarning& w : warnings) {
    const QString method = QString::fromStdString(std::string(MethodName(kLanguageEnglish, w.method)));
    EXPECT_TRUE(label->text().contains(method)) << method.toStdString();
  }
  const QString lower = QStringLiteral(
      ": the minimum lies on the lower edge of the grid of centres; extend the grid beyond its lower edge.");
  EXPECT_EQ(label->text().count(lower), 1) << label->text().toStdString();
  EXPECT_TRUE(window->statusBar()->currentMessage().contains(lower));
  // Another project: the warning goes with the results.
  open("irregular-random.pdd");
  EXPECT_TRUE(label->isHidden());
  EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty());
}

TEST_F(ProjectShownTest, EditsAreUndoneFromTheEditMenuAndTheTitleCarriesTheModifiedMark) {
  open("homogeneous-grid.pdd");
  const QString clean = "Pelodyn 2.1 - " + QString::fromStdString((dir / "homogeneous-grid.pdd").string());
  EXPECT_EQ(title(), clean);
  EXPECT_FALSE(action("MN_Undo")->isEnabled());

  auto* kh = in<QLineEdit>(window.get(), OptionCName(Option::E_Kh));
  const QString before = kh->text();
  kh->selectAll();
  QTest::keyClicks(kh, "0.25");
  EXPECT_EQ(document->project().options.text(Option::E_Kh), "0.25");
  EXPECT_EQ(title(), clean + "*");
  // The effect bar and the theory are edits too.
  action("TB_Seismic")->trigger();
  EXPECT_FALSE(document->project().options.checked(Option::CB_Seismic_Disable));
  in<QAbstractButton>(window.get(), "RB_NonCir")->click();
  EXPECT_EQ(document->project().options.itemIndex(Option::RG_Theory), 2);
  EXPECT_EQ(document->project().model.AnalysisTheory, 2);

  action("MN_Undo")->trigger();
  EXPECT_EQ(document->project().options.itemIndex(Option::RG_Theory), 1);
  EXPECT_TRUE(in<QAbstractButton>(window.get(), "RB_Circular")->isChecked());
  action("MN_Undo")->trigger();
  EXPECT_TRUE(document->project().options.checked(Option::CB_Seismic_Disable));
  EXPECT_FALSE(action("TB_Seismic")->isChecked());
  action("MN_Undo")->trigger();
  EXPECT_EQ(kh->text(), before) << "the typing was one step";
  EXPECT_EQ(title(), clean);
  EXPECT_FALSE(action("MN_Undo")->isEnabled());
  action("MN_Redo")->trigger();
  EXPECT_EQ(kh->text(), "0.25");
  EXPECT_EQ(title(), clean + "*");
  EXPECT_EQ(action("MN_Undo")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
  EXPECT_EQ(action("MN_Redo")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Y")));
  // Saving makes it clean.
  action("MN_Save")->trigger();
  EXPECT_EQ(title(), clean);
}

TEST_F(ProjectShownTest, NewOpenAndQuitWithUnsavedChangesAskSaveDiscardCancel) {
  open("homogeneous-grid.pdd");
  document->setOptionText(Option::E_Project_Name, "Dam 2");
  const std::string saved = Bytes(dir / "homogeneous-grid.pdd");

  prompter.saveAnswers = {SaveChoice::Cancel};
  action("MN_New")->trigger();
  EXPECT_EQ(document->project().options.text(Option::E_Project_Name), "Dam 2");
  EXPECT_FALSE(window->close()) << "Cancel keeps the program open";

  // Save saves first, then the new project comes.
  prompter.saveAnswers = {SaveChoice::Save};
  action("MN_New")->trigger();
  EXPECT_NE(Bytes(dir / "homogeneous-grid.pdd"), saved);
  EXPECT_NE(Bytes(dir / "homogeneous-grid.pdd").find("Dam 2"), std::string::npos);
  EXPECT_EQ(document->project().options.text(Option::E_Project_Name), "New Project");
  EXPECT_EQ(title(), "Pelodyn 2.1 - New Project.pdd");

  // Discard: the changes go.
  document->setOptionText(Option::E_Project_Name, "Dam 3");
  prompter.saveAnswers = {SaveChoice::Discard};
  prompter.openAnswers = {copy("irregular-random.pdd")};
  action("MN_Open")->trigger();
  EXPECT_EQ(document->projectFileName(), "irregular-random.pdd");
  // Without changes, New asks its own OK/Cancel question.
  prompter.okAnswers = {false};
  action("MN_New")->trigger();
  EXPECT_EQ(document->projectFileName(), "irregular-random.pdd");
}

TEST_F(ProjectShownTest, FileDialogsOpenInTheProjectsFolderElseTheLastOneUsed) {
  open("homogeneous-grid.pdd");
  prompter.openAnswers = {std::nullopt};
  action("MN_Open")->trigger();
  ASSERT_FALSE(prompter.dialogFolders.empty());
  EXPECT_EQ(prompter.dialogFolders.back(), QString::fromStdString(dir.string()));
  // A new project has no folder of its own: the last folder used.
  prompter.okAnswers = {true};
  action("MN_New")->trigger();
  prompter.openAnswers = {std::nullopt};
  action("MN_Open")->trigger();
  EXPECT_EQ(prompter.dialogFolders.back(), QString::fromStdString(dir.string()));
  prompter.saveTargets = {std::nullopt};
  action("MN_SaveAs")->trigger();
  EXPECT_EQ(prompter.dialogFolders.back(), QString::fromStdString((dir / "New Project").string()));
}

TEST_F(ProjectShownTest, AResultFileThatCannotBeWrittenSaysTheProjectWasSaved) {
  open("homogeneous-grid.pdd");
  runToEnd();
  // The result file's place is taken by a folder.
  const fs::path pdr = dir / "homogeneous-grid.pdr";
  fs::create_directories(pdr / "taken");
  document->setOptionText(Option::E_Project_Name, "Dam 4");
  action("MN_Save")->trigger();
  ASSERT_EQ(prompter.shown.back().kind, "error");
  const QString text = prompter.shown.back().text;
  EXPECT_TRUE(text.startsWith(QStringLiteral("The project was saved to ") +
                              QString::fromStdString((dir / "homogeneous-grid.pdd").string())))
      << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("was not written"))) << text.toStdString();
  EXPECT_NE(Bytes(dir / "homogeneous-grid.pdd").find("Dam 4"), std::string::npos);
  EXPECT_FALSE(document->isModified());
}

TEST_F(ProjectShownTest, ADivisionThatIsNoNumberIsNamedWhereItIsTyped) {
  window->inputStrip()->showPanel(QStringLiteral("P_Top_Draw_Grid"));
  auto* division = in<QLineEdit>(window.get(), OptionCName(Option::E_23_Division));
  division->selectAll();
  QTest::keyClicks(division, "abc");
  const QString expected = QStringLiteral("Division between 2 and 3: 'abc' is not a valid integer value");
  EXPECT_EQ(division->toolTip(), expected);
  EXPECT_EQ(window->statusBar()->currentMessage(), expected);
  division->selectAll();
  QTest::keyClicks(division, "4");
  EXPECT_TRUE(division->toolTip().isEmpty());
}

TEST_F(ProjectShownTest, WhatThisVersionLeavesOutIsDisabledAndSaysWhy) {
  // Every window is built: no command and no control says "not yet".
  for (QAction* a : window->commands().actions()) {
    EXPECT_FALSE(a->toolTip().contains(QStringLiteral("Not available yet"))) << a->objectName().toStdString();
  }
  for (QWidget* w : window->findChildren<QWidget*>()) {
    EXPECT_FALSE(w->toolTip().contains(QStringLiteral("Not available yet"))) << w->objectName().toStdString();
  }
  // What this version leaves out says why in its own words, in either
  // language.
  const std::pair<const char*, UiText> leftOut[] = {{"MN_SlipSurface", UiText::KeyInOnStepForm},
                                                    {"MN_IrregularFailure", UiText::KeyInOnStepForm},
                                                    {"MN_SetContour", UiText::ContourNotSet},
                                                    {"TB_Verify", UiText::CheckedAtRun},
                                                    {"MN_PelodynHelp", UiText::NoHelpFile}};
  for (std::uint8_t language : {kLanguageEnglish, kLanguageThai}) {
    window->setLanguage(language);
    for (const auto& [name, reason] : leftOut) {
      EXPECT_FALSE(action(name)->isEnabled()) << name;
      EXPECT_TRUE(action(name)->toolTip().contains(QString::fromUtf8(UiTextFor(language, reason).data())))
          << name << ": " << action(name)->toolTip().toStdString();
    }
  }
}

}  // namespace
}  // namespace pelodyn
