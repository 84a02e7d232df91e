#include "view/section_painter.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainterPath>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "model/numbers.h"
#include "texts/captions.h"

namespace pelodyn {
namespace {

using Points = std::vector<std::pair<double, double>>;

constexpr int kPointMarkSize = 4;
constexpr int kMarkHalf = kPointMarkSize - 2;
// Geometry line numbers run from 1 to 99.
constexpr int kMaxLineNumber = 99;
// A centre grid with more divisions than this is left out: it would only
// paint the area black and keep the window busy.
constexpr int kMaxGridDivision = 10000;

const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kRed = ColourFromBgr(0x0000FF);
const QColor kYellow = ColourFromBgr(0x00FFFF);
// The water line: dark blue dashes on a white band, which stands out on
// every soil colour (light soils show the blue, dark ones the white).
const QColor kWaterColour = ColourFromBgr(0xA00000);
constexpr int kWaterOutline = 5;
const QColor kDarkRed = ColourFromBgr(0x000080);
const QColor kGridDotColour = ColourFromBgr(0x808080);

bool ReadReal(const OptionValues& o, std::string_view control, double& value) {
  return TryStrToFloat(o.text(control), value);
}

bool ReadInt(const OptionValues& o, std::string_view control, int& value) {
  std::int32_t v = 0;
  if (!TryStrToInt(o.text(control), v)) return false;
  value = v;
  return true;
}

QPoint ToQPoint(PixelPoint p) {
  return {p.x, p.y};
}

// The boundary lines from Geometry in grid units: line k at index k - 1,
// points placed by their number; rows without a place are left out.
std::vector<Points> ReadViewLines(Project& project, double scaleX, double scaleY) {
  const std::vector<Row> rows = project.store->rows(Table::Geometry);
  int lineCount = 0;
  for (const Row& r : rows) lineCount = std::max(lineCount, r.integer(GeometryField::LineNo));
  lineCount = std::min(lineCount, kMaxLineNumber);
  std::vector<Points> lines(static_cast<std::size_t>(std::max(lineCount, 0)));
  if (lineCount <= 0) return lines;
  const long long pointLimit = static_cast<long long>(rows.size());
  std::vector<int> counts(lines.size(), 0);
  for (const Row& r : rows) {
    const int line = r.integer(GeometryField::LineNo), point = r.integer(GeometryField::PointNo);
    if (line < 1 || line > lineCount || point < 1 || point > pointLimit) continue;
    counts[static_cast<std::size_t>(line - 1)] = std::max(counts[static_cast<std::size_t>(line - 1)], point);
  }
  for (std::size_t k = 0; k < lines.size(); ++k) lines[k].assign(static_cast<std::size_t>(counts[k]), {0.0, 0.0});
  for (const Row& r : rows) {
    const int line = r.integer(GeometryField::LineNo), point = r.integer(GeometryField::PointNo);
    if (line < 1 || line > lineCount || point < 1 || point > pointLimit) continue;
    lines[static_cast<std::size_t>(line - 1)][static_cast<std::size_t>(point - 1)] = {
        r.real(GeometryField::X) / scaleX, r.real(GeometryField::Y) / scaleY};
  }
  return lines;
}

// The band of `lower` closed against `upper`, walked from its last point back.
Points CloseBand(const Points& lower, const Points& upper) {
  Points polygon = lower;
  if (lower.empty()) return polygon;
  const std::size_t own = lower.size();
  for (auto it = upper.rbegin(); it != upper.rend(); ++it) {
    if (*it == lower.back()) {
      // The upper line meets the lower line's end: what was taken from the
      // upper line so far lies beyond the band.
      polygon.resize(own);
    } else if (*it == lower.front()) {
      break;
    } else {
      polygon.push_back(*it);
    }
  }
  return polygon;
}

void DrawMark(QPainter& p, int x, int y) {
  p.drawRect(QRect(x - kMarkHalf, y - kMarkHalf, 2 * kMarkHalf, 2 * kMarkHalf));
}

// Dash patterns in pixels, on and off in turn.
const std::vector<double> kDash = {8.0, 4.0};
const std::vector<double> kDashDot = {8.0, 3.0, 2.0, 3.0};

// A polyline drawn with the painter's pen as solid pieces of `pattern`. The
// pattern is laid out along the line from its first point, so every part of
// the image, however it is clipped or scrolled, shows the same dashes.
void DrawPatternedPolyline(QPainter& p, const QPolygon& line, const std::vector<double>& pattern) {
  std::size_t phase = 0;
  double left = pattern[0];
  for (int k = 0; k + 1 < line.size(); ++k) {
    const QPointF a = line[k], b = line[k + 1];
    const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
    double done = 0.0;
    while (done < length) {
      const double step = std::min(left, length - done);
      if (phase % 2 == 0) {
        const QPointF from = a + (b - a) * (done / length), to = a + (b - a) * ((done + step) / length);
        p.drawLine(from, to);
      }
      done += step;
      left -= step;
      if (left <= 0.0) {
        phase = (phase + 1) % pattern.size();
        left = pattern[phase];
      }
    }
  }
}

// A polyline with square marks through the items of a range; solid unless
// a pattern is given.
void DrawItemPolyline(QPainter& p, const DisplayList& list, const DisplayRange& range,
                      const std::vector<double>* pattern = nullptr) {
  if (range.empty()) return;
  const int last = std::min(range.last, static_cast<int>(list.items.size()) - 1);
  QPolygon line;
  for (int i = range.first; i <= last; ++i) {
    const DisplayItem& item = list.items[static_cast<std::size_t>(i)];
    line << QPoint(item.pixelX, item.pixelY);
  }
  if (pattern != nullptr) {
    DrawPatternedPolyline(p, line, *pattern);
  } else {
    p.drawPolyline(line);
  }
  for (const QPoint& q : line) DrawMark(p, q.x(), q.y());
}

// A point `length` pixels from `from` at `degrees` counter-clockwise from +X
// in bottom-up pixels, as an image pixel.
QPointF Toward(QPointF from, double degrees, double length) {
  const double a = degrees * std::numbers::pi / 180.0;
  return {from.x() + length * std::cos(a), from.y() - length * std::sin(a)};
}

void PaintGridDots(QPainter& p, const ViewTransform& t, const QRect& visible) {
  const int P = t.PixelsPerUnit, M = t.ViewMargin;
  if (P <= 3) return;
  const long long columns = RoundPixel(static_cast<double>(t.ImageWidth - M) / P);
  const long long rows = RoundPixel(static_cast<double>(t.ImageHeight - M) / P);
  const long long j0 = std::max<long long>(0, static_cast<long long>(std::floor((visible.left() - M) / double(P))) - 1);
  const long long j1 =
      std::min<long long>(columns - 1, static_cast<long long>(std::ceil((visible.right() - M) / double(P))) + 1);
  const long long i0 = std::max<long long>(
      0, static_cast<long long>(std::floor((t.ImageHeight - M - visible.bottom()) / double(P))) - 1);
  const long long i1 = std::min<long long>(
      rows - 1, static_cast<long long>(std::ceil((t.ImageHeight - M - visible.top()) / double(P))) + 1);
  if (j0 > j1 || i0 > i1) return;
  QPolygon dots;
  dots.reserve(static_cast<int>((j1 - j0 + 1) * (i1 - i0 + 1)));
  for (long long i = i0; i <= i1; ++i) {
    for (long long j = j0; j <= j1; ++j) {
      const PixelPoint d = t.gridToLattice(static_cast<double>(j), static_cast<double>(i));
      if (visible.contains(d.x, d.y)) dots << QPoint(d.x, d.y);
    }
  }
  p.setPen(QPen(kGridDotColour, 1));
  p.drawPoints(dots);
}

void PaintBands(QPainter& p, const SectionScene& scene, const ViewTransform& t) {
  for (const SectionScene::Band& band : scene.bands) {
    if (band.colour < 0 || band.points.size() < 3) continue;
    QPolygon polygon;
    polygon.reserve(static_cast<int>(band.points.size()));
    for (const auto& [x, y] : band.points) polygon << ToQPoint(t.gridToImage(x, y));
    const QColor c = ColourFromBgr(band.colour);
    p.setPen(QPen(c, 1));
    p.setBrush(c);
    p.drawPolygon(polygon);
  }
}

std::string ScaleLabel(const char* axis, double scale, bool scaled) {
  if (!scaled) return axis;
  return std::string(axis) + " (1:" + FormatShortest(RoundHalfEven(scale, 2)) + ")";
}

void DrawTextAt(QPainter& p, int x, int y, const std::string& text) {
  // The point is the top-left corner of the text.
  p.drawText(QRect(x, y, 1000, 100), Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(text));
}

void PaintAxes(QPainter& p, const SectionScene& scene, const ViewTransform& t) {
  const PixelPoint o = t.bottomUpToImage(t.ViewOriginX, t.ViewOriginY);
  const QPoint O(o.x, o.y), Ax = O + QPoint(50, 0), Ay = O - QPoint(0, 50);
  p.setPen(QPen(kBlack, 1));
  p.setBrush(kWhite);
  p.drawPolyline(QPolygon({Ay, O, Ax}));
  p.drawRect(QRect(O.x() - 5, O.y() - 5, 10, 10));
  p.drawPolygon(QPolygon({Ax, Ax + QPoint(-10, 4), Ax + QPoint(-10, -4)}));
  p.drawPolygon(QPolygon({Ay, Ay + QPoint(4, 10), Ay + QPoint(-4, 10)}));
  QFont font = p.font();
  font.setPixelSize(11);
  font.setBold(false);
  p.setFont(font);
  p.setBackgroundMode(Qt::OpaqueMode);
  p.setBackground(kWhite);
  const bool scaled = scene.scaleX != 1.0 || scene.scaleY != 1.0;
  DrawTextAt(p, Ax.x() - 10, Ax.y() - 19, ScaleLabel("X", scene.scaleX, scaled));
  DrawTextAt(p, Ay.x() + 7, Ay.y() - 2, ScaleLabel("Y", scene.scaleY, scaled));
  p.setBackgroundMode(Qt::TransparentMode);
}

void PaintBoundaryLines(QPainter& p, const DisplayList& list) {
  p.setPen(QPen(kBlack, 1));
  p.setBrush(kBlack);
  const int count = std::min(list.DisplayItemCount, static_cast<int>(list.items.size()));
  const int lines = std::min(list.DisplaySoilCount, kMaxLineNumber);
  for (int k = 1; k <= lines; ++k) {
    QPolygon line;
    for (int i = 0; i < count; ++i) {
      const DisplayItem& item = list.items[static_cast<std::size_t>(i)];
      if (item.kind == k) line << QPoint(item.pixelX, item.pixelY);
    }
    if (line.size() > 1) p.drawPolyline(line);
    for (const QPoint& q : line) DrawMark(p, q.x(), q.y());
  }
}

QPoint WorldPixel(const SectionScene& s, const ViewTransform& t, double x, double y) {
  return ToQPoint(t.worldToImage(x, y, s.scaleX, s.scaleY));
}

void PaintCentreGrid(QPainter& p, const SectionScene& s, const ViewTransform& t) {
  if (!s.centreGridReadable || s.centreGridDivisionInvalid) return;
  const int d12 = s.gridDivision12, d23 = s.gridDivision23;
  if (std::abs(d12) > kMaxGridDivision || std::abs(d23) > kMaxGridDivision) return;
  const double c1x = s.gridCornerX[0], c1y = s.gridCornerY[0];
  const double c2x = s.gridCornerX[1], c2y = s.gridCornerY[1];
  const double c3x = s.gridCornerX[2], c3y = s.gridCornerY[2];
  const double c4x = c1x + c3x - c2x, c4y = c1y + c3y - c2y;
  p.setPen(QPen(kBlack, 1));
  // Lines closer than a few pixels would run together into a black area:
  // only every step-th is drawn (and always the last), so the grid still
  // reads as a grid.
  const auto step = [&](double fromX, double fromY, double toX, double toY, int divisions) {
    const QPoint a = WorldPixel(s, t, fromX, fromY), b = WorldPixel(s, t, toX, toY);
    const double spacing = std::hypot(b.x() - a.x(), b.y() - a.y()) / std::max(divisions, 1);
    return std::min(CentreGridLineStep(spacing), std::max(divisions, 1));
  };
  const int s23 = step(c2x, c2y, c3x, c3y, d23), s12 = step(c1x, c1y, c2x, c2y, d12);
  for (int i = 0; i <= d23; i = i < d23 && i + s23 > d23 ? d23 : i + s23) {
    const double dx = i * (c3x - c2x) / d23, dy = i * (c3y - c2y) / d23;
    p.drawLine(WorldPixel(s, t, c1x + dx, c1y + dy), WorldPixel(s, t, c2x + dx, c2y + dy));
  }
  for (int i = 0; i <= d12; i = i < d12 && i + s12 > d12 ? d12 : i + s12) {
    const double dx = i * (c2x - c1x) / d12, dy = i * (c2y - c1y) / d12;
    p.drawLine(WorldPixel(s, t, c1x + dx, c1y + dy), WorldPixel(s, t, c4x + dx, c4y + dy));
  }
}

void PaintCircleCentre(QPainter& p, const SectionScene& s, const ViewTransform& t, const ViewOptions& o) {
  if (!s.circleCentreReadable) return;
  const QPoint c = WorldPixel(s, t, s.circleCentreX, s.circleCentreY);
  p.setPen(QPen(kRed, 1));
  p.setBrush(Qt::NoBrush);
  if (s.conditions.circularSearchKind == 1) {
    const QPoint low = WorldPixel(s, t, s.circleCentreX, s.circleCentreY - s.trialRadius);
    if (!o.resultAvailable) p.drawLine(c, low);
    p.drawEllipse(c, 4, 4);
    if (!o.resultAvailable) {
      p.setBrush(kRed);
      DrawMark(p, low.x(), low.y());
    }
  } else {
    p.drawEllipse(c, 4, 4);
  }
}

void PaintIrregular(QPainter& p, const SectionScene& s, const ViewTransform& t, const ViewOptions& o,
                    const DisplayList& list) {
  if (!o.resultAvailable) {
    p.setPen(QPen(kRed, 1));
    p.setBrush(kRed);
    DrawItemPolyline(p, list, list.DisplayRangeIrregular);
  }
  if (!s.irregularCentreReadable) return;
  if (s.irregularTableEmpty && s.irregularCentreX == 0.0 && s.irregularCentreY == 0.0) return;
  p.setPen(QPen(kBlack, 1));
  p.setBrush(kYellow);
  p.drawEllipse(WorldPixel(s, t, s.irregularCentreX, s.irregularCentreY), 4, 4);
}

void PaintLineLoads(QPainter& p, const SectionScene& s, const DisplayList& list) {
  const DisplayRange& r = list.DisplayRangeLineLoad;
  if (r.empty()) return;
  p.setPen(QPen(kRed, 2));
  p.setBrush(kRed);
  const double half = 15.0 / std::cos(15.0 * std::numbers::pi / 180.0);
  for (int i = r.first; i <= r.last && i < static_cast<int>(list.items.size()); ++i) {
    const DisplayItem& item = list.items[static_cast<std::size_t>(i)];
    const std::size_t k = static_cast<std::size_t>(i - r.first);
    const double angle = k < s.lineLoadAngles.size() ? s.lineLoadAngles[k] : 0.0;
    const double theta = 90.0 - angle;
    const QPointF apex(item.pixelX, item.pixelY);
    p.drawLine(apex, Toward(apex, theta, 30.0));
    p.drawPolygon(QPolygonF({apex, Toward(apex, theta - 15.0, half), Toward(apex, theta + 15.0, half)}));
  }
}

void PaintStripLoads(QPainter& p, const SectionScene& s, const ViewTransform& t, const DisplayList& list) {
  const DisplayRange& r = list.DisplayRangeStripLoad;
  if (r.empty()) return;
  p.setPen(QPen(kRed, 2));
  p.setBrush(QBrush(kRed, Qt::VerPattern));
  std::vector<QPoint> top;
  for (const auto& [x, y] : s.topLine) top.push_back(WorldPixel(s, t, x, y));
  for (int i = r.first; i + 1 <= r.last && i + 1 < static_cast<int>(list.items.size()); i += 2) {
    const DisplayItem& b = list.items[static_cast<std::size_t>(i)];
    const DisplayItem& e = list.items[static_cast<std::size_t>(i + 1)];
    // Upright unless one segment of the ground surface lies under both ends.
    double phi = 90.0;
    for (std::size_t k = 0; k + 1 < top.size(); ++k) {
      if (top[k].x() <= b.pixelX && e.pixelX <= top[k + 1].x()) {
        const auto [x0, y0] = s.topLine[k];
        const auto [x1, y1] = s.topLine[k + 1];
        const double slope = x1 != x0 ? (y1 - y0) / (x1 - x0) : kVerticalSlope;
        phi = 90.0 + std::atan(slope) * 180.0 / std::numbers::pi;
        break;
      }
    }
    const QPointF begin(b.pixelX, b.pixelY), end(e.pixelX, e.pixelY);
    const QPointF off = Toward(QPointF(0, 0), phi, 15.0);
    p.drawPolygon(QPolygonF({begin, end, end + off, begin + off}));
  }
}

void PaintCrack(QPainter& p, const DisplayList& list) {
  if (list.DisplayRangeCrack.empty()) return;
  p.setPen(QPen(kDarkRed, 1));
  p.setBrush(kWhite);
  DrawItemPolyline(p, list, list.DisplayRangeCrack, &kDashDot);
}

void PaintAnchors(QPainter& p, const SectionScene& s, const ViewTransform& t, const DisplayList& list) {
  const DisplayRange& r = list.DisplayRangeAnchor;
  if (r.empty()) return;
  for (int i = r.first; i + 1 <= r.last && i + 1 < static_cast<int>(list.items.size()); i += 2) {
    const DisplayItem& head = list.items[static_cast<std::size_t>(i)];
    const DisplayItem& far = list.items[static_cast<std::size_t>(i + 1)];
    const std::size_t k = static_cast<std::size_t>((i - r.first) / 2);
    const double bonded = k < s.anchorBondedLengths.size() ? s.anchorBondedLengths[k] : 0.0;
    const double dx = far.x - head.x, dy = far.y - head.y;
    const double length = std::hypot(dx, dy);
    QPoint tip(far.pixelX, far.pixelY);
    if (length > 0.0 && std::isfinite(length)) {
      tip = WorldPixel(s, t, far.x + bonded * dx / length, far.y + bonded * dy / length);
    }
    p.setPen(QPen(kRed, 2));
    p.drawLine(QPoint(head.pixelX, head.pixelY), tip);
    p.setPen(QPen(kDarkRed, 5));
    p.drawLine(tip, QPoint(far.pixelX, far.pixelY));
  }
}

QFont LabelFont() {
  QFont font("Tahoma");
  font.setPixelSize(13);
  font.setBold(true);
  return font;
}

QRect CentreMarkRect(const SectionScene& s, const ViewTransform& t, const SectionScene::Analysed& a) {
  const QPoint c = WorldPixel(s, t, a.centerX, a.centerY);
  const int r = RoundPixel(10.0 * a.centerMarkSize);
  return QRect(c.x() - r, c.y() - r, 2 * r, 2 * r);
}

// The centre mark and, at `labelAt` (its top-left corner), its label.
// A surface's label: its method and factor, or, for a value that is no
// factor, why there is none.
std::string LabelText(const SectionScene& s, const SectionScene::Analysed& a) {
  if (IsResultCodeValue(a.labelFs)) return a.labelPrefix + NoFactorText(s.language, a.labelFs);
  return a.labelPrefix + FormatFixed(a.labelFs, 3);
}

void PaintCentreMark(QPainter& p, const SectionScene& s, const ViewTransform& t, const SectionScene::Analysed& a,
                     QPoint labelAt) {
  p.setPen(QPen(kBlack, 1));
  p.setBrush(kYellow);
  p.drawEllipse(CentreMarkRect(s, t, a));
  if (a.hasLabel) {
    p.setFont(LabelFont());
    p.setPen(kRed);
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(kWhite);
    DrawTextAt(p, labelAt.x(), labelAt.y(), LabelText(s, a));
    p.setBackgroundMode(Qt::TransparentMode);
  }
}

// The analysed surfaces the overlays show, bottom first: the presented ones
// when there are any, else the kept ones under the current one. A surface
// without points is not drawn at all.
std::vector<const SectionScene::Analysed*> ShownSurfaces(const SectionScene& s) {
  std::vector<const SectionScene::Analysed*> shown;
  auto add = [&shown](const SectionScene::Analysed& a) {
    if (!a.surfaceX.empty()) shown.push_back(&a);
  };
  if (!s.presented.empty()) {
    for (const SectionScene::Analysed& a : s.presented) add(a);
    return shown;
  }
  for (const SectionScene::Analysed& a : s.keptAnalysed) add(a);
  if (s.analysed) add(*s.analysed);
  return shown;
}

// The top-left corner of each shown surface's label: just right of its mark
// and a little above the mark's bottom, stacked where labels would meet.
std::vector<QPoint> LabelPlaces(QPainter& p, const SectionScene& s, const ViewTransform& t,
                                const std::vector<const SectionScene::Analysed*>& shown) {
  std::vector<QPoint> anchors;
  std::vector<QSize> sizes;
  anchors.reserve(shown.size());
  sizes.reserve(shown.size());
  // Measured without touching the painter's state: a picture being exported
  // records every state change.
  const QFontMetrics metrics(LabelFont(), p.device());
  for (const SectionScene::Analysed* a : shown) {
    const QRect mark = CentreMarkRect(s, t, *a);
    const QPoint anchor(mark.right() + 1 + 3, mark.bottom() + 1 - 3);
    anchors.push_back(anchor);
    if (a->hasLabel) {
      const QString text = QString::fromStdString(LabelText(s, *a));
      sizes.push_back(metrics.boundingRect(QRect(anchor, QSize(1000, 100)), Qt::AlignLeft | Qt::AlignTop, text).size());
    } else {
      // No label: nothing to keep clear of.
      sizes.push_back(QSize(0, 0));
    }
  }
  return StackLabels(anchors, sizes);
}

void PaintOneAnalysedSurface(QPainter& p, const SectionScene& s, const ViewTransform& t, const ViewOptions& o,
                             const SectionScene::Analysed& a, QPoint labelAt) {
  PaintCentreMark(p, s, t, a, labelAt);
  // The surface.
  QPolygon surface;
  const std::size_t n = std::min(a.surfaceX.size(), a.surfaceY.size());
  for (std::size_t i = 0; i < n; ++i) surface << WorldPixel(s, t, a.surfaceX[i], a.surfaceY[i]);
  p.setPen(QPen(kBlack, 1));
  p.setBrush(ColourFromBgr(a.sliceFillColour));
  p.drawPolyline(surface);
  // The slices.
  const std::size_t bounds = std::min({a.boundaryX.size(), a.surfaceYAtBoundary.size(), a.baseYAtBoundary.size()});
  const int first = std::max(a.activeFirst, 0);
  const int end = std::min(a.activeEnd, static_cast<int>(bounds) - 1);
  for (int w = first; w < end; ++w) {
    const auto k = static_cast<std::size_t>(w);
    const QPoint top0 = WorldPixel(s, t, a.boundaryX[k], a.surfaceYAtBoundary[k]);
    const QPoint base0 = WorldPixel(s, t, a.boundaryX[k], a.baseYAtBoundary[k]);
    if (o.failureSurfaceMode == 1) {
      if (w >= a.sliceCount) continue;
      const QPoint top1 = WorldPixel(s, t, a.boundaryX[k + 1], a.surfaceYAtBoundary[k + 1]);
      const QPoint base1 = WorldPixel(s, t, a.boundaryX[k + 1], a.baseYAtBoundary[k + 1]);
      p.drawPolygon(QPolygon({top0, top1, base1, base0}));
    } else if (o.failureSurfaceMode == 2 && o.sliceHatchShown) {
      p.drawLine(top0, base0);
    }
  }
}

void PaintCentreMarks(QPainter& p, const SectionScene& s, const ViewTransform& t,
                      const std::vector<const SectionScene::Analysed*>& shown, const std::vector<QPoint>& labels) {
  for (std::size_t k = 0; k < shown.size(); ++k) PaintCentreMark(p, s, t, *shown[k], labels[k]);
}

void PaintAnalysedSurface(QPainter& p, const SectionScene& s, const ViewTransform& t, const ViewOptions& o) {
  if (!o.resultAvailable) return;
  const std::vector<const SectionScene::Analysed*> shown = ShownSurfaces(s);
  const std::vector<QPoint> labels = LabelPlaces(p, s, t, shown);
  for (std::size_t k = 0; k < shown.size(); ++k) PaintOneAnalysedSurface(p, s, t, o, *shown[k], labels[k]);
  // A later surface's slices may cross an earlier mark or label: with more
  // than one surface the marks go on top again, so every factor can be read.
  if (shown.size() > 1) PaintCentreMarks(p, s, t, shown, labels);
}

}  // namespace

void PaintAnalysedCentreMarks(QPainter& painter, const SectionScene& scene, const ViewTransform& transform,
                              const ViewOptions& options) {
  if (!options.resultAvailable) return;
  const std::vector<const SectionScene::Analysed*> shown = ShownSurfaces(scene);
  PaintCentreMarks(painter, scene, transform, shown, LabelPlaces(painter, scene, transform, shown));
}

SectionScene::Analysed AnalysedFromCritical(const CriticalSurface& surface, double centerMarkSize,
                                            int sliceFillColour) {
  SectionScene::Analysed a;
  a.surfaceX = surface.surfaceX;
  a.surfaceY = surface.surfaceY;
  a.boundaryX = surface.boundaryX;
  a.surfaceYAtBoundary = surface.surfaceYAtBoundary;
  a.baseYAtBoundary = surface.baseYAtBoundary;
  a.sliceCount = surface.sliceCount;
  a.activeFirst = surface.activeFirst;
  a.activeEnd = surface.activeEnd;
  a.centerX = surface.centerX;
  a.centerY = surface.centerY;
  a.centerMarkSize = centerMarkSize;
  a.sliceFillColour = sliceFillColour;
  a.labelFs = surface.labelFs;
  a.hasLabel = surface.hasLabel;
  // The short method names of the Results grid's columns.
  static const char* const kPrefix[] = {"Ord ", "Jan ", "Bis ", "Spe "};
  if (surface.method >= 0 && surface.method < 4) a.labelPrefix = kPrefix[surface.method];
  return a;
}

std::vector<QPoint> StackLabels(const std::vector<QPoint>& anchors, const std::vector<QSize>& sizes, int gap) {
  std::vector<QPoint> places;
  std::vector<QRect> placed;
  const std::size_t n = std::min(anchors.size(), sizes.size());
  places.reserve(n);
  placed.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    QRect r(anchors[i], sizes[i]);
    // Every move goes strictly down, past one of finitely many rectangles:
    // the loop ends.
    for (bool moved = true; moved;) {
      moved = false;
      for (const QRect& q : placed) {
        if (r.intersects(q)) {
          r.moveTop(q.bottom() + 1 + std::max(gap, 0));
          moved = true;
        }
      }
    }
    places.push_back(r.topLeft());
    placed.push_back(r);
  }
  return places;
}

