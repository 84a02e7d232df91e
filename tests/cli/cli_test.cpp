// The command-line program as a user runs it: on the bundled examples, on a
// broken file, with several jobs, and with wrong arguments.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "support/test_folder.h"

namespace {

namespace fs = std::filesystem;

struct Result {
  int status;
  std::string out;
};

// Runs the program with `arguments`, standard error discarded unless asked.
// The settings file is looked for in a folder of the tests' own, so that a
// user's settings do not change what the tests see.
Result RunCli(const std::string& arguments, bool withErrors = false, const std::string& home = "/nonexistent",
              const std::string& tmpdir = "") {
  const std::string command = "PELODYN_HOME=" + home + " " + (tmpdir.empty() ? "" : "TMPDIR=" + tmpdir + " ") +
                              std::string(PELODYN_CLI) + " " + arguments + (withErrors ? " 2>&1" : " 2>/dev/null");
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
    dir = pelodyn::testing::TestFolder("pelodyn-cli-");
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
  // The layered example's minima lie inside its grid of centres: no
  // warning follows its line.
  ASSERT_EQ(summary.size(), 12u);
  EXPECT_NE(summary[8].find("  Circular  "), std::string::npos);
  EXPECT_NE(summary[9].find("layered-phreatic-loads       Circular  "), std::string::npos);
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

// The irregular example's search meets 11 surfaces on which Spencer's walk
// does not converge. With --robust-spencer they get factors; the other
// methods and the minima stay as they were.
TEST_F(Cli, RobustSpencerFillsInWhereTheWalkDoesNotConverge) {
  const auto plain =
      nlohmann::json::parse(Lines(RunCli("analyse --json --quiet " + path("irregular-random.pdd")).out)[0]);
  const Result r = RunCli("analyse --json --quiet --robust-spencer " + path("irregular-random.pdd"));
  EXPECT_EQ(r.status, 0);
  const auto robust = nlohmann::json::parse(Lines(r.out)[0]);
  EXPECT_EQ(plain["rejected"]["1000010"], 11);
  EXPECT_FALSE(robust["rejected"].contains("1000010"));
  for (const char* method : {"janbu", "bishop", "spencer"}) {
    EXPECT_EQ(robust["minima"][method]["fs"], plain["minima"][method]["fs"]) << method;
  }
}

// The forces of each slice of the critical surface, as a script reads them.
TEST_F(Cli, SlicesWithTheirForcesAsJson) {
  const Result r = RunCli("slices --json " + path("homogeneous-grid.pdd"));
  EXPECT_EQ(r.status, 0);
  const auto j = nlohmann::json::parse(Lines(r.out).at(0));
  const auto& mp = j["morgenstern_price"];
  EXPECT_EQ(mp["function"], "constant");
  EXPECT_EQ(mp["outcome"], "converged");
  // Spencer's assumption: the walk's factor to its own accuracy.
  EXPECT_NEAR(mp["fs"].get<double>(), j["factors"]["spencer"].get<double>(), 1e-3);
  EXPECT_NEAR(j["janbu_corrected"]["fs"].get<double>(),
              j["factors"]["janbu"].get<double>() * j["janbu_corrected"]["f0"].get<double>(), 1e-12);
  const auto& slices = j["slices"];
  const auto& boundaries = j["boundaries"];
  ASSERT_GT(slices.size(), 10u);
  ASSERT_EQ(boundaries.size(), slices.size() + 1);
  double weight = 0.0;
  for (const auto& slice : slices) weight += slice["weight"].get<double>();
  // Nothing pushes at the ends.
  EXPECT_EQ(boundaries.front()["E"].get<double>(), 0.0);
  EXPECT_NEAR(boundaries.back()["E"].get<double>(), 0.0, 1e-6 * weight);
  for (const auto& w : j["warnings"]) {
    EXPECT_TRUE(w["kind"] == "tension" || w["kind"] == "thrust_outside") << w.dump();
  }

  const Result sine = RunCli("slices --json --function half-sine " + path("homogeneous-grid.pdd"));
  EXPECT_EQ(nlohmann::json::parse(Lines(sine.out).at(0))["morgenstern_price"]["function"], "half-sine");
  EXPECT_NE(RunCli("slices --json --function sine " + path("homogeneous-grid.pdd"), true).status, 0);
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
  EXPECT_EQ(broken["error"], "Invalid numeric input at line 76: 'x' is not a whole number (No. of Direction)");
  EXPECT_EQ(nlohmann::json::parse(lines[1])["ok"], true);
  EXPECT_NE(Bytes(dir / "s.txt").find("Failed  Invalid numeric input at line 76"), std::string::npos);
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

// Results gathered on two machines, as JSON lines, read as one batch: the
// merged table is the one a single run of all the files writes.
TEST_F(Cli, SummaryMergesJsonLinesFromSeveralRuns) {
  const Result whole = RunCli("analyse --quiet --summary " + path("whole.txt") + " " + examples());
  ASSERT_EQ(whole.status, 0);
  const Result first = RunCli("analyse --json --quiet " + path("homogeneous-grid.pdd"));
  const Result rest =
      RunCli("analyse --json --quiet " + path("layered-phreatic-loads.pdd") + " " + path("irregular-random.pdd"));
  ASSERT_EQ(first.status, 0);
  ASSERT_EQ(rest.status, 0);
  std::ofstream(path("machine-1.jsonl")) << first.out;
  std::ofstream(path("machine-2.jsonl")) << rest.out;
  const Result merged =
      RunCli("summary -o " + path("merged.txt") + " " + path("machine-1.jsonl") + " " + path("machine-2.jsonl"));
  EXPECT_EQ(merged.status, 0);
  EXPECT_EQ(Bytes(dir / "merged.txt"), Bytes(dir / "whole.txt"));
  // From standard input too; a line that is not a result is named and the
  // exit status says so.
  const Result piped = RunCli("summary < " + path("machine-2.jsonl"));
  EXPECT_EQ(piped.status, 0);
  EXPECT_NE(piped.out.find("Layered slope with"), std::string::npos);  // 18 characters, as the table holds
  std::ofstream(path("bad.jsonl")) << "{not json\n" << first.out;
  const Result bad = RunCli("summary " + path("bad.jsonl"), true);
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.out.find("bad.jsonl:1: not a result line"), std::string::npos);
}

// The line of each file names a factor for each method the project selects
// and "N/A" for the others; the factors are those of the JSON line.
TEST_F(Cli, TheOneLineSummaryShowsTheSelectedMethodsOnly) {
  const std::string files = path("homogeneous-grid.pdd") + " " + path("layered-phreatic-loads.pdd");
  const Result text = RunCli("analyse --quiet " + files);
  const Result json = RunCli("analyse --quiet --json " + files);
  ASSERT_EQ(text.status, 0);
  ASSERT_EQ(json.status, 0);
  const auto lines = Lines(text.out);
  const auto objects = Lines(json.out);
  ASSERT_EQ(lines.size(), 2u);
  ASSERT_EQ(objects.size(), 2u);
  const char* const keys[] = {"ordinary", "janbu", "bishop", "spencer"};
  const char* const names[] = {"Ordinary", "Simplified Janbu", "Simplified Bishop", "Spencer"};
  int unselected = 0;
  for (std::size_t i = 0; i < 2; ++i) {
    const auto j = nlohmann::json::parse(objects[i]);
    std::string expected = j["file"].get<std::string>() + ":";
    for (std::size_t k = 0; k < 4; ++k) {
      const auto& m = j["minima"][keys[k]];
      char factor[32];
      std::snprintf(factor, sizeof factor, "%.3f", m["fs"].get<double>());
      expected += std::string(k == 0 ? " " : "  ") + names[k] + " " + (m["selected"].get<bool>() ? factor : "N/A");
      unselected += m["selected"].get<bool>() ? 0 : 1;
    }
    EXPECT_EQ(lines[i], expected);
  }
  // The layered example leaves Ordinary out.
  EXPECT_EQ(unselected, 1);
  EXPECT_EQ(lines[1].find(": Ordinary N/A  Simplified Janbu "), path("layered-phreatic-loads.pdd").size());
}

// What summary refuses: each case names the file and line (or the file) and
// says what is wrong in words; no table is written, and the exit status is 1.
TEST_F(Cli, SummaryRefusesInputThatIsNotAResultAndSaysWhere) {
  const Result good = RunCli("analyse --json --quiet " + path("homogeneous-grid.pdd"));
  ASSERT_EQ(good.status, 0);
  const std::string line = Lines(good.out).at(0) + "\n";
  const struct {
    const char* name;
    std::string content;
    std::string message;
  } cases[] = {
      {"not JSON", "{not json\n" + line,
       "bad.jsonl:1: not a result line of pelodyn-cli analyse --json: it is not JSON"},
      {"a scheduler's message among the results", line + line + "srun: error: task 3: Killed\n",
       "bad.jsonl:3: not a result line of pelodyn-cli analyse --json: it is not JSON"},
      {"a list", "[1, 2]\n", "bad.jsonl:1: not a result line of pelodyn-cli analyse --json: it is not a JSON object"},
      {"no ok", "{\"file\": \"a.pdd\"}\n",
       "bad.jsonl:1: not a result line of pelodyn-cli analyse --json: its \"ok\" is "
       "missing or not true or false"},
      {"a method missing",
       "{\"file\": \"a.pdd\", \"ok\": true, \"theory\": 1, \"minima\": {\"ordinary\": {\"selected\": true, \"fs\": "
       "1}}}\n",
       "bad.jsonl:1: not a result line of pelodyn-cli analyse --json: its \"minima.janbu\" is missing or not an "
       "object"},
      {"a factor that is text",
       "{\"file\": \"a.pdd\", \"ok\": true, \"theory\": 1, \"minima\": {\"ordinary\": {\"selected\": true, "
       "\"fs\": \"x\"}}}\n",
       "bad.jsonl:1: not a result line of pelodyn-cli analyse --json: its \"minima.ordinary.fs\" is missing or not "
       "a number"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::ofstream(path("bad.jsonl"), std::ios::binary) << c.content;
    fs::remove(dir / "table.txt");
    const Result r = RunCli("summary -o " + path("table.txt") + " " + path("bad.jsonl"), true);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find(path("bad.jsonl").substr(0, path("bad.jsonl").size() - 9) + c.message), std::string::npos)
        << r.out;
    EXPECT_EQ(r.out.find("json.exception"), std::string::npos) << r.out;
    EXPECT_FALSE(fs::exists(dir / "table.txt"));
    // On standard output: the messages only, no table.
    const Result piped = RunCli("summary " + path("bad.jsonl"));
    EXPECT_EQ(piped.status, 1);
    EXPECT_EQ(piped.out, "");
  }
  // A file that is not there, or a folder, is an error, not an empty table.
  std::ofstream(path("good.jsonl"), std::ios::binary) << line;
  const Result missing = RunCli("summary " + path("good.jsonl") + " " + path("none.jsonl"), true);
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, path("none.jsonl") + ": cannot be read (no such file)\nNo summary was written.\n");
  const Result folder = RunCli("summary " + dir.string(), true);
  EXPECT_EQ(folder.status, 1);
  EXPECT_NE(folder.out.find(dir.string() + ": is a folder"), std::string::npos);
}

// Told which files the jobs were given, summary names each one that has no
// result line (a job that never ran, a task killed before it printed), lists
// it as failed in the table and ends with status 1. Files are matched however
// the list and the jobs spell their paths.
TEST_F(Cli, SummaryReportsTheExpectedFilesThatHaveNoResult) {
  const Result first = RunCli("analyse --json --quiet " + path("homogeneous-grid.pdd"));
  ASSERT_EQ(first.status, 0);
  std::ofstream(path("result-001.jsonl"), std::ios::binary) << first.out;
  std::ofstream(path("result-002.jsonl"), std::ios::binary) << "";  // a task that was killed
  std::ofstream(path("files.txt"), std::ios::binary) << (dir / "." / "homogeneous-grid.pdd").string() << "\n"
                                                     << path("irregular-random.pdd") << "\r\n\n";
  const Result r = RunCli(
      "summary --expect " + path("files.txt") + " " + path("result-001.jsonl") + " " + path("result-002.jsonl"), true);
  EXPECT_EQ(r.status, 1);
  const auto lines = Lines(r.out);
  ASSERT_GE(lines.size(), 1u);
  EXPECT_EQ(lines[0], path("irregular-random.pdd") + ": no result line (its job did not run, or did not finish)");
  const std::string failed = "      2" + std::string(24 + 4, ' ') + "irregular-random" + std::string(11, ' ') +
                             "Failed  no result line: its job did not run, or did not finish\r\n";
  EXPECT_NE(r.out.find("\n" + failed), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("homogeneous-grid: no result"), std::string::npos);
  // With every file there, the table is written and the status is 0.
  const Result rest = RunCli("analyse --json --quiet " + path("irregular-random.pdd"));
  std::ofstream(path("result-002.jsonl"), std::ios::binary) << rest.out;
  EXPECT_EQ(
      RunCli("summary --expect " + path("files.txt") + " " + path("result-001.jsonl") + " " + path("result-002.jsonl"))
          .status,
      0);
  // A list that cannot be read is an error of its own.
  EXPECT_EQ(RunCli("summary --expect " + path("none.txt") + " " + path("result-001.jsonl")).status, 1);
}

// A section whose third line rises above the ground from x = 54.71 on (the
// layered example as it once was): verify warns, names the line and the
// stretch, and still passes it, in either language.
TEST_F(Cli, VerifyWarnsOfABoundaryLineAboveTheGround) {
  std::string text = Bytes(dir / "layered-phreatic-loads.pdd");
  const std::string mended = "12\r\n1         1     0.000     0.000\r\n";
  ASSERT_NE(text.find(mended), std::string::npos);
  text.replace(text.find(mended), 2, "11");
  const std::string line3 = "3         3    60.000    14.000\r\n3         4   100.000    13.000\r\n";
  ASSERT_NE(text.find(line3), std::string::npos);
  text.replace(text.find(line3), line3.size(), "3         3   100.000    16.000\r\n");
  std::ofstream(dir / "above.pdd", std::ios::binary) << text;
  const Result english = RunCli("--lang en verify " + path("above.pdd"));
  EXPECT_EQ(english.status, 0);
  EXPECT_EQ(Lines(english.out),
            (std::vector<std::string>{"Soil Properties --------------------- OK", "Geometry --------------------- OK",
                                      "Warning: boundary line 3 lies above the ground surface (line 4) from x = 54.71 "
                                      "to 100; the soil below it shows there as a band above the ground. Check the "
                                      "points of line 3 in Geometry."}));
  const Result thai = RunCli("--lang th verify " + path("above.pdd"));
  EXPECT_EQ(thai.status, 0);
  EXPECT_NE(thai.out.find("คำเตือน: เส้นขอบชั้นดินที่ 3 อยู่สูงกว่าผิวดิน (เส้นที่ 4) ช่วง x = 54.71 ถึง 100"), std::string::npos)
      << thai.out;
}

// The summary nobody asked for goes to the temporary folder, and only
// without --json; when it cannot be written (another user's file there),
// the run still succeeds. An asked-for summary that cannot be written fails.
TEST_F(Cli, TheUnaskedSummaryNeverFailsARunAndJsonRunsLeaveNone) {
  const std::string tmp = path("tmp");
  fs::create_directories(dir / "tmp");
  const std::string two = path("homogeneous-grid.pdd") + " " + path("irregular-random.pdd");
  EXPECT_EQ(RunCli("analyse --json --quiet " + two, false, "/nonexistent", tmp).status, 0);
  EXPECT_FALSE(fs::exists(dir / "tmp" / "sum_of_result.txt"));
  EXPECT_EQ(RunCli("analyse --quiet " + two, false, "/nonexistent", tmp).status, 0);
  EXPECT_TRUE(fs::is_regular_file(dir / "tmp" / "sum_of_result.txt"));
  // A folder where the file should be: it cannot be replaced.
  fs::remove(dir / "tmp" / "sum_of_result.txt");
  fs::create_directories(dir / "tmp" / "sum_of_result.txt" / "x");
  const Result blocked = RunCli("analyse --quiet " + two, true, "/nonexistent", tmp);
  EXPECT_EQ(blocked.status, 0) << blocked.out;
  EXPECT_NE(blocked.out.find("sum_of_result.txt"), std::string::npos) << blocked.out;
  EXPECT_EQ(RunCli("analyse --quiet --summary " + path("tmp/sum_of_result.txt") + " " + two).status, 1);
}

TEST_F(Cli, UsageErrorsAndHelp) {
  EXPECT_EQ(RunCli("").status, 2);
  EXPECT_EQ(RunCli("analyse").status, 2);
  EXPECT_EQ(RunCli("analyse --jobs 0 x.pdd").status, 2);
  EXPECT_EQ(RunCli("frobnicate").status, 2);
  const Result help = RunCli("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("analyse"), std::string::npos);
  for (const char* command : {"analyse", "verify", "slices", "convert", "summary"}) {
    EXPECT_EQ(RunCli(std::string(command) + " --help").status, 0) << command;
  }
  EXPECT_NE(RunCli("summary --help").out.find("--expect"), std::string::npos);
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

// The example with one piece of its text replaced.
std::string Edited(const fs::path& file, const std::string& from, const std::string& to) {
  std::string text = Bytes(file);
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

void Write(const fs::path& file, const std::string& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// The example's grid of centres (x 105 to 135, y 75 to 105, 6 x 6) has every
// minimum inside it; raised to y 100 to 130, every minimum lies on its
// lowest row.
TEST_F(Cli, AMinimumOnTheGridsEdgeIsReportedInTheJsonTheSummaryAndTheMessages) {
  Write(dir / "lower.pdd",
        Edited(dir / "homogeneous-grid.pdd", "105.000    75.000   135.000    75.000   135.000   105.000",
               "105.000   100.000   135.000   100.000   135.000   130.000"));
  const Result r = RunCli("analyse --json --quiet --summary " + path("s.txt") + " " + path("lower.pdd") + " " +
                          path("homogeneous-grid.pdd"));
  EXPECT_EQ(r.status, 0);
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 2u);
  const auto lower = nlohmann::json::parse(lines[0]);
  const auto inside = nlohmann::json::parse(lines[1]);
  const std::pair<const char*, const char*> methods[] = {
      {"ordinary", "Ordinary"}, {"janbu", "Simplified Janbu"}, {"bishop", "Simplified Bishop"}, {"spencer", "Spencer"}};
  auto warning = [](const std::string& name) {
    return name + ": the minimum lies on the lower edge of the grid of centres; extend the grid beyond its lower edge.";
  };
  nlohmann::json expected = nlohmann::json::array();
  for (const auto& [key, name] : methods) {
    // The minimum is on the lowest row, and not at a corner.
    EXPECT_EQ(lower["minima"][key]["y"], 100.0) << key;
    EXPECT_GT(lower["minima"][key]["x"].get<double>(), 105.0) << key;
    EXPECT_LT(lower["minima"][key]["x"].get<double>(), 135.0) << key;
    // Strictly inside the example's grid.
    EXPECT_GT(inside["minima"][key]["y"].get<double>(), 75.0) << key;
    EXPECT_LT(inside["minima"][key]["y"].get<double>(), 105.0) << key;
    EXPECT_GT(inside["minima"][key]["x"].get<double>(), 105.0) << key;
    EXPECT_LT(inside["minima"][key]["x"].get<double>(), 135.0) << key;
    expected.push_back(warning(name));
  }
  EXPECT_EQ(lower["warnings"], expected);
  EXPECT_EQ(inside["warnings"], nlohmann::json::array());
  for (const char* key : {"file", "ok", "error", "theory", "search", "surfaces", "rejected", "minima",
                          "critical_surface", "elapsed_seconds"}) {
    EXPECT_TRUE(lower.contains(key)) << key;
  }

  // In the summary, each warning on a line of its own below its file's line.
  const auto summary = Lines(Bytes(dir / "s.txt"));
  ASSERT_EQ(summary.size(), 15u);
  EXPECT_NE(summary[8].find("lower"), std::string::npos);
  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(summary[9 + k], "          Warning: " + warning(methods[k].second) + "\r");
  }
  EXPECT_NE(summary[13].find("homogeneous-grid"), std::string::npos);
  EXPECT_EQ(summary[14].substr(0, 10), "==========");

  // And on standard error in plain mode, in the language of the messages.
  const Result plain = RunCli("analyse --quiet " + path("lower.pdd"), true);
  EXPECT_NE(plain.out.find(path("lower.pdd") + ": " + warning("Simplified Bishop") + "\n"), std::string::npos)
      << plain.out;
  const Result thai = RunCli("--lang th analyse --quiet " + path("lower.pdd"), true);
  EXPECT_NE(
      thai.out.find(path("lower.pdd") + ": Spencer: ค่าต่ำสุดอยู่ที่ขอบด้านล่างของกริดจุดศูนย์กลาง กรุณาขยายกริดออกไปทางขอบด้านล่าง\n"),
      std::string::npos)
      << thai.out;
  const Result quiet = RunCli("analyse --quiet " + path("homogeneous-grid.pdd"), true);
  EXPECT_EQ(quiet.out.find("Warning"), std::string::npos) << quiet.out;
  EXPECT_EQ(quiet.out.find("edge"), std::string::npos) << quiet.out;
}

// The text of the Thai block and ASCII in code page 874 (U+0E01 to U+0E5B
// are 0xA1 to 0xFB there).
std::string Cp874(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    const unsigned code = ((c & 0x0Fu) << 12) | ((static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu) << 6) |
                          (static_cast<unsigned char>(utf8[i + 2]) & 0x3Fu);
    out += static_cast<char>(code - 0x0E01 + 0xA1);
    i += 3;
  }
  return out;
}

// A run's warnings travel with its result file, after the file's last line,
// in the language of the messages; a run without warnings writes none.
TEST_F(Cli, TheResultFileCarriesTheRunsWarningsAsNotes) {
  Write(dir / "lower.pdd",
        Edited(dir / "homogeneous-grid.pdd", "105.000    75.000   135.000    75.000   135.000   105.000",
               "105.000   100.000   135.000   100.000   135.000   130.000"));
  ASSERT_EQ(RunCli("analyse --quiet " + path("lower.pdd") + " " + path("homogeneous-grid.pdd")).status, 0);
  // One note for the edge, naming the four methods, as the window writes it.
  const std::string notes =
      "Note: Ordinary, Simplified Janbu, Simplified Bishop, Spencer: the minimum lies on the lower edge of the grid "
      "of centres; extend the grid beyond its lower edge.\r\n";
  const std::string end = std::string(102, '=') + "\r\n\r\n";
  const std::string lower = Bytes(dir / "lower.pdr");
  ASSERT_GT(lower.size(), end.size() + notes.size());
  EXPECT_EQ(lower.substr(lower.size() - end.size() - notes.size()), end + notes);
  const std::string inside = Bytes(dir / "homogeneous-grid.pdr");
  EXPECT_EQ(inside.substr(inside.size() - end.size()), end);
  EXPECT_EQ(inside.find("Note:"), std::string::npos);

  ASSERT_EQ(RunCli("--lang th analyse --quiet " + path("lower.pdd")).status, 0);
  const std::string thai = Bytes(dir / "lower.pdr");
  const std::string spencer = Cp874(
      "Note: Ordinary, Simplified Janbu, Simplified Bishop, Spencer: ค่าต่ำสุดอยู่ที่ขอบด้านล่างของกริดจุดศูนย์กลาง "
      "กรุณาขยายกริดออกไปทางขอบด้านล่าง\r\n");
  ASSERT_GT(thai.size(), spencer.size());
  EXPECT_EQ(thai.substr(thai.size() - spencer.size()), spencer);
}

// A result file that cannot be written loses nothing of the run's answer:
// the factors are printed (and in the JSON line) as usual, a message names
// the file and the reason, and the exit status says something was not done.
TEST_F(Cli, AnalyseKeepsItsAnswerWhenTheResultFileCannotBeWritten) {
  const Result good = RunCli("analyse --json --quiet " + path("homogeneous-grid.pdd"));
  ASSERT_EQ(good.status, 0);
  const auto expected = nlohmann::json::parse(good.out);
  EXPECT_TRUE(expected["result_file_error"].is_null());
  const std::string pdr = path("homogeneous-grid.pdr");
  fs::remove(pdr);
  fs::create_directory(pdr);  // no file can take its place

  const Result plain = RunCli("analyse --quiet " + path("homogeneous-grid.pdd"), true);
  EXPECT_EQ(plain.status, 1);
  const auto lines = Lines(plain.out);
  const std::string factors = path("homogeneous-grid.pdd") + ": Ordinary ";
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(factors, 0) == 0; }),
            1)
      << plain.out;
  EXPECT_EQ(plain.out.find("failed"), std::string::npos) << plain.out;
  EXPECT_NE(plain.out.find(path("homogeneous-grid.pdd") + ": The result file was not written: Cannot write file \"" +
                           pdr + "\": "),
            std::string::npos)
      << plain.out;

  const Result json = RunCli("analyse --json --quiet " + path("homogeneous-grid.pdd"));
  EXPECT_EQ(json.status, 1);
  const auto report = nlohmann::json::parse(json.out);
  EXPECT_EQ(report["ok"], true);
  EXPECT_EQ(report["minima"], expected["minima"]);
  ASSERT_TRUE(report["result_file_error"].is_string());
  EXPECT_NE(report["result_file_error"].get<std::string>().find(pdr), std::string::npos);
  EXPECT_TRUE(fs::is_directory(pdr));
  EXPECT_TRUE(fs::is_empty(pdr));
}

