// The automatic search: a pattern walk of the centre from the grid's
// minimum, or from a given start, running a fan of circles at every probe.

#include "engine/searcher.h"

#include "engine/search_internal.h"

namespace pelodyn {

using namespace search_internal;

void Searcher::SearchPattern() {
  AnalysisModel& md = m->model;
  RunState& run = m->run;
  m->ui.processPendingEvents();
  if (run.stopRequested()) return;
  const auto current = static_cast<std::size_t>(run.CurrentMethod);
  double best, bestX, bestY;
  auto probe = [&](double x, double y) {
    md.CenterX = x;
    md.CenterY = y;
    FindRadiusRange(x, y);
    md.TrialRadius = run.MaxRadius;
    SearchCircleFan();
    return run.Minimum[current].Fs;
  };
  if (md.CircularSearchKind != 2 || md.GridIncrementEnabled) {
    best = run.Minimum[current].Fs;
    bestX = run.Minimum[current].CenterX;
    bestY = run.Minimum[current].CenterY;
    md.AutoIncrementX = md.GridIncrementX;
    md.AutoIncrementY = md.GridIncrementY;
  } else {
    for (MethodMinimum& min : run.Minimum) min.Fs = kSearchReset;
    const OptionValues& o = m->p.options;
    md.CenterX = o.readReal(Option::E_Xauto_Start);
    md.CenterY = o.readReal(Option::E_Yauto_Start);
    md.AutoIncrementX = o.readReal(Option::E_Xauto_Increment);
    md.AutoIncrementY = o.readReal(Option::E_Yauto_Increment);
    bestX = md.CenterX;
    bestY = md.CenterY;
    best = probe(bestX, bestY);
  }
  PatternWalk(best, bestX, bestY, md.AutoIncrementX, md.AutoIncrementY, probe, [&] { return run.stopRequested(); });
}

}  // namespace pelodyn
