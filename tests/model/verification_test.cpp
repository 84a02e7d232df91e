#include "model/verification.h"

#include <gtest/gtest.h>

#include "fixture.h"
#include "texts/messages.h"

namespace pelodyn {
namespace {

using testing::ProjectFixture;

class Verify : public ::testing::Test, public ProjectFixture {
 protected:
  std::vector<std::string> verify() { return VerifyData(project, ui); }
};

TEST_F(Verify, CompleteProjectIsOk) {
  twoLayerSlope();
  EXPECT_EQ(verify(), (std::vector<std::string>{"Soil Properties --------------------- OK",
                                                "Geometry --------------------- OK"}));
}

TEST_F(Verify, SoilWithoutWeight) {
  soil(1, 5, 20, 18);
  soil(2, 0, 20, 0);
  soil(3, 0, 0, 0);
  line(1, {{0, 0}, {10, 0}});
  line(2, {{0, 1}, {10, 1}});
  line(3, {{0, 2}, {10, 2}});
  EXPECT_EQ(verify(), (std::vector<std::string>{"ค่า Unit Weight ลำดับที่ 2 = 0", "Geometry --------------------- OK"}));
}

TEST_F(Verify, NothingEntered) {
  EXPECT_EQ(verify(), (std::vector<std::string>{"ไม่มีข้อมูล Soil Properties", "ไม่มีข้อมูล Geometry"}));
}

TEST_F(Verify, AirLayerThatIsNotAir) {
  soil(1, 5, 20, 18);
  soil(2, 3, 10, 1.0);
  line(1, {{0, 0}, {10, 0}});
  line(2, {{0, 1}, {10, 1}});
  EXPECT_EQ(verify(), (std::vector<std::string>{"ค่า Cohesion ลำดับที่ 2 <> 0", "ค่า Friction Angle ลำดับที่ 2 <> 0",
                                                "ค่า Unit Weight ลำดับที่ 2 <> 0", "Geometry --------------------- OK"}));
}

TEST_F(Verify, AnisotropicAirLayerChecksItsOwnValues) {
  options().setItemIndex(Option::CB_Strength_Model, 1);
  anisoSoil(1, 5, 6, 20, 22, 18);
  anisoSoil(2, 0, 1, 0, 3, 0);
  line(1, {{0, 0}, {10, 0}});
  line(2, {{0, 1}, {10, 1}});
  EXPECT_EQ(verify(),
            (std::vector<std::string>{"ค่า Cohesion (C-h) ลำดับที่ 2 <> 0", "ค่า Friction Angle (Phi-h) ลำดับที่ 2 <> 0",
                                      "Geometry --------------------- OK"}));
}

TEST_F(Verify, CountsThatDisagreeAfterAStoppedCollection) {
  soil(1, 5, 20, 18);
  soil(2, 5, 20, 18);
  soil(2, 5, 20, 18);
  soil(3, 0, 0, 0);
  line(1, {{0, 0}, {10, 0}});
  const auto memo = verify();
  // The collection's own message comes first; the memo goes on with the
  // counts it left (soil walk stopped at 2 of 4 rows).
  EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"Soil properties data is not correct: Soil Properties, row "
                                                        "3: Soil No. 2 is given a second time.\nNumber the soils 1, "
                                                        "2, 3 ... once each, and please recheck."});
  EXPECT_EQ(memo, (std::vector<std::string>{"จำนวนชั้นดินไม่เท่ากับจำนวนคุณสมบัติดิน", "ค่า Unit Weight ลำดับที่ 3 = 0",
                                            "จำนวนชั้นดินใน Geometry ไม่เท่ากับจำนวนชั้นดินใน Soil Properties"}));
}

// Values the collection refuses are listed too, all of them, and the soils
// get no OK line; the collection's message names the first.
TEST_F(Verify, SoilValuesThatNoRealSoilHas) {
  soil(1, -5, 95, 18);
  soil(2, 3, 20, -17.5);
  soil(3, 0, 0, 0);
  line(1, {{0, 0}, {10, 0}});
  line(2, {{0, 1}, {10, 1}});
  line(3, {{0, 2}, {10, 2}});
  const auto memo = verify();
  EXPECT_EQ(ui.messageTexts(),
            std::vector<std::string>{"Soil No. 1: Cohesion = -5 is negative.\nCohesion, friction angle and unit "
                                     "weight are 0 or more; please check the soil properties."});
  EXPECT_EQ(model().DataError, 1);
  EXPECT_EQ(memo,
            (std::vector<std::string>{"ค่า Cohesion ลำดับที่ 1 = -5 < 0", "ค่า Friction Angle ลำดับที่ 1 = 95 >= 90",
                                      "ค่า Unit Weight ลำดับที่ 2 = -17.5 < 0", "Geometry --------------------- OK"}));
}

