#include "batch/batch.h"

#include <algorithm>
#include <chrono>

#include "engine/search.h"
#include "engine/slip_surface.h"
#include "model/data_fingerprint.h"
#include "model/numbers.h"
#include "model/verification.h"
#include "persistence/companion_file.h"
#include "persistence/folders.h"
#include "persistence/project_file.h"
#include "persistence/result_file.h"
#include "persistence/sqlite_store.h"
#include "persistence/text_file.h"
#include "texts/messages.h"

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

namespace {

// Passes everything on to the front end's platform and keeps the last
// message shown: the reason of a refused run. Between trials it hands the
// batch's stop request on to the project being run.
class MessageKeeper final : public PlatformServices {
 public:
  MessageKeeper(PlatformServices& inner, const std::atomic<bool>* stop) : m_inner(inner), m_stop(stop) {}
  void showMessage(MessageKind kind, std::string_view caption, std::string_view text) override {
    last = std::string(text);
    m_inner.showMessage(kind, caption, text);
  }
  bool askOkCancel(std::string_view caption, std::string_view text) override {
    const bool ok = m_inner.askOkCancel(caption, text);
    if (!ok) last = std::string(text);
    return ok;
  }
  void reportProgress(const ProgressReport& report) override {
    m_inner.reportProgress(report);
    passStop();
  }
  void processPendingEvents() override {
    m_inner.processPendingEvents();
    passStop();
  }
  void showMinima(const std::array<std::string, 4>& labels, const std::array<bool, 4>& shown) override {
    m_inner.showMinima(labels, shown);
  }
  void animateTrial(const TrialView& trial) override { m_inner.animateTrial(trial); }
  void setProgressCaption(std::string_view caption) override { m_inner.setProgressCaption(caption); }
  void closeProgressWindow() override { m_inner.closeProgressWindow(); }

  bool stopRequested() const { return m_stop && m_stop->load(); }
  void passStop() {
    if (project && stopRequested()) project->run.StopRequested = 1;
  }

  std::string last;
  Project* project = nullptr;  // the project being run, when there is one

 private:
  PlatformServices& m_inner;
  const std::atomic<bool>* m_stop;
};

std::string StoppedText(std::uint8_t language, bool started) {
  const std::uint8_t shown = language == kLanguageThai ? kLanguageThai : kLanguageEnglish;
  return std::string(CoreTextFor(shown, started ? CoreText::BatchStoppedDuring : CoreText::BatchStoppedBefore));
}

FileReport StoppedReport(const std::filesystem::path& file, std::uint8_t language, bool started) {
  FileReport report;
  report.file = file.string();
  report.stopped = true;
  report.error = StoppedText(language, started);
  return report;
}

// The notes of a result file for a run's warnings, as the desktop program
// writes them: one line per edge of the grid, naming every method whose
// minimum lies on it, so that the same project gives the same result file
// from either program.
std::vector<std::string> EdgeNotes(const std::vector<RunWarning>& warnings, std::uint8_t language) {
  std::vector<std::string> notes;
  for (int edge = 0; edge < 4; ++edge) {
    std::string methods;
    for (const RunWarning& w : warnings) {
      if (static_cast<int>(w.edge) != edge) continue;
      if (!methods.empty()) methods += ", ";
      methods += MethodName(language, w.method);
    }
    if (!methods.empty()) {
      notes.push_back(FormatText(GridEdgeWarningPattern(language), {methods, GridEdgeName(language, edge)}));
    }
  }
  return notes;
}

bool AnyFactor(const Project& project) {
  const AnalysisModel& m = project.model;
  const bool selected[4] = {m.UseOrdinary != 0, m.UseSimplifiedJanbu != 0, m.UseSimplifiedBishop != 0,
                            m.UseSpencer != 0};
  for (int method = Ordinary; method <= Spencer; ++method) {
    if (selected[method] && project.run.Minimum[static_cast<std::size_t>(method)].Fs < kNoFactor) return true;
  }
  return false;
}

}  // namespace

