#include "persistence/sqlite_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace pelodyn {
namespace {

std::string Quoted(std::string_view name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

const char* SqlType(FieldType type) {
  switch (type) {
    case FieldType::Integer:
      return "INTEGER";
    case FieldType::Float:
      return "REAL";
    case FieldType::String:
      return "TEXT";
  }
  return "";
}

// A prepared statement, reset after every use.
class Statement {
 public:
  Statement() = default;
  Statement(sqlite3* db, const std::string& sql) {
    if (sqlite3_prepare_v3(db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr) != SQLITE_OK) {
      const std::string message = sqlite3_errmsg(db);
      sqlite3_finalize(m_stmt);
      m_stmt = nullptr;
      throw StoreError("Working store: " + message);
    }
  }
  ~Statement() { sqlite3_finalize(m_stmt); }
  Statement(Statement&& o) noexcept : m_stmt(o.m_stmt) { o.m_stmt = nullptr; }
  Statement& operator=(Statement&& o) noexcept {
    std::swap(m_stmt, o.m_stmt);
    return *this;
  }
  sqlite3_stmt* get() const { return m_stmt; }

 private:
  sqlite3_stmt* m_stmt = nullptr;
};

struct ResetGuard {
  sqlite3_stmt* stmt;
  ~ResetGuard() {
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
  }
};

// A visit steps a statement no other read uses, so that the visitor may read
// the table; a visit within a visit of the same table prepares its own
// (kept in `own`) from the same text.
sqlite3_stmt* FreeForVisit(sqlite3* db, sqlite3_stmt* stmt, Statement& own) {
  if (!sqlite3_stmt_busy(stmt)) return stmt;
  own = Statement(db, sqlite3_sql(stmt));
  return own.get();
}

}  // namespace

namespace {

// A statement prepared at its first use: a run touches few of the many
// statements of the store, and preparing them all took most of the time a
// small project's run takes.
class LazyStatement {
 public:
  LazyStatement() = default;
  explicit LazyStatement(std::string sql) : m_sql(std::move(sql)) {}
  sqlite3_stmt* get(sqlite3* db) {
    if (!m_statement.get()) m_statement = Statement(db, m_sql);
    return m_statement.get();
  }

 private:
  std::string m_sql;
  Statement m_statement;
};

}  // namespace

struct SqliteWorkingStore::Statements {
  struct PerTable {
    LazyStatement count, select, visit, selectBlock, insert, insertAt, rowidAt, selectRow, update, removeRow, removeAll;
    LazyStatement shiftOut, shiftBack;
    // The rows' numbers handed to pelodyn_numbers(), for visitNumbers.
    LazyStatement visitNumbers;
    // The rows of a RowsFeed inserted, for appendNumbers.
    LazyStatement insertFeed;
  };
  std::array<PerTable, kTableCount> tables;
  std::vector<std::unique_ptr<Savepoint>> savepoints;
};

struct SqliteWorkingStore::Savepoint {
  Statement begin, release, rollbackTo;
};

namespace {

void Check(sqlite3* db, int rc) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
    throw StoreError(std::string("Working store: ") + sqlite3_errmsg(db));
  }
}

void Exec(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error ? error : "unknown error";
    sqlite3_free(error);
    throw StoreError("Working store: " + message);
  }
}

// Binds the row's values to the parameters from `first` + 1 on.
void BindRow(sqlite3* db, sqlite3_stmt* stmt, const Row& row, int first = 0) {
  for (std::size_t i = 0; i < row.fieldCount(); ++i) {
    const int index = first + static_cast<int>(i) + 1;
    const FieldValue& v = row.value(i);
    int rc;
    switch (v.index()) {
      case 1:
        rc = sqlite3_bind_int64(stmt, index, *std::get_if<std::int64_t>(&v));
        break;
      case 2:
        rc = sqlite3_bind_double(stmt, index, *std::get_if<double>(&v));
        break;
      case 3: {
        const std::string& text = *std::get_if<std::string>(&v);
        rc = sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        break;
      }
      default:
        rc = sqlite3_bind_null(stmt, index);
        break;
    }
    if (rc != SQLITE_OK) Check(db, rc);
  }
}