// Data no real section has is refused by verify and analyse alike, before
// any run, with the message naming what is wrong.
TEST_F(Cli, UnrealDataIsRefusedByVerifyAndAnalyse) {
  Write(dir / "negative.pdd",
        Edited(dir / "homogeneous-grid.pdd", "\r\n1   600.000    20.000", "\r\n1  -600.000    20.000"));
  Write(dir / "nomethod.pdd", Edited(dir / "homogeneous-grid.pdd", "\r\n1         1         1         1\r\n",
                                     "\r\n0         0         0         0\r\n"));
  const std::pair<const char*, const char*> cases[] = {
      {"negative.pdd",
       "Soil No. 1: Cohesion = -600 is negative. Cohesion, friction angle and unit weight are 0 or more; please "
       "check the soil properties."},
      {"nomethod.pdd",
       "No method is selected. Select at least one of Ordinary, Simplified Janbu, Simplified Bishop and Spencer."},
  };
  for (const auto& [file, message] : cases) {
    SCOPED_TRACE(file);
    const Result verify = RunCli("verify " + path(file), true);
    EXPECT_EQ(verify.status, 1);
    EXPECT_EQ(Lines(verify.out).front(), message);

    const Result plain = RunCli("analyse --quiet " + path(file), true);
    EXPECT_EQ(plain.status, 1);
    EXPECT_EQ(Lines(plain.out),
              (std::vector<std::string>{path(file) + ": " + message, path(file) + ": failed: " + message}));
    const auto report = nlohmann::json::parse(RunCli("analyse --json --quiet " + path(file)).out);
    EXPECT_EQ(report["ok"], false);
    EXPECT_TRUE(report["minima"].is_null());
    // The result file of the refused run says why it holds no factor.
    const std::string pdr = Bytes(fs::path(path(file)).replace_extension(".pdr"));
    const std::string note = std::string(102, '=') + "\r\n\r\nNote: " + message + "\r\n";
    ASSERT_GT(pdr.size(), note.size());
    EXPECT_EQ(pdr.substr(pdr.size() - note.size()), note);
  }
  // The check list shows the value too, and no OK line for the soils.
  const auto memo = Lines(RunCli("verify " + path("negative.pdd")).out);
  EXPECT_EQ(memo, (std::vector<std::string>{"ค่า Cohesion ลำดับที่ 1 = -600 < 0", "Geometry --------------------- OK"}));
}

