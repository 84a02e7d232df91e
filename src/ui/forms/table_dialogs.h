// The dialogs that edit working tables in place: Soil Properties (the soils
// of either strength model, their colours, the advanced anisotropy), Geometry
// (the boundary lines' points) and Bottom Line (a line number or specific
// segments). Each is modal, made anew by its command, and edits through the
// document, so every change can be undone. Each follows the document's
// language while it is open.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

class QAbstractButton;
class QComboBox;
class QFrame;
class QLabel;

namespace pelodyn {

class GridEditor;
class OptionBinding;
class ProjectDocument;
class Prompter;

class SoilPropertiesDialog : public QDialog {
  Q_OBJECT
 public:
  SoilPropertiesDialog(ProjectDocument& document, Prompter& prompter, QWidget* parent = nullptr);

  // The grid of the current strength model's soils.
  GridEditor* currentGrid() const;
  // 1-based row whose colour the swatch shows.
  int rememberedRow() const { return m_row; }
  void chooseColor();
  void defaultColors();
  void apply();
  // How many times the dialog has put its captions in place (for the tests).
  int retranslateCount() const { return m_retranslateCount; }

 signals:
  // Apply checked the soils; the line choice may be filled again.
  void soilsApplied();

 private:
  void refreshState();
  void retranslate();
  void showRow(int position);

  ProjectDocument& m_document;
  Prompter& m_prompter;
  OptionBinding* m_binding = nullptr;
  GridEditor* m_soils = nullptr;
  GridEditor* m_aniso = nullptr;
  GridEditor* m_advanced = nullptr;
  QFrame* m_swatch = nullptr;
  QLabel* m_modelLabel = nullptr;
  QComboBox* m_model = nullptr;
  QAbstractButton* m_advanceOff = nullptr;
  QAbstractButton* m_colorSet = nullptr;
  QAbstractButton* m_defaultColors = nullptr;
  QAbstractButton* m_advancedShow = nullptr;
  QAbstractButton* m_advancedHide = nullptr;
  QAbstractButton* m_apply = nullptr;
  QAbstractButton* m_close = nullptr;
  // Insert, Delete and Clear All of the soil grids, then of the advanced grid.
  std::array<QAbstractButton*, 3> m_rowButtons{};
  std::array<QAbstractButton*, 3> m_advancedRowButtons{};
  int m_row = 1;
  int m_retranslateCount = 0;
};

class GeometryDialog : public QDialog {
  Q_OBJECT
 public:
  GeometryDialog(ProjectDocument& document, Prompter& prompter, QWidget* parent = nullptr);
  GridEditor* grid() const { return m_grid; }
  int retranslateCount() const { return m_retranslateCount; }

 private:
  void retranslate();

  ProjectDocument& m_document;
  GridEditor* m_grid = nullptr;
  std::array<QAbstractButton*, 3> m_rowButtons{};
  QAbstractButton* m_apply = nullptr;
  QAbstractButton* m_close = nullptr;
  int m_retranslateCount = 0;
};

class BottomLineDialog : public QDialog {
  Q_OBJECT
 public:
  BottomLineDialog(ProjectDocument& document, Prompter& prompter, QWidget* parent = nullptr);
  GridEditor* grid() const { return m_grid; }
  int retranslateCount() const { return m_retranslateCount; }

 private:
  void refreshState();
  void retranslate();

  ProjectDocument& m_document;
  GridEditor* m_grid = nullptr;
  QLabel* m_typeLabel = nullptr;
  QLabel* m_numberLabel = nullptr;
  QLabel* m_specificLabel = nullptr;
  QLabel* m_cover = nullptr;
  QComboBox* m_choose = nullptr;
  std::array<QAbstractButton*, 3> m_rowButtons{};
  QAbstractButton* m_apply = nullptr;
  QAbstractButton* m_close = nullptr;
  int m_retranslateCount = 0;
};

}  // namespace pelodyn
