#include "ui/models/results_table_model.h"

#include "model/numbers.h"

namespace pelodyn {

ResultsTableModel::ResultsTableModel(const WorkingStore& store, QObject* parent)
    : QAbstractTableModel(parent), m_store(store) {
  for (const FieldDef& field : TableDefinition(Table::Results).fields) {
    m_headers << QString::fromUtf8(field.name.data(), static_cast<qsizetype>(field.name.size()));
  }
}

void ResultsTableModel::reload() {
  beginResetModel();
  m_blocks.clear();
  m_blocksRead = 0;
  m_rows = m_frozen ? 0 : m_store.rowCount(Table::Results);
  endResetModel();
}

void ResultsTableModel::setFrozen(bool frozen) {
  if (m_frozen == frozen) return;
  m_frozen = frozen;
  reload();
}

void ResultsTableModel::setHeaders(const QStringList& titles) {
  for (qsizetype k = 0; k < titles.size() && k < m_headers.size(); ++k) m_headers[k] = titles[k];
  emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(m_headers.size()) - 1);
}

int ResultsTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : m_rows;
}

int ResultsTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

const Row* ResultsTableModel::rowAt(int row) const {
  if (m_frozen || row < 0 || row >= m_rows) return nullptr;
  const int first = row / kBlockRows * kBlockRows;
  for (auto it = m_blocks.begin(); it != m_blocks.end(); ++it) {
    if (it->first != first) continue;
    if (it != m_blocks.begin()) m_blocks.splice(m_blocks.begin(), m_blocks, it);
    const auto k = static_cast<std::size_t>(row - first);
    return k < m_blocks.front().rows.size() ? &m_blocks.front().rows[k] : nullptr;
  }
  Block block{first, {}};
  try {
    block.rows = m_store.rowsFrom(Table::Results, first + 1, kBlockRows);
  } catch (...) {
    // A grid repaints whenever it likes: a failed read shows empty cells.
    return nullptr;
  }
  ++m_blocksRead;
  m_blocks.push_front(std::move(block));
  if (m_blocks.size() > kBlocksKept) m_blocks.pop_back();
  const auto k = static_cast<std::size_t>(row - first);
  return k < m_blocks.front().rows.size() ? &m_blocks.front().rows[k] : nullptr;
}

QVariant ResultsTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::TextAlignmentRole)) {
    return {};
  }
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
  const Row* row = rowAt(index.row());
  if (!row) return {};
  const auto column = static_cast<std::size_t>(index.column());
  const FieldValue& value = row->value(column);
  if (const auto* i = std::get_if<std::int64_t>(&value)) return static_cast<qlonglong>(*i);
  if (const auto* d = std::get_if<double>(&value)) {
    if (role == Qt::EditRole) return *d;
    return QString::fromStdString(FormatShortest(RoundHalfEven(*d, 4)));
  }
  return {};
}

QVariant ResultsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal)
    return section >= 0 && section < m_headers.size() ? m_headers[section] : QVariant();
  return section + 1;
}

}  // namespace pelodyn
