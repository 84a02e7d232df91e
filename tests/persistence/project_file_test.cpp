// The project files, version 2.0 and 1.18, against files written by hand
// from their layouts (tests/data), and their readers against damaged files.
#include "persistence/project_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include "model/numbers.h"
#include "model/verification.h"
#include "persistence/sqlite_store.h"
#include "persistence/text_file.h"
#include "support/recording_platform.h"
#include "support/test_folder.h"

namespace pelodyn {
namespace {

namespace fs = std::filesystem;

const fs::path kData = PELODYN_TEST_DATA;

std::string Bytes(const fs::path& path) {
  return ReadFileBytes(path);
}

class TempFolder {
 public:
  TempFolder() {
    path = testing::TestFolder("pelodyn-files-");
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~TempFolder() { fs::remove_all(path); }
  fs::path path;
};

void Append(WorkingStore& store, Table table, std::initializer_list<FieldValue> values) {
  Row row(table);
  std::size_t i = 0;
  for (const FieldValue& v : values) {
    if (const auto* d = std::get_if<double>(&v)) {
      row.setNamed(TableDefinition(table).fields[i].name, *d);
    } else if (const auto* n = std::get_if<std::int64_t>(&v)) {
      row.setNamed(TableDefinition(table).fields[i].name, *n);
    } else if (const auto* s = std::get_if<std::string>(&v)) {
      row.setNamed(TableDefinition(table).fields[i].name, std::string_view(*s));
    }
    ++i;
  }
  store.append(row);
}

using I = std::int64_t;
using S = std::string;

// The project of tests/data/project_full_v20.pdd: every table has rows.
void FullProject(Project& p) {
  WorkingStore& s = *p.store;
  OptionValues& o = p.options;
  o.setText(Option::E_Project_Name, "Dam section A");
  o.setText(Option::E_Lacation, "ลำปาง");
  o.setText(Option::E_Engineer, "S. Chaiyo");
  Append(s, Table::Soil_Prop, {I{1}, 25.5, 30.0, 19.2, S{}, I{8454143}});
  s.append(Row(Table::Soil_Prop)
               .set(SoilCommonField::LineNo, 2)
               .set(SoilField::Cohesion, 99999.999)
               .set(SoilField::Phi, -9999.999)
               .set(SoilCommonField::UnitWeight, 18.0)
               .set(SoilCommonField::Color, 8454016));
  Append(s, Table::Soil_Prop, {I{3}, 0.0, 0.0, 0.0, S{"Air"}, I{16777088}});
  {
    Row first = s.rowAt(Table::Soil_Prop, 1);
    first.set(SoilCommonField::Description, "ดินเหนียว");
    s.update(1, first);
  }
  Append(s, Table::Aniso, {I{1}, 10.0, 12.0, 28.0, 30.0, 19.0, S{"Clay A"}, I{8454143}});
  Append(s, Table::Aniso, {I{2}, 0.0, 0.0, 0.0, 0.0, 0.0, S{}, I{8454016}});
  for (auto [line, point, x, y] : {std::tuple{1, 1, 0.0, 0.0},
                                   {1, 2, 100.0, 0.0},
                                   {2, 1, 0.0, 10.0},
                                   {2, 2, 100.0, 10.0},
                                   {3, 1, 0.0, 30.0},
                                   {3, 2, 40.0, 30.0},
                                   {3, 3, 60.0, 20.0},
                                   {3, 4, 100.0, 20.0}}) {
    Append(s, Table::Geometry, {I{line}, I{point}, x, y});
  }
  Append(s, Table::Bottom_Line, {I{1}, I{1}, I{2}});
  o.setItemIndex(Option::CB_Seepage, 1);
  o.setText(Option::E_Unit_Weight_Water, "9.81");
  Append(s, Table::Waterline, {I{1}, 0.0, 25.0});
  Append(s, Table::Waterline, {I{2}, 100.0, 15.0});
  Append(s, Table::Ru_variable, {I{1}, 0.2});
  Append(s, Table::Ru_variable, {I{2}, 0.1});
  o.setChecked(Option::CB_Seismic_Disable, false);
  o.setText(Option::E_Kh, "0.15");
  o.setText(Option::E_Kv, "0.05");
  o.setChecked(Option::CB_LineLoad_Disable, false);
  Append(s, Table::Lineload, {I{1}, 50.0, 40.0, 30.0, 10.0});
  o.setChecked(Option::CB_StripLoad_Disable, false);
  Append(s, Table::Stripload, {I{1}, 12.0, 60.0, 100.0, 20.0, 20.0});
  o.setChecked(Option::CB_Tension_Disable, false);
  o.setText(Option::E_Percent_Water, "50");
  o.setText(Option::E_Water_Unit_Weight, "9.81");
  Append(s, Table::Tcrack, {I{1}, 0.0, 26.0});
  Append(s, Table::Tcrack, {I{2}, 40.0, 26.0});
  o.setChecked(Option::CB_Anchor_Disable, false);
  o.setItemIndex(Option::RG_Apply_as, 1);
  Append(s, Table::Anchor, {I{1}, 100.0, 55.0, 22.5, 40.0, 15.0, 5.0});
  for (auto [box, text] : {std::pair{Option::E_X_LeftDown, "40"},
                           {Option::E_Y_LeftDown, "40"},
                           {Option::E_X_RightDown, "70"},
                           {Option::E_Y_RightDown, "40"},
                           {Option::E_X_RightTop, "70"},
                           {Option::E_Y_RightTop, "60"},
                           {Option::E_23_Division, "4"},
                           {Option::E_Xgrid_Increment, "1.5"},
                           {Option::E_Ygrid_Increment, "0.5"},
                           {Option::E_X_Center, "50"},
                           {Option::E_Y_Center, "45"},
                           {Option::E_Radius, "30"},
                           {Option::E_Xauto_Start, "50"},
                           {Option::E_Yauto_Start, "45"},
                           {Option::E_Xauto_Increment, "1"},
                           {Option::E_Yauto_Increment, "1"},
                           {Option::E_NonCir_X_Center, "50"},
                           {Option::E_NonCir_Y_Center, "45"}}) {
    o.setText(box, text);
  }
  o.setChecked(Option::CB_Grid_Increment, true);
  Append(s, Table::NonCircular_Coordinate, {I{1}, 3.25, 7.0});
  Append(s, Table::NonCircular_Coordinate, {I{2}, 20.123456789012, 5.5});
  Append(s, Table::NonCircular_Coordinate, {I{3}, 41.0, 25.5});
  Append(s, Table::Aniso_advance, {I{1}, 0.0, 28.0, 30.0});
  Append(s, Table::Aniso_advance, {I{1}, 100.0, 30.0, 32.0});
}

struct Fixture {
  Project project{SqliteWorkingStore::OpenInMemory()};
  RecordingPlatform ui;
};

TEST(ProjectFile, WritesTheLayoutByteForByte) {
  TempFolder dir;
  Fixture f;
  FullProject(f.project);
  const fs::path file = dir.path / "dam.pdd";
  WriteProjectFile(f.project, f.ui, file);
  EXPECT_EQ(Bytes(file), Bytes(kData / "project_full_v20.pdd"));
  EXPECT_TRUE(f.ui.shown.empty());
}

void ExpectSameTables(WorkingStore& a, WorkingStore& b) {
  for (Table t : AllTables()) {
    const auto ra = a.rows(t), rb = b.rows(t);
    ASSERT_EQ(ra.size(), rb.size()) << TableName(t);
    for (std::size_t i = 0; i < ra.size(); ++i) {
      for (std::size_t k = 0; k < ra[i].fieldCount(); ++k) {
        const FieldValue& va = ra[i].value(k);
        const FieldValue& vb = rb[i].value(k);
        if (std::holds_alternative<double>(va) || std::holds_alternative<double>(vb)) {
          EXPECT_NEAR(ra[i].realNamed(TableDefinition(t).fields[k].name),
                      rb[i].realNamed(TableDefinition(t).fields[k].name), 5e-4)
              << TableName(t) << " row " << i << " field " << k;
        } else {
          EXPECT_EQ(ra[i].textNamed(TableDefinition(t).fields[k].name),
                    rb[i].textNamed(TableDefinition(t).fields[k].name))
              << TableName(t) << " row " << i << " field " << k;
        }
      }
    }
  }
}

TEST(ProjectFile, ReadsBackIntoTheSameProject) {
  TempFolder dir;
  Fixture f;
  NewProject(f.project);
  ReadProjectFile(f.project, kData / "project_full_v20.pdd");
  Fixture expected;
  FullProject(expected.project);
  ExpectSameTables(*f.project.store, *expected.project.store);
  EXPECT_EQ(f.project.store->rowAt(Table::Soil_Prop, 1).text(SoilCommonField::Description), "ดินเหนียว");
  EXPECT_EQ(f.project.store->rowAt(Table::Soil_Prop, 2).text(SoilCommonField::Description), "");
  EXPECT_EQ(f.project.store->rowAt(Table::Soil_Prop, 2).real(SoilField::Cohesion), 99999.999);
  EXPECT_EQ(f.project.store->rowAt(Table::Soil_Prop, 2).real(SoilField::Phi), -9999.999);
  EXPECT_EQ(f.project.store->rowAt(Table::NonCircular_Coordinate, 2).real(PointField::X), 20.123456789);
  const OptionValues& o = f.project.options;
  EXPECT_EQ(o.text(Option::E_Lacation), "ลำปาง");
  EXPECT_EQ(o.text(Option::E_Unit_Weight_Water), "9.81");
  EXPECT_EQ(o.text(Option::E_Pass_Criteria), "0.01");
  EXPECT_EQ(o.text(Option::E_Xgrid_Increment), "1.5");
  EXPECT_EQ(o.text(Option::E_Cir_Depth_Tallest), "1");
  EXPECT_FALSE(o.checked(Option::CB_Seismic_Disable));
  EXPECT_TRUE(o.checked(Option::CB_Grid_Increment));
  EXPECT_EQ(o.itemIndex(Option::RG_Apply_as), 1);
  EXPECT_EQ(f.project.ProjectFilePath, (kData / "project_full_v20.pdd").string());
  EXPECT_EQ(f.project.ProjectLoading, 0);

  // Written again, the file is the same.
  WriteProjectFile(f.project, f.ui, dir.path / "again.pdd");
  EXPECT_EQ(Bytes(dir.path / "again.pdd"), Bytes(kData / "project_full_v20.pdd"));
}

TEST(ProjectFile, LineFeedsAloneAreAccepted) {
  TempFolder dir;
  std::string text = Bytes(kData / "project_full_v20.pdd");
  std::string lf;
  for (char c : text) {
    if (c != '\r') lf += c;
  }
  std::ofstream(dir.path / "lf.pdd", std::ios::binary) << lf;
  ASSERT_TRUE(IsCurrentProjectFile(ReadFirstLine(dir.path / "lf.pdd")));
  Fixture a, b;
  ReadProjectFile(a.project, dir.path / "lf.pdd");
  ReadProjectFile(b.project, kData / "project_full_v20.pdd");
  ExpectSameTables(*a.project.store, *b.project.store);
  EXPECT_EQ(a.project.options, b.project.options);
}

TEST(ProjectFile, MagicMustMatchExactly) {
  EXPECT_TRUE(IsCurrentProjectFile("=====Pelodyn_2.0_Data====="));
  EXPECT_FALSE(IsCurrentProjectFile("=====Pelodyn_2.0_Data===== "));
  EXPECT_FALSE(IsCurrentProjectFile("Dam section A"));
}

TEST(ProjectFile, AValueWiderThanItsFieldRefusesTheSaveAndKeepsTheOldFile) {
  TempFolder dir;
  Fixture f;
  FullProject(f.project);
  const fs::path file = dir.path / "dam.pdd";
  WriteProjectFile(f.project, f.ui, file);
  const std::string before = Bytes(file);
  Row soil = f.project.store->rowAt(Table::Soil_Prop, 1);
  soil.set(SoilField::Cohesion, 123456.5);
  f.project.store->update(1, soil);
  try {
    WriteProjectFile(f.project, f.ui, file);
    FAIL() << "no error";
  } catch (const FileError& e) {
    EXPECT_EQ(std::string(e.what()),
              "The value 123456.500 of Cohesion does not fit its field of 10 characters; the file was not saved.");
  }
  EXPECT_EQ(Bytes(file), before);
  // A character the Thai code page cannot hold is refused the same way.
  soil.set(SoilField::Cohesion, 1.0).set(SoilCommonField::Description, "clay ✓");
  f.project.store->update(1, soil);
  EXPECT_THROW(WriteProjectFile(f.project, f.ui, file), FileError);
  EXPECT_EQ(Bytes(file), before);
  // A text that does not convert ends the save before anything is written.
  f.project.options.setText(Option::E_Pass_Criteria, "0,01");
  EXPECT_THROW(WriteProjectFile(f.project, f.ui, file), ConversionError);
  EXPECT_EQ(Bytes(file), before);
}

TEST(ProjectFile, DescriptionsAndRadiusDecrement) {
  TempFolder dir;
  Fixture f;
  FullProject(f.project);
  Row soil = f.project.store->rowAt(Table::Soil_Prop, 3);
  soil.set(SoilCommonField::Description, "  two blanks");
  f.project.store->update(3, soil);
  f.project.options.setItemIndex(Option::CB_Circle_Decrement, 1);
  f.project.options.setText(Option::E_Cir_Decrement, "0.5");
  WriteProjectFile(f.project, f.ui, dir.path / "p.pdd");
  const std::string text = Bytes(dir.path / "p.pdd");
  EXPECT_NE(text.find("  16777088   two blanks\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n0.01000\r\n1\r\n0.50000\r\n10\r\n1\r\n0\r\n"), std::string::npos);
  Fixture back;
  ReadProjectFile(back.project, dir.path / "p.pdd");
  EXPECT_EQ(back.project.store->rowAt(Table::Soil_Prop, 3).text(SoilCommonField::Description), "  two blanks");
  EXPECT_EQ(back.project.options.text(Option::E_Cir_Decrement), "0.5");
  EXPECT_EQ(back.project.options.itemIndex(Option::CB_Circle_Decrement), 1);
}

TEST(ProjectFile, AnUnconvertibleTokenNamesItsLineAndFieldAndReadsNothing) {
  TempFolder dir;
  std::string text = Bytes(kData / "project_full_v20.pdd");
  const std::size_t at = text.find("1         2   100.000     0.000");
  ASSERT_NE(at, std::string::npos);
  text.replace(at, 1, "1.5");  // a real where the line number is expected
  std::ofstream(dir.path / "bad.pdd", std::ios::binary) << text;
  Fixture f;
  try {
    ReadProjectFile(f.project, dir.path / "bad.pdd");
    FAIL() << "no error";
  } catch (const FileError& e) {
    EXPECT_STREQ(e.what(), "Invalid numeric input at line 21: '1.5' is not a whole number (Geometry, row 2, Soil No.)");
  }
  EXPECT_EQ(f.project.store->rowCount(Table::Soil_Prop), 0);
  EXPECT_EQ(f.project.store->rowCount(Table::Geometry), 0);
  EXPECT_EQ(f.project.ProjectFilePath, "");
  EXPECT_EQ(f.project.ProjectLoading, 0);
}

TEST(ProjectFile, ATruncatedFileIsReportedAndReadsNothing) {
  TempFolder dir;
  const std::string text = Bytes(kData / "project_full_v20.pdd");
  const std::string cut = text.substr(0, text.find("\r\n50        45\r\n"));
  std::ofstream(dir.path / "cut.pdd", std::ios::binary) << cut;
  Fixture f;
  try {
    ReadProjectFile(f.project, dir.path / "cut.pdd");
    FAIL() << "no error";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find("ends before its last entry"), std::string::npos) << e.what();
  }
  EXPECT_EQ(f.project.store->rowCount(Table::Anchor), 0);
  EXPECT_EQ(f.project.ProjectLoading, 0);
}

// A failed read over a loaded project leaves it exactly as it was: a later
// save cannot replace the good file with a partial project.
TEST(ProjectFile, AFailedReadLeavesTheLoadedProjectAsItWas) {
  TempFolder dir;
  const std::string text = Bytes(kData / "project_full_v20.pdd");
  std::ofstream(dir.path / "cut.pdd", std::ios::binary) << text.substr(0, text.size() / 2);
  std::string legacy = Bytes(kData / "project_full_v118.pdd");
  std::ofstream(dir.path / "cut118.pdd", std::ios::binary) << legacy.substr(0, legacy.size() * 2 / 3);
  for (const char* name : {"cut.pdd", "cut118.pdd"}) {
    Fixture f;
    NewProject(f.project);
    ReadAnyProjectFile(f.project, f.ui, kData / "project_full_v20.pdd");
    f.project.options.setText(Option::E_Kh, "0.25");  // an edit not yet saved
    Fixture before;
    NewProject(before.project);
    ReadAnyProjectFile(before.project, before.ui, kData / "project_full_v20.pdd");
    before.project.options.setText(Option::E_Kh, "0.25");
    const std::string path = f.project.ProjectFilePath;
    EXPECT_THROW(ReadAnyProjectFile(f.project, f.ui, dir.path / name), FileError) << name;
    ExpectSameTables(*f.project.store, *before.project.store);
    EXPECT_TRUE(f.project.options == before.project.options) << name;
    EXPECT_EQ(f.project.ProjectFilePath, path);
    EXPECT_EQ(f.project.ProjectLoading, 0);
    EXPECT_THROW(ReadProjectFile(f.project, dir.path / "cut.pdd"), FileError);
    EXPECT_THROW(ReadLegacyProjectFile(f.project, f.ui, dir.path / "cut118.pdd"), FileError);
    ExpectSameTables(*f.project.store, *before.project.store);
    EXPECT_TRUE(f.project.options == before.project.options);
    EXPECT_EQ(f.project.ProjectFilePath, path);
  }
}

std::string ReadError(const fs::path& file) {
  Fixture f;
  NewProject(f.project);
  try {
    ReadAnyProjectFile(f.project, f.ui, file);
  } catch (const FileError& e) {
    return e.what();
  }
  return "read";
}

TEST(ProjectFile, WhatIsNoProjectFileSaysSo) {
  TempFolder dir;
  std::ofstream(dir.path / "empty.pdd", std::ios::binary) << "";
  std::ofstream(dir.path / "binary.pdd", std::ios::binary) << std::string(
      "\x7f"
      "ELF\x02\x01\x01\0\0\0",
      10);
  std::ofstream(dir.path / "notes.pdd", std::ios::binary)
      << "Shopping list\r\nmilk\r\neggs\r\n\r\nbread and butter\r\ncheese\r\n";
  std::ofstream(dir.path / "short.pdd", std::ios::binary) << "hello\n";
  for (const char* name : {"empty.pdd", "binary.pdd", "notes.pdd", "short.pdd"}) {
    const std::string error = ReadError(dir.path / name);
    EXPECT_NE(error.find("is not a Pelodyn project file"), std::string::npos) << name << ": " << error;
  }
  fs::create_directories(dir.path / "folder.pdd");
  EXPECT_NE(ReadError(dir.path / "folder.pdd").find("is a directory"), std::string::npos);
}

TEST(ProjectFile, AMislabelledVersionIsNamed) {
  TempFolder dir;
  const std::string v20 = Bytes(kData / "project_full_v20.pdd");
  const std::string v118 = Bytes(kData / "project_full_v118.pdd");
  std::ofstream(dir.path / "says20.pdd", std::ios::binary) << std::string(kProjectMagic) + "\r\n" + v118;
  std::ofstream(dir.path / "says118.pdd", std::ios::binary)
      << "=====Pelodyn_1.18_Data=====" + v20.substr(v20.find('\r'));
  EXPECT_NE(ReadError(dir.path / "says20.pdd").find("laid out as a version 1.18 file"), std::string::npos)
      << ReadError(dir.path / "says20.pdd");
  EXPECT_NE(ReadError(dir.path / "says118.pdd").find("laid out as a Pelodyn 2.0 project file"), std::string::npos)
      << ReadError(dir.path / "says118.pdd");
}

TEST(ProjectFile, AUtf8FileIsReadAsUtf8AndSavedInTheThaiCodePage) {
  TempFolder dir;
  std::string text = Bytes(kData / "project_full_v20.pdd");
  // The file as a modern editor saves it: every text in UTF-8.
  std::ofstream(dir.path / "utf8.pdd", std::ios::binary) << Cp874ToUtf8(text);
  Fixture f;
  NewProject(f.project);
  ReadAnyProjectFile(f.project, f.ui, dir.path / "utf8.pdd");
  EXPECT_EQ(f.project.options.text(Option::E_Lacation), "ลำปาง");
  EXPECT_EQ(f.project.store->rowAt(Table::Soil_Prop, 1).text(SoilCommonField::Description), "ดินเหนียว");
  WriteProjectFile(f.project, f.ui, dir.path / "saved.pdd");
  EXPECT_EQ(Bytes(dir.path / "saved.pdd"), text);
}

// A count the file cannot back ends the reading with an error at once.
TEST(ProjectFile, ACountBeyondTheEndOfTheFileEndsTheReading) {
  TempFolder dir;
  const std::string text = Bytes(kData / "project_full_v20.pdd");
  const std::size_t at = text.find("\r\n3\r\n1 ");
  ASSERT_NE(at, std::string::npos);
  // However large the count, the reading ends where the next table's first
  // row does not fit a soil row, rather than reading on for every row
  // counted.
  for (const char* count : {"2000000000", "2147483647", "400"}) {
    std::string damaged = text;
    damaged.replace(at, 3, std::string("\r\n") + count);
    std::ofstream(dir.path / "count.pdd", std::ios::binary | std::ios::trunc) << damaged;
    EXPECT_EQ(ReadError(dir.path / "count.pdd"),
              "Invalid numeric input at line 16: '28.000' is not a whole number (Soil Properties, row 4, Color)")
        << count;
  }
}

// Damaged files of both versions: the readers end with a project or an
// error, never with a crash or a hang.
TEST(ProjectFile, DamagedFilesNeverCrashEitherReader) {
  TempFolder dir;
  std::mt19937 random(20261210);
  const std::string sources[] = {Bytes(kData / "project_full_v20.pdd"), Bytes(kData / "project_full_v118.pdd")};
  int errors = 0, read = 0;
  for (int round = 0; round < 400; ++round) {
    std::string text = sources[round % 2];
    switch (round % 4) {
      case 0:
        text.resize(random() % text.size());
        break;
      case 1:
        for (int k = 0; k < 5; ++k) text[random() % text.size()] = static_cast<char>(random() % 256);
        break;
      case 2:
        text.insert(random() % text.size(), std::string(1 + random() % 40, static_cast<char>('0' + random() % 10)));
        break;
      default:
        text.erase(random() % text.size(), 1 + random() % 30);
        break;
    }
    const fs::path file = dir.path / "damaged.pdd";
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    Fixture f;
    try {
      NewProject(f.project);
      ReadAnyProjectFile(f.project, f.ui, file);
      ++read;
    } catch (const std::runtime_error&) {
      ++errors;
    }
    EXPECT_EQ(f.project.ProjectLoading, 0);
  }
  EXPECT_GT(errors, 0);
  EXPECT_GT(read, 0);
}

// The 1.18 project: as the full project, with soil 2's strength inside the
// nine columns of its fields.
void LegacyProject(Project& p) {
  FullProject(p);
  Row soil = p.store->rowAt(Table::Soil_Prop, 2);
  soil.set(SoilField::Cohesion, 9999.999).set(SoilField::Phi, -999.999);
  p.store->update(2, soil);
}

TEST(LegacyProjectFile, WritesTheLayoutByteForByte) {
  TempFolder dir;
  Fixture f;
  LegacyProject(f.project);
  WriteLegacyProjectFile(f.project, f.ui, dir.path / "old.pdd");
  EXPECT_EQ(Bytes(dir.path / "old.pdd"), Bytes(kData / "project_full_v118.pdd"));
}

TEST(LegacyProjectFile, RoundTripsWhatItCanHold) {
  TempFolder dir;
  Fixture f;
  NewProject(f.project);
  ReadLegacyProjectFile(f.project, f.ui, kData / "project_full_v118.pdd");
  const OptionValues& o = f.project.options;
  // Name, location and engineer where the writer put them.
  EXPECT_EQ(o.text(Option::E_Project_Name), "Dam section A");
  EXPECT_EQ(o.text(Option::E_Lacation), "ลำปาง");
  EXPECT_EQ(o.text(Option::E_Engineer), "S. Chaiyo");
  // Circular theory with Simplified Bishop alone.
  EXPECT_EQ(o.itemIndex(Option::RG_Theory), 1);
  EXPECT_FALSE(o.checked(Option::CB_Spencer));
  EXPECT_TRUE(o.checked(Option::CB_Simp_Bishop));
  WorkingStore& s = *f.project.store;
  ASSERT_EQ(s.rowCount(Table::Soil_Prop), 3);
  EXPECT_EQ(s.rowAt(Table::Soil_Prop, 3).integer(SoilCommonField::Color), 0xFFFF80);
  EXPECT_EQ(s.rowAt(Table::Soil_Prop, 3).real(SoilCommonField::UnitWeight), 0.0);
  EXPECT_EQ(s.rowAt(Table::Soil_Prop, 2).real(SoilField::Cohesion), 9999.999);
  EXPECT_EQ(s.rowCount(Table::Geometry), 8);
  // The bottom line comes back as a specific bottom line.
  EXPECT_EQ(o.itemIndex(Option::CB_Bottom_Line_Choose), 1);
  ASSERT_EQ(s.rowCount(Table::Bottom_Line), 1);
  EXPECT_EQ(s.rowAt(Table::Bottom_Line, 1).integer(BottomLineField::EndPoint), 2);
  // Loads at ground points.
  EXPECT_EQ(s.rowAt(Table::Lineload, 1).real(LineLoadField::X), 40.0);
  EXPECT_EQ(s.rowAt(Table::Lineload, 1).real(LineLoadField::Y), 30.0);
  EXPECT_EQ(s.rowAt(Table::Stripload, 1).real(StripLoadField::EndX), 100.0);
  EXPECT_EQ(s.rowAt(Table::Stripload, 1).real(StripLoadField::Y1), 20.0);
  EXPECT_EQ(o.text(Option::E_Kh), "0.15");
  EXPECT_EQ(o.text(Option::E_Percent_Water), "50");
  EXPECT_EQ(o.itemIndex(Option::CB_Cir_Search), 0);
  EXPECT_TRUE(o.checked(Option::CB_Grid_Increment));
  EXPECT_EQ(o.text(Option::E_Divide_Step), "3");

  // 2.0 -> 1.18 -> 2.0 -> 1.18 gives the same 1.18 file.
  WriteProjectFile(f.project, f.ui, dir.path / "new.pdd");
  Fixture g;
  ReadProjectFile(g.project, dir.path / "new.pdd");
  WriteLegacyProjectFile(g.project, g.ui, dir.path / "old.pdd");
  std::string expected = Bytes(kData / "project_full_v118.pdd");
  std::string actual = Bytes(dir.path / "old.pdd");
  // Read back, the bottom line is specific: one row, written as its row.
  const std::string choiceZero = "   1\r\n   1   1   2\r\n";
  ASSERT_NE(expected.find(choiceZero), std::string::npos);
  EXPECT_EQ(actual, expected);
}

TEST(LegacyProjectFile, RefusesAProjectItsLayoutCannotHold) {
  const std::pair<const char*, std::function<void(Project&)>> cases[] = {
      {"line 1 continued after line 3",
       [](Project& p) {
         Append(*p.store, Table::Geometry, {I{1}, I{3}, 110.0, 0.0});
       }},
      // The collection stops at the soils, before the lines are counted.
      {"a soil number given twice",
       [](Project& p) {
         // Numbered n, 1, 1, 2, ...: the largest number comes first, so the
         // count agrees and only the repeat is wrong.
         const int n = p.store->rowCount(Table::Soil_Prop);
         for (int k = 1; k <= n; ++k) {
           Row soil = p.store->rowAt(Table::Soil_Prop, k);
           soil.set(SoilCommonField::LineNo, k == 1 ? n : std::max(1, k - 2));
           p.store->update(k, soil);
         }
       }},
  };
  for (const auto& [what, change] : cases) {
    SCOPED_TRACE(what);
    TempFolder dir;
    Fixture f;
    LegacyProject(f.project);
    change(f.project);
    EXPECT_THROW(WriteLegacyProjectFile(f.project, f.ui, dir.path / "old.pdd"), FileError);
    EXPECT_FALSE(fs::exists(dir.path / "old.pdd"));
  }
}

TEST(LegacyProjectFile, NumbersAbove127AreRefused) {
  TempFolder dir;
  std::string text = Bytes(kData / "project_full_v118.pdd");
  const std::size_t at = text.find("   5   4\r\n");
  ASSERT_NE(at, std::string::npos);
  text.replace(at, 8, " 200   4");
  std::ofstream(dir.path / "big.pdd", std::ios::binary) << text;
  Fixture f;
  EXPECT_THROW(ReadLegacyProjectFile(f.project, f.ui, dir.path / "big.pdd"), FileError);
}

}  // namespace
}  // namespace pelodyn
