// The collection step and the builders of the layer structure: they turn the
// working tables and the option values of a project into its analysis model.
//
// Messages go through `platform`; a check that stops the collection sets
// DataError = 1 and leaves every later part of the model as the previous
// collection left it, so callers look at DataError before using the model.
// A text in an option edit box that does not convert raises ConversionError
// (the command that asked ends); DataError is then 1 as well, so a collection
// that did not finish never passes for a complete one.
//
// Rows whose number fields cannot be placed in the model (a number below 1,
// above the table's count, or given twice) stop the collection with a message
// naming the table, the row and the value; the builders, which only warn,
// leave such rows out.
//
// The values that no real section has (see SoilValueProblems; a water line
// without points; no method selected; an automatic search that does not
// move) are checked last, once the whole model is filled: they refuse a run
// with DataError = 1 and the first one's message, and a collection for a
// save leaves them out.
#pragma once

#include <array>

#include <string_view>
#include <vector>

#include "model/grid_plan.h"
#include "model/platform.h"
#include "model/project.h"

namespace pelodyn {

// What a collection is for. A run and Verify Data refuse the values no real
// section has; a save only needs the model filled (the file keeps the values
// as typed) and says nothing of them.
enum class CollectionPurpose { Run, Save };

// Fills the whole analysis model and sets DataError.
void CollectAnalysisData(Project& project, PlatformServices& platform,
                         CollectionPurpose purpose = CollectionPurpose::Run);

// The model flags that mirror option values: the theory, the four methods,
// the seepage kind and the switches of the seismic loads, line loads, strip
// loads, tension crack, anchors and stress-dependent anisotropy. One rule
// for every writer of these flags (the collection, and the document, which
// keeps them in step with each edit): a switch is on when its "disable" box
// is not checked, except the tension crack, which is on only when its box
// is not checked and the crack table has points (`crackPoints`): a crack
// without a point cuts no slice and has no water to push with.
struct OptionFlags {
  std::uint8_t analysisTheory = 0;
  std::uint8_t useOrdinary = 0, useSimplifiedJanbu = 0, useSimplifiedBishop = 0, useSpencer = 0;
  std::uint8_t robustSpencer = 0;
  std::uint8_t seepageKind = 0;
  std::uint8_t seismicEnabled = 0, lineLoadEnabled = 0, stripLoadEnabled = 0, tensionCrackEnabled = 0,
               anchorEnabled = 0, advancedAnisoEnabled = 0;
};
OptionFlags ReadOptionFlags(const OptionValues& options, int crackPoints);

// Sets every flag of OptionFlags in the model at once, from the project's
// options and its crack table. The collection sets the same values, each
// at its own step.
void SyncModelFlags(Project& project);

// A soil value that no real soil has: a cohesion, friction angle or unit
// weight below 0, or a friction angle of 90 degrees or more (its tangent,
// which the methods use, is then infinite or turns negative). The zeros of
// the air soil are valid.
struct SoilValueProblem {
  int soil = 0;            // the soil's number, from 1
  std::string_view field;  // the field of its table: "Cohesion", "Phi-v" ...
  double value = 0.0;
  bool negative = true;  // else a friction angle of 90 degrees or more
};
// Every such value in the soil arrays of the model's strength model, soil by
// soil and in the order of the table's fields; empty when there is none. A
// soil array shorter than SoilCount (a collection that stopped early) counts
// as zeros. The collection stops on the first; Verify Data lists them all.
std::vector<SoilValueProblem> SoilValueProblems(const AnalysisModel& model);

// The boundary lines in world units with their slopes and intercepts, and
// SoilCount; warns on mismatches and goes on.
void BuildBoundaryLines(Project& project, PlatformServices& platform);
// The same lines in grid units (coordinates divided by the scales), with
// SoilCount taken from Soil_Prop whatever the strength model. Only the
// snapping onto the ground line uses this copy.
void BuildBoundaryLinesInGridUnits(Project& project, PlatformServices& platform);
// The view copy in grid units (ViewLine*), no slopes, no messages; with no
// geometry rows it leaves the view copy as it was.
void BuildViewLines(Project& project);

// LineCount = ViewLineCount; SoilCount and the soil arrays of the current
// strength model from their table.
void ReadSoilArrays(Project& project);
// Corners, divisions and increments of the grid of centres.
void ReadCentreGrid(Project& project);
// The corners and divisions of the grid of centres as the option values give
// them; a value that does not convert raises ConversionError.
struct CentreGrid {
  std::array<double, 3> cornerX{}, cornerY{};
  std::int32_t division12 = 0, division23 = 0;
};
CentreGrid ReadCentreGridValues(const OptionValues& options);
// Specific centre and radius (search kind 1) or automatic start (kind 2).
void ReadCircleCentre(Project& project);

// The most circles a search may analyse and keep: every circle of a grid is
// one Results row, and the working store holds them all in memory (about a
// hundred bytes a row, so some 2 GB at this bound). Beyond it a run cannot
// finish on an ordinary machine; below it, however fine, it is ordinary work.
inline constexpr long long kMaxStoredCircles = 20000000;

// NonCirPointCount and the irregular points placed by "Point No." (rows
// whose number has no place are left out).
void ReadNonCircularPoints(Project& project);
// The centre of the irregular surface.
void ReadNonCircularCentre(Project& project);

}  // namespace pelodyn
