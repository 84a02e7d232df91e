#include "ui/models/sorted_results_model.h"

#include "model/numbers.h"

namespace pelodyn {

SortedResultsModel::SortedResultsModel(QObject* parent) : QAbstractTableModel(parent) {
  m_headers = {QStringLiteral("Num"), QStringLiteral("X_Center"), QStringLiteral("Y_center"), QStringLiteral("Radius"),
               QStringLiteral("FS_Bis")};
}

void SortedResultsModel::setRows(std::vector<SortedResult> rows) {
  beginResetModel();
  m_rows = std::move(rows);
  endResetModel();
}

void SortedResultsModel::setHeaders(const QStringList& titles) {
  for (qsizetype k = 0; k < titles.size() && k < m_headers.size(); ++k) m_headers[k] = titles[k];
  emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(m_headers.size()) - 1);
}

int SortedResultsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int SortedResultsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 5;
}

QVariant SortedResultsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(m_rows.size())) return {};
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
  // EditRole and UserRole give the number itself.
  if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::UserRole) return {};
  const SortedResult& r = m_rows[static_cast<std::size_t>(index.row())];
  if (index.column() == 0) return r.num;
  const double values[] = {r.xCenter, r.yCenter, r.radius, r.fsBishop};
  const double v = values[index.column() - 1];
  if (role != Qt::DisplayRole) return v;
  return QString::fromStdString(FormatShortest(RoundHalfEven(v, 4)));
}

QVariant SortedResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal)
    return section >= 0 && section < m_headers.size() ? m_headers[section] : QVariant();
  return section + 1;
}

}  // namespace pelodyn
