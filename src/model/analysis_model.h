// The analysis model: the numbers the engine, the drawing and the reports
// read, rebuilt from the working tables and the option values by
// CollectAnalysisData before every run, Verify Data and save.
//
// Item No. k of a table sits at index k - 1. Two-dimensional arrays are
// indexed [line][point] or [soil][row]. The arrays are resized, never cleared,
// by a collection: a collection that stops on a check leaves the later parts
// as the previous collection left them (DataError then says so).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/array2d.h"

namespace pelodyn {

// The slope of a vertical segment, and the mark of a missing crossing.
inline constexpr double kVerticalSlope = 99999.0;

struct AnalysisModel {
  // Identity and methods
  std::string ProjectName;
  std::string ProjectLocation;
  std::string ProjectEngineer;
  std::uint8_t AnalysisTheory = 1;  // 0 parallel, 1 circular, 2 irregular, 3 both
  std::uint8_t UseOrdinary = 0;
  std::uint8_t UseSimplifiedJanbu = 1;
  std::uint8_t UseSimplifiedBishop = 1;
  std::uint8_t UseSpencer = 1;
  // Where Spencer's walk gives no factor, Spencer's assumption solved by
  // the rigorous root-finder gives it.
  std::uint8_t RobustSpencer = 0;
  std::uint8_t StrengthModel = 0;  // 0 Mohr-Coulomb, 1 anisotropic

  // Soils; the last soil is the air above the ground surface.
  int SoilCount = 0;
  std::vector<double> SoilCohesion, SoilPhi;               // model 0
  std::vector<double> SoilUnitWeight;                      // both models
  std::vector<double> SoilCv, SoilCh, SoilPhiV, SoilPhiH;  // model 1
  std::uint8_t AdvancedAnisoEnabled = 0;
  std::vector<int> AdvancedAnisoRowCount;
  int AdvancedAnisoMaxRows = 0;
  Array2D<double> AdvancedAnisoNormalStress, AdvancedAnisoPhiV, AdvancedAnisoPhiH;
  std::vector<double> AdvancedAnisoPhiVAt, AdvancedAnisoPhiHAt;

  // Boundary lines; line LineCount is the ground surface.
  int LineCount = 0;
  int GeometryPointTotal = 0;
  std::vector<int> LinePointCount;
  int LineMaxPointCount = 0;
  Array2D<double> LineX, LineY;              // [line][point]
  Array2D<double> LineSlope, LineIntercept;  // [line][segment]

  // The boundary lines in grid units for drawing the soil bands.
  int ViewLineCount = 0;
  std::vector<int> ViewLinePointCount;
  Array2D<double> ViewLineX, ViewLineY;

  // Bottom (tangent) lines
  std::uint8_t BottomLineChoice = 0;  // 0 by number, 1 specific pieces
  std::int8_t BottomLineNo = 0;
  int BottomLineCount = 0;
  std::vector<int> BottomLineLineNo, BottomLineBeginPoint, BottomLineEndPoint;

  // Water
  std::uint8_t SeepageKind = 0;    // 0 none, 1 water line, 2 pore-pressure ratio
  std::uint8_t WaterLineKind = 0;  // 0 phreatic, 1 piezometric
  std::uint8_t RuCondition = 0;    // 0 average, 1 per soil
  double WaterUnitWeight = 1.0;
  int WaterLinePointCount = 0;
  std::vector<double> WaterLineX, WaterLineY;
  double RuAverage = 0.0;
  int RuVariableCount = 0;
  std::vector<double> RuVariable;

  // Seismic and loads
  std::uint8_t SeismicEnabled = 0;
  double SeismicKh = 0.0, SeismicKv = 0.0;
  std::uint8_t LineLoadEnabled = 0;
  int LineLoadCount = 0;
  std::vector<double> LineLoadX, LineLoadMagnitude, LineLoadAngle;
  std::uint8_t StripLoadEnabled = 0;
  int StripLoadCount = 0;
  std::vector<double> StripLoadBeginX, StripLoadEndX, StripLoadMagnitude;
  std::uint8_t TensionCrackEnabled = 0;
  int TensionCrackPointCount = 0;
  std::vector<double> TensionCrackX, TensionCrackY;
  double TensionCrackWaterPercent = 0.0;
  double TensionCrackWaterUnitWeight = 1.0;
  std::uint8_t AnchorEnabled = 0;
  std::uint8_t AnchorApplyAs = 0;  // 0 variable, 1 constant
  int AnchorCount = 0;
  std::vector<double> AnchorMagnitude, AnchorXStart, AnchorYStart, AnchorXEnd, AnchorYEnd, AnchorBondedLength;

  // Circular search
  std::uint8_t CircularSearchKind = 0;  // 0 grid, 1 specific, 2 automatic
  int CircleCount = 10;
  double RadiusDecrement = 0.0;
  int CircleAddRadius = 0;
  int SliceCountInput = 10;
  double DepthTallest = 1.0;
  double PassCriteria = 0.01;
  double CenterX = 0.0, CenterY = 0.0;
  double TrialRadius = 0.0;
  std::array<double, 3> GridCornerX{}, GridCornerY{};
  int GridDivision12 = 5, GridDivision23 = 5;
  std::uint8_t GridIncrementEnabled = 0;
  double GridIncrementX = 1.0, GridIncrementY = 1.0;
  double AutoIncrementX = 0.0, AutoIncrementY = 0.0;

  // Irregular surface
  int NonCirPointCount = 0;
  int NonCirSegmentCount = 0;
  std::vector<double> NonCirX, NonCirY;
  std::uint8_t NonCirSearchKind = 1;  // 0 specific, 1 random
  std::uint8_t NonCirAutoCenter = 0;
  int NonCirDirectionCount = 8;
  double NonCirMoveLength = 0.0;
  std::uint8_t NonCirDivideStep = 3;
  // The listing of a specific surface's factors about every centre of the
  // work area, by these steps; a centre's zone is told by the two bounds.
  std::uint8_t MovingCenter = 0;
  double MovingCenterDX = 1.0, MovingCenterDY = 1.0;
  double MovingCenterBoundLeft = 0.0, MovingCenterBoundRight = 0.0;
  std::array<double, 2> NonCirMoveStep{};  // [0] move step, [1] chord

  // Status and language
  std::uint8_t DataError = 0;
  std::uint8_t Language = 1;  // 0 Thai, 1 English
};

// The drawing settings, kept in the settings file and applied by the view.
struct DrawingSettings {
  double WorkAreaXmin = 0.0, WorkAreaXmax = 100.0;  // grid units
  double WorkAreaYmin = 0.0, WorkAreaYmax = 63.0;
  double ScaleX = 1.0, ScaleY = 1.0;  // world units per grid unit
  int GridSize = 10;                  // pixels per grid unit at zoom 1
  int MaxPointOnLine = 100;
  double SnapTopLayerLength = 1.0;
  std::uint8_t ShowReferenceAxis = 1;
  std::uint8_t ShowFailureAnimation = 1;
  std::uint8_t TwoIntersectWarning = 0;
  double CenterMarkSize = 0.4;
  int SliceFillColor = 65280;

  bool operator==(const DrawingSettings&) const = default;
};

}  // namespace pelodyn
