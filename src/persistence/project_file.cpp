#include "persistence/project_file.h"

#include <fstream>

#include "model/collection.h"
#include "model/numbers.h"
#include "persistence/project_reading.h"
#include "persistence/sqlite_store.h"
#include "persistence/text_file.h"
#include "texts/messages.h"

namespace pelodyn {
namespace {

// Appends the rows of `table` in stored order: the first field as I, the
// others as R<width>.<decimals>.
void WriteNumberRows(LayoutWriter& w, WorkingStore& store, Table table, int width, int decimals) {
  const TableDef& def = TableDefinition(table);
  for (const Row& row : store.rows(table)) {
    w.integer(row.integer(def.fields[0].name), 0, def.fields[0].name);
    for (std::size_t f = 1; f < def.fields.size(); ++f) {
      const FieldDef& field = def.fields[f];
      if (field.type == FieldType::Integer) {
        w.integer(row.integer(field.name), 10, field.name);
      } else {
        w.real(row.real(field.name), width, decimals, field.name);
      }
    }
    w.endLine();
  }
}

// A soil row: number, the strength values and the unit weight (R10.3), the
// colour (I10), then one blank and the description, or " XX" for none.
void WriteSoilRows(LayoutWriter& w, WorkingStore& store, Table table) {
  const TableDef& def = TableDefinition(table);
  for (const Row& row : store.rows(table)) {
    w.integer(row.integer(SoilCommonField::LineNo), 0, "Line No.");
    for (const FieldDef& field : def.fields) {
      if (field.type == FieldType::Float) w.real(row.real(field.name), 10, 3, field.name);
    }
    w.integer(row.integer(SoilCommonField::Color), 10, "Color");
    const std::string description = row.text(SoilCommonField::Description);
    if (description.empty()) {
      w.literal(" XX");
    } else {
      w.literal(" ").text(description, 0, "Description");
    }
    w.endLine();
  }
}

int Count(WorkingStore& store, Table table) {
  return store.rowCount(table);
}

}  // namespace

bool IsCurrentProjectFile(std::string_view firstLine) {
  return firstLine == kProjectMagic;
}

std::string ReadFirstLine(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw FileError("Cannot open file \"" + path.string() + "\"");
  std::string line;
  std::getline(in, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() > 255) line.resize(255);
  return line;
}

void WriteProjectFile(Project& project, PlatformServices& platform, const std::filesystem::path& path) {
  const CrackWater crack = CollectForSaving(project, platform);
  AnalysisModel& m = project.model;
  const OptionValues& o = project.options;
  WorkingStore& store = *project.store;
  const int applyAs = o.itemIndex(Option::RG_Apply_as);

  LayoutWriter w;
  w.literal(kProjectMagic).endLine();
  w.text(m.ProjectName, 0, "Project Name").endLine();
  w.text(m.ProjectLocation, 0, "Location").endLine();
  w.text(m.ProjectEngineer, 0, "Engineer").endLine();
  w.blank();
  w.integer(m.AnalysisTheory, 0, "Theory").endLine();
  w.integer(m.UseOrdinary, 0, "Ordinary")
      .integer(m.UseSimplifiedJanbu, 10, "Simplified Janbu")
      .integer(m.UseSimplifiedBishop, 10, "Simplified Bishop")
      .integer(m.UseSpencer, 10, "Spencer")
      .endLine();
  w.blank();
  w.integer(m.StrengthModel, 0, "Strength Model").endLine();
  w.blank();
  w.integer(Count(store, Table::Soil_Prop), 0, "Soil_Prop").endLine();
  WriteSoilRows(w, store, Table::Soil_Prop);
  w.integer(Count(store, Table::Aniso), 0, "Aniso").endLine();
  WriteSoilRows(w, store, Table::Aniso);
  w.blank();
  w.integer(m.GeometryPointTotal, 0, "Geometry").endLine();
  WriteNumberRows(w, store, Table::Geometry, 10, 3);
  w.blank();
  w.integer(m.BottomLineChoice, 0, "Bottom Line").endLine();
  w.integer(m.BottomLineNo, 0, "Bottom Line No.").endLine();
  w.integer(Count(store, Table::Bottom_Line), 0, "Bottom_Line").endLine();
  WriteNumberRows(w, store, Table::Bottom_Line, 10, 3);
  w.blank();
  w.integer(m.SeepageKind, 0, "Seepage").endLine();
  w.integer(m.WaterLineKind, 0, "Water Line").endLine();
  w.integer(m.WaterLinePointCount, 0, "Waterline").endLine();
  w.real(m.WaterUnitWeight, 0, 3, "Unit Weight of Water").endLine();
  WriteNumberRows(w, store, Table::Waterline, 10, 3);
  w.integer(m.RuCondition, 0, "Ru Condition").endLine();
  w.real(m.RuAverage, 0, 3, "Ru").endLine();
  w.integer(m.RuVariableCount, 0, "Ru_variable").endLine();
  WriteNumberRows(w, store, Table::Ru_variable, 10, 3);
  w.blank();
  w.integer(m.SeismicEnabled, 0, "Seismic").endLine();
  w.real(m.SeismicKh, 0, 3, "Kh").real(m.SeismicKv, 10, 3, "Kv").endLine();
  w.blank();
  w.integer(m.LineLoadEnabled, 0, "Line Load").endLine();
  w.integer(m.LineLoadCount, 0, "Lineload").endLine();
  WriteNumberRows(w, store, Table::Lineload, 10, 3);
  w.blank();
  w.integer(m.StripLoadEnabled, 0, "Strip Load").endLine();
  w.integer(m.StripLoadCount, 0, "Stripload").endLine();
  WriteNumberRows(w, store, Table::Stripload, 10, 3);
  w.blank();
  w.integer(m.TensionCrackEnabled, 0, "Tension Crack").endLine();
  w.integer(m.TensionCrackPointCount, 0, "Tcrack").endLine();
  w.real(crack.percent, 0, 3, "Percent of Water").endLine();
  w.real(crack.unitWeight, 0, 3, "Unit Weight of Water in the crack").endLine();
  WriteNumberRows(w, store, Table::Tcrack, 10, 3);
  w.blank();
  w.integer(m.AnchorEnabled, 0, "Anchor").endLine();
  w.integer(m.AnchorCount, 0, "Anchor rows").endLine();
  w.integer(applyAs, 0, "Apply as").endLine();
  WriteNumberRows(w, store, Table::Anchor, 10, 3);
  w.blank();
  w.real(m.PassCriteria, 0, 5, "Pass Criteria").endLine();
  const int circleChoice = o.itemIndex(Option::CB_Circle_Decrement);
  w.integer(circleChoice, 0, "Circle Decrement").endLine();
  if (circleChoice == 0) w.integer(m.CircleCount, 0, "No. of Circle").endLine();
  if (circleChoice == 1) w.real(m.RadiusDecrement, 0, 5, "Radius Decrement").endLine();
  w.text(o.text(Option::E_Cir_Slice), 0, "No. of Slice").endLine();
  w.text(o.text(Option::E_Cir_Depth_Tallest), 0, "Depth Tallest").endLine();
  w.integer(m.CircleAddRadius, 0, "Add Radius").endLine();
  w.blank();
  w.integer(m.CircularSearchKind, 0, "Circular Search").endLine();
  w.real(m.GridCornerX[0], 0, 3, "Grid X Left-Down")
      .real(m.GridCornerY[0], 10, 3, "Grid Y Left-Down")
      .real(m.GridCornerX[1], 10, 3, "Grid X Right-Down")
      .real(m.GridCornerY[1], 10, 3, "Grid Y Right-Down")
      .real(m.GridCornerX[2], 10, 3, "Grid X Right-Top")
      .real(m.GridCornerY[2], 10, 3, "Grid Y Right-Top")
      .endLine();
  w.integer(m.GridDivision12, 0, "Division 1-2").integer(m.GridDivision23, 10, "Division 2-3").endLine();
  w.integer(m.GridIncrementEnabled, 0, "Grid Increment").endLine();
  w.real(m.GridIncrementX, 0, 3, "Grid Increment X").real(m.GridIncrementY, 10, 3, "Grid Increment Y").endLine();
  w.blank();
  w.text(o.text(Option::E_X_Center), 0, "X Center")
      .text(o.text(Option::E_Y_Center), 10, "Y Center")
      .text(o.text(Option::E_Radius), 10, "Radius")
      .endLine();
  w.blank();
  w.text(o.text(Option::E_Xauto_Start), 0, "X Start")
      .text(o.text(Option::E_Yauto_Start), 10, "Y Start")
      .text(o.text(Option::E_Xauto_Increment), 10, "X Increment")
      .text(o.text(Option::E_Yauto_Increment), 10, "Y Increment")
      .endLine();
  w.blank();
  w.integer(o.itemIndex(Option::CB_NonCir_Search), 0, "Irregular Search").endLine();
  w.text(o.text(Option::E_NonCir_Slice), 0, "No. of Slice (irregular)").endLine();
  w.text(o.text(Option::E_NonCir_Depth_Tallest), 0, "Depth Tallest (irregular)").endLine();
  w.blank();
  w.text(o.text(Option::E_NonCir_X_Center), 0, "Axis X")
      .text(o.text(Option::E_NonCir_Y_Center), 10, "Axis Y")
      .endLine();
  w.text(o.text(Option::E_No_Direction), 0, "No. of Direction").endLine();
  w.text(o.text(Option::E_Move_Length), 0, "Move Length").endLine();
  w.text(o.text(Option::E_Divide_Step), 0, "Divide Step").endLine();
  w.integer(o.checked(Option::CB_Auto_Center) ? 1 : 0, 0, "Auto Center").endLine();
  w.blank();
  w.integer(Count(store, Table::NonCircular_Coordinate), 0, "NonCircular_Coordinate").endLine();
  WriteNumberRows(w, store, Table::NonCircular_Coordinate, 20, 10);
  w.blank();
  w.integer(Count(store, Table::Aniso_advance), 0, "Aniso_advance").endLine();
  WriteNumberRows(w, store, Table::Aniso_advance, 10, 3);
  WriteFileReplacing(path, w.bytes());
}

namespace {

std::string IntText(std::int32_t v) {
  return std::to_string(v);
}
std::string RealText(double v) {
  return FormatShortest(v);
}

std::uint8_t Flag(std::int32_t v) {
  return v != 0 ? 1 : 0;
}

// Reads `count` rows of `table`: the first field as an integer, the others
// as their types say, then the next line.
// A token that does not convert names its cell as the table's grid shows it.
void ReadNumberRows(LayoutReader& r, WorkingStore& store, Table table, int count, std::uint8_t language) {
  const TableDef& def = TableDefinition(table);
  for (int i = 0; i < count; ++i) {
    Row row(table);
    const auto where = [&](std::string_view field) { return CellCaption(language, TableName(table), i + 1, field); };
    for (std::size_t f = 0; f < def.fields.size(); ++f) {
      if (def.fields[f].type == FieldType::Integer) {
        row.value(f) = static_cast<std::int64_t>(r.readInteger(where(def.fields[f].name)));
      } else {
        row.value(f) = r.readReal(where(def.fields[f].name));
      }
    }
    r.nextLine();
    store.append(row);
  }
}

void ReadSoilRows(LayoutReader& r, WorkingStore& store, Table table, int count, std::uint8_t language) {
  const TableDef& def = TableDefinition(table);
  for (int i = 0; i < count; ++i) {
    Row row(table);
    const auto where = [&](std::string_view field) { return CellCaption(language, TableName(table), i + 1, field); };
    row.set(AnisoAdvanceField::LineNo, static_cast<std::int64_t>(r.readInteger(where("Line No."))));
    for (const FieldDef& field : def.fields) {
      if (field.type == FieldType::Float) row.set(field.name, r.readReal(where(field.name)));
    }
    row.set("Color", static_cast<std::int64_t>(r.readInteger(where("Color"))));
    const std::string rest = r.readRestOfLine();
    r.nextLine();
    std::string description = rest == " XX" ? std::string() : (rest.empty() ? rest : rest.substr(1));
    // A description longer than its field keeps its first 30 characters.
    while (CharacterCount(description) > 30) {
      do description.pop_back();
      while (!description.empty() && (static_cast<unsigned char>(description.back()) & 0xC0) == 0x80);
      if (!description.empty() && static_cast<unsigned char>(description.back()) >= 0xC0) description.pop_back();
    }
    row.set(SoilCommonField::Description, std::string_view(description));
    store.append(row);
  }
}

}  // namespace

void ReadProjectBytes(Project& project, const std::string& bytes, const std::filesystem::path& path) {
  LayoutReader r = ProjectLayoutReader(bytes, path);
  AnalysisModel& m = project.model;
  OptionValues& o = project.options;
  WorkingStore& store = *project.store;
  r.readText();  // the magic
  o.setText(Option::E_Project_Name, r.readText());
  o.setText(Option::E_Lacation, r.readText());
  o.setText(Option::E_Engineer, r.readText());
  r.nextLine();

  const std::int32_t theory = r.readInteger("Theory");
  m.AnalysisTheory = static_cast<std::uint8_t>(theory);
  o.setItemIndex(Option::RG_Theory, theory);
  r.nextLine();
  const char* methodBoxes[] = {Option::CB_Ordinary, Option::CB_Simp_Janbu, Option::CB_Simp_Bishop, Option::CB_Spencer};
  std::uint8_t* methodFlags[] = {&m.UseOrdinary, &m.UseSimplifiedJanbu, &m.UseSimplifiedBishop, &m.UseSpencer};
  for (int k = 0; k < 4; ++k) {
    *methodFlags[k] = Flag(r.readInteger(OptionCaption(m.Language, methodBoxes[k])));
    o.setChecked(methodBoxes[k], *methodFlags[k] != 0);
  }
  r.nextLine();
  r.nextLine();

  const std::int32_t strength = r.readInteger("Strength Model");
  m.StrengthModel = static_cast<std::uint8_t>(strength);
  o.setItemIndex(Option::CB_Strength_Model, strength);
  r.nextLine();
  r.nextLine();

  int count = r.readInteger("row count of Soil_Prop");
  r.nextLine();
  ReadSoilRows(r, store, Table::Soil_Prop, count, m.Language);
  count = r.readInteger("row count of Aniso");
  r.nextLine();
  ReadSoilRows(r, store, Table::Aniso, count, m.Language);
  r.nextLine();

  count = r.readInteger("row count of Geometry");
  r.nextLine();
  ReadNumberRows(r, store, Table::Geometry, count, m.Language);
  r.nextLine();

  const std::int32_t bottomChoice = r.readInteger("Bottom Line");
  r.nextLine();
  const std::int32_t bottomNo = r.readInteger("Bottom Line No.");
  r.nextLine();
  count = r.readInteger("row count of Bottom_Line");
  r.nextLine();
  ReadNumberRows(r, store, Table::Bottom_Line, count, m.Language);
  m.BottomLineChoice = static_cast<std::uint8_t>(bottomChoice);
  o.setItemIndex(Option::CB_Bottom_Line_Choose, bottomChoice);
  o.setText(Option::E_BottomLine, IntText(bottomNo));
  r.nextLine();

  const std::int32_t seepage = r.readInteger("Seepage");
  r.nextLine();
  const std::int32_t waterKind = r.readInteger("Water Line");
  r.nextLine();
  count = r.readInteger("row count of Waterline");
  r.nextLine();
  const double waterUnitWeight = r.readReal("Unit Weight of Water");
  r.nextLine();
  ReadNumberRows(r, store, Table::Waterline, count, m.Language);
  o.setItemIndex(Option::CB_Phreatic_Peizometric, waterKind);
  o.setText(Option::E_Unit_Weight_Water, RealText(waterUnitWeight));
  const std::int32_t ruCondition = r.readInteger("Ru Condition");
  r.nextLine();
  const double ruAverage = r.readReal("Ru");
  r.nextLine();
  count = r.readInteger("row count of Ru_variable");
  r.nextLine();
  ReadNumberRows(r, store, Table::Ru_variable, count, m.Language);
  o.setItemIndex(Option::CB_Ru_Condition, ruCondition);
  o.setText(Option::E_Ru_average, RealText(ruAverage));
  o.setItemIndex(Option::CB_Seepage, seepage);
  m.SeepageKind = static_cast<std::uint8_t>(seepage);
  r.nextLine();

  m.SeismicEnabled = Flag(r.readInteger("Seismic"));
  o.setChecked(Option::CB_Seismic_Disable, !m.SeismicEnabled);
  r.nextLine();
  o.setText(Option::E_Kh, RealText(r.readReal("Kh")));
  o.setText(Option::E_Kv, RealText(r.readReal("Kv")));
  r.nextLine();
  r.nextLine();

  m.LineLoadEnabled = Flag(r.readInteger("Line Load"));
  o.setChecked(Option::CB_LineLoad_Disable, !m.LineLoadEnabled);
  r.nextLine();
  count = r.readInteger("row count of Lineload");
  r.nextLine();
  ReadNumberRows(r, store, Table::Lineload, count, m.Language);
  r.nextLine();

  m.StripLoadEnabled = Flag(r.readInteger("Strip Load"));
  o.setChecked(Option::CB_StripLoad_Disable, !m.StripLoadEnabled);
  r.nextLine();
  count = r.readInteger("row count of Stripload");
  r.nextLine();
  ReadNumberRows(r, store, Table::Stripload, count, m.Language);
  r.nextLine();

  m.TensionCrackEnabled = Flag(r.readInteger("Tension Crack"));
  o.setChecked(Option::CB_Tension_Disable, !m.TensionCrackEnabled);
  r.nextLine();
  count = r.readInteger("row count of Tcrack");
  r.nextLine();
  o.setText(Option::E_Percent_Water, RealText(r.readReal("Percent of Water")));
  r.nextLine();
  o.setText(Option::E_Water_Unit_Weight, RealText(r.readReal("Unit Weight of Water in the crack")));
  r.nextLine();
  ReadNumberRows(r, store, Table::Tcrack, count, m.Language);
  r.nextLine();

  m.AnchorEnabled = Flag(r.readInteger("Anchor"));
  o.setChecked(Option::CB_Anchor_Disable, !m.AnchorEnabled);
  r.nextLine();
  count = r.readInteger("row count of Anchor");
  r.nextLine();
  const std::int32_t applyAs = r.readInteger("Apply as");
  m.AnchorApplyAs = static_cast<std::uint8_t>(applyAs);
  o.setItemIndex(Option::RG_Apply_as, applyAs);
  r.nextLine();
  ReadNumberRows(r, store, Table::Anchor, count, m.Language);
  r.nextLine();

  o.setText(Option::E_Pass_Criteria, RealText(r.readReal("Pass Criteria")));
  r.nextLine();
  const std::int32_t circleChoice = r.readInteger("Circle Decrement");
  o.setItemIndex(Option::CB_Circle_Decrement, circleChoice);
  r.nextLine();
  if (circleChoice == 0) {
    o.setText(Option::E_Cir_Decrement, IntText(r.readInteger("No. of Circle")));
    r.nextLine();
  } else if (circleChoice == 1) {
    o.setText(Option::E_Cir_Decrement, RealText(r.readReal("Radius Decrement")));
    r.nextLine();
  }
  o.setText(Option::E_Cir_Slice, IntText(r.readInteger("No. of Slice")));
  r.nextLine();
  o.setText(Option::E_Cir_Depth_Tallest, RealText(r.readReal("Depth Tallest")));
  r.nextLine();
  o.setText(Option::E_Cir_Add_Radius, IntText(r.readInteger("Add Radius")));
  r.nextLine();
  r.nextLine();

  const std::int32_t circularKind = r.readInteger("Circular Search");
  m.CircularSearchKind = static_cast<std::uint8_t>(circularKind);
  o.setItemIndex(Option::CB_Cir_Search, circularKind);
  r.nextLine();
  for (const char* box : {Option::E_X_LeftDown, Option::E_Y_LeftDown, Option::E_X_RightDown, Option::E_Y_RightDown,
                          Option::E_X_RightTop, Option::E_Y_RightTop}) {
    o.setText(box, RealText(r.readReal(OptionCaption(m.Language, box))));
  }
  r.nextLine();
  o.setText(Option::E_12_Division, IntText(r.readInteger("Division 1-2")));
  o.setText(Option::E_23_Division, IntText(r.readInteger("Division 2-3")));
  r.nextLine();
  m.GridIncrementEnabled = Flag(r.readInteger("Grid Increment"));
  o.setChecked(Option::CB_Grid_Increment, m.GridIncrementEnabled != 0);
  r.nextLine();
  o.setText(Option::E_Xgrid_Increment, RealText(r.readReal("Grid Increment X")));
  o.setText(Option::E_Ygrid_Increment, RealText(r.readReal("Grid Increment Y")));
  r.nextLine();
  r.nextLine();

  for (const char* box : {Option::E_X_Center, Option::E_Y_Center, Option::E_Radius}) {
    o.setText(box, RealText(r.readReal(OptionCaption(m.Language, box))));
  }
  r.nextLine();
  r.nextLine();
  for (const char* box :
       {Option::E_Xauto_Start, Option::E_Yauto_Start, Option::E_Xauto_Increment, Option::E_Yauto_Increment}) {
    o.setText(box, RealText(r.readReal(OptionCaption(m.Language, box))));
  }
  r.nextLine();
  r.nextLine();

  const std::int32_t irregularKind = r.readInteger("Irregular Search");
  m.NonCirSearchKind = static_cast<std::uint8_t>(irregularKind);
  o.setItemIndex(Option::CB_NonCir_Search, irregularKind);
  r.nextLine();
  o.setText(Option::E_NonCir_Slice, IntText(r.readInteger("No. of Slice (irregular)")));
  r.nextLine();
  o.setText(Option::E_NonCir_Depth_Tallest, RealText(r.readReal("Depth Tallest (irregular)")));
  r.nextLine();
  r.nextLine();
  o.setText(Option::E_NonCir_X_Center, RealText(r.readReal("Axis X")));
  o.setText(Option::E_NonCir_Y_Center, RealText(r.readReal("Axis Y")));
  r.nextLine();
  o.setText(Option::E_No_Direction, IntText(r.readInteger("No. of Direction")));
  r.nextLine();
  o.setText(Option::E_Move_Length, RealText(r.readReal("Move Length")));
  r.nextLine();
  o.setText(Option::E_Divide_Step, IntText(r.readInteger("Divide Step")));
  r.nextLine();
  m.NonCirAutoCenter = Flag(r.readInteger("Auto Center"));
  o.setChecked(Option::CB_Auto_Center, m.NonCirAutoCenter != 0);
  r.nextLine();
  r.nextLine();

  count = r.readInteger("row count of NonCircular_Coordinate");
  r.nextLine();
  ReadNumberRows(r, store, Table::NonCircular_Coordinate, count, m.Language);
  r.nextLine();
  count = r.readInteger("row count of Aniso_advance");
  r.nextLine();
  ReadNumberRows(r, store, Table::Aniso_advance, count, m.Language);
}

void ReadProjectFile(Project& project, const std::filesystem::path& path) {
  const std::string bytes = ReadFileBytes(path);
  ReadIntoScratch(project, path, [&](Project& scratch) { ReadProjectBytes(scratch, bytes, path); });
}

namespace {

std::string FirstLineOf(const std::string& bytes) {
  std::string line = bytes.substr(0, bytes.find('\n'));
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() > 255) line.resize(255);
  return line;
}

// Bytes no text file holds: control characters other than tab, line ends,
// form feed and the end-of-file mark of old editors.
bool HoldsBinaryData(const std::string& bytes) {
  for (char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 && u != '\t' && u != '\n' && u != '\r' && u != '\f' && u != 0x1A) return true;
  }
  return false;
}

