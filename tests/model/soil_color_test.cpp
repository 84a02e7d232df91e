#include "model/soil_color.h"

#include <gtest/gtest.h>

#include "model/project.h"
#include "persistence/sqlite_store.h"

namespace pelodyn {
namespace {

TEST(SoilColorDefault, TenColoursThenTheLastDigit) {
  const std::pair<int, std::int32_t> cases[] = {
      {1, 0x80FFFF}, {2, 0x80FF80}, {3, 0xFFFF80},   {4, 0xFF9933},  {5, 0xFF8080},  {6, 0xFF80FF},
      {7, 0x8080FF}, {8, 0x0060BF}, {9, 0x4080FF},   {10, 0x00A66A}, {13, 0xFFFF80}, {19, 0x4080FF},
      {20, 0},       {30, 0},       {101, 0x80FFFF}, {0, 0},         {-3, 0},
  };
  for (auto [k, colour] : cases) EXPECT_EQ(SoilColorDefault(k), colour) << k;
}

TEST(AppendSoilRow, ColoursByPositionOutsideProjectLoading) {
  Project project(SqliteWorkingStore::OpenInMemory());
  Row r(Table::Soil_Prop);
  r.set(SoilCommonField::LineNo, 1).set(SoilCommonField::Color, 42);
  AppendSoilRow(project, r);  // first row: colour of soil 1
  AppendSoilRow(project, r);  // second row: colour of soil 2, whatever its number says
  project.ProjectLoading = 1;
  AppendSoilRow(project, r);  // a file being read keeps its own colour
  const auto rows = project.store->rows(Table::Soil_Prop);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].integer(SoilCommonField::Color), 0x80FFFF);
  EXPECT_EQ(rows[1].integer(SoilCommonField::Color), 0x80FF80);
  EXPECT_EQ(rows[2].integer(SoilCommonField::Color), 42);
}

}  // namespace
}  // namespace pelodyn
