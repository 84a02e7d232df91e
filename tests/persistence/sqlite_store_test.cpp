#include "persistence/sqlite_store.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "support/test_folder.h"

namespace pelodyn {
namespace {

namespace fs = std::filesystem;

class TempDir {
 public:
  TempDir() {
    path = testing::TestFolder("pelodyn-store-");
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~TempDir() { fs::remove_all(path); }
  fs::path path;
};

Row Point(Table t, int no, double x, double y) {
  Row r(t);
  r.set(PointNumberField::PointNo, no).set(CoordinateField::X, x).set(CoordinateField::Y, y);
  return r;
}

TEST(TableNames, CompareWithoutCaseWithOrWithoutTheirEnding) {
  EXPECT_EQ(FindTable("LineLoad"), Table::Lineload);
  EXPECT_EQ(FindTable("Lineload.DB"), Table::Lineload);
  EXPECT_EQ(FindTable("geometry.db"), Table::Geometry);
  EXPECT_EQ(FindTable("NONCIRSLIP_BISHOP"), Table::NonCirSlip_Bishop);
  EXPECT_EQ(FindTable("Root_Position.db"), Table::Root_Position);
  EXPECT_FALSE(FindTable("Lineloads").has_value());
  EXPECT_FALSE(FindTable(".db").has_value());
  EXPECT_THROW(TableNamed("Nothing"), StoreError);
  EXPECT_EQ(AllTables().size(), static_cast<std::size_t>(kTableCount));
}

TEST(StoreSchema, EveryTableWithItsFieldsAndTypesInTheFile) {
  TempDir dir;
  const fs::path file = dir.path / "Janbu.sqlite";
  SqliteWorkingStore::OpenFile(file).reset();
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.string().c_str(), &db), SQLITE_OK);
  auto columns = [&](const std::string& table) {
    std::vector<std::string> out;
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, ("PRAGMA table_info(\"" + table + "\")").c_str(), -1, &stmt, nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      out.push_back(std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1))) + ":" +
                    reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2)));
    }
    sqlite3_finalize(stmt);
    return out;
  };
  using V = std::vector<std::string>;
  EXPECT_EQ(columns("Soil_Prop"), (V{"Line No.:INTEGER", "Cohesion:REAL", "Phi:REAL", "Unit Weight:REAL",
                                     "Description:TEXT", "Color:INTEGER"}));
  EXPECT_EQ(columns("Aniso"), (V{"Line No.:INTEGER", "C-v:REAL", "C-h:REAL", "Phi-v:REAL", "Phi-h:REAL",
                                 "Unit Weight:REAL", "Description:TEXT", "Color:INTEGER"}));
  EXPECT_EQ(columns("Aniso_advance"), (V{"Line No.:INTEGER", "Normal Stress:REAL", "Phi-v:REAL", "Phi-h:REAL"}));
  EXPECT_EQ(columns("Geometry"), (V{"Line No.:INTEGER", "Point No.:INTEGER", "Coordi X:REAL", "Coordi Y:REAL"}));
  EXPECT_EQ(columns("Bottom_Line"), (V{"Line No.:INTEGER", "Begin Point:INTEGER", "End Point:INTEGER"}));
  for (const char* t : {"Waterline", "Tcrack", "NonCircular_Coordinate", "NonCirSlip_Janbu", "NonCirSlip_Bishop",
                        "NonCirSlip_Spencer"}) {
    EXPECT_EQ(columns(t), (V{"Point No.:INTEGER", "Coordi X:REAL", "Coordi Y:REAL"})) << t;
  }
  EXPECT_EQ(columns("Ru_variable"), (V{"Line No.:INTEGER", "Ru:REAL"}));
  EXPECT_EQ(columns("Anchor"), (V{"Load No.:INTEGER", "Magnitude:REAL", "X start:REAL", "Y start:REAL", "X end:REAL",
                                  "Y end:REAL", "Bonded Length:REAL"}));
  EXPECT_EQ(columns("Lineload"),
            (V{"Load No.:INTEGER", "Magnitude:REAL", "Coordi X:REAL", "Coordi Y:REAL", "Angle:REAL"}));
  EXPECT_EQ(columns("Stripload"),
            (V{"Load No.:INTEGER", "Magnitude:REAL", "Begin X:REAL", "End X:REAL", "Y1:REAL", "Y2:REAL"}));
  EXPECT_EQ(columns("Soil_Prop_Bak"), columns("Soil_Prop"));
  EXPECT_EQ(columns("Failure_Geometry"), (V{"No:INTEGER", "Coor_X:REAL", "Coor_Y:REAL"}));
  EXPECT_EQ(columns("Results"), (V{"Num:INTEGER", "X_Center:REAL", "Y_Center:REAL", "Radius:REAL", "FS_Ord:REAL",
                                   "FS_Jan:REAL", "FS_Bis:REAL", "FS_Spe:REAL"}));
  EXPECT_EQ(columns("Root_No"), (V{"Root No.:INTEGER", "Discription:TEXT", "Cohesion:REAL"}));
  EXPECT_EQ(columns("Root_Layer"), (V{"Root No.:INTEGER", "Layer No.:INTEGER", "Radius:REAL"}));
  EXPECT_EQ(columns("Root_Position"), (V{"No.:INTEGER", "Root Type:INTEGER", "Coordi X:REAL", "Coordi Y:REAL"}));
  sqlite3_close(db);
}

