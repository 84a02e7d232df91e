#include "ui/shell/load_editor.h"

#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QUndoStack>
#include <algorithm>
#include <stdexcept>

#include "model/numbers.h"
#include "ui/document/child_lookup.h"
#include "ui/document/guard.h"
#include "ui/document/project_document.h"

namespace pelodyn {

namespace {

QString Shown(const FieldValue& value) {
  if (const auto* i = std::get_if<std::int64_t>(&value)) return QString::number(*i);
  if (const auto* d = std::get_if<double>(&value)) return QString::fromStdString(FormatShortest(*d));
  if (const auto* s = std::get_if<std::string>(&value)) return QString::fromStdString(*s);
  return {};
}

const char* const kNavigatorParts[] = {"_First", "_Prior", "_Next", "_Last"};

}  // namespace

LoadEditor::LoadEditor(ProjectDocument& document, QWidget& panel, Names names, QObject* parent)
    : QObject(parent), m_document(document), m_names(std::move(names)) {
  for (const Field& f : m_names.fields) m_edits.push_back(RequireChild<QLineEdit>(panel, f.edit));
  for (const char* part : kNavigatorParts) {
    m_navigator.push_back(RequireChild<QToolButton>(panel, (std::string(m_names.navigator) + part).c_str()));
  }
  m_new = RequireChild<QPushButton>(panel, m_names.newButton);
  m_edit = RequireChild<QPushButton>(panel, m_names.editButton);
  m_ok = RequireChild<QPushButton>(panel, m_names.okButton);
  m_delete = RequireChild<QPushButton>(panel, m_names.deleteButton);
  auto* close = RequireChild<QPushButton>(panel, m_names.closeButton);
  m_draw = RequireChild<QPushButton>(panel, m_names.drawButton);
  connect(m_draw, &QPushButton::clicked, this, GuardedSlot([this](bool) { emit drawRequested(); }));

  connect(m_new, &QPushButton::clicked, this, GuardedSlot([this](bool) { newRecord(); }));
  connect(m_edit, &QPushButton::clicked, this, GuardedSlot([this](bool) { editRecord(); }));
  connect(m_ok, &QPushButton::clicked, this, GuardedSlot([this](bool) { confirm(); }));
  connect(m_delete, &QPushButton::clicked, this, GuardedSlot([this](bool) { deleteRecord(); }));
  connect(close, &QPushButton::clicked, this, GuardedSlot([this](bool) { cancel(); }));
  connect(m_navigator[0], &QToolButton::clicked, this, GuardedSlot([this](bool) { moveTo(1); }));
  connect(m_navigator[1], &QToolButton::clicked, this, GuardedSlot([this](bool) { moveTo(m_position - 1); }));
  connect(m_navigator[2], &QToolButton::clicked, this, GuardedSlot([this](bool) { moveTo(m_position + 1); }));
  connect(m_navigator[3], &QToolButton::clicked, this,
          GuardedSlot([this](bool) { moveTo(m_document.project().store->rowCount(m_names.table)); }));

  ProjectNotifier& n = m_document.notifier();
  const Table table = m_names.table;
  connect(&n, &ProjectNotifier::rowsChanged, this, GuardedSlot([this, table](Table t, int) {
    if (t == table) follow();
  }));
  connect(&n, &ProjectNotifier::tableReset, this, GuardedSlot([this, table](Table t) {
    if (t == table) follow();
  }));
  connect(&n, &ProjectNotifier::projectReset, this, GuardedSlot([this] {
    m_position = 1;
    setMode(Mode::Browse);
    follow();
  }));
  m_position = 1;
  setMode(Mode::Browse);
  follow();
}

QStringList LoadEditor::controlNames() const {
  QStringList names;
  for (const Field& f : m_names.fields) names << QString::fromLatin1(f.edit);
  names << QString::fromLatin1(m_names.navigator);
  for (const char* part : kNavigatorParts) names << QString::fromLatin1(m_names.navigator) + QLatin1String(part);
  for (const char* b :
       {m_names.newButton, m_names.editButton, m_names.okButton, m_names.deleteButton, m_names.drawButton}) {
    names << QString::fromLatin1(b);
  }
  return names;
}

void LoadEditor::newRecord() {
  if (m_mode != Mode::Browse) return;
  const int count = m_document.project().store->rowCount(m_names.table);
  setMode(Mode::Inserting);
  for (QLineEdit* e : m_edits) e->clear();
  // The next number is what a new load almost always gets.
  m_edits.front()->setText(QString::number(count + 1));
  m_edits.front()->setFocus();
  m_edits.front()->selectAll();
}

void LoadEditor::editRecord() {
  if (m_mode != Mode::Browse || m_position < 1) return;
  setMode(Mode::Editing);
  m_edits.front()->setFocus();
  m_edits.front()->selectAll();
}

Row LoadEditor::typedRow(Row row) const {
  for (std::size_t k = 0; k < m_edits.size(); ++k) {
    const std::string_view field = m_names.fields[k].field;
    const std::string text = m_edits[k]->text().trimmed().toStdString();
    if (text.empty()) {
      row.setNullNamed(field);
      continue;
    }
    try {
      switch (TableDefinition(m_names.table).fields[row.fieldIndex(field)].type) {
        case FieldType::Integer:
          row.setNamed(field, static_cast<std::int64_t>(StrToInt(text)));
          break;
        case FieldType::Float:
          row.setNamed(field, StrToFloat(text));
          break;
        case FieldType::String:
          row.setNamed(field, std::string_view(text));
          break;
      }
    } catch (...) {
      // The field that cannot be read is where the user goes on typing.
      m_edits[k]->setFocus();
      m_edits[k]->selectAll();
      throw;
    }
  }
  for (const auto& [field, value] : m_drawn) row.setNamed(field, value);
  return row;
}

void LoadEditor::confirm() {
  const WorkingStore& store = *m_document.project().store;
  const Table table = m_names.table;
  if (m_mode == Mode::Inserting) {
    Row row = typedRow(Row(table));
    const int position = store.rowCount(table) + 1;
    m_position = position;
    setMode(Mode::Browse);
    m_document.insertRows(table, position, {std::move(row)});
    follow();
  } else if (m_mode == Mode::Editing) {
    const Row before = store.rowAt(table, m_position);
    const Row after = typedRow(before);
    setMode(Mode::Browse);
    std::vector<std::size_t> changed;
    for (std::size_t k = 0; k < after.fieldCount(); ++k) {
      if (after.value(k) != before.value(k)) changed.push_back(k);
    }
    if (!changed.empty()) {
      // The fields of one record are one step.
      m_document.editAsOne(QStringLiteral("Edit ") + QString::fromUtf8(TableName(table).data()), [&] {
        for (std::size_t k : changed) m_document.editCell(table, m_position, k, after.value(k));
      });
    }
    follow();
  }
}

void LoadEditor::deleteRecord() {
  if (m_mode != Mode::Browse || m_position < 1) return;
  m_document.removeRows(m_names.table, m_position, 1);
  follow();
}

void LoadEditor::cancel() {
  if (m_mode == Mode::Browse) return;
  setMode(Mode::Browse);
  follow();
}

void LoadEditor::moveTo(int position) {
  if (m_mode != Mode::Browse) return;
  m_position = position;
  follow();
}

void LoadEditor::follow() {
  // While a run owns the store the editor shows what it showed.
  if (m_document.runInProgress()) return;
  const int count = m_document.project().store->rowCount(m_names.table);
  if (m_mode == Mode::Editing && m_position > count) setMode(Mode::Browse);
  if (m_mode != Mode::Browse) return;
  m_position = count == 0 ? 0 : std::clamp(m_position, 1, count);
  show();
  setMode(Mode::Browse);
}

void LoadEditor::show() {
  if (m_position < 1) {
    for (QLineEdit* e : m_edits) e->clear();
    return;
  }
  const Row row = m_document.project().store->rowAt(m_names.table, m_position);
  for (std::size_t k = 0; k < m_edits.size(); ++k) {
    m_edits[k]->setText(Shown(row.value(row.fieldIndex(m_names.fields[k].field))));
    m_edits[k]->setCursorPosition(0);
  }
}

void LoadEditor::setMode(Mode mode) {
  m_mode = mode;
  const bool browsing = mode == Mode::Browse;
  const int count = browsing ? m_document.project().store->rowCount(m_names.table) : 0;
  for (QLineEdit* e : m_edits) e->setReadOnly(browsing);
  m_navigator[0]->setEnabled(browsing && m_position > 1);
  m_navigator[1]->setEnabled(browsing && m_position > 1);
  m_navigator[2]->setEnabled(browsing && m_position < count);
  m_navigator[3]->setEnabled(browsing && m_position < count);
  m_new->setEnabled(browsing);
  m_edit->setEnabled(browsing && m_position > 0);
  m_delete->setEnabled(browsing && m_position > 0);
  m_ok->setEnabled(!browsing);
  m_draw->setEnabled(!browsing);
  if (browsing && !m_drawn.empty()) {
    m_drawn.clear();
    emit drawnChanged();
  }
}

void LoadEditor::setDrawnFields(const std::vector<std::pair<std::string, double>>& fields) {
  if (m_mode == Mode::Browse) return;
  for (const auto& field : fields) {
    const auto same =
        std::find_if(m_drawn.begin(), m_drawn.end(), [&](const auto& f) { return f.first == field.first; });
    if (same != m_drawn.end()) {
      same->second = field.second;
    } else {
      m_drawn.push_back(field);
    }
  }
  emit drawnChanged();
}

}  // namespace pelodyn
