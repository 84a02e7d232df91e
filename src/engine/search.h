// A run of the search for the slip surface with the lowest factor of
// safety, as the front ends see it: options in, outcome out, and what a run
// leaves behind (minima, Results rows, the surface tables, the surfaces it
// presents). The searches themselves, one by one, are in searcher.h.
//
// Everything works on one Project and reaches the user only through the
// PlatformServices it is given. The stop request (project.run.StopRequested)
// is honoured after the current trial (by every thread of a parallel search;
// no Results row of a trial after the first one a thread left out is
// written). Store and conversion errors
// propagate as exceptions; RunAnalysis catches them and reports the run as
// failed. The Results rows a run found are written at its end on every path,
// a failed one included; rows the store refuses make the run failed and are
// counted in its result.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "model/critical_surface.h"
#include "model/platform.h"
#include "model/project.h"

namespace pelodyn {

enum class RunOutcome {
  Complete,  // the run went through (caption "Calculation Complete")
  Refused,   // a check refused it; its message was shown
  Failed,    // an error ended it; `message` says which
  Stopped,   // the stop request ended it
};

// A note a complete run leaves besides its minima: the minimum of a method
// lies on an edge of the grid of centres (or beyond it, after a pattern
// walk), so it may not be the minimum at all and the grid should be
// extended there.
struct RunWarning {
  int method;  // Ordinary..Spencer
  // The side of the grid, named by where it lies: of the two pairs of
  // opposite sides, the pair that lies apart more steeply (the larger share
  // of Y in the step from one side to the other) is Lower (the side whose
  // midpoint is lower) and Upper; the other pair is Left (the smaller X of
  // its midpoint) and Right. When both are as steep, the first and last
  // rows (corner 1 to 2, and the row through corner 3) are Lower and Upper.
  enum class Edge { Lower, Upper, Left, Right } edge;
  bool operator==(const RunWarning&) const = default;
};

// The warning in words, e.g. "Simplified Bishop: the minimum lies on the
// lower edge of the grid of centres; extend the grid beyond its lower
// edge." `language` 0 Thai, 1 English; empty for any other value.
std::string RunWarningText(const RunWarning& warning, std::uint8_t language);

struct RunResult {
  RunOutcome outcome = RunOutcome::Complete;
  // The error that ended a failed run, as raised; empty when what failed is
  // the writing of its Results rows alone. RunFailureText tells all of it.
  std::string message;
  // How far the run got. trialsDone: the trials the progress counted
  // (run.LoopCount without the closing report of a grid); for a grid every
  // trial is one circle and one Results row. trialsTotal: the trials the run
  // was to make when that is known before it starts (the grid's centres
  // times its circles when the circles are given by number and no pattern
  // walk follows, 1 for a specific circle), else 0. Both 0 for a run the
  // checks refused.
  long trialsDone = 0;
  long trialsTotal = 0;
  // A complete circular grid search (search kind 0): one warning per
  // selected method with a factor and per edge of the grid of centres its
  // minimum centre lies on (a corner: two warnings, one per edge), or,
  // after the pattern walk, lies on or beyond; by method, then in the order
  // Lower, Upper, Left, Right. A grid with no extent in one direction (no
  // divisions there, or two corners that coincide) warns about no edge
  // across that direction. Empty for every other run.
  std::vector<RunWarning> warnings = {};
  // Results rows of the run that the store refused to take, with the
  // store's error: they are missing from the Results table, so the run is
  // Failed, however far its search went (a complete or stopped search
  // included). The rows written before the failure stay. 0 and empty when
  // every row was written.
  long resultsRowsLost = 0;
  std::string resultsWriteError = {};
};

// What made a failed run fail, for the user, in `language` (0 Thai, 1
// English): its error, then, when Results rows were lost, how many and why,
// e.g. "... 812 Results rows of this run could not be written, so the Results
// table lacks them: disk I/O error". Empty for a run that did not fail.
std::string RunFailureText(const RunResult& result, std::uint8_t language);

struct RunOptions {
  // Where the moving-centre sweep writes its listing.
  std::filesystem::path movingCentreFile;  // empty: moving_center.txt in the temporary folder
  // The threads the grid, automatic and irregular searches use, the calling
  // thread included; 0 or less: one per CPU the process may use (UsableCpuCount).
  // The results (minima, Results rows, progress, what the platform services
  // are told and in which order) are the same for any number; the platform
  // services are called from the calling thread only.
  int threads = 1;
  // The caller has just collected and checked this project itself
  // (CollectAndCheckRun, with nothing changed since): the run starts its
  // search without collecting again, so the collection's messages are not
  // shown twice.
  bool alreadyChecked = false;
};

// The warnings of RunResult::warnings for the minima of `run` and the grid
// of centres of `model` as they stand; the grid search places its nodes as
// corner 1 + f x (corner 3 - corner 2) / Division 2-3 + j x (corner 2 -
// corner 1) / Division 1-2, and a centre counts as on an edge within a
// millionth of the grid's size across it.
std::vector<RunWarning> GridEdgeWarnings(const AnalysisModel& model, const RunState& run);

// The number of threads a RunOptions::threads value stands for (at least 1).
int SearchThreads(int requested);

// The CPUs this process may run on (at least 1): those of its affinity mask
// (taskset, a batch scheduler's binding), and no more than
// SLURM_CPUS_PER_TASK when that holds a positive number, since a Slurm task
// given fewer CPUs than the node has may still see them all in its mask.
// Where the mask cannot be read, the machine's cores.
int UsableCpuCount();

// The start of every run: collects the project and checks that it can be
// analysed, showing the collection's messages, messages 6 and 3, and asking
// the axis question of an irregular run. Nothing when the run may go on,
// else the refused run. A front end that runs the search elsewhere asks this
// first, on its own thread.
std::optional<RunResult> CollectAndCheckRun(Project& project, PlatformServices& platform);

// One calculation of the project: collect, check, search by theory and
// search kind, keep the results.
RunResult RunAnalysis(Project& project, PlatformServices& platform, const RunOptions& options = {});

// The Start button: clears the stop request and the Results rows, then runs
// until the stop request is set again (an interactive run sets it at its end).
RunResult StartAnalysis(Project& project, PlatformServices& platform, const RunOptions& options = {});

// The minima of a circular run analysed again (each selected method's with
// its picture box checked), as the end of a grid search does: the last one
// stays in the project with its slices and Failure_Geometry. Nothing for
// another theory or in a batch.
void ReplayMinima(Project& project, PlatformServices& platform);

// Failure_Geometry made from the project's slice set as it stands.
void RecordCriticalSurface(Project& project);

// The critical surfaces a run presents once it has ended (complete or
// stopped), for the drawing and the result windows, in method order.
//  - A circular grid or automatic search: the minimum circle of each method
//    that is selected, has its picture box checked and has a circle, each
//    analysed again; labelled with the method's minimum. The last one stays
//    in the project as a replay of the minima leaves it (model centre and
//    radius, slice set, Failure_Geometry, run.SlidingMassArea), and
//    run.ResultAvailable is set when there is one.
//  - An irregular random search: the best surface of each method that was
//    searched in the run, is selected and has its picture box checked, each
//    analysed again about the centre it was found with; labelled with its
//    own method's factor. The last one stays in the project likewise.
//  - Otherwise (a specific circle, a single irregular surface): the surface
//    analysed last, as it stands (method -1, no new analysis), labelled with
//    the minimum of the last method both selected and checked.
// Empty when no surface was analysed, in a batch, or for another theory.
// The run's counts of surfaces and result codes are left as the run left
// them. A failing analysis ends it quietly with what it gathered.
std::vector<CriticalSurface> PresentCriticalSurfaces(Project& project, PlatformServices& platform);

// The circle of a Results row chosen in the sorted view (centre and radius
// as the row gives them), analysed again and left in the project with its
// Failure_Geometry and sliding-mass area; labelled with its own Simplified
// Bishop factor. Nothing when a replay of a row is refused (not a circular run, a batch, the Bishop picture box
// unchecked or no Bishop minimum), or when the analysis fails. The run's counts of surfaces and result codes stay the
// run's.
std::optional<CriticalSurface> ReplayResultsRow(Project& project, PlatformServices& platform, double radius,
                                                double centerX, double centerY);

// The Results rows ordered by the Simplified Bishop factor (ties in table
// order): the progress window's sorted view. The rows are visited one at a
// time; only the compact entries are kept.
struct SortedResult {
  int num;
  double xCenter, yCenter, radius, fsBishop;
};
std::vector<SortedResult> SortResultsByBishop(const WorkingStore& store);

}  // namespace pelodyn
