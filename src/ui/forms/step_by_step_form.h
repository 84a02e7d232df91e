// The step-by-step form: six pages over every input of a project, from the
// project's name to the search. It lives as long as the main window and is
// shown without blocking it. Every field, choice and grid edits the project
// through the document, so each change can be undone, and every change made
// elsewhere (the strip, a dialog, undo, a new or opened project) shows here.
#pragma once

#include <QHash>
#include <QString>
#include <QWidget>
#include <cstdint>

#include "keys/option_keys.h"

class QLineEdit;
class QTabWidget;

namespace pelodyn {

class GridEditor;
class OptionBinding;
class ProjectDocument;
class Prompter;

class StepByStepForm : public QWidget {
  Q_OBJECT
 public:
  StepByStepForm(ProjectDocument& document, Prompter& prompter, QWidget* parent = nullptr);

  // The page control and its current page (0 to 5).
  QTabWidget& pages() { return *m_pages; }
  // The grid named `name` (DBG_Soil_Prop, DBG_Geometry, ...).
  GridEditor* grid(const QString& name) const { return m_grids.value(name, nullptr); }

  // Shows every option's dependent controls again: covers, explanation
  // panels, enabled fields.
  void refreshState();
  // Captions in the document's language.
  void retranslate();

 signals:
  // Next on the soil page found the soils and lines to draw; the line
  // choice of the drawing panel follows it.
  void lineChoicePrepared();

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void build();
  QWidget* buildProjectPage();
  QWidget* buildSoilPage();
  QWidget* buildBottomLinePage();
  QWidget* buildSeepagePage();
  QWidget* buildLoadPage();
  QWidget* buildSearchPage();
  GridEditor* addGrid(const QString& name, int table, const QStringList& titles, QWidget* parent);
  // The Insert, Delete and Clear All buttons of a grid, or of the grid a
  // chooser returns at the click (the seepage and soil pages).
  QWidget* rowButtons(const QStringList& names, const std::function<GridEditor*()>& target, QWidget* parent);
  QLineEdit* edit(Option option, QWidget* parent);
  void checkNumber(QLineEdit* edit);
  void chooseTheory(int item);
  void next();

  ProjectDocument& m_document;
  Prompter& m_prompter;
  OptionBinding* m_binding = nullptr;
  QTabWidget* m_pages = nullptr;
  QHash<QString, GridEditor*> m_grids;
  // The text a field last complained about, so leaving it again does not
  // repeat the message.
  QHash<QLineEdit*, QString> m_refused;
};

}  // namespace pelodyn
