// Reading a result file back: the tables it lists, for a project reopened
// with the results saved beside it. The minima at full precision come from
// the companion file's stamp; the file gives what only it holds, the
// Results rows of a circular run (three decimals, as written) and the
// critical surfaces of an irregular one.
#pragma once

#include <filesystem>

#include "model/working_store.h"

namespace pelodyn {

// Empties Results and the three NonCirSlip tables and fills them from the
// result file at `path`, in one transaction. A file that is not a result
// file, or whose rows do not read as numbers, raises FileError naming the
// file and the line; the tables are then left empty.
void ReadResultFileTables(WorkingStore& store, const std::filesystem::path& path);

}  // namespace pelodyn
