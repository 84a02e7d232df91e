// The main window's commands, created once from one table: every command's
// action with its caption, shortcut and needs, the menu bar, the command
// tool bar ToolBar1 and the effect bar TB_Effect_Bar; and the captions of
// the current language written into them.
#pragma once

#include <QHash>
#include <QString>
#include <cstdint>

#include "ui/shell/command_registry.h"

class QMainWindow;
class QMenu;
class QToolBar;

namespace pelodyn {

class CommandTable {
 public:
  CommandTable(QMainWindow& window, CommandRegistry& commands);

  // Creates every command, the menus and the two tool bars on the window.
  void build();
  QMenu* menu(const QString& name) const;
  QToolBar* toolBar() const { return m_toolBar; }
  QToolBar* effectBar() const { return m_effectBar; }

  // Writes the caption table of `language` into the menus, the commands and
  // the window's named controls; a command that does nothing yet gets the
  // reason in its tool tip.
  void applyCaptions(std::uint8_t language);
  // Only the reasons of the disabled commands (the built-in English
  // captions stay as they are).
  void applyReasons(std::uint8_t language);
  // Why the command `name` is disabled for good, or empty.
  static QString disabledReason(std::uint8_t language, const QString& name);

 private:
  void createCommands();
  void createMenus();
  void createToolBars();
  QAction* cmd(const QString& name) const;

  QMainWindow& m_window;
  CommandRegistry& m_commands;
  QHash<QString, QMenu*> m_menus;
  QToolBar* m_toolBar = nullptr;
  QToolBar* m_effectBar = nullptr;
};

}  // namespace pelodyn
