// The root-cohesion calculation on cases worked out by hand, its refusals,
// and the Export and Restore of the profile into the soil rows.
#include <gtest/gtest.h>

#include "vegetation/vegetation.h"

namespace pelodyn {
namespace {

struct PlantSpec {
  double x, y;
  std::vector<double> radius;
};

// Cells of 2 x 2 with 2 x 2 minor cells (minor area 1), soil cohesion 2,
// root cohesion 10, window 1 x 1, unless a case says otherwise.
struct Case {
  const char* name;
  double minX, minY, maxX, maxY;
  int columns, rows;
  std::vector<PlantSpec> plants;
  std::vector<std::string> report;
};

RootData Roots(const std::vector<PlantSpec>& plants) {
  RootData roots;
  for (const PlantSpec& p : plants) {
    roots.layerCount = std::max(roots.layerCount, static_cast<int>(p.radius.size()));
    roots.plants.push_back({p.x, p.y, 10.0, p.radius});
  }
  for (Plant& p : roots.plants) p.radius.resize(static_cast<std::size_t>(roots.layerCount), 0.0);
  return roots;
}

VegetationGrid Grid(double minX, double minY, double maxX, double maxY, int columns, int rows) {
  VegetationGrid g;
  g.soilCohesion = 2.0;
  g.minX = minX;
  g.minY = minY;
  g.maxX = maxX;
  g.maxY = maxY;
  g.columns = columns;
  g.rows = rows;
  g.minorColumns = g.minorRows = 2;
  g.windowColumns = g.windowRows = 1;
  return g;
}

std::vector<std::string> Head(const char* row, const char* column) {
  return {std::string("Min. cohesion row is ") + row, std::string("Min. cohesion column is ") + column, ""};
}

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(VegetationEffect, HandComputedCases) {
  const Case cases[] = {
      // Every minor centre lies within 2 of (1, 1): the cell is all root.
      {"covered", 0, 0, 2, 2, 1, 1, {{1, 1, {2}}}, Join(Head("1", "1"), {"C[1,1] = 10"})},
      // Radius 1 at the corner covers the minor cell (0.5, 0.5) only:
      // (3 x 1 x 2 + 1 x 1 x 10) / 4 = 4; radius 0 covers nothing.
      {"corner plant, two layers",
       0,
       0,
       2,
       2,
       1,
       1,
       {{0, 0, {1, 0}}},
       Join(Head("1", "1"), {"C[1,1] = 4", "C[2,1] = 2"})},
      // Column 2 (x 2 to 4) has the minor centres (2.5, 0.5) and (2.5, 1.5)
      // within 2 of (1, 1): (2 x 2 + 2 x 10) / 4 = 6 < 10.
      {"two columns", 0, 0, 4, 2, 2, 1, {{1, 1, {2}}}, Join(Head("1", "2"), {"C[1,1] = 6"})},
      // The same area away from the origin: its cells start at its corner.
      {"two columns shifted", 10, 5, 14, 7, 2, 1, {{11, 6, {2}}}, Join(Head("1", "2"), {"C[1,1] = 6"})},
      // No plant reaches the cell: the soil's own cohesion.
      {"no root reaches", 0, 0, 2, 2, 1, 1, {{10, 10, {3}}}, Join(Head("1", "1"), {"C[1,1] = 2"})},
      // A minor cell inside two circles counts for each: both cover
      // (0.5, 0.5), the second also (1.5, 0.5), so the roots give
      // (1 + 2) x 10 = 30 and two minor cells stay free: (2 x 2 + 30) / 4.
      {"overlapping plants", 0, 0, 2, 2, 1, 1, {{0, 0, {1}}, {1, 0, {1}}}, Join(Head("1", "1"), {"C[1,1] = 8.5"})},
      // Two rows of equal sums: the first window is kept.
      {"tie keeps the first window", 0, 0, 2, 4, 1, 2, {}, Join(Head("1", "1"), {"C[1,1] = 2", "C[1,2] = 2"})},
  };
  for (const Case& c : cases) {
    std::vector<PlantSpec> plants = c.plants;
    RootData roots = Roots(plants);
    if (roots.layerCount == 0) roots.layerCount = 1;  // a layer with no plant in it
    const VegetationResult r =
        GenerateVegetationEffect(roots, Grid(c.minX, c.minY, c.maxX, c.maxY, c.columns, c.rows), 1);
    EXPECT_EQ(r.report, c.report) << c.name;
  }
}

TEST(VegetationEffect, ProfileIsTheMeanOverTheWeakestColumnsForEveryRow) {
  // Three columns, two rows of cells 2 x 2, window 2 x 1, a plant at (1, 1)
  // of radius 2. Row 1: 10, 6 (minor centres x = 2.5 covered), 2. Row 2: 6
  // (minor centres y = 2.5 covered), 2, 2. The window sums are 16, 8 / 8, 4:
  // the weakest starts at row 2, column 2, and every row is profiled over
  // columns 2 and 3.
  VegetationGrid g = Grid(0, 0, 6, 4, 3, 2);
  g.windowColumns = 2;
  RootData roots = Roots({{1, 1, {2}}});
  const VegetationResult r = GenerateVegetationEffect(roots, g, 1);
  EXPECT_EQ(r.windowSum, (std::vector<double>{16.0, 8.0, 8.0, 4.0}));
  EXPECT_EQ(r.minRow, 1);
  EXPECT_EQ(r.minColumn, 1);
  EXPECT_DOUBLE_EQ(r.cell(0, 1, 0), 6.0);
  EXPECT_DOUBLE_EQ(r.profileAt(0, 0), (6.0 + 2.0) / 2);
  EXPECT_DOUBLE_EQ(r.profileAt(0, 1), 2.0);
  EXPECT_EQ(r.report[0], "Min. cohesion row is 2");
  EXPECT_EQ(r.report[1], "Min. cohesion column is 2");
}

TEST(VegetationEffect, RoundsTheReportToFourDecimalsHalvesToEven) {
  // One minor cell of 3 x 3 covered: (8 x 2 + 1 x 10) / 9 = 2.888...
  VegetationGrid g = Grid(0, 0, 3, 3, 1, 1);
  g.minorColumns = g.minorRows = 3;
  const VegetationResult r = GenerateVegetationEffect(Roots({{0, 0, {1}}}), g, 1);
  EXPECT_EQ(r.report.back(), "C[1,1] = 2.8889");
}

TEST(VegetationEffect, RefusedInputs) {
  const RootData roots = Roots({{1, 1, {2}}});
  struct Refusal {
    const char* name;
    VegetationGrid grid;
    RootData roots;
    const char* message;
  };
  VegetationGrid zero = Grid(0, 0, 2, 2, 0, 1);
  VegetationGrid minor = Grid(0, 0, 2, 2, 1, 1);
  minor.minorRows = -1;
  VegetationGrid window = Grid(0, 0, 2, 2, 1, 1);
  window.windowRows = 2;
  VegetationGrid flat = Grid(0, 2, 2, 2, 1, 1);
  VegetationGrid huge = Grid(0, 0, 2, 2, 100000, 100000);
  VegetationGrid hugeMinor = Grid(0, 0, 2, 2, 1, 1);
  hugeMinor.minorColumns = hugeMinor.minorRows = 1000000;
  const Refusal refusals[] = {
      {"no columns", zero, roots,
       "The divisions, the minor grid numbers and the effective width and length must be 1 or more."},
      {"negative minor count", minor, roots,
       "The divisions, the minor grid numbers and the effective width and length must be 1 or more."},
      {"window larger than the grid", window, roots,
       "The effective width and length (1 x 2) must not exceed the divisions (1 x 1)."},
      {"empty area", flat, roots, "Max (X,Y) must be greater than Min (X,Y)."},
      {"no layer", Grid(0, 0, 2, 2, 1, 1), RootData{},
       "There is no root layer: the table Root radius per layer is empty."},
      {"gigabytes of cells", huge, roots,
       "These divisions need too much memory: at most 10000000 cells over all layers, and as many minor cells "
       "per cell."},
      {"gigabytes of minor cells", hugeMinor, roots,
       "These divisions need too much memory: at most 10000000 cells over all layers, and as many minor cells "
       "per cell."},
  };
  for (const Refusal& c : refusals) {
    try {
      GenerateVegetationEffect(c.roots, c.grid, 1);
      ADD_FAILURE() << c.name << " was not refused";
    } catch (const VegetationError& e) {
      EXPECT_EQ(std::string(e.what()), c.message) << c.name;
    }
  }
}

Row RootNo(int no, double cohesion) {
  Row r(Table::Root_No);
  r.set(RootField::RootNo, no).set(RootField::Description, "grass").set(RootField::Cohesion, cohesion);
  return r;
}
Row RootLayer(int no, int layer, double radius) {
  Row r(Table::Root_Layer);
  r.set(RootLayerField::RootNo, no).set(RootLayerField::LayerNo, layer).set(RootLayerField::Radius, radius);
  return r;
}
Row Position(int no, int type, double x, double y) {
  Row r(Table::Root_Position);
  r.set(RootPositionField::No, no)
      .set(RootPositionField::RootType, type)
      .set(RootPositionField::X, x)
      .set(RootPositionField::Y, y);
  return r;
}

TEST(VegetationRoots, GatheredFromTheTablesTheLastRowWinning) {
  const RootData roots =
      GatherRoots({RootNo(1, 5), RootNo(2, 8), RootNo(1, 7)},
                  {RootLayer(1, 1, 0.5), RootLayer(1, 3, 0.25), RootLayer(2, 1, 1), RootLayer(1, 1, 0.75)},
                  {Position(1, 1, 3, 4), Position(2, 2, 5, 6)}, 1);
  EXPECT_EQ(roots.layerCount, 3);
  ASSERT_EQ(roots.plants.size(), 2u);
  EXPECT_EQ(roots.plants[0].cohesion, 7.0);
  EXPECT_EQ(roots.plants[0].radius, (std::vector<double>{0.75, 0.0, 0.25}));
  EXPECT_EQ(roots.plants[1].radius, (std::vector<double>{1.0, 0.0, 0.0}));
  EXPECT_EQ(roots.plants[1].x, 5.0);
  EXPECT_EQ(roots.plants[1].y, 6.0);
}

TEST(VegetationRoots, Refusals) {
  const auto message = [](const std::vector<Row>& no, const std::vector<Row>& layer, const std::vector<Row>& pos) {
    try {
      GatherRoots(no, layer, pos, 1);
    } catch (const VegetationError& e) {
      return std::string(e.what());
    }
    return std::string("accepted");
  };
  EXPECT_EQ(message({RootNo(1, 5)}, {RootLayer(1, 1, 1)}, {Position(1, 1, 0, 0), Position(2, 3, 0, 0)}),
            "Plants, row 2: root type 3 has no row in Root types.");
  EXPECT_EQ(message({RootNo(1, 5)}, {RootLayer(1, 1, 1), RootLayer(1, 0, 1)}, {}),
            "Root radius per layer, row 2: the layer number must be 1 or more.");
  EXPECT_EQ(message({RootNo(1, 5)}, {RootLayer(1, 2000000000, 1)}, {Position(1, 1, 0, 0)}),
            "2000000000 layers for 1 plants need too much memory.");
}

Row Soil(int no, double c, double phi, double gamma, const char* description) {
  Row r(Table::Soil_Prop);
  r.set(SoilCommonField::LineNo, no)
      .set(SoilField::Cohesion, c)
      .set(SoilField::Phi, phi)
      .set(SoilCommonField::UnitWeight, gamma);
  r.set(SoilCommonField::Description, description).set(SoilCommonField::Color, 255);
  return r;
}

std::vector<double> Cohesions(const std::vector<Row>& rows) {
  std::vector<double> out;
  for (const Row& r : rows) out.push_back(r.real(SoilField::Cohesion));
  return out;
}

// Two layers, two rows of cells 2 x 2, a plant at (1, 1) of radius 2 in
// layer 1: C[1,1] = 10, C[1,2] = 6, C[2,1] = 2, C[2,2] = 2.
VegetationResult TwoByTwo() {
  return GenerateVegetationEffect(Roots({{1, 1, {2, 0}}}), Grid(0, 0, 2, 4, 1, 2), 1);
}

TEST(VegetationExport, WritesTheProfileIntoRowsNamedLayerCommaRow) {
  const std::vector<Row> soils = {Soil(1, 20, 30, 18, "1,1"), Soil(2, 21, 30, 18, "Clay"),
                                  Soil(3, 22, 30, 18, " 2 , 2"), Soil(4, 0, 0, 0, "1,1"), Soil(5, 23, 30, 18, "1,2")};
  const ExportPlan plan = PlanExport(TwoByTwo(), soils, {}, {}, 1);
  // The air layer and a description without a comma keep their cohesion.
  EXPECT_EQ(Cohesions(plan.soils), (std::vector<double>{10, 21, 2, 0, 6}));
  // The backup holds every field of every row, in rows of its own table.
  ASSERT_EQ(plan.backup.size(), soils.size());
  for (std::size_t k = 0; k < soils.size(); ++k) {
    EXPECT_EQ(plan.backup[k].table(), Table::Soil_Prop_Bak);
    for (std::size_t f = 0; f < 6; ++f) EXPECT_EQ(plan.backup[k].value(f), soils[k].value(f)) << k << " " << f;
  }
  EXPECT_EQ(plan.written, 3);
  EXPECT_EQ(plan.exported.size(), 3u);
}

TEST(VegetationExport, ABadRowRefusesTheWholeExport) {
  struct Bad {
    const char* description;
    const char* message;
  };
  const Bad cases[] = {
      {"1,x", "Soil Properties, row 2 (\"1,x\"): 'x' is not a valid integer value"},
      {"a,1", "Soil Properties, row 2 (\"a,1\"): 'a' is not a valid integer value"},
      {"3,1", "Soil Properties, row 2 (\"3,1\"): layer 3 is not between 1 and 2."},
      {"0,1", "Soil Properties, row 2 (\"0,1\"): layer 0 is not between 1 and 2."},
      {"1,3", "Soil Properties, row 2 (\"1,3\"): row 3 is not between 1 and 2."},
      {"1,", "Soil Properties, row 2 (\"1,\"): '' is not a valid integer value"},
  };
  for (const Bad& c : cases) {
    try {
      PlanExport(TwoByTwo(), {Soil(1, 20, 30, 18, "1,1"), Soil(2, 20, 30, 18, c.description)}, {}, {}, 1);
      ADD_FAILURE() << c.description << " was accepted";
    } catch (const VegetationError& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
  }
}

TEST(VegetationExport, OneBackupUntilRestoreWhichPutsBackOnlyUneditedValues) {
  const VegetationResult result = TwoByTwo();
  const std::vector<Row> original = {Soil(1, 20, 30, 18, "1,1"), Soil(2, 21, 30, 18, "1,2"),
                                     Soil(3, 22, 30, 18, "2,1")};
  ExportPlan first = PlanExport(result, original, {}, {}, 1);
  // A second Export keeps the first backup and the first originals.
  ExportPlan second = PlanExport(result, first.soils, first.backup, first.exported, 1);
  EXPECT_EQ(second.backup, first.backup);
  EXPECT_EQ(Cohesions(second.backup), (std::vector<double>{20, 21, 22}));
  EXPECT_EQ(Cohesions(second.soils), (std::vector<double>{10, 6, 2}));

  // The user edits row 2's cohesion and adds a row; Restore leaves both.
  std::vector<Row> edited = second.soils;
  edited[1].set(SoilField::Cohesion, 3.5);
  edited.push_back(Soil(4, 40, 30, 18, "new"));
  const RestorePlan restored = PlanRestore(edited, second.exported);
  EXPECT_EQ(restored.restored, 2);
  EXPECT_EQ(Cohesions(restored.soils), (std::vector<double>{20, 3.5, 22, 40}));

  // A row inserted above moves the exported rows; they are still found.
  std::vector<Row> moved = second.soils;
  moved.insert(moved.begin(), Soil(9, 99, 30, 18, "top"));
  EXPECT_EQ(Cohesions(PlanRestore(moved, second.exported).soils), (std::vector<double>{99, 20, 21, 22}));
}

}  // namespace
}  // namespace pelodyn
