// The mouse editor's logic driven in world coordinates: what each target's
// clicks write, the ground-line snap, and the move and delete of a point by
// its key.
#include "view/tools/drawing_tool.h"

#include <gtest/gtest.h>

#include "persistence/sqlite_store.h"

namespace pelodyn {
namespace {

// Applies the edits to the project's store at once and records them.
class StoreEdits : public DrawingEdits {
 public:
  explicit StoreEdits(Project& project) : m_project(project) {}
  void appendRow(const Row& row) override { m_project.store->append(row); }
  void replaceTable(const Row& first) override {
    m_project.store->empty(first.table());
    m_project.store->append(first);
  }
  void setOptionTexts(const std::vector<std::pair<std::string, std::string>>& texts) override {
    for (const auto& [control, text] : texts) m_project.options.setText(control, text);
    ++optionSteps;
  }
  void setLoadFields(Table table, const std::vector<std::pair<std::string, double>>& fields) override {
    for (const auto& f : fields) loadFields.push_back({table, f.first, f.second});
  }
  void replaceGeometry(std::vector<Row> rows) override {
    m_project.store->empty(Table::Geometry);
    for (const Row& r : rows) m_project.store->append(r);
  }
  void message(int number) override { messages.push_back(number); }
  void gridIncomplete(int cornersClicked) override { incompleteGrids.push_back(cornersClicked); }

  struct LoadField {
    Table table;
    std::string field;
    double value;
  };
  std::vector<LoadField> loadFields;
  std::vector<int> messages;
  std::vector<int> incompleteGrids;
  int optionSteps = 0;

