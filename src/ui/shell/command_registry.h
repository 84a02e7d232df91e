// One QAction per command, created once and shared by the menu, the tool
// bars and the pop-up menus. Enabling happens in one pass from what each
// command declares it needs, never in scattered setEnabled calls.
#pragma once

#include <QAction>
#include <QHash>
#include <QObject>
#include <QString>
#include <functional>
#include <vector>

namespace pelodyn {

enum CommandNeed : unsigned {
  NoNeed = 0,
  // Touches the project: disabled while a run goes on.
  ChangesProject = 1u << 0,
  // Needs a selected point of the drawing.
  NeedsSelection = 1u << 1,
  // The window that carries it out arrives later: present, always disabled.
  NotYetAvailable = 1u << 2,
  // Disabled when created; its condition or needs enable it later.
  DisabledAtStart = 1u << 3,
};

// The state the commands' needs are checked against.
struct CommandState {
  bool runInProgress = false;
  bool hasSelection = false;
  // The circular-search commands need a theory other than the irregular
  // one, the irregular-surface commands need the irregular theory (2).
  bool circularTheory = true;
  // The automatic centre of an irregular surface needs the random search.
  bool nonCirRandomSearch = true;
  bool canUndo = false, canRedo = false;
  // Table Results holds rows of a grid search (the contour map can be drawn).
  bool contoursAvailable = false;
};

class CommandRegistry : public QObject {
  Q_OBJECT
 public:
  explicit CommandRegistry(QObject* parent) : QObject(parent) {}

  // Creates the action `name` (its objectName; MN_x for commands with a
  // menu item, else the tool button's name) with the built-in caption.
  QAction* add(const QString& name, const QString& builtInCaption, unsigned needs = NoNeed,
               const QKeySequence& shortcut = {});
  // Another name under which the same action is known (the tool button,
  // the pop-up item): lookups by either name give the same action.
  void alias(const QString& alias, const QString& name);

  QAction* action(const QString& name) const;
  bool contains(const QString& name) const { return m_byName.contains(name); }
  const std::vector<QAction*>& actions() const { return m_actions; }
  unsigned needs(const QAction* action) const;
  // Extra rule for one action (e.g. the irregular-surface commands).
  void setCondition(const QString& name, std::function<bool(const CommandState&)> condition);

  // Enables every action from its needs and the state.
  void updateActions(const CommandState& state);

 private:
  std::vector<QAction*> m_actions;
  QHash<QString, QAction*> m_byName;
  QHash<const QAction*, unsigned> m_needs;
  QHash<const QAction*, std::function<bool(const CommandState&)>> m_conditions;
};

}  // namespace pelodyn
