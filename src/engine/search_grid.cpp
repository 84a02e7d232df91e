// The circular search on a grid of centres: the fan of circles about one
// centre and the grid that runs a fan at every node, each in its
// sequential and its parallel form.

#include "engine/searcher.h"

#include <algorithm>
#include <cmath>

#include "engine/search_internal.h"
#include "model/numbers.h"

namespace pelodyn {

using namespace search_internal;

void Searcher::FindRadiusRange(double xc, double yc) {
  RadiusRange(m->model, xc, yc, m->run.MaxRadius, m->run.MinRadius);
}

void Searcher::SearchCircleFan() {
  AnalysisModel& md = m->model;
  RunState& run = m->run;
  double radiusStep;
  if (m->p.options.itemIndex(Option::CB_Circle_Decrement) == 1) {
    radiusStep = md.RadiusDecrement;
    md.CircleCount = static_cast<int>(std::nearbyint((run.MaxRadius - run.MinRadius) / radiusStep));
  } else {
    radiusStep = (run.MaxRadius - run.MinRadius) / md.CircleCount;
  }
  if (m->parallel()) {
    m->fanParallel(*this, radiusStep);
    m->flushWhenFull(*this);
    return;
  }
  for (int i = 0; i < md.CircleCount; ++i) {
    if (md.TrialRadius <= run.MinRadius) break;
    UpdateProgress(false);
    Analyse();
    m->recordCircle(*this, Factors(m->s), m->s.EntryX, m->s.EntryY, m->s.ExitX, m->s.ExitY, m->s.SlipX, m->s.SlipY);
    md.TrialRadius -= radiusStep;
  }
  m->flushWhenFull(*this);
}

void Searcher::Impl::recordCircle(Searcher& self, const std::array<double, 4>& fs, double entryX, double entryY,
                                  double exitX, double exitY, const std::vector<double>& slipX,
                                  const std::vector<double>& slipY) {
  AnalysisModel& md = model;
  bool newMinimum = false;
  for (int method = Ordinary; method <= Spencer; ++method) {
    const double f = fs[static_cast<std::size_t>(method)];
    MethodMinimum& min = run.Minimum[static_cast<std::size_t>(method)];
    if (f < min.Fs) {
      min = {f, md.CenterX, md.CenterY, md.TrialRadius, entryX, entryY, exitX, exitY};
      newMinimum = true;
    }
  }
  if (newMinimum) self.ShowMinima();
  if (animated()) ui.animateTrial({md.CenterX, md.CenterY, &slipX, &slipY});
  // One Results row per circle, written to the store thousands at a time.
  const std::size_t at = pendingCount * kResultsFields;
  if (pendingResults.size() < at + kResultsFields) pendingResults.resize(at + kResultsFields);
  double* row = pendingResults.data() + at;
  ++pendingCount;
  row[0] = static_cast<double>(run.LoopCount);
  row[1] = RoundToUnit(md.CenterX, 0.01);
  row[2] = RoundToUnit(md.CenterY, 0.01);
  row[3] = RoundToUnit(md.TrialRadius, 0.01);
  row[4] = RoundToUnit(fs[0], 0.001);
  row[5] = RoundToUnit(fs[1], 0.001);
  row[6] = RoundToUnit(fs[2], 0.001);
  row[7] = RoundToUnit(fs[3], 0.001);
}

// The fan about (CenterX, CenterY): its radii are found first, the way the
// sequential fan steps down; each is analysed by any thread and merged in
// order. The stop request leaves out the trials no thread reached.
void Searcher::Impl::fanParallel(Searcher& self, double radiusStep) {
  AnalysisModel& md = model;
  radii.clear();
  double radius = md.TrialRadius;
  for (int i = 0; i < md.CircleCount; ++i) {
    if (radius <= run.MinRadius) break;
    radii.push_back(radius);
    radius -= radiusStep;
  }
  const double finalRadius = radius;
  const int count = static_cast<int>(radii.size());
  if (count == 0) return;
  if (trials.size() < radii.size()) trials.resize(radii.size());
  TrialTeam& t = prepareTeam();
  const double centerX = md.CenterX, centerY = md.CenterY;
  const bool warn = twoCutWarning(), animate = animated();
  int lastMerged = -1;
  const bool whole = t.run(
      count,
      [&](int worker, int item) {
        if (run.stopRequested()) return TrialTeam::Reached::Part;
        const double r = radii[static_cast<std::size_t>(item)];
        workspaces[static_cast<std::size_t>(worker)]->model.TrialRadius = r;
        TrialOutcome& out = trials[static_cast<std::size_t>(item)];
        out.radius = r;
        analyseTrial(worker, centerX, centerY, out, warn, animate);
        return TrialTeam::Reached::All;
      },
      [&](int item, TrialTeam::Reached reached) {
        if (reached != TrialTeam::Reached::All) return false;
        const TrialOutcome& out = trials[static_cast<std::size_t>(item)];
        md.TrialRadius = out.radius;
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
  if (whole) md.TrialRadius = finalRadius;
}

void Searcher::SearchGrid() {
  if (m->parallel()) {
    if (!m->gridParallel(*this)) return;
    UpdateProgress(true);
    ReplayMinima();
    return;
  }
  AnalysisModel& md = m->model;
  const double x1 = md.GridCornerX[0], y1 = md.GridCornerY[0];
  const double d12x = md.GridDivision12 >= 1 ? (md.GridCornerX[1] - x1) / md.GridDivision12 : 0.0;
  const double d12y = md.GridDivision12 >= 1 ? (md.GridCornerY[1] - y1) / md.GridDivision12 : 0.0;
  const double d23x = md.GridDivision23 >= 1 ? (md.GridCornerX[2] - md.GridCornerX[1]) / md.GridDivision23 : 0.0;
  const double d23y = md.GridDivision23 >= 1 ? (md.GridCornerY[2] - md.GridCornerY[1]) / md.GridDivision23 : 0.0;
  for (int f = 0; f <= md.GridDivision23; ++f) {
    for (int j = 0; j <= md.GridDivision12; ++j) {
      md.CenterX = x1 + f * d23x + j * d12x;
      md.CenterY = y1 + f * d23y + j * d12y;
      FindRadiusRange(md.CenterX, md.CenterY);
      md.TrialRadius = m->run.MaxRadius;
      SearchCircleFan();
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
  AnalysisModel& md = model;
  const double x1 = md.GridCornerX[0], y1 = md.GridCornerY[0];
  const double d12x = md.GridDivision12 >= 1 ? (md.GridCornerX[1] - x1) / md.GridDivision12 : 0.0;
  const double d12y = md.GridDivision12 >= 1 ? (md.GridCornerY[1] - y1) / md.GridDivision12 : 0.0;
  const double d23x = md.GridDivision23 >= 1 ? (md.GridCornerX[2] - md.GridCornerX[1]) / md.GridDivision23 : 0.0;
  const double d23y = md.GridDivision23 >= 1 ? (md.GridCornerY[2] - md.GridCornerY[1]) / md.GridDivision23 : 0.0;
  const long long columns = std::max(md.GridDivision12 + 1, 0);
  const long long total = columns * std::max(md.GridDivision23 + 1, 0);
  if (total == 0) return true;
  const bool decrement = p.options.itemIndex(Option::CB_Circle_Decrement) == 1;
  const double radiusDecrement = md.RadiusDecrement;
  const int circleCount = md.CircleCount;
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
          const long long c = first + item;
          const int f = static_cast<int>(c / columns), j = static_cast<int>(c % columns);
          CentreOutcome& out = centres[static_cast<std::size_t>(item)];
          out.x = x1 + f * d23x + j * d12x;
          out.y = y1 + f * d23y + j * d12y;
          out.reached = 0;
          Workspace& w = *workspaces[static_cast<std::size_t>(worker)];
          RadiusRange(w.model, out.x, out.y, out.maxRadius, out.minRadius);
          double radiusStep;
          if (decrement) {
            radiusStep = radiusDecrement;
            out.circleCount = static_cast<int>(std::nearbyint((out.maxRadius - out.minRadius) / radiusStep));
          } else {
            radiusStep = (out.maxRadius - out.minRadius) / circleCount;
            out.circleCount = circleCount;
          }
          double radius = out.maxRadius;
          for (int i = 0; i < out.circleCount; ++i) {
            if (radius <= out.minRadius) break;
            if (run.stopRequested()) {
              out.finalRadius = radius;
              return TrialTeam::Reached::Part;
            }
            if (out.trials.size() <= static_cast<std::size_t>(i)) out.trials.emplace_back();
            TrialOutcome& trial = out.trials[static_cast<std::size_t>(i)];
            trial.radius = radius;
            w.model.TrialRadius = radius;
            analyseTrial(worker, out.x, out.y, trial, warn, animate);
            ++out.reached;
            radius -= radiusStep;
          }
          out.finalRadius = radius;
          return TrialTeam::Reached::All;
        },
        [&](int item, TrialTeam::Reached reached) {
          const CentreOutcome& out = centres[static_cast<std::size_t>(item)];
          md.CenterX = out.x;
          md.CenterY = out.y;
          run.MaxRadius = out.maxRadius;
          run.MinRadius = out.minRadius;
          if (decrement) md.CircleCount = out.circleCount;
          for (int i = 0; i < out.reached; ++i) {
            const TrialOutcome& trial = out.trials[static_cast<std::size_t>(i)];
            md.TrialRadius = trial.radius;
            self.UpdateProgress(false);
            countTrial(trial);
            recordCircle(self, trial.fs, trial.entryX, trial.entryY, trial.exitX, trial.exitY, trial.slipX,
                         trial.slipY);
          }
          if (out.reached > 0) lastAnalysed = item;
          md.TrialRadius = out.finalRadius;
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
