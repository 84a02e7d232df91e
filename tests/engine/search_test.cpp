// The searches, the run driver and what a run leaves behind.
#include "engine/searcher.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <numbers>
#include <set>
#include <stdexcept>

#include <unistd.h>

#include "engine_fixture.h"
#include "model/collection.h"
#include "texts/messages.h"

namespace pelodyn {
namespace {

using testing::EngineFixture;
using testing::SetCentreGrid;

class Search : public ::testing::Test, public EngineFixture {
 protected:
  std::vector<Row> results() { return store().rows(Table::Results); }
  RunResult run() {
    project.run.StopRequested = 0;
    return RunAnalysis(project, ui);
  }
};

TEST_F(Search, RadiusRangeBetweenTheBottomLineAndTheGround) {
  homogeneousSlope();
  collectOk();
  Searcher searcher(project, ui);
  searcher.FindRadiusRange(35.0, 35.0);
  // Bottom line y = 0 straight below: 35; the ends of the ground line are
  // sqrt(35^2 + 15^2) and sqrt(25^2 + 25^2) away.
  EXPECT_DOUBLE_EQ(project.run.MaxRadius, 35.0);
  // Nearest ground: the foot (26, 17) on the slope face.
  EXPECT_DOUBLE_EQ(project.run.MinRadius, std::sqrt(405.0));
  searcher.FindRadiusRange(60.0, 60.0);  // the nearer ground end caps both
  EXPECT_DOUBLE_EQ(project.run.MaxRadius, 50.0);
  EXPECT_DOUBLE_EQ(project.run.MinRadius, 50.0);
}

TEST_F(Search, FanRadiiByCountOrByDecrement) {
  homogeneousSlope();
  struct Case {
    int mode;
    const char* text;
    std::vector<double> radii;
  };
  for (const Case& c : {Case{0, "10", {20, 19, 18, 17, 16, 15, 14, 13, 12, 11}}, Case{1, "3", {20, 17, 14}}}) {
    store().empty(Table::Results);
    options().setItemIndex(Option::CB_Circle_Decrement, c.mode);
    options().setText(Option::E_Cir_Decrement, c.text);
    collectOk();
    Searcher searcher(project, ui);
    project.run.MaxRadius = 20.0;
    project.run.MinRadius = 10.0;
    model().CenterX = 35.0;
    model().CenterY = 35.0;
    model().TrialRadius = 20.0;
    searcher.SearchCircleFan();
    searcher.FlushResults();
    std::vector<double> radii;
    for (const Row& r : results()) radii.push_back(r.real(ResultField::Radius));
    ASSERT_EQ(radii.size(), c.radii.size());
    for (std::size_t i = 0; i < radii.size(); ++i) EXPECT_NEAR(radii[i], c.radii[i], 1e-9);
  }
  // The fan counts its own circles (10 / 3 rounded): the model keeps the
  // count the collection gave it.
  EXPECT_EQ(model().CircleCount, 0);
}

TEST_F(Search, FanRowsAreNumberedAndRounded) {
  homogeneousSlope();
  options().setText(Option::E_Cir_Decrement, "3");
  collectOk();
  Searcher searcher(project, ui);
  model().CenterX = 35.004;
  model().CenterY = 35.0;
  searcher.FindRadiusRange(35.004, 35.0);
  model().TrialRadius = project.run.MaxRadius;
  searcher.SearchCircleFan();
  searcher.FlushResults();
  const auto rows = results();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[2].integer(ResultField::Num), 3);
  EXPECT_DOUBLE_EQ(rows[0].real(ResultField::XCenter), 35.0);
  for (const Row& r : rows) {
    const double fs = r.real(ResultField::FsBis);
    EXPECT_NEAR(fs * 1000.0, std::nearbyint(fs * 1000.0), 1e-6);
  }
  // The minima are the smallest factors of the fan, with their circles.
  const MethodMinimum& bishop = project.run.Minimum[Bishop];
  EXPECT_NEAR(
      bishop.Fs,
      std::min({rows[0].real(ResultField::FsBis), rows[1].real(ResultField::FsBis), rows[2].real(ResultField::FsBis)}),
      5e-4);
  EXPECT_EQ(bishop.CenterX, 35.004);
  EXPECT_GT(bishop.Radius, 0.0);
}

TEST_F(Search, NoCircleWhenTheBottomLineIsNotBelowTheGround) {
  homogeneousSlope();
  collectOk();
  Searcher searcher(project, ui);
  model().CenterX = 30.0;
  model().CenterY = 5.0;  // below the ground
  searcher.FindRadiusRange(30.0, 5.0);
  ASSERT_LE(project.run.MaxRadius, project.run.MinRadius);
  model().TrialRadius = project.run.MaxRadius;
  searcher.SearchCircleFan();
  searcher.FlushResults();
  EXPECT_TRUE(results().empty());
}

std::vector<std::pair<double, double>> Centres(const std::vector<Row>& rows) {
  std::vector<std::pair<double, double>> centres;
  for (const Row& r : rows) {
    const std::pair<double, double> c{r.real(ResultField::XCenter), r.real(ResultField::YCenter)};
    if (centres.empty() || centres.back() != c) centres.push_back(c);
  }
  return centres;
}

TEST_F(Search, GridCentresRowByRow) {
  homogeneousSlope();
  const char* corners[][2] = {{OptionCName(Option::E_X_LeftDown), "10"},  {OptionCName(Option::E_Y_LeftDown), "40"},
                              {OptionCName(Option::E_X_RightDown), "30"}, {OptionCName(Option::E_Y_RightDown), "40"},
                              {OptionCName(Option::E_X_RightTop), "30"},  {OptionCName(Option::E_Y_RightTop), "50"}};
  for (auto [box, text] : corners) options().setText(OptionNamed(box), text);
  options().setText(Option::E_12_Division, "2");
  options().setText(Option::E_23_Division, "1");
  options().setText(Option::E_Cir_Decrement, "2");
  EXPECT_EQ(run().outcome, RunOutcome::Complete);
  using C = std::vector<std::pair<double, double>>;
  EXPECT_EQ(Centres(results()), (C{{10, 40}, {20, 40}, {30, 40}, {10, 50}, {20, 50}, {30, 50}}));
  EXPECT_EQ(results().size(), 12u);
  EXPECT_EQ(ui.captions.back(), "Calculation Complete");

  store().empty(Table::Results);
  options().setText(Option::E_12_Division, "0");  // one centre per row
  EXPECT_EQ(run().outcome, RunOutcome::Complete);
  EXPECT_EQ(Centres(results()), (C{{10, 40}, {10, 50}}));
}

// A homogeneous slope 100 m wide: ground (0, 30) (40, 30) (70, 15)
// (100, 15) over a bottom line at y = 0. A radius decrement of 0.05 is
// ordinary work here: some 600 circles a centre.
TEST_F(Search, AFineDecrementOnAHundredMetreSectionRuns) {
  soil(1, 10.0, 25.0, 18.0);
  soil(2, 0.0, 0.0, 0.0);
  line(1, {{0, 0}, {100, 0}});
  line(2, {{0, 30}, {40, 30}, {70, 15}, {100, 15}});
  SetCentreGrid(options(), "50", "40", "70", "60", "2");
  options().setItemIndex(Option::CB_Circle_Decrement, 1);
  std::array<double, 4> coarse{}, fine{};
  for (auto [text, fs] : {std::pair{"0.5", &coarse}, std::pair{"0.05", &fine}}) {
    SCOPED_TRACE(text);
    store().empty(Table::Results);
    options().setText(Option::E_Cir_Decrement, text);
    ASSERT_EQ(run().outcome, RunOutcome::Complete) << (ui.shown.empty() ? std::string() : ui.shown.back().text);
    // What the collection counted is what the search stored.
    EXPECT_EQ(static_cast<long long>(results().size()), GridCircleTotal(model()));
    for (int method = Ordinary; method <= Spencer; ++method) {
      (*fs)[static_cast<std::size_t>(method)] = project.run.Minimum[static_cast<std::size_t>(method)].Fs;
    }
  }
  EXPECT_GT(results().size(), 9u * 300u);  // every centre spans more than 15 m
  for (std::size_t method = 0; method < 4; ++method) {
    // Every tenth radius of the fine fan is a radius of the coarse one
    // (rounding apart), so the fine search finds no higher minimum, and a
    // smooth factor moves little between radii half a metre apart.
    EXPECT_LE(fine[method], coarse[method] + 1e-9) << method;
    EXPECT_GT(fine[method], coarse[method] - 0.02) << method;
    EXPECT_GT(fine[method], 0.5) << method;
    EXPECT_LT(fine[method], 5.0) << method;
  }
}

TEST(PatternWalk, ProbesXThenYThenFinerSteps) {
  // A bowl at (2, 1); start at (0, 0) with steps 1 and 1.
  std::vector<std::pair<double, double>> probes;
  double best = 5.0, x = 0.0, y = 0.0;
  PatternWalk(
      best, x, y, 1.0, 1.0,
      [&](double px, double py) {
        probes.emplace_back(px, py);
        return (px - 2) * (px - 2) + (py - 1) * (py - 1);
      },
      [] { return false; });
  using P = std::vector<std::pair<double, double>>;
  EXPECT_EQ(probes, (P{{1, 0},
                       {2, 0},
                       {3, 0},  // +X while it improves
                       {2, 1},
                       {2, 2},  // +Y likewise
                       {2.25, 1},
                       {1.75, 1},  // a quarter step on X, both ways
                       {2, 1.25},
                       {2, 0.75}}));  // and on Y; the failed -Y ends it
  EXPECT_EQ(best, 0.0);
  EXPECT_EQ(x, 2.0);
  EXPECT_EQ(y, 1.0);
}

TEST(PatternWalk, StopsWhenAsked) {
  int probes = 0;
  double best = 1.0, x = 0.0, y = 0.0;
  PatternWalk(
      best, x, y, 1.0, 1.0, [&](double, double) { return 1.0 - ++probes; }, [&] { return probes >= 3; });
  EXPECT_EQ(probes, 3);
}

TEST_F(Search, IrregularCandidates) {
  homogeneousSlope();
  irregularSurface({{10, 20}, {20, 8}, {40, 6}, {50, 10}});
  options().setText(Option::E_Move_Length, "0.5");
  collectOk();
  Searcher searcher(project, ui);
  std::vector<double> x, y;
  searcher.Candidates(1, x, y);
  ASSERT_EQ(x.size(), 8u);  // the ring only: line 1 (y = 0) is out of reach
  for (int j = 0; j < 8; ++j) {
    EXPECT_NEAR(x[static_cast<std::size_t>(j)], 20 + 0.5 * std::cos(j * std::numbers::pi / 4), 1e-12);
    EXPECT_NEAR(y[static_cast<std::size_t>(j)], 8 + 0.5 * std::sin(j * std::numbers::pi / 4), 1e-12);
  }
  // The end points slide along the ground: (10, 20) on the crest both ways.
  searcher.Candidates(0, x, y);
  ASSERT_EQ(x.size(), 2u);
  EXPECT_DOUBLE_EQ(x[0], 10.5);
  EXPECT_DOUBLE_EQ(x[1], 9.5);
  EXPECT_EQ(y[0], 20.0);

  // On the first ground vertex: back to itself, forward by s.
  model().NonCirX[0] = 0.0;
  searcher.Candidates(0, x, y);
  EXPECT_EQ(x, (std::vector<double>{0.5, 0.0}));
  // On the last ground vertex: forward stays there, backward along the last segment.
  model().NonCirX[3] = 60.0;
  model().NonCirY[3] = 10.0;
  searcher.Candidates(3, x, y);
  EXPECT_EQ(x, (std::vector<double>{60.0, 59.5}));
  // Just past a vertex, going back crosses it: the move follows the
  // previous segment, here the slope face.
  model().NonCirX[3] = 40.2;
  searcher.Candidates(3, x, y);
  const double cosFace = std::cos(std::atan(-0.5)), sinFace = std::sin(std::atan(-0.5));
  EXPECT_DOUBLE_EQ(x[0], 40.7);
  EXPECT_DOUBLE_EQ(x[1], 40.0);  // 40.2 - 0.5 < 40: the vertex itself
  model().NonCirX[3] = 40.0;
  searcher.Candidates(3, x, y);
  EXPECT_DOUBLE_EQ(x[1], 40.0 - 0.5 * cosFace);
  EXPECT_DOUBLE_EQ(y[1], 10.0 - 0.5 * sinFace);
}

TEST_F(Search, CandidatesIncludeCrossingsWithTheBoundaryLines) {
  soil(1, 10, 25, 18);
  soil(2, 5, 20, 18);
  soil(3, 0, 0, 0);
  line(1, {{0, 0}, {60, 0}});
  line(2, {{0, 8.3}, {60, 8.3}});
  line(3, {{0, 20}, {60, 20}});
  irregularSurface({{10, 20}, {20, 8}, {40, 8}, {50, 20}});
  options().setText(Option::E_Move_Length, "2");
  collectOk();
  Searcher searcher(project, ui);
  std::vector<double> x, y;
  searcher.Candidates(1, x, y);
  // The circle of radius 2 about (20, 8) cuts y = 8.3 at 20 -/+ sqrt(4 - 0.09).
  ASSERT_EQ(x.size(), 10u);
  EXPECT_DOUBLE_EQ(x[8], 20 - std::sqrt(3.91));
  EXPECT_DOUBLE_EQ(x[9], 20 + std::sqrt(3.91));
  EXPECT_DOUBLE_EQ(y[8], 8.3);
}

TEST_F(Search, ThreeNearlyCollinearPointsLoseTheMiddleOne) {
  homogeneousSlope();
  irregularSurface({{10, 20}, {10.5, 20.01}, {11, 20.02}, {50, 10}});
  options().setText(Option::E_Move_Length, "1");
  collectOk();
  Searcher searcher(project, ui);
  project.slices.SlipSlope = {0.02, 0.02, -10.02 / 39.0};
  project.slices.SlipIntercept = {0, 0, 0};
  EXPECT_TRUE(searcher.SimplifySurface());
  EXPECT_EQ(model().NonCirPointCount, 3);
  EXPECT_EQ(model().NonCirX, (std::vector<double>{10, 11, 50}));

  // Segments all wider than 2s stay.
  model().NonCirX = {10, 20, 40, 50};
  model().NonCirY = {20, 8, 6, 10};
  model().NonCirPointCount = 4;
  project.slices.SlipSlope = {-1.2, -0.1, 0.4};
  EXPECT_FALSE(searcher.SimplifySurface());
  EXPECT_EQ(model().NonCirPointCount, 4);
}

// The centre of the circle through the ends of a surface with the surface's
// sagitta: for the chords of a circle, close to that circle's centre.
TEST_F(Search, AutoCenterFindsTheCircleOfTheSurface) {
  homogeneousSlope();
  options().setText(Option::E_Cir_Slice, "40");
  collectOk();
  analyseCircle(35.0, 35.0, 28.0);
  Searcher searcher(project, ui);
  model().CenterX = 0.0;
  model().CenterY = 0.0;
  searcher.AutoCenter();
  EXPECT_NEAR(model().CenterX, 35.0, 0.3);
  EXPECT_NEAR(model().CenterY, 35.0, 0.3);
}

TEST_F(Search, BelowTheBottomLineByNumberOrByPieces) {
  homogeneousSlope();
  collectOk();
  Searcher searcher(project, ui);
  EXPECT_TRUE(searcher.BelowBottomLine(30.0, -0.5));  // line 1 is y = 0
  EXPECT_FALSE(searcher.BelowBottomLine(30.0, 0.5));
  EXPECT_FALSE(searcher.BelowBottomLine(60.0, -0.5));  // past its last point
  Row piece(Table::Bottom_Line);
  piece.set(BottomLineField::LineNo, 2)
      .set(BottomLineField::BeginPoint, 2)
      .set(BottomLineField::EndPoint, 3);  // the slope face, x 20 to 40
  store().append(piece);
  options().setItemIndex(Option::CB_Bottom_Line_Choose, 1);
  collectOk();
  EXPECT_TRUE(searcher.BelowBottomLine(30.0, 14.0));  // the face is at y = 15 there
  EXPECT_FALSE(searcher.BelowBottomLine(30.0, 16.0));
  EXPECT_FALSE(searcher.BelowBottomLine(10.0, 0.0));  // outside the piece
}

TEST_F(Search, ProgressOfAGrid) {
  homogeneousSlope();
  collectOk();
  model().GridDivision12 = 4;
  model().GridDivision23 = 4;
  model().CircleCount = 10;
  Searcher searcher(project, ui);
  searcher.BeginRun();
  for (int i = 0; i < 37; ++i) searcher.UpdateProgress(false);
  EXPECT_EQ(ui.progress.back().totalProcess, "37 of 250");
  EXPECT_EQ(ui.progress.back().processPercent, "15%");
  EXPECT_EQ(ui.progress.back().barPercent, 15);
  searcher.UpdateProgress(true);
  EXPECT_EQ(ui.progress.back().totalProcess, "250 of 250");
  EXPECT_EQ(ui.progress.back().processPercent, "100%");

  // Circles by Radius Decrement, as the collection leaves them in the model.
  model().RadiusDecrement = 2.0;
  searcher.UpdateProgress(false);
  EXPECT_EQ(ui.progress.back().totalProcess, "39");
  EXPECT_EQ(ui.progress.back().processPercent, "");

  // Back to circles by number: the percentage is that of the count again.
  model().RadiusDecrement = 0.0;
  searcher.UpdateProgress(false);
  EXPECT_EQ(ui.progress.back().totalProcess, "40 of 250");
  EXPECT_EQ(ui.progress.back().processPercent, "16%");
  for (int i = 0; i < 2; ++i) searcher.UpdateProgress(false);
  EXPECT_EQ(ui.progress.back().totalProcess, "42 of 250");
  EXPECT_EQ(ui.progress.back().processPercent, "17%");
}

TEST_F(Search, MinimumLabelsInTheShortestForm) {
  homogeneousSlope();
  collectOk();
  project.run.Minimum[Ordinary].Fs = 1.23456;
  project.run.Minimum[Janbu].Fs = 1.2;
  project.run.Minimum[Bishop].Fs = 1000000;
  project.run.Minimum[Spencer].Fs = 2.0004;
  Searcher searcher(project, ui);
  searcher.ShowMinima();
  EXPECT_EQ(ui.minimaLabels, (std::array<std::string, 4>{"1.235", "1.2", "1000000", "2"}));
  EXPECT_EQ(ui.minimaShown, (std::array<bool, 4>{false, true, true, true}));  // the selected methods
  // An irregular random search shows the method it is searching.
  model().AnalysisTheory = 2;
  model().NonCirSearchKind = 1;
  project.run.CurrentMethod = Bishop;
  searcher.ShowMinima();
  EXPECT_EQ(ui.minimaShown, (std::array<bool, 4>{false, false, true, false}));
}

TEST_F(Search, ProgressOfAnIrregularSearchCountsLoopsPerMethod) {
  homogeneousSlope();
  irregularSurface({{10, 20}, {20, 8}, {40, 6}, {50, 10}});
  collectOk();
  Searcher searcher(project, ui);
  searcher.BeginRun();
  project.run.LoopCount = 0;
  const int loops[] = {12, 30, 25, 40};
  for (int method = Ordinary; method <= Spencer; ++method) {
    project.run.CurrentMethod = method;
    for (int i = 0; i < loops[method]; ++i) searcher.UpdateProgress(false);
  }
  EXPECT_EQ(ui.progress.back().totalProcess, "107 Loop");
  EXPECT_EQ(ui.progress.back().processPercent, "12/30/25/40");
}

TEST_F(Search, MovingCentreListing) {
  homogeneousSlope();
  irregularSurface({{10, 20}, {20, 8}, {40, 6}, {50, 10}});
  options().setItemIndex(Option::CB_NonCir_Search, 0);
  options().setChecked(Option::CB_Moving_Center, true);
  options().setText(Option::E_NonCir_X_Center, "30");
  options().setText(Option::E_NonCir_Y_Center, "35");
  options().setText(Option::E_Bound_L, "20");
  options().setText(Option::E_Bound_R, "40");
  // Named by process: test runs of other checkouts share the folder.
  const auto file =
      std::filesystem::temp_directory_path() / ("pelodyn-moving-centre-test-" + std::to_string(getpid()) + ".txt");
  project.run.StopRequested = 0;
  const RunResult result = RunAnalysis(project, ui, {file});
  ASSERT_EQ(result.outcome, RunOutcome::Complete) << result.message;
  std::ifstream in(file, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::filesystem::remove(file);
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find("\r\n", start);
    ASSERT_NE(end, std::string::npos) << "every line ends with CR LF";
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  ASSERT_EQ(lines.size(), 101u * 64u);
  // On line 1 (y = 0) and under the ground: zone 2; x varies fastest.
  EXPECT_EQ(lines[0].substr(0, 14), "2,0.000,0.000,");
  EXPECT_EQ(lines[1].substr(0, 14), "2,1.000,0.000,");
  EXPECT_EQ(lines[101].substr(0, 14), "2,0.000,1.000,");
  // (30, 40) lies above the ground between the bounds: zone 4; (10, 40) left: 3; (50, 40) right: 5.
  EXPECT_EQ(lines[40 * 101 + 30].substr(0, 16), "4,30.000,40.000,");
  EXPECT_EQ(lines[40 * 101 + 10].substr(0, 16), "3,10.000,40.000,");
  EXPECT_EQ(lines[40 * 101 + 50].substr(0, 16), "5,50.000,40.000,");
  EXPECT_EQ(std::count(lines[0].begin(), lines[0].end(), ','), 6);
}

TEST_F(Search, SpecificCircleWithinItsRadiusRange) {
  homogeneousSlope();
  options().setItemIndex(Option::CB_Cir_Search, 1);
  options().setText(Option::E_X_Center, "35");
  options().setText(Option::E_Y_Center, "35");
  options().setText(Option::E_Radius, "28");
  ASSERT_EQ(run().outcome, RunOutcome::Complete);
  EXPECT_NEAR(project.run.Minimum[Bishop].Fs, 2.00867574639954, 1e-6);  // the hand-checked circle
  EXPECT_EQ(project.run.Minimum[Spencer].Radius, 28.0);
  EXPECT_EQ(project.run.ResultAvailable, 1);
  EXPECT_EQ(store().rowCount(Table::Failure_Geometry), 13);
  EXPECT_EQ(ui.progress.back().totalProcess, "1 of 1");
  EXPECT_EQ(ui.progress.back().processPercent, "100 %");

  // Equal to the largest radius (35 straight above the bottom line) is analysed,
  // above it is refused, at the smallest it is refused.
  options().setText(Option::E_Radius, "35");
  EXPECT_EQ(run().outcome, RunOutcome::Complete);
  ui.shown.clear();
  options().setText(Option::E_Radius, "35.5");
  EXPECT_EQ(run().outcome, RunOutcome::Refused);
  EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"Specific radius more than maximum radius."});
  ui.shown.clear();
  options().setText(Option::E_Radius, std::to_string(std::sqrt(405.0)));
  collectOk();
  model().TrialRadius = std::sqrt(405.0);
  Searcher searcher(project, ui);
  searcher.FindRadiusRange(35.0, 35.0);
  EXPECT_EQ(project.run.MinRadius, std::sqrt(405.0));
}

