// Shows what the document holds of a run on the drawing and the status line:
// the presented critical surfaces with their labels, the factor-of-safety
// map over the grid of centres (with its legend) while it is switched on,
// and the run's summary. A new or opened project clears all of it; a run in
// progress hides the previous run's surfaces and map.
#pragma once

#include <QObject>
#include <QString>

class QStatusBar;

namespace pelodyn {

class ProjectDocument;
class SectionView;

class ResultsPresenter : public QObject {
  Q_OBJECT
 public:
  ResultsPresenter(ProjectDocument& document, SectionView& view, QStatusBar& status, QObject* parent = nullptr);

  // True when the Results rows are those of a grid search of this project:
  // only then does every centre of the grid have its circles.
  bool contoursAvailable() const;
  // Switches the factor-of-safety map on (when available) or off.
  void setContoursShown(bool shown);
  bool contoursShown() const { return m_contoursShown; }
  // The status line's text about the last run (empty when there is none).
  QString summary() const { return m_summary; }

 signals:
  // The map was switched on or off (the contour button follows).
  void contoursShownChanged(bool shown);

 private:
  void showSurfaces();
  void showSummary();
  void clear();

  ProjectDocument& m_document;
  SectionView& m_view;
  QStatusBar& m_status;
  bool m_contoursShown = false;
  QString m_summary;
};

}  // namespace pelodyn
