#include "model/collection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "fixture.h"
#include "model/numbers.h"
#include "texts/messages.h"

namespace pelodyn {
namespace {

using testing::ProjectFixture;
using Shown = RecordingPlatform::Shown;

class Collection : public ::testing::Test, public ProjectFixture {};

TEST_F(Collection, FillsTheModelOfACompleteProject) {
  twoLayerSlope();
  options().setText(Option::E_Project_Name, "Dam A");
  options().setChecked(Option::CB_Ordinary, true);
  collect();

  const AnalysisModel& m = model();
  EXPECT_TRUE(ui.shown.empty());
  EXPECT_EQ(m.DataError, 0);
  EXPECT_EQ(m.ProjectName, "Dam A");
  EXPECT_EQ(m.UseOrdinary, 1);
  EXPECT_EQ(m.SoilCount, 3);
  EXPECT_EQ(m.SoilCohesion, (std::vector<double>{20, 5, 0}));
  EXPECT_EQ(m.SoilPhi, (std::vector<double>{30, 25, 0}));
  EXPECT_EQ(m.SoilUnitWeight, (std::vector<double>{19, 18, 0}));
  EXPECT_EQ(m.LineCount, 3);
  EXPECT_EQ(m.GeometryPointTotal, 8);
  EXPECT_EQ(m.LinePointCount, (std::vector<int>{2, 2, 4}));
  EXPECT_EQ(m.LineMaxPointCount, 4);
  ASSERT_EQ(m.LineX.rows(), 3u);
  ASSERT_EQ(m.LineX.columns(), 4u);
  ASSERT_EQ(m.LineSlope.columns(), 3u);
  EXPECT_EQ(m.LineX[2][2], 40.0);
  EXPECT_EQ(m.LineY[2][2], 20.0);
  // Ground line: flat, 1 in 2, flat.
  EXPECT_EQ(m.LineSlope[2][0], 0.0);
  EXPECT_EQ(m.LineSlope[2][1], 0.5);
  EXPECT_EQ(m.LineSlope[2][2], 0.0);
  EXPECT_EQ(m.LineIntercept[2][0], 10.0);
  EXPECT_EQ(m.LineIntercept[2][1], 0.0);
  EXPECT_EQ(m.LineIntercept[2][2], 20.0);
  EXPECT_EQ(m.LineIntercept[1][0], 5.0);
  // Bottom line No. 1 by default: its two points.
  EXPECT_EQ(m.BottomLineChoice, 0);
  EXPECT_EQ(m.BottomLineNo, 1);
  EXPECT_EQ(m.BottomLineCount, 2);
  // Defaults of the analysis setting.
  EXPECT_EQ(m.PassCriteria, 0.01);
  EXPECT_EQ(m.CircleCount, 10);
  EXPECT_EQ(m.RadiusDecrement, 0.0);
  EXPECT_EQ(m.SliceCountInput, 10);
  EXPECT_EQ(m.DepthTallest, 1.0);
  EXPECT_EQ(m.GridDivision12, 5);
  EXPECT_EQ(m.SeismicEnabled, 0);
  EXPECT_EQ(m.AdvancedAnisoEnabled, 1);  // its box is unchecked by default
}

TEST_F(Collection, SoilRowsOutOfOrderFillEveryEntry) {
  soil(1, 1, 10, 17);
  soil(3, 0, 0, 0);
  soil(2, 2, 20, 18);
  line(1, {{0, 0}, {10, 0}});
  line(2, {{0, 1}, {10, 1}});
  line(3, {{0, 2}, {10, 2}});
  collect();
  EXPECT_EQ(model().DataError, 0);
  EXPECT_EQ(model().SoilCohesion, (std::vector<double>{1, 2, 0}));
  EXPECT_EQ(model().SoilUnitWeight, (std::vector<double>{17, 18, 0}));
}

TEST_F(Collection, SoilWalkStopsAtARepeatedHighestNumber) {
  soil(1, 1, 1, 1);
  soil(2, 1, 1, 1);
  soil(2, 1, 1, 1);
  soil(3, 0, 0, 0);
  collect();
  EXPECT_EQ(model().DataError, 1);
  EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"Soil properties data is not correct: Soil Properties, row 3: "
                                                        "Soil No. 2 is given a second time.\nNumber the soils 1, 2, 3 "
                                                        "... once each, and please recheck."});
  // The running maximum is left where Verify Data looks for it.
  EXPECT_EQ(model().LineCount, 2);
}

TEST_F(Collection, LinesNumberedOneAndThreeLeaveAnEmptyLineTwo) {
  soil(1, 1, 1, 1);
  soil(2, 1, 1, 1);
  soil(3, 0, 0, 0);
  line(1, {{0, 0}, {10, 0}});
  line(3, {{0, 2}, {10, 2}});
  collect();
  EXPECT_EQ(model().DataError, 0);
  EXPECT_EQ(model().LineCount, 3);
  EXPECT_EQ(model().LinePointCount, (std::vector<int>{2, 0, 2}));
}

TEST_F(Collection, VerticalSegmentGetsTheSentinelSlope) {
  soil(1, 1, 1, 1);
  soil(2, 0, 0, 0);
  line(1, {{0, 0}, {10, 0}});
  line(2, {{0, 5}, {10, 5}, {10, 9}, {14, 11}});
  collect();
  ASSERT_EQ(model().DataError, 0);
  EXPECT_EQ(model().LineSlope[1][1], 99999.0);
  EXPECT_EQ(model().LineIntercept[1][1], 5.0 - 99999.0 * 10.0);
  EXPECT_EQ(model().LineSlope[1][2], 0.5);
  EXPECT_EQ(model().LineIntercept[1][2], 4.0);
}

// Each check that stops the collection, in both languages.
struct StopCase {
  const char* name;
  std::function<void(ProjectFixture&)> setup;
  int message;  // -1: the texts below
  const char* english = nullptr;
  const char* thai = nullptr;
};
void PrintTo(const StopCase& c, std::ostream* os) {
  *os << c.name;
}

class CollectionStops : public ::testing::TestWithParam<std::tuple<StopCase, std::uint8_t>> {};

TEST_P(CollectionStops, ShowTheirMessageAndSetDataError) {
  const auto& [c, language] = GetParam();
  ProjectFixture f;
  f.twoLayerSlope();
  f.model().Language = language;
  c.setup(f);
  f.collect();
  EXPECT_EQ(f.model().DataError, 1);
  ASSERT_EQ(f.ui.shown.size(), 1u);
  EXPECT_EQ(f.ui.shown[0].type, Shown::Type::Message);
  EXPECT_EQ(f.ui.shown[0].kind, MessageKind::Error);
  const std::string expected = c.message >= 0                 ? std::string(MessageText(language, c.message))
                               : language == kLanguageEnglish ? c.english
                                                              : c.thai;
  EXPECT_EQ(f.ui.shown[0].text, expected);
}

