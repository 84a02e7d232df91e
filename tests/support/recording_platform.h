// A platform that records what the core showed, for tests: every message and
// question in order, the progress reports, and how often events were let run.
// Questions are answered from a queue of answers (OK once it is exhausted).
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "model/platform.h"

namespace pelodyn {

class RecordingPlatform final : public PlatformServices {
 public:
  struct Shown {
    enum class Type { Message, Question } type;
    MessageKind kind;  // Message only
    std::string caption;
    std::string text;
    bool operator==(const Shown&) const = default;
  };

  void showMessage(MessageKind kind, std::string_view caption, std::string_view text) override;
  bool askOkCancel(std::string_view caption, std::string_view text) override;
  void reportProgress(const ProgressReport& report) override;
  void processPendingEvents() override;
  void showMinima(const std::array<std::string, 4>& labels, const std::array<bool, 4>& shown) override {
    minimaLabels = labels;
    minimaShown = shown;
  }
  void animateTrial(const TrialView&) override { ++animatedTrials; }
  void setProgressCaption(std::string_view caption) override { captions.emplace_back(caption); }
  void closeProgressWindow() override { ++progressWindowClosed; }

  // The texts of the messages shown, in order (questions left out).
  std::vector<std::string> messageTexts() const;

  std::vector<Shown> shown;
  std::vector<ProgressReport> progress;
  int pendingEventCalls = 0;
  std::array<std::string, 4> minimaLabels;
  std::array<bool, 4> minimaShown{};
  int animatedTrials = 0;
  std::vector<std::string> captions;
  int progressWindowClosed = 0;
  // Called at every pending-events call, e.g. to press Stop during a search.
  std::function<void()> onPendingEvents;
  std::deque<bool> answers;
};

}  // namespace pelodyn
