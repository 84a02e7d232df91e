#include "view/section_view.h"

#include "view/fs_contour_painter.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <limits>

#include "model/numbers.h"

namespace pelodyn {
namespace {

constexpr int kZoomMax = 30;
constexpr int kZoomMin = 4;
constexpr int kZoomInStep = 4;
constexpr int kZoomOutStep = 2;
// Pixels between what is drawn and the edge of the drawing: a fit leaves
// kFitPadding; content nearer than kFitEdgePixels makes the view fit again.
constexpr int kFitPadding = 30;
constexpr int kFitEdgePixels = 6;

// Runs a step that reads the project; a failure to read leaves the view as
// it was instead of escaping into the event loop.
template <typename F>
void Guarded(F&& f) {
  try {
    f();
  } catch (...) {
  }
}

}  // namespace

// ---------------------------------------------------------------- canvas

SectionCanvas::SectionCanvas(SectionView* view) : QWidget(nullptr), m_view(view) {
  setObjectName("Image_Area");
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void SectionCanvas::invalidateBase() {
  m_baseValid = false;
  m_overlayValid = false;
  update();
}

void SectionCanvas::invalidateOverlay() {
  m_overlayValid = false;
  update();
}

void SectionCanvas::setTrial(std::vector<double> x, std::vector<double> y, double centerX, double centerY) {
  m_trialX = std::move(x);
  m_trialY = std::move(y);
  m_trialCenterX = centerX;
  m_trialCenterY = centerY;
  m_trialShown = true;
  update();
}

void SectionCanvas::clearTrial() {
  m_trialShown = false;
  m_trialX.clear();
  m_trialY.clear();
  update();
}

QRect SectionCanvas::visibleImageRect() const {
  const QWidget* port = m_view->viewport();
  const QRect shown(-pos(), port->size());
  return shown.intersected(rect());
}

void SectionCanvas::renderLayers(const QRect& visible) {
  const qreal ratio = devicePixelRatioF();
  const QSize size = visible.size() * ratio;
  if (!m_baseValid || m_baseRect != visible) {
    if (m_base.size() != size) m_base = QImage(size, QImage::Format_RGB32);
    m_base.setDevicePixelRatio(ratio);
    if (m_view->m_project == nullptr) {
      // Without a project there is nothing to draw on the background.
      m_base.fill(Qt::white);
    } else {
      QPainter p(&m_base);
      p.translate(-visible.topLeft());
      PaintSceneBase(p, m_view->m_scene, m_view->m_transform, m_view->m_options, visible);
    }
    m_baseRect = visible;
    m_baseValid = true;
    m_overlayValid = false;
    ++m_baseRenders;
  }
  if (!m_overlayValid || m_overlayRect != visible) {
    if (m_overlay.size() != size) m_overlay = QImage(size, QImage::Format_ARGB32_Premultiplied);
    m_overlay.setDevicePixelRatio(ratio);
    m_overlay.fill(Qt::transparent);
    if (m_view->m_project != nullptr) {
      QPainter p(&m_overlay);
      p.translate(-visible.topLeft());
      PaintSceneOverlays(p, m_view->m_scene, m_view->m_transform, m_view->m_options, m_view->m_list, visible);
      if (m_view->m_contours) {
        PaintContours(p, *m_view->m_contours, m_view->m_transform, m_view->m_project->drawing);
        PaintAnalysedCentreMarks(p, m_view->m_scene, m_view->m_transform, m_view->m_options);
      }
    }
    m_overlayRect = visible;
    m_overlayValid = true;
    ++m_overlayRenders;
  }
}

void SectionCanvas::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const QRect visible = visibleImageRect();
  if (visible.isEmpty()) {
    p.fillRect(event->rect(), Qt::white);
    return;
  }
  renderLayers(visible);
  p.drawImage(visible.topLeft(), m_base);
  p.drawImage(visible.topLeft(), m_overlay);
  if (m_trialShown) paintTrial(p);
  paintEditorMarks(p);
  if (m_view->m_project != nullptr && m_view->m_contours)
    PaintContourLegend(p, m_view->m_legend, visible, m_view->m_project->model.Language);
}

void SectionCanvas::paintTrial(QPainter& p) {
  const ViewTransform& t = m_view->m_transform;
  const double sx = m_view->m_scene.scaleX, sy = m_view->m_scene.scaleY;
  const double markSize = m_view->m_project != nullptr ? m_view->m_project->drawing.CenterMarkSize : 0.4;
  // The trial's centre as a black ring, its slip line in red, both 2 wide.
  const PixelPoint c = t.worldToImage(m_trialCenterX, m_trialCenterY, sx, sy);
  const int r = RoundPixel(10.0 * markSize);
  p.setPen(QPen(Qt::black, 2));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QRect(c.x - r, c.y - r, 2 * r, 2 * r));
  QPolygon line;
  const std::size_t n = std::min(m_trialX.size(), m_trialY.size());
  for (std::size_t i = 0; i < n; ++i) {
    const PixelPoint q = t.worldToImage(m_trialX[i], m_trialY[i], sx, sy);
    line << QPoint(q.x, q.y);
  }
  p.setPen(QPen(QColor(255, 0, 0), 2));
  p.drawPolyline(line);
}

