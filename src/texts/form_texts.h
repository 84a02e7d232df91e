// The step-by-step form's texts in English and Thai, by control name: the
// captions of its pages, labels, boxes and panels, the items of its combo
// boxes and the column titles of its grids (items and titles separated by
// '|').
#pragma once

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

}  // namespace pelodyn
