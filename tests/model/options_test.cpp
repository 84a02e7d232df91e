#include "model/options.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "model/numbers.h"

namespace pelodyn {
namespace {

TEST(OptionValues, StartAtTheNewProjectDefaults) {
  OptionValues o;
  const std::pair<const char*, const char*> texts[] = {
      {OptionCName(Option::E_Project_Name), "New Project"},
      {OptionCName(Option::E_Lacation), "New Location"},
      {OptionCName(Option::E_Engineer), "New Engineer"},
      {OptionCName(Option::E_BottomLine), "1"},
      {OptionCName(Option::E_Unit_Weight_Water), "1.0"},
      {OptionCName(Option::E_Ru_average), "0"},
      {OptionCName(Option::E_Pass_Criteria), "0.01"},
      {OptionCName(Option::E_Cir_Decrement), "10"},
      {OptionCName(Option::E_Cir_Slice), "10"},
      {OptionCName(Option::E_Cir_Depth_Tallest), "1"},
      {OptionCName(Option::E_NonCir_Depth_Tallest), "0"},
      {OptionCName(Option::E_12_Division), "5"},
      {OptionCName(Option::E_Xgrid_Increment), "1"},
      {OptionCName(Option::E_No_Direction), "8"},
      {OptionCName(Option::E_Divide_Step), "3"},
      {OptionCName(Option::E_MCX), "1"},
      {OptionCName(Option::E_Water_Unit_Weight), "1.0"},
      {OptionCName(Option::E_Percent_Water), "0"},
  };
  for (auto [control, text] : texts) EXPECT_EQ(o.text(OptionNamed(control)), text) << control;
  EXPECT_EQ(o.itemIndex(Option::RG_Theory), 1);
  EXPECT_EQ(o.itemIndex(Option::CB_NonCir_Search), 1);
  EXPECT_EQ(o.itemIndex(Option::CB_Cir_Search), 0);
  EXPECT_FALSE(o.checked(Option::CB_Ordinary));
  EXPECT_TRUE(o.checked(Option::CB_Spencer));
  EXPECT_TRUE(o.checked(Option::CB_Seismic_Disable));
  EXPECT_TRUE(o.checked(Option::CB_Tension_Disable));
  EXPECT_FALSE(o.checked(Option::CB_Advance_Prop_Disable));
  EXPECT_FALSE(o.checked(Option::CB_Grid_Increment));
}

TEST(OptionValues, EditBoxesReadAsNumbersWithConversionErrors) {
  OptionValues o;
  o.setText(Option::E_Kh, "0.15");
  EXPECT_DOUBLE_EQ(o.readReal(Option::E_Kh), 0.15);
  o.setText(Option::E_Cir_Slice, "x1");
  EXPECT_THROW(
      {
        try {
          o.readInteger(Option::E_Cir_Slice);
        } catch (const ConversionError& e) {
          EXPECT_STREQ(e.what(), "'x1' is not a valid integer value");
          throw;
        }
      },
      ConversionError);
}

TEST(OptionValues, UnknownControlsAndWrongKindsAreProgrammingErrors) {
  OptionValues o;
  EXPECT_THROW(OptionNamed("E_No_Such_Box"), std::logic_error);
  EXPECT_THROW(o.checked(Option::E_Kh), std::logic_error);
  EXPECT_THROW(o.setItemIndex(Option::CB_Spencer, 1), std::logic_error);
}

// The twins' object names are the windows' own and stay as they are; a twin
// is never another option's name.
TEST(OptionTwins, KeepTheirObjectNames) {
  const std::pair<Option, const char*> twins[] = {{Option::CB_Ordinary, "CB_Ordinary_Method"},
                                                  {Option::CB_Simp_Janbu, "CB_Simp_Janbu_Method"},
                                                  {Option::CB_Simp_Bishop, "CB_Simp_Bishop_Method"},
                                                  {Option::CB_Spencer, "CB_Spencer_Method"},
                                                  {Option::CB_Phreatic_Peizometric, "CB_WaterLine_Type"},
                                                  {Option::E_Water_Unit_Weight, "E_TCrack_Water_Unit_Weight"},
                                                  {Option::RG_Apply_as, "CB_Anchor_Type"},
                                                  {Option::E_Lacation, "E_Location"}};
  std::size_t withTwin = 0;
  for (Option option : AllOptions()) {
    const char* twin = OptionTwinName(option);
    if (twin == nullptr) continue;
    ++withTwin;
    EXPECT_FALSE(FindOption(twin).has_value()) << twin;
  }
  EXPECT_EQ(withTwin, std::size(twins));
  for (const auto& [option, name] : twins) EXPECT_STREQ(OptionTwinName(option), name);
}

TEST(OptionValues, ResetPutsDefaultsBack) {
  OptionValues o;
  o.setText(Option::E_Kh, "0.3");
  o.setChecked(Option::CB_Seismic_Disable, false);
  o.resetToDefault(Option::E_Kh);
  EXPECT_EQ(o.text(Option::E_Kh), "0");
  EXPECT_FALSE(o.checked(Option::CB_Seismic_Disable));
  o.resetAll();
  EXPECT_EQ(o, OptionValues());
}

}  // namespace
}  // namespace pelodyn
