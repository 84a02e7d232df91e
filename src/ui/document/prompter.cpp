#include "ui/document/prompter.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSpinBox>

#include "texts/captions.h"
#include "texts/messages.h"
#include "ui/document/guard.h"

namespace pelodyn {

QString MessageBoxText(std::string_view text) {
  QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QChar('\r'), QChar('\n'));
  return s;
}

namespace {

// The standard buttons in the language of the program.
void NameButtons(QMessageBox& box, bool thai) {
  if (!thai) return;
  const std::pair<QMessageBox::StandardButton, UiText> names[] = {
      {QMessageBox::Ok, UiText::ButtonOk},     {QMessageBox::Cancel, UiText::ButtonCancel},
      {QMessageBox::Save, UiText::ButtonSave}, {QMessageBox::Discard, UiText::ButtonDiscard},
      {QMessageBox::Yes, UiText::ButtonYes},   {QMessageBox::No, UiText::ButtonNo}};
  for (const auto& [which, text] : names) {
    const std::string_view name = UiTextFor(kLanguageThai, text);
    if (QAbstractButton* b = box.button(which)) {
      b->setText(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
  }
}

}  // namespace

QString BoxTitle(const QString& caption) {
  // A box without a title of its own would show the window manager's
  // "Untitled"; it bears the program's name instead.
  return caption.trimmed().isEmpty() ? ProgramTitle() : caption;
}

int QtPrompter::show(int icon, const QString& caption, const QString& text, int buttons, int defaultButton) {
  QMessageBox box(static_cast<QMessageBox::Icon>(icon), BoxTitle(caption), text,
                  static_cast<QMessageBox::StandardButtons>(buttons), m_parent);
  box.setDefaultButton(static_cast<QMessageBox::StandardButton>(defaultButton));
  NameButtons(box, m_thai && m_thai());
  return box.exec();
}

void QtPrompter::information(const QString& caption, const QString& text) {
  show(QMessageBox::Information, caption, text, QMessageBox::Ok, QMessageBox::Ok);
}

void QtPrompter::error(const QString& caption, const QString& text) {
  show(QMessageBox::Critical, caption, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtPrompter::askOkCancel(const QString& caption, const QString& text) {
  return show(QMessageBox::Warning, caption, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) ==
         QMessageBox::Ok;
}

SaveChoice QtPrompter::askSaveDiscardCancel(const QString& caption, const QString& text) {
  const int answer = show(QMessageBox::Warning, caption, text,
                          QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
  if (answer == QMessageBox::Save) return SaveChoice::Save;
  if (answer == QMessageBox::Discard) return SaveChoice::Discard;
  return SaveChoice::Cancel;
}

bool QtPrompter::askYesNo(const QString& caption, const QString& text) {
  return show(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
         QMessageBox::Yes;
}

std::optional<QString> QtPrompter::openFileName(const QString& caption, const QStringList& filters,
                                                const QString& directory) {
  const QString path = QFileDialog::getOpenFileName(m_parent, caption, directory, filters.join(QStringLiteral(";;")));
  if (path.isEmpty()) return std::nullopt;
  return path;
}

std::optional<QString> QtPrompter::chooseFolder(const QString& caption, const QString& directory) {
  const QString path = QFileDialog::getExistingDirectory(m_parent, caption, directory);
  if (path.isEmpty()) return std::nullopt;
  return path;
}

std::optional<SaveTarget> QtPrompter::saveFileName(const QString& caption, const QStringList& filters,
                                                   const QString& initialName, const QString& defaultSuffix) {
  QFileDialog dialog(m_parent, caption, initialName);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(filters);
  dialog.setDefaultSuffix(defaultSuffix);
  // The replace question is the program's own, asked after the dialog.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  SaveTarget target;
  target.path = dialog.selectedFiles().front();
  target.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
  if (target.filterIndex < 0) target.filterIndex = 0;
  if (QFileInfo(target.path).suffix().isEmpty() && !defaultSuffix.isEmpty()) {
    target.path += QLatin1Char('.') + defaultSuffix;
  }
  return target;
}

std::optional<QSize> QtPrompter::askPictureSize(const QString& caption, const QString& widthLabel,
                                                const QString& heightLabel, QSize initial) {
  QDialog dialog(m_parent);
  dialog.setObjectName(QStringLiteral("Form_Export_Picture"));
  dialog.setWindowTitle(caption);
  auto* form = new QFormLayout(&dialog);
  auto* width = new QSpinBox(&dialog);
  width->setObjectName(QStringLiteral("E_Picture_Width"));
  width->setRange(16, 20000);
  width->setValue(initial.width());
  auto* height = new QSpinBox(&dialog);
  height->setObjectName(QStringLiteral("E_Picture_Height"));
  height->setRange(16, 20000);
  height->setValue(initial.height());
  form->addRow(widthLabel, width);
  form->addRow(heightLabel, height);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  form->addRow(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return QSize(width->value(), height->value());
}

std::optional<QColor> QtPrompter::chooseColor(const QString& caption, QColor initial) {
  const QColor chosen = QColorDialog::getColor(initial, m_parent, caption);
  if (!chosen.isValid()) return std::nullopt;
  return chosen;
}

bool QtPrompter::choosePrinter(QPrinter& printer, const QString& caption) {
  QPrintDialog dialog(&printer, m_parent);
  dialog.setWindowTitle(caption);
  return dialog.exec() == QDialog::Accepted;
}

void QtPrompter::showPrintPreview(QPrinter& printer, const QString& caption,
                                  const std::function<void(QPrinter&)>& paint) {
  QPrintPreviewDialog dialog(&printer, m_parent);
  dialog.setObjectName(QStringLiteral("Form_Print_Preview"));
  dialog.setWindowTitle(caption);
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                   [&paint](QPrinter* target) { Guarded([&] { paint(*target); }); });
  dialog.exec();
}

}  // namespace pelodyn
