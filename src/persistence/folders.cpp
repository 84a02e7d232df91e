#include "persistence/folders.h"

#include <cstdlib>
#include <system_error>

namespace pelodyn {
namespace {

std::filesystem::path EnvPath(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return {};
  return std::filesystem::path(value);
}

std::filesystem::path HomeRelative(const char* xdgVariable, const char* fallback) {
  if (auto home = EnvPath("PELODYN_HOME"); !home.empty()) return home;
  if (auto xdg = EnvPath(xdgVariable); !xdg.empty() && xdg.is_absolute()) return xdg;
  if (auto home = EnvPath("HOME"); !home.empty()) return home / fallback;
  return std::filesystem::temp_directory_path() / fallback;
}

}  // namespace

std::filesystem::path ConfigFolder() {
  return HomeRelative("XDG_CONFIG_HOME", ".config") / "pelodyn";
}

std::filesystem::path DataFolder() {
  return HomeRelative("XDG_DATA_HOME", ".local/share") / "pelodyn";
}

std::filesystem::path DatabaseFolder() {
  return DataFolder() / "Database";
}

std::filesystem::path TempFolder() {
  std::error_code ec;
  auto dir = std::filesystem::temp_directory_path(ec);
  return ec ? std::filesystem::path("/tmp") : dir;
}

void EnsureFolder(const std::filesystem::path& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec || !std::filesystem::is_directory(folder)) {
    throw StoreError("Cannot create " + folder.string());
  }
}

std::unique_ptr<SqliteWorkingStore> OpenDataStore() {
  EnsureFolder(DatabaseFolder());
  return SqliteWorkingStore::OpenFile(DatabaseFolder() / "Janbu.sqlite");
}

}  // namespace pelodyn
