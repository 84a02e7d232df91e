// The commands that open the batch window (Automatic Execute File) and the
// vegetation window.
#pragma once

class QWidget;

namespace pelodyn {

class CommandRegistry;
class ProjectDocument;
class Prompter;

// Connects MN_AutomaticExecuteFile and PU_Vetget to their windows over
// `window`. The batch window is made anew by each command and is modal;
// the vegetation window is made once and kept, with the results of its
// last Generate.
void ConnectToolWindows(CommandRegistry& commands, ProjectDocument& document, Prompter& prompter, QWidget* window);

}  // namespace pelodyn
