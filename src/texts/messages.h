// The numbered message table and the further bilingual texts of the core.
//
// Every text is UTF-8. A text may hold a line feed, which message boxes show
// as a line break. `Language` is 0 for Thai and 1 for English; any other value
// selects no text at all (the lookups then return an empty view), so a caller
// that shows the result shows nothing rather than a text of the wrong tongue.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "keys/option_keys.h"
#include "keys/table_keys.h"

namespace pelodyn {

inline constexpr std::uint8_t kLanguageThai = 0;
inline constexpr std::uint8_t kLanguageEnglish = 1;

// Number of entries of the message table, numbered 0 to kMessageCount - 1.
inline constexpr int kMessageCount = 19;

// Text of message `number` in `language`; empty for an unknown language or a
// number outside the table.
std::string_view MessageText(std::uint8_t language, int number);

// Texts that the numbered table does not hold: the checks that keep malformed
// tables out of the analysis model. They carry placeholders {0}, {1} ... that
// FormatText fills in.
enum class CoreText {
  // {0} table as its window names it (TableCaption), {1} field as its grid
  // column shows it (FieldCaption), {2} row position (1-based), {3} value,
  // {4} upper bound
  RowNumberOutOfRange,
  // {0} table, {1} field, {2} value (captions as above)
  RowNumberRepeated,
  // The soil table stops at a row that repeats a soil already given: {0}
  // table, {1} row position, {2} field, {3} value.
  SoilRowRepeated,
  // The last row of the soil table does not carry the number of soils: {0}
  // table, {1} row position, {2} field, {3} its number, {4} row count.
  SoilLastNumberNotCount,
  // Geometry: {0} line number, {1} the missing point, {2} the line's highest
  // point number.
  GeometryPointMissing,
  // Geometry: {0} row position, {1} line, {2} point given twice.
  GeometryPointRepeated,
  // Geometry: {0} row position, {1} field, {2} value below 1.
  GeometryNumberBelowOne,
  // The line builders: {0} boundary lines, {1} soils.
  GeometryLinesNotSoils,
  // The line builders: {0} rows of the geometry table, {1} the points its
  // lines count (each line's highest point number, summed).
  GeometryRowsLeftOut,
  // {0} point number the ground line lacks, {1} its point count.
  GroundLineNoPoint,
  // {0} field as the Draw Grid panel labels it, {1} value, {2} limit.
  DivisionAboveLimit,
  // {0} field as the Draw Grid panel labels it, {1} value.
  DivisionNegative,
  // The irregular surface: {0} the highest point number given, {1} rows.
  IrregularPointsNotNumbered,
  // The caption of a warning question, and the question of an axis of the
  // irregular search that lies badly.
  WarningCaption,
  AxisPositionQuestion,
  // {0} bottom line number, {1} number of boundary lines
  BottomLineAboveLineCount,
  // {0} row position, {1} line number, {2} number of boundary lines
  SpecificBottomLineNoLine,
  // {0} row position, {1} point number, {2} line number, {3} its point count
  SpecificBottomLinePointOutOfRange,
  // {0} row position, {1} soil number, {2} number of soils
  AdvancedAnisoNotGrouped,
  // {0} row position, {1} soil number
  AdvancedAnisoStressNotAscending,
  // {0} field, {1} value, {2} limit: a size beyond what any project needs
  ValueAboveLimit,
  // {0} field, {1} value
  CountNegative,
  // {0} field, {1} value, {2} limit: a step so fine the search would not end
  ValueBelowLimit,
  // {0} field, {1} value: a coordinate, strength or unit weight beyond reason
  ValueOutOfReach,
  // {0} circles the grid would analyse and keep, {1} the field that sets the
  // circles of each centre, {2} limit
  GridCirclesAboveLimit,
  // {0} soil number, {1} field ("Cohesion", "Phi-v" ...), {2} value: a
  // strength or unit weight below 0
  SoilValueNegative,
  // {0} soil number, {1} field ("Phi", "Phi-v", "Phi-h"), {2} value: a
  // friction angle of 90 degrees or more
  SoilFrictionAngleTooLarge,
  // {0} row position, {1} soil number, {2} field ("Phi-v", "Phi-h"), {3}
  // value: an angle of the advanced anisotropic table below 0 or from 90 up
  AdvancedAnisoAngleOutOfRange,
  // none of the four methods is selected
  NoMethodSelected,
  // {0} field ("X Increment", "Y Increment"), {1} value: an automatic search
  // whose step is not above 0 would analyse its start centre alone
  AutoIncrementNotPositive,
  // the same with {2}, a step to suggest (the spacing of the grid of centres
  // along that axis)
  AutoIncrementNotPositiveSuggest,
  // water by a water line with no point in the water line table
  WaterLineWithoutPoints,
  // {0} the error that kept the result file from being written (it names
  // the file and the reason)
  ResultFileNotWritten,
  // {0} boundary line number, {1} the ground surface's line number, {2} and
  // {3} the x range where the line lies above the ground surface
  LineAboveGround,
  // A run's Results rows that the store refused: {0} how many, {1} the
  // store's error.
  ResultsRowsNotWritten,
  // The engine's warning of a circle that cuts the ground more than twice
  // (shown in Thai in both languages, as the users know it).
  CircleCutsTwice,
  // The lines of the data check (shown in Thai in both languages; the
  // English twins say the same). {0} a field's label (the CheckLabel texts),
  // {1} the soil number, {2} the value and its bound ("0", "-5 < 0").
  CheckNoSoils,
  CheckLinesNotSoils,
  CheckSoilValue,
  CheckSoilNotZero,
  CheckLabelCohesion,
  CheckLabelPhi,
  CheckLabelCv,
  CheckLabelCh,
  CheckLabelPhiV,
  CheckLabelPhiH,
  CheckLabelUnitWeight,
  CheckNoGeometry,
  CheckGeometryNotSoils,
  // The batch: a file it stopped in or before, and what a run without an
  // admissible surface tried: {0} the surfaces analysed; {0} how many were
  // refused for {1}, the reason.
  BatchStoppedDuring,
  BatchStoppedBefore,
  NoSurfaceAnalysed,
  SurfacesAnalysed,
  SurfacesRefused,
  // The root-cohesion calculation's refusals and notices. {0} row or count
  // as each text says.
  VegetationLayerBelowOne,
  VegetationPlantsTooMany,
  VegetationRootTypeMissing,
  VegetationDivisionsBelowOne,
  VegetationWindowTooLarge,
  VegetationAreaInverted,
  VegetationNoLayer,
  VegetationTooManyCells,
  VegetationSoilRow,
  VegetationLayerOutOfRange,
  VegetationRowOutOfRange,
  VegetationExportBeforeGenerate,
  VegetationNoBackup,
  VegetationAnisotropicModel,
  VegetationNothingRestored,
};

std::string_view CoreTextFor(std::uint8_t language, CoreText text);

// The name of the window, dialog or panel where a working table is keyed in
// ("Soil_Prop" -> "Soil Properties"), by the table's name; the table's own
// name for a table without one.
std::string_view TableCaption(std::uint8_t language, std::string_view table);
// The title of the grid column that shows `field` of `table` ("Soil_Prop",
// "Line No." -> "Soil No."); the field's own name for one without a title.
std::string_view FieldCaption(std::uint8_t language, std::string_view table, std::string_view field);
template <FieldKey F>
std::string_view FieldCaption(std::uint8_t language, std::string_view table, F field) {
  return FieldCaption(language, table, FieldNameOf(field));
}
// The column titles of the grid of `table`, one for each field in the
// fields' order, '|' between them; empty for a table without a grid.
std::string_view GridTitles(std::uint8_t language, std::string_view table);
// "{table}, row {n}, {field}": a cell as the window shows it.
std::string CellCaption(std::uint8_t language, std::string_view table, int row, std::string_view field);
template <FieldKey F>
std::string CellCaption(std::uint8_t language, std::string_view table, int row, F field) {
  return CellCaption(language, table, row, FieldNameOf(field));
}
// The label the window shows beside an option control (Option::E_Kh -> "kh",
// Option::CB_Ordinary -> "Ordinary Method"), without accelerator marks; the
// control's name for a control without a row.
std::string_view OptionCaption(std::uint8_t language, std::string_view control);
inline std::string_view OptionCaption(std::uint8_t language, Option control) {
  return OptionCaption(language, OptionName(control));
}

// The conversion messages: "'abc' is not a valid integer value" and "'abc'
// is not a valid floating point value" in `language`.
std::string ConversionText(std::uint8_t language, std::string_view text, bool integer);

// The factor a method holds when no trial surface gave it one: the minimum of
// a run before (or without) any factor, a surface not analysed. It is no
// factor, wherever it is stored or shown; every layer compares with this
// name, and ResultCodeText knows it as a code of its own.
inline constexpr double kNoFactor = 99999.0;

// The meaning of a result code (slice_set.h) in words, e.g. "the circle does
// not reach the ground"; kNoFactor is "no factor was found". Empty for a code
// that has none or an unknown language.
std::string_view ResultCodeText(std::uint8_t language, int code);
// "no admissible slip surface", for a run in which no trial surface of a
// selected method got a factor.
std::string_view NoAdmissibleSurfaceText(std::uint8_t language);

// The warning of a method whose minimum lies on an edge of the grid of
// centres, with {0} the method's name and {1} the edge's name (from
// GridEdgeName): what was found and what to do about it.
std::string_view GridEdgeWarningPattern(std::uint8_t language);
// "lower", "upper", "left", "right" (edge 0 to 3) in `language`.
std::string_view GridEdgeName(std::uint8_t language, int edge);
// "Ordinary", "Simplified Janbu", "Simplified Bishop", "Spencer" (method 0
// to 3), as the method check boxes name them.
std::string_view MethodName(std::uint8_t language, int method);

// Replaces {0}, {1} ... in `pattern` by the arguments in order. A placeholder
// without an argument is kept as written.
std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args);

}  // namespace pelodyn
