#include "ui/run/run_feedback.h"

#include <QMetaObject>
#include <charconv>
#include <limits>

namespace pelodyn {

QtRunFeedback::QtRunFeedback(QObject* parent) : QObject(parent) {
  m_sinceDelivery.start();
}

void QtRunFeedback::setAlreadyShown(const QStringList& texts) {
  std::lock_guard lock(m_mutex);
  m_alreadyShown.clear();
  for (const QString& t : texts) m_alreadyShown.insert(t.toStdString());
}

void QtRunFeedback::post(bool urgent) {
  if (m_posted) return;
  if (!urgent && m_sinceDelivery.elapsed() < kIntervalMs) return;
  m_posted = true;
  QMetaObject::invokeMethod(this, &QtRunFeedback::deliver, Qt::QueuedConnection);
}

void QtRunFeedback::deliver() {
  Pending taken;
  {
    std::lock_guard lock(m_mutex);
    taken = std::move(m_pending);
    m_pending = Pending{};
    m_posted = false;
    m_sinceDelivery.restart();
  }
  for (const MessageCopy& m : taken.messages) emit message(m);
  if (taken.caption) emit caption(*taken.caption);
  if (taken.minima) emit minima(*taken.minima);
  if (taken.progress) emit progress(*taken.progress);
  if (taken.trial) emit trial(*taken.trial);
  if (taken.close) emit closeRequested();
}

void QtRunFeedback::showMessage(MessageKind kind, std::string_view caption, std::string_view text) {
  std::lock_guard lock(m_mutex);
  if (m_alreadyShown.count(std::string(text)) > 0) return;
  m_pending.messages.push_back(MessageCopy{static_cast<int>(kind), std::string(caption), std::string(text)});
  post(true);
}

bool QtRunFeedback::askOkCancel(std::string_view, std::string_view) {
  return m_answer;
}

void QtRunFeedback::reportProgress(const ProgressReport& report) {
  std::lock_guard lock(m_mutex);
  m_pending.progress = ProgressCopy{report.totalProcess, report.processPercent, report.barPercent};
  // The end of a search (100 %) goes through at once.
  post(report.barPercent >= 100);
}

void QtRunFeedback::showMinima(const std::array<std::string, 4>& labels, const std::array<bool, 4>& shown) {
  std::lock_guard lock(m_mutex);
  if (!m_pending.minima) m_pending.minima.emplace();
  // Labels a report does not refresh keep what an earlier one held back.
  for (std::size_t k = 0; k < 4; ++k) {
    if (!shown[k]) continue;
    m_pending.minima->labels[k] = labels[k];
    double fs = std::numeric_limits<double>::quiet_NaN();
    if (m_minimaSource) {
      fs = m_minimaSource->Minimum[k].Fs;
    } else {
      std::from_chars(labels[k].data(), labels[k].data() + labels[k].size(), fs);
    }
    m_pending.minima->fs[k] = fs;
    m_pending.minima->shown[k] = true;
  }
  post(false);
}

void QtRunFeedback::animateTrial(const TrialView& view) {
  std::lock_guard lock(m_mutex);
  TrialCopy& t = m_pending.trial ? *m_pending.trial : m_pending.trial.emplace();
  t.centerX = view.centerX;
  t.centerY = view.centerY;
  t.x.clear();
  t.y.clear();
  if (view.x && view.y) {
    t.x.assign(view.x->begin(), view.x->end());
    t.y.assign(view.y->begin(), view.y->end());
  }
  post(false);
}

void QtRunFeedback::setProgressCaption(std::string_view text) {
  std::lock_guard lock(m_mutex);
  m_pending.caption = std::string(text);
  post(true);
}

void QtRunFeedback::closeProgressWindow() {
  std::lock_guard lock(m_mutex);
  m_pending.close = true;
  post(true);
}

}  // namespace pelodyn
