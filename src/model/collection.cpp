#include "model/collection.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <utility>

#include "model/control_state.h"
#include "model/numbers.h"
#include "model/section.h"
#include "texts/messages.h"

namespace pelodyn {
namespace {

// Sizes of a search beyond which the collection refuses a project: far
// above any real project, far below what takes a laptop hours or gigabytes.
constexpr long long kMaxCircles = 1000;           // No. of Circle
constexpr long long kMaxSlices = 1000;            // No. of Slice
constexpr long long kMaxDivisions = 1000;         // each grid division
constexpr long long kMaxDirections = 360;         // No. of Direction of the irregular search
constexpr long long kMaxDivideSteps = 50;         // Divide Step of the irregular search
constexpr long long kMaxMovingCentres = 1000000;  // centres of the moving-centre listing
// A coordinate, strength, unit weight or load beyond this is no real section.
constexpr double kMaxMagnitude = 1e9;
// Friction angles lie below it, in degrees.
constexpr double kRightAngle = 90.0;
// The corners of the grid of centres, by their edit boxes.
constexpr Option kCornerX[3] = {Option::E_X_LeftDown, Option::E_X_RightDown, Option::E_X_RightTop};
constexpr Option kCornerY[3] = {Option::E_Y_LeftDown, Option::E_Y_RightDown, Option::E_Y_RightTop};

int LargestLineNumber(const std::vector<Row>& rows) {
  int largest = 0;
  for (const Row& r : rows) largest = std::max(largest, r.integer(GeometryField::LineNo));
  return largest;
}

// The lines' points placed by their numbers, at [line - 1][point - 1], in
// the order the section reader gives them (of a repeated number the last
// row stays), coordinates divided by the scales; with the point counts (the
// largest number up to `pointLimit`; numbers above it have no place) and,
// when asked, the segment slopes and intercepts. A complete line fills its
// row; a gap leaves its place at 0, which the collection refuses for a run.
void FillLines(const std::vector<BoundaryLine>& lines, long long pointLimit, double scaleX, double scaleY,
               std::vector<int>& pointCount, int& maxPoints, Array2D<double>& x, Array2D<double>& y,
               Array2D<double>* slope, Array2D<double>* intercept) {
  pointCount.assign(lines.size(), 0);
  maxPoints = 0;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    for (int n : lines[k].numbers) {
      if (n <= pointLimit) pointCount[k] = std::max(pointCount[k], n);
    }
    maxPoints = std::max(maxPoints, pointCount[k]);
  }
  const auto points = static_cast<std::size_t>(maxPoints);
  x.resize(lines.size(), points);
  y.resize(lines.size(), points);
  for (std::size_t k = 0; k < lines.size(); ++k) {
    for (std::size_t p = 0; p < lines[k].points.size(); ++p) {
      const int n = lines[k].numbers[p];
      if (n > pointCount[k]) continue;
      x[k][n - 1] = lines[k].points[p].first / scaleX;
      y[k][n - 1] = lines[k].points[p].second / scaleY;
    }
  }
  if (slope == nullptr) return;
  const std::size_t segments = points > 0 ? points - 1 : 0;
  slope->resize(lines.size(), segments);
  intercept->resize(lines.size(), segments);
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const int count = pointCount[k];
    for (int p = 0; p + 1 < count; ++p) {
      const double x0 = x[k][p], x1 = x[k][p + 1];
      const double m = (x0 != x1) ? (y[k][p + 1] - y[k][p]) / (x1 - x0) : kVerticalSlope;
      (*slope)[k][p] = m;
      (*intercept)[k][p] = y[k][p] - m * x0;
    }
  }
}

// Sizes the soil arrays of one strength model to n soils.
void SizeSoilArrays(AnalysisModel& m, bool aniso, std::size_t n) {
  if (aniso) {
    for (auto* a : {&m.SoilCv, &m.SoilCh, &m.SoilPhiV, &m.SoilPhiH, &m.SoilUnitWeight}) a->resize(n);
  } else {
    for (auto* a : {&m.SoilCohesion, &m.SoilPhi, &m.SoilUnitWeight}) a->resize(n);
  }
}

// Stores the properties of one soil row at index k.
void StoreSoil(AnalysisModel& m, bool aniso, std::size_t k, const Row& r) {
  if (aniso) {
    m.SoilCv[k] = r.real(AnisoField::Cv);
    m.SoilCh[k] = r.real(AnisoField::Ch);
    m.SoilPhiV[k] = r.real(AnisoField::PhiV);
    m.SoilPhiH[k] = r.real(AnisoField::PhiH);
  } else {
    m.SoilCohesion[k] = r.real(SoilField::Cohesion);
    m.SoilPhi[k] = r.real(SoilField::Phi);
  }
  m.SoilUnitWeight[k] = r.real(SoilCommonField::UnitWeight);
}

std::string Num(long long v) {
  return std::to_string(v);
}

// The collection's running context: the project, where messages go, and the
// stop rule.
class Collector {
 public:
  Collector(Project& project, PlatformServices& platform, CollectionPurpose purpose)
      : p(project), m(project.model), o(project.options), ui(platform), m_purpose(purpose) {}

  // Shows `text` and ends the collection with DataError = 1.
  void stop(std::string_view text, MessageKind kind = MessageKind::Error) {
    ui.showMessage(kind, "", text);
    m.DataError = 1;
  }
  void stopMessage(int number) { stop(MessageText(m.Language, number)); }
  void stopCore(CoreText text, std::initializer_list<std::string_view> args) {
    stop(FormatText(CoreTextFor(m.Language, text), args));
  }
  // Names as the windows show them, in the user's language.
  std::string_view tableCaption(Table table) const { return TableCaption(m.Language, TableName(table)); }
  template <FieldKey F>
  std::string_view fieldCaption(Table table, F field) const {
    return FieldCaption(m.Language, TableName(table), field);
  }
  std::string_view fieldCaption(Table table, std::string_view field) const {
    return FieldCaption(m.Language, TableName(table), field);
  }
  std::string_view optionCaption(Option control) const { return OptionCaption(m.Language, control); }

  // Every row's `field` must lie in 1..count and appear once, since it is
  // the row's index in the model. Stops with a message naming the first
  // offending row otherwise.
  template <FieldKey F>
  bool checkNumbering(const std::vector<Row>& rows, Table table, F field) {
    const int count = static_cast<int>(rows.size());
    std::vector<char> seen(rows.size(), 0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const int n = rows[i].integer(field);
      if (n < 1 || n > count) {
        stopCore(CoreText::RowNumberOutOfRange, {tableCaption(table), fieldCaption(table, field),
                                                 Num(static_cast<long long>(i) + 1), Num(n), Num(count)});
        return false;
      }
      if (seen[static_cast<std::size_t>(n - 1)]) {
        stopCore(CoreText::RowNumberRepeated, {tableCaption(table), fieldCaption(table, field), Num(n)});
        return false;
      }
      seen[static_cast<std::size_t>(n - 1)] = 1;
    }
    return true;
  }

