// Whole files as bytes, for the window tests that compare what was written.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace pelodyn::test {

inline std::string Bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

}  // namespace pelodyn::test
