// One project: the working tables, the option values, the analysis model and
// the drawing settings, with the shared flags that belong to them. Every
// operation of the core takes the project it works on; there is no other
// process-wide state.
#pragma once

#include <cstdint>
#include <experimental/propagate_const>
#include <memory>
#include <string>

#include "model/analysis_model.h"
#include "model/app_settings.h"
#include "model/options.h"
#include "model/run_state.h"
#include "model/slice_set.h"
#include "model/working_store.h"

namespace pelodyn {

struct Project {
  explicit Project(std::unique_ptr<WorkingStore> workingStore) : store(std::move(workingStore)) {}

  // A const project gives only the store's const reads: a window that holds
  // the document's read-only project cannot write the working tables.
  std::experimental::propagate_const<std::unique_ptr<WorkingStore>> store;
  OptionValues options;
  AnalysisModel model;
  DrawingSettings drawing;
  AppSettings settings;
  // The slices of the surface analysed last.
  SliceSet slices;
  // The flags, counters and minima of the last run.
  RunState run;

  // Full path of the current project file; empty for a new project.
  std::string ProjectFilePath;
  // 1 while a project file is read or New Project runs: no redraws, and
  // appended soil rows get no default colour.
  std::uint8_t ProjectLoading = 0;
  // 1 while the batch runner works: no dialogs, no drawing.
  std::uint8_t BatchMode = 0;
};

// Appends a row to Soil_Prop or Aniso. Outside project loading its "Color" is
// set to the default colour of the soil number the row gets by position
// (row count + 1), as a soil added in the grid gets its colour.
void AppendSoilRow(Project& project, Row row);

}  // namespace pelodyn
