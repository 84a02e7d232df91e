// The core keeps its text in UTF-8 std::strings (the texts room, the model,
// the files); Qt shows QStrings. Every Qt room converts through this one
// function, so a Thai text reaches the screen, the page and the PDF the same
// way.
#pragma once

#include <QString>
#include <string_view>

namespace pelodyn {

// The UTF-8 text `utf8` as a QString.
inline QString Q(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace pelodyn
