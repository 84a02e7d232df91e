// Binds controls to the document's option values, both ways: what the user
// types or clicks becomes an undoable edit of the document, and every change
// of the option (an edit here or in another window, undo, redo, a new or
// opened project) is shown in the control. Only the user's own edits
// (textEdited, clicked, activated) reach the document, so showing a value
// never edits.
//
// A choice (check box, radio button, combo box) is stored together with the
// option changes it brings with it (ApplyOptionRules: the irregular theory
// takes the Ordinary method off, a specific irregular surface the automatic
// centre), as one undoable step.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "keys/option_keys.h"

class QAbstractButton;
class QComboBox;
class QLineEdit;

namespace pelodyn {

class OptionValues;
class ProjectDocument;

class OptionBinding : public QObject {
  Q_OBJECT
 public:
  explicit OptionBinding(ProjectDocument& document, QObject* parent = nullptr);

  // An edit box showing the text of option `control`.
  void bindText(QLineEdit* edit, Option control);
  // A check box or checkable button showing option `control`; `inverted`
  // shows the opposite of the stored state (a "Disable" option behind an
  // "on" button).
  void bindCheck(QAbstractButton* button, Option control, bool inverted = false);
  // A radio button that stands for item `index` of option `control`.
  void bindChoice(QAbstractButton* button, Option control, int index);
  // A combo box whose current item is the item index of option `control`;
  // the user's choice (activated) edits it.
  void bindCombo(QComboBox* combo, Option control);

  // Shows every bound option again (after a reset).
  void refreshAll();

  // A check run on a text as the user types it: empty when it is fine, else
  // the message. The field is marked and its tool tip holds the message.
  using Validator = std::function<QString(const QString& text)>;
  void setValidator(Option control, Validator validator);

 signals:
  // A typed text the validator refused (empty message: it is fine again).
  void invalidText(pelodyn::Option control, const QString& message);

 private:
  struct Bound {
    QObject* widget;
    Option control;
    enum Kind { Text, Check, Choice, Combo } kind;
    int index = 0;
    bool inverted = false;
  };
  void refresh(const Bound& bound);
  // Stores a choice with the option changes it brings (one step).
  void choose(Option control, const std::function<void(OptionValues&)>& set);
  void validate(QLineEdit* edit, Option control);

  ProjectDocument& m_document;
  std::vector<Bound> m_bound;
  std::vector<std::pair<Option, Validator>> m_validators;
};

}  // namespace pelodyn
