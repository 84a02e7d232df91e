#include "model/options.h"

#include <stdexcept>
#include <unordered_map>

#include "model/numbers.h"

namespace pelodyn {
namespace {

constexpr ControlKind E = ControlKind::Edit;
constexpr ControlKind C = ControlKind::Choice;
constexpr ControlKind K = ControlKind::Check;

const std::vector<ControlDef> kControls = {
    // Project information
    {Option::E_Project_Name, E, "New Project", 0, true},
    {Option::E_Lacation, E, "New Location", 0, true},
    {Option::E_Engineer, E, "New Engineer", 0, true},
    // Theory and methods
    {Option::RG_Theory, C, "", 1},
    {Option::CB_Ordinary, K, "", 0},
    {Option::CB_Simp_Janbu, K, "", 1},
    {Option::CB_Simp_Bishop, K, "", 1},
    {Option::CB_Spencer, K, "", 1},
    // Soils and bottom line
    {Option::CB_Strength_Model, C, "", 0},
    {Option::CB_Advance_Prop_Disable, K, "", 0},
    {Option::CB_Bottom_Line_Choose, C, "", 0},
    {Option::E_BottomLine, E, "1", 0},
    // Water
    {Option::CB_Seepage, C, "", 0},
    {Option::CB_Phreatic_Peizometric, C, "", 0},
    {Option::E_Unit_Weight_Water, E, "1.0", 0},
    {Option::CB_Ru_Condition, C, "", 0},
    {Option::E_Ru_average, E, "0", 0},
    // Seismic, loads, crack, anchors
    {Option::CB_Seismic_Disable, K, "", 1},
    {Option::E_Kh, E, "0", 0},
    {Option::E_Kv, E, "0", 0},
    {Option::CB_LineLoad_Disable, K, "", 1},
    {Option::CB_StripLoad_Disable, K, "", 1},
    {Option::CB_Tension_Disable, K, "", 1},
    {Option::E_Water_Unit_Weight, E, "1.0", 0},
    {Option::E_Percent_Water, E, "0", 0},
    {Option::CB_Anchor_Disable, K, "", 1},
    {Option::RG_Apply_as, C, "", 0},
    // Analysis setting
    {Option::E_Pass_Criteria, E, "0.01", 0},
    {Option::CB_Circle_Decrement, C, "", 0},
    {Option::E_Cir_Decrement, E, "10", 0},
    {Option::E_Cir_Slice, E, "10", 0},
    {Option::E_Cir_Depth_Tallest, E, "1", 0},
    {Option::E_Cir_Add_Radius, E, "0", 0},
    {Option::E_NonCir_Slice, E, "10", 0},
    {Option::E_NonCir_Depth_Tallest, E, "0", 0},
    // Circular search
    {Option::CB_Cir_Search, C, "", 0},
    {Option::E_X_LeftDown, E, "0", 0},
    {Option::E_Y_LeftDown, E, "0", 0},
    {Option::E_X_RightDown, E, "0", 0},
    {Option::E_Y_RightDown, E, "0", 0},
    {Option::E_X_RightTop, E, "0", 0},
    {Option::E_Y_RightTop, E, "0", 0},
    {Option::E_12_Division, E, "5", 0},
    {Option::E_23_Division, E, "5", 0},
    {Option::CB_Grid_Increment, K, "", 0},
    {Option::E_Xgrid_Increment, E, "1", 0},
    {Option::E_Ygrid_Increment, E, "1", 0},
    {Option::E_X_Center, E, "0", 0},
    {Option::E_Y_Center, E, "0", 0},
    {Option::E_Radius, E, "0", 0},
    {Option::E_Xauto_Start, E, "0", 0},
    {Option::E_Yauto_Start, E, "0", 0},
    {Option::E_Xauto_Increment, E, "0", 0},
    {Option::E_Yauto_Increment, E, "0", 0},
    // Irregular search
    {Option::CB_NonCir_Search, C, "", 1},
    {Option::E_NonCir_X_Center, E, "0", 0},
    {Option::E_NonCir_Y_Center, E, "0", 0},
    {Option::E_No_Direction, E, "8", 0},
    {Option::E_Move_Length, E, "0", 0},
    {Option::E_Divide_Step, E, "3", 0},
    {Option::CB_Auto_Center, K, "", 0},
    // Moving-centre sweep, on the main window
    {Option::CB_Moving_Center, K, "", 0},
    {Option::E_MCX, E, "1", 0},
    {Option::E_MCY, E, "1", 0},
    {Option::E_Bound_L, E, "0", 0},
    {Option::E_Bound_R, E, "0", 0},
};

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

void OptionValues::resetToDefault(std::string_view control) {
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    if (kControls[i].name == control) {
      m_values[i].text = std::string(kControls[i].defaultText);
      m_values[i].index = kControls[i].defaultIndex;
      return;
    }
  }
  throw std::logic_error("Unknown option control " + std::string(control));
}

std::size_t OptionValues::slot(std::string_view control, ControlKind kind) {
  // Looked up by name on every trial's progress: by a map, not along the list.
  static const std::unordered_map<std::string_view, std::size_t> kSlots = [] {
    std::unordered_map<std::string_view, std::size_t> slots;
    for (std::size_t i = 0; i < kControls.size(); ++i) slots.emplace(kControls[i].name, i);
    return slots;
  }();
  const auto found = kSlots.find(control);
  if (found == kSlots.end()) throw std::logic_error("Unknown option control " + std::string(control));
  if (kControls[found->second].kind != kind) {
    throw std::logic_error("Option control " + std::string(control) + " is not of the kind asked for");
  }
  return found->second;
}

const std::string& OptionValues::text(std::string_view control) const {
  return m_values[slot(control, ControlKind::Edit)].text;
}

void OptionValues::setText(std::string_view control, std::string_view text) {
  m_values[slot(control, ControlKind::Edit)].text = std::string(text);
}

std::size_t OptionValues::ChoiceSlot(std::string_view control) {
  return slot(control, ControlKind::Choice);
}

int OptionValues::itemIndex(std::string_view control) const {
  return m_values[slot(control, ControlKind::Choice)].index;
}

void OptionValues::setItemIndex(std::string_view control, int index) {
  m_values[slot(control, ControlKind::Choice)].index = index;
}

bool OptionValues::checked(std::string_view control) const {
  return m_values[slot(control, ControlKind::Check)].index != 0;
}

void OptionValues::setChecked(std::string_view control, bool checked) {
  m_values[slot(control, ControlKind::Check)].index = checked ? 1 : 0;
}

// The error names the control, so the message can name the field the user
// typed in.
std::int32_t OptionValues::readInteger(std::string_view control) const {
  try {
    return StrToInt(text(control));
  } catch (ConversionError& e) {
    e.setField(control);
    throw;
  }
}

double OptionValues::readReal(std::string_view control) const {
  try {
    return StrToFloat(text(control));
  } catch (ConversionError& e) {
    e.setField(control);
    throw;
  }
}

}  // namespace pelodyn
