// What a run of the analysis keeps: its flags and counters, the minimum
// factor of safety of each method with the surface that gave it, and the
// best irregular surface of each method. It survives the run: the result
// file, the reports and the drawing read it.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <vector>

#include "texts/messages.h"

namespace pelodyn {

// Methods in their fixed order.
enum Method : int { Ordinary = 0, Janbu = 1, Bishop = 2, Spencer = 3 };
inline constexpr int kMethodCount = 4;

// The smallest factor of one method and where it was found. A radius of 0
// means no circle was recorded.
struct MethodMinimum {
  double Fs = kNoFactor;
  double CenterX = 0.0, CenterY = 0.0;
  double Radius = 0.0;
  double EntryX = 0.0, EntryY = 0.0, ExitX = 0.0, ExitY = 0.0;
  bool operator==(const MethodMinimum&) const = default;
};

struct RunState {
  // 1 asks every search loop to stop after its current trial. Atomic so that
  // a window may set it while a search runs on another thread.
  std::atomic<std::uint8_t> StopRequested{1};
  std::uint8_t RunStarted = 0;
  std::uint8_t ResultAvailable = 0;
  int CurrentMethod = Ordinary;  // kept between runs

  int LoopCount = 0;
  int ProgressPercent = 0;
  std::array<int, kMethodCount> MethodLoopCount{};
  double SlidingMassArea = 0.0;
  // Surfaces analysed in the run, and how many of them carried each result
  // code (a code counted once per surface, whichever methods carry it).
  long SurfaceCount = 0;
  std::map<int, long> ResultCodeCount;

  double MaxRadius = 0.0, MinRadius = 0.0;
  std::array<MethodMinimum, kMethodCount> Minimum{};
  // The best irregular surface of each method.
  std::array<std::vector<double>, kMethodCount> BestSurfaceX{}, BestSurfaceY{};

  // The progress window's picture check boxes: which minima a replay draws.
  std::array<bool, kMethodCount> ShowPicture{true, true, true, true};

  bool stopRequested() const { return StopRequested.load(std::memory_order_relaxed) != 0; }
};

}  // namespace pelodyn
