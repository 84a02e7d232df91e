// The input strip's controls as the project shows them: its fields, boxes,
// radio buttons and combos bound to the document's option values (each user
// edit an undoable step), the variable-Ru grid, the load type with the
// record editors of line loads, strip loads and anchors, the Apply and
// Close buttons, the fields checked as they are typed, and every control
// whose work is not built yet disabled with the reason. While a run goes on
// every panel is disabled.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

class QComboBox;
class QLineEdit;
class QStatusBar;

namespace pelodyn {

class GridEditor;
class InputStrip;
class LoadEditor;
class OptionBinding;
class ProjectDocument;
class Prompter;

class StripControls : public QObject {
  Q_OBJECT
 public:
  // `redraw` draws the section again (Apply of the grid panel).
  StripControls(ProjectDocument& document, InputStrip& strip, Prompter& prompter, QStatusBar& status,
                std::function<void()> redraw, QObject* parent = nullptr);

  // Every panel disabled while a run owns the project.
  void setRunInProgress(bool running);
  // The reasons of the disabled controls in the language now chosen.
  void retranslate(std::uint8_t language);

  LoadEditor& lineLoads() { return *m_lineLoads; }
  LoadEditor& stripLoads() { return *m_stripLoads; }
  LoadEditor& anchors() { return *m_anchors; }

 private:
  void bind();
  void buildRuGrid();
  void buildLoadEditors();
  void showLoadType(int type);
  void disableUnbuilt();

  ProjectDocument& m_document;
  InputStrip& m_strip;
  Prompter& m_prompter;
  QStatusBar& m_status;
  std::function<void()> m_redraw;
  OptionBinding* m_binding = nullptr;
  GridEditor* m_ruGrid = nullptr;
  LoadEditor* m_lineLoads = nullptr;
  LoadEditor* m_stripLoads = nullptr;
  LoadEditor* m_anchors = nullptr;
  // Found once when the strip's controls are bound.
  std::vector<std::pair<QComboBox*, const char*>> m_itemCombos;  // a combo and the texts of its items
  QLineEdit* m_ruAverage = nullptr;
  QLineEdit* m_divisions = nullptr;
  QWidget* m_loadGroups[2] = {};
};

}  // namespace pelodyn
