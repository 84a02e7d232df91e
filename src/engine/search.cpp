#include "engine/search.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <memory>
#include <numbers>
#include <optional>
#include <stdexcept>
#include <thread>

#include "engine/slip_surface.h"
#include "engine/trial_team.h"
#include "model/collection.h"
#include "model/numbers.h"
#include "texts/messages.h"

namespace pelodyn {
namespace {

constexpr double kNoMinimum = 99999.0;
constexpr double kSearchReset = 1000000.0;
// Nearly collinear: the slopes of two segments differ by at most this.
constexpr double kCollinearSlopes = 0.176;

const char* const kWarningCaption[2] = {"คำเตือน", "Warning"};
const char* const kAxisQuestion[2] = {"จุดหมุนอยู่ที่ตำแหน่งไม่เหมาะสม\rต้องการคำนวณต่อไปหรือไม่?",
                                      "Axis Position is not appropriate.\rDo you want to continue?"};

double Fs(const SliceSet& s, int method) {
  switch (method) {
    case Ordinary:
      return s.FsOrdinary;
    case Janbu:
      return s.FsJanbu;
    case Bishop:
      return s.FsBishop;
    default:
      return s.FsSpencer;
  }
}

bool Selected(const AnalysisModel& m, int method) {
  switch (method) {
    case Ordinary:
      return m.UseOrdinary;
    case Janbu:
      return m.UseSimplifiedJanbu;
    case Bishop:
      return m.UseSimplifiedBishop;
    default:
      return m.UseSpencer;
  }
}

// Counts each result code once per surface, whichever methods carry it.
void CountResultCodes(RunState& run, const std::array<double, 4>& fs) {
  ++run.SurfaceCount;
  int counted[4] = {0, 0, 0, 0};
  for (int method = Ordinary; method <= Spencer; ++method) {
    const double f = fs[static_cast<std::size_t>(method)];
    if (f < 1000000.0 || f > 1000011.0 || f != std::floor(f)) continue;
    const int code = static_cast<int>(f);
    if (std::find(std::begin(counted), std::end(counted), code) != std::end(counted)) continue;
    counted[method] = code;
    ++run.ResultCodeCount[code];
  }
}

std::array<double, 4> Factors(const SliceSet& s) {
  return {s.FsOrdinary, s.FsJanbu, s.FsBishop, s.FsSpencer};
}

// MaxRadius: the distance to the bottom line, MinRadius: to the ground line,
// both at most the distance to the nearer end of the ground line. The
// collection counts the grid's circles with the same ranges.
void RadiusRange(const AnalysisModel& md, double xc, double yc, double& maxRadiusOut, double& minRadiusOut) {
  CircleRadiusRange(md, xc, yc, maxRadiusOut, minRadiusOut);
}

// ----- The workspaces of a parallel search ----------------------------------

// A message the analysis of a trial showed, kept for the merge.
struct CapturedMessage {
  MessageKind kind;
  std::string caption, text;
};

// The platform a worker's analyses see: messages are kept, not shown.
class MessageCapture final : public PlatformServices {
 public:
  std::vector<CapturedMessage>* out = nullptr;
  void showMessage(MessageKind kind, std::string_view caption, std::string_view text) override {
    out->push_back({kind, std::string(caption), std::string(text)});
  }
  bool askOkCancel(std::string_view, std::string_view) override { return true; }
  void reportProgress(const ProgressReport&) override {}
  void processPendingEvents() override {}
};

// What the analysis of one trial leaves for the merge.
struct TrialOutcome {
  double radius = 0.0;
  std::array<double, 4> fs{};
  double entryX = 0.0, entryY = 0.0, exitX = 0.0, exitY = 0.0;
  std::vector<CapturedMessage> messages;
  std::vector<double> slipX, slipY;  // kept only for the animation
};

// A grid centre and the fan of circles analysed about it.
struct CentreOutcome {
  double x = 0.0, y = 0.0;
  double maxRadius = 0.0, minRadius = 0.0;
  double finalRadius = 0.0;  // TrialRadius after the fan
  int circleCount = 0;       // the fan's CircleCount (by decrement: per centre)
  int reached = 0;           // trials analysed
  std::vector<TrialOutcome> trials;
};

// One thread's own copy of the model and its slice set; both keep their
// capacity from trial to trial.
struct Workspace {
  AnalysisModel model;
  SliceSet slices;
  MessageCapture capture;
};

}  // namespace

struct Searcher::Impl {
  Impl(Project& project, PlatformServices& platform, int threadCount)
      : p(project), ui(platform), model(project.model), run(project.run), s(project.slices), threads(threadCount) {
    resultRow = Row(Table::Results);
  }

  Project& p;
  PlatformServices& ui;
  AnalysisModel& model;
  RunState& run;
  SliceSet& s;
  std::vector<Row> pendingResults;
  std::size_t pendingCount = 0;
  Row resultRow{Table::Results};
  bool firstProgress = true;
  long trialsCounted = 0;
  bool simplifyAgain = false;
  std::vector<double> candidateX, candidateY;

  // The parallel searches: the team (made at its first use), a workspace
  // per thread (the calling thread's slice set is the project's) and the
  // outcomes of the items of a block.
  int threads = 1;
  std::vector<std::unique_ptr<Workspace>> workspaces;
  std::vector<CentreOutcome> centres;
  std::vector<TrialOutcome> trials;
  std::vector<double> radii, positionX, positionY;
  std::unique_ptr<TrialTeam> team;  // last: its threads end before the rest goes

