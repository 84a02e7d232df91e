// The companion file against a file written by hand, its refusals, and the
// round trip of what the project file has no room for.
#include <gtest/gtest.h>

#include <filesystem>

#include "model/data_fingerprint.h"
#include "model/verification.h"
#include "persistence/companion_file.h"
#include "persistence/project_file.h"
#include "persistence/result_file_reading.h"
#include "persistence/sqlite_store.h"
#include "persistence/text_file.h"
#include "support/test_folder.h"

namespace pelodyn {
namespace {

namespace fs = std::filesystem;
const fs::path kData = PELODYN_TEST_DATA;

Companion FullCompanion() {
  Companion c;
  c.fileFingerprint = 0xff;
  c.optionTexts[OptionCName(Option::E_Unit_Weight_Water)] = "9.81";
  c.optionIndexes[OptionCName(Option::CB_Ru_Condition)] = 1;
  c.optionIndexes[OptionCName(Option::CB_Moving_Center)] = 1;
  Row point(Table::Geometry);
  point.set(GeometryField::LineNo, 1)
      .set(GeometryField::PointNo, 1)
      .set(GeometryField::X, 0.125)
      .set(GeometryField::Y, 10.0625);
  c.tables[Table::Geometry] = {point};
  Row root(Table::Root_No);
  root.set(RootField::RootNo, 1).set(RootField::Description, "หญ้าแฝก").set(RootField::Cohesion, 12.5);
  c.tables[Table::Root_No] = {root};
  ResultsStamp s;
  s.fingerprint = 0x0123456789abcdefull;
  s.theory = 1;
  s.methods = {false, true, true, true};
  s.partial = true;
  s.trialsDone = 40;
  s.trialsTotal = 100;
  s.warnings = {{2, 1}};
  s.minima[Janbu] = {1.2614, 10.5, 20.25, 15.0, 1.0, 2.0, 3.0, 4.0};
  s.minima[Bishop] = {4.0 / 3.0, 10.5, 20.25, 15.0, 1.0, 2.0, 3.0, 4.0};
  s.minima[Spencer].Fs = 1000007.0;
  s.maxRadius = 30.0;
  s.minRadius = 5.0;
  s.resultFileSize = 1234;
  c.results = s;
  c.otherKeys = R"({"futureFeature":{"kept":[1,2]}})";
  return c;
}

TEST(CompanionFile, WritesAndReadsTheHandWrittenFile) {
  const std::string expected = ReadFileBytes(kData / "companion_full.pdx");
  EXPECT_EQ(CompanionText(FullCompanion()), expected);
  const Companion read = ParseCompanion(expected, "companion_full.pdx");
  EXPECT_EQ(read, FullCompanion());
  // Keys of a later feature survive the next save unchanged.
  EXPECT_EQ(CompanionText(read), expected);
}

TEST(CompanionFile, RefusesDamagedAndNewerFilesNamingThem) {
  const struct {
    const char* text;
    const char* says;
  } cases[] = {
      {"{not json", "is damaged"},
      {R"({"format": "something-else", "version": 1})", "not a Pelodyn companion file"},
      {R"({"format": "pelodyn-companion", "version": 2})", "newer Pelodyn"},
      {R"({"format": "pelodyn-companion", "version": 1, "tables": {"Results": []}})", "does not belong"},
      {R"({"format": "pelodyn-companion", "version": 1, "results": {"fingerprint": "xyz"}})", "fingerprint"},
      {R"({"format": "pelodyn-companion", "version": 1, "tables": {"Root_No": [{"Root No.": 1.5}]}})", "Root No."},
  };
  for (const auto& c : cases) {
    try {
      ParseCompanion(c.text, "dam.pdx");
      ADD_FAILURE() << c.text;
    } catch (const FileError& e) {
      const std::string message = e.what();
      EXPECT_NE(message.find("dam.pdx"), std::string::npos) << message;
      EXPECT_NE(message.find(c.says), std::string::npos) << message;
    }
  }
}

TEST(CompanionFile, NamedAfterTheProjectFile) {
  EXPECT_EQ(CompanionFilePath("studies/dam.pdd"), fs::path("studies/dam.pdx"));
  EXPECT_EQ(CompanionFilePath("studies/dam"), fs::path("studies/dam.pdx"));
}

class BeyondTheFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = testing::TestFolder("pelodyn-companion-");
    fs::remove_all(dir);
    fs::create_directories(dir);
    NewProject(project);
    SilentPlatform silent;
    ReadAnyProjectFile(project, silent, fs::path(PELODYN_EXAMPLES) / "homogeneous-grid.pdd");
  }
  void TearDown() override { fs::remove_all(dir); }
  // Saves `project`, reads it back as Open does, and applies the companion.
  void roundTrip(Project& into) {
    SilentPlatform silent;
    const fs::path file = dir / "p.pdd";
    WriteProjectFile(project, silent, file);
    Project saved(SqliteWorkingStore::OpenInMemory());
    NewProject(saved);
    ReadAnyProjectFile(saved, silent, file);
    Companion c;
    RecordBeyondFile(c, project, saved);
    companionText = CompanionText(c);
    NewProject(into);
    ReadAnyProjectFile(into, silent, file);
    applied = ApplyCompanion(ParseCompanion(companionText, "p.pdx"), into);
  }
  fs::path dir;
  Project project{SqliteWorkingStore::OpenInMemory()};
  std::string companionText;
  bool applied = false;
};

