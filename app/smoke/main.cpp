// A headless smoke run of the core: a small two-layer slope is entered into a
// private working store, collected into the analysis model and verified.
#include <cstdio>
#include <exception>
#include <iostream>

#include "model/collection.h"
#include "model/verification.h"
#include "persistence/sqlite_store.h"

using namespace pelodyn;

namespace {

class ConsolePlatform final : public PlatformServices {
 public:
  void showMessage(MessageKind, std::string_view caption, std::string_view text) override {
    std::cerr << (caption.empty() ? "Pelodyn" : caption) << ": " << text << '\n';
  }
  bool askOkCancel(std::string_view, std::string_view) override { return true; }
  void reportProgress(const ProgressReport&) override {}
  void processPendingEvents() override {}
};

}  // namespace

int main() {
  try {
    Project project(SqliteWorkingStore::OpenInMemory());
    NewProject(project);
    project.options.setText(Option::E_Project_Name, "Smoke slope");
    auto soil = [&](int no, double c, double phi, double gamma, const char* name) {
      Row r(Table::Soil_Prop);
      r.set(SoilCommonField::LineNo, no)
          .set(SoilField::Cohesion, c)
          .set(SoilField::Phi, phi)
          .set(SoilCommonField::UnitWeight, gamma)
          .set(SoilCommonField::Description, name);
      AppendSoilRow(project, r);
    };
    soil(1, 10.0, 20.0, 18.0, "Clay");
    soil(2, 0.0, 0.0, 0.0, "Air");
    const double ground[][2] = {{0, 10}, {20, 10}, {40, 20}, {60, 20}};
    const double base[][2] = {{0, 0}, {60, 0}};
    auto line = [&](int no, const double(*pts)[2], int n) {
      for (int i = 0; i < n; ++i) {
        Row r(Table::Geometry);
        r.set(GeometryField::LineNo, no)
            .set(GeometryField::PointNo, i + 1)
            .set(GeometryField::X, pts[i][0])
            .set(GeometryField::Y, pts[i][1]);
        project.store->append(r);
      }
    };
    line(1, base, 2);
    line(2, ground, 4);
    ConsolePlatform platform;
    for (const std::string& memoLine : VerifyData(project, platform)) std::cout << memoLine << '\n';
    const AnalysisModel& m = project.model;
    std::printf("%s: %d soils, %d boundary lines, ground slope %.3f, DataError %d\n", m.ProjectName.c_str(),
                m.SoilCount, m.LineCount, m.LineSlope[1][1], m.DataError);
    return m.DataError == 0 ? 0 : 1;
  } catch (const std::exception& e) {
    std::cerr << e.what() << '\n';
    return 1;
  }
}
