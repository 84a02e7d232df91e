#include "ui/models/control_state_applier.h"
#include "qt_text/utf8.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSet>
#include <QToolButton>
#include <QWidget>

namespace pelodyn {

namespace {

// The window an object is shown in: a widget's window, or the window of the
// nearest widget among an action's (or other object's) parents.
QWidget* OwnWindow(QObject* object) {
  for (QObject* o = object; o; o = o->parent()) {
    if (auto* w = qobject_cast<QWidget*>(o)) return w->window();
  }
  return nullptr;
}

void ApplyToAction(QAction* a, const ControlState& s) {
  if (s.checked && a->isCheckable() && a->isChecked() != *s.checked) a->setChecked(*s.checked);
  if (s.enabled && a->isEnabled() != *s.enabled) a->setEnabled(*s.enabled);
  if (s.visible && a->isVisible() != *s.visible) a->setVisible(*s.visible);
  if (s.hint && a->toolTip() != Q(*s.hint)) a->setToolTip(Q(*s.hint));
  if (s.text && a->text() != Q(*s.text)) a->setText(Q(*s.text));
}

// The radio button of item `index` in a radio group.
QAbstractButton* RadioItem(QObject* group, int index) {
  if (auto* buttons = qobject_cast<QButtonGroup*>(group)) {
    if (QAbstractButton* b = buttons->button(index)) return b;
    const QList<QAbstractButton*> list = buttons->buttons();
    return index >= 0 && index < list.size() ? list[index] : nullptr;
  }
  const QList<QRadioButton*> radios = group->findChildren<QRadioButton*>();
  return index >= 0 && index < radios.size() ? radios[index] : nullptr;
}

void ApplyToWidget(QWidget* w, const ControlState& s) {
  if (s.checked) {
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
      if (b->isCheckable() && b->isChecked() != *s.checked) b->setChecked(*s.checked);
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
      if (g->isCheckable() && g->isChecked() != *s.checked) g->setChecked(*s.checked);
    }
  }
  if (s.item) {
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
      if (combo->currentIndex() != *s.item) combo->setCurrentIndex(*s.item);
    } else if (QAbstractButton* radio = RadioItem(w, *s.item); radio && !radio->isChecked()) {
      radio->setChecked(true);
    }
  }
  if (s.enabled && w->isEnabled() != *s.enabled) w->setEnabled(*s.enabled);
  if (s.visible && w->isHidden() == *s.visible) w->setVisible(*s.visible);
  if (s.hint && w->toolTip() != Q(*s.hint)) w->setToolTip(Q(*s.hint));
  if (s.text) {
    const QString text = Q(*s.text);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
      if (edit->text() != text) edit->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
      if (button->text() != text) button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
      if (label->text() != text) label->setText(text);
    }
  }
}

}  // namespace

void ApplyControlStates(QWidget* root, ControlWindow window, const std::vector<ControlState>& states,
                        StateTexts texts) {
  if (texts == StateTexts::Skip) {
    std::vector<ControlState> withoutTexts;
    for (const ControlState& s : states) {
      if (s.window != window) continue;
      withoutTexts.push_back(s);
      withoutTexts.back().text.reset();
    }
    ApplyControlStates(root, window, withoutTexts, StateTexts::Apply);
    return;
  }
  if (!root) return;
  QWidget* own = root->window();
  QSet<QString> wanted;
  for (const ControlState& s : states) {
    if (s.window == window) wanted.insert(Q(s.control));
  }
  if (wanted.isEmpty()) return;

  // One pass over the tree: the objects of this window named in the states.
  QHash<QString, QList<QObject*>> named;
  QList<QObject*> objects = root->findChildren<QObject*>();
  objects.prepend(root);
  for (QObject* o : objects) {
    const QString name = o->objectName();
    if (name.isEmpty() || !wanted.contains(name) || OwnWindow(o) != own) continue;
    named[name].append(o);
  }

  for (const ControlState& s : states) {
    if (s.window != window) continue;
    const auto found = named.constFind(Q(s.control));
    if (found == named.cend()) continue;
    // A tool button that shows an action and the action itself are one
    // control: apply once, to the action.
    QSet<QObject*> done;
    for (QObject* o : *found) {
      QObject* target = o;
      if (auto* tool = qobject_cast<QToolButton*>(o); tool && tool->defaultAction()) target = tool->defaultAction();
      if (done.contains(target)) continue;
      done.insert(target);
      if (auto* a = qobject_cast<QAction*>(target)) {
        ApplyToAction(a, s);
      } else if (auto* w = qobject_cast<QWidget*>(target)) {
        ApplyToWidget(w, s);
      } else if (s.item) {
        if (QAbstractButton* radio = RadioItem(target, *s.item); radio && !radio->isChecked()) radio->setChecked(true);
      }
    }
  }
}

}  // namespace pelodyn
