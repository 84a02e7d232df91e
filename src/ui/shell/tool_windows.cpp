#include "ui/shell/tool_windows.h"

#include <QAction>

#include "ui/batch/auto_exe_file_window.h"
#include "ui/document/guard.h"
#include "ui/shell/command_registry.h"
#include "ui/vegetation/vegetation_window.h"

namespace pelodyn {

void ConnectToolWindows(CommandRegistry& commands, ProjectDocument& document, Prompter& prompter, QWidget* window) {
  QObject::connect(commands.action(QStringLiteral("MN_AutomaticExecuteFile")), &QAction::triggered, window,
                   GuardedSlot([&document, &prompter, window](bool) {
                     AutoExeFileWindow dialog(document, prompter, window);
                     dialog.exec();
                   }));
  QObject::connect(commands.action(QStringLiteral("PU_Vetget")), &QAction::triggered, window,
                   GuardedSlot([&document, &prompter, window](bool) {
                     auto* vegetation = window->findChild<VegetationWindow*>(QStringLiteral("Form_PdVegetation"));
                     if (!vegetation) {
                       vegetation = new VegetationWindow(document, prompter, window);
                       vegetation->setWindowModality(Qt::ApplicationModal);
                     }
                     vegetation->show();
                     vegetation->raise();
                   }));
}

}  // namespace pelodyn
