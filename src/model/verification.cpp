#include "model/verification.h"

#include <string>

#include "model/collection.h"
#include "model/numbers.h"

namespace pelodyn {
namespace {

// A value of a soil array, or 0 where a stopped collection left the array
// shorter than the soil count.
double At(const std::vector<double>& values, int k) {
  return (k >= 0 && static_cast<std::size_t>(k) < values.size()) ? values[static_cast<std::size_t>(k)] : 0.0;
}

// The words the check lines use for a field of the soil tables.
std::string_view FieldLabel(std::string_view field) {
  if (field == "Cohesion") return "ค่า Cohesion";
  if (field == "Phi") return "ค่า Friction Angle";
  if (field == "C-v") return "ค่า Cohesion (C-v)";
  if (field == "C-h") return "ค่า Cohesion (C-h)";
  if (field == "Phi-v") return "ค่า Friction Angle (Phi-v)";
  if (field == "Phi-h") return "ค่า Friction Angle (Phi-h)";
  return "ค่า Unit Weight";
}

}  // namespace

std::vector<std::string> VerifyData(Project& project, PlatformServices& platform) {
  std::vector<std::string> memo;
  CollectAnalysisData(project, platform);
  const AnalysisModel& m = project.model;

  bool soilProblem = false;
  if (m.SoilCount < 1) {
    memo.emplace_back("ไม่มีข้อมูล Soil Properties");
    soilProblem = true;
  } else {
    if (m.LineCount != m.SoilCount) {
      memo.emplace_back("จำนวนชั้นดินไม่เท่ากับจำนวนคุณสมบัติดิน");
      soilProblem = true;
    }
    for (int k = 1; k <= m.SoilCount - 1; ++k) {
      if (At(m.SoilUnitWeight, k - 1) == 0.0) {
        memo.push_back("ค่า Unit Weight ลำดับที่ " + std::to_string(k) + " = 0");
        soilProblem = true;
      }
    }
    // Values the collection refuses: a list here would otherwise end with
    // the soils' OK line.
    for (const SoilValueProblem& problem : SoilValueProblems(m)) {
      memo.push_back(std::string(FieldLabel(problem.field)) + " ลำดับที่ " + std::to_string(problem.soil) + " = " +
                     FormatShortest(problem.value) + (problem.negative ? " < 0" : " >= 90"));
      soilProblem = true;
    }
    // The last soil is the air above the ground: nothing in it may carry
    // strength or weight. The anisotropic model has four strength values.
    const int n = m.SoilCount;
    const std::string no = std::to_string(n);
    auto nonZero = [&](const std::vector<double>& values, const char* prefix) {
      if (At(values, n - 1) != 0.0) {
        memo.push_back(prefix + no + " <> 0");
        soilProblem = true;
      }
    };
    if (m.StrengthModel == 1) {
      nonZero(m.SoilCv, "ค่า Cohesion (C-v) ลำดับที่ ");
      nonZero(m.SoilCh, "ค่า Cohesion (C-h) ลำดับที่ ");
      nonZero(m.SoilPhiV, "ค่า Friction Angle (Phi-v) ลำดับที่ ");
      nonZero(m.SoilPhiH, "ค่า Friction Angle (Phi-h) ลำดับที่ ");
    } else {
      nonZero(m.SoilCohesion, "ค่า Cohesion ลำดับที่ ");
      nonZero(m.SoilPhi, "ค่า Friction Angle ลำดับที่ ");
    }
    nonZero(m.SoilUnitWeight, "ค่า Unit Weight ลำดับที่ ");
  }
  if (!soilProblem) memo.emplace_back("Soil Properties --------------------- OK");

  bool geometryProblem = false;
  if (m.LineCount < 1) {
    memo.emplace_back("ไม่มีข้อมูล Geometry");
    geometryProblem = true;
  }
  if (m.LineCount != m.SoilCount) {
    memo.emplace_back("จำนวนชั้นดินใน Geometry ไม่เท่ากับจำนวนชั้นดินใน Soil Properties");
    geometryProblem = true;
  }
  if (!geometryProblem) memo.emplace_back("Geometry --------------------- OK");
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
  project.options.setItemIndex("RG_Theory", 1);
  m.UseOrdinary = 0;
  m.UseSimplifiedJanbu = 1;
  m.UseSimplifiedBishop = 1;
  m.UseSpencer = 1;
  project.options.setChecked("CB_Ordinary", false);
  project.options.setChecked("CB_Simp_Janbu", true);
  project.options.setChecked("CB_Simp_Bishop", true);
  project.options.setChecked("CB_Spencer", true);

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
