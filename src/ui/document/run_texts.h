// The texts that tell the user what a run left, in the program's language.
#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/search.h"
#include "model/project.h"

namespace pelodyn {

class ProjectDocument;

// The decimals of a minimum factor of safety wherever the desktop program
// shows it beside the run (progress window, status line, the drawing's
// label): always this many, so that 1.280 and 1.259 read alike.
inline constexpr int kFactorDecimals = 3;

// A minimum factor of safety with kFactorDecimals decimals; a result code
// (kNoFactor, 1000000, 1000006 to 1000011) is no factor and reads "no factor:"
// with its meaning instead.
QString FactorText(std::uint8_t language, double fs);

// "Calculation stopped after 37 of 250 trials: the results are partial." (or
// without "of M" when the search's size was not known beforehand).
QString StoppedRunText(std::uint8_t language, const RunResult& result);

// The warnings of a run (a minimum on the edge of the grid of centres), one
// per line; empty when there is none.
QString RunWarningsText(std::uint8_t language, const RunResult& result);

// The status line after a run: the minimum of each selected method and the
// sliding-mass area of the surface presented last; the stopped-run text for
// a stopped run; empty for a run that was refused or failed. The run's
// warnings follow, each after a " | " mark.
QString RunSummaryText(std::uint8_t language, const Project& project, const RunResult& result);

// The notes that go with the results of `result` wherever they are saved or
// printed, in the words the progress window uses: the stopped-run text of a
// stopped run first, then each line of RunWarningsText. UTF-8, no line
// breaks inside a note; empty for a run that left nothing to note.
std::vector<std::string> ResultFileNotes(std::uint8_t language, const RunResult& result);
// The same for the document's last run in the user's language; empty when
// there was none.
std::vector<std::string> ResultFileNotes(const ProjectDocument& document);

// One line saying which surface the document presents last (the one the
// Failure Geometry window and the result report list): what it is (the
// critical circle of a method, a replayed Results row, the specified
// circle, the best irregular surface of a method), its centre and radius
// for a circle, and its factors, numbers rounded to 4 decimals in the
// shortest form as those windows write them. Empty when nothing is
// presented.
QString ShownSurfaceText(const ProjectDocument& document);

}  // namespace pelodyn
