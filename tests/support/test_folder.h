// A scratch folder of the running test in the system's temporary folder,
// named after the test's suite and name and the process: suites that share
// a fixture may have tests of one name, and ctest runs tests side by side.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace pelodyn::testing {

inline std::filesystem::path TestFolder(const std::string& prefix) {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  return std::filesystem::temp_directory_path() /
         (prefix + info->test_suite_name() + "-" + info->name() + "-" + std::to_string(::getpid()));
}

}  // namespace pelodyn::testing