TEST(Store, RowsStayInAppendOrderThroughEditsAndRemovals) {
  auto store = SqliteWorkingStore::OpenInMemory();
  for (int no : {3, 1, 2, 5, 4}) store->append(Point(Table::Waterline, no, no * 10.0, 0.5));
  ASSERT_EQ(store->rowCount("waterline.DB"), 5);
  store->update(2, Point(Table::Waterline, 9, 1.0, 2.0));
  store->remove(Table::Waterline, 4);
  store->append(Point(Table::Waterline, 6, 0, 0));
  std::vector<int> order;
  for (const Row& r : store->rows(Table::Waterline)) order.push_back(r.integer(PointField::PointNo));
  EXPECT_EQ(order, (std::vector<int>{3, 9, 2, 4, 6}));
  EXPECT_EQ(store->rowAt(Table::Waterline, 2).real(PointField::Y), 2.0);
  EXPECT_THROW(store->rowAt(Table::Waterline, 6), StoreError);
  EXPECT_THROW(store->rowAt(Table::Waterline, 0), StoreError);
  store->empty("WATERLINE");
  EXPECT_EQ(store->rowCount(Table::Waterline), 0);
  // Emptied and refilled, the order is again the order of appending.
  for (int no : {2, 1}) store->append(Point(Table::Waterline, no, 0, 0));
  EXPECT_EQ(store->rowAt(Table::Waterline, 1).integer(PointField::PointNo), 2);
}

// A store that keeps the base class's block read and visit, to check them
// beside the SQLite store's own.
class PlainStore final : public WorkingStore {
 public:
  explicit PlainStore(WorkingStore& inner) : m_inner(inner) {}
  int rowCount(Table table) const override { return m_inner.rowCount(table); }
  std::vector<Row> rows(Table table) const override { return m_inner.rows(table); }
  Row rowAt(Table table, int position) const override { return m_inner.rowAt(table, position); }
  void append(const Row& row) override { m_inner.append(row); }
  void update(int position, const Row& row) override { m_inner.update(position, row); }
  void remove(Table table, int position) override { m_inner.remove(table, position); }
  void empty(Table table) override { m_inner.empty(table); }
  void beginTransaction() override { m_inner.beginTransaction(); }
  void commitTransaction() override { m_inner.commitTransaction(); }
  void rollbackTransaction() override { m_inner.rollbackTransaction(); }

 private:
  WorkingStore& m_inner;
};

std::vector<int> Numbers(const std::vector<Row>& rows) {
  std::vector<int> out;
  for (const Row& r : rows) out.push_back(r.integer(PointField::PointNo));
  return out;
}

