// The option values of a project, held by the name of the control that shows
// each one: the text of an edit box, the item index of a combo box or radio
// group, the state of a check box. The desktop program mirrors them in its
// controls; the core reads and writes them here.
//
// Only the controls listed in options.cpp exist; naming any other control is
// a programming error (std::logic_error). Reading an edit box as a number
// converts its text with StrToInt / StrToFloat, so a text that does not
// convert raises ConversionError with the user's message.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pelodyn {

enum class ControlKind { Edit, Choice, Check };

struct ControlDef {
  std::string_view name;
  ControlKind kind;
  std::string_view defaultText;  // Edit
  int defaultIndex;              // Choice: item index; Check: 1 checked, 0 not
  // Names the project (its name, location, engineer) and reaches no result.
  bool identity = false;
};

// Every option control with the value New Project gives it.
const std::vector<ControlDef>& OptionControls();

class OptionValues {
 public:
  OptionValues();  // every control at its default

  const std::string& text(std::string_view control) const;
  void setText(std::string_view control, std::string_view text);

  int itemIndex(std::string_view control) const;
  void setItemIndex(std::string_view control, int index);
  // For a caller that reads a combo box or radio group on every trial: its
  // place, found once (a logic error for an unknown name), then its index.
  static std::size_t ChoiceSlot(std::string_view control);
  int itemIndexAt(std::size_t choiceSlot) const { return m_values[choiceSlot].index; }

  bool checked(std::string_view control) const;
  void setChecked(std::string_view control, bool checked);

  std::int32_t readInteger(std::string_view control) const;
  double readReal(std::string_view control) const;

  // Puts one control, or every control, back to its default.
  void resetToDefault(std::string_view control);
  void resetAll();

  bool operator==(const OptionValues&) const = default;

 private:
  struct Value {
    std::string text;
    int index = 0;
    bool operator==(const Value&) const = default;
  };
  static std::size_t slot(std::string_view control, ControlKind kind);
  std::vector<Value> m_values;  // parallel to OptionControls()
};

}  // namespace pelodyn