std::pair<double, double> SectionCanvas::worldAt(const QPoint& pointer) const {
  // A drag that leaves the drawing stays on its edge.
  const QPoint q(std::clamp(pointer.x(), 0, std::max(0, width() - 1)),
                 std::clamp(pointer.y(), 0, std::max(0, height() - 1)));
  const ViewTransform& t = m_view->m_transform;
  const bool snap = m_view->m_options.snapGrid;
  return {t.pixelToGridX(q.x(), q.y(), snap) * m_view->m_scene.scaleX,
          t.pixelToGridY(q.x(), q.y(), snap) * m_view->m_scene.scaleY};
}

void SectionCanvas::paintEditorMarks(QPainter& p) {
  const ViewTransform& t = m_view->m_transform;
  const double sx = m_view->m_scene.scaleX, sy = m_view->m_scene.scaleY;
  if (m_view->m_rubberBand) {
    const auto& [from, to] = *m_view->m_rubberBand;
    const PixelPoint a = t.worldToImage(from.x, from.y, sx, sy);
    const PixelPoint b = t.worldToImage(to.x, to.y, sx, sy);
    p.setPen(QPen(QColor(255, 0, 0), 1));
    p.drawLine(a.x, a.y, b.x, b.y);
  }
  const std::vector<WorldPoint>& placed = m_view->m_placedLoad;
  if (!placed.empty()) {
    // A load placed but not yet stored: bold red, so the click shows at once.
    const QColor red(255, 0, 0);
    p.setPen(QPen(red, 3));
    p.setBrush(red);
    if (placed.size() == 1) {
      const PixelPoint c = t.worldToImage(placed[0].x, placed[0].y, sx, sy);
      p.drawLine(c.x, c.y - 34, c.x, c.y - 8);
      p.setPen(QPen(red, 1));
      p.drawPolygon(QPolygon({QPoint(c.x, c.y), QPoint(c.x - 6, c.y - 12), QPoint(c.x + 6, c.y - 12)}));
    } else {
      QPolygon line;
      for (const WorldPoint& w : placed) {
        const PixelPoint c = t.worldToImage(w.x, w.y, sx, sy);
        line << QPoint(c.x, c.y);
      }
      p.drawPolyline(line);
      p.setPen(QPen(red, 1));
      for (const QPoint& q : line) p.drawRect(q.x() - 3, q.y() - 3, 6, 6);
    }
    p.setBrush(Qt::NoBrush);
  }
  if (m_view->m_selected) {
    // The selected point: a large yellow square with a black outline.
    const PixelPoint c = t.worldToImage(m_view->m_selected->x, m_view->m_selected->y, sx, sy);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(255, 255, 0));
    p.drawRect(c.x - 4, c.y - 4, 8, 8);
    p.setBrush(Qt::NoBrush);
  }
}

void SectionCanvas::mouseMoveEvent(QMouseEvent* event) {
  const auto [x, y] = worldAt(event->position().toPoint());
  emit cursorMoved(x, y);
  emit m_view->pointerMoved(x, y);
  QWidget::mouseMoveEvent(event);
}

void SectionCanvas::mousePressEvent(QMouseEvent* event) {
  const auto [x, y] = worldAt(event->position().toPoint());
  emit m_view->pointerPressed(x, y, static_cast<int>(event->button()), event->globalPosition().toPoint());
  QWidget::mousePressEvent(event);
}

void SectionCanvas::mouseReleaseEvent(QMouseEvent* event) {
  const auto [x, y] = worldAt(event->position().toPoint());
  emit m_view->pointerReleased(x, y, static_cast<int>(event->button()));
  QWidget::mouseReleaseEvent(event);
}

// ---------------------------------------------------------------- view

SectionView::SectionView(QWidget* parent) : QScrollArea(parent), m_canvas(new SectionCanvas(this)) {
  setObjectName("ScrollBox_Image");
  setWidgetResizable(false);
  setWidget(m_canvas);
  horizontalScrollBar()->setSingleStep(10);
  verticalScrollBar()->setSingleStep(10);
  connect(m_canvas, &SectionCanvas::cursorMoved, this, &SectionView::cursorMoved);
  applyTransform();
}

