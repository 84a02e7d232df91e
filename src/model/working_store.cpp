#include "model/working_store.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace pelodyn {
namespace {

struct TableNames {
  Table id;
  std::string_view name;
  std::string_view fileName;
};

const TableNames kTableNames[] = {
    {Table::Soil_Prop, "Soil_Prop", "Soil_Prop.DB"},
    {Table::Aniso, "Aniso", "Aniso.DB"},
    {Table::Aniso_advance, "Aniso_advance", "Aniso_advance.DB"},
    {Table::Geometry, "Geometry", "Geometry.db"},
    {Table::Bottom_Line, "Bottom_Line", "Bottom_Line.DB"},
    {Table::Waterline, "Waterline", "Waterline.db"},
    {Table::Ru_variable, "Ru_variable", "Ru_variable.db"},
    {Table::Tcrack, "Tcrack", "Tcrack.db"},
    {Table::Anchor, "Anchor", "Anchor.DB"},
    {Table::Lineload, "Lineload", "Lineload.DB"},
    {Table::Stripload, "Stripload", "Stripload.DB"},
    {Table::NonCircular_Coordinate, "NonCircular_Coordinate", "NonCircular_Coordinate.db"},
    {Table::Soil_Prop_Bak, "Soil_Prop_Bak", "Soil_Prop_Bak.DB"},
    {Table::Failure_Geometry, "Failure_Geometry", "Failure_Geometry.DB"},
    {Table::Results, "Results", "Results.DB"},
    {Table::NonCirSlip_Janbu, "NonCirSlip_Janbu", "NonCirSlip_Janbu.db"},
    {Table::NonCirSlip_Bishop, "NonCirSlip_Bishop", "NonCirSlip_Bishop.db"},
    {Table::NonCirSlip_Spencer, "NonCirSlip_Spencer", "NonCirSlip_Spencer.db"},
    {Table::Root_No, "Root_No", "Root_No.db"},
    {Table::Root_Layer, "Root_Layer", "Root_Layer.db"},
    {Table::Root_Position, "Root_Position", "Root_Position.db"},
};

std::vector<TableDef> MakeTables() {
  std::vector<TableDef> tables;
  for (const TableNames& t : kTableNames) {
    const auto fields = LayoutFields(LayoutOf(t.id));
    tables.push_back({t.id, t.name, t.fileName, std::vector<FieldDef>(fields.begin(), fields.end())});
  }
  return tables;
}

const std::vector<TableDef>& Tables() {
  static const std::vector<TableDef> tables = MakeTables();
  return tables;
}

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

}  // namespace

const TableDef& TableDefinition(Table table) {
  return Tables()[static_cast<std::size_t>(table)];
}

std::string_view TableName(Table table) {
  return TableDefinition(table).name;
}

const std::vector<Table>& AllTables() {
  static const std::vector<Table> all = [] {
    std::vector<Table> v;
    for (const TableDef& t : Tables()) v.push_back(t.id);
    return v;
  }();
  return all;
}

std::optional<Table> FindTable(std::string_view name) {
  if (name.size() > 3 && EqualsNoCase(name.substr(name.size() - 3), ".db")) {
    name.remove_suffix(3);
  }
  for (const TableDef& t : Tables()) {
    if (EqualsNoCase(t.name, name)) return t.id;
  }
  return std::nullopt;
}

Table TableNamed(std::string_view name) {
  if (auto t = FindTable(name)) return *t;
  throw StoreError("Table not found: " + std::string(name));
}

std::size_t CharacterCount(std::string_view utf8) {
  std::size_t n = 0;
  for (char c : utf8) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  }
  return n;
}

Row::Row(Table table) : m_table(table), m_values(TableDefinition(table).fields.size()) {}

void Row::RefuseLayout(Table table, std::string_view field) {
  throw std::logic_error("Field '" + std::string(field) + "' is not a field of table " + std::string(TableName(table)));
}

std::size_t Row::fieldIndex(std::string_view field) const {
  const auto& fields = TableDefinition(m_table).fields;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (EqualsNoCase(fields[i].name, field)) return i;
  }
  throw StoreError("Field '" + std::string(field) + "' not found in table " + std::string(TableName(m_table)));
}

std::int32_t Row::integerAt(std::size_t field) const {
  const FieldValue& v = m_values[field];
  if (const auto* i = std::get_if<std::int64_t>(&v)) return static_cast<std::int32_t>(*i);
  if (const auto* d = std::get_if<double>(&v)) {
    if (*d >= INT32_MIN && *d <= INT32_MAX) return static_cast<std::int32_t>(*d);
  }
  return 0;
}