TEST_F(Cli, AProjectWithoutEndingGetsItsResultBesideIt) {
  Write(dir / "studies" / "u" / "dam", Bytes(dir / "homogeneous-grid.pdd"));
  ASSERT_EQ(RunCli("analyse --quiet " + path("studies/u/dam")).status, 0);
  EXPECT_TRUE(fs::exists(dir / "studies" / "u" / "dam.pdr"));
  EXPECT_FALSE(fs::exists(dir / "studies" / "u.pdr"));
}

TEST_F(Cli, ARefusedProjectReplacesItsOldResultAndShowsItsMessage) {
  Write(dir / "refused.pdd", Edited(dir / "homogeneous-grid.pdd", "\r\n0.01000\r\n", "\r\n0.00000\r\n"));
  Write(dir / "refused.pdr", "an older result\r\n");
  const Result r = RunCli("analyse --json --quiet --summary " + path("s.txt") + " " + path("refused.pdd"));
  EXPECT_EQ(r.status, 1);
  const auto report = nlohmann::json::parse(r.out);
  EXPECT_EQ(report["ok"], false);
  EXPECT_EQ(report["error"], "Pass criteria = 0\nPlease input data (Default = 0.01) at Analysis Setting");
  const std::string result = Bytes(dir / "refused.pdr");
  EXPECT_EQ(result.substr(0, 28), "=====Pelodyn_2.0_Result=====");
  EXPECT_NE(result.find("Min. FS. by Simp.Bishop : 99999 "), std::string::npos);
  EXPECT_NE(Bytes(dir / "s.txt").find("Failed  Pass criteria = 0 Please input data"), std::string::npos);

  // In Thai, as the settings file or --lang says.
  const Result thai = RunCli("--lang th analyse --json --quiet " + path("refused.pdd"));
  EXPECT_EQ(nlohmann::json::parse(thai.out)["error"],
            "Pass criteria = 0\nกรุณาป้อนค่า (ค่าเริ่มต้น = 0.01) ที่ Analysis Setting");
}

