// Paints a factor-of-safety contour map onto the drawing: one disc per node
// of the grid of centres. The centre mark and the factor label are the
// view's, drawn over the discs.
#pragma once

#include <QColor>
#include <QPainter>

#include "model/analysis_model.h"
#include "view/fs_contours.h"
#include "view/view_transform.h"

namespace pelodyn {

// The disc colour of a factor on a map ranging from fsLow to fsHigh (see
// ContourWavelength for a factor above 50 and for an empty range).
QColor ContourColour(double fs, double fsLow, double fsHigh);

// A disc of radius 15 pixels, without outline, around every node that has a
// factor; nodes without one are left unpainted. Positions go through the
// view's world-to-image mapping with the drawing's scales. The painter's
// pen and brush are restored afterwards.
void PaintContours(QPainter& painter, const ContourMap& map, const ViewTransform& transform,
                   const DrawingSettings& drawing);

}  // namespace pelodyn
