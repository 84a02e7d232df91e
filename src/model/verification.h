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
// lines are Thai in both languages; only the two OK lines are English. After
// them, a warning in the project's language for each stretch where a
// boundary line rises above the ground surface (LinesAboveGround): such a
// section still runs, so it is not refused. A conversion error of the
// collection propagates.
std::vector<std::string> VerifyData(Project& project, PlatformServices& platform);

// A stretch x from..to (grid units, from < to) where boundary line `line`
// (1-based) lies above the ground surface, the last line.
struct LineAboveGround {
  int line = 0;
  double xFrom = 0.0, xTo = 0.0;
};

// Every stretch where a boundary line below the ground surface rises above
// it, by line and then by x; stretches of one line that touch are one.
// Lines that touch the surface or run along it are fine. Reads the
// collected lines (LineX, LineY, LinePointCount), each taken as a function
// of x over the x range both lines span; empty when there are fewer than
// two lines or the collection left them incomplete.
std::vector<LineAboveGround> LinesAboveGround(const AnalysisModel& model);

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
