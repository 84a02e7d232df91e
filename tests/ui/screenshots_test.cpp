// Pictures of the windows for a person to look at: written only when
// PELODYN_PICTURES names a folder (run under Xvfb with the xcb platform, or
// offscreen). They assert nothing about pixels.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "persistence/text_file.h"
#include "texts/captions.h"
#include "ui/batch/auto_exe_file_report.h"
#include "ui/batch/auto_exe_file_window.h"
#include "ui/document/project_document.h"
#include "ui/forms/settings_dialogs.h"
#include "ui/forms/step_by_step_form.h"
#include "ui/forms/table_dialogs.h"
#include "ui/results/failure_geometry_window.h"
#include "ui/run/progress_window.h"
#include "ui/run/run_controller.h"
#include "ui/run_wait.h"
#include "ui/scripted_prompter.h"
#include "ui/shell/main_window.h"
#include "ui/vegetation/vegetation_window.h"
#include "view/section_view.h"

namespace pelodyn {
namespace {

namespace fs = std::filesystem;

TEST(Screenshots, MainWindowRunAndResults) {
  const QString folder = qEnvironmentVariable("PELODYN_PICTURES");
  if (folder.isEmpty()) GTEST_SKIP() << "PELODYN_PICTURES is not set";
  QDir().mkpath(folder);
  auto save = [&](QWidget* w, const char* name) {
    QCoreApplication::processEvents();
    ASSERT_TRUE(w->grab().save(folder + QLatin1Char('/') + QLatin1String(name)));
  };

  test::ScriptedPrompter prompter;
  auto document = ProjectDocument::openPrivate();
  MainWindow window(*document, prompter);
  window.resize(1300, 820);
  window.show();
  const fs::path dir = fs::temp_directory_path() / "pelodyn-pictures";
  fs::create_directories(dir);
  for (const char* name : {"homogeneous-grid.pdd", "layered-phreatic-loads.pdd"}) {
    fs::copy_file(fs::path(PELODYN_EXAMPLES) / name, dir / name, fs::copy_options::overwrite_existing);
  }
  ASSERT_TRUE(window.fileCommands().openPath(QString::fromStdString((dir / "layered-phreatic-loads.pdd").string())));
  save(&window, "main-english.png");
  // The title bar comes from the window manager: only a real screen shows
  // it (Xvfb with a window manager and the xcb platform).
  if (QGuiApplication::platformName() == QLatin1String("xcb")) {
    document->setOptionText(Option::E_Project_Name, QStringLiteral("Dam section B"));
    QTest::qWait(300);
    ASSERT_TRUE(QGuiApplication::primaryScreen()->grabWindow(0).save(folder + QStringLiteral("/title-modified.png")));
    document->undo();
    QTest::qWait(300);
    ASSERT_TRUE(QGuiApplication::primaryScreen()->grabWindow(0).save(folder + QStringLiteral("/title-clean.png")));
  }
  window.setLanguage(0);
  QCoreApplication::processEvents();
  save(&window, "main-thai.png");
  window.commands().action("PU_ExLoad")->trigger();
  save(&window, "panel-external-load-thai.png");
  window.commands().action("MN_Draw_Grid")->trigger();
  save(&window, "panel-grid-thai.png");
  window.setLanguage(1);
  save(&window, "panel-grid-english.png");

  // A long grid search, caught while it runs.
  ASSERT_TRUE(window.fileCommands().openPath(QString::fromStdString((dir / "homogeneous-grid.pdd").string())));
  document->setOptionText(Option::E_12_Division, QStringLiteral("100"));
  document->setOptionText(Option::E_23_Division, QStringLiteral("100"));
  window.commands().action("MN_Run")->trigger();
  ProgressWindow* progress = window.progressWindow();
  progress->move(window.x() + window.width() - 360, window.y() + 120);
  // Counted on this thread: the feedback emits on the worker's.
  int trials = 0;
  QObject receiver;
  QObject::connect(&window.runController().feedback(), &QtRunFeedback::trial, &receiver,
                   [&trials](const TrialCopy&) { ++trials; });
  QSignalSpy finished(&window.runController(), &RunController::finished);
  progress->findChild<QPushButton*>("B_Start_Stop")->click();
  test::WaitUntil([&] { return trials > 0 || !finished.isEmpty(); });
  ASSERT_GT(trials, 0);
  QTest::qWait(400);
  save(&window, "running-main.png");
  save(progress, "running-progress.png");
  progress->findChild<QPushButton*>("B_Start_Stop")->click();
  if (finished.isEmpty()) {
    test::WaitForSignal(finished);
  }
  QCoreApplication::processEvents();
  save(progress, "stopped-progress.png");
  save(&window, "stopped-main.png");
  finished.clear();
  // The example's own grid, run to its end.
  document->setOptionText(Option::E_12_Division, QStringLiteral("6"));
  document->setOptionText(Option::E_23_Division, QStringLiteral("6"));
  progress->findChild<QPushButton*>("B_Start_Stop")->click();
  if (finished.isEmpty()) {
    test::WaitForSignal(finished);
  }
  QCoreApplication::processEvents();
  save(&window, "finished-main.png");
  progress->setDetailsShown(true);
  progress->sortResults();
  save(progress, "finished-progress.png");
  window.commands().action("MN_Draw_Contour")->trigger();
  save(&window, "contours.png");
  window.setLanguage(0);
  QCoreApplication::sendPostedEvents();
  save(&window, "contours-thai.png");
  window.setLanguage(1);
  QCoreApplication::sendPostedEvents();
  // Several critical circles on one centre: each label readable.
  save(window.view(), "critical-circles.png");

  // Another project: nothing of the run stays on show.
  prompter.saveAnswers = {SaveChoice::Discard};
  ASSERT_TRUE(window.fileCommands().openPath(QString::fromStdString((dir / "layered-phreatic-loads.pdd").string())));
  QCoreApplication::processEvents();
  save(progress, "progress-after-open.png");
  save(&window, "main-after-open.png");
  ASSERT_TRUE(window.fileCommands().openPath(QString::fromStdString((dir / "homogeneous-grid.pdd").string())));
  // The grid raised above the critical centres: the minimum on its edge.
  document->setOptions(QStringLiteral("Grid"), [](OptionValues& o) {
    o.setText(Option::E_Y_LeftDown, "100");
    o.setText(Option::E_Y_RightDown, "100");
    o.setText(Option::E_Y_RightTop, "130");
  });
  finished.clear();
  progress->findChild<QPushButton*>("B_Start_Stop")->click();
  if (finished.isEmpty()) {
    test::WaitForSignal(finished);
  }
  QCoreApplication::processEvents();
  save(progress, "edge-warning-progress.png");
  save(&window, "edge-warning-main.png");

  window.setLanguage(0);
  // The real message box of the New question, in Thai.
  {
    QtPrompter boxes(&window);
    boxes.setThai([] { return true; });
    QTimer::singleShot(300, [&] {
      if (QWidget* box = QApplication::activeModalWidget()) {
        box->grab().save(folder + QStringLiteral("/question-new-thai.png"));
        box->close();
      }
    });
    boxes.askOkCancel(MessageBoxText(UiTextFor(0, UiText::NewCaption)),
                      MessageBoxText(UiTextFor(0, UiText::NewQuestion)));
  }
  FailureGeometryWindow geometry(*document, &window);
  geometry.show();
  save(&geometry, "failure-geometry-thai.png");
}

// The guide's worked study (the layered example) at each step the guide
// shows: its water line being drawn, the run's end with the sorted
// details, the contours, a grid whose minimum lies on its edge, and the
// Failure Geometry window in Thai.
TEST(Screenshots, TheGuidesStudy) {
  const QString folder = qEnvironmentVariable("PELODYN_PICTURES");
  if (folder.isEmpty()) GTEST_SKIP() << "PELODYN_PICTURES is not set";
  QDir().mkpath(folder);
  auto save = [&](QWidget* w, const char* name) {
    QCoreApplication::processEvents();
    ASSERT_TRUE(w->grab().save(folder + QLatin1Char('/') + QLatin1String(name)));
  };
  test::ScriptedPrompter prompter;
  auto document = ProjectDocument::openPrivate();
  MainWindow window(*document, prompter);
  window.resize(1300, 820);
  window.show();
  const fs::path dir = fs::temp_directory_path() / "pelodyn-study-pictures";
  fs::create_directories(dir);
  const fs::path study = dir / "layered-phreatic-loads.pdd";
  fs::copy_file(fs::path(PELODYN_EXAMPLES) / "layered-phreatic-loads.pdd", study, fs::copy_options::overwrite_existing);
  const QString studyPath = QString::fromStdString(study.string());
  ASSERT_TRUE(window.fileCommands().openPath(studyPath));
  QCoreApplication::processEvents();

  // The phreatic line drawn again by clicks, caught before its last point.
  SectionView* view = window.view();
  const auto pixel = [view](double x, double y) {
    const PixelPoint p = view->transform().worldToImage(x, y, 1.0, 1.0);
    return QPoint(p.x, p.y);
  };
  window.commands().action("PU_WaterLine")->trigger();
  document->setOptionText(Option::E_Unit_Weight_Water, QStringLiteral("9.81"));
  window.findChild<QPushButton*>(QStringLiteral("B_WaterLine_Draw"))->click();
  for (const auto& [x, y] : {std::pair{0.0, 25.0}, std::pair{60.0, 14.0}}) {
    QTest::mouseMove(view->canvas(), pixel(x, y));
    QTest::mouseClick(view->canvas(), Qt::LeftButton, Qt::NoModifier, pixel(x, y));
  }
  QTest::mouseMove(view->canvas(), pixel(88, 13.4));
  save(&window, "study-water-line.png");
  // Back to the study as it is.
  prompter.saveAnswers = {SaveChoice::Discard};
  ASSERT_TRUE(window.fileCommands().openPath(studyPath));

  // The run to its end, the details sorted, the contours.
  QSignalSpy finished(&window.runController(), &RunController::finished);
  const auto runToEnd = [&] {
    window.commands().action("MN_Run")->trigger();
    finished.clear();
    window.progressWindow()->findChild<QPushButton*>("B_Start_Stop")->click();
    if (finished.isEmpty()) {
      test::WaitForSignal(finished);
    }
    QCoreApplication::processEvents();
  };
  runToEnd();
  ProgressWindow* progress = window.progressWindow();
  progress->move(window.x() + window.width() - 360, window.y() + 120);
  save(&window, "study-finished-main.png");
  progress->setDetailsShown(true);
  progress->sortResults();
  save(progress, "study-finished-progress.png");
  progress->setDetailsShown(false);
  save(progress, "study-details-hidden-progress.png");
  window.commands().action("MN_Draw_Contour")->trigger();
  save(&window, "study-contours.png");
  window.commands().action("MN_Draw_Contour")->trigger();
  window.setLanguage(0);
  QCoreApplication::sendPostedEvents();
  save(&window, "study-finished-main-thai.png");
  FailureGeometryWindow geometry(*document, &window);
  geometry.show();
  save(&geometry, "study-failure-geometry-thai.png");
  geometry.close();
  window.setLanguage(1);
  QCoreApplication::sendPostedEvents();

  // The grid of centres raised well above the slope: the minima lie on its
  // lower edge, and the windows say which way to extend it.
  document->setOptions(QStringLiteral("Grid"), [](OptionValues& o) {
    o.setText(Option::E_Y_LeftDown, "60");
    o.setText(Option::E_Y_RightDown, "60");
    o.setText(Option::E_Y_RightTop, "78");
  });
  runToEnd();
  save(progress, "study-edge-warning-progress.png");
  save(&window, "study-edge-warning-main.png");
}

// The step-by-step form's six pages and the data-entry dialogs, in both
// languages, on the layered example.
TEST(Screenshots, FormsInBothLanguages) {
  const QString folder = qEnvironmentVariable("PELODYN_PICTURES");
  if (folder.isEmpty()) GTEST_SKIP() << "PELODYN_PICTURES is not set";
  QDir().mkpath(folder);
  auto save = [&](QWidget* w, const QString& name) {
    QCoreApplication::processEvents();
    ASSERT_TRUE(w->grab().save(folder + QLatin1Char('/') + name));
  };
  test::ScriptedPrompter prompter;
  auto document = ProjectDocument::openPrivate();
  MainWindow window(*document, prompter);
  window.resize(1300, 820);
  window.show();
  const fs::path dir = fs::temp_directory_path() / "pelodyn-form-pictures";
  fs::create_directories(dir);
  fs::copy_file(fs::path(PELODYN_EXAMPLES) / "layered-phreatic-loads.pdd", dir / "layered.pdd",
                fs::copy_options::overwrite_existing);
  ASSERT_TRUE(window.fileCommands().openPath(QString::fromStdString((dir / "layered.pdd").string())));
  StepByStepForm* form = window.stepForm();
  form->show();
  for (int language : {1, 0}) {
    window.setLanguage(static_cast<std::uint8_t>(language));
    const QString suffix = language == 0 ? QStringLiteral("-thai.png") : QStringLiteral("-english.png");
    for (int page = 0; page < 6; ++page) {
      form->pages().setCurrentIndex(page);
      if (page == 4) {
        auto* loads = form->findChild<QTabWidget*>(QStringLiteral("PC_Load_Effect"));
        for (int inner = 0; inner < loads->count(); ++inner) {
          loads->setCurrentIndex(inner);
          save(form, QStringLiteral("step-page-4-%1").arg(inner) + suffix);
        }
        continue;
      }
      save(form, QStringLiteral("step-page-%1").arg(page) + suffix);
    }
    SoilPropertiesDialog soils(*document, prompter, &window);
    soils.show();
    save(&soils, QStringLiteral("soil-properties") + suffix);
    GeometryDialog geometry(*document, prompter, &window);
    geometry.show();
    save(&geometry, QStringLiteral("geometry") + suffix);
    BottomLineDialog bottom(*document, prompter, &window);
    bottom.show();
    save(&bottom, QStringLiteral("bottom-line") + suffix);
    SettingDialog setting(*document, prompter, &window);
    setting.show();
    save(&setting, QStringLiteral("setting") + suffix);
    AnalysisSettingDialog analysis(*document, prompter, &window);
    analysis.show();
    save(&analysis, QStringLiteral("analysis-setting") + suffix);
    PageSetupDialog page(*document, prompter, &window);
    page.show();
    save(&page, QStringLiteral("page-setup") + suffix);
  }
}

// The batch windows (with the question asked before a batch, and a project
// named in Thai) and the vegetation window's pages, in both languages.
TEST(Screenshots, BatchAndVegetationWindows) {
  const QString folder = qEnvironmentVariable("PELODYN_PICTURES");
  if (folder.isEmpty()) GTEST_SKIP() << "PELODYN_PICTURES is not set";
  QDir().mkpath(folder);
  auto save = [&](QWidget* w, const QString& name) {
    QCoreApplication::processEvents();
    ASSERT_TRUE(w->grab().save(folder + QLatin1Char('/') + name));
  };
  const fs::path dir = fs::temp_directory_path() / "pelodyn-batch-pictures";
  fs::remove_all(dir);
  fs::create_directories(dir);
  for (const char* name : {"homogeneous-grid.pdd", "layered-phreatic-loads.pdd", "irregular-random.pdd"}) {
    fs::copy_file(fs::path(PELODYN_EXAMPLES) / name, dir / name);
  }
  // A copy whose project name is Thai (line 2 of the file, code page 874).
  std::string bytes = ReadFileBytes(dir / "homogeneous-grid.pdd");
  const std::size_t first = bytes.find('\n') + 1;
  bytes.replace(first, bytes.find('\r', first) - first, Utf8ToCp874("ลาดดินริมคลอง", "name"));
  WriteFileReplacing(dir / "ลาดดินริมคลอง.pdd", bytes);

  test::ScriptedPrompter prompter;
  auto document = ProjectDocument::openPrivate();
  for (int language : {1, 0}) {
    document->setLanguage(static_cast<std::uint8_t>(language));
    const QString suffix = language == 0 ? QStringLiteral("-thai.png") : QStringLiteral("-english.png");
    AutoExeFileWindow batch(*document, prompter);
    batch.setFolder(QString::fromStdString(dir.string()));
    batch.show();
    save(&batch, QStringLiteral("batch-empty") + suffix);
    batch.findChild<QPushButton*>(QStringLiteral("B_AddAll"))->click();
    save(&batch, QStringLiteral("batch-selected") + suffix);
    QSignalSpy finished(&batch, &AutoExeFileWindow::batchFinished);
    ASSERT_TRUE(batch.run());
    test::WaitForSignal(finished);
    // The question as the desktop program asks it.
    QMessageBox question(QMessageBox::Warning, prompter.shown.back().caption, prompter.shown.back().text,
                         QMessageBox::Ok | QMessageBox::Cancel);
    question.show();
    save(&question, QStringLiteral("batch-question") + suffix);
    save(&batch, QStringLiteral("batch-done") + suffix);
    AutoExeFileReport* report = batch.reportWindow();
    ASSERT_NE(report, nullptr);
    save(report, QStringLiteral("batch-report") + suffix);
  }

  // The vegetation window with two root types, three plants and a result.
  document->setLanguage(1);
  auto row = [](Table table, std::vector<FieldValue> values) {
    Row r(table);
    for (std::size_t f = 0; f < values.size(); ++f) r.value(f) = values[f];
    return r;
  };
  document->insertRows(Table::Root_No, 1,
                       {row(Table::Root_No, {std::int64_t{1}, std::string("Vetiver grass"), 12.0}),
                        row(Table::Root_No, {std::int64_t{2}, std::string("หญ้าแฝก"), 8.0})});
  std::vector<Row> layers;
  for (int type = 1; type <= 2; ++type) {
    for (int layer = 1; layer <= 3; ++layer) {
      layers.push_back(row(Table::Root_Layer, {std::int64_t{type}, std::int64_t{layer}, 0.6 / layer + 0.1 * type}));
    }
  }
  document->insertRows(Table::Root_Layer, 1, layers);
  document->insertRows(Table::Root_Position, 1,
                       {row(Table::Root_Position, {std::int64_t{1}, std::int64_t{1}, 0.5, 3.0}),
                        row(Table::Root_Position, {std::int64_t{2}, std::int64_t{2}, 1.5, 12.0}),
                        row(Table::Root_Position, {std::int64_t{3}, std::int64_t{1}, 1.0, 24.5})});
  VegetationWindow vegetation(*document, prompter);
  vegetation.show();
  vegetation.generate();
  auto* pages = vegetation.findChild<QTabWidget*>(QStringLiteral("PC_Vegetation"));
  for (int language : {1, 0}) {
    document->setLanguage(static_cast<std::uint8_t>(language));
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(&vegetation, &change);
    const QString suffix = language == 0 ? QStringLiteral("-thai.png") : QStringLiteral("-english.png");
    for (int page = 0; page < pages->count(); ++page) {
      pages->setCurrentIndex(page);
      save(&vegetation, QStringLiteral("vegetation-page-%1").arg(page) + suffix);
    }
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace pelodyn