void SectionView::setRubberBand(std::optional<std::pair<WorldPoint, WorldPoint>> band) {
  if (band == m_rubberBand) return;
  m_rubberBand = band;
  m_canvas->update();
}

void SectionView::setSelectedPoint(std::optional<WorldPoint> point) {
  if (point == m_selected) return;
  m_selected = point;
  m_canvas->update();
}

void SectionView::setPlacedLoad(std::vector<WorldPoint> points) {
  if (points == m_placedLoad) return;
  m_placedLoad = std::move(points);
  m_canvas->update();
}

std::pair<double, double> SectionView::pointTolerance() const {
  // The marks are squares of half-size 4 pixels.
  const double p = std::max(1, m_transform.PixelsPerUnit);
  return {4.0 / p * m_scene.scaleX, 4.0 / p * m_scene.scaleY};
}

void SectionView::setProject(Project* project) {
  m_project = project;
  m_list = {};
  m_scene = {};
  presentCriticalSurfaces();
  if (m_project != nullptr) m_transform.PixelsPerUnit = m_project->drawing.GridSize;
  applyTransform();
  if (m_project != nullptr) {
    // The project's own work area is shown as it was saved.
    m_fitting = true;
    m_scrollPending = true;
    rebuildDisplayList();
    m_fitting = false;
  } else {
    m_canvas->invalidateBase();
  }
}

SectionCanvas* SectionView::canvas() const {
  return m_canvas;
}

const ViewTransform& SectionView::transform() const {
  return m_transform;
}

int SectionView::pixelsPerUnit() const {
  return m_transform.PixelsPerUnit;
}

void SectionView::setPixelsPerUnit(int p) {
  m_transform.PixelsPerUnit = p;
  m_scrollPending = true;
  applyTransform();
  if (m_project != nullptr) PlaceDisplayItems(m_project->drawing, m_transform, m_list);
  m_canvas->invalidateBase();
  emit viewChanged();
}

const ViewOptions& SectionView::viewOptions() const {
  return m_options;
}

void SectionView::setViewOptions(const ViewOptions& o) {
  const ViewOptions old = m_options;
  m_options = o;
  if (old == o) return;
  const bool baseChanged = old.showGrid != o.showGrid || old.soilColourShown != o.soilColourShown;
  if (baseChanged) {
    redrawBase(2);
  }
  redrawOverlays();
}

const DisplayList& SectionView::displayList() const {
  return m_list;
}

void SectionView::applyTransform() {
  const DrawingSettings drawing = m_project != nullptr ? m_project->drawing : DrawingSettings{};
  m_transform = MakeViewTransform(drawing, m_transform.PixelsPerUnit);
  const QSize size(std::max(m_transform.ImageWidth, 1), std::max(m_transform.ImageHeight, 1));
  if (m_canvas->size() != size) m_canvas->resize(size);
}

void SectionView::refreshScene() {
  if (m_frozen) return;
  if (m_project == nullptr) {
    m_scene = {};
    return;
  }
  Guarded([&] { ReadSceneBase(*m_project, m_scene); });
}

void SectionView::redrawBase(int mode) {
  if (m_project != nullptr && m_project->ProjectLoading == 1) return;
  if (mode == 0 || mode == 2) {
    applyTransform();
    if (m_project != nullptr) PlaceDisplayItems(m_project->drawing, m_transform, m_list);
  }
  refreshScene();
  m_canvas->invalidateBase();
}

void SectionView::redrawOverlays() {
  if (m_project == nullptr) {
    m_canvas->invalidateOverlay();
    return;
  }
  if (m_project->ProjectLoading == 1) return;
  if (!m_frozen) {
    Guarded([&] { RebuildOverlayItems(*m_project, m_transform, m_list); });
    std::vector<SectionScene::Analysed> kept = std::move(m_scene.keptAnalysed);
    Guarded([&] { ReadSceneOverlays(*m_project, m_options, m_scene); });
    m_scene.language = m_project->model.Language;
    m_scene.keptAnalysed = std::move(kept);
    // The mark size or the slice colour may have changed.
    presentCriticalSurfaces();
  }
  m_canvas->invalidateOverlay();
}

