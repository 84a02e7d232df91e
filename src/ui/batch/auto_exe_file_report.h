// The report window Form_Auto_Exe_File_Report: the summary of a batch from
// its fourth line on, in a fixed-pitch read-only view, and Save, which
// writes that text as a text file (code page 874, CR LF). The window shows
// and saves the text it was given; the summary file in the temporary
// folder, which another program may replace meanwhile, is not read again.
#pragma once

#include <QDialog>
#include <string>

#include "texts/captions.h"

class QPlainTextEdit;
class QPushButton;

namespace pelodyn {

class ProjectDocument;
class Prompter;

class AutoExeFileReport : public QDialog {
  Q_OBJECT
 public:
  // `summary`: the whole summary text (UTF-8, CR LF), as SummaryText gives it.
  AutoExeFileReport(ProjectDocument& document, Prompter& prompter, const std::string& summary,
                    QWidget* parent = nullptr);

  // The text shown and saved (UTF-8, CR LF).
  const std::string& reportText() const { return m_text; }
  // Asks for a file name and writes the report there; nothing when the
  // dialog is cancelled. The window stays open.
  void save();
  // How many times the window has put its captions in place (for the tests).
  int retranslateCount() const { return m_retranslateCount; }

 private:
  // Captions in the document's language; called when the language changes.
  void retranslate();
  QString text(UiText which) const;

  ProjectDocument& m_document;
  Prompter& m_prompter;
  std::string m_text;
  QPlainTextEdit* m_memo = nullptr;
  QPushButton* m_save = nullptr;
  QPushButton* m_cancel = nullptr;
  int m_retranslateCount = 0;
};

}  // namespace pelodyn