TEST(Store, BlocksOfRowsByPosition) {
  auto sqlite = SqliteWorkingStore::OpenInMemory();
  // Ten rows numbered by their position once the third is removed, which
  // leaves a gap in the rowids.
  for (int no = 1; no <= 11; ++no) sqlite->append(Point(Table::Waterline, no < 3 ? no : no - 1, no, 0));
  sqlite->remove(Table::Waterline, 3);
  ASSERT_EQ(Numbers(sqlite->rows(Table::Waterline)), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  PlainStore plain(*sqlite);
  struct Case {
    int first, count;
    std::vector<int> numbers;
  };
  const Case cases[] = {
      {1, 3, {1, 2, 3}},     // the start
      {4, 4, {4, 5, 6, 7}},  // the middle, across the gap
      {8, 3, {8, 9, 10}},    // exactly to the end
      {9, 5, {9, 10}},       // fewer at the end
      {10, 1, {10}},         // the last alone
      {11, 3, {}},           // past the end
      {1, 0, {}},            // nothing asked
      {-1, 4, {1, 2}},       // positions before the first are not rows
      {1, 1000, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
  };
  for (WorkingStore* store : {static_cast<WorkingStore*>(sqlite.get()), static_cast<WorkingStore*>(&plain)}) {
    for (const Case& c : cases) {
      EXPECT_EQ(Numbers(store->rowsFrom(Table::Waterline, c.first, c.count)), c.numbers)
          << (store == &plain ? "base " : "sqlite ") << c.first << " + " << c.count;
    }
    const std::vector<Row> block = store->rowsFrom(Table::Waterline, 4, 2);
    ASSERT_EQ(block.size(), 2u);
    EXPECT_EQ(block[0], store->rowAt(Table::Waterline, 4));
    EXPECT_EQ(block[1], store->rowAt(Table::Waterline, 5));
    EXPECT_TRUE(store->rowsFrom(Table::Tcrack, 1, 5).empty());
  }
}

TEST(Store, InsertsBeforeAPositionWithOrWithoutAGapInTheRowids) {
  auto sqlite = SqliteWorkingStore::OpenInMemory();
  PlainStore plain(*sqlite);
  struct Case {
    const char* what;
    std::vector<int> start;  // appended in this order
    int removeAt;            // a removal first leaves a gap (0: none)
    int position, number;
    std::vector<int> after;
  };
  const Case cases[] = {
      {"before the first", {1, 2, 3}, 0, 1, 9, {9, 1, 2, 3}}, {"in the middle", {1, 2, 3}, 0, 2, 9, {1, 9, 2, 3}},
      {"before the last", {1, 2, 3}, 0, 3, 9, {1, 2, 9, 3}},  {"after the last", {1, 2, 3}, 0, 4, 9, {1, 2, 3, 9}},
      {"into a gap", {1, 2, 3, 4}, 2, 2, 9, {1, 9, 3, 4}},    {"into an empty table", {}, 0, 1, 9, {9}},
  };
  for (WorkingStore* store : {static_cast<WorkingStore*>(sqlite.get()), static_cast<WorkingStore*>(&plain)}) {
    for (const Case& c : cases) {
      store->empty(Table::Waterline);
      for (int no : c.start) store->append(Point(Table::Waterline, no, no, 0));
      if (c.removeAt > 0) store->remove(Table::Waterline, c.removeAt);
      store->insert(c.position, Point(Table::Waterline, c.number, 0.5, 0));
      EXPECT_EQ(Numbers(store->rows(Table::Waterline)), c.after) << c.what;
      // The rows keep their order through later edits and appends.
      store->append(Point(Table::Waterline, 7, 0, 0));
      store->update(1, Point(Table::Waterline, 8, 0, 0));
      std::vector<int> expected = c.after;
      expected.push_back(7);
      expected[0] = 8;
      EXPECT_EQ(Numbers(store->rows(Table::Waterline)), expected) << c.what;
    }
    store->empty(Table::Waterline);
    store->append(Point(Table::Waterline, 1, 0, 0));
    EXPECT_THROW(store->insert(0, Point(Table::Waterline, 2, 0, 0)), StoreError);
    EXPECT_THROW(store->insert(3, Point(Table::Waterline, 2, 0, 0)), StoreError);
    EXPECT_EQ(Numbers(store->rows(Table::Waterline)), (std::vector<int>{1}));
  }
}

TEST(Store, VisitsRowsInStoredOrderWithTheirOwnValues) {
  auto sqlite = SqliteWorkingStore::OpenInMemory();
  // Values and empty fields in turn: a row visited after another keeps none
  // of the other's values.
  Row full(Table::Soil_Prop);
  full.set(SoilCommonField::LineNo, 1)
      .set(SoilField::Cohesion, 2.5)
      .set(SoilField::Phi, 30.0)
      .set(SoilCommonField::Description, "ดินเหนียว clay")
      .set(SoilCommonField::Color, 7);
  Row sparse(Table::Soil_Prop);
  sparse.set(SoilCommonField::LineNo, 2);
  Row shortText(Table::Soil_Prop);
  shortText.set(SoilCommonField::LineNo, 3).set(SoilCommonField::Description, "s");
  for (const Row& r : {full, sparse, shortText, full}) sqlite->append(r);
  sqlite->remove(Table::Soil_Prop, 4);
  sqlite->append(sparse);
  sqlite->update(1, shortText);
  const std::vector<Row> expected = sqlite->rows(Table::Soil_Prop);
  ASSERT_EQ(expected, (std::vector<Row>{shortText, sparse, shortText, sparse}));
  PlainStore plain(*sqlite);
  for (WorkingStore* store : {static_cast<WorkingStore*>(sqlite.get()), static_cast<WorkingStore*>(&plain)}) {
    std::vector<Row> visited;
    store->visitRows(Table::Soil_Prop, [&](const Row& r) { visited.push_back(r); });
    EXPECT_EQ(visited, expected);
    int none = 0;
    store->visitRows(Table::Anchor, [&](const Row&) { ++none; });
    EXPECT_EQ(none, 0);
  }

  // The visitor may read the table it visits, and visit it again.
  int inner = 0, outer = 0;
  sqlite->visitRows(Table::Soil_Prop, [&](const Row& r) {
    ++outer;
    EXPECT_EQ(sqlite->rows(Table::Soil_Prop).size(), 4u);
    sqlite->visitRows(Table::Soil_Prop, [&](const Row&) { ++inner; });
    EXPECT_EQ(r.integer(SoilCommonField::LineNo),
              expected[static_cast<std::size_t>(outer - 1)].integer(SoilCommonField::LineNo));
  });
  EXPECT_EQ(outer, 4);
  EXPECT_EQ(inner, 16);

  // A visitor's exception ends the visit; the next one starts from the top.
  EXPECT_THROW(sqlite->visitRows(Table::Soil_Prop, [](const Row&) { throw StoreError("enough"); }), StoreError);
  std::vector<Row> again;
  sqlite->visitRows(Table::Soil_Prop, [&](const Row& r) { again.push_back(r); });
  EXPECT_EQ(again, expected);
}

TEST(Store, RowsAppendedTogetherAreTheRowsAppendedOneByOne) {
  // Runs of one table longer and shorter than a statement of many rows,
  // tables mixed, texts, empty fields, and a row that does not fit.
  std::vector<Row> rows;
  for (int k = 1; k <= 100; ++k) {
    Row r(Table::Results);
    r.set(ResultField::Num, k).set(ResultField::XCenter, k * 0.01).set(ResultField::FsBis, 1.0 / k);
    rows.push_back(r);
    if (k % 37 == 0) {
      Row soil(Table::Soil_Prop);
      soil.set(SoilCommonField::LineNo, k).set(SoilCommonField::Description, "ดินเหนียว " + std::to_string(k));
      rows.push_back(soil);
    }
  }
  for (int k = 1; k <= 70; ++k) rows.push_back(Point(Table::Waterline, k, k, -k));
  auto together = SqliteWorkingStore::OpenInMemory();
  auto oneByOne = SqliteWorkingStore::OpenInMemory();
  together->appendRows(rows.data(), rows.size());
  together->appendRows(rows.data(), 1);
  together->appendRows(rows.data(), 0);
  for (const Row& r : rows) oneByOne->append(r);
  oneByOne->append(rows[0]);
  for (Table t : {Table::Results, Table::Soil_Prop, Table::Waterline}) {
    EXPECT_EQ(together->rows(t), oneByOne->rows(t)) << TableName(t);
  }
  EXPECT_EQ(together->rowCount(Table::Results), 101);

  // Within a transaction left without commit, none of them stays.
  {
    StoreTransaction abandoned(*together);
    together->appendRows(rows.data(), rows.size());
    EXPECT_EQ(together->rowCount(Table::Results), 201);
  }
  EXPECT_EQ(together->rowCount(Table::Results), 101);
}

TEST(Store, NumbersAppendedAndVisitedAreTheRowsThemselves) {
  // 70 Results rows: two statements of many rows and a remainder.
  std::vector<double> numbers;
  std::vector<Row> rows;
  for (int k = 1; k <= 70; ++k) {
    const double values[8] = {static_cast<double>(k), k * 0.01, -k * 0.5, 10.0 + k, 1.0 / k, 2.0, 99999.0, 1e-9 * k};
    numbers.insert(numbers.end(), values, values + 8);
    Row r(Table::Results);
    r.set(ResultField::Num, k)
        .set(ResultField::XCenter, values[1])
        .set(ResultField::YCenter, values[2])
        .set(ResultField::Radius, values[3]);
    r.set(ResultField::FsOrd, values[4])
        .set(ResultField::FsJan, values[5])
        .set(ResultField::FsBis, values[6])
        .set(ResultField::FsSpe, values[7]);
    rows.push_back(r);
  }
  auto sqlite = SqliteWorkingStore::OpenInMemory();
  auto inner = SqliteWorkingStore::OpenInMemory();
  PlainStore plain(*inner);
  for (WorkingStore* store : {static_cast<WorkingStore*>(sqlite.get()), static_cast<WorkingStore*>(&plain)}) {
    store->appendNumbers(Table::Results, numbers.data(), 70);
    store->appendNumbers(Table::Results, numbers.data(), 0);
    EXPECT_EQ(store->rows(Table::Results), rows);
    std::vector<double> visited;
    store->visitNumbers(Table::Results, [&](const double* v) { visited.insert(visited.end(), v, v + 8); });
    EXPECT_EQ(visited, numbers);

    // A visitor may visit the table again; its exception ends the visit as
    // it was thrown, and the next visit starts from the top.
    int outer = 0, inner = 0;
    store->visitNumbers(Table::Results, [&](const double*) {
      if (++outer <= 2) store->visitNumbers(Table::Results, [&](const double*) { ++inner; });
    });
    EXPECT_EQ(outer, 70);
    EXPECT_EQ(inner, 140);
    int seen = 0;
    EXPECT_THROW(store->visitNumbers(Table::Results,
                                     [&](const double*) {
                                       if (++seen == 3) throw StoreError("enough");
                                     }),
                 StoreError);
    EXPECT_EQ(seen, 3);
    double first = 0.0;
    store->visitNumbers(Table::Results, [&](const double* v) {
      if (first == 0.0) first = v[0];
    });
    EXPECT_EQ(first, 1.0);

    // A fraction for an Integer field, or a table with a text field: an
    // error, and nothing written.
    std::vector<double> bad(numbers.begin(), numbers.begin() + 16);
    bad[8] = 2.5;
    EXPECT_THROW(store->appendNumbers(Table::Results, bad.data(), 2), StoreError);
    EXPECT_EQ(store->rowCount(Table::Results), 70);
    const double soil[32] = {};
    EXPECT_THROW(store->appendNumbers(Table::Soil_Prop, soil, 1), StoreError);
    EXPECT_EQ(store->rowCount(Table::Soil_Prop), 0);

    // Empty fields read as 0 and a text field as 0.
    Row sparse(Table::Soil_Prop);
    sparse.set(SoilCommonField::LineNo, 4).set(SoilCommonField::Description, "12 clay");
    store->append(sparse);
    std::vector<double> soilNumbers;
    store->visitNumbers(Table::Soil_Prop, [&](const double* v) {
      soilNumbers.assign(v, v + TableDefinition(Table::Soil_Prop).fields.size());
    });
    ASSERT_FALSE(soilNumbers.empty());
    EXPECT_EQ(soilNumbers[0], 4.0);
    for (std::size_t i = 1; i < soilNumbers.size(); ++i) EXPECT_EQ(soilNumbers[i], 0.0) << i;
  }
}

TEST(Store, ValuesRoundTripWithTheirTypes) {
  auto store = SqliteWorkingStore::OpenInMemory();
  Row r(Table::Soil_Prop);
  r.setNamed("line no.", 1)
      .set(SoilField::Cohesion, 0.1 + 0.2)
      .set(SoilField::Phi, 3)
      .set(SoilCommonField::Description, "ดินเหนียวอ่อน Soft clay");
  store->append(r);
  const Row back = store->rowAt(Table::Soil_Prop, 1);
  EXPECT_EQ(back, r);
  EXPECT_EQ(back.real(SoilField::Cohesion), 0.1 + 0.2);
  EXPECT_EQ(back.real(SoilField::Phi), 3.0);
  EXPECT_TRUE(back.isNull(SoilCommonField::Color));
  EXPECT_EQ(back.integer(SoilCommonField::Color), 0);
  EXPECT_EQ(back.real(SoilCommonField::UnitWeight), 0.0);
}

TEST(Store, FieldsRefuseValuesThatDoNotFit) {
  Row r(Table::Soil_Prop);
  EXPECT_NO_THROW(r.set(SoilCommonField::Description, "ดินเหนียวปนทรายแป้งสีเทาเข้มมา"));  // 30 Thai characters
  EXPECT_THROW(r.set(SoilCommonField::Description, "1234567890123456789012345678901"), StoreError);
  EXPECT_THROW(r.set(SoilCommonField::LineNo, 1.5), StoreError);
  EXPECT_THROW(r.set(SoilCommonField::LineNo, std::int64_t{1} << 40), StoreError);
  EXPECT_THROW(r.set(SoilField::Cohesion, "ten"), StoreError);
  EXPECT_THROW(r.setNamed("No Such Field", 1), StoreError);
  EXPECT_EQ(CharacterCount("ดินเหนียวปนทรายแป้งสีเทาเข้มมา"), 30u);
}

TEST(Store, TransactionsCommitOrRollBackTogether) {
  auto store = SqliteWorkingStore::OpenInMemory();
  {
    StoreTransaction outer(*store);
    store->append(Point(Table::Tcrack, 1, 0, 0));
    {
      StoreTransaction inner(*store);
      store->append(Point(Table::Tcrack, 2, 0, 0));
      inner.commit();
    }
    {
      StoreTransaction failed(*store);
      store->append(Point(Table::Tcrack, 3, 0, 0));
    }  // left without commit: only its own row goes
    outer.commit();
  }
  EXPECT_EQ(store->rowCount(Table::Tcrack), 2);
  {
    StoreTransaction abandoned(*store);
    store->empty(Table::Tcrack);
  }
  EXPECT_EQ(store->rowCount(Table::Tcrack), 2);
}

TEST(Store, FileStoreKeepsItsRowsAndRecreatesMissingTables) {
  TempDir dir;
  const fs::path file = dir.path / "Janbu.sqlite";
  {
    auto store = SqliteWorkingStore::OpenFile(file);
    store->append(Point(Table::Geometry, 1, 2, 3).set(GeometryField::LineNo, 1));
    Row root(Table::Root_No);
    root.set(RootField::RootNo, 1).set(RootField::Cohesion, 4.5);
    store->append(root);
  }
  {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.string().c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "DROP TABLE \"Results\"", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
  }
  auto store = SqliteWorkingStore::OpenFile(file);
  EXPECT_EQ(store->rowCount(Table::Geometry), 1);
  EXPECT_EQ(store->rowAt(Table::Root_No, 1).real(RootField::Cohesion), 4.5);
  EXPECT_EQ(store->rowCount(Table::Results), 0);
}

TEST(Store, UnopenableFileIsAStoreError) {
  TempDir dir;
  EXPECT_THROW(SqliteWorkingStore::OpenFile(dir.path / "no" / "such" / "folder" / "Janbu.sqlite"), StoreError);

  // A file whose table lacks the fields is refused when it is opened, not
  // at some later edit.
  const fs::path odd = dir.path / "odd.sqlite";
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(odd.string().c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE Anchor (x INTEGER)", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  EXPECT_THROW(SqliteWorkingStore::OpenFile(odd), StoreError);
}

}  // namespace
}  // namespace pelodyn
