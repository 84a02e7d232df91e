// The switches of the drawing that live outside the project's tables: the
// menu checks of the main window and the run state the view shows.
#pragma once

#include <optional>

namespace pelodyn {

struct ViewOptions {
  bool showGrid = true;          // MN_Show_Grid
  bool snapGrid = true;          // MN_Snap_Grid
  bool soilColourShown = true;   // SoilColourShown
  int failureSurfaceMode = 1;    // FailureSurfaceMode: 0 surface only, 1 filled slices, 2 slice lines
  bool sliceHatchShown = true;   // SliceHatchShown
  bool resultAvailable = false;  // draw the analysed surface
  // The Bishop factor of the row chosen in the sorted results, when that
  // grid is shown: it replaces the Bishop minimum in the surface's label.
  std::optional<double> sortedBishopFs;

  bool operator==(const ViewOptions&) const = default;
};

}  // namespace pelodyn