TEST_F(Verify, AnisotropicValuesThatNoRealSoilHas) {
  options().setItemIndex(Option::CB_Strength_Model, 1);
  anisoSoil(1, 5, -6, 20, 90, 18);
  anisoSoil(2, 0, 0, 0, 0, 0);
  line(1, {{0, 0}, {10, 0}});
  line(2, {{0, 1}, {10, 1}});
  EXPECT_EQ(verify(), (std::vector<std::string>{"ค่า Cohesion (C-h) ลำดับที่ 1 = -6 < 0",
                                                "ค่า Friction Angle (Phi-h) ลำดับที่ 1 = 90 >= 90",
                                                "Geometry --------------------- OK"}));
}

// A refusal outside the soils and the geometry shows its message; the two
// sections, which are fine, say so.
TEST_F(Verify, OtherRefusalsShowTheirMessage) {
  twoLayerSlope();
  options().setItemIndex(Option::CB_Seepage, 1);
  EXPECT_EQ(verify(), (std::vector<std::string>{"Soil Properties --------------------- OK",
                                                "Geometry --------------------- OK"}));
  EXPECT_EQ(model().DataError, 1);
  ASSERT_EQ(ui.messageTexts().size(), 1u);
  EXPECT_EQ(ui.messageTexts()[0].rfind("Water is given by a water line", 0), 0u);
}

// A boundary line that rises above the ground surface: a table of small
// sections, the middle line against the ground (line 3), with the stretches
// worked out by hand.
struct AboveGroundCase {
  const char* name;
  std::vector<std::pair<double, double>> middle, ground;
  std::vector<LineAboveGround> expected;
};

TEST_F(Verify, ABoundaryLineAboveTheGroundIsWarnedOfWithoutRefusingTheRun) {
  const AboveGroundCase cases[] = {
      {"below everywhere", {{0, 5}, {60, 5}}, {{0, 10}, {60, 10}}, {}},
      {"along the surface where it meets it", {{0, 5}, {20, 10}, {60, 10}}, {{0, 10}, {60, 10}}, {}},
      {"crossing once", {{0, 5}, {60, 15}}, {{0, 10}, {60, 10}}, {{2, 30, 60}}},
      // Ground (0,30) (30,30) (60,15) (100,15) against (0,20) (45,18) (100,16):
      // 45 - x/2 = 18 - 2(x-45)/55 meets at x = 1395/25.5 = 54.706.
      {"the layered example before its mending",
       {{0, 20}, {45, 18}, {100, 16}},
       {{0, 30}, {30, 30}, {60, 15}, {100, 15}},
       {{2, 1395.0 / 25.5, 100}}},
      {"twice, over a dip of the ground",
       {{0, 8}, {60, 8}},
       {{0, 10}, {20, 6}, {30, 10}, {40, 6}, {60, 10}},
       {{2, 10, 25}, {2, 35, 50}}},
      {"only where both lines are", {{10, 12}, {30, 12}}, {{0, 10}, {60, 10}}, {{2, 10, 30}}},
  };
  for (const AboveGroundCase& c : cases) {
    SCOPED_TRACE(c.name);
    ProjectFixture f;
    f.soil(1, 5, 20, 18);
    f.soil(2, 5, 20, 18);
    f.soil(3, 0, 0, 0);
    f.line(1, {{0, 0}, {60, 0}});
    int k = 1;
    for (auto [x, y] : c.middle) f.point(2, k++, x, y);
    k = 1;
    for (auto [x, y] : c.ground) f.point(3, k++, x, y);
    const auto memo = VerifyData(f.project, f.ui);
    EXPECT_EQ(f.model().DataError, 0);
    const auto found = LinesAboveGround(f.model());
    ASSERT_EQ(found.size(), c.expected.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
      EXPECT_EQ(found[i].line, c.expected[i].line);
      EXPECT_NEAR(found[i].xFrom, c.expected[i].xFrom, 1e-9);
      EXPECT_NEAR(found[i].xTo, c.expected[i].xTo, 1e-9);
    }
    ASSERT_EQ(memo.size(), 2 + found.size());
    EXPECT_EQ(memo[1], "Geometry --------------------- OK");
  }
}

TEST_F(Verify, TheWarningNamesTheLineAndTheStretchInTheUsersLanguage) {
  soil(1, 5, 20, 18);
  soil(2, 5, 20, 18);
  soil(3, 0, 0, 0);
  line(1, {{0, 0}, {100, 0}});
  line(2, {{0, 20}, {45, 18}, {100, 16}});
  line(3, {{0, 30}, {30, 30}, {60, 15}, {100, 15}});
  const struct {
    std::uint8_t language;
    const char* warning;
  } languages[] = {
      {kLanguageEnglish,
       "Warning: boundary line 2 lies above the ground surface (line 3) from x = 54.71 to 100; the soil below it "
       "shows there as a band above the ground. Check the points of line 2 in Geometry."},
      {kLanguageThai,
       "คำเตือน: เส้นขอบชั้นดินที่ 2 อยู่สูงกว่าผิวดิน (เส้นที่ 3) ช่วง x = 54.71 ถึง 100 ดินใต้เส้นนี้จึงปรากฏเป็นแถบเหนือผิวดิน "
       "กรุณาตรวจสอบจุดของเส้นที่ 2 ใน Geometry"},
  };
  for (const auto& l : languages) {
    model().Language = l.language;
    EXPECT_EQ(verify(), (std::vector<std::string>{"Soil Properties --------------------- OK",
                                                  "Geometry --------------------- OK", l.warning}));
  }
}