  void run();

  // A size within 0..limit; stops with a message naming the field otherwise.
  bool withinLimit(std::string_view field, long long value, long long limit) {
    if (value < 0) {
      stopCore(CoreText::CountNegative, {field, Num(value)});
      return false;
    }
    if (value > limit) {
      stopCore(CoreText::ValueAboveLimit, {field, Num(value), Num(limit)});
      return false;
    }
    return true;
  }
  // A division of the grid of centres, keyed in on the Draw Grid panel.
  bool divisionWithinLimit(Option control, long long value) {
    if (value < 0) {
      stopCore(CoreText::DivisionNegative, {optionCaption(control), Num(value)});
      return false;
    }
    if (value > kMaxDivisions) {
      stopCore(CoreText::DivisionAboveLimit, {optionCaption(control), Num(value), Num(kMaxDivisions)});
      return false;
    }
    return true;
  }
  // A value of the section within reason.
  bool withinReach(std::string_view field, double value) {
    if (std::fabs(value) <= kMaxMagnitude) return true;
    stopCore(CoreText::ValueOutOfReach, {field, FormatShortest(value)});
    return false;
  }
  bool rowsWithinReach(const std::vector<Row>& rows, Table table) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const TableDef& def = TableDefinition(table);
      for (std::size_t f = 0; f < def.fields.size(); ++f) {
        if (def.fields[f].type != FieldType::Float) continue;
        const std::string field =
            CellCaption(m.Language, TableName(table), static_cast<int>(i) + 1, def.fields[f].name);
        if (!withinReach(field, rows[i].realAt(f))) return false;
      }
    }
    return true;
  }

 private:
  bool valuesWithinReach();
  // The diagonal of the boundary lines' extent.
  double sectionSize() const;
  bool collectSoils();
  bool collectLines();
  bool collectBottomLine();
  bool collectWater();
  bool collectAdvancedAniso();
  bool collectLoadsAndAnchors();
  bool collectSearchSettings();
  bool collectIrregular();
  // Inputs that no real section has; stops on the first with its message.
  bool checkRealInput();
  // An increment of the automatic search above 0; stops with a message
  // naming the field, its value and, when `suggestion` is above 0, a step
  // to type otherwise.
  bool positiveIncrement(std::string_view field, double value, double suggestion);
  // The spacing of the grid of centres along its sides 1-2 and 2-3 (rounded
  // to 3 decimals), read as the grid search reads it but without touching
  // the model; 0 for a side whose values do not make one.
  std::pair<double, double> gridSpacing() const;

  Project& p;
  AnalysisModel& m;
  OptionValues& o;
  PlatformServices& ui;
  CollectionPurpose m_purpose;
  std::vector<Row> m_geometry;
  OptionFlags m_flags;
};

void Collector::run() {
  WorkingStore& store = *p.store;
  // Row counts, and every array sized to its table.
  m_geometry = store.rows(Table::Geometry);
  m.GeometryPointTotal = static_cast<int>(m_geometry.size());
  m.WaterLinePointCount = store.rowCount(Table::Waterline);
  m.RuVariableCount = store.rowCount(Table::Ru_variable);
  m.TensionCrackPointCount = store.rowCount(Table::Tcrack);
  m.AnchorCount = store.rowCount(Table::Anchor);
  m.LineLoadCount = store.rowCount(Table::Lineload);
  m.StripLoadCount = store.rowCount(Table::Stripload);
  auto size = [](std::size_t n, std::initializer_list<std::vector<double>*> arrays) {
    for (auto* a : arrays) a->resize(n);
  };
  size(static_cast<std::size_t>(m.WaterLinePointCount), {&m.WaterLineX, &m.WaterLineY});
  size(static_cast<std::size_t>(m.RuVariableCount), {&m.RuVariable});
  size(static_cast<std::size_t>(m.TensionCrackPointCount), {&m.TensionCrackX, &m.TensionCrackY});
  size(static_cast<std::size_t>(m.AnchorCount),
       {&m.AnchorMagnitude, &m.AnchorXStart, &m.AnchorYStart, &m.AnchorXEnd, &m.AnchorYEnd, &m.AnchorBondedLength});
  size(static_cast<std::size_t>(m.LineLoadCount), {&m.LineLoadX, &m.LineLoadMagnitude, &m.LineLoadAngle});
  size(static_cast<std::size_t>(m.StripLoadCount), {&m.StripLoadBeginX, &m.StripLoadEndX, &m.StripLoadMagnitude});

  // Identity and methods.
  m.ProjectName = o.text(Option::E_Project_Name);
  m.ProjectLocation = o.text(Option::E_Lacation);
  m.ProjectEngineer = o.text(Option::E_Engineer);
  m_flags = ReadOptionFlags(o, m.TensionCrackPointCount);
  m.AnalysisTheory = m_flags.analysisTheory;
  m.UseOrdinary = m_flags.useOrdinary;
  m.UseSimplifiedJanbu = m_flags.useSimplifiedJanbu;
  m.UseSimplifiedBishop = m_flags.useSimplifiedBishop;
  m.UseSpencer = m_flags.useSpencer;
  m.RobustSpencer = m_flags.robustSpencer;
  m.StrengthModel = static_cast<std::uint8_t>(o.itemIndex(Option::CB_Strength_Model));

  if (!collectSoils()) return;
  if (!collectLines()) return;
  if (!valuesWithinReach()) return;
  if (!collectBottomLine()) return;
  if (!collectWater()) return;

  m.SeismicEnabled = 0;
  m.LineLoadEnabled = 0;
  m.StripLoadEnabled = 0;
  m.TensionCrackEnabled = 0;
  m.AnchorEnabled = 0;
  m.AdvancedAnisoEnabled = 0;

  if (!collectAdvancedAniso()) return;
  if (!collectLoadsAndAnchors()) return;
  if (!collectSearchSettings()) return;
  if (m.AnalysisTheory == 2 && !collectIrregular()) return;
  // Values checked once the model is whole, for a run only: a save keeps
  // what was typed, to be put right later.
  if (m_purpose == CollectionPurpose::Run && !checkRealInput()) return;
  m.DataError = 0;
}

