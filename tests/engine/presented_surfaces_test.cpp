// The surfaces a run presents once it has ended, and the replay of one
// Results row: each checked against the same surface analysed on its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/searcher.h"
#include "engine_fixture.h"

namespace pelodyn {
namespace {

using testing::EngineFixture;
using testing::SetCentreGrid;

const char* const kMethodBoxes[] = {Option::CB_Ordinary, Option::CB_Simp_Janbu, Option::CB_Simp_Bishop,
                                    Option::CB_Spencer};

std::vector<double> Head(const std::vector<double>& v, int count) {
  return {v.begin(), v.begin() + std::min<std::ptrdiff_t>(std::max(count, 0), static_cast<std::ptrdiff_t>(v.size()))};
}

// A surface analysed on its own: a fresh project of the same section,
// collected, and one analysis through a new Searcher.
struct Independent {
  std::array<double, 4> fs{};
  double area = 0.0;
  std::vector<double> slipX, slipY, boundaryX, surfaceYAtBoundary, baseYAtBoundary;
  int sliceCount = 0, activeFirst = 0, activeEnd = 0;
};

template <typename SetUp, typename Place>
Independent AnalyseAlone(SetUp&& setUp, Place&& place) {
  EngineFixture alone;
  setUp(alone);
  CollectAnalysisData(alone.project, alone.ui);
  EXPECT_EQ(alone.model().DataError, 0);
  place(alone.model());
  Searcher searcher(alone.project, alone.ui);
  searcher.Analyse();
  searcher.ComputeSlidingMassArea();
  const SliceSet& s = alone.slices();
  Independent out;
  out.fs = {s.FsOrdinary, s.FsJanbu, s.FsBishop, s.FsSpencer};
  out.area = alone.project.run.SlidingMassArea;
  out.slipX = Head(s.SlipX, s.SlipPointCount);
  out.slipY = Head(s.SlipY, s.SlipPointCount);
  out.boundaryX = Head(s.BoundaryX, s.SliceCount + 1);
  out.surfaceYAtBoundary = Head(s.SurfaceYAtBoundary, s.SliceCount + 1);
  out.baseYAtBoundary = Head(s.BaseYAtBoundary, s.SliceCount + 1);
  out.sliceCount = s.SliceCount;
  out.activeFirst = s.ActiveFirst;
  out.activeEnd = s.ActiveEnd;
  return out;
}

Independent AloneCircle(void (*setUp)(EngineFixture&), double radius, double centerX, double centerY) {
  return AnalyseAlone(setUp, [&](AnalysisModel& md) {
    md.TrialRadius = radius;
    md.CenterX = centerX;
    md.CenterY = centerY;
  });
}

void ExpectSameSurface(const CriticalSurface& c, const Independent& alone) {
  for (std::size_t k = 0; k < 4; ++k) EXPECT_DOUBLE_EQ(c.fs[k], alone.fs[k]) << "factor " << k;
  EXPECT_DOUBLE_EQ(c.slidingMassArea, alone.area);
  EXPECT_GT(c.slidingMassArea, 0.0);
  EXPECT_EQ(c.surfaceX, alone.slipX);
  EXPECT_EQ(c.surfaceY, alone.slipY);
  EXPECT_EQ(c.boundaryX, alone.boundaryX);
  EXPECT_EQ(c.surfaceYAtBoundary, alone.surfaceYAtBoundary);
  EXPECT_EQ(c.baseYAtBoundary, alone.baseYAtBoundary);
  EXPECT_EQ(c.sliceCount, alone.sliceCount);
  EXPECT_EQ(c.boundaryX.size(), static_cast<std::size_t>(alone.sliceCount) + 1);
  EXPECT_EQ(c.activeFirst, alone.activeFirst);
  EXPECT_EQ(c.activeEnd, alone.activeEnd);
}

// Failure_Geometry holds the slice boundaries of `c` (rounded to 0.0001).
void ExpectRecorded(WorkingStore& store, const CriticalSurface& c) {
  const std::vector<Row> rows = store.rows(Table::Failure_Geometry);
  ASSERT_EQ(rows.size(), c.boundaryX.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].integer(FailurePointField::No), static_cast<int>(i) + 1);
    EXPECT_NEAR(rows[i].real(FailurePointField::X), c.boundaryX[i], 5e-5);
    EXPECT_NEAR(rows[i].real(FailurePointField::Y), c.baseYAtBoundary[i], 5e-5);
  }
}

