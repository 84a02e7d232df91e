// The print commands of the desktop program: Print (the drawing page), Print
// Data (the data report) and the result report of the Failure Geometry
// window, each through the print dialog; their previews; and their export
// to PDF files.
//
// Every document is read whole before the dialog opens: a field that cannot
// be read shows its message, and no dialog, page or file follows. A
// cancelled print dialog shows "Data not printed.". The result report and
// the drawing page's critical surface describe the run that made the
// results (its theory and methods), not options changed since. The result
// report carries the notes of that run (stopped, a minimum on the grid's
// edge) in the window's words and says which surface it lists. Results the
// data no longer match are printed nowhere: the result report is refused
// with the out-of-date text and the drawing page shows the section alone.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <functional>

#include "reports/report_output.h"

class QAction;
class QPrinter;
class QWidget;

namespace pelodyn {

class ProjectDocument;
class Prompter;

class PrintCommands : public QObject {
  Q_OBJECT
 public:
  PrintCommands(ProjectDocument& document, Prompter& prompter, QObject* parent = nullptr);

  // Ties the commands to the actions `action` finds by name: MN_Print,
  // MN_PrintData, the submenu commands MN_PrintPreview and MN_ExportPdf and
  // their items MN_Preview_Drawing, MN_Preview_Data, MN_Preview_Result,
  // MN_ExportPdf_Drawing, MN_ExportPdf_Data, MN_ExportPdf_Result. Their
  // captions follow the language.
  void connectActions(const std::function<QAction*(const QString&)>& action);

  // The print dialog, then the document on the chosen printer.
  void print(PrintedDocument document);
  // The document's pages in the preview window.
  void preview(PrintedDocument document);
  // The document into a PDF file the save dialog names.
  void exportPdf(PrintedDocument document);

  // The clock of the reports' header (tests fix it).
  void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

 signals:
  void pdfExported(const QString& path);

 private:
  // Reads the document whole and returns what paints it on a printer set
  // up for it; empty when there is nothing to print (said to the user).
  std::function<void(QPrinter&)> prepare(PrintedDocument document);
  void retranslate();

  ProjectDocument& m_document;
  Prompter& m_prompter;
  std::function<QDateTime()> m_clock = [] { return QDateTime::currentDateTime(); };
  std::function<QAction*(const QString&)> m_action;
};

}  // namespace pelodyn
