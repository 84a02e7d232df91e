// A fingerprint of the data an analysis reads: every option value and every
// input table of the project, so that results can tell whether they still
// belong to the data in front of the user.
//
// Left out, because no result depends on them: the project's name, location
// and engineer, the soils' descriptions and colours, the drawing settings,
// the user's preferences, the root tables of the vegetation calculator and
// its backup of the soil properties (they reach the analysis only through
// an Export, which changes the soil table), and the tables a run writes
// (Results, Failure_Geometry, the best irregular surfaces).
//
// A typed number counts by its value, not its spelling: "600", "600.0" and
// "6e2" give the same fingerprint, so a project read back from its file
// (which writes numbers in its own form) has the fingerprint it was saved
// with. Any other change of an input gives another fingerprint (64 bits).
#pragma once

#include <cstdint>

#include "model/project.h"

namespace pelodyn {

std::uint64_t AnalysisDataFingerprint(const OptionValues& options, WorkingStore& store);
inline std::uint64_t AnalysisDataFingerprint(Project& project) {
  return AnalysisDataFingerprint(project.options, *project.store);
}

}  // namespace pelodyn