 private:
  Project& m_project;
};

class DrawingToolTest : public ::testing::Test {
 protected:
  DrawingToolTest() : project(SqliteWorkingStore::OpenInMemory()), edits(project), tool(edits) {}
  std::vector<std::tuple<int, int, double, double>> geometry() {
    std::vector<std::tuple<int, int, double, double>> out;
    for (const Row& r : project.store->rows(Table::Geometry)) {
      out.emplace_back(r.integer(GeometryField::LineNo), r.integer(GeometryField::PointNo), r.real(GeometryField::X),
                       r.real(GeometryField::Y));
    }
    return out;
  }
  void ground() {  // line 1 the ground: (0, 10) to (20, 10) to (40, 0)
    tool.start(1);
    for (auto [x, y] : {std::pair{0.0, 10.0}, {20.0, 10.0}, {40.0, 0.0}}) tool.click(project, x, y);
    tool.end();
  }
  Project project;
  StoreEdits edits;
  DrawingTool tool;
};

TEST_F(DrawingToolTest, BoundaryLinesNumberTheirPointsAndAContinuedLineGoesOn) {
  tool.start(1);
  tool.click(project, 0, 0);
  tool.click(project, 10, 0);
  tool.end();
  tool.start(2);
  tool.click(project, 0, 5);
  tool.end();
  tool.start(1);  // line 1 again: its numbers go on after its last
  tool.click(project, 20, 1);
  EXPECT_TRUE(tool.drawing());  // only the right button ends a line
  tool.end();
  EXPECT_FALSE(tool.drawing());
  EXPECT_EQ(geometry(), (std::vector<std::tuple<int, int, double, double>>{
                            {1, 1, 0, 0}, {1, 2, 10, 0}, {2, 1, 0, 5}, {1, 3, 20, 1}}));
}

TEST_F(DrawingToolTest, OneShotTargetsWriteTheirFieldsAndEndThemselves) {
  tool.start(TargetGridCorners);
  tool.click(project, 40, 32);
  tool.click(project, 62.5, 32);
  EXPECT_TRUE(tool.drawing());
  tool.click(project, 62.5, 50);
  EXPECT_FALSE(tool.drawing());
  EXPECT_EQ(project.options.text(Option::E_X_LeftDown), "40");
  EXPECT_EQ(project.options.text(Option::E_X_RightDown), "62.5");
  EXPECT_EQ(project.options.text(Option::E_Y_RightTop), "50");
  EXPECT_EQ(edits.optionSteps, 3);

  tool.start(TargetSpecificCircle);
  tool.click(project, 10, 20);
  tool.click(project, 13, 24);  // 3-4-5
  EXPECT_FALSE(tool.drawing());
  EXPECT_EQ(project.options.text(Option::E_X_Center), "10");
  EXPECT_EQ(project.options.text(Option::E_Radius), "5");

  for (auto [target, x, y] :
       {std::tuple{TargetAutoStart, Option::E_Xauto_Start, Option::E_Yauto_Start},
        std::tuple{TargetIrregularCentre, Option::E_NonCir_X_Center, Option::E_NonCir_Y_Center}}) {
    tool.start(target);
    tool.click(project, 0.1 + 0.2, -7);
    EXPECT_FALSE(tool.drawing());
    EXPECT_EQ(project.options.text(x), "0.3");  // 15 digits, as typed
    EXPECT_EQ(project.options.text(y), "-7");
  }
}

TEST_F(DrawingToolTest, TheGridOfCentresNeverKeepsAStaleCornerAndNeedsAllThree) {
  const auto corners = [this] {
    std::vector<std::string> out;
    for (const char* c : {Option::E_X_LeftDown, Option::E_Y_LeftDown, Option::E_X_RightDown, Option::E_Y_RightDown,
                          Option::E_X_RightTop, Option::E_Y_RightTop}) {
      out.push_back(project.options.text(c));
    }
    return out;
  };
  const std::vector<std::string> before = {"0", "0", "0", "0", "0", "0"};
  for (const char* c : {Option::E_X_LeftDown, Option::E_Y_LeftDown, Option::E_X_RightDown, Option::E_Y_RightDown,
                        Option::E_X_RightTop, Option::E_Y_RightTop}) {
    project.options.setText(c, "0");
  }
  struct Case {
    const char* name;
    std::vector<WorldPoint> clicks;
    std::vector<std::string> whileDrawing;  // after the last click
    std::vector<std::string> afterEnd;      // after the right button
    std::vector<int> incomplete;
  };
  const Case cases[] = {
      // The corners to come stand on the last one clicked, never at (0, 0).
      {"one corner", {{40, 32}}, {"40", "32", "40", "32", "40", "32"}, before, {1}},
      {"two corners", {{40, 32}, {62.5, 32}}, {"40", "32", "62.5", "32", "62.5", "32"}, before, {2}},
      {"three corners",
       {{40, 32}, {62.5, 32}, {62.5, 50}},
       {"40", "32", "62.5", "32", "62.5", "50"},
       {"40", "32", "62.5", "32", "62.5", "50"},
       {}},
  };
  for (const Case& c : cases) {
    edits.incompleteGrids.clear();
    tool.start(TargetGridCorners);
    for (const WorldPoint& p : c.clicks) tool.click(project, p.x, p.y);
    EXPECT_EQ(corners(), c.whileDrawing) << c.name;
    tool.end();
    EXPECT_EQ(corners(), c.afterEnd) << c.name;
    EXPECT_EQ(edits.incompleteGrids, c.incomplete) << c.name;
    if (c.afterEnd != before) {
      for (const char* ctl : {Option::E_X_LeftDown, Option::E_Y_LeftDown, Option::E_X_RightDown, Option::E_Y_RightDown,
                              Option::E_X_RightTop, Option::E_Y_RightTop}) {
        project.options.setText(ctl, "0");
      }
    }
  }
  // Draw then Close with no click changes nothing and says nothing.
  tool.start(TargetGridCorners);
  tool.end();
  EXPECT_EQ(corners(), before);
  EXPECT_TRUE(edits.incompleteGrids.empty());
}

TEST_F(DrawingToolTest, LoadsStandOnTheGroundWhereverTheyAreClicked) {
  ground();  // (0, 10) - (20, 10) - (40, 0)
  project.drawing.SnapTopLayerLength = 1.0;
  struct Case {
    const char* name;
    WorldPoint click;
    WorldPoint placed;
  };
  const Case cases[] = {
      {"1.3 above the flat top, beyond the snap length", {8, 11.3}, {8, 10}},
      {"3 below the slope", {30, 2}, {30, 5}},
      {"within the snap length: the nearest foot", {8, 9.5}, {8, 10}},
      {"beyond the ground's end: as clicked", {45, 3}, {45, 3}},
  };
  for (const Case& c : cases) {
    tool.start(TargetLineLoad);
    EXPECT_EQ(tool.click(project, c.click.x, c.click.y), c.placed) << c.name;
  }
  tool.start(TargetStripLoad);
  EXPECT_EQ(tool.click(project, 4, 12), (WorldPoint{4, 10}));
  EXPECT_EQ(tool.click(project, 30, 7), (WorldPoint{30, 5}));
  EXPECT_EQ(TopLineHeightAt(project, 20), 10.0);
  EXPECT_FALSE(TopLineHeightAt(project, -1));
}

TEST_F(DrawingToolTest, WaterLineAndCrackReplaceTheirTableAtTheFirstClickOnly) {
  for (Table table : {Table::Waterline, Table::Tcrack}) {
    Row old(table);
    old.set(PointField::PointNo, 1).set(PointField::X, 99.0).set(PointField::Y, 99.0);
    project.store->append(old);
    const int target = table == Table::Waterline ? TargetWaterLine : TargetCrack;
    tool.start(target);
    tool.end();  // Draw, then Close: nothing lost
    ASSERT_EQ(project.store->rowCount(table), 1);
    EXPECT_EQ(project.store->rowAt(table, 1).real(PointField::X), 99.0);
    tool.start(target);
    tool.click(project, 0, 8);
    tool.click(project, 30, 6);
    tool.end();
    ASSERT_EQ(project.store->rowCount(table), 2);
    EXPECT_EQ(project.store->rowAt(table, 1).integer(PointField::PointNo), 1);
    EXPECT_EQ(project.store->rowAt(table, 2).integer(PointField::PointNo), 2);
    EXPECT_EQ(project.store->rowAt(table, 2).real(PointField::X), 30.0);
  }
  EXPECT_TRUE(edits.messages.empty());
}

TEST_F(DrawingToolTest, TheIrregularSurfaceSnapsOntoTheGroundAndCountsItsSnaps) {
  ground();
  project.drawing.SnapTopLayerLength = 1.0;
  tool.start(TargetIrregularSurface);
  EXPECT_EQ(tool.click(project, 5, 10.6), (WorldPoint{5, 10}));  // within 1 unit: the foot
  tool.click(project, 15, 2);                                    // far below: as clicked
  // Near the corner at (20, 10) but past the end of the flat segment, close
  // to the slope: the foot on the slope.
  const WorldPoint onSlope = tool.click(project, 30, 5.5);
  EXPECT_NEAR(onSlope.y, 10 - (onSlope.x - 20) / 2, 1e-12);
  EXPECT_EQ(tool.topLineSnapCount(), 2);
  tool.end();
  EXPECT_TRUE(edits.messages.empty());
  ASSERT_EQ(project.store->rowCount(Table::NonCircular_Coordinate), 3);
  EXPECT_EQ(project.store->rowAt(Table::NonCircular_Coordinate, 1).real(PointField::Y), 10.0);

  // One snap only: message 5 when it ends; the points stay.
  tool.start(TargetIrregularSurface);
  tool.click(project, 5, 10.2);
  tool.click(project, 15, 2);
  tool.end();
  EXPECT_EQ(edits.messages, (std::vector<int>{5}));
  EXPECT_EQ(project.store->rowCount(Table::NonCircular_Coordinate), 2);
}

TEST_F(DrawingToolTest, SnapsInGridUnitsAndNeverPastASegmentOrWithoutAGround) {
  EXPECT_FALSE(SnapToTopLine(project, 5, 10));  // no ground line
  ground();
  project.drawing.SnapTopLayerLength = 1.0;
  EXPECT_FALSE(SnapToTopLine(project, -0.5, 10.2));  // the foot lies before the first point
  // The snap length is in grid units: with 2 world units a grid unit, 1.5
  // world units away is within reach.
  project.drawing.ScaleY = 2.0;
  project.drawing.ScaleX = 2.0;
  const std::optional<WorldPoint> foot = SnapToTopLine(project, 5, 11.5);
  ASSERT_TRUE(foot);
  EXPECT_EQ(*foot, (WorldPoint{5, 10}));
}

TEST_F(DrawingToolTest, LoadsAndAnchorsFillTheRowBeingEdited) {
  ground();
  project.drawing.SnapTopLayerLength = 1.0;
  tool.start(TargetStripLoad);
  tool.click(project, 5, 10.5);
  tool.click(project, 12, 10.5);
  EXPECT_FALSE(tool.drawing());
  tool.start(TargetAnchor);
  tool.click(project, 25, 7.5);  // anchors are not snapped
  tool.click(project, 10, 4);
  EXPECT_FALSE(tool.drawing());
  tool.start(TargetLineLoad);
  tool.click(project, 8, 9.5);
  EXPECT_FALSE(tool.drawing());
  const std::vector<std::tuple<Table, std::string, double>> expected = {
      {Table::Stripload, "Begin X", 5}, {Table::Stripload, "Y1", 10},   {Table::Stripload, "End X", 12},
      {Table::Stripload, "Y2", 10},     {Table::Anchor, "X start", 25}, {Table::Anchor, "Y start", 7.5},
      {Table::Anchor, "X end", 10},     {Table::Anchor, "Y end", 4},    {Table::Lineload, "Coordi X", 8},
      {Table::Lineload, "Coordi Y", 10}};
  ASSERT_EQ(edits.loadFields.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(edits.loadFields[i].table, std::get<0>(expected[i])) << i;
    EXPECT_EQ(edits.loadFields[i].field, std::get<1>(expected[i])) << i;
    EXPECT_EQ(edits.loadFields[i].value, std::get<2>(expected[i])) << i;
  }
}

TEST_F(DrawingToolTest, MoveAndDeleteActOnThePointsKeyAndKeepEveryOtherRow) {
  tool.start(1);
  for (double x : {0.0, 10.0, 20.0, 30.0}) tool.click(project, x, 0);
  tool.end();
  tool.start(2);
  for (double x : {0.0, 30.0}) tool.click(project, x, 5);
  tool.end();
  const std::optional<PointKey> hit = FindBoundaryPoint(project, 10.2, -0.3, 0.4, 0.4);
  ASSERT_TRUE(hit);
  EXPECT_EQ(*hit, (PointKey{1, 2}));
  EXPECT_FALSE(FindBoundaryPoint(project, 15, 0, 0.4, 0.4));
  edits.replaceGeometry(MovedPointRows(project, *hit, 11, -1));
  EXPECT_EQ(geometry(), (std::vector<std::tuple<int, int, double, double>>{
                            {1, 1, 0, 0}, {1, 2, 11, -1}, {1, 3, 20, 0}, {1, 4, 30, 0}, {2, 1, 0, 5}, {2, 2, 30, 5}}));
  // Deleting the first point renumbers that line's later points only.
  edits.replaceGeometry(DeletedPointRows(project, PointKey{1, 1}));
  EXPECT_EQ(geometry(), (std::vector<std::tuple<int, int, double, double>>{
                            {1, 1, 11, -1}, {1, 2, 20, 0}, {1, 3, 30, 0}, {2, 1, 0, 5}, {2, 2, 30, 5}}));
}

}  // namespace
}  // namespace pelodyn