double Row::realAt(std::size_t field) const {
  const FieldValue& v = m_values[field];
  if (const auto* d = std::get_if<double>(&v)) return *d;
  if (const auto* i = std::get_if<std::int64_t>(&v)) return static_cast<double>(*i);
  return 0.0;
}

std::string Row::textAt(std::size_t field) const {
  const FieldValue& v = m_values[field];
  if (const auto* s = std::get_if<std::string>(&v)) return *s;
  return {};
}

bool Row::isNullAt(std::size_t field) const {
  return std::holds_alternative<std::monostate>(m_values[field]);
}

Row& Row::setAt(std::size_t i, std::int64_t value) {
  const FieldDef& def = TableDefinition(m_table).fields[i];
  switch (def.type) {
    case FieldType::Integer:
      if (value < INT32_MIN || value > INT32_MAX) {
        throw StoreError("Field '" + std::string(def.name) + "': " + std::to_string(value) +
                         " is outside the range of an integer");
      }
      m_values[i] = value;
      break;
    case FieldType::Float:
      m_values[i] = static_cast<double>(value);
      break;
    case FieldType::String:
      m_values[i] = std::to_string(value);
      break;
  }
  return *this;
}

void RefuseNumber(const FieldDef& field) {
  throw StoreError("Field '" + std::string(field.name) + "' takes " +
                   (field.type == FieldType::String ? "text only" : "whole numbers only"));
}

Row& Row::setAt(std::size_t i, double value) {
  const FieldDef& def = TableDefinition(m_table).fields[i];
  CheckNumberFits(def, value);
  if (def.type == FieldType::Integer) {
    m_values[i] = static_cast<std::int64_t>(value);
  } else {
    m_values[i] = value;
  }
  return *this;
}

Row& Row::setAt(std::size_t i, std::string_view value) {
  const FieldDef& def = TableDefinition(m_table).fields[i];
  if (def.type != FieldType::String) {
    throw StoreError("Field '" + std::string(def.name) + "' takes numbers only");
  }
  if (CharacterCount(value) > static_cast<std::size_t>(def.size)) {
    throw StoreError("Field '" + std::string(def.name) + "' holds at most " + std::to_string(def.size) +
                     " characters: '" + std::string(value) + "'");
  }
  m_values[i] = std::string(value);
  return *this;
}

Row& Row::setNullAt(std::size_t field) {
  m_values[field] = std::monostate{};
  return *this;
}

std::vector<Row> WorkingStore::rowsFrom(Table table, int first, int count) const {
  std::vector<Row> out;
  const long long last = std::min<long long>(static_cast<long long>(first) + count - 1, rowCount(table));
  for (long long position = std::max(first, 1); position <= last; ++position) {
    out.push_back(rowAt(table, static_cast<int>(position)));
  }
  return out;
}

void WorkingStore::insert(int position, const Row& row) {
  const Table table = row.table();
  const int count = rowCount(table);
  if (position < 1 || position > count + 1) {
    throw StoreError("Table " + std::string(TableName(table)) + " has no row " + std::to_string(position));
  }
  // A store that only appends writes the rows from `position` on again
  // after the new one.
  std::vector<Row> tail = rowsFrom(table, position, count - position + 1);
  for (std::size_t k = 0; k < tail.size(); ++k) remove(table, position);
  append(row);
  for (const Row& r : tail) append(r);
}

void WorkingStore::appendRows(const Row* rows, std::size_t count) {
  StoreTransaction transaction(*this);
  for (std::size_t k = 0; k < count; ++k) append(rows[k]);
  transaction.commit();
}

void WorkingStore::appendNumbers(Table table, const double* values, std::size_t count) {
  const TableDef& def = TableDefinition(table);
  const std::size_t fields = def.fields.size();
  std::vector<Row> rows(count, Row(table));
  for (std::size_t r = 0; r < count; ++r) {
    for (std::size_t i = 0; i < fields; ++i) rows[r].setAt(i, values[r * fields + i]);
  }
  appendRows(rows.data(), rows.size());
}

void WorkingStore::visitNumbers(Table table, const std::function<void(const double* values)>& visitor) const {
  std::vector<double> numbers(TableDefinition(table).fields.size());
  visitRows(table, [&](const Row& row) {
    for (std::size_t i = 0; i < numbers.size(); ++i) {
      const FieldValue& v = row.value(i);
      if (const auto* d = std::get_if<double>(&v)) {
        numbers[i] = *d;
      } else if (const auto* n = std::get_if<std::int64_t>(&v)) {
        numbers[i] = static_cast<double>(*n);
      } else {
        numbers[i] = 0.0;
      }
    }
    visitor(numbers.data());
  });
}

void WorkingStore::visitRows(Table table, const std::function<void(const Row&)>& visitor) const {
  for (const Row& row : rows(table)) visitor(row);
}

}  // namespace pelodyn