TEST_F(Search, RunChecksInOrder) {
  // Nothing entered: message 3.
  EXPECT_EQ(run().outcome, RunOutcome::Refused);
  EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"Please input data before calculation."});
  EXPECT_EQ(project.run.StopRequested, 1);

  // Irregular without an initial surface: message 6.
  ui.shown.clear();
  homogeneousSlope();
  options().setItemIndex(Option::RG_Theory, 2);
  EXPECT_EQ(run().outcome, RunOutcome::Refused);
  EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"Initial slip surface is invalid."});

  // An axis not beyond the first point of line 1: the question, in Thai.
  ui.shown.clear();
  model().Language = kLanguageThai;
  numberedPoint(Table::NonCircular_Coordinate, 1, 10, 20);
  numberedPoint(Table::NonCircular_Coordinate, 2, 30, 6);
  numberedPoint(Table::NonCircular_Coordinate, 3, 50, 10);
  ui.answers = {false};
  EXPECT_EQ(run().outcome, RunOutcome::Refused);
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(ui.shown[0].caption, "คำเตือน");
  // It says where the axis is moved.
  EXPECT_EQ(ui.shown[0].text,
            "จุดหมุนอยู่ที่ตำแหน่งไม่เหมาะสม\nย้ายจุดหมุนได้ที่ วาด > ไม่เป็นส่วนของวงกลม > จุดหมุน\nต้องการคำนวณต่อไปหรือไม่?");

  // Theories 0 and 3 run nothing and complete.
  ui.shown.clear();
  options().setItemIndex(Option::RG_Theory, 0);
  EXPECT_EQ(run().outcome, RunOutcome::Complete);
  EXPECT_TRUE(ui.shown.empty());
  EXPECT_EQ(ui.captions.back(), "Calculation Complete");

  // A text that does not convert ends the run without a message.
  options().setItemIndex(Option::RG_Theory, 1);
  options().setText(Option::E_Kh, "x");
  options().setChecked(Option::CB_Seismic_Disable, false);
  const RunResult failed = run();
  EXPECT_EQ(failed.outcome, RunOutcome::Failed);
  EXPECT_EQ(failed.message, "'x' is not a valid floating point value");
  EXPECT_EQ(project.run.StopRequested, 1);
}