  double step() const { return model.NonCirMoveStep[0]; }
  bool parallel() const { return threads > 1; }
  bool animated() const { return !p.BatchMode && p.drawing.ShowFailureAnimation; }
  bool twoCutWarning() const { return p.drawing.TwoIntersectWarning != 0 && !p.BatchMode; }
  // Starts the team if need be and gives every workspace the model as it is now.
  TrialTeam& prepareTeam() {
    if (!team) {
      team = std::make_unique<TrialTeam>(threads);
      for (int w = 0; w < threads; ++w) workspaces.push_back(std::make_unique<Workspace>());
    }
    for (auto& w : workspaces) w->model = model;
    return *team;
  }
  SliceSet& slicesOf(int worker) { return worker == 0 ? s : workspaces[static_cast<std::size_t>(worker)]->slices; }
  // The project's slice set becomes the one that analysed `item` of the last
  // block, as if that trial had been analysed last.
  void takeSlicesOf(int item) {
    const int worker = team->workerOf(item);
    if (worker != 0) std::swap(s, workspaces[static_cast<std::size_t>(worker)]->slices);
  }
  // Analyses a trial on `worker` with the workspace's model as set up by the
  // caller and keeps what the merge needs.
  void analyseTrial(int worker, double centerX, double centerY, TrialOutcome& out, bool warn, bool animate) {
    Workspace& w = *workspaces[static_cast<std::size_t>(worker)];
    SliceSet& slices = slicesOf(worker);
    out.messages.clear();
    w.capture.out = &out.messages;
    AnalyseSlipSurface(w.model, centerX, centerY, slices, {warn, &w.capture});
    out.fs = Factors(slices);
    out.entryX = slices.EntryX;
    out.entryY = slices.EntryY;
    out.exitX = slices.ExitX;
    out.exitY = slices.ExitY;
    if (animate) {
      out.slipX = slices.SlipX;
      out.slipY = slices.SlipY;
    }
  }
  // The bookkeeping of Analyse for a trial analysed by a worker.
  void countTrial(const TrialOutcome& t) {
    for (const CapturedMessage& message : t.messages) ui.showMessage(message.kind, message.caption, message.text);
    CountResultCodes(run, t.fs);
  }
  // What a fan does with a circle once it is analysed: the minima, the
  // animation and the Results row.
  void recordCircle(Searcher& self, const std::array<double, 4>& fs, double entryX, double entryY, double exitX,
                    double exitY, const std::vector<double>& slipX, const std::vector<double>& slipY);
  void fanParallel(Searcher& self, double radiusStep);
  // The grid's centres; false when the stop request ended the search.
  bool gridParallel(Searcher& self);
  // The candidates of point i; false when the stop request cut them short.
  bool irregularPointParallel(const Searcher& self, const std::vector<double>& cx, const std::vector<double>& cy, int i,
                              bool& improved);
};

int SearchThreads(int requested) {
  if (requested > 0) return requested;
  return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

Searcher::Searcher(Project& project, PlatformServices& platform, int threads)
    : m(new Impl(project, platform, SearchThreads(threads))) {}

Searcher::~Searcher() {
  try {
    FlushResults();
  } catch (...) {
  }
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
  AnalyseSlipSurface(m->model, m->model.CenterX, m->model.CenterY, m->s, {m->twoCutWarning(), &m->ui});
  CountResultCodes(m->run, Factors(m->s));
}

// ----- Circular search -------------------------------------------------------

void Searcher::FindRadiusRange(double xc, double yc) {
  RadiusRange(m->model, xc, yc, m->run.MaxRadius, m->run.MinRadius);
}

void Searcher::SearchCircleFan() {
  AnalysisModel& md = m->model;
  RunState& run = m->run;
  double radiusStep;
  if (m->p.options.itemIndex("CB_Circle_Decrement") == 1) {
    radiusStep = md.RadiusDecrement;
    md.CircleCount = static_cast<int>(std::nearbyint((run.MaxRadius - run.MinRadius) / radiusStep));
  } else {
    radiusStep = (run.MaxRadius - run.MinRadius) / md.CircleCount;
  }
  if (m->parallel()) {
    m->fanParallel(*this, radiusStep);
    FlushResults();
    return;
  }
  for (int i = 0; i < md.CircleCount; ++i) {
    if (md.TrialRadius <= run.MinRadius) break;
    UpdateProgress(false);
    Analyse();
    m->recordCircle(*this, Factors(m->s), m->s.EntryX, m->s.EntryY, m->s.ExitX, m->s.ExitY, m->s.SlipX, m->s.SlipY);
    md.TrialRadius -= radiusStep;
  }
  FlushResults();
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
  // One Results row per circle, written in bulk at the end of the fan.
  if (pendingCount == pendingResults.size()) pendingResults.emplace_back(Table::Results);
  Row& row = pendingResults[pendingCount++];
  row.value(0) = static_cast<std::int64_t>(run.LoopCount);
  row.value(1) = RoundToUnit(md.CenterX, 0.01);
  row.value(2) = RoundToUnit(md.CenterY, 0.01);
  row.value(3) = RoundToUnit(md.TrialRadius, 0.01);
  row.value(4) = RoundToUnit(fs[0], 0.001);
  row.value(5) = RoundToUnit(fs[1], 0.001);
  row.value(6) = RoundToUnit(fs[2], 0.001);
  row.value(7) = RoundToUnit(fs[3], 0.001);
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
      [&] { self.FlushResults(); });
  if (lastMerged >= 0) takeSlicesOf(lastMerged);
  if (whole) md.TrialRadius = finalRadius;
}

void Searcher::FlushResults() {
  if (m->pendingCount == 0) return;
  WorkingStore& store = *m->p.store;
  StoreTransaction transaction(store);
  for (std::size_t i = 0; i < m->pendingCount; ++i) store.append(m->pendingResults[i]);
  transaction.commit();
  m->pendingCount = 0;
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
  const bool decrement = p.options.itemIndex("CB_Circle_Decrement") == 1;
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
          self.FlushResults();
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

bool Searcher::Impl::irregularPointParallel(const Searcher& self, const std::vector<double>& cx,
                                            const std::vector<double>& cy, int i, bool& improved) {
  AnalysisModel& md = model;
  const auto ui = static_cast<std::size_t>(i);
  const std::size_t n = cx.size();
  // The surface of each candidate: a candidate below the bottom line leaves
  // the point where the one before it put it.
  positionX.resize(n);
  positionY.resize(n);
  double x = md.NonCirX[ui], y = md.NonCirY[ui];
  for (std::size_t c = 0; c < n; ++c) {
    if (!self.BelowBottomLine(cx[c], cy[c])) {
      x = cx[c];
      y = cy[c];
    }
    positionX[c] = x;
    positionY[c] = y;
  }
  if (trials.size() < n) trials.resize(n);
  const auto current = static_cast<std::size_t>(run.CurrentMethod);
  auto& bestX = run.BestSurfaceX[current];
  auto& bestY = run.BestSurfaceY[current];
  const double centerX = md.CenterX, centerY = md.CenterY;
  const bool warn = twoCutWarning();
  int lastMerged = -1;
  const bool whole = team->run(
      static_cast<int>(n),
      [&](int worker, int item) {
        if (run.stopRequested()) return TrialTeam::Reached::Part;
        AnalysisModel& wm = workspaces[static_cast<std::size_t>(worker)]->model;
        wm.NonCirX.assign(md.NonCirX.begin(), md.NonCirX.end());
        wm.NonCirY.assign(md.NonCirY.begin(), md.NonCirY.end());
        wm.NonCirPointCount = md.NonCirPointCount;
        wm.NonCirSegmentCount = md.NonCirSegmentCount;
        wm.NonCirX[ui] = positionX[static_cast<std::size_t>(item)];
        wm.NonCirY[ui] = positionY[static_cast<std::size_t>(item)];
        analyseTrial(worker, centerX, centerY, trials[static_cast<std::size_t>(item)], warn, false);
        return TrialTeam::Reached::All;
      },
      [&](int item, TrialTeam::Reached reached) {
        if (reached != TrialTeam::Reached::All) return false;
        const auto c = static_cast<std::size_t>(item);
        const TrialOutcome& out = trials[c];
        countTrial(out);
        if (out.fs[current] < run.Minimum[current].Fs) {
          for (int method = Ordinary; method <= Spencer; ++method) {
            run.Minimum[static_cast<std::size_t>(method)].Fs = out.fs[static_cast<std::size_t>(method)];
          }
          MethodMinimum& min = run.Minimum[current];
          min.CenterX = md.CenterX;
          min.CenterY = md.CenterY;
          min.EntryX = out.entryX;
          min.EntryY = out.entryY;
          min.ExitX = out.exitX;
          min.ExitY = out.exitY;
          bestX[ui] = positionX[c];
          bestY[ui] = positionY[c];
          improved = true;
        }
        lastMerged = item;
        return true;
      });
  if (lastMerged >= 0) takeSlicesOf(lastMerged);
  md.NonCirX[ui] = bestX[ui];
  md.NonCirY[ui] = bestY[ui];
  return whole;
}

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
    md.CenterX = o.readReal("E_Xauto_Start");
    md.CenterY = o.readReal("E_Yauto_Start");
    md.AutoIncrementX = o.readReal("E_Xauto_Increment");
    md.AutoIncrementY = o.readReal("E_Yauto_Increment");
    bestX = md.CenterX;
    bestY = md.CenterY;
    best = probe(bestX, bestY);
  }
  PatternWalk(best, bestX, bestY, md.AutoIncrementX, md.AutoIncrementY, probe, [&] { return run.stopRequested(); });
}

