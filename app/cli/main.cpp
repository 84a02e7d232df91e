// pelodyn-cli: Pelodyn without windows. Analyses project files unattended,
// verifies them, prints the slices of their specific surface and converts
// them between the file versions. Messages go to standard error; questions
// are answered with OK.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <thread>

#include "batch/batch.h"
#include "engine/rigorous.h"
#include "engine/search.h"
#include "engine/slip_surface.h"
#include "model/collection.h"
#include "model/verification.h"
#include "persistence/companion_file.h"
#include "persistence/project_file.h"
#include "persistence/settings_file.h"
#include "persistence/sqlite_store.h"
#include "texts/messages.h"

using namespace pelodyn;
using json = nlohmann::json;

namespace {

// Messages of one file, kept until the file's turn to be printed comes.
class CliPlatform final : public PlatformServices {
 public:
  explicit CliPlatform(bool progress, std::string label) : m_progress(progress), m_label(std::move(label)) {}

  void showMessage(MessageKind, std::string_view caption, std::string_view text) override {
    std::string line = caption.empty() ? std::string() : std::string(caption) + ": ";
    for (char c : text) line += (c == '\r' || c == '\n') ? ' ' : c;
    messages.push_back(line);
  }
  bool askOkCancel(std::string_view caption, std::string_view text) override {
    showMessage(MessageKind::Information, caption, std::string(text) + " [OK]");
    return true;
  }
  void reportProgress(const ProgressReport& report) override {
    if (!m_progress) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - m_last < std::chrono::milliseconds(100)) return;
    m_last = now;
    std::string text = report.totalProcess + (report.processPercent.empty() ? "" : "  " + report.processPercent);
    std::fprintf(stderr, "\r\033[K%s: %s", m_label.c_str(), text.c_str());
    std::fflush(stderr);
    m_shown = true;
  }
  void processPendingEvents() override {}
  void clearProgress() {
    if (m_shown) std::fprintf(stderr, "\r\033[K");
    m_shown = false;
  }

  std::vector<std::string> messages;

 private:
  bool m_progress;
  std::string m_label;
  std::chrono::steady_clock::time_point m_last{};
  bool m_shown = false;
};

// The language of messages and captions: the settings file's, unless
// --lang says otherwise.
std::uint8_t g_language = kLanguageEnglish;

std::uint8_t SettingsLanguage() {
  try {
    const std::filesystem::path file = SettingsFilePath();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return kLanguageEnglish;
    Project settings(SqliteWorkingStore::OpenInMemory());
    ReadSettingsFile(settings, file);
    const std::uint8_t language = settings.model.Language;
    return language == kLanguageThai ? kLanguageThai : kLanguageEnglish;
  } catch (const std::exception&) {
    return kLanguageEnglish;
  }
}

// A factor, or a result code with its meaning in words.
std::string FactorText(double fs, const char* format) {
  if (fs >= kNoFactor && fs == std::floor(fs) && fs < 2e9) {
    const int code = static_cast<int>(fs);
    const std::string_view words = ResultCodeText(g_language, code);
    if (!words.empty()) return std::to_string(code) + " (" + std::string(words) + ")";
  }
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, fs);
  return buffer;
}