TEST_F(Search, StopBetweenTrials) {
  homogeneousSlope();
  options().setText(Option::E_X_LeftDown, "25");
  options().setText(Option::E_Y_LeftDown, "35");
  options().setText(Option::E_X_RightDown, "45");
  options().setText(Option::E_Y_RightDown, "35");
  options().setText(Option::E_X_RightTop, "45");
  options().setText(Option::E_Y_RightTop, "45");
  ui.onPendingEvents = [&] { project.run.StopRequested = 1; };  // Stop pressed during the first centre
  EXPECT_EQ(run().outcome, RunOutcome::Stopped);
  EXPECT_EQ(Centres(results()).size(), 1u);
  EXPECT_TRUE(std::find(ui.captions.begin(), ui.captions.end(), "Calculation Complete") == ui.captions.end());
}

// The desktop front end collects and checks on its own thread, then starts
// the run with alreadyChecked: the collection's messages are seen once.
TEST_F(Search, ARunCheckedByItsCallerDoesNotCheckAgain) {
  homogeneousSlope();
  irregularSurface({{8, 20}, {20, 8}, {40, 6}, {52, 10}});
  options().setItemIndex(Option::CB_NonCir_Search, 0);
  options().setText(Option::E_NonCir_X_Center, "35");
  options().setText(Option::E_NonCir_Y_Center, "35");
  options().setText(Option::E_No_Direction, "3");  // fewer than four: the collection says so and goes on
  ASSERT_FALSE(CollectAndCheckRun(project, ui).has_value());
  const std::vector<std::string> once = ui.messageTexts();
  ASSERT_EQ(once.size(), 1u);
  RunOptions checked;
  checked.alreadyChecked = true;
  project.run.StopRequested = 0;
  EXPECT_EQ(RunAnalysis(project, ui, checked).outcome, RunOutcome::Complete);
  EXPECT_EQ(ui.messageTexts(), once);
  EXPECT_EQ(project.run.SurfaceCount, 1);  // the surface was analysed

  // Without the flag the run collects and checks again.
  ui.shown.clear();
  EXPECT_EQ(run().outcome, RunOutcome::Complete);
  EXPECT_EQ(ui.messageTexts(), once);
  EngineFixture empty;
  empty.project.run.StopRequested = 0;
  EXPECT_EQ(RunAnalysis(empty.project, empty.ui).outcome, RunOutcome::Refused);
  EXPECT_EQ(empty.ui.messageTexts(), std::vector<std::string>{"Please input data before calculation."});
}

