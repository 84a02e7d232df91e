// The settings file Pelodyn.ini in the configuration folder. It is
// positional: the reader skips the section headers and takes one value per
// line in a fixed order.
#pragma once

#include <filesystem>

#include "model/project.h"

namespace pelodyn {

std::filesystem::path SettingsFilePath();

// Creates the configuration folder when missing ("Cannot create " + folder
// when that fails); without a file it sets the landscape page with margins
// of 1.0 and keeps everything else. A value line that does not convert
// raises ConversionError; the values read before it stay.
void ReadSettingsFile(Project& project, const std::filesystem::path& file = SettingsFilePath());
// `settings` with the analysis settings the option values hold now (the
// inverse of what reading the file does to the options).
AppSettings WithAnalysisSettingsOf(const OptionValues& options, AppSettings settings);
void WriteSettingsFile(const Project& project, const std::filesystem::path& file = SettingsFilePath());

}  // namespace pelodyn
