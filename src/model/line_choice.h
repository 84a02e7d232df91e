// The list of boundary lines a user may draw or key in, one per soil of the
// current strength model, checked first: the last soil must be the air
// layer (all strengths and the unit weight 0), and the soil numbers must
// run 1 to N so the last row's number is the row count.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pelodyn {

struct Project;

struct LineChoiceEntry {
  std::string text;         // "k : description" (15 characters and "...")
  std::string description;  // the whole description
  std::int32_t color = 0;   // 0x00BBGGRR
};

struct LineChoice {
  // Messages to show, in order, as error boxes: 11 or 12 (the last soil is
  // not air; the list is still filled) and 9 (the numbers are wrong; the
  // list stays empty).
  std::vector<int> messages;
  std::vector<LineChoiceEntry> entries;  // empty after message 9
  int soilCount = 0;
};

// Reads the soil table of the project's strength model (option
// CB_Strength_Model: 0 Soil_Prop, 1 Aniso).
LineChoice PrepareLineChoice(Project& project);

// The text of one of the choice's messages in the project's language; 9
// names the last row and its number as the soil grid shows them.
std::string LineChoiceText(const Project& project, int message);

}  // namespace pelodyn