// Reads the current result row of `stmt` into `row` (of the statement's
// table), every field overwritten.
void ReadRowInto(sqlite3_stmt* stmt, Row& row, int firstColumn) {
  const auto& fields = TableDefinition(row.table()).fields;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const int column = firstColumn + static_cast<int>(i);
    if (sqlite3_column_type(stmt, column) == SQLITE_NULL) {
      row.value(i) = std::monostate{};
      continue;
    }
    switch (fields[i].type) {
      case FieldType::Integer:
        row.value(i) = static_cast<std::int64_t>(sqlite3_column_int64(stmt, column));
        break;
      case FieldType::Float:
        row.value(i) = sqlite3_column_double(stmt, column);
        break;
      case FieldType::String: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
        const auto size = static_cast<std::size_t>(sqlite3_column_bytes(stmt, column));
        if (auto* held = std::get_if<std::string>(&row.value(i))) {
          held->assign(text ? text : "", text ? size : 0);
        } else {
          row.value(i) = std::string(text ? text : "", text ? size : 0);
        }
        break;
      }
    }
  }
}

Row ReadRow(sqlite3_stmt* stmt, Table table, int firstColumn) {
  Row row(table);
  ReadRowInto(stmt, row, firstColumn);
  return row;
}

}  // namespace

SqliteWorkingStore::SqliteWorkingStore(sqlite3* db) : m_db(db) {}

SqliteWorkingStore::~SqliteWorkingStore() {
  m_statements.reset();
  sqlite3_close_v2(m_db);
}

std::unique_ptr<SqliteWorkingStore> SqliteWorkingStore::OpenInMemory() {
  return OpenFile(":memory:");
}

std::unique_ptr<SqliteWorkingStore> SqliteWorkingStore::OpenFile(const std::filesystem::path& file) {
  // SQLite counts every allocation under a global mutex unless told not to
  // before its first use; a search appends a million rows. When the library
  // is already in use the setting is refused, and it counts as before.
  static const bool uncounted = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
  (void)uncounted;
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(file.string().c_str(), &db,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    const std::string message = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close_v2(db);
    throw StoreError("Cannot open the working store " + file.string() + ": " + message);
  }
  std::unique_ptr<SqliteWorkingStore> store(new SqliteWorkingStore(db));
  store->createTables();
  // A store in a file may hold tables an older build made: its statements
  // are all prepared now, so a table that does not fit refuses the store
  // here rather than in the middle of some later edit. A private store
  // prepares each statement at its first use.
  if (file != ":memory:") store->prepareAll();
  return store;
}

void SqliteWorkingStore::prepareAll() {
  for (auto& s : m_statements->tables) {
    for (LazyStatement* statement :
         {&s.count, &s.select, &s.visit, &s.selectBlock, &s.insert, &s.insertAt, &s.rowidAt, &s.selectRow, &s.update,
          &s.removeRow, &s.removeAll, &s.shiftOut, &s.shiftBack, &s.visitNumbers, &s.insertFeed}) {
      statement->get(m_db);
    }
  }
}

namespace {

// A visit of numeric rows: the SELECT hands each row's values to
// pelodyn_numbers() as its arguments, which SQLite gives as values ready to
// read, cheaper than asking the statement for each column.
struct NumbersVisit {
  static constexpr const char* kPointerType = "pelodyn_numbers_visit";
  const std::function<void(const double* values)>* visitor;
  std::vector<double> numbers;
  std::exception_ptr error;
};

void NumbersOfRow(sqlite3_context* context, int count, sqlite3_value** values) {
  auto* visit = static_cast<NumbersVisit*>(sqlite3_value_pointer(values[0], NumbersVisit::kPointerType));
  if (!visit || static_cast<std::size_t>(count - 1) != visit->numbers.size()) {
    sqlite3_result_error(context, "pelodyn_numbers() outside a visit", -1);
    return;
  }
  // An empty field reads as 0 and an integer as its value.
  for (int i = 1; i < count; ++i) visit->numbers[static_cast<std::size_t>(i - 1)] = sqlite3_value_double(values[i]);
  // The visitor's exception must not cross SQLite: it ends the statement
  // and is thrown again once SQLite has returned.
  try {
    (*visit->visitor)(visit->numbers.data());
  } catch (...) {
    visit->error = std::current_exception();
    sqlite3_result_error(context, "the visit ended", -1);
    return;
  }
  sqlite3_result_null(context);
}

}  // namespace

