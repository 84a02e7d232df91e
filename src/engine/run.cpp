// The run: the checks before it, the driver that chooses the search by
// theory and search kind, the moving-centre listing, and Start.

#include "engine/searcher.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>

#include "engine/search_internal.h"
#include "model/collection.h"
#include "model/numbers.h"
#include "texts/messages.h"

namespace pelodyn {

using namespace search_internal;

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
// others keep what the searches left. The caller shows the minima again, so
// that the progress labels end on what the run keeps.
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
        md(work),
        run(project.run),
        search(project, platform, options.threads, &work) {}

  RunResult execute();
  // How far the run got, once its search has started; a failed run too.
  void countTrials(RunResult& result) const {
    if (!searchStarted) return;
    result.trialsDone = search.TrialsCounted();
    result.trialsTotal = trialsTotal;
  }
  // After an error: the Results rows of the trials before it are the run's
  // all the same, and are written now.
  void writeRemainingResults(RunResult& result) {
    try {
      search.FlushResults();
    } catch (const ResultsWriteError& e) {
      NoteLostRows(result, e);
    }
  }
  static void NoteLostRows(RunResult& result, const ResultsWriteError& e) {
    result.outcome = RunOutcome::Failed;
    result.resultsRowsLost += e.rows();
    if (result.resultsWriteError.empty()) result.resultsWriteError = e.what();
  }

 private:
  RunResult circular();
  RunResult irregular();
  RunResult movingCentre();
  // The factors of the surface analysed last become every method's minimum,
  // with the centre it was analysed about and, for a circle, its radius.
  void copyFactorsToMinima(double centerX, double centerY, std::optional<double> radius);
  void reloadInitialSurface();

  Project& p;
  PlatformServices& ui;
  const RunOptions& o;
  // The searches' own copy of the collected model: the irregular search
  // moves its points and centre in it, never in the project's model.
  AnalysisModel work;
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
  if (md.CircularSearchKind != 0 || md.GridIncrementEnabled) return 0;
  return static_cast<long>(GridPlan(md).plannedTrials());
}

void Run::copyFactorsToMinima(double centerX, double centerY, std::optional<double> radius) {
  for (int method = Ordinary; method <= Spencer; ++method) {
    MethodMinimum& min = run.Minimum[static_cast<std::size_t>(method)];
    min.Fs = Fs(p.slices, method);
    min.EntryX = p.slices.EntryX;
    min.EntryY = p.slices.EntryY;
    min.ExitX = p.slices.ExitX;
    min.ExitY = p.slices.ExitY;
    min.CenterX = centerX;
    min.CenterY = centerY;
    if (radius) min.Radius = *radius;
  }
}

void Run::reloadInitialSurface() {
  const AnalysisModel& collected = p.model;
  md.NonCirX = collected.NonCirX;
  md.NonCirY = collected.NonCirY;
  md.NonCirPointCount = collected.NonCirPointCount;
  md.NonCirSegmentCount = md.NonCirPointCount - 1;
}

RunResult Run::circular() {
  // A new search: nothing recorded yet.
  for (MethodMinimum& min : run.Minimum) min = MethodMinimum{};
  for (MethodMinimum& min : run.Minimum) min.Fs = kNoFactor;
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
        copyFactorsToMinima(md.CenterX, md.CenterY, md.TrialRadius);
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
          search.ShowMinima();
          return {RunOutcome::Stopped, {}};
        }
        search.ReplayMinima();
      }
      RestoreOwnMinima(md, run, own);
      search.ShowMinima();
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
  const double boundLeft = md.MovingCenterBoundLeft;
  const double boundRight = md.MovingCenterBoundRight;
  const long long ny = static_cast<long long>(std::nearbyint((d.WorkAreaYmax - d.WorkAreaYmin) / md.MovingCenterDY));
  const long long nx = static_cast<long long>(std::nearbyint((d.WorkAreaXmax - d.WorkAreaXmin) / md.MovingCenterDX));
  for (long long j = 0; j <= ny; ++j) {
    for (long long i = 0; i <= nx; ++i) {
      const double centerX = static_cast<double>(i) * md.MovingCenterDX + d.WorkAreaXmin;
      const double centerY = static_cast<double>(j) * md.MovingCenterDY + d.WorkAreaYmin;
      search.AnalyseAbout(centerX, centerY, md.TrialRadius);
      copyFactorsToMinima(centerX, centerY, std::nullopt);
      out << Zone(md, centerX, centerY, boundLeft, boundRight) << ',' << FormatFixed(centerX, 3) << ','
          << FormatFixed(centerY, 3) << ',';
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
    if (md.MovingCenter) return movingCentre();
    search.Analyse();
    copyFactorsToMinima(md.CenterX, md.CenterY, std::nullopt);
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
      search.ShowMinima();
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
  if (searched) {
    RestoreOwnMinima(md, run, own);
    search.ShowMinima();
  }
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
  work = p.model;
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
  // The searches keep their circles and surfaces to themselves; once they
  // are done, what the slice set holds was analysed last, and the windows
  // find its centre and radius, or its points, in the project's model.
  AnalysisModel& shown = p.model;
  if (const std::optional<Searcher::Circle> last = search.LastReplayed()) {
    shown.CenterX = last->centerX;
    shown.CenterY = last->centerY;
    shown.TrialRadius = last->radius;
  }
  if (md.AnalysisTheory == 2) {
    shown.NonCirX = md.NonCirX;
    shown.NonCirY = md.NonCirY;
    shown.NonCirPointCount = md.NonCirPointCount;
    shown.NonCirSegmentCount = md.NonCirSegmentCount;
    shown.CenterX = md.CenterX;
    shown.CenterY = md.CenterY;
  }
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
    const std::uint8_t l = language == kLanguageThai ? kLanguageThai : kLanguageEnglish;
    if (!ui.askOkCancel(CoreTextFor(l, CoreText::WarningCaption), CoreTextFor(l, CoreText::AxisPositionQuestion)))
      return RunResult{RunOutcome::Refused, {}};
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
  } catch (const ResultsWriteError& e) {
    result = {RunOutcome::Failed, {}};
    Run::NoteLostRows(result, e);
    if (run) run->countTrials(result);
  } catch (const std::exception& e) {
    result = {RunOutcome::Failed, e.what()};
    if (run) {
      run->countTrials(result);
      run->writeRemainingResults(result);
    }
  }
  run.reset();
  if (!project.BatchMode) project.run.StopRequested = 1;
  return result;
}

std::string RunFailureText(const RunResult& result, std::uint8_t language) {
  if (result.outcome != RunOutcome::Failed) return {};
  std::string text = result.message;
  if (result.resultsRowsLost > 0) {
    const std::string lost = FormatText(CoreTextFor(language, CoreText::ResultsRowsNotWritten),
                                        {std::to_string(result.resultsRowsLost), result.resultsWriteError});
    if (!text.empty() && !lost.empty()) text += ' ';
    text += lost;
  }
  return text;
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
