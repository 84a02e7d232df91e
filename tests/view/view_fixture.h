// Helpers of the view tests: projects read from the bundled examples or
// built row by row, and pictures of them rendered with the painters.
#pragma once

#include <QImage>
#include <QPainter>
#include <string>

#include "model/fixture.h"
#include "model/verification.h"
#include "persistence/project_file.h"
#include "view/display_list.h"
#include "view/section_painter.h"
#include "view/view_transform.h"

namespace pelodyn::testing {

struct ViewProject : ProjectFixture {
  void load(const std::string& example) {
    NewProject(project);
    ReadAnyProjectFile(project, ui, std::string(PELODYN_EXAMPLES) + "/" + example);
  }
  void coloredSoil(int no, int bgr) {
    Row r(Table::Soil_Prop);
    r.set(SoilCommonField::LineNo, no)
        .set(SoilField::Cohesion, 10.0)
        .set(SoilField::Phi, 30.0)
        .set(SoilCommonField::UnitWeight, 18.0)
        .set(SoilCommonField::Color, bgr);
    store().append(r);
  }
  void row(Table table, std::initializer_list<std::pair<const char*, double>> fields) {
    Row r(table);
    for (const auto& [name, value] : fields) r.set(name, value);
    store().append(r);
  }
};

// The whole image of a project at a zoom, base and overlays, as the window
// draws it.
struct Rendered {
  ViewTransform transform;
  DisplayList list;
  QImage image;

  QColor at(PixelPoint p) const { return image.pixelColor(p.x, p.y); }
  // The pixel of a world point (scales 1).
  QColor atWorld(double x, double y) const { return at(transform.worldToImage(x, y, 1.0, 1.0)); }
};

inline Rendered Render(Project& project, const ViewOptions& options, int pixelsPerUnit = 10, bool overlays = true) {
  Rendered r;
  r.transform = MakeViewTransform(project.drawing, pixelsPerUnit);
  RebuildDisplayList(project, r.transform, r.list);
  r.image = QImage(r.transform.ImageWidth, r.transform.ImageHeight, QImage::Format_RGB32);
  r.image.fill(Qt::magenta);
  QPainter painter(&r.image);
  const QRect all(0, 0, r.transform.ImageWidth, r.transform.ImageHeight);
  PaintBase(painter, project, r.transform, options, all);
  if (overlays) PaintOverlays(painter, project, r.transform, options, r.list, all);
  return r;
}

inline QColor Rgb(int bgr) {
  return ColourFromBgr(bgr);
}

}  // namespace pelodyn::testing
