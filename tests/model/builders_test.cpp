#include <gtest/gtest.h>

#include "fixture.h"
#include "model/collection.h"

namespace pelodyn {
namespace {

using testing::ProjectFixture;

class Builders : public ::testing::Test, public ProjectFixture {};

TEST_F(Builders, BoundaryLinesInWorldUnitsMatchTheCollection) {
  twoLayerSlope();
  collect();
  const AnalysisModel collected = model();
  model() = AnalysisModel{};
  BuildBoundaryLines(project, ui);
  EXPECT_TRUE(ui.shown.empty());
  EXPECT_EQ(model().SoilCount, 3);
  EXPECT_EQ(model().LineCount, 3);
  EXPECT_EQ(model().LinePointCount, collected.LinePointCount);
  EXPECT_EQ(model().LineX, collected.LineX);
  EXPECT_EQ(model().LineY, collected.LineY);
  EXPECT_EQ(model().LineSlope, collected.LineSlope);
  EXPECT_EQ(model().LineIntercept, collected.LineIntercept);
}

TEST_F(Builders, BoundaryLinesWarnAndGoOn) {
  twoLayerSlope();
  soil(4, 0, 0, 0);    // four soils, three lines
  point(2, 4, 70, 5);  // line 2 skips point 3
  BuildBoundaryLines(project, ui);
  EXPECT_EQ(ui.messageTexts(),
            (std::vector<std::string>{
                "The geometry has 3 boundary lines but there are 4 soils.\nEach soil lies above its own line: give "
                "one line for each soil.",
                "The geometry has 9 points, but the point numbers of its lines count 10: a point is missing or "
                "given twice.\nPlease recheck (Key In > Geometry)."}));
  EXPECT_EQ(ui.shown[0].kind, MessageKind::Plain);
  EXPECT_EQ(model().SoilCount, 4);
  EXPECT_EQ(model().LinePointCount, (std::vector<int>{2, 4, 4}));
  EXPECT_EQ(model().LineX[1][3], 70.0);
}

TEST_F(Builders, SoilCountFollowsTheStrengthModelExceptInGridUnits) {
  twoLayerSlope();
  anisoSoil(1, 1, 1, 1, 1, 1);
  options().setItemIndex(Option::CB_Strength_Model, 1);
  BuildBoundaryLines(project, ui);
  EXPECT_EQ(model().SoilCount, 1);
  ui.shown.clear();
  BuildBoundaryLinesInGridUnits(project, ui);
  EXPECT_EQ(model().SoilCount, 3);
  EXPECT_TRUE(ui.shown.empty());
}

TEST_F(Builders, GridUnitsDivideByTheScales) {
  twoLayerSlope();
  project.drawing.ScaleX = 2.0;
  project.drawing.ScaleY = 4.0;
  BuildBoundaryLinesInGridUnits(project, ui);
  EXPECT_EQ(model().LineX[2][2], 20.0);
  EXPECT_EQ(model().LineY[2][2], 5.0);
  // Slope 0.5 in world units is 0.25 in grid units: (5 - 2.5) / (20 - 10).
  EXPECT_EQ(model().LineSlope[2][1], 0.25);
  EXPECT_EQ(model().LineIntercept[2][1], 2.5 - 0.25 * 10.0);
}

TEST_F(Builders, ViewLinesKeepTheirCopyWhenThereIsNoGeometry) {
  twoLayerSlope();
  project.drawing.ScaleX = 10.0;
  BuildViewLines(project);
  EXPECT_EQ(model().ViewLineCount, 3);
  EXPECT_EQ(model().ViewLinePointCount, (std::vector<int>{2, 2, 4}));
  EXPECT_EQ(model().ViewLineX[2][3], 6.0);
  EXPECT_EQ(model().ViewLineY[2][3], 20.0);
  EXPECT_EQ(model().LineCount, 0);  // the analysis copy is not touched

  store().empty(Table::Geometry);
  BuildViewLines(project);
  EXPECT_EQ(model().ViewLineCount, 3);
  EXPECT_EQ(model().ViewLineX[2][3], 6.0);
}

TEST_F(Builders, RowsWithoutAPlaceAreLeftOut) {
  twoLayerSlope();
  point(0, 1, 1, 1);
  point(-5, 2, 1, 1);
  point(2, -1, 1, 1);
  point(2, 100000, 1, 1);
  point(1000000, 1, 1, 1);
  BuildBoundaryLines(project, ui);
  BuildViewLines(project);
  ReadNonCircularPoints(project);
  EXPECT_EQ(model().LineCount, 99);  // line numbers end at 99
  EXPECT_EQ(model().LinePointCount[1], 2);
  EXPECT_EQ(model().ViewLinePointCount[2], 4);
}

TEST_F(Builders, SmallReaders) {
  twoLayerSlope();
  options().setText(Option::E_X_RightDown, "50");
  options().setText(Option::E_23_Division, "3");
  ReadCentreGrid(project);
  EXPECT_EQ(model().GridCornerX[1], 50.0);
  EXPECT_EQ(model().GridDivision23, 3);

  options().setText(Option::E_X_Center, "5");
  options().setText(Option::E_Radius, "7");
  ReadCircleCentre(project);  // grid search: nothing read
  EXPECT_EQ(model().CenterX, 0.0);
  options().setItemIndex(Option::CB_Cir_Search, 1);
  ReadCircleCentre(project);
  EXPECT_EQ(model().CenterX, 5.0);
  EXPECT_EQ(model().TrialRadius, 7.0);

  options().setText(Option::E_NonCir_Y_Center, "44");
  ReadNonCircularCentre(project);
  EXPECT_EQ(model().CenterY, 44.0);

  numberedPoint(Table::NonCircular_Coordinate, 2, 9, 9);
  numberedPoint(Table::NonCircular_Coordinate, 1, 1, 1);
  numberedPoint(Table::NonCircular_Coordinate, 7, 5, 5);  // no place: left out
  ReadNonCircularPoints(project);
  EXPECT_EQ(model().NonCirPointCount, 3);
  EXPECT_EQ(model().NonCirX, (std::vector<double>{1, 9, 0}));

  BuildViewLines(project);
  ReadSoilArrays(project);
  EXPECT_EQ(model().LineCount, 3);
  EXPECT_EQ(model().SoilCount, 3);
  EXPECT_EQ(model().SoilPhi, (std::vector<double>{30, 25, 0}));
}

}  // namespace
}  // namespace pelodyn
