#include "view/fs_contour_painter.h"

#include <QRectF>

namespace pelodyn {
namespace {

constexpr int kDiscRadius = 15;

}  // namespace

QColor ContourColour(double fs, double fsLow, double fsHigh) {
  const std::array<int, 3> rgb = ContourRgb(fs, fsLow, fsHigh);
  return QColor(rgb[0], rgb[1], rgb[2]);
}

void PaintContours(QPainter& painter, const ContourMap& map, const ViewTransform& transform,
                   const DrawingSettings& drawing) {
  painter.save();
  painter.setPen(Qt::NoPen);
  for (const ContourNode& node : map.nodes) {
    if (!node.fs) continue;
    const PixelPoint p = transform.worldToImage(node.x, node.y, drawing.ScaleX, drawing.ScaleY);
    painter.setBrush(ContourColour(*node.fs, map.FsLow, map.FsHigh));
    painter.drawEllipse(QRectF(p.x - kDiscRadius, p.y - kDiscRadius, 2 * kDiscRadius, 2 * kDiscRadius));
  }
  painter.restore();
}

}  // namespace pelodyn
