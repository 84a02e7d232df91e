// Once a surface has been analysed, analysing it (or a like one) again must
// not allocate: the slice set keeps its capacity. Counted by replacing the
// global allocation functions in this test program.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "engine/searcher.h"
#include "engine_fixture.h"

namespace {
std::atomic<long> g_allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  ++g_allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
// The no-throw form too (std::stable_sort's buffer takes it): every form
// that reaches operator delete must come from the same malloc.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  ++g_allocations;
  return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}

namespace pelodyn {
namespace {

TEST(Allocation, RepeatedAnalysesAllocateNothing) {
  testing::EngineFixture f;
  f.homogeneousSlope();
  f.options().setItemIndex(Option::CB_Seepage, 1);
  f.numberedPoint(Table::Waterline, 1, 0, 15);
  f.numberedPoint(Table::Waterline, 2, 60, 8);
  Row load(Table::Lineload);
  load.set(LineLoadField::LoadNo, 1)
      .set(LineLoadField::Magnitude, 5.0)
      .set(LineLoadField::X, 30.0)
      .set(LineLoadField::Angle, 10.0);
  f.store().append(load);
  f.options().setChecked(Option::CB_LineLoad_Disable, false);
  f.options().setText(Option::E_Cir_Slice, "30");
  f.collectOk();
  f.analyseCircle(35.0, 35.0, 28.0);  // sizes the slice set
  ASSERT_LT(f.slices().FsSpencer, 100.0);

  const long before = g_allocations.load();
  for (int k = 0; k < 20; ++k) f.analyseCircle(35.0 + 0.01 * k, 35.0, 28.0 - 0.02 * k);
  EXPECT_EQ(g_allocations.load() - before, 0);
}

// The workspaces of a parallel search keep their capacity too: a second
// search on the same threads allocates what the sequential one allocates
// (per centre) and a little per block of centres, nothing per trial.
TEST(Allocation, ParallelGridAllocatesPerBlockNotPerTrial) {
  testing::EngineFixture f;
  f.homogeneousSlope();
  testing::SetCentreGrid(f.options(), "25", "30", "45", "50", "20");
  f.collectOk();
  f.project.BatchMode = 1;
  f.project.run.StopRequested = 0;
  long allocations[2] = {0, 0};
  for (int threads : {1, 2}) {
    Searcher searcher(f.project, f.ui, threads);
    searcher.SearchGrid();  // sizes the workspaces
    searcher.FlushResults();
    ASSERT_GT(f.project.run.LoopCount, 4000);
    const long before = g_allocations.load();
    searcher.SearchGrid();
    searcher.FlushResults();
    allocations[threads - 1] = g_allocations.load() - before;
  }
  EXPECT_LT(allocations[1], allocations[0] + 100) << allocations[0];
}

}  // namespace
}  // namespace pelodyn
