#include "model/working_store.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace pelodyn {
namespace {

constexpr FieldType I = FieldType::Integer;
constexpr FieldType F = FieldType::Float;
constexpr FieldType S = FieldType::String;

std::vector<TableDef> MakeTables() {
  const std::vector<FieldDef> soil = {{"Line No.", I, 0},    {"Cohesion", F, 0},     {"Phi", F, 0},
                                      {"Unit Weight", F, 0}, {"Description", S, 30}, {"Color", I, 0}};
  const std::vector<FieldDef> points = {{"Point No.", I, 0}, {"Coordi X", F, 0}, {"Coordi Y", F, 0}};
  std::vector<TableDef> t = {
      {Table::Soil_Prop, "Soil_Prop", "Soil_Prop.DB", soil},
      {Table::Aniso,
       "Aniso",
       "Aniso.DB",
       {{"Line No.", I, 0},
        {"C-v", F, 0},
        {"C-h", F, 0},
        {"Phi-v", F, 0},
        {"Phi-h", F, 0},
        {"Unit Weight", F, 0},
        {"Description", S, 30},
        {"Color", I, 0}}},
      {Table::Aniso_advance,
       "Aniso_advance",
       "Aniso_advance.DB",
       {{"Line No.", I, 0}, {"Normal Stress", F, 0}, {"Phi-v", F, 0}, {"Phi-h", F, 0}}},
      {Table::Geometry,
       "Geometry",
       "Geometry.db",
       {{"Line No.", I, 0}, {"Point No.", I, 0}, {"Coordi X", F, 0}, {"Coordi Y", F, 0}}},
      {Table::Bottom_Line,
       "Bottom_Line",
       "Bottom_Line.DB",
       {{"Line No.", I, 0}, {"Begin Point", I, 0}, {"End Point", I, 0}}},
      {Table::Waterline, "Waterline", "Waterline.db", points},
      {Table::Ru_variable, "Ru_variable", "Ru_variable.db", {{"Line No.", I, 0}, {"Ru", F, 0}}},
      {Table::Tcrack, "Tcrack", "Tcrack.db", points},
      {Table::Anchor,
       "Anchor",
       "Anchor.DB",
       {{"Load No.", I, 0},
        {"Magnitude", F, 0},
        {"X start", F, 0},
        {"Y start", F, 0},
        {"X end", F, 0},
        {"Y end", F, 0},
        {"Bonded Length", F, 0}}},
      {Table::Lineload,
       "Lineload",
       "Lineload.DB",
       {{"Load No.", I, 0}, {"Magnitude", F, 0}, {"Coordi X", F, 0}, {"Coordi Y", F, 0}, {"Angle", F, 0}}},
      {Table::Stripload,
       "Stripload",
       "Stripload.DB",
       {{"Load No.", I, 0}, {"Magnitude", F, 0}, {"Begin X", F, 0}, {"End X", F, 0}, {"Y1", F, 0}, {"Y2", F, 0}}},
      {Table::NonCircular_Coordinate, "NonCircular_Coordinate", "NonCircular_Coordinate.db", points},
      {Table::Soil_Prop_Bak, "Soil_Prop_Bak", "Soil_Prop_Bak.DB", soil},
      {Table::Failure_Geometry,
       "Failure_Geometry",
       "Failure_Geometry.DB",
       {{"No", I, 0}, {"Coor_X", F, 0}, {"Coor_Y", F, 0}}},
      {Table::Results,
       "Results",
       "Results.DB",
       {{"Num", I, 0},
        {"X_Center", F, 0},
        {"Y_Center", F, 0},
        {"Radius", F, 0},
        {"FS_Ord", F, 0},
        {"FS_Jan", F, 0},
        {"FS_Bis", F, 0},
        {"FS_Spe", F, 0}}},
      {Table::NonCirSlip_Janbu, "NonCirSlip_Janbu", "NonCirSlip_Janbu.db", points},
      {Table::NonCirSlip_Bishop, "NonCirSlip_Bishop", "NonCirSlip_Bishop.db", points},
      {Table::NonCirSlip_Spencer, "NonCirSlip_Spencer", "NonCirSlip_Spencer.db", points},
      {Table::Root_No, "Root_No", "Root_No.db", {{"Root No.", I, 0}, {"Discription", S, 30}, {"Cohesion", F, 0}}},
      {Table::Root_Layer, "Root_Layer", "Root_Layer.db", {{"Root No.", I, 0}, {"Layer No.", I, 0}, {"Radius", F, 0}}},
      {Table::Root_Position,
       "Root_Position",
       "Root_Position.db",
       {{"No.", I, 0}, {"Root Type", I, 0}, {"Coordi X", F, 0}, {"Coordi Y", F, 0}}},
  };
  return t;
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

std::size_t Row::fieldIndex(std::string_view field) const {
  const auto& fields = TableDefinition(m_table).fields;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (EqualsNoCase(fields[i].name, field)) return i;
  }
  throw StoreError("Field '" + std::string(field) + "' not found in table " + std::string(TableName(m_table)));
}

std::int32_t Row::integer(std::string_view field) const {
  const FieldValue& v = m_values[fieldIndex(field)];
  if (const auto* i = std::get_if<std::int64_t>(&v)) return static_cast<std::int32_t>(*i);
  if (const auto* d = std::get_if<double>(&v)) {
    if (*d >= INT32_MIN && *d <= INT32_MAX) return static_cast<std::int32_t>(*d);
  }
  return 0;
}

double Row::real(std::string_view field) const {
  const FieldValue& v = m_values[fieldIndex(field)];
  if (const auto* d = std::get_if<double>(&v)) return *d;
  if (const auto* i = std::get_if<std::int64_t>(&v)) return static_cast<double>(*i);
  return 0.0;
}

std::string Row::text(std::string_view field) const {
  const FieldValue& v = m_values[fieldIndex(field)];
  if (const auto* s = std::get_if<std::string>(&v)) return *s;
  return {};
}

bool Row::isNull(std::string_view field) const {
  return std::holds_alternative<std::monostate>(m_values[fieldIndex(field)]);
}

Row& Row::set(std::string_view field, std::int64_t value) {
  const std::size_t i = fieldIndex(field);
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

Row& Row::set(std::string_view field, double value) {
  const std::size_t i = fieldIndex(field);
  const FieldDef& def = TableDefinition(m_table).fields[i];
  CheckNumberFits(def, value);
  if (def.type == FieldType::Integer) {
    m_values[i] = static_cast<std::int64_t>(value);
  } else {
    m_values[i] = value;
  }
  return *this;
}

Row& Row::set(std::string_view field, std::string_view value) {
  const std::size_t i = fieldIndex(field);
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

Row& Row::setNull(std::string_view field) {
  m_values[fieldIndex(field)] = std::monostate{};
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
    for (std::size_t i = 0; i < fields; ++i) rows[r].set(def.fields[i].name, values[r * fields + i]);
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
