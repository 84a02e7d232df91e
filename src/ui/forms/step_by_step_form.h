// The step-by-step form: six pages over every input of a project, from the
// project's name to the search. It lives as long as the main window and is
// shown without blocking it. Every field, choice and grid edits the project
// through the document, so each change can be undone, and every change made
// elsewhere (the strip, a dialog, undo, a new or opened project) shows here.
#pragma once

#include <QHash>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <vector>

#include "keys/option_keys.h"

#include "ui/document/form_captions.h"

class QComboBox;
class QLineEdit;
class QPushButton;
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
  // Captions in the document's language; the form calls it itself when
  // the document's language changes.
  void retranslate();
  // How many times the form has put its captions in place (for the tests).
  int retranslateCount() const { return m_retranslateCount; }

 signals:
  // Next on the soil page found the soils and lines to draw; the line
  // choice of the drawing panel follows it.
  void lineChoicePrepared();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void build();
  // Finds the controls the text tables name, once (a missing one is a
  // logic error that names it).
  void resolveCaptioned();
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
  // The controls the form's text tables caption, found once when the form
  // is built.
  FormCaptions m_captions;
  std::vector<std::pair<QComboBox*, const FormText*>> m_comboItems;
  std::vector<QPushButton*> m_nextButtons;
  std::vector<std::array<QPushButton*, 3>> m_rowButtons;
  QWidget* m_specificSearch = nullptr;
  QWidget* m_autoSearch = nullptr;
  QWidget* m_incrementCover = nullptr;
  QLineEdit* m_bottomLine = nullptr;
  QLineEdit* m_ruAverage = nullptr;
  int m_retranslateCount = 0;
};

}  // namespace pelodyn
