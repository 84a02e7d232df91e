// The parallel searches against the sequential one: every bundled example
// and a table of generated projects (grid, automatic, irregular; with and
// without water, loads and anchors) on 1, 2 and 4 threads leave the same
// Results rows, minima, run state, platform calls (in order), .pdr and JSON,
// byte for byte; and the stop request during a parallel grid search.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "engine/search.h"
#include "engine_fixture.h"
#include "persistence/project_file.h"
#include "persistence/result_file.h"

namespace pelodyn {
namespace {

namespace fs = std::filesystem;
using testing::EngineFixture;
using testing::SetCentreGrid;

std::string Hex(double x) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%a", x);
  return buffer;
}

std::string Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Every call of the platform services, in order, with what it was given.
class TranscriptPlatform final : public PlatformServices {
 public:
  void showMessage(MessageKind kind, std::string_view caption, std::string_view text) override {
    out << "message " << static_cast<int>(kind) << ' ' << caption << '|' << text << '\n';
    ++messages;
  }
  bool askOkCancel(std::string_view caption, std::string_view text) override {
    out << "ask " << caption << '|' << text << '\n';
    return true;
  }
  void reportProgress(const ProgressReport& r) override {
    out << "progress " << r.totalProcess << '|' << r.processPercent << '|' << r.barPercent << '\n';
    if (onProgress) onProgress();
  }
  void processPendingEvents() override {
    out << "events\n";
    if (onPendingEvents) onPendingEvents();
  }
  void showMinima(const std::array<std::string, 4>& labels, const std::array<bool, 4>& shown) override {
    out << "minima";
    for (int k = 0; k < 4; ++k) out << ' ' << labels[static_cast<std::size_t>(k)] << shown[static_cast<std::size_t>(k)];
    out << '\n';
  }
  void animateTrial(const TrialView& t) override {
    out << "animate " << Hex(t.centerX) << ' ' << Hex(t.centerY);
    for (std::size_t i = 0; i < t.x->size(); ++i) out << ' ' << Hex((*t.x)[i]) << ',' << Hex((*t.y)[i]);
    out << '\n';
    ++animations;
  }
  void setProgressCaption(std::string_view caption) override { out << "caption " << caption << '\n'; }
  void closeProgressWindow() override { out << "close\n"; }

