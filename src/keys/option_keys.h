// The options of a project, each a typed key, with the one table of their
// names. A name is the object name of the control that shows the option, and
// the name the project and settings files use, so it never changes.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace pelodyn {

enum class ControlKind { Edit, Choice, Check };

// One line per option: its key (the control's name) and the kind of control.
#define PELODYN_OPTIONS(X)           \
  X(E_Project_Name, Edit)            \
  X(E_Lacation, Edit)                \
  X(E_Engineer, Edit)                \
  X(RG_Theory, Choice)               \
  X(CB_Ordinary, Check)              \
  X(CB_Simp_Janbu, Check)            \
  X(CB_Simp_Bishop, Check)           \
  X(CB_Spencer, Check)               \
  X(CB_Strength_Model, Choice)       \
  X(CB_Advance_Prop_Disable, Check)  \
  X(CB_Bottom_Line_Choose, Choice)   \
  X(E_BottomLine, Edit)              \
  X(CB_Seepage, Choice)              \
  X(CB_Phreatic_Peizometric, Choice) \
  X(E_Unit_Weight_Water, Edit)       \
  X(CB_Ru_Condition, Choice)         \
  X(E_Ru_average, Edit)              \
  X(CB_Seismic_Disable, Check)       \
  X(E_Kh, Edit)                      \
  X(E_Kv, Edit)                      \
  X(CB_LineLoad_Disable, Check)      \
  X(CB_StripLoad_Disable, Check)     \
  X(CB_Tension_Disable, Check)       \
  X(E_Water_Unit_Weight, Edit)       \
  X(E_Percent_Water, Edit)           \
  X(CB_Anchor_Disable, Check)        \
  X(RG_Apply_as, Choice)             \
  X(E_Pass_Criteria, Edit)           \
  X(CB_Circle_Decrement, Choice)     \
  X(E_Cir_Decrement, Edit)           \
  X(E_Cir_Slice, Edit)               \
  X(E_Cir_Depth_Tallest, Edit)       \
  X(E_Cir_Add_Radius, Edit)          \
  X(E_NonCir_Slice, Edit)            \
  X(E_NonCir_Depth_Tallest, Edit)    \
  X(CB_Cir_Search, Choice)           \
  X(E_X_LeftDown, Edit)              \
  X(E_Y_LeftDown, Edit)              \
  X(E_X_RightDown, Edit)             \
  X(E_Y_RightDown, Edit)             \
  X(E_X_RightTop, Edit)              \
  X(E_Y_RightTop, Edit)              \
  X(E_12_Division, Edit)             \
  X(E_23_Division, Edit)             \
  X(CB_Grid_Increment, Check)        \
  X(E_Xgrid_Increment, Edit)         \
  X(E_Ygrid_Increment, Edit)         \
  X(E_X_Center, Edit)                \
  X(E_Y_Center, Edit)                \
  X(E_Radius, Edit)                  \
  X(E_Xauto_Start, Edit)             \
  X(E_Yauto_Start, Edit)             \
  X(E_Xauto_Increment, Edit)         \
  X(E_Yauto_Increment, Edit)         \
  X(CB_NonCir_Search, Choice)        \
  X(E_NonCir_X_Center, Edit)         \
  X(E_NonCir_Y_Center, Edit)         \
  X(E_No_Direction, Edit)            \
  X(E_Move_Length, Edit)             \
  X(E_Divide_Step, Edit)             \
  X(CB_Auto_Center, Check)           \
  X(CB_Moving_Center, Check)         \
  X(E_MCX, Edit)                     \
  X(E_MCY, Edit)                     \
  X(E_Bound_L, Edit)                 \
  X(E_Bound_R, Edit)                 \
  X(CB_Robust_Spencer, Check)

enum class Option : int {
#define PELODYN_OPTION_KEY(key, kind) key,
  PELODYN_OPTIONS(PELODYN_OPTION_KEY)
#undef PELODYN_OPTION_KEY
};

namespace option_table {
struct Entry {
  std::string_view name;
  ControlKind kind;
};
inline constexpr Entry kEntries[] = {
#define PELODYN_OPTION_ENTRY(key, kind) {#key, ControlKind::kind},
    PELODYN_OPTIONS(PELODYN_OPTION_ENTRY)
#undef PELODYN_OPTION_ENTRY
};
}  // namespace option_table

inline constexpr std::size_t kOptionCount = std::size(option_table::kEntries);

constexpr std::size_t OptionIndex(Option option) {
  return static_cast<std::size_t>(option);
}
// The option's name: its control's object name and its key in the files.
constexpr std::string_view OptionName(Option option) {
  return option_table::kEntries[OptionIndex(option)].name;
}
constexpr ControlKind OptionKind(Option option) {
  return option_table::kEntries[OptionIndex(option)].kind;
}
// The same name as a C string, for tables of object names that hold
// options and other controls alike.
constexpr const char* OptionCName(Option option) {
  return option_table::kEntries[OptionIndex(option)].name.data();
}
// The main window's and the strip's own controls that show an option of
// the step-by-step form under a name of their own: the one table of their
// object names. nullptr for an option without such a twin.
constexpr const char* OptionTwinName(Option option) {
  switch (option) {
    case Option::CB_Ordinary:
      return "CB_Ordinary_Method";
    case Option::CB_Simp_Janbu:
      return "CB_Simp_Janbu_Method";
    case Option::CB_Simp_Bishop:
      return "CB_Simp_Bishop_Method";
    case Option::CB_Spencer:
      return "CB_Spencer_Method";
    case Option::CB_Phreatic_Peizometric:
      return "CB_WaterLine_Type";
    case Option::E_Water_Unit_Weight:
      return "E_TCrack_Water_Unit_Weight";
    case Option::RG_Apply_as:
      return "CB_Anchor_Type";
    case Option::E_Lacation:
      return "E_Location";
    default:
      return nullptr;
  }
}

// Every option, in the order of the table.
const std::array<Option, kOptionCount>& AllOptions();
// The option a control or file names, if any.
std::optional<Option> FindOption(std::string_view name);
// The option a control names that must be one (std::logic_error otherwise).
Option OptionNamed(std::string_view name);

}  // namespace pelodyn
