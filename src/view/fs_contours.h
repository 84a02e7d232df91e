// The factor-of-safety contour map of a grid search: the smallest Spencer
// factor found at every centre of the grid, and the spectrum colours that
// paint it (lowest factor red at 700 nm, highest violet at 380 nm).
//
// This half is plain C++; fs_contour_painter.h paints a map with Qt.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "model/analysis_model.h"
#include "model/working_store.h"

namespace pelodyn {

// Byte value of a colour channel c (0 to 1) seen at intensity factor f:
// 0 when c is 0, else 255 * (c * f)^0.8 rounded to the nearest integer,
// ties to even.
int AdjustIntensity(double c, double f);

// The colour of visible light of wavelength w (nanometres) as R, G, B bytes.
// The band is chosen by w truncated toward zero, the channel values use w
// itself; the ends of the visible range are dimmed. Anything outside 380 to
// 780 nm (and a value that is not a number) is black.
std::array<int, 3> WavelengthToRgb(double w);

// Wavelength of a factor of safety on a map whose factors run from fsLow to
// fsHigh: fsLow is 645 nm, fsHigh 380 nm. 645 nm is the first pure red: the
// spectrum beyond it is the same red, so starting there lets the colours
// change right from the minimum. A factor above 50 (a result code or a
// surface with no real failure) is taken as fsHigh. When the range is empty
// (every node alike, or every factor above 50) all nodes get 645 nm.
double ContourWavelength(double fs, double fsLow, double fsHigh);

// ContourWavelength through WavelengthToRgb.
std::array<int, 3> ContourRgb(double fs, double fsLow, double fsHigh);

// One centre of the grid, in world units. `fs` is empty when no Results row
// has this centre (a centre below the ground, or a search stopped early).
struct ContourNode {
  double x = 0.0, y = 0.0;
  std::optional<double> fs;
};

// Nodes row by row: index i * cols + j, i along corner 2 -> 3 (rows), j along
// corner 1 -> 2 (cols). FsHigh is the largest node factor not above 50
// (0 when there is none), FsLow the smallest node factor (999999 when no node
// has one).
struct ContourMap {
  int rows = 0, cols = 0;
  std::vector<ContourNode> nodes;
  double FsHigh = 0.0, FsLow = 999999.0;
};

// The node of the map's smallest factor (the first such in node order), or
// nothing when no node has a factor.
std::optional<std::size_t> ContourMinimumNode(const ContourMap& map);

// Gathers the map of the grid of centres in `model` from the rows of table
// Results. Each node takes the smallest "FS_Spe" of the rows whose centre is
// its own; a row's centre is compared at the precision the search stores it
// (hundredths), so rows are found by their centre, whatever their order or
// number. A grid with a division below 1 gives an empty map.
ContourMap GatherContourMap(const AnalysisModel& model, const std::vector<Row>& results);
// The same from the rows of table Results in `store`, read one at a time.
ContourMap GatherContourMap(const AnalysisModel& model, const WorkingStore& store);

// What the legend of a map says: factors from the lowest (red, at the
// bottom of its scale) to the highest (violet, at the top), each with the
// colour of its discs, and the smallest factor of the map. A map whose
// factors are all alike, or that has none up to 50 (FsHigh 0), has one
// colour: one entry. A map without any factor has no legend: no entries.
struct ContourLegend {
  struct Entry {
    double fs = 0.0;
    std::array<int, 3> rgb{0, 0, 0};
    bool operator==(const Entry&) const = default;
  };
  // Ascending; the first is FsLow and the last FsHigh.
  std::vector<Entry> entries;
  double minimum = 0.0;
  bool operator==(const ContourLegend&) const = default;
};

// The legend of a map with up to `count` entries (at least 2 on a scale)
// evenly spaced between FsLow and FsHigh; fewer when the range is so
// narrow that more would repeat the same value at 3 decimals.
ContourLegend MakeContourLegend(const ContourMap& map, int count = 6);

}  // namespace pelodyn
