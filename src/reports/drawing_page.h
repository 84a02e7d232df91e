// The printed drawing page: one page with a frame, the title block, the soil
// layer lines, the water line, the marks of the circular search, the tension
// crack, the loads and anchors, two axes with ticks and, when there is one,
// the critical slip surface with its slices, its radii and its centre.
//
// Everything the page shows is read first (ReadDrawingPage), so a field
// that cannot be read stops the page before anything is drawn; painting
// then only draws. Sizes are device pixels of the canvas; the fixed pixel
// sizes of the page (pen widths, arrows, marks) are given at 300 dpi and
// scale with the canvas's resolution, so nothing vanishes at 1200 dpi.
#pragma once

#include <QPointF>
#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "model/app_settings.h"
#include "model/critical_surface.h"
#include "reports/page_canvas.h"
#include "reports/report_model.h"

namespace pelodyn {

struct Project;

struct DrawingPageContent {
  QString projectName, location, engineer;
  // The drawing extent in world units, never of zero size.
  double xMin = 0.0, xMax = 1.0, yMin = 0.0, yMax = 1.0;

  // Boundary line k at index k - 1, for the lines of the soil table's rows,
  // each by the section reader's rule (world units; a line without points is
  // empty).
  std::vector<std::vector<QPointF>> layerLines;
  std::vector<QPointF> waterLine;  // empty without a water line

  enum class SearchMarks { None, Grid, Specific, Automatic };
  SearchMarks marks = SearchMarks::None;
  std::array<QPointF, 4> gridCorners{};  // P1 .. P4
  int division12 = 0, division23 = 0;
  QPointF specificCentre;
  double specificRadius = 0.0;
  QPointF autoStart;

  std::vector<QPointF> crack;
  struct LineLoad {
    QPointF at;
    double angle = 0.0;  // degrees from the vertical, as the table holds it
  };
  std::vector<LineLoad> lineLoads;
  struct StripLoad {
    double beginX = 0.0, endX = 0.0, y1 = 0.0, y2 = 0.0;
  };
  std::vector<StripLoad> stripLoads;
  struct Anchor {
    QPointF start, end;
    double bondedLength = 0.0;
  };
  std::vector<Anchor> anchors;

  // The critical surface, when table Failure_Geometry holds its points.
  bool failureGeometryAvailable = false;
  // The four minimum factors of the run (Ordinary .. Spencer); a method the
  // run did not analyse has none.
  std::array<std::optional<double>, 4> factors{};
  std::vector<QPointF> failureSurface;  // the rows of Failure_Geometry by No
  std::vector<double> boundaryX, baseYAtBoundary, surfaceYAtBoundary;
  bool circular = false;
  QPointF centre, entry, exit;
};

// Reads what the page shows from `project` (its options, tables and page
// setup). `run` is the run that made the results and `surface` the surface
// presented last (its slices and centre); without them no critical surface
// is drawn. Raises ConversionError for a field that must be a number.
DrawingPageContent ReadDrawingPage(const Project& project, const std::optional<ReportRunDescription>& run,
                                   const CriticalSurface* surface);

// Draws the page on `canvas` laid out by the page setup of `page` (margins
// in inches or centimetres).
void PaintDrawingPage(PageCanvas& canvas, const DrawingPageContent& content, const AppSettings& page);

// "( x,y )" of the centre label: each value rounded to 5 significant digits
// and written with 2 decimals, or in exponent form when it has more than 5
// digits before the point.
QString CentreLabel(double x, double y);

}  // namespace pelodyn
