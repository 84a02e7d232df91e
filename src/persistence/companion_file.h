// The project's companion file (NAME.pdx beside NAME.pdd): what a project
// holds that the project file's fixed layout has no room for.
//
//  - Option values the project file leaves out or writes otherwise (the
//    unit weight of water without seepage, say), by control name, so that
//    every value typed is back after Save and Open.
//  - The root tables of the vegetation calculator and its backup of the
//    soil properties: they belong to the project.
//  - The stamp of the results saved beside the project: the fingerprint of
//    the data they came from (model/data_fingerprint.h), the run's kind and
//    outcome, its minima at full precision and the size of the result file
//    written with them. Open shows the result file's results only when the
//    stamp's fingerprint is that of the data read.
//
// JSON, {"format": "pelodyn-companion", "version": 1, ...}; docs/ holds its
// schema. Keys this version does not know are kept as they were on the next
// save; a newer version is refused with a message. A file that holds
// nothing is not written.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/options.h"
#include "model/project.h"
#include "model/run_state.h"
#include "model/working_store.h"

namespace pelodyn {

inline constexpr int kCompanionVersion = 1;

// The companion of a project file: its name with the ending ".pdx" in place
// of ".pdd" (as the result file's is made).
std::filesystem::path CompanionFilePath(const std::string& projectFilePath);

// The results saved with the project and what they came from.
struct ResultsStamp {
  std::uint64_t fingerprint = 0;
  int theory = 1;  // AnalysisTheory of the run
  std::array<bool, kMethodCount> methods{};
  bool partial = false;  // a stopped run
  long trialsDone = 0, trialsTotal = 0;
  // The run's warnings: method and edge of the grid of centres (0 lower,
  // 1 upper, 2 left, 3 right).
  std::vector<std::pair<int, int>> warnings;
  std::array<MethodMinimum, kMethodCount> minima{};
  std::array<std::vector<double>, kMethodCount> bestSurfaceX{}, bestSurfaceY{};
  double maxRadius = 0.0, minRadius = 0.0;
  // Bytes of the result file written with the stamp: a result file of
  // another size is not the one the stamp speaks of.
  std::uintmax_t resultFileSize = 0;
  bool operator==(const ResultsStamp&) const = default;
};

// The stamp of the results `project` holds now (its run state's minima,
// best surfaces and radii) with what the caller knows of the run.
ResultsStamp StampOfRun(const Project& project, std::uint64_t fingerprint, int theory,
                        const std::array<bool, kMethodCount>& methods, bool partial, long trialsDone, long trialsTotal,
                        std::vector<std::pair<int, int>> warnings);

struct Companion {
  // The fingerprint of the data the project file gave when the values
  // beyond it were recorded: they are put back only into that data, so a
  // project file changed since by other means keeps its own values.
  std::optional<std::uint64_t> fileFingerprint;
  // Option values by control name: an edit box's text, a choice's index, a
  // check box's state (1 or 0), as OptionControls() says of its kind.
  std::map<std::string, std::string> optionTexts;
  std::map<std::string, int> optionIndexes;
  // Whole tables, their rows in order: the root tables and Soil_Prop_Bak,
  // and an input table whose values the project file rounds.
  std::map<Table, std::vector<Row>> tables;
  std::optional<ResultsStamp> results;
  // The keys this version does not know, as JSON text of one object.
  std::string otherKeys = "{}";

  // True when there is anything to write.
  bool holdsData() const;
  bool operator==(const Companion&) const = default;
};

// The tables that belong to the project but not to its file (the root
// tables and the vegetation backup): the companion always carries them.
const std::vector<Table>& CompanionTables();

// Records in `companion`, in place of what it held, what the project file
// cannot give back: the companion tables of `project`, and the option
// values and input tables of `project` that differ from `saved` (the
// project file just written, read back).
void RecordBeyondFile(Companion& companion, Project& project, Project& saved);
// Puts the companion into `project`, just read from its project file: the
// companion tables always, the option values and input tables only when
// the project file still gives the data they were recorded with. False when
// they were left out for that reason.
bool ApplyCompanion(const Companion& companion, Project& project);

// Reads the companion beside the project file `projectFile`, when there is
// one, and puts it into `project` (just read from that file) as
// ApplyCompanion does. A damaged companion raises FileError naming it.
void ApplyCompanionBeside(Project& project, const std::filesystem::path& projectFile);

// Records `stamp` (or, when empty, no results) in the companion beside the
// project file `projectFile`, keeping everything else it holds; a
// companion left with nothing is removed. After a result file was written
// beside the project by another front end than the desktop's Save.
void RecordResultsBeside(const std::filesystem::path& projectFile, const std::optional<ResultsStamp>& stamp);

// The file's text (UTF-8 JSON, LF line ends, keys in a fixed order).
std::string CompanionText(const Companion& companion);
// Reads the file; FileError names the file and what is wrong with it.
Companion ReadCompanionFile(const std::filesystem::path& path);
// Parses the text of a companion file; FileError names `name` when the text
// is damaged or of a newer version.
Companion ParseCompanion(const std::string& text, const std::string& name);
// Writes the file, replacing an old one only once the new one is complete.
void WriteCompanionFile(const Companion& companion, const std::filesystem::path& path);

}  // namespace pelodyn
