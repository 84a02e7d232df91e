// The one way the core reaches the user. Each front end implements it: the
// desktop program with message boxes and its progress window, the
// command-line program on standard error, the tests by recording.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace pelodyn {

enum class MessageKind {
  Information,  // information box, one OK button
  Error,        // error box, one OK button
  Plain,        // a plain message box with one OK button and no icon
};

// What the progress window shows about a running search.
struct ProgressReport {
  std::string totalProcess;    // text of L_Total_Process, e.g. "37 of 250"
  std::string processPercent;  // text of L_Process_Percent, e.g. "15%"
  int barPercent = 0;          // position of the progress bar, 0 to 100
};

// A trial surface for the animation layer: the centre and the slip polyline.
struct TrialView {
  double centerX = 0.0, centerY = 0.0;
  const std::vector<double>* x = nullptr;
  const std::vector<double>* y = nullptr;
};

class PlatformServices {
 public:
  virtual ~PlatformServices() = default;

  // Shows a message and returns when the user has acknowledged it. An empty
  // caption lets the front end use its usual title for the kind.
  virtual void showMessage(MessageKind kind, std::string_view caption, std::string_view text) = 0;
  // Asks an OK/Cancel question with an exclamation icon; true for OK.
  virtual bool askOkCancel(std::string_view caption, std::string_view text) = 0;
  virtual void reportProgress(const ProgressReport& report) = 0;
  // Lets the front end handle pending events (repaint, a click on Stop).
  virtual void processPendingEvents() = 0;

  // The minimum labels of the progress window; `shown` tells which labels
  // the run refreshes.
  virtual void showMinima(const std::array<std::string, 4>& labels, const std::array<bool, 4>& shown) {
    (void)labels;
    (void)shown;
  }
  // Draws a trial on the animation layer; called once per trial.
  virtual void animateTrial(const TrialView& trial) { (void)trial; }
  // The caption of the progress window ("Calculating ...", "Calculation Complete").
  virtual void setProgressCaption(std::string_view caption) { (void)caption; }
  virtual void closeProgressWindow() {}
};

// For work that has no one to tell: messages vanish, questions answer OK.
class SilentPlatform final : public PlatformServices {
 public:
  void showMessage(MessageKind, std::string_view, std::string_view) override {}
  bool askOkCancel(std::string_view, std::string_view) override { return true; }
  void reportProgress(const ProgressReport&) override {}
  void processPendingEvents() override {}
};

}  // namespace pelodyn