const StopCase kStopCases[] = {
    // The row that repeats a soil is named with the grid's caption.
    {"SoilNumbersNotUpToCount", [](ProjectFixture& f) { f.soil(3, 0, 0, 0); }, -1,
     "Soil properties data is not correct: Soil Properties, row 4: Soil No. 3 is given a second time.\nNumber the "
     "soils 1, 2, 3 ... once each, and please recheck.",
     "ป้อนคุณสมบัติดินไม่ถูกต้อง: คุณสมบัติดิน แถวที่ 4: ชั้นดิน 3 ถูกป้อนซ้ำ\nกรุณาใส่หมายเลขชั้นดิน 1, 2, 3 ... ชั้นละครั้ง "
     "และตรวจสอบข้อมูล"},
    {"LinesNotEqualSoils", [](ProjectFixture& f) { f.soil(4, 0, 0, 0); }, 8},
    // Line 2 gets a point 4 without a point 3, as a point deleted from the
    // middle of the line leaves it.
    {"PointNumbersWithAGap", [](ProjectFixture& f) { f.point(2, 4, 70, 5); }, -1,
     "Soil geometry is not correct: line 2 has no point 3, though its points go up to 4.\nNumber the points of each "
     "line 1, 2, 3 ... without a gap (Key In > Geometry).",
     "ป้อนรูปร่างของชั้นดินไม่ถูกต้อง: เส้นที่ 2 ไม่มีจุดที่ 3 แต่มีจุดถึงจุดที่ 4\nกรุณาเรียงหมายเลขจุดของแต่ละเส้นเป็น 1, 2, 3 "
     "... โดยไม่ข้าม (ป้อนข้อมูล > รูปร่างชั้นดิน)"},
    {"MiddlePointOfTheGroundDeleted",
     [](ProjectFixture& f) {
       f.store().empty(Table::Geometry);
       f.line(1, {{0, 0}, {60, 0}});
       f.line(2, {{0, 5}, {60, 5}});
       f.point(3, 1, 0, 10);
       f.point(3, 2, 20, 10);
       f.point(3, 4, 60, 20);
     },
     -1,
     "Soil geometry is not correct: line 3 has no point 3, though its points go up to 4.\nNumber the points of each "
     "line 1, 2, 3 ... without a gap (Key In > Geometry).",
     "ป้อนรูปร่างของชั้นดินไม่ถูกต้อง: เส้นที่ 3 ไม่มีจุดที่ 3 แต่มีจุดถึงจุดที่ 4\nกรุณาเรียงหมายเลขจุดของแต่ละเส้นเป็น 1, 2, 3 "
     "... โดยไม่ข้าม (ป้อนข้อมูล > รูปร่างชั้นดิน)"},
    {"GridDivisionAboveLimit", [](ProjectFixture& f) { f.options().setText(Option::E_12_Division, "5000"); }, -1,
     "Division between 1 and 2 = 5000 is above the limit of 1000.\nPlease change it on the Draw Grid panel (Draw > "
     "Circular Failure > Grid).",
     "จำนวนช่องระหว่าง 1 และ 2 = 5000 เกินขีดจำกัด 1000\nกรุณาแก้ไขที่แผงวาดตารางการค้นหา (วาด > ส่วนของวงกลม > "
     "ตารางการค้นหา)"},
    {"GridDivisionNegative", [](ProjectFixture& f) { f.options().setText(Option::E_23_Division, "-2"); }, -1,
     "Division between 2 and 3 = -2 may not be negative.\nPlease change it on the Draw Grid panel (Draw > Circular "
     "Failure > Grid).",
     "จำนวนช่องระหว่าง 2 และ 3 = -2 ต้องไม่เป็นค่าลบ\nกรุณาแก้ไขที่แผงวาดตารางการค้นหา (วาด > ส่วนของวงกลม > ตารางการค้นหา)"},
    {"BottomLineZero", [](ProjectFixture& f) { f.options().setText(Option::E_BottomLine, "0"); }, 14},
    {"NoSpecificBottomLine", [](ProjectFixture& f) { f.options().setItemIndex(Option::CB_Bottom_Line_Choose, 1); }, 15},
    {"PassCriteriaZero", [](ProjectFixture& f) { f.options().setText(Option::E_Pass_Criteria, "0"); }, 16},
    {"PassCriteriaNegative", [](ProjectFixture& f) { f.options().setText(Option::E_Pass_Criteria, "-0.01"); }, 16},
    {"NoCircles", [](ProjectFixture& f) { f.options().setText(Option::E_Cir_Decrement, "0"); }, 17},
    {"NoRadiusDecrement",
     [](ProjectFixture& f) {
       f.options().setItemIndex(Option::CB_Circle_Decrement, 1);
       f.options().setText(Option::E_Cir_Decrement, "0");
     },
     17},
    {"NegativeCircles", [](ProjectFixture& f) { f.options().setText(Option::E_Cir_Decrement, "-2"); }, 17},
    {"NoSlices", [](ProjectFixture& f) { f.options().setText(Option::E_Cir_Slice, "0"); }, 18},
};

INSTANTIATE_TEST_SUITE_P(All, CollectionStops,
                         ::testing::Combine(::testing::ValuesIn(kStopCases),
                                            ::testing::Values(kLanguageThai, kLanguageEnglish)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) +
                                  (std::get<1>(info.param) == kLanguageThai ? "_Thai" : "_English");
                         });

TEST_F(Collection, AStopLeavesTheLaterPartsAsThePreviousCollectionLeftThem) {
  twoLayerSlope();
  options().setText(Option::E_Cir_Decrement, "7");
  options().setText(Option::E_Cir_Slice, "30");
  collect();
  ASSERT_EQ(model().DataError, 0);

  options().setChecked(Option::CB_Seismic_Disable, false);
  options().setText(Option::E_Kh, "0.2");
  options().setText(Option::E_Pass_Criteria, "0");
  options().setText(Option::E_Cir_Decrement, "12");
  options().setText(Option::E_Cir_Slice, "40");
  collect();
  EXPECT_EQ(model().DataError, 1);
  EXPECT_EQ(model().SeismicKh, 0.2);  // before the stop: refreshed
  EXPECT_EQ(model().PassCriteria, 0.0);
  EXPECT_EQ(model().CircleCount, 7);  // after it: as before
  EXPECT_EQ(model().SliceCountInput, 30);
}

TEST_F(Collection, BottomLineNumberRules) {
  twoLayerSlope();
  options().setText(Option::E_BottomLine, "-1");
  collect();
  EXPECT_EQ(model().DataError, 0);
  EXPECT_EQ(model().BottomLineNo, -1);
  EXPECT_EQ(model().BottomLineCount, 0);

  options().setText(Option::E_BottomLine, "3");
  collect();
  EXPECT_EQ(model().DataError, 0);
  EXPECT_EQ(model().BottomLineCount, 4);

  options().setText(Option::E_BottomLine, "x");
  EXPECT_THROW(collect(), ConversionError);
  EXPECT_EQ(model().DataError, 1);
}

TEST_F(Collection, SpecificBottomLineRowsInStoredOrder) {
  twoLayerSlope();
  options().setItemIndex(Option::CB_Bottom_Line_Choose, 1);
  Row a(Table::Bottom_Line), b(Table::Bottom_Line);
  a.set(BottomLineField::LineNo, 2).set(BottomLineField::BeginPoint, 1).set(BottomLineField::EndPoint, 2);
  b.set(BottomLineField::LineNo, 1).set(BottomLineField::BeginPoint, 2).set(BottomLineField::EndPoint, 1);
  store().append(a);
  store().append(b);
  collect();
  EXPECT_EQ(model().DataError, 0);
  EXPECT_EQ(model().BottomLineCount, 2);
  EXPECT_EQ(model().BottomLineLineNo, (std::vector<int>{2, 1}));
  EXPECT_EQ(model().BottomLineBeginPoint, (std::vector<int>{1, 2}));
  EXPECT_EQ(model().BottomLineEndPoint, (std::vector<int>{2, 1}));
}

TEST_F(Collection, CircleCountOrRadiusDecrementByMode) {
  twoLayerSlope();
  options().setItemIndex(Option::CB_Circle_Decrement, 1);
  options().setText(Option::E_Cir_Decrement, "0.5");
  collect();
  EXPECT_EQ(model().DataError, 0);
  EXPECT_EQ(model().RadiusDecrement, 0.5);
  EXPECT_EQ(model().CircleCount, 0);

  options().setItemIndex(Option::CB_Circle_Decrement, 0);  // "0.5" is no integer
  EXPECT_THROW(collect(), ConversionError);
}

// Flat ground at y = 10 over a bottom line at y = 0, 1000 long: a centre at
// height y well inside is y from the bottom line and y - 10 from the ground,
// so every fan spans 10 and takes 10 / decrement circles.
void FlatGround(ProjectFixture& f, const char* divisions, const char* decrement) {
  f.soil(1, 10.0, 25.0, 18.0);
  f.soil(2, 0.0, 0.0, 0.0);
  f.line(1, {{0, 0}, {1000, 0}});
  f.line(2, {{0, 10}, {1000, 10}});
  testing::SetCentreGrid(f.options(), "490", "20", "510", "30", divisions);
  f.options().setItemIndex(Option::CB_Circle_Decrement, 1);
  f.options().setText(Option::E_Cir_Decrement, decrement);
}

TEST(CollectionGridTotal, FineDecrementsPassUntilTheGridsTotalPassesTheBound) {
  struct Case {
    const char* divisions;
    const char* decrement;
    long long total;  // centres x 10 / decrement
    bool refused;
  };
  for (const Case& c : {Case{"10", "0.05", 121LL * 200, false}, Case{"10", "0.0001", 121LL * 100000, false},
                        Case{"15", "0.0001", 256LL * 100000, true}, Case{"200", "0.001", 40401LL * 10000, true}}) {
    SCOPED_TRACE(std::string(c.divisions) + " divisions, decrement " + c.decrement);
    ProjectFixture f;
    FlatGround(f, c.divisions, c.decrement);
    f.collect();
    EXPECT_EQ(GridCircleTotal(f.model()), c.total);
    EXPECT_EQ(f.model().DataError, c.refused ? 1 : 0);
    if (c.refused) {
      ASSERT_FALSE(f.ui.shown.empty());
      EXPECT_EQ(f.ui.shown.back().text,
                "The grid search would analyse and keep " + std::to_string(c.total) +
                    " circles (the circles of every centre of the grid, from Division 1-2, Division 2-3 and Radius "
                    "Decrement), above the limit of 20000000 that the Results table can hold.\nPlease check "
                    "Analysis Setting.");
    } else {
      EXPECT_TRUE(f.ui.shown.empty());
    }
  }
}