// ----- Irregular search ------------------------------------------------------

bool Searcher::BelowBottomLine(double x, double y) const {
  const AnalysisModel& md = m->model;
  auto belowSegment = [&](int line, int p) {
    const auto k = static_cast<std::size_t>(line);
    return md.LineX[k][p] <= x && x < md.LineX[k][p + 1] && md.LineSlope[k][p] * x + md.LineIntercept[k][p] > y;
  };
  if (md.BottomLineChoice == 0) {
    const int line = md.BottomLineNo - 1;
    if (line < 0 || line >= md.LineCount) return false;
    for (int p = 0; p + 1 < md.LinePointCount[static_cast<std::size_t>(line)]; ++p) {
      if (belowSegment(line, p)) return true;
    }
    return false;
  }
  for (int k = 0; k < md.BottomLineCount; ++k) {
    const int line = md.BottomLineLineNo[static_cast<std::size_t>(k)] - 1;
    if (line < 0 || line >= md.LineCount) continue;
    const auto L = static_cast<std::size_t>(line);
    const int b = md.BottomLineBeginPoint[static_cast<std::size_t>(k)] - 1;
    const int e = md.BottomLineEndPoint[static_cast<std::size_t>(k)] - 1;
    const int points = md.LinePointCount[L];
    if (b < 0 || e < 0 || b + 1 >= points || e >= points) continue;
    if (md.LineX[L][b] <= x && x < md.LineX[L][e] && md.LineSlope[L][b] * x + md.LineIntercept[L][b] > y) {
      return true;
    }
  }
  return false;
}