// How far a run got: the trials counted against those planned.
TEST_F(Search, ARunReportsHowManyTrialsItMade) {
  homogeneousSlope();
  SetCentreGrid(options(), "25", "35", "45", "45", "2");
  options().setText(Option::E_Cir_Decrement, "4");
  for (int threads : {1, 2}) {
    SCOPED_TRACE(threads);
    RunOptions o;
    o.threads = threads;
    store().empty(Table::Results);
    ui.onPendingEvents = nullptr;
    project.run.StopRequested = 0;
    RunResult whole = RunAnalysis(project, ui, o);
    ASSERT_EQ(whole.outcome, RunOutcome::Complete);
    EXPECT_EQ(whole.trialsTotal, 3 * 3 * 4);
    EXPECT_EQ(whole.trialsDone, whole.trialsTotal);
    EXPECT_EQ(store().rowCount(Table::Results), whole.trialsTotal);

    // Stop pressed after the second centre.
    store().empty(Table::Results);
    int calls = 0;
    ui.onPendingEvents = [&] {
      if (++calls == 2) project.run.StopRequested = 1;
    };
    project.run.StopRequested = 0;
    const RunResult stopped = RunAnalysis(project, ui, o);
    ASSERT_EQ(stopped.outcome, RunOutcome::Stopped);
    EXPECT_EQ(stopped.trialsTotal, 3 * 3 * 4);
    EXPECT_LT(stopped.trialsDone, stopped.trialsTotal);
    EXPECT_GT(stopped.trialsDone, 0);
    EXPECT_EQ(stopped.trialsDone, store().rowCount(Table::Results));
  }
  ui.onPendingEvents = nullptr;

  // Circles by decrement, or a pattern walk after the grid: not known before.
  struct Case {
    const char* name;
    void (*set)(OptionValues&);
    long total;
  };
  const Case cases[] = {
      {"decrement", [](OptionValues& o) { o.setItemIndex(Option::CB_Circle_Decrement, 1); }, 0},
      {"pattern", [](OptionValues& o) { o.setChecked(Option::CB_Grid_Increment, true); }, 0},
      {"specific",
       [](OptionValues& o) {
         o.setItemIndex(Option::CB_Cir_Search, 1);
         o.setText(Option::E_X_Center, "35");
         o.setText(Option::E_Y_Center, "35");
         o.setText(Option::E_Radius, "28");
       },
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EngineFixture f;
    f.homogeneousSlope();
    SetCentreGrid(f.options(), "25", "35", "45", "45", "2");
    f.options().setText(Option::E_Cir_Decrement, "4");
    c.set(f.options());
    f.project.run.StopRequested = 0;
    const RunResult r = RunAnalysis(f.project, f.ui);
    ASSERT_EQ(r.outcome, RunOutcome::Complete);
    EXPECT_EQ(r.trialsTotal, c.total);
    EXPECT_GT(r.trialsDone, 0);
    if (c.total == 0 && f.model().CircularSearchKind == 0 && !f.model().GridIncrementEnabled) {
      EXPECT_EQ(r.trialsDone, f.store().rowCount(Table::Results));
    }
    if (c.total == 1) {
      EXPECT_EQ(r.trialsDone, 1);
    }
  }
  // A refused run made none.
  EngineFixture empty;
  empty.project.run.StopRequested = 0;
  const RunResult refused = RunAnalysis(empty.project, empty.ui);
  EXPECT_EQ(refused.trialsDone, 0);
  EXPECT_EQ(refused.trialsTotal, 0);
}

// A search reads the collected model and keeps the circle it tries, the
// count of its fans and the steps of its walk to itself: after a run in a
// batch (no replay) every search field of the model is what the collection
// put there, with one thread or several. Outside a batch the run ends by
// replaying the minima, and only then does the model take the circle the
// slice set holds: the last shown method's minimum.
TEST_F(Search, ARunLeavesTheModelItReadsAsCollected) {
  struct Case {
    const char* name;
    void (*set)(OptionValues&);
  };
  const Case cases[] = {
      {"grid by number", [](OptionValues&) {}},
      {"grid by decrement",
       [](OptionValues& o) {
         o.setItemIndex(Option::CB_Circle_Decrement, 1);
         o.setText(Option::E_Cir_Decrement, "3");
       }},
      {"grid and pattern walk", [](OptionValues& o) { o.setChecked(Option::CB_Grid_Increment, true); }},
      {"automatic",
       [](OptionValues& o) {
         o.setItemIndex(Option::CB_Cir_Search, 2);
         o.setText(Option::E_Xauto_Start, "35");
         o.setText(Option::E_Yauto_Start, "35");
         o.setText(Option::E_Xauto_Increment, "2");
         o.setText(Option::E_Yauto_Increment, "2");
       }},
  };
  for (const Case& c : cases) {
    for (int threads : {1, 2}) {
      SCOPED_TRACE(std::string(c.name) + ", threads " + std::to_string(threads));
      EngineFixture f;
      f.project.BatchMode = 1;
      f.homogeneousSlope();
      SetCentreGrid(f.options(), "25", "35", "45", "45", "2");
      f.options().setText(Option::E_Cir_Decrement, "4");
      c.set(f.options());
      CollectAnalysisData(f.project, f.ui);
      ASSERT_EQ(f.model().DataError, 0);
      const AnalysisModel collected = f.model();
      RunOptions o;
      o.threads = threads;
      o.alreadyChecked = true;
      f.project.run.StopRequested = 0;
      ASSERT_EQ(RunAnalysis(f.project, f.ui, o).outcome, RunOutcome::Complete);
      ASSERT_GT(f.project.run.SurfaceCount, 1);
      const AnalysisModel& after = f.model();
      EXPECT_EQ(after.CenterX, collected.CenterX);
      EXPECT_EQ(after.CenterY, collected.CenterY);
      EXPECT_EQ(after.TrialRadius, collected.TrialRadius);
      EXPECT_EQ(after.CircleCount, collected.CircleCount);
      EXPECT_EQ(after.RadiusDecrement, collected.RadiusDecrement);
      EXPECT_EQ(after.AutoIncrementX, collected.AutoIncrementX);
      EXPECT_EQ(after.AutoIncrementY, collected.AutoIncrementY);

      // Outside a batch: the replayed minimum, and nothing else changed.
      f.project.BatchMode = 0;
      f.project.run.StopRequested = 0;
      ASSERT_EQ(RunAnalysis(f.project, f.ui, o).outcome, RunOutcome::Complete);
      int shown = -1;
      for (int method = Ordinary; method <= Spencer; ++method) {
        const bool selected[] = {after.UseOrdinary != 0, after.UseSimplifiedJanbu != 0, after.UseSimplifiedBishop != 0,
                                 after.UseSpencer != 0};
        if (selected[method] && f.project.run.ShowPicture[static_cast<std::size_t>(method)]) shown = method;
      }
      ASSERT_GE(shown, 0);
      const MethodMinimum& last = f.project.run.Minimum[static_cast<std::size_t>(shown)];
      EXPECT_EQ(after.CenterX, last.CenterX);
      EXPECT_EQ(after.CenterY, last.CenterY);
      EXPECT_EQ(after.TrialRadius, last.Radius);
      EXPECT_EQ(after.CircleCount, collected.CircleCount);
      EXPECT_EQ(after.AutoIncrementX, collected.AutoIncrementX);
    }
  }
}

// The irregular search moves its points and, with Auto Center, its centre in
// a copy of the collected model: while it runs the project's model stays as
// collected, and at the end it holds the surface analysed last (the last
// method's best) for the windows to draw.
TEST_F(Search, AnIrregularSearchMovesItsSurfaceInItsOwnCopy) {
  for (int threads : {1, 2}) {
    SCOPED_TRACE("threads " + std::to_string(threads));
    EngineFixture f;
    f.project.BatchMode = 1;
    f.homogeneousSlope();
    f.irregularSurface({{10, 20}, {20, 8}, {40, 6}, {50, 10}});
    f.options().setItemIndex(Option::RG_Theory, 2);
    f.options().setText(Option::E_NonCir_X_Center, "30");
    f.options().setText(Option::E_NonCir_Y_Center, "35");
    f.options().setText(Option::E_Divide_Step, "2");
    f.options().setChecked(Option::CB_Auto_Center, true);
    CollectAnalysisData(f.project, f.ui);
    ASSERT_EQ(f.model().DataError, 0);
    const AnalysisModel collected = f.model();
    int looked = 0, moved = 0;
    f.ui.onPendingEvents = [&] {
      ++looked;
      const AnalysisModel& now = f.project.model;
      if (now.NonCirX != collected.NonCirX || now.NonCirY != collected.NonCirY ||
          now.NonCirPointCount != collected.NonCirPointCount || now.CenterX != collected.CenterX ||
          now.CenterY != collected.CenterY) {
        ++moved;
      }
    };
    RunOptions o;
    o.threads = threads;
    o.alreadyChecked = true;
    f.project.run.StopRequested = 0;
    ASSERT_EQ(RunAnalysis(f.project, f.ui, o).outcome, RunOutcome::Complete);
    EXPECT_GT(looked, 4);
    EXPECT_EQ(moved, 0) << "the project's model changed while the search ran";
    const AnalysisModel& after = f.model();
    EXPECT_EQ(after.NonCirX, f.project.run.BestSurfaceX[Spencer]);
    EXPECT_EQ(after.NonCirY, f.project.run.BestSurfaceY[Spencer]);
    EXPECT_EQ(after.NonCirPointCount, static_cast<int>(after.NonCirX.size()));
    EXPECT_EQ(after.CenterX, f.project.run.Minimum[Spencer].CenterX);
    EXPECT_EQ(after.CenterY, f.project.run.Minimum[Spencer].CenterY);
    EXPECT_NE(after.CenterX, collected.CenterX) << "Auto Center moved the centre";
  }
}

// Fredlund & Krahn's slope: a grid of 5 x 5 centres 5 ft apart around the
// published circle's centre (120, 90) finds circles below that circle's own
// factors; the published circle is not the critical one.
TEST_F(Search, GridFindsCirclesBelowThePublishedOne) {
  fredlundKrahnSlope();
  options().setText(Option::E_Cir_Slice, "30");
  options().setText(Option::E_Pass_Criteria, "0.001");
  collectOk();
  analyseCircle(120.0, 90.0, 80.0);
  const SliceSet given = slices();
  testing::SetCentreGrid(options(), "110", "80", "130", "100", "4");
  options().setText(Option::E_Cir_Decrement, "20");
  options().setChecked(Option::CB_Ordinary, true);
  ASSERT_EQ(run().outcome, RunOutcome::Complete);
  EXPECT_EQ(results().size(), 500u);
  EXPECT_LT(project.run.Minimum[Ordinary].Fs, given.FsOrdinary);
  EXPECT_LT(project.run.Minimum[Bishop].Fs, given.FsBishop);
  EXPECT_LT(project.run.Minimum[Spencer].Fs, given.FsSpencer);
  // The replay leaves the last selected method's critical circle recorded.
  EXPECT_GT(store().rowCount(Table::Failure_Geometry), 30);
}

// The same slope: a random irregular search from the chords of the published
// circle ends below that circle's factor for every method it searches.
TEST_F(Search, IrregularSearchImprovesOnThePublishedCircle) {
  fredlundKrahnSlope();
  options().setText(Option::E_Cir_Slice, "20");
  collectOk();
  analyseCircle(120.0, 90.0, 80.0);
  const SliceSet given = slices();
  for (int i = 0; i < given.SlipPointCount; i += 2) {
    numberedPoint(Table::NonCircular_Coordinate, i / 2 + 1, given.SlipX[static_cast<std::size_t>(i)],
                  given.SlipY[static_cast<std::size_t>(i)]);
  }
  options().setItemIndex(Option::RG_Theory, 2);
  options().setText(Option::E_NonCir_Slice, "20");
  options().setText(Option::E_NonCir_X_Center, "120");
  options().setText(Option::E_NonCir_Y_Center, "90");
  options().setText(Option::E_Divide_Step, "1");
  options().setText(Option::E_Move_Length, "2");
  ASSERT_EQ(run().outcome, RunOutcome::Complete);
  EXPECT_LT(project.run.Minimum[Janbu].Fs, given.FsJanbu);
  EXPECT_LT(project.run.Minimum[Bishop].Fs, given.FsBishop);
  EXPECT_LT(project.run.Minimum[Spencer].Fs, given.FsSpencer);

  // What is saved per method is its best surface, analysed again.
  for (auto [method, table] : {std::pair{Janbu, Table::NonCirSlip_Janbu},
                               {Bishop, Table::NonCirSlip_Bishop},
                               {Spencer, Table::NonCirSlip_Spencer}}) {
    EngineFixture check;
    check.fredlundKrahnSlope();
    check.collectOk();
    check.model().AnalysisTheory = 2;
    check.model().SliceCountInput = 20;
    check.model().NonCirX = project.run.BestSurfaceX[method];
    check.model().NonCirY = project.run.BestSurfaceY[method];
    check.model().NonCirPointCount = static_cast<int>(check.model().NonCirX.size());
    check.analyseAt(120.0, 90.0);
    const double fs = method == Janbu ? check.slices().FsJanbu
                                      : (method == Bishop ? check.slices().FsBishop : check.slices().FsSpencer);
    EXPECT_DOUBLE_EQ(project.run.Minimum[method].Fs, fs) << method;
    const auto rows = store().rows(table);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(check.slices().SliceCount) + 1);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      EXPECT_NEAR(rows[i].real(PointField::X), check.slices().BoundaryX[i], 5e-5);
      EXPECT_NEAR(rows[i].real(PointField::Y), check.slices().BaseYAtBoundary[i], 5e-5);
    }
  }
}

