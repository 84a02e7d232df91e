// The three settings dialogs, each created anew by its command and shown
// modally:
//  - Setting (Form_PdSetting): the working area, the scales, the grid size,
//    the markers and warnings and the colour of the failure slices. These
//    are the user's preferences: Apply stores them through the document's
//    updateDrawing / updateSettings and writes the settings file.
//  - Analysis Setting (Form_Analysis_Setting): the slices, circles and the
//    convergence tolerance, which are option values of the project: Apply
//    stores the seven of them as one undoable step.
//  - Page Setup (Form_Page_Setup): the paper orientation, the unit and the
//    margins, edited on a copy that OK stores and Cancel forgets.
//
// Apply and OK read every field before they store anything: a field that
// does not convert, or a value the program refuses (a scale or grid size of
// 0 or less, an inverted or unreachable working area, margins wider than an
// A4 page), is named in an error box, gets the focus, and leaves every
// setting, option and the settings file as they were. Every text follows
// the document's language.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace pelodyn {

class ProjectDocument;
class Prompter;

class SettingDialog : public QDialog {
  Q_OBJECT
 public:
  SettingDialog(ProjectDocument& document, Prompter& prompter, QWidget* parent = nullptr);

  // The Apply button. The working area wider than 200 or higher than 120
  // units is questioned: OK keeps that direction's old limits and puts the
  // focus on its upper field, Cancel takes the new ones; the other fields
  // are stored either way. The zoom is reset to the grid size and the
  // settings file is written. False when a field was refused (nothing
  // stored) or the file could not be written (the settings are stored, the
  // message names the failure).
  bool apply();

 signals:
  // Apply stored the settings: the owner resets the view to the new zoom
  // and scrolls to the origin, also when no value changed.
  void applied();

 private:
  void fill();
  void retranslate();
  void chooseColour();
  void showColour();

  ProjectDocument& m_document;
  Prompter& m_prompter;
  QLineEdit* m_xmax;
  QLineEdit* m_xmin;
  QLineEdit* m_ymax;
  QLineEdit* m_ymin;
  QLineEdit* m_scaleX;
  QLineEdit* m_scaleY;
  QLineEdit* m_maxPoints;
  QLineEdit* m_gridSize;
  QLineEdit* m_snapLength;
  QCheckBox* m_refAxis;
  QCheckBox* m_animation;
  QCheckBox* m_twoIntersect;
  QLabel* m_swatch;
};

class AnalysisSettingDialog : public QDialog {
  Q_OBJECT
 public:
  AnalysisSettingDialog(ProjectDocument& document, Prompter& prompter, QWidget* parent = nullptr);

  // The Apply button: the seven fields as one undoable option step, each
  // in its shortest form (an integer as a decimal integer, a real without
  // trailing zeros), and the fields show what was stored. The circle
  // decrement is read as a whole number of circles while the choice is
  // "No. of Circle". False when a field does not convert (nothing stored).
  bool apply();

 private:
  // Shows the seven option values and the circle choice.
  void showAnalysisSettings();
  void showField(int k);
  void retranslate();

  ProjectDocument& m_document;
  Prompter& m_prompter;
  QComboBox* m_choice;
  std::array<QLineEdit*, 7> m_fields{};
};

class PageSetupDialog : public QDialog {
  Q_OBJECT
 public:
  PageSetupDialog(ProjectDocument& document, Prompter& prompter, QWidget* parent = nullptr);

  // The OK button: the unit, the orientation and the four margins stored
  // together, then the dialog closes. False when a margin is refused
  // (nothing stored, the dialog stays open).
  bool confirm();

 private:
  enum Side { Left, Right, Top, Bottom };
  void showMargins();
  void changeUnit(int unit);
  void changeOrientation(bool landscape);
  void retranslate();

  ProjectDocument& m_document;
  Prompter& m_prompter;
  // The dialog's copy: the unit and orientation shown and the last value
  // each margin field converted to.
  int m_unit = 0;
  bool m_landscape = true;
  std::array<double, 4> m_margins{};
  std::array<QLineEdit*, 4> m_fields{};
  QComboBox* m_unitBox;
  QRadioButton* m_portrait;
  QRadioButton* m_landscapeButton;
};

// The commands' entry points: each creates its dialog over `parent` and
// runs it modally. `applied` runs after every successful Apply of the
// Setting dialog.
void ShowSettingDialog(ProjectDocument& document, Prompter& prompter, QWidget* parent,
                       const std::function<void()>& applied = {});
void ShowAnalysisSettingDialog(ProjectDocument& document, Prompter& prompter, QWidget* parent);
void ShowPageSetupDialog(ProjectDocument& document, Prompter& prompter, QWidget* parent);

// A4 in `unit` (0 inches, 1 centimetres), turned by the orientation.
double PageWidth(int unit, bool landscape);
double PageHeight(int unit, bool landscape);

}  // namespace pelodyn