void Searcher::Candidates(int i, std::vector<double>& cx, std::vector<double>& cy) const {
  const AnalysisModel& md = m->model;
  cx.clear();
  cy.clear();
  const double s = m->step();
  const int n = md.NonCirPointCount;
  const double xi = md.NonCirX[static_cast<std::size_t>(i)], yi = md.NonCirY[static_cast<std::size_t>(i)];
  if (i > 0 && i < n - 1) {
    const int directions = md.NonCirDirectionCount;
    const std::size_t capacity = static_cast<std::size_t>(std::max(directions, 0)) + 6;
    for (int j = 0; j < directions; ++j) {
      const double angle = 2.0 * std::numbers::pi * j / directions;
      cx.push_back(xi + s * std::cos(angle));
      cy.push_back(yi + s * std::sin(angle));
    }
    for (int k = 0; k + 1 < md.LineCount; ++k) {
      const auto line = static_cast<std::size_t>(k);
      for (int p = 0; p + 1 < md.LinePointCount[line]; ++p) {
        const double mk = md.LineSlope[line][p], q = md.LineIntercept[line][p];
        const double A = mk * mk + 1.0;
        const double B = (q - yi) * mk - xi;
        const double C = (q - yi) * (q - yi) + xi * xi - s * s;
        const double D = B * B - A * C;
        if (std::fabs(D) < 1.0) break;  // the rest of this line is skipped
        if (D <= 0.0) continue;
        for (double root : {(-B - std::sqrt(D)) / A, (-B + std::sqrt(D)) / A}) {
          if (md.LineX[line][p] <= root && root <= md.LineX[line][p + 1] && cx.size() < capacity) {
            cx.push_back(root);
            cy.push_back(mk * root + q);
          }
        }
      }
    }
    return;
  }
  // An end point slides along the ground line.
  const int g = md.LineCount - 1;
  const int points = md.LinePointCount[static_cast<std::size_t>(g)];
  const double* gx = md.LineX[static_cast<std::size_t>(g)];
  const double* gy = md.LineY[static_cast<std::size_t>(g)];
  int seg = -1;
  for (int p = 0; p + 1 < points; ++p) {
    if (gx[p] <= xi && xi < gx[p + 1]) {
      seg = p;
      break;
    }
  }
  const bool onLastVertex = points >= 2 && xi == gx[points - 1];
  if (seg < 0 && onLastVertex) seg = points - 2;
  if (seg < 0) return;  // off the ground line: no slide
  auto along = [&](int p, double sign) {
    const double theta = std::atan(md.LineSlope[static_cast<std::size_t>(g)][p]);
    cx.push_back(xi + sign * s * std::cos(theta));
    cy.push_back(yi + sign * s * std::sin(theta));
  };
  const double theta = std::atan(md.LineSlope[static_cast<std::size_t>(g)][seg]);
  const double forward = xi + s * std::cos(theta);
  if (onLastVertex) {
    cx.push_back(gx[points - 1]);
    cy.push_back(gy[points - 1]);
  } else if (forward > gx[seg + 1]) {
    cx.push_back(gx[seg + 1]);
    cy.push_back(gy[seg + 1]);
  } else {
    along(seg, 1.0);
  }
  if (xi - s * std::cos(theta) >= gx[seg]) {
    along(seg, -1.0);
  } else if ((onLastVertex || xi == gx[seg]) && seg > 0) {
    along(seg - 1, -1.0);
  } else {
    cx.push_back(gx[seg]);
    cy.push_back(gy[seg]);
  }
}

bool Searcher::SimplifySurface() {
  AnalysisModel& md = m->model;
  const double s = m->step();
  auto& slope = m->s.SlipSlope;
  auto& intercept = m->s.SlipIntercept;
  auto& bestX = m->run.BestSurfaceX[static_cast<std::size_t>(m->run.CurrentMethod)];
  auto& bestY = m->run.BestSurfaceY[static_cast<std::size_t>(m->run.CurrentMethod)];
  const int start = md.NonCirPointCount;
  int n = start;
  bool removedAny = false;
  auto remove = [&](int r) {
    const auto ur = static_cast<std::ptrdiff_t>(r);
    md.NonCirX.erase(md.NonCirX.begin() + ur);
    md.NonCirY.erase(md.NonCirY.begin() + ur);
    if (r < static_cast<int>(slope.size())) {
      slope.erase(slope.begin() + ur);
      intercept.erase(intercept.begin() + ur);
    }
    if (r < static_cast<int>(bestX.size())) {
      bestX.erase(bestX.begin() + ur);
      bestY.erase(bestY.begin() + ur);
    }
    --n;
    removedAny = true;
    m->simplifyAgain = false;
  };
  const auto slopeAt = [&](int k) {
    return k < static_cast<int>(slope.size()) ? slope[static_cast<std::size_t>(k)] : 0.0;
  };
  for (int i = 0; i < start - 1; ++i) {
    if (i + 1 >= n) continue;
    const auto ui = static_cast<std::size_t>(i);
    if (!(md.NonCirX[ui + 1] - md.NonCirX[ui] < 2.0 * s)) continue;
    if (i > 0 && std::fabs(slopeAt(i) - slopeAt(i - 1)) <= kCollinearSlopes) {
      remove(i);
    } else if (i + 1 < n - 1 && std::fabs(slopeAt(i) - slopeAt(i + 1)) <= kCollinearSlopes) {
      remove(i + 1);
    }
  }
  md.NonCirPointCount = n;
  md.NonCirSegmentCount = n - 1;
  return removedAny;
}

void Searcher::AutoCenter() {
  AnalysisModel& md = m->model;
  const SliceSet& s = m->s;
  const double xa = s.EntryX, ya = s.EntryY, xb = s.ExitX, yb = s.ExitY;
  if (xb == xa || yb == ya) return;  // no bisector to follow
  const double d = std::hypot(xb - xa, yb - ya);
  const double o = (yb - ya) / (xb - xa);
  const double xm = (xa + xb) / 2.0, ym = (ya + yb) / 2.0;
  const double r = -1.0 / o;
  const double w = ym - r * xm;
  int seg = -1;
  for (int i = 0; i + 1 < s.SlipPointCount; ++i) {
    if (s.SlipX[static_cast<std::size_t>(i)] <= xm && xm <= s.SlipX[static_cast<std::size_t>(i) + 1]) seg = i;
  }
  if (seg < 0) return;
  const double mi = s.SlipSlope[static_cast<std::size_t>(seg)], qi = s.SlipIntercept[static_cast<std::size_t>(seg)];
  if (mi == r) return;
  const double xs = (w - qi) / (mi - r), ys = (w * mi - r * qi) / (mi - r);
  const double h = std::hypot(xm - xs, ym - ys);
  if (!(h > 0.0)) return;
  const double D = d * d / (8.0 * h) - h / 2.0;
  const double offset = std::fabs(D) / std::sqrt(o * o + 1.0);
  double y = ym + offset;
  if (y < ys) y = ym - offset;
  const double x = xm + o * (ym - y);
  if (!std::isfinite(x) || !std::isfinite(y)) return;
  md.CenterX = x;
  md.CenterY = y;
}

