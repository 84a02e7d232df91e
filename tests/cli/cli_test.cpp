// The command-line program as a user runs it: on the bundled examples, on a
// broken file, with several jobs, and with wrong arguments.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

namespace {

namespace fs = std::filesystem;

struct Result {
  int status;
  std::string out;
};

// Runs the program with `arguments`, standard error discarded unless asked.
Result RunCli(const std::string& arguments, bool withErrors = false) {
  const std::string command = std::string(PELODYN_CLI) + " " + arguments + (withErrors ? " 2>&1" : " 2>/dev/null");
  FILE* pipe = popen(command.c_str(), "r");
  std::string out;
  std::array<char, 4096> buffer;
  while (std::size_t n = fread(buffer.data(), 1, buffer.size(), pipe)) out.append(buffer.data(), n);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("pelodyn-cli-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const auto& entry : fs::directory_iterator(PELODYN_EXAMPLES)) {
      fs::copy_file(entry.path(), dir / entry.path().filename());
    }
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string path(const std::string& name) const { return (dir / name).string(); }
  std::string examples() const {
    return path("homogeneous-grid.pdd") + " " + path("layered-phreatic-loads.pdd") + " " + path("irregular-random.pdd");
  }
  fs::path dir;
};

TEST_F(Cli, AnalysesTheExamples) {
  const Result r = RunCli("analyse --quiet --summary " + path("summary.txt") + " " + examples());
  EXPECT_EQ(r.status, 0);
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 3u);
  for (const std::string& line : lines) {
    EXPECT_NE(line.find("Simplified Bishop"), std::string::npos) << line;
    EXPECT_EQ(line.find("failed"), std::string::npos) << line;
  }
  for (const char* name : {"homogeneous-grid.pdr", "layered-phreatic-loads.pdr", "irregular-random.pdr"}) {
    EXPECT_TRUE(fs::exists(dir / name)) << name;
  }
  EXPECT_EQ(Bytes(dir / "homogeneous-grid.pdr").substr(0, 31), "=====Pelodyn_2.0_Result=====\r\n1");
  const auto summary = Lines(Bytes(dir / "summary.txt"));
  ASSERT_EQ(summary.size(), 12u);
  EXPECT_NE(summary[8].find("  Circular  "), std::string::npos);
  EXPECT_NE(summary[10].find("Non-Circular"), std::string::npos);
}

TEST_F(Cli, JsonForScripts) {
  const Result r =
      RunCli("analyse --json --quiet " + path("homogeneous-grid.pdd") + " " + path("irregular-random.pdd"));
  EXPECT_EQ(r.status, 0);
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 2u);
  const auto circle = nlohmann::json::parse(lines[0]);
  EXPECT_EQ(circle["ok"], true);
  EXPECT_TRUE(circle["error"].is_null());
  EXPECT_EQ(circle["theory"], 1);
  EXPECT_EQ(circle["search"], 0);
  EXPECT_EQ(circle["surfaces"], 490);  // 7 x 7 centres, 10 circles each
  EXPECT_TRUE(circle["rejected"].is_object());
  for (const char* method : {"ordinary", "janbu", "bishop", "spencer"}) {
    const auto& m = circle["minima"][method];
    EXPECT_LT(m["fs"].get<double>(), 3.0) << method;
    EXPECT_GT(m["r"].get<double>(), 0.0);
    EXPECT_EQ(m["entry"].size(), 2u);
    EXPECT_GT(m["surface"].size(), 10u);
  }
  EXPECT_GT(circle["critical_surface"].size(), 10u);
  EXPECT_GE(circle["elapsed_seconds"].get<double>(), 0.0);
  const auto irregular = nlohmann::json::parse(lines[1]);
  EXPECT_EQ(irregular["theory"], 2);
  EXPECT_EQ(irregular["search"], 1);
  EXPECT_TRUE(irregular["minima"]["bishop"]["r"].is_null());
  long rejected = 0;
  for (const auto& [code, count] : irregular["rejected"].items()) {
    EXPECT_GE(std::stoi(code), 1000000);
    rejected += count.get<long>();
  }
  EXPECT_LT(rejected, irregular["surfaces"].get<long>());
  EXPECT_GE(irregular["minima"]["bishop"]["surface"].size(), 2u);
}

