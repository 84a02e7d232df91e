// The project file (.pdd), version 2.0, and the older version 1.18.
//
// The writers collect the project first (a conversion error ends the save
// before anything is written), build the whole file in memory and replace
// the old file only when the new one is complete; a value that does not fit
// its fixed-width field refuses the save with a FileError naming it.
//
// The readers read the whole file into a scratch project first and only
// then append its rows to the working tables and set the option values (and
// the model values the file carries) and ProjectFilePath; on any error the
// project, its tables, option values and ProjectFilePath are exactly as
// before. They expect empty working tables: the caller runs NewProject
// (interactive) or EmptyWorkingTables (batch) first. A token that does not
// convert raises FileError("Invalid numeric input at line N: ..."), naming
// the line and the value expected; a file that ends before its last entry
// raises a FileError as soon as a read finds its end. ProjectLoading is 1
// while a reader runs.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "model/platform.h"
#include "model/project.h"

namespace pelodyn {

inline constexpr std::string_view kProjectMagic = "=====Pelodyn_2.0_Data=====";

// True when `firstLine` is the version 2.0 magic exactly.
bool IsCurrentProjectFile(std::string_view firstLine);
// The first line of a file's bytes, as the readers take it and as
// ReadAnyProjectFile chooses the reader by it: up to the first line feed,
// without a carriage return before it, at most 255 characters (bytes as
// they are).
std::string FirstLineOf(std::string_view bytes);
// FirstLineOf the file at `path`, reading no more than its first line.
std::string ReadFirstLine(const std::filesystem::path& path);

void WriteProjectFile(Project& project, PlatformServices& platform, const std::filesystem::path& path);
void ReadProjectFile(Project& project, const std::filesystem::path& path);

void WriteLegacyProjectFile(Project& project, PlatformServices& platform, const std::filesystem::path& path);
void ReadLegacyProjectFile(Project& project, PlatformServices& platform, const std::filesystem::path& path);

// Reads either version by the first line, into a project whose working
// tables are empty, as the readers above do. A directory, an empty file, a
// file of binary data or a text file that is no project raise FileError
// ("... is not a Pelodyn project file"); a file whose first line says one
// version but whose layout is the other's says which version it looks like.
void ReadAnyProjectFile(Project& project, PlatformServices& platform, const std::filesystem::path& path);

}  // namespace pelodyn
