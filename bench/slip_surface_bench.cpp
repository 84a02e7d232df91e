// Surfaces analysed per second: one fixed circle through a three-soil section
// with a phreatic line, all four methods, at 10, 30 and 100 base slices.
#include <benchmark/benchmark.h>

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

}  // namespace
}  // namespace pelodyn
