#include <gtest/gtest.h>

#include <filesystem>

#include "batch/batch.h"
#include "persistence/text_file.h"

namespace pelodyn {
namespace {

namespace fs = std::filesystem;
const fs::path kData = PELODYN_TEST_DATA;

FileReport Report(std::string file, std::string name, int theory, std::array<double, 4> fs) {
  FileReport r;
  r.file = std::move(file);
  r.projectName = std::move(name);
  r.theory = theory;
  r.ok = true;
  for (std::size_t k = 0; k < 4; ++k) r.minima[k].fs = fs[k];
  return r;
}

TEST(Summary, LayoutForCircularIrregularAndFailedFiles) {
  std::vector<FileReport> reports = {
      Report("/x/dam_section_A_revised.pdd", "Slope stability of the north embankment", 1,
             {1.23456, 1.5, 2.000049, 1000000}),
      Report("slope.pdd", "ลาดดิน", 2, {99999, 1.1, 1.25, 1.3}),
  };
  FileReport broken;
  broken.file = "broken.pdd";
  broken.error = "Invalid numeric input";
  reports.push_back(broken);
  const fs::path file = fs::temp_directory_path() / "pelodyn-summary-test.txt";
  WriteSummaryFile(file, reports);
  EXPECT_EQ(ReadFileBytes(file), ReadFileBytes(kData / "summary_three_files.txt"));
  fs::remove(file);
}

TEST(Summary, EachWarningOnALineBelowItsFile) {
  std::vector<FileReport> reports = {Report("/x/a.pdd", "Dam", 1, {1.5, 1.25, 1.75, 2}),
                                     Report("b.pdd", "B", 1, {1.1, 1.2, 1.3, 1.4})};
  reports[0].warnings = {{Bishop, RunWarning::Edge::Lower}, {Bishop, RunWarning::Edge::Left}};
  const fs::path file = fs::temp_directory_path() / "pelodyn-summary-warnings-test.txt";
  WriteSummaryFile(file, reports);
  EXPECT_EQ(ReadFileBytes(file), ReadFileBytes(kData / "summary_with_warnings.txt"));
  fs::remove(file);
  // In Thai, as the messages of the run.
  const std::string thai = SummaryText(reports, 0);
  EXPECT_NE(thai.find("\r\n          Warning: Simplified Bishop: ค่าต่ำสุดอยู่ที่ขอบด้านซ้ายของกริดจุดศูนย์กลาง "
                      "กรุณาขยายกริดออกไปทางขอบด้านซ้าย\r\n      2"),
            std::string::npos)
      << thai;
}

// The factors of a file whose result file could not be written stand; the
// reason follows them, after the file's warnings.
TEST(Summary, AResultFileNotWrittenIsAWarningBelowTheFactors) {
  std::vector<FileReport> reports = {Report("/x/a.pdd", "Dam", 1, {1.5, 1.25, 1.75, 2})};
  reports[0].warnings = {{Bishop, RunWarning::Edge::Lower}};
  reports[0].resultFileError = "Cannot write file \"/x/a.pdr\": Is a directory";
  const std::string factors =
      "      1                     Dam                   a       Circular           1.5         "
      "1.25         1.75            2\r\n";
  const std::string edge =
      "          Warning: Simplified Bishop: the minimum lies on the lower edge of the grid of "
      "centres; extend the grid beyond its lower edge.\r\n";
  EXPECT_NE(SummaryText(reports).find(factors + edge +
                                          "          Warning: The result file was not written: Cannot write file "
                                          "\"/x/a.pdr\": Is a directory\r\n=====",
                                      0),
            std::string::npos);
  EXPECT_NE(SummaryText(reports, 0).find("          Warning: ไม่ได้บันทึกไฟล์ผลลัพธ์: Cannot write file"), std::string::npos);
}

TEST(Summary, OtherTheoriesLeaveTheTheoryFieldOut) {
  const std::string text = SummaryText({Report("p.pdd", "P", 0, {1, 2, 3, 4})});
  EXPECT_NE(text.find("\r\n      1                       P                   p           1            2            3"
                      "            4\r\n"),
            std::string::npos);
}

// Names that differ only after the 17th column stay whole: the file name
// column widens to the longest name, and the header and rules with it.
TEST(Summary, LongFileNamesWidenTheirColumnRatherThanLookAlike) {
  const std::string text = SummaryText({Report("/s/homogeneous-grid-1.pdd", "A", 1, {1, 2, 3, 4}),
                                        Report("homogeneous-grid-2.pdd", "B", 1, {1, 2, 3, 4})});
  const std::string expected =
      "Automatic Execute File Report\r\n"
      "=============================\r\n"
      "\r\n" +
      std::string(124, '-') +
      "\r\n"
      "|          |                    |                    |                 |              Minimum Factor of "
      "Safety             |\r\n"
      "| Case No. |    Project Name    |     File Name      | Analysis Theory "
      "|---------------------------------------------------|\r\n"
      "|          |                    |                    |                 |   FS-Ord.  |   FS-Jan.  |   FS-Bis.  "
      "|   FS-Spe.  |\r\n" +
      std::string(124, '-') +
      "\r\n"
      "      1                       A   homogeneous-grid-1       Circular             1            2            3"
      "            4\r\n"
      "      2                       B   homogeneous-grid-2       Circular             1            2            3"
      "            4\r\n" +
      std::string(124, '=') + "\r\n";
  EXPECT_EQ(text, expected);
}

// Thai marks above and below a consonant take no column: names are padded
// and cut by the columns they fill, so the rows line up on screen and in the
// saved file (code page 874, one byte a character, marks included).
TEST(Summary, ThaiNamesArePaddedAndCutByTheirDisplayWidth) {
  // ลาดดินริมน้ำ: 12 characters, of which ิ ิ ้ are marks: 9 columns.
  // The long name fills 18 columns at "...ลาดดินริม", the mark on ร included.
  std::vector<FileReport> reports = {
      Report("a.pdd", "ลาดดินริมน้ำ", 1, {1.5, 1.25, 1.75, 2}),
      Report("b.pdd", "เสถียรภาพของลาดดินริมแม่น้ำเจ้าพระยา", 1, {1.5, 1.25, 1.75, 2}),
      Report("ดินถล่ม.pdd", "Plain", 2, {1.5, 1.25, 1.75, 2}),
  };
  const std::string text = SummaryText(reports);
  const std::string factors = "         1.5         1.25         1.75            2\r\n";
  EXPECT_NE(text.find("\r\n      1" + std::string(15, ' ') + "ลาดดินริมน้ำ" + std::string(19, ' ') + "a" +
                      std::string(5, ' ') + "  Circular  " + factors + "      2" + std::string(6, ' ') +
                      "เสถียรภาพของลาดดินริม" + std::string(19, ' ') + "b" + std::string(5, ' ') + "  Circular  " +
                      factors + "      3" + std::string(19, ' ') + "Plain" + std::string(15, ' ') + "ดินถล่ม" +
                      std::string(5, ' ') + "Non-Circular" + factors),
            std::string::npos)
      << text;
  EXPECT_EQ(SummaryDisplayWidth("ลาดดินริมน้ำ"), 9u);
  EXPECT_EQ(SummaryDisplayWidth("กำ"), 2u);         // sara am takes its column
  EXPECT_EQ(SummaryDisplayWidth("e\xCC\x81"), 1u);  // e and a combining acute
  const fs::path file = fs::temp_directory_path() / "pelodyn-summary-thai-test.txt";
  WriteSummaryFile(file, reports);
  EXPECT_EQ(ReadFileBytes(file), ReadFileBytes(kData / "summary_thai_names.txt"));
  fs::remove(file);
}

}  // namespace
}  // namespace pelodyn