TEST(CollectionGridTotal, CentresOutsideTheSectionAddNoCircle) {
  ProjectFixture f;
  FlatGround(f, "2", "0.5");
  // Rows at y = 20, 5 and -10: only the first is above the ground.
  f.options().setText(Option::E_Y_RightTop, "-10");
  f.collect();
  ASSERT_EQ(f.model().DataError, 0);
  EXPECT_EQ(GridCircleTotal(f.model()), 3 * 20);
  // By number, each centre with a range gets exactly No. of Circle.
  f.options().setItemIndex(Option::CB_Circle_Decrement, 0);
  f.options().setText(Option::E_Cir_Decrement, "7");
  f.collect();
  ASSERT_EQ(f.model().DataError, 0);
  EXPECT_EQ(GridCircleTotal(f.model()), 3 * 7);
}

TEST(CollectionGridTotal, FanCountsAsTheFanRoundsThem) {
  struct Case {
    double maxRadius, minRadius;
    int circles;
    double decrement;
    long long count;
  };
  for (const Case& c :
       {Case{20, 10, 10, 0.0, 10}, Case{20, 10, 0, 3.0, 3}, Case{20, 10, 0, 4.0, 2}, Case{20, 10, 0, 0.05, 200},
        Case{10, 20, 10, 0.0, 0}, Case{10, 10, 0, 1.0, 0}, Case{20, 10, 0, 1e-300, 1000000000000000000LL}}) {
    EXPECT_EQ(FanCircleCount(c.maxRadius, c.minRadius, c.circles, c.decrement), c.count)
        << c.maxRadius << " " << c.minRadius << " " << c.circles << " " << c.decrement;
  }
}

TEST_F(Collection, OnlyTheIrregularTheoryReadsTheIrregularSurface) {
  twoLayerSlope();
  numberedPoint(Table::NonCircular_Coordinate, 1, 0, 10);
  numberedPoint(Table::NonCircular_Coordinate, 3, 30, 50);
  numberedPoint(Table::NonCircular_Coordinate, 2, 15, 2);
  options().setText(Option::E_NonCir_Slice, "25");
  options().setText(Option::E_NonCir_Depth_Tallest, "2");
  options().setText(Option::E_NonCir_X_Center, "12");
  options().setText(Option::E_NonCir_Y_Center, "40");

  options().setItemIndex(Option::RG_Theory, 3);
  collect();
  EXPECT_EQ(model().DataError, 0);
  EXPECT_EQ(model().SliceCountInput, 10);
  EXPECT_EQ(model().DepthTallest, 1.0);
  EXPECT_EQ(model().NonCirPointCount, 0);

  options().setItemIndex(Option::RG_Theory, 2);
  collect();
  EXPECT_EQ(model().DataError, 0);
  EXPECT_TRUE(ui.shown.empty());
  EXPECT_EQ(model().SliceCountInput, 25);
  EXPECT_EQ(model().DepthTallest, 2.0);
  EXPECT_EQ(model().NonCirPointCount, 3);
  EXPECT_EQ(model().NonCirSegmentCount, 2);
  EXPECT_EQ(model().NonCirX, (std::vector<double>{0, 15, 30}));
  EXPECT_EQ(model().NonCirY, (std::vector<double>{10, 2, 50}));
  EXPECT_EQ(model().NonCirMoveStep[1], 50.0);
  EXPECT_EQ(model().NonCirMoveStep[0], 0.5);
  EXPECT_EQ(model().CenterX, 12.0);
  EXPECT_EQ(model().CenterY, 40.0);
  EXPECT_EQ(model().NonCirDirectionCount, 8);
  EXPECT_EQ(model().NonCirDivideStep, 3);

  options().setText(Option::E_Move_Length, "2.5");
  collect();
  EXPECT_EQ(model().NonCirMoveStep[0], 2.5);
}

TEST_F(Collection, IrregularWarningsLetTheCollectionGoOn) {
  twoLayerSlope();
  model().Language = kLanguageThai;
  options().setItemIndex(Option::RG_Theory, 2);
  numberedPoint(Table::NonCircular_Coordinate, 1, 0, 10);
  numberedPoint(Table::NonCircular_Coordinate, 2, 15, 2);
  numberedPoint(Table::NonCircular_Coordinate, 2, 30, 50);  // number 3 is missing
  options().setText(Option::E_No_Direction, "3");
  options().setChecked(Option::CB_Moving_Center, true);
  options().setText(Option::E_MCX, "2.5");
  collect();
  EXPECT_EQ(model().DataError, 0);
  ASSERT_EQ(ui.shown.size(), 2u);
  EXPECT_EQ(ui.shown[0].kind, MessageKind::Plain);
  EXPECT_EQ(ui.shown[0].text, "ผิวการพิบัติเริ่มต้นมี 3 จุด แต่ไม่มีจุดที่ 3: มีหมายเลขจุดที่ถูกป้อนซ้ำ\nกรุณาตรวจสอบข้อมูล");
  EXPECT_EQ(ui.shown[1].kind, MessageKind::Information);
  EXPECT_EQ(ui.shown[1].text, MessageText(kLanguageThai, 7));
  EXPECT_EQ(model().MovingCenterDX, 2.5);
}

