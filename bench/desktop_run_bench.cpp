// The 21 x 21 grid with 20 circles per centre, run from the desktop path
// (progress window, worker thread, animation on, the window painting) beside
// the same search run headless. Reports both times, their ratio and how
// often the drawing area was repainted while the search ran. The desktop run
// is timed on one search thread, as the headless one, and again with one
// thread per core.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <cstdio>
#include <filesystem>

#include "desktop_bench.h"
#include "engine/search.h"
#include "model/verification.h"
#include "persistence/project_file.h"
#include "persistence/sqlite_store.h"
#include "ui/document/project_document.h"
#include "ui/document/prompter.h"
#include "ui/run/progress_window.h"
#include "ui/run/run_controller.h"
#include "ui/shell/main_window.h"
#include "view/section_view.h"

namespace {

using namespace pelodyn;

using bench::BenchWindow;

class PaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++paints;
    return false;
  }
};

void MakeBigGrid(Project& p) {
  p.options.setText(Option::E_12_Division, "20");
  p.options.setText(Option::E_23_Division, "20");
  p.options.setItemIndex(Option::CB_Circle_Decrement, 0);
  p.options.setText(Option::E_Cir_Decrement, "20");
}

double Headless(const std::filesystem::path& file) {
  Project p(SqliteWorkingStore::OpenInMemory());
  NewProject(p);
  SilentPlatform platform;
  ReadAnyProjectFile(p, platform, file);
  MakeBigGrid(p);
  QElapsedTimer t;
  t.start();
  StartAnalysis(p, platform);
  return t.nsecsElapsed() / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::filesystem::path file = std::filesystem::path(PELODYN_EXAMPLES) / "homogeneous-grid.pdd";

  BenchWindow bench(file);
  MainWindow& window = bench.window;
  ProjectDocument* document = bench.document.get();
  MakeBigGrid(document->project());
  window.commands().action("MN_Run")->trigger();
  PaintCounter counter;
  window.view()->canvas()->installEventFilter(&counter);

  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  // One desktop run: its time and the repaints per second while it ran.
  auto desktop = [&](int threads, double& rate) {
    window.runController().setThreads(threads);
    QSignalSpy finished(&window.runController(), &RunController::finished);
    counter.paints = 0;
    QElapsedTimer t;
    t.start();
    window.progressWindow()->findChild<QPushButton*>("B_Start_Stop")->click();
    if (finished.isEmpty()) finished.wait(600000);
    const double seconds = t.nsecsElapsed() / 1e9;
    rate = counter.paints / seconds;
    return seconds;
  };
  double bestDesktop = 1e300, bestHeadless = 1e300, bestAllCores = 1e300, rate = 0, rateAll = 0;
  for (int r = 0; r < rounds; ++r) {
    bestHeadless = std::min(bestHeadless, Headless(file));
    double runRate = 0;
    const double one = desktop(1, runRate);
    if (one < bestDesktop) {
      bestDesktop = one;
      rate = runRate;
    }
    const double all = desktop(0, runRate);
    if (all < bestAllCores) {
      bestAllCores = all;
      rateAll = runRate;
    }
  }
  std::printf("21 x 21 grid, 20 circles per centre (%d rounds, best of each)\n", rounds);
  std::printf("  headless StartAnalysis : %8.3f s\n", bestHeadless);
  std::printf("  desktop, animation on  : %8.3f s  (%.2f x headless; goal <= 1.5)\n", bestDesktop,
              bestDesktop / bestHeadless);
  std::printf("  repaints of the drawing: %8.1f per second while searching (goal >= 20)\n", rate);
  std::printf("  desktop, one thread per core (%d): %8.3f s, %.1f repaints per second\n", SearchThreads(0),
              bestAllCores, rateAll);
  return 0;
}
