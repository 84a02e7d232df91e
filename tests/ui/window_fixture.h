// The fixture of the window tests that run projects: a main window over a
// private document, a scripted prompter, and a folder of the test's own
// into which bundled examples are copied before they are opened, so that
// nothing another program left beside an example is the test's.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QObject>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>

#include "support/test_folder.h"
#include "ui/document/project_document.h"
#include "ui/run/progress_window.h"
#include "ui/run/run_controller.h"
#include "ui/run_wait.h"
#include "ui/scripted_prompter.h"
#include "ui/shell/main_window.h"

namespace pelodyn::test {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = testing::TestFolder("pelodyn-window-");
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    document = ProjectDocument::openPrivate();
    window = std::make_unique<MainWindow>(*document, prompter);
    window->startUp();
  }
  void TearDown() override {
    window.reset();
    document.reset();
    std::filesystem::remove_all(dir);
  }

  // A bundled example copied into the test's folder; its path.
  QString copy(const char* example) {
    const std::filesystem::path to = dir / example;
    std::filesystem::copy_file(std::filesystem::path(PELODYN_EXAMPLES) / example, to,
                               std::filesystem::copy_options::overwrite_existing);
    return QString::fromStdString(to.string());
  }
  void open(const char* example) { ASSERT_TRUE(window->fileCommands().openPath(copy(example))); }

  QAction* action(const char* name) { return window->commands().action(QString::fromLatin1(name)); }
  ProgressWindow& progress() { return *window->progressWindow(); }
  QPushButton* startStop() { return progress().findChild<QPushButton*>(QStringLiteral("B_Start_Stop")); }

  // Calculation > Run, Start, and the wait for the run to end: its outcome
  // (RunOutcome as an int), or -1 when the checks refused it before it
  // started.
  int runToEnd() {
    action("MN_Run")->trigger();
    QSignalSpy finished(&window->runController(), &RunController::finished);
    startStop()->click();
    if (finished.isEmpty() && !window->runController().isRunning()) return -1;
    WaitForSignal(finished);
    return finished.front().at(0).toInt();
  }
  // A grid search far longer than the test, stopped after a few progress
  // reports.
  void runAndStop() {
    document->setOptionText(Option::E_12_Division, "60");
    document->setOptionText(Option::E_23_Division, "60");
    action("MN_Run")->trigger();
    QSignalSpy finished(&window->runController(), &RunController::finished);
    int reports = 0;
    QObject receiver;
    QObject::connect(&window->runController().feedback(), &QtRunFeedback::progress, &receiver,
                     [&reports](const ProgressCopy&) { ++reports; });
    startStop()->click();
    WaitUntil([&] { return reports >= 2 || !finished.isEmpty(); });
    startStop()->click();
    WaitForSignal(finished);
  }

  std::filesystem::path dir;
  ScriptedPrompter prompter;
  std::unique_ptr<ProjectDocument> document;
  std::unique_ptr<MainWindow> window;
};

}  // namespace pelodyn::test
