#include "ui/models/store_table_model.h"

#include <algorithm>

#include "model/numbers.h"

namespace pelodyn {

StoreTableModel::StoreTableModel(WorkingStore& store, Table table, QObject* parent)
    : QAbstractTableModel(parent), m_store(store), m_table(table) {
  for (const FieldDef& field : TableDefinition(table).fields) {
    m_headers << QString::fromUtf8(field.name.data(), static_cast<qsizetype>(field.name.size()));
    m_alignment.push_back(field.type == FieldType::String ? Qt::AlignLeft | Qt::AlignVCenter
                                                          : Qt::AlignRight | Qt::AlignVCenter);
  }
  m_rows = m_store.rows(m_table);
}

void StoreTableModel::reload() {
  beginResetModel();
  m_rows = m_store.rows(m_table);
  endResetModel();
}

void StoreTableModel::setHeaders(const QStringList& titles) {
  const qsizetype n = std::min(titles.size(), m_headers.size());
  for (qsizetype i = 0; i < n; ++i) m_headers[i] = titles[i];
  if (n > 0) emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(n) - 1);
}

void StoreTableModel::setColumnAlignment(int column, Qt::Alignment alignment) {
  if (column < 0 || column >= columnCount()) return;
  m_alignment[static_cast<std::size_t>(column)] = alignment;
  if (!m_rows.empty()) emit dataChanged(index(0, column), index(rowCount() - 1, column), {Qt::TextAlignmentRole});
}

int StoreTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int StoreTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

QVariant StoreTableModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
  const auto column = static_cast<std::size_t>(index.column());
  if (role == Qt::TextAlignmentRole) return static_cast<int>(m_alignment[column]);
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  const FieldValue& value = m_rows[static_cast<std::size_t>(index.row())].value(column);
  const bool display = role == Qt::DisplayRole;
  if (const std::int64_t* i = std::get_if<std::int64_t>(&value)) {
    return display ? QVariant(QString::number(*i)) : QVariant(static_cast<qlonglong>(*i));
  }
  if (const double* d = std::get_if<double>(&value)) {
    return display ? QVariant(QString::fromStdString(FormatShortest(*d))) : QVariant(*d);
  }
  if (const std::string* s = std::get_if<std::string>(&value)) return QString::fromStdString(*s);
  return display ? QVariant(QString()) : QVariant();
}

QVariant StoreTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal) {
    if (section < 0 || section >= columnCount()) return {};
    if (role == Qt::DisplayRole) return m_headers[section];
    if (role == Qt::TextAlignmentRole) return static_cast<int>(Qt::AlignCenter);
    return {};
  }
  if (section < 0 || section >= rowCount()) return {};
  if (role == Qt::DisplayRole) return section + 1;
  return {};
}

Qt::ItemFlags StoreTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

}  // namespace pelodyn