// Each method of an automatic search keeps the minimum its own walk found:
// the same as a search of that method alone.
TEST_F(Search, AutomaticSearchKeepsEachMethodsOwnMinimum) {
  auto setUp = [](EngineFixture& f) {
    f.homogeneousSlope();
    f.options().setItemIndex(Option::CB_Cir_Search, 2);
    f.options().setText(Option::E_Xauto_Start, "35");
    f.options().setText(Option::E_Yauto_Start, "35");
    f.options().setText(Option::E_Xauto_Increment, "2");
    f.options().setText(Option::E_Yauto_Increment, "2");
    f.options().setText(Option::E_Cir_Decrement, "5");
  };
  setUp(*this);
  options().setChecked(Option::CB_Ordinary, true);
  ASSERT_EQ(run().outcome, RunOutcome::Complete);
  const Option boxes[] = {Option::CB_Ordinary, Option::CB_Simp_Janbu, Option::CB_Simp_Bishop, Option::CB_Spencer};
  for (int method = Ordinary; method <= Spencer; ++method) {
    EngineFixture alone;
    setUp(alone);
    for (int other = Ordinary; other <= Spencer; ++other) alone.options().setChecked(boxes[other], other == method);
    alone.project.run.StopRequested = 0;
    ASSERT_EQ(RunAnalysis(alone.project, alone.ui).outcome, RunOutcome::Complete);
    EXPECT_EQ(project.run.Minimum[static_cast<std::size_t>(method)],
              alone.project.run.Minimum[static_cast<std::size_t>(method)])
        << method;
  }
}

