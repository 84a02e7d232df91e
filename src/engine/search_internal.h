// What the files of the searches share and nobody else sees: the state of
// a Searcher, the workspaces of a parallel search and the small helpers on
// factors and methods. Only the engine's own sources include it.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/searcher.h"
#include "engine/slip_surface.h"
#include "engine/trial_team.h"
#include "model/collection.h"

namespace pelodyn {
namespace search_internal {

inline constexpr double kSearchReset = 1000000.0;

inline double Fs(const SliceSet& s, int method) {
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

inline bool Selected(const AnalysisModel& m, int method) {
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
inline void CountResultCodes(RunState& run, const std::array<double, 4>& fs) {
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

inline std::array<double, 4> Factors(const SliceSet& s) {
  return {s.FsOrdinary, s.FsJanbu, s.FsBishop, s.FsSpencer};
}

// The area between the ground line and the slip surface over the slices.
inline double SlidingMassArea(const AnalysisModel& md, const SliceSet& s) {
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
  int reached = 0;  // trials analysed
  std::vector<TrialOutcome> trials;
};

// One thread's own copy of the model and its slice set; both keep their
// capacity from trial to trial.
struct Workspace {
  AnalysisModel model;
  SliceSet slices;
  MessageCapture capture;
};

}  // namespace search_internal

struct Searcher::Impl {
  using CapturedMessage = search_internal::CapturedMessage;
  using TrialOutcome = search_internal::TrialOutcome;
  using CentreOutcome = search_internal::CentreOutcome;
  using Workspace = search_internal::Workspace;

  Impl(Project& project, PlatformServices& platform, int threadCount, AnalysisModel& searched)
      : p(project), ui(platform), model(searched), run(project.run), s(project.slices), threads(threadCount) {}

  Project& p;
  PlatformServices& ui;
  AnalysisModel& model;
  RunState& run;
  SliceSet& s;
  // The Results rows not yet written; written together, in one transaction,
  // once kRowsPerFlush are buffered (and at the end of the run).
  static constexpr std::size_t kRowsPerFlush = 8192;
  // Row after row, the fields of the Results table in their order: Num,
  // X_Center, Y_Center, Radius, FS_Ord, FS_Jan, FS_Bis, FS_Spe.
  static constexpr std::size_t kResultsFields = 8;
  std::vector<double> pendingResults;
  std::size_t pendingCount = 0;
  void flushWhenFull(Searcher& self) {
    if (pendingCount >= kRowsPerFlush) self.FlushResults();
  }
  // The circle being tried: the searches keep its centre and radius here,
  // never in the model they read.
  double trialX = 0.0, trialY = 0.0, trialRadius = 0.0;
  std::optional<Searcher::Circle> replayed;  // the last minimum replayed
  // Analyses the circle (trialX, trialY, trialRadius) on the calling thread.
  void analyseCircle();
  // The fan about (trialX, trialY) as planned, from its largest radius down.
  void fan(Searcher& self, const CircleFan& plan);
  bool firstProgress = true;
  ProgressReport progress;  // the last report, its strings reused
  int percentShown = -1;    // the percentage kept in progress.processPercent, -1 none
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
  void analyseTrial(int worker, double centerX, double centerY, double radius, TrialOutcome& out, bool warn,
                    bool animate) {
    Workspace& w = *workspaces[static_cast<std::size_t>(worker)];
    SliceSet& slices = slicesOf(worker);
    out.messages.clear();
    w.capture.out = &out.messages;
    AnalyseSlipSurface(w.model, centerX, centerY, radius, slices, {warn, &w.capture});
    out.fs = search_internal::Factors(slices);
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
    search_internal::CountResultCodes(run, t.fs);
  }
  // What a fan does with a circle once it is analysed: the minima, the
  // animation and the Results row.
  void recordCircle(Searcher& self, const std::array<double, 4>& fs, double entryX, double entryY, double exitX,
                    double exitY, const std::vector<double>& slipX, const std::vector<double>& slipY);
  void fanParallel(Searcher& self, const CircleFan& plan);
  // The grid's centres; false when the stop request ended the search.
  bool gridParallel(Searcher& self);
  // The candidates of point i; false when the stop request cut them short.
  bool irregularPointParallel(const Searcher& self, const std::vector<double>& cx, const std::vector<double>& cy, int i,
                              bool& improved);
};

}  // namespace pelodyn