std::string NoAdmissibleSurfaceMessage(std::uint8_t language, long surfaces, const std::map<int, long>& rejected) {
  const std::uint8_t shown = language == kLanguageThai ? kLanguageThai : kLanguageEnglish;
  std::string text(NoAdmissibleSurfaceText(shown));
  if (surfaces == 0) return text + std::string(CoreTextFor(shown, CoreText::NoSurfaceAnalysed));
  text += FormatText(CoreTextFor(shown, CoreText::SurfacesAnalysed), {std::to_string(surfaces)});
  for (const auto& [code, count] : rejected) {
    std::string words(ResultCodeText(shown, code));
    if (words.empty()) words = "code " + std::to_string(code);
    text += FormatText(CoreTextFor(shown, CoreText::SurfacesRefused), {std::to_string(count), words});
  }
  return text;
}

FileReport AnalyseProjectFile(const std::filesystem::path& file, PlatformServices& frontEnd,
                              const BatchOptions& options) {
  const auto start = std::chrono::steady_clock::now();
  FileReport report;
  report.file = file.string();
  MessageKeeper platform(frontEnd, options.stop);
  if (platform.stopRequested()) return StoppedReport(file, options.language, false);
  try {
    Project project(SqliteWorkingStore::OpenInMemory());
    project.BatchMode = 1;
    project.model.Language = options.language;
    ReadAnyProjectFile(project, platform, file);
    ApplyCompanionBeside(project, file);
    if (options.robustSpencer) project.options.setChecked(Option::CB_Robust_Spencer, *options.robustSpencer);
    // The data the results will come from, before the sweep's own options.
    const std::uint64_t fingerprint = AnalysisDataFingerprint(project);
    report.projectName = project.options.text(Option::E_Project_Name);
    project.run.StopRequested = 0;
    platform.project = &project;
    platform.passStop();
    RunOptions runOptions;
    runOptions.threads = options.threads;
    if (!options.movingCentreFile.empty()) {
      project.options.setChecked(Option::CB_Moving_Center, true);
      project.options.setText(Option::E_MCX, FormatShortest(options.movingCentreStepX));
      project.options.setText(Option::E_MCY, FormatShortest(options.movingCentreStepY));
      project.options.setText(Option::E_Bound_L, FormatShortest(options.boundLeft));
      project.options.setText(Option::E_Bound_R, FormatShortest(options.boundRight));
      if (options.workArea) {
        project.drawing.WorkAreaXmin = (*options.workArea)[0];
        project.drawing.WorkAreaXmax = (*options.workArea)[1];
        project.drawing.WorkAreaYmin = (*options.workArea)[2];
        project.drawing.WorkAreaYmax = (*options.workArea)[3];
      }
      runOptions.movingCentreFile = options.movingCentreFile;
    }
    platform.last.clear();
    const RunResult run = RunAnalysis(project, platform, runOptions);
    platform.project = nullptr;
    if (platform.stopRequested() && run.outcome != RunOutcome::Complete) {
      // An unfinished run: the file keeps the result file it had.
      FileReport stopped = StoppedReport(file, options.language, true);
      stopped.projectName = report.projectName;
      stopped.theory = project.model.AnalysisTheory;
      stopped.elapsedSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      return stopped;
    }
    const AnalysisModel& m = project.model;
    report.theory = m.AnalysisTheory;
    report.search = m.AnalysisTheory == 2 ? m.NonCirSearchKind : m.CircularSearchKind;
    report.surfaces = project.run.SurfaceCount;
    report.rejected = project.run.ResultCodeCount;
    if (run.outcome == RunOutcome::Complete) {
      report.warnings = run.warnings;
      DescribeMinima(project, report);
      report.ok = AnyFactor(project);
      if (!report.ok) report.error = NoAdmissibleSurfaceMessage(options.language, report.surfaces, report.rejected);
    } else if (run.outcome == RunOutcome::Failed) {
      const std::string failure = RunFailureText(run, options.language);
      report.error = failure.empty() ? "The analysis failed." : failure;
    } else {
      // The message the user would have seen.
      report.error = !platform.last.empty() ? platform.last
                     : !run.message.empty() ? run.message
                                            : std::string("The analysis was not run.");
    }
    // Whatever the run left, so that no older result file looks current;
    // why it holds no answer, or what to know of the answer, travels with it.
    std::vector<std::string> notes;
    if (!report.ok) notes.push_back(report.error);
    for (std::string& note : EdgeNotes(report.warnings, options.language)) notes.push_back(std::move(note));
    const std::string resultFile = MakeResultFilePath(file.string());
    try {
      WriteResultFile(project, resultFile, SearchThreads(options.threads), notes);
      // The companion says which data the result file speaks for, so that
      // the desktop program shows it with the project. A run that gave no
      // answer, or a moving-centre sweep, leaves no results of the project.
      std::optional<ResultsStamp> stamp;
      if (run.outcome == RunOutcome::Complete && options.movingCentreFile.empty()) {
        std::vector<std::pair<int, int>> edges;
        for (const RunWarning& w : run.warnings) edges.emplace_back(w.method, static_cast<int>(w.edge));
        stamp =
            StampOfRun(project, fingerprint, m.AnalysisTheory,
                       {m.UseOrdinary != 0, m.UseSimplifiedJanbu != 0, m.UseSimplifiedBishop != 0, m.UseSpencer != 0},
                       false, run.trialsDone, run.trialsTotal, std::move(edges));
        stamp->resultFileSize = std::filesystem::file_size(resultFile);
      }
      try {
        RecordResultsBeside(file, stamp);
      } catch (const std::exception& e) {
        // The companion names itself; the result file is there all the same.
        report.resultFileError = e.what();
      }
    } catch (const std::exception& e) {
      // The run's figures stand; only their file is missing, and the error
      // says which file that is.
      report.resultFileError = e.what();
      if (report.resultFileError.find(resultFile) == std::string::npos) {
        report.resultFileError = "\"" + resultFile + "\": " + report.resultFileError;
      }
    }
  } catch (const std::exception& e) {
    report.ok = false;
    report.error = e.what();
  }
  report.elapsedSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return report;
}

