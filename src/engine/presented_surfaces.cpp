// What a run shows once it has ended: the minima analysed again, the
// critical surfaces for the drawing and the result windows, and the sorted
// view of the Results rows with the replay of a row chosen in it.

#include "engine/searcher.h"

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "engine/search_internal.h"

namespace pelodyn {

using namespace search_internal;

namespace {

// The surface in the project's slice set, as a run presents it.
CriticalSurface PresentedSurface(const Project& p, int method, double centerX, double centerY, double radius,
                                 double area) {
  const SliceSet& sl = p.slices;
  CriticalSurface c;
  c.method = method;
  c.fs = Factors(sl);
  c.centerX = centerX;
  c.centerY = centerY;
  c.radius = radius;
  c.slidingMassArea = area;
  TakeSurfaceGeometry(sl, c);
  return c;
}

// Keeps the run's count of surfaces and result codes through a replay: a
// replay only redraws, it is not part of the run.
class RunCountsKept {
 public:
  explicit RunCountsKept(RunState& run) : m_run(run), m_surfaces(run.SurfaceCount), m_codes(run.ResultCodeCount) {}
  ~RunCountsKept() {
    m_run.SurfaceCount = m_surfaces;
    m_run.ResultCodeCount = std::move(m_codes);
  }
  RunCountsKept(const RunCountsKept&) = delete;
  RunCountsKept& operator=(const RunCountsKept&) = delete;

