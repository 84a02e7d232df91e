// The whole run as a user makes it: the built pelodyn-cli analyses a project
// file (read, search, .pdr, JSON line), timed from the start of the process
// to its end. On two grids of the homogeneous example (61 x 61 centres with
// 20 circles, and 182 x 182 centres with 30 circles, nearly a million
// trials), and on 61 x 61 centres with 20 circles of the layered example
// (three soils, a phreatic line and loads), it measures one process at 1 thread and at 2 threads, and two
// single-thread processes started together on two copies of the file. From
// these: the gain of 2 threads (t1 / t2), the machine's capacity
// (2 t1 / t of the two processes) and the share of that capacity the threads
// reach ((t1 / t2 - 1) / (capacity - 1)); and the peak memory of a run.
// Beside them, the trials alone: the same circles analysed in this process
// one after the other, with nothing kept, so that the share of a 1-thread
// run spent outside the trials is (t1 - trials) / t1 (goal: at most 10 %).
//
//   whole_run_bench [rounds]   (default 3; the best round of each figure)
//
// Goal: the threads reach at least 90 % of the capacity. On a machine that
// is busy with other work the figures are noisy.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "engine/slip_surface.h"
#include "model/collection.h"
#include "persistence/project_file.h"
#include "persistence/sqlite_store.h"

namespace {

namespace fs = std::filesystem;

struct Grid {
  const char* name;
  const char* example;        // in examples/
  const char* divisionsLine;  // the example's own divisions, as the file has them
  int divisions;              // on both sides: divisions + 1 centres a side
  int circles;
};

constexpr Grid kGrids[] = {{"grid-61x61x20", "homogeneous-grid.pdd", "6         6\r", 60, 20},
                           {"grid-182x182x30", "homogeneous-grid.pdd", "6         6\r", 181, 30},
                           {"layered-61x61x20", "layered-phreatic-loads.pdd", "8         8\r", 60, 20}};

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "whole_run_bench: %s\n", what.c_str());
  std::exit(1);
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("cannot read " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) Fail("cannot write " + path.string());
}

// The example with its grid of centres and its number of circles replaced.
// The file keeps the layout it was written with: the divisions on one line
// (the second in a field of 10), the number of circles seven lines above
// them, after the choice of circles by number (0).
std::string WithGrid(const std::string& example, const Grid& grid) {
  std::vector<std::string> lines;
  std::istringstream in(example);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  const std::string divisionsLine = grid.divisionsLine;
  const auto at = std::find(lines.begin(), lines.end(), divisionsLine);
  const auto d = static_cast<std::size_t>(at - lines.begin());
  if (at == lines.end() || d < 8 || lines[d - 7] != "10\r" || lines[d - 8] != "0\r") {
    Fail("the example's grid is not where this benchmark expects it");
  }
  char divisions[32];
  std::snprintf(divisions, sizeof divisions, "%d%10d\r", grid.divisions, grid.divisions);
  lines[d] = divisions;
  lines[d - 7] = std::to_string(grid.circles) + "\r";
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

struct Child {
  pid_t pid;
  std::chrono::steady_clock::time_point start;
};

// Starts `pelodyn-cli analyse --json --quiet --threads N file`, its JSON line
// into file.json beside it.
Child Start(const fs::path& file, int threads) {
  const std::string json = fs::path(file).replace_extension(".json").string();
  const std::string threadText = std::to_string(threads);
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid < 0) Fail("fork failed");
  if (pid == 0) {
    const int out = open(json.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0) _exit(126);
    dup2(out, STDOUT_FILENO);
    close(out);
    execl(PELODYN_CLI, PELODYN_CLI, "analyse", "--json", "--quiet", "--threads", threadText.c_str(), file.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  return {pid, start};
}

struct Finished {
  double seconds;
  long peakKilobytes;
};

Finished Wait(const Child& child, const fs::path& file) {
  int status = 0;
  rusage usage{};
  if (wait4(child.pid, &status, 0, &usage) != child.pid) Fail("wait failed");
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - child.start).count();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) Fail("pelodyn-cli failed on " + file.string());
  const std::string json = ReadFile(fs::path(file).replace_extension(".json"));
  if (json.find("\"ok\":true") == std::string::npos) Fail("the run of " + file.string() + " did not complete");
  return {seconds, usage.ru_maxrss};
}

Finished RunOne(const fs::path& file, int threads) {
  return Wait(Start(file, threads), file);
}