// A text that does not convert ends the collection with a message that
// names the field as the window labels it, in the user's language.
TEST(CollectionConversion, NamesTheFieldInTheUsersLanguage) {
  struct Case {
    const char* control;
    const char* text;
    std::uint8_t language;
    const char* expected;
  };
  const Case cases[] = {
      {Option::E_Cir_Slice, "abc", kLanguageEnglish, "No. of Slice: 'abc' is not a valid integer value"},
      {Option::E_Cir_Slice, "abc", kLanguageThai, "จำนวนแถบดิน: 'abc' ไม่ใช่จำนวนเต็มที่ถูกต้อง"},
      {Option::E_Pass_Criteria, "0,01", kLanguageEnglish, "Pass Criteria: '0,01' is not a valid floating point value"},
      {Option::E_Pass_Criteria, "0,01", kLanguageThai, "เกณฑ์การลู่เข้า: '0,01' ไม่ใช่ตัวเลขที่ถูกต้อง"},
      {Option::E_12_Division, "ten", kLanguageEnglish, "Division between 1 and 2: 'ten' is not a valid integer value"},
      {Option::E_12_Division, "ten", kLanguageThai, "จำนวนช่องระหว่าง 1 และ 2: 'ten' ไม่ใช่จำนวนเต็มที่ถูกต้อง"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    ProjectFixture f;
    f.twoLayerSlope();
    f.model().Language = c.language;
    f.options().setText(c.control, c.text);
    try {
      f.collect();
      ADD_FAILURE() << "collected";
    } catch (const ConversionError& e) {
      EXPECT_EQ(e.message(c.language), c.expected);
    }
    EXPECT_EQ(f.model().DataError, 1);
  }
}

// The captions the messages use are those of the tables' grids: one title
// for every field, in the fields' order.
TEST(CollectionCaptions, EveryFieldOfAKeyedInTableHasItsGridTitle) {
  for (Table table : {Table::Soil_Prop, Table::Aniso, Table::Aniso_advance, Table::Geometry, Table::Bottom_Line,
                      Table::Waterline, Table::Ru_variable, Table::Tcrack, Table::Lineload, Table::Stripload,
                      Table::Anchor, Table::NonCircular_Coordinate}) {
    SCOPED_TRACE(std::string(TableName(table)));
    EXPECT_NE(TableCaption(kLanguageThai, TableName(table)), TableName(table));
    for (const FieldDef& field : TableDefinition(table).fields) {
      const std::string_view thai = FieldCaption(kLanguageThai, TableName(table), field.name);
      EXPECT_FALSE(FieldCaption(kLanguageEnglish, TableName(table), field.name).empty()) << field.name;
      // A Thai title differs from the field's name unless it is a symbol
      // shown as such in both languages (Phi-v, Ru).
      if (field.name != "Phi-v" && field.name != "Phi-h" && field.name != "C-v" && field.name != "C-h" &&
          field.name != "Ru" && field.name != "X start" && field.name != "Y start" && field.name != "X end" &&
          field.name != "Y end") {
        EXPECT_NE(thai, field.name) << field.name;
      }
    }
  }
}

TEST_F(Collection, CircularSearchKindsReadTheirCentre) {
  twoLayerSlope();
  options().setText(Option::E_X_LeftDown, "10");
  options().setText(Option::E_Y_RightTop, "45.5");
  options().setText(Option::E_12_Division, "0");
  options().setChecked(Option::CB_Grid_Increment, true);
  options().setText(Option::E_Ygrid_Increment, "0.25");
  collect();
  EXPECT_EQ(model().GridCornerX[0], 10.0);
  EXPECT_EQ(model().GridCornerY[2], 45.5);
  EXPECT_EQ(model().GridDivision12, 0);
  EXPECT_EQ(model().GridIncrementEnabled, 1);
  EXPECT_EQ(model().GridIncrementY, 0.25);

  options().setItemIndex(Option::CB_Cir_Search, 1);
  options().setText(Option::E_X_Center, "30");
  options().setText(Option::E_Y_Center, "35");
  options().setText(Option::E_Radius, "28");
  collect();
  EXPECT_EQ(model().CenterX, 30.0);
  EXPECT_EQ(model().CenterY, 35.0);
  EXPECT_EQ(model().TrialRadius, 28.0);

  options().setItemIndex(Option::CB_Cir_Search, 2);
  options().setText(Option::E_Xauto_Start, "31");
  options().setText(Option::E_Yauto_Start, "36");
  options().setText(Option::E_Xauto_Increment, "0.5");
  options().setText(Option::E_Yauto_Increment, "0.25");
  collect();
  EXPECT_EQ(model().DataError, 0);
  EXPECT_EQ(model().CenterX, 31.0);
  EXPECT_EQ(model().CenterY, 36.0);
  EXPECT_EQ(model().AutoIncrementX, 0.5);
  EXPECT_EQ(model().TrialRadius, 28.0);
}

TEST_F(Collection, DisabledPartsIgnoreTheirEditBoxes) {
  twoLayerSlope();
  options().setText(Option::E_Kh, "abc");  // never read while seismic is off
  options().setText(Option::E_Unit_Weight_Water, "9.81");
  options().setText(Option::E_Ru_average, "0.3");
  collect();
  EXPECT_EQ(model().DataError, 0);
  EXPECT_EQ(model().SeismicKh, 0.0);
  EXPECT_EQ(model().SeismicKv, 0.0);
  EXPECT_EQ(model().WaterUnitWeight, 1.0);
  EXPECT_EQ(model().RuAverage, 0.0);

  options().setChecked(Option::CB_Seismic_Disable, false);
  try {
    collect();
    FAIL() << "no conversion error";
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
  }
  EXPECT_EQ(model().DataError, 1);
}

TEST_F(Collection, WaterByKind) {
  twoLayerSlope();
  numberedPoint(Table::Waterline, 2, 60, 15);
  numberedPoint(Table::Waterline, 1, 0, 8);
  options().setItemIndex(Option::CB_Seepage, 1);
  options().setItemIndex(Option::CB_Phreatic_Peizometric, 1);
  options().setText(Option::E_Unit_Weight_Water, "9.81");
  collect();
  EXPECT_EQ(model().DataError, 0);
  EXPECT_EQ(model().WaterLineKind, 1);
  EXPECT_EQ(model().WaterUnitWeight, 9.81);
  EXPECT_EQ(model().WaterLinePointCount, 2);
  EXPECT_EQ(model().WaterLineX, (std::vector<double>{0, 60}));
  EXPECT_EQ(model().WaterLineY, (std::vector<double>{8, 15}));

  options().setItemIndex(Option::CB_Seepage, 2);
  options().setText(Option::E_Ru_average, "0.25");
  collect();
  EXPECT_EQ(model().WaterUnitWeight, 1.0);
  EXPECT_EQ(model().WaterLineKind, 0);
  EXPECT_EQ(model().RuAverage, 0.25);

  for (auto [no, ru] : {std::pair{2, 0.2}, {1, 0.1}, {3, 0.0}}) {
    Row r(Table::Ru_variable);
    r.set(RuField::LineNo, no).set(RuField::Ru, ru);
    store().append(r);
  }
  options().setItemIndex(Option::CB_Ru_Condition, 1);
  collect();
  EXPECT_EQ(model().RuAverage, 0.0);
  EXPECT_EQ(model().RuVariable, (std::vector<double>{0.1, 0.2, 0.0}));
}

TEST_F(Collection, LoadsAnchorsAndCrackPlacedByTheirNumbers) {
  twoLayerSlope();
  Row l2(Table::Lineload), l1(Table::Lineload);
  l2.set(LineLoadField::LoadNo, 2)
      .set(LineLoadField::Magnitude, 50.0)
      .set(LineLoadField::X, 45.0)
      .set(LineLoadField::Y, 20.0)
      .set(LineLoadField::Angle, 90.0);
  l1.set(LineLoadField::LoadNo, 1)
      .set(LineLoadField::Magnitude, 10.0)
      .set(LineLoadField::X, 5.0)
      .set(LineLoadField::Y, 10.0)
      .set(LineLoadField::Angle, 45.0);
  store().append(l2);
  store().append(l1);
  Row s(Table::Stripload);
  s.set(StripLoadField::LoadNo, 1)
      .set(StripLoadField::Magnitude, 12.0)
      .set(StripLoadField::BeginX, 42.0)
      .set(StripLoadField::EndX, 50.0);
  store().append(s);
  Row a(Table::Anchor);
  a.set(AnchorField::LoadNo, 1)
      .set(AnchorField::Magnitude, 100.0)
      .set(AnchorField::XStart, 30.0)
      .set(AnchorField::YStart, 15.0)
      .set(AnchorField::XEnd, 20.0);
  a.set(AnchorField::YEnd, 10.0).set(AnchorField::BondedLength, 4.0);
  store().append(a);
  numberedPoint(Table::Tcrack, 1, 30, 13);
  numberedPoint(Table::Tcrack, 2, 60, 18);

  collect();
  EXPECT_EQ(model().LineLoadCount, 2);
  EXPECT_EQ(model().LineLoadEnabled, 0);
  EXPECT_EQ(model().TensionCrackEnabled, 0);

  for (const char* box : {Option::CB_LineLoad_Disable, Option::CB_StripLoad_Disable, Option::CB_Tension_Disable,
                          Option::CB_Anchor_Disable}) {
    options().setChecked(box, false);
  }
  options().setText(Option::E_Percent_Water, "50");
  options().setItemIndex(Option::RG_Apply_as, 1);
  collect();
  ASSERT_EQ(model().DataError, 0);
  EXPECT_EQ(model().LineLoadEnabled, 1);
  EXPECT_EQ(model().LineLoadX, (std::vector<double>{5, 45}));
  EXPECT_EQ(model().LineLoadMagnitude, (std::vector<double>{10, 50}));
  EXPECT_EQ(model().LineLoadAngle, (std::vector<double>{45, 90}));
  EXPECT_EQ(model().StripLoadEnabled, 1);
  EXPECT_EQ(model().StripLoadBeginX, (std::vector<double>{42}));
  EXPECT_EQ(model().StripLoadEndX, (std::vector<double>{50}));
  EXPECT_EQ(model().AnchorEnabled, 1);
  EXPECT_EQ(model().AnchorApplyAs, 1);
  EXPECT_EQ(model().AnchorXEnd, (std::vector<double>{20}));
  EXPECT_EQ(model().AnchorBondedLength, (std::vector<double>{4}));
  EXPECT_EQ(model().TensionCrackEnabled, 1);
  EXPECT_EQ(model().TensionCrackY, (std::vector<double>{13, 18}));
  EXPECT_EQ(model().TensionCrackWaterPercent, 50.0);

  // A crack without its line stays off even with its box unchecked.
  store().empty(Table::Tcrack);
  collect();
  EXPECT_EQ(model().TensionCrackEnabled, 0);
}

TEST_F(Collection, AdvancedAnisotropicRowsGoToTheirSoils) {
  anisoSoil(1, 10, 12, 30, 28, 19);
  anisoSoil(2, 5, 6, 25, 22, 18);
  anisoSoil(3, 0, 0, 0, 0, 0);
  line(1, {{0, 0}, {10, 0}});
  line(2, {{0, 1}, {10, 1}});
  line(3, {{0, 2}, {10, 2}});
  options().setItemIndex(Option::CB_Strength_Model, 1);
  auto adv = [&](int soil, double stress, double phiV, double phiH) {
    Row r(Table::Aniso_advance);
    r.set(AnisoAdvanceField::LineNo, soil)
        .set(AnisoAdvanceField::NormalStress, stress)
        .set(AnisoAdvanceField::PhiV, phiV)
        .set(AnisoAdvanceField::PhiH, phiH);
    store().append(r);
  };
  adv(1, 0, 30, 28);
  adv(1, 100, 27, 25);
  adv(2, 0, 25, 22);
  collect();
  const AnalysisModel& m = model();
  ASSERT_EQ(m.DataError, 0);
  EXPECT_EQ(m.SoilCv, (std::vector<double>{10, 5, 0}));
  EXPECT_EQ(m.SoilPhiH, (std::vector<double>{28, 22, 0}));
  EXPECT_EQ(m.AdvancedAnisoEnabled, 1);
  EXPECT_EQ(m.AdvancedAnisoRowCount, (std::vector<int>{2, 1, 0}));
  EXPECT_EQ(m.AdvancedAnisoMaxRows, 2);
  EXPECT_EQ(m.AdvancedAnisoNormalStress[0][1], 100.0);
  EXPECT_EQ(m.AdvancedAnisoPhiV[0][1], 27.0);
  EXPECT_EQ(m.AdvancedAnisoPhiH[1][0], 22.0);
  EXPECT_EQ(m.AdvancedAnisoPhiVAt.size(), 3u);

  options().setChecked(Option::CB_Advance_Prop_Disable, true);
  adv(3, 0, 1, 1);  // would be refused (the air), but is not read
  adv(1, 0, 1, 1);
  collect();
  EXPECT_EQ(model().DataError, 0);
  EXPECT_EQ(model().AdvancedAnisoEnabled, 0);
}

// Rows whose numbers have no place in the model stop the collection with a
// message that says where; none of them may read or write out of bounds.
struct BadInputCase {
  const char* name;
  std::function<void(ProjectFixture&)> setup;
  const char* english;
  const char* thai;
};
void PrintTo(const BadInputCase& c, std::ostream* os) {
  *os << c.name;
}

class CollectionBadInput : public ::testing::TestWithParam<BadInputCase> {};

// The table and the field are named as the window shows them (the grid's
// column title, the dialog's name), in the user's language.
TEST_P(CollectionBadInput, StopsWithAMessageThatNamesTheRow) {
  for (std::uint8_t language : {kLanguageEnglish, kLanguageThai}) {
    SCOPED_TRACE(language == kLanguageThai ? "Thai" : "English");
    ProjectFixture f;
    f.twoLayerSlope();
    f.model().Language = language;
    for (const char* box : {Option::CB_LineLoad_Disable, Option::CB_StripLoad_Disable, Option::CB_Tension_Disable,
                            Option::CB_Anchor_Disable}) {
      f.options().setChecked(box, false);
    }
    GetParam().setup(f);
    f.collect();
    EXPECT_EQ(f.model().DataError, 1);
    ASSERT_EQ(f.ui.shown.size(), 1u);
    EXPECT_EQ(f.ui.shown[0].kind, MessageKind::Error);
    EXPECT_EQ(f.ui.shown[0].text, language == kLanguageEnglish ? GetParam().english : GetParam().thai);
  }
}

void Load(ProjectFixture& f, Table t, int no) {
  Row r(t);
  r.set("Load No.", no).set("Magnitude", 1.0);
  f.store().append(r);
}

void Advanced(ProjectFixture& f, int soil, double stress) {
  Row r(Table::Aniso_advance);
  r.set(AnisoAdvanceField::LineNo, soil).set(AnisoAdvanceField::NormalStress, stress);
  f.store().append(r);
}

const BadInputCase kBadInputCases[] = {
    {"SoilNumberNegative",
     [](ProjectFixture& f) {
       f.store().empty(Table::Soil_Prop);
       f.soil(1, 1, 1, 1);
       f.soil(-1, 1, 1, 1);
       f.soil(3, 0, 0, 0);
     },
     "Soil Properties, row 2: Soil No. = -1 is outside 1 to 3.\nPlease recheck.",
     "คุณสมบัติดิน แถวที่ 2: ชั้นดิน = -1 อยู่นอกช่วง 1 ถึง 3\nกรุณาตรวจสอบข้อมูล"},
    {"SoilNumberAboveCount",
     [](ProjectFixture& f) {
       f.store().empty(Table::Soil_Prop);
       f.soil(1, 1, 1, 1);
       f.soil(7, 1, 1, 1);
       f.soil(3, 0, 0, 0);
     },
     "Soil Properties, row 2: Soil No. = 7 is outside 1 to 3.\nPlease recheck.",
     "คุณสมบัติดิน แถวที่ 2: ชั้นดิน = 7 อยู่นอกช่วง 1 ถึง 3\nกรุณาตรวจสอบข้อมูล"},
    {"SoilNumberTwiceBelowTheHighest",
     [](ProjectFixture& f) {
       f.store().empty(Table::Soil_Prop);
       f.soil(3, 0, 0, 0);
       f.soil(1, 1, 1, 1);
       f.soil(1, 1, 1, 1);
     },
     "Soil Properties: Soil No. 1 is given more than once.\nPlease recheck.",
     "คุณสมบัติดิน: ชั้นดิน 1 ถูกป้อนซ้ำ\nกรุณาตรวจสอบข้อมูล"},
    {"GeometryLineZero",
     [](ProjectFixture& f) {
       f.store().empty(Table::Geometry);
       f.line(1, {{0, 0}, {60, 0}});
       f.line(2, {{0, 5}, {60, 5}});
       f.line(3, {{0, 10}, {60, 20}});
       f.point(3, 4, 70, 20);  // line 3 claims four points ...
       f.point(0, 3, 65, 20);  // ... and the third sits on line 0
     },
     "Soil geometry is not correct: row 8: Soil No. = 0 is below 1.\nPlease recheck (Key In > Geometry).",
     "ป้อนรูปร่างของชั้นดินไม่ถูกต้อง: แถวที่ 8: ชั้นดิน = 0 น้อยกว่า 1\nกรุณาตรวจสอบข้อมูล (ป้อนข้อมูล > รูปร่างชั้นดิน)"},
    {"GeometryPointZero",
     [](ProjectFixture& f) {
       f.store().empty(Table::Geometry);
       f.line(1, {{0, 0}, {60, 0}});
       f.line(2, {{0, 5}, {60, 5}});
       f.point(3, 0, 0, 10);
       f.point(3, 2, 60, 20);
     },
     "Soil geometry is not correct: row 5: Point No. = 0 is below 1.\nPlease recheck (Key In > Geometry).",
     "ป้อนรูปร่างของชั้นดินไม่ถูกต้อง: แถวที่ 5: จุดที่ = 0 น้อยกว่า 1\nกรุณาตรวจสอบข้อมูล (ป้อนข้อมูล > รูปร่างชั้นดิน)"},
    {"GeometryPointTwice",
     [](ProjectFixture& f) {
       f.store().empty(Table::Geometry);
       f.line(1, {{0, 0}, {60, 0}});
       f.line(2, {{0, 5}, {60, 5}});
       f.point(3, 1, 0, 10);
       f.point(3, 3, 60, 20);
       f.point(3, 3, 70, 20);
     },
     "Soil geometry is not correct: row 7: point 3 of line 3 is given more than once.\nPlease recheck (Key In > "
     "Geometry).",
     "ป้อนรูปร่างของชั้นดินไม่ถูกต้อง: แถวที่ 7: จุดที่ 3 ของเส้นที่ 3 ถูกป้อนซ้ำ\nกรุณาตรวจสอบข้อมูล (ป้อนข้อมูล > รูปร่างชั้นดิน)"},
    {"BottomLineAboveLineCount", [](ProjectFixture& f) { f.options().setText(Option::E_BottomLine, "5"); },
     "Bottom line No. = 5 but there are only 3 boundary lines.\nPlease check Bottom line No.",
     "Bottom line No. = 5 แต่มีเส้นขอบชั้นดินเพียง 3 เส้น\nกรุณาตรวจสอบค่าที่ Bottom Line"},
    {"BottomLineWrapsNoMore", [](ProjectFixture& f) { f.options().setText(Option::E_BottomLine, "256"); },
     "Bottom line No. = 256 but there are only 3 boundary lines.\nPlease check Bottom line No.",
     "Bottom line No. = 256 แต่มีเส้นขอบชั้นดินเพียง 3 เส้น\nกรุณาตรวจสอบค่าที่ Bottom Line"},
    {"SpecificBottomLineOnNoLine",
     [](ProjectFixture& f) {
       f.options().setItemIndex(Option::CB_Bottom_Line_Choose, 1);
       Row r(Table::Bottom_Line);
       r.set(BottomLineField::LineNo, 4).set(BottomLineField::BeginPoint, 1).set(BottomLineField::EndPoint, 2);
       f.store().append(r);
     },
     "Specific bottom line, row 1: line No. 4 is outside 1 to 3.\nPlease recheck.",
     "Specific bottom line แถวที่ 1: เส้นที่ 4 อยู่นอกช่วง 1 ถึง 3\nกรุณาตรวจสอบค่าที่ Bottom Line"},
    {"SpecificBottomLinePointBeyondTheLine",
     [](ProjectFixture& f) {
       f.options().setItemIndex(Option::CB_Bottom_Line_Choose, 1);
       Row r(Table::Bottom_Line);
       r.set(BottomLineField::LineNo, 1).set(BottomLineField::BeginPoint, 1).set(BottomLineField::EndPoint, 9);
       f.store().append(r);
     },
     "Specific bottom line, row 1: point 9 is not a point of line No. 1 (1 to 2).\nPlease recheck.",
     "Specific bottom line แถวที่ 1: จุดที่ 9 ไม่อยู่บนเส้นที่ 1 (1 ถึง 2)\nกรุณาตรวจสอบค่าที่ Bottom Line"},
    {"WaterPointAboveCount",
     [](ProjectFixture& f) {
       f.options().setItemIndex(Option::CB_Seepage, 1);
       f.numberedPoint(Table::Waterline, 1, 0, 8);
       f.numberedPoint(Table::Waterline, 5, 60, 8);
     },
     "Water Line, row 2: Point No. = 5 is outside 1 to 2.\nPlease recheck.",
     "เส้นระดับน้ำ แถวที่ 2: จุดที่ = 5 อยู่นอกช่วง 1 ถึง 2\nกรุณาตรวจสอบข้อมูล"},
    {"WaterPointTwice",
     [](ProjectFixture& f) {
       f.options().setItemIndex(Option::CB_Seepage, 1);
       f.numberedPoint(Table::Waterline, 1, 0, 8);
       f.numberedPoint(Table::Waterline, 1, 60, 8);
     },
     "Water Line: Point No. 1 is given more than once.\nPlease recheck.", "เส้นระดับน้ำ: จุดที่ 1 ถูกป้อนซ้ำ\nกรุณาตรวจสอบข้อมูล"},
    {"RuSoilZero",
     [](ProjectFixture& f) {
       f.options().setItemIndex(Option::CB_Seepage, 2);
       f.options().setItemIndex(Option::CB_Ru_Condition, 1);
       Row r(Table::Ru_variable);
       r.set(RuField::LineNo, 0).set(RuField::Ru, 0.2);
       f.store().append(r);
     },
     "Ru (Variable), row 1: Soil No. = 0 is outside 1 to 1.\nPlease recheck.",
     "Ru (แปรผันตามชั้นดิน) แถวที่ 1: ชั้นดิน = 0 อยู่นอกช่วง 1 ถึง 1\nกรุณาตรวจสอบข้อมูล"},
    {"LineLoadAboveCount",
     [](ProjectFixture& f) {
       Load(f, Table::Lineload, 1);
       Load(f, Table::Lineload, 3);
     },
     "Line Load, row 2: Load No. = 3 is outside 1 to 2.\nPlease recheck.",
     "น้ำหนักแบบเส้น แถวที่ 2: น้ำหนักที่ = 3 อยู่นอกช่วง 1 ถึง 2\nกรุณาตรวจสอบข้อมูล"},
    {"StripLoadTwice",
     [](ProjectFixture& f) {
       Load(f, Table::Stripload, 2);
       Load(f, Table::Stripload, 2);
     },
     "Strip Load: Load No. 2 is given more than once.\nPlease recheck.",
     "น้ำหนักแบบแถบ: น้ำหนักที่ 2 ถูกป้อนซ้ำ\nกรุณาตรวจสอบข้อมูล"},
    {"AnchorZero", [](ProjectFixture& f) { Load(f, Table::Anchor, 0); },
     "Anchor or Geofabric, row 1: Load No. = 0 is outside 1 to 1.\nPlease recheck.",
     "สมอยึดหรือแผ่นใยสังเคราะห์ แถวที่ 1: ที่ = 0 อยู่นอกช่วง 1 ถึง 1\nกรุณาตรวจสอบข้อมูล"},
    {"CrackPointNegative", [](ProjectFixture& f) { f.numberedPoint(Table::Tcrack, -4, 0, 0); },
     "Tension Crack Line, row 1: Point No. = -4 is outside 1 to 1.\nPlease recheck.",
     "แนวรอยแตก แถวที่ 1: จุดที่ = -4 อยู่นอกช่วง 1 ถึง 1\nกรุณาตรวจสอบข้อมูล"},
    {"IrregularPointAboveCount",
     [](ProjectFixture& f) {
       f.options().setItemIndex(Option::RG_Theory, 2);
       f.numberedPoint(Table::NonCircular_Coordinate, 1, 0, 10);
       f.numberedPoint(Table::NonCircular_Coordinate, 9, 30, 20);
     },
     "Initial Slip Surface, row 2: Point No. = 9 is outside 1 to 2.\nPlease recheck.",
     "ผิวการพิบัติเริ่มต้น แถวที่ 2: จุดที่ = 9 อยู่นอกช่วง 1 ถึง 2\nกรุณาตรวจสอบข้อมูล"},
    {"AdvancedRowsNotGrouped",
     [](ProjectFixture& f) {
       Advanced(f, 2, 0);
       Advanced(f, 1, 0);
     },
     "Advanced anisotropic properties, row 2: soil No. 1.\nThe rows must be listed soil by soil in ascending soil "
     "number, from 1 to 3.",
     "คุณสมบัติ Anisotropic ขั้นสูง แถวที่ 2: ชั้นดินที่ 1\nต้องป้อนเรียงตามลำดับชั้นดินจากน้อยไปมาก ตั้งแต่ 1 ถึง 3"},
    {"AdvancedRowsOfNoSoil", [](ProjectFixture& f) { Advanced(f, 4, 0); },
     "Advanced anisotropic properties, row 1: soil No. 4.\nThe rows must be listed soil by soil in ascending soil "
     "number, from 1 to 3.",
     "คุณสมบัติ Anisotropic ขั้นสูง แถวที่ 1: ชั้นดินที่ 4\nต้องป้อนเรียงตามลำดับชั้นดินจากน้อยไปมาก ตั้งแต่ 1 ถึง 3"},
    {"AdvancedRowsStressDescending",
     [](ProjectFixture& f) {
       Advanced(f, 1, 50);
       Advanced(f, 1, 10);
     },
     "Advanced anisotropic properties, row 2: the normal stress of soil No. 1 is below that of the row before.\nList "
     "the rows of each soil in ascending normal stress.",
     "คุณสมบัติ Anisotropic ขั้นสูง แถวที่ 2: Normal Stress ของชั้นดินที่ 1 น้อยกว่าแถวก่อนหน้า\nกรุณาเรียง Normal Stress "
     "ของแต่ละชั้นดินจากน้อยไปมาก"},
};

INSTANTIATE_TEST_SUITE_P(All, CollectionBadInput, ::testing::ValuesIn(kBadInputCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Collection, BadInputMessagesSpeakThai) {
  twoLayerSlope();
  model().Language = kLanguageThai;
  options().setItemIndex(Option::CB_Seepage, 1);
  numberedPoint(Table::Waterline, 3, 0, 8);
  collect();
  EXPECT_EQ(model().DataError, 1);
  EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"เส้นระดับน้ำ แถวที่ 1: จุดที่ = 3 อยู่นอกช่วง 1 ถึง 1\nกรุณาตรวจสอบข้อมูล"});
}