void SectionView::rebuildDisplayList() {
  if (m_project == nullptr || m_project->ProjectLoading == 1 || m_frozen) return;
  // What is being built grows past the work area: the area grows with it.
  if (!m_fitting) growToContent();
  Guarded([&] { RebuildDisplayList(*m_project, m_transform, m_list); });
  // An edit keeps the part of the drawing in sight; a new project, zoom or
  // fit starts from the origin.
  if (m_scrollPending) {
    scrollToOrigin();
    m_scrollPending = false;
  }
  redrawBase(1);
  redrawOverlays();
}

bool SectionView::growToContent() {
  std::optional<FitBox> box;
  Guarded([&] { box = ReadFitBox(*m_project); });
  if (!box) return false;
  DrawingSettings& d = m_project->drawing;
  const double P = std::max(m_transform.PixelsPerUnit, 1);
  // The left and bottom sides have the image's margin; the right and top
  // ones end at the work area, so content there needs a few pixels inside.
  const double pad = std::ceil(kFitPadding / P), edge = kFitEdgePixels / P;
  constexpr double kLimit = 100000.0;  // as far as a work area may reach
  double xmin = d.WorkAreaXmin, xmax = d.WorkAreaXmax, ymin = d.WorkAreaYmin, ymax = d.WorkAreaYmax;
  if (box->xmin < xmin) xmin = std::max(std::floor(box->xmin - pad), -kLimit);
  if (box->ymin < ymin) ymin = std::max(std::floor(box->ymin - pad), -kLimit);
  if (box->xmax > xmax - edge) xmax = std::min(std::ceil(box->xmax + pad), kLimit);
  if (box->ymax > ymax - edge) ymax = std::min(std::ceil(box->ymax + pad), kLimit);
  if (xmin == d.WorkAreaXmin && xmax == d.WorkAreaXmax && ymin == d.WorkAreaYmin && ymax == d.WorkAreaYmax) {
    return false;
  }
  // The part in sight stays in sight: growing left or up moves the drawing
  // right or down in the image, and the scroll bars follow.
  const int dx = RoundPixel((d.WorkAreaXmin - xmin) * P), dy = RoundPixel((ymax - d.WorkAreaYmax) * P);
  const int h = horizontalScrollBar()->value(), v = verticalScrollBar()->value();
  d.WorkAreaXmin = xmin;
  d.WorkAreaXmax = xmax;
  d.WorkAreaYmin = ymin;
  d.WorkAreaYmax = ymax;
  applyTransform();
  PlaceDisplayItems(d, m_transform, m_list);
  horizontalScrollBar()->setValue(h + dx);
  verticalScrollBar()->setValue(v + dy);
  m_canvas->invalidateBase();
  emit viewChanged();
  return true;
}

void SectionView::zoomTo(int newPixelsPerUnit) {
  if (m_project != nullptr && m_project->ProjectLoading == 1) return;
  // The grid point at the centre of the visible part stays there.
  const int cx = viewport()->width() / 2 + horizontalScrollBar()->value();
  const int cy = viewport()->height() / 2 + verticalScrollBar()->value();
  const double gx = m_transform.pixelToGridX(cx, cy, m_options.snapGrid);
  const double gy = m_transform.pixelToGridY(cx, cy, m_options.snapGrid);
  m_transform.PixelsPerUnit = newPixelsPerUnit;
  // A zoom held at its bound redraws all the same, so that the items and
  // the pixels they are drawn at always agree.
  redrawBase(2);
  redrawOverlays();
  const PixelPoint c = m_transform.gridToImage(gx, gy);
  horizontalScrollBar()->setValue(c.x - viewport()->width() / 2);
  verticalScrollBar()->setValue(c.y - viewport()->height() / 2);
  emit viewChanged();
}

void SectionView::zoomIn() {
  zoomTo(std::min(m_transform.PixelsPerUnit + kZoomInStep, kZoomMax));
}

void SectionView::zoomOut() {
  zoomTo(std::max(m_transform.PixelsPerUnit - kZoomOutStep, kZoomMin));
}

SectionView::Fit SectionView::ComputeFit(double xmin, double xmax, double ymin, double ymax, int viewportWidth,
                                         int viewportHeight) {
  double w = xmax - xmin, h = ymax - ymin;
  // A box without width or height counts as one unit in that direction.
  if (!(w > 0.0)) w = 1.0;
  if (!(h > 0.0)) h = 1.0;
  // The image is the work area plus the margin at its left and bottom; it
  // must fit the scroll box, or the scroll bars that appear narrow the box
  // and the drawing shifts when it is next placed.
  const ViewTransform defaults;
  const double Wb = std::max(viewportWidth - defaults.ViewMargin, 1);
  const double Hb = std::max(viewportHeight - defaults.ViewMargin, 1);
  Fit fit;
  // The content keeps a border of kFitPadding pixels on every side.
  const double p = std::min((Wb - 2.0 * kFitPadding) / w, (Hb - 2.0 * kFitPadding) / h);
  fit.pixelsPerUnit = std::max(RoundPixel(std::floor(std::max(p, 1.0))), 1);
  const double nx = std::floor(Wb / fit.pixelsPerUnit), ny = std::floor(Hb / fit.pixelsPerUnit);
  // Centred; the far side follows from the near one, so the image spans
  // exactly nx by ny units.
  fit.xmin = std::nearbyint((xmin + xmax) / 2.0 - nx / 2.0);
  fit.xmax = fit.xmin + nx;
  fit.ymin = std::nearbyint((ymin + ymax) / 2.0 - ny / 2.0);
  fit.ymax = fit.ymin + ny;
  return fit;
}