namespace {

// Rows of numbers lying in memory, read by SQLite as the table-valued
// function pelodyn_rows(feed): appendNumbers inserts them with one
// INSERT ... SELECT, cheaper than binding every value of every row.
struct RowsFeed {
  static constexpr const char* kPointerType = "pelodyn_rows_feed";
  const double* values;
  std::size_t count;
  std::size_t fields;
};

// Columns c0 .. c63 (no table has more fields), then the hidden feed.
constexpr int kFeedColumns = 64;

struct FeedCursor {
  sqlite3_vtab_cursor base;
  const RowsFeed* feed;
  std::size_t row;
};

int FeedConnect(sqlite3* db, void*, int, const char* const*, sqlite3_vtab** out, char**) {
  std::string sql = "CREATE TABLE x(";
  for (int i = 0; i < kFeedColumns; ++i) sql.append("c").append(std::to_string(i)).append(", ");
  sql += "feed HIDDEN)";
  const int rc = sqlite3_declare_vtab(db, sql.c_str());
  if (rc != SQLITE_OK) return rc;
  // Only our own statements may use it (never a view or trigger of a file).
  sqlite3_vtab_config(db, SQLITE_VTAB_DIRECTONLY);
  auto* table = static_cast<sqlite3_vtab*>(sqlite3_malloc(sizeof(sqlite3_vtab)));
  if (!table) return SQLITE_NOMEM;
  *table = {};
  *out = table;
  return SQLITE_OK;
}

int FeedDisconnect(sqlite3_vtab* table) {
  sqlite3_free(table);
  return SQLITE_OK;
}

int FeedBestIndex(sqlite3_vtab*, sqlite3_index_info* info) {
  bool fed = false;
  for (int i = 0; i < info->nConstraint; ++i) {
    const auto& c = info->aConstraint[i];
    if (c.iColumn != kFeedColumns || c.op != SQLITE_INDEX_CONSTRAINT_EQ) continue;
    if (!c.usable) return SQLITE_CONSTRAINT;
    info->aConstraintUsage[i].argvIndex = 1;
    info->aConstraintUsage[i].omit = 1;
    fed = true;
  }
  if (!fed) return SQLITE_CONSTRAINT;  // never without its feed
  // The rows come in their order, which is their rowid's.
  if (info->nOrderBy == 1 && info->aOrderBy[0].iColumn == -1 && !info->aOrderBy[0].desc) info->orderByConsumed = 1;
  info->estimatedCost = 1.0;
  return SQLITE_OK;
}

int FeedOpen(sqlite3_vtab*, sqlite3_vtab_cursor** out) {
  auto* cursor = static_cast<FeedCursor*>(sqlite3_malloc(sizeof(FeedCursor)));
  if (!cursor) return SQLITE_NOMEM;
  *cursor = {};
  *out = &cursor->base;
  return SQLITE_OK;
}

int FeedClose(sqlite3_vtab_cursor* cursor) {
  sqlite3_free(cursor);
  return SQLITE_OK;
}

int FeedFilter(sqlite3_vtab_cursor* base, int, const char*, int argc, sqlite3_value** argv) {
  auto* cursor = reinterpret_cast<FeedCursor*>(base);
  cursor->feed =
      argc >= 1 ? static_cast<const RowsFeed*>(sqlite3_value_pointer(argv[0], RowsFeed::kPointerType)) : nullptr;
  cursor->row = 0;
  return SQLITE_OK;
}

int FeedNext(sqlite3_vtab_cursor* base) {
  ++reinterpret_cast<FeedCursor*>(base)->row;
  return SQLITE_OK;
}

int FeedEof(sqlite3_vtab_cursor* base) {
  const auto* cursor = reinterpret_cast<const FeedCursor*>(base);
  return !cursor->feed || cursor->row >= cursor->feed->count;
}

int FeedColumn(sqlite3_vtab_cursor* base, sqlite3_context* context, int column) {
  const auto* cursor = reinterpret_cast<const FeedCursor*>(base);
  const auto c = static_cast<std::size_t>(column);
  if (column < 0 || c >= cursor->feed->fields) {
    sqlite3_result_null(context);
  } else {
    sqlite3_result_double(context, cursor->feed->values[cursor->row * cursor->feed->fields + c]);
  }
  return SQLITE_OK;
}

int FeedRowid(sqlite3_vtab_cursor* base, sqlite3_int64* rowid) {
  *rowid = static_cast<sqlite3_int64>(reinterpret_cast<const FeedCursor*>(base)->row);
  return SQLITE_OK;
}

// Eponymous only: no xCreate, so no file can make a table of it.
sqlite3_module MakeFeedModule() {
  sqlite3_module m{};
  m.xConnect = FeedConnect;
  m.xBestIndex = FeedBestIndex;
  m.xDisconnect = FeedDisconnect;
  m.xOpen = FeedOpen;
  m.xClose = FeedClose;
  m.xFilter = FeedFilter;
  m.xNext = FeedNext;
  m.xEof = FeedEof;
  m.xColumn = FeedColumn;
  m.xRowid = FeedRowid;
  return m;
}
const sqlite3_module kFeedModule = MakeFeedModule();

}  // namespace

