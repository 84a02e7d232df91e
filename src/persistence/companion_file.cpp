#include "persistence/companion_file.h"

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "model/data_fingerprint.h"
#include "persistence/text_file.h"

namespace pelodyn {
namespace {

using Json = nlohmann::ordered_json;

void ApplyCompanionOptions(const Companion& companion, OptionValues& values);

// The tables an analysis reads.
bool InputTable(Table table) {
  switch (table) {
    case Table::Soil_Prop:
    case Table::Aniso:
    case Table::Aniso_advance:
    case Table::Geometry:
    case Table::Bottom_Line:
    case Table::Waterline:
    case Table::Ru_variable:
    case Table::Tcrack:
    case Table::Anchor:
    case Table::Lineload:
    case Table::Stripload:
    case Table::NonCircular_Coordinate:
      return true;
    default:
      return false;
  }
}

constexpr const char* kFormat = "pelodyn-companion";

const ControlDef* FindControl(std::string_view name) {
  for (const ControlDef& def : OptionControls()) {
    if (def.name == name) return &def;
  }
  return nullptr;
}

std::string Hex(std::uint64_t v) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(v));
  return text;
}

std::uint64_t FromHex(const std::string& text) {
  if (text.size() != 16 || text.find_first_not_of("0123456789abcdef") != std::string::npos) {
    throw std::invalid_argument("fingerprint \"" + text + "\" is not 16 hexadecimal digits");
  }
  return std::stoull(text, nullptr, 16);
}

Json RowJson(const Row& row) {
  const TableDef& def = TableDefinition(row.table());
  Json j = Json::object();
  for (std::size_t f = 0; f < row.fieldCount(); ++f) {
    const FieldValue& v = row.value(f);
    const std::string name(def.fields[f].name);
    if (const auto* i = std::get_if<std::int64_t>(&v)) {
      j[name] = *i;
    } else if (const auto* d = std::get_if<double>(&v)) {
      j[name] = *d;
    } else if (const auto* s = std::get_if<std::string>(&v)) {
      j[name] = *s;
    } else {
      j[name] = nullptr;
    }
  }
  return j;
}

Row JsonRow(Table table, const Json& j) {
  if (!j.is_object()) throw std::invalid_argument(std::string(TableName(table)) + ": a row is not an object");
  Row row(table);
  for (const auto& [name, value] : j.items()) {
    if (value.is_null()) {
      row.setNullNamed(name);
    } else if (value.is_number_integer()) {
      row.setNamed(name, value.get<std::int64_t>());
    } else if (value.is_number()) {
      row.setNamed(name, value.get<double>());
    } else if (value.is_string()) {
      row.setNamed(name, std::string_view(value.get_ref<const std::string&>()));
    } else {
      throw std::invalid_argument(std::string(TableName(table)) + ": field " + name + " holds no value");
    }
  }
  return row;
}

Json MinimumJson(const MethodMinimum& m) {
  return Json{{"fs", m.Fs},         {"centerX", m.CenterX}, {"centerY", m.CenterY}, {"radius", m.Radius},
              {"entryX", m.EntryX}, {"entryY", m.EntryY},   {"exitX", m.ExitX},     {"exitY", m.ExitY}};
}

MethodMinimum JsonMinimum(const Json& j) {
  MethodMinimum m;
  m.Fs = j.at("fs").get<double>();
  m.CenterX = j.at("centerX").get<double>();
  m.CenterY = j.at("centerY").get<double>();
  m.Radius = j.at("radius").get<double>();
  m.EntryX = j.at("entryX").get<double>();
  m.EntryY = j.at("entryY").get<double>();
  m.ExitX = j.at("exitX").get<double>();
  m.ExitY = j.at("exitY").get<double>();
  return m;
}

