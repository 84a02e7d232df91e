#include "ui/document/guard.h"

#include <QString>
#include <cstdio>
#include <stdexcept>

#include "model/numbers.h"
#include "texts/messages.h"

namespace pelodyn {

namespace {
Prompter* g_prompter = nullptr;
std::function<std::uint8_t()> g_language;
}  // namespace

void SetErrorPrompter(Prompter* prompter, std::function<std::uint8_t()> language) {
  g_prompter = prompter;
  g_language = std::move(language);
}

void ReportException(const std::exception_ptr& error) {
  QString message;
  try {
    std::rethrow_exception(error);
  } catch (const ConversionError& e) {
    // In the user's language, naming the field when the reader knew it.
    message = QString::fromStdString(e.message(g_language ? g_language() : kLanguageEnglish));
  } catch (const std::exception& e) {
    message = QString::fromUtf8(e.what());
  } catch (...) {
    message = QStringLiteral("An unexpected error occurred.");
  }
  message.replace(QChar('\r'), QChar('\n'));
  if (g_prompter) {
    g_prompter->error(ProgramTitle(), message);
  } else {
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
  }
}

}  // namespace pelodyn
