// The read-only grid model over a working table.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include "persistence/sqlite_store.h"
#include "ui/models/store_table_model.h"

namespace pelodyn {
namespace {

void AppendPoint(WorkingStore& store, int no, double x, double y) {
  Row r(Table::Failure_Geometry);
  r.set(FailurePointField::No, no).set(FailurePointField::X, x).set(FailurePointField::Y, y);
  store.append(r);
}

TEST(StoreTableModel, PassesTheModelTesterEmptyFilledAndReloaded) {
  auto store = SqliteWorkingStore::OpenInMemory();
  StoreTableModel model(*store, Table::Failure_Geometry);
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_EQ(model.columnCount(), FailureGeometryGrid::ColumnCount);
  AppendPoint(*store, 1, 0.5, 2.0);
  AppendPoint(*store, 2, 1.25, -3.0);
  EXPECT_EQ(model.rowCount(), 0);  // not read until reloaded
  QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
  model.reload();
  EXPECT_EQ(reset.count(), 1);
  EXPECT_EQ(model.rowCount(), 2);
  store->empty(Table::Failure_Geometry);
  model.reload();
  EXPECT_EQ(model.rowCount(), 0);
}

TEST(StoreTableModel, ColumnsFollowTheTableDefinition) {
  auto store = SqliteWorkingStore::OpenInMemory();
  StoreTableModel points(*store, Table::Failure_Geometry);
  EXPECT_EQ(points.headerData(FailureGeometryGrid::No, Qt::Horizontal).toString(), "No");
  EXPECT_EQ(points.headerData(FailureGeometryGrid::Coor_X, Qt::Horizontal).toString(), "Coor_X");
  EXPECT_EQ(points.headerData(FailureGeometryGrid::Coor_Y, Qt::Horizontal).toString(), "Coor_Y");
  StoreTableModel results(*store, Table::Results);
  QAbstractItemModelTester tester(&results, QAbstractItemModelTester::FailureReportingMode::Fatal);
  ASSERT_EQ(results.columnCount(), ResultsGrid::ColumnCount);
  const std::pair<int, const char*> columns[] = {
      {ResultsGrid::Num, "Num"},       {ResultsGrid::X_Center, "X_Center"}, {ResultsGrid::Y_Center, "Y_Center"},
      {ResultsGrid::Radius, "Radius"}, {ResultsGrid::FS_Ord, "FS_Ord"},     {ResultsGrid::FS_Jan, "FS_Jan"},
      {ResultsGrid::FS_Bis, "FS_Bis"}, {ResultsGrid::FS_Spe, "FS_Spe"},
  };
  for (const auto& [column, name] : columns) {
    EXPECT_EQ(results.headerData(column, Qt::Horizontal).toString(), QString::fromLatin1(name));
  }
}

TEST(StoreTableModel, ShowsNumbersInTheShortestFormAndIsReadOnly) {
  auto store = SqliteWorkingStore::OpenInMemory();
  AppendPoint(*store, 7, 12.5, 1.0);
  Row nulls(Table::Failure_Geometry);
  nulls.set(FailurePointField::No, 8);
  store->append(nulls);
  StoreTableModel model(*store, Table::Failure_Geometry);
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  ASSERT_EQ(model.rowCount(), 2);
  EXPECT_EQ(model.index(0, FailureGeometryGrid::No).data().toString(), "7");
  EXPECT_EQ(model.index(0, FailureGeometryGrid::Coor_X).data().toString(), "12.5");
  EXPECT_EQ(model.index(0, FailureGeometryGrid::Coor_Y).data().toString(), "1");
  EXPECT_EQ(model.index(0, FailureGeometryGrid::Coor_X).data(Qt::EditRole).toDouble(), 12.5);
  EXPECT_EQ(model.index(1, FailureGeometryGrid::Coor_X).data().toString(), "");  // empty field
  EXPECT_FALSE(model.index(1, FailureGeometryGrid::Coor_X).data(Qt::EditRole).isValid());

  const QModelIndex cell = model.index(0, FailureGeometryGrid::Coor_X);
  EXPECT_FALSE(model.flags(cell) & Qt::ItemIsEditable);
  EXPECT_FALSE(model.setData(cell, 99.0));
  EXPECT_EQ(cell.data().toString(), "12.5");
  EXPECT_EQ(store->rowAt(Table::Failure_Geometry, 1).real(FailurePointField::X), 12.5);
}

TEST(StoreTableModel, HeadersAndAlignmentCanBeSet) {
  auto store = SqliteWorkingStore::OpenInMemory();
  AppendPoint(*store, 1, 1.0, 2.0);
  StoreTableModel model(*store, Table::Failure_Geometry);
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  QSignalSpy headers(&model, &QAbstractItemModel::headerDataChanged);
  model.setHeaders({QStringLiteral("No."), QStringLiteral("X")});
  EXPECT_EQ(headers.count(), 1);
  EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "No.");
  EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "X");
  EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), "Coor_Y");  // not in the list: kept
  EXPECT_EQ(model.index(0, 1).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
  model.setColumnAlignment(FailureGeometryGrid::No, Qt::AlignCenter);
  EXPECT_EQ(model.index(0, 0).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
  model.setColumnAlignment(5, Qt::AlignLeft);  // no such column: ignored
}

}  // namespace
}  // namespace pelodyn
