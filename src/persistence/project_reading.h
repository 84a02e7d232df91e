// What the two project readers do around their reading, and what the two
// writers do before writing.
#pragma once

#include <filesystem>

#include "model/collection.h"
#include "model/project.h"
#include "persistence/text_file.h"

namespace pelodyn {

// ProjectLoading is 1 while a reader runs; the rows it appends go into one
// transaction that is kept however the reading ends, so a file that fails
// half-way leaves what was read before the failure.
class ProjectReading {
 public:
  explicit ProjectReading(Project& project) : m_project(project), m_transaction(*project.store) {
    m_project.ProjectLoading = 1;
  }
  ~ProjectReading() {
    try {
      m_transaction.commit();
    } catch (...) {
    }
    m_project.ProjectLoading = 0;
  }
  ProjectReading(const ProjectReading&) = delete;
  ProjectReading& operator=(const ProjectReading&) = delete;

  // A read that found the end of the file before the layout's last entry
  // leaves a project that only looks complete: it is an error.
  static void CheckComplete(const LayoutReader& reader, const std::filesystem::path& path) {
    if (reader.endedEarly()) {
      throw FileError("The file \"" + path.string() +
                      "\" ends before its last entry: it is truncated or damaged, and the project read from it is "
                      "incomplete.");
    }
  }

 private:
  Project& m_project;
  StoreTransaction m_transaction;
};

// The water in the tension crack as a save writes it.
struct CrackWater {
  double percent;
  double unitWeight;
};

// Collects the project for a save. Values that the collection reads only
// while their feature is in use come from their controls, so that nothing of
// an earlier project or an earlier setting is saved in their place.
inline CrackWater CollectForSaving(Project& project, PlatformServices& platform) {
  CollectAnalysisData(project, platform);
  ReadCentreGrid(project);
  const AnalysisModel& m = project.model;
  if (m.TensionCrackEnabled) return {m.TensionCrackWaterPercent, m.TensionCrackWaterUnitWeight};
  return {project.options.readReal("E_Percent_Water"), project.options.readReal("E_Water_Unit_Weight")};
}

}  // namespace pelodyn