std::vector<FileReport> AnalyseProjectFiles(const std::vector<std::filesystem::path>& files, PlatformServices& platform,
                                            const BatchOptions& options,
                                            const std::function<void(std::size_t, const FileReport&)>& done) {
  std::vector<FileReport> reports;
  reports.reserve(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    reports.push_back(AnalyseProjectFile(files[i], platform, options));
    if (done) done(i, reports.back());
  }
  return reports;
}

namespace {

// The code point at `i` of a UTF-8 text and the bytes it takes; a stray
// byte stands for itself.
std::pair<char32_t, std::size_t> CodePoint(std::string_view text, std::size_t i) {
  const auto c = static_cast<unsigned char>(text[i]);
  std::size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
  if (i + len > text.size()) len = 1;
  if (len == 1) return {c, 1};
  char32_t cp = c & (0x3F >> (len - 1));
  for (std::size_t k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
  return {cp, len};
}

bool ZeroWidth(char32_t cp) {
  return cp == 0x0E31 || (cp >= 0x0E34 && cp <= 0x0E3A) || (cp >= 0x0E47 && cp <= 0x0E4E) ||
         (cp >= 0x0300 && cp <= 0x036F) || (cp >= 0x200B && cp <= 0x200D);
}

std::string Right(const std::string& text, std::size_t width) {
  const std::size_t columns = SummaryDisplayWidth(text);
  return columns >= width ? text : std::string(width - columns, ' ') + text;
}

// The start of a UTF-8 text that fills at most n columns, with the marks
// that sit on its last character.
std::string First(const std::string& text, std::size_t n) {
  std::size_t columns = 0, i = 0;
  while (i < text.size()) {
    const auto [cp, len] = CodePoint(text, i);
    if (!ZeroWidth(cp)) {
      if (columns == n) break;
      ++columns;
    }
    i += len;
  }
  return text.substr(0, i);
}

// The file name column's text: the name part of the path without its
// ending, as its result file is named.
std::string FileNameField(const FileReport& r) {
  std::string name = std::filesystem::path(r.file).filename().string();
  name = MakeResultFilePath(name);
  name.resize(name.size() - 4);
  return name;
}

// x rounded to 4 decimals, in the shortest general form, as the result file
// writes its minima.
std::string Shortest4(double x) {
  return FormatShortest(RoundHalfEven(x, 4));
}

}  // namespace

std::size_t SummaryDisplayWidth(std::string_view utf8) {
  std::size_t columns = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto [cp, len] = CodePoint(utf8, i);
    if (!ZeroWidth(cp)) ++columns;
    i += len;
  }
  return columns;
}

