// A prompter for the desktop benchmarks: every question answered OK (Discard
// for unsaved changes, No for partial results), no dialog opened, and
// messages written to standard error so that a refused run is seen.
#pragma once

#include <cstdio>

#include "ui/document/prompter.h"

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
};

}  // namespace pelodyn::bench
