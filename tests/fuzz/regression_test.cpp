// Every input of tests/fuzz/regressions/<target>/ runs again through the same
// harness as the fuzz target, without libFuzzer, in the test suite: the test
// fails when an input crashes the program, trips a sanitizer or raises an
// error outside the harness's contract, and when a folder holds no input at
// all (a test that runs nothing cannot fail). A hang ends at the test
// command's own time limit.
#include <gtest/gtest.h>

#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "harness.h"

namespace {

namespace fs = std::filesystem;

using Harness = void (*)(const std::uint8_t*, std::size_t);

void RunAll(const char* target, Harness harness) {
  const fs::path folder = fs::path(PELODYN_FUZZ_REGRESSIONS) / target;
  int inputs = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (!entry.is_regular_file() || entry.path().filename() == "README") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    try {
      harness(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    } catch (const std::exception& e) {
      ADD_FAILURE() << entry.path() << " raised an error outside the contract: " << e.what();
    } catch (...) {
      ADD_FAILURE() << entry.path() << " raised something that is not an error";
    }
    ++inputs;
  }
  EXPECT_GT(inputs, 0) << folder << " holds no input";
  ::testing::Test::RecordProperty("inputs", inputs);
}

TEST(FuzzRegressions, ProjectV20) {
  RunAll("project_v20", pelodyn::fuzz::ReadProjectV20);
}
TEST(FuzzRegressions, ProjectV118) {
  RunAll("project_v118", pelodyn::fuzz::ReadProjectV118);
}
TEST(FuzzRegressions, Settings) {
  RunAll("settings", pelodyn::fuzz::ReadSettings);
}
TEST(FuzzRegressions, Analyse) {
  RunAll("analyse", pelodyn::fuzz::Analyse);
}

}  // namespace
