#include "keys/option_keys.h"

#include <stdexcept>
#include <string>
#include <unordered_map>

namespace pelodyn {

const std::array<Option, kOptionCount>& AllOptions() {
  static const std::array<Option, kOptionCount> all = [] {
    std::array<Option, kOptionCount> options{};
    for (std::size_t i = 0; i < kOptionCount; ++i) options[i] = static_cast<Option>(i);
    return options;
  }();
  return all;
}

std::optional<Option> FindOption(std::string_view name) {
  // Looked up for every control a window binds and every option line a file
  // holds: by a map, not along the table.
  static const std::unordered_map<std::string_view, Option> kByName = [] {
    std::unordered_map<std::string_view, Option> byName;
    for (Option option : AllOptions()) byName.emplace(OptionName(option), option);
    return byName;
  }();
  const auto found = kByName.find(name);
  if (found == kByName.end()) return std::nullopt;
  return found->second;
}

Option OptionNamed(std::string_view name) {
  if (const auto option = FindOption(name)) return *option;
  throw std::logic_error("No option is named " + std::string(name));
}

}  // namespace pelodyn
