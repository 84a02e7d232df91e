#include "view/section_painter.h"

namespace pelodyn {

QColor ColourFromBgr(int bgr) {
  return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}
SectionScene ReadSectionScene(Project&, const ViewOptions&) {
  return {};
}
void PaintSceneBase(QPainter& painter, const SectionScene&, const ViewTransform&, const ViewOptions&,
                    const QRect& visible) {
  painter.fillRect(visible, Qt::white);
}
void PaintSceneOverlays(QPainter&, const SectionScene&, const ViewTransform&, const ViewOptions&, const DisplayList&,
                        const QRect&) {}
void PaintBase(QPainter& painter, Project& project, const ViewTransform& transform, const ViewOptions& options,
               const QRect& visible) {
  PaintSceneBase(painter, ReadSectionScene(project, options), transform, options, visible);
}
void PaintOverlays(QPainter& painter, Project& project, const ViewTransform& transform, const ViewOptions& options,
                   const DisplayList& list, const QRect& visible) {
  PaintSceneOverlays(painter, ReadSectionScene(project, options), transform, options, list, visible);
}
bool CentreGridDivisionInvalid(const Project&) {
  return false;
}

}  // namespace pelodyn
