// The step-by-step form's texts in English and Thai, by control name: the
// captions of its pages, labels, boxes and panels, the items of its combo
// boxes and the column titles of its grids (items and titles separated by
// '|').
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace pelodyn {

struct FormText {
  std::string_view name;
  std::string_view english;
  std::string_view thai;
};

std::span<const FormText> StepFormTexts();
std::span<const FormText> StepFormComboItems();
std::span<const FormText> StepFormGridTitles();

// The vegetation window's texts the same way: its pages, labels, boxes and
// buttons, and the column titles of its three grids.
std::span<const FormText> VegetationFormTexts();
std::span<const FormText> VegetationGridTitles();

// The text of the row named `name` of `texts` in `language` (0 Thai, 1
// English); empty for a name without a row or an unknown language.
std::string_view FormTextFor(std::span<const FormText> texts, std::string_view name, std::uint8_t language);

}  // namespace pelodyn
