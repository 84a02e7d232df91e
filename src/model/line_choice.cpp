#include "model/line_choice.h"

#include "model/project.h"
#include "texts/messages.h"

namespace pelodyn {

namespace {

// The first `count` characters of a UTF-8 text.
std::string FirstCharacters(const std::string& text, std::size_t count) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      if (chars == count) return text.substr(0, i);
      ++chars;
    }
  }
  return text;
}

}  // namespace

LineChoice PrepareLineChoice(Project& project) {
  const bool aniso = project.options.itemIndex(Option::CB_Strength_Model) == 1;
  const Table table = aniso ? Table::Aniso : Table::Soil_Prop;
  const std::vector<Row> rows = project.store->rows(table);
  LineChoice choice;
  choice.soilCount = static_cast<int>(rows.size());
  if (rows.empty()) return choice;  // nothing to check, nothing to list
  const Row& last = rows.back();
  const std::vector<const char*> strengths =
      aniso ? std::vector<const char*>{"C-h", "C-v", "Phi-h", "Phi-v", "Unit Weight"}
            : std::vector<const char*>{"Cohesion", "Phi", "Unit Weight"};
  for (const char* field : strengths) {
    if (last.real(field) != 0.0) {
      choice.messages.push_back(aniso ? 12 : 11);
      break;
    }
  }
  if (last.integer(SoilCommonField::LineNo) != choice.soilCount) {
    choice.messages.push_back(9);
    return choice;
  }
  int k = 1;
  for (const Row& row : rows) {
    const std::string description = row.text(SoilCommonField::Description);
    std::string shown = FirstCharacters(description, 15);
    if (shown.size() < description.size()) shown += "...";
    choice.entries.push_back({std::to_string(k) + " : " + shown, description,
                              static_cast<std::int32_t>(row.integer(SoilCommonField::Color))});
    ++k;
  }
  return choice;
}

std::string LineChoiceText(const Project& project, int message) {
  const std::uint8_t language = project.model.Language;
  if (message != 9) return std::string(MessageText(language, message));
  const Table table = project.options.itemIndex(Option::CB_Strength_Model) == 1 ? Table::Aniso : Table::Soil_Prop;
  const int count = project.store->rowCount(table);
  if (count == 0) return std::string(MessageText(language, message));
  const Row last = project.store->rowAt(table, count);
  return FormatText(CoreTextFor(language, CoreText::SoilLastNumberNotCount),
                    {TableCaption(language, TableName(table)), std::to_string(count),
                     FieldCaption(language, TableName(table), "Line No."),
                     std::to_string(last.integer(SoilCommonField::LineNo)), std::to_string(count)});
}

}  // namespace pelodyn