bool Collector::checkRealInput() {
  const std::vector<SoilValueProblem> problems = SoilValueProblems(m);
  if (!problems.empty()) {
    const SoilValueProblem& first = problems.front();
    // The field as the soil grid titles it, in the user's language.
    const Table table = m.StrengthModel == 1 ? Table::Aniso : Table::Soil_Prop;
    stopCore(first.negative ? CoreText::SoilValueNegative : CoreText::SoilFrictionAngleTooLarge,
             {Num(first.soil), fieldCaption(table, first.field), FormatShortest(first.value)});
    return false;
  }
  // The stress-dependent angles replace the soil's own above their normal
  // stress, under the same rule.
  if (m.AdvancedAnisoEnabled) {
    const std::vector<Row> rows = p.store->rows(Table::Aniso_advance);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      for (AnisoAdvanceField key : {AnisoAdvanceField::PhiV, AnisoAdvanceField::PhiH}) {
        const std::string_view field = FieldNameOf(key);
        const double angle = rows[i].real(key);
        if (!(angle >= 0.0 && angle < kRightAngle)) {
          stopCore(CoreText::AdvancedAnisoAngleOutOfRange,
                   {Num(static_cast<long long>(i) + 1), Num(rows[i].integer(AnisoAdvanceField::LineNo)), field,
                    FormatShortest(angle)});
          return false;
        }
      }
    }
  }
  // Without a point there is no water at all: the run would be a dry one
  // that says it has water.
  if (m.SeepageKind == 1 && m.WaterLinePointCount == 0) {
    stopCore(CoreText::WaterLineWithoutPoints, {});
    return false;
  }
  // A run without a method would search and then report no factor at all.
  if (!m.UseOrdinary && !m.UseSimplifiedJanbu && !m.UseSimplifiedBishop && !m.UseSpencer) {
    stopCore(CoreText::NoMethodSelected, {});
    return false;
  }
  // The automatic search moves the centre by these steps; a step of 0 never
  // moves it, and the start centre alone would pass for the minimum.
  if (m.AnalysisTheory == 1 && m.CircularSearchKind == 2 && !(m.AutoIncrementX > 0.0 && m.AutoIncrementY > 0.0)) {
    const auto [spacingX, spacingY] = gridSpacing();
    if (!positiveIncrement(optionCaption(Option::E_Xauto_Increment), m.AutoIncrementX, spacingX) ||
        !positiveIncrement(optionCaption(Option::E_Yauto_Increment), m.AutoIncrementY, spacingY)) {
      return false;
    }
  }
  return true;
}

bool Collector::valuesWithinReach() {
  for (Table table : {Table::Soil_Prop, Table::Aniso, Table::Geometry, Table::Waterline, Table::Tcrack, Table::Anchor,
                      Table::Lineload, Table::Stripload, Table::NonCircular_Coordinate}) {
    if (!rowsWithinReach(table == Table::Geometry ? m_geometry : p.store->rows(table), table)) return false;
  }
  return true;
}

double Collector::sectionSize() const {
  double xmin = 0.0, xmax = 0.0, ymin = 0.0, ymax = 0.0;
  bool any = false;
  for (const Row& r : m_geometry) {
    const double x = r.real(GeometryField::X), y = r.real(GeometryField::Y);
    if (!any) {
      xmin = xmax = x;
      ymin = ymax = y;
      any = true;
    }
    xmin = std::min(xmin, x);
    xmax = std::max(xmax, x);
    ymin = std::min(ymin, y);
    ymax = std::max(ymax, y);
  }
  return std::hypot(xmax - xmin, ymax - ymin);
}

bool Collector::collectSoils() {
  const bool aniso = m.StrengthModel == 1;
  const Table table = aniso ? Table::Aniso : Table::Soil_Prop;
  const std::vector<Row> rows = p.store->rows(table);
  m.SoilCount = static_cast<int>(rows.size());
  const auto n = rows.size();
  SizeSoilArrays(m, aniso, n);
  // The walk ends at the first row that repeats the largest number so far;
  // the largest number is kept in LineCount, where Verify Data looks for it
  // after a stop here.
  int largest = 0;
  std::vector<char> seen(n, 0);
  bool repeated = false;
  int repeatedNumber = 0;
  std::size_t stoppedAt = n;  // the row that repeats the largest number
  for (std::size_t i = 0; i < n; ++i) {
    const Row& r = rows[i];
    const int no = r.integer(SoilCommonField::LineNo);
    if (no == largest) {
      stoppedAt = i;
      break;
    }
    if (no < 1 || no > m.SoilCount) {
      m.LineCount = largest;
      stopCore(CoreText::RowNumberOutOfRange, {tableCaption(table), fieldCaption(table, LineNumberField::LineNo),
                                               Num(static_cast<long long>(i) + 1), Num(no), Num(m.SoilCount)});
      return false;
    }
    largest = std::max(largest, no);
    const auto k = static_cast<std::size_t>(no - 1);
    if (seen[k] && !repeated) {
      repeated = true;
      repeatedNumber = no;
    }
    seen[k] = 1;
    StoreSoil(m, aniso, k, r);
  }
  m.LineCount = largest;
  if (largest != m.SoilCount) {
    if (stoppedAt < n) {
      stopCore(CoreText::SoilRowRepeated, {tableCaption(table), Num(static_cast<long long>(stoppedAt) + 1),
                                           fieldCaption(table, LineNumberField::LineNo), Num(largest)});
    } else {
      stopMessage(9);
    }
    return false;
  }
  // A soil number given twice leaves another soil without properties.
  if (repeated) {
    stopCore(CoreText::RowNumberRepeated,
             {tableCaption(table), fieldCaption(table, LineNumberField::LineNo), Num(repeatedNumber)});
    return false;
  }
  return true;
}

