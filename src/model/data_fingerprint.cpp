#include "model/data_fingerprint.h"

#include <bit>
#include <charconv>
#include <cstring>
#include <string_view>

namespace pelodyn {
namespace {

// FNV-1a, 64 bits: fast, and ample to tell edits of one project apart.
class Hash {
 public:
  void bytes(const void* data, std::size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
      m_value ^= p[i];
      m_value *= 0x100000001b3ull;
    }
  }
  void tag(char c) { bytes(&c, 1); }
  void integer(std::int64_t v) { bytes(&v, sizeof v); }
  void real(double v) {
    if (v == 0.0) v = 0.0;  // -0 and +0 are one value
    const auto bits = std::bit_cast<std::uint64_t>(v);
    bytes(&bits, sizeof bits);
  }
  void text(std::string_view s) {
    integer(static_cast<std::int64_t>(s.size()));
    bytes(s.data(), s.size());
  }
  std::uint64_t value() const { return m_value; }

 private:
  std::uint64_t m_value = 0xcbf29ce484222325ull;
};

// A typed text by its number when the whole of it (blanks around aside) is
// one, else by its characters.
void HashTyped(Hash& h, std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  double v = 0.0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (!s.empty() && ec == std::errc() && end == s.data() + s.size()) {
    h.tag('n');
    h.real(v);
    return;
  }
  h.tag('t');
  h.text(s);
}

constexpr Table kInputTables[] = {
    Table::Soil_Prop,   Table::Aniso,     Table::Aniso_advance, Table::Geometry,
    Table::Bottom_Line, Table::Waterline, Table::Ru_variable,   Table::Tcrack,
    Table::Anchor,      Table::Lineload,  Table::Stripload,     Table::NonCircular_Coordinate,
};

bool DescriptiveField(std::string_view field) {
  return field == FieldNameOf(SoilCommonField::Description) || field == FieldNameOf(SoilCommonField::Color);
}

}  // namespace

std::uint64_t AnalysisDataFingerprint(const OptionValues& options, WorkingStore& store) {
  Hash h;
  for (const ControlDef& def : OptionControls()) {
    if (def.identity) continue;
    h.text(def.name);
    switch (def.kind) {
      case ControlKind::Edit:
        HashTyped(h, options.text(def.key));
        break;
      case ControlKind::Choice:
        h.integer(options.itemIndex(def.key));
        break;
      case ControlKind::Check:
        h.integer(options.checked(def.key) ? 1 : 0);
        break;
    }
  }
  for (Table table : kInputTables) {
    const TableDef& def = TableDefinition(table);
    h.tag('T');
    h.integer(static_cast<int>(table));
    store.visitRows(table, [&](const Row& row) {
      h.tag('R');
      for (std::size_t f = 0; f < row.fieldCount(); ++f) {
        if (DescriptiveField(def.fields[f].name)) continue;
        const FieldValue& v = row.value(f);
        if (std::holds_alternative<std::monostate>(v)) {
          // An empty cell reads as 0 or "", as a file writes it.
          if (def.fields[f].type == FieldType::String) {
            HashTyped(h, "");
          } else {
            h.tag('n');
            h.real(0.0);
          }
        } else if (const auto* i = std::get_if<std::int64_t>(&v)) {
          // A whole number counts the same in an Integer or a Float field.
          h.tag('n');
          h.real(static_cast<double>(*i));
        } else if (const auto* d = std::get_if<double>(&v)) {
          h.tag('n');
          h.real(*d);
        } else {
          HashTyped(h, std::get<std::string>(v));
        }
      }
    });
  }
  return h.value();
}

}  // namespace pelodyn
