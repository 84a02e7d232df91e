// The undoable edits of a project. The document builds them; each one's
// redo() and undo() write through the document, which tells the notifier,
// so undo and redo refresh every window as the edit itself did.
#pragma once

#include <QStringList>
#include <QUndoCommand>
#include <vector>

#include "model/options.h"
#include "model/working_store.h"

namespace pelodyn {

class ProjectDocument;

// Sets option values: the whole set of values before and after, and the
// controls that changed. Consecutive text edits of one field merge.
class SetOptionCommand : public QUndoCommand {
 public:
  SetOptionCommand(ProjectDocument& document, const QString& description, OptionValues before, OptionValues after,
                   std::vector<Option> changed, bool typing);
  void redo() override;
  void undo() override;
  int id() const override { return m_typing ? kTypingId : -1; }
  bool mergeWith(const QUndoCommand* other) override;

  static constexpr int kTypingId = 1;

 private:
  ProjectDocument& m_document;
  OptionValues m_before, m_after;
  std::vector<Option> m_changed;
  bool m_typing;
};

// Replaces `removed` rows at `position` by `inserted` rows: an insert
// removes none, a delete inserts none, a cell edit replaces one row by its
// edited copy, a replacement of the whole table starts at position 1. The
// rows removed are kept whole, so undo puts them back in their places.
class RowsCommand : public QUndoCommand {
 public:
  RowsCommand(ProjectDocument& document, const QString& description, Table table, int position,
              std::vector<Row> removed, std::vector<Row> inserted, QUndoCommand* parent = nullptr);
  void redo() override;
  void undo() override;

 private:
  ProjectDocument& m_document;
  Table m_table;
  int m_position;
  std::vector<Row> m_removed, m_inserted;
};

// Several row replacements as one step: its children, written in one
// transaction of the store, undone in reverse order.
class TablesCommand : public QUndoCommand {
 public:
  TablesCommand(ProjectDocument& document, const QString& description);
  void redo() override;
  void undo() override;

 private:
  ProjectDocument& m_document;
};

}  // namespace pelodyn
