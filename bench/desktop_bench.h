// What the desktop benchmarks share: a prompter that answers every question
// (OK, Discard for unsaved changes, No for partial results) without a dialog
// and writes messages to standard error so that a refused run is seen, and
// the main window shown offscreen with an example open.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>

#include "ui/document/project_document.h"
#include "ui/document/prompter.h"
#include "ui/shell/main_window.h"

namespace pelodyn::bench {

class QuietPrompter : public Prompter {
 public:
  void information(const QString&, const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
  void error(const QString&, const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
  bool askOkCancel(const QString&, const QString&) override { return true; }
  SaveChoice askSaveDiscardCancel(const QString&, const QString&) override { return SaveChoice::Discard; }
  bool askYesNo(const QString&, const QString&) override { return false; }
  std::optional<QString> openFileName(const QString&, const QStringList&, const QString&) override {
    return std::nullopt;
  }
  std::optional<SaveTarget> saveFileName(const QString&, const QStringList&, const QString&, const QString&) override {
    return std::nullopt;
  }
  std::optional<QSize> askPictureSize(const QString&, const QString&, const QString&, QSize) override {
    return std::nullopt;
  }
  std::optional<QColor> chooseColor(const QString&, QColor) override { return std::nullopt; }
  bool choosePrinter(QPrinter&, const QString&) override { return false; }
  void showPrintPreview(QPrinter&, const QString&, const std::function<void(QPrinter&)>&) override {}
};

// The window of a benchmark, 1400 x 900, with `example` open. Create it after
// the QApplication.
struct BenchWindow {
  explicit BenchWindow(const std::filesystem::path& example)
      : document(ProjectDocument::openPrivate()), window(*document, prompter) {
    window.resize(1400, 900);
    window.show();
    window.fileCommands().openPath(QString::fromStdString(example.string()));
  }
  QuietPrompter prompter;
  std::unique_ptr<ProjectDocument> document;
  MainWindow window;
};

}  // namespace pelodyn::bench
