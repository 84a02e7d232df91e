#include "reports/report_output.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <stdexcept>

namespace pelodyn {
namespace {

QFont RunFont(RunStyle style) {
  QFont font(PageFaceFamily(PageFace::Mono));
  font.setStyleHint(QFont::Monospace);
  font.setPointSizeF(style == RunStyle::Title ? 14.0 : style == RunStyle::Tag ? 32.0 : 11.0);
  font.setBold(style == RunStyle::Bold || style == RunStyle::Tag);
  font.setUnderline(style == RunStyle::Underline);
  return font;
}

QString Q(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// Why `path` cannot be written, in the system's words: QPrinter keeps the
// reason to itself, so the file is opened once more to ask. A file the probe
// creates is removed again.
QString WriteFailure(const QString& path) {
  const bool existed = QFileInfo::exists(path);
  QFile probe(path);
  if (!probe.open(QIODevice::WriteOnly | QIODevice::Append)) return probe.errorString();
  probe.close();
  if (!existed) probe.remove();
  return QStringLiteral("the PDF writer refused the file");
}

void Begin(QPainter& painter, QPagedPaintDevice& device) {
  if (!painter.begin(&device)) {
    const auto* printer = dynamic_cast<QPrinter*>(&device);
    const QString file = printer ? printer->outputFileName() : QString();
    if (file.isEmpty()) throw std::runtime_error("The printer cannot be used.");
    throw std::runtime_error("Cannot write " + file.toStdString() + ": " + WriteFailure(file).toStdString());
  }
}

}  // namespace

void SetUpPage(QPagedPaintDevice& device, const AppSettings& settings, PrintedDocument document) {
  const double border = document == PrintedDocument::DrawingPage ? 0.0 : 6.0;
  device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                   settings.PageLandscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                   QMarginsF(border, border, border, border), QPageLayout::Millimeter));
}

void PaintReport(QPagedPaintDevice& device, const ReportModel& model) {
  QPainter painter;
  Begin(painter, device);
  const int pageHeight = painter.device()->height();
  const QFont body = RunFont(RunStyle::Body);
  int y = 0;
  for (const ReportLine& line : model.lines) {
    // The line advances by its last run's font; it must fit with its
    // tallest run.
    int tallest = QFontMetrics(body, painter.device()).height();
    int advance = tallest;
    for (const ReportRun& run : line.runs) {
      const int h = QFontMetrics(RunFont(run.style), painter.device()).height();
      tallest = std::max(tallest, h);
      advance = h;
    }
    if (y > 0 && y + tallest > pageHeight) {
      device.newPage();
      y = 0;
    }
    int x = 0;
    for (const ReportRun& run : line.runs) {
      const QFont font = RunFont(run.style);
      painter.setFont(font);
      const QFontMetrics metrics(font, painter.device());
      const QString text = Q(run.text);
      painter.drawText(QPoint(x, y + metrics.ascent()), text);
      x += metrics.horizontalAdvance(text);
    }
    y += advance;
  }
  painter.end();
}

void PaintDrawingPage(QPagedPaintDevice& device, const DrawingPageContent& content, const AppSettings& settings) {
  QPainter painter;
  Begin(painter, device);
  painter.setRenderHint(QPainter::Antialiasing, true);
  PainterCanvas canvas(painter, QSize(painter.device()->width(), painter.device()->height()),
                       painter.device()->logicalDpiX());
  PaintDrawingPage(canvas, content, settings);
  painter.end();
}

void MakePdfPrinter(QPrinter& printer, const QString& path) {
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  printer.setCreator(QStringLiteral("Pelodyn 2.1"));
}

void ExportReportPdf(const std::filesystem::path& path, const ReportModel& model, const AppSettings& settings,
                     PrintedDocument document) {
  QPrinter printer(QPrinter::HighResolution);
  MakePdfPrinter(printer, QString::fromStdString(path.string()));
  SetUpPage(printer, settings, document);
  PaintReport(printer, model);
}

void ExportDrawingPagePdf(const std::filesystem::path& path, const DrawingPageContent& content,
                          const AppSettings& settings) {
  QPrinter printer(QPrinter::HighResolution);
  MakePdfPrinter(printer, QString::fromStdString(path.string()));
  SetUpPage(printer, settings, PrintedDocument::DrawingPage);
  PaintDrawingPage(printer, content, settings);
}

}  // namespace pelodyn
