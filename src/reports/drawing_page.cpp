#include "reports/drawing_page.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/numbers.h"
#include "model/project.h"
#include "model/section.h"
#include "qt_text/utf8.h"
#include "texts/captions.h"

namespace pelodyn {
namespace {

const QColor kMaroon(128, 0, 0);
const QColor kGreyShadow(160, 160, 164);
const QColor kGrey(128, 128, 128);
const QColor kGreen(0, 128, 0);
const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
// The water line: dark blue dashes on a white band, seen on every soil.
const QColor kWaterBlue(0, 0, 160);

std::vector<QPointF> Points(const SectionPolyline& points) {
  std::vector<QPointF> out;
  out.reserve(points.size());
  for (const auto& [x, y] : points) out.emplace_back(x, y);
  return out;
}

long long Trunc(double v) {
  if (!std::isfinite(v)) return 0;
  return static_cast<long long>(std::clamp(std::trunc(v), -1e9, 1e9));
}
int Round(double v) {
  if (!std::isfinite(v)) return 0;
  return static_cast<int>(std::clamp(std::nearbyint(v), -1e9, 1e9));
}

// The page's quantities, worked out once from the page size, the margins
// and the drawing extent.
struct PageLayout {
  int W = 0, H = 0;
  double u = 0.0;
  int mL = 0, mR = 0, mT = 0, mB = 0;
  int drawWidth = 0, drawHeight = 0;
  int originX = 0, originY = 0;
  double scale = 1.0;
  double xMin = 0.0, yMin = 0.0;
  double pixel = 1.0;  // device pixels per pixel at 300 dpi

