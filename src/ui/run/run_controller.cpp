#include "ui/run/run_controller.h"

#include "ui/document/guard.h"
#include "ui/document/qt_platform.h"

namespace pelodyn {

RunController::RunController(ProjectDocument& document, Prompter& prompter, QObject* parent)
    : QObject(parent), m_document(document), m_prompter(prompter) {}

RunController::~RunController() {
  stopAndWait();
}

bool RunController::precheck() {
  QtPlatform platform(m_prompter);
  const bool ok = !CollectAndCheckRun(m_document.projectForAnalysis(), platform).has_value();
  m_feedback.setQuestionAnswer(true);
  return ok;
}

bool RunController::start() {
  if (m_thread) return false;
  if (!precheck()) {
    m_document.requestStop();
    return false;
  }
  Project& project = m_document.projectForAnalysis();
  RunOptions options;
  options.threads = m_threads;
  // Checked just now on this thread: the worker does not check again.
  options.alreadyChecked = true;
  m_document.beginRun();
  m_feedback.setMinimaSource(&project.run);
  m_thread = QThread::create([this, &project, options] {
    // The worker holds the hand-off lock for the whole run; the window takes
    // it after the thread has ended, which orders everything the search
    // wrote before everything the window reads.
    std::lock_guard handoff(m_handoff);
    m_result = StartAnalysis(project, m_feedback, options);
  });
  connect(m_thread, &QThread::finished, this, [this] { Guarded([this] { onThreadFinished(); }); });
  emit started();
  m_thread->start();
  return true;
}

void RunController::requestStop() {
  m_document.requestStop();
}

void RunController::stopAndWait() {
  if (!m_thread) return;
  requestStop();
  m_thread->wait();
  onThreadFinished();
}

void RunController::onThreadFinished() {
  if (!m_thread) return;
  m_thread->wait();
  m_thread->deleteLater();
  m_thread = nullptr;
  std::lock_guard handoff(m_handoff);
  m_feedback.flush();
  m_document.endRun(m_result);
  const std::string message =
      m_result.outcome == RunOutcome::Failed ? RunFailureText(m_result, m_document.language()) : m_result.message;
  emit finished(static_cast<int>(m_result.outcome), QString::fromStdString(message));
}

}  // namespace pelodyn
