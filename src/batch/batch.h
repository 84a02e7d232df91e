// Analysing project files unattended: one file at a time into a private
// project (read, run, result file), and the summary of a list of them.
#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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
  std::string error;  // the message of a file that failed
  std::string projectName;
  int theory = -1;
  int search = -1;  // circular or irregular search kind, by theory
  long surfaces = 0;
  std::map<int, long> rejected;
  std::array<MethodReport, 4> minima;
  Polyline criticalSurface;  // of the selected method with the lowest factor
  double elapsedSeconds = 0.0;
};

// Reads `file` (either version) into a project of its own with a private
// working store, runs the analysis in batch mode and writes the result file
// beside it. Messages of the run go to `platform`. The searches use
// `threads` threads (RunOptions::threads; the results are the same for any
// number). Never throws: a failure is reported in the FileReport.
FileReport AnalyseProjectFile(const std::filesystem::path& file, PlatformServices& platform, int threads = 1);

// The summary of a list of runs, in list order: the header, one line per
// file and the closing line. A file that failed gets a line that says so.
std::string SummaryText(const std::vector<FileReport>& reports);
// Writes the summary (code page 874, CR LF), replacing the file.
void WriteSummaryFile(const std::filesystem::path& path, const std::vector<FileReport>& reports);
// sum_of_result.txt in the system's temporary folder.
std::filesystem::path DefaultSummaryPath();

}  // namespace pelodyn