 private:
  RunState& m_run;
  long m_surfaces;
  std::map<int, long> m_codes;
};

bool Shown(const RunState& run, const AnalysisModel& md, int method) {
  return run.ShowPicture[static_cast<std::size_t>(method)] && Selected(md, method);
}

// The minimum circle of each shown method, analysed again.
void PresentMinimumCircles(Project& p, Searcher& search, std::vector<CriticalSurface>& out) {
  AnalysisModel& md = p.model;
  RunState& run = p.run;
  for (int method = Ordinary; method <= Spencer; ++method) {
    const MethodMinimum& min = run.Minimum[static_cast<std::size_t>(method)];
    if (!Shown(run, md, method) || min.Radius == 0.0) continue;
    md.TrialRadius = min.Radius;
    md.CenterX = min.CenterX;
    md.CenterY = min.CenterY;
    search.Analyse();
    out.push_back(PresentedSurface(p, method, min.CenterX, min.CenterY, min.Radius, SlidingMassArea(md, p.slices)));
    out.back().labelFs = min.Fs;
  }
}

// The best surface of each shown method searched in the run, analysed again
// about the centre it was found with.
void PresentBestSurfaces(Project& p, Searcher& search, std::vector<CriticalSurface>& out) {
  AnalysisModel& md = p.model;
  RunState& run = p.run;
  for (int method = Ordinary; method <= Spencer; ++method) {
    const auto k = static_cast<std::size_t>(method);
    if (!Shown(run, md, method) || run.MethodLoopCount[k] == 0 || run.BestSurfaceX[k].size() < 2) continue;
    md.NonCirX = run.BestSurfaceX[k];
    md.NonCirY = run.BestSurfaceY[k];
    md.NonCirPointCount = static_cast<int>(md.NonCirX.size());
    md.NonCirSegmentCount = md.NonCirPointCount - 1;
    md.CenterX = run.Minimum[k].CenterX;
    md.CenterY = run.Minimum[k].CenterY;
    search.Analyse();
    out.push_back(PresentedSurface(p, method, md.CenterX, md.CenterY, 0.0, SlidingMassArea(md, p.slices)));
    out.back().labelFs = Fs(p.slices, method);
  }
}

// Whether the random irregular search of the run searched a method that is
// selected: its best surfaces are what the run found.
bool SearchedBestSurfaces(const Project& p) {
  const AnalysisModel& md = p.model;
  if (md.AnalysisTheory != 2 || md.NonCirSearchKind != 1) return false;
  for (int method = Ordinary; method <= Spencer; ++method) {
    const auto k = static_cast<std::size_t>(method);
    if (Selected(md, method) && p.run.MethodLoopCount[k] > 0 && p.run.BestSurfaceX[k].size() >= 2) return true;
  }
  return false;
}

}  // namespace

std::optional<Searcher::Circle> Searcher::ReplayMinima() {
  if (m->model.AnalysisTheory != 1 || m->p.BatchMode) return std::nullopt;
  const AnalysisModel& md = m->model;
  std::optional<Circle> last;
  try {
    for (int method = Ordinary; method <= Spencer; ++method) {
      const MethodMinimum& min = m->run.Minimum[static_cast<std::size_t>(method)];
      if (!m->run.ShowPicture[static_cast<std::size_t>(method)] || !Selected(md, method) || min.Radius == 0.0) {
        continue;
      }
      AnalyseAbout(min.CenterX, min.CenterY, min.Radius);
      last = Circle{min.CenterX, min.CenterY, min.Radius};
    }
    RecordCriticalSurface();
  } catch (...) {
    // A replay only redraws; its failure leaves the run's results as they are.
  }
  if (last) m->replayed = last;
  return last;
}

std::optional<Searcher::Circle> Searcher::LastReplayed() const {
  return m->replayed;
}

void Searcher::ReplaySortedRow(double radius, double centerX, double centerY) {
  if (m->model.AnalysisTheory != 1 || m->p.BatchMode) return;
  if (!m->run.ShowPicture[Bishop] || m->run.Minimum[Bishop].Radius == 0.0) return;
  try {
    AnalyseAbout(centerX, centerY, radius);
    RecordCriticalSurface();
  } catch (...) {
  }
}

void ReplayMinima(Project& project, PlatformServices& platform) {
  // After the run, not part of it: the windows and the exports draw the
  // surface left in the slice set about the model's centre and radius.
  if (const std::optional<Searcher::Circle> last = Searcher(project, platform).ReplayMinima()) {
    project.model.CenterX = last->centerX;
    project.model.CenterY = last->centerY;
    project.model.TrialRadius = last->radius;
  }
}

void RecordCriticalSurface(Project& project) {
  SilentPlatform silent;
  Searcher(project, silent).RecordCriticalSurface();
}

std::vector<SortedResult> SortResultsByBishop(const WorkingStore& store) {
  std::vector<SortedResult> out;
  store.visitRows(Table::Results, [&](const Row& r) {
    out.push_back({r.integer(ResultField::Num), r.real(ResultField::XCenter), r.real(ResultField::YCenter),
                   r.real(ResultField::Radius), r.real(ResultField::FsBis)});
  });
  std::stable_sort(out.begin(), out.end(),
                   [](const SortedResult& a, const SortedResult& b) { return a.fsBishop < b.fsBishop; });
  return out;
}

std::vector<CriticalSurface> PresentCriticalSurfaces(Project& project, PlatformServices& platform) {
  std::vector<CriticalSurface> out;
  const AnalysisModel& md = project.model;
  RunState& run = project.run;
  if (project.BatchMode || (md.AnalysisTheory != 1 && md.AnalysisTheory != 2)) return out;
  const bool replayed =
      md.AnalysisTheory == 1 ? md.CircularSearchKind == 0 || md.CircularSearchKind == 2 : SearchedBestSurfaces(project);
  if (!replayed) {
    // The surface the run analysed last, as it stands.
    if (run.SurfaceCount == 0 || project.slices.SlipPointCount <= 0) return out;
    const bool circle = md.AnalysisTheory == 1;
    // A single irregular surface keeps the centre it was analysed about in
    // the minima (the moving centre's last one): the run never writes it
    // into the model.
    const bool irregular = md.AnalysisTheory == 2 && md.NonCirSearchKind == 0;
    const double centerX = irregular ? run.Minimum[Ordinary].CenterX : md.CenterX;
    const double centerY = irregular ? run.Minimum[Ordinary].CenterY : md.CenterY;
    out.push_back(PresentedSurface(project, -1, centerX, centerY, circle ? md.TrialRadius : 0.0, run.SlidingMassArea));
    CriticalSurface& c = out.back();
    c.hasLabel = false;
    for (int method = Ordinary; method <= Spencer; ++method) {
      if (!Shown(run, md, method)) continue;
      c.labelFs = run.Minimum[static_cast<std::size_t>(method)].Fs;
      c.hasLabel = true;
    }
    return out;
  }
  RunCountsKept kept(run);
  try {
    Searcher search(project, platform);
    if (md.AnalysisTheory == 1) {
      PresentMinimumCircles(project, search, out);
    } else {
      PresentBestSurfaces(project, search, out);
    }
    if (!out.empty()) search.RecordCriticalSurface();
  } catch (...) {
    // A replay only redraws: a failure ends it with what it has.
  }
  if (!out.empty()) {
    run.SlidingMassArea = out.back().slidingMassArea;
    run.ResultAvailable = 1;
  }
  return out;
}

std::optional<CriticalSurface> ReplayResultsRow(Project& project, PlatformServices& platform, double radius,
                                                double centerX, double centerY) {
  AnalysisModel& md = project.model;
  RunState& run = project.run;
  if (md.AnalysisTheory != 1 || project.BatchMode) return std::nullopt;
  if (!run.ShowPicture[Bishop] || run.Minimum[Bishop].Radius == 0.0) return std::nullopt;
  RunCountsKept kept(run);
  try {
    Searcher search(project, platform);
    md.TrialRadius = radius;
    md.CenterX = centerX;
    md.CenterY = centerY;
    search.Analyse();
    search.RecordCriticalSurface();
    CriticalSurface c = PresentedSurface(project, -1, centerX, centerY, radius, SlidingMassArea(md, project.slices));
    // The sorted view orders the rows by this factor.
    c.labelFs = project.slices.FsBishop;
    run.SlidingMassArea = c.slidingMassArea;
    return c;
  } catch (...) {
    return std::nullopt;
  }
}

}  // namespace pelodyn