bool Collector::collectLines() {
  m.LineCount = LargestLineNumber(m_geometry);
  if (m.LineCount != m.SoilCount) {
    stopMessage(8);
    return false;
  }
  const std::vector<BoundaryLine> lines = ReadBoundaryLines(m_geometry, m.LineCount);
  // The counts stand even when a check below stops: the 1.18 writer lays
  // out its refusal by them.
  m.LinePointCount.assign(lines.size(), 0);
  m.LineMaxPointCount = 0;
  long long total = 0;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    m.LinePointCount[k] = lines[k].largestNumber();
    m.LineMaxPointCount = std::max(m.LineMaxPointCount, m.LinePointCount[k]);
    total += m.LinePointCount[k];
  }
  // A point missing from a line (a middle point deleted by hand) is named
  // by its line and point.
  if (total != m.GeometryPointTotal) {
    for (std::size_t k = 0; k < lines.size(); ++k) {
      const std::vector<int>& numbers = lines[k].numbers;
      const int count = lines[k].largestNumber();
      for (int point = 1; point <= count; ++point) {
        if (!std::binary_search(numbers.begin(), numbers.end(), point)) {
          stopCore(CoreText::GeometryPointMissing, {Num(static_cast<long long>(k) + 1), Num(point), Num(count)});
          return false;
        }
      }
    }
  }
  // With the counts matching, a row numbered below 1 or a point given twice
  // can still hide a missing point; neither has a place in the lines.
  std::set<std::pair<int, int>> seen;
  for (std::size_t i = 0; i < m_geometry.size(); ++i) {
    const int line = m_geometry[i].integer(GeometryField::LineNo);
    const int point = m_geometry[i].integer(GeometryField::PointNo);
    const std::string position = Num(static_cast<long long>(i) + 1);
    if (line < 1 || point < 1) {
      const GeometryField field = line < 1 ? GeometryField::LineNo : GeometryField::PointNo;
      stopCore(CoreText::GeometryNumberBelowOne,
               {position, fieldCaption(Table::Geometry, field), Num(line < 1 ? line : point)});
      return false;
    }
    if (!seen.insert({line, point}).second) {
      stopCore(CoreText::GeometryPointRepeated, {position, Num(line), Num(point)});
      return false;
    }
  }
  if (total != m.GeometryPointTotal) {
    stopCore(CoreText::GeometryRowsLeftOut, {Num(m.GeometryPointTotal), Num(total)});
    return false;
  }
  // Every line is complete now: its points are its rows by number.
  FillLines(lines, INT_MAX, 1.0, 1.0, m.LinePointCount, m.LineMaxPointCount, m.LineX, m.LineY, &m.LineSlope,
            &m.LineIntercept);
  return true;
}

bool Collector::collectBottomLine() {
  m.BottomLineChoice = static_cast<std::uint8_t>(o.itemIndex(Option::CB_Bottom_Line_Choose));
  m.BottomLineNo = 0;
  m.BottomLineCount = 0;
  if (m.BottomLineChoice == 0) {
    const std::int32_t no = o.readInteger(Option::E_BottomLine);
    m.BottomLineNo = static_cast<std::int8_t>(std::clamp<std::int32_t>(no, INT8_MIN, INT8_MAX));
    if (no == 0) {
      stopMessage(14);
      return false;
    }
    if (no > 0) {
      // With no lines at all there is nothing to analyse; the run says so.
      if (m.LineCount > 0 && no > m.LineCount) {
        stopCore(CoreText::BottomLineAboveLineCount, {Num(no), Num(m.LineCount)});
        return false;
      }
      m.BottomLineCount = no <= m.LineCount ? m.LinePointCount[static_cast<std::size_t>(no - 1)] : 0;
    }
    m.DataError = 0;
  } else if (m.BottomLineChoice == 1) {
    const std::vector<Row> rows = p.store->rows(Table::Bottom_Line);
    m.BottomLineCount = static_cast<int>(rows.size());
    if (rows.empty()) {
      stopMessage(15);
      return false;
    }
    // The pieces index the boundary lines and their points.
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const int line = rows[i].integer(BottomLineField::LineNo);
      const std::string pos = Num(static_cast<long long>(i) + 1);
      if (line < 1 || line > m.LineCount) {
        stopCore(CoreText::SpecificBottomLineNoLine, {pos, Num(line), Num(m.LineCount)});
        return false;
      }
      const int points = m.LinePointCount[static_cast<std::size_t>(line - 1)];
      for (BottomLineField field : {BottomLineField::BeginPoint, BottomLineField::EndPoint}) {
        const int point = rows[i].integer(field);
        if (point < 1 || point > points) {
          stopCore(CoreText::SpecificBottomLinePointOutOfRange, {pos, Num(point), Num(line), Num(points)});
          return false;
        }
      }
    }
    m.DataError = 0;
    m.BottomLineLineNo.resize(rows.size());
    m.BottomLineBeginPoint.resize(rows.size());
    m.BottomLineEndPoint.resize(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
      m.BottomLineLineNo[i] = rows[i].integer(BottomLineField::LineNo);
      m.BottomLineBeginPoint[i] = rows[i].integer(BottomLineField::BeginPoint);
      m.BottomLineEndPoint[i] = rows[i].integer(BottomLineField::EndPoint);
    }
  }
  return true;
}

bool Collector::collectWater() {
  m.SeepageKind = m_flags.seepageKind;
  m.WaterLineKind = 0;
  m.WaterUnitWeight = 1.0;
  m.RuCondition = 0;
  m.RuAverage = 0.0;
  if (m.SeepageKind == 1) {
    m.WaterLineKind = static_cast<std::uint8_t>(o.itemIndex(Option::CB_Phreatic_Peizometric));
    const std::vector<Row> rows = p.store->rows(Table::Waterline);
    if (!checkNumbering(rows, Table::Waterline, PointField::PointNo)) return false;
    for (const Row& r : rows) {
      const auto k = static_cast<std::size_t>(r.integer(PointField::PointNo) - 1);
      m.WaterLineX[k] = r.real(PointField::X);
      m.WaterLineY[k] = r.real(PointField::Y);
    }
    m.WaterUnitWeight = o.readReal(Option::E_Unit_Weight_Water);
  } else if (m.SeepageKind == 2) {
    m.RuCondition = static_cast<std::uint8_t>(o.itemIndex(Option::CB_Ru_Condition));
    if (m.RuCondition == 1) {
      const std::vector<Row> rows = p.store->rows(Table::Ru_variable);
      if (!checkNumbering(rows, Table::Ru_variable, RuField::LineNo)) return false;
      for (const Row& r : rows)
        m.RuVariable[static_cast<std::size_t>(r.integer(RuField::LineNo) - 1)] = r.real(RuField::Ru);
    } else if (m.RuCondition == 0) {
      m.RuAverage = o.readReal(Option::E_Ru_average);
    }
  }
  return true;
}

