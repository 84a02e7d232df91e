#include "view/display_list.h"

#include <gtest/gtest.h>

#include "view_fixture.h"

namespace pelodyn {
namespace {

using testing::ViewProject;

// Three geometry points, three irregular points, two water points, one line
// load, two strip loads, no crack point, one anchor.
struct Loaded : ViewProject {
  Loaded() {
    line(1, {{0, 0}, {50, 0}});
    line(2, {{0, 10}});
    row(Table::NonCircular_Coordinate, {{"Point No.", 1}, {"Coordi X", 5}, {"Coordi Y", 9}});
    row(Table::NonCircular_Coordinate, {{"Point No.", 2}, {"Coordi X", 10}, {"Coordi Y", 4}});
    row(Table::NonCircular_Coordinate, {{"Point No.", 3}, {"Coordi X", 15}, {"Coordi Y", 9}});
    row(Table::Waterline, {{"Point No.", 1}, {"Coordi X", 0}, {"Coordi Y", 8}});
    row(Table::Waterline, {{"Point No.", 2}, {"Coordi X", 50}, {"Coordi Y", 6}});
    row(Table::Lineload, {{"Load No.", 1}, {"Magnitude", 10}, {"Coordi X", 20}, {"Coordi Y", 10}, {"Angle", 0}});
    row(Table::Stripload, {{"Load No.", 1}, {"Begin X", 1}, {"End X", 2}, {"Y1", 10}, {"Y2", 10}});
    row(Table::Stripload, {{"Load No.", 2}, {"Begin X", 3}, {"End X", 4}, {"Y1", 10}, {"Y2", 11}});
    row(Table::Anchor, {{"Load No.", 1}, {"X start", 30}, {"Y start", 9}, {"X end", 20}, {"Y end", 5}});
    options().setItemIndex(Option::RG_Theory, 2);
    options().setItemIndex(Option::CB_Seepage, 1);
    options().setChecked(Option::CB_LineLoad_Disable, false);
    options().setChecked(Option::CB_StripLoad_Disable, false);
    options().setChecked(Option::CB_Tension_Disable, false);
    options().setChecked(Option::CB_Anchor_Disable, false);
  }
};

DisplayRange R(int first, int last) {
  return {first, last, true};
}

TEST(DisplayList, RangesFollowEachOtherInTheirFixedOrder) {
  Loaded p;
  const ViewTransform t = MakeViewTransform(p.project.drawing, 10);
  DisplayList list;
  RebuildDisplayList(p.project, t, list);
  EXPECT_EQ(list.DisplayItemCount, 3);
  EXPECT_EQ(list.DisplayRangeGeometry, R(0, 2));
  EXPECT_EQ(list.DisplayRangeIrregular, R(3, 5));
  EXPECT_EQ(list.DisplayRangeWater, R(6, 7));
  EXPECT_EQ(list.DisplayRangeLineLoad, R(8, 8));
  EXPECT_EQ(list.DisplayRangeStripLoad, R(9, 12));
  EXPECT_TRUE(list.DisplayRangeCrack.empty()) << "enabled but without rows";
  EXPECT_EQ(list.DisplayRangeCrack.first, 0);
  EXPECT_EQ(list.DisplayRangeCrack.last, 0);
  EXPECT_EQ(list.DisplayRangeAnchor, R(13, 14));
  ASSERT_EQ(list.items.size(), 15u);

  const int kinds[] = {1, 1, 2, 104, 104, 104, 106, 106, 107, 108, 108, 108, 108, 108, 108};
  for (int i = 0; i < 15; ++i) {
    EXPECT_EQ(list.items[i].kind, kinds[i]) << i;
    EXPECT_EQ(list.items[i].index, i);
  }
  // A strip load gives its begin and end; an anchor its head and far end.
  EXPECT_EQ(list.items[11].x, 3);
  EXPECT_EQ(list.items[11].y, 10);
  EXPECT_EQ(list.items[12].x, 4);
  EXPECT_EQ(list.items[12].y, 11);
  EXPECT_EQ(list.items[14].x, 20);
  EXPECT_EQ(list.items[14].y, 5);
  for (const DisplayItem& item : list.items) {
    EXPECT_EQ((PixelPoint{item.pixelX, item.pixelY}), t.worldToImage(item.x, item.y, 1.0, 1.0)) << item.index;
  }
}

TEST(DisplayList, AKindWhoseConditionIsOffTakesNoRange) {
  Loaded p;
  p.options().setItemIndex(Option::RG_Theory, 1);
  p.options().setItemIndex(Option::CB_Seepage, 2);
  p.options().setChecked(Option::CB_StripLoad_Disable, true);
  DisplayList list;
  RebuildDisplayList(p.project, MakeViewTransform(p.project.drawing, 10), list);
  EXPECT_TRUE(list.DisplayRangeIrregular.empty());
  EXPECT_TRUE(list.DisplayRangeWater.empty());
  EXPECT_TRUE(list.DisplayRangeStripLoad.empty());
  EXPECT_EQ(list.DisplayRangeLineLoad, R(3, 3));
  EXPECT_EQ(list.DisplayRangeAnchor, R(4, 5));
  EXPECT_EQ(list.items.size(), 6u);
}

TEST(DisplayList, ScalesDivideThePixelButNotTheStoredCoordinates) {
  Loaded p;
  p.project.drawing.ScaleX = 2.0;
  p.project.drawing.ScaleY = 0.5;
  const ViewTransform t = MakeViewTransform(p.project.drawing, 10);
  DisplayList list;
  RebuildDisplayList(p.project, t, list);
  EXPECT_EQ(list.items[1].x, 50);
  EXPECT_EQ((PixelPoint{list.items[1].pixelX, list.items[1].pixelY}), t.gridToImage(25.0, 0.0));
  EXPECT_EQ((PixelPoint{list.items[2].pixelX, list.items[2].pixelY}), t.gridToImage(0.0, 20.0));
}

TEST(DisplayList, OverlayRebuildKeepsTheBoundaryItemsAsTheyAre) {
  Loaded p;
  const ViewTransform t = MakeViewTransform(p.project.drawing, 10);
  DisplayList list;
  RebuildDisplayList(p.project, t, list);
  // A point being dragged: its item moved, its row not yet.
  list.items[1].pixelX += 7;
  p.row(Table::Waterline, {{"Point No.", 3}, {"Coordi X", 60}, {"Coordi Y", 5}});
  RebuildOverlayItems(p.project, t, list);
  EXPECT_EQ(list.items[1].pixelX, t.worldToImage(50, 0, 1, 1).x + 7);
  EXPECT_EQ(list.DisplayRangeWater, R(6, 8));
  EXPECT_EQ(list.items[8].x, 60);
  EXPECT_EQ(list.DisplayRangeAnchor, R(14, 15));
}

TEST(DisplayList, RowsWithSenselessNumbersAreListedWithoutRaising) {
  ViewProject p;
  p.point(0, 1, 1, 1);
  p.point(-3, 0, 2, 2);
  p.point(500, 9, 3, 3);
  Row empty(Table::Geometry);  // every field null
  p.store().append(empty);
  DisplayList list;
  ASSERT_NO_THROW(RebuildDisplayList(p.project, MakeViewTransform(p.project.drawing, 10), list));
  ASSERT_EQ(list.items.size(), 4u);
  EXPECT_EQ(list.items[1].kind, -3);
  EXPECT_EQ(list.items[2].kind, 500);
  EXPECT_EQ(list.items[3].kind, 0);
  EXPECT_EQ(list.items[3].x, 0.0);
}

TEST(DisplayList, PlaceDisplayItemsFollowsANewTransform) {
  Loaded p;
  DisplayList list;
  RebuildDisplayList(p.project, MakeViewTransform(p.project.drawing, 10), list);
  const ViewTransform zoomed = MakeViewTransform(p.project.drawing, 14);
  PlaceDisplayItems(p.project.drawing, zoomed, list);
  for (const DisplayItem& item : list.items) {
    EXPECT_EQ((PixelPoint{item.pixelX, item.pixelY}), zoomed.worldToImage(item.x, item.y, 1, 1));
  }
}

TEST(FitBox, GeometryWidenedByTheCentresOfTheCurrentSearch) {
  struct Case {
    const char* name;
    int theory, search;
    std::vector<std::pair<const char*, const char*>> texts;
    FitBox expected;
  };
  const std::vector<Case> cases = {
      {"geometry only (specific centre at 0, 0 inside)", 1, 1, {}, {0, 50, 0, 10}},
      {"specific centre", 1, 1, {{Option::E_X_Center, "25"}, {Option::E_Y_Center, "40"}}, {0, 50, 0, 40}},
      {"automatic start", 1, 2, {{Option::E_Xauto_Start, "-5"}, {Option::E_Yauto_Start, "3"}}, {-5, 50, 0, 10}},
      {"grid corners, fourth corner too",
       1,
       0,
       {{Option::E_X_LeftDown, "10"},
        {Option::E_Y_LeftDown, "20"},
        {Option::E_X_RightDown, "30"},
        {Option::E_Y_RightDown, "20"},
        {Option::E_X_RightTop, "40"},
        {Option::E_Y_RightTop, "35"}},
       {0, 50, 0, 35}},
      {"grid corners slanted left",
       1,
       0,
       {{Option::E_X_LeftDown, "-10"}, {Option::E_X_RightTop, "-20"}, {Option::E_Y_RightTop, "15"}},
       {-30, 50, 0, 15}},
      {"grid corners all \"0\" are left out", 1, 0, {}, {0, 50, 0, 10}},
      {"a corner that does not convert leaves the grid out",
       1,
       0,
       {{Option::E_X_LeftDown, "abc"}, {Option::E_Y_RightTop, "90"}},
       {0, 50, 0, 10}},
      {"irregular centre",
       2,
       0,
       {{Option::E_NonCir_X_Center, "70"}, {Option::E_NonCir_Y_Center, "-2"}},
       {0, 70, -2, 10}},
  };
  for (const Case& c : cases) {
    ViewProject p;
    p.line(1, {{0, 0}, {50, 0}});
    p.line(2, {{0, 10}, {50, 10}});
    p.options().setItemIndex(Option::RG_Theory, c.theory);
    p.options().setItemIndex(Option::CB_Cir_Search, c.search);
    for (const auto& [control, text] : c.texts) p.options().setText(control, text);
    const std::optional<FitBox> box = ReadFitBox(p.project);
    ASSERT_TRUE(box) << c.name;
    EXPECT_EQ(*box, c.expected) << c.name;
  }
}

TEST(FitBox, NoneWithoutGeometryAndGridUnitsWithScales) {
  ViewProject p;
  EXPECT_FALSE(ReadFitBox(p.project));
  p.line(1, {{0, 0}, {50, 10}});
  p.project.drawing.ScaleX = 2;
  p.project.drawing.ScaleY = 5;
  EXPECT_EQ(*ReadFitBox(p.project), (FitBox{0, 25, 0, 2}));
  p.project.drawing.ScaleY = 0;
  EXPECT_FALSE(ReadFitBox(p.project));
}

}  // namespace
}  // namespace pelodyn
