// The cohesion that plant roots add to the soil. The area of the plants is
// divided into cells; in every depth layer each cell gets the area-weighted
// cohesion of the soil its root zones cover (counted on a finer grid of
// minor cells) and of the soil they leave free. The window of cells with the
// smallest sum over all layers is the weakest strip; the mean of each of its
// rows per layer is the profile that Export writes into the soil table.
//
// Lengths are in the project's units; cohesions in its units of stress.
// Nothing here touches a store: the callers read the root tables and write
// the soils through their own means.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/working_store.h"

namespace pelodyn {

// A refused input or export; the message names what is wrong, in the
// language asked for, ready to be shown.
class VegetationError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The area, its division and the search window. Every count must be 1 or
// more, the window no larger than the grid and the area not empty.
struct VegetationGrid {
  double soilCohesion = 2.0;  // of soil without roots, in every layer
  double minX = 0.0, minY = 0.0, maxX = 2.0, maxY = 30.02;
  int columns = 2, rows = 26;             // cells across the width and the height
  int minorColumns = 10, minorRows = 10;  // minor cells of a cell along X and Y
  int windowColumns = 2, windowRows = 26;
};

struct Plant {
  double x = 0.0, y = 0.0;
  double cohesion = 0.0;       // of soil permeated by its root type
  std::vector<double> radius;  // of its root zone in depth layer 1, 2, ...
};

struct RootData {
  int layerCount = 0;  // the largest layer number of Root_Layer
  std::vector<Plant> plants;
};

// The plants of Root_Position in table order, with their root type's
// cohesion (Root_No) and radius per layer (Root_Layer); when a type has
// several rows for the same thing, the last one counts. A layer the plant's
// type has no row for has radius 0: no roots there. Refused (naming the
// row): a plant whose root type has no row in Root_No, a layer number below
// 1, and more layers and plants than memory allows.
RootData GatherRoots(const std::vector<Row>& rootNo, const std::vector<Row>& rootLayer,
                     const std::vector<Row>& rootPosition, std::uint8_t language);

struct VegetationResult {
  int layerCount = 0, rows = 0, columns = 0, windowRows = 0, windowColumns = 0;
  std::vector<double> cellCohesion;  // layer, then row, then column
  std::vector<double> windowSum;     // by window origin: row, then column
  int minRow = 0, minColumn = 0;     // 0-based origin of the weakest window
  std::vector<double> profile;       // layer, then row
  // The report of the Results page, one line per element: the weakest
  // row and column, an empty line, then "C[layer,row] = value" per layer
  // and row.
  std::vector<std::string> report;

  // Indices are 0-based.
  double cell(int layer, int row, int column) const {
    return cellCohesion[(static_cast<std::size_t>(layer) * rows + row) * columns + column];
  }
  double profileAt(int layer, int row) const { return profile[static_cast<std::size_t>(layer) * rows + row]; }
  // The profile value as the report lists it and Export writes it: rounded
  // to 4 decimals, ties to even.
  double roundedProfile(int layer, int row) const;
};

// The cell cohesions, the weakest window (the first in row, then column
// order among equal sums), the profile over its columns for every row, and
// the report. Cells are placed from the area's minimum corner. Refuses what
// VegetationGrid forbids, no depth layer at all, and counts that would need
// too much memory.
VegetationResult GenerateVegetationEffect(const RootData& roots, const VegetationGrid& grid, std::uint8_t language);

// A cohesion that Export wrote into the soil table: the row (1-based
// position, soil number and description when written), the cohesion it had
// before the first Export since the backup was taken, and what was written.
struct ExportedCohesion {
  int position = 0;
  std::int32_t lineNo = 0;
  std::string description;
  double original = 0.0;
  double written = 0.0;
  bool operator==(const ExportedCohesion&) const = default;
};

struct ExportPlan {
  std::vector<Row> soils;   // Soil_Prop after the Export
  std::vector<Row> backup;  // Soil_Prop_Bak after it: rows of that table (unchanged when one was kept)
  std::vector<ExportedCohesion> exported;
  int written = 0;  // rows that received a value
};

// Export into `soils` (the rows of Soil_Prop). Skipped: the air layer
// (cohesion, friction angle and unit weight all 0) and a description
// without a comma. Every other row's description reads "layer,row" (1-based)
// and its cohesion becomes that profile value, rounded. Every row is checked
// before anything is planned: a part that is not an integer, or a layer or
// row outside the profile, refuses the whole Export naming the row. The
// backup is taken only when `backup` is empty; while one is kept, the
// records of earlier Exports go on (`exported`), so Restore brings back the
// soils from before the first Export.
ExportPlan PlanExport(const VegetationResult& result, const std::vector<Row>& soils, const std::vector<Row>& backup,
                      const std::vector<ExportedCohesion>& exported, std::uint8_t language);

struct RestorePlan {
  std::vector<Row> soils;
  int restored = 0;
};

// Puts back the cohesions Export wrote that still hold the written value
// (a row found at its position, or else as the only row with its soil
// number, description and written cohesion); every other edit and every
// added row stays.
RestorePlan PlanRestore(const std::vector<Row>& soils, const std::vector<ExportedCohesion>& exported);

// The texts the vegetation window shows besides the refusals above.
enum class VegetationText {
  ExportBeforeGenerate,
  NoBackup,
  AnisotropicModel,
  NothingRestored,
};
std::string VegetationMessage(VegetationText text, std::uint8_t language);

}  // namespace pelodyn
