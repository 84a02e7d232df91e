#include "model/line_choice.h"

#include <gtest/gtest.h>

#include "fixture.h"
#include "texts/messages.h"

namespace pelodyn {
namespace {

using testing::ProjectFixture;

class LineChoiceTest : public ::testing::Test, public ProjectFixture {
 protected:
  void describedSoil(int no, double c, const std::string& description, std::int32_t color) {
    Row r(Table::Soil_Prop);
    r.set(SoilCommonField::LineNo, no)
        .set(SoilField::Cohesion, c)
        .set(SoilCommonField::Description, std::string_view(description))
        .set(SoilCommonField::Color, color);
    store().append(r);
  }
};

TEST_F(LineChoiceTest, ListsEverySoilWithItsShortDescriptionAndColour) {
  describedSoil(1, 10, "Clay", 0x80FFFF);
  describedSoil(2, 5, "Weathered sandstone layer", 0x80FF80);
  describedSoil(3, 0, "ดินเหนียวอ่อนมากชั้นบน", 0);
  describedSoil(4, 0, "Air", 0);
  const LineChoice choice = PrepareLineChoice(project);
  EXPECT_TRUE(choice.messages.empty());
  ASSERT_EQ(choice.entries.size(), 4u);
  EXPECT_EQ(choice.entries[0].text, "1 : Clay");
  EXPECT_EQ(choice.entries[0].color, 0x80FFFF);
  // Longer than 15 characters: the first 15 and "...", counted in
  // characters, not bytes.
  EXPECT_EQ(choice.entries[1].text, "2 : Weathered sands...");
  EXPECT_EQ(choice.entries[1].description, "Weathered sandstone layer");
  EXPECT_EQ(choice.entries[2].text, "3 : ดินเหนียวอ่อนมา...");  // marks count as characters, as in the file
  EXPECT_EQ(choice.soilCount, 4);
}

TEST_F(LineChoiceTest, ChecksTheAirLayerAndTheSoilNumbers) {
  struct Case {
    const char* what;
    std::vector<std::tuple<int, double, double, double>> soils;  // no, c, phi, unit weight
    std::vector<int> messages;
    std::size_t entries;
  };
  const Case cases[] = {
      {"air last, numbered 1 to N", {{1, 10, 30, 18}, {2, 0, 0, 0}}, {}, 2},
      {"a strong last layer warns and still lists", {{1, 10, 30, 18}, {2, 0, 0, 18}}, {11}, 2},
      {"a last number other than N stops", {{1, 10, 30, 18}, {3, 0, 0, 0}}, {9}, 0},
      {"both", {{1, 10, 30, 18}, {5, 1, 0, 0}}, {11, 9}, 0},
      {"an empty table lists nothing and says nothing", {}, {}, 0},
  };
  for (const Case& c : cases) {
    store().empty(Table::Soil_Prop);
    for (const auto& [no, coh, phi, gamma] : c.soils) soil(no, coh, phi, gamma);
    const LineChoice choice = PrepareLineChoice(project);
    EXPECT_EQ(choice.messages, c.messages) << c.what;
    EXPECT_EQ(choice.entries.size(), c.entries) << c.what;
  }
}

// The soil-number message names the last row and its number as the soil
// grid shows them, in the user's language; the others are the table's.
TEST_F(LineChoiceTest, TheNumberMessageNamesTheLastRow) {
  soil(1, 10, 30, 18);
  soil(3, 0, 0, 0);
  struct Case {
    std::uint8_t language;
    const char* expected;
  };
  for (const Case& c :
       {Case{kLanguageEnglish,
             "Soil properties data is not correct: Soil Properties, row 2: Soil No. = 3, but the last soil must be "
             "No. 2, the number of soils (the soils are numbered 1 to 2).\nPlease recheck."},
        Case{kLanguageThai,
             "ป้อนคุณสมบัติดินไม่ถูกต้อง: คุณสมบัติดิน แถวที่ 2: ชั้นดิน = 3 แต่ชั้นดินสุดท้ายต้องเป็นหมายเลข 2 ตามจำนวนชั้นดิน "
             "(หมายเลข 1 ถึง 2)\nกรุณาตรวจสอบข้อมูล"}}) {
    model().Language = c.language;
    EXPECT_EQ(PrepareLineChoice(project).messages, (std::vector<int>{9}));
    EXPECT_EQ(LineChoiceText(project, 9), c.expected);
    EXPECT_EQ(LineChoiceText(project, 11), MessageText(c.language, 11));
  }
}

TEST_F(LineChoiceTest, TheAnisotropicModelReadsItsOwnTable) {
  soil(1, 10, 30, 18);  // a Mohr-Coulomb table that would pass
  soil(2, 0, 0, 0);
  project.options.setItemIndex(Option::CB_Strength_Model, 1);
  anisoSoil(1, 10, 12, 30, 28, 18);
  anisoSoil(2, 0, 0, 0, 1, 0);
  const LineChoice choice = PrepareLineChoice(project);
  EXPECT_EQ(choice.messages, (std::vector<int>{12}));
  EXPECT_EQ(choice.entries.size(), 2u);
}

}  // namespace
}  // namespace pelodyn
