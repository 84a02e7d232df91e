// Surfaces analysed per second: one fixed circle through a three-soil section
// with a phreatic line, all four methods, at 10, 30 and 100 base slices. And
// how soon a grid search ends once Stop is pressed from another thread.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "engine/methods.h"
#include "engine/rigorous.h"
#include "engine/searcher.h"
#include "engine/slip_surface.h"
#include "model/collection.h"
#include "persistence/sqlite_store.h"
#include "three_soil_section.h"

namespace pelodyn {
namespace {

void ThreeSoilSection(Project& project, int baseSlices) {
  bench::AppendThreeSoilSection(project);
  project.options.setItemIndex(Option::CB_Seepage, 1);
  project.options.setText(Option::E_Unit_Weight_Water, "9.81");
  project.options.setText(Option::E_Cir_Slice, std::to_string(baseSlices));
  project.options.setText(Option::E_Cir_Depth_Tallest, "0");
  project.options.setChecked(Option::CB_Ordinary, true);
  SilentPlatform platform;
  CollectAnalysisData(project, platform);
  project.model.TrialRadius = 32.0;
}

void BM_AnalyseCircle(benchmark::State& state) {
  Project project(SqliteWorkingStore::OpenInMemory());
  ThreeSoilSection(project, static_cast<int>(state.range(0)));
  SliceSet& slices = project.slices;
  for (auto _ : state) {
    AnalyseSlipSurface(project.model, 48.0, 38.0, slices);
    benchmark::DoNotOptimize(slices.FsSpencer);
  }
  state.counters["surfaces/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.SetLabel(std::to_string(slices.SliceCount) + " slices");
}
BENCHMARK(BM_AnalyseCircle)->Arg(10)->Arg(30)->Arg(100);

// The four methods alone, on the slices of that circle.
void BM_MethodsOnly(benchmark::State& state) {
  Project project(SqliteWorkingStore::OpenInMemory());
  ThreeSoilSection(project, 10);
  SliceSet& slices = project.slices;
  AnalyseSlipSurface(project.model, 48.0, 38.0, slices);
  for (auto _ : state) {
    ComputeFactorsOfSafety(slices, project.model.SeismicKh, project.model.SeismicKv, project.model.PassCriteria);
    benchmark::DoNotOptimize(slices.FsSpencer);
  }
  state.counters["surfaces/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MethodsOnly);

// Morgenstern-Price with a constant function on the same slices, against
// the four methods above (goal: at most three times their cost).
void BM_MorgensternPriceOnly(benchmark::State& state) {
  Project project(SqliteWorkingStore::OpenInMemory());
  ThreeSoilSection(project, 10);
  SliceSet& slices = project.slices;
  AnalyseSlipSurface(project.model, 48.0, 38.0, slices);
  int iterations = 0;
  for (auto _ : state) {
    const RigorousResult r = MorgensternPrice(slices, project.model.SeismicKh, project.model.SeismicKv, {});
    iterations = r.iterations;
    benchmark::DoNotOptimize(r.F);
  }
  state.counters["surfaces/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.SetLabel(std::to_string(iterations) + " evaluations");
}
BENCHMARK(BM_MorgensternPriceOnly);

// A grid of 21 x 21 centres with 10 circles each over the same section,
// Results rows included, against the same circles analysed bare.
void SetGrid(Project& project) {
  bench::SetCentreGrid(project.options, "35", "32", "60", "52", "20");
  SilentPlatform platform;
  CollectAnalysisData(project, platform);
  project.BatchMode = 1;
}

void BM_GridSearch(benchmark::State& state) {
  Project project(SqliteWorkingStore::OpenInMemory());
  ThreeSoilSection(project, 10);
  SetGrid(project);
  SilentPlatform platform;
  long surfaces = 0;
  for (auto _ : state) {
    project.store->empty(Table::Results);
    project.run.StopRequested = 0;
    project.run.LoopCount = 0;
    Searcher searcher(project, platform);
    searcher.SearchGrid();
    searcher.FlushResults();
    surfaces += project.run.LoopCount;
  }
  state.counters["surfaces/s"] = benchmark::Counter(static_cast<double>(surfaces), benchmark::Counter::kIsRate);
  state.SetLabel(std::to_string(project.store->rowCount(Table::Results)) + " Results rows");
}
BENCHMARK(BM_GridSearch)->Unit(benchmark::kMillisecond);

void BM_GridCirclesBare(benchmark::State& state) {
  Project project(SqliteWorkingStore::OpenInMemory());
  ThreeSoilSection(project, 10);
  SetGrid(project);
  SilentPlatform platform;
  // The circles the grid search analyses, found once.
  std::vector<std::array<double, 3>> circles;
  {
    Searcher searcher(project, platform);
    const AnalysisModel& m = project.model;
    for (int f = 0; f <= m.GridDivision23; ++f) {
      for (int j = 0; j <= m.GridDivision12; ++j) {
        const double x = m.GridCornerX[0] + f * (m.GridCornerX[2] - m.GridCornerX[1]) / m.GridDivision23 +
                         j * (m.GridCornerX[1] - m.GridCornerX[0]) / m.GridDivision12;
        const double y = m.GridCornerY[0] + f * (m.GridCornerY[2] - m.GridCornerY[1]) / m.GridDivision23 +
                         j * (m.GridCornerY[1] - m.GridCornerY[0]) / m.GridDivision12;
        searcher.FindRadiusRange(x, y);
        const double step = (project.run.MaxRadius - project.run.MinRadius) / m.CircleCount;
        for (int i = 0; i < m.CircleCount; ++i) {
          const double r = project.run.MaxRadius - i * step;
          if (r <= project.run.MinRadius) break;
          circles.push_back({x, y, r});
        }
      }
    }
  }
  long surfaces = 0;
  for (auto _ : state) {
    for (const auto& [x, y, r] : circles) {
      project.model.TrialRadius = r;
      AnalyseSlipSurface(project.model, x, y, project.slices);
      benchmark::DoNotOptimize(project.slices.FsSpencer);
    }
    surfaces += static_cast<long>(circles.size());
  }
  state.counters["surfaces/s"] = benchmark::Counter(static_cast<double>(surfaces), benchmark::Counter::kIsRate);
  state.SetLabel(std::to_string(circles.size()) + " circles");
}
BENCHMARK(BM_GridCirclesBare)->Unit(benchmark::kMillisecond);

// Sets `started` once the run has reported `after` trials.
class StartedAfter final : public PlatformServices {
 public:
  StartedAfter(std::atomic<bool>& started, long after) : m_started(started), m_after(after) {}
  void showMessage(MessageKind, std::string_view, std::string_view) override {}
  bool askOkCancel(std::string_view, std::string_view) override { return true; }
  void reportProgress(const ProgressReport&) override {
    if (++m_reports == m_after) m_started = true;
  }
  void processPendingEvents() override {}

 private:
  std::atomic<bool>& m_started;
  long m_after;
  long m_reports = 0;
};

// The time from Stop, pressed from another thread as the desktop's button
// does, to the end of the run, on 1 and 2 threads: the grid above with 20
// circles a centre, stopped after 1000 trials.
void BM_StopLatency(benchmark::State& state) {
  Project project(SqliteWorkingStore::OpenInMemory());
  ThreeSoilSection(project, 10);
  project.options.setText(Option::E_Cir_Decrement, "20");
  SetGrid(project);
  RunOptions options;
  options.threads = static_cast<int>(state.range(0));
  options.alreadyChecked = true;
  for (auto _ : state) {
    project.store->empty(Table::Results);
    project.run.StopRequested = 0;
    std::atomic<bool> started{false}, ended{false};
    StartedAfter platform(started, 1000);
    std::chrono::steady_clock::time_point pressed;
    std::thread button([&] {
      while (!started && !ended) std::this_thread::yield();
      pressed = std::chrono::steady_clock::now();
      project.run.StopRequested = 1;
    });
    const RunResult result = RunAnalysis(project, platform, options);
    const auto endedAt = std::chrono::steady_clock::now();
    ended = true;
    button.join();
    if (result.outcome != RunOutcome::Stopped) {
      state.SkipWithError("the run was not stopped");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(endedAt - pressed).count());
  }
}
BENCHMARK(BM_StopLatency)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pelodyn
