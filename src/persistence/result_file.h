// The result file (.pdr) beside a project file: the minima of the last run
// and its Results rows (circular) or the critical surfaces (irregular).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "model/project.h"

namespace pelodyn {

// The project path with the ending of its file name (a dot and three
// characters: "dam.pdd") replaced by ".pdr", or with ".pdr" appended when the
// file name has no such ending ("studies/u/dam" gives "studies/u/dam.pdr").
std::string MakeResultFilePath(const std::string& projectFilePath);

// Writes the result file of the project's current minima and result tables,
// replacing the file only once the new one is complete. With `threads` more
// than 1, the Results rows are read from the store and their lines written
// on two threads (the same bytes).
//
// `notes` are what a reader of the file must know about its figures (a run
// stopped before its end, a minimum on the edge of the grid of centres):
// UTF-8 texts, each written after the file's last line as a line of its own,
// "Note: " and the text in code page 874, a line break inside a text becoming
// a blank. With no notes the file is exactly the layout above. A character
// the code page lacks raises FileError, and no file is written.
void WriteResultFile(Project& project, const std::filesystem::path& path, int threads = 1,
                     const std::vector<std::string>& notes = {});

}  // namespace pelodyn
