// Whole-project operations: the check list of Verify Data, emptying the
// working tables, and the model side of New Project.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/platform.h"
#include "model/project.h"

namespace pelodyn {

// Runs the collection (its messages appear as usual) and returns the lines of
// the check list, in order, whatever the collection concluded. The check
// lines are Thai in both languages; only the two OK lines are English. A
// conversion error of the collection propagates.
std::vector<std::string> VerifyData(Project& project, PlatformServices& platform);

// Empties every working table of a project that holds rows; the root tables
// of the vegetation calculator keep theirs. One transaction.
void EmptyWorkingTables(WorkingStore& store);

// New Project without its window steps: the working tables emptied, every
// option value back at its default, the theory and method choices and the
// model values reset, `readSettings` (the settings file, when the caller has
// one) applied, and the work area and scales reset whatever the settings
// said. ProjectLoading is 1 while it runs and 0 afterwards, also on failure.
void NewProject(Project& project, const std::function<void(Project&)>& readSettings = {});

}  // namespace pelodyn
