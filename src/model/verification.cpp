#include "model/verification.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "model/collection.h"
#include "model/numbers.h"
#include "texts/messages.h"

namespace pelodyn {
namespace {

// A value of a soil array, or 0 where a stopped collection left the array
// shorter than the soil count.
double At(const std::vector<double>& values, int k) {
  return (k >= 0 && static_cast<std::size_t>(k) < values.size()) ? values[static_cast<std::size_t>(k)] : 0.0;
}

// The check lines are Thai in both languages.
std::string Check(CoreText text, std::initializer_list<std::string_view> args = {}) {
  return FormatText(CoreTextFor(kLanguageThai, text), args);
}

// The words the check lines use for a field of the soil tables.
CoreText FieldLabel(std::string_view field) {
  if (field == FieldNameOf(SoilField::Cohesion)) return CoreText::CheckLabelCohesion;
  if (field == FieldNameOf(SoilField::Phi)) return CoreText::CheckLabelPhi;
  if (field == FieldNameOf(AnisoField::Cv)) return CoreText::CheckLabelCv;
  if (field == FieldNameOf(AnisoField::Ch)) return CoreText::CheckLabelCh;
  if (field == FieldNameOf(AnisoField::PhiV)) return CoreText::CheckLabelPhiV;
  if (field == FieldNameOf(AnisoField::PhiH)) return CoreText::CheckLabelPhiH;
  return CoreText::CheckLabelUnitWeight;
}

// The height of a polyline at x, on the first segment that spans x.
double HeightAt(const std::vector<std::pair<double, double>>& line, double x) {
  for (std::size_t i = 0; i + 1 < line.size(); ++i) {
    const auto [x0, y0] = line[i];
    const auto [x1, y1] = line[i + 1];
    if (x >= x0 && x <= x1) return x1 > x0 ? y0 + (y1 - y0) * (x - x0) / (x1 - x0) : y0;
  }
  return line.back().second;
}

}  // namespace

std::vector<LineAboveGround> LinesAboveGround(const AnalysisModel& m) {
  std::vector<LineAboveGround> out;
  const auto count = static_cast<std::size_t>(std::max(m.LineCount, 0));
  if (count < 2 || m.LinePointCount.size() < count || m.LineX.rows() < count || m.LineY.rows() < count) return out;
  std::vector<std::vector<std::pair<double, double>>> lines(count);
  for (std::size_t k = 0; k < count; ++k) {
    const int points = m.LinePointCount[k];
    if (points < 2 || static_cast<std::size_t>(points) > m.LineX.columns()) return out;
    for (int p = 0; p < points; ++p) lines[k].emplace_back(m.LineX[k][p], m.LineY[k][p]);
  }
  const auto& ground = lines.back();
  // Heights closer than this are the same: the file keeps three decimals.
  constexpr double kTolerance = 1e-6;
  for (std::size_t k = 0; k + 1 < count; ++k) {
    const auto& line = lines[k];
    const double from = std::max(line.front().first, ground.front().first);
    const double to = std::min(line.back().first, ground.back().first);
    if (!(to > from)) continue;
    // Between two neighbouring corners of either line the height difference
    // is linear: it is above zero on one piece of that stretch at most.
    std::vector<double> xs{from, to};
    for (const auto* polyline : {&line, &ground}) {
      for (const auto& [x, y] : *polyline) {
        if (x > from && x < to) xs.push_back(x);
      }
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    auto rise = [&](double x) { return HeightAt(line, x) - HeightAt(ground, x); };
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
      const double x0 = xs[i], x1 = xs[i + 1];
      const double d0 = rise(x0), d1 = rise(x1);
      if (d0 <= kTolerance && d1 <= kTolerance) continue;
      const double a = d0 > kTolerance ? x0 : x0 + (x1 - x0) * d0 / (d0 - d1);
      const double b = d1 > kTolerance ? x1 : x0 + (x1 - x0) * d0 / (d0 - d1);
      if (!(b - a > kTolerance)) continue;
      const int number = static_cast<int>(k) + 1;
      if (!out.empty() && out.back().line == number && a - out.back().xTo <= kTolerance) {
        out.back().xTo = b;
      } else {
        out.push_back({number, a, b});
      }
    }
  }
  return out;
}

std::vector<std::string> VerifyData(Project& project, PlatformServices& platform) {
  std::vector<std::string> memo;
  CollectAnalysisData(project, platform);
  const AnalysisModel& m = project.model;

  bool soilProblem = false;
  if (m.SoilCount < 1) {
    memo.push_back(Check(CoreText::CheckNoSoils));
    soilProblem = true;
  } else {
    if (m.LineCount != m.SoilCount) {
      memo.push_back(Check(CoreText::CheckLinesNotSoils));
      soilProblem = true;
    }
    for (int k = 1; k <= m.SoilCount - 1; ++k) {
      if (At(m.SoilUnitWeight, k - 1) == 0.0) {
        memo.push_back(
            Check(CoreText::CheckSoilValue, {Check(CoreText::CheckLabelUnitWeight), std::to_string(k), "0"}));
        soilProblem = true;
      }
    }
    // Values the collection refuses: a list here would otherwise end with
    // the soils' OK line.
    for (const SoilValueProblem& problem : SoilValueProblems(m)) {
      memo.push_back(
          Check(CoreText::CheckSoilValue, {Check(FieldLabel(problem.field)), std::to_string(problem.soil),
                                           FormatShortest(problem.value) + (problem.negative ? " < 0" : " >= 90")}));
      soilProblem = true;
    }
    // The last soil is the air above the ground: nothing in it may carry
    // strength or weight. The anisotropic model has four strength values.
    const int n = m.SoilCount;
    const std::string no = std::to_string(n);
    auto nonZero = [&](const std::vector<double>& values, CoreText label) {
      if (At(values, n - 1) != 0.0) {
        memo.push_back(Check(CoreText::CheckSoilNotZero, {Check(label), no}));
        soilProblem = true;
      }
    };
    if (m.StrengthModel == 1) {
      nonZero(m.SoilCv, CoreText::CheckLabelCv);
      nonZero(m.SoilCh, CoreText::CheckLabelCh);
      nonZero(m.SoilPhiV, CoreText::CheckLabelPhiV);
      nonZero(m.SoilPhiH, CoreText::CheckLabelPhiH);
    } else {
      nonZero(m.SoilCohesion, CoreText::CheckLabelCohesion);
      nonZero(m.SoilPhi, CoreText::CheckLabelPhi);
    }
    nonZero(m.SoilUnitWeight, CoreText::CheckLabelUnitWeight);
  }
  if (!soilProblem) memo.emplace_back("Soil Properties --------------------- OK");

  bool geometryProblem = false;
  if (m.LineCount < 1) {
    memo.push_back(Check(CoreText::CheckNoGeometry));
    geometryProblem = true;
  }
  if (m.LineCount != m.SoilCount) {
    memo.push_back(Check(CoreText::CheckGeometryNotSoils));
    geometryProblem = true;
  }
  if (!geometryProblem) memo.emplace_back("Geometry --------------------- OK");
  const auto x = [](double value) { return FormatShortest(RoundHalfEven(value, 2)); };
  for (const LineAboveGround& stretch : LinesAboveGround(m)) {
    memo.push_back(
        FormatText(CoreTextFor(m.Language, CoreText::LineAboveGround),
                   {std::to_string(stretch.line), std::to_string(m.LineCount), x(stretch.xFrom), x(stretch.xTo)}));
  }
  return memo;
}

void EmptyWorkingTables(WorkingStore& store) {
  static const Table kTables[] = {
      Table::Soil_Prop,
      Table::Soil_Prop_Bak,
      Table::Aniso,
      Table::Aniso_advance,
      Table::Geometry,
      Table::Bottom_Line,
      Table::Waterline,
      Table::Ru_variable,
      Table::Tcrack,
      Table::Anchor,
      Table::Lineload,
      Table::Stripload,
      Table::NonCircular_Coordinate,
      Table::Failure_Geometry,
      Table::Results,
      Table::NonCirSlip_Janbu,
      Table::NonCirSlip_Bishop,
      Table::NonCirSlip_Spencer,
  };
  StoreTransaction transaction(store);
  for (Table t : kTables) {
    if (store.rowCount(t) > 0) store.empty(t);
  }
  transaction.commit();
}

void NewProject(Project& project, const std::function<void(Project&)>& readSettings) {
  EmptyWorkingTables(*project.store);

  // Every option goes back to its default, not only those the data-entry
  // form shows: a project read after another must not inherit its values.
  project.options.resetAll();

  struct LoadingGuard {
    Project& p;
    explicit LoadingGuard(Project& project) : p(project) { p.ProjectLoading = 1; }
    ~LoadingGuard() { p.ProjectLoading = 0; }
  } loading(project);

  AnalysisModel& m = project.model;
  // Circular theory with Janbu, Bishop and Spencer, on the model and on the
  // controls that show them.
  m.AnalysisTheory = 1;
  project.options.setItemIndex(Option::RG_Theory, 1);
  m.UseOrdinary = 0;
  m.UseSimplifiedJanbu = 1;
  m.UseSimplifiedBishop = 1;
  m.UseSpencer = 1;
  project.options.setChecked(Option::CB_Ordinary, false);
  project.options.setChecked(Option::CB_Simp_Janbu, true);
  project.options.setChecked(Option::CB_Simp_Bishop, true);
  project.options.setChecked(Option::CB_Spencer, true);

  project.ProjectFilePath.clear();
  m.StrengthModel = 0;

  if (readSettings) readSettings(project);

  DrawingSettings& d = project.drawing;
  d.WorkAreaXmax = 100.0;
  d.WorkAreaYmax = 63.0;
  d.WorkAreaXmin = 0.0;
  d.WorkAreaYmin = 0.0;
  d.ScaleX = 1.0;
  d.ScaleY = 1.0;

  m.DataError = 0;
  m.BottomLineChoice = 0;
  // No surface of the old project is left to draw.
  project.slices.SliceCount = 0;
  project.slices.BoundaryX.clear();
}

}  // namespace pelodyn
