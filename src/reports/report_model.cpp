#include "reports/report_model.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "model/numbers.h"
#include "model/project.h"
#include "texts/captions.h"

namespace pelodyn {
namespace {

const std::string kIndent(11, ' ');

// Appends runs and ends lines; runs of one style that follow each other
// become one.
class ReportWriter {
 public:
  void write(RunStyle style, std::string_view text) {
    if (text.empty()) return;
    if (!m_line.runs.empty() && m_line.runs.back().style == style) {
      m_line.runs.back().text += text;
    } else {
      m_line.runs.push_back({style, std::string(text)});
    }
  }
  void endLine() {
    m_model.lines.push_back(std::move(m_line));
    m_line = {};
  }
  // Indent, the text, end of line.
  void line(std::string_view text) {
    write(RunStyle::Body, kIndent);
    write(RunStyle::Body, text);
    endLine();
  }
  void emptyLine() { endLine(); }
  // Indent, the heading in bold, end of line.
  void heading(std::string_view text) {
    write(RunStyle::Body, kIndent);
    write(RunStyle::Bold, text);
    endLine();
  }
  // Indent and the sub-heading underlined; the line goes on in body text.
  void subHeading(std::string_view text) {
    write(RunStyle::Body, kIndent);
    write(RunStyle::Underline, text);
  }
  ReportModel take() { return std::move(m_model); }

