// The batch windows: choosing the files, running them on the worker thread
// while the open project stays as it was, stopping, and the report of the
// summary, compared with what the command-line program writes for the same
// files.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>

#include "batch/batch.h"
#include "persistence/text_file.h"
#include "support/test_folder.h"
#include "ui/batch/auto_exe_file_report.h"
#include "ui/batch/auto_exe_file_window.h"
#include "ui/document/guard.h"
#include "ui/document/project_document.h"
#include "ui/file_bytes.h"
#include "ui/run_wait.h"
#include "ui/scripted_prompter.h"

namespace pelodyn {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

const char* const kExamples[] = {"homogeneous-grid.pdd", "layered-phreatic-loads.pdd", "irregular-random.pdd"};

class BatchWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = testing::TestFolder("pelodyn-batch-ui-");
    fs::remove_all(dir);
    fs::create_directories(dir / "sub");
    for (const char* name : kExamples) fs::copy_file(fs::path(PELODYN_EXAMPLES) / name, dir / name);
    test::WriteBytes(dir / "notes.txt", "not a project");
    document = ProjectDocument::openPrivate();
    document->setLanguage(1);
    SetErrorPrompter(&prompter);
    window = std::make_unique<AutoExeFileWindow>(*document, prompter);
    window->setFolder(QString::fromStdString(dir.string()));
  }
  void TearDown() override {
    window.reset();
    SetErrorPrompter(nullptr);
    fs::remove_all(dir);
  }
  template <class T>
  T* control(const char* name) {
    T* w = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QString path(const char* name) const { return QString::fromStdString((dir / name).string()); }
  std::string pdr(const char* name) const { return Bytes(fs::path(dir / name).replace_extension(".pdr")); }
  void selectFiles(std::initializer_list<int> rows) {
    auto* files = control<QListWidget>("FLB_Source");
    files->clearSelection();
    for (int row : rows) files->item(row)->setSelected(true);
  }
  bool waitForBatch() {
    QSignalSpy finished(window.get(), &AutoExeFileWindow::batchFinished);
    test::WaitForSignal(finished);
    return true;
  }

  fs::path dir;
  test::ScriptedPrompter prompter;
  std::unique_ptr<ProjectDocument> document;
  std::unique_ptr<AutoExeFileWindow> window;
};

TEST_F(BatchWindowTest, ChoosingAndRemovingFiles) {
  auto* files = control<QListWidget>("FLB_Source");
  auto* select = control<QListWidget>("LB_Select");
  auto* total = control<QLabel>("L_Total_Case");
  EXPECT_EQ(window->windowTitle(), "Automatic Execute File");
  // Only the project files, by name.
  ASSERT_EQ(files->count(), 3);
  EXPECT_EQ(files->item(0)->text(), "homogeneous-grid.pdd");
  EXPECT_EQ(total->text(), "Total 0 case");
  EXPECT_TRUE(control<QPushButton>("B_Add")->isEnabled());
  EXPECT_TRUE(control<QPushButton>("B_AddAll")->isEnabled());
  EXPECT_FALSE(control<QPushButton>("B_Run")->isEnabled());

  // Added once, as full paths in the order added.
  selectFiles({1});
  control<QPushButton>("B_Add")->click();
  control<QPushButton>("B_Add")->click();
  EXPECT_EQ(window->selectedFiles(), QStringList{path("irregular-random.pdd")});
  EXPECT_EQ(total->text(), "Total 1 case");
  EXPECT_TRUE(control<QPushButton>("B_Run")->isEnabled());
  control<QPushButton>("B_AddAll")->click();
  EXPECT_EQ(window->selectedFiles(), (QStringList{path("irregular-random.pdd"), path("homogeneous-grid.pdd"),
                                                  path("layered-phreatic-loads.pdd")}));
  EXPECT_EQ(total->text(), "Total 3 case");

  // The Delete key removes the selected entries; other keys remove nothing.
  select->item(0)->setSelected(true);
  select->item(2)->setSelected(true);
  QTest::keyClick(select, Qt::Key_A);
  EXPECT_EQ(select->count(), 3);
  QTest::keyClick(select, Qt::Key_Delete);
  EXPECT_EQ(window->selectedFiles(), QStringList{path("homogeneous-grid.pdd")});
  EXPECT_EQ(total->text(), "Total 1 case");
  select->selectAll();
  QTest::keyClick(select, Qt::Key_Delete);
  QTest::keyClick(select, Qt::Key_Delete);
  EXPECT_EQ(total->text(), "Total 0 case");
  EXPECT_FALSE(control<QPushButton>("B_Run")->isEnabled());

  // A folder without project files: nothing to add. Its parent through "..".
  auto* folders = control<QListWidget>("DLB_Source");
  const QList<QListWidgetItem*> sub = folders->findItems(QStringLiteral("sub"), Qt::MatchExactly);
  ASSERT_EQ(sub.size(), 1);
  emit folders->itemActivated(sub.front());
  EXPECT_EQ(window->folder(), path("sub"));
  EXPECT_EQ(files->count(), 0);
  EXPECT_FALSE(control<QPushButton>("B_Add")->isEnabled());
  EXPECT_FALSE(control<QPushButton>("B_AddAll")->isEnabled());
  emit folders->itemActivated(folders->findItems(QStringLiteral(".."), Qt::MatchExactly).front());
  EXPECT_EQ(files->count(), 3);

  // In Thai.
  document->setLanguage(0);
  QEvent change(QEvent::LanguageChange);
  QCoreApplication::sendEvent(window.get(), &change);
  EXPECT_EQ(total->text(), "ทั้งหมด 0 กรณี");
  EXPECT_EQ(control<QPushButton>("B_AddAll")->text(), "เพิ่มทั้งหมด");
}

