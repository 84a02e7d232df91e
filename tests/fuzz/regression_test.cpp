// Every input that once made a fuzz target fail (tests/fuzz/regressions/<target>/)
// runs again through the same harness, without libFuzzer, in the test suite.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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
    const auto start = std::chrono::steady_clock::now();
    harness(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << entry.path();
    ++inputs;
  }
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