void SqliteWorkingStore::createTables() {
  Exec(m_db, "PRAGMA journal_mode=WAL");
  Exec(m_db, "PRAGMA synchronous=NORMAL");
  m_statements = std::make_unique<Statements>();
  // Only our own statements may call it (never a view or trigger of a file).
  Check(m_db, sqlite3_create_function_v2(m_db, "pelodyn_numbers", -1, SQLITE_UTF8 | SQLITE_DIRECTONLY, nullptr,
                                         &NumbersOfRow, nullptr, nullptr, nullptr));
  Check(m_db, sqlite3_create_module_v2(m_db, "pelodyn_rows", &kFeedModule, nullptr, nullptr));
  std::string create = "BEGIN;";
  for (Table t : AllTables()) {
    const TableDef& def = TableDefinition(t);
    const std::string name = Quoted(def.name);
    std::string columns, names, placeholders, assignments;
    for (std::size_t i = 0; i < def.fields.size(); ++i) {
      const std::string sep = i == 0 ? "" : ", ";
      const std::string field = Quoted(def.fields[i].name);
      columns += sep + field + " " + SqlType(def.fields[i].type);
      names += sep + field;
      placeholders += sep + "?";
      assignments += sep + field + " = ?";
    }
    // A file made by an older build may miss tables; they are recreated
    // empty, never touched when present.
    create += "CREATE TABLE IF NOT EXISTS " + name + " (" + columns + ");";
    auto& s = m_statements->tables[static_cast<std::size_t>(t)];
    s.count = LazyStatement("SELECT COUNT(*) FROM " + name);
    s.select = LazyStatement("SELECT " + names + " FROM " + name + " ORDER BY rowid");
    s.visit = LazyStatement("SELECT " + names + " FROM " + name + " ORDER BY rowid");
    std::string numbers = "?1";  // the visit
    for (const FieldDef& f : def.fields) numbers += ", " + (f.type == FieldType::String ? "0" : Quoted(f.name));
    s.visitNumbers = LazyStatement("SELECT pelodyn_numbers(" + numbers + ") FROM " + name + " ORDER BY rowid");
    std::string feedColumns;
    for (std::size_t i = 0; i < def.fields.size(); ++i) feedColumns += (i == 0 ? "c" : ", c") + std::to_string(i);
    s.insertFeed = LazyStatement("INSERT INTO " + name + " (" + names + ") SELECT " + feedColumns +
                                 " FROM pelodyn_rows(?1) ORDER BY rowid");
    s.selectBlock = LazyStatement("SELECT " + names + " FROM " + name + " ORDER BY rowid LIMIT ? OFFSET ?");
    s.insert = LazyStatement("INSERT INTO " + name + " (" + names + ") VALUES (" + placeholders + ")");
    s.insertAt = LazyStatement("INSERT INTO " + name + " (" + names + ", rowid) VALUES (" + placeholders + ", ?)");
    // Moving rows down by one place in two steps (through negative rowids)
    // never makes two rows share a rowid on the way.
    s.shiftOut = LazyStatement("UPDATE " + name + " SET rowid = -(rowid + 1) WHERE rowid >= ?");
    s.shiftBack = LazyStatement("UPDATE " + name + " SET rowid = -rowid WHERE rowid < 0");
    s.rowidAt = LazyStatement("SELECT rowid FROM " + name + " ORDER BY rowid LIMIT 1 OFFSET ?");
    s.selectRow = LazyStatement("SELECT " + names + " FROM " + name + " WHERE rowid = ?");
    s.update = LazyStatement("UPDATE " + name + " SET " + assignments + " WHERE rowid = ?");
    s.removeRow = LazyStatement("DELETE FROM " + name + " WHERE rowid = ?");
    s.removeAll = LazyStatement("DELETE FROM " + name);
  }
  // Every table in one go: one schema change instead of one per table.
  create += "COMMIT;";
  Exec(m_db, create);
}

int SqliteWorkingStore::rowCount(Table table) const {
  sqlite3_stmt* stmt = m_statements->tables[static_cast<std::size_t>(table)].count.get(m_db);
  ResetGuard guard{stmt};
  Check(m_db, sqlite3_step(stmt));
  return sqlite3_column_int(stmt, 0);
}