bool Collector::collectAdvancedAniso() {
  if (!m_flags.advancedAnisoEnabled) return true;
  m.AdvancedAnisoEnabled = 1;
  const std::vector<Row> rows = p.store->rows(Table::Aniso_advance);
  if (rows.empty()) return true;
  // The rows are handed out soil by soil in stored order, so they must be
  // grouped by soil in ascending soil number, each soil's rows in ascending
  // normal stress, for every row to reach its own soil.
  int previousSoil = 0;
  double previousStress = 0.0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int soil = rows[i].integer(AnisoAdvanceField::LineNo);
    const double stress = rows[i].real(AnisoAdvanceField::NormalStress);
    const std::string pos = Num(static_cast<long long>(i) + 1);
    if (soil < 1 || soil > m.SoilCount || soil < previousSoil) {
      stopCore(CoreText::AdvancedAnisoNotGrouped, {pos, Num(soil), Num(m.SoilCount)});
      return false;
    }
    if (soil == previousSoil && stress < previousStress) {
      stopCore(CoreText::AdvancedAnisoStressNotAscending, {pos, Num(soil)});
      return false;
    }
    previousSoil = soil;
    previousStress = stress;
  }
  const auto soils = static_cast<std::size_t>(m.SoilCount);
  m.AdvancedAnisoRowCount.assign(soils, 0);
  for (const Row& r : rows)
    ++m.AdvancedAnisoRowCount[static_cast<std::size_t>(r.integer(AnisoAdvanceField::LineNo) - 1)];
  m.AdvancedAnisoMaxRows = *std::max_element(m.AdvancedAnisoRowCount.begin(), m.AdvancedAnisoRowCount.end());
  const auto columns = static_cast<std::size_t>(m.AdvancedAnisoMaxRows);
  m.AdvancedAnisoNormalStress.resize(soils, columns);
  m.AdvancedAnisoPhiV.resize(soils, columns);
  m.AdvancedAnisoPhiH.resize(soils, columns);
  m.AdvancedAnisoPhiVAt.resize(soils);
  m.AdvancedAnisoPhiHAt.resize(soils);
  std::size_t next = 0;
  for (std::size_t k = 0; k < soils; ++k) {
    for (int j = 0; j < m.AdvancedAnisoRowCount[k]; ++j, ++next) {
      m.AdvancedAnisoNormalStress[k][j] = rows[next].real(AnisoAdvanceField::NormalStress);
      m.AdvancedAnisoPhiV[k][j] = rows[next].real(AnisoAdvanceField::PhiV);
      m.AdvancedAnisoPhiH[k][j] = rows[next].real(AnisoAdvanceField::PhiH);
    }
  }
  return true;
}

bool Collector::collectLoadsAndAnchors() {
  if (!m_flags.seismicEnabled) {
    m.SeismicKh = 0.0;
    m.SeismicKv = 0.0;
  } else {
    m.SeismicEnabled = 1;
    m.SeismicKh = o.readReal(Option::E_Kh);
    m.SeismicKv = o.readReal(Option::E_Kv);
  }
  if (m_flags.lineLoadEnabled) {
    m.LineLoadEnabled = 1;
    const std::vector<Row> rows = p.store->rows(Table::Lineload);
    if (!checkNumbering(rows, Table::Lineload, LineLoadField::LoadNo)) return false;
    for (const Row& r : rows) {
      const auto k = static_cast<std::size_t>(r.integer(LineLoadField::LoadNo) - 1);
      m.LineLoadMagnitude[k] = r.real(LineLoadField::Magnitude);
      m.LineLoadX[k] = r.real(LineLoadField::X);
      m.LineLoadAngle[k] = r.real(LineLoadField::Angle);
    }
  }
  if (m_flags.stripLoadEnabled) {
    m.StripLoadEnabled = 1;
    const std::vector<Row> rows = p.store->rows(Table::Stripload);
    if (!checkNumbering(rows, Table::Stripload, StripLoadField::LoadNo)) return false;
    for (const Row& r : rows) {
      const auto k = static_cast<std::size_t>(r.integer(StripLoadField::LoadNo) - 1);
      m.StripLoadMagnitude[k] = r.real(StripLoadField::Magnitude);
      m.StripLoadBeginX[k] = r.real(StripLoadField::BeginX);
      m.StripLoadEndX[k] = r.real(StripLoadField::EndX);
    }
  }
  if (m_flags.tensionCrackEnabled) {
    m.TensionCrackEnabled = 1;
    const std::vector<Row> rows = p.store->rows(Table::Tcrack);
    if (!checkNumbering(rows, Table::Tcrack, PointField::PointNo)) return false;
    for (const Row& r : rows) {
      const auto k = static_cast<std::size_t>(r.integer(PointField::PointNo) - 1);
      m.TensionCrackX[k] = r.real(PointField::X);
      m.TensionCrackY[k] = r.real(PointField::Y);
    }
    m.TensionCrackWaterPercent = o.readReal(Option::E_Percent_Water);
    m.TensionCrackWaterUnitWeight = o.readReal(Option::E_Water_Unit_Weight);
  }
  if (m_flags.anchorEnabled) {
    m.AnchorEnabled = 1;
    m.AnchorApplyAs = static_cast<std::uint8_t>(o.itemIndex(Option::RG_Apply_as));
    const std::vector<Row> rows = p.store->rows(Table::Anchor);
    if (!checkNumbering(rows, Table::Anchor, AnchorField::LoadNo)) return false;
    for (const Row& r : rows) {
      const auto k = static_cast<std::size_t>(r.integer(AnchorField::LoadNo) - 1);
      m.AnchorMagnitude[k] = r.real(AnchorField::Magnitude);
      m.AnchorXStart[k] = r.real(AnchorField::XStart);
      m.AnchorYStart[k] = r.real(AnchorField::YStart);
      m.AnchorXEnd[k] = r.real(AnchorField::XEnd);
      m.AnchorYEnd[k] = r.real(AnchorField::YEnd);
      m.AnchorBondedLength[k] = r.real(AnchorField::BondedLength);
    }
  }
  return true;
}