// A grid of 3 x 3 centres over the homogeneous slope, four circles each,
// every method selected.
void GridOfCentres(EngineFixture& f) {
  f.homogeneousSlope();
  SetCentreGrid(f.options(), "25", "35", "45", "45", "2");
  f.options().setText(Option::E_Cir_Decrement, "4");
  for (const char* box : kMethodBoxes) f.options().setChecked(box, true);
}

// The same section with centres whose circles are whole numbers: the Results
// rows (rounded to 0.01) give exactly the circles analysed. Each radius up
// to y lies within reach of both ends of the ground line.
void WholeCircles(EngineFixture& f) {
  f.homogeneousSlope();
  SetCentreGrid(f.options(), "30", "26", "34", "30", "2");
  f.options().setItemIndex(Option::CB_Circle_Decrement, 1);
  f.options().setText(Option::E_Cir_Decrement, "2");
}

class Presented : public ::testing::Test, public EngineFixture {
 protected:
  RunResult run(const RunOptions& options = {}) {
    project.run.StopRequested = 0;
    return RunAnalysis(project, ui, options);
  }
};

TEST_F(Presented, GridMinimaAnalysedAgainForEachShownMethod) {
  GridOfCentres(*this);
  ASSERT_EQ(run().outcome, RunOutcome::Complete);
  const RunState& r = project.run;
  const long surfaces = r.SurfaceCount;
  const auto codes = r.ResultCodeCount;
  const int rows = store().rowCount(Table::Results);

  const std::vector<CriticalSurface> shown = PresentCriticalSurfaces(project, ui);
  ASSERT_EQ(shown.size(), 4u);
  for (int method = Ordinary; method <= Spencer; ++method) {
    SCOPED_TRACE(method);
    const CriticalSurface& c = shown[static_cast<std::size_t>(method)];
    const MethodMinimum& min = r.Minimum[static_cast<std::size_t>(method)];
    EXPECT_EQ(c.method, method);
    EXPECT_TRUE(c.hasLabel);
    EXPECT_EQ(c.labelFs, min.Fs);
    EXPECT_EQ(c.centerX, min.CenterX);
    EXPECT_EQ(c.centerY, min.CenterY);
    EXPECT_EQ(c.radius, min.Radius);
    ExpectSameSurface(c, AloneCircle(GridOfCentres, min.Radius, min.CenterX, min.CenterY));
    // The label is the method's own factor of that very circle.
    EXPECT_EQ(c.fs[static_cast<std::size_t>(method)], min.Fs);
  }
  // The last one stays in the project.
  const CriticalSurface& last = shown.back();
  ExpectRecorded(store(), last);
  EXPECT_EQ(model().CenterX, last.centerX);
  EXPECT_EQ(model().CenterY, last.centerY);
  EXPECT_EQ(model().TrialRadius, last.radius);
  EXPECT_EQ(slices().FsSpencer, last.fs[Spencer]);
  EXPECT_EQ(r.SlidingMassArea, last.slidingMassArea);
  EXPECT_EQ(r.ResultAvailable, 1);
  // A replay is not part of the run.
  EXPECT_EQ(r.SurfaceCount, surfaces);
  EXPECT_EQ(r.ResultCodeCount, codes);
  EXPECT_EQ(store().rowCount(Table::Results), rows);
}