// Counts calls to empty() so that the tables left alone can be seen.
class CountingStore final : public WorkingStore {
 public:
  explicit CountingStore(std::unique_ptr<WorkingStore> inner) : m_inner(std::move(inner)) {}
  int rowCount(Table t) const override { return m_inner->rowCount(t); }
  std::vector<Row> rows(Table t) const override { return m_inner->rows(t); }
  Row rowAt(Table t, int p) const override { return m_inner->rowAt(t, p); }
  void append(const Row& r) override { m_inner->append(r); }
  void update(int p, const Row& r) override { m_inner->update(p, r); }
  void remove(Table t, int p) override { m_inner->remove(t, p); }
  void empty(Table t) override {
    emptied.push_back(t);
    m_inner->empty(t);
  }
  void beginTransaction() override { m_inner->beginTransaction(); }
  void commitTransaction() override { m_inner->commitTransaction(); }
  void rollbackTransaction() override { m_inner->rollbackTransaction(); }
  std::vector<Table> emptied;

 private:
  std::unique_ptr<WorkingStore> m_inner;
};

TEST(EmptyWorkingTables, EmptiesOnlyTablesWithRowsAndKeepsTheRootTables) {
  CountingStore store(SqliteWorkingStore::OpenInMemory());
  for (Table t : {Table::Soil_Prop, Table::Results, Table::NonCirSlip_Spencer, Table::Root_No, Table::Root_Layer,
                  Table::Root_Position}) {
    store.append(Row(t));
  }
  EmptyWorkingTables(store);
  EXPECT_EQ(store.emptied, (std::vector<Table>{Table::Soil_Prop, Table::Results, Table::NonCirSlip_Spencer}));
  for (Table t : AllTables()) {
    const bool root = t == Table::Root_No || t == Table::Root_Layer || t == Table::Root_Position;
    EXPECT_EQ(store.rowCount(t), root ? 1 : 0) << TableName(t);
  }
}

TEST(NewProject, ResetsTablesOptionsModelAndWorkArea) {
  ProjectFixture f;
  f.twoLayerSlope();
  f.options().setText(Option::E_Project_Name, "Old");
  f.options().setText(Option::E_Xgrid_Increment, "3");
  f.options().setItemIndex(Option::CB_Bottom_Line_Choose, 1);
  f.options().setItemIndex(Option::RG_Theory, 2);
  f.options().setChecked(Option::CB_Ordinary, true);
  f.model().StrengthModel = 1;
  f.model().DataError = 1;
  f.model().BottomLineChoice = 1;
  f.project.ProjectFilePath = "/somewhere/old.pdd";
  f.project.drawing.GridSize = 14;

  int loadingDuringSettings = -1;
  NewProject(f.project, [&](Project& p) {
    loadingDuringSettings = p.ProjectLoading;
    p.drawing.WorkAreaXmax = 200.0;  // the settings file's work area ...
    p.drawing.ScaleX = 5.0;
    p.drawing.GridSize = 12;  // ... and another setting
    p.options.setChecked(Option::CB_Ordinary, true);
  });

  for (Table t : AllTables()) EXPECT_EQ(f.store().rowCount(t), 0) << TableName(t);
  OptionValues expected;
  expected.setChecked(Option::CB_Ordinary, true);  // from the settings file
  EXPECT_EQ(f.options(), expected);
  EXPECT_EQ(loadingDuringSettings, 1);
  EXPECT_EQ(f.project.ProjectLoading, 0);
  EXPECT_EQ(f.model().AnalysisTheory, 1);
  EXPECT_EQ(f.model().UseOrdinary, 0);
  EXPECT_EQ(f.model().UseSpencer, 1);
  EXPECT_EQ(f.model().StrengthModel, 0);
  EXPECT_EQ(f.model().DataError, 0);
  EXPECT_EQ(f.model().BottomLineChoice, 0);
  EXPECT_TRUE(f.project.ProjectFilePath.empty());
  DrawingSettings drawing;
  drawing.GridSize = 12;  // kept from the settings file
  EXPECT_EQ(f.project.drawing, drawing);
}

TEST(NewProject, LoadingEndsEvenWhenTheSettingsFail) {
  ProjectFixture f;
  EXPECT_THROW(NewProject(f.project, [](Project&) { throw std::runtime_error("bad settings"); }), std::runtime_error);
  EXPECT_EQ(f.project.ProjectLoading, 0);
}

}  // namespace
}  // namespace pelodyn
