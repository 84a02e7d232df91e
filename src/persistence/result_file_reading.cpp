#include "persistence/result_file_reading.h"

#include <charconv>
#include <fstream>
#include <string>
#include <vector>

#include "persistence/text_file.h"

namespace pelodyn {
namespace {

// The blank-separated numbers of a line; false when a word is no number.
bool Numbers(const std::string& line, std::vector<double>& values) {
  values.clear();
  const char* p = line.data();
  const char* const end = p + line.size();
  while (true) {
    while (p < end && (*p == ' ' || *p == '\r')) ++p;
    if (p == end) return true;
    double v = 0.0;
    const auto [next, ec] = std::from_chars(p, end, v);
    if (ec != std::errc() || (next < end && *next != ' ' && *next != '\r')) return false;
    values.push_back(v);
    p = next;
  }
}

constexpr std::size_t kPieceRows = 16384;

bool StartsWith(const std::string& line, std::string_view prefix) {
  return line.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

void ReadResultFileTables(WorkingStore& store, const std::filesystem::path& path) {
  const Table tables[] = {Table::Results, Table::NonCirSlip_Janbu, Table::NonCirSlip_Bishop, Table::NonCirSlip_Spencer};
  auto emptyAll = [&] {
    StoreTransaction transaction(store);
    for (Table t : tables) {
      if (store.rowCount(t) > 0) store.empty(t);
    }
    transaction.commit();
  };
  emptyAll();
  std::ifstream in(path, std::ios::binary);
  if (!in) throw FileError("Cannot open the result file " + path.string());
  auto fail = [&](long line, const std::string& why) {
    return FileError("The result file " + path.string() + " cannot be read at line " + std::to_string(line) + ": " +
                     why);
  };

  std::string line;
  long lineNo = 0;
  auto next = [&] {
    if (!std::getline(in, line)) return false;
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
  };
  if (!next() || line != "=====Pelodyn_2.0_Result=====") throw fail(1, "it is not a Pelodyn result file");

  try {
    StoreTransaction transaction(store);
    // Which table the rows under the current heading go to, while `reading`
    // (not outside a table). A plain pair, not an optional: GCC takes an
    // optional enum here for one that may be read uninitialised.
    Table into = Table::Results;
    bool reading = false;
    bool headerSeen = false;
    std::vector<double> values;
    std::vector<double> results;
    while (next()) {
      if (StartsWith(line, "|    No.    |     X     |     Y     |   Radius")) {
        into = Table::Results;
        reading = true;
        headerSeen = false;
        continue;
      }
      if (StartsWith(line, "Failure Surface Coordinate for ")) {
        const std::string method = line.substr(31);
        reading = method == "Simp.Janbu" || method == "Simp.Bishop" || method == "Spencer";
        into = method == "Simp.Janbu"    ? Table::NonCirSlip_Janbu
               : method == "Simp.Bishop" ? Table::NonCirSlip_Bishop
                                         : Table::NonCirSlip_Spencer;
        headerSeen = false;
        continue;
      }
      if (!reading) continue;
      if (StartsWith(line, "|    No.")) continue;
      if (StartsWith(line, "-----")) {
        headerSeen = headerSeen || StartsWith(line, "-----");
        continue;
      }
      if (StartsWith(line, "=====")) {
        reading = false;
        continue;
      }
      if (!headerSeen) continue;
      if (!Numbers(line, values)) throw fail(lineNo, "a row holds a word that is no number");
      if (into == Table::Results) {
        if (values.size() != 8) throw fail(lineNo, "a Results row has " + std::to_string(values.size()) + " values");
        results.insert(results.end(), values.begin(), values.end());
        // A million rows go in a piece at a time, never held whole.
        if (results.size() >= kPieceRows * 8) {
          store.appendNumbers(Table::Results, results.data(), results.size() / 8);
          results.clear();
        }
      } else {
        // A point's number and coordinates, in the table's field order.
        if (values.size() != 3) throw fail(lineNo, "a surface point has " + std::to_string(values.size()) + " values");
        store.appendNumbers(into, values.data(), 1);
      }
    }
    if (!results.empty()) store.appendNumbers(Table::Results, results.data(), results.size() / 8);
    transaction.commit();
  } catch (...) {
    emptyAll();
    throw;
  }
}

}  // namespace pelodyn
