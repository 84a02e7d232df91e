#include "ui/document/guard.h"

#include <QString>
#include <cstdio>
#include <stdexcept>

namespace pelodyn {

namespace {
Prompter* g_prompter = nullptr;
}  // namespace

void SetErrorPrompter(Prompter* prompter) {
  g_prompter = prompter;
}

void ReportException(const std::exception_ptr& error) {
  QString message;
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    message = QString::fromUtf8(e.what());
  } catch (...) {
    message = QStringLiteral("An unexpected error occurred.");
  }
  message.replace(QChar('\r'), QChar('\n'));
  if (g_prompter) {
    g_prompter->error(QStringLiteral("Pelodyn 2.1"), message);
  } else {
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
  }
}

}  // namespace pelodyn
