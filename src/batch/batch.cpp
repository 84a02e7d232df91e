#include "batch/batch.h"

#include <chrono>

#include "engine/search.h"
#include "engine/slip_surface.h"
#include "model/numbers.h"
#include "model/verification.h"
#include "persistence/folders.h"
#include "persistence/project_file.h"
#include "persistence/result_file.h"
#include "persistence/sqlite_store.h"
#include "persistence/text_file.h"

namespace pelodyn {
namespace {

Polyline Points(const std::vector<double>& x, const std::vector<double>& y, std::size_t count) {
  Polyline out;
  for (std::size_t i = 0; i < count && i < x.size() && i < y.size(); ++i) out.emplace_back(x[i], y[i]);
  return out;
}

// The surface of each method's minimum: the chords of its circle, analysed
// again, or its best irregular surface.
void DescribeMinima(Project& project, FileReport& report) {
  const AnalysisModel& m = project.model;
  const bool selected[4] = {m.UseOrdinary != 0, m.UseSimplifiedJanbu != 0, m.UseSimplifiedBishop != 0,
                            m.UseSpencer != 0};
  double lowest = 0.0;
  for (int method = Ordinary; method <= Spencer; ++method) {
    const MethodMinimum& min = project.run.Minimum[static_cast<std::size_t>(method)];
    MethodReport& out = report.minima[static_cast<std::size_t>(method)];
    out.selected = selected[method];
    out.fs = min.Fs;
    if (m.AnalysisTheory == 1 && min.Radius != 0.0) {
      out.x = min.CenterX;
      out.y = min.CenterY;
      out.r = min.Radius;
      out.entry = std::pair{min.EntryX, min.EntryY};
      out.exit = std::pair{min.ExitX, min.ExitY};
      AnalysisModel circle = m;
      circle.TrialRadius = min.Radius;
      SliceSet slices;
      AnalyseSlipSurface(circle, min.CenterX, min.CenterY, slices);
      out.surface = Points(slices.SlipX, slices.SlipY, static_cast<std::size_t>(slices.SlipPointCount));
    } else if (m.AnalysisTheory == 2) {
      const auto& bx = project.run.BestSurfaceX[static_cast<std::size_t>(method)];
      const auto& by = project.run.BestSurfaceY[static_cast<std::size_t>(method)];
      if (m.NonCirSearchKind == 1 && !bx.empty()) {
        out.surface = Points(bx, by, bx.size());
      } else if (m.NonCirSearchKind == 0) {
        out.surface = Points(m.NonCirX, m.NonCirY, static_cast<std::size_t>(m.NonCirPointCount));
      }
      if (!out.surface.empty()) {
        out.x = min.CenterX;
        out.y = min.CenterY;
        out.entry = out.surface.front();
        out.exit = out.surface.back();
      }
    }
    if (selected[method] && !out.surface.empty() && (report.criticalSurface.empty() || min.Fs < lowest)) {
      report.criticalSurface = out.surface;
      lowest = min.Fs;
    }
  }
}

}  // namespace

FileReport AnalyseProjectFile(const std::filesystem::path& file, PlatformServices& platform, int threads) {
  const auto start = std::chrono::steady_clock::now();
  FileReport report;
  report.file = file.string();
  try {
    Project project(SqliteWorkingStore::OpenInMemory());
    project.BatchMode = 1;
    ReadAnyProjectFile(project, platform, file);
    report.projectName = project.options.text("E_Project_Name");
    project.run.StopRequested = 0;
    RunOptions options;
    options.threads = threads;
    const RunResult run = RunAnalysis(project, platform, options);
    const AnalysisModel& m = project.model;
    report.theory = m.AnalysisTheory;
    report.search = m.AnalysisTheory == 2 ? m.NonCirSearchKind : m.CircularSearchKind;
    report.surfaces = project.run.SurfaceCount;
    report.rejected = project.run.ResultCodeCount;
    if (run.outcome == RunOutcome::Complete) {
      DescribeMinima(project, report);
      WriteResultFile(project, MakeResultFilePath(file.string()));
      report.ok = true;
    } else {
      report.error = run.message.empty() ? "The analysis was not run." : run.message;
    }
  } catch (const std::exception& e) {
    report.ok = false;
    report.error = e.what();
  }
  report.elapsedSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return report;
}

namespace {

std::string Right(const std::string& text, std::size_t width) {
  const std::size_t chars = CharacterCount(text);
  return chars >= width ? text : std::string(width - chars, ' ') + text;
}

// The first n characters of a UTF-8 text.
std::string First(const std::string& text, std::size_t n) {
  std::size_t count = 0, i = 0;
  for (; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      if (count == n) break;
      ++count;
    }
  }
  return text.substr(0, i);
}

std::string F(double x) {
  return FormatShortest(RoundHalfEven(x, 4));
}

}  // namespace

std::string SummaryText(const std::vector<FileReport>& reports) {
  std::string out;
  auto line = [&](const std::string& text) { out += text + "\r\n"; };
  line("Automatic Execute File Report");
  line(std::string(29, '='));
  line("");
  line(std::string(123, '-'));
  line(
      "|          |                    |                   |                 |              Minimum Factor of Safety "
      "            |");
  line(
      "| Case No. |    Project Name    |     File Name     | Analysis Theory "
      "|---------------------------------------------------|");
  line(
      "|          |                    |                   |                 |   FS-Ord.  |   FS-Jan.  |   FS-Bis.  "
      "|   FS-Spe.  |");
  line(std::string(123, '-'));
  for (std::size_t i = 0; i < reports.size(); ++i) {
    const FileReport& r = reports[i];
    std::string name = std::filesystem::path(r.file).filename().string();
    name = name.size() >= 4 ? name.substr(0, name.size() - 4) : std::string();
    std::string text =
        Right(std::to_string(i + 1), 7) + Right(First(r.projectName, 18), 24) + Right(First(name, 17), 20);
    if (!r.ok) {
      text += Right("Failed", 17) + "  " + r.error;
    } else {
      if (r.theory == 1) text += Right("  Circular  ", 17);
      if (r.theory == 2) text += Right("Non-Circular", 17);
      text += Right(F(r.minima[0].fs), 12) + Right(F(r.minima[1].fs), 13) + Right(F(r.minima[2].fs), 13) +
              Right(F(r.minima[3].fs), 13);
    }
    // A message may hold line breaks; the summary keeps one line per file.
    for (char& c : text) {
      if (c == '\r' || c == '\n') c = ' ';
    }
    line(text);
  }
  line(std::string(123, '='));
  return out;
}

void WriteSummaryFile(const std::filesystem::path& path, const std::vector<FileReport>& reports) {
  const std::string text = SummaryText(reports);
  // Characters the Thai code page lacks (in a file name, say) become '?'
  // rather than losing the whole summary.
  std::string bytes;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t len = 1;
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0xF0) {
      len = 4;
    } else if (c >= 0xE0) {
      len = 3;
    } else if (c >= 0xC0) {
      len = 2;
    }
    const std::string_view piece(text.data() + i, std::min(len, text.size() - i));
    try {
      bytes += Utf8ToCp874(piece, "the summary");
    } catch (const FileError&) {
      bytes += '?';
    }
    i += piece.size();
  }
  WriteFileReplacing(path, bytes);
}

std::filesystem::path DefaultSummaryPath() {
  return TempFolder() / "sum_of_result.txt";
}

}  // namespace pelodyn
