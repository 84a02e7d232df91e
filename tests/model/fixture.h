// A small project builder for the model tests: a private in-memory store and
// short helpers to fill its tables.
#pragma once

#include <initializer_list>
#include <utility>

#include "model/collection.h"
#include "model/project.h"
#include "model/recording_platform.h"
#include "persistence/sqlite_store.h"

namespace pelodyn::testing {

// A rectangular grid of centres from (xLeft, yBottom) to (xRight, yTop) with
// `divisions` cells each way, entered as the option texts a user types.
inline void SetCentreGrid(OptionValues& o, const char* xLeft, const char* yBottom, const char* xRight, const char* yTop,
                          const char* divisions) {
  for (auto [box, text] : {std::pair{Option::E_X_LeftDown, xLeft},
                           {Option::E_Y_LeftDown, yBottom},
                           {Option::E_X_RightDown, xRight},
                           {Option::E_Y_RightDown, yBottom},
                           {Option::E_X_RightTop, xRight},
                           {Option::E_Y_RightTop, yTop}}) {
    o.setText(box, text);
  }
  o.setText(Option::E_12_Division, divisions);
  o.setText(Option::E_23_Division, divisions);
}

struct ProjectFixture {
  Project project{SqliteWorkingStore::OpenInMemory()};
  RecordingPlatform ui;

  WorkingStore& store() { return *project.store; }
  AnalysisModel& model() { return project.model; }
  OptionValues& options() { return project.options; }

  void soil(int no, double c, double phi, double gamma) {
    Row r(Table::Soil_Prop);
    r.set(SoilCommonField::LineNo, no)
        .set(SoilField::Cohesion, c)
        .set(SoilField::Phi, phi)
        .set(SoilCommonField::UnitWeight, gamma);
    store().append(r);
  }
  void anisoSoil(int no, double cv, double ch, double phiV, double phiH, double gamma) {
    Row r(Table::Aniso);
    r.set(SoilCommonField::LineNo, no)
        .set(AnisoField::Cv, cv)
        .set(AnisoField::Ch, ch)
        .set(AnisoField::PhiV, phiV)
        .set(AnisoField::PhiH, phiH)
        .set(SoilCommonField::UnitWeight, gamma);
    store().append(r);
  }
  void point(int line, int no, double x, double y) {
    Row r(Table::Geometry);
    r.set(GeometryField::LineNo, line)
        .set(GeometryField::PointNo, no)
        .set(GeometryField::X, x)
        .set(GeometryField::Y, y);
    store().append(r);
  }
  void line(int no, std::initializer_list<std::pair<double, double>> points) {
    int k = 1;
    for (auto [x, y] : points) point(no, k++, x, y);
  }
  void numberedPoint(Table table, int no, double x, double y) {
    Row r(table);
    r.set(GeometryField::PointNo, no).set(GeometryField::X, x).set(GeometryField::Y, y);
    store().append(r);
  }

  // Two soils and the air: a 1:2 slope from (20, 10) to (40, 20) over a
  // firm layer whose top is at y = 5.
  void twoLayerSlope() {
    soil(1, 20.0, 30.0, 19.0);
    soil(2, 5.0, 25.0, 18.0);
    soil(3, 0.0, 0.0, 0.0);
    line(1, {{0, 0}, {60, 0}});
    line(2, {{0, 5}, {60, 5}});
    line(3, {{0, 10}, {20, 10}, {40, 20}, {60, 20}});
  }

  void collect() { CollectAnalysisData(project, ui); }
};

}  // namespace pelodyn::testing
