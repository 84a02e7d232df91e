// The working store on SQLite: one SQL table per working table, named as the
// table and with its fields as columns under their exact names. Rows are read
// in rowid order, which is append order.
#pragma once

#include <filesystem>
#include <memory>

#include "model/working_store.h"

struct sqlite3;

namespace pelodyn {

class SqliteWorkingStore final : public WorkingStore {
 public:
  // A private store that lives as long as the object (tests, the
  // command-line program).
  static std::unique_ptr<SqliteWorkingStore> OpenInMemory();
  // The store in `file`; a missing file, or missing tables in it, are
  // created. Raises StoreError when the file cannot be opened.
  static std::unique_ptr<SqliteWorkingStore> OpenFile(const std::filesystem::path& file);

  ~SqliteWorkingStore() override;
  SqliteWorkingStore(const SqliteWorkingStore&) = delete;
  SqliteWorkingStore& operator=(const SqliteWorkingStore&) = delete;

  int rowCount(Table table) const override;
  std::vector<Row> rows(Table table) const override;
  Row rowAt(Table table, int position) const override;
  // One query each, in rowid order.
  std::vector<Row> rowsFrom(Table table, int first, int count) const override;
  void visitRows(Table table, const std::function<void(const Row&)>& visitor) const override;
  void visitNumbers(Table table, const std::function<void(const double* values)>& visitor) const override;
  void append(const Row& row) override;
  void appendNumbers(Table table, const double* values, std::size_t count) override;
  void insert(int position, const Row& row) override;
  void update(int position, const Row& row) override;
  void remove(Table table, int position) override;
  void empty(Table table) override;
  void beginTransaction() override;
  void commitTransaction() override;
  void rollbackTransaction() override;

  using WorkingStore::empty;
  using WorkingStore::rowCount;
  using WorkingStore::rows;

 private:
  struct Statements;
  explicit SqliteWorkingStore(sqlite3* db);
  void createTables();
  void prepareAll();
  long long rowidAt(Table table, int position) const;
  // The savepoint statements of transaction depth `depth`, prepared at its first use.
  struct Savepoint;
  Savepoint& savepoint(int depth);

  sqlite3* m_db = nullptr;
  // Prepared at their first use, by reads as well: a cache, not the store's
  // state, so the reads stay const.
  std::unique_ptr<Statements> m_statements;
  int m_transactionDepth = 0;
};

}  // namespace pelodyn