void SectionView::fitView() {
  if (m_project == nullptr || m_frozen) return;
  std::optional<FitBox> box;
  Guarded([&] { box = ReadFitBox(*m_project); });
  if (!box) return;
  // The box the scroll bars leave when the image fits: the viewport plus
  // any bar now shown, as the bars go once the image fits.
  int width = viewport()->width(), height = viewport()->height();
  if (verticalScrollBar()->isVisible()) width += verticalScrollBar()->width();
  if (horizontalScrollBar()->isVisible()) height += horizontalScrollBar()->height();
  const Fit fit = ComputeFit(box->xmin, box->xmax, box->ymin, box->ymax, width, height);
  DrawingSettings& d = m_project->drawing;
  d.WorkAreaXmin = fit.xmin;
  d.WorkAreaXmax = fit.xmax;
  d.WorkAreaYmin = fit.ymin;
  d.WorkAreaYmax = fit.ymax;
  m_transform.PixelsPerUnit = fit.pixelsPerUnit;
  m_fitting = true;
  m_scrollPending = true;
  redrawBase(0);
  rebuildDisplayList();
  m_fitting = false;
  emit viewChanged();
}

void SectionView::scrollToOrigin() {
  horizontalScrollBar()->setValue(std::abs(m_transform.ViewOriginX) - m_transform.ViewMargin);
  verticalScrollBar()->setValue(m_transform.ImageHeight - viewport()->height() - m_transform.ViewOriginY + 40);
}

void SectionView::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  m_canvas->update();
  emit viewChanged();
}

void SectionView::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) {
    QScrollArea::wheelEvent(event);
    return;
  }
  const int steps = event->angleDelta().y();
  if (steps > 0) {
    zoomIn();
  } else if (steps < 0) {
    zoomOut();
  }
  event->accept();
}

void SectionView::scrollContentsBy(int dx, int dy) {
  QScrollArea::scrollContentsBy(dx, dy);
  // The cached layers cover the visible part only: the next paint renders
  // the newly visible part.
  m_canvas->update();
}

}  // namespace pelodyn

namespace pelodyn {

void SectionView::setFrozen(bool frozen) {
  if (m_frozen == frozen) return;
  m_frozen = frozen;
  if (!frozen) {
    redrawBase(1);
    redrawOverlays();
  }
}

void SectionView::keepAnalysedSurface(std::optional<double> labelFs) {
  if (m_project == nullptr || m_frozen) return;
  ViewOptions o = m_options;
  o.resultAvailable = true;
  std::optional<SectionScene::Analysed> a;
  Guarded([&] { a = ReadAnalysedSurface(*m_project, o); });
  if (!a) return;
  if (labelFs) {
    a->labelFs = *labelFs;
    a->hasLabel = true;
  }
  m_scene.keptAnalysed.push_back(std::move(*a));
  m_canvas->invalidateOverlay();
}

void SectionView::clearKeptSurfaces() {
  m_scene.keptAnalysed.clear();
  m_canvas->invalidateOverlay();
}

void SectionView::setCriticalSurfaces(std::vector<CriticalSurface> surfaces) {
  m_critical = std::move(surfaces);
  presentCriticalSurfaces();
  m_canvas->invalidateOverlay();
}

void SectionView::presentCriticalSurfaces() {
  m_scene.presented.clear();
  m_scene.presented.reserve(m_critical.size());
  for (const CriticalSurface& c : m_critical) {
    m_scene.presented.push_back(AnalysedFromCritical(c, m_scene.centerMarkSize, m_scene.sliceFillColour));
  }
}

void SectionView::setContourMap(std::optional<ContourMap> map) {
  m_contours = std::move(map);
  m_legend = m_contours ? MakeContourLegend(*m_contours) : ContourLegend{};
  m_canvas->invalidateOverlay();
}

}  // namespace pelodyn
