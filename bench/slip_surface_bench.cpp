// Surfaces analysed per second: one fixed circle through a three-soil section
// with a phreatic line, all four methods, at 10, 30 and 100 base slices.
#include <benchmark/benchmark.h>

#include "engine/slip_surface.h"
#include "model/collection.h"
#include "persistence/sqlite_store.h"

namespace pelodyn {
namespace {

Project ThreeSoilSection(int baseSlices) {
  Project project(SqliteWorkingStore::OpenInMemory());
  auto soil = [&](int no, double c, double phi, double gamma) {
    Row r(Table::Soil_Prop);
    r.set("Line No.", no).set("Cohesion", c).set("Phi", phi).set("Unit Weight", gamma);
    project.store->append(r);
  };
  soil(1, 30.0, 35.0, 20.0);
  soil(2, 15.0, 28.0, 19.0);
  soil(3, 5.0, 22.0, 18.0);
  soil(4, 0.0, 0.0, 0.0);
  auto line = [&](int no, std::initializer_list<std::pair<double, double>> points) {
    int k = 1;
    for (auto [x, y] : points) {
      Row r(Table::Geometry);
      r.set("Line No.", no).set("Point No.", k++).set("Coordi X", x).set("Coordi Y", y);
      project.store->append(r);
    }
  };
  line(1, {{0, 0}, {100, 0}});
  line(2, {{0, 10}, {100, 12}});
  line(3, {{0, 20}, {45, 18}, {100, 16}});
  line(4, {{0, 30}, {30, 30}, {60, 15}, {100, 15}});
  int k = 1;
  for (auto [x, y] : {std::pair{0.0, 25.0}, {60.0, 14.0}, {100.0, 13.0}}) {
    Row r(Table::Waterline);
    r.set("Point No.", k++).set("Coordi X", x).set("Coordi Y", y);
    project.store->append(r);
  }
  project.options.setItemIndex("CB_Seepage", 1);
  project.options.setText("E_Unit_Weight_Water", "9.81");
  project.options.setText("E_Cir_Slice", std::to_string(baseSlices));
  project.options.setText("E_Cir_Depth_Tallest", "0");
  project.options.setChecked("CB_Ordinary", true);
  SilentPlatform platform;
  CollectAnalysisData(project, platform);
  project.model.TrialRadius = 32.0;
  return project;
}

void BM_AnalyseCircle(benchmark::State& state) {
  Project project = ThreeSoilSection(static_cast<int>(state.range(0)));
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

}  // namespace
}  // namespace pelodyn