QColor ColourFromBgr(int bgr) {
  return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

std::vector<Points> SoilBandPolygons(const std::vector<Points>& lines) {
  const int count = static_cast<int>(lines.size());
  std::vector<Points> bands(static_cast<std::size_t>(std::max(count - 1, 0)));
  if (count < 2) return bands;
  auto line = [&lines](int k) -> const Points& { return lines[static_cast<std::size_t>(k)]; };
  if (line(0).empty()) return bands;
  double left = line(0).front().first, right = line(0).back().first;
  int a = 0, d = 0;
  while (a < count - 1) {
    const int n = a + 1;
    const Points& next = line(n);
    const bool fullWidth = !next.empty() && next.front().first <= left && next.back().first >= right;
    if (fullWidth || n == count - 1) {
      for (int b = d; b <= a; ++b) bands[static_cast<std::size_t>(b)] = CloseBand(line(b), next);
      a = d = n;
      if (!next.empty()) {
        left = next.front().first;
        right = next.back().first;
      }
    } else {
      a = n;
    }
  }
  return bands;
}

std::vector<std::vector<std::pair<int, int>>> BandPolygonsInPixels(const SectionScene& scene,
                                                                   const ViewTransform& transform) {
  std::vector<std::vector<std::pair<int, int>>> polygons;
  polygons.reserve(scene.bands.size());
  for (const SectionScene::Band& band : scene.bands) {
    std::vector<std::pair<int, int>> polygon;
    polygon.reserve(band.points.size());
    for (const auto& [x, y] : band.points) {
      const PixelPoint p = transform.gridToImage(x, y);
      polygon.emplace_back(p.x, p.y);
    }
    polygons.push_back(std::move(polygon));
  }
  return polygons;
}

void ReadSceneBase(Project& project, SectionScene& scene) {
  scene.bands.clear();
  scene.scaleX = project.drawing.ScaleX;
  scene.scaleY = project.drawing.ScaleY;
  scene.showReferenceAxis = project.drawing.ShowReferenceAxis == 1;
  try {
    const std::vector<Points> lines = ReadViewLines(project, scene.scaleX, scene.scaleY);
    const std::vector<Points> polygons = SoilBandPolygons(lines);
    const Table soils = project.options.itemIndex(Option::CB_Strength_Model) == 1 ? Table::Aniso : Table::Soil_Prop;
    const std::vector<Row> rows = project.store->rows(soils);
    for (std::size_t i = 0; i < polygons.size(); ++i) {
      SectionScene::Band band;
      band.points = polygons[i];
      if (i < rows.size()) band.colour = rows[i].integer(SoilCommonField::Color) & 0xFFFFFF;
      scene.bands.push_back(std::move(band));
    }
  } catch (...) {
    // A store that cannot be read leaves the bands out.
    scene.bands.clear();
  }
}

void ReadSceneOverlays(Project& project, const ViewOptions& options, SectionScene& scene) {
  const OptionValues& o = project.options;
  scene.scaleX = project.drawing.ScaleX;
  scene.scaleY = project.drawing.ScaleY;
  scene.conditions = ReadOverlayConditions(project);
  const OverlayConditions& c = scene.conditions;

  scene.centreGridReadable = false;
  scene.centreGridDivisionInvalid = false;
  if (c.analysisTheory == 1 && c.circularSearchKind == 0) {
    const char* corners[3][2] = {{Option::E_X_LeftDown, Option::E_Y_LeftDown},
                                 {Option::E_X_RightDown, Option::E_Y_RightDown},
                                 {Option::E_X_RightTop, Option::E_Y_RightTop}};
    bool ok = true;
    for (int k = 0; k < 3; ++k) {
      ok = ReadReal(o, corners[k][0], scene.gridCornerX[k]) && ok;
      ok = ReadReal(o, corners[k][1], scene.gridCornerY[k]) && ok;
    }
    ok = ReadInt(o, Option::E_12_Division, scene.gridDivision12) && ok;
    ok = ReadInt(o, Option::E_23_Division, scene.gridDivision23) && ok;
    scene.centreGridReadable = ok;
    scene.centreGridDivisionInvalid = ok && (scene.gridDivision12 == 0 || scene.gridDivision23 == 0);
  }

  scene.circleCentreReadable = false;
  if (c.analysisTheory == 1 && (c.circularSearchKind == 1 || c.circularSearchKind == 2)) {
    if (c.circularSearchKind == 1) {
      scene.circleCentreReadable = ReadReal(o, Option::E_X_Center, scene.circleCentreX) &&
                                   ReadReal(o, Option::E_Y_Center, scene.circleCentreY) &&
                                   ReadReal(o, Option::E_Radius, scene.trialRadius);
    } else {
      scene.circleCentreReadable = ReadReal(o, Option::E_Xauto_Start, scene.circleCentreX) &&
                                   ReadReal(o, Option::E_Yauto_Start, scene.circleCentreY);
    }
  }

  scene.irregularCentreReadable = false;
  scene.lineLoadAngles.clear();
  scene.anchorBondedLengths.clear();
  scene.topLine.clear();
  try {
    WorkingStore& store = *project.store;
    if (c.analysisTheory == 2) {
      scene.irregularCentreReadable = ReadReal(o, Option::E_NonCir_X_Center, scene.irregularCentreX) &&
                                      ReadReal(o, Option::E_NonCir_Y_Center, scene.irregularCentreY);
      scene.irregularTableEmpty = store.rowCount(Table::NonCircular_Coordinate) == 0;
    }
    if (c.lineLoadEnabled) {
      for (const Row& r : store.rows(Table::Lineload)) scene.lineLoadAngles.push_back(r.real(LineLoadField::Angle));
    }
    if (c.anchorEnabled) {
      for (const Row& r : store.rows(Table::Anchor))
        scene.anchorBondedLengths.push_back(r.real(AnchorField::BondedLength));
    }
    if (c.stripLoadEnabled) {
      // The top line in world units: the line with the largest number.
      const std::vector<Points> lines = ReadViewLines(project, 1.0, 1.0);
      if (!lines.empty()) scene.topLine = lines.back();
    }
  } catch (...) {
    // What cannot be read is not drawn.
  }

  scene.centerMarkSize = project.drawing.CenterMarkSize;
  scene.sliceFillColour = project.drawing.SliceFillColor;
  scene.analysed = ReadAnalysedSurface(project, options);
}

std::optional<SectionScene::Analysed> ReadAnalysedSurface(Project& project, const ViewOptions& options) {
  if (!options.resultAvailable || project.slices.SlipPointCount <= 0) return std::nullopt;
  CriticalSurface surface;
  TakeSurfaceGeometry(project.slices, surface);
  surface.centerX = project.model.CenterX;
  surface.centerY = project.model.CenterY;
  surface.hasLabel = false;
  // Each checked picture box overrides the one before it.
  const RunState& run = project.run;
  for (int m = 0; m < kMethodCount; ++m) {
    if (!run.ShowPicture[static_cast<std::size_t>(m)]) continue;
    surface.labelFs = run.Minimum[static_cast<std::size_t>(m)].Fs;
    if (m == Bishop && options.sortedBishopFs) surface.labelFs = *options.sortedBishopFs;
    surface.hasLabel = true;
  }
  // The surface of no single method: its label carries no method name.
  return AnalysedFromCritical(surface, project.drawing.CenterMarkSize, project.drawing.SliceFillColor);
}

SectionScene ReadSectionScene(Project& project, const ViewOptions& options) {
  SectionScene scene;
  scene.language = project.model.Language;
  ReadSceneBase(project, scene);
  ReadSceneOverlays(project, options, scene);
  return scene;
}

void PaintSceneBase(QPainter& painter, const SectionScene& scene, const ViewTransform& transform,
                    const ViewOptions& options, const QRect& visible) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  (void)visible;
  painter.fillRect(visible, kWhite);
  if (options.showGrid) PaintGridDots(painter, transform, visible);
  if (options.soilColourShown) PaintBands(painter, scene, transform);
  if (scene.showReferenceAxis) PaintAxes(painter, scene, transform);
  painter.restore();
}

