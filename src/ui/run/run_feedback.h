// The core's platform services for a search on a worker thread. The worker
// calls them; they never touch a widget. What the worker reports is kept
// under a lock as the latest progress, minima and trial (plus every message)
// and handed over by one queued call; the window's thread takes it and emits
// the signals below, on its own thread. Progress and trials are coalesced to
// about 30 a second: a search of thousands of trials a second must not flood
// the event loop.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "model/platform.h"
#include "model/run_state.h"

namespace pelodyn {

// Plain standard copies: nothing is shared between the worker and the
// window.
struct TrialCopy {
  double centerX = 0.0, centerY = 0.0;
  std::vector<double> x, y;
};
struct ProgressCopy {
  std::string total, percent;
  int bar = 0;
};
// The minima a search reports: each method's label as the engine wrote it
// and the minimum itself, which the window formats as it formats the run's
// final minima.
struct MinimaCopy {
  std::array<std::string, 4> labels;
  std::array<double, 4> fs{};
  std::array<bool, 4> shown{};
};
struct MessageCopy {
  int kind = 0;
  std::string caption, text;
};

class QtRunFeedback : public QObject, public PlatformServices {
  Q_OBJECT
 public:
  explicit QtRunFeedback(QObject* parent = nullptr);

  // Messages the window showed already while checking the project before
  // the run: the worker's collection repeats them, and they are not shown
  // twice.
  void setAlreadyShown(const QStringList& texts);
  // The answer the user gave before the run to the question the run asks.
  void setQuestionAnswer(bool ok) { m_answer = ok; }
  // The run state whose minima the search reports: read on the worker's
  // thread when the search reports them, the thread that writes them. Without
  // one, a minimum is read back from its label.
  void setMinimaSource(const RunState* run) { m_minimaSource = run; }
  // Emits what is still held (the window's thread, after the run).
  void flush() { deliver(); }

  // PlatformServices, called on the worker thread.
  void showMessage(MessageKind kind, std::string_view caption, std::string_view text) override;
  bool askOkCancel(std::string_view caption, std::string_view text) override;
  void reportProgress(const ProgressReport& report) override;
  void processPendingEvents() override {}
  void showMinima(const std::array<std::string, 4>& labels, const std::array<bool, 4>& shown) override;
  void animateTrial(const TrialView& trial) override;
  void setProgressCaption(std::string_view caption) override;
  void closeProgressWindow() override;

  // Minimum interval between two coalesced hand-overs, milliseconds.
  static constexpr int kIntervalMs = 33;

 signals:
  // Emitted on the window's thread.
  void message(const pelodyn::MessageCopy& message);
  void progress(const pelodyn::ProgressCopy& progress);
  void minima(const pelodyn::MinimaCopy& minima);
  void trial(const pelodyn::TrialCopy& trial);
  void caption(const std::string& caption);
  void closeRequested();

 private:
  struct Pending {
    std::optional<ProgressCopy> progress;
    std::optional<MinimaCopy> minima;
    std::optional<TrialCopy> trial;
    std::vector<MessageCopy> messages;
    std::optional<std::string> caption;
    bool close = false;
  };
  // Posts the hand-over unless one is on its way; `urgent` items (messages,
  // the caption, a close) do not wait for the interval. Called with the lock
  // held.
  void post(bool urgent);
  void deliver();

  std::mutex m_mutex;
  std::set<std::string> m_alreadyShown;
  bool m_answer = true;
  const RunState* m_minimaSource = nullptr;
  Pending m_pending;
  bool m_posted = false;
  QElapsedTimer m_sinceDelivery;
  std::vector<double> m_trialX, m_trialY;  // the worker's own scratch
};

}  // namespace pelodyn
