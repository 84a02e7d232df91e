// The version 1.18 project file: no magic line, soil tables without numbers,
// colours or descriptions, boundary lines as point lists, loads placed by
// point numbers of the ground line, and single-digit marker lines.
#include <stdexcept>

#include "model/collection.h"
#include "model/geometry.h"
#include "model/numbers.h"
#include "model/soil_color.h"
#include "persistence/project_file.h"
#include "persistence/project_reading.h"
#include "persistence/text_file.h"

namespace pelodyn {
namespace {

std::string Cannot(const std::string& why) {
  return "This project cannot be saved as a Pelodyn 1.18 file: " + why + ". Save it in the current format instead.";
}

// The layout holds only what a 1.18 reader takes back: as many soils as
// boundary lines, and the geometry rows line by line, point by point.
void CheckLegacyShape(Project& project) {
  const AnalysisModel& m = project.model;
  if (m.LineCount < 1) throw FileError(Cannot("it has no boundary lines"));
  const Table soils = m.StrengthModel == 1 ? Table::Aniso : Table::Soil_Prop;
  if (project.store->rowCount(soils) != m.LineCount) {
    throw FileError(Cannot("its number of soils differs from its number of boundary lines"));
  }
  // A collection that stopped before the lines (a soil number given twice,
  // say) leaves no point counts to lay the file out by.
  if (m.LinePointCount.size() < static_cast<std::size_t>(m.LineCount)) {
    throw FileError(Cannot("its boundary lines could not be read; please check the soils and the geometry"));
  }
  int line = 1, point = 0;
  for (const Row& r : project.store->rows(Table::Geometry)) {
    ++point;
    if (point > m.LinePointCount[static_cast<std::size_t>(line - 1)]) {
      ++line;
      point = 1;
    }
    if (line > m.LineCount) {
      throw FileError(Cannot("its boundary points are not stored line by line in the order of their numbers"));
    }
    if (r.integer(GeometryField::LineNo) != line || r.integer(GeometryField::PointNo) != point) {
      throw FileError(Cannot("its boundary points are not stored line by line in the order of their numbers"));
    }
  }
}

// Integers of this format were kept in signed 8-bit values.
std::int32_t Small(std::int32_t v) {
  if (v < -128 || v > 127) {
    throw FileError("The number " + std::to_string(v) + " is too large for a Pelodyn 1.18 project file (at most 127)");
  }
  return v;
}

}  // namespace

void WriteLegacyProjectFile(Project& project, PlatformServices& platform, const std::filesystem::path& path) {
  const CrackWater crack = CollectForSaving(project, platform);
  AnalysisModel& m = project.model;
  const OptionValues& o = project.options;
  WorkingStore& store = *project.store;
  CheckLegacyShape(project);
  // Converted before anything is written, so a text that does not convert
  // leaves no partial file.
  const double autoStartX = o.readReal(Option::E_Xauto_Start), autoStartY = o.readReal(Option::E_Yauto_Start);
  const double autoStepX = o.readReal(Option::E_Xauto_Increment), autoStepY = o.readReal(Option::E_Yauto_Increment);
  const double centreX = o.readReal(Option::E_X_Center), centreY = o.readReal(Option::E_Y_Center);
  const double radius = o.readReal(Option::E_Radius);

  LayoutWriter w;
  w.text(m.ProjectName, 0, "Project Name").endLine();
  w.text(m.ProjectLocation, 0, "Location").endLine();
  w.text(m.ProjectEngineer, 0, "Engineer").endLine();
  w.blank();
  w.integer(m.StrengthModel, 4, "Strength Model").endLine();
  for (Table table : {Table::Soil_Prop, Table::Aniso}) {
    const std::vector<Row> rows = store.rows(table);
    w.integer(static_cast<long long>(rows.size()), 4, TableName(table)).endLine();
    for (std::size_t i = 0; i + 1 < static_cast<std::size_t>(m.LineCount) && i < rows.size(); ++i) {
      for (const FieldDef& field : TableDefinition(table).fields) {
        if (field.type == FieldType::Float) w.real(rows[i].real(field.name), 9, 3, field.name);
      }
      w.endLine();
    }
  }
  w.blank();
  std::size_t line = 0;
  int counter = 0;
  w.integer(m.LinePointCount[0], 4, "Point count").endLine();
  for (const Row& r : store.rows(Table::Geometry)) {
    if (++counter > m.LinePointCount[line]) {
      ++line;
      counter = 1;
      w.integer(m.LinePointCount[line], 4, "Point count").endLine();
    }
    w.real(r.real(GeometryField::X), 9, 3, "Coordi X").real(r.real(GeometryField::Y), 9, 3, "Coordi Y").endLine();
  }
  w.blank();
  if (m.BottomLineChoice == 0) {
    w.integer(m.BottomLineCount - 1, 4, "Bottom line segments").endLine();
    for (int s = 1; s < m.BottomLineCount; ++s) {
      w.text(o.text(Option::E_BottomLine), 4, "Bottom Line No.")
          .integer(s, 4, "Begin Point")
          .integer(s + 1, 4, "End Point");
      w.endLine();
    }
  } else if (m.BottomLineChoice == 1) {
    w.integer(m.BottomLineCount, 4, "Bottom line segments").endLine();
    for (const Row& r : store.rows(Table::Bottom_Line)) {
      w.integer(r.integer(BottomLineField::LineNo), 4, "Line No.")
          .integer(r.integer(BottomLineField::BeginPoint), 4, "Begin Point")
          .integer(r.integer(BottomLineField::EndPoint), 4, "End Point")
          .endLine();
    }
  }
  w.blank();
  w.real(m.RadiusDecrement, 9, 3, "Radius Decrement")
      .text(o.text(Option::E_Cir_Depth_Tallest), 9, "Depth Tallest")
      .integer(m.CircleCount, 4, "No. of Circle")
      .text(o.text(Option::E_Cir_Slice), 4, "No. of Slice")
      .integer(m.CircleAddRadius, 4, "Add Radius")
      .integer(1, 4, "")
      .endLine();
  w.blank();
  w.integer(m.SeepageKind, 0, "Seepage").endLine();
  w.blank();
  w.literal("1").endLine();
  w.integer(m.WaterLineKind, 4, "Water Line").endLine();
  w.real(m.WaterUnitWeight, 4, 3, "Unit Weight of Water").integer(m.WaterLinePointCount, 4, "Waterline").endLine();
  for (const Row& r : store.rows(Table::Waterline)) {
    w.real(r.real(PointField::X), 9, 3, "Coordi X").real(r.real(PointField::Y), 9, 3, "Coordi Y").endLine();
  }
  w.blank();
  w.literal("2").endLine();
  w.integer(m.RuCondition, 4, "Ru Condition").endLine();
  w.literal("0").endLine();
  w.real(m.RuAverage, 9, 3, "Ru").endLine();
  w.literal("1").endLine();
  w.integer(m.RuVariableCount, 4, "Ru_variable").endLine();
  for (const Row& r : store.rows(Table::Ru_variable)) {
    w.integer(r.integer(RuField::LineNo), 4, "Line No.").real(r.real(RuField::Ru), 9, 3, "Ru").endLine();
  }
  w.blank();
  static constexpr int kSearchCode[] = {0, 2, 1};
  w.integer(m.CircularSearchKind <= 2 ? kSearchCode[m.CircularSearchKind] : m.CircularSearchKind, 4, "Search")
      .endLine();
  w.blank();
  w.literal("0").endLine();
  for (int k = 0; k < 3; ++k) {
    w.real(m.GridCornerX[static_cast<std::size_t>(k)], 9, 3, "Grid X")
        .real(m.GridCornerY[static_cast<std::size_t>(k)], 9, 3, "Grid Y")
        .endLine();
  }
  w.integer(m.GridDivision12, 4, "Division 1-2").integer(m.GridDivision23, 4, "Division 2-3").endLine();
  w.real(m.GridIncrementX, 9, 3, "Grid Increment X").real(m.GridIncrementY, 9, 3, "Grid Increment Y").endLine();
  w.blank();
  w.literal("1").endLine();
  w.real(autoStartX, 9, 3, "X Start").real(autoStartY, 9, 3, "Y Start").endLine();
  w.real(autoStepX, 9, 3, "X Increment").real(autoStepY, 9, 3, "Y Increment").endLine();
  w.blank();
  w.literal("2").endLine();
  w.real(centreX, 9, 3, "X Center").real(centreY, 9, 3, "Y Center").real(radius, 9, 3, "Radius").endLine();
  w.blank();
  w.integer(m.SeismicEnabled ? 0 : 1, 0, "Seismic").endLine();
  w.integer(1, 4, "").endLine();
  w.real(m.SeismicKh, 9, 3, "Kh").real(m.SeismicKv, 9, 3, "Kv").endLine();
  w.blank();
  w.integer(m.TensionCrackEnabled ? 0 : 1, 0, "Tension Crack").endLine();
  w.real(crack.unitWeight, 9, 3, "Unit Weight of Water in the crack").real(crack.percent, 9, 3, "Percent of Water");
  w.endLine();
  w.integer(m.TensionCrackPointCount, 4, "Tcrack").endLine();
  for (const Row& r : store.rows(Table::Tcrack)) {
    w.real(r.real(PointField::X), 9, 3, "Coordi X").real(r.real(PointField::Y), 9, 3, "Coordi Y").endLine();
  }
  w.blank();
  w.integer(m.LineLoadEnabled ? 0 : 1, 0, "Line Load").endLine();
  w.integer(m.LineLoadCount, 4, "Lineload").endLine();
  for (const Row& r : store.rows(Table::Lineload)) {
    w.real(r.real(LineLoadField::Magnitude), 9, 3, "Magnitude")
        .integer(TopLinePointIndexAtX(m, r.real(LineLoadField::X)), 4, "Coordi X")
        .real(r.real(LineLoadField::Angle), 9, 3, "Angle")
        .endLine();
  }
  w.blank();
  w.integer(m.StripLoadEnabled ? 0 : 1, 0, "Strip Load").endLine();
  w.integer(m.StripLoadCount, 4, "Stripload").endLine();
  for (const Row& r : store.rows(Table::Stripload)) {
    w.real(r.real(StripLoadField::Magnitude), 9, 3, "Magnitude")
        .integer(TopLinePointIndexAtX(m, r.real(StripLoadField::BeginX)), 4, "Begin X")
        .integer(TopLinePointIndexAtX(m, r.real(StripLoadField::EndX)), 4, "End X")
        .endLine();
  }
  w.blank();
  w.integer(m.AnchorEnabled ? 0 : 1, 0, "Anchor").endLine();
  w.integer(o.itemIndex(Option::RG_Apply_as), 4, "Apply as").endLine();
  w.integer(m.AnchorCount, 4, "Anchor rows").endLine();
  for (const Row& r : store.rows(Table::Anchor)) {
    for (const char* field : {"Magnitude", "X start", "Y start", "X end", "Y end", "Bonded Length"}) {
      w.real(r.real(field), 9, 3, field);
    }
    w.endLine();
  }
  WriteFileReplacing(path, w.bytes());
}

void ReadLegacyProjectBytes(Project& project, PlatformServices& platform, const std::string& bytes,
                            const std::filesystem::path& path) {
  LayoutReader r = ProjectLayoutReader(bytes, path);
  AnalysisModel& m = project.model;
  OptionValues& o = project.options;
  WorkingStore& store = *project.store;
  auto integer = [&] { return Small(r.readInteger()); };
  auto real = [&] { return FormatShortest(r.readReal()); };

  // Entry 2 is the location, as the writer puts it.
  o.setText(Option::E_Project_Name, r.readText());
  o.setText(Option::E_Lacation, r.readText());
  o.setText(Option::E_Engineer, r.readText());
  m.AnalysisTheory = 1;
  o.setItemIndex(Option::RG_Theory, 1);
  const char* methodBoxes[] = {Option::CB_Ordinary, Option::CB_Simp_Janbu, Option::CB_Simp_Bishop, Option::CB_Spencer};
  for (int k = 0; k < 4; ++k) o.setChecked(methodBoxes[k], k == Bishop);
  m.UseOrdinary = 0;
  m.UseSimplifiedJanbu = 0;
  m.UseSimplifiedBishop = 1;
  m.UseSpencer = 0;
  r.nextLine();

  const std::int32_t strength = integer();
  m.StrengthModel = static_cast<std::uint8_t>(strength);
  o.setItemIndex(Option::CB_Strength_Model, strength);
  r.nextLine();

  for (Table table : {Table::Soil_Prop, Table::Aniso}) {
    const std::int32_t n = integer();
    r.nextLine();
    for (std::int32_t k = 1; k <= n; ++k) {
      Row row(table);
      row.set(SoilCommonField::LineNo, k)
          .set(SoilCommonField::Color, SoilColorDefault(k))
          .set(SoilCommonField::Description, "");
      for (const FieldDef& field : TableDefinition(table).fields) {
        if (field.type == FieldType::Float) {
          row.set(field.name, k < n ? r.readReal("soil " + std::to_string(k) + ", " + std::string(field.name)) : 0.0);
        }
      }
      if (k < n) r.nextLine();
      store.append(row);
    }
  }

  r.nextLine();
  const int lines = store.rowCount(strength == 1 ? Table::Aniso : Table::Soil_Prop);
  for (int i = 1; i <= lines; ++i) {
    const std::int32_t points = integer();
    r.nextLine();
    for (std::int32_t j = 1; j <= points; ++j) {
      Row row(Table::Geometry);
      row.set(GeometryField::LineNo, i).set(GeometryField::PointNo, j);
      const std::string where = "line " + std::to_string(i) + " point " + std::to_string(j);
      row.set(GeometryField::X, r.readReal(where + ", Coordi X"))
          .set(GeometryField::Y, r.readReal(where + ", Coordi Y"));
      r.nextLine();
      store.append(row);
    }
  }

  r.nextLine();
  m.BottomLineChoice = 1;
  o.setItemIndex(Option::CB_Bottom_Line_Choose, 1);
  std::int32_t count = integer();
  r.nextLine();
  for (std::int32_t k = 0; k < count; ++k) {
    Row row(Table::Bottom_Line);
    row.set(BottomLineField::LineNo, integer())
        .set(BottomLineField::BeginPoint, integer())
        .set(BottomLineField::EndPoint, integer());
    r.nextLine();
    store.append(row);
  }

  r.nextLine();
  o.setText(Option::E_Pass_Criteria, "0.01");
  const double decrement = r.readReal();
  const double depth = r.readReal();
  const std::int32_t circles = integer();
  const std::int32_t slices = integer();
  const std::int32_t addRadius = integer();
  integer();
  r.nextLine();
  if (circles < 1) {
    o.setItemIndex(Option::CB_Circle_Decrement, 1);
    o.setText(Option::E_Cir_Decrement, FormatShortest(decrement));
  } else {
    o.setItemIndex(Option::CB_Circle_Decrement, 0);
    o.setText(Option::E_Cir_Decrement, std::to_string(circles));
  }
  o.setText(Option::E_Cir_Depth_Tallest, FormatShortest(depth));
  o.setText(Option::E_Cir_Slice, std::to_string(slices));
  o.setText(Option::E_Cir_Add_Radius, std::to_string(addRadius));

  r.nextLine();
  const std::int32_t seepage = integer();
  r.nextLine();
  r.nextLine();
  r.readText();
  const std::int32_t waterKind = integer();
  r.nextLine();
  o.setItemIndex(Option::CB_Phreatic_Peizometric, waterKind);
  m.WaterLineKind = static_cast<std::uint8_t>(waterKind);
  o.setText(Option::E_Unit_Weight_Water, real());
  count = integer();
  r.nextLine();
  for (std::int32_t k = 1; k <= count; ++k) {
    Row row(Table::Waterline);
    row.set(PointField::PointNo, k).set(PointField::X, r.readReal()).set(PointField::Y, r.readReal());
    r.nextLine();
    store.append(row);
  }

  r.nextLine();
  r.readText();
  const std::int32_t ruCondition = integer();
  r.nextLine();
  r.readText();
  o.setText(Option::E_Ru_average, real());
  r.nextLine();
  r.readText();
  count = integer();
  r.nextLine();
  for (std::int32_t k = 0; k < count; ++k) {
    Row row(Table::Ru_variable);
    row.set(RuField::LineNo, integer()).set(RuField::Ru, r.readReal());
    r.nextLine();
    store.append(row);
  }
  o.setItemIndex(Option::CB_Seepage, seepage);
  m.SeepageKind = static_cast<std::uint8_t>(seepage);
  if (seepage == 2) {
    o.setItemIndex(Option::CB_Ru_Condition, ruCondition);
    m.RuCondition = static_cast<std::uint8_t>(ruCondition);
  }

  r.nextLine();
  const std::int32_t code = integer();
  r.nextLine();
  if (code == 0) o.setItemIndex(Option::CB_Cir_Search, 0);
  if (code == 1) o.setItemIndex(Option::CB_Cir_Search, 2);
  if (code == 2) o.setItemIndex(Option::CB_Cir_Search, 1);
  m.CircularSearchKind = static_cast<std::uint8_t>(o.itemIndex(Option::CB_Cir_Search));

  r.nextLine();
  r.readText();
  for (auto [bx, by] : {std::pair{Option::E_X_LeftDown, Option::E_Y_LeftDown},
                        {Option::E_X_RightDown, Option::E_Y_RightDown},
                        {Option::E_X_RightTop, Option::E_Y_RightTop}}) {
    o.setText(bx, real());
    o.setText(by, real());
    r.nextLine();
  }
  o.setText(Option::E_12_Division, std::to_string(integer()));
  o.setText(Option::E_23_Division, std::to_string(integer()));
  r.nextLine();
  const double incrementX = r.readReal(), incrementY = r.readReal();
  r.nextLine();
  o.setText(Option::E_Xgrid_Increment, FormatShortest(incrementX));
  o.setText(Option::E_Ygrid_Increment, FormatShortest(incrementY));
  m.GridIncrementEnabled = (incrementX > 0.0 || incrementY > 0.0) ? 1 : 0;
  o.setChecked(Option::CB_Grid_Increment, m.GridIncrementEnabled != 0);

  r.nextLine();
  r.readText();
  o.setText(Option::E_Xauto_Start, real());
  o.setText(Option::E_Yauto_Start, real());
  r.nextLine();
  o.setText(Option::E_Xauto_Increment, real());
  o.setText(Option::E_Yauto_Increment, real());
  r.nextLine();

  r.nextLine();
  r.readText();
  o.setText(Option::E_X_Center, real());
  o.setText(Option::E_Y_Center, real());
  o.setText(Option::E_Radius, real());
  r.nextLine();

  r.nextLine();
  std::int32_t off = integer();
  r.nextLine();
  m.SeismicEnabled = off == 1 ? 0 : 1;
  o.setChecked(Option::CB_Seismic_Disable, off == 1);
  if (integer() > 0) {
    r.nextLine();
    o.setText(Option::E_Kh, real());
    o.setText(Option::E_Kv, real());
    r.nextLine();
  } else {
    r.nextLine();
  }

  r.nextLine();
  off = integer();
  r.nextLine();
  m.TensionCrackEnabled = off == 1 ? 0 : 1;
  o.setChecked(Option::CB_Tension_Disable, off == 1);
  o.setText(Option::E_Water_Unit_Weight, real());
  o.setText(Option::E_Percent_Water, real());
  r.nextLine();
  count = integer();
  r.nextLine();
  for (std::int32_t k = 1; k <= count; ++k) {
    Row row(Table::Tcrack);
    row.set(PointField::PointNo, k).set(PointField::X, r.readReal()).set(PointField::Y, r.readReal());
    r.nextLine();
    store.append(row);
  }

  auto groundX = [&](int point) {
    try {
      return TopLinePointX(project, platform, point);
    } catch (const std::out_of_range& e) {
      throw FileError(std::string(e.what()) + ", which a load of the file refers to");
    }
  };
  auto groundY = [&](int point) { return TopLinePointY(m, point); };

  r.nextLine();
  off = integer();
  r.nextLine();
  m.LineLoadEnabled = off == 1 ? 0 : 1;
  o.setChecked(Option::CB_LineLoad_Disable, off == 1);
  count = integer();
  r.nextLine();
  for (std::int32_t k = 1; k <= count; ++k) {
    const double magnitude = r.readReal();
    const std::int32_t point = integer();
    const double angle = r.readReal();
    r.nextLine();
    Row row(Table::Lineload);
    row.set(LineLoadField::LoadNo, k).set(LineLoadField::Magnitude, magnitude).set(LineLoadField::X, groundX(point));
    row.set(LineLoadField::Y, groundY(point)).set(LineLoadField::Angle, angle);
    store.append(row);
  }

  r.nextLine();
  off = integer();
  r.nextLine();
  m.StripLoadEnabled = off == 1 ? 0 : 1;
  o.setChecked(Option::CB_StripLoad_Disable, off == 1);
  count = integer();
  r.nextLine();
  for (std::int32_t k = 1; k <= count; ++k) {
    const double magnitude = r.readReal();
    const std::int32_t begin = integer();
    const std::int32_t end = integer();
    r.nextLine();
    Row row(Table::Stripload);
    row.set(StripLoadField::LoadNo, k)
        .set(StripLoadField::Magnitude, magnitude)
        .set(StripLoadField::BeginX, groundX(begin))
        .set(StripLoadField::EndX, groundX(end));
    row.set(StripLoadField::Y1, groundY(begin)).set(StripLoadField::Y2, groundY(end));
    store.append(row);
  }

  r.nextLine();
  off = integer();
  r.nextLine();
  m.AnchorEnabled = off == 1 ? 0 : 1;
  o.setChecked(Option::CB_Anchor_Disable, off == 1);
  const std::int32_t applyAs = integer();
  o.setItemIndex(Option::RG_Apply_as, applyAs);
  m.AnchorApplyAs = static_cast<std::uint8_t>(applyAs);
  r.nextLine();
  count = integer();
  r.nextLine();
  for (std::int32_t k = 1; k <= count; ++k) {
    Row row(Table::Anchor);
    row.set(AnchorField::LoadNo, k);
    for (const char* field : {"Magnitude", "X start", "Y start", "X end", "Y end", "Bonded Length"}) {
      row.set(field, r.readReal());
    }
    r.nextLine();
    store.append(row);
  }

  o.setText(Option::E_No_Direction, "8");
  o.setText(Option::E_Move_Length, "0");
  o.setText(Option::E_Divide_Step, "3");
  m.NonCirPointCount = 0;
}

void ReadLegacyProjectFile(Project& project, PlatformServices& platform, const std::filesystem::path& path) {
  const std::string bytes = ReadFileBytes(path);
  ReadIntoScratch(project, path, [&](Project& scratch) { ReadLegacyProjectBytes(scratch, platform, bytes, path); });
}

}  // namespace pelodyn
