// Questions, messages and file dialogs of the desktop program go through this
// small interface, so that tests answer them without a modal loop. The
// desktop program uses QtPrompter; every text arrives in its final language.
#pragma once

#include <QColor>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QPrinter;
class QWidget;

namespace pelodyn {

enum class SaveChoice { Save, Discard, Cancel };

struct SaveTarget {
  QString path;
  int filterIndex = 0;  // 0-based index of the chosen filter
};

class Prompter {
 public:
  virtual ~Prompter() = default;
  virtual void information(const QString& caption, const QString& text) = 0;
  virtual void error(const QString& caption, const QString& text) = 0;
  // OK/Cancel with the exclamation icon; true for OK.
  virtual bool askOkCancel(const QString& caption, const QString& text) = 0;
  virtual SaveChoice askSaveDiscardCancel(const QString& caption, const QString& text) = 0;
  // Yes/No with the question icon; No is the default answer. True for Yes.
  virtual bool askYesNo(const QString& caption, const QString& text) = 0;
  // The chosen file, or nothing when the dialog was cancelled. The dialog
  // opens in `directory` (empty: the platform's choice).
  virtual std::optional<QString> openFileName(const QString& caption, const QStringList& filters,
                                              const QString& directory) = 0;
  // The platform's folder dialog, opened on `directory`: the chosen folder,
  // or nothing when it was cancelled (the default, for a prompter without
  // one).
  virtual std::optional<QString> chooseFolder(const QString& caption, const QString& directory) {
    (void)caption;
    (void)directory;
    return std::nullopt;
  }
  // The chosen file and filter; a name typed without an ending gets
  // `defaultSuffix`. `initialName` may be a bare name or a path.
  virtual std::optional<SaveTarget> saveFileName(const QString& caption, const QStringList& filters,
                                                 const QString& initialName, const QString& defaultSuffix) = 0;
  // Width and height in pixels, or nothing when cancelled.
  virtual std::optional<QSize> askPictureSize(const QString& caption, const QString& widthLabel,
                                              const QString& heightLabel, QSize initial) = 0;
  // The colour dialog; the chosen colour, or nothing when cancelled.
  virtual std::optional<QColor> chooseColor(const QString& caption, QColor initial) = 0;
  // The print dialog over `printer`: true when the user confirmed, the
  // printer then set to the chosen device and options; false when cancelled.
  virtual bool choosePrinter(QPrinter& printer, const QString& caption) = 0;
  // The print preview of `printer`'s pages; `paint` draws them onto the
  // printer it is given whenever the preview needs them.
  virtual void showPrintPreview(QPrinter& printer, const QString& caption,
                                const std::function<void(QPrinter&)>& paint) = 0;
};

// Message boxes and file dialogs over `parent`.
class QtPrompter final : public Prompter {
 public:
  explicit QtPrompter(QWidget* parent) : m_parent(parent) {}
  void setParentWidget(QWidget* parent) { m_parent = parent; }
  // Asked at each box: true names the standard buttons in Thai.
  void setThai(std::function<bool()> thai) { m_thai = std::move(thai); }
  void information(const QString& caption, const QString& text) override;
  void error(const QString& caption, const QString& text) override;
  bool askOkCancel(const QString& caption, const QString& text) override;
  SaveChoice askSaveDiscardCancel(const QString& caption, const QString& text) override;
  bool askYesNo(const QString& caption, const QString& text) override;
  std::optional<QString> openFileName(const QString& caption, const QStringList& filters,
                                      const QString& directory) override;
  std::optional<QString> chooseFolder(const QString& caption, const QString& directory) override;
  std::optional<SaveTarget> saveFileName(const QString& caption, const QStringList& filters, const QString& initialName,
                                         const QString& defaultSuffix) override;
  std::optional<QSize> askPictureSize(const QString& caption, const QString& widthLabel, const QString& heightLabel,
                                      QSize initial) override;
  std::optional<QColor> chooseColor(const QString& caption, QColor initial) override;
  bool choosePrinter(QPrinter& printer, const QString& caption) override;
  void showPrintPreview(QPrinter& printer, const QString& caption,
                        const std::function<void(QPrinter&)>& paint) override;

 private:
  int show(int icon, const QString& caption, const QString& text, int buttons, int defaultButton);

  QWidget* m_parent;
  std::function<bool()> m_thai;
};

// The caption of the program's message boxes.
inline QString ProgramTitle() {
  return QStringLiteral("Pelodyn 2.1");
}

// The title a message box shows for `caption`: the caption itself, or the
// program's title when the caption is empty.
QString BoxTitle(const QString& caption);

// A stored text whose line breaks are written as carriage returns, ready for
// a message box.
QString MessageBoxText(std::string_view text);

}  // namespace pelodyn
