// The dialogs that edit working tables in place: Soil Properties (the soils
// of either strength model, their colours, the advanced anisotropy), Geometry
// (the boundary lines' points) and Bottom Line (a line number or specific
// segments). Each is modal, made anew by its command, and edits through the
// document, so every change can be undone.
#pragma once

#include <QDialog>
#include <cstdint>

class QFrame;

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
  QFrame* m_swatch = nullptr;
  int m_row = 1;
};

class GeometryDialog : public QDialog {
  Q_OBJECT
 public:
  GeometryDialog(ProjectDocument& document, Prompter& prompter, QWidget* parent = nullptr);
  GridEditor* grid() const { return m_grid; }

 private:
  GridEditor* m_grid = nullptr;
};

class BottomLineDialog : public QDialog {
  Q_OBJECT
 public:
  BottomLineDialog(ProjectDocument& document, Prompter& prompter, QWidget* parent = nullptr);
  GridEditor* grid() const { return m_grid; }

 private:
  void refreshState();

  ProjectDocument& m_document;
  GridEditor* m_grid = nullptr;
};

}  // namespace pelodyn
