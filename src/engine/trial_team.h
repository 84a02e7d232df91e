// The threads of a parallel search: the calling thread and its helpers
// analyse the numbered items of a block (grid centres, the radii of one fan,
// the candidates of one point) and the calling thread alone takes their
// results in item order, while the helpers go on with later items.
//
// An item's work runs on any thread with that thread's own workspace; what
// an item's results are merged into (the run state, the store, the platform
// services) is touched by the calling thread only, in item order, so a block
// gives the same results as analysing its items one after the other.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace pelodyn {

class TrialTeam {
 public:
  // What the work of an item reached: all of it, or less because the stop
  // request came (the work checks it before each trial).
  enum class Reached : int { Pending = 0, All = 1, Part = 2 };

  // work(worker, item): analyses the item with the workspace of `worker`
  // (0 is the calling thread); it must check the stop request before each
  // trial and say whether it reached the whole item.
  using Work = std::function<Reached(int worker, int item)>;
  // merge(item, reached): called on the calling thread in item order;
  // false ends the block (no later item is merged).
  using Merge = std::function<bool(int item, Reached reached)>;

  // `threads` in all, the calling thread included (at least 1).
  explicit TrialTeam(int threads);
  ~TrialTeam();
  TrialTeam(const TrialTeam&) = delete;
  TrialTeam& operator=(const TrialTeam&) = delete;

  int threads() const { return static_cast<int>(m_helpers.size()) + 1; }

  // Runs items 0 .. count - 1 and merges them in order. Returns true when
  // every item was merged and reached all its work; false when a merge ended
  // the block or an item reached only part of its work (that item is merged
  // last). Returns only once no helper works on the block any more. An
  // exception of a work is rethrown here, after the items before it merged.
  // `idle`, when given, is called on the calling thread whenever it has no
  // item left to take and waits for another thread's item (to do merged
  // work meanwhile, such as writing the rows merged so far).
  bool run(int count, const Work& work, const Merge& merge, const std::function<void()>& idle = {});

  // The worker that analysed an item of the last block.
  int workerOf(int item) const { return m_worker[static_cast<std::size_t>(item)]; }

 private:
  void helperLoop(int worker);
  // Takes and analyses items until none is left or the block is closed.
  void takeItems(int worker);
  void analyse(int worker, int item);

  std::vector<std::thread> m_helpers;

  std::mutex m_mutex;
  std::condition_variable m_start;  // a block was opened, or the team quits
  std::condition_variable m_left;   // the last helper left a closed block
  std::uint64_t m_block = 0;        // number of the last block opened
  // m_block, for a helper that waits a moment without the mutex before it
  // sleeps: the blocks of a fan or of a point's candidates come quickly one
  // after the other.
  std::atomic<std::uint64_t> m_opened{0};
  bool m_open = false;
  bool m_quit = false;
  std::atomic<int> m_inside{0};  // helpers working on the open block (changed under the mutex)

  // The open block; written only while no helper is inside.
  const Work* m_work = nullptr;
  int m_count = 0;
  std::atomic<int> m_next{0};
  std::atomic<bool> m_cancel{false};
  std::unique_ptr<std::atomic<int>[]> m_state;  // Reached per item
  std::size_t m_capacity = 0;
  std::vector<int> m_worker;
  std::vector<std::exception_ptr> m_error;
};

}  // namespace pelodyn
