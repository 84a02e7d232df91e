// The core's platform services in the desktop program: messages and
// questions through the Prompter, in the language of the document.
// Progress and the trial animation belong to the progress window.
#pragma once

#include "model/platform.h"
#include "ui/document/prompter.h"

namespace pelodyn {

class QtPlatform : public PlatformServices {
 public:
  explicit QtPlatform(Prompter& prompter) : m_prompter(prompter) {}
  void showMessage(MessageKind kind, std::string_view caption, std::string_view text) override;
  bool askOkCancel(std::string_view caption, std::string_view text) override;
  void reportProgress(const ProgressReport&) override {}
  void processPendingEvents() override {}

 private:
  Prompter& m_prompter;
};

}  // namespace pelodyn
