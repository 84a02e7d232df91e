// Sections for the engine tests, entered through the working tables and the
// collection step like a user's project.
#pragma once

#include <gtest/gtest.h>

#include "engine/slip_surface.h"
#include "model/fixture.h"

namespace pelodyn::testing {

struct EngineFixture : ProjectFixture {
  SliceSet& slices() { return project.slices; }

  // Collects and checks that the collection passed.
  void collectOk() {
    collect();
    ASSERT_EQ(model().DataError, 0) << (ui.shown.empty() ? std::string() : ui.shown.back().text);
  }
  void analyseCircle(double xc, double yc, double radius) {
    model().TrialRadius = radius;
    AnalyseSlipSurface(model(), xc, yc, slices());
  }
  void analyseAt(double xc, double yc) { AnalyseSlipSurface(model(), xc, yc, slices()); }

  // The homogeneous slope of the hand-checked cases: c = 10, phi = 25,
  // gamma = 18 between y = 0 and the ground (0,20) (20,20) (40,10) (60,10).
  void homogeneousSlope() {
    soil(1, 10.0, 25.0, 18.0);
    soil(2, 0.0, 0.0, 0.0);
    line(1, {{0, 0}, {60, 0}});
    line(2, {{0, 20}, {20, 20}, {40, 10}, {60, 10}});
  }

  void irregularSurface(std::initializer_list<std::pair<double, double>> points) {
    options().setItemIndex(Option::RG_Theory, 2);
    int k = 1;
    for (auto [x, y] : points) numberedPoint(Table::NonCircular_Coordinate, k++, x, y);
  }

  // Fredlund & Krahn's 2:1 slope: c = 600, phi = 20, gamma = 120.
  void fredlundKrahnSlope() {
    soil(1, 600.0, 20.0, 120.0);
    soil(2, 0.0, 0.0, 0.0);
    line(1, {{0, 0}, {180, 0}});
    line(2, {{0, 60}, {60, 60}, {140, 20}, {180, 20}});
  }
  // The same paper's piezometric line (case 5), in pcf.
  void fredlundKrahnPiezometricLine() {
    options().setItemIndex(Option::CB_Seepage, 1);
    options().setText(Option::E_Unit_Weight_Water, "62.4");
    numberedPoint(Table::Waterline, 1, 0, 40);
    numberedPoint(Table::Waterline, 2, 140, 20);
    numberedPoint(Table::Waterline, 3, 180, 20);
  }
};

}  // namespace pelodyn::testing