bool Collector::collectSearchSettings() {
  m.PassCriteria = o.readReal(Option::E_Pass_Criteria);
  m.DataError = 0;
  if (!(m.PassCriteria > 0.0)) {
    stopMessage(16);
    return false;
  }
  // A negative number of circles or decrement would make the fan of radii
  // endless, a negative number of slices meaningless: both count as missing.
  if (o.itemIndex(Option::CB_Circle_Decrement) == 1) {
    const double decrement = o.readReal(Option::E_Cir_Decrement);
    if (!(decrement > 0.0)) {
      stopMessage(17);
      return false;
    }
    // The fan of any centre spans at most the section's size, so this many
    // circles bound every fan, those of a pattern walk's centres too. A fine
    // decrement is ordinary work; only a fan the Results table could not
    // hold on its own is refused here (the grid's total is checked below).
    if (m.AnalysisTheory == 1) {
      const double perCentre = std::floor(sectionSize() / decrement);
      if (perCentre > static_cast<double>(kMaxStoredCircles)) {
        stopCore(CoreText::ValueAboveLimit, {"Circles per centre (section size / Radius Decrement)",
                                             FormatShortest(perCentre), Num(kMaxStoredCircles)});
        return false;
      }
    }
    m.CircleCount = 0;
    m.RadiusDecrement = decrement;
  } else {
    const std::int32_t count = o.readInteger(Option::E_Cir_Decrement);
    if (count <= 0) {
      stopMessage(17);
      return false;
    }
    if (!withinLimit("No. of Circle", count, kMaxCircles)) return false;
    m.CircleCount = count;
    m.RadiusDecrement = 0.0;
  }
  m.SliceCountInput = o.readInteger(Option::E_Cir_Slice);
  if (m.SliceCountInput <= 0) {
    stopMessage(18);
    return false;
  }
  if (!withinLimit(optionCaption(Option::E_Cir_Slice), m.SliceCountInput, kMaxSlices)) return false;
  m.DepthTallest = o.readReal(Option::E_Cir_Depth_Tallest);
  m.CircleAddRadius = o.readInteger(Option::E_Cir_Add_Radius);
  m.CircularSearchKind = static_cast<std::uint8_t>(o.itemIndex(Option::CB_Cir_Search));
  if (m.CircularSearchKind == 0) {
    ReadCentreGrid(p);
    if (m.AnalysisTheory == 1) {
      if (!divisionWithinLimit(Option::E_12_Division, m.GridDivision12) ||
          !divisionWithinLimit(Option::E_23_Division, m.GridDivision23)) {
        return false;
      }
      for (std::size_t k = 0; k < 3; ++k) {
        if (!withinReach(optionCaption(kCornerX[k]), m.GridCornerX[k]) ||
            !withinReach(optionCaption(kCornerY[k]), m.GridCornerY[k]))
          return false;
      }
      if (!withinReach(optionCaption(Option::E_Xgrid_Increment), m.GridIncrementX) ||
          !withinReach(optionCaption(Option::E_Ygrid_Increment), m.GridIncrementY)) {
        return false;
      }
      // What the grid would store, counted centre by centre; the radius
      // ranges are computed only when the quick bound (every centre with
      // the largest fan) does not already show the total is within reach.
      const double centres = (m.GridDivision12 + 1.0) * (m.GridDivision23 + 1.0);
      const double widestFan = m.RadiusDecrement > 0.0 ? std::floor(sectionSize() / m.RadiusDecrement) + 1.0
                                                       : static_cast<double>(m.CircleCount);
      if (centres * widestFan > static_cast<double>(kMaxStoredCircles)) {
        const long long total = GridCircleTotal(m);
        if (total > kMaxStoredCircles) {
          stopCore(
              CoreText::GridCirclesAboveLimit,
              {Num(total), m.RadiusDecrement > 0.0 ? "Radius Decrement" : "No. of Circle", Num(kMaxStoredCircles)});
          return false;
        }
      }
    }
  } else if (m.CircularSearchKind == 1) {
    m.CenterX = o.readReal(Option::E_X_Center);
    m.CenterY = o.readReal(Option::E_Y_Center);
    m.TrialRadius = o.readReal(Option::E_Radius);
    if (m.AnalysisTheory == 1 && (!withinReach(optionCaption(Option::E_X_Center), m.CenterX) ||
                                  !withinReach(optionCaption(Option::E_Y_Center), m.CenterY) ||
                                  !withinReach(optionCaption(Option::E_Radius), m.TrialRadius))) {
      return false;
    }
  } else if (m.CircularSearchKind == 2) {
    m.CenterX = o.readReal(Option::E_Xauto_Start);
    m.CenterY = o.readReal(Option::E_Yauto_Start);
    m.AutoIncrementX = o.readReal(Option::E_Xauto_Increment);
    m.AutoIncrementY = o.readReal(Option::E_Yauto_Increment);
    if (m.AnalysisTheory == 1 && (!withinReach(optionCaption(Option::E_Xauto_Start), m.CenterX) ||
                                  !withinReach(optionCaption(Option::E_Yauto_Start), m.CenterY) ||
                                  !withinReach(optionCaption(Option::E_Xauto_Increment), m.AutoIncrementX) ||
                                  !withinReach(optionCaption(Option::E_Yauto_Increment), m.AutoIncrementY))) {
      return false;
    }
  }
  return true;
}

bool Collector::positiveIncrement(std::string_view field, double value, double suggestion) {
  if (value > 0.0) return true;
  const std::string typed = FormatShortest(value);
  if (suggestion > 0.0) {
    stopCore(CoreText::AutoIncrementNotPositiveSuggest, {field, typed, FormatShortest(suggestion)});
  } else {
    stopCore(CoreText::AutoIncrementNotPositive, {field, typed});
  }
  return false;
}

std::pair<double, double> Collector::gridSpacing() const {
  // Only a suggestion: values that do not convert, or a grid of no extent,
  // suggest nothing.
  CentreGrid grid;
  try {
    grid = ReadCentreGridValues(o);
  } catch (const ConversionError&) {
    return {0.0, 0.0};
  }
  auto spacing = [](double from, double to, int divisions) {
    if (divisions < 1) return 0.0;
    const double step = RoundHalfEven(std::fabs(to - from) / divisions, 3);
    return std::isfinite(step) && step <= kMaxMagnitude ? step : 0.0;
  };
  return {spacing(grid.cornerX[0], grid.cornerX[1], grid.division12),
          spacing(grid.cornerY[1], grid.cornerY[2], grid.division23)};
}

