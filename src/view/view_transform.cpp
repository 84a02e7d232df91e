#include "view/view_transform.h"

#include <algorithm>
#include <cmath>

namespace pelodyn {
namespace {

constexpr double kPixelLimit = 1e9;

int ClampPixel(long long v) {
  return static_cast<int>(
      std::clamp<long long>(v, -static_cast<long long>(kPixelLimit), static_cast<long long>(kPixelLimit)));
}

}  // namespace

int RoundPixel(double value) {
  if (std::isnan(value)) return 0;
  const double r = std::nearbyint(std::clamp(value, -kPixelLimit, kPixelLimit));
  return static_cast<int>(r);
}

PixelPoint ViewTransform::gridToImage(double x, double y) const {
  const long long px = static_cast<long long>(RoundPixel(PixelsPerUnit * x + ViewMargin)) + ViewOriginX - ViewMargin;
  return {ClampPixel(px), RoundPixel(ImageHeight - (PixelsPerUnit * y + ViewOriginY))};
}

PixelPoint ViewTransform::gridToLattice(double x, double y) const {
  return {RoundPixel(PixelsPerUnit * x + ViewMargin), RoundPixel(ImageHeight - (PixelsPerUnit * y + ViewMargin))};
}

PixelPoint ViewTransform::worldToImage(double worldX, double worldY, double scaleX, double scaleY) const {
  return gridToImage(worldX / scaleX, worldY / scaleY);
}

PixelPoint ViewTransform::imageToBottomUp(int px, int py) const {
  return {px, ClampPixel(static_cast<long long>(ImageHeight) - py)};
}

PixelPoint ViewTransform::bottomUpToImage(int px, int yb) const {
  return imageToBottomUp(px, yb);
}

PixelPoint ViewTransform::snapToGrid(int px, int py) const {
  if (PixelsPerUnit <= 0) return {px, py};
  const PixelPoint b = imageToBottomUp(px, py);
  const double P = PixelsPerUnit, M = ViewMargin;
  const double i = std::trunc((b.x - M) / P);
  const double j = std::trunc((b.y - M) / P);
  const double llx = M + i * P, lly = M + j * P;
  const double urx = llx + P, ury = lly + P;
  auto dist = [&](double nx, double ny) { return std::hypot(b.x - nx, b.y - ny); };
  const double dLL = dist(llx, lly), dLR = dist(urx, lly), dUL = dist(llx, ury), dUR = dist(urx, ury);
  double nx, ny;
  if (dLL <= dLR && dLL <= dUL && dLL <= dUR) {
    nx = llx, ny = lly;
  } else if (dLR < dLL && dLR <= dUL && dLR <= dUR) {
    nx = urx, ny = lly;
  } else if (dUL < dLL && dUL <= dLR && dUL <= dUR) {
    nx = llx, ny = ury;
  } else {
    nx = urx, ny = ury;
  }
  return bottomUpToImage(RoundPixel(nx), RoundPixel(ny));
}

double ViewTransform::pixelToGridX(int px, int py, bool snap) const {
  const int x = snap ? snapToGrid(px, py).x : px;
  return (static_cast<double>(x) - ViewOriginX) / PixelsPerUnit;
}

double ViewTransform::pixelToGridY(int px, int py, bool snap) const {
  const int y = snap ? snapToGrid(px, py).y : py;
  return (static_cast<double>(ImageHeight) - y - ViewOriginY) / PixelsPerUnit;
}

ViewTransform MakeViewTransform(const DrawingSettings& drawing, int pixelsPerUnit) {
  ViewTransform t;
  t.PixelsPerUnit = pixelsPerUnit;
  const double P = pixelsPerUnit;
  t.ImageWidth =
      ClampPixel(static_cast<long long>(RoundPixel((drawing.WorkAreaXmax - drawing.WorkAreaXmin) * P)) + t.ViewMargin);
  t.ImageHeight =
      ClampPixel(static_cast<long long>(RoundPixel((drawing.WorkAreaYmax - drawing.WorkAreaYmin) * P)) + t.ViewMargin);
  t.ViewOriginX = ClampPixel(static_cast<long long>(RoundPixel(-drawing.WorkAreaXmin * P)) + t.ViewMargin);
  t.ViewOriginY = ClampPixel(static_cast<long long>(RoundPixel(-drawing.WorkAreaYmin * P)) + t.ViewMargin);
  return t;
}

bool PointInPolygon(const std::vector<std::pair<int, int>>& vertices, int px, int py) {
  const std::size_t n = vertices.size();
  if (n < 2) return false;
  int left = 0, right = 0;
  auto edge = [&](const std::pair<int, int>& a, const std::pair<int, int>& b) {
    const auto [xa, ya] = a;
    const auto [xb, yb] = b;
    if (!((ya <= py && py < yb) || (yb <= py && py < ya))) return;
    const double xc =
        (static_cast<double>(xb) - xa) / (static_cast<double>(yb) - ya) * (static_cast<double>(py) - ya) + xa;
    if (px > xc) ++left;
    if (px < xc) ++right;
  };
  for (std::size_t k = 0; k + 1 < n; ++k) edge(vertices[k], vertices[k + 1]);
  if (vertices.back() != vertices.front()) edge(vertices.back(), vertices.front());
  return (left % 2 == 1) && (right % 2 == 1);
}

bool PointNearPoint(int cx, int cy, int tolerance, int px, int py) {
  const long long t = tolerance;
  return static_cast<long long>(cx) - t <= px && px <= static_cast<long long>(cx) + t &&
         static_cast<long long>(cy) - t <= py && py <= static_cast<long long>(cy) + t;
}

}  // namespace pelodyn
