#include "ui/models/option_binding.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include "model/control_state.h"

#include "ui/document/guard.h"
#include "ui/document/project_document.h"

namespace pelodyn {

OptionBinding::OptionBinding(ProjectDocument& document, QObject* parent) : QObject(parent), m_document(document) {
  ProjectNotifier& n = document.notifier();
  connect(&n, &ProjectNotifier::optionChanged, this, GuardedSlot([this](Option control) {
    for (const Bound& b : m_bound) {
      if (b.control == control) refresh(b);
    }
  }));
  connect(&n, &ProjectNotifier::projectReset, this, GuardedSlot([this] { refreshAll(); }));
}

void OptionBinding::bindText(QLineEdit* edit, Option control) {
  if (!edit) return;
  m_bound.push_back({edit, control, Bound::Text});
  connect(edit, &QLineEdit::textEdited, this, GuardedSlot([this, edit, control](const QString& text) {
            m_document.setOptionText(control, text);
            validate(edit, control);
          }));
  refresh(m_bound.back());
}

void OptionBinding::bindCheck(QAbstractButton* button, Option control, bool inverted) {
  if (!button) return;
  m_bound.push_back({button, control, Bound::Check, 0, inverted});
  connect(button, &QAbstractButton::clicked, this, GuardedSlot([this, control, inverted](bool on) {
            const bool stored = inverted ? !on : on;
            choose(control, [&](OptionValues& o) { o.setChecked(control, stored); });
            // A rule may refuse the choice: the box shows what is stored.
            for (const Bound& b : m_bound) {
              if (b.control == control) refresh(b);
            }
          }));
  refresh(m_bound.back());
}

void OptionBinding::bindChoice(QAbstractButton* button, Option control, int index) {
  if (!button) return;
  m_bound.push_back({button, control, Bound::Choice, index});
  connect(button, &QAbstractButton::clicked, this, GuardedSlot([this, control, index](bool on) {
            if (on) choose(control, [&](OptionValues& o) { o.setItemIndex(control, index); });
          }));
  refresh(m_bound.back());
}

void OptionBinding::bindCombo(QComboBox* combo, Option control) {
  if (!combo) return;
  m_bound.push_back({combo, control, Bound::Combo});
  connect(combo, &QComboBox::activated, this, GuardedSlot([this, control](int index) {
            choose(control, [&](OptionValues& o) { o.setItemIndex(control, index); });
          }));
  refresh(m_bound.back());
}

void OptionBinding::choose(Option control, const std::function<void(OptionValues&)>& set) {
  m_document.setOptions(QStringLiteral("Set ") + OptionObjectName(control), [&](OptionValues& o) {
    set(o);
    ApplyOptionRules(o, control);
  });
}

void OptionBinding::refreshAll() {
  for (const Bound& b : m_bound) refresh(b);
}

void OptionBinding::setValidator(Option control, Validator validator) {
  m_validators.emplace_back(control, std::move(validator));
}

void OptionBinding::refresh(const Bound& b) {
  const Option control = b.control;
  const OptionValues& o = m_document.project().options;
  switch (b.kind) {
    case Bound::Text: {
      auto* edit = static_cast<QLineEdit*>(b.widget);
      const QString text = QString::fromStdString(o.text(control));
      if (edit->text() != text) edit->setText(text);
      validate(edit, b.control);
      break;
    }
    case Bound::Check: {
      auto* button = static_cast<QAbstractButton*>(b.widget);
      const bool on = o.checked(control) != b.inverted;
      if (button->isChecked() != on) button->setChecked(on);
      break;
    }
    case Bound::Choice: {
      auto* button = static_cast<QAbstractButton*>(b.widget);
      const bool on = o.itemIndex(control) == b.index;
      if (button->isChecked() != on) button->setChecked(on);
      break;
    }
    case Bound::Combo: {
      auto* combo = static_cast<QComboBox*>(b.widget);
      if (combo->currentIndex() != o.itemIndex(control)) combo->setCurrentIndex(o.itemIndex(control));
      break;
    }
  }
}

void OptionBinding::validate(QLineEdit* edit, Option control) {
  for (const auto& [name, validator] : m_validators) {
    if (name != control) continue;
    const QString message = validator(edit->text());
    // A field whose text cannot be read says so at once, where it is typed.
    edit->setStyleSheet(message.isEmpty() ? QString() : QStringLiteral("QLineEdit { background: #ffd0d0; }"));
    edit->setToolTip(message);
    emit invalidText(control, message);
  }
}

}  // namespace pelodyn
