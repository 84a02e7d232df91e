// Runs from the window: the search on its worker thread gives what the
// command-line program gives, Stop ends it at once, and the window keeps
// its hands off the project meanwhile.
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "engine/search.h"
#include "persistence/folders.h"
#include "ui/document/project_document.h"
#include "ui/file_bytes.h"
#include "ui/run/progress_window.h"
#include "ui/run/run_controller.h"
#include "ui/scripted_prompter.h"
#include "ui/shell/main_window.h"
#include "ui/window_fixture.h"

namespace pelodyn {
namespace {

namespace fs = std::filesystem;

using test::Bytes;

nlohmann::json CliJson(const fs::path& file) {
  const std::string command =
      std::string(PELODYN_CLI) + " analyse --json --quiet --threads 1 " + file.string() + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  std::string out;
  char buffer[4096];
  while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
  pclose(pipe);
  return nlohmann::json::parse(out.substr(0, out.find('\n')));
}

using RunTest = test::WindowTest;

TEST_F(RunTest, StartOnEachExampleGivesTheMinimaOfTheCommandLine) {
  // Two threads in the window, one on the command line: the same results.
  window->runController().setThreads(2);
  for (const char* example : {"homogeneous-grid.pdd", "layered-phreatic-loads.pdd", "irregular-random.pdd"}) {
    open(example);
    runToEnd();
    const nlohmann::json cli = CliJson(fs::path(PELODYN_EXAMPLES) / example);
    const char* keys[] = {"ordinary", "janbu", "bishop", "spencer"};
    for (int k = 0; k < 4; ++k) {
      const auto& m = cli["minima"][keys[k]];
      if (!m["selected"].get<bool>() || m["fs"].is_null()) continue;
      EXPECT_EQ(document->project().run.Minimum[static_cast<std::size_t>(k)].Fs, m["fs"].get<double>())
          << example << " " << keys[k];
    }
    EXPECT_EQ(window->progressWindow()->findChild<QPushButton*>("B_Start_Stop")->text(), "Start");
    EXPECT_TRUE(window->commands().action("MN_Open")->isEnabled());
    EXPECT_TRUE(document->hasOwnResults());

    // Saved, the project's result file is the one the command-line program
    // writes beside its own copy.
    window->commands().action("MN_Save")->trigger();
    const fs::path cliDir = dir / "cli";
    fs::create_directories(cliDir);
    fs::copy_file(fs::path(PELODYN_EXAMPLES) / example, cliDir / example, fs::copy_options::overwrite_existing);
    const nlohmann::json again = CliJson(cliDir / example);
    ASSERT_TRUE(again["ok"].get<bool>());
    const fs::path pdr = fs::path(example).replace_extension(".pdr");
    EXPECT_EQ(Bytes(dir / pdr), Bytes(cliDir / pdr)) << example;
  }
  // The status line sums the run up.
  EXPECT_TRUE(window->statusBar()->currentMessage().startsWith("Calculation Complete. Minimum FS: "))
      << window->statusBar()->currentMessage().toStdString();
  // The Bishop label shows the minimum rounded to 3 decimals.
  EXPECT_NE(window->progressWindow()->findChild<QLabel*>("L_FS_Simp_Bis")->text(), "XX.XXX");
}

TEST_F(RunTest, StopEndsALongGridSearchAndTheWindowStaysUsable) {
  open("homogeneous-grid.pdd");
  // A grid of 41 x 41 centres with 30 circles each: far longer than the test.
  const Project& p = document->project();
  document->setOptionText(Option::E_12_Division, "40");
  document->setOptionText(Option::E_23_Division, "40");
  window->commands().action("MN_Run")->trigger();
  QSignalSpy finished(&window->runController(), &RunController::finished);
  // Counted on this thread: the feedback emits on the worker's.
  int progress = 0;
  QObject receiver;
  QObject::connect(&window->runController().feedback(), &QtRunFeedback::progress, &receiver,
                   [&progress](const ProgressCopy&) { ++progress; });
  auto* startStop = window->progressWindow()->findChild<QPushButton*>("B_Start_Stop");
  startStop->click();
  EXPECT_TRUE(window->runController().isRunning());
  EXPECT_EQ(startStop->text(), "Stop");
  // While it runs, commands that touch the project are disabled; zoom is not.
  for (const char* name : {"MN_Open", "MN_Save", "MN_New", "TB_Water_Line", "MN_Theory"}) {
    EXPECT_FALSE(window->commands().action(name)->isEnabled()) << name;
  }
  EXPECT_TRUE(window->commands().action("TB_Zoom_IN")->isEnabled());
  test::WaitUntil([&] { return progress > 0 || !finished.isEmpty(); });
  ASSERT_GT(progress, 0);
  window->commands().action("TB_Zoom_IN")->trigger();
  startStop->click();
  test::WaitForSignal(finished);
  EXPECT_FALSE(window->runController().isRunning());
  EXPECT_EQ(finished.front().at(0).toInt(), static_cast<int>(RunOutcome::Stopped));
  EXPECT_LT(p.run.SurfaceCount, 41L * 41L * 30L);
  EXPECT_TRUE(window->commands().action("MN_Open")->isEnabled());
  EXPECT_EQ(startStop->text(), "Start");
}

TEST_F(RunTest, SortOrdersByBishopAndAChosenRowIsAnalysedAgain) {
  open("homogeneous-grid.pdd");
  runToEnd();
  ProgressWindow* progress = window->progressWindow();
  progress->setDetailsShown(true);
  progress->sortResults();
  auto* sorted = progress->findChild<QTableView*>("DBG_Sort_Result");
  QAbstractItemModel* model = sorted->model();
  ASSERT_GT(model->rowCount(), 2);
  double last = -1e300;
  for (int r = 0; r < model->rowCount(); ++r) {
    const double fs = model->index(r, 4).data(Qt::UserRole).toDouble();
    EXPECT_LE(last, fs) << "row " << r;
    last = fs;
  }
  // The first sorted row is the Bishop minimum; choosing the third replays
  // that circle and its factor.
  // The Results rows hold factors rounded to 3 decimals.
  EXPECT_NEAR(model->index(0, 4).data(Qt::UserRole).toDouble(), document->project().run.Minimum[Bishop].Fs, 5e-4);
  const double fs3 = model->index(2, 4).data(Qt::UserRole).toDouble();
  sorted->clicked(model->index(2, 0));
  EXPECT_NEAR(document->project().slices.FsBishop, fs3, 5e-4);
  EXPECT_GT(document->project().store->rowCount(Table::Failure_Geometry), 0);
}

TEST_F(RunTest, ARefusedRunShowsItsMessageAndStartsNothing) {
  // A new project has no data: message 3, no thread.
  window->commands().action("MN_Run")->trigger();
  window->progressWindow()->findChild<QPushButton*>("B_Start_Stop")->click();
  EXPECT_FALSE(window->runController().isRunning());
  EXPECT_TRUE(prompter.sawText("Please input data before calculation."));
  EXPECT_EQ(window->progressWindow()->findChild<QPushButton*>("B_Start_Stop")->text(), "Start");
}

TEST_F(RunTest, TheAxisQuestionIsAskedOnceBeforeTheThreadStarts) {
  open("irregular-random.pdd");
  // The axis left of and below the first point of the bottom line.
  document->setOptionText(Option::E_NonCir_X_Center, "-10");
  document->setOptionText(Option::E_NonCir_Y_Center, "-10");
  window->commands().action("MN_Run")->trigger();
  auto* startStop = window->progressWindow()->findChild<QPushButton*>("B_Start_Stop");
  auto questions = [&] {
    int n = 0;
    for (const auto& shown : prompter.shown) n += shown.text.startsWith("Axis Position is not appropriate.");
    return n;
  };
  prompter.okAnswers = {false};
  startStop->click();
  EXPECT_FALSE(window->runController().isRunning());
  EXPECT_EQ(questions(), 1);

  prompter.okAnswers = {true};
  QSignalSpy finished(&window->runController(), &RunController::finished);
  startStop->click();
  if (finished.isEmpty()) {
    test::WaitForSignal(finished);
  }
  EXPECT_EQ(finished.front().at(0).toInt(), static_cast<int>(RunOutcome::Complete));
  EXPECT_EQ(questions(), 2) << "the worker must not ask again";
}

TEST_F(RunTest, ClosingDuringARunStopsItFirst) {
  open("homogeneous-grid.pdd");
  document->setOptionText(Option::E_12_Division, "40");
  document->setOptionText(Option::E_23_Division, "40");
  document->markSaved(document->projectFilePath());  // no unsaved changes to ask about
  window->commands().action("MN_Run")->trigger();
  window->progressWindow()->findChild<QPushButton*>("B_Start_Stop")->click();
  ASSERT_TRUE(window->runController().isRunning());
  prompter.okAnswers = {true};
  EXPECT_TRUE(window->close());
  EXPECT_FALSE(window->runController().isRunning());
}

// The desktop store refuses the Results rows of a run, as a full disk
// would: the window says so in a message, in the user's language, and the
// run does not count as one that went through.
TEST_F(RunTest, ResultsRowsTheStoreRefusesAreNamedInAMessage) {
  window.reset();
  document = ProjectDocument::openDesktop();
  ASSERT_EQ(document->storeKind(), ProjectDocument::StoreKind::DataFolder);
  window = std::make_unique<MainWindow>(*document, prompter);
  window->startUp();
  open("homogeneous-grid.pdd");
  // A second connection to the store file gives its Results table a trigger
  // that refuses every row.
  const std::string file = (DatabaseFolder() / "Janbu.sqlite").string();
  auto exec = [&file](const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
  };
  exec("CREATE TRIGGER refuse_results BEFORE INSERT ON Results BEGIN SELECT RAISE(ABORT, 'disk is full'); END");
  for (const std::uint8_t language : {kLanguageEnglish, kLanguageThai}) {
    SCOPED_TRACE(static_cast<int>(language));
    document->setLanguage(language);
    prompter.shown.clear();
    EXPECT_EQ(runToEnd(), static_cast<int>(RunOutcome::Failed));
    const RunResult& last = *document->lastRun();
    ASSERT_GT(last.resultsRowsLost, 0);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].kind, "error");
    EXPECT_EQ(prompter.shown[0].text.toStdString(), RunFailureText(last, language));
    EXPECT_NE(prompter.shown[0].text.toStdString().find("disk is full"), std::string::npos);
    EXPECT_EQ(document->project().store->rowCount(Table::Results), 0);
    EXPECT_FALSE(document->resultsPartial());
  }
  exec("DROP TRIGGER refuse_results");
}

}  // namespace
}  // namespace pelodyn