  QPoint map(double x, double y) const {
    return {static_cast<int>(Trunc(originX + (x - xMin) * scale)),
            static_cast<int>(Trunc(originY - (y - yMin) * scale))};
  }
  QPoint map(QPointF p) const { return map(p.x(), p.y()); }
  // A size given in pixels at 300 dpi, at this canvas's resolution.
  int px(double n) const { return Round(n * pixel); }
  int width(double n) const { return std::max(1, px(n)); }
};

PageLayout Layout(const PageCanvas& canvas, const DrawingPageContent& c, const AppSettings& page) {
  PageLayout l;
  l.W = canvas.pageSize().width();
  l.H = canvas.pageSize().height();
  l.pixel = canvas.resolution() / 300.0;
  l.u = std::min(l.W, l.H) / 8.263;
  const double toInches = page.PageUnit == 1 ? 1.0 / 2.54 : 1.0;
  l.mL = Round(l.u * page.PageMarginLeft * toInches);
  l.mR = Round(l.u * page.PageMarginRight * toInches);
  l.mT = Round(l.u * page.PageMarginTop * toInches);
  l.mB = Round(l.u * page.PageMarginBottom * toInches);
  l.drawWidth = Round(l.W - l.mL - l.mR - 0.9 * l.u);
  l.drawHeight = Round(l.H - l.mT - l.mB - 1.7 * l.u);
  l.originX = Round(l.mL + 0.7 * l.u);
  l.originY = Round(l.H - l.mB - 0.7 * l.u);
  l.xMin = c.xMin;
  l.yMin = c.yMin;
  l.scale = std::min(l.drawWidth / (c.xMax - c.xMin), l.drawHeight / (c.yMax - c.yMin));
  if (!(l.scale > 0.0) || !std::isfinite(l.scale)) l.scale = 1.0;
  return l;
}

void Include(DrawingPageContent& c, double x, double y) {
  c.xMin = std::min(c.xMin, x);
  c.xMax = std::max(c.xMax, x);
  c.yMin = std::min(c.yMin, y);
  c.yMax = std::max(c.yMax, y);
}

// `text` as it fits `width` pixels in the canvas's font: whole, or cut and
// ended with "..." (a Thai mark is never left without its letter).
QString FitToWidth(const PageCanvas& canvas, const QString& text, int width) {
  if (canvas.textSize(text).width() <= width) return text;
  const QString dots = QStringLiteral("...");
  QString cut = text;
  while (!cut.isEmpty() && canvas.textSize(cut + dots).width() > width) {
    cut.chop(1);
    // A letter keeps its marks (and a surrogate pair its halves): a cut
    // just before a mark takes the letter too.
    while (!cut.isEmpty() && (text[cut.size()].isMark() || text[cut.size()].isLowSurrogate())) cut.chop(1);
  }
  return cut + dots;
}

void PaintFrameAndTitle(PageCanvas& canvas, const DrawingPageContent& c, const PageLayout& l) {
  const double u = l.u;
  canvas.setPen(Qt::black, l.width(2));
  canvas.setBrush(Qt::white, Qt::NoBrush);
  canvas.drawRect(QRect(QPoint(l.mL, Round(l.mT + 0.75 * u)), QPoint(l.W - l.mR, l.H - l.mB)));
  canvas.setBrush(Qt::white, Qt::SolidPattern);
  canvas.drawRect(QRect(QPoint(l.mL, Round(l.mT + 0.75 * u)), QPoint(Round(l.mL + 2.05 * u), Round(l.mT + 1.875 * u))));
  canvas.setBrush(Qt::white, Qt::NoBrush);

  canvas.setFont({PageFace::Sans, 10.0, true, kMaroon});
  const QString distance = QStringLiteral("Distance");
  const int dw = canvas.textSize(distance).width();
  canvas.drawText(
      QPoint(Round((l.W - (l.mL + 0.7 * u + l.mR) - dw) / 2.0 + l.mL + 0.5 * u), Round(l.H - l.mB - 0.25 * u)),
      distance);
  const QString elevation = QStringLiteral("Elevation");
  const int ew = canvas.textSize(elevation).width();
  canvas.drawTextUpwards(
      QPoint(Round(l.mL + 0.05 * u), Round((ew + (l.H - (l.mT + 2.5 * u + l.mB))) / 2.0 + l.mT + 2.0 * u)), elevation);

  canvas.setFont({PageFace::Sans, 28.0, true, kGreyShadow});
  canvas.drawText(QPoint(Round(l.mL + 0.025 * u), Round(l.mT + 0.025 * u)), QStringLiteral("LAVO"));
  canvas.setFont({PageFace::Sans, 28.0, true, kMaroon});
  canvas.drawText(QPoint(l.mL, l.mT), QStringLiteral("LAVO"));
  canvas.setFont({PageFace::Sans, 10.0, false, Qt::black});
  canvas.drawText(QPoint(l.mL, Round(l.mT + 0.5 * u)), QStringLiteral("Slope stability by limit equilibrium"));

  canvas.setFont({PageFace::Sans, 28.0, true, kGreen});
  const QString program = QStringLiteral("Pelodyn");
  canvas.drawText(QPoint(l.W - l.mR - canvas.textSize(program).width(), l.mT), program);
  canvas.setFont({PageFace::Sans, 10.0, false, Qt::black});
  const QString version = QStringLiteral("Version 2.0");
  canvas.drawText(QPoint(l.W - l.mR - canvas.textSize(version).width(), Round(l.mT + 0.5 * u)), version);

  canvas.setFont({PageFace::Sans, 8.0, true, kBlue});
  const int x = Round(l.mL + 0.1 * u);
  // The title block is 2.05 u wide: a longer name is cut to fit it.
  const int room = Round(1.9 * u);
  canvas.drawText(QPoint(x, Round(l.mT + 0.85 * u)), FitToWidth(canvas, c.projectName, room));
  canvas.drawText(QPoint(x, Round(l.mT + 1.05 * u)), FitToWidth(canvas, c.location, room));
  canvas.drawText(QPoint(x, Round(l.mT + 1.25 * u)), FitToWidth(canvas, c.engineer, room));
  if (c.failureGeometryAvailable) {
    canvas.setFont({PageFace::Sans, 8.0, true, kRed});
    canvas.drawText(QPoint(x, Round(l.mT + 1.45 * u)), QStringLiteral("FS. by  Ord  /  Jan  /  Bis  /  Spe"));
    QStringList factors;
    // A method not analysed is "N/A"; a value that stands for a missing
    // factor (kNoFactor, a result code) is never printed as one.
    for (const auto& fs : c.factors) {
      factors << (!fs                      ? QStringLiteral("N/A")
                  : IsResultCodeValue(*fs) ? QStringLiteral("no factor")
                                           : Q(FormatFixed(*fs, 3)));
    }
    canvas.drawText(QPoint(x + canvas.textSize(QStringLiteral("FS. by")).width(), Round(l.mT + 1.625 * u)),
                    factors.join(QLatin1Char('/')));
  }
}

void PaintGridMarks(PageCanvas& canvas, const DrawingPageContent& c, const PageLayout& l) {
  QPoint p[4];
  for (int k = 0; k < 4; ++k) p[k] = l.map(c.gridCorners[static_cast<std::size_t>(k)]);
  canvas.setPen(kGrey, l.width(1));
  canvas.drawPolyline(QPolygon({p[0], p[1], p[2], p[3], p[0]}));
  canvas.setFont({PageFace::Sans, 8.0, true, kBlue});
  for (int k = 0; k < 3; ++k) {
    const QPointF w = c.gridCorners[static_cast<std::size_t>(k)];
    canvas.drawText(p[k], QStringLiteral("( ") + Q(FormatShortest(w.x())) + QLatin1Char(',') +
                              Q(FormatShortest(w.y())) + QStringLiteral(" )"));
  }
  // More divisions than the side has pixels would draw the same pixels
  // again: a typed division of a million stops at the page's resolution.
  auto lines = [&](int count, QPoint step, QPoint from, QPoint to) {
    if (count <= 0) return;
    // Lines are kept 6 pixels (at 300 dpi) apart, so a fine grid does not
    // print as a black area.
    const double length = std::hypot(step.x(), step.y());
    const int drawn = static_cast<int>(std::min<double>(count, std::max(1.0, std::floor(length / l.px(6)))));
    for (int d = 1; d <= drawn; ++d) {
      const double f = static_cast<double>(d) / drawn;
      const QPoint offset(Round(step.x() * f), Round(step.y() * f));
      canvas.drawLine(from + offset, to + offset);
    }
  };
  lines(c.division12, p[1] - p[0], p[0], p[3]);
  lines(c.division23, p[2] - p[1], p[0], p[1]);
}

void PaintModel(PageCanvas& canvas, const DrawingPageContent& c, const PageLayout& l) {
  canvas.setPen(Qt::black, l.width(2));
  for (const auto& line : c.layerLines) {
    QPolygon points;
    for (const QPointF& w : line) points << l.map(w);
    if (points.size() >= 2) canvas.drawPolyline(points);
  }
  const QPoint below(0, l.px(2));
  if (c.waterLine.size() >= 2) {
    QPolygon points;
    for (const QPointF& w : c.waterLine) points << l.map(w) + below;
    canvas.setPen(Qt::white, l.width(7));
    canvas.drawPolyline(points);
    canvas.setPen(kWaterBlue, l.width(3), Qt::DashLine);
    canvas.drawPolyline(points);
  }
  switch (c.marks) {
    case DrawingPageContent::SearchMarks::Grid:
      PaintGridMarks(canvas, c, l);
      break;
    case DrawingPageContent::SearchMarks::Specific: {
      const QPoint centre = l.map(c.specificCentre);
      const QPoint low = l.map(c.specificCentre.x(), c.specificCentre.y() - c.specificRadius);
      const QPoint r(l.px(3), l.px(3));
      canvas.setPen(kGrey, l.width(1));
      canvas.drawLine(centre, low);
      canvas.setBrush(kGrey, Qt::SolidPattern);
      canvas.drawEllipse(QRect(centre - r, centre + r));
      canvas.setBrush(kRed, Qt::SolidPattern);
      canvas.drawEllipse(QRect(low - r, low + r));
      canvas.setBrush(Qt::white, Qt::NoBrush);
      break;
    }
    case DrawingPageContent::SearchMarks::Automatic: {
      const QPoint s = l.map(c.autoStart);
      const int arm = l.px(10);
      canvas.setPen(kGrey, l.width(1));
      canvas.drawLine(s - QPoint(0, arm), s + QPoint(0, arm));
      canvas.drawLine(s - QPoint(arm, 0), s + QPoint(arm, 0));
      break;
    }
    case DrawingPageContent::SearchMarks::None:
      break;
  }
  if (c.crack.size() >= 2) {
    canvas.setPen(kMaroon, l.width(1), Qt::DotLine);
    QPolygon points;
    for (const QPointF& w : c.crack) points << l.map(w) + below;
    canvas.drawPolyline(points);
  }
  for (const auto& load : c.lineLoads) {
    // The shaft leaves the point as on screen: upwards for 0 degrees,
    // towards the right for 90. Sized by the page (u is about an inch): a
    // shaft of 0.3 u, the head's base 0.08 u along it and 0.03 u to either
    // side, so the arrow reads as one at any resolution.
    const QPoint at = l.map(load.at);
    const double a = load.angle * std::numbers::pi / 180.0;
    const double ux = std::sin(a), uy = -std::cos(a);
    const double vx = std::cos(a), vy = std::sin(a);
    const double shaft = 0.3 * l.u, head = 0.08 * l.u, half = 0.03 * l.u;
    canvas.setPen(kRed, l.width(2));
    canvas.drawLine(at, at + QPoint(Round(shaft * ux), Round(shaft * uy)));
    canvas.setBrush(kRed, Qt::SolidPattern);
    const auto corner = [&](double side) {
      return at + QPoint(Round(head * ux + side * vx), Round(head * uy + side * vy));
    };
    canvas.drawPolygon(QPolygon({at, corner(half), corner(-half)}));
    canvas.setBrush(Qt::white, Qt::NoBrush);
  }
  for (const auto& load : c.stripLoads) {
    const QPoint b = l.map(load.beginX, load.y1);
    const QPoint e = l.map(load.endX, load.y2);
    canvas.setPen(kRed, l.width(2));
    canvas.setBrush(kRed, Qt::DiagCrossPattern);
    canvas.drawPolygon(
        QPolygon({b - QPoint(0, l.px(2)), e - QPoint(0, l.px(2)), e - QPoint(0, l.px(15)), b - QPoint(0, l.px(15))}));
    canvas.setBrush(Qt::white, Qt::NoBrush);
  }
  for (const auto& anchor : c.anchors) {
    const QPoint s = l.map(anchor.start);
    const QPoint e = l.map(anchor.end);
    canvas.setPen(kRed, l.width(2));
    canvas.drawLine(s, e);
    const double dx = e.x() - s.x(), dy = e.y() - s.y();
    const long long length = Trunc(std::sqrt(dx * dx + dy * dy));
    // An anchor of no length on the page has no direction for its bond.
    if (length == 0) continue;
    const long long bond = Trunc(anchor.bondedLength * l.scale);
    const long long mx = Trunc(std::abs(dx) * static_cast<double>(bond) / static_cast<double>(length));
    const long long my = Trunc(std::abs(dy) * static_cast<double>(bond) / static_cast<double>(length));
    const QPoint to(static_cast<int>(s.x() < e.x() ? e.x() - mx : e.x() + mx),
                    static_cast<int>(e.y() < s.y() ? e.y() + my : e.y() - my));
    canvas.setPen(kMaroon, l.width(4));
    canvas.drawLine(e, to);
  }
}

void PaintAxes(PageCanvas& canvas, const DrawingPageContent& c, const PageLayout& l) {
  const double u = l.u;
  canvas.setFont({PageFace::Sans, 6.0, false, Qt::black});
  canvas.setPen(Qt::black, l.width(2));
  // The spacing follows the letters the labels are printed in, so labels
  // never crowd one another at any resolution.
  const QSize letter = canvas.textSize(QStringLiteral("H"));
  const double xRange = c.xMax - c.xMin, yRange = c.yMax - c.yMin;
  const bool heightLimits = l.drawWidth / xRange >= l.drawHeight / yRange;
  const double m = 5.0 * std::max(1, heightLimits ? Round(letter.height() / l.scale + 0.9)
                                                  : Round(7.0 * letter.width() / (5.0 * l.scale) + 0.9));
  const int nX = std::min(Round(l.drawWidth / (m * l.scale)) + 1, Round(xRange / m) + 4);
  const int nY = std::min(Round((l.drawHeight - u) / (m * l.scale)), Round(yRange / m) + 4);
  const double y0 = 5.0 * std::nearbyint((c.yMin - m) / 5.0);
  const int yR = Round(l.H - l.mB - 0.7 * u - (y0 - c.yMin) * l.scale);

  const int axisY = Round(l.H - l.mB - 0.5 * u);
  const int axisX = Round(l.mL + 0.5 * u);
  canvas.drawLine(QPoint(axisX, axisY), QPoint(Round(l.W - l.mR - 0.2 * u), axisY));
  canvas.drawLine(QPoint(axisX, axisY), QPoint(axisX, Round(l.mT + 2.0 * u)));
  for (int q = 0; q < nX; ++q) {
    // The tick stands at the value its label shows.
    const long long value = std::llround(c.xMin + m * q);
    const int x = Round(l.originX + (static_cast<double>(value) - c.xMin) * l.scale);
    const QString label = QString::number(value);
    canvas.drawText(QPoint(x - canvas.textSize(label).width() / 2, Round(l.H - l.mB - 0.4 * u)), label);
    canvas.drawLine(QPoint(x, axisY), QPoint(x, Round(l.H - l.mB - 0.46 * u)));
  }
  for (int r = 1; r <= nY; ++r) {
    const int y = Round(yR - m * l.scale * r);
    canvas.drawText(QPoint(Round(l.mL + 0.3 * u), y), QString::number(std::llround(y0 + m * r)));
    canvas.drawLine(QPoint(axisX, y), QPoint(Round(l.mL + 0.46 * u), y));
  }
}

void PaintCriticalSurface(PageCanvas& canvas, const DrawingPageContent& c, const PageLayout& l) {
  canvas.setPen(kRed, l.width(2));
  QPolygon surface;
  for (const QPointF& w : c.failureSurface) surface << l.map(w);
  if (surface.size() >= 2) canvas.drawPolyline(surface);
  canvas.setPen(kRed, l.width(1));
  const std::size_t n = std::min({c.boundaryX.size(), c.baseYAtBoundary.size(), c.surfaceYAtBoundary.size()});
  for (std::size_t k = 0; k < n; ++k) {
    canvas.drawLine(l.map(c.boundaryX[k], c.baseYAtBoundary[k]), l.map(c.boundaryX[k], c.surfaceYAtBoundary[k]));
  }
  const QPoint centre = l.map(c.centre);
  if (c.circular) {
    canvas.drawLine(centre, l.map(c.entry));
    canvas.drawLine(centre, l.map(c.exit));
  }
  canvas.setFont({PageFace::Sans, 8.0, true, kMaroon});
  canvas.drawText(centre, CentreLabel(c.centre.x(), c.centre.y()));
  canvas.setBrush(kRed, Qt::SolidPattern);
  canvas.setPen(kRed, l.width(1));
  canvas.drawEllipse(QRect(centre - QPoint(l.px(2), l.px(2)), centre + QPoint(l.px(6), l.px(6))));
  canvas.setBrush(Qt::white, Qt::NoBrush);
}

}  // namespace

QString CentreLabel(double x, double y) {
  auto text = [](double v) {
    if (!std::isfinite(v)) return QStringLiteral("0.00");
    const int digits = v == 0.0 ? 1 : static_cast<int>(std::floor(std::log10(std::abs(v)))) + 1;
    if (digits > 5) return QString::asprintf("%.4E", v);
    const double rounded = RoundHalfEven(v, std::max(0, 5 - std::max(digits, 1)));
    return Q(FormatFixed(rounded, 2));
  };
  return QStringLiteral("( ") + text(x) + QLatin1Char(',') + text(y) + QStringLiteral(" )");
}

DrawingPageContent ReadDrawingPage(const Project& project, const std::optional<ReportRunDescription>& run,
                                   const CriticalSurface* surface) {
  const OptionValues& o = project.options;
  const WorkingStore& store = *project.store;
  DrawingPageContent c;
  c.projectName = Q(o.text(Option::E_Project_Name));
  c.location = Q(o.text(Option::E_Lacation));
  c.engineer = Q(o.text(Option::E_Engineer));

  // The extent covers every geometry row, whatever its place in the table.
  const std::vector<Row> geometry = store.rows(Table::Geometry);
  c.xMin = c.xMax = c.yMin = c.yMax = 0.0;
  if (!geometry.empty()) {
    c.xMin = c.xMax = geometry.front().real(GeometryField::X);
    c.yMin = c.yMax = geometry.front().real(GeometryField::Y);
  }
  for (const Row& r : geometry) Include(c, r.real(GeometryField::X), r.real(GeometryField::Y));

  const int theory = o.itemIndex(Option::RG_Theory);
  const int search = o.itemIndex(Option::CB_Cir_Search);
  if (theory == 1) {
    if (search == 0) {
      static constexpr Option kCorners[3][2] = {{Option::E_X_LeftDown, Option::E_Y_LeftDown},
                                                {Option::E_X_RightDown, Option::E_Y_RightDown},
                                                {Option::E_X_RightTop, Option::E_Y_RightTop}};
      for (std::size_t k = 0; k < 3; ++k) {
        c.gridCorners[k] = QPointF(o.readReal(kCorners[k][0]), o.readReal(kCorners[k][1]));
      }
      c.gridCorners[3] = c.gridCorners[2] - c.gridCorners[1] + c.gridCorners[0];
      c.division12 = o.readInteger(Option::E_12_Division);
      c.division23 = o.readInteger(Option::E_23_Division);
      c.marks = DrawingPageContent::SearchMarks::Grid;
      for (const QPointF& p : c.gridCorners) {
        c.yMin = std::min(c.yMin, p.y());
        c.yMax = std::max(c.yMax, p.y());
      }
    } else if (search == 1) {
      c.specificCentre = QPointF(o.readReal(Option::E_X_Center), o.readReal(Option::E_Y_Center));
      c.specificRadius = o.readReal(Option::E_Radius);
      c.marks = DrawingPageContent::SearchMarks::Specific;
      c.yMin = std::min(c.yMin, c.specificCentre.y());
      c.yMax = std::max(c.yMax, c.specificCentre.y());
    } else {
      c.autoStart = QPointF(o.readReal(Option::E_Xauto_Start), o.readReal(Option::E_Yauto_Start));
      c.marks = DrawingPageContent::SearchMarks::Automatic;
      c.yMin = std::min(c.yMin, c.autoStart.y());
      c.yMax = std::max(c.yMax, c.autoStart.y());
    }
  } else if (theory == 2) {
    const double y = o.readReal(Option::E_NonCir_Y_Center);
    c.yMin = std::min(c.yMin, y);
    c.yMax = std::max(c.yMax, y);
  }
  // An extent of no size counts as one unit.
  if (!(c.xMax - c.xMin > 0.0)) c.xMax = c.xMin + 1.0;
  if (!(c.yMax - c.yMin > 0.0)) c.yMax = c.yMin + 1.0;

  // The lines of the soils of the current strength model (as many as its
  // rows, as on screen), each by the section reader's rule.
  const Table soils = o.itemIndex(Option::CB_Strength_Model) == 1 ? Table::Aniso : Table::Soil_Prop;
  const int lineCount = std::min(store.rowCount(soils), kMaxBoundaryLine);
  for (const BoundaryLine& line : ReadBoundaryLines(geometry, lineCount)) c.layerLines.push_back(Points(line.points));

  if (o.itemIndex(Option::CB_Seepage) == 1) c.waterLine = Points(ReadWaterLine(store));
  if (!o.checked(Option::CB_Tension_Disable)) c.crack = Points(ReadTensionCrack(store));
  if (!o.checked(Option::CB_LineLoad_Disable)) {
    for (const SectionLineLoad& l : ReadLineLoads(store)) c.lineLoads.push_back({QPointF(l.x, l.y), l.angle});
  }
  if (!o.checked(Option::CB_StripLoad_Disable)) {
    for (const SectionStripLoad& l : ReadStripLoads(store)) c.stripLoads.push_back({l.beginX, l.endX, l.y1, l.y2});
  }
  if (!o.checked(Option::CB_Anchor_Disable)) {
    for (const SectionAnchor& a : ReadAnchors(store)) {
      c.anchors.push_back({QPointF(a.xStart, a.yStart), QPointF(a.xEnd, a.yEnd), a.bondedLength});
    }
  }

  // The critical surface's rows by "No", under the same rule.
  {
    std::vector<Row> rows = store.rows(Table::Failure_Geometry);
    std::vector<int> numbers;
    for (const Row& r : rows) numbers.push_back(r.integer(FailurePointField::No));
    for (std::size_t i : NumberedOrder(numbers))
      c.failureSurface.emplace_back(rows[i].real(FailurePointField::X), rows[i].real(FailurePointField::Y));
  }
  c.failureGeometryAvailable = !c.failureSurface.empty() && run.has_value() && surface != nullptr;
  if (c.failureGeometryAvailable) {
    for (std::size_t k = 0; k < c.factors.size(); ++k) {
      if (run->selected[k] && !(run->theory == 2 && k == Ordinary)) c.factors[k] = run->minima[k].Fs;
    }
    c.boundaryX = surface->boundaryX;
    c.baseYAtBoundary = surface->baseYAtBoundary;
    c.surfaceYAtBoundary = surface->surfaceYAtBoundary;
    c.circular = run->theory == 1;
    c.centre = QPointF(surface->centerX, surface->centerY);
    c.entry = c.failureSurface.front();
    c.exit = c.failureSurface.back();
  }
  return c;
}

void PaintDrawingPage(PageCanvas& canvas, const DrawingPageContent& content, const AppSettings& page) {
  const PageLayout layout = Layout(canvas, content, page);
  PaintFrameAndTitle(canvas, content, layout);
  PaintModel(canvas, content, layout);
  PaintAxes(canvas, content, layout);
  if (content.failureGeometryAvailable) PaintCriticalSurface(canvas, content, layout);
}

}  // namespace pelodyn
