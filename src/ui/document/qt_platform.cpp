#include "ui/document/qt_platform.h"

namespace pelodyn {

namespace {
QString CaptionOr(std::string_view caption) {
  return caption.empty() ? QStringLiteral("Pelodyn 2.1") : MessageBoxText(caption);
}
}  // namespace

void QtPlatform::showMessage(MessageKind kind, std::string_view caption, std::string_view text) {
  if (kind == MessageKind::Error) {
    m_prompter.error(CaptionOr(caption), MessageBoxText(text));
  } else {
    m_prompter.information(CaptionOr(caption), MessageBoxText(text));
  }
}

bool QtPlatform::askOkCancel(std::string_view caption, std::string_view text) {
  return m_prompter.askOkCancel(CaptionOr(caption), MessageBoxText(text));
}

}  // namespace pelodyn
