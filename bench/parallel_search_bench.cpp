// The parallel searches against the machine's capacity, all in one run: the
// speed-up of a search on 2 threads over 1 (the grid of 21 x 21 centres with
// 20 circles each, an automatic search and an irregular search), and beside
// it what two independent single-thread processes gain over one on the same
// machine (each doing the same runs, started together with fork()).
//
//   parallel_search_bench [rounds [search]]   (default 3 rounds, their medians;
//                                              search: grid, automatic or irregular)
//
// Goals: the grid's speed-up at least 90 % of the capacity, the others 75 %.
// On a machine that is busy with other work the figures are noisy.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "engine/search.h"
#include "model/collection.h"
#include "persistence/sqlite_store.h"
#include "three_soil_section.h"

namespace pelodyn {
namespace {

// The section of slip_surface_bench: three soils and a phreatic line.
void ThreeSoilSection(Project& project) {
  bench::AppendThreeSoilSection(project);
  OptionValues& o = project.options;
  o.setItemIndex(Option::CB_Seepage, 1);
  o.setText(Option::E_Unit_Weight_Water, "9.81");
  o.setText(Option::E_Cir_Slice, "20");
  o.setText(Option::E_NonCir_Slice, "20");
  o.setText(Option::E_Cir_Depth_Tallest, "0");
  for (const char* box : {Option::CB_Ordinary, Option::CB_Simp_Janbu, Option::CB_Simp_Bishop, Option::CB_Spencer})
    o.setChecked(box, true);
  project.BatchMode = 1;
}

void Grid(Project& project) {
  OptionValues& o = project.options;
  bench::SetCentreGrid(o, "35", "32", "60", "52", "20");
  o.setText(Option::E_Cir_Decrement, "20");
}

void Automatic(Project& project) {
  OptionValues& o = project.options;
  o.setItemIndex(Option::CB_Cir_Search, 2);
  o.setText(Option::E_Xauto_Start, "40");
  o.setText(Option::E_Yauto_Start, "45");
  o.setText(Option::E_Xauto_Increment, "1");
  o.setText(Option::E_Yauto_Increment, "1");
  o.setText(Option::E_Cir_Decrement, "20");
}

void Irregular(Project& project) {
  OptionValues& o = project.options;
  o.setItemIndex(Option::RG_Theory, 2);
  int k = 1;
  for (auto [x, y] : {std::pair{22.0, 30.0}, {32.0, 21.0}, {42.0, 15.0}, {52.0, 12.5}, {62.0, 12.5}, {75.0, 15.0}}) {
    Row r(Table::NonCircular_Coordinate);
    r.set(PointField::PointNo, k++).set(PointField::X, x).set(PointField::Y, y);
    project.store->append(r);
  }
  o.setText(Option::E_NonCir_X_Center, "50");
  o.setText(Option::E_NonCir_Y_Center, "45");
  o.setText(Option::E_Divide_Step, "3");
  o.setText(Option::E_Move_Length, "0.5");
}

struct Workload {
  const char* name;
  void (*setUp)(Project&);
  double goal;  // of the capacity
};

// Runs the search `runs` times on `threads` threads; returns the surfaces of one run.
long RunSearches(Project& project, int threads, int runs) {
  SilentPlatform platform;
  RunOptions options;
  options.threads = threads;
  for (int r = 0; r < runs; ++r) {
    project.store->empty(Table::Results);
    project.run.StopRequested = 0;
    if (RunAnalysis(project, platform, options).outcome != RunOutcome::Complete) {
      std::fprintf(stderr, "the run did not complete\n");
      std::exit(1);
    }
  }
  return project.run.SurfaceCount;
}

double Seconds(const std::function<void()>& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// `processes` single-thread processes doing the same runs at once; the time
// until the last one ends. Forked while this process has no other thread.
double ProcessesSeconds(Project& project, int processes, int runs) {
  return Seconds([&] {
    std::vector<pid_t> children;
    for (int i = 0; i < processes; ++i) {
      const pid_t pid = fork();
      if (pid == 0) {
        RunSearches(project, 1, runs);
        _exit(0);
      }
      children.push_back(pid);
    }
    for (pid_t pid : children) waitpid(pid, nullptr, 0);
  });
}

// Processor time of this process (all its threads), in seconds.
double ProcessorSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         1e-6 * static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace
}  // namespace pelodyn

int main(int argc, char** argv) {
  using namespace pelodyn;
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const Workload workloads[] = {
      {"grid 21x21x20", Grid, 0.90}, {"automatic", Automatic, 0.75}, {"irregular", Irregular, 0.75}};
  std::printf("%u cores; medians of %d rounds\n", std::thread::hardware_concurrency(), rounds);
  // Per run: wall time on 1 and 2 threads, processor time on 1 and 2
  // threads (all threads), and the wall time of two single-thread processes
  // running side by side.
  std::printf("%-14s %8s %5s %10s %10s %10s %10s %8s %12s %9s %8s %6s\n", "search", "surfaces", "runs", "1 thread",
              "2 threads", "1 thr cpu", "2 thr cpu", "speed-up", "surfaces/s 1", "2 procs", "capacity", "ratio");
  for (const Workload& w : workloads) {
    if (argc > 2 && std::string(w.name).rfind(argv[2], 0) != 0) continue;
    Project project(SqliteWorkingStore::OpenInMemory());
    ThreeSoilSection(project);
    w.setUp(project);
    SilentPlatform platform;
    CollectAnalysisData(project, platform);
    // Runs enough for about half a second on one thread.
    long surfaces = 0;
    const double once = Seconds([&] { surfaces = RunSearches(project, 1, 1); });
    const int runs = std::max(1, static_cast<int>(0.5 / std::max(once, 1e-6)));
    std::vector<double> one, two, speedUp, solo, pair, capacity, cpuOne, cpuTwo;
    for (int r = 0; r < rounds; ++r) {
      double cpu = ProcessorSeconds();
      one.push_back(Seconds([&] { RunSearches(project, 1, runs); }));
      cpuOne.push_back(ProcessorSeconds() - cpu);
      cpu = ProcessorSeconds();
      two.push_back(Seconds([&] { RunSearches(project, 2, runs); }));
      cpuTwo.push_back(ProcessorSeconds() - cpu);
      solo.push_back(ProcessesSeconds(project, 1, runs));
      pair.push_back(ProcessesSeconds(project, 2, runs));
      speedUp.push_back(one.back() / two.back());
      capacity.push_back(2.0 * solo.back() / pair.back());
    }
    const double s = Median(speedUp), c = Median(capacity);
    std::printf("%-14s %8ld %5d %8.1fms %8.1fms %8.1fms %8.1fms %8.2f %12.0f %7.1fms %8.2f %5.0f%% (goal %.0f%%)\n",
                w.name, surfaces, runs, 1000.0 * Median(one) / runs, 1000.0 * Median(two) / runs,
                1000.0 * Median(cpuOne) / runs, 1000.0 * Median(cpuTwo) / runs, s,
                static_cast<double>(surfaces) * runs / Median(one), 1000.0 * Median(pair) / runs, c, 100.0 * s / c,
                100.0 * w.goal);
  }
  return 0;
}
