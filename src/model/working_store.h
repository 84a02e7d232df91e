// The working tables of the store "Janbu": their schema, a row value, and the
// operations the rest of Pelodyn needs from any store that holds them.
//
// Rows have no key: they stay in the order in which they were appended and
// every reader visits them in that order. Table names are compared without
// regard to case, with or without their ".DB" ending ("LineLoad" and
// "Lineload.DB" name the same table); field names likewise.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "keys/table_keys.h"

namespace pelodyn {

// A field of a table: its name, type and size (keys/table_keys.h).
using FieldDef = FieldName;

struct TableDef {
  Table id;
  std::string_view name;      // the name of the table in the store
  std::string_view fileName;  // the name the table's file had, e.g. "Soil_Prop.DB"
  std::vector<FieldDef> fields;
};

const TableDef& TableDefinition(Table table);
std::string_view TableName(Table table);
// Every table in declaration order.
const std::vector<Table>& AllTables();
// The table that `name` names, ignoring case and a ".db" ending.
std::optional<Table> FindTable(std::string_view name);
// As FindTable, but an unknown name raises StoreError.
Table TableNamed(std::string_view name);

// A failure of the store or a value that does not fit its field.
class StoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A value of one field: empty (null), an integer, a real or a text (UTF-8).
using FieldValue = std::variant<std::monostate, std::int64_t, double, std::string>;

// One row of a table: a value per field of the table, in the table's field
// order. Reading a null number gives 0 and a null text "", as the grids show
// an empty cell. Setting converts a number to the field's type; a real with a
// fraction does not go into an Integer field and a text longer than its field
// is refused (StoreError naming the field).
class Row {
 public:
  explicit Row(Table table);

  Table table() const { return m_table; }
  std::size_t fieldCount() const { return m_values.size(); }
  const FieldValue& value(std::size_t index) const { return m_values[index]; }
  FieldValue& value(std::size_t index) { return m_values[index]; }

  // A field by its key: the key's layout must be the row's table's (a logic
  // error otherwise).
  template <FieldKey F>
  std::int32_t integer(F field) const {
    return integerAt(index(field));
  }
  template <FieldKey F>
  double real(F field) const {
    return realAt(index(field));
  }
  template <FieldKey F>
  std::string text(F field) const {
    return textAt(index(field));
  }
  template <FieldKey F>
  bool isNull(F field) const {
    return isNullAt(index(field));
  }
  template <FieldKey F>
  Row& set(F field, std::int64_t value) {
    return setAt(index(field), value);
  }
  template <FieldKey F>
  Row& set(F field, int value) {
    return setAt(index(field), static_cast<std::int64_t>(value));
  }
  template <FieldKey F>
  Row& set(F field, double value) {
    return setAt(index(field), value);
  }
  template <FieldKey F>
  Row& set(F field, std::string_view value) {
    return setAt(index(field), value);
  }
  template <FieldKey F>
  Row& set(F field, const char* value) {
    return setAt(index(field), std::string_view(value));
  }
  template <FieldKey F>
  Row& setNull(F field) {
    return setNullAt(index(field));
  }

  // A field by its place in the table's layout, for code that visits every
  // field of any table.
  std::int32_t integerAt(std::size_t field) const;
  double realAt(std::size_t field) const;
  std::string textAt(std::size_t field) const;
  bool isNullAt(std::size_t field) const;
  Row& setAt(std::size_t field, std::int64_t value);
  Row& setAt(std::size_t field, double value);
  Row& setAt(std::size_t field, std::string_view value);
  Row& setNullAt(std::size_t field);

  // A field by the name a file, a grid or a layout gives (StoreError for a
  // name the table does not have).
  std::int32_t integerNamed(std::string_view field) const { return integerAt(fieldIndex(field)); }
  double realNamed(std::string_view field) const { return realAt(fieldIndex(field)); }
  std::string textNamed(std::string_view field) const { return textAt(fieldIndex(field)); }
  bool isNullNamed(std::string_view field) const { return isNullAt(fieldIndex(field)); }
  Row& setNamed(std::string_view field, std::int64_t value) { return setAt(fieldIndex(field), value); }
  Row& setNamed(std::string_view field, int value) {
    return setAt(fieldIndex(field), static_cast<std::int64_t>(value));
  }
  Row& setNamed(std::string_view field, double value) { return setAt(fieldIndex(field), value); }
  Row& setNamed(std::string_view field, std::string_view value) { return setAt(fieldIndex(field), value); }
  Row& setNullNamed(std::string_view field) { return setNullAt(fieldIndex(field)); }

