// Runs the analysis of the document's project on a worker thread.
//
// Before the thread starts, the project is collected and checked on the
// window's thread, so the messages of the checks and the one question a run
// may ask (the axis position) are answered while nothing runs. While the
// worker runs it owns the project and its store: the window touches
// neither, and commands that change the project are disabled. The stop
// request is the core's atomic flag; the worker honours it after the
// current trial.
#pragma once

#include <QObject>
#include <QThread>
#include <memory>
#include <mutex>

#include "engine/search.h"
#include "ui/document/project_document.h"
#include "ui/document/prompter.h"
#include "ui/run/run_feedback.h"

namespace pelodyn {

class RunController : public QObject {
  Q_OBJECT
 public:
  RunController(ProjectDocument& document, Prompter& prompter, QObject* parent = nullptr);
  ~RunController() override;

  QtRunFeedback& feedback() { return m_feedback; }
  bool isRunning() const { return m_thread != nullptr; }

  // Checks the project and starts the worker; false when the checks or the
  // user refused the run (their messages were shown).
  bool start();
  // Asks the running search to stop after its current trial.
  void requestStop();
  // Stops a running search and waits for the worker to end (closing the
  // program).
  void stopAndWait();
  // Threads the search uses: 0 (the default) one per core. The results are
  // the same for any number.
  void setThreads(int threads) { m_threads = threads; }
  int threads() const { return m_threads; }
  // The outcome of the last run.
  const RunResult& lastResult() const { return m_result; }

 signals:
  void started();
  // The worker has ended and the project belongs to the window again.
  // `message`: for a failed run, what made it fail in the document's language
  // (RunFailureText: its error, Results rows the store refused); else the
  // run's message as it is.
  void finished(int outcome, const QString& message);

 private:
  bool precheck();
  void onThreadFinished();

  ProjectDocument& m_document;
  Prompter& m_prompter;
  QtRunFeedback m_feedback;
  QThread* m_thread = nullptr;
  std::mutex m_handoff;
  int m_threads = 0;
  RunResult m_result;
};

}  // namespace pelodyn
