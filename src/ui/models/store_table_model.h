// A grid model over one working table: one column per field of the table, in
// the table's field order, one row per stored row in stored order.
//
// Made over a store, the model is read-only. Made over the document, it is
// editable: a cell set through setData becomes the document's undoable cell
// edit, and the model follows the document's row edits, resets and new
// projects through the notifier, with the row signals a view needs to keep
// its place.
//
// The model reads the table when it is created and on reload(), and keeps
// what it read until then: the store has one connection, used by one thread
// at a time, and a grid must be able to repaint while a run owns the store.
// Whoever changes the table calls reload() (the project's change notifier
// does so for the grids of the main window).
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

#include "model/working_store.h"

namespace pelodyn {

// Columns of the tables whose grids name them, in field order.
struct FailureGeometryGrid {
  enum Column { No, Coor_X, Coor_Y, ColumnCount };
};
struct ResultsGrid {
  enum Column { Num, X_Center, Y_Center, Radius, FS_Ord, FS_Jan, FS_Bis, FS_Spe, ColumnCount };
};

class ProjectDocument;

class StoreTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  StoreTableModel(const WorkingStore& store, Table table, QObject* parent = nullptr);
  StoreTableModel(ProjectDocument& document, Table table, QObject* parent = nullptr);

  Table table() const { return m_table; }

  // Reads the table again and resets the views.
  void reload();

  // Column titles; by default the field names. A list shorter than the
  // column count leaves the remaining titles as they were.
  void setHeaders(const QStringList& titles);
  // Alignment of the cells of one column; numbers are right-aligned by
  // default, texts left-aligned.
  void setColumnAlignment(int column, Qt::Alignment alignment);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  // DisplayRole: an integer as it is, a real in the shortest general form,
  // a text as it is, an empty field as an empty cell. EditRole gives the
  // value itself (qlonglong, double or QString; invalid when empty).
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // Editable models only. A QString is read by the field's type (an empty
  // text empties the field); a number is taken as it is. A value the field
  // refuses is not stored: editRefused names it and false is returned.
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  bool editable() const { return m_document != nullptr; }

 signals:
  void editRefused(const QString& message);

 private:
  void followDocument();
  void rowsEdited(int position, int removed, int inserted);

  const WorkingStore& m_store;
  ProjectDocument* m_document = nullptr;
  Table m_table;
  std::vector<Row> m_rows;
  QStringList m_headers;
  std::vector<Qt::Alignment> m_alignment;
};

}  // namespace pelodyn
