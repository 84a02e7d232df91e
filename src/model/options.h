// The option values of a project, held by option key (keys/option_keys.h):
// the text of an edit box, the item index of a combo box or radio group, the
// state of a check box. The desktop program mirrors them in its controls; the
// core reads and writes them here.
//
// Reading an option as a kind of control it is not is a programming error
// (std::logic_error). Reading an edit box as a number converts its text with
// StrToInt / StrToFloat, so a text that does not convert raises
// ConversionError with the user's message.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "keys/option_keys.h"

namespace pelodyn {

struct ControlDef {
  Option key;
  std::string_view name;         // OptionName(key)
  ControlKind kind;              // OptionKind(key)
  std::string_view defaultText;  // Edit
  int defaultIndex;              // Choice: item index; Check: 1 checked, 0 not
  // Names the project (its name, location, engineer) and reaches no result.
  bool identity = false;
};

// Every option control with the value New Project gives it, in key order.
const std::vector<ControlDef>& OptionControls();

class OptionValues {
 public:
  OptionValues();  // every control at its default

  const std::string& text(Option option) const;
  void setText(Option option, std::string_view text);

  int itemIndex(Option option) const;
  void setItemIndex(Option option, int index);

  bool checked(Option option) const;
  void setChecked(Option option, bool checked);

  std::int32_t readInteger(Option option) const;
  double readReal(Option option) const;

  // Puts one control, or every control, back to its default.
  void resetToDefault(Option option);
  void resetAll();

  bool operator==(const OptionValues&) const = default;

 private:
  struct Value {
    std::string text;
    int index = 0;
    bool operator==(const Value&) const = default;
  };
  static std::size_t slot(Option option, ControlKind kind);
  std::vector<Value> m_values;  // parallel to OptionControls()
};

}  // namespace pelodyn
