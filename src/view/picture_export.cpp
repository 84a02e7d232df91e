#include "view/picture_export.h"

#include <stdexcept>

namespace pelodyn {

void ExportPicture(Project&, const ViewOptions&, const std::filesystem::path&, QSize) {
  throw std::runtime_error("Export Picture is not available yet");
}

}  // namespace pelodyn
