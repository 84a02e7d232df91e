#include "ui/run_feedback.h"

namespace pelodyn {

QtRunFeedback::QtRunFeedback(QObject* parent) : QObject(parent) {
  qRegisterMetaType<pelodyn::TrialCopy>();
  qRegisterMetaType<pelodyn::ProgressCopy>();
  qRegisterMetaType<pelodyn::MinimaCopy>();
  qRegisterMetaType<pelodyn::MessageCopy>();
  qRegisterMetaType<std::string>();
  m_progressTimer.start();
  m_trialTimer.start();
}

void QtRunFeedback::setAlreadyShown(const QStringList& texts) {
  std::lock_guard lock(m_mutex);
  m_alreadyShown.clear();
  for (const QString& t : texts) m_alreadyShown.insert(t.toStdString());
}

bool QtRunFeedback::due(QElapsedTimer& timer) {
  if (timer.elapsed() < kIntervalMs) return false;
  timer.restart();
  return true;
}

void QtRunFeedback::showMessage(MessageKind kind, std::string_view caption, std::string_view text) {
  {
    std::lock_guard lock(m_mutex);
    if (m_alreadyShown.count(std::string(text)) > 0) return;
  }
  emit message(MessageCopy{static_cast<int>(kind), std::string(caption), std::string(text)});
}

bool QtRunFeedback::askOkCancel(std::string_view, std::string_view) {
  return m_answer;
}

void QtRunFeedback::reportProgress(const ProgressReport& report) {
  bool send = false;
  ProgressReport copy;
  {
    std::lock_guard lock(m_mutex);
    m_lastProgress = report;
    // The end of a search (100 %) always goes through at once.
    send = due(m_progressTimer) || report.barPercent >= 100;
    m_progressPending = !send;
    copy = m_lastProgress;
  }
  if (send) emit progress(ProgressCopy{copy.totalProcess, copy.processPercent, copy.barPercent});
}

void QtRunFeedback::showMinima(const std::array<std::string, 4>& labels, const std::array<bool, 4>& shown) {
  emit minima(MinimaCopy{labels, shown});
}

void QtRunFeedback::animateTrial(const TrialView& view) {
  TrialCopy copy;
  {
    std::lock_guard lock(m_mutex);
    m_lastTrial.centerX = view.centerX;
    m_lastTrial.centerY = view.centerY;
    m_lastTrial.x.clear();
    m_lastTrial.y.clear();
    if (view.x && view.y) {
      m_lastTrial.x.assign(view.x->begin(), view.x->end());
      m_lastTrial.y.assign(view.y->begin(), view.y->end());
    }
    if (!due(m_trialTimer)) {
      m_trialPending = true;
      return;
    }
    m_trialPending = false;
    copy = m_lastTrial;
  }
  emit trial(copy);
}

void QtRunFeedback::setProgressCaption(std::string_view text) {
  emit caption(std::string(text));
}

void QtRunFeedback::closeProgressWindow() {
  emit closeRequested();
}

void QtRunFeedback::flush() {
  ProgressReport progressCopy;
  TrialCopy trialCopy;
  bool sendProgress = false, sendTrial = false;
  {
    std::lock_guard lock(m_mutex);
    sendProgress = std::exchange(m_progressPending, false);
    sendTrial = std::exchange(m_trialPending, false);
    progressCopy = m_lastProgress;
    trialCopy = m_lastTrial;
  }
  if (sendProgress) {
    emit progress(ProgressCopy{progressCopy.totalProcess, progressCopy.processPercent, progressCopy.barPercent});
  }
  if (sendTrial) emit trial(trialCopy);
}

}  // namespace pelodyn