TEST_F(BeyondTheFile, AProjectTheFileHoldsWholeNeedsNoCompanion) {
  Project back(SqliteWorkingStore::OpenInMemory());
  roundTrip(back);
  EXPECT_EQ(companionText, "{\n  \"format\": \"pelodyn-companion\",\n  \"version\": 1\n}\n");
  EXPECT_EQ(AnalysisDataFingerprint(back), AnalysisDataFingerprint(project));
}

TEST_F(BeyondTheFile, ValuesTheFileDropsOrRoundsComeBack) {
  // Without seepage the file has no room for the water's unit weight, and
  // it keeps three decimals of a coordinate.
  project.options.setText(Option::E_Unit_Weight_Water, "9.81");
  Row point = project.store->rowAt(Table::Geometry, 4);
  point.set(GeometryField::Y, 60.12345);
  project.store->update(4, point);
  Project back(SqliteWorkingStore::OpenInMemory());
  roundTrip(back);
  EXPECT_TRUE(applied);
  EXPECT_EQ(back.options.text(Option::E_Unit_Weight_Water), "9.81");
  EXPECT_EQ(back.store->rowAt(Table::Geometry, 4).real(GeometryField::Y), 60.12345);
  EXPECT_EQ(AnalysisDataFingerprint(back), AnalysisDataFingerprint(project));
}

// A method choice the 2.0 file has no line for lives in the companion, and
// changes the data the results come from.
TEST_F(BeyondTheFile, TheRobustSpencerChoiceComesBack) {
  const std::uint64_t without = AnalysisDataFingerprint(project);
  project.options.setChecked(Option::CB_Robust_Spencer, true);
  Project back(SqliteWorkingStore::OpenInMemory());
  roundTrip(back);
  EXPECT_TRUE(applied);
  EXPECT_NE(companionText.find("\"options\": {\n    \"CB_Robust_Spencer\": true\n  }"), std::string::npos)
      << companionText;
  EXPECT_TRUE(back.options.checked(Option::CB_Robust_Spencer));
  EXPECT_EQ(AnalysisDataFingerprint(back), AnalysisDataFingerprint(project));
  EXPECT_NE(AnalysisDataFingerprint(project), without);
}

TEST(ResultFileReading, ReadsTheRowsAndSurfacesOfTheHandWrittenFiles) {
  Project project{SqliteWorkingStore::OpenInMemory()};
  WorkingStore& store = *project.store;
  ReadResultFileTables(store, kData / "result_circular.pdr");
  const std::vector<Row> rows = store.rows(Table::Results);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1].integer(ResultField::Num), 2);
  EXPECT_EQ(rows[1].real(ResultField::Radius), 20.12);
  EXPECT_EQ(rows[1].real(ResultField::FsSpe), 1000007.0);
  EXPECT_EQ(rows[2].real(ResultField::YCenter), 99999.99);
  ReadResultFileTables(store, kData / "result_irregular.pdr");
  EXPECT_EQ(store.rowCount(Table::Results), 0);
  const std::vector<Row> janbu = store.rows(Table::NonCirSlip_Janbu);
  ASSERT_EQ(janbu.size(), 2u);
  EXPECT_EQ(janbu[1].real(PointField::X), 10.123);
  EXPECT_EQ(janbu[1].real(PointField::Y), -2.5);
  EXPECT_EQ(store.rowCount(Table::NonCirSlip_Bishop), 1);
  EXPECT_EQ(store.rowCount(Table::NonCirSlip_Spencer), 0);
  EXPECT_THROW(ReadResultFileTables(store, kData / "project_full_v20.pdd"), FileError);
}

}  // namespace
}  // namespace pelodyn
