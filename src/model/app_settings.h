// The user's preferences kept in the settings file: page setup, the grid
// switches, the display mode of the critical surface and the analysis
// settings a new project starts with. The drawing settings and the method
// selection live with the project (DrawingSettings, AnalysisModel).
#pragma once

namespace pelodyn {

struct AppSettings {
  bool PageLandscape = true;
  int PageUnit = 0;  // 0 inches, 1 centimetres
  double PageMarginLeft = 1.0, PageMarginRight = 1.0, PageMarginTop = 1.0, PageMarginBottom = 1.0;
  int PixelsPerUnit = 10;

  // The analysis settings of a new project; the circle choice is that of the
  // combo box CB_Circle_Decrement (0 number of circles, 1 radius decrement).
  int CircleChoice = 0;
  double SetCircleDecrement = 10.0;
  int SetCircleSlices = 10;
  double SetCircleDepthTallest = 1.0;
  int SetCircleAddRadius = 0;
  int SetNonCirSlices = 10;
  double SetNonCirDepthTallest = 0.0;
  double SetPassCriteria = 0.01;

  bool ShowGrid = true;
  bool SnapGrid = true;
  int FailureSurfaceMode = 1;
  int SliceHatchShown = 1;

  bool operator==(const AppSettings&) const = default;
};

}  // namespace pelodyn
