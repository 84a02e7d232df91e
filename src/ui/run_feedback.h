// The core's platform services for a search on a worker thread. The worker
// calls them; they never touch a widget. Messages, progress, minima and the
// trial to animate reach the window as queued signals that carry copies.
// Progress and trials are coalesced to about 30 a second: a search of
// thousands of trials a second must not flood the event loop.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "model/platform.h"

namespace pelodyn {

// What the worker sends. Plain standard types, copied whole: nothing is
// shared between the worker and the window once a signal is posted.
struct TrialCopy {
  double centerX = 0.0, centerY = 0.0;
  std::vector<double> x, y;
};
struct ProgressCopy {
  std::string total, percent;
  int bar = 0;
};
struct MinimaCopy {
  std::array<std::string, 4> labels;
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
  // Sends what the coalescing held back (the last progress and trial).
  void flush();

  // PlatformServices, called on the worker thread.
  void showMessage(MessageKind kind, std::string_view caption, std::string_view text) override;
  bool askOkCancel(std::string_view caption, std::string_view text) override;
  void reportProgress(const ProgressReport& report) override;
  void processPendingEvents() override {}
  void showMinima(const std::array<std::string, 4>& labels, const std::array<bool, 4>& shown) override;
  void animateTrial(const TrialView& trial) override;
  void setProgressCaption(std::string_view caption) override;
  void closeProgressWindow() override;

  // Minimum interval between two coalesced signals, milliseconds.
  static constexpr int kIntervalMs = 33;

 signals:
  void message(const pelodyn::MessageCopy& message);
  void progress(const pelodyn::ProgressCopy& progress);
  void minima(const pelodyn::MinimaCopy& minima);
  void trial(const pelodyn::TrialCopy& trial);
  void caption(const std::string& caption);
  void closeRequested();

 private:
  bool due(QElapsedTimer& timer);

  std::mutex m_mutex;
  std::set<std::string> m_alreadyShown;
  bool m_answer = true;
  QElapsedTimer m_progressTimer, m_trialTimer;
  bool m_progressPending = false, m_trialPending = false;
  ProgressReport m_lastProgress;
  TrialCopy m_lastTrial;
};

}  // namespace pelodyn

Q_DECLARE_METATYPE(pelodyn::TrialCopy)
Q_DECLARE_METATYPE(pelodyn::ProgressCopy)
Q_DECLARE_METATYPE(pelodyn::MinimaCopy)
Q_DECLARE_METATYPE(pelodyn::MessageCopy)