  std::ostringstream out;
  int messages = 0, animations = 0;
  std::function<void()> onPendingEvents, onProgress;
};

// What a run leaves behind, every number exact.
std::string Describe(Project& p) {
  std::ostringstream o;
  const RunState& r = p.run;
  o << "loops " << r.LoopCount << " percent " << r.ProgressPercent << " surfaces " << r.SurfaceCount << " method "
    << r.CurrentMethod << " area " << Hex(r.SlidingMassArea) << " radii " << Hex(r.MaxRadius) << ' ' << Hex(r.MinRadius)
    << " available " << int(r.ResultAvailable) << '\n';
  for (int n : r.MethodLoopCount) o << "methodLoops " << n << '\n';
  for (auto [code, count] : r.ResultCodeCount) o << "code " << code << ' ' << count << '\n';
  for (std::size_t k = 0; k < 4; ++k) {
    const MethodMinimum& m = r.Minimum[k];
    o << "min " << Hex(m.Fs) << ' ' << Hex(m.CenterX) << ' ' << Hex(m.CenterY) << ' ' << Hex(m.Radius) << ' '
      << Hex(m.EntryX) << ' ' << Hex(m.EntryY) << ' ' << Hex(m.ExitX) << ' ' << Hex(m.ExitY) << '\n';
    o << "best";
    for (double x : r.BestSurfaceX[k]) o << ' ' << Hex(x);
    for (double y : r.BestSurfaceY[k]) o << ' ' << Hex(y);
    o << '\n';
  }
  const AnalysisModel& m = p.model;
  o << "model " << Hex(m.CenterX) << ' ' << Hex(m.CenterY) << ' ' << Hex(m.TrialRadius) << ' ' << m.CircleCount << ' '
    << m.NonCirPointCount;
  for (int i = 0; i < m.NonCirPointCount; ++i) {
    o << ' ' << Hex(m.NonCirX[static_cast<std::size_t>(i)]) << ',' << Hex(m.NonCirY[static_cast<std::size_t>(i)]);
  }
  o << '\n';
  o << "slices " << p.slices.SliceCount << ' ' << Hex(p.slices.FsOrdinary) << ' ' << Hex(p.slices.FsSpencer) << '\n';
  for (Table table : {Table::Results, Table::Failure_Geometry, Table::NonCirSlip_Janbu, Table::NonCirSlip_Bishop,
                      Table::NonCirSlip_Spencer}) {
    for (const Row& row : p.store->rows(table)) {
      o << "row " << static_cast<int>(table);
      for (std::size_t f = 0; f < TableDefinition(table).fields.size(); ++f) {
        const auto& v = row.value(f);
        if (const auto* d = std::get_if<double>(&v)) {
          o << ' ' << Hex(*d);
        } else if (const auto* i = std::get_if<std::int64_t>(&v)) {
          o << ' ' << *i;
        } else {
          o << " -";
        }
      }
      o << '\n';
    }
  }
  const fs::path pdr = fs::temp_directory_path() / ("pelodyn-parallel-" + std::to_string(getpid()) + ".pdr");
  WriteResultFile(p, pdr);
  o << "pdr\n" << Bytes(pdr);
  fs::remove(pdr);
  return o.str();
}

enum class Kind {
  Grid,
  GridDecrement,
  GridThenPattern,
  Automatic,
  AutomaticDecrement,
  Irregular,
  IrregularAutoCentre,
  GridTwoCuts
};

struct Case {
  std::string name;
  Kind kind;
  bool water = false;
  bool loads = false;  // line and strip loads and an anchor
};

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"grid", Kind::Grid},
      {"grid_water_loads", Kind::Grid, true, true},
      {"grid_decrement_water", Kind::GridDecrement, true, false},
      {"grid_then_pattern_loads", Kind::GridThenPattern, false, true},
      {"automatic", Kind::Automatic},
      {"automatic_water_loads", Kind::Automatic, true, true},
      {"automatic_decrement_water", Kind::AutomaticDecrement, true, false},
      {"irregular", Kind::Irregular},
      {"irregular_auto_centre_loads", Kind::IrregularAutoCentre, false, true},
      {"irregular_water_loads", Kind::Irregular, true, true},
      {"grid_two_cuts", Kind::GridTwoCuts},
  };
  return cases;
}