TEST_F(Collection, AnEmptyProjectPassesForTheRunToReport) {
  collect();  // bottom line 1 with no lines: nothing to analyse, no false alarm
  EXPECT_EQ(model().DataError, 0);
  EXPECT_TRUE(ui.shown.empty());
  EXPECT_EQ(model().SoilCount, 0);
  EXPECT_EQ(model().LineCount, 0);
  EXPECT_EQ(model().BottomLineCount, 0);
}

// Inputs that no real section has are refused before any run, each with a
// message that names where the value is and what it is; the first problem
// found is the one told.
struct UnrealInputCase {
  const char* name;
  std::function<void(ProjectFixture&)> edit;
  const char* english;             // the start of the English message
  std::vector<std::string> named;  // what both languages must name
};
void PrintTo(const UnrealInputCase& c, std::ostream* os) {
  *os << c.name;
}

class CollectionUnrealInput : public ::testing::TestWithParam<UnrealInputCase> {};

void SetSoil(ProjectFixture& f, Table table, int position, const char* field, double value) {
  Row r = f.store().rowAt(table, position);
  r.set(field, value);
  f.store().update(position, r);
}

// The slope of twoLayerSlope with anisotropic soils.
void Anisotropic(ProjectFixture& f) {
  f.options().setItemIndex(Option::CB_Strength_Model, 1);
  f.anisoSoil(1, 20, 25, 30, 32, 19);
  f.anisoSoil(2, 5, 6, 25, 27, 18);
  f.anisoSoil(3, 0, 0, 0, 0, 0);
}

