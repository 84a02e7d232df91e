#include "view/picture_export.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string>

#include "view/display_list.h"
#include "view/section_painter.h"
#include "view/section_view.h"

namespace pelodyn {
namespace {

enum class PictureFormat { Png, Svg, Pdf };

PictureFormat FormatOf(const std::filesystem::path& out) {
  std::string suffix = out.extension().string();
  std::transform(suffix.begin(), suffix.end(), suffix.begin(), [](unsigned char c) { return std::tolower(c); });
  if (suffix == ".png") return PictureFormat::Png;
  if (suffix == ".svg") return PictureFormat::Svg;
  if (suffix == ".pdf") return PictureFormat::Pdf;
  throw std::runtime_error("Cannot export a picture as \"" + out.filename().string() +
                           "\": the file name must end in .png, .svg or .pdf");
}

// The view of the project fitted into `size`, as a transform and the part
// of its image that fills the picture.
struct Framing {
  DrawingSettings drawing;
  ViewTransform transform;
  QRect visible;
};

Framing Frame(Project& project, QSize size) {
  Framing f;
  f.drawing = project.drawing;
  int pixelsPerUnit = std::max(project.drawing.GridSize, 1);
  if (const std::optional<FitBox> box = ReadFitBox(project)) {
    const SectionView::Fit fit =
        SectionView::ComputeFit(box->xmin, box->xmax, box->ymin, box->ymax, size.width(), size.height());
    f.drawing.WorkAreaXmin = fit.xmin;
    f.drawing.WorkAreaXmax = fit.xmax;
    f.drawing.WorkAreaYmin = fit.ymin;
    f.drawing.WorkAreaYmax = fit.ymax;
    pixelsPerUnit = fit.pixelsPerUnit;
  }
  f.transform = MakeViewTransform(f.drawing, pixelsPerUnit);
  // Centre the picture on the image; what lies beyond the image is white.
  f.visible = QRect((f.transform.ImageWidth - size.width()) / 2, (f.transform.ImageHeight - size.height()) / 2,
                    size.width(), size.height());
  return f;
}

void Paint(QPainter& painter, Project& project, const ViewOptions& options, const Framing& f) {
  // Only the work area and the zoom differ from the window's view, and
  // items and scene depend on neither: the project's settings stay as they are.
  DisplayList list;
  RebuildDisplayList(project, f.transform, list);
  const SectionScene scene = ReadSectionScene(project, options);
  painter.translate(-f.visible.topLeft());
  PaintSceneBase(painter, scene, f.transform, options, f.visible);
  PaintSceneOverlays(painter, scene, f.transform, options, list, f.visible);
}

QByteArray Render(Project& project, const ViewOptions& options, QSize size, PictureFormat format,
                  const std::filesystem::path& out) {
  const Framing f = Frame(project, size);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  switch (format) {
    case PictureFormat::Png: {
      QImage image(size, QImage::Format_RGB32);
      image.fill(Qt::white);
      {
        QPainter painter(&image);
        Paint(painter, project, options, f);
      }
      if (!image.save(&buffer, "PNG")) throw std::runtime_error("Cannot encode the picture as PNG");
      break;
    }
    case PictureFormat::Svg: {
      QSvgGenerator svg;
      svg.setOutputDevice(&buffer);
      svg.setSize(size);
      svg.setViewBox(QRect(QPoint(0, 0), size));
      svg.setTitle(QString::fromStdString(out.stem().string()));
      QPainter painter(&svg);
      Paint(painter, project, options, f);
      break;
    }
    case PictureFormat::Pdf: {
      QPdfWriter pdf(&buffer);
      // One point per pixel: the page is the picture.
      pdf.setResolution(72);
      pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(size), QPageSize::Point), QPageLayout::Portrait, QMarginsF()));
      QPainter painter(&pdf);
      Paint(painter, project, options, f);
      break;
    }
  }
  buffer.close();
  return bytes;
}

}  // namespace

void ExportPicture(Project& project, const ViewOptions& options, const std::filesystem::path& out, QSize size) {
  const PictureFormat format = FormatOf(out);
  if (size.width() <= 0 || size.height() <= 0) {
    throw std::runtime_error("Cannot export a picture of " + std::to_string(size.width()) + " x " +
                             std::to_string(size.height()) + " pixels");
  }
  const QByteArray bytes = Render(project, options, size, format, out);
  const QString name = QString::fromStdString(out.string());
  // QSaveFile writes beside the target and renames over it on commit, so a
  // failed export leaves the old file as it was.
  QSaveFile file(name);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    throw std::runtime_error("Cannot write \"" + out.string() + "\": " + file.errorString().toStdString());
  }
}

}  // namespace pelodyn