std::vector<Row> SqliteWorkingStore::rows(Table table) const {
  sqlite3_stmt* stmt = m_statements->tables[static_cast<std::size_t>(table)].select.get(m_db);
  ResetGuard guard{stmt};
  std::vector<Row> out;
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) out.push_back(ReadRow(stmt, table, 0));
  Check(m_db, rc);
  return out;
}

std::vector<Row> SqliteWorkingStore::rowsFrom(Table table, int first, int count) const {
  // Positions before the first row are not rows: the block starts at 1.
  long long offset = static_cast<long long>(first) - 1;
  long long limit = count;
  if (offset < 0) {
    limit += offset;
    offset = 0;
  }
  std::vector<Row> out;
  if (limit <= 0) return out;
  sqlite3_stmt* stmt = m_statements->tables[static_cast<std::size_t>(table)].selectBlock.get(m_db);
  ResetGuard guard{stmt};
  Check(m_db, sqlite3_bind_int64(stmt, 1, limit));
  Check(m_db, sqlite3_bind_int64(stmt, 2, offset));
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) out.push_back(ReadRow(stmt, table, 0));
  Check(m_db, rc);
  return out;
}

void SqliteWorkingStore::visitRows(Table table, const std::function<void(const Row&)>& visitor) const {
  Statement own;
  sqlite3_stmt* stmt = FreeForVisit(m_db, m_statements->tables[static_cast<std::size_t>(table)].visit.get(m_db), own);
  ResetGuard guard{stmt};
  Row row(table);
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    ReadRowInto(stmt, row, 0);
    visitor(row);
  }
  Check(m_db, rc);
}

void SqliteWorkingStore::visitNumbers(Table table, const std::function<void(const double* values)>& visitor) const {
  Statement own;
  sqlite3_stmt* stmt =
      FreeForVisit(m_db, m_statements->tables[static_cast<std::size_t>(table)].visitNumbers.get(m_db), own);
  ResetGuard guard{stmt};
  NumbersVisit visit{&visitor, std::vector<double>(TableDefinition(table).fields.size()), nullptr};
  Check(m_db, sqlite3_bind_pointer(stmt, 1, &visit, NumbersVisit::kPointerType, nullptr));
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
  }
  if (visit.error) std::rethrow_exception(visit.error);
  Check(m_db, rc);
}

long long SqliteWorkingStore::rowidAt(Table table, int position) const {
  if (position < 1) {
    throw StoreError("Table " + std::string(TableName(table)) + " has no row " + std::to_string(position));
  }
  sqlite3_stmt* stmt = m_statements->tables[static_cast<std::size_t>(table)].rowidAt.get(m_db);
  ResetGuard guard{stmt};
  Check(m_db, sqlite3_bind_int64(stmt, 1, position - 1));
  const int rc = sqlite3_step(stmt);
  Check(m_db, rc);
  if (rc != SQLITE_ROW) {
    throw StoreError("Table " + std::string(TableName(table)) + " has no row " + std::to_string(position));
  }
  return sqlite3_column_int64(stmt, 0);
}

Row SqliteWorkingStore::rowAt(Table table, int position) const {
  const long long rowid = rowidAt(table, position);
  sqlite3_stmt* stmt = m_statements->tables[static_cast<std::size_t>(table)].selectRow.get(m_db);
  ResetGuard guard{stmt};
  Check(m_db, sqlite3_bind_int64(stmt, 1, rowid));
  Check(m_db, sqlite3_step(stmt));
  return ReadRow(stmt, table, 0);
}

void SqliteWorkingStore::append(const Row& row) {
  sqlite3_stmt* stmt = m_statements->tables[static_cast<std::size_t>(row.table())].insert.get(m_db);
  ResetGuard guard{stmt};
  BindRow(m_db, stmt, row);
  Check(m_db, sqlite3_step(stmt));
}

void SqliteWorkingStore::appendNumbers(Table table, const double* values, std::size_t count) {
  const TableDef& def = TableDefinition(table);
  const std::size_t fields = def.fields.size();
  // Every value is checked before anything is written.
  for (std::size_t r = 0; r < count; ++r) {
    for (std::size_t i = 0; i < fields; ++i) CheckNumberFits(def.fields[i], values[r * fields + i]);
  }
  if (count == 0) return;
  // One INSERT ... SELECT over the rows as they lie in memory: a single
  // statement, so all of them or none.
  RowsFeed feed{values, count, fields};
  sqlite3_stmt* stmt = m_statements->tables[static_cast<std::size_t>(table)].insertFeed.get(m_db);
  ResetGuard guard{stmt};
  Check(m_db, sqlite3_bind_pointer(stmt, 1, &feed, RowsFeed::kPointerType, nullptr));
  Check(m_db, sqlite3_step(stmt));
}