TEST_F(Cli, ABrokenFileIsReportedAndTheOthersGoOn) {
  std::string text = Bytes(dir / "homogeneous-grid.pdd");
  text.replace(text.find("\r\n8\r\n") == std::string::npos ? text.find("\r\n6\r\n") : text.find("\r\n8\r\n"), 3,
               "\r\nx");
  std::ofstream(dir / "broken.pdd", std::ios::binary) << text;
  const Result r = RunCli("analyse --json --quiet --summary " + path("s.txt") + " " + path("broken.pdd") + " " +
                          path("irregular-random.pdd"));
  EXPECT_EQ(r.status, 1);
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 2u);
  const auto broken = nlohmann::json::parse(lines[0]);
  EXPECT_EQ(broken["ok"], false);
  EXPECT_EQ(broken["error"], "Invalid numeric input");
  EXPECT_EQ(nlohmann::json::parse(lines[1])["ok"], true);
  EXPECT_NE(Bytes(dir / "s.txt").find("Failed  Invalid numeric input"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "broken.pdr"));

  const Result missing = RunCli("analyse --quiet " + path("none.pdd"), true);
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.out.find("Cannot open file"), std::string::npos);
}

TEST_F(Cli, SeveralJobsGiveTheSameOutput) {
  const Result one = RunCli("analyse --json --quiet --summary " + path("one.txt") + " " + examples());
  const std::string pdr = Bytes(dir / "irregular-random.pdr");
  const Result two = RunCli("analyse --json --quiet --jobs 2 --summary " + path("two.txt") + " " + examples());
  ASSERT_EQ(one.status, 0);
  ASSERT_EQ(two.status, 0);
  auto withoutTimes = [](const std::string& out) {
    std::string all;
    for (const std::string& line : Lines(out)) {
      auto j = nlohmann::json::parse(line);
      j.erase("elapsed_seconds");
      all += j.dump() + "\n";
    }
    return all;
  };
  EXPECT_EQ(withoutTimes(one.out), withoutTimes(two.out));
  EXPECT_EQ(Bytes(dir / "one.txt"), Bytes(dir / "two.txt"));
  EXPECT_EQ(Bytes(dir / "irregular-random.pdr"), pdr);
}

TEST_F(Cli, UsageErrorsAndHelp) {
  EXPECT_EQ(RunCli("").status, 2);
  EXPECT_EQ(RunCli("analyse").status, 2);
  EXPECT_EQ(RunCli("analyse --jobs 0 x.pdd").status, 2);
  EXPECT_EQ(RunCli("frobnicate").status, 2);
  const Result help = RunCli("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("analyse"), std::string::npos);
  for (const char* command : {"analyse", "verify", "slices", "convert"}) {
    EXPECT_EQ(RunCli(std::string(command) + " --help").status, 0) << command;
  }
}

TEST_F(Cli, VerifySlicesAndConvert) {
  const Result verify = RunCli("verify " + path("layered-phreatic-loads.pdd"));
  EXPECT_EQ(verify.status, 0);
  EXPECT_EQ(Lines(verify.out), (std::vector<std::string>{"Soil Properties --------------------- OK",
                                                         "Geometry --------------------- OK"}));

  const Result slices = RunCli("slices " + path("irregular-random.pdd"));
  EXPECT_EQ(slices.status, 0);
  const auto lines = Lines(slices.out);
  ASSERT_GT(lines.size(), 8u);
  EXPECT_EQ(lines[0].substr(0, 24), "slice,x_left,x_right,wid");
  EXPECT_EQ(lines[lines.size() - 5], "method,fs");
  EXPECT_EQ(lines.back().substr(0, 8), "spencer,");

  ASSERT_EQ(RunCli("convert --legacy " + path("homogeneous-grid.pdd") + " " + path("old.pdd")).status, 0);
  ASSERT_EQ(RunCli("convert " + path("old.pdd") + " " + path("new.pdd")).status, 0);
  EXPECT_EQ(Bytes(dir / "new.pdd").substr(0, 26), "=====Pelodyn_2.0_Data=====");
  const Result again = RunCli("analyse --quiet " + path("new.pdd"));
  EXPECT_EQ(again.status, 0);
}

}  // namespace
