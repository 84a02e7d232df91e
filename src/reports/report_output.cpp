#include "reports/report_output.h"
#include "qt_text/utf8.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

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

namespace {

// The Thai letter each private-use code of the Thai fonts shows: U+F700 to
// U+F71A in order (letters without their descender, upper vowels and tone
// marks shifted left, tone marks lowered, lower vowels lowered).
constexpr char16_t kThaiPrivateUse[] = {0x0E10, 0x0E34, 0x0E35, 0x0E36, 0x0E37, 0x0E48, 0x0E49, 0x0E4A, 0x0E4B,
                                        0x0E4C, 0x0E48, 0x0E49, 0x0E4A, 0x0E4B, 0x0E4C, 0x0E0D, 0x0E31, 0x0E4D,
                                        0x0E47, 0x0E48, 0x0E49, 0x0E4A, 0x0E4B, 0x0E4C, 0x0E38, 0x0E39, 0x0E3A};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Mends the codes "<F7xx>" between `from` and `to`; the count mended.
int MendTextMap(std::string& bytes, std::size_t from, std::size_t to) {
  static const char kHex[] = "0123456789ABCDEF";
  int mended = 0;
  for (std::size_t k = from; k + 6 <= to; ++k) {
    if (bytes[k] != '<' || bytes[k + 5] != '>') continue;
    int code = 0;
    bool hex = true;
    for (std::size_t d = 1; d <= 4 && hex; ++d) {
      const int v = HexDigit(bytes[k + d]);
      hex = v >= 0;
      code = code * 16 + v;
    }
    if (!hex || code < 0xF700 || code >= 0xF700 + static_cast<int>(std::size(kThaiPrivateUse))) continue;
    const int letter = kThaiPrivateUse[code - 0xF700];
    for (int d = 4; d >= 1; --d) bytes[k + static_cast<std::size_t>(d)] = kHex[(letter >> (4 * (4 - d))) & 0xF];
    ++mended;
  }
  return mended;
}

}  // namespace

void MendPdfTextMaps(const std::filesystem::path& path) {
  std::string bytes;
  {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("Cannot read " + path.string());
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  int mended = 0;
  // Only inside the text maps: the pages' own streams are left alone.
  for (std::size_t at = bytes.find("begincmap"); at != std::string::npos; at = bytes.find("begincmap", at)) {
    const std::size_t end = bytes.find("endcmap", at);
    if (end == std::string::npos) break;
    mended += MendTextMap(bytes, at, end);
    at = end;
  }
  if (mended == 0) return;
  // Written beside the file and renamed over it, so a failure keeps it.
  std::filesystem::path temporary = path;
  temporary += ".mending";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      throw std::runtime_error("Cannot write " + temporary.string());
    }
  }
  std::filesystem::rename(temporary, path);
}

void ExportReportPdf(const std::filesystem::path& path, const ReportModel& model, const AppSettings& settings,
                     PrintedDocument document) {
  {
    QPrinter printer(QPrinter::HighResolution);
    MakePdfPrinter(printer, QString::fromStdString(path.string()));
    SetUpPage(printer, settings, document);
    PaintReport(printer, model);
  }
  MendPdfTextMaps(path);
}

void ExportDrawingPagePdf(const std::filesystem::path& path, const DrawingPageContent& content,
                          const AppSettings& settings) {
  {
    QPrinter printer(QPrinter::HighResolution);
    MakePdfPrinter(printer, QString::fromStdString(path.string()));
    SetUpPage(printer, settings, PrintedDocument::DrawingPage);
    PaintDrawingPage(printer, content, settings);
  }
  MendPdfTextMaps(path);
}

}  // namespace pelodyn