 private:
  ReportModel m_model;
  ReportLine m_line;
};

void WriteHeader(ReportWriter& w, const ReportStamp& stamp, int ruleLength) {
  for (int k = 0; k < 5; ++k) w.emptyLine();
  w.write(RunStyle::Body, std::string(64, ' '));
  w.write(RunStyle::Tag, "LAVO");
  w.endLine();
  w.write(RunStyle::Body, std::string(52, ' '));
  w.write(RunStyle::Title, "Pelodyn Version 2.0");
  w.endLine();
  w.emptyLine();
  w.line("File Name : " + stamp.fileName + "  Time : " + stamp.time + "   Date : " + stamp.date);
  w.line(std::string(static_cast<std::size_t>(ruleLength), '*'));
}

// The soils of the current strength model, and the largest soil number.
int WriteSoils(ReportWriter& w, const Project& p, bool anisotropic, std::set<int>& soilNumbers) {
  const WorkingStore& store = *p.store;
  const Table table = anisotropic ? Table::Aniso : Table::Soil_Prop;
  const std::vector<Row> rows = RowsByNumber(store, table, LineNumberField::LineNo);
  int count = 0;
  for (const Row& r : store.rows(table)) count = std::max(count, r.integer(SoilCommonField::LineNo));
  w.emptyLine();
  w.heading("SOIL PROPERTIES");
  w.line("No of Boundary Line = " + IntegerField(count, 4));
  if (anisotropic) {
    w.line("|   Soil No.   |     C-v     |     C-h     |    Phi-v    |    Phi-h    |  Unit Weight  |");
  } else {
    w.line("|   Soil No.   |   Cohesion   |  Fric. Angle  |  Unit Weight  |");
  }
  for (const Row& r : rows) {
    const int k = r.integer(SoilCommonField::LineNo);
    soilNumbers.insert(k);
    if (anisotropic) {
      w.line(IntegerField(k, 10) + FixedField(r.real(AnisoField::Cv), 15, 3) +
             FixedField(r.real(AnisoField::Ch), 14, 3) + FixedField(r.real(AnisoField::PhiV), 14, 3) +
             FixedField(r.real(AnisoField::PhiH), 14, 3) + FixedField(r.real(SoilCommonField::UnitWeight), 15, 3));
    } else {
      w.line(IntegerField(k, 10) + FixedField(r.real(SoilField::Cohesion), 15, 3) +
             FixedField(r.real(SoilField::Phi), 16, 3) + FixedField(r.real(SoilCommonField::UnitWeight), 16, 3));
    }
  }
  return count;
}

// The lines up to the soil count, each with its points under a running
// number and a closing rule. Only numbers that a soil or a geometry row
// names are visited: a typed number of a million prints no million rules.
void WriteGeometry(ReportWriter& w, const Project& p, int lineCount, std::set<int> lines) {
  w.emptyLine();
  w.heading("GEOMETRY");
  w.line("|   Line No.   |   Points No.   |   X Coord.   |   Y Coord.   |");
  std::map<int, std::vector<Row>> byLine;
  for (Row& r : p.store->rows(Table::Geometry)) {
    const int k = r.integer(GeometryField::LineNo);
    if (k < 1 || k > lineCount) continue;
    lines.insert(k);
    byLine[k].push_back(std::move(r));
  }
  for (int k : lines) {
    int point = 1;
    for (const Row& r : byLine[k]) {
      w.line(IntegerField(k, 10) + IntegerField(point++, 15) + FixedField(r.real(GeometryField::X), 20, 3) +
             FixedField(r.real(GeometryField::Y), 15, 3));
    }
    w.line(std::string(64, '-'));
  }
}

void WriteBottomLine(ReportWriter& w, const Project& p) {
  const OptionValues& o = p.options;
  w.emptyLine();
  w.heading("BOTTOM LINE");
  if (o.itemIndex(Option::CB_Bottom_Line_Choose) == 0) {
    w.line("Bottom Line No. = " + RightAligned(o.text(Option::E_BottomLine), 4));
  } else {
    const std::vector<Row> rows = p.store->rows(Table::Bottom_Line);
    w.line("No of Bottom Line = " + IntegerField(static_cast<long long>(rows.size()), 4));
    for (const Row& r : rows) {
      w.line("Line No. = " + IntegerField(r.integer(BottomLineField::LineNo), 3) +
             "    Beg No. = " + IntegerField(r.integer(BottomLineField::BeginPoint), 3) +
             "    End No. = " + IntegerField(r.integer(BottomLineField::EndPoint), 3));
    }
  }
}

void WriteSeepage(ReportWriter& w, const Project& p) {
  const OptionValues& o = p.options;
  w.emptyLine();
  w.write(RunStyle::Body, kIndent);
  w.write(RunStyle::Bold, "SEEPAGE CONDITION : ");
  switch (o.itemIndex(Option::CB_Seepage)) {
    case 1: {
      w.write(RunStyle::Body,
              o.itemIndex(Option::CB_Phreatic_Peizometric) == 0 ? "Use Phreatic Surface" : "Use Piezometric Surface");
      w.endLine();
      w.line("Unit Weight of Water = " + FixedField(o.readReal(Option::E_Unit_Weight_Water), 9, 3));
      const std::vector<Row> rows = p.store->rows(Table::Waterline);
      w.line("No Point of Water Table = " + IntegerField(static_cast<long long>(rows.size()), 4));
      w.line("|    Point No.    |   X Coord.   |   Y Coord.   |");
      int point = 1;
      for (const Row& r : rows)
        w.line(IntegerField(point++, 10) + FixedField(r.real(PointField::X), 20, 3) +
               FixedField(r.real(PointField::Y), 15, 3));
      break;
    }
    case 2:
      if (o.itemIndex(Option::CB_Ru_Condition) == 0) {
        w.write(RunStyle::Body, "Average Pore Pressure Ratio");
        w.endLine();
        w.line("Ru = " + FixedField(o.readReal(Option::E_Ru_average), 7, 3));
      } else {
        w.write(RunStyle::Body, "Variable Pore Pressure Ratio");
        w.endLine();
        w.line("|    Line No.    |      Ru      |");
        for (const Row& r : p.store->rows(Table::Ru_variable))
          w.line(IntegerField(r.integer(RuField::LineNo), 9) + FixedField(r.real(RuField::Ru), 18, 3));
      }
      break;
    default:
      w.write(RunStyle::Body, "No Seepage");
      w.endLine();
  }
}

void WriteLoads(ReportWriter& w, const Project& p) {
  const OptionValues& o = p.options;
  const WorkingStore& store = *p.store;
  w.emptyLine();
  w.heading("LOAD EFFECT");
  if (!o.checked(Option::CB_Seismic_Disable)) {
    w.subHeading("Seismic");
    w.endLine();
    w.line("Kh = " + FixedField(o.readReal(Option::E_Kh), 4, 3) +
           "   Kv = " + FixedField(o.readReal(Option::E_Kv), 4, 3));
  }
  const bool lineLoads = !o.checked(Option::CB_LineLoad_Disable);
  const bool stripLoads = !o.checked(Option::CB_StripLoad_Disable);
  if (lineLoads || stripLoads) {
    w.subHeading("External Load");
    w.endLine();
  }
  if (lineLoads) {
    w.line("-Line Load");
    w.line("|   Load No.   |   Magnitude   |   X Coord.   |    Angle    |");
    for (const Row& r : store.rows(Table::Lineload)) {
      w.line(IntegerField(r.integer(LineLoadField::LoadNo), 9) + FixedField(r.real(LineLoadField::Magnitude), 17, 3) +
             FixedField(r.real(LineLoadField::X), 16, 3) + FixedField(r.real(LineLoadField::Angle), 14, 3));
    }
  }
  if (stripLoads) {
    w.line("-Strip Load");
    w.line("|   Load No.   |   Magnitude   |    Begin X   |    End X    |");
    for (const Row& r : store.rows(Table::Stripload)) {
      w.line(IntegerField(r.integer(StripLoadField::LoadNo), 9) + FixedField(r.real(StripLoadField::Magnitude), 17, 3) +
             FixedField(r.real(StripLoadField::BeginX), 16, 3) + FixedField(r.real(StripLoadField::EndX), 14, 3));
    }
  }
  if (!o.checked(Option::CB_Tension_Disable)) {
    w.subHeading("Tension Crack");
    w.endLine();
    w.line("Water Unit Weight = " + o.text(Option::E_Water_Unit_Weight));
    w.line("Percent of Water = " + o.text(Option::E_Percent_Water) + " %");
    w.line("|   Point No.   |   X Coord.   |   Y Coord.   |");
    for (const Row& r : store.rows(Table::Tcrack)) {
      w.line(IntegerField(r.integer(PointField::PointNo), 9) + FixedField(r.real(PointField::X), 18, 3) +
             FixedField(r.real(PointField::Y), 15, 3));
    }
  }
  if (!o.checked(Option::CB_Anchor_Disable)) {
    w.subHeading("Anchor or Geofrabric");
    w.write(RunStyle::Body, o.itemIndex(Option::RG_Apply_as) == 0 ? " : Variable" : " : Constant");
    w.endLine();
    w.line("| Load No. | Magnitude | Start X | Start Y | End X | End Y | Bond Length |");
    for (const Row& r : store.rows(Table::Anchor)) {
      w.line(IntegerField(r.integer(AnchorField::LoadNo), 6) + FixedField(r.real(AnchorField::Magnitude), 15, 3) +
             FixedField(r.real(AnchorField::XStart), 11, 3) + FixedField(r.real(AnchorField::YStart), 10, 3) +
             FixedField(r.real(AnchorField::XEnd), 9, 3) + FixedField(r.real(AnchorField::YEnd), 8, 3) +
             FixedField(r.real(AnchorField::BondedLength), 11, 3));
    }
  }
}

// The move step of the random search as the collection works it out from
// this project: the typed Moving Length, or without one a hundredth of the
// chord from the first to the last point of the irregular surface.
double MoveStep(const Project& p) {
  const double typed = p.options.readReal(Option::E_Move_Length);
  if (typed != 0.0) return typed;
  const std::vector<Row> rows = p.store->rows(Table::NonCircular_Coordinate);
  const int count = static_cast<int>(rows.size());
  if (count < 2) return 0.0;
  double x1 = 0.0, y1 = 0.0, xn = 0.0, yn = 0.0;
  for (const Row& r : rows) {
    const int no = r.integer(PointField::PointNo);
    if (no < 1 || no > count) return 0.0;  // the collection stops on such a row
    if (no == 1) x1 = r.real(PointField::X), y1 = r.real(PointField::Y);
    if (no == count) xn = r.real(PointField::X), yn = r.real(PointField::Y);
  }
  return std::hypot(xn - x1, yn - y1) / 100.0;
}

void WriteSearch(ReportWriter& w, const Project& p) {
  const OptionValues& o = p.options;
  auto real = [&o](Option name, int width, int decimals) { return FixedField(o.readReal(name), width, decimals); };
  auto integer = [&o](Option name, int width) { return IntegerField(o.readInteger(name), width); };
  w.emptyLine();
  w.heading("SEARCH CONDITION");
  w.line("Passing Criteria = " + real(Option::E_Pass_Criteria, 4, 5));
  w.emptyLine();

  static constexpr const char* kCircular[] = {" : by Grid", " : by Specified Point", " : by Automatic"};
  const int circular = std::clamp(o.itemIndex(Option::CB_Cir_Search), 0, 2);
  w.subHeading("Circular Search");
  w.write(RunStyle::Body, kCircular[circular]);
  w.endLine();
  if (o.itemIndex(Option::CB_Circle_Decrement) == 0) {
    w.line("No of Circle = " + integer(Option::E_Cir_Decrement, 4));
  } else {
    w.line("Radius Decrement = " + real(Option::E_Cir_Decrement, 9, 3));
  }
  w.line("No of Slice = " + integer(Option::E_Cir_Slice, 4));
  w.line("Min Depth of Tallest Slice = " + real(Option::E_Cir_Depth_Tallest, 9, 3));
  w.line("No of Add Radii = " + integer(Option::E_Cir_Add_Radius, 4));
  if (circular == 0) {
    static constexpr Option kCorners[3][2] = {{Option::E_X_LeftDown, Option::E_Y_LeftDown},
                                              {Option::E_X_RightDown, Option::E_Y_RightDown},
                                              {Option::E_X_RightTop, Option::E_Y_RightTop}};
    for (int k = 0; k < 3; ++k) {
      const std::string n = std::to_string(k + 1);
      w.line("Point " + n + " Coord.X = " + real(kCorners[k][0], 5, 3) + "    Point " + n +
             " Coord.Y = " + real(kCorners[k][1], 5, 3));
    }
    w.line("No of Divisions Between Point 1 and 2 = " + integer(Option::E_12_Division, 3));
    w.line("No of Divisions Between Point 2 and 3 = " + integer(Option::E_23_Division, 3));
    if (o.checked(Option::CB_Grid_Increment)) {
      w.line("X Increment = " + real(Option::E_Xgrid_Increment, 5, 3) +
             "   Y Increment = " + real(Option::E_Ygrid_Increment, 5, 3));
    }
  } else if (circular == 1) {
    w.line("X Specified = " + real(Option::E_X_Center, 5, 3) + "    Y Specified = " + real(Option::E_Y_Center, 5, 3) +
           "    R Specified = " + real(Option::E_Radius, 5, 3));
  } else {
    w.line("X Automatic = " + real(Option::E_Xauto_Start, 5, 3) +
           "     Y Automatic = " + real(Option::E_Yauto_Start, 5, 3));
    w.line("X Increment = " + real(Option::E_Xauto_Increment, 5, 3) +
           "     Y Increment = " + real(Option::E_Yauto_Increment, 5, 3));
  }
  w.emptyLine();

  const bool random = o.itemIndex(Option::CB_NonCir_Search) != 0;
  w.subHeading("Non-Circular Search");
  w.write(RunStyle::Body, random ? " : by Random" : " : by Specific");
  w.endLine();
  w.line("No of Slice = " + integer(Option::E_NonCir_Slice, 4));
  w.line("Min Depth of Tallest Slice = " + real(Option::E_NonCir_Depth_Tallest, 9, 3));
  if (random) {
    w.line("No. of Direction = " + integer(Option::E_No_Direction, 4));
    w.line("Moving Length = " + FixedField(MoveStep(p), 9, 3));
    w.line("Divide Step = " + integer(Option::E_Divide_Step, 4));
  }
  w.line("X Axis = " + real(Option::E_NonCir_X_Center, 9, 3) +
         "     Y Axis = " + real(Option::E_NonCir_Y_Center, 9, 3));
  w.line("|   Point No.   |   X Coord.   |   Y Coord.   |");
  for (const Row& r : p.store->rows(Table::NonCircular_Coordinate)) {
    w.line(IntegerField(r.integer(PointField::PointNo), 9) + FixedField(r.real(PointField::X), 18, 3) +
           FixedField(r.real(PointField::Y), 15, 3));
  }
}

std::string Shortest(double value) {
  return FormatShortest(RoundHalfEven(value, 4));
}

// The width of the notes: that of the report's rule.
constexpr std::size_t kNoteWidth = 67;

// The code point that starts at `at` in `text`, and the length of its
// UTF-8 sequence.
char32_t CodePointAt(std::string_view text, std::size_t at, std::size_t& length) {
  const auto c = static_cast<unsigned char>(text[at]);
  length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
  length = std::min(length, text.size() - at);
  char32_t cp = length == 1 ? c : length == 2 ? (c & 0x1F) : length == 3 ? (c & 0x0F) : (c & 0x07);
  for (std::size_t k = 1; k < length; ++k) cp = (cp << 6) | (static_cast<unsigned char>(text[at + k]) & 0x3F);
  return cp;
}

// Thai vowels and marks written above or below the letter before them.
bool ThaiCombining(char32_t cp) {
  return cp == 0x0E31 || (cp >= 0x0E34 && cp <= 0x0E3A) || (cp >= 0x0E47 && cp <= 0x0E4E);
}

void WriteWrapped(ReportWriter& w, std::string_view text) {
  for (const std::string& line : WrapText(text, kNoteWidth)) w.line(line);
}

}  // namespace

std::vector<std::string> WrapText(std::string_view text, std::size_t width) {
  std::vector<std::string> lines;
  std::string line;
  std::size_t lineCount = 0;  // characters in `line`
  auto flush = [&] {
    if (!line.empty()) lines.push_back(std::move(line));
    line.clear();
    lineCount = 0;
  };
  width = std::max<std::size_t>(width, 1);
  std::size_t at = 0;
  while (at < text.size()) {
    if (text[at] == ' ') {
      ++at;
      continue;
    }
    const std::size_t end = std::min(text.find(' ', at), text.size());
    std::string_view word = text.substr(at, end - at);
    at = end;
    std::size_t count = CharacterCount(word);
    if (lineCount > 0 && lineCount + 1 + count > width) flush();
    while (count > width) {
      // Too long for any line (the line is empty here): cut it where the
      // line ends, before a letter.
      std::size_t bytes = 0, taken = 0, cut = 0, cutTaken = 0;
      while (bytes < word.size() && taken < width) {
        std::size_t length = 0;
        CodePointAt(word, bytes, length);
        bytes += length;
        ++taken;
        std::size_t next = 0;
        if (bytes >= word.size() || !ThaiCombining(CodePointAt(word, bytes, next))) cut = bytes, cutTaken = taken;
      }
      if (cut == 0) {
        // The marks of the line's last letter go with it, past the width.
        cut = bytes, cutTaken = taken;
        std::size_t length = 0;
        while (cut < word.size() && ThaiCombining(CodePointAt(word, cut, length))) cut += length, ++cutTaken;
      }
      lines.emplace_back(word.substr(0, cut));
      word.remove_prefix(cut);
      count -= cutTaken;
    }
    if (word.empty()) continue;
    if (lineCount > 0) {
      line += ' ';
      ++lineCount;
    }
    line += word;
    lineCount += count;
  }
  flush();
  return lines;
}

std::string RightAligned(std::string_view text, int width) {
  const auto length = static_cast<long long>(CharacterCount(text));
  std::string out;
  if (length < width) out.assign(static_cast<std::size_t>(width - length), ' ');
  out += text;
  return out;
}

std::string IntegerField(long long value, int width) {
  return RightAligned(std::to_string(value), width);
}

std::string FixedField(double value, int width, int decimals) {
  return RightAligned(FormatFixed(value, decimals), width);
}

std::string DescribeLine(const ReportLine& line) {
  std::string out;
  for (const ReportRun& run : line.runs) {
    const char* tag = run.style == RunStyle::Bold        ? "b"
                      : run.style == RunStyle::Underline ? "u"
                      : run.style == RunStyle::Title     ? "title"
                      : run.style == RunStyle::Tag       ? "tag"
                                                         : nullptr;
    if (tag) out += std::string("[") + tag + "]";
    out += run.text;
    if (tag) out += std::string("[/") + tag + "]";
  }
  return out;
}

std::vector<std::string> DescribeLines(const ReportModel& model) {
  std::vector<std::string> out;
  out.reserve(model.lines.size());
  for (const ReportLine& line : model.lines) out.push_back(DescribeLine(line));
  return out;
}

ReportModel BuildDataReport(const Project& project, const ReportStamp& stamp) {
  const OptionValues& o = project.options;
  ReportWriter w;
  WriteHeader(w, stamp, 64);
  w.line("PROJECT    : " + o.text(Option::E_Project_Name));
  w.line("LOCATION   : " + o.text(Option::E_Lacation));
  w.line("ENGINEER   : " + o.text(Option::E_Engineer));
  w.line(std::string(64, '*'));
  std::set<int> soilNumbers;
  const int lineCount = WriteSoils(w, project, o.itemIndex(Option::CB_Strength_Model) == 1, soilNumbers);
  WriteGeometry(w, project, lineCount, std::move(soilNumbers));
  WriteBottomLine(w, project);
  WriteSeepage(w, project);
  WriteLoads(w, project);
  WriteSearch(w, project);
  return w.take();
}

ReportModel BuildResultReport(const WorkingStore& store, const ReportRunDescription& run, const ReportStamp& stamp) {
  static constexpr const char* kLabels[kMethodCount] = {"Min. FS. by Ordinary    : ", "Min. FS. by Simp.Janbu  : ",
                                                        "Min. FS. by Simp.Bishop : ", "Min. FS. by Spencer     : "};
  ReportWriter w;
  WriteHeader(w, stamp, 67);
  if (run.theory == 1 || run.theory == 2) {
    const bool circular = run.theory == 1;
    w.emptyLine();
    w.heading(circular ? "Circular Analysis" : "Non-Circular Analysis");
    w.emptyLine();
    for (int k = circular ? Ordinary : Janbu; k < kMethodCount; ++k) {
      const auto i = static_cast<std::size_t>(k);
      std::string text = kLabels[k];
      const std::string none = NoFactorText(run.language, run.minima[i].Fs);
      if (!run.selected[i]) {
        text += "N/A";
      } else if (!none.empty()) {
        // A result code is no factor, and its circle none of a minimum.
        text += none;
      } else {
        const MethodMinimum& m = run.minima[i];
        text += Shortest(m.Fs);
        if (circular) {
          text += " , X : " + Shortest(m.CenterX) + " , Y : " + Shortest(m.CenterY) + " , R : " + Shortest(m.Radius);
        }
      }
      w.line(text);
    }
  }
  if (!run.notes.empty()) {
    w.emptyLine();
    for (const std::string& note : run.notes) WriteWrapped(w, note);
  }
  w.emptyLine();
  w.emptyLine();
  w.heading("Failure Surface Coordinate");
  w.emptyLine();
  if (!run.shownSurface.empty()) {
    WriteWrapped(w, run.shownSurface);
    w.emptyLine();
  }
  w.line("|   No.   |   Coordi X   |   Coordi Y   |");
  w.line(std::string(41, '-'));
  store.visitRows(Table::Failure_Geometry, [&w](const Row& r) {
    w.line(IntegerField(r.integer(FailurePointField::No), 6) + FixedField(r.real(FailurePointField::X), 16, 3) +
           FixedField(r.real(FailurePointField::Y), 15, 3));
  });
  w.line(std::string(41, '-'));
  return w.take();
}

}  // namespace pelodyn
