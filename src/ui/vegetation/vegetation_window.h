// The vegetation window Form_PdVegetation. Its first two pages edit the
// root tables (Root_No, Root_Layer, Root_Position) in place through the
// document and hold the area, grid and window of the calculation; the
// Results page runs it (Generate) and writes its profile into the soil
// table (Export) or puts the soils' cohesions back (Restore).
//
// The last Generate's results stay with the window until the next Generate,
// so Export uses them also after the window was closed and opened again: the
// program keeps one window. Export and Restore are single undoable steps,
// each written in one transaction: Export takes one backup of the soils
// into Soil_Prop_Bak (a later Export keeps it) and changes the cohesions;
// Restore puts back the cohesions Export wrote that were not edited since,
// and gives up the backup. Without a backup (after New, after Open, before
// any Export) Restore changes nothing and says so.
#pragma once

#include <QDialog>
#include <QHash>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "ui/document/form_captions.h"
#include "vegetation/vegetation.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace pelodyn {

class GridEditor;
class ProjectDocument;
class Prompter;

class VegetationWindow : public QDialog {
  Q_OBJECT
 public:
  VegetationWindow(ProjectDocument& document, Prompter& prompter, QWidget* parent = nullptr);

  // Generate: reads the text boxes (a text that does not convert raises the
  // conversion error, and the previous results stay) and the root tables,
  // computes and shows the report.
  void generate();
  // "Label: " of the text box `box` as the window shows it; empty when it
  // has no label.
  QString boxLabel(const char* box) const;
  void exportCohesion();
  void restoreSoils();

  const std::optional<VegetationResult>& result() const { return m_result; }
  GridEditor* rootNoGrid() const { return m_rootNo; }
  GridEditor* rootLayerGrid() const { return m_rootLayer; }
  GridEditor* rootPositionGrid() const { return m_rootPosition; }
  // How many times the window has put its captions in place (for the tests).
  int retranslateCount() const { return m_retranslateCount; }

 private:
  // Captions in the document's language; called when the language changes.
  void retranslate();
  // The text box named `name`; a name the window lacks is a logic error.
  QLineEdit* box(const char* name) const;

  ProjectDocument& m_document;
  Prompter& m_prompter;
  QTabWidget* m_pages = nullptr;
  GridEditor* m_rootNo = nullptr;
  GridEditor* m_rootLayer = nullptr;
  GridEditor* m_rootPosition = nullptr;
  QPlainTextEdit* m_report = nullptr;
  std::optional<VegetationResult> m_result;
  std::vector<ExportedCohesion> m_exported;
  // The text boxes and their labels by name, and the grids' row buttons.
  QHash<QString, QLineEdit*> m_boxes;
  QHash<QString, QLabel*> m_labels;
  std::vector<std::array<QPushButton*, 3>> m_rowButtons;
  FormCaptions m_captions;
  int m_retranslateCount = 0;
};

}  // namespace pelodyn
