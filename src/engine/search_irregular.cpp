// The search of an irregular (non-circular) surface: the candidates of each
// point, the simplification of the polyline, the centre that follows the
// surface, and the passes and rounds that move the points while the factor
// falls; the candidates of a point are analysed in parallel when there are
// threads for it.

#include "engine/searcher.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "engine/search_internal.h"

namespace pelodyn {

using namespace search_internal;

namespace {

// Nearly collinear: the slopes of two segments differ by at most this.
constexpr double kCollinearSlopes = 0.176;

// The four factors of the surface analysed last.
std::array<double, 4> FactorsOf(const SliceSet& s) {
  return {Fs(s, Ordinary), Fs(s, Janbu), Fs(s, Bishop), Fs(s, Spencer)};
}

// A better surface: its four factors become the methods' minima, and the
// current method keeps the centre, entry and exit it was found with.
void KeepMinimum(RunState& run, std::size_t current, const std::array<double, 4>& fs, double centerX, double centerY,
                 double entryX, double entryY, double exitX, double exitY) {
  for (std::size_t method = 0; method < fs.size(); ++method) run.Minimum[method].Fs = fs[method];
  MethodMinimum& min = run.Minimum[current];
  min.CenterX = centerX;
  min.CenterY = centerY;
  min.EntryX = entryX;
  min.EntryY = entryY;
  min.ExitX = exitX;
  min.ExitY = exitY;
}

}  // namespace

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
        analyseTrial(worker, centerX, centerY, wm.TrialRadius, trials[static_cast<std::size_t>(item)], warn, false);
        return TrialTeam::Reached::All;
      },
      [&](int item, TrialTeam::Reached reached) {
        if (reached != TrialTeam::Reached::All) return false;
        const auto c = static_cast<std::size_t>(item);
        const TrialOutcome& out = trials[c];
        countTrial(out);
        if (out.fs[current] < run.Minimum[current].Fs) {
          KeepMinimum(run, current, out.fs, md.CenterX, md.CenterY, out.entryX, out.entryY, out.exitX, out.exitY);
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
  // Until a candidate does better, the surface the pass starts from, about
  // this centre, is the method's best: a replay of a stopped search analyses
  // the best surface about the centre kept with it.
  KeepMinimum(run, current, FactorsOf(m->s), md.CenterX, md.CenterY, m->s.EntryX, m->s.EntryY, m->s.ExitX, m->s.ExitY);
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
          KeepMinimum(run, current, FactorsOf(m->s), md.CenterX, md.CenterY, m->s.EntryX, m->s.EntryY, m->s.ExitX,
                      m->s.ExitY);
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

}  // namespace pelodyn