void AdvancedRow(ProjectFixture& f, int soil, double stress, double phiV, double phiH) {
  f.options().setChecked(Option::CB_Advance_Prop_Disable, false);
  Row r(Table::Aniso_advance);
  r.set(AnisoAdvanceField::LineNo, soil)
      .set(AnisoAdvanceField::NormalStress, stress)
      .set(AnisoAdvanceField::PhiV, phiV)
      .set(AnisoAdvanceField::PhiH, phiH);
  f.store().append(r);
}

void AutomaticSearch(ProjectFixture& f, const char* dx, const char* dy) {
  f.options().setItemIndex(Option::CB_Cir_Search, 2);
  f.options().setText(Option::E_Xauto_Start, "30");
  f.options().setText(Option::E_Yauto_Start, "35");
  f.options().setText(Option::E_Xauto_Increment, dx);
  f.options().setText(Option::E_Yauto_Increment, dy);
}

void NoMethod(ProjectFixture& f) {
  for (const char* box : {Option::CB_Ordinary, Option::CB_Simp_Janbu, Option::CB_Simp_Bishop, Option::CB_Spencer}) {
    f.options().setChecked(box, false);
  }
}

TEST_P(CollectionUnrealInput, IsRefusedWithAMessageNamingIt) {
  for (std::uint8_t language : {kLanguageEnglish, kLanguageThai}) {
    SCOPED_TRACE(language == kLanguageThai ? "Thai" : "English");
    ProjectFixture f;
    f.twoLayerSlope();
    f.model().Language = language;
    GetParam().edit(f);
    f.collect();
    EXPECT_EQ(f.model().DataError, 1);
    ASSERT_EQ(f.ui.shown.size(), 1u);
    EXPECT_EQ(f.ui.shown[0].kind, MessageKind::Error);
    const std::string& text = f.ui.shown[0].text;
    if (language == kLanguageEnglish) {
      EXPECT_EQ(text.rfind(GetParam().english, 0), 0u) << text;
    } else {
      EXPECT_NE(text.find("กรุณา"), std::string::npos) << text;
    }
    // A soil's field is named as its grid titles it in the user's language.
    for (const std::string& named : GetParam().named) {
      const std::string_view shown = FieldCaption(language, "Soil_Prop", named);
      EXPECT_NE(text.find(shown), std::string::npos) << shown << " in " << text;
    }
  }
}