void Searcher::SearchIrregularPass() {
  AnalysisModel& md = m->model;
  RunState& run = m->run;
  const auto current = static_cast<std::size_t>(run.CurrentMethod);
  if (m->parallel()) m->prepareTeam();
  Analyse();
  for (int method = Ordinary; method <= Spencer; ++method) {
    run.Minimum[static_cast<std::size_t>(method)].Fs = Fs(m->s, method);
  }
  // Until a candidate does better, the surface the pass starts from, about
  // this centre, is the method's best: a replay of a stopped search analyses
  // the best surface about the centre kept with it.
  MethodMinimum& start = run.Minimum[current];
  start.CenterX = md.CenterX;
  start.CenterY = md.CenterY;
  start.EntryX = m->s.EntryX;
  start.EntryY = m->s.EntryY;
  start.ExitX = m->s.ExitX;
  start.ExitY = m->s.ExitY;
  run.BestSurfaceX[current].assign(md.NonCirX.begin(), md.NonCirX.begin() + md.NonCirPointCount);
  run.BestSurfaceY[current].assign(md.NonCirY.begin(), md.NonCirY.begin() + md.NonCirPointCount);
  std::vector<std::vector<double>> candidatesX, candidatesY;
  bool improved;
  do {
    // Candidates of every point, and simplification until nothing merges.
    do {
      m->simplifyAgain = false;
      candidatesX.resize(static_cast<std::size_t>(md.NonCirPointCount));
      candidatesY.resize(static_cast<std::size_t>(md.NonCirPointCount));
      for (int i = 0; i < md.NonCirPointCount; ++i) {
        Candidates(i, candidatesX[static_cast<std::size_t>(i)], candidatesY[static_cast<std::size_t>(i)]);
      }
      m->simplifyAgain = true;
      SimplifySurface();
    } while (!m->simplifyAgain);
    improved = false;
    if (md.NonCirAutoCenter) AutoCenter();
    auto& bestX = run.BestSurfaceX[current];
    auto& bestY = run.BestSurfaceY[current];
    for (int i = 0; i < md.NonCirPointCount; ++i) {
      const auto ui = static_cast<std::size_t>(i);
      const auto& cx = candidatesX[ui];
      const auto& cy = candidatesY[ui];
      if (m->parallel() && cx.size() > 1) {
        if (!m->irregularPointParallel(*this, cx, cy, i, improved)) break;  // stopped
        continue;
      }
      for (std::size_t c = 0; c < cx.size(); ++c) {
        if (!BelowBottomLine(cx[c], cy[c])) {
          md.NonCirX[ui] = cx[c];
          md.NonCirY[ui] = cy[c];
        }
        Analyse();
        if (Fs(m->s, run.CurrentMethod) < run.Minimum[current].Fs) {
          for (int method = Ordinary; method <= Spencer; ++method) {
            run.Minimum[static_cast<std::size_t>(method)].Fs = Fs(m->s, method);
          }
          MethodMinimum& min = run.Minimum[current];
          min.CenterX = md.CenterX;
          min.CenterY = md.CenterY;
          min.EntryX = m->s.EntryX;
          min.EntryY = m->s.EntryY;
          min.ExitX = m->s.ExitX;
          min.ExitY = m->s.ExitY;
          bestX[ui] = md.NonCirX[ui];
          bestY[ui] = md.NonCirY[ui];
          improved = true;
        }
      }
      md.NonCirX[ui] = bestX[ui];
      md.NonCirY[ui] = bestY[ui];
    }
    if (!m->p.BatchMode && m->p.drawing.ShowFailureAnimation) {
      m->ui.animateTrial({md.CenterX, md.CenterY, &m->s.SlipX, &m->s.SlipY});
    }
    ComputeSlidingMassArea();
    ShowMinima();
    UpdateProgress(false);
    m->ui.processPendingEvents();
  } while (!run.stopRequested() && improved);
}

void Searcher::SearchIrregular(int rounds) {
  AnalysisModel& md = m->model;
  const double s = m->step();
  for (int r = 0; r < rounds; ++r) {
    if (r > 0) {
      // Mid-points on segments at least 4s wide; the old points stay.
      const int n = md.NonCirPointCount;
      std::vector<double> x, y;
      double previous = md.NonCirX[0];
      x.push_back(md.NonCirX[0]);
      y.push_back(md.NonCirY[0]);
      for (int j = 1; j <= 2 * n - 2; ++j) {
        const auto k = static_cast<std::size_t>(j / 2);
        const double ex = (j % 2 == 0) ? md.NonCirX[k] : (md.NonCirX[k] + md.NonCirX[k + 1]) / 2.0;
        const double ey = (j % 2 == 0) ? md.NonCirY[k] : (md.NonCirY[k] + md.NonCirY[k + 1]) / 2.0;
        if (j < 2 * n - 2 && ex - previous < 2.0 * s) {
          previous = -9999.0;
          continue;
        }
        x.push_back(ex);
        y.push_back(ey);
        previous = ex;
      }
      md.NonCirX = std::move(x);
      md.NonCirY = std::move(y);
      md.NonCirPointCount = static_cast<int>(md.NonCirX.size());
      md.NonCirSegmentCount = md.NonCirPointCount - 1;
    }
    SearchIrregularPass();
    if (m->run.stopRequested()) return;
  }
}

// ----- Results and progress --------------------------------------------------

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
  const bool decrementMode = m->p.options.itemIndex("CB_Circle_Decrement") == 1;
  const long long total =
      static_cast<long long>(md.GridDivision12 + 1) * (md.GridDivision23 + 1) * static_cast<long long>(md.CircleCount);
  if (final) {
    report.totalProcess =
        decrementMode ? std::to_string(run.LoopCount) : std::to_string(total) + " of " + std::to_string(total);
    report.processPercent = "100%";
    report.barPercent = 100;
  } else if (decrementMode) {
    report.totalProcess = std::to_string(run.LoopCount);
    report.barPercent = run.ProgressPercent;
  } else {
    report.totalProcess = std::to_string(run.LoopCount) + " of " + std::to_string(total);
    run.ProgressPercent = total > 0 ? static_cast<int>(std::nearbyint(100.0 * run.LoopCount / total)) : 0;
    if (run.ProgressPercent <= 100) report.processPercent = std::to_string(run.ProgressPercent) + "%";
    report.barPercent = run.ProgressPercent;
  }
  m->ui.reportProgress(report);
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

