// A bundled example read into a document's project and analysed, as the
// results windows' tests start from it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "engine/search.h"
#include "model/verification.h"
#include "persistence/project_file.h"
#include "ui/document/project_document.h"

namespace pelodyn::testing {

inline std::unique_ptr<ProjectDocument> RunExample(const char* name) {
  auto document = ProjectDocument::openPrivate();
  Project* project = &document->projectForAnalysis();
  SilentPlatform silent;
  NewProject(*project);
  ReadAnyProjectFile(*project, silent, std::filesystem::path(PELODYN_EXAMPLES) / name);
  project->run.StopRequested = 0;
  const RunResult result = RunAnalysis(*project, silent);
  EXPECT_EQ(result.outcome, RunOutcome::Complete) << result.message;
  return document;
}

}  // namespace pelodyn::testing
