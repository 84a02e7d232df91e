#include "ui/batch/auto_exe_file_report.h"

#include <QEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "batch/batch.h"
#include "ui/document/guard.h"
#include "ui/document/project_document.h"
#include "ui/document/prompter.h"

namespace pelodyn {

AutoExeFileReport::AutoExeFileReport(ProjectDocument& document, Prompter& prompter, const std::string& summary,
                                     QWidget* parent)
    : QDialog(parent), m_document(document), m_prompter(prompter), m_text(SummaryReportText(summary)) {
  setObjectName(QStringLiteral("Form_Auto_Exe_File_Report"));
  auto* v = new QVBoxLayout(this);
  m_memo = new QPlainTextEdit(this);
  m_memo->setObjectName(QStringLiteral("M_Auto_Exe_File_Report"));
  m_memo->setReadOnly(true);
  m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  // A fixed-pitch font that also has Thai letters keeps a Thai project name
  // in its columns; the system's fixed font stands in where it is missing.
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setFamilies({QStringLiteral("Tlwg Mono"), font.family()});
  font.setStyleHint(QFont::Monospace);
  m_memo->setFont(font);
  QString shown = QString::fromStdString(m_text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  if (shown.endsWith(QLatin1Char('\n'))) shown.chop(1);
  m_memo->setPlainText(shown);
  v->addWidget(m_memo, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  m_save = new QPushButton(this);
  m_save->setObjectName(QStringLiteral("B_Save"));
  m_cancel = new QPushButton(this);
  m_cancel->setObjectName(QStringLiteral("B_Cancel"));
  buttons->addWidget(m_save);
  buttons->addWidget(m_cancel);
  v->addLayout(buttons);
  connect(m_save, &QPushButton::clicked, this, GuardedSlot([this](bool) { save(); }));
  connect(m_cancel, &QPushButton::clicked, this, [this] { reject(); });
  retranslate();
  // The table is 123 characters wide.
  const int width = QFontMetrics(font).horizontalAdvance(QString(125, QLatin1Char('0')));
  resize(width + 60, 420);
}

void AutoExeFileReport::save() {
  const bool thai = m_document.language() == 0;
  const std::optional<SaveTarget> target = m_prompter.saveFileName(
      windowTitle(), {thai ? QStringLiteral("เอกสารข้อความ (*.txt)") : QStringLiteral("Text Document (*.txt)")},
      QStringLiteral("New Report"), QStringLiteral("txt"));
  if (!target) return;
  WriteSummaryText(target->path.toStdString(), m_text);
}

void AutoExeFileReport::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) retranslate();
  QDialog::changeEvent(event);
}

void AutoExeFileReport::retranslate() {
  const bool thai = m_document.language() == 0;
  setWindowTitle(thai ? QStringLiteral("รายงานผลการคำนวณหลายไฟล์") : QStringLiteral("Automatic Execute File Report"));
  m_save->setText(thai ? QStringLiteral("บันทึก") : QStringLiteral("Save"));
  m_cancel->setText(thai ? QStringLiteral("ปิด") : QStringLiteral("Cancel"));
}

}  // namespace pelodyn