bool Collector::collectIrregular() {
  m.SliceCountInput = o.readInteger(Option::E_NonCir_Slice);
  if (!withinLimit(optionCaption(Option::E_NonCir_Slice), m.SliceCountInput, kMaxSlices)) return false;
  m.DepthTallest = o.readReal(Option::E_NonCir_Depth_Tallest);
  m.NonCirPointCount = 0;
  const std::vector<Row> rows = p.store->rows(Table::NonCircular_Coordinate);
  if (!rows.empty()) {
    const int count = static_cast<int>(rows.size());
    // A number outside 1..count has no place; a number given twice only
    // leaves a point unset, which the warning below reports.
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const int no = rows[i].integer(PointField::PointNo);
      if (no < 1 || no > count) {
        stopCore(CoreText::RowNumberOutOfRange, {tableCaption(Table::NonCircular_Coordinate),
                                                 fieldCaption(Table::NonCircular_Coordinate, PointField::PointNo),
                                                 Num(static_cast<long long>(i) + 1), Num(no), Num(count)});
        return false;
      }
    }
    m.NonCirPointCount = count;
    m.NonCirX.assign(rows.size(), 0.0);
    m.NonCirY.assign(rows.size(), 0.0);
    int lastHighest = 0;
    for (const Row& r : rows) {
      const int no = r.integer(PointField::PointNo);
      m.NonCirX[static_cast<std::size_t>(no - 1)] = r.real(PointField::X);
      m.NonCirY[static_cast<std::size_t>(no - 1)] = r.real(PointField::Y);
      if (no >= count) lastHighest = no;
    }
    if (lastHighest != count) {
      ui.showMessage(MessageKind::Plain, "",
                     FormatText(CoreTextFor(m.Language, CoreText::IrregularPointsNotNumbered), {Num(count)}));
    }
    m.NonCirSegmentCount = count - 1;
    const double dx = m.NonCirX.back() - m.NonCirX.front();
    const double dy = m.NonCirY.back() - m.NonCirY.front();
    m.NonCirMoveStep[1] = std::sqrt(dx * dx + dy * dy);
  }
  m.NonCirSearchKind = static_cast<std::uint8_t>(o.itemIndex(Option::CB_NonCir_Search));
  m.CenterX = o.readReal(Option::E_NonCir_X_Center);
  m.CenterY = o.readReal(Option::E_NonCir_Y_Center);
  m.NonCirDirectionCount = o.readInteger(Option::E_No_Direction);
  m.NonCirMoveLength = o.readReal(Option::E_Move_Length);
  const std::int32_t divideStep = o.readInteger(Option::E_Divide_Step);
  if (!withinLimit(optionCaption(Option::E_No_Direction), m.NonCirDirectionCount, kMaxDirections)) return false;
  if (!withinLimit(optionCaption(Option::E_Divide_Step), divideStep, kMaxDivideSteps)) return false;
  if (!withinReach(optionCaption(Option::E_NonCir_X_Center), m.CenterX) ||
      !withinReach(optionCaption(Option::E_NonCir_Y_Center), m.CenterY) ||
      !withinReach(optionCaption(Option::E_Move_Length), m.NonCirMoveLength)) {
    return false;
  }
  m.NonCirDivideStep = static_cast<std::uint8_t>(divideStep);
  m.NonCirMoveStep[0] = m.NonCirMoveLength != 0.0 ? m.NonCirMoveLength : m.NonCirMoveStep[1] / 100.0;
  if (m.NonCirDirectionCount < 4) {
    ui.showMessage(MessageKind::Information, "", MessageText(m.Language, 7));
  }
  m.NonCirAutoCenter = o.checked(Option::CB_Auto_Center);
  m.MovingCenter = o.checked(Option::CB_Moving_Center);
  if (m.MovingCenter) {
    m.MovingCenterDX = o.readReal(Option::E_MCX);
    m.MovingCenterDY = o.readReal(Option::E_MCY);
    // Only the listing of a specific surface reads its zones' bounds.
    if (m.NonCirSearchKind == 0) {
      m.MovingCenterBoundLeft = o.readReal(Option::E_Bound_L);
      m.MovingCenterBoundRight = o.readReal(Option::E_Bound_R);
    }
    // The listing walks the work area by these steps.
    const DrawingSettings& d = p.drawing;
    const double nx = (d.WorkAreaXmax - d.WorkAreaXmin) / m.MovingCenterDX + 1.0;
    const double ny = (d.WorkAreaYmax - d.WorkAreaYmin) / m.MovingCenterDY + 1.0;
    if (!(m.MovingCenterDX > 0.0) || !(m.MovingCenterDY > 0.0) || !(nx >= 0.0) || !(ny >= 0.0) ||
        nx * ny > static_cast<double>(kMaxMovingCentres)) {
      stopCore(CoreText::ValueAboveLimit,
               {"Moving centre points", FormatShortest(std::max(0.0, nx) * std::max(0.0, ny)), Num(kMaxMovingCentres)});
      return false;
    }
  }
  return true;
}

// The shared part of the two line builders.
void BuildLines(Project& project, PlatformServices& platform, Table soilTable, double scaleX, double scaleY) {
  AnalysisModel& m = project.model;
  m.SoilCount = project.store->rowCount(soilTable);
  const std::vector<Row> rows = project.store->rows(Table::Geometry);
  const std::vector<BoundaryLine> lines = ReadBoundaryLines(rows);
  m.LineCount = static_cast<int>(lines.size());
  if (m.LineCount != m.SoilCount) {
    platform.showMessage(MessageKind::Plain, "",
                         FormatText(CoreTextFor(m.Language, CoreText::GeometryLinesNotSoils),
                                    {std::to_string(m.LineCount), std::to_string(m.SoilCount)}));
  }
  // Numbers beyond the row count cannot belong to a complete line; leaving
  // them out keeps the arrays within reason whatever the table holds.
  const auto pointLimit = static_cast<long long>(rows.size());
  FillLines(lines, pointLimit, scaleX, scaleY, m.LinePointCount, m.LineMaxPointCount, m.LineX, m.LineY, &m.LineSlope,
            &m.LineIntercept);
  long long total = 0;
  for (int count : m.LinePointCount) total += count;
  if (total != pointLimit) {
    platform.showMessage(MessageKind::Plain, "",
                         FormatText(CoreTextFor(m.Language, CoreText::GeometryRowsLeftOut),
                                    {std::to_string(rows.size()), std::to_string(total)}));
  }
}

}  // namespace

OptionFlags ReadOptionFlags(const OptionValues& o, int crackPoints) {
  OptionFlags f;
  f.analysisTheory = static_cast<std::uint8_t>(o.itemIndex(Option::RG_Theory));
  f.useOrdinary = UsesOrdinary(o);
  f.useSimplifiedJanbu = o.checked(Option::CB_Simp_Janbu);
  f.useSimplifiedBishop = o.checked(Option::CB_Simp_Bishop);
  f.useSpencer = o.checked(Option::CB_Spencer);
  f.robustSpencer = o.checked(Option::CB_Robust_Spencer);
  f.seepageKind = static_cast<std::uint8_t>(o.itemIndex(Option::CB_Seepage));
  f.seismicEnabled = !o.checked(Option::CB_Seismic_Disable);
  f.lineLoadEnabled = !o.checked(Option::CB_LineLoad_Disable);
  f.stripLoadEnabled = !o.checked(Option::CB_StripLoad_Disable);
  f.tensionCrackEnabled = !o.checked(Option::CB_Tension_Disable) && crackPoints > 0;
  f.anchorEnabled = !o.checked(Option::CB_Anchor_Disable);
  f.advancedAnisoEnabled = !o.checked(Option::CB_Advance_Prop_Disable);
  return f;
}

void SyncModelFlags(Project& project) {
  const OptionFlags f = ReadOptionFlags(project.options, project.store->rowCount(Table::Tcrack));
  AnalysisModel& m = project.model;
  m.AnalysisTheory = f.analysisTheory;
  m.UseOrdinary = f.useOrdinary;
  m.UseSimplifiedJanbu = f.useSimplifiedJanbu;
  m.UseSimplifiedBishop = f.useSimplifiedBishop;
  m.UseSpencer = f.useSpencer;
  m.RobustSpencer = f.robustSpencer;
  m.SeepageKind = f.seepageKind;
  m.SeismicEnabled = f.seismicEnabled;
  m.LineLoadEnabled = f.lineLoadEnabled;
  m.StripLoadEnabled = f.stripLoadEnabled;
  m.TensionCrackEnabled = f.tensionCrackEnabled;
  m.AnchorEnabled = f.anchorEnabled;
  m.AdvancedAnisoEnabled = f.advancedAnisoEnabled;
}

