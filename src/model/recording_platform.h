// A platform that records what the core showed, for tests: every message and
// question in order, the progress reports, and how often events were let run.
// Questions are answered from a queue of answers (OK once it is exhausted).
#pragma once

#include <deque>
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

  // The texts of the messages shown, in order (questions left out).
  std::vector<std::string> messageTexts() const;

  std::vector<Shown> shown;
  std::vector<ProgressReport> progress;
  int pendingEventCalls = 0;
  std::deque<bool> answers;
};

}  // namespace pelodyn