namespace {

// The area between the ground line and the slip surface over the slices.
double SlidingMassArea(const AnalysisModel& md, const SliceSet& s) {
  const int g = md.LineCount - 1;
  double area = 0.0;
  if (s.LineYAtMid.rows() >= static_cast<std::size_t>(s.SliceCount) && g >= 0 &&
      s.LineYAtMid.columns() > static_cast<std::size_t>(g)) {
    for (int i = 0; i < s.SliceCount; ++i) {
      const auto u = static_cast<std::size_t>(i);
      area += (s.LineYAtMid[u][g] - s.BaseYAtMid[u]) * s.SliceWidth[u];
    }
  }
  return area;
}

}  // namespace

void Searcher::ComputeSlidingMassArea() {
  m->run.SlidingMassArea = SlidingMassArea(m->model, m->s);
}

namespace {

// Replaces the rows of `table` by the slice boundaries of the last surface.
void WriteBoundaries(WorkingStore& store, Table table, const SliceSet& s, const char* no, const char* x,
                     const char* y) {
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

void Searcher::SaveIrregularSurface() {
  static constexpr Table kTables[] = {Table::NonCirSlip_Janbu, Table::NonCirSlip_Bishop, Table::NonCirSlip_Spencer};
  const int method = m->run.CurrentMethod;
  if (method < Janbu || method > Spencer) return;
  WriteBoundaries(*m->p.store, kTables[method - 1], m->s, "Point No.", "Coordi X", "Coordi Y");
}

void Searcher::RecordCriticalSurface() {
  if (m->s.SliceCount < 0) return;
  WriteBoundaries(*m->p.store, Table::Failure_Geometry, m->s, "No", "Coor_X", "Coor_Y");
}

void Searcher::ReplayMinima() {
  if (m->p.options.itemIndex("RG_Theory") != 1 || m->p.BatchMode) return;
  AnalysisModel& md = m->model;
  try {
    for (int method = Ordinary; method <= Spencer; ++method) {
      const MethodMinimum& min = m->run.Minimum[static_cast<std::size_t>(method)];
      if (!m->run.ShowPicture[static_cast<std::size_t>(method)] || !Selected(md, method) || min.Radius == 0.0) {
        continue;
      }
      md.TrialRadius = min.Radius;
      md.CenterX = min.CenterX;
      md.CenterY = min.CenterY;
      Analyse();
    }
    RecordCriticalSurface();
  } catch (...) {
    // A replay only redraws; its failure leaves the run's results as they are.
  }
}

void Searcher::ReplaySortedRow(double radius, double centerX, double centerY) {
  if (m->p.options.itemIndex("RG_Theory") != 1 || m->p.BatchMode) return;
  if (!m->run.ShowPicture[Bishop] || m->run.Minimum[Bishop].Radius == 0.0) return;
  AnalysisModel& md = m->model;
  try {
    md.TrialRadius = radius;
    md.CenterX = centerX;
    md.CenterY = centerY;
    Analyse();
    RecordCriticalSurface();
  } catch (...) {
  }
}

std::vector<SortedResult> SortResultsByBishop(WorkingStore& store) {
  std::vector<SortedResult> out;
  store.visitRows(Table::Results, [&](const Row& r) {
    out.push_back({r.integer("Num"), r.real("X_Center"), r.real("Y_Center"), r.real("Radius"), r.real("FS_Bis")});
  });
  std::stable_sort(out.begin(), out.end(),
                   [](const SortedResult& a, const SortedResult& b) { return a.fsBishop < b.fsBishop; });
  return out;
}

// ----- The surfaces a run presents --------------------------------------------

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
  const auto head = [](const std::vector<double>& v, int count) {
    const auto n = std::min(static_cast<std::size_t>(std::max(count, 0)), v.size());
    return std::vector<double>(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(n));
  };
  c.surfaceX = head(sl.SlipX, sl.SlipPointCount);
  c.surfaceY = head(sl.SlipY, sl.SlipPointCount);
  c.boundaryX = head(sl.BoundaryX, sl.SliceCount + 1);
  c.surfaceYAtBoundary = head(sl.SurfaceYAtBoundary, sl.SliceCount + 1);
  c.baseYAtBoundary = head(sl.BaseYAtBoundary, sl.SliceCount + 1);
  c.sliceCount = sl.SliceCount;
  c.activeFirst = sl.ActiveFirst;
  c.activeEnd = sl.ActiveEnd;
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
    out.push_back(
        PresentedSurface(project, -1, md.CenterX, md.CenterY, circle ? md.TrialRadius : 0.0, run.SlidingMassArea));
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

// ----- The run ---------------------------------------------------------------

namespace {

// Zone of a centre for the moving-centre listing.
int Zone(const AnalysisModel& m, double xc, double yc, double boundLeft, double boundRight) {
  auto lineY = [&](int line) {
    const auto k = static_cast<std::size_t>(line);
    const int points = m.LinePointCount[k];
    if (points < 1) return -9999.0;
    double y = -9999.0;
    for (int p = 0; p + 1 < points; ++p) {
      if (m.LineX[k][p] <= xc && xc <= m.LineX[k][p + 1]) {
        y = m.LineSlope[k][p] == kVerticalSlope ? m.LineY[k][p] : m.LineSlope[k][p] * xc + m.LineIntercept[k][p];
      }
    }
    if (y != -9999.0) return y;
    if (xc < m.LineX[k][0]) return m.LineY[k][0];
    if (xc > m.LineX[k][points - 1]) return m.LineY[k][points - 1];
    return -9999.0;
  };
  const double yb = lineY(0), yg = lineY(m.LineCount - 1);
  if (yc < yb) return 1;
  if (yb <= yc && yc <= yg) return 2;
  if (xc < boundLeft) return 3;
  if (xc > boundRight) return 5;
  return 4;
}

// Each searched method takes back the minimum its own search found; the
// others keep what the searches left.
void RestoreOwnMinima(const AnalysisModel& md, RunState& run, const std::array<MethodMinimum, kMethodCount>& own) {
  for (int method = Ordinary; method <= Spencer; ++method) {
    if (Selected(md, method)) run.Minimum[static_cast<std::size_t>(method)] = own[static_cast<std::size_t>(method)];
  }
}

class Run {
 public:
  Run(Project& project, PlatformServices& platform, const RunOptions& options)
      : p(project),
        ui(platform),
        o(options),
        md(project.model),
        run(project.run),
        search(project, platform, options.threads) {}

  RunResult execute();
  // How far the run got, once its search has started; a failed run too.
  void countTrials(RunResult& result) const {
    if (!searchStarted) return;
    result.trialsDone = search.TrialsCounted();
    result.trialsTotal = trialsTotal;
  }

 private:
  RunResult circular();
  RunResult irregular();
  RunResult movingCentre();
  void copyFactorsToMinima(bool withCircle);
  void reloadInitialSurface();

  Project& p;
  PlatformServices& ui;
  const RunOptions& o;
  AnalysisModel& md;
  RunState& run;
  Searcher search;
  bool searchStarted = false;
  long trialsTotal = 0;
};

// The trials a run is to make, when that is known before it starts: the
// count the grid's progress shows, or the one specific circle. A pattern
// walk after the grid, circles by decrement and the other searches make as
// many as they find.
long PlannedTrials(const Project& p) {
  const AnalysisModel& md = p.model;
  if (md.AnalysisTheory != 1) return 0;
  if (md.CircularSearchKind == 1) return 1;
  if (md.CircularSearchKind != 0 || md.GridIncrementEnabled || p.options.itemIndex("CB_Circle_Decrement") == 1) {
    return 0;
  }
  return static_cast<long>(md.GridDivision12 + 1) * (md.GridDivision23 + 1) * md.CircleCount;
}

void Run::copyFactorsToMinima(bool withCircle) {
  for (int method = Ordinary; method <= Spencer; ++method) {
    MethodMinimum& min = run.Minimum[static_cast<std::size_t>(method)];
    min.Fs = Fs(p.slices, method);
    min.EntryX = p.slices.EntryX;
    min.EntryY = p.slices.EntryY;
    min.ExitX = p.slices.ExitX;
    min.ExitY = p.slices.ExitY;
    min.CenterX = md.CenterX;
    min.CenterY = md.CenterY;
    if (withCircle) min.Radius = md.TrialRadius;
  }
}

void Run::reloadInitialSurface() {
  ReadNonCircularPoints(p);
  md.NonCirSegmentCount = md.NonCirPointCount - 1;
}

RunResult Run::circular() {
  // A new search: nothing recorded yet.
  for (MethodMinimum& min : run.Minimum) min = MethodMinimum{};
  for (MethodMinimum& min : run.Minimum) min.Fs = kNoMinimum;
  switch (md.CircularSearchKind) {
    case 0: {
      search.SearchGrid();
      if (run.stopRequested()) return {RunOutcome::Stopped, {}};
      if (md.GridIncrementEnabled) {
        search.SearchPattern();
        if (run.stopRequested()) return {RunOutcome::Stopped, {}};
        search.ReplayMinima();
      }
      search.ComputeSlidingMassArea();
      // A minimum on the grid's edge may lie beyond it; after a pattern
      // walk, the walk's own minimum is judged against the grid.
      RunResult complete{RunOutcome::Complete, {}};
      complete.warnings = GridEdgeWarnings(md, run);
      return complete;
    }
    case 1: {
      search.FindRadiusRange(md.CenterX, md.CenterY);
      RunResult result;
      if (md.TrialRadius > run.MaxRadius) {
        ui.closeProgressWindow();
        ui.showMessage(MessageKind::Information, "", MessageText(md.Language, 1));
        result = {RunOutcome::Refused, std::string(MessageText(kLanguageEnglish, 1))};
      }
      if (md.TrialRadius <= run.MinRadius) {
        ui.closeProgressWindow();
        ui.showMessage(MessageKind::Information, "", MessageText(md.Language, 2));
        result = {RunOutcome::Refused, std::string(MessageText(kLanguageEnglish, 2))};
      }
      if (run.MinRadius < md.TrialRadius && md.TrialRadius <= run.MaxRadius) {
        search.Analyse();
        copyFactorsToMinima(true);
        run.ResultAvailable = 1;
        search.ShowMinima();
        search.UpdateProgress(false);
        search.ComputeSlidingMassArea();
        search.RecordCriticalSurface();
      }
      if (result.outcome == RunOutcome::Refused) {
        ui.setProgressCaption("Calculation Complete");
        return result;
      }
      break;
    }
    case 2: {
      // Each method searches from the same start; each keeps the minimum its
      // own search found, not what a later method's search left behind.
      std::array<MethodMinimum, kMethodCount> own = run.Minimum;
      for (int method = Ordinary; method <= Spencer; ++method) {
        if (!Selected(md, method)) continue;
        run.CurrentMethod = method;
        search.SearchPattern();
        own[static_cast<std::size_t>(method)] = run.Minimum[static_cast<std::size_t>(method)];
        if (run.stopRequested()) {
          RestoreOwnMinima(md, run, own);
          return {RunOutcome::Stopped, {}};
        }
        search.ReplayMinima();
      }
      RestoreOwnMinima(md, run, own);
      search.ComputeSlidingMassArea();
      break;
    }
    default:
      break;
  }
  return {RunOutcome::Complete, {}};
}

RunResult Run::movingCentre() {
  std::filesystem::path file = o.movingCentreFile;
  if (file.empty()) file = std::filesystem::temp_directory_path() / "moving_center.txt";
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("Cannot create file " + file.string());
  const DrawingSettings& d = p.drawing;
  const double boundLeft = p.options.readReal("E_Bound_L");
  const double boundRight = p.options.readReal("E_Bound_R");
  const long long ny = static_cast<long long>(std::nearbyint((d.WorkAreaYmax - d.WorkAreaYmin) / md.MovingCenterDY));
  const long long nx = static_cast<long long>(std::nearbyint((d.WorkAreaXmax - d.WorkAreaXmin) / md.MovingCenterDX));
  for (long long j = 0; j <= ny; ++j) {
    for (long long i = 0; i <= nx; ++i) {
      md.CenterX = static_cast<double>(i) * md.MovingCenterDX + d.WorkAreaXmin;
      md.CenterY = static_cast<double>(j) * md.MovingCenterDY + d.WorkAreaYmin;
      search.Analyse();
      copyFactorsToMinima(false);
      out << Zone(md, md.CenterX, md.CenterY, boundLeft, boundRight) << ',' << FormatFixed(md.CenterX, 3) << ','
          << FormatFixed(md.CenterY, 3) << ',';
      search.ShowMinima();
      search.UpdateProgress(false);
      search.ComputeSlidingMassArea();
      search.RecordCriticalSurface();
      out << FormatFixed(p.slices.FsOrdinary, 3) << ',' << FormatFixed(p.slices.FsJanbu, 3) << ','
          << FormatFixed(p.slices.FsBishop, 3) << ',' << FormatFixed(p.slices.FsSpencer, 3) << "\r\n";
      if (!out) throw std::runtime_error("Cannot write file " + file.string());
    }
  }
  out.close();
  if (!out) throw std::runtime_error("Cannot write file " + file.string());
  return {RunOutcome::Complete, {}};
}

RunResult Run::irregular() {
  if (md.NonCirSearchKind == 0) {
    if (p.options.checked("CB_Moving_Center")) return movingCentre();
    search.Analyse();
    copyFactorsToMinima(false);
    search.ShowMinima();
    search.UpdateProgress(false);
    search.ComputeSlidingMassArea();
    search.RecordCriticalSurface();
    return {RunOutcome::Complete, {}};
  }
  std::array<MethodMinimum, kMethodCount> own = run.Minimum;
  bool searched = false;
  for (int method = Ordinary; method <= Spencer; ++method) {
    if (!Selected(md, method)) continue;
    run.CurrentMethod = method;
    if (method != Ordinary) reloadInitialSurface();
    search.SearchIrregular(md.NonCirDivideStep);
    ui.processPendingEvents();
    if (run.stopRequested()) {
      own[static_cast<std::size_t>(method)] = run.Minimum[static_cast<std::size_t>(method)];
      RestoreOwnMinima(md, run, own);
      return {RunOutcome::Stopped, {}};
    }
    // The method's best surface, analysed again, is what is saved and shown:
    // the last candidate tried may have been worse.
    const auto k = static_cast<std::size_t>(method);
    md.NonCirX = run.BestSurfaceX[k];
    md.NonCirY = run.BestSurfaceY[k];
    md.NonCirPointCount = static_cast<int>(md.NonCirX.size());
    md.NonCirSegmentCount = md.NonCirPointCount - 1;
    search.Analyse();
    own[k] = run.Minimum[k];
    own[k].Fs = Fs(p.slices, method);
    own[k].EntryX = p.slices.EntryX;
    own[k].EntryY = p.slices.EntryY;
    own[k].ExitX = p.slices.ExitX;
    own[k].ExitY = p.slices.ExitY;
    own[k].CenterX = md.CenterX;
    own[k].CenterY = md.CenterY;
    searched = true;
    search.SaveIrregularSurface();
    search.RecordCriticalSurface();
    search.ComputeSlidingMassArea();
  }
  if (searched) RestoreOwnMinima(md, run, own);
  run.ResultAvailable = 1;
  return {RunOutcome::Complete, {}};
}

RunResult Run::execute() {
  if (!o.alreadyChecked) {
    if (std::optional<RunResult> refused = CollectAndCheckRun(p, ui)) return *refused;
  }

  run.RunStarted = 1;
  ui.setProgressCaption("Calculating ...");
  run.LoopCount = 0;
  run.ProgressPercent = 0;
  search.BeginRun();
  searchStarted = true;
  trialsTotal = PlannedTrials(p);
  RunResult result;
  switch (md.AnalysisTheory) {
    case 1:
      result = circular();
      break;
    case 2:
      result = irregular();
      break;
    default:
      break;
  }
  search.FlushResults();
  if (result.outcome == RunOutcome::Complete) ui.setProgressCaption("Calculation Complete");
  countTrials(result);
  return result;
}

}  // namespace

std::optional<RunResult> CollectAndCheckRun(Project& project, PlatformServices& ui) {
  CollectAnalysisData(project, ui);
  const AnalysisModel& md = project.model;
  const std::uint8_t language = md.Language;
  if (md.AnalysisTheory == 2 && md.NonCirPointCount == 0) {
    ui.showMessage(MessageKind::Error, "", MessageText(language, 6));
    return RunResult{RunOutcome::Refused, std::string(MessageText(kLanguageEnglish, 6))};
  }
  if (md.SoilCount == 0 || md.GeometryPointTotal == 0) {
    ui.showMessage(MessageKind::Information, "", MessageText(language, 3));
    return RunResult{RunOutcome::Refused, std::string(MessageText(kLanguageEnglish, 3))};
  }
  if (md.AnalysisTheory == 2 && md.LineCount >= 1 && !md.LineX.empty() && md.LinePointCount[0] >= 1 &&
      !(md.CenterX > md.LineX[0][0]) && !(md.CenterY > md.LineY[0][0])) {
    const int l = language == kLanguageThai ? 0 : 1;
    if (!ui.askOkCancel(kWarningCaption[l], kAxisQuestion[l])) return RunResult{RunOutcome::Refused, {}};
  }
  if (md.DataError) return RunResult{RunOutcome::Refused, {}};
  return std::nullopt;
}

RunResult RunAnalysis(Project& project, PlatformServices& platform, const RunOptions& options) {
  RunResult result;
  std::optional<Run> run;
  try {
    run.emplace(project, platform, options);
    result = run->execute();
  } catch (const std::exception& e) {
    result = {RunOutcome::Failed, e.what()};
    if (run) run->countTrials(result);
  }
  run.reset();
  if (!project.BatchMode) project.run.StopRequested = 1;
  return result;
}

RunResult StartAnalysis(Project& project, PlatformServices& platform, const RunOptions& options) {
  project.run.StopRequested = 0;
  if (project.store->rowCount(Table::Results) > 0) project.store->empty(Table::Results);
  RunResult result;
  // An interactive run sets the stop request at its end, so this runs once;
  // it is here for the same loop the progress window's button drives.
  while (!project.run.stopRequested()) {
    result = RunAnalysis(project, platform, options);
    platform.processPendingEvents();
    if (project.BatchMode) break;
  }
  return result;
}

}  // namespace pelodyn