void Build(EngineFixture& f, const Case& c) {
  auto& o = f.options();
  if (c.kind == Kind::GridTwoCuts) {
    // A ground with a ditch: circles cut it four times.
    f.soil(1, 10.0, 25.0, 18.0);
    f.soil(2, 0.0, 0.0, 0.0);
    f.line(1, {{0, 0}, {60, 0}});
    f.line(2, {{0, 20}, {20, 20}, {26, 14}, {30, 17}, {40, 10}, {60, 10}});
  } else {
    f.twoLayerSlope();
  }
  for (const char* box : {Option::CB_Ordinary, Option::CB_Simp_Janbu, Option::CB_Simp_Bishop, Option::CB_Spencer})
    o.setChecked(box, true);
  o.setText(Option::E_Cir_Slice, "20");
  if (c.water) {
    o.setItemIndex(Option::CB_Seepage, 1);
    o.setText(Option::E_Unit_Weight_Water, "9.81");
    f.numberedPoint(Table::Waterline, 1, 0, 8);
    f.numberedPoint(Table::Waterline, 2, 30, 13);
    f.numberedPoint(Table::Waterline, 3, 60, 17);
  }
  if (c.loads) {
    Row line(Table::Lineload);
    line.set(LineLoadField::LoadNo, 1)
        .set(LineLoadField::Magnitude, 20.0)
        .set(LineLoadField::X, 50.0)
        .set(LineLoadField::Angle, 0.0);
    f.store().append(line);
    o.setChecked(Option::CB_LineLoad_Disable, false);
    Row strip(Table::Stripload);
    strip.set(StripLoadField::LoadNo, 1)
        .set(StripLoadField::Magnitude, 10.0)
        .set(StripLoadField::BeginX, 44.0)
        .set(StripLoadField::EndX, 56.0)
        .set(StripLoadField::Y1, 20.0)
        .set(StripLoadField::Y2, 20.0);
    f.store().append(strip);
    o.setChecked(Option::CB_StripLoad_Disable, false);
    Row anchor(Table::Anchor);
    anchor.set(AnchorField::LoadNo, 1)
        .set(AnchorField::Magnitude, 60.0)
        .set(AnchorField::XStart, 30.0)
        .set(AnchorField::YStart, 15.0)
        .set(AnchorField::XEnd, 46.0)
        .set(AnchorField::YEnd, 9.0)
        .set(AnchorField::BondedLength, 5.0);
    f.store().append(anchor);
    o.setChecked(Option::CB_Anchor_Disable, false);
  }
  switch (c.kind) {
    case Kind::Grid:
    case Kind::GridTwoCuts:
      SetCentreGrid(o, "22", "26", "40", "44", "8");
      o.setText(Option::E_Cir_Decrement, "10");
      break;
    case Kind::GridDecrement:
      SetCentreGrid(o, "22", "26", "40", "44", "6");
      o.setItemIndex(Option::CB_Circle_Decrement, 1);
      o.setText(Option::E_Cir_Decrement, "1.5");
      break;
    case Kind::GridThenPattern:
      SetCentreGrid(o, "24", "28", "36", "40", "4");
      o.setText(Option::E_Cir_Decrement, "8");
      o.setChecked(Option::CB_Grid_Increment, true);
      o.setText(Option::E_Xgrid_Increment, "1");
      o.setText(Option::E_Ygrid_Increment, "1");
      break;
    case Kind::Automatic:
    case Kind::AutomaticDecrement:
      o.setItemIndex(Option::CB_Cir_Search, 2);
      o.setText(Option::E_Xauto_Start, "30");
      o.setText(Option::E_Yauto_Start, "36");
      o.setText(Option::E_Xauto_Increment, "2");
      o.setText(Option::E_Yauto_Increment, "2");
      o.setText(Option::E_Cir_Decrement, "12");
      if (c.kind == Kind::AutomaticDecrement) {
        o.setItemIndex(Option::CB_Circle_Decrement, 1);
        o.setText(Option::E_Cir_Decrement, "1.25");
      }
      break;
    case Kind::Irregular:
    case Kind::IrregularAutoCentre: {
      o.setItemIndex(Option::RG_Theory, 2);
      // The moment centre follows the surface: it reads the slice set of
      // the last candidate analysed.
      o.setChecked(Option::CB_Auto_Center, c.kind == Kind::IrregularAutoCentre);
      int k = 1;
      for (auto [x, y] : {std::pair{12.0, 10.0}, {18.0, 6.5}, {24.0, 5.5}, {30.0, 6.0}, {36.0, 9.0}, {46.0, 20.0}}) {
        f.numberedPoint(Table::NonCircular_Coordinate, k++, x, y);
      }
      o.setText(Option::E_NonCir_Slice, "20");
      o.setText(Option::E_NonCir_X_Center, "30");
      o.setText(Option::E_NonCir_Y_Center, "32");
      o.setText(Option::E_Divide_Step, "2");
      o.setText(Option::E_Move_Length, "1");
      break;
    }
  }
}

struct Outcome {
  RunOutcome outcome;
  std::string state, transcript;
  int messages = 0, animations = 0;
};

// Runs a project prepared by `setUp` on `threads` threads, in batch mode or
// as the desktop program runs it (animation and the two-cuts warning on).
template <typename SetUp>
Outcome RunOn(SetUp&& setUp, int threads, bool batch) {
  EngineFixture f;
  setUp(f);
  f.project.BatchMode = batch ? 1 : 0;
  f.project.drawing.ShowFailureAnimation = 1;
  f.project.drawing.TwoIntersectWarning = 1;
  TranscriptPlatform ui;
  RunOptions options;
  options.threads = threads;
  f.project.run.StopRequested = 0;
  Outcome out;
  out.outcome = RunAnalysis(f.project, ui, options).outcome;
  out.state = Describe(f.project);
  out.transcript = ui.out.str();
  out.messages = ui.messages;
  out.animations = ui.animations;
  return out;
}