std::vector<SoilValueProblem> SoilValueProblems(const AnalysisModel& m) {
  struct Field {
    std::string_view name;
    const std::vector<double>* values;
    bool angle;
  };
  std::vector<Field> fields;
  if (m.StrengthModel == 1) {
    fields = {{FieldNameOf(AnisoField::Cv), &m.SoilCv, false},
              {FieldNameOf(AnisoField::Ch), &m.SoilCh, false},
              {FieldNameOf(AnisoField::PhiV), &m.SoilPhiV, true},
              {FieldNameOf(AnisoField::PhiH), &m.SoilPhiH, true},
              {FieldNameOf(AnisoField::UnitWeight), &m.SoilUnitWeight, false}};
  } else {
    fields = {{FieldNameOf(SoilField::Cohesion), &m.SoilCohesion, false},
              {FieldNameOf(SoilField::Phi), &m.SoilPhi, true},
              {FieldNameOf(SoilField::UnitWeight), &m.SoilUnitWeight, false}};
  }
  std::vector<SoilValueProblem> problems;
  for (int soil = 1; soil <= m.SoilCount; ++soil) {
    const auto k = static_cast<std::size_t>(soil - 1);
    for (const Field& f : fields) {
      const double value = k < f.values->size() ? (*f.values)[k] : 0.0;
      if (value < 0.0) {
        problems.push_back({soil, f.name, value, true});
      } else if (f.angle && value >= kRightAngle) {
        problems.push_back({soil, f.name, value, false});
      }
    }
  }
  return problems;
}

void CollectAnalysisData(Project& project, PlatformServices& platform, CollectionPurpose purpose) {
  Collector collector(project, platform, purpose);
  try {
    collector.run();
  } catch (...) {
    project.model.DataError = 1;
    throw;
  }
}

void BuildBoundaryLines(Project& project, PlatformServices& platform) {
  const Table soils = project.options.itemIndex(Option::CB_Strength_Model) == 1 ? Table::Aniso : Table::Soil_Prop;
  BuildLines(project, platform, soils, 1.0, 1.0);
}

void BuildBoundaryLinesInGridUnits(Project& project, PlatformServices& platform) {
  BuildLines(project, platform, Table::Soil_Prop, project.drawing.ScaleX, project.drawing.ScaleY);
}

void BuildViewLines(Project& project) {
  AnalysisModel& m = project.model;
  const std::vector<Row> rows = project.store->rows(Table::Geometry);
  const std::vector<BoundaryLine> lines = ReadBoundaryLines(rows);
  if (lines.empty()) return;
  m.ViewLineCount = static_cast<int>(lines.size());
  int maxPoints = 0;
  FillLines(lines, static_cast<long long>(rows.size()), project.drawing.ScaleX, project.drawing.ScaleY,
            m.ViewLinePointCount, maxPoints, m.ViewLineX, m.ViewLineY, nullptr, nullptr);
}

void ReadSoilArrays(Project& project) {
  AnalysisModel& m = project.model;
  m.LineCount = m.ViewLineCount;
  const bool aniso = m.StrengthModel == 1;
  const std::vector<Row> rows = project.store->rows(aniso ? Table::Aniso : Table::Soil_Prop);
  m.SoilCount = static_cast<int>(rows.size());
  const auto n = rows.size();
  SizeSoilArrays(m, aniso, n);
  for (const Row& r : rows) {
    const int no = r.integer(SoilCommonField::LineNo);
    if (no < 1 || no > m.SoilCount) continue;
    const auto k = static_cast<std::size_t>(no - 1);
    StoreSoil(m, aniso, k, r);
  }
}

CentreGrid ReadCentreGridValues(const OptionValues& o) {
  CentreGrid g;
  g.cornerX[0] = o.readReal(Option::E_X_LeftDown);
  g.cornerY[0] = o.readReal(Option::E_Y_LeftDown);
  g.cornerX[1] = o.readReal(Option::E_X_RightDown);
  g.cornerY[1] = o.readReal(Option::E_Y_RightDown);
  g.cornerX[2] = o.readReal(Option::E_X_RightTop);
  g.cornerY[2] = o.readReal(Option::E_Y_RightTop);
  g.division12 = o.readInteger(Option::E_12_Division);
  g.division23 = o.readInteger(Option::E_23_Division);
  return g;
}

void ReadCentreGrid(Project& project) {
  AnalysisModel& m = project.model;
  const OptionValues& o = project.options;
  const CentreGrid g = ReadCentreGridValues(o);
  for (std::size_t k = 0; k < 3; ++k) {
    m.GridCornerX[k] = g.cornerX[k];
    m.GridCornerY[k] = g.cornerY[k];
  }
  m.GridDivision12 = g.division12;
  m.GridDivision23 = g.division23;
  m.GridIncrementEnabled = o.checked(Option::CB_Grid_Increment);
  m.GridIncrementX = o.readReal(Option::E_Xgrid_Increment);
  m.GridIncrementY = o.readReal(Option::E_Ygrid_Increment);
}

void ReadCircleCentre(Project& project) {
  AnalysisModel& m = project.model;
  const OptionValues& o = project.options;
  m.CircularSearchKind = static_cast<std::uint8_t>(o.itemIndex(Option::CB_Cir_Search));
  if (m.CircularSearchKind == 1) {
    m.CenterX = o.readReal(Option::E_X_Center);
    m.CenterY = o.readReal(Option::E_Y_Center);
    m.TrialRadius = o.readReal(Option::E_Radius);
  } else if (m.CircularSearchKind == 2) {
    m.CenterX = o.readReal(Option::E_Xauto_Start);
    m.CenterY = o.readReal(Option::E_Yauto_Start);
  }
}

void ReadNonCircularPoints(Project& project) {
  AnalysisModel& m = project.model;
  const std::vector<Row> rows = project.store->rows(Table::NonCircular_Coordinate);
  m.NonCirPointCount = static_cast<int>(rows.size());
  m.NonCirX.assign(rows.size(), 0.0);
  m.NonCirY.assign(rows.size(), 0.0);
  for (const Row& r : rows) {
    const int no = r.integer(PointField::PointNo);
    if (no < 1 || no > m.NonCirPointCount) continue;
    m.NonCirX[static_cast<std::size_t>(no - 1)] = r.real(PointField::X);
    m.NonCirY[static_cast<std::size_t>(no - 1)] = r.real(PointField::Y);
  }
}

void ReadNonCircularCentre(Project& project) {
  project.model.CenterX = project.options.readReal(Option::E_NonCir_X_Center);
  project.model.CenterY = project.options.readReal(Option::E_NonCir_Y_Center);
}

}  // namespace pelodyn
