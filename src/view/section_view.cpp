#include "view/section_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

namespace pelodyn {

SectionCanvas::SectionCanvas(SectionView* view) : QWidget(nullptr), m_view(view) {
  setObjectName("Image_Area");
  setMouseTracking(true);
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
  update();
}
QRect SectionCanvas::visibleImageRect() const {
  return rect();
}
void SectionCanvas::renderLayers(const QRect&) {}
void SectionCanvas::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.fillRect(event->rect(), Qt::white);
}
void SectionCanvas::mouseMoveEvent(QMouseEvent*) {}

SectionView::SectionView(QWidget* parent) : QScrollArea(parent), m_canvas(new SectionCanvas(this)) {
  setObjectName("ScrollBox_Image");
  setWidget(m_canvas);
}
void SectionView::setProject(Project* project) {
  m_project = project;
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
}
const ViewOptions& SectionView::viewOptions() const {
  return m_options;
}
void SectionView::setViewOptions(const ViewOptions& o) {
  m_options = o;
}
const DisplayList& SectionView::displayList() const {
  return m_list;
}
void SectionView::redrawBase(int) {}
void SectionView::redrawOverlays() {}
void SectionView::rebuildDisplayList() {}
void SectionView::zoomIn() {}
void SectionView::zoomOut() {}
void SectionView::fitView() {}
void SectionView::scrollToOrigin() {}
SectionView::Fit SectionView::ComputeFit(double, double, double, double, int, int) {
  return {};
}
void SectionView::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
}
void SectionView::scrollContentsBy(int dx, int dy) {
  QScrollArea::scrollContentsBy(dx, dy);
}
void SectionView::applyTransform() {}
void SectionView::refreshScene() {}
void SectionView::zoomTo(int) {}

}  // namespace pelodyn
