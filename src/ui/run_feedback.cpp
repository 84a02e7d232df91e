#include "ui/run_feedback.h"

namespace pelodyn {

namespace {
QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
}  // namespace

QtRunFeedback::QtRunFeedback(QObject* parent) : QObject(parent) {
  qRegisterMetaType<pelodyn::TrialCopy>();
  m_progressTimer.start();
  m_trialTimer.start();
}

void QtRunFeedback::setAlreadyShown(const QStringList& texts) {
  std::lock_guard lock(m_mutex);
  m_alreadyShown = QSet<QString>(texts.begin(), texts.end());
}

bool QtRunFeedback::due(QElapsedTimer& timer) {
  if (timer.elapsed() < kIntervalMs) return false;
  timer.restart();
  return true;
}

void QtRunFeedback::showMessage(MessageKind kind, std::string_view caption, std::string_view text) {
  const QString t = Q(text);
  {
    std::lock_guard lock(m_mutex);
    if (m_alreadyShown.contains(t)) return;
  }
  emit message(static_cast<int>(kind), Q(caption), t);
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
  if (send) emit progress(Q(copy.totalProcess), Q(copy.processPercent), copy.barPercent);
}

void QtRunFeedback::showMinima(const std::array<std::string, 4>& labels, const std::array<bool, 4>& shown) {
  QStringList l;
  QVector<bool> s;
  for (int k = 0; k < 4; ++k) {
    l << Q(labels[static_cast<std::size_t>(k)]);
    s << shown[static_cast<std::size_t>(k)];
  }
  emit minima(l, s);
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
      m_lastTrial.x = QVector<double>(view.x->begin(), view.x->end());
      m_lastTrial.y = QVector<double>(view.y->begin(), view.y->end());
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
  emit caption(Q(text));
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
    emit progress(Q(progressCopy.totalProcess), Q(progressCopy.processPercent), progressCopy.barPercent);
  }
  if (sendTrial) emit trial(trialCopy);
}

}  // namespace pelodyn
