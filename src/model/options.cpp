#include "model/options.h"

#include <stdexcept>

#include "model/numbers.h"

namespace pelodyn {
namespace {

struct Default {
  Option key;
  std::string_view text;  // Edit
  int index;              // Choice: item index; Check: 1 checked, 0 not
  bool identity = false;
};

const Default kDefaults[] = {
    // Project information
    {Option::E_Project_Name, "New Project", 0, true},
    {Option::E_Lacation, "New Location", 0, true},
    {Option::E_Engineer, "New Engineer", 0, true},
    // Theory and methods
    {Option::RG_Theory, "", 1},
    {Option::CB_Ordinary, "", 0},
    {Option::CB_Simp_Janbu, "", 1},
    {Option::CB_Simp_Bishop, "", 1},
    {Option::CB_Spencer, "", 1},
    // Soils and bottom line
    {Option::CB_Strength_Model, "", 0},
    {Option::CB_Advance_Prop_Disable, "", 0},
    {Option::CB_Bottom_Line_Choose, "", 0},
    {Option::E_BottomLine, "1", 0},
    // Water
    {Option::CB_Seepage, "", 0},
    {Option::CB_Phreatic_Peizometric, "", 0},
    {Option::E_Unit_Weight_Water, "1.0", 0},
    {Option::CB_Ru_Condition, "", 0},
    {Option::E_Ru_average, "0", 0},
    // Seismic, loads, crack, anchors
    {Option::CB_Seismic_Disable, "", 1},
    {Option::E_Kh, "0", 0},
    {Option::E_Kv, "0", 0},
    {Option::CB_LineLoad_Disable, "", 1},
    {Option::CB_StripLoad_Disable, "", 1},
    {Option::CB_Tension_Disable, "", 1},
    {Option::E_Water_Unit_Weight, "1.0", 0},
    {Option::E_Percent_Water, "0", 0},
    {Option::CB_Anchor_Disable, "", 1},
    {Option::RG_Apply_as, "", 0},
    // Analysis setting
    {Option::E_Pass_Criteria, "0.01", 0},
    {Option::CB_Circle_Decrement, "", 0},
    {Option::E_Cir_Decrement, "10", 0},
    {Option::E_Cir_Slice, "10", 0},
    {Option::E_Cir_Depth_Tallest, "1", 0},
    {Option::E_Cir_Add_Radius, "0", 0},
    {Option::E_NonCir_Slice, "10", 0},
    {Option::E_NonCir_Depth_Tallest, "0", 0},
    // Circular search
    {Option::CB_Cir_Search, "", 0},
    {Option::E_X_LeftDown, "0", 0},
    {Option::E_Y_LeftDown, "0", 0},
    {Option::E_X_RightDown, "0", 0},
    {Option::E_Y_RightDown, "0", 0},
    {Option::E_X_RightTop, "0", 0},
    {Option::E_Y_RightTop, "0", 0},
    {Option::E_12_Division, "5", 0},
    {Option::E_23_Division, "5", 0},
    {Option::CB_Grid_Increment, "", 0},
    {Option::E_Xgrid_Increment, "1", 0},
    {Option::E_Ygrid_Increment, "1", 0},
    {Option::E_X_Center, "0", 0},
    {Option::E_Y_Center, "0", 0},
    {Option::E_Radius, "0", 0},
    {Option::E_Xauto_Start, "0", 0},
    {Option::E_Yauto_Start, "0", 0},
    {Option::E_Xauto_Increment, "0", 0},
    {Option::E_Yauto_Increment, "0", 0},
    // Irregular search
    {Option::CB_NonCir_Search, "", 1},
    {Option::E_NonCir_X_Center, "0", 0},
    {Option::E_NonCir_Y_Center, "0", 0},
    {Option::E_No_Direction, "8", 0},
    {Option::E_Move_Length, "0", 0},
    {Option::E_Divide_Step, "3", 0},
    {Option::CB_Auto_Center, "", 0},
    // Moving-centre sweep, on the main window
    {Option::CB_Moving_Center, "", 0},
    {Option::E_MCX, "1", 0},
    {Option::E_MCY, "1", 0},
    {Option::E_Bound_L, "0", 0},
    {Option::E_Bound_R, "0", 0},
    // Beyond the project file's layout (kept in the companion file)
    {Option::CB_Robust_Spencer, "", 0},
};
static_assert(std::size(kDefaults) == kOptionCount, "every option has its default");

const std::vector<ControlDef> kControls = [] {
  std::vector<ControlDef> controls;
  for (const Default& d : kDefaults) {
    if (OptionIndex(d.key) != controls.size()) throw std::logic_error("option defaults out of key order");
    controls.push_back({d.key, OptionName(d.key), OptionKind(d.key), d.text, d.index, d.identity});
  }
  return controls;
}();

}  // namespace

const std::vector<ControlDef>& OptionControls() {
  return kControls;
}

OptionValues::OptionValues() {
  resetAll();
}

void OptionValues::resetAll() {
  m_values.assign(kControls.size(), Value{});
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    m_values[i].text = std::string(kControls[i].defaultText);
    m_values[i].index = kControls[i].defaultIndex;
  }
}

void OptionValues::resetToDefault(Option option) {
  const std::size_t i = OptionIndex(option);
  m_values[i].text = std::string(kControls[i].defaultText);
  m_values[i].index = kControls[i].defaultIndex;
}

std::size_t OptionValues::slot(Option option, ControlKind kind) {
  if (OptionKind(option) != kind) {
    throw std::logic_error("Option control " + std::string(OptionName(option)) + " is not of the kind asked for");
  }
  return OptionIndex(option);
}

const std::string& OptionValues::text(Option option) const {
  return m_values[slot(option, ControlKind::Edit)].text;
}

void OptionValues::setText(Option option, std::string_view text) {
  m_values[slot(option, ControlKind::Edit)].text = std::string(text);
}

int OptionValues::itemIndex(Option option) const {
  return m_values[slot(option, ControlKind::Choice)].index;
}

void OptionValues::setItemIndex(Option option, int index) {
  m_values[slot(option, ControlKind::Choice)].index = index;
}

bool OptionValues::checked(Option option) const {
  return m_values[slot(option, ControlKind::Check)].index != 0;
}

void OptionValues::setChecked(Option option, bool checked) {
  m_values[slot(option, ControlKind::Check)].index = checked ? 1 : 0;
}

// The error names the control, so the message can name the field the user
// typed in.
std::int32_t OptionValues::readInteger(Option option) const {
  try {
    return StrToInt(text(option));
  } catch (ConversionError& e) {
    e.setField(OptionName(option));
    throw;
  }
}

double OptionValues::readReal(Option option) const {
  try {
    return StrToFloat(text(option));
  } catch (ConversionError& e) {
    e.setField(OptionName(option));
    throw;
  }
}

}  // namespace pelodyn
