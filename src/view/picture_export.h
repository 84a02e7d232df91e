// Export Picture: the section as the view draws it, fitted into `size`
// pixels, written as PNG, SVG or PDF (one page) by the file's suffix.
#pragma once

#include <QSize>
#include <filesystem>

#include "model/project.h"
#include "view/view_options.h"

namespace pelodyn {

// Raises std::runtime_error with a message for the user: an unknown suffix,
// or a file that cannot be written (with the system's reason). The picture
// is written to a temporary file in the same folder and renamed over the old
// one, so a failed export leaves an existing file as it was. Does not change
// the project's drawing settings.
void ExportPicture(Project& project, const ViewOptions& options, const std::filesystem::path& out, QSize size);

}  // namespace pelodyn
