#include "view/fs_contour_painter.h"

#include "texts/captions.h"
#include "texts/messages.h"

#include <QFont>
#include <QFontMetrics>
#include <QPolygon>
#include <QRectF>
#include <algorithm>

#include "model/numbers.h"

namespace pelodyn {
namespace {

constexpr int kDiscRadius = 15;
constexpr int kMinimumMark = 6;  // half the diagonal of the minimum's diamond

// The legend's layout, in pixels.
constexpr int kLegendMargin = 8;   // from the corner of the visible part
constexpr int kLegendPadding = 6;  // inside the frame
constexpr int kScaleWidth = 14;    // the colour scale
constexpr int kScaleHeight = 130;  // a scale from FsLow to FsHigh
constexpr int kSwatchHeight = 16;  // the one colour of a map without a range
constexpr int kTriangle = 7;       // the minimum's mark, left of the scale
constexpr int kTick = 3;           // from the scale to a value
constexpr int kTextGap = 4;

QColor FromRgb(const std::array<int, 3>& rgb) {
  return QColor(rgb[0], rgb[1], rgb[2]);
}

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
  // The minimum's mark belongs to the map, not to the surface shown: a
  // replayed row's circle does not take it along.
  if (const std::optional<std::size_t> k = ContourMinimumNode(map)) {
    const ContourNode& node = map.nodes[*k];
    const PixelPoint p = transform.worldToImage(node.x, node.y, drawing.ScaleX, drawing.ScaleY);
    const QPolygon diamond({QPoint(p.x, p.y - kMinimumMark), QPoint(p.x + kMinimumMark, p.y),
                            QPoint(p.x, p.y + kMinimumMark), QPoint(p.x - kMinimumMark, p.y)});
    painter.setPen(QPen(Qt::white, 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(diamond);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::black);
    painter.drawPolygon(diamond);
  }
  painter.restore();
}

QRect PaintContourLegend(QPainter& painter, const ContourLegend& legend, const QRect& area, std::uint8_t language) {
  if (legend.entries.empty() || area.isEmpty()) return {};
  const double low = legend.entries.front().fs, high = legend.entries.back().fs;
  const bool ranged = legend.entries.size() > 1 && high > low;

  QFont font = painter.font();
  font.setFamily("Tahoma");
  font.setPixelSize(11);
  font.setBold(false);
  QFont titleFont = font;
  titleFont.setPixelSize(13);
  titleFont.setBold(true);
  const QFontMetrics metrics(font, painter.device()), titleMetrics(titleFont, painter.device());
  const std::string_view titleText = UiTextFor(language, UiText::ContourLegendTitle);
  const QString title = QString::fromUtf8(titleText.data(), static_cast<qsizetype>(titleText.size()));
  const QString minText = QString::fromStdString(
      FormatText(UiTextFor(language, UiText::ContourLegendMinimum), {FormatFixed(legend.minimum, 3)}));
  std::vector<QString> values;
  int valueWidth = 0;
  for (const ContourLegend::Entry& e : legend.entries) {
    values.push_back(QString::fromStdString(FormatFixed(e.fs, 3)));
    valueWidth = std::max(valueWidth, metrics.horizontalAdvance(values.back()));
  }
  const int lineHeight = metrics.height();
  const int scaleHeight = ranged ? kScaleHeight : kSwatchHeight;

  // Box size: the title, half a value line above and below the scale so
  // the end values fit, and the minimum's line.
  const int scaleBlockWidth = kTriangle + 1 + kScaleWidth + kTick + kTextGap + valueWidth;
  const int width = 2 * kLegendPadding + std::max({scaleBlockWidth, metrics.horizontalAdvance(minText),
                                                   titleMetrics.horizontalAdvance(title)});
  const int height =
      2 * kLegendPadding + titleMetrics.height() + kTextGap + lineHeight + scaleHeight + kTextGap + lineHeight;
  const QRect box(area.right() + 1 - kLegendMargin - width, area.top() + kLegendMargin, width, height);

  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setBackgroundMode(Qt::TransparentMode);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::white);
  painter.drawRect(box.adjusted(0, 0, -1, -1));

  const int left = box.left() + kLegendPadding;
  int y = box.top() + kLegendPadding;
  painter.setFont(titleFont);
  painter.drawText(QRect(left, y, width, titleMetrics.height()), Qt::AlignLeft | Qt::AlignTop, title);
  y += titleMetrics.height() + kTextGap + lineHeight / 2;

  // The scale, one pixel row at a time in the discs' colours: FsHigh on the
  // top row, FsLow on the bottom row.
  const QRect scale(left + kTriangle + 1, y, kScaleWidth, scaleHeight);
  auto rowOf = [&](double fs) {
    if (!ranged) return scale.center().y();
    return scale.bottom() - static_cast<int>(std::nearbyint((fs - low) / (high - low) * (scaleHeight - 1)));
  };
  if (ranged) {
    for (int row = 0; row < scaleHeight; ++row) {
      const double fs = high - (high - low) * row / (scaleHeight - 1);
      painter.fillRect(QRect(scale.left(), scale.top() + row, kScaleWidth, 1),
                       ContourColour(row == scaleHeight - 1 ? low : fs, low, high));
    }
  } else {
    painter.fillRect(scale, FromRgb(legend.entries.front().rgb));
  }
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(scale.adjusted(-1, -1, 0, 0));

  // The values beside their rows.
  painter.setFont(font);
  const int textLeft = scale.right() + 1 + kTick + kTextGap;
  for (std::size_t k = 0; k < legend.entries.size(); ++k) {
    const int row = rowOf(legend.entries[k].fs);
    painter.drawLine(scale.right() + 1, row, scale.right() + kTick, row);
    painter.drawText(QRect(textLeft, row - lineHeight / 2, valueWidth + 1, lineHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, values[k]);
  }

  // The minimum: a triangle pointing at its row, its value under the scale.
  const int minRow = rowOf(legend.minimum);
  painter.setBrush(Qt::black);
  painter.drawPolygon(QPolygon({QPoint(scale.left() - 2, minRow), QPoint(scale.left() - 2 - kTriangle + 1, minRow - 3),
                                QPoint(scale.left() - 2 - kTriangle + 1, minRow + 3)}));
  const int minTop = scale.bottom() + 1 + lineHeight / 2 + kTextGap;
  painter.drawText(QRect(left, minTop, width, lineHeight), Qt::AlignLeft | Qt::AlignTop, minText);
  painter.restore();
  return box;
}

}  // namespace pelodyn
