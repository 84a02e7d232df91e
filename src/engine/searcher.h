// The searches one by one, and the pieces of a run: for the run driver, the
// presenting of surfaces, the engine's tests and its benchmarks. A front end
// runs a search through RunAnalysis (search.h) instead.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/search.h"

namespace pelodyn {

// A write of buffered Results rows that the store refused: what() is the
// store's error, rows() the rows that were to be written and are not (those
// written before stay in the store).
class ResultsWriteError : public std::runtime_error {
 public:
  ResultsWriteError(const std::string& reason, long rows) : std::runtime_error(reason), m_rows(rows) {}
  long rows() const { return m_rows; }

 private:
  long m_rows;
};

// The searches and the pieces of a run, each on its own.
// They read the model as the last collection left it. With more than one
// thread, SearchGrid analyses its centres, SearchCircleFan its radii and
// SearchIrregularPass the candidates of each point on several threads, and
// merges what they found in the sequential order.
class Searcher {
 public:
  // The searches read and write `model` when one is given (a run hands them
  // its own copy of the collected model, so the project's stays as
  // collected while they move their surface and centre), else the project's.
  Searcher(Project& project, PlatformServices& platform, int threads = 1, AnalysisModel* model = nullptr);
  ~Searcher();
  Searcher(const Searcher&) = delete;
  Searcher& operator=(const Searcher&) = delete;

  // MaxRadius: the distance to the bottom line, MinRadius: to the ground
  // line, both at most the distance to the nearer end of the ground line.
  void FindRadiusRange(double centerX, double centerY);
  // The fan of circles about the model's (CenterX, CenterY) from its
  // TrialRadius down to MinRadius, by the model's circle rule (GridPlan).
  // The searches keep the circle they try to themselves: neither this nor
  // any other search writes a centre, radius or count into the model.
  void SearchCircleFan();
  void SearchGrid();
  void SearchPattern();
  // The irregular search of CurrentMethod on the polyline NonCirX / NonCirY.
  void SearchIrregular(int rounds);
  void SearchIrregularPass();
  // Merges short, nearly collinear segments; true when it removed a point.
  bool SimplifySurface();
  void AutoCenter();
  // The candidates of point i of the polyline (interior: ring and crossings
  // with the boundary lines; ends: slides along the ground).
  void Candidates(int i, std::vector<double>& x, std::vector<double>& y) const;
  bool BelowBottomLine(double x, double y) const;

  void UpdateProgress(bool final);
  void ShowMinima();
  void ComputeSlidingMassArea();
  void SaveIrregularSurface();
  void RecordCriticalSurface();
  // The minimum circle of each selected method with its picture box
  // checked, analysed again (circular theory, not in a batch); the last one
  // analysed, if any.
  struct Circle {
    double centerX = 0.0, centerY = 0.0, radius = 0.0;
  };
  std::optional<Circle> ReplayMinima();
  // The circle ReplayMinima analysed last in this Searcher's life, if any.
  std::optional<Circle> LastReplayed() const;
  // Re-analyses the circle of a Results row (radius, centre).
  void ReplaySortedRow(double radius, double centerX, double centerY);

  // Analyses the current surface about the model's (CenterX, CenterY).
  void Analyse();
  // Analyses the surface about (centerX, centerY): for the circular theory
  // the circle of `radius`, for the irregular one the model's polyline.
  void AnalyseAbout(double centerX, double centerY, double radius);
  // Writes the buffered Results rows to the store. The searches buffer
  // thousands of rows at a time and the run writes the rest at its end, on
  // every path, so the rows of a trial reach the store by the end of the run
  // at the latest. When the store refuses them the rows are dropped and
  // ResultsWriteError says how many; the Searcher itself writes nothing when
  // it ends (it could tell nobody of a failure), so a caller of the searches
  // writes their rows with this.
  void FlushResults();
  // Resets the per-run progress bookkeeping.
  void BeginRun();
  // The trials the progress counted since BeginRun (in a run, run.LoopCount
  // less the closing reports of the grid searches).
  long TrialsCounted() const;

 private:
  struct Impl;
  Impl* m;
};

// The walk of the pattern search from the best centre (bestX, bestY) with
// the value `best`: probes along X and then Y with the steps sX and sY, then
// with a quarter of each, going on in any direction that keeps improving.
// probe(x, y) analyses a centre and returns the value there; the walk ends
// after an unsuccessful probe in -Y with the fine step, or when stop()
// says so.
template <typename Probe, typename Stop>
void PatternWalk(double& best, double& bestX, double& bestY, double sX, double sY, Probe&& probe, Stop&& stop) {
  // A walk that keeps improving forever would never end in a batch, where
  // nobody can press Stop.
  constexpr int kMaxProbes = 100000;
  bool onX = true, improved = false;
  int d = 1;
  double step = sX;
  for (int probes = 0; probes < kMaxProbes && !stop(); ++probes) {
    const double x = onX ? bestX + d * step : bestX;
    const double y = onX ? bestY : bestY + d * step;
    const double F = probe(x, y);
    if (F < best) {
      best = F;
      bestX = x;
      bestY = y;
      improved = true;  // on in the same direction
    } else if (step == sY / 4 && !onX && d == -1) {
      return;
    } else if (improved) {
      improved = false;
      d = 1;
      if (onX) {
        step = (step == sX / 4) ? sY / 4 : sY;
        onX = false;
      } else {
        step = sX / 4;
        onX = true;
      }
    } else if (d == 1) {
      d = -1;
    } else if (onX) {
      onX = false;
      d = 1;
      step = (step == sX / 4) ? sY / 4 : sY;
    } else if (step != sY) {
      return;
    } else {
      onX = true;
      d = 1;
      step = sX / 4;
    }
  }
}

}  // namespace pelodyn
