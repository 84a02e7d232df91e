#include "ui/shell/command_registry.h"

#include <stdexcept>

namespace pelodyn {

QAction* CommandRegistry::add(const QString& name, const QString& builtInCaption, unsigned needs,
                              const QKeySequence& shortcut) {
  if (m_byName.contains(name)) throw std::logic_error("command registered twice: " + name.toStdString());
  auto* action = new QAction(builtInCaption, this);
  action->setObjectName(name);
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  m_actions.push_back(action);
  m_byName.insert(name, action);
  m_needs.insert(action, needs);
  if (needs & (NotYetAvailable | DisabledAtStart)) action->setEnabled(false);
  return action;
}

void CommandRegistry::alias(const QString& alias, const QString& name) {
  QAction* a = action(name);
  if (!a) throw std::logic_error("alias of an unknown command: " + name.toStdString());
  m_byName.insert(alias, a);
}

QAction* CommandRegistry::action(const QString& name) const {
  return m_byName.value(name, nullptr);
}

unsigned CommandRegistry::needs(const QAction* action) const {
  return m_needs.value(action, NoNeed);
}

void CommandRegistry::setCondition(const QString& name, std::function<bool(const CommandState&)> condition) {
  QAction* a = action(name);
  if (!a) throw std::logic_error("condition for an unknown command: " + name.toStdString());
  m_conditions.insert(a, std::move(condition));
}

void CommandRegistry::updateActions(const CommandState& state) {
  for (QAction* a : m_actions) {
    const unsigned n = m_needs.value(a, NoNeed);
    bool enabled = true;
    if (n & NotYetAvailable) enabled = false;
    if ((n & ChangesProject) && state.runInProgress) enabled = false;
    if ((n & NeedsSelection) && !state.hasSelection) enabled = false;
    const auto condition = m_conditions.find(a);
    if (condition != m_conditions.end() && *condition) enabled = enabled && (*condition)(state);
    a->setEnabled(enabled);
  }
}

}  // namespace pelodyn