const UnrealInputCase kUnrealInputCases[] = {
    {"NegativeCohesion",
     [](ProjectFixture& f) { SetSoil(f, Table::Soil_Prop, 1, "Cohesion", -5); },
     "Soil No. 1: Cohesion = -5 is negative.",
     {"1", "Cohesion", "-5"}},
    {"NegativeFrictionAngle",
     [](ProjectFixture& f) { SetSoil(f, Table::Soil_Prop, 2, "Phi", -0.5); },
     "Soil No. 2: Phi = -0.5 is negative.",
     {"2", "Phi", "-0.5"}},
    {"NegativeUnitWeight",
     [](ProjectFixture& f) { SetSoil(f, Table::Soil_Prop, 2, "Unit Weight", -18.5); },
     "Soil No. 2: Unit Weight = -18.5 is negative.",
     {"2", "Unit Weight", "-18.5"}},
    {"FrictionAngleOf90",
     [](ProjectFixture& f) { SetSoil(f, Table::Soil_Prop, 1, "Phi", 90); },
     "Soil No. 1: Phi = 90 degrees is 90 or more.",
     {"1", "Phi", "90"}},
    {"FrictionAngleAbove90",
     [](ProjectFixture& f) { SetSoil(f, Table::Soil_Prop, 2, "Phi", 135.25); },
     "Soil No. 2: Phi = 135.25 degrees is 90 or more.",
     {"2", "Phi", "135.25"}},
    {"NegativeValueInTheAirSoil",
     [](ProjectFixture& f) { SetSoil(f, Table::Soil_Prop, 3, "Unit Weight", -1); },
     "Soil No. 3: Unit Weight = -1 is negative.",
     {"3", "Unit Weight", "-1"}},
    {"SoilRowsOutOfOrderNameTheSoilNotTheRow",
     [](ProjectFixture& f) {
       f.store().empty(Table::Soil_Prop);
       f.soil(3, 0, 0, 0);
       f.soil(1, 20, 30, 19);
       f.soil(2, -2, 25, 18);
     },
     "Soil No. 2: Cohesion = -2 is negative.",
     {"2", "Cohesion", "-2"}},
    {"LowerSoilFirst",
     [](ProjectFixture& f) {
       SetSoil(f, Table::Soil_Prop, 2, "Cohesion", -1);
       SetSoil(f, Table::Soil_Prop, 1, "Unit Weight", -3);
     },
     "Soil No. 1: Unit Weight = -3 is negative.",
     {"1", "Unit Weight", "-3"}},
    {"FieldsInTableOrder",
     [](ProjectFixture& f) {
       SetSoil(f, Table::Soil_Prop, 1, "Unit Weight", -3);
       SetSoil(f, Table::Soil_Prop, 1, "Phi", 95);
     },
     "Soil No. 1: Phi = 95 degrees is 90 or more.",
     {"1", "Phi", "95"}},
    {"AnisotropicNegativeVerticalCohesion",
     [](ProjectFixture& f) {
       Anisotropic(f);
       SetSoil(f, Table::Aniso, 2, "C-v", -4);
     },
     "Soil No. 2: C-v = -4 is negative.",
     {"2", "C-v", "-4"}},
    {"AnisotropicNegativeHorizontalCohesion",
     [](ProjectFixture& f) {
       Anisotropic(f);
       SetSoil(f, Table::Aniso, 1, "C-h", -0.25);
     },
     "Soil No. 1: C-h = -0.25 is negative.",
     {"1", "C-h", "-0.25"}},
    {"AnisotropicNegativeAngle",
     [](ProjectFixture& f) {
       Anisotropic(f);
       SetSoil(f, Table::Aniso, 1, "Phi-h", -10);
     },
     "Soil No. 1: Phi-h = -10 is negative.",
     {"1", "Phi-h", "-10"}},
    {"AnisotropicVerticalAngleOf90",
     [](ProjectFixture& f) {
       Anisotropic(f);
       SetSoil(f, Table::Aniso, 2, "Phi-v", 90);
     },
     "Soil No. 2: Phi-v = 90 degrees is 90 or more.",
     {"2", "Phi-v", "90"}},
    {"AnisotropicHorizontalAngleAbove90",
     [](ProjectFixture& f) {
       Anisotropic(f);
       SetSoil(f, Table::Aniso, 1, "Phi-h", 100);
     },
     "Soil No. 1: Phi-h = 100 degrees is 90 or more.",
     {"1", "Phi-h", "100"}},
    {"AnisotropicNegativeUnitWeight",
     [](ProjectFixture& f) {
       Anisotropic(f);
       SetSoil(f, Table::Aniso, 2, "Unit Weight", -18);
     },
     "Soil No. 2: Unit Weight = -18 is negative.",
     {"2", "Unit Weight", "-18"}},
    {"AdvancedNegativeAngle",
     [](ProjectFixture& f) {
       Anisotropic(f);
       AdvancedRow(f, 1, 0, 30, 32);
       AdvancedRow(f, 1, 50, -1, 32);
     },
     "Advanced anisotropic properties, row 2, soil No. 1: Phi-v = -1 degrees is outside 0 to below 90.",
     {"2", "1", "Phi-v", "-1"}},
    {"AdvancedAngleOf90",
     [](ProjectFixture& f) {
       Anisotropic(f);
       AdvancedRow(f, 1, 0, 30, 32);
       AdvancedRow(f, 2, 10, 25, 90);
     },
     "Advanced anisotropic properties, row 2, soil No. 2: Phi-h = 90 degrees is outside 0 to below 90.",
     {"2", "Phi-h", "90"}},
    {"NoMethod", NoMethod, "No method is selected.", {"Ordinary", "Spencer"}},
    {"SoilsBeforeMethods",
     [](ProjectFixture& f) {
       NoMethod(f);
       SetSoil(f, Table::Soil_Prop, 1, "Cohesion", -5);
     },
     "Soil No. 1: Cohesion = -5 is negative.",
     {"Cohesion"}},
    {"AutomaticSearchWithTheDefaultIncrements",
     [](ProjectFixture& f) { AutomaticSearch(f, "0", "0"); },
     "Automatic search: X Increment = 0; with a step that is not larger than 0 the search would analyse its start "
     "centre alone.\nType an increment larger than 0 at Analysis Setting.",
     {"0"}},
    {"AutomaticSearchWithANegativeYIncrement",
     [](ProjectFixture& f) {
       AutomaticSearch(f, "1", "-0.5");
       // A grid of centres 2.5 apart along X and 1.5 along Y.
       testing::SetCentreGrid(f.options(), "20", "30", "45", "45", "10");
     },
     "Automatic search: Y Increment = -0.5;",
     {"-0.5", "1.5"}},
    {"AutomaticSearchSuggestsTheGridSpacing",
     [](ProjectFixture& f) {
       AutomaticSearch(f, "0", "1");
       testing::SetCentreGrid(f.options(), "20", "30", "45", "45", "10");
     },
     "Automatic search: X Increment = 0; with a step that is not larger than 0 the search would analyse its start "
     "centre alone.\nType an increment larger than 0 at Analysis Setting, for example 2.5 (the spacing of the grid "
     "of centres).",
     {"2.5"}},
    {"WaterLineWithoutPoints",
     [](ProjectFixture& f) { f.options().setItemIndex(Option::CB_Seepage, 1); },
     "Water is given by a water line (Seepage), but the water line has no point.",
     {"Seepage"}},
};

