// What every control that shows an option, or depends on one, must show for
// a given set of option values: check marks, down states, item indexes,
// enabled states, the visibility of covers and explanation panels, hints
// and texts. Several windows show the same option (the main window's
// panels, effect bar and pop-up menus, the step-by-step form, the soil,
// bottom-line and analysis-setting dialogs, the progress window); computing
// their states from the options alone keeps them consistent whoever changed
// the option and in whatever order.
//
// ControlStates is a pure function: it asks nothing, changes nothing and
// does not depend on what the controls showed before. A window applies the
// entries of its own ControlWindow to its controls by object name (the
// desktop program's ApplyControlStates does that) and must do so without
// turning the change into an edit of the project.
//
// Option changes that bring other option changes with them (a specific
// irregular surface has no automatic centre) are made by ApplyOptionRules, so that a window stores the
// choice and its consequences as one step.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/options.h"

namespace pelodyn {

// The window a control belongs to. The dialogs exist only while they are
// open: their entries are there always and are simply not applied while the
// dialog is closed.
enum class ControlWindow { Main, Step, SoilDialog, BottomDialog, AnalysisDialog, Progress };

// The state of one control. Only the fields that are set are to be applied;
// an unset field leaves that part of the control as it is.
struct ControlState {
  ControlWindow window = ControlWindow::Main;
  std::string control;  // object name in its window (a widget, a menu or pop-up item, a tool button)

  std::optional<bool> checked;  // check box, radio button, menu check mark, a tool button held down
  std::optional<int> item;      // item index of a combo box or radio group
  std::optional<bool> enabled;
  std::optional<bool> visible;
  std::optional<std::string> hint;  // tool tip
  std::optional<std::string> text;  // text of an edit box, caption of a button

  bool operator==(const ControlState&) const = default;
};

// The state of every control that shows or depends on an option, in every
// window, one entry per (window, control). `language` (0 Thai, 1 English)
// decides the check marks of the language menu; any other value leaves them
// out.
//
// The rules that need a choice beyond a single option:
// - The External Load pop-up item (PU_ExLoad) stands for line and strip
//   loads together: it is checked when either of them is on.
// - The "Ru not Calculated" cover of the step-by-step form hides the
//   variable-Ru grid unless that grid is used (pore-pressure-ratio seepage
//   with the Variable condition); the average-Ru field is enabled only for
//   pore-pressure-ratio seepage with the Average condition.
// - The Bottom Line dialog's Close button stays enabled for either choice
//   (its Apply does not close the dialog).
// - The progress window's Details button is enabled under the circular
//   theory and disabled, reading "Details", under the irregular one.
// - An analysis setting or bottom-line number whose text does not convert
//   gets no text entry: the field keeps what the user typed. One that
//   converts is written in its shortest form (0.010 as "0.01").
// - The parallel and the combined theories set only the theory controls
//   themselves; the controls that depend on the theory keep their state.
// - A specific circular search disables the step-by-step form's grid of
//   centres (corners, divisions, steps), whose hints say why; any other
//   search enables it with no hint.
// - The step-by-step form's two water unit weights carry hints that say
//   where each is used and that the crack's follows the water line's.
std::vector<ControlState> ControlStates(const OptionValues& options, std::uint8_t language);

// The entry of `control` in `window`, or nullptr.
const ControlState* FindControlState(const std::vector<ControlState>& states, ControlWindow window,
                                     std::string_view control);

// Whether the Ordinary method is analysed: chosen (CB_Ordinary) and offered
// (not under the irregular theory). CB_Ordinary keeps the user's choice
// while the irregular theory hides it, so a return to the circular theory
// restores it.
bool UsesOrdinary(const OptionValues& options);

// Applies to `options` the changes that a change of option `changedControl`
// brings with it, after that option has been set:
// - CB_Ordinary checked under the irregular theory (2): unchecked again;
// - CB_NonCir_Search specific (0), or CB_Auto_Center under it:
//   CB_Auto_Center unchecked.
// Any other control changes nothing. The caller stores the result as one
// undoable step.
void ApplyOptionRules(OptionValues& options, Option changedControl);

// Applies to `after` the changes that typing in the edit box
// `changedControl` brings with it; `before` holds the values before the
// typing. The tension crack's water (E_Water_Unit_Weight) follows the water
// line's unit weight (E_Unit_Weight_Water) while the two are the same
// number (or the same text), so a project typed in kN/m3 does not keep a
// crack of water at 1.0; a crack given a weight of its own keeps it. Any
// other control changes nothing.
void ApplyTypingRules(const OptionValues& before, OptionValues& after, Option changedControl);

}  // namespace pelodyn
