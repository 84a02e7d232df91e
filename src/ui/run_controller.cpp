#include "ui/run_controller.h"

#include "ui/qt_platform.h"

namespace pelodyn {

namespace {

// Shows what the checks say and remembers the texts.
class CheckingPlatform final : public QtPlatform {
 public:
  using QtPlatform::QtPlatform;
  void showMessage(MessageKind kind, std::string_view caption, std::string_view text) override {
    shown << QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    QtPlatform::showMessage(kind, caption, text);
  }
  QStringList shown;
};

}  // namespace

RunController::RunController(ProjectDocument& document, Prompter& prompter, QObject* parent)
    : QObject(parent), m_document(document), m_prompter(prompter) {}

RunController::~RunController() {
  stopAndWait();
}

bool RunController::precheck() {
  CheckingPlatform platform(m_prompter);
  const bool ok = !CollectAndCheckRun(m_document.project(), platform).has_value();
  // The worker's collection repeats the messages; they were seen already.
  m_feedback.setAlreadyShown(platform.shown);
  m_feedback.setQuestionAnswer(true);
  return ok;
}

bool RunController::start() {
  if (m_thread) return false;
  if (!precheck()) {
    m_document.project().run.StopRequested = 1;
    return false;
  }
  Project& project = m_document.project();
  RunOptions options;
  options.threads = m_threads;
  m_thread = QThread::create([this, &project, options] {
    // The worker holds the hand-off lock for the whole run; the window takes
    // it after the thread has ended, which orders everything the search
    // wrote before everything the window reads.
    std::lock_guard handoff(m_handoff);
    m_result = StartAnalysis(project, m_feedback, options);
  });
  connect(m_thread, &QThread::finished, this, &RunController::onThreadFinished);
  emit started();
  m_thread->start();
  return true;
}

void RunController::requestStop() {
  m_document.project().run.StopRequested = 1;
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
  if (m_result.outcome == RunOutcome::Complete || m_result.outcome == RunOutcome::Stopped) {
    m_document.setHasOwnResults(true);
  }
  emit m_document.notifier().runStateChanged();
  emit finished(static_cast<int>(m_result.outcome), QString::fromStdString(m_result.message));
}

}  // namespace pelodyn
