// Paints a factor-of-safety contour map onto the drawing: one disc per node
// of the grid of centres. The centre mark and the factor label are the
// view's, drawn over the discs.
#pragma once

#include <QColor>
#include <QPainter>
#include <QRect>
#include <cstdint>

#include "model/analysis_model.h"
#include "view/fs_contours.h"
#include "view/view_transform.h"

namespace pelodyn {

// The disc colour of a factor on a map ranging from fsLow to fsHigh (see
// ContourWavelength for a factor above 50 and for an empty range).
QColor ContourColour(double fs, double fsLow, double fsHigh);

// A disc of radius 15 pixels, without outline, around every node that has a
// factor; nodes without one are left unpainted. The node of the smallest
// factor gets a black diamond (12 pixels across, outlined in white) over its
// disc. Positions go through the view's world-to-image mapping with the
// drawing's scales. The painter's pen and brush are restored afterwards.
void PaintContours(QPainter& painter, const ContourMap& map, const ViewTransform& transform,
                   const DrawingSettings& drawing);

// Paints a legend in the top-right corner of `area` (the painter's
// coordinates): a white box with a thin black frame holding the title "FS",
// a vertical colour scale running through the disc colours from the lowest
// factor at the bottom to the highest at the top, the entries' factors
// beside it, and a black triangle at the smallest factor with "min" and its
// value under the scale, in `language` (0 Thai, 1 English). A legend without
// entries paints nothing. Returns
// the box (empty when nothing was painted); the painter's state is restored.
QRect PaintContourLegend(QPainter& painter, const ContourLegend& legend, const QRect& area, std::uint8_t language = 1);

}  // namespace pelodyn