TEST_F(Cli, TheSettingsFileChoosesTheLanguageAndLangOverridesIt) {
  Write(dir / "refused.pdd", Edited(dir / "homogeneous-grid.pdd", "\r\n0.01000\r\n", "\r\n0.00000\r\n"));
  const fs::path home = dir / "home";
  Write(home / "pelodyn" / "Pelodyn.ini", Edited(fs::path(PELODYN_TEST_DATA) / "settings_defaults.ini",
                                                 "\r\n1\r\n\r\n[Analysis_Setting]", "\r\n0\r\n\r\n[Analysis_Setting]"));
  const Result thai = RunCli("analyse --json --quiet " + path("refused.pdd"), false, home.string());
  EXPECT_NE(nlohmann::json::parse(thai.out)["error"].get<std::string>().find("กรุณาป้อนค่า"), std::string::npos);
  const Result english = RunCli("analyse --json --quiet --lang en " + path("refused.pdd"), false, home.string());
  EXPECT_NE(nlohmann::json::parse(english.out)["error"].get<std::string>().find("Please input data"),
            std::string::npos);
}

TEST_F(Cli, NoAdmissibleSurfaceIsAFailureWithItsReasonsInWords) {
  Write(dir / "deep.pdd", Edited(dir / "homogeneous-grid.pdd", "\r\n30\r\n1\r\n0\r\n", "\r\n30\r\n1000\r\n0\r\n"));
  const Result r = RunCli("analyse --json --quiet --summary " + path("s.txt") + " " + path("deep.pdd"));
  EXPECT_EQ(r.status, 1);
  const auto report = nlohmann::json::parse(r.out);
  EXPECT_EQ(report["ok"], false);
  EXPECT_EQ(report["error"],
            "no admissible slip surface: of 490 surfaces, 490 with 'the tallest slice is not taller than the depth "
            "limit'");
  for (const char* key : {"file", "ok", "error", "theory", "search", "surfaces", "rejected", "minima",
                          "critical_surface", "elapsed_seconds"}) {
    EXPECT_TRUE(report.contains(key)) << key;
  }
  EXPECT_EQ(report["rejected"]["1000006"], 490);
  EXPECT_TRUE(fs::exists(dir / "deep.pdr"));
  EXPECT_NE(Bytes(dir / "s.txt").find("Failed  no admissible slip surface"), std::string::npos);
  const Result line = RunCli("analyse --quiet " + path("deep.pdd"));
  EXPECT_NE(line.out.find(": failed: no admissible slip surface: of 490 surfaces"), std::string::npos) << line.out;
}