TEST_F(BatchWindowTest, TheReportShowsTheCommandLineSummaryAndTheOpenProjectStays) {
  // The user's project, with an edit not saved.
  document->setOptionText(Option::E_Project_Name, QStringLiteral("ลาดดินของผู้ใช้"));
  const OptionValues options = document->project().options;
  const int undoSteps = document->undoStack().count();

  // Declined: nothing runs.
  control<QPushButton>("B_AddAll")->click();
  prompter.okAnswers = {false};
  control<QPushButton>("B_Run")->click();
  EXPECT_FALSE(window->isRunning());
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].caption, "Multiple Calculation");
  EXPECT_EQ(prompter.shown[0].text,
            "Would you like to run the Multiple Calculation?\nPlease check! Maybe file not saved.");
  EXPECT_FALSE(fs::exists(dir / "homogeneous-grid.pdr"));

  // A file that cannot be read fails without ending the batch.
  test::WriteBytes(dir / "broken.pdd", "=====Pelodyn_2.0_Data=====\r\nbroken\r\n");
  window->setFolder(QString::fromStdString(dir.string()));
  selectFiles({0});  // broken.pdd comes first by name
  control<QPushButton>("B_Add")->click();
  prompter.okAnswers = {true};
  control<QPushButton>("B_Run")->click();
  EXPECT_TRUE(window->isRunning());
  EXPECT_FALSE(control<QPushButton>("B_Run")->isEnabled());
  EXPECT_TRUE(control<QPushButton>("B_Stop")->isEnabled());
  ASSERT_TRUE(waitForBatch());
  EXPECT_FALSE(window->isRunning());
  // Only the question was shown: no box during the batch.
  EXPECT_EQ(prompter.shown.size(), 2u);
  ASSERT_EQ(window->reports().size(), 4u);
  EXPECT_TRUE(window->reports()[0].ok);
  EXPECT_FALSE(window->reports()[3].ok);
  for (const char* name : kExamples) EXPECT_FALSE(pdr(name).empty()) << name;

  // The open project, its caption and undo history are as they were.
  EXPECT_EQ(document->project().options, options);
  EXPECT_EQ(document->undoStack().count(), undoSteps);
  EXPECT_TRUE(document->isModified());
  EXPECT_EQ(document->project().store->rowCount(Table::Geometry), 0);

  // The command-line program's summary of the same files, from its fourth
  // line.
  const fs::path cliSummary = dir / "cli-summary.txt";
  std::string command = std::string(PELODYN_CLI) + " analyse --quiet";
  for (const QString& file : window->selectedFiles()) command += " '" + file.toStdString() + "'";
  command += " --summary '" + cliSummary.string() + "' >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  const std::string cliBytes = Bytes(cliSummary);
  ASSERT_FALSE(cliBytes.empty());
  const std::string expected = SummaryReportText(Cp874ToUtf8(cliBytes));
  AutoExeFileReport* report = window->reportWindow();
  ASSERT_NE(report, nullptr);
  EXPECT_TRUE(report->isVisible());
  EXPECT_EQ(report->windowTitle(), "Automatic Execute File Report");
  EXPECT_EQ(report->reportText(), expected);
  QString shown = QString::fromStdString(expected);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.chop(1);
  EXPECT_EQ(report->findChild<QPlainTextEdit*>(QStringLiteral("M_Auto_Exe_File_Report"))->toPlainText(), shown);
  EXPECT_NE(expected.find("broken"), std::string::npos);

  // Save writes the text the batch produced, even when another program has
  // replaced the summary file meanwhile.
  test::WriteBytes(DefaultSummaryPath(), "replaced by someone else\r\n");
  prompter.saveTargets = {SaveTarget{QString::fromStdString((dir / "saved.txt").string()), 0}};
  report->findChild<QPushButton*>(QStringLiteral("B_Save"))->click();
  EXPECT_EQ(prompter.dialogFolders.back(), "New Report");
  EXPECT_EQ(Bytes(dir / "saved.txt"), SummaryReportText(cliBytes));
  EXPECT_TRUE(report->isVisible());
  // A cancelled dialog writes nothing.
  fs::remove(dir / "saved.txt");
  report->findChild<QPushButton*>(QStringLiteral("B_Save"))->click();
  EXPECT_FALSE(fs::exists(dir / "saved.txt"));
}

