// Putting the reports and the drawing page on paged devices: a printer the
// user chose, a PDF file, the pages of a preview. One paint path serves
// them all.
#pragma once

#include <QString>
#include <filesystem>

#include "model/app_settings.h"
#include "reports/drawing_page.h"
#include "reports/report_model.h"

class QPagedPaintDevice;
class QPrinter;

namespace pelodyn {

enum class PrintedDocument { DrawingPage, DataReport, ResultReport };

// The page of `document` on `device`: A4 in the Page Setup's orientation.
// The drawing page lays out its own margins and takes the whole sheet; the
// reports keep a narrow border and start at its corner.
void SetUpPage(QPagedPaintDevice& device, const AppSettings& settings, PrintedDocument document);

// Writes the report line by line from the top of the first page; a line
// that does not fit below the last one starts a new page. Raises
// std::runtime_error when the device cannot be painted on.
void PaintReport(QPagedPaintDevice& device, const ReportModel& model);

// Draws the page on `device` (set up with SetUpPage).
void PaintDrawingPage(QPagedPaintDevice& device, const DrawingPageContent& content, const AppSettings& settings);

// A printer that writes a PDF file to `path` at the printer's high
// resolution.
void MakePdfPrinter(QPrinter& printer, const QString& path);

// Makes the Thai text of a PDF file that Qt wrote searchable and copyable.
// Qt writes each embedded font's text map (its ToUnicode CMap) from the
// font's character map, and the Thai fonts reach the glyphs of marks in
// special places (a tone mark lowered over a letter without an upper vowel,
// a vowel shifted left of a tall letter) through codes of the private use
// area, U+F700 to U+F71A. Those glyphs then read as nothing. Each such code
// in the file's text maps becomes the Thai letter its glyph shows; the codes
// are just as long, so every offset in the file stays valid. A file that
// holds none is left untouched. Raises std::runtime_error when the file
// cannot be read or replaced.
void MendPdfTextMaps(const std::filesystem::path& path);

// The three documents written to PDF files; std::runtime_error when the file
// cannot be written.
void ExportReportPdf(const std::filesystem::path& path, const ReportModel& model, const AppSettings& settings,
                     PrintedDocument document);
void ExportDrawingPagePdf(const std::filesystem::path& path, const DrawingPageContent& content,
                          const AppSettings& settings);

}  // namespace pelodyn
