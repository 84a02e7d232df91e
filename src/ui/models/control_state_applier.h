// Shows computed control states (model/control_state.h) in a window.
//
// Typical use, in a window that listens to the document's notifier:
//
//   const auto states = ControlStates(document.project().options, document.language());
//   ApplyControlStates(this, ControlWindow::Step, states);
//
// on optionChanged, projectReset and languageChanged (and once when the
// window is built or shown). Applying is cheap and idempotent: a control is
// touched only where it differs from its state.
#pragma once

#include <vector>

#include "model/control_state.h"

class QWidget;

namespace pelodyn {

// Applies the entries of `window` in `states` to the controls of the window
// `root` belongs to, found by objectName among root and its descendants
// (widgets and QActions). Descendants that are windows of their own (a
// dialog parented to the main window) and what they hold are left alone,
// so two windows may use the same control names.
//
// How each part is shown:
// - checked: a check box, radio button or checkable group box; a checkable
//   QAction (menu check mark, effect-bar button held down). A tool button
//   that shows an action (its defaultAction) passes every part to the
//   action, so the menu item, the pop-up item and the button agree.
// - item: a QComboBox's current index; for a QButtonGroup or a widget
//   holding radio buttons (a radio group), the radio button of that index
//   (the group's id, else the order of creation) is checked.
// - enabled, visible: the widget's or the action's own state (visible means
//   "not hidden": a control of a hidden window can be made visible).
// - hint: the tool tip.
// - text: a line edit's text, a button's or label's caption, an action's
//   text.
//
// Only programmatic setters are used, which emit no textEdited, clicked,
// activated or triggered signal: showing a state never edits the project.
// A name without a control in this window is skipped (the dialogs and the
// forms build their controls as they come).
//
// A window whose fields are bound to the options (OptionBinding) shows their
// texts itself and passes SkipTexts: a number field is then never rewritten
// while the user types in it.
enum class StateTexts { Apply, Skip };
void ApplyControlStates(QWidget* root, ControlWindow window, const std::vector<ControlState>& states,
                        StateTexts texts = StateTexts::Apply);

}  // namespace pelodyn