  // Index of the field a file or a grid names, or StoreError.
  std::size_t fieldIndex(std::string_view field) const;

  bool operator==(const Row& other) const = default;

 private:
  template <FieldKey F>
  std::size_t index(F field) const {
    const int i = FieldLayout<F>::IndexIn(LayoutOf(m_table), field);
    if (i < 0) RefuseLayout(m_table, FieldNameOf(field));
    return static_cast<std::size_t>(i);
  }
  [[noreturn]] static void RefuseLayout(Table table, std::string_view field);

  Table m_table;
  std::vector<FieldValue> m_values;
};

// Refuses (StoreError naming the field) a number that does not go into
// `field`: any number for a text field, and for an Integer field one that is
// not whole or does not fit 32 bits.
[[noreturn]] void RefuseNumber(const FieldDef& field);
inline void CheckNumberFits(const FieldDef& field, double value) {
  if (field.type == FieldType::Float) return;
  if (field.type == FieldType::Integer && std::trunc(value) == value && value >= -2147483648.0 &&
      value <= 2147483647.0) {
    return;
  }
  RefuseNumber(field);
}

// Number of characters of a UTF-8 text (what a String field limits).
std::size_t CharacterCount(std::string_view utf8);

// The operations on the working tables. Positions are 1-based, in stored
// order. Failures raise StoreError. The reads are const: a reader that holds
// the store const (a window, through the document) can read but not write.
class WorkingStore {
 public:
  virtual ~WorkingStore() = default;

  virtual int rowCount(Table table) const = 0;
  // All rows in stored order.
  virtual std::vector<Row> rows(Table table) const = 0;
  // The row at `position` (1 to rowCount).
  virtual Row rowAt(Table table, int position) const = 0;
  // The rows at positions first to first + count - 1 that exist, in stored
  // order: fewer at the end of the table, none past it.
  virtual std::vector<Row> rowsFrom(Table table, int first, int count) const;
  // Calls `visitor` with every row in stored order, one at a time, without
  // holding the table: the row passed is valid during the call only. The
  // visitor may read the store but not change it.
  virtual void visitRows(Table table, const std::function<void(const Row&)>& visitor) const;
  // As visitRows, with the row's fields as numbers in field order (an empty
  // field, or a text, as 0).
  virtual void visitNumbers(Table table, const std::function<void(const double* values)>& visitor) const;
  virtual void append(const Row& row) = 0;
  // Appends `count` rows, of any tables, in order, in one transaction.
  void appendRows(const Row* rows, std::size_t count);
  // Appends `count` rows to a table whose fields are all numbers, given as
  // `count` x (number of fields) values, row after row in field order: an
  // Integer field takes a whole number, as Row::set does. For a run's
  // Results rows: in one go, and without a Row per row.
  virtual void appendNumbers(Table table, const double* values, std::size_t count);
  // Puts `row` before the row at `position` (1 to rowCount + 1; rowCount + 1
  // appends); the rows from `position` on move one place down.
  virtual void insert(int position, const Row& row);
  // Replaces the row at `position` (1 to rowCount) of row.table().
  virtual void update(int position, const Row& row) = 0;
  // Removes the row at `position`; the rows after it keep their order.
  virtual void remove(Table table, int position) = 0;
  virtual void empty(Table table) = 0;

  // Bulk writes run inside one transaction. Nested begin/commit pairs join
  // the outermost one.
  virtual void beginTransaction() = 0;
  virtual void commitTransaction() = 0;
  virtual void rollbackTransaction() = 0;

  // Name-based forms, for callers that hold a table's name.
  int rowCount(std::string_view name) const { return rowCount(TableNamed(name)); }
  std::vector<Row> rows(std::string_view name) const { return rows(TableNamed(name)); }
  void empty(std::string_view name) { empty(TableNamed(name)); }
};

// Commits on commit(), rolls back when left without it (an exception).
class StoreTransaction {
 public:
  explicit StoreTransaction(WorkingStore& store) : m_store(store) { m_store.beginTransaction(); }
  ~StoreTransaction() {
    if (!m_done) {
      try {
        m_store.rollbackTransaction();
      } catch (...) {
      }
    }
  }
  void commit() {
    m_store.commitTransaction();
    m_done = true;
  }
  StoreTransaction(const StoreTransaction&) = delete;
  StoreTransaction& operator=(const StoreTransaction&) = delete;

 private:
  WorkingStore& m_store;
  bool m_done = false;
};

}  // namespace pelodyn