TEST_F(Cli, APathGivenTwiceIsAnalysedOnce) {
  const Result r = RunCli("analyse --quiet --jobs 2 --summary " + path("s.txt") + " " + path("homogeneous-grid.pdd") +
                          " " + path("homogeneous-grid.pdd") + " " + dir.string() + "/./homogeneous-grid.pdd");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(Lines(r.out).size(), 1u);
}

TEST_F(Cli, VerifyEndsWithALineBreak) {
  const Result verify = RunCli("verify " + path("homogeneous-grid.pdd"));
  ASSERT_FALSE(verify.out.empty());
  EXPECT_EQ(verify.out.back(), '\n');
}

TEST_F(Cli, SlicesOfTheCriticalSurfaceWithoutASpecificOne) {
  const Result analysed = RunCli("analyse --json --quiet " + path("homogeneous-grid.pdd"));
  const auto report = nlohmann::json::parse(analysed.out);
  const Result r = RunCli("slices " + path("homogeneous-grid.pdd"));
  EXPECT_EQ(r.status, 0);
  auto lines = Lines(r.out);
  ASSERT_GT(lines.size(), 8u);
  // The lowest factor is Simplified Janbu's: its critical circle is listed.
  const std::string janbu = lines[lines.size() - 3];
  ASSERT_EQ(janbu.substr(0, 6), "janbu,");
  EXPECT_NEAR(std::stod(janbu.substr(6)), report["minima"]["janbu"]["fs"].get<double>(), 1e-5);

  const Result bishop = RunCli("slices --method bishop " + path("homogeneous-grid.pdd"));
  lines = Lines(bishop.out);
  ASSERT_GT(lines.size(), 8u);
  EXPECT_NEAR(std::stod(lines[lines.size() - 2].substr(7)), report["minima"]["bishop"]["fs"].get<double>(), 1e-5);
}

