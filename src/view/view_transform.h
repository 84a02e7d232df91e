// The one world <-> pixel transform of the drawing. Painting, hit tests, the
// mouse tools and printing all convert through a copy of this value, so a
// point is rounded the same way wherever it is used.
//
// Three frames meet here:
//  - world units, X right and Y up: what the tables hold;
//  - grid units, one cell of the drawing grid: world divided by ScaleX, ScaleY;
//  - image pixels, X right and Y down from the top-left corner of the whole
//    (logical) image. The image may be far larger than anything allocated:
//    only the visible part of it is ever rendered.
//
// Every conversion to pixels rounds with std::nearbyint, so halves go to the
// even integer (never away from zero), and results are clamped to a range
// that fits an int, so a wild value cannot overflow.
//
// Unlike the tabled form of these conversions, which took (y, x), every
// function here takes its arguments in (x, y) order.
#pragma once

#include <utility>
#include <vector>

#include "model/analysis_model.h"

namespace pelodyn {

struct PixelPoint {
  int x = 0;
  int y = 0;
  bool operator==(const PixelPoint&) const = default;
};

// Rounds to the nearest integer, ties to even, clamped into +-1e9.
int RoundPixel(double value);

struct ViewTransform {
  int PixelsPerUnit = 10;  // pixels per grid unit
  int ViewMargin = 20;
  // Pixel distance of grid point (0, 0) from the left and from the bottom
  // edge of the image.
  int ViewOriginX = 20, ViewOriginY = 20;
  // The whole logical image.
  int ImageWidth = 0, ImageHeight = 0;

  // Grid units -> image pixels, with the origin offset.
  PixelPoint gridToImage(double x, double y) const;
  // Grid units -> pixels of the lattice frame, anchored at the margin and
  // without the origin offset: the grid dots and the grid snap use it.
  PixelPoint gridToLattice(double x, double y) const;
  // World units -> image pixels (divides by the scales first).
  PixelPoint worldToImage(double worldX, double worldY, double scaleX, double scaleY) const;
  // (X, Y) -> (X, H - Y); the same formula takes a bottom-up point back.
  PixelPoint imageToBottomUp(int px, int py) const;
  PixelPoint bottomUpToImage(int px, int yb) const;
  // The nearest node of the grid lattice; ties go to the lower-left node,
  // then lower-right, then upper-left.
  PixelPoint snapToGrid(int px, int py) const;
  // Image pixel -> grid units; with `snap` the pixel is first snapped to
  // the lattice.
  double pixelToGridX(int px, int py, bool snap) const;
  double pixelToGridY(int px, int py, bool snap) const;

  bool operator==(const ViewTransform&) const = default;
};

// The transform for a work area (grid units) at a zoom: the image spans the
// work area plus one margin, and grid (0, 0) sits at the margin from the
// work area's lower-left corner.
ViewTransform MakeViewTransform(const DrawingSettings& drawing, int pixelsPerUnit);

// Crossing-number test on integer pixels. The polygon is closed by an edge
// back to the first vertex unless the last vertex repeats the first. A point
// exactly on an edge counts on neither side of that edge. Fewer than two
// vertices contain nothing.
bool PointInPolygon(const std::vector<std::pair<int, int>>& vertices, int px, int py);
// True when (px, py) lies in the square of half-side `tolerance` around
// (cx, cy), bounds included.
bool PointNearPoint(int cx, int cy, int tolerance, int px, int py);

}  // namespace pelodyn
