// The Results rows ordered by the Simplified Bishop factor, for the progress
// window's sorted view: five compact numbers per row, read once when Sort is
// pressed.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

#include "engine/search.h"

namespace pelodyn {

class SortedResultsModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit SortedResultsModel(QObject* parent = nullptr);

  void setRows(std::vector<SortedResult> rows);
  void clear() { setRows({}); }
  const SortedResult& sortedRow(int row) const { return m_rows[static_cast<std::size_t>(row)]; }
  void setHeaders(const QStringList& titles);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  std::vector<SortedResult> m_rows;
  QStringList m_headers;
};

}  // namespace pelodyn
