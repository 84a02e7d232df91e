// Where Pelodyn keeps its files on this machine.
//
//   configuration folder  $XDG_CONFIG_HOME/pelodyn  (default ~/.config/pelodyn)
//   data folder           $XDG_DATA_HOME/pelodyn    (default ~/.local/share/pelodyn)
//   working store         <data folder>/Database/Janbu.sqlite
//   temporary folder      the system's (TMPDIR, else /tmp)
//
// When PELODYN_HOME is set it replaces both roots: the configuration and the
// data folder are then both $PELODYN_HOME/pelodyn. Tests and portable
// installs use it. The functions only name the folders; EnsureFolder creates
// one.
#pragma once

#include <filesystem>
#include <memory>

#include "persistence/sqlite_store.h"

namespace pelodyn {

std::filesystem::path ConfigFolder();
std::filesystem::path DataFolder();
std::filesystem::path DatabaseFolder();
std::filesystem::path TempFolder();

// Creates `folder` with its parents when missing. Raises StoreError with the
// text "Cannot create " + folder when that fails.
void EnsureFolder(const std::filesystem::path& folder);

// The desktop program's working store in the database folder, created with
// every table when missing.
std::unique_ptr<SqliteWorkingStore> OpenDataStore();

}  // namespace pelodyn