INSTANTIATE_TEST_SUITE_P(All, CollectionUnrealInput, ::testing::ValuesIn(kUnrealInputCases),
                         [](const auto& info) { return std::string(info.param.name); });

// What real sections do have passes: the air's zeros, angles just below 90
// degrees, a table the project's strength model does not read, increments of
// a search that is not run.
TEST(CollectionRealInput, PassesUnchanged) {
  const std::pair<const char*, std::function<void(ProjectFixture&)>> cases[] = {
      {"a soil without cohesion or friction", [](ProjectFixture& f) { SetSoil(f, Table::Soil_Prop, 2, "Phi", 0); }},
      {"a friction angle just below 90", [](ProjectFixture& f) { SetSoil(f, Table::Soil_Prop, 1, "Phi", 89.99); }},
      {"one method",
       [](ProjectFixture& f) {
         NoMethod(f);
         f.options().setChecked(Option::CB_Ordinary, true);
       }},
      {"anisotropic soils beside a Mohr-Coulomb table it does not read",
       [](ProjectFixture& f) {
         Anisotropic(f);
         SetSoil(f, Table::Soil_Prop, 1, "Cohesion", -5);
       }},
      {"a Mohr-Coulomb project beside an anisotropic table it does not read",
       [](ProjectFixture& f) { f.anisoSoil(1, -1, -1, 95, -3, -1); }},
      {"advanced angles within range",
       [](ProjectFixture& f) {
         Anisotropic(f);
         AdvancedRow(f, 1, 0, 0, 89.5);
       }},
      {"an automatic search with positive increments", [](ProjectFixture& f) { AutomaticSearch(f, "0.5", "2"); }},
      {"the automatic search's increments under the irregular theory",
       [](ProjectFixture& f) {
         AutomaticSearch(f, "0", "0");
         f.options().setItemIndex(Option::RG_Theory, 2);
       }},
      {"a grid search with zero automatic increments",
       [](ProjectFixture& f) {
         AutomaticSearch(f, "0", "0");
         f.options().setItemIndex(Option::CB_Cir_Search, 0);
       }},
      {"a water line with points",
       [](ProjectFixture& f) {
         f.options().setItemIndex(Option::CB_Seepage, 1);
         f.numberedPoint(Table::Waterline, 1, 0, 8);
       }},
  };
  for (const auto& [name, edit] : cases) {
    SCOPED_TRACE(name);
    ProjectFixture f;
    f.twoLayerSlope();
    edit(f);
    f.collect();
    EXPECT_EQ(f.model().DataError, 0);
    EXPECT_EQ(f.ui.messageTexts(), std::vector<std::string>{});
  }
}

// A save collects too, for the values it writes: it keeps what was typed and
// refuses nothing of it.
TEST(CollectionForASave, FillsTheModelWithoutRefusingUnrealValues) {
  ProjectFixture f;
  f.twoLayerSlope();
  SetSoil(f, Table::Soil_Prop, 1, "Cohesion", -5);
  NoMethod(f);
  f.options().setItemIndex(Option::CB_Seepage, 1);
  CollectAnalysisData(f.project, f.ui, CollectionPurpose::Save);
  EXPECT_EQ(f.model().DataError, 0);
  EXPECT_TRUE(f.ui.shown.empty());
  EXPECT_EQ(f.model().SoilCohesion[0], -5.0);
  EXPECT_EQ(f.model().SeepageKind, 1);
  f.collect();
  EXPECT_EQ(f.model().DataError, 1);
}

// Absurd sizes and values are refused with a message naming the field, its
// value and the limit, before a search could run for hours or allocate
// gigabytes.
struct LimitCase {
  const char* name;
  std::function<void(ProjectFixture&)> set;
  const char* expected;  // part of the English message
};

class CollectionLimits : public ::testing::TestWithParam<LimitCase> {};

TEST_P(CollectionLimits, RefuseWithAMessageNamingTheFieldAndTheLimit) {
  ProjectFixture f;
  f.twoLayerSlope();
  f.options().setText(Option::E_12_Division, "10");
  f.options().setText(Option::E_23_Division, "10");
  GetParam().set(f);
  f.collect();
  EXPECT_EQ(f.model().DataError, 1);
  ASSERT_FALSE(f.ui.shown.empty());
  EXPECT_NE(f.ui.shown.back().text.find(GetParam().expected), std::string::npos) << f.ui.shown.back().text;

  // And in Thai.
  ProjectFixture thai;
  thai.twoLayerSlope();
  thai.model().Language = kLanguageThai;
  thai.options().setText(Option::E_12_Division, "10");
  thai.options().setText(Option::E_23_Division, "10");
  GetParam().set(thai);
  thai.collect();
  EXPECT_EQ(thai.model().DataError, 1);
  ASSERT_FALSE(thai.ui.shown.empty());
  EXPECT_NE(thai.ui.shown.back().text.find("กรุณา"), std::string::npos) << thai.ui.shown.back().text;
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, CollectionLimits,
    ::testing::Values(
        LimitCase{"BillionCircles",
                  [](ProjectFixture& f) { f.options().setText(Option::E_Cir_Decrement, "1000000000"); },
                  "No. of Circle = 1000000000 is above the limit of 1000"},
        LimitCase{"BillionSlices", [](ProjectFixture& f) { f.options().setText(Option::E_Cir_Slice, "1000000000"); },
                  "No. of Slice = 1000000000 is above the limit of 1000"},
        LimitCase{
            "HugeDivisions",
            [](ProjectFixture& f) {
              f.options().setText(Option::E_12_Division, "100000");
              f.options().setText(Option::E_23_Division, "100000");
            },
            "Division between 1 and 2 = 100000 is above the limit of 1000.\nPlease change it on the Draw Grid panel"},
        LimitCase{"ManyCentresTimesCircles",
                  [](ProjectFixture& f) {
                    // Every centre above the ground: 1000 x 1000 centres of 1000 circles.
                    testing::SetCentreGrid(f.options(), "20", "30", "40", "50", "999");
                    f.options().setText(Option::E_Cir_Decrement, "1000");
                  },
                  "1000000000 circles (the circles of every centre of the grid, from Division 1-2, Division 2-3 "
                  "and No. of Circle), above the limit of 20000000 that the Results table can hold"},
        LimitCase{"NegativeDivisions", [](ProjectFixture& f) { f.options().setText(Option::E_23_Division, "-5"); },
                  "Division between 2 and 3 = -5 may not be negative.\nPlease change it on the Draw Grid panel"},
        LimitCase{"TinyRadiusDecrement",
                  [](ProjectFixture& f) {
                    f.options().setItemIndex(Option::CB_Circle_Decrement, 1);
                    f.options().setText(Option::E_Cir_Decrement, "1e-300");
                  },
                  // sqrt(60^2 + 20^2) / 1e-300 circles could make one fan.
                  "Circles per centre (section size / Radius Decrement) = 6.32455532033676E301 is above the limit "
                  "of 20000000"},
        LimitCase{"HugeUnitWeight",
                  [](ProjectFixture& f) {
                    Row r = f.store().rowAt(Table::Soil_Prop, 1);
                    r.set(SoilCommonField::UnitWeight, 1e308);
                    f.store().update(1, r);
                  },
                  "Soil Properties, row 1, Unit Weight = 1E308 is beyond any real section"},
        LimitCase{"HugeCoordinate",
                  [](ProjectFixture& f) {
                    Row r = f.store().rowAt(Table::Geometry, 1);
                    r.set(GeometryField::X, -1e308);
                    f.store().update(1, r);
                  },
                  "Geometry, row 1, Coordi X = -1E308 is beyond any real section"},
        LimitCase{"IrregularDirections",
                  [](ProjectFixture& f) {
                    f.options().setItemIndex(Option::RG_Theory, 2);
                    f.numberedPoint(Table::NonCircular_Coordinate, 1, 10, 10);
                    f.numberedPoint(Table::NonCircular_Coordinate, 2, 50, 20);
                    f.options().setText(Option::E_No_Direction, "100000");
                  },
                  "No. of Direction = 100000 is above the limit of 360"}),
    [](const ::testing::TestParamInfo<LimitCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pelodyn
