// One paint path for the screen, the exported pictures and printing.
//
// The base layer is the white background, the grid dots, the soil bands
// (lenses included) and the reference axes; the overlays are the boundary
// lines with their point marks, the centre grid or centre marks, the
// irregular-surface points and centre, the water line, the loads, the
// tension crack, the anchors and, when a result is available, the analysed
// surface with its slices.
//
// Painting never raises and never shows a message: an option text that does
// not convert skips the item that needs it, a centre grid with a division of
// 0 is not drawn, and a strip load with no top-line segment under it is
// drawn upright. `visible` is the part of the image (image pixels) that
// needs painting; the painter's coordinates are image pixels (the caller
// translates when it renders only a part).
#pragma once

#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/critical_surface.h"
#include "model/project.h"
#include "view/display_list.h"
#include "view/view_options.h"
#include "view/view_transform.h"

namespace pelodyn {

// What the painters need from a project, read once: the view can then
// repaint (scroll, expose) without touching the store. Qt-free data.
struct SectionScene {
  // One polygon per soil band, grid units, in painting order, with its
  // colour (0x00BBGGRR) or -1 when the soil table has no row for it.
  struct Band {
    std::vector<std::pair<double, double>> points;
    int colour = -1;
  };
  std::vector<Band> bands;
  double scaleX = 1.0, scaleY = 1.0;
  bool showReferenceAxis = true;
  // The language of the labels' words (0 Thai, 1 English).
  std::uint8_t language = 1;

  OverlayConditions conditions;
  // Centre grid (world units) and whether it can be drawn.
  bool centreGridReadable = false;
  bool centreGridDivisionInvalid = false;
  double gridCornerX[3] = {0, 0, 0}, gridCornerY[3] = {0, 0, 0};
  int gridDivision12 = 0, gridDivision23 = 0;
  // Circle centre of search kind 1 (with its radius) or 2.
  bool circleCentreReadable = false;
  double circleCentreX = 0.0, circleCentreY = 0.0, trialRadius = 0.0;
  // Irregular-surface centre.
  bool irregularCentreReadable = false;
  double irregularCentreX = 0.0, irregularCentreY = 0.0;
  bool irregularTableEmpty = true;
  // Line loads: "Angle" per load, in the order of their items.
  std::vector<double> lineLoadAngles;
  // Bonded length per anchor, in the order of their items.
  std::vector<double> anchorBondedLengths;
  // The top boundary line, world units, for the strip loads' direction.
  std::vector<std::pair<double, double>> topLine;

  // The analysed surface (world units), filled when a result is available.
  struct Analysed {
    std::vector<double> surfaceX, surfaceY;
    std::vector<double> boundaryX, surfaceYAtBoundary, baseYAtBoundary;
    int sliceCount = 0, activeFirst = 0, activeEnd = 0;
    double centerX = 0.0, centerY = 0.0;
    double centerMarkSize = 0.4;
    int sliceFillColour = 65280;
    double labelFs = 0.0;
    bool hasLabel = false;
    // Written before the factor ("Bis "): says whose critical surface it is
    // when several are shown.
    std::string labelPrefix;
  };
  std::optional<Analysed> analysed;
  // Surfaces analysed before the current one and kept on the drawing (the
  // critical circle of each method, replayed in turn); drawn under it.
  std::vector<Analysed> keptAnalysed;
  // The surfaces a run presents, copied out of the run: when there are any
  // they are drawn instead of `analysed` and `keptAnalysed`, each under the
  // next. Nothing reads them from the project, so they can be drawn while a
  // search owns it. ReadSectionScene leaves them empty.
  std::vector<Analysed> presented;
  // The drawing settings the analysed surfaces are drawn with, as read last.
  double centerMarkSize = 0.4;
  int sliceFillColour = 65280;
};

// A presented surface as the painters draw it, with the mark size and the
// slice colour of the drawing.
SectionScene::Analysed AnalysedFromCritical(const CriticalSurface& surface, double centerMarkSize, int sliceFillColour);

// Where the factor labels of the centre marks go, given where each would
// like its top-left corner (`anchors`, image pixels) and its size. Labels
// are placed in order: the first stays at its anchor, and a label that
// would meet one placed before it moves down below that one, `gap` pixels
// apart, until it meets none; so labels of surfaces sharing a centre stack
// up instead of covering each other. A label alone stays at its anchor.
std::vector<QPoint> StackLabels(const std::vector<QPoint>& anchors, const std::vector<QSize>& sizes, int gap = 2);

// The surface analysed last (the project's slice set), as the view draws it;
// nothing when no surface is there.
std::optional<SectionScene::Analysed> ReadAnalysedSurface(Project& project, const ViewOptions& options);

// Reads the scene of a project. Never raises: what cannot be read is left
// out. Does not change the project's analysis model. The base part (bands)
// and the overlay part can be read on their own.
SectionScene ReadSectionScene(Project& project, const ViewOptions& options);
void ReadSceneBase(Project& project, SectionScene& scene);
void ReadSceneOverlays(Project& project, const ViewOptions& options, SectionScene& scene);

// The soil band polygons of a set of boundary lines (grid units, line k at
// index k - 1, each with its points in order; a line without points is an
// empty vector). One polygon per line below the top line, in painting
// order: the band of a line is closed against the next line above it that
// spans the width of the last full line (or the top line); a lens, a line
// that starts and ends on the line above it, is closed along that line
// between its end points.
std::vector<std::vector<std::pair<double, double>>> SoilBandPolygons(
    const std::vector<std::vector<std::pair<double, double>>>& lines);

void PaintSceneBase(QPainter& painter, const SectionScene& scene, const ViewTransform& transform,
                    const ViewOptions& options, const QRect& visible);
void PaintSceneOverlays(QPainter& painter, const SectionScene& scene, const ViewTransform& transform,
                        const ViewOptions& options, const DisplayList& list, const QRect& visible);

void PaintBase(QPainter& painter, Project& project, const ViewTransform& transform, const ViewOptions& options,
               const QRect& visible);
void PaintOverlays(QPainter& painter, Project& project, const ViewTransform& transform, const ViewOptions& options,
                   const DisplayList& list, const QRect& visible);

// The centre marks and factor labels of the analysed surfaces alone: drawn
// again over the factor-of-safety discs.
void PaintAnalysedCentreMarks(QPainter& painter, const SectionScene& scene, const ViewTransform& transform,
                              const ViewOptions& options);

// Which of the grid of centres' lines are drawn when they lie `spacing`
// pixels apart: every one from 4 pixels up, else every n-th, n the smallest
// step that keeps them 4 pixels apart (the last line is always drawn).
int CentreGridLineStep(double spacing);

// True when the centre grid of the current options cannot be drawn because a
// division is 0 (the window then says so with message 0).
bool CentreGridDivisionInvalid(const Project& project);

// The soil band polygons of a scene in image pixels, for hit tests with
// PointInPolygon (the last band that holds a point is the one on top).
std::vector<std::vector<std::pair<int, int>>> BandPolygonsInPixels(const SectionScene& scene,
                                                                   const ViewTransform& transform);

// 0x00BBGGRR -> QColor.
QColor ColourFromBgr(int bgr);

}  // namespace pelodyn