// Both files at once, one thread each: the time until both have ended.
double RunTwo(const fs::path& a, const fs::path& b) {
  const auto start = std::chrono::steady_clock::now();
  const Child first = Start(a, 1), second = Start(b, 1);
  Wait(first, a);
  Wait(second, b);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The grid's circles analysed one after the other as the grid search
// places them (corner 1 + f x side 2-3 + j x side 1-2, each fan stepping
// down from its largest radius), timed from the first trial to the last.
double TrialsAlone(const fs::path& file) {
  using namespace pelodyn;
  Project project(SqliteWorkingStore::OpenInMemory());
  SilentPlatform silent;
  ReadAnyProjectFile(project, silent, file);
  CollectAnalysisData(project, silent);
  AnalysisModel md = project.model;
  SliceSet slices;
  const double x1 = md.GridCornerX[0], y1 = md.GridCornerY[0];
  const double d12x = (md.GridCornerX[1] - x1) / md.GridDivision12, d12y = (md.GridCornerY[1] - y1) / md.GridDivision12;
  const double d23x = (md.GridCornerX[2] - md.GridCornerX[1]) / md.GridDivision23;
  const double d23y = (md.GridCornerY[2] - md.GridCornerY[1]) / md.GridDivision23;
  double sum = 0.0;
  const auto start = std::chrono::steady_clock::now();
  for (int f = 0; f <= md.GridDivision23; ++f) {
    for (int j = 0; j <= md.GridDivision12; ++j) {
      const double xc = x1 + f * d23x + j * d12x, yc = y1 + f * d23y + j * d12y;
      double maxRadius = 0.0, minRadius = 0.0;
      CircleRadiusRange(md, xc, yc, maxRadius, minRadius);
      const double step = (maxRadius - minRadius) / md.CircleCount;
      md.TrialRadius = maxRadius;
      for (int i = 0; i < md.CircleCount && md.TrialRadius > minRadius; ++i, md.TrialRadius -= step) {
        AnalyseSlipSurface(md, xc, yc, slices);
        sum += slices.FsBishop;
      }
    }
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!(sum > 0.0)) Fail("the trials gave no factors");
  return seconds;
}

void Measure(const fs::path& folder, const Grid& grid, int rounds) {
  const std::string example = ReadFile(fs::path(PELODYN_EXAMPLES) / grid.example);
  const fs::path a = folder / (std::string(grid.name) + "-a.pdd");
  const fs::path b = folder / (std::string(grid.name) + "-b.pdd");
  const std::string text = WithGrid(example, grid);
  WriteFile(a, text);
  WriteFile(b, text);
  const long centres = static_cast<long>(grid.divisions + 1) * (grid.divisions + 1);
  std::printf("%s: %d x %d centres x %d circles (%ld trials)\n", grid.example, grid.divisions + 1, grid.divisions + 1,
              grid.circles, centres * grid.circles);
  std::fflush(stdout);

  double t1 = 1e300, t2 = 1e300, two = 1e300, trials = 1e300;
  long peak1 = 0, peak2 = 0;
  bool identical = true;
  const fs::path result = fs::path(a).replace_extension(".pdr");
  for (int r = 0; r < rounds; ++r) {
    const Finished one = RunOne(a, 1);
    const std::string oneResult = ReadFile(result);
    const Finished twoThreads = RunOne(a, 2);
    identical = identical && ReadFile(result) == oneResult;
    t1 = std::min(t1, one.seconds);
    t2 = std::min(t2, twoThreads.seconds);
    peak1 = std::max(peak1, one.peakKilobytes);
    peak2 = std::max(peak2, twoThreads.peakKilobytes);
    two = std::min(two, RunTwo(a, b));
    trials = std::min(trials, TrialsAlone(a));
  }
  const double gain = t1 / t2;
  const double capacity = 2.0 * t1 / two;
  std::printf("  one process, 1 thread        %8.3f s\n", t1);
  std::printf("  one process, 2 threads       %8.3f s\n", t2);
  std::printf("  two processes at once        %8.3f s   (1 thread each)\n", two);
  std::printf("  gain of 2 threads (t1/t2)    %8.2f x\n", gain);
  std::printf("  machine's capacity           %8.2f x   (2 t1 / two processes)\n", capacity);
  if (capacity > 1.0) {
    std::printf("  share of capacity reached    %8.0f %%   (goal 90 %%)\n", 100.0 * (gain - 1.0) / (capacity - 1.0));
  } else {
    std::printf("  share of capacity reached         -     (no capacity to share)\n");
  }
  std::printf("  the trials alone             %8.3f s   (in this process, 1 thread)\n", trials);
  std::printf("  outside the trials, 1 thread %8.1f %%   (goal at most 10 %%)\n", 100.0 * (t1 - trials) / t1);
  std::printf("  peak memory, 1 thread        %8.1f MB\n", static_cast<double>(peak1) / 1024.0);
  std::printf("  peak memory, 2 threads       %8.1f MB\n", static_cast<double>(peak2) / 1024.0);
  std::printf("  .pdr at 1 and 2 threads      %s\n", identical ? "identical" : "DIFFERENT");
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  std::string pattern = (fs::temp_directory_path() / "whole_run_bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) Fail("cannot make a temporary folder");
  const fs::path folder = pattern;
  std::printf("whole_run_bench: pelodyn-cli analyse on whole files (read, search, .pdr, JSON), best of %d rounds\n",
              rounds);
  for (const Grid& grid : kGrids) Measure(folder, grid, rounds);
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return 0;
}
