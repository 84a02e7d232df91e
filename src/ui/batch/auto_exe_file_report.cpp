#include "ui/batch/auto_exe_file_report.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "batch/batch.h"
#include "texts/captions.h"
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
  connect(m_cancel, &QPushButton::clicked, this, GuardedSlot([this](bool) { reject(); }));
  connect(&document.notifier(), &ProjectNotifier::languageChanged, this, GuardedSlot([this] { retranslate(); }));
  retranslate();
  // The table is 123 characters wide.
  const int width = QFontMetrics(font).horizontalAdvance(QString(125, QLatin1Char('0')));
  resize(width + 60, 420);
}

void AutoExeFileReport::save() {
  const std::optional<SaveTarget> target = m_prompter.saveFileName(windowTitle(), {text(UiText::TextDocumentFilter)},
                                                                   QStringLiteral("New Report"), QStringLiteral("txt"));
  if (!target) return;
  WriteSummaryText(target->path.toStdString(), m_text);
}

QString AutoExeFileReport::text(UiText which) const {
  const std::string_view t = UiTextFor(m_document.language(), which);
  return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

void AutoExeFileReport::retranslate() {
  ++m_retranslateCount;
  setWindowTitle(text(UiText::BatchReportCaption));
  m_save->setText(text(UiText::BatchReportSave));
  m_cancel->setText(text(UiText::BatchReportClose));
}

}  // namespace pelodyn
