// A list of project files analysed one after the other: a file that fails
// does not end the batch, and a stop request ends it, leaving every file not
// completed as it was.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>

#include "batch/batch.h"
#include "persistence/text_file.h"

namespace pelodyn {
namespace {

namespace fs = std::filesystem;

// Sets the stop request the first time the search lets events run, i.e.
// during the first trial of the first file.
class StopDuringRun final : public PlatformServices {
 public:
  explicit StopDuringRun(std::atomic<bool>& stop) : m_stop(stop) {}
  void showMessage(MessageKind, std::string_view, std::string_view) override {}
  bool askOkCancel(std::string_view, std::string_view) override { return true; }
  void reportProgress(const ProgressReport&) override {}
  void processPendingEvents() override { m_stop = true; }

 private:
  std::atomic<bool>& m_stop;
};

class BatchRun : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("pelodyn-batch-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char* name : {"homogeneous-grid.pdd", "layered-phreatic-loads.pdd", "irregular-random.pdd"}) {
      fs::copy_file(fs::path(PELODYN_EXAMPLES) / name, dir / name);
      files.push_back(dir / name);
      // An old result file that a file not analysed must keep.
      std::ofstream(fs::path(dir / name).replace_extension(".pdr")) << "old";
    }
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string pdr(std::size_t i) const { return ReadFileBytes(fs::path(files[i]).replace_extension(".pdr")); }

  fs::path dir;
  std::vector<fs::path> files;
};

TEST_F(BatchRun, StopAfterTheFirstFileLeavesTheOthersUntouched) {
  std::atomic<bool> stop{false};
  BatchOptions options;
  options.stop = &stop;
  SilentPlatform platform;
  std::vector<std::size_t> done;
  const auto reports = AnalyseProjectFiles(files, platform, options, [&](std::size_t i, const FileReport&) {
    done.push_back(i);
    stop = true;
  });
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_EQ(done, (std::vector<std::size_t>{0, 1, 2}));
  EXPECT_TRUE(reports[0].ok);
  EXPECT_FALSE(reports[0].stopped);
  EXPECT_NE(pdr(0), "old");
  for (std::size_t i : {1u, 2u}) {
    EXPECT_TRUE(reports[i].stopped) << i;
    EXPECT_FALSE(reports[i].ok) << i;
    EXPECT_EQ(reports[i].file, files[i].string());
    EXPECT_EQ(pdr(i), "old") << i;
  }
  const std::string summary = SummaryText(reports);
  EXPECT_NE(summary.find("\r\n      2                           layered-phreatic-loads          Stopped  The batch was "
                         "stopped before this file.\r\n      3"),
            std::string::npos)
      << summary;
}

TEST_F(BatchRun, StopDuringAFileKeepsItsResultFile) {
  std::atomic<bool> stop{false};
  BatchOptions options;
  options.stop = &stop;
  StopDuringRun platform(stop);
  const auto reports = AnalyseProjectFiles(files, platform, options);
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_TRUE(reports[0].stopped);
  EXPECT_EQ(reports[0].projectName, "Homogeneous 2:1 slope");
  EXPECT_EQ(reports[0].error, "The batch was stopped during this file; its result file was not written.");
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(pdr(i), "old") << i;
  EXPECT_TRUE(reports[2].stopped);
}

TEST_F(BatchRun, AFailedFileDoesNotEndTheBatch) {
  const fs::path broken = dir / "broken.pdd";
  std::ofstream(broken) << "not a project\r\n";
  SilentPlatform platform;
  const auto reports = AnalyseProjectFiles({broken, files[0]}, platform);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_FALSE(reports[0].ok);
  EXPECT_FALSE(reports[0].stopped);
  EXPECT_FALSE(reports[0].error.empty());
  EXPECT_TRUE(reports[1].ok);
  EXPECT_NE(pdr(0), "old");
}

TEST(SummaryReport, TheTableFromTheFourthLine) {
  const std::string summary = SummaryText({});
  const std::string report = SummaryReportText(summary);
  EXPECT_EQ(summary.substr(0, summary.size() - report.size()),
            "Automatic Execute File Report\r\n=============================\r\n\r\n");
  EXPECT_EQ(report.substr(0, 125), std::string(123, '-') + "\r\n");
  EXPECT_EQ(SummaryReportText("a\r\nb\r\n"), "");
  EXPECT_EQ(SummaryReportText("a\nb\n\nd\n"), "d\n");
}

}  // namespace
}  // namespace pelodyn