template <typename SetUp>
void ExpectSameOnAnyThreads(SetUp&& setUp, const std::string& name) {
  for (bool batch : {true, false}) {
    const Outcome one = RunOn(setUp, 1, batch);
    EXPECT_EQ(one.outcome, RunOutcome::Complete) << name;
    for (int threads : {2, 4}) {
      const Outcome many = RunOn(setUp, threads, batch);
      EXPECT_EQ(many.outcome, one.outcome) << name << " on " << threads;
      EXPECT_EQ(many.state, one.state) << name << " on " << threads << (batch ? " (batch)" : "");
      EXPECT_EQ(many.transcript, one.transcript) << name << " on " << threads << (batch ? " (batch)" : "");
    }
    if (!batch) {
      EXPECT_GT(one.animations, 0) << name;
    }
  }
}

class GeneratedProject : public ::testing::TestWithParam<Case> {};

TEST_P(GeneratedProject, SameOnOneTwoAndFourThreads) {
  const Case& c = GetParam();
  ExpectSameOnAnyThreads([&](EngineFixture& f) { Build(f, c); }, c.name);
  if (c.kind == Kind::GridTwoCuts) {
    // The warnings of the workers' trials reach the platform in order.
    EXPECT_GT(RunOn([&](EngineFixture& f) { Build(f, c); }, 2, false).messages, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, GeneratedProject, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.name; });

TEST(BundledExample, SameOnOneTwoAndFourThreads) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(PELODYN_EXAMPLES)) {
    if (entry.path().extension() != ".pdd") continue;
    ++count;
    ExpectSameOnAnyThreads(
        [&](EngineFixture& f) {
          RecordingPlatform quiet;
          ReadAnyProjectFile(f.project, quiet, entry.path());
        },
        entry.path().filename().string());
  }
  EXPECT_GE(count, 3);
}

// ----- The command-line program: .pdr and JSON byte for byte ----------------

std::string RunCli(const std::string& arguments) {
  const std::string command = std::string(PELODYN_CLI) + " " + arguments + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  std::string out;
  std::array<char, 4096> buffer;
  while (std::size_t n = fread(buffer.data(), 1, buffer.size(), pipe)) out.append(buffer.data(), n);
  pclose(pipe);
  // The one field that differs from run to run.
  return std::regex_replace(out, std::regex("\"elapsed_seconds\":[^,}]*"), "\"elapsed_seconds\":0");
}

TEST(CommandLine, SameJsonAndResultFilesOnOneTwoAndFourThreads) {
  const fs::path dir = fs::temp_directory_path() / ("pelodyn-parallel-cli-" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(PELODYN_EXAMPLES)) {
    if (entry.path().extension() != ".pdd") continue;
    files.push_back(dir / entry.path().filename());
    fs::copy_file(entry.path(), files.back());
  }
  for (const Case& c : Cases()) {
    EngineFixture f;
    Build(f, c);
    files.push_back(dir / (c.name + ".pdd"));
    WriteProjectFile(f.project, f.ui, files.back());
  }
  std::string arguments = "analyse --json --quiet --summary " + (dir / "summary.txt").string();
  for (const fs::path& file : files) arguments += " " + file.string();
  std::string json[3];
  std::vector<std::string> pdr[3];
  const int threads[3] = {1, 2, 4};
  for (int k = 0; k < 3; ++k) {
    json[k] = RunCli(arguments + " --threads " + std::to_string(threads[k]));
    for (const fs::path& file : files) {
      fs::path result = file;
      pdr[k].push_back(Bytes(result.replace_extension(".pdr")));
    }
  }
  EXPECT_EQ(std::count(json[0].begin(), json[0].end(), '\n'), static_cast<long>(files.size()));
  EXPECT_EQ(json[0].find("\"ok\":false"), std::string::npos) << json[0];
  for (int k = 1; k < 3; ++k) {
    EXPECT_EQ(json[k], json[0]) << threads[k] << " threads";
    for (std::size_t i = 0; i < files.size(); ++i) {
      EXPECT_FALSE(pdr[0][i].empty()) << files[i];
      EXPECT_EQ(pdr[k][i], pdr[0][i]) << files[i] << " on " << threads[k] << " threads";
    }
  }
  fs::remove_all(dir);
}

// ----- The stop request ------------------------------------------------------