Json StampJson(const ResultsStamp& s) {
  Json j;
  j["fingerprint"] = Hex(s.fingerprint);
  j["theory"] = s.theory;
  j["methods"] = s.methods;
  j["partial"] = s.partial;
  j["trialsDone"] = s.trialsDone;
  j["trialsTotal"] = s.trialsTotal;
  Json warnings = Json::array();
  for (const auto& [method, edge] : s.warnings) warnings.push_back(Json{{"method", method}, {"edge", edge}});
  j["warnings"] = warnings;
  Json minima = Json::array();
  for (const MethodMinimum& m : s.minima) minima.push_back(MinimumJson(m));
  j["minima"] = minima;
  Json surfaces = Json::array();
  for (std::size_t k = 0; k < s.bestSurfaceX.size(); ++k) {
    surfaces.push_back(Json{{"x", s.bestSurfaceX[k]}, {"y", s.bestSurfaceY[k]}});
  }
  j["bestSurfaces"] = surfaces;
  j["maxRadius"] = s.maxRadius;
  j["minRadius"] = s.minRadius;
  j["resultFileSize"] = s.resultFileSize;
  return j;
}

ResultsStamp JsonStamp(const Json& j) {
  ResultsStamp s;
  s.fingerprint = FromHex(j.at("fingerprint").get<std::string>());
  s.theory = j.at("theory").get<int>();
  s.methods = j.at("methods").get<std::array<bool, kMethodCount>>();
  s.partial = j.at("partial").get<bool>();
  s.trialsDone = j.at("trialsDone").get<long>();
  s.trialsTotal = j.at("trialsTotal").get<long>();
  for (const Json& w : j.at("warnings")) s.warnings.emplace_back(w.at("method").get<int>(), w.at("edge").get<int>());
  const Json& minima = j.at("minima");
  if (minima.size() != kMethodCount) throw std::invalid_argument("results: four minima expected");
  for (std::size_t k = 0; k < kMethodCount; ++k) s.minima[k] = JsonMinimum(minima[k]);
  const Json& surfaces = j.at("bestSurfaces");
  if (surfaces.size() != kMethodCount) throw std::invalid_argument("results: four best surfaces expected");
  for (std::size_t k = 0; k < kMethodCount; ++k) {
    s.bestSurfaceX[k] = surfaces[k].at("x").get<std::vector<double>>();
    s.bestSurfaceY[k] = surfaces[k].at("y").get<std::vector<double>>();
    if (s.bestSurfaceX[k].size() != s.bestSurfaceY[k].size()) {
      throw std::invalid_argument("results: a best surface has more x than y values");
    }
  }
  s.maxRadius = j.at("maxRadius").get<double>();
  s.minRadius = j.at("minRadius").get<double>();
  s.resultFileSize = j.at("resultFileSize").get<std::uintmax_t>();
  return s;
}

}  // namespace

std::filesystem::path CompanionFilePath(const std::string& projectFilePath) {
  const std::size_t separator = projectFilePath.find_last_of("/\\");
  const std::size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
  const std::size_t size = projectFilePath.size();
  if (size >= nameStart + 5 && projectFilePath[size - 4] == '.') {
    const std::string_view ending = std::string_view(projectFilePath).substr(size - 3);
    if (ending.find_first_of("./\\") == std::string_view::npos) return projectFilePath.substr(0, size - 4) + ".pdx";
  }
  return projectFilePath + ".pdx";
}

const std::vector<Table>& CompanionTables() {
  static const std::vector<Table> tables = {Table::Root_No, Table::Root_Layer, Table::Root_Position,
                                            Table::Soil_Prop_Bak};
  return tables;
}

bool Companion::holdsData() const {
  return !optionTexts.empty() || !optionIndexes.empty() || !tables.empty() || results || otherKeys != "{}";
}

