#include "ui/print/print_commands.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QPrinter>
#include <filesystem>

#include "model/critical_surface.h"
#include "model/project.h"
#include "qt_text/utf8.h"
#include "texts/captions.h"
#include "texts/messages.h"
#include "ui/document/guard.h"
#include "ui/document/project_document.h"
#include "ui/document/prompter.h"
#include "ui/document/run_texts.h"

namespace pelodyn {
namespace {

struct DocumentNames {
  PrintedDocument document;
  const char* preview;
  const char* pdf;
  UiText item;
  const char* fileSuffix;
};

constexpr DocumentNames kDocuments[] = {
    {PrintedDocument::DrawingPage, "MN_Preview_Drawing", "MN_ExportPdf_Drawing", UiText::DrawingPageItem, "drawing"},
    {PrintedDocument::DataReport, "MN_Preview_Data", "MN_ExportPdf_Data", UiText::DataReportItem, "data"},
    {PrintedDocument::ResultReport, "MN_Preview_Result", "MN_ExportPdf_Result", UiText::ResultReportItem, "result"},
};

const DocumentNames& Names(PrintedDocument document) {
  for (const DocumentNames& d : kDocuments) {
    if (d.document == document) return d;
  }
  return kDocuments[0];
}

}  // namespace

PrintCommands::PrintCommands(ProjectDocument& document, Prompter& prompter, QObject* parent)
    : QObject(parent), m_document(document), m_prompter(prompter) {
  connect(&m_document.notifier(), &ProjectNotifier::languageChanged, this, GuardedSlot([this] { retranslate(); }));
}

void PrintCommands::connectActions(const std::function<QAction*(const QString&)>& action) {
  m_action = action;
  auto on = [&](const char* name, std::function<void()> slot) {
    QAction* a = action(QString::fromLatin1(name));
    connect(a, &QAction::triggered, this, GuardedSlot([slot = std::move(slot)](bool) { slot(); }));
  };
  on("MN_Print", [this] { print(PrintedDocument::DrawingPage); });
  on("MN_PrintData", [this] { print(PrintedDocument::DataReport); });
  for (const DocumentNames& d : kDocuments) {
    const PrintedDocument which = d.document;
    on(d.preview, [this, which] { preview(which); });
    on(d.pdf, [this, which] { exportPdf(which); });
  }
  retranslate();
}

void PrintCommands::retranslate() {
  if (!m_action) return;
  const std::uint8_t language = m_document.language();
  m_action(QStringLiteral("MN_PrintPreview"))->setText(Q(UiTextFor(language, UiText::PrintPreviewCaption)));
  m_action(QStringLiteral("MN_ExportPdf"))->setText(Q(UiTextFor(language, UiText::ExportPdfCaption)));
  for (const DocumentNames& d : kDocuments) {
    const QString item = Q(UiTextFor(language, d.item));
    m_action(QString::fromLatin1(d.preview))->setText(item);
    m_action(QString::fromLatin1(d.pdf))->setText(item + QStringLiteral("..."));
  }
}

std::function<void(QPrinter&)> PrintCommands::prepare(PrintedDocument document) {
  const Project& project = m_document.project();
  const AppSettings settings = project.settings;
  const QDateTime now = m_clock();
  const QLocale locale = QLocale::system();
  ReportStamp stamp;
  // The project's own file: a new project is "New Project.pdd", as the
  // window's title says.
  stamp.fileName = m_document.projectFileName().isEmpty() ? std::string("New Project.pdd")
                                                          : m_document.projectFileName().toStdString();
  stamp.time = locale.toString(now.time(), QLocale::ShortFormat).toStdString();
  stamp.date = locale.toString(now.date(), QLocale::ShortFormat).toStdString();

  ReportRunDescription run;
  run.theory = m_document.runTheory();
  run.selected = m_document.runMethods();
  run.minima = project.run.Minimum;
  run.language = m_document.language();
  run.notes = ResultFileNotes(m_document);
  run.shownSurface = ShownSurfaceText(m_document).toStdString();
  // Results of other data are printed nowhere: the drawing page shows the
  // section alone.
  const bool current = m_document.resultsCurrent();
  // The surface presented last, or the one the project analysed last.
  std::optional<CriticalSurface> surface;
  if (current && !m_document.presentedSurfaces().empty()) {
    surface = m_document.presentedSurfaces().back();
  } else if (current && !project.slices.BoundaryX.empty()) {
    surface.emplace();
    TakeSurfaceGeometry(project.slices, *surface);
    surface->centerX = project.model.CenterX;
    surface->centerY = project.model.CenterY;
  }

  switch (document) {
    case PrintedDocument::DataReport: {
      auto model = std::make_shared<ReportModel>(BuildDataReport(project, stamp));
      return [model](QPrinter& printer) { PaintReport(printer, *model); };
    }
    case PrintedDocument::ResultReport: {
      if (!current) {
        m_prompter.information(QString(), Q(UiTextFor(m_document.language(), UiText::ResultsOutOfDate)));
        return {};
      }
      // The report lists the surface the Failure Geometry window shows.
      if (surface) m_document.recordCriticalSurface();
      if (project.store->rowCount(Table::Failure_Geometry) == 0) {
        m_prompter.information(QString(), Q(UiTextFor(m_document.language(), UiText::NoResultsToReport)));
        return {};
      }
      auto model = std::make_shared<ReportModel>(BuildResultReport(*project.store, run, stamp));
      return [model](QPrinter& printer) { PaintReport(printer, *model); };
    }
    case PrintedDocument::DrawingPage: {
      auto content = std::make_shared<DrawingPageContent>(
          ReadDrawingPage(project, surface ? std::optional(run) : std::nullopt, surface ? &*surface : nullptr));
      return [content, settings](QPrinter& printer) { PaintDrawingPage(printer, *content, settings); };
    }
  }
  return {};
}

void PrintCommands::print(PrintedDocument document) {
  const std::function<void(QPrinter&)> paint = prepare(document);
  if (!paint) return;
  const std::uint8_t language = m_document.language();
  QPrinter printer(QPrinter::HighResolution);
  SetUpPage(printer, m_document.project().settings, document);
  printer.setDocName(Q(UiTextFor(language, Names(document).item)));
  if (!m_prompter.choosePrinter(printer, Q(UiTextFor(language, UiText::PrintCaption)))) {
    m_prompter.information(QString(), Q(UiTextFor(language, UiText::DataNotPrinted)));
    return;
  }
  paint(printer);
  // Printed to a PDF file: its Thai text is made searchable too.
  if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
    MendPdfTextMaps(std::filesystem::path(printer.outputFileName().toStdString()));
  }
}