TEST_F(Search, StopDuringAnAutomaticSearchSkipsTheLaterMethods) {
  homogeneousSlope();
  options().setItemIndex(Option::CB_Cir_Search, 2);
  options().setText(Option::E_Xauto_Start, "35");
  options().setText(Option::E_Yauto_Start, "35");
  options().setText(Option::E_Xauto_Increment, "2");
  options().setText(Option::E_Yauto_Increment, "2");
  int calls = 0;
  ui.onPendingEvents = [&] {
    if (++calls == 1) project.run.StopRequested = 1;
  };
  EXPECT_EQ(run().outcome, RunOutcome::Stopped);
  EXPECT_EQ(project.run.CurrentMethod, Janbu);  // the first selected method, and no other
  EXPECT_EQ(results().size(), 0u);
}

TEST_F(Search, LargeGridWritesEveryRow) {
  fredlundKrahnSlope();
  testing::SetCentreGrid(options(), "100", "70", "140", "110", "20");
  ASSERT_EQ(run().outcome, RunOutcome::Complete);
  EXPECT_EQ(store().rowCount(Table::Results), 4410);
  EXPECT_EQ(results().back().integer(ResultField::Num), 4410);
}

TEST_F(Search, SortedByBishop) {
  homogeneousSlope();
  for (auto [num, fs] : {std::pair{1, 2.5}, {2, 1.5}, {3, 2.5}, {4, 1.2}}) {
    Row r(Table::Results);
    r.set(ResultField::Num, num).set(ResultField::FsBis, fs);
    store().append(r);
  }
  std::vector<int> order;
  for (const SortedResult& r : SortResultsByBishop(store())) order.push_back(r.num);
  EXPECT_EQ(order, (std::vector<int>{4, 2, 1, 3}));
  store().empty(Table::Results);
  EXPECT_TRUE(SortResultsByBishop(store()).empty());
}

