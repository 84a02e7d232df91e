#include "ui/shell/about_dialog.h"

#include <QFont>
#include <QPushButton>
#include <QVBoxLayout>

#include "texts/captions.h"
#include "texts/messages.h"

namespace pelodyn {

namespace {

QLabel* TitleLabel(const QString& text, QWidget* parent) {
  auto* title = new QLabel(text, parent);
  QFont f = title->font();
  f.setPointSize(f.pointSize() + 10);
  f.setBold(true);
  title->setFont(f);
  title->setStyleSheet(QStringLiteral("color: #1b4f72;"));
  title->setAlignment(Qt::AlignCenter);
  return title;
}

}  // namespace

AboutDialog::AboutDialog(std::uint8_t language, const QString& programTitle, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutBox"));
  const std::string_view prefix = UiTextFor(language, UiText::AboutCaptionPrefix);
  setWindowTitle(QString::fromUtf8(prefix.data(), static_cast<qsizetype>(prefix.size())) + programTitle);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(TitleLabel(QStringLiteral("Pelodyn"), this));
  auto* version = new QLabel(QStringLiteral("Version 2.1"), this);
  version->setObjectName(QStringLiteral("L_Version"));
  version->setAlignment(Qt::AlignCenter);
  layout->addWidget(version);
  const std::string_view description = UiTextFor(language, UiText::AboutDescription);
  auto* credits = new QLabel(QString::fromUtf8(description.data(), static_cast<qsizetype>(description.size())), this);
  credits->setObjectName(QStringLiteral("L_Credits"));
  credits->setAlignment(Qt::AlignCenter);
  layout->addWidget(credits);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("B_About_OK"));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok, 0, Qt::AlignCenter);
}

SplashForm::SplashForm() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("SplashForm"));
  setStyleSheet(QStringLiteral("QWidget#SplashForm { background: white; border: 1px solid #1b4f72; }"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(30, 24, 30, 16);
  layout->addWidget(TitleLabel(QStringLiteral("Pelodyn"), this));
  auto* version = new QLabel(QStringLiteral("Version 2.1"), this);
  version->setObjectName(QStringLiteral("L_Version"));
  version->setAlignment(Qt::AlignCenter);
  layout->addWidget(version);
  m_loaded = new QLabel(QStringLiteral("Loading ..."), this);
  m_loaded->setObjectName(QStringLiteral("L_Loaded"));
  layout->addWidget(m_loaded);
  resize(380, 180);
}

void SplashForm::showStep(const QString& step) {
  m_loaded->setText(QStringLiteral("Loading ") + step);
  m_loaded->repaint();
}

}  // namespace pelodyn
