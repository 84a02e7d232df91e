#include "ui/models/store_table_model.h"

#include <algorithm>

#include "model/numbers.h"
#include "texts/messages.h"
#include "ui/document/guard.h"
#include "ui/document/project_document.h"

namespace pelodyn {

StoreTableModel::StoreTableModel(const WorkingStore& store, Table table, QObject* parent)
    : QAbstractTableModel(parent), m_store(store), m_table(table) {
  for (const FieldDef& field : TableDefinition(table).fields) {
    m_headers << QString::fromUtf8(field.name.data(), static_cast<qsizetype>(field.name.size()));
    m_alignment.push_back(field.type == FieldType::String ? Qt::AlignLeft | Qt::AlignVCenter
                                                          : Qt::AlignRight | Qt::AlignVCenter);
  }
  m_rows = m_store.rows(m_table);
}

StoreTableModel::StoreTableModel(ProjectDocument& document, Table table, QObject* parent)
    : StoreTableModel(*document.project().store, table, parent) {
  m_document = &document;
  followDocument();
}

void StoreTableModel::followDocument() {
  ProjectNotifier& n = m_document->notifier();
  connect(&n, &ProjectNotifier::projectReset, this, GuardedSlot([this] { reload(); }));
  connect(&n, &ProjectNotifier::tableReset, this, GuardedSlot([this](Table table) {
    if (table == m_table) reload();
  }));
  connect(&n, &ProjectNotifier::rowsEdited, this,
          GuardedSlot([this](Table table, int position, int removed, int inserted) {
            if (table == m_table) rowsEdited(position, removed, inserted);
          }));
}

void StoreTableModel::rowsEdited(int position, int removed, int inserted) {
  const int first = position - 1;
  const int had = static_cast<int>(m_rows.size());
  if (first < 0 || first > had || first + removed > had) {
    reload();  // not what this model holds: read it all again
    return;
  }
  std::vector<Row> fresh = m_store.rowsFrom(m_table, position, inserted);
  if (static_cast<int>(fresh.size()) != inserted) {
    reload();
    return;
  }
  const auto at = m_rows.begin() + first;
  const int same = std::min(removed, inserted);
  // Rows replaced in place keep their place in the view.
  for (int k = 0; k < same; ++k) m_rows[static_cast<std::size_t>(first + k)] = fresh[static_cast<std::size_t>(k)];
  if (same > 0) emit dataChanged(index(first, 0), index(first + same - 1, columnCount() - 1));
  if (removed > same) {
    beginRemoveRows({}, first + same, first + removed - 1);
    m_rows.erase(at + same, at + removed);
    endRemoveRows();
  } else if (inserted > same) {
    beginInsertRows({}, first + same, first + inserted - 1);
    m_rows.insert(m_rows.begin() + first + same, fresh.begin() + same, fresh.end());
    endInsertRows();
  }
}

bool StoreTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!m_document || role != Qt::EditRole ||
      !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
    return false;
  }
  const auto column = static_cast<std::size_t>(index.column());
  const FieldDef& field = TableDefinition(m_table).fields[column];
  FieldValue stored;
  try {
    if (value.typeId() == QMetaType::QString) {
      const std::string text = value.toString().trimmed().toStdString();
      if (text.empty() && field.type != FieldType::String) {
        stored = std::monostate{};
      } else if (field.type == FieldType::String) {
        stored = value.toString().toStdString();
      } else if (field.type == FieldType::Integer) {
        stored = static_cast<std::int64_t>(StrToInt(text));
      } else {
        stored = StrToFloat(text);
      }
    } else if (!value.isValid() || value.isNull()) {
      stored = std::monostate{};
    } else if (field.type == FieldType::String) {
      stored = value.toString().toStdString();
    } else if (field.type == FieldType::Integer) {
      bool ok = false;
      const qlonglong i = value.toLongLong(&ok);
      if (!ok || value.toDouble() != static_cast<double>(i)) {
        throw ConversionError(value.toString().toStdString(), true);
      }
      stored = static_cast<std::int64_t>(i);
    } else {
      stored = value.toDouble();
    }
    if (m_rows[static_cast<std::size_t>(index.row())].value(column) == stored) return true;
    m_document->editCell(m_table, index.row() + 1, column, stored);
  } catch (const ConversionError& e) {
    // The cell as the grid shows it, and the reason in the user's language.
    const std::uint8_t language = m_document->language();
    emit editRefused(QString::fromStdString(CellCaption(language, TableName(m_table), index.row() + 1, field.name) +
                                            ": " + e.message(language)));
    return false;
  } catch (const std::exception& e) {
    emit editRefused(QString::fromUtf8(e.what()));
    return false;
  }
  return true;
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
  const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
  return m_document ? flags | Qt::ItemIsEditable : flags;
}

}  // namespace pelodyn