bool OnlyBlanks(const std::string& bytes) {
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) > 32) return false;
  }
  return true;
}

// Whether the other layout reads the whole file: a scratch read, silent.
bool ReadsAs(bool current, const Project& project, const std::string& bytes, const std::filesystem::path& path) {
  try {
    Project trial(SqliteWorkingStore::OpenInMemory());
    trial.options = project.options;
    trial.model = project.model;
    trial.BatchMode = 1;
    SilentPlatform silent;
    if (current) {
      // A first line other than the mark, or none at all.
      try {
        ReadProjectBytes(trial, bytes, path);
      } catch (const FileError&) {
        Project again(SqliteWorkingStore::OpenInMemory());
        again.options = project.options;
        again.model = project.model;
        again.BatchMode = 1;
        ReadProjectBytes(again, std::string(kProjectMagic) + "\r\n" + bytes, path);
      }
    } else {
      const std::size_t newline = bytes.find('\n');
      ReadLegacyProjectBytes(trial, silent, newline == std::string::npos ? std::string() : bytes.substr(newline + 1),
                             path);
    }
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace

void ReadAnyProjectFile(Project& project, PlatformServices& platform, const std::filesystem::path& path) {
  const std::string bytes = ReadFileBytes(path);
  // Built piece by piece: a literal + string expression trips a false
  // -Wrestrict of the optimiser.
  std::string notProject = "\"";
  notProject += path.string();
  notProject += "\" is not a Pelodyn project file";
  if (OnlyBlanks(bytes)) throw FileError(notProject + " (it is empty).");
  if (HoldsBinaryData(bytes)) throw FileError(notProject + " (it holds binary data).");
  const bool current = IsCurrentProjectFile(FirstLineOf(bytes));
  try {
    if (current) {
      ReadIntoScratch(project, path, [&](Project& scratch) { ReadProjectBytes(scratch, bytes, path); });
    } else {
      ReadIntoScratch(project, path, [&](Project& scratch) { ReadLegacyProjectBytes(scratch, platform, bytes, path); });
    }
  } catch (const FileError& e) {
    // A file labelled with one version but laid out as the other.
    if (current && ReadsAs(false, project, bytes, path)) {
      throw FileError("The file \"" + path.string() +
                      "\" says on its first line that it is a Pelodyn 2.0 project file, but it is laid out as a "
                      "version 1.18 file. Remove its first line to read it as version 1.18.");
    }
    if (!current && ReadsAs(true, project, bytes, path)) {
      throw FileError("The file \"" + path.string() +
                      "\" is laid out as a Pelodyn 2.0 project file, but its first line \"" + FirstLineOf(bytes) +
                      "\" is not the version 2.0 mark \"" + std::string(kProjectMagic) +
                      "\". Put the mark on its first line to read it as version 2.0.");
    }
    // A file without the version 2.0 mark that fails within the first lines
    // of the 1.18 layout is no project file at all (a text file, say).
    const auto* layout = dynamic_cast<const LayoutError*>(&e);
    if (!current && layout != nullptr && layout->line() <= 6) throw FileError(notProject + ".");
    throw;
  }
}

}  // namespace pelodyn
