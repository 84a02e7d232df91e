// The Searcher itself: its state, the analysis of one trial, the Results
// rows, the progress and the minima shown while a run goes on. The search
// kinds live in files of their own (search_grid, search_pattern,
// search_irregular), the replays in presented_surfaces and the run in run.

#include "engine/searcher.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>

#if defined(__linux__)
#include <sched.h>
#endif

#include "engine/search_internal.h"
#include "model/numbers.h"

namespace pelodyn {

using namespace search_internal;

namespace {

// Replaces the rows of `table` by the slice boundaries of the last surface.
template <FieldKey F>
void WriteBoundaries(WorkingStore& store, Table table, const SliceSet& s, F no, F x, F y) {
  StoreTransaction transaction(store);
  store.empty(table);
  const std::size_t count =
      std::min({static_cast<std::size_t>(std::max(s.SliceCount, 0)) + 1, s.BoundaryX.size(), s.BaseYAtBoundary.size()});
  for (std::size_t i = 0; i < count; ++i) {
    Row row(table);
    row.set(no, static_cast<std::int64_t>(i) + 1);
    row.set(x, RoundToUnit(s.BoundaryX[i], 0.0001));
    row.set(y, RoundToUnit(s.BaseYAtBoundary[i], 0.0001));
    store.append(row);
  }
  transaction.commit();
}

}  // namespace

int SearchThreads(int requested) {
  if (requested > 0) return requested;
  return UsableCpuCount();
}

int UsableCpuCount() {
  int count = static_cast<int>(std::thread::hardware_concurrency());
#if defined(__linux__)
  cpu_set_t mask;
  CPU_ZERO(&mask);
  if (sched_getaffinity(0, sizeof mask, &mask) == 0) count = CPU_COUNT(&mask);
#endif
  if (const char* slurm = std::getenv("SLURM_CPUS_PER_TASK")) {
    int given = 0;
    const char* end = slurm + std::strlen(slurm);
    const auto [at, error] = std::from_chars(slurm, end, given);
    if (error == std::errc() && at == end && given > 0 && (count <= 0 || given < count)) count = given;
  }
  return std::max(1, count);
}

Searcher::Searcher(Project& project, PlatformServices& platform, int threads, AnalysisModel* model)
    : m(new Impl(project, platform, SearchThreads(threads), model ? *model : project.model)) {}

Searcher::~Searcher() {
  delete m;
}

void Searcher::BeginRun() {
  m->firstProgress = true;
  m->trialsCounted = 0;
  m->run.SurfaceCount = 0;
  m->run.ResultCodeCount.clear();
}

long Searcher::TrialsCounted() const {
  return m->trialsCounted;
}

void Searcher::Analyse() {
  AnalyseAbout(m->model.CenterX, m->model.CenterY, m->model.TrialRadius);
}

void Searcher::AnalyseAbout(double centerX, double centerY, double radius) {
  m->trialX = centerX;
  m->trialY = centerY;
  m->trialRadius = radius;
  m->analyseCircle();
}

void Searcher::FlushResults() {
  if (m->pendingCount == 0) return;
  // Rows the store refused are not offered again: they are reported lost
  // once, and no later write puts them behind rows that came after them.
  const std::size_t count = std::exchange(m->pendingCount, 0);
  try {
    m->p.store->appendNumbers(Table::Results, m->pendingResults.data(), count);
  } catch (const std::exception& e) {
    throw ResultsWriteError(e.what(), static_cast<long>(count));
  }
}

void Searcher::UpdateProgress(bool final) {
  AnalysisModel& md = m->model;
  RunState& run = m->run;
  ++run.LoopCount;
  if (!final) ++m->trialsCounted;
  ProgressReport report;
  if (md.AnalysisTheory == 2) {
    if (m->firstProgress) run.MethodLoopCount = {};
    if (md.NonCirSearchKind == 0) {
      for (int method = Ordinary; method <= Spencer; ++method) {
        if (Selected(md, method)) run.MethodLoopCount[static_cast<std::size_t>(method)] = 1;
      }
    } else {
      int before = 0;
      for (int method = Ordinary; method < run.CurrentMethod; ++method) {
        before += run.MethodLoopCount[static_cast<std::size_t>(method)];
      }
      run.MethodLoopCount[static_cast<std::size_t>(run.CurrentMethod)] = run.LoopCount - before;
    }
    m->firstProgress = false;
    report.totalProcess = std::to_string(run.LoopCount) + " Loop";
    report.processPercent = std::to_string(run.MethodLoopCount[0]) + "/" + std::to_string(run.MethodLoopCount[1]) +
                            "/" + std::to_string(run.MethodLoopCount[2]) + "/" + std::to_string(run.MethodLoopCount[3]);
    report.barPercent = 0;
    m->ui.reportProgress(report);
    return;
  }
  m->firstProgress = false;
  if (md.CircularSearchKind == 2) return;  // the automatic search shows no count
  if (md.CircularSearchKind == 1) {
    report.totalProcess = "1 of 1";
    report.processPercent = "100 %";
    report.barPercent = 100;
    m->ui.reportProgress(report);
    return;
  }
  const bool decrementMode = md.RadiusDecrement > 0.0;
  const long long total = GridPlan(md).plannedTrials();
  // A report per trial: its texts are written into the kept report, whose
  // strings keep their capacity, so a million trials allocate nothing.
  ProgressReport& kept = m->progress;
  auto write = [](std::string& to, long long number) {
    char digits[24];
    to.append(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
  };
  kept.totalProcess.clear();
  if (final || decrementMode) m->percentShown = -1;  // the percentage text is not this branch's
  if (final) {
    if (decrementMode) {
      write(kept.totalProcess, run.LoopCount);
    } else {
      write(kept.totalProcess, total);
      kept.totalProcess += " of ";
      write(kept.totalProcess, total);
    }
    kept.processPercent = "100%";
    kept.barPercent = 100;
  } else if (decrementMode) {
    write(kept.totalProcess, run.LoopCount);
    kept.processPercent.clear();
    kept.barPercent = run.ProgressPercent;
  } else {
    write(kept.totalProcess, run.LoopCount);
    kept.totalProcess += " of ";
    write(kept.totalProcess, total);
    const int percent = total > 0 ? static_cast<int>(std::nearbyint(100.0 * run.LoopCount / total)) : 0;
    // The percentage changes a hundred times in a run: its text only then.
    if (percent != m->percentShown) {
      kept.processPercent.clear();
      if (percent <= 100) {
        write(kept.processPercent, percent);
        kept.processPercent += '%';
      }
      m->percentShown = percent;
    }
    run.ProgressPercent = percent;
    kept.barPercent = percent;
  }
  m->ui.reportProgress(kept);
}

void Searcher::ShowMinima() {
  const AnalysisModel& md = m->model;
  const RunState& run = m->run;
  std::array<std::string, 4> labels;
  std::array<bool, 4> shown{};
  for (int method = Ordinary; method <= Spencer; ++method) {
    const auto k = static_cast<std::size_t>(method);
    labels[k] = FormatShortest(RoundHalfEven(run.Minimum[k].Fs, 3));
    const bool randomIrregular = md.AnalysisTheory == 2 && md.NonCirSearchKind == 1;
    shown[k] = randomIrregular ? method == run.CurrentMethod : Selected(md, method);
  }
  m->ui.showMinima(labels, shown);
}

void Searcher::ComputeSlidingMassArea() {
  m->run.SlidingMassArea = SlidingMassArea(m->model, m->s);
}

void Searcher::SaveIrregularSurface() {
  static constexpr Table kTables[] = {Table::NonCirSlip_Janbu, Table::NonCirSlip_Bishop, Table::NonCirSlip_Spencer};
  const int method = m->run.CurrentMethod;
  if (method < Janbu || method > Spencer) return;
  WriteBoundaries(*m->p.store, kTables[method - 1], m->s, PointField::PointNo, PointField::X, PointField::Y);
}

void Searcher::RecordCriticalSurface() {
  if (m->s.SliceCount < 0) return;
  WriteBoundaries(*m->p.store, Table::Failure_Geometry, m->s, FailurePointField::No, FailurePointField::X,
                  FailurePointField::Y);
}

}  // namespace pelodyn