TEST_F(Presented, OnlySelectedMethodsWithTheirPictureChecked) {
  GridOfCentres(*this);
  ASSERT_EQ(run().outcome, RunOutcome::Complete);
  struct Case {
    std::array<bool, 4> selected, picture;
    std::vector<int> methods;
  };
  const Case cases[] = {
      {{true, true, true, true}, {true, false, true, false}, {Ordinary, Bishop}},
      {{false, true, false, true}, {true, true, true, true}, {Janbu, Spencer}},
      {{true, false, true, true}, {false, true, false, true}, {Spencer}},
      {{true, true, true, true}, {false, false, false, false}, {}},
      {{false, false, false, false}, {true, true, true, true}, {}},
  };
  for (const Case& c : cases) {
    model().UseOrdinary = c.selected[0];
    model().UseSimplifiedJanbu = c.selected[1];
    model().UseSimplifiedBishop = c.selected[2];
    model().UseSpencer = c.selected[3];
    project.run.ShowPicture = c.picture;
    std::vector<int> methods;
    for (const CriticalSurface& s : PresentCriticalSurfaces(project, ui)) {
      methods.push_back(s.method);
      EXPECT_EQ(s.labelFs, project.run.Minimum[static_cast<std::size_t>(s.method)].Fs);
    }
    EXPECT_EQ(methods, c.methods);
    if (!c.methods.empty()) {
      const MethodMinimum& last = project.run.Minimum[static_cast<std::size_t>(c.methods.back())];
      EXPECT_EQ(model().CenterX, last.CenterX);
      EXPECT_EQ(model().TrialRadius, last.Radius);
    }
  }
}

TEST_F(Presented, AutomaticSearchMinimaAnalysedAgain) {
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
  ASSERT_EQ(run().outcome, RunOutcome::Complete);
  const std::vector<CriticalSurface> shown = PresentCriticalSurfaces(project, ui);
  ASSERT_EQ(shown.size(), 3u);  // Ordinary is not selected by default
  for (const CriticalSurface& c : shown) {
    SCOPED_TRACE(c.method);
    const MethodMinimum& min = project.run.Minimum[static_cast<std::size_t>(c.method)];
    EXPECT_EQ(c.labelFs, min.Fs);
    ExpectSameSurface(c, AnalyseAlone(setUp, [&](AnalysisModel& md) {
                        md.TrialRadius = min.Radius;
                        md.CenterX = min.CenterX;
                        md.CenterY = min.CenterY;
                      }));
  }
  EXPECT_EQ(shown.back().method, Spencer);
  ExpectRecorded(store(), shown.back());
}

TEST_F(Presented, ASpecificCircleAsTheRunLeftIt) {
  homogeneousSlope();
  options().setItemIndex(Option::CB_Cir_Search, 1);
  options().setText(Option::E_X_Center, "35");
  options().setText(Option::E_Y_Center, "35");
  options().setText(Option::E_Radius, "28");
  ASSERT_EQ(run().outcome, RunOutcome::Complete);
  const SliceSet before = slices();
  const double area = project.run.SlidingMassArea;

  // The label: the last method both selected and checked.
  struct Case {
    std::array<bool, 4> picture;
    bool hasLabel;
    int labelled;
  };
  for (const Case& c : {Case{{true, true, true, true}, true, Spencer}, Case{{true, true, true, false}, true, Bishop},
                        Case{{true, false, false, false}, false, -1}}) {
    project.run.ShowPicture = c.picture;
    const std::vector<CriticalSurface> shown = PresentCriticalSurfaces(project, ui);
    ASSERT_EQ(shown.size(), 1u);
    const CriticalSurface& s = shown[0];
    EXPECT_EQ(s.method, -1);
    EXPECT_EQ(s.hasLabel, c.hasLabel);
    if (c.hasLabel) {
      EXPECT_EQ(s.labelFs, project.run.Minimum[static_cast<std::size_t>(c.labelled)].Fs);
    }
    EXPECT_EQ(s.centerX, 35.0);
    EXPECT_EQ(s.centerY, 35.0);
    EXPECT_EQ(s.radius, 28.0);
    EXPECT_EQ(s.slidingMassArea, area);
    ExpectSameSurface(s, AnalyseAlone([](EngineFixture& f) { f.homogeneousSlope(); },
                                      [](AnalysisModel& md) {
                                        md.TrialRadius = 28.0;
                                        md.CenterX = 35.0;
                                        md.CenterY = 35.0;
                                      }));
  }
  // Nothing was analysed again.
  EXPECT_EQ(slices().FsBishop, before.FsBishop);
  EXPECT_EQ(project.run.SurfaceCount, 1);
}

