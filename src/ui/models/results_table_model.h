// The Results rows of a run for the progress window's grid, read from the
// store on demand: only the block of rows a view asks for is held, so a run
// of a million trials costs a few blocks, not a copy of the table. The
// model reads nothing while a run owns the store (setFrozen); a reset
// (reload) forgets every block.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <list>
#include <vector>

#include "model/working_store.h"

namespace pelodyn {

class ResultsTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  ResultsTableModel(const WorkingStore& store, QObject* parent = nullptr);

  // Counts the rows again and forgets what was read.
  void reload();
  // While frozen the model shows no rows and never reads the store.
  void setFrozen(bool frozen);

  void setHeaders(const QStringList& titles);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  // Numbers rounded to 4 decimals in the shortest form; "Num" as it is.
  // EditRole gives the stored value.
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  static constexpr int kBlockRows = 512;
  static constexpr std::size_t kBlocksKept = 8;
  // How many blocks were read from the store since the last reload (tests).
  int blocksRead() const { return m_blocksRead; }

 private:
  const Row* rowAt(int row) const;

  const WorkingStore& m_store;
  int m_rows = 0;
  bool m_frozen = false;
  QStringList m_headers;
  struct Block {
    int first;
    std::vector<Row> rows;
  };
  // Most recently used first.
  mutable std::list<Block> m_blocks;
  mutable int m_blocksRead = 0;
};

}  // namespace pelodyn
