// A plain-text report as lines of styled runs, built whole before any page
// is started, so that a field that cannot be read stops the report before a
// printer or a PDF file sees a single line. Nothing here knows Qt: the
// painter of the reports room draws a model onto a page device.
//
// A line is written left to right: each run is drawn at the current position
// in its own style; the line's height is that of its last run's style (an
// empty line has the body's height).
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/run_state.h"
#include "model/working_store.h"
#include "texts/messages.h"

namespace pelodyn {

struct Project;

// The styles of a report's runs. Body is the monospaced text face at 11 pt;
// Bold and Underline are the body face so; Title is the body face at 14 pt
// (the program line of the header) and Tag the organisation tag at 32 pt
// bold.
enum class RunStyle : std::uint8_t { Body, Bold, Underline, Title, Tag };

struct ReportRun {
  RunStyle style = RunStyle::Body;
  std::string text;  // UTF-8
  bool operator==(const ReportRun&) const = default;
};

struct ReportLine {
  std::vector<ReportRun> runs;  // none: an empty line
  bool operator==(const ReportLine&) const = default;
};

struct ReportModel {
  std::vector<ReportLine> lines;
};

// The line as text with its styles marked: a Bold run as "[b]...[/b]",
// Underline "[u]...[/u]", Title "[title]...[/title]", Tag "[tag]...[/tag]";
// Body runs as they are. For tests and for looking at a report.
std::string DescribeLine(const ReportLine& line);
std::vector<std::string> DescribeLines(const ReportModel& model);

// What the header says besides the program: the project's own file name
// and the moment of printing, as the caller's clock and locale write them.
struct ReportStamp {
  std::string fileName;
  std::string time;
  std::string date;
};

// The run that made the results the result report describes: its theory
// (1 circular, 2 irregular; any other value prints no analysis block), the
// methods it analysed (Ordinary, Janbu, Bishop, Spencer) and each method's
// minimum with its circle.
struct ReportRunDescription {
  std::uint8_t theory = 1;
  std::array<bool, kMethodCount> selected{};
  std::array<MethodMinimum, kMethodCount> minima{};
  // What must be read with the minima (the run was stopped, a minimum lies
  // on the grid's edge), UTF-8, one note each, printed below them in the
  // words the program shows them in; none prints nothing.
  std::vector<std::string> notes;
  // Which surface table Failure_Geometry holds, printed above its points;
  // empty prints nothing.
  std::string shownSurface;
  // The language of the "no factor" text that stands for a minimum that is
  // a result code.
  std::uint8_t language = kLanguageEnglish;
};

// The input data of `project`: its option values and working tables as they
// stand now. A field that must be a number and is not raises
// ConversionError before anything is returned.
ReportModel BuildDataReport(const Project& project, const ReportStamp& stamp);

// The minima of `run` and the points of table Failure_Geometry of `store`.
ReportModel BuildResultReport(const WorkingStore& store, const ReportRunDescription& run, const ReportStamp& stamp);

// The rows of `table` whose integer field `field` is at least 1, ordered by
// it; rows of equal number keep their table order. The reports and the
// printed drawing page list and draw numbered rows (points, loads, soils)
// in this order.
template <FieldKey F>
std::vector<Row> RowsByNumber(const WorkingStore& store, Table table, F field) {
  std::vector<Row> rows = store.rows(table);
  std::erase_if(rows, [&](const Row& r) { return r.integer(field) < 1; });
  std::stable_sort(rows.begin(), rows.end(),
                   [&](const Row& a, const Row& b) { return a.integer(field) < b.integer(field); });
  return rows;
}

// `text` broken at spaces into lines of at most `width` characters; a word
// longer than a line is cut, never before a Thai vowel or tone mark (which
// belongs to the letter before it).
std::vector<std::string> WrapText(std::string_view text, std::size_t width);

// The fixed-width fields of the reports: right-aligned in `width`
// characters, wider when the value needs more.
std::string RightAligned(std::string_view text, int width);
std::string IntegerField(long long value, int width);
std::string FixedField(double value, int width, int decimals);

}  // namespace pelodyn