std::string SummaryText(const std::vector<FileReport>& reports, std::uint8_t language) {
  // Names of up to 17 columns keep the classic layout; a longer one widens
  // its column rather than being cut, so names that differ only at the end
  // (grid-1, grid-2) stay apart.
  std::size_t extra = 0;
  for (const FileReport& r : reports) {
    const std::size_t columns = SummaryDisplayWidth(FileNameField(r));
    if (columns > 17) extra = std::max(extra, columns - 17);
  }
  const std::string wide(extra, ' ');
  const std::string left(extra / 2, ' '), right(extra - extra / 2, ' ');
  std::string out;
  auto line = [&](const std::string& text) { out += text + "\r\n"; };
  line("Automatic Execute File Report");
  line(std::string(29, '='));
  line("");
  line(std::string(123 + extra, '-'));
  line("|          |                    |                   " + wide +
       "|                 |              Minimum Factor of Safety             |");
  line("| Case No. |    Project Name    |" + left + "     File Name     " + right +
       "| Analysis Theory |---------------------------------------------------|");
  line("|          |                    |                   " + wide +
       "|                 |   FS-Ord.  |   FS-Jan.  |   FS-Bis.  |   FS-Spe.  |");
  line(std::string(123 + extra, '-'));
  for (std::size_t i = 0; i < reports.size(); ++i) {
    const FileReport& r = reports[i];
    std::string text =
        Right(std::to_string(i + 1), 7) + Right(First(r.projectName, 18), 24) + Right(FileNameField(r), 20 + extra);
    if (r.stopped) {
      text += Right("Stopped", 17) + "  " + r.error;
    } else if (!r.ok) {
      text += Right("Failed", 17) + "  " + r.error;
    } else {
      if (r.theory == 1) text += Right("  Circular  ", 17);
      if (r.theory == 2) text += Right("Non-Circular", 17);
      text += Right(Shortest4(r.minima[0].fs), 12) + Right(Shortest4(r.minima[1].fs), 13) +
              Right(Shortest4(r.minima[2].fs), 13) + Right(Shortest4(r.minima[3].fs), 13);
    }
    // A message may hold line breaks; the summary keeps one line per file.
    for (char& c : text) {
      if (c == '\r' || c == '\n') c = ' ';
    }
    line(text);
    for (const RunWarning& warning : r.warnings)
      line(std::string(10, ' ') + "Warning: " + RunWarningText(warning, language));
    for (const std::string& warning : r.warningTexts) line(std::string(10, ' ') + "Warning: " + warning);
    if (!r.resultFileError.empty()) {
      std::string text = FormatText(CoreTextFor(language, CoreText::ResultFileNotWritten), {r.resultFileError});
      for (char& c : text) {
        if (c == '\r' || c == '\n') c = ' ';
      }
      line(std::string(10, ' ') + "Warning: " + text);
    }
  }
  line(std::string(123 + extra, '='));
  return out;
}

void WriteSummaryFile(const std::filesystem::path& path, const std::vector<FileReport>& reports,
                      std::uint8_t language) {
  WriteSummaryText(path, SummaryText(reports, language));
}

void WriteSummaryText(const std::filesystem::path& path, const std::string& text) {
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

std::string SummaryReportText(const std::string& summary) {
  std::size_t at = 0;
  for (int line = 0; line < 3 && at != std::string::npos; ++line) {
    at = summary.find('\n', at);
    if (at != std::string::npos) ++at;
  }
  return at == std::string::npos ? std::string() : summary.substr(at);
}

std::filesystem::path DefaultSummaryPath() {
  return TempFolder() / "sum_of_result.txt";
}

}  // namespace pelodyn
