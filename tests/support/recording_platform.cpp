#include "support/recording_platform.h"

namespace pelodyn {

void RecordingPlatform::showMessage(MessageKind kind, std::string_view caption, std::string_view text) {
  shown.push_back({Shown::Type::Message, kind, std::string(caption), std::string(text)});
}

bool RecordingPlatform::askOkCancel(std::string_view caption, std::string_view text) {
  shown.push_back({Shown::Type::Question, MessageKind::Information, std::string(caption), std::string(text)});
  if (answers.empty()) return true;
  const bool answer = answers.front();
  answers.pop_front();
  return answer;
}

void RecordingPlatform::reportProgress(const ProgressReport& report) {
  progress.push_back(report);
}

void RecordingPlatform::processPendingEvents() {
  ++pendingEventCalls;
  if (onPendingEvents) onPendingEvents();
}

std::vector<std::string> RecordingPlatform::messageTexts() const {
  std::vector<std::string> out;
  for (const Shown& s : shown) {
    if (s.type == Shown::Type::Message) out.push_back(s.text);
  }
  return out;
}

}  // namespace pelodyn