void SqliteWorkingStore::insert(int position, const Row& row) {
  const Table table = row.table();
  const int count = rowCount(table);
  if (position == count + 1) {
    append(row);
    return;
  }
  auto& s = m_statements->tables[static_cast<std::size_t>(table)];
  const long long at = rowidAt(table, position);  // refuses a position outside the table
  const long long before = position > 1 ? rowidAt(table, position - 1) : 0;
  StoreTransaction transaction(*this);
  long long rowid = at - 1;
  if (rowid <= before) {
    // No free rowid between the neighbours: the rows from `position` on
    // move one down.
    for (sqlite3_stmt* stmt : {s.shiftOut.get(m_db), s.shiftBack.get(m_db)}) {
      ResetGuard guard{stmt};
      if (stmt == s.shiftOut.get(m_db)) Check(m_db, sqlite3_bind_int64(stmt, 1, at));
      Check(m_db, sqlite3_step(stmt));
    }
    rowid = at;
  }
  sqlite3_stmt* stmt = s.insertAt.get(m_db);
  ResetGuard guard{stmt};
  BindRow(m_db, stmt, row);
  Check(m_db, sqlite3_bind_int64(stmt, static_cast<int>(row.fieldCount()) + 1, rowid));
  Check(m_db, sqlite3_step(stmt));
  transaction.commit();
}

void SqliteWorkingStore::update(int position, const Row& row) {
  const long long rowid = rowidAt(row.table(), position);
  sqlite3_stmt* stmt = m_statements->tables[static_cast<std::size_t>(row.table())].update.get(m_db);
  ResetGuard guard{stmt};
  BindRow(m_db, stmt, row);
  Check(m_db, sqlite3_bind_int64(stmt, static_cast<int>(row.fieldCount()) + 1, rowid));
  Check(m_db, sqlite3_step(stmt));
}

void SqliteWorkingStore::remove(Table table, int position) {
  const long long rowid = rowidAt(table, position);
  sqlite3_stmt* stmt = m_statements->tables[static_cast<std::size_t>(table)].removeRow.get(m_db);
  ResetGuard guard{stmt};
  Check(m_db, sqlite3_bind_int64(stmt, 1, rowid));
  Check(m_db, sqlite3_step(stmt));
}

void SqliteWorkingStore::empty(Table table) {
  sqlite3_stmt* stmt = m_statements->tables[static_cast<std::size_t>(table)].removeAll.get(m_db);
  ResetGuard guard{stmt};
  Check(m_db, sqlite3_step(stmt));
}

SqliteWorkingStore::Savepoint& SqliteWorkingStore::savepoint(int depth) {
  auto& list = m_statements->savepoints;
  while (list.size() <= static_cast<std::size_t>(depth)) {
    const std::string name = "pelodyn_" + std::to_string(list.size());
    auto made = std::make_unique<Savepoint>();
    made->begin = Statement(m_db, "SAVEPOINT " + name);
    made->release = Statement(m_db, "RELEASE " + name);
    made->rollbackTo = Statement(m_db, "ROLLBACK TO " + name);
    list.push_back(std::move(made));
  }
  return *list[static_cast<std::size_t>(depth)];
}

namespace {

void Step(sqlite3* db, const Statement& statement) {
  ResetGuard guard{statement.get()};
  Check(db, sqlite3_step(statement.get()));
}

}  // namespace

void SqliteWorkingStore::beginTransaction() {
  Step(m_db, savepoint(m_transactionDepth).begin);
  ++m_transactionDepth;
}

void SqliteWorkingStore::commitTransaction() {
  if (m_transactionDepth == 0) throw StoreError("Working store: no transaction to commit");
  --m_transactionDepth;
  Step(m_db, savepoint(m_transactionDepth).release);
}

void SqliteWorkingStore::rollbackTransaction() {
  if (m_transactionDepth == 0) throw StoreError("Working store: no transaction to roll back");
  --m_transactionDepth;
  const Savepoint& s = savepoint(m_transactionDepth);
  Step(m_db, s.rollbackTo);
  Step(m_db, s.release);
}

}  // namespace pelodyn
