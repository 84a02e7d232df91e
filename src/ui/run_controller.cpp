#include "ui/run_controller.h"

#include "model/collection.h"
#include "texts/messages.h"
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

// The axis question of an irregular run, in the project's language.
constexpr std::string_view kWarning[] = {"คำเตือน", "Warning"};
constexpr std::string_view kAxisQuestion[] = {"จุดหมุนอยู่ที่ตำแหน่งไม่เหมาะสม\rต้องการคำนวณต่อไปหรือไม่?",
                                              "Axis Position is not appropriate.\rDo you want to continue?"};

}  // namespace

RunController::RunController(ProjectDocument& document, Prompter& prompter, QObject* parent)
    : QObject(parent), m_document(document), m_prompter(prompter) {}

RunController::~RunController() {
  stopAndWait();
}

bool RunController::precheck() {
  Project& p = m_document.project();
  CheckingPlatform platform(m_prompter);
  CollectAnalysisData(p, platform);
  const AnalysisModel& md = p.model;
  const std::uint8_t language = md.Language;
  bool ok = true;
  if (md.AnalysisTheory == 2 && md.NonCirPointCount == 0) {
    platform.showMessage(MessageKind::Error, "", MessageText(language, 6));
    ok = false;
  } else if (md.SoilCount == 0 || md.GeometryPointTotal == 0) {
    platform.showMessage(MessageKind::Information, "", MessageText(language, 3));
    ok = false;
  } else if (md.AnalysisTheory == 2 && md.LineCount >= 1 && !md.LineX.empty() && md.LinePointCount[0] >= 1 &&
             !(md.CenterX > md.LineX[0][0]) && !(md.CenterY > md.LineY[0][0])) {
    const int l = language == kLanguageThai ? 0 : 1;
    ok = platform.askOkCancel(kWarning[l], kAxisQuestion[l]);
  }
  if (md.DataError) ok = false;
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