// A store that takes the first `acceptedRows` Results rows and refuses every
// later write of them, as a full disk would; everything else goes to the
// store it wraps.
class RefusingStore final : public WorkingStore {
 public:
  RefusingStore(std::unique_ptr<WorkingStore> inner, std::size_t acceptedRows)
      : m_inner(std::move(inner)), m_accepted(acceptedRows) {}
  int rowCount(Table t) const override { return m_inner->rowCount(t); }
  std::vector<Row> rows(Table t) const override { return m_inner->rows(t); }
  Row rowAt(Table t, int p) const override { return m_inner->rowAt(t, p); }
  std::vector<Row> rowsFrom(Table t, int first, int count) const override { return m_inner->rowsFrom(t, first, count); }
  void visitRows(Table t, const std::function<void(const Row&)>& visitor) const override {
    m_inner->visitRows(t, visitor);
  }
  void visitNumbers(Table t, const std::function<void(const double*)>& visitor) const override {
    m_inner->visitNumbers(t, visitor);
  }
  void append(const Row& r) override {
    if (r.table() == Table::Results) take(1);
    m_inner->append(r);
  }
  void appendNumbers(Table t, const double* values, std::size_t count) override {
    if (t == Table::Results) take(count);
    m_inner->appendNumbers(t, values, count);
  }
  void insert(int p, const Row& r) override { m_inner->insert(p, r); }
  void update(int p, const Row& r) override { m_inner->update(p, r); }
  void remove(Table t, int p) override { m_inner->remove(t, p); }
  void empty(Table t) override { m_inner->empty(t); }
  void beginTransaction() override { m_inner->beginTransaction(); }
  void commitTransaction() override { m_inner->commitTransaction(); }
  void rollbackTransaction() override { m_inner->rollbackTransaction(); }
  std::unique_ptr<WorkingStore> release() { return std::move(m_inner); }

