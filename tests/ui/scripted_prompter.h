// A prompter that answers from a script and records what it was shown.
#pragma once

#include <QPrinter>
#include <deque>
#include <string>
#include <vector>

#include "ui/document/prompter.h"

namespace pelodyn::test {

class ScriptedPrompter : public Prompter {
 public:
  struct Shown {
    std::string kind;  // "information", "error", "question"
    QString caption, text;
  };

  std::vector<Shown> shown;
  std::deque<bool> okAnswers;                      // askOkCancel; OK when empty
  std::deque<SaveChoice> saveAnswers;              // askSaveDiscardCancel
  std::deque<std::optional<QString>> openAnswers;  // open dialog
  std::deque<std::optional<SaveTarget>> saveTargets;
  std::deque<bool> yesAnswers;  // askYesNo; No when empty
  // The folders and names the file dialogs were opened with.
  std::vector<QString> dialogFolders;
  std::optional<QSize> pictureSize = QSize(400, 300);

  void information(const QString& caption, const QString& text) override {
    shown.push_back({"information", caption, text});
  }
  void error(const QString& caption, const QString& text) override { shown.push_back({"error", caption, text}); }
  bool askOkCancel(const QString& caption, const QString& text) override {
    shown.push_back({"question", caption, text});
    if (okAnswers.empty()) return true;
    const bool answer = okAnswers.front();
    okAnswers.pop_front();
    return answer;
  }
  SaveChoice askSaveDiscardCancel(const QString& caption, const QString& text) override {
    shown.push_back({"question", caption, text});
    if (saveAnswers.empty()) return SaveChoice::Cancel;
    const SaveChoice answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
  }
  bool askYesNo(const QString& caption, const QString& text) override {
    shown.push_back({"question", caption, text});
    if (yesAnswers.empty()) return false;
    const bool answer = yesAnswers.front();
    yesAnswers.pop_front();
    return answer;
  }
  std::optional<QString> openFileName(const QString&, const QStringList&, const QString& directory) override {
    dialogFolders.push_back(directory);
    std::optional<QString> answer;
    if (!openAnswers.empty()) {
      answer.swap(openAnswers.front());
      openAnswers.pop_front();
    }
    return answer;
  }
  std::deque<std::optional<QString>> folderAnswers;  // folder dialog; cancelled when empty
  std::optional<QString> chooseFolder(const QString&, const QString& directory) override {
    dialogFolders.push_back(directory);
    std::optional<QString> answer;
    if (!folderAnswers.empty()) {
      answer.swap(folderAnswers.front());
      folderAnswers.pop_front();
    }
    return answer;
  }
  std::optional<SaveTarget> saveFileName(const QString&, const QStringList&, const QString& initial,
                                         const QString&) override {
    dialogFolders.push_back(initial);
    std::optional<SaveTarget> answer;
    if (!saveTargets.empty()) {
      answer.swap(saveTargets.front());
      saveTargets.pop_front();
    }
    return answer;
  }
  std::optional<QSize> askPictureSize(const QString&, const QString&, const QString&, QSize) override {
    return pictureSize;
  }
  std::deque<std::optional<QColor>> colorAnswers;  // colour dialog; cancelled when empty
  std::optional<QColor> chooseColor(const QString& caption, QColor) override {
    shown.push_back({"color", caption, QString()});
    std::optional<QColor> answer;
    if (!colorAnswers.empty()) {
      answer = colorAnswers.front();
      colorAnswers.pop_front();
    }
    return answer;
  }

  // The print dialog: each answer is the PDF file the chosen "printer"
  // writes, or nothing for Cancel; cancelled when empty.
  std::deque<std::optional<QString>> printAnswers;
  bool choosePrinter(QPrinter& printer, const QString& caption) override {
    shown.push_back({"print", caption, QString()});
    std::optional<QString> answer;
    if (!printAnswers.empty()) {
      answer.swap(printAnswers.front());
      printAnswers.pop_front();
    }
    if (!answer) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(*answer);
    return true;
  }
  // The preview paints its pages into this PDF file when set.
  std::optional<QString> previewFile;
  void showPrintPreview(QPrinter& printer, const QString& caption,
                        const std::function<void(QPrinter&)>& paint) override {
    shown.push_back({"preview", caption, QString()});
    if (!previewFile) return;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(*previewFile);
    paint(printer);
  }

  bool sawText(const QString& text) const {
    for (const Shown& s : shown) {
      if (s.text.contains(text)) return true;
    }
    return false;
  }
  int count(const std::string& kind) const {
    int n = 0;
    for (const Shown& s : shown) n += s.kind == kind;
    return n;
  }
};

}  // namespace pelodyn::test
