// The texts that tell the user what a run left, in the program's language.
#pragma once

#include <QString>
#include <cstdint>

#include "engine/search.h"
#include "model/project.h"

namespace pelodyn {

// "Calculation stopped after 37 of 250 trials: the results are partial." (or
// without "of M" when the search's size was not known beforehand).
QString StoppedRunText(std::uint8_t language, const RunResult& result);

// The warnings of a run (a minimum on the edge of the grid of centres), one
// per line; empty when there is none.
QString RunWarningsText(std::uint8_t language, const RunResult& result);

// The status line after a run: the minimum of each selected method and the
// sliding-mass area of the surface presented last; the stopped-run text for
// a stopped run; empty for a run that was refused or failed. The run's
// warnings follow.
QString RunSummaryText(std::uint8_t language, const Project& project, const RunResult& result);

}  // namespace pelodyn
