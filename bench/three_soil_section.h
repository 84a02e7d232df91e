// The section the benchmarks share: three soils under an air layer, four
// boundary lines and a phreatic line, in a project's working tables; and
// their grid of centres.
#pragma once

#include <initializer_list>
#include <utility>

#include "model/project.h"

namespace pelodyn::bench {

// A Mohr-Coulomb soil row, and a boundary line numbered from point 1.
inline void AppendSoil(Project& project, int no, double c, double phi, double gamma) {
  Row r(Table::Soil_Prop);
  r.set(SoilField::LineNo, no).set(SoilField::Cohesion, c).set(SoilField::Phi, phi).set(SoilField::UnitWeight, gamma);
  project.store->append(r);
}

inline void AppendLine(Project& project, int no, std::initializer_list<std::pair<double, double>> points) {
  int k = 1;
  for (auto [x, y] : points) {
    Row r(Table::Geometry);
    r.set(GeometryField::LineNo, no).set(GeometryField::PointNo, k++).set(GeometryField::X, x).set(GeometryField::Y, y);
    project.store->append(r);
  }
}

inline void AppendThreeSoilSection(Project& project) {
  auto soil = [&](int no, double c, double phi, double gamma) { AppendSoil(project, no, c, phi, gamma); };
  soil(1, 30.0, 35.0, 20.0);
  soil(2, 15.0, 28.0, 19.0);
  soil(3, 5.0, 22.0, 18.0);
  soil(4, 0.0, 0.0, 0.0);
  auto line = [&](int no, std::initializer_list<std::pair<double, double>> points) { AppendLine(project, no, points); };
  line(1, {{0, 0}, {100, 0}});
  line(2, {{0, 10}, {100, 12}});
  line(3, {{0, 20}, {45, 18}, {100, 16}});
  line(4, {{0, 30}, {30, 30}, {60, 15}, {100, 15}});
  int k = 1;
  for (auto [x, y] : {std::pair{0.0, 25.0}, {60.0, 14.0}, {100.0, 13.0}}) {
    Row r(Table::Waterline);
    r.set(PointField::PointNo, k++).set(PointField::X, x).set(PointField::Y, y);
    project.store->append(r);
  }
}

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

}  // namespace pelodyn::bench
