#include "engine/trial_team.h"

#include <algorithm>
#include <chrono>

namespace pelodyn {
namespace {

// How long a thread looks for what it waits for (the next block, an item
// of another thread, a helper leaving a block) before it sleeps.
constexpr std::chrono::microseconds kSpin{200};

}  // namespace

TrialTeam::TrialTeam(int threads) {
  const int helpers = std::max(threads, 1) - 1;
  m_helpers.reserve(static_cast<std::size_t>(helpers));
  for (int w = 1; w <= helpers; ++w) m_helpers.emplace_back([this, w] { helperLoop(w); });
}

TrialTeam::~TrialTeam() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_quit = true;
  }
  m_start.notify_all();
  for (std::thread& t : m_helpers) t.join();
}

void TrialTeam::helperLoop(int worker) {
  std::uint64_t seen = 0;
  std::unique_lock<std::mutex> lock(m_mutex);
  for (;;) {
    m_start.wait(lock, [&] { return m_quit || (m_open && m_block != seen); });
    if (m_quit) return;
    seen = m_block;
    ++m_inside;
    lock.unlock();
    takeItems(worker);
    lock.lock();
    if (--m_inside == 0 && !m_open) m_left.notify_all();
    // Look for the next block for a moment before sleeping.
    lock.unlock();
    const auto until = std::chrono::steady_clock::now() + kSpin;
    while (m_opened.load(std::memory_order_relaxed) == seen && std::chrono::steady_clock::now() < until) {
      std::this_thread::yield();
    }
    lock.lock();
  }
}

void TrialTeam::takeItems(int worker) {
  while (!m_cancel.load(std::memory_order_relaxed)) {
    const int item = m_next.fetch_add(1, std::memory_order_relaxed);
    if (item >= m_count) return;
    analyse(worker, item);
  }
}

void TrialTeam::analyse(int worker, int item) {
  const auto k = static_cast<std::size_t>(item);
  Reached reached;
  try {
    reached = (*m_work)(worker, item);
    if (reached == Reached::Pending) reached = Reached::Part;
  } catch (...) {
    m_error[k] = std::current_exception();
    reached = Reached::Part;
  }
  m_worker[k] = worker;
  m_state[k].store(static_cast<int>(reached), std::memory_order_release);
  m_state[k].notify_all();
}

bool TrialTeam::run(int count, const Work& work, const Merge& merge, const std::function<void()>& idle) {
  if (count <= 0) return true;
  const auto n = static_cast<std::size_t>(count);
  if (m_capacity < n) {
    m_state = std::make_unique<std::atomic<int>[]>(n);
    m_capacity = n;
  }
  for (std::size_t k = 0; k < n; ++k) m_state[k].store(0, std::memory_order_relaxed);
  m_worker.assign(n, 0);
  m_error.assign(n, nullptr);
  m_work = &work;
  m_count = count;
  m_next.store(0, std::memory_order_relaxed);
  m_cancel.store(false, std::memory_order_relaxed);
  if (!m_helpers.empty()) {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      ++m_block;
      m_open = true;
      m_opened.store(m_block, std::memory_order_relaxed);
    }
    m_start.notify_all();
  }

  bool whole = true;
  std::exception_ptr error;
  for (int merged = 0; merged < count;) {
    const auto k = static_cast<std::size_t>(merged);
    const int state = m_state[k].load(std::memory_order_acquire);
    if (state == static_cast<int>(Reached::Pending)) {
      // Work on a later item rather than wait, while one is left.
      const int item = m_next.fetch_add(1, std::memory_order_relaxed);
      if (item < count) {
        analyse(0, item);
      } else {
        if (idle) {
          try {
            idle();
          } catch (...) {
            error = std::current_exception();
            whole = false;
            break;
          }
          if (m_state[k].load(std::memory_order_acquire) != state) continue;
        }
        // The item is being analysed on another core: it is usually a
        // matter of microseconds, less than waking from a sleep takes.
        const auto until = std::chrono::steady_clock::now() + kSpin;
        while (m_state[k].load(std::memory_order_acquire) == state && std::chrono::steady_clock::now() < until) {
          std::this_thread::yield();
        }
        m_state[k].wait(state, std::memory_order_acquire);
      }
      continue;
    }
    if (m_error[k]) {
      error = m_error[k];
      whole = false;
      break;
    }
    const auto reached = static_cast<Reached>(state);
    bool goOn;
    try {
      goOn = merge(merged, reached);
    } catch (...) {
      error = std::current_exception();
      whole = false;
      break;
    }
    ++merged;
    if (!goOn || reached != Reached::All) {
      whole = false;
      break;
    }
  }

  // No helper may still work on this block when it returns.
  m_cancel.store(true, std::memory_order_relaxed);
  if (!m_helpers.empty()) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_open = false;
    if (m_inside != 0) {
      // A helper that found no item left is about to leave: wait for it a
      // moment before sleeping.
      lock.unlock();
      const auto until = std::chrono::steady_clock::now() + kSpin;
      while (m_inside.load(std::memory_order_relaxed) != 0 && std::chrono::steady_clock::now() < until) {
        std::this_thread::yield();
      }
      lock.lock();
      m_left.wait(lock, [&] { return m_inside == 0; });
    }
  }
  m_work = nullptr;
  if (error) std::rethrow_exception(error);
  return whole;
}

}  // namespace pelodyn