void PrintCommands::preview(PrintedDocument document) {
  const std::function<void(QPrinter&)> paint = prepare(document);
  if (!paint) return;
  const std::uint8_t language = m_document.language();
  QPrinter printer(QPrinter::HighResolution);
  SetUpPage(printer, m_document.project().settings, document);
  m_prompter.showPrintPreview(printer,
                              Q(UiTextFor(language, UiText::PrintPreviewCaption)) + QStringLiteral(" - ") +
                                  Q(UiTextFor(language, Names(document).item)),
                              paint);
}

void PrintCommands::exportPdf(PrintedDocument document) {
  const std::function<void(QPrinter&)> paint = prepare(document);
  if (!paint) return;
  const std::uint8_t language = m_document.language();
  const QString file = m_document.projectFilePath();
  const QString base = file.isEmpty() ? QStringLiteral("New Project") : QFileInfo(file).completeBaseName();
  const QString folder = file.isEmpty() ? QString() : QFileInfo(file).absolutePath();
  const QString initial =
      QDir(folder).filePath(base + QLatin1Char('-') + QString::fromLatin1(Names(document).fileSuffix) + ".pdf");
  const auto target =
      m_prompter.saveFileName(Q(UiTextFor(language, UiText::ExportPdfCaption)),
                              {Q(UiTextFor(language, UiText::PdfFilter))}, initial, QStringLiteral("pdf"));
  if (!target) return;
  {
    QPrinter printer(QPrinter::HighResolution);
    MakePdfPrinter(printer, target->path);
    SetUpPage(printer, m_document.project().settings, document);
    paint(printer);
  }
  MendPdfTextMaps(std::filesystem::path(target->path.toStdString()));
  emit pdfExported(target->path);
}

}  // namespace pelodyn
