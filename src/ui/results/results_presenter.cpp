#include "ui/results/results_presenter.h"

#include <QStatusBar>

#include "texts/captions.h"
#include "ui/document/guard.h"
#include "ui/document/project_document.h"
#include "ui/document/run_texts.h"
#include "view/fs_contours.h"
#include "view/section_view.h"

namespace pelodyn {

ResultsPresenter::ResultsPresenter(ProjectDocument& document, SectionView& view, QStatusBar& status, QObject* parent)
    : QObject(parent), m_document(document), m_view(view), m_status(status) {
  ProjectNotifier& n = document.notifier();
  connect(&n, &ProjectNotifier::projectReset, this, GuardedSlot([this] { clear(); }));
  connect(&n, &ProjectNotifier::resultsChanged, this, GuardedSlot([this] {
    // A contour map of out-of-date results is as wrong as their labels.
    if (!m_document.resultsCurrent()) setContoursShown(false);
    showSurfaces();
    showSummary();
  }));
  connect(&n, &ProjectNotifier::runStateChanged, this, GuardedSlot([this] {
    if (m_document.runInProgress()) {
      setContoursShown(false);
      m_summary.clear();
      m_status.clearMessage();
    } else {
      showSummary();
    }
  }));
  connect(&n, &ProjectNotifier::languageChanged, this, GuardedSlot([this] { showSummary(); }));
  // The status line is cut at the window's width: its tool tip carries the
  // whole of whatever message it shows.
  connect(&m_status, &QStatusBar::messageChanged, &m_status, &QWidget::setToolTip);
}

bool ResultsPresenter::contoursAvailable() const {
  const Project& p = m_document.project();
  const auto& last = m_document.lastRun();
  return !m_document.runInProgress() && m_document.resultsCurrent() && last && p.model.AnalysisTheory == 1 &&
         p.model.CircularSearchKind == 0 && p.store->rowCount(Table::Results) > 0;
}

void ResultsPresenter::setContoursShown(bool shown) {
  if (shown && !contoursAvailable()) shown = false;
  if (shown) {
    const Project& p = m_document.project();
    m_view.setContourMap(GatherContourMap(p.model, *p.store));
  } else {
    m_view.setContourMap(std::nullopt);
  }
  if (m_contoursShown == shown) return;
  m_contoursShown = shown;
  emit contoursShownChanged(shown);
}

void ResultsPresenter::showSurfaces() {
  ViewOptions o = m_view.viewOptions();
  const auto& surfaces = m_document.presentedSurfaces();
  o.resultAvailable = !surfaces.empty();
  m_view.setCriticalSurfaces(surfaces);
  m_view.setViewOptions(o);
  m_view.redrawOverlays();
}

void ResultsPresenter::showSummary() {
  const auto& last = m_document.lastRun();
  if (m_document.runInProgress()) {
    m_summary.clear();
  } else if (last && !m_document.resultsCurrent()) {
    m_summary = QString::fromStdString(std::string(UiTextFor(m_document.language(), UiText::ResultsOutOfDate)));
  } else if (last) {
    m_summary = RunSummaryText(m_document.language(), m_document.project(), *last);
  } else {
    m_summary = m_document.resultsNote();
  }
  if (m_summary.isEmpty()) {
    m_status.clearMessage();
  } else {
    m_status.showMessage(m_summary);
  }
}

void ResultsPresenter::clear() {
  setContoursShown(false);
  m_view.setContourMap(std::nullopt);
  showSurfaces();
  m_summary.clear();
  m_status.clearMessage();
}

}  // namespace pelodyn