void RecordBeyondFile(Companion& companion, Project& project, Project& saved) {
  companion.optionTexts.clear();
  companion.optionIndexes.clear();
  companion.tables.clear();
  companion.fileFingerprint.reset();
  const OptionValues& values = project.options;
  for (const ControlDef& def : OptionControls()) {
    switch (def.kind) {
      case ControlKind::Edit:
        if (values.text(def.key) != saved.options.text(def.key)) {
          companion.optionTexts[std::string(def.name)] = values.text(def.key);
        }
        break;
      case ControlKind::Choice:
        if (values.itemIndex(def.key) != saved.options.itemIndex(def.key)) {
          companion.optionIndexes[std::string(def.name)] = values.itemIndex(def.key);
        }
        break;
      case ControlKind::Check:
        if (values.checked(def.key) != saved.options.checked(def.key)) {
          companion.optionIndexes[std::string(def.name)] = values.checked(def.key) ? 1 : 0;
        }
        break;
    }
  }
  for (Table table : AllTables()) {
    const bool own = std::find(CompanionTables().begin(), CompanionTables().end(), table) != CompanionTables().end();
    if (own) {
      std::vector<Row> rows = project.store->rows(table);
      if (!rows.empty()) companion.tables[table] = std::move(rows);
      continue;
    }
    if (!InputTable(table)) continue;
    std::vector<Row> rows = project.store->rows(table);
    if (rows != saved.store->rows(table)) companion.tables[table] = std::move(rows);
  }
  const bool beyond = !companion.optionTexts.empty() || !companion.optionIndexes.empty() ||
                      std::any_of(companion.tables.begin(), companion.tables.end(),
                                  [](const auto& entry) { return InputTable(entry.first); });
  if (beyond) companion.fileFingerprint = AnalysisDataFingerprint(saved);
}

bool ApplyCompanion(const Companion& companion, Project& project) {
  WorkingStore& store = *project.store;
  const bool matches = !companion.fileFingerprint || *companion.fileFingerprint == AnalysisDataFingerprint(project);
  StoreTransaction transaction(store);
  for (const auto& [table, rows] : companion.tables) {
    const bool own = std::find(CompanionTables().begin(), CompanionTables().end(), table) != CompanionTables().end();
    if (!own && !matches) continue;
    store.empty(table);
    for (const Row& row : rows) store.append(row);
  }
  transaction.commit();
  if (matches) ApplyCompanionOptions(companion, project.options);
  return matches;
}

namespace {

void ApplyCompanionOptions(const Companion& companion, OptionValues& values) {
  for (const auto& [name, text] : companion.optionTexts) {
    const ControlDef* def = FindControl(name);
    if (def && def->kind == ControlKind::Edit) values.setText(def->key, text);
  }
  for (const auto& [name, index] : companion.optionIndexes) {
    const ControlDef* def = FindControl(name);
    if (!def) continue;
    if (def->kind == ControlKind::Choice) values.setItemIndex(def->key, index);
    if (def->kind == ControlKind::Check) values.setChecked(def->key, index != 0);
  }
}

}  // namespace

std::string CompanionText(const Companion& companion) {
  Json j;
  j["format"] = kFormat;
  j["version"] = kCompanionVersion;
  if (companion.fileFingerprint) j["fileFingerprint"] = Hex(*companion.fileFingerprint);
  if (!companion.optionTexts.empty() || !companion.optionIndexes.empty()) {
    Json options = Json::object();
    // In the order of the controls, whatever the kind.
    for (const ControlDef& def : OptionControls()) {
      const std::string name(def.name);
      if (auto t = companion.optionTexts.find(name); t != companion.optionTexts.end()) options[name] = t->second;
      if (auto i = companion.optionIndexes.find(name); i != companion.optionIndexes.end()) {
        if (def.kind == ControlKind::Check) {
          options[name] = i->second != 0;
        } else {
          options[name] = i->second;
        }
      }
    }
    j["options"] = options;
  }
  Json tables = Json::object();
  for (const auto& [table, rowsOf] : companion.tables) {
    // An input table is written even when empty: the file gives rows the
    // data had none of only if rounding made them, which it cannot.
    Json rows = Json::array();
    for (const Row& row : rowsOf) rows.push_back(RowJson(row));
    tables[std::string(TableName(table))] = rows;
  }
  if (!tables.empty()) j["tables"] = tables;
  if (companion.results) j["results"] = StampJson(*companion.results);
  const Json other = Json::parse(companion.otherKeys);
  for (const auto& [key, value] : other.items()) {
    if (!j.contains(key)) j[key] = value;
  }
  return j.dump(2) + "\n";
}