TEST_F(Presented, NothingWithoutAnAnalysedSurface) {
  homogeneousSlope();
  options().setItemIndex(Option::CB_Cir_Search, 1);
  options().setText(Option::E_X_Center, "35");
  options().setText(Option::E_Y_Center, "35");
  options().setText(Option::E_Radius, "36");  // above the largest radius: refused, nothing analysed
  ASSERT_EQ(run().outcome, RunOutcome::Refused);
  EXPECT_TRUE(PresentCriticalSurfaces(project, ui).empty());

  // An automatic search stopped before its first circle records no minimum.
  EngineFixture stopped;
  GridOfCentres(stopped);
  stopped.project.run.StopRequested = 0;
  stopped.ui.onPendingEvents = [&] { stopped.project.run.StopRequested = 1; };
  stopped.options().setItemIndex(Option::CB_Cir_Search, 2);
  stopped.options().setText(Option::E_Xauto_Start, "35");
  stopped.options().setText(Option::E_Yauto_Start, "35");
  stopped.options().setText(Option::E_Xauto_Increment, "2");
  stopped.options().setText(Option::E_Yauto_Increment, "2");
  ASSERT_EQ(RunAnalysis(stopped.project, stopped.ui).outcome, RunOutcome::Stopped);
  EXPECT_TRUE(PresentCriticalSurfaces(stopped.project, stopped.ui).empty());

  // In a batch, or for a theory that searches nothing.
  EngineFixture grid;
  GridOfCentres(grid);
  grid.project.run.StopRequested = 0;
  ASSERT_EQ(RunAnalysis(grid.project, grid.ui).outcome, RunOutcome::Complete);
  ASSERT_FALSE(PresentCriticalSurfaces(grid.project, grid.ui).empty());
  grid.project.BatchMode = true;
  EXPECT_TRUE(PresentCriticalSurfaces(grid.project, grid.ui).empty());
  grid.project.BatchMode = false;
  grid.model().AnalysisTheory = 0;
  EXPECT_TRUE(PresentCriticalSurfaces(grid.project, grid.ui).empty());
}

TEST_F(Presented, IrregularSearchBestSurfaceOfEachMethod) {
  auto setUp = [](EngineFixture& f) {
    f.homogeneousSlope();
    f.irregularSurface({{8, 20}, {20, 8}, {40, 6}, {52, 10}});
    f.options().setText(Option::E_NonCir_X_Center, "35");
    f.options().setText(Option::E_NonCir_Y_Center, "35");
    f.options().setText(Option::E_Divide_Step, "1");
    f.options().setText(Option::E_Move_Length, "1");
  };
  setUp(*this);
  ASSERT_EQ(run().outcome, RunOutcome::Complete);
  const SliceSet analysedLast = slices();
  const long surfaces = project.run.SurfaceCount;

  const std::vector<CriticalSurface> shown = PresentCriticalSurfaces(project, ui);
  ASSERT_EQ(shown.size(), 3u);
  int expected = Janbu;
  for (const CriticalSurface& c : shown) {
    SCOPED_TRACE(c.method);
    EXPECT_EQ(c.method, expected++);
    const auto k = static_cast<std::size_t>(c.method);
    EXPECT_EQ(c.labelFs, c.fs[k]);
    EXPECT_EQ(c.labelFs, project.run.Minimum[k].Fs);  // what the run found for the method
    EXPECT_EQ(c.radius, 0.0);
    ExpectSameSurface(c, AnalyseAlone(setUp, [&](AnalysisModel& md) {
                        md.NonCirX = project.run.BestSurfaceX[k];
                        md.NonCirY = project.run.BestSurfaceY[k];
                        md.NonCirPointCount = static_cast<int>(md.NonCirX.size());
                        md.NonCirSegmentCount = md.NonCirPointCount - 1;
                        md.CenterX = c.centerX;
                        md.CenterY = c.centerY;
                      }));
  }
  // All shown: the last is what the run analysed last.
  EXPECT_EQ(shown.back().fs[Spencer], analysedLast.FsSpencer);
  EXPECT_EQ(shown.back().boundaryX, Head(analysedLast.BoundaryX, analysedLast.SliceCount + 1));
  ExpectRecorded(store(), shown.back());
  EXPECT_EQ(project.run.SurfaceCount, surfaces);

  // Without Spencer's picture, Bishop's surface is left in the project.
  project.run.ShowPicture[Spencer] = false;
  const std::vector<CriticalSurface> two = PresentCriticalSurfaces(project, ui);
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two.back().method, Bishop);
  EXPECT_EQ(two.back(), shown[1]);
  EXPECT_EQ(slices().FsBishop, shown[1].fs[Bishop]);
  EXPECT_EQ(project.run.SlidingMassArea, shown[1].slidingMassArea);
  ExpectRecorded(store(), shown[1]);
}

