#include "persistence/folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace pelodyn {
namespace {

namespace fs = std::filesystem;

// Sets environment variables for one test and restores them afterwards.
class Env {
 public:
  void set(const char* name, const char* value) {
    const char* old = std::getenv(name);
    m_saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~Env() {
    for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
      if (it->second) {
        setenv(it->first.c_str(), it->second->c_str(), 1);
      } else {
        unsetenv(it->first.c_str());
      }
    }
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

TEST(Folders, FollowTheDesktopConventions) {
  Env env;
  env.set("PELODYN_HOME", nullptr);
  env.set("HOME", "/home/engineer");
  env.set("XDG_CONFIG_HOME", nullptr);
  env.set("XDG_DATA_HOME", nullptr);
  EXPECT_EQ(ConfigFolder(), fs::path("/home/engineer/.config/pelodyn"));
  EXPECT_EQ(DatabaseFolder(), fs::path("/home/engineer/.local/share/pelodyn/Database"));
  env.set("XDG_CONFIG_HOME", "/cfg");
  env.set("XDG_DATA_HOME", "relative/ignored");
  EXPECT_EQ(ConfigFolder(), fs::path("/cfg/pelodyn"));
  EXPECT_EQ(DataFolder(), fs::path("/home/engineer/.local/share/pelodyn"));
  env.set("PELODYN_HOME", "/portable");
  EXPECT_EQ(ConfigFolder(), fs::path("/portable/pelodyn"));
  EXPECT_EQ(DatabaseFolder(), fs::path("/portable/pelodyn/Database"));
}

TEST(Folders, DataStoreIsCreatedWithItsFolder) {
  const fs::path home = fs::temp_directory_path() / "pelodyn-home-test";
  fs::remove_all(home);
  Env env;
  env.set("PELODYN_HOME", home.c_str());
  {
    auto store = OpenDataStore();
    EXPECT_EQ(store->rowCount(Table::Soil_Prop), 0);
  }
  EXPECT_TRUE(fs::exists(home / "pelodyn" / "Database" / "Janbu.sqlite"));
  fs::remove_all(home);
}

TEST(Folders, FolderThatCannotBeCreatedNamesItself) {
  const fs::path blocker = fs::temp_directory_path() / "pelodyn-blocker-file";
  std::ofstream(blocker) << "x";
  try {
    EnsureFolder(blocker / "sub");
    FAIL() << "no error";
  } catch (const StoreError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create " + (blocker / "sub").string());
  }
  fs::remove(blocker);
}

}  // namespace
}  // namespace pelodyn
