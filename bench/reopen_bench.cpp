// Reopening a project with a million Results rows saved beside it, as the
// desktop program does it: the project file, its companion, the result
// file's rows read back into the store and the critical circles analysed
// again from the saved minima. The project is analysed first by the built
// command-line program, which writes the result file and stamps the
// companion. Prints the seconds of the Open (best of the rounds) and the
// peak memory of this process.
//
//   reopen_bench [rounds]
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "desktop_bench.h"

namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "reopen_bench: %s\n", what.c_str());
  std::exit(1);
}

// The homogeneous example with a grid of 182 x 182 centres and 30 circles
// each: 993,720 Results rows.
std::string BigGrid() {
  std::ifstream in(fs::path(PELODYN_EXAMPLES) / "homogeneous-grid.pdd", std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  const auto at = std::find(lines.begin(), lines.end(), "6         6\r");
  const auto d = static_cast<std::size_t>(at - lines.begin());
  if (at == lines.end() || d < 7 || lines[d - 7] != "10\r") Fail("the example's grid is not where expected");
  lines[d] = "181       181\r";
  lines[d - 7] = "30\r";
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::string pattern = (fs::temp_directory_path() / "reopen_bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) Fail("cannot make a temporary folder");
  const fs::path folder = pattern;
  const fs::path project = folder / "big.pdd";
  std::ofstream(project, std::ios::binary) << BigGrid();
  const std::string command = std::string(PELODYN_CLI) + " analyse --quiet " + project.string() + " > /dev/null";
  if (std::system(command.c_str()) != 0) Fail("pelodyn-cli analyse failed");

  pelodyn::bench::QuietPrompter prompter;
  auto document = pelodyn::ProjectDocument::openPrivate();
  pelodyn::MainWindow window(*document, prompter);
  window.resize(1400, 900);
  window.show();
  double best = 1e300;
  for (int r = 0; r < rounds; ++r) {
    window.fileCommands().runNewProject(false);
    QElapsedTimer timer;
    timer.start();
    if (!window.fileCommands().openPath(QString::fromStdString(project.string()))) Fail("the Open failed");
    QApplication::processEvents();
    best = std::min(best, static_cast<double>(timer.nsecsElapsed()) / 1e9);
    if (!document->resultsCurrent() || document->presentedSurfaces().empty()) Fail("the saved results were not shown");
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("reopen_bench: a project with %d Results rows saved beside it, best of %d\n",
              document->project().store->rowCount(pelodyn::Table::Results), rounds);
  std::printf("  Open with its results     %8.3f s\n", best);
  std::printf("  peak memory               %8.1f MB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return 0;
}
