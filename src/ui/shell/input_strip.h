// The collapsible input strip P_Top_Input under the tool bar. It shows one
// small input panel at a time: collapsed, only the panel's bold title row
// shows; expanded, the whole panel. Closing a panel only collapses the
// strip; the panel stays the current one.
#pragma once

#include <QFrame>
#include <QHash>
#include <QString>
#include <string_view>
#include <vector>

class QToolButton;
class QWidget;

#include "keys/option_keys.h"

namespace pelodyn {

class InputStrip : public QFrame {
  Q_OBJECT
 public:
  explicit InputStrip(QWidget* parent = nullptr);

  // Shows panel `name` (P_Theory, P_Method, ...): expands the strip and
  // hides every other panel.
  void showPanel(const QString& name);
  void setExpanded(bool expanded);
  bool isExpanded() const { return m_expanded; }
  QString currentPanel() const { return m_current; }
  QWidget* panel(const QString& name) const { return m_panels.value(name, nullptr); }
  QStringList panelNames() const;

  // Every edit box of the strip that has a twin among the project's option
  // values: the strip's control name and the option's.
  struct Twin {
    std::string_view field;
    Option option;
  };
  static const std::vector<Twin>& twins();

 signals:
  void expandedChanged(bool expanded);

 private:
  QWidget* addPanel(const QString& name, const QString& titleName, const QString& title);
  void buildPanels();

  QHash<QString, QWidget*> m_panels;
  QHash<QString, QWidget*> m_bodies;
  std::vector<QString> m_order;
  QString m_current;
  bool m_expanded = false;
  QToolButton* m_down = nullptr;
  QToolButton* m_up = nullptr;
  QWidget* m_stack = nullptr;
};

}  // namespace pelodyn
