// Peak memory of a grid search of about a million trials run from the
// window, with the progress window's details closed ("plain") or open and
// used ("details": the Results grid scrolled to its end and middle, the rows
// sorted by the Bishop factor, a sorted row replayed, the contour map
// drawn). Run it twice, once each way, and compare the peaks: the details
// read the Results rows on demand, so they must cost little beside the run.
//
//   details_memory_bench plain|details [divisions]
#include <sys/resource.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "desktop_bench.h"
#include "ui/document/project_document.h"
#include "ui/document/prompter.h"
#include "ui/results/results_presenter.h"
#include "ui/run/progress_window.h"
#include "ui/run/run_controller.h"
#include "ui/shell/main_window.h"

namespace {

using namespace pelodyn;

using bench::BenchWindow;

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || (std::strcmp(argv[1], "plain") != 0 && std::strcmp(argv[1], "details") != 0)) {
    std::fprintf(stderr, "usage: details_memory_bench plain|details [divisions]\n");
    return 2;
  }
  const bool details = std::strcmp(argv[1], "details") == 0;
  const QString divisions = argc > 2 ? QString::fromLatin1(argv[2]) : QStringLiteral("222");
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::filesystem::path file = std::filesystem::path(PELODYN_EXAMPLES) / "homogeneous-grid.pdd";

  BenchWindow bench(file);
  MainWindow& window = bench.window;
  ProjectDocument* document = bench.document.get();
  // (divisions + 1)^2 centres, 20 circles each: 223 x 223 x 20 = 994,580,
  // just under the largest grid a run accepts.
  document->setOptionText(Option::E_12_Division, divisions);
  document->setOptionText(Option::E_23_Division, divisions);
  document->setOptionIndex(Option::CB_Circle_Decrement, 0);
  document->setOptionText(Option::E_Cir_Decrement, QStringLiteral("20"));
  window.commands().action("MN_Run")->trigger();
  ProgressWindow* progress = window.progressWindow();
  if (details) progress->setDetailsShown(true);
  const long before = PeakKilobytes();

  QSignalSpy finished(&window.runController(), &RunController::finished);
  QElapsedTimer t;
  t.start();
  progress->findChild<QPushButton*>("B_Start_Stop")->click();
  if (!window.runController().isRunning() && finished.isEmpty()) {
    std::fprintf(stderr, "the run was refused: see its message\n");
    return 1;
  }
  if (finished.isEmpty()) finished.wait(3600000);
  const double runSeconds = t.nsecsElapsed() / 1e9;
  QCoreApplication::processEvents();
  const long rows = document->project().store->rowCount(Table::Results);

  double detailSeconds = 0.0;
  if (details) {
    t.restart();
    auto* grid = progress->findChild<QTableView*>("DBG_Results");
    QAbstractItemModel* model = grid->model();
    grid->scrollToBottom();
    QCoreApplication::processEvents();
    grid->scrollTo(model->index(model->rowCount() / 2, 0));
    QCoreApplication::processEvents();
    progress->sortResults();
    QCoreApplication::processEvents();
    progress->chooseSortedRow(3);
    window.results().setContoursShown(true);
    QCoreApplication::processEvents();
    detailSeconds = t.nsecsElapsed() / 1e9;
  }
  std::printf("%s: %ld Results rows, run %.2f s, details %.2f s, peak %.1f MB (before the run %.1f MB)\n", argv[1],
              rows, runSeconds, detailSeconds, PeakKilobytes() / 1024.0, before / 1024.0);
  return 0;
}