TEST_F(Cli, AResultCodeIsPrintedWithItsMeaning) {
  // A specific circle far above the section.
  std::string text =
      Edited(dir / "homogeneous-grid.pdd", "\r\n0         0         0\r\n", "\r\n120       500       10\r\n");
  Write(dir / "above.pdd", text);
  const Result r = RunCli("slices " + path("above.pdd"));
  EXPECT_NE(r.out.find("bishop,\"1000009 (the circle does not reach the ground)\""), std::string::npos) << r.out;
  const Result thai = RunCli("--lang th slices " + path("above.pdd"));
  EXPECT_NE(thai.out.find("bishop,\"1000009 (วงกลมไม่ตัดผิวดิน)\""), std::string::npos) << thai.out;
}

TEST_F(Cli, TheMovingCentreListingFromTheCommandLine) {
  Write(dir / "specific.pdd",
        Edited(dir / "irregular-random.pdd", "\r\n\r\n1\r\n20\r\n0\r\n", "\r\n\r\n0\r\n20\r\n0\r\n"));
  const Result r = RunCli("analyse --quiet --moving-centre " + path("mc.txt") +
                          " --mc-step 10 10 --mc-area 0 100 0 60 --mc-bounds 20 80 " + path("specific.pdd"));
  EXPECT_EQ(r.status, 0) << r.out;
  const auto lines = Lines(Bytes(dir / "mc.txt"));
  EXPECT_EQ(lines.size(), 11u * 7u);
  // Zone, centre and the four factors of each centre.
  EXPECT_EQ(lines[0].substr(1, 13), ",0.000,0.000,");
  EXPECT_EQ(lines.back().substr(1, 16), ",100.000,60.000,");
}

