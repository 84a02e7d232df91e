// What the two project readers do around their reading, and what the two
// writers do before writing.
#pragma once

#include <filesystem>
#include <string>
#include <utility>

#include "model/collection.h"
#include "model/project.h"
#include "persistence/sqlite_store.h"
#include "persistence/text_file.h"

namespace pelodyn {

// The message of a file that ends before the layout's last entry.
inline std::string EndsEarlyMessage(const std::filesystem::path& path) {
  return "The file \"" + path.string() +
         "\" ends before its last entry: it is truncated or damaged, and the project read from it is incomplete.";
}

// A reader over the bytes of a project file: a read that finds the end of
// the file ends the reading at once with EndsEarlyMessage.
inline LayoutReader ProjectLayoutReader(std::string bytes, const std::filesystem::path& path) {
  return LayoutReader(std::move(bytes), EndsEarlyMessage(path));
}

// Reads a project file with `read` into a scratch project (a private
// in-memory store, and a copy of the option values and the model), and only
// when the whole file was read moves what it read into `project`: the rows
// are appended to its tables in one transaction, its option values and
// model are replaced and ProjectFilePath set to `path`. On any error
// `project` is exactly as before. ProjectLoading is 1 while this runs.
template <typename Read>
void ReadIntoScratch(Project& project, const std::filesystem::path& path, Read&& read) {
  struct Loading {
    explicit Loading(Project& p) : p(p) { p.ProjectLoading = 1; }
    ~Loading() { p.ProjectLoading = 0; }
    Project& p;
  };
  Loading loading(project);
  Project scratch(SqliteWorkingStore::OpenInMemory());
  scratch.options = project.options;
  scratch.model = project.model;
  scratch.drawing = project.drawing;
  scratch.settings = project.settings;
  scratch.BatchMode = project.BatchMode;
  {
    Loading scratchLoading(scratch);
    StoreTransaction transaction(*scratch.store);
    read(scratch);
    transaction.commit();
  }
  {
    StoreTransaction transaction(*project.store);
    for (Table table : AllTables()) {
      for (const Row& row : scratch.store->rows(table)) project.store->append(row);
    }
    transaction.commit();
  }
  project.options = std::move(scratch.options);
  project.model = std::move(scratch.model);
  project.ProjectFilePath = path.string();
}

// The readers of the two layouts over a file's bytes, into a project whose
// working tables are empty; `path` names the file in messages.
void ReadProjectBytes(Project& project, const std::string& bytes, const std::filesystem::path& path);
void ReadLegacyProjectBytes(Project& project, PlatformServices& platform, const std::string& bytes,
                            const std::filesystem::path& path);

// The water in the tension crack as a save writes it.
struct CrackWater {
  double percent;
  double unitWeight;
};

// Collects the project for a save. Values that the collection reads only
// while their feature is in use come from their controls, so that nothing of
// an earlier project or an earlier setting is saved in their place.
inline CrackWater CollectForSaving(Project& project, PlatformServices& platform) {
  CollectAnalysisData(project, platform, CollectionPurpose::Save);
  ReadCentreGrid(project);
  const AnalysisModel& m = project.model;
  if (m.TensionCrackEnabled) return {m.TensionCrackWaterPercent, m.TensionCrackWaterUnitWeight};
  return {project.options.readReal(Option::E_Percent_Water), project.options.readReal(Option::E_Water_Unit_Weight)};
}

}  // namespace pelodyn