// Text that may hold bytes of no valid UTF-8 (a file name) is dumped with
// replacement characters rather than failing.
std::string Dump(const json& j) {
  return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

json Point(const std::pair<double, double>& p) {
  return json::array({p.first, p.second});
}

json PointsJson(const Polyline& points) {
  json out = json::array();
  for (const auto& p : points) out.push_back(Point(p));
  return out;
}

json MinimumJson(const MethodReport& m) {
  auto optional = [](const std::optional<double>& v) { return v ? json(*v) : json(nullptr); };
  return {{"selected", m.selected},
          {"fs", m.fs},
          {"x", optional(m.x)},
          {"y", optional(m.y)},
          {"r", optional(m.r)},
          {"entry", m.entry ? Point(*m.entry) : json(nullptr)},
          {"exit", m.exit ? Point(*m.exit) : json(nullptr)},
          {"surface", m.surface.empty() ? json(nullptr) : PointsJson(m.surface)}};
}

json ReportJson(const FileReport& r) {
  json rejected = json::object();
  for (const auto& [code, count] : r.rejected) rejected[std::to_string(code)] = count;
  json out = {{"file", r.file},
              {"project_name", r.projectName},
              {"ok", r.ok},
              {"error", r.ok ? json(nullptr) : json(r.error)},
              {"theory", r.theory >= 0 ? json(r.theory) : json(nullptr)},
              {"search", r.search >= 0 ? json(r.search) : json(nullptr)},
              {"surfaces", r.surfaces},
              {"rejected", rejected},
              {"minima", nullptr},
              {"critical_surface", r.criticalSurface.empty() ? json(nullptr) : PointsJson(r.criticalSurface)},
              {"elapsed_seconds", r.elapsedSeconds},
              {"warnings", json::array()},
              {"result_file_error", r.resultFileError.empty() ? json(nullptr) : json(r.resultFileError)}};
  for (const RunWarning& warning : r.warnings) out["warnings"].push_back(RunWarningText(warning, kLanguageEnglish));
  if (r.ok) {
    out["minima"] = {{"ordinary", MinimumJson(r.minima[0])},
                     {"janbu", MinimumJson(r.minima[1])},
                     {"bishop", MinimumJson(r.minima[2])},
                     {"spencer", MinimumJson(r.minima[3])}};
  }
  return out;
}

std::string Fs(double v) {
  return FactorText(v, "%.3f");
}

// "FILE: Ordinary 1.234  Simplified Janbu ..." with a factor for each method
// the project selects and "N/A" for the others, as the window shows them.
std::string ReportLine(const FileReport& r) {
  if (!r.ok) {
    std::string error = r.error;
    for (char& c : error) c = (c == '\r' || c == '\n') ? ' ' : c;
    return r.file + ": failed: " + error;
  }
  static const char* const names[] = {"Ordinary", "Simplified Janbu", "Simplified Bishop", "Spencer"};
  std::string line = r.file + ":";
  for (std::size_t k = 0; k < 4; ++k) {
    const MethodReport& m = r.minima[k];
    line += (k == 0 ? " " : "  ") + std::string(names[k]) + " " + (m.selected ? Fs(m.fs) : std::string("N/A"));
  }
  return line;
}

struct AnalyseOptions {
  std::vector<std::string> files;
  bool json = false;
  bool quiet = false;
  std::string summary;
  int jobs = 1;
  std::string movingCentre;
  std::vector<double> movingCentreStep, movingCentreBounds, movingCentreArea;
  int threads = 0;  // per file; 0: the usable CPUs divided among the jobs
  bool robustSpencer = false;
};

// The files in the order given, each once: a path given twice (or two
// spellings of one file) is analysed once, so no two jobs write its result
// file at the same time.
std::vector<std::string> Distinct(const std::vector<std::string>& files) {
  std::vector<std::string> out;
  std::set<std::filesystem::path> seen;
  for (const std::string& file : files) {
    std::error_code ec;
    std::filesystem::path key = std::filesystem::weakly_canonical(file, ec);
    if (ec) key = std::filesystem::absolute(file, ec).lexically_normal();
    if (seen.insert(key).second) {
      out.push_back(file);
    } else {
      std::cerr << file << ": given more than once; analysed once\n";
    }
  }
  return out;
}

int Analyse(const AnalyseOptions& options) {
  AnalyseOptions o = options;
  o.files = Distinct(options.files);
  BatchOptions batch;
  batch.language = g_language;
  if (o.robustSpencer) batch.robustSpencer = true;
  if (!o.movingCentre.empty()) {
    batch.movingCentreFile = o.movingCentre;
    if (o.movingCentreStep.size() == 2) {
      batch.movingCentreStepX = o.movingCentreStep[0];
      batch.movingCentreStepY = o.movingCentreStep[1];
    }
    if (o.movingCentreBounds.size() == 2) {
      batch.boundLeft = o.movingCentreBounds[0];
      batch.boundRight = o.movingCentreBounds[1];
    }
    if (o.movingCentreArea.size() == 4) {
      batch.workArea = std::array<double, 4>{o.movingCentreArea[0], o.movingCentreArea[1], o.movingCentreArea[2],
                                             o.movingCentreArea[3]};
    }
  }
  const std::size_t n = o.files.size();
  const bool terminal = isatty(STDERR_FILENO) != 0 && !o.quiet;
  std::vector<std::optional<FileReport>> reports(n);
  std::vector<std::vector<std::string>> messages(n);
  std::mutex mutex;
  std::condition_variable ready;
  std::atomic<std::size_t> next{0};
  const int jobs = std::max(1, std::min<int>(o.jobs, static_cast<int>(n)));
  batch.threads = o.threads > 0 ? o.threads : std::max(1, UsableCpuCount() / jobs);

  auto worker = [&] {
    for (std::size_t i = next++; i < n; i = next++) {
      CliPlatform platform(terminal && jobs == 1, o.files[i]);
      FileReport report = AnalyseProjectFile(o.files[i], platform, batch);
      platform.clearProgress();
      std::lock_guard<std::mutex> lock(mutex);
      reports[i] = std::move(report);
      messages[i] = std::move(platform.messages);
      ready.notify_all();
    }
  };
  std::vector<std::thread> threads;
  for (int j = 0; j < jobs; ++j) threads.emplace_back(worker);

  // Results in list order, each as soon as it and those before it are done.
  bool anyFailed = false;
  for (std::size_t i = 0; i < n; ++i) {
    std::unique_lock<std::mutex> lock(mutex);
    ready.wait(lock, [&] { return reports[i].has_value(); });
    const FileReport& r = *reports[i];
    bool told = false;  // a refused run's message was shown already
    std::string error = r.error;
    for (char& c : error) c = (c == '\r' || c == '\n') ? ' ' : c;
    for (const std::string& message : messages[i]) {
      std::cerr << r.file << ": " << message << '\n';
      told = told || message == error;
    }
    if (!r.ok && !told) std::cerr << r.file << ": " << error << '\n';
    if (!o.json) {
      for (const RunWarning& warning : r.warnings)
        std::cerr << r.file << ": " << RunWarningText(warning, g_language) << '\n';
    }
    // The figures stand when only their result file is missing; the exit
    // status still tells a script that something was not done.
    if (!r.resultFileError.empty()) {
      std::string text = FormatText(CoreTextFor(g_language, CoreText::ResultFileNotWritten), {r.resultFileError});
      for (char& c : text) c = (c == '\r' || c == '\n') ? ' ' : c;
      std::cerr << r.file << ": " << text << '\n';
    }
    anyFailed = anyFailed || !r.ok || !r.resultFileError.empty();
    std::cout << (o.json ? Dump(ReportJson(r)) : ReportLine(r)) << '\n' << std::flush;
    if (terminal && jobs > 1) std::fprintf(stderr, "\r\033[K%zu of %zu files done", i + 1, n);
  }
  for (std::thread& t : threads) t.join();
  if (terminal && jobs > 1) std::fprintf(stderr, "\r\033[K");

  // The summary asked for with --summary, or the one a batch leaves in the
  // temporary folder. JSON lines are a script's output and 'summary' merges
  // them, so --json leaves no summary unasked: array tasks that share a node
  // (and users who share its temporary folder) would replace each other's.
  // Only an asked-for summary that cannot be written fails the run.
  if (!o.summary.empty() || (n >= 2 && !o.json)) {
    std::vector<FileReport> list;
    for (auto& r : reports) list.push_back(*r);
    const std::filesystem::path path = o.summary.empty() ? DefaultSummaryPath() : std::filesystem::path(o.summary);
    try {
      WriteSummaryFile(path, list, g_language);
      if (!o.quiet) std::cerr << "Summary: " << path.string() << '\n';
    } catch (const std::exception& e) {
      std::cerr << e.what() << '\n';
      if (!o.summary.empty()) return 1;
    }
  }
  return anyFailed ? 1 : 0;
}

// A project read from a file into a private store, collected.
struct Loaded {
  Project project{SqliteWorkingStore::OpenInMemory()};
  CliPlatform platform{false, ""};
  void read(const std::string& file) {
    project.BatchMode = 1;
    NewProject(project);
    project.model.Language = g_language;
    ReadAnyProjectFile(project, platform, file);
    ApplyCompanionBeside(project, file);
  }
  void flushMessages() {
    for (const std::string& m : platform.messages) std::cerr << m << '\n';
    platform.messages.clear();
  }
};

int Verify(const std::string& file) {
  Loaded l;
  l.read(file);
  const std::vector<std::string> memo = VerifyData(l.project, l.platform);
  l.flushMessages();
  for (const std::string& line : memo) std::cout << line << '\n';
  // A project the collection refused would not run: a script sees it here.
  return l.project.model.DataError ? 1 : 0;
}

// The factor column of the slices listing: a result code carries its
// meaning in words.
std::string FactorField(double fs) {
  const std::string text = FactorText(fs, "%g");
  return text.find(' ') == std::string::npos ? text : "\"" + text + "\"";
}

const char* const kMethodNames[] = {"ordinary", "janbu", "bishop", "spencer"};

// Runs the project's analysis and puts the critical surface of `method`
// (or of the selected method with the lowest factor) in the model, with its
// centre in cx, cy. False, with a message, when no surface got a factor.
bool CriticalSurface(Loaded& l, const std::string& method, double& cx, double& cy) {
  Project& p = l.project;
  AnalysisModel& m = p.model;
  p.run.StopRequested = 0;
  const RunResult run = RunAnalysis(p, l.platform);
  l.flushMessages();
  if (run.outcome != RunOutcome::Complete) {
    const std::string failure = run.outcome == RunOutcome::Failed ? RunFailureText(run, g_language) : run.message;
    if (!failure.empty()) std::cerr << failure << '\n';
    return false;
  }
  const bool selected[4] = {m.UseOrdinary != 0, m.UseSimplifiedJanbu != 0, m.UseSimplifiedBishop != 0,
                            m.UseSpencer != 0};
  int best = -1;
  for (int k = Ordinary; k <= Spencer; ++k) {
    const double fs = p.run.Minimum[static_cast<std::size_t>(k)].Fs;
    if (!method.empty()) {
      if (method == kMethodNames[k]) best = k;
    } else if (selected[k] && fs < kNoFactor && (best < 0 || fs < p.run.Minimum[static_cast<std::size_t>(best)].Fs)) {
      best = k;
    }
  }
  if (best < 0 || !(p.run.Minimum[static_cast<std::size_t>(best)].Fs < kNoFactor)) {
    std::cerr << (best >= 0 ? std::string(kMethodNames[best]) + ": " : std::string())
              << NoAdmissibleSurfaceMessage(g_language, p.run.SurfaceCount, p.run.ResultCodeCount) << '\n';
    return false;
  }
  const MethodMinimum& min = p.run.Minimum[static_cast<std::size_t>(best)];
  cx = min.CenterX;
  cy = min.CenterY;
  if (m.AnalysisTheory == 2) {
    if (m.NonCirSearchKind == 1) {
      m.NonCirX = p.run.BestSurfaceX[static_cast<std::size_t>(best)];
      m.NonCirY = p.run.BestSurfaceY[static_cast<std::size_t>(best)];
      m.NonCirPointCount = static_cast<int>(m.NonCirX.size());
      m.NonCirSegmentCount = m.NonCirPointCount - 1;
    } else {
      ReadNonCircularPoints(p);
    }
  } else {
    m.TrialRadius = min.Radius;
  }
  std::cerr << "critical surface of " << kMethodNames[best] << '\n';
  return true;
}

// The JSON of `slices --json`: the surface's slices with the forces of a
// Morgenstern-Price solution (interslice function `shape`), the four
// factors, the rigorous factor and Janbu's corrected one, and the physical
// checks of the solution.
json SlicesJson(const SliceSet& s, double kh, double kv, const IntersliceShape& shape) {
  json out;
  auto factor = [](double fs) { return fs < kNoFactor ? json(fs) : json(static_cast<long>(fs)); };
  out["factors"] = {{"ordinary", factor(s.FsOrdinary)},
                    {"janbu", factor(s.FsJanbu)},
                    {"bishop", factor(s.FsBishop)},
                    {"spencer", factor(s.FsSpencer)}};
  const JanbuCorrection j = JanbuCorrectionOf(s);
  out["janbu_corrected"] = {{"fs", s.FsJanbu < kNoFactor ? json(s.FsJanbu * j.f0) : json(nullptr)},
                            {"f0", j.f0},
                            {"depth", j.depth},
                            {"length", j.length}};
  SliceForces forces;
  const RigorousResult mp = MorgensternPrice(s, kh, kv, shape, &forces);
  const bool solved = mp.outcome == RigorousOutcome::Converged;
  out["morgenstern_price"] = {{"fs", solved ? json(mp.F) : json(nullptr)},
                              {"lambda", solved ? json(mp.lambda) : json(nullptr)},
                              {"function", std::string(IntersliceFunctionName(shape.kind))},
                              {"iterations", mp.iterations},
                              {"outcome", std::string(RigorousOutcomeText(mp.outcome))}};
  json slices = json::array(), boundaries = json::array(), warnings = json::array();
  if (solved) {
    for (std::size_t k = 0; k < forces.Weight.size(); ++k) {
      const auto u = static_cast<std::size_t>(s.ActiveFirst) + k;
      slices.push_back({{"x_left", s.BoundaryX[u]},
                        {"x_right", s.BoundaryX[u + 1]},
                        {"alpha_deg", std::atan2(s.SinAlpha[u], s.CosAlpha[u]) * 180.0 / 3.14159265358979323846},
                        {"weight", forces.Weight[k]},
                        {"normal", forces.Normal[k]},
                        {"shear", forces.Shear[k]},
                        {"pore_force", forces.PoreForce[k]}});
    }
    for (std::size_t b = 0; b < forces.E.size(); ++b) {
      boundaries.push_back({{"x", forces.BoundaryX[b]},
                            {"E", forces.E[b]},
                            {"X", forces.X[b]},
                            {"thrust_y", forces.ThrustY[b]},
                            {"base_y", forces.BaseY[b]},
                            {"top_y", forces.TopY[b]}});
    }
    for (const ForceWarning& w : CheckSliceForces(forces)) {
      warnings.push_back({{"kind", std::string(ForceWarningName(w.kind))}, {"x", w.x}});
    }
  }
  out["slices"] = slices;
  out["boundaries"] = boundaries;
  out["warnings"] = warnings;
  return out;
}

int Slices(const std::string& file, const std::string& method, bool asJson, const IntersliceShape& shape) {
  Loaded l;
  l.read(file);
  CollectAnalysisData(l.project, l.platform);
  l.flushMessages();
  AnalysisModel& m = l.project.model;
  if (m.DataError) return 1;
  double cx, cy;
  const OptionValues& o = l.project.options;
  // Without a specific surface (or with --method) the analysis is run and
  // its critical surface listed.
  const bool specific =
      method.empty() && (m.AnalysisTheory == 2 ? m.NonCirPointCount > 0 : o.readReal(Option::E_Radius) > 0.0);
  if (!specific) {
    if (m.AnalysisTheory != 2) m.AnalysisTheory = 1;
    if (!CriticalSurface(l, method, cx, cy)) return 1;
  } else if (m.AnalysisTheory == 2) {
    ReadNonCircularPoints(l.project);
    cx = o.readReal(Option::E_NonCir_X_Center);
    cy = o.readReal(Option::E_NonCir_Y_Center);
  } else {
    m.AnalysisTheory = 1;
    cx = o.readReal(Option::E_X_Center);
    cy = o.readReal(Option::E_Y_Center);
    m.TrialRadius = o.readReal(Option::E_Radius);
  }
  SliceSet& s = l.project.slices;
  AnalyseSlipSurface(m, cx, cy, s);
  if (asJson) {
    std::cout << SlicesJson(s, m.SeismicKh, m.SeismicKv, shape).dump() << '\n';
    return 0;
  }
  std::cout << "slice,x_left,x_right,width,base_y,height,alpha_deg,base_length,weight,base_soil,c,tan_phi,u,"
               "normal_arm,shear_arm,weight_arm_x,weight_arm_y,line_load,strip_load,anchor_force\n";
  char line[1024];
  for (int i = 0; i < s.SliceCount; ++i) {
    const auto u = static_cast<std::size_t>(i);
    std::snprintf(line, sizeof line,
                  "%d,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%d,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f\n",
                  i + 1, s.BoundaryX[u], s.BoundaryX[u + 1], s.SliceWidth[u], s.BaseYAtMid[u], s.SliceHeight[u],
                  std::atan2(s.SinAlpha[u], s.CosAlpha[u]) * 180.0 / 3.14159265358979323846, s.BaseLength[u],
                  s.SliceWeight[u], s.BaseSoil[u] + 1, s.BaseCohesion[u], s.BaseTanPhi[u], s.BasePorePressure[u],
                  s.NormalArm[u], s.ShearArm[u], s.WeightArmX[u], s.WeightArmY[u], s.LineLoadOnSlice[u],
                  s.StripLoadOnSlice[u], s.AnchorForceOnSlice[u]);
    std::cout << line;
  }
  std::cout << "\nmethod,fs\n"
            << "ordinary," << FactorField(s.FsOrdinary) << "\njanbu," << FactorField(s.FsJanbu) << "\nbishop,"
            << FactorField(s.FsBishop) << "\nspencer," << FactorField(s.FsSpencer) << '\n';
  return 0;
}

int Convert(const std::string& in, const std::string& out, bool legacy) {
  Loaded l;
  l.read(in);
  if (legacy) {
    WriteLegacyProjectFile(l.project, l.platform, out);
  } else {
    WriteProjectFile(l.project, l.platform, out);
  }
  l.flushMessages();
  return 0;
}

// One JSON line of 'analyse --json' read back as the report it came from,
// or the reason it is not one (in words a user can act on; no parser jargon).
struct ParsedLine {
  std::optional<FileReport> report;
  std::string why;
};

ParsedLine ParseResultLine(const std::string& text) {
  const json j = json::parse(text, nullptr, false);
  if (j.is_discarded()) return {std::nullopt, "it is not JSON (a message mixed into the results?)"};
  if (!j.is_object()) return {std::nullopt, "it is not a JSON object"};
  auto lacks = [](const std::string& field, const char* kind) {
    return ParsedLine{std::nullopt, "its \"" + field + "\" is missing or not " + kind};
  };
  FileReport r;
  if (!j.contains("file") || !j["file"].is_string()) return lacks("file", "a string");
  r.file = j["file"].get<std::string>();
  if (!j.contains("ok") || !j["ok"].is_boolean()) return lacks("ok", "true or false");
  r.ok = j["ok"].get<bool>();
  if (j.contains("project_name") && j["project_name"].is_string()) r.projectName = j["project_name"].get<std::string>();
  if (!r.ok) {
    if (j.contains("error") && j["error"].is_string()) r.error = j["error"].get<std::string>();
  } else {
    if (!j.contains("theory") || !j["theory"].is_number_integer()) return lacks("theory", "a whole number");
    r.theory = j["theory"].get<int>();
    if (!j.contains("minima") || !j["minima"].is_object()) return lacks("minima", "an object");
    for (std::size_t m = 0; m < 4; ++m) {
      const std::string name = std::string("minima.") + kMethodNames[m];
      const json& minima = j["minima"];
      if (!minima.contains(kMethodNames[m]) || !minima[kMethodNames[m]].is_object()) return lacks(name, "an object");
      const json& minimum = minima[kMethodNames[m]];
      if (!minimum.contains("selected") || !minimum["selected"].is_boolean()) {
        return lacks(name + ".selected", "true or false");
      }
      if (!minimum.contains("fs") || !minimum["fs"].is_number()) return lacks(name + ".fs", "a number");
      r.minima[m].selected = minimum["selected"].get<bool>();
      r.minima[m].fs = minimum["fs"].get<double>();
    }
  }
  if (j.contains("result_file_error") && j["result_file_error"].is_string()) {
    r.resultFileError = j["result_file_error"].get<std::string>();
  }
  if (j.contains("warnings")) {
    if (!j["warnings"].is_array()) return lacks("warnings", "a list of texts");
    for (const json& w : j["warnings"]) {
      if (!w.is_string()) return lacks("warnings", "a list of texts");
      r.warningTexts.push_back(w.get<std::string>());
    }
  }
  return {std::move(r), {}};
}

// The same file however it was spelt (relative to another folder, with
// "./"), for matching results with the list of expected files.
std::filesystem::path FileKey(const std::string& file) {
  std::error_code ec;
  std::filesystem::path key = std::filesystem::weakly_canonical(file, ec);
  if (ec) key = std::filesystem::absolute(file, ec).lexically_normal();
  return key;
}

// The summary of JSON lines gathered from several runs (several machines):
// each line's file, project name, theory and four minima, with its
// warnings, read back into one table as one batch would write it. Nothing
// is written when an input cannot be read or holds a line that is not a
// result: a table with a gap would look complete. With `expectList` (a file
// naming the project files, one a line) every file of the list must have a
// result line; those without one are named, get a failed line in the table
// and make the exit status 1.
int Summary(const std::vector<std::string>& inputs, const std::string& output, const std::string& expectList) {
  std::vector<FileReport> reports;
  bool anyBad = false;
  const auto readLines = [&](std::istream& in, const std::string& name) {
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
      ++number;
      if (text.find_first_not_of(" \t\r") == std::string::npos) continue;
      ParsedLine parsed = ParseResultLine(text);
      if (parsed.report) {
        reports.push_back(std::move(*parsed.report));
      } else {
        std::cerr << name << ":" << number << ": not a result line of pelodyn-cli analyse --json: " << parsed.why
                  << '\n';
        anyBad = true;
      }
    }
    if (in.bad()) {
      std::cerr << name << ": could not be read to its end\n";
      anyBad = true;
    }
  };
  if (inputs.empty()) {
    readLines(std::cin, "standard input");
  } else {
    for (const std::string& input : inputs) {
      std::error_code ec;
      if (std::filesystem::is_directory(input, ec)) {
        std::cerr << input << ": is a folder, not a file of JSON lines\n";
        anyBad = true;
        continue;
      }
      std::ifstream in(input, std::ios::binary);
      if (!in) {
        std::cerr << input << ": cannot be read ("
                  << (std::filesystem::exists(input, ec) ? "no permission" : "no such file") << ")\n";
        anyBad = true;
        continue;
      }
      readLines(in, input);
    }
  }

  bool anyMissing = false;
  if (!expectList.empty()) {
    std::ifstream list(expectList, std::ios::binary);
    if (!list) {
      std::cerr << expectList << ": the list of expected files cannot be read\n";
      return 1;
    }
    std::vector<std::string> expected;
    for (std::string line; std::getline(list, line);) {
      while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
      if (!line.empty()) expected.push_back(line);
    }
    std::set<std::filesystem::path> found;
    for (const FileReport& r : reports) found.insert(FileKey(r.file));
    for (const std::string& file : expected) {
      if (found.count(FileKey(file)) != 0) continue;
      std::cerr << file << ": no result line (its job did not run, or did not finish)\n";
      FileReport missing;
      missing.file = file;
      missing.error = "no result line: its job did not run, or did not finish";
      reports.push_back(std::move(missing));
      anyMissing = true;
    }
  }
  if (anyBad) {
    std::cerr << "No summary was written.\n";
    return 1;
  }

  const std::string table = SummaryText(reports, g_language);
  if (output.empty()) {
    std::cout << table;
  } else {
    // In the batch's own code page, so that the file is the one a single
    // 'analyse --summary' of all the files writes, byte for byte.
    try {
      WriteSummaryText(output, table);
    } catch (const std::exception& e) {
      std::cerr << e.what() << '\n';
      return 1;
    }
  }
  return anyMissing ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Pelodyn: slope stability by limit equilibrium, without windows."};
  app.require_subcommand(1);
  app.fallthrough();
  std::string language;
  app.add_option("--lang", language,
                 "Language of messages and of the words of result codes: en or th (default: the settings file's)")
      ->check(CLI::IsMember({"en", "th"}));

  AnalyseOptions analyse;
  CLI::App* analyseCommand =
      app.add_subcommand("analyse",
                         "Analyse project files (.pdd) one after the other: read, search, write the result file (.pdr) "
                         "beside each, print the minimum factors of safety.");
  analyseCommand->add_option("files", analyse.files, "Project files, version 2.0 or 1.18")->required();
  analyseCommand->add_flag("--json", analyse.json, "One JSON object per file on standard output");
  analyseCommand->add_option("--summary", analyse.summary,
                             "Write the summary to this file (without it, a run of two files or more without "
                             "--json writes it to sum_of_result.txt in the temporary folder, and a failure to "
                             "write that one is only reported)");
  analyseCommand->add_flag("--quiet", analyse.quiet, "No progress line and no summary notice");
  analyseCommand->add_flag("--robust-spencer", analyse.robustSpencer,
                           "Where Spencer's iteration does not converge, solve Spencer's assumption by a "
                           "root-finder (as the project's Robust Spencer choice)");
  analyseCommand->add_option("--jobs,-j", analyse.jobs, "Analyse up to N files at once")->check(CLI::PositiveNumber);
  analyseCommand->add_option("--moving-centre", analyse.movingCentre,
                             "For a project of the irregular theory with a specific surface: write the moving-centre "
                             "listing (zone, x, y and the four factors of each centre) to this file instead of "
                             "analysing the surface once");
  analyseCommand->add_option("--mc-step", analyse.movingCentreStep, "Steps DX DY of the moving centre (default 1 1)")
      ->expected(2);
  analyseCommand
      ->add_option("--mc-bounds", analyse.movingCentreBounds,
                   "Left and right bounds of the zones of the moving-centre listing (default 0 0)")
      ->expected(2);
  analyseCommand
      ->add_option("--mc-area", analyse.movingCentreArea,
                   "Area XMIN XMAX YMIN YMAX walked by the moving centre (default 0 100 0 63)")
      ->expected(4);
  analyseCommand
      ->add_option("--threads,-t", analyse.threads,
                   "Threads the search of each file uses (default: the CPUs this process may use, from its "
                   "affinity mask and SLURM_CPUS_PER_TASK, divided among the jobs); the results are the same for "
                   "any number")
      ->check(CLI::PositiveNumber);

  std::string verifyFile;
  CLI::App* verifyCommand =
      app.add_subcommand("verify",
                         "Check a project's soils and geometry (Verify Data); the exit status is 1 when a check "
                         "of its data would refuse a run.");
  verifyCommand->add_option("file", verifyFile, "Project file")->required();

  std::string slicesFile, slicesMethod, slicesFunction = "constant";
  std::vector<double> slicesEnds;
  bool slicesJson = false;
  CLI::App* slicesCommand =
      app.add_subcommand("slices",
                         "Analyse the project's specific surface once (its specific circle, or its initial irregular "
                         "surface) and print the slices as CSV with the four factors. Without a specific surface, "
                         "or with --method, run the analysis and print the slices of the critical surface.");
  slicesCommand->add_option("file", slicesFile, "Project file")->required();
  slicesCommand
      ->add_option("--method", slicesMethod,
                   "The method whose critical surface is listed (default: the selected method with the lowest "
                   "factor)")
      ->check(CLI::IsMember({"ordinary", "janbu", "bishop", "spencer"}));
  slicesCommand->add_flag("--json", slicesJson,
                          "One JSON object: the slices with the forces of a Morgenstern-Price solution (weight, base "
                          "normal and shear, pore force; interslice E and X and the line of thrust at each "
                          "boundary), the factors, and the checks for tension and a line of thrust outside the mass");
  slicesCommand->add_option("--function", slicesFunction, "The interslice function of the solution (default constant)")
      ->check(CLI::IsMember({"constant", "half-sine", "clipped-sine", "trapezoidal"}));
  slicesCommand->add_option("--ends", slicesEnds, "End values L R of the clipped sine or the trapezoid (default 0 0)")
      ->expected(2);

  std::string convertIn, convertOut;
  bool legacy = false;
  CLI::App* convertCommand =
      app.add_subcommand("convert", "Read a project of either version and write it as version 2.0 (or 1.18).");
  convertCommand->add_option("in", convertIn, "Project file to read")->required();
  convertCommand->add_option("out", convertOut, "Project file to write")->required();
  convertCommand->add_flag("--legacy", legacy, "Write the version 1.18 layout");

  std::vector<std::string> summaryInputs;
  std::string summaryOutput, summaryExpect;
  CLI::App* summaryCommand = app.add_subcommand(
      "summary",
      "Merge the JSON lines of 'analyse --json' runs (from files, or standard input when none is named) into one "
      "summary table, as one batch of all their files would write it.");
  summaryCommand->add_option("files", summaryInputs, "Files of JSON lines");
  summaryCommand->add_option("--output,-o", summaryOutput,
                             "Write the table to this file, in code page 874 as 'analyse --summary' writes it "
                             "(default: standard output, in UTF-8)");
  summaryCommand->add_option(
      "--expect", summaryExpect,
      "A file listing the project files the runs were given, one a line (the list the jobs were made from): each "
      "one without a result line is named on standard error and gets a failed line in the table, and the exit "
      "status is 1");
  summaryCommand->footer(
      "A missing input file, or a line that is not a result line (FILE:LINE names it), is an error: no table is "
      "written and the exit status is 1.");

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return 2;
  }

  g_language = language.empty() ? SettingsLanguage() : language == "th" ? kLanguageThai : kLanguageEnglish;
  try {
    if (*analyseCommand) return Analyse(analyse);
    if (*verifyCommand) return Verify(verifyFile);
    if (*slicesCommand) {
      IntersliceShape shape;
      FindIntersliceFunction(slicesFunction, shape.kind);
      if (slicesEnds.size() == 2) {
        shape.left = slicesEnds[0];
        shape.right = slicesEnds[1];
      }
      return Slices(slicesFile, slicesMethod, slicesJson, shape);
    }
    if (*convertCommand) return Convert(convertIn, convertOut, legacy);
    if (*summaryCommand) return Summary(summaryInputs, summaryOutput, summaryExpect);
  } catch (const std::exception& e) {
    std::cerr << e.what() << '\n';
    return 1;
  }
  return 2;
}
