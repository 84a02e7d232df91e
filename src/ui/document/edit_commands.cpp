#include "ui/document/edit_commands.h"

#include "ui/document/project_document.h"

namespace pelodyn {

SetOptionCommand::SetOptionCommand(ProjectDocument& document, const QString& description, OptionValues before,
                                   OptionValues after, std::vector<Option> changed, bool typing)
    : QUndoCommand(description),
      m_document(document),
      m_before(std::move(before)),
      m_after(std::move(after)),
      m_changed(std::move(changed)),
      m_typing(typing) {}

void SetOptionCommand::redo() {
  m_document.applyOptions(m_after, m_changed);
}

void SetOptionCommand::undo() {
  m_document.applyOptions(m_before, m_changed);
}

bool SetOptionCommand::mergeWith(const QUndoCommand* other) {
  const auto* next = dynamic_cast<const SetOptionCommand*>(other);
  if (!next || !m_typing || !next->m_typing || next->m_changed != m_changed) return false;
  // Typing on after a save is a change of its own: merged into the saved
  // step, it would leave the stack looking clean.
  if (m_document.undoStack().isClean()) return false;
  m_after = next->m_after;
  return true;
}

RowsCommand::RowsCommand(ProjectDocument& document, const QString& description, Table table, int position,
                         std::vector<Row> removed, std::vector<Row> inserted, QUndoCommand* parent)
    : QUndoCommand(description, parent),
      m_document(document),
      m_table(table),
      m_position(position),
      m_removed(std::move(removed)),
      m_inserted(std::move(inserted)) {}

void RowsCommand::redo() {
  m_document.applyRows(m_table, m_position, static_cast<int>(m_removed.size()), m_inserted);
}

void RowsCommand::undo() {
  m_document.applyRows(m_table, m_position, static_cast<int>(m_inserted.size()), m_removed);
}

TablesCommand::TablesCommand(ProjectDocument& document, const QString& description)
    : QUndoCommand(description), m_document(document) {}

void TablesCommand::redo() {
  StoreTransaction transaction(m_document.store());
  QUndoCommand::redo();
  transaction.commit();
}

void TablesCommand::undo() {
  StoreTransaction transaction(m_document.store());
  QUndoCommand::undo();
  transaction.commit();
}

}  // namespace pelodyn