// A grid of 21 x 21 centres with 20 circles each over Fredlund and Krahn's
// slope: 8820 trials.
void LargeGrid(EngineFixture& f) {
  f.fredlundKrahnSlope();
  SetCentreGrid(f.options(), "100", "70", "140", "110", "20");
  f.options().setText(Option::E_Cir_Decrement, "20");
  f.options().setChecked(Option::CB_Ordinary, true);
}

std::vector<Row> ResultRows(EngineFixture& f) {
  return f.store().rows(Table::Results);
}

// Stop pressed at the third centre's events: the same rows as on one thread.
TEST(ParallelStop, AtACentreGivesTheSameRowsAsOneThread) {
  std::vector<Row> rows[3];
  const int threads[3] = {1, 2, 4};
  for (int k = 0; k < 3; ++k) {
    EngineFixture f;
    LargeGrid(f);
    TranscriptPlatform ui;
    int calls = 0;
    ui.onPendingEvents = [&] {
      if (++calls == 3) f.project.run.StopRequested = 1;
    };
    f.project.run.StopRequested = 0;
    RunOptions options;
    options.threads = threads[k];
    EXPECT_EQ(RunAnalysis(f.project, ui, options).outcome, RunOutcome::Stopped);
    rows[k] = ResultRows(f);
  }
  EXPECT_EQ(rows[0].size(), 60u);
  EXPECT_EQ(rows[1], rows[0]);
  EXPECT_EQ(rows[2], rows[0]);
}

// Stop from another thread while the workers run, and from the progress of
// a trial within a fan: what is written is the start of the full run's rows
// (no trial a thread left out, nothing after it), and the run ends soon.
TEST(ParallelStop, DuringTheSearchWritesAPrefixOfTheFullRun) {
  EngineFixture full;
  LargeGrid(full);
  full.project.BatchMode = 1;
  full.project.run.StopRequested = 0;
  ASSERT_EQ(RunAnalysis(full.project, full.ui).outcome, RunOutcome::Complete);
  const std::vector<Row> all = ResultRows(full);
  ASSERT_EQ(all.size(), 8820u);

  auto expectPrefix = [&](const std::vector<Row>& rows, const std::string& what) {
    EXPECT_LT(rows.size(), all.size()) << what;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      ASSERT_EQ(rows[i], all[i]) << what << " row " << i;
    }
  };
  for (int threads : {2, 4}) {
    {
      // Within a fan: the trial's progress report sets the stop request.
      EngineFixture f;
      LargeGrid(f);
      f.project.BatchMode = 1;
      TranscriptPlatform ui;
      ui.onProgress = [&] {
        if (f.project.run.LoopCount == 2005) f.project.run.StopRequested = 1;
      };
      f.project.run.StopRequested = 0;
      RunOptions options;
      options.threads = threads;
      EXPECT_EQ(RunAnalysis(f.project, ui, options).outcome, RunOutcome::Stopped);
      const std::vector<Row> rows = ResultRows(f);
      EXPECT_GE(rows.size(), 2005u);
      EXPECT_LE(rows.size(), 2020u);  // at most the rest of that centre
      expectPrefix(rows, "progress stop on " + std::to_string(threads));
    }
    {
      // From another thread, as the desktop's Stop button does.
      EngineFixture f;
      LargeGrid(f);
      f.project.BatchMode = 1;
      f.project.run.StopRequested = 0;
      std::atomic<bool> started{false};
      TranscriptPlatform ui;
      ui.onProgress = [&] {
        if (f.project.run.LoopCount == 1000) started = true;
      };
      RunOptions options;
      options.threads = threads;
      std::chrono::steady_clock::time_point stoppedAt;
      std::thread button([&] {
        while (!started) std::this_thread::yield();
        stoppedAt = std::chrono::steady_clock::now();
        f.project.run.StopRequested = 1;
      });
      const RunResult result = RunAnalysis(f.project, ui, options);
      const auto endedAt = std::chrono::steady_clock::now();
      button.join();
      EXPECT_EQ(result.outcome, RunOutcome::Stopped);
      EXPECT_LT(endedAt - stoppedAt, std::chrono::milliseconds(500));
      expectPrefix(ResultRows(f), "button stop on " + std::to_string(threads));
    }
  }
}

}  // namespace
}  // namespace pelodyn