void PaintSceneOverlays(QPainter& painter, const SectionScene& scene, const ViewTransform& transform,
                        const ViewOptions& options, const DisplayList& list, const QRect& visible) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  (void)visible;
  const OverlayConditions& c = scene.conditions;
  PaintBoundaryLines(painter, list);
  if (c.analysisTheory == 1 && c.circularSearchKind == 0) PaintCentreGrid(painter, scene, transform);
  if (c.analysisTheory == 1 && (c.circularSearchKind == 1 || c.circularSearchKind == 2)) {
    PaintCircleCentre(painter, scene, transform, options);
  }
  if (c.analysisTheory == 2) PaintIrregular(painter, scene, transform, options, list);
  if (c.seepageKind == 1 && !list.DisplayRangeWater.empty()) {
    const DisplayRange& r = list.DisplayRangeWater;
    QPolygon band;
    for (int i = r.first; i <= std::min(r.last, static_cast<int>(list.items.size()) - 1); ++i) {
      band << QPoint(list.items[static_cast<std::size_t>(i)].pixelX, list.items[static_cast<std::size_t>(i)].pixelY);
    }
    painter.setPen(QPen(kWhite, kWaterOutline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(band);
    painter.setPen(QPen(kWaterColour, 2, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(kWaterColour);
    DrawItemPolyline(painter, list, r, &kDash);
  }
  if (c.lineLoadEnabled) PaintLineLoads(painter, scene, list);
  if (c.stripLoadEnabled) PaintStripLoads(painter, scene, transform, list);
  if (c.tensionCrackEnabled) PaintCrack(painter, list);
  if (c.anchorEnabled) PaintAnchors(painter, scene, transform, list);
  PaintAnalysedSurface(painter, scene, transform, options);
  painter.restore();
}

void PaintBase(QPainter& painter, Project& project, const ViewTransform& transform, const ViewOptions& options,
               const QRect& visible) {
  SectionScene scene;
  ReadSceneBase(project, scene);
  PaintSceneBase(painter, scene, transform, options, visible);
}

void PaintOverlays(QPainter& painter, Project& project, const ViewTransform& transform, const ViewOptions& options,
                   const DisplayList& list, const QRect& visible) {
  SectionScene scene;
  ReadSceneOverlays(project, options, scene);
  PaintSceneOverlays(painter, scene, transform, options, list, visible);
}

int CentreGridLineStep(double spacing) {
  constexpr double kSmallestSpacing = 4.0;
  if (!(spacing < kSmallestSpacing)) return 1;  // also a spacing that is not a number
  if (!(spacing > 0.0)) return std::numeric_limits<int>::max();
  return static_cast<int>(std::ceil(kSmallestSpacing / spacing));
}

bool CentreGridDivisionInvalid(const Project& project) {
  const OptionValues& o = project.options;
  if (o.itemIndex(Option::RG_Theory) != 1 || o.itemIndex(Option::CB_Cir_Search) != 0) return false;
  int d12 = 0, d23 = 0;
  if (!ReadInt(o, Option::E_12_Division, d12) || !ReadInt(o, Option::E_23_Division, d23)) return false;
  return d12 == 0 || d23 == 0;
}

}  // namespace pelodyn
