// The automatic search: a pattern walk of the centre from the grid's
// minimum, or from a given start, running a fan of circles at every probe.

#include "engine/searcher.h"

#include "engine/search_internal.h"

namespace pelodyn {

using namespace search_internal;

void Searcher::SearchPattern() {
  const AnalysisModel& md = m->model;
  RunState& run = m->run;
  m->ui.processPendingEvents();
  if (run.stopRequested()) return;
  const auto current = static_cast<std::size_t>(run.CurrentMethod);
  double best, bestX, bestY, stepX, stepY;
  auto probe = [&](double x, double y) {
    m->trialX = x;
    m->trialY = y;
    FindRadiusRange(x, y);
    m->fan(*this, PlanCircleFan(md, run.MaxRadius, run.MinRadius));
    return run.Minimum[current].Fs;
  };
  if (md.CircularSearchKind != 2 || md.GridIncrementEnabled) {
    best = run.Minimum[current].Fs;
    bestX = run.Minimum[current].CenterX;
    bestY = run.Minimum[current].CenterY;
    stepX = md.GridIncrementX;
    stepY = md.GridIncrementY;
  } else {
    // From the start the collection read, by the automatic increments.
    for (MethodMinimum& min : run.Minimum) min.Fs = kSearchReset;
    stepX = md.AutoIncrementX;
    stepY = md.AutoIncrementY;
    bestX = md.CenterX;
    bestY = md.CenterY;
    best = probe(bestX, bestY);
  }
  PatternWalk(best, bestX, bestY, stepX, stepY, probe, [&] { return run.stopRequested(); });
}

}  // namespace pelodyn
