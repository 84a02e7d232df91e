// Analysing project files unattended: one file at a time into a private
// project (read, run, result file), and the summary of a list of them.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/search.h"
#include "model/platform.h"

namespace pelodyn {

using Polyline = std::vector<std::pair<double, double>>;

// What a run found for one method. Circles carry their centre and radius;
// an irregular surface its moment centre and no radius.
struct MethodReport {
  bool selected = false;
  double fs = 0.0;
  std::optional<double> x, y, r;
  std::optional<std::pair<double, double>> entry, exit;
  Polyline surface;  // the circle's chords, or the irregular surface
};

struct FileReport {
  std::string file;
  bool ok = false;
  // The batch was stopped before this file's run ended: its result file was
  // left as it was, and `error` says so.
  bool stopped = false;
  std::string error;  // the message of a file that failed or was stopped
  std::string projectName;
  int theory = -1;
  int search = -1;  // circular or irregular search kind, by theory
  long surfaces = 0;
  std::map<int, long> rejected;
  std::array<MethodReport, 4> minima;
  Polyline criticalSurface;  // of the selected method with the lowest factor
  double elapsedSeconds = 0.0;
  std::vector<RunWarning> warnings;  // of a complete run (RunResult::warnings)
  // Why the result file could not be written (the error's text, naming the
  // file); empty when it was written or none was due. The run's own report
  // (`ok`, the minima) stands either way.
  std::string resultFileError;
  // Warnings already in words (read back from a JSON line, say), each on a
  // line of its own after those of `warnings`.
  std::vector<std::string> warningTexts;
};

// What a batch run takes besides the file: the language of the messages and
// of the words of result codes (as the settings file says), and the
// moving-centre listing, whose settings no project file holds.
struct BatchOptions {
  std::uint8_t language = 1;  // 0 Thai, 1 English
  // When set, a project of the irregular theory with a specific surface
  // writes the moving-centre listing here instead of searching: the work
  // area (grid units) walked by the steps, and the bounds of its zones.
  std::filesystem::path movingCentreFile;
  double movingCentreStepX = 1.0, movingCentreStepY = 1.0;
  double boundLeft = 0.0, boundRight = 0.0;
  std::optional<std::array<double, 4>> workArea;  // x min, x max, y min, y max
  // Threads the search and the writing of the result file use
  // (RunOptions::threads; the results are the same for any number).
  int threads = 1;
  // Method choices given for the whole batch, over each project's own.
  std::optional<bool> robustSpencer;
  // The batch's stop request, read between trials (the caller owns it and
  // may set it from any thread). Once it is set, the file being analysed
  // stops after its current trial and keeps its old result file, and no
  // further file is read.
  const std::atomic<bool>* stop = nullptr;
};

// Reads `file` (either version) into a project of its own with a private
// working store, runs the analysis in batch mode and writes the result file
// beside it: after every run of a file that could be read, with what the run
// left (a refused run: its minima as they were reset, kNoFactor); a file that
// cannot be read gets none. A refused run reports the message the user
// would have seen; a run in which no trial surface of any selected method
// got a factor fails with "no admissible slip surface" and the count of each
// rejection reason in words. Messages of the run go to `platform`. Never
// throws: a failure is reported in the FileReport; a result file that
// cannot be written is reported in its `resultFileError` and changes nothing
// else. The result file's notes are the reason a run gave no answer (a
// refusal, a failure, no admissible surface) and the run's warnings, one
// line per edge of the grid naming its methods as the desktop program
// writes them, in `options.language`. A stop request (see BatchOptions::stop) gives a report
// with `stopped` set and writes no result file.
FileReport AnalyseProjectFile(const std::filesystem::path& file, PlatformServices& platform,
                              const BatchOptions& options = {});

// Analyses `files` one after the other in list order, each as
// AnalyseProjectFile does; a file that fails does not end the batch.
// `done`, when given, is called after each file on the calling thread with
// its position and report. After a stop request every file not yet
// completed gets a stopped report and is not touched.
std::vector<FileReport> AnalyseProjectFiles(
    const std::vector<std::filesystem::path>& files, PlatformServices& platform, const BatchOptions& options = {},
    const std::function<void(std::size_t index, const FileReport& report)>& done = {});

// "no admissible slip surface: of N surfaces, n with '<reason>', ..." in
// `language`, from the surface count and the result code counts of a run.
std::string NoAdmissibleSurfaceMessage(std::uint8_t language, long surfaces, const std::map<int, long>& rejected);

// The summary of a list of runs, in list order: the header, one line per
// file and the closing line. A file that failed gets a line that says so;
// each warning of a file follows its line as a line of its own,
// "          Warning: " and the warning in `language` (0 Thai, 1 English),
// and so does a result file that could not be written. Columns are counted
// in display width (SummaryDisplayWidth), so Thai names line up. The file
// name column is 17 wide; when a name is longer, the column (and the table
// with it) widens to the longest name, so no two files look alike.
std::string SummaryText(const std::vector<FileReport>& reports, std::uint8_t language = 1);
// Writes the summary (code page 874, CR LF), replacing the file.
void WriteSummaryFile(const std::filesystem::path& path, const std::vector<FileReport>& reports,
                      std::uint8_t language = 1);
// Writes a summary text (UTF-8 with CR LF line ends) in code page 874,
// replacing the file; a character the code page lacks becomes '?'.
void WriteSummaryText(const std::filesystem::path& path, const std::string& text);
// What the report window shows of a summary: the text from its fourth line
// on (the table without the title, its underline and the blank line).
std::string SummaryReportText(const std::string& summary);
// The columns a UTF-8 text takes in a fixed-pitch font: one per character,
// none for a combining mark (the Thai vowels and tone marks written above
// or below a consonant, the Latin combining accents, zero-width spaces).
std::size_t SummaryDisplayWidth(std::string_view utf8);
// sum_of_result.txt in the system's temporary folder.
std::filesystem::path DefaultSummaryPath();

}  // namespace pelodyn
