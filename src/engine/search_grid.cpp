// The circular search on a grid of centres: the fan of circles about one
// centre and the grid that runs a fan at every node, each in its
// sequential and its parallel form.

#include "engine/searcher.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "engine/search_internal.h"
#include "model/numbers.h"

namespace pelodyn {

using namespace search_internal;

void Searcher::FindRadiusRange(double xc, double yc) {
  CircleRadiusRange(m->model, xc, yc, m->run.MaxRadius, m->run.MinRadius);
}

void Searcher::SearchCircleFan() {
  const AnalysisModel& md = m->model;
  m->trialX = md.CenterX;
  m->trialY = md.CenterY;
  CircleFan plan = PlanCircleFan(md, m->run.MaxRadius, m->run.MinRadius);
  plan.maxRadius = md.TrialRadius;
  m->fan(*this, plan);
}

void Searcher::Impl::analyseCircle() {
  AnalyseSlipSurface(model, trialX, trialY, trialRadius, s, {twoCutWarning(), &ui});
  CountResultCodes(run, Factors(s));
}

void Searcher::Impl::fan(Searcher& self, const CircleFan& plan) {
  if (parallel()) {
    fanParallel(self, plan);
    flushWhenFull(self);
    return;
  }
  trialRadius = plan.maxRadius;
  for (long long i = 0; i < plan.circles; ++i) {
    if (trialRadius <= plan.minRadius) break;
    self.UpdateProgress(false);
    analyseCircle();
    recordCircle(self, Factors(s), s.EntryX, s.EntryY, s.ExitX, s.ExitY, s.SlipX, s.SlipY);
    trialRadius -= plan.step;
  }
  flushWhenFull(self);
}

void Searcher::Impl::recordCircle(Searcher& self, const std::array<double, 4>& fs, double entryX, double entryY,
                                  double exitX, double exitY, const std::vector<double>& slipX,
                                  const std::vector<double>& slipY) {
  bool newMinimum = false;
  for (int method = Ordinary; method <= Spencer; ++method) {
    const double f = fs[static_cast<std::size_t>(method)];
    MethodMinimum& min = run.Minimum[static_cast<std::size_t>(method)];
    if (f < min.Fs) {
      min = {f, trialX, trialY, trialRadius, entryX, entryY, exitX, exitY};
      newMinimum = true;
    }
  }
  if (newMinimum) self.ShowMinima();
  if (animated()) ui.animateTrial({trialX, trialY, &slipX, &slipY});
  // One Results row per circle, written to the store thousands at a time.
  const std::size_t at = pendingCount * kResultsFields;
  if (pendingResults.size() < at + kResultsFields) pendingResults.resize(at + kResultsFields);
  double* row = pendingResults.data() + at;
  ++pendingCount;
  row[0] = static_cast<double>(run.LoopCount);
  row[1] = RoundToUnit(trialX, 0.01);
  row[2] = RoundToUnit(trialY, 0.01);
  row[3] = RoundToUnit(trialRadius, 0.01);
  row[4] = RoundToUnit(fs[0], 0.001);
  row[5] = RoundToUnit(fs[1], 0.001);
  row[6] = RoundToUnit(fs[2], 0.001);
  row[7] = RoundToUnit(fs[3], 0.001);
}

// The fan about (trialX, trialY): its radii are found first, the way the
// sequential fan steps down; each is analysed by any thread and merged in
// order. The stop request leaves out the trials no thread reached.
void Searcher::Impl::fanParallel(Searcher& self, const CircleFan& plan) {
  radii.clear();
  double radius = plan.maxRadius;
  for (long long i = 0; i < plan.circles; ++i) {
    if (radius <= plan.minRadius) break;
    radii.push_back(radius);
    radius -= plan.step;
  }
  const int count = static_cast<int>(radii.size());
  if (count == 0) return;
  if (trials.size() < radii.size()) trials.resize(radii.size());
  TrialTeam& t = prepareTeam();
  const double centerX = trialX, centerY = trialY;
  const bool warn = twoCutWarning(), animate = animated();
  int lastMerged = -1;
  t.run(
      count,
      [&](int worker, int item) {
        if (run.stopRequested()) return TrialTeam::Reached::Part;
        const double r = radii[static_cast<std::size_t>(item)];
        TrialOutcome& out = trials[static_cast<std::size_t>(item)];
        out.radius = r;
        analyseTrial(worker, centerX, centerY, r, out, warn, animate);
        return TrialTeam::Reached::All;
      },
      [&](int item, TrialTeam::Reached reached) {
        if (reached != TrialTeam::Reached::All) return false;
        const TrialOutcome& out = trials[static_cast<std::size_t>(item)];
        trialRadius = out.radius;
        self.UpdateProgress(false);
        countTrial(out);
        recordCircle(self, out.fs, out.entryX, out.entryY, out.exitX, out.exitY, out.slipX, out.slipY);
        lastMerged = item;
        return true;
      },
      // The rows merged so far are written while the last trials are
      // analysed: the same rows in the same order.
      [&] { flushWhenFull(self); });
  if (lastMerged >= 0) takeSlicesOf(lastMerged);
}

void Searcher::SearchGrid() {
  if (m->parallel()) {
    if (!m->gridParallel(*this)) return;
    UpdateProgress(true);
    ReplayMinima();
    return;
  }
  const AnalysisModel& md = m->model;
  const GridPlan grid(md);
  for (long long f = 0; f < grid.rows(); ++f) {
    for (long long j = 0; j < grid.columns(); ++j) {
      std::tie(m->trialX, m->trialY) = grid.centre(f, j);
      FindRadiusRange(m->trialX, m->trialY);
      m->fan(*this, PlanCircleFan(md, m->run.MaxRadius, m->run.MinRadius));
      m->ui.processPendingEvents();
      if (m->run.stopRequested()) return;
    }
  }
  UpdateProgress(true);
  ReplayMinima();
}

// The centres of the grid in blocks: each centre's radius range and fan are
// found and analysed by one thread, and the centres are merged in order.
bool Searcher::Impl::gridParallel(Searcher& self) {
  constexpr int kCentresPerBlock = 256;
  const GridPlan grid(model);
  const long long total = grid.centreCount();
  if (total == 0) return true;
  const bool warn = twoCutWarning(), animate = animated();
  TrialTeam& t = prepareTeam();
  for (long long first = 0; first < total; first += kCentresPerBlock) {
    const int count = static_cast<int>(std::min<long long>(kCentresPerBlock, total - first));
    if (centres.size() < static_cast<std::size_t>(count)) centres.resize(static_cast<std::size_t>(count));
    int lastAnalysed = -1;
    bool stopped = false;
    t.run(
        count,
        [&](int worker, int item) {
          CentreOutcome& out = centres[static_cast<std::size_t>(item)];
          std::tie(out.x, out.y) = grid.centre(first + item);
          out.reached = 0;
          Workspace& w = *workspaces[static_cast<std::size_t>(worker)];
          const CircleFan plan = PlanCircleFanAt(w.model, out.x, out.y);
          out.maxRadius = plan.maxRadius;
          out.minRadius = plan.minRadius;
          double radius = plan.maxRadius;
          for (long long i = 0; i < plan.circles; ++i) {
            if (radius <= plan.minRadius) break;
            if (run.stopRequested()) return TrialTeam::Reached::Part;
            if (out.trials.size() <= static_cast<std::size_t>(i)) out.trials.emplace_back();
            TrialOutcome& trial = out.trials[static_cast<std::size_t>(i)];
            trial.radius = radius;
            analyseTrial(worker, out.x, out.y, radius, trial, warn, animate);
            ++out.reached;
            radius -= plan.step;
          }
          return TrialTeam::Reached::All;
        },
        [&](int item, TrialTeam::Reached reached) {
          const CentreOutcome& out = centres[static_cast<std::size_t>(item)];
          trialX = out.x;
          trialY = out.y;
          run.MaxRadius = out.maxRadius;
          run.MinRadius = out.minRadius;
          for (int i = 0; i < out.reached; ++i) {
            const TrialOutcome& trial = out.trials[static_cast<std::size_t>(i)];
            trialRadius = trial.radius;
            self.UpdateProgress(false);
            countTrial(trial);
            recordCircle(self, trial.fs, trial.entryX, trial.entryY, trial.exitX, trial.exitY, trial.slipX,
                         trial.slipY);
          }
          if (out.reached > 0) lastAnalysed = item;
          flushWhenFull(self);
          if (reached != TrialTeam::Reached::All) {
            stopped = true;
            return false;
          }
          ui.processPendingEvents();
          if (run.stopRequested()) {
            stopped = true;
            return false;
          }
          return true;
        });
    if (lastAnalysed >= 0) takeSlicesOf(lastAnalysed);
    if (stopped) return false;
  }
  return true;
}

}  // namespace pelodyn