 private:
  void take(std::size_t rows) {
    if (rows > m_accepted) throw StoreError("Working store: database or disk is full");
    m_accepted -= rows;
  }
  std::unique_ptr<WorkingStore> m_inner;
  std::size_t m_accepted;
};

// A run whose Results rows the store refuses does not end as if it had gone
// through: it fails, says how many rows are missing and why in both
// languages, and keeps the rows written before. The grid search writes its
// rows once a centre ends with 8192 or more buffered, so a grid of 21 x 21
// centres with 20 circles each (8820 rows) writes twice: 8200 rows in the
// search, the other 620 at the end of the run. A stop or an error after the
// second centre leaves its 40 rows to the end of the run.
TEST_F(Search, ResultsRowsTheStoreRefusesFailTheRunWithAMessage) {
  const std::string reason = "Working store: database or disk is full";
  struct Case {
    const char* what;
    std::size_t accepted;  // rows the store takes
    bool stopAfterSecondCentre;
    bool errorAfterSecondCentre;  // an error of its own ends the run there
    RunOutcome outcome;
    long rowsLost;
    std::size_t rowsKept;
    std::string message;
  };
  const Case cases[] = {
      {"every row written", 100000, false, false, RunOutcome::Complete, 0, 8820, ""},
      {"the write at the end refused", 8200, false, false, RunOutcome::Failed, 620, 8200, ""},
      {"the write in the search refused", 0, false, false, RunOutcome::Failed, 8200, 0, ""},
      {"a stopped run's write refused", 0, true, false, RunOutcome::Failed, 40, 0, ""},
      {"a stopped run's rows written", 100000, true, false, RunOutcome::Stopped, 0, 40, ""},
      {"an error, and its rows written", 100000, false, true, RunOutcome::Failed, 0, 40, "the window has gone"},
      {"an error, and its rows refused", 0, false, true, RunOutcome::Failed, 40, 0, "the window has gone"},
  };
  fredlundKrahnSlope();
  SetCentreGrid(options(), "100", "70", "140", "110", "20");
  options().setText(Option::E_Cir_Decrement, "20");
  std::unique_ptr<WorkingStore> sqlite = std::move(std::experimental::get_underlying(project.store));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    sqlite->empty(Table::Results);
    project.store = std::make_unique<RefusingStore>(std::move(sqlite), c.accepted);
    int centres = 0;
    ui.onPendingEvents = [&] {
      if (++centres < 2) return;
      if (c.stopAfterSecondCentre) project.run.StopRequested = 1;
      if (c.errorAfterSecondCentre) throw std::runtime_error("the window has gone");
    };
    const RunResult result = run();
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(result.message, c.message);
    EXPECT_EQ(result.resultsRowsLost, c.rowsLost);
    EXPECT_EQ(result.resultsWriteError, c.rowsLost > 0 ? reason : "");
    EXPECT_EQ(static_cast<std::size_t>(store().rowCount(Table::Results)), c.rowsKept);
    if (c.rowsKept > 0) {
      EXPECT_EQ(results().back().integer(ResultField::Num), static_cast<int>(c.rowsKept));
    }
    // What the user is told, in either language.
    const std::string lost = std::to_string(c.rowsLost);
    const std::string english =
        c.rowsLost == 0
            ? c.message
            : (c.message.empty() ? "" : c.message + " ") + lost +
                  " Results rows of this run could not be written, so the Results table lacks them: " + reason;
    const std::string thai = c.rowsLost == 0 ? c.message
                                             : (c.message.empty() ? "" : c.message + " ") +
                                                   "บันทึกผลการคำนวณ (Results) ของการคำนวณครั้งนี้ไม่ได้ " + lost +
                                                   " แถว ตาราง Results จึงไม่มีแถวเหล่านี้: " + reason;
    EXPECT_EQ(RunFailureText(result, kLanguageEnglish), c.outcome == RunOutcome::Failed ? english : "");
    EXPECT_EQ(RunFailureText(result, kLanguageThai), c.outcome == RunOutcome::Failed ? thai : "");
    // Only a run that went through says so.
    const bool complete =
        std::find(ui.captions.begin(), ui.captions.end(), "Calculation Complete") != ui.captions.end();
    EXPECT_EQ(complete, c.outcome == RunOutcome::Complete);
    ui.captions.clear();
    sqlite = static_cast<RefusingStore&>(*project.store).release();
  }
}

}  // namespace
}  // namespace pelodyn