TEST_F(Presented, AResultsRowReplayedWithItsOwnFactors) {
  WholeCircles(*this);
  ASSERT_EQ(run().outcome, RunOutcome::Complete);
  const MethodMinimum minimum = project.run.Minimum[Bishop];
  const long surfaces = project.run.SurfaceCount;
  // A row well above the minimum.
  const std::vector<SortedResult> sorted = SortResultsByBishop(store());
  ASSERT_GT(sorted.size(), 4u);
  const SortedResult& chosen = sorted[sorted.size() / 2];
  ASSERT_GT(chosen.fsBishop, minimum.Fs + 0.01);
  const Row row = store().rowAt(Table::Results, chosen.num);
  ASSERT_EQ(row.integer(ResultField::Num), chosen.num);

  const std::optional<CriticalSurface> c = ReplayResultsRow(project, ui, chosen.radius, chosen.xCenter, chosen.yCenter);
  ASSERT_TRUE(c.has_value());
  EXPECT_EQ(c->method, -1);
  EXPECT_TRUE(c->hasLabel);
  EXPECT_EQ(c->labelFs, c->fs[Bishop]);
  EXPECT_NEAR(c->labelFs, chosen.fsBishop, 5e-4);
  const char* fields[] = {"FS_Ord", "FS_Jan", "FS_Bis", "FS_Spe"};
  for (std::size_t k = 0; k < 4; ++k) EXPECT_NEAR(c->fs[k], row.real(fields[k]), 5e-4) << fields[k];
  EXPECT_EQ(c->centerX, chosen.xCenter);
  EXPECT_EQ(c->radius, chosen.radius);
  ExpectSameSurface(*c, AloneCircle(WholeCircles, chosen.radius, chosen.xCenter, chosen.yCenter));
  ExpectRecorded(store(), *c);
  EXPECT_EQ(project.run.SlidingMassArea, c->slidingMassArea);
  EXPECT_EQ(model().TrialRadius, chosen.radius);
  EXPECT_EQ(model().CenterY, chosen.yCenter);
  EXPECT_EQ(project.run.SurfaceCount, surfaces);
  EXPECT_EQ(project.run.Minimum[Bishop], minimum);

  // Refused as the sorted view's replay is.
  project.run.ShowPicture[Bishop] = false;
  EXPECT_FALSE(ReplayResultsRow(project, ui, chosen.radius, chosen.xCenter, chosen.yCenter).has_value());
  project.run.ShowPicture[Bishop] = true;
  project.BatchMode = true;
  EXPECT_FALSE(ReplayResultsRow(project, ui, chosen.radius, chosen.xCenter, chosen.yCenter).has_value());
}

}  // namespace
}  // namespace pelodyn