Companion ParseCompanion(const std::string& text, const std::string& name) {
  auto damaged = [&](const std::string& why) {
    return FileError("The companion file " + name + " is damaged: " + why);
  };
  Json j;
  try {
    j = Json::parse(text);
  } catch (const std::exception& e) {
    throw damaged(e.what());
  }
  if (!j.is_object() || !j.contains("format") || j["format"] != kFormat) {
    throw damaged("it is not a Pelodyn companion file");
  }
  if (!j.contains("version") || !j["version"].is_number_integer()) throw damaged("it gives no version");
  const int version = j["version"].get<int>();
  if (version > kCompanionVersion) {
    throw FileError("The companion file " + name + " is of version " + std::to_string(version) +
                    ", written by a newer Pelodyn; this one reads version " + std::to_string(kCompanionVersion) +
                    " and older");
  }
  Companion c;
  try {
    Json other = Json::object();
    for (const auto& [key, value] : j.items()) {
      if (key == "format" || key == "version") continue;
      if (key == "fileFingerprint") {
        c.fileFingerprint = FromHex(value.get<std::string>());
      } else if (key == "options") {
        for (const auto& [control, v] : value.items()) {
          const ControlDef* def = FindControl(control);
          if (!def) continue;
          if (def->kind == ControlKind::Edit) {
            c.optionTexts[control] = v.get<std::string>();
          } else if (def->kind == ControlKind::Check) {
            c.optionIndexes[control] = v.get<bool>() ? 1 : 0;
          } else {
            c.optionIndexes[control] = v.get<int>();
          }
        }
      } else if (key == "tables") {
        for (const auto& [tableName, rows] : value.items()) {
          const std::optional<Table> table = FindTable(tableName);
          const bool carried =
              table && (InputTable(*table) || std::find(CompanionTables().begin(), CompanionTables().end(), *table) !=
                                                  CompanionTables().end());
          if (!carried) throw std::invalid_argument("table " + tableName + " does not belong in it");
          std::vector<Row>& into = c.tables[*table];
          for (const Json& row : rows) into.push_back(JsonRow(*table, row));
        }
      } else if (key == "results") {
        c.results = JsonStamp(value);
      } else {
        other[key] = value;
      }
    }
    c.otherKeys = other.dump();
  } catch (const FileError&) {
    throw;
  } catch (const std::exception& e) {
    throw damaged(e.what());
  }
  return c;
}

Companion ReadCompanionFile(const std::filesystem::path& path) {
  return ParseCompanion(ReadFileBytes(path), path.string());
}

void ApplyCompanionBeside(Project& project, const std::filesystem::path& projectFile) {
  const std::filesystem::path path = CompanionFilePath(projectFile.string());
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return;
  ApplyCompanion(ReadCompanionFile(path), project);
}

ResultsStamp StampOfRun(const Project& project, std::uint64_t fingerprint, int theory,
                        const std::array<bool, kMethodCount>& methods, bool partial, long trialsDone, long trialsTotal,
                        std::vector<std::pair<int, int>> warnings) {
  const RunState& run = project.run;
  ResultsStamp stamp;
  stamp.fingerprint = fingerprint;
  stamp.theory = theory;
  stamp.methods = methods;
  stamp.partial = partial;
  stamp.trialsDone = trialsDone;
  stamp.trialsTotal = trialsTotal;
  stamp.warnings = std::move(warnings);
  stamp.minima = run.Minimum;
  stamp.bestSurfaceX = run.BestSurfaceX;
  stamp.bestSurfaceY = run.BestSurfaceY;
  stamp.maxRadius = run.MaxRadius;
  stamp.minRadius = run.MinRadius;
  return stamp;
}

void RecordResultsBeside(const std::filesystem::path& projectFile, const std::optional<ResultsStamp>& stamp) {
  const std::filesystem::path path = CompanionFilePath(projectFile.string());
  std::error_code error;
  const bool exists = std::filesystem::exists(path, error);
  if (!exists && !stamp) return;
  Companion companion = exists ? ReadCompanionFile(path) : Companion{};
  companion.results = stamp;
  if (companion.holdsData()) {
    WriteCompanionFile(companion, path);
  } else {
    std::filesystem::remove(path, error);
  }
}

void WriteCompanionFile(const Companion& companion, const std::filesystem::path& path) {
  WriteFileReplacing(path, CompanionText(companion));
}

}  // namespace pelodyn