TEST_F(BatchWindowTest, StopAfterTheFirstFileLeavesTheOthersAndTheNextBatchRunsAll) {
  for (const char* name : kExamples) test::WriteBytes(fs::path(dir / name).replace_extension(".pdr"), "old");
  control<QPushButton>("B_AddAll")->click();
  // Stop as soon as the first file is done, from the worker thread itself,
  // so the second file is not begun.
  auto stopper = QObject::connect(
      window.get(), &AutoExeFileWindow::fileDone, window.get(),
      [this](int index) {
        if (index == 0) window->stop();
      },
      Qt::DirectConnection);
  ASSERT_TRUE(window->run());
  ASSERT_TRUE(waitForBatch());
  QObject::disconnect(stopper);
  const auto& reports = window->reports();
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_TRUE(reports[0].ok);
  EXPECT_NE(pdr(kExamples[0]), "old");
  for (std::size_t i : {1u, 2u}) {
    EXPECT_TRUE(reports[i].stopped) << i;
    EXPECT_EQ(pdr(kExamples[i]), "old") << i;
  }
  const std::string text = window->reportWindow()->reportText();
  EXPECT_NE(text.find("Stopped  The batch was stopped before this file."), std::string::npos) << text;
  // The bar stands where the batch stopped: one file of three done, the
  // second not begun.
  auto* bar = control<QProgressBar>("PB_Batch");
  EXPECT_GE(bar->value(), 33);
  EXPECT_LT(bar->value(), 66);
  EXPECT_EQ(document->project().store->rowCount(Table::Soil_Prop), 0);
  EXPECT_FALSE(document->isModified());

  // The next batch starts with the stop request cleared.
  ASSERT_TRUE(window->run());
  ASSERT_TRUE(waitForBatch());
  for (const FileReport& r : window->reports()) EXPECT_TRUE(r.ok) << r.file << ": " << r.error;
  for (const char* name : kExamples) EXPECT_NE(pdr(name), "old") << name;
  EXPECT_EQ(bar->value(), 100);
}

TEST_F(BatchWindowTest, OpensOnTheProjectsFolderAndTheFolderDialogChoosesAnother) {
  // A project not yet saved has no folder: the home folder.
  EXPECT_EQ(AutoExeFileWindow(*document, prompter).folder(), QDir::homePath());
  // A saved project's folder, with its project files listed.
  document->markSaved(path("sub/slope.pdd"));
  for (const char* name : kExamples) fs::copy_file(dir / name, dir / "sub" / name);
  AutoExeFileWindow opened(*document, prompter);
  EXPECT_EQ(opened.folder(), path("sub"));
  EXPECT_EQ(opened.findChild<QListWidget*>(QStringLiteral("FLB_Source"))->count(), 3);
  // Choose Folder opens the folder dialog on the folder shown; a folder
  // chosen there is shown, a cancelled dialog changes nothing.
  auto* browse = opened.findChild<QPushButton*>(QStringLiteral("B_Browse"));
  ASSERT_NE(browse, nullptr);
  EXPECT_EQ(browse->text(), "Choose Folder...");
  prompter.dialogFolders.clear();
  prompter.folderAnswers = {path("")};
  browse->click();
  ASSERT_EQ(prompter.dialogFolders.size(), 1u);
  EXPECT_EQ(prompter.dialogFolders[0], path("sub"));
  EXPECT_EQ(QDir(opened.folder()), QDir(path("")));
  EXPECT_EQ(opened.findChild<QListWidget*>(QStringLiteral("DLB_Source"))->findItems("sub", Qt::MatchExactly).size(), 1);
  browse->click();
  EXPECT_EQ(QDir(opened.folder()), QDir(path("")));
}

TEST_F(BatchWindowTest, ClosingTheWindowDuringABatchStopsIt) {
  test::WriteBytes(dir / "homogeneous-grid.pdr", "old");
  selectFiles({0});
  control<QPushButton>("B_Add")->click();
  ASSERT_TRUE(window->run());
  window->show();
  // Closing only asks the batch to stop; the window stays until it has.
  window->reject();
  EXPECT_TRUE(window->isVisible());
  ASSERT_TRUE(waitForBatch());
  ASSERT_EQ(window->reports().size(), 1u);
  EXPECT_TRUE(window->reports()[0].stopped);
  EXPECT_EQ(pdr("homogeneous-grid.pdd"), "old");
}

}  // namespace
}  // namespace pelodyn