// Damaged and absurd files: each is refused with its message, before any
// search could run on it (the message names the check that refused it).
struct Damage {
  const char* name;
  const char* from;
  const char* to;
  const char* message;
};

TEST_F(Cli, DamagedAndAbsurdFilesEndWithTheirMessage) {
  const std::string magic = "=====Pelodyn_2.0_Data=====\r\n";
  const Damage cases[] = {
      {"count beyond the end", "\r\n0\r\n\r\n0\r\n\r\n0\r\n", "\r\n0\r\n\r\n0\r\n\r\n2000000000\r\n",
       "ends before its last entry"},
      {"a count beyond a table's rows", "\r\n2\r\n1 ", "\r\n2000000000\r\n1 ",
       "Invalid numeric input at line 17: '0.000' is not a whole number (Soil Properties, row 3, Color)"},
      {"a billion circles", "\r\n0\r\n10\r\n30\r\n", "\r\n0\r\n1000000000\r\n30\r\n",
       "No. of Circle = 1000000000 is above the limit of 1000"},
      {"a billion slices", "\r\n0\r\n10\r\n30\r\n", "\r\n0\r\n10\r\n1000000000\r\n",
       "No. of Slice = 1000000000 is above the limit of 1000"},
      {"huge grid divisions", "\r\n6         6\r\n", "\r\n100000    100000\r\n",
       "Division between 1 and 2 = 100000 is above the limit of 1000"},
      {"negative grid divisions", "\r\n6         6\r\n", "\r\n-6        6\r\n",
       "Division between 1 and 2 = -6 may not be negative"},
      {"a coordinate of 1e308", "105.000    75.000", "1e308      75.000",
       "X (Left Down) = 1E308 is beyond any real section"},
      {"a strength of 1e308", "1   600.000", "1     1e308", "Cohesion = 1E308 is beyond any real section"},
  };
  for (const Damage& d : cases) {
    Write(dir / "damaged.pdd", Edited(dir / "homogeneous-grid.pdd", d.from, d.to));
    const Result r = RunCli("analyse --json --quiet " + path("damaged.pdd"));
    EXPECT_EQ(r.status, 1) << d.name;
    const auto report = nlohmann::json::parse(r.out);
    EXPECT_NE(report["error"].get<std::string>().find(d.message), std::string::npos)
        << d.name << ": " << report["error"];
  }
  // A mislabelled version, either way.
  const std::string v20 = Bytes(dir / "homogeneous-grid.pdd");
  Write(dir / "old.pdd", "");
  ASSERT_EQ(RunCli("convert --legacy " + path("homogeneous-grid.pdd") + " " + path("old.pdd")).status, 0);
  Write(dir / "says20.pdd", magic + Bytes(dir / "old.pdd"));
  Write(dir / "says118.pdd", v20.substr(v20.find('\n') + 1));
  for (const auto& [name, message] : {std::pair{"says20.pdd", "laid out as a version 1.18 file"},
                                      std::pair{"says118.pdd", "laid out as a Pelodyn 2.0 project file"}}) {
    const Result r = RunCli("analyse --json --quiet " + path(name));
    EXPECT_NE(nlohmann::json::parse(r.out)["error"].get<std::string>().find(message), std::string::npos) << r.out;
  }
  // Garbage of every kind, and a directory.
  Write(dir / "empty.pdd", "");
  Write(dir / "binary.pdd", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  Write(dir / "text.pdd", "Dear colleague,\r\nplease find the section attached.\r\n\r\nRegards\r\n");
  for (const char* name : {"empty.pdd", "binary.pdd", "text.pdd"}) {
    const Result r = RunCli("analyse --json --quiet " + path(name));
    EXPECT_NE(nlohmann::json::parse(r.out)["error"].get<std::string>().find("is not a Pelodyn project file"),
              std::string::npos)
        << r.out;
    EXPECT_FALSE(fs::exists(dir / (std::string(name).substr(0, std::string(name).size() - 4) + ".pdr")));
  }
  fs::create_directories(dir / "folder.pdd");
  EXPECT_NE(RunCli("analyse --quiet " + path("folder.pdd")).out.find("is a directory"), std::string::npos);
  // A project saved in UTF-8 by a modern editor.
  std::string utf8 = v20;
  utf8.replace(utf8.find('\r'), 0, "");
  const std::size_t name = utf8.find('\n') + 1;
  utf8.replace(name, utf8.find('\r', name) - name, "เขื่อนดิน");
  Write(dir / "utf8.pdd", utf8);
  const Result r = RunCli("analyse --json --quiet --summary " + path("s.txt") + " " + path("utf8.pdd"));
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(Bytes(dir / "s.txt").find("\xE0\xA2\xD7\xE8\xCD\xB9\xB4\xD4\xB9"), std::string::npos);  // in code page 874
}

}  // namespace
