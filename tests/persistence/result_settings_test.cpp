// The result file and the settings file against files written by hand from
// their layouts (tests/data).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "model/numbers.h"
#include "model/verification.h"
#include "persistence/result_file.h"
#include "persistence/settings_file.h"
#include "persistence/sqlite_store.h"
#include "persistence/text_file.h"
#include "support/test_folder.h"

namespace pelodyn {
namespace {

namespace fs = std::filesystem;
const fs::path kData = PELODYN_TEST_DATA;

class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = testing::TestFolder("pelodyn-results-");
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
  Project project{SqliteWorkingStore::OpenInMemory()};
};

void ResultRow(WorkingStore& store, int num, std::initializer_list<double> values) {
  Row r(Table::Results);
  r.set(ResultField::Num, num);
  std::size_t k = 1;
  for (double v : values) r.value(k++) = v;
  store.append(r);
}

TEST_F(Files, CircularResultFile) {
  project.model.AnalysisTheory = 1;
  project.run.Minimum[Ordinary] = {1.23456, 10, 20.5, 15};
  project.run.Minimum[Janbu] = {1.5, 12.25, 30, 20.12345};
  project.run.Minimum[Bishop] = {1000000, 0, 0, 0};
  project.run.Minimum[Spencer] = {2, 11, 21, 16.5};
  ResultRow(*project.store, 1, {10, 20.5, 15, 1.235, 1.2, 1.3, 1.31});
  ResultRow(*project.store, 2, {12.25, 30, 20.12, 1000007, 1000007, 1000007, 1000007});
  ResultRow(*project.store, 3, {-5.5, 99999.99, 3.14, 0.5, 2, 100, 1.999});
  for (int threads : {1, 2}) {
    WriteResultFile(project, dir / "dam.pdr", threads);
    EXPECT_EQ(ReadFileBytes(dir / "dam.pdr"), ReadFileBytes(kData / "result_circular.pdr")) << threads;
  }
}

// Notes follow the file's last line, one line each, in code page 874; a
// line break inside a note would start a line that is no note.
TEST_F(Files, ResultFileWithNotes) {
  project.model.AnalysisTheory = 1;
  project.run.Minimum[Ordinary] = {1.5, 10, 20, 12.5};
  project.run.Minimum[Janbu] = {1.25, 11, 21, 13};
  project.run.Minimum[Bishop] = {1.3, 11, 21, 13};
  project.run.Minimum[Spencer] = {1.31, 11, 21, 13};
  ResultRow(*project.store, 1, {10, 20, 12.5, 1.5, 1.25, 1.3, 1.31});
  const std::vector<std::string> notes = {
      "Simplified Bishop: the minimum lies on the lower edge of the grid of centres; extend the grid beyond its "
      "lower edge.",
      "Spencer: ค่าต่ำสุดอยู่ที่ขอบด้านล่างของกริดจุดศูนย์กลาง กรุณาขยายกริดออกไปทางขอบด้านล่าง",
      "Calculation stopped after 37 of 250 trials:\n the results are partial."};
  for (int threads : {1, 2}) {
    WriteResultFile(project, dir / "dam.pdr", threads, notes);
    EXPECT_EQ(ReadFileBytes(dir / "dam.pdr"), ReadFileBytes(kData / "result_circular_notes.pdr")) << threads;
  }
  // Without them, the file ends where the layout ends.
  WriteResultFile(project, dir / "dam.pdr", 1, {});
  const std::string plain = ReadFileBytes(dir / "dam.pdr");
  EXPECT_EQ(plain.substr(plain.size() - 106), std::string(102, '=') + "\r\n\r\n");
}

TEST_F(Files, ANoteTheCodePageCannotHoldWritesNoFile) {
  project.model.AnalysisTheory = 3;
  WriteResultFile(project, dir / "x.pdr");
  EXPECT_THROW(WriteResultFile(project, dir / "x.pdr", 1, {"Stopped at 東京"}), FileError);
  EXPECT_EQ(ReadFileBytes(dir / "x.pdr"), "=====Pelodyn_2.0_Result=====\r\n3\r\n\r\n");
  // Under the other theories the notes follow line 3.
  WriteResultFile(project, dir / "x.pdr", 1, {"a", "b"});
  EXPECT_EQ(ReadFileBytes(dir / "x.pdr"), "=====Pelodyn_2.0_Result=====\r\n3\r\n\r\nNote: a\r\nNote: b\r\n");
}

// Many rows are written to the file as they are formatted, a piece at a
// time: every row arrives whole and in order, the head and the tail around
// them as for a small file. Read and written on two or three threads, the
// bytes are the same.
TEST_F(Files, AResultFileOfManyRowsIsWrittenWholeInPieces) {
  project.model.AnalysisTheory = 1;
  constexpr int kRows = 40000;  // about 4 MB: several pieces
  std::string rows;
  for (int n = 1; n <= kRows; ++n) {
    // Values with at most three decimals: printf's rounding needs no tie rule.
    const double x = 100.0 + n % 97 * 0.25, y = 50.0 - n % 13 * 0.5, r = 20.0 + n % 31 * 0.125;
    const double fs[4] = {1.0 + n % 7 * 0.001, 1.5, 2.0 + n % 11 * 0.01, 1000007};
    ResultRow(*project.store, n, {x, y, r, fs[0], fs[1], fs[2], fs[3]});
    char line[160];
    std::snprintf(line, sizeof line, "%8d%13.3f%13.3f%13.3f%15.3f%13.3f%13.3f%13.3f\r\n", n, x, y, r, fs[0], fs[1],
                  fs[2], fs[3]);
    rows += line;
  }
  WriteResultFile(project, dir / "big.pdr");
  const std::string bytes = ReadFileBytes(dir / "big.pdr");
  for (int threads : {2, 3}) {
    WriteResultFile(project, dir / "threads.pdr", threads);
    EXPECT_TRUE(ReadFileBytes(dir / "threads.pdr") == bytes) << threads;
  }
  const std::string rule = std::string(102, '-') + "\r\n";
  const std::size_t start = bytes.find(rule, bytes.find(rule) + rule.size()) + rule.size();
  const std::size_t end = bytes.find(std::string(102, '=') + "\r\n", start);
  ASSERT_NE(end, std::string::npos);
  EXPECT_TRUE(bytes.substr(start, end - start) == rows);
  // Nothing else changed: with the rows taken out, the file is that of a
  // run without rows.
  project.store->empty(Table::Results);
  WriteResultFile(project, dir / "none.pdr");
  EXPECT_EQ(bytes.substr(0, start) + bytes.substr(end), ReadFileBytes(dir / "none.pdr"));
}

// Values the quick digits leave alone (exact halves, values too wide for
// their column, more digits than a double holds exactly) are written by the
// long way within the same line, on one thread or two.
TEST_F(Files, ResultRowsWithHalvesAndWideValues) {
  project.model.AnalysisTheory = 1;
  ResultRow(*project.store, 1, {0.0625, -0.0625, 2.0005, 1e20, -0.0004, 1000011, 12345678901234.5});
  ResultRow(*project.store, 2, {1.5, 2.5, 3.5, 4.5, 5.5, 6.5, 7.5});
  const std::string expected =
      std::string("       1") + "        0.062" + "       -0.062" + "        2.001" + "100000000000000000000.000" +
      "        0.000" + "  1000011.000" + "12345678901234.500\r\n" + "       2" + "        1.500" + "        2.500" +
      "        3.500" + "          4.500" + "        5.500" + "        6.500" + "        7.500\r\n";
  for (int threads : {1, 2}) {
    WriteResultFile(project, dir / "odd.pdr", threads);
    const std::string bytes = ReadFileBytes(dir / "odd.pdr");
    const std::string rule = std::string(102, '-') + "\r\n";
    const std::size_t start = bytes.find(rule, bytes.find(rule) + rule.size()) + rule.size();
    EXPECT_EQ(bytes.substr(start, expected.size()), expected) << threads;
  }
}

TEST_F(Files, AFileWrittenInPiecesReplacesTheOldOneOnlyWhenCommitted) {
  const fs::path path = dir / "dam.pdr";
  WriteFileReplacing(path, "old");
  auto entries = [&] {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    return names;
  };
  {
    ReplacingFile file(path);
    file.write("new ");
    file.write("bytes");
    // Left without commit, as an error on the way would leave it.
  }
  EXPECT_EQ(ReadFileBytes(path), "old");
  EXPECT_EQ(entries(), std::vector<std::string>{"dam.pdr"}) << "no temporary file is left";
  {
    ReplacingFile file(path);
    file.write("new ");
    file.write("bytes");
    file.commit();
  }
  EXPECT_EQ(ReadFileBytes(path), "new bytes");
  EXPECT_EQ(entries(), std::vector<std::string>{"dam.pdr"});
  // A rename that fails (a folder is in the way) keeps the folder and
  // leaves no temporary file.
  fs::create_directories(dir / "taken.pdr" / "inside");
  ReplacingFile blocked(dir / "taken.pdr");
  blocked.write("x");
  EXPECT_THROW(blocked.commit(), FileError);
  EXPECT_TRUE(fs::is_directory(dir / "taken.pdr"));
  EXPECT_EQ(entries().size(), 2u);
}

TEST_F(Files, IrregularResultFile) {
  project.model.AnalysisTheory = 2;
  project.run.Minimum[Janbu].Fs = 1.23456;
  project.run.Minimum[Bishop].Fs = 2.5;
  project.run.Minimum[Spencer].Fs = 1000000;
  auto point = [&](Table t, int no, double x, double y) {
    Row r(t);
    r.set(PointField::PointNo, no).set(PointField::X, x).set(PointField::Y, y);
    project.store->append(r);
  };
  point(Table::NonCirSlip_Janbu, 1, 3.25, 7);
  point(Table::NonCirSlip_Janbu, 2, 10.12345, -2.5);
  point(Table::NonCirSlip_Bishop, 1, 0, 0);
  WriteResultFile(project, dir / "dam.pdr");
  EXPECT_EQ(ReadFileBytes(dir / "dam.pdr"), ReadFileBytes(kData / "result_irregular.pdr"));
}

TEST_F(Files, OtherTheoriesWriteThreeLines) {
  project.model.AnalysisTheory = 3;
  WriteResultFile(project, dir / "x.pdr");
  EXPECT_EQ(ReadFileBytes(dir / "x.pdr"), "=====Pelodyn_2.0_Result=====\r\n3\r\n\r\n");
}

TEST(ResultFilePath, ReplacesTheEndingOfTheFileName) {
  EXPECT_EQ(MakeResultFilePath("/data/dam.pdd"), "/data/dam.pdr");
  EXPECT_EQ(MakeResultFilePath("dam.PDD"), "dam.pdr");
  EXPECT_EQ(MakeResultFilePath("/data/dam.txt"), "/data/dam.pdr");
}

TEST(WriteFileReplacing, AFailedWriteNamesTheSystemsReason) {
  try {
    WriteFileReplacing("/nonexistent-folder/dam.pdr", "x");
    FAIL() << "no error";
  } catch (const FileError& e) {
    EXPECT_STREQ(e.what(), "Cannot create file \"/nonexistent-folder/dam.pdr\": No such file or directory");
  }
}

TEST(ResultFilePath, AppendsToAFileNameWithoutEnding) {
  // A project saved as "dam" gets its result beside it, not one folder up.
  EXPECT_EQ(MakeResultFilePath("studies/u/dam"), "studies/u/dam.pdr");
  EXPECT_EQ(MakeResultFilePath("/data/damfile"), "/data/damfile.pdr");
  EXPECT_EQ(MakeResultFilePath("ab"), "ab.pdr");
  EXPECT_EQ(MakeResultFilePath("studies/v.pdd/dam"), "studies/v.pdd/dam.pdr");
  EXPECT_EQ(MakeResultFilePath("studies/.pdd"), "studies/.pdd.pdr");
  EXPECT_EQ(MakeResultFilePath("dam.v2.1"), "dam.v2.1.pdr");
  EXPECT_EQ(MakeResultFilePath("dam.data"), "dam.data.pdr");
}

TEST_F(Files, SettingsWithEveryDefault) {
  WriteSettingsFile(project, dir / "Pelodyn.ini");
  EXPECT_EQ(ReadFileBytes(dir / "Pelodyn.ini"), ReadFileBytes(kData / "settings_defaults.ini"));

  Project read(SqliteWorkingStore::OpenInMemory());
  read.settings.PageLandscape = false;
  ReadSettingsFile(read, kData / "settings_defaults.ini");
  AppSettings expected;
  expected.SliceHatchShown = 0;  // one press of the hatch button from mode 0
  EXPECT_EQ(read.settings, expected);
  EXPECT_EQ(read.drawing, DrawingSettings{});
  EXPECT_EQ(read.options, OptionValues{});
}

TEST_F(Files, SettingsCarryTheRadiusDecrementAndTheFailureMode) {
  // The analysis settings written are those the project's fields hold.
  project.options.setItemIndex(Option::CB_Circle_Decrement, 1);
  project.options.setText(Option::E_Cir_Decrement, "0.5");
  project.settings.FailureSurfaceMode = 0;
  project.model.UseOrdinary = 1;
  project.model.Language = 0;
  WriteSettingsFile(project, dir / "Pelodyn.ini");
  const std::string text = ReadFileBytes(dir / "Pelodyn.ini");
  EXPECT_NE(text.find("[Analysis_Setting]\r\n0\r\n0.500\r\n"), std::string::npos);
  EXPECT_NE(text.find("[Show_Failure_Surface]\r\n2\r\n"), std::string::npos);

  Project read(SqliteWorkingStore::OpenInMemory());
  ReadSettingsFile(read, dir / "Pelodyn.ini");
  EXPECT_EQ(read.settings.CircleChoice, 1);
  EXPECT_EQ(read.settings.SetCircleDecrement, 0.5);
  EXPECT_EQ(read.settings.FailureSurfaceMode, 0);
  EXPECT_EQ(read.options.itemIndex(Option::CB_Circle_Decrement), 1);
  EXPECT_EQ(read.options.text(Option::E_Cir_Decrement), "0.5");
  EXPECT_TRUE(read.options.checked(Option::CB_Ordinary));
  EXPECT_EQ(read.model.Language, 0);
}

TEST_F(Files, SettingsKeepAnAnalysisSettingWhoseFieldIsNotANumber) {
  project.settings.SetCircleSlices = 12;
  project.options.setText(Option::E_Cir_Slice, "1O");  // half typed
  project.options.setText(Option::E_Pass_Criteria, "0.005");
  const AppSettings s = WithAnalysisSettingsOf(project.options, project.settings);
  EXPECT_EQ(s.SetCircleSlices, 12);
  EXPECT_EQ(s.SetPassCriteria, 0.005);
  WriteSettingsFile(project, dir / "Pelodyn.ini");
  EXPECT_NE(ReadFileBytes(dir / "Pelodyn.ini").find("\r\n12\r\n"), std::string::npos);
}

TEST_F(Files, SettingsFileMissingOrDamaged) {
  project.settings.PageLandscape = false;
  project.settings.PageMarginTop = 2.0;
  project.settings.SetCircleSlices = 33;
  ReadSettingsFile(project, dir / "none" / "Pelodyn.ini");  // the folder is created
  EXPECT_TRUE(fs::is_directory(dir / "none"));
  EXPECT_TRUE(project.settings.PageLandscape);
  EXPECT_EQ(project.settings.PageMarginTop, 1.0);
  EXPECT_EQ(project.settings.SetCircleSlices, 33);

  std::string text = ReadFileBytes(kData / "settings_defaults.ini");
  const std::size_t at = text.find("[Method]\r\n0");
  text.replace(at + 10, 1, "x");
  std::ofstream(dir / "bad.ini", std::ios::binary) << text;
  try {
    ReadSettingsFile(project, dir / "bad.ini");
    FAIL() << "no error";
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'x' is not a valid integer value");
  }
  EXPECT_EQ(project.settings.SetCircleSlices, 10);  // read before the damaged line

  std::ofstream(dir / "short.ini", std::ios::binary) << text.substr(0, 60);
  EXPECT_THROW(ReadSettingsFile(project, dir / "short.ini"), ConversionError);
}

TEST_F(Files, NewProjectReadsTheSettingsAndKeepsItsWorkArea) {
  project.drawing.WorkAreaXmax = 200;
  std::string text = ReadFileBytes(kData / "settings_defaults.ini");
  text.replace(text.find("[Setting]\r\n100"), 14, "[Setting]\r\n200");
  std::ofstream(dir / "Pelodyn.ini", std::ios::binary) << text;
  NewProject(project, [&](Project& p) { ReadSettingsFile(p, dir / "Pelodyn.ini"); });
  EXPECT_EQ(project.drawing.WorkAreaXmax, 100.0);
  EXPECT_EQ(project.options.text(Option::E_Cir_Slice), "10");
}

}  // namespace
}  // namespace pelodyn
