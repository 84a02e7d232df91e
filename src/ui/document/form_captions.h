// Captions a window's controls from one of the texts room's tables of texts
// by control name (FormText): a page of a tab control gets its tab's title,
// a label or a button its text, a group box its title, and the row named as
// the window itself the window's title. The controls are found once, when
// the window is built; a name the window does not hold is a logic error
// that names it, so a renamed control fails the tests instead of losing its
// caption silently.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "texts/form_texts.h"

class QWidget;

namespace pelodyn {

class FormCaptions {
 public:
  // Finds the control of every row of `texts` among the descendants of
  // `root` (built by then); throws std::logic_error for one it lacks.
  void resolve(QWidget& root, std::span<const FormText> texts);
  // Puts the texts of `language` (kLanguageThai or kLanguageEnglish) in place.
  void apply(std::uint8_t language) const;

 private:
  enum class Kind { Title, Tab, Label, Button, Group };
  struct Target {
    QWidget* widget;
    Kind kind;
    const FormText* text;
  };
  std::vector<Target> m_targets;
};

}  // namespace pelodyn
