// The About dialog and the start-up splash window.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QWidget>
#include <cstdint>

namespace pelodyn {

class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  // Caption "About " + title, in the user's language (AboutCaptionPrefix).
  AboutDialog(std::uint8_t language, const QString& programTitle, QWidget* parent = nullptr);
};

// SplashForm: no border, centred, with the version and the loading step.
class SplashForm : public QWidget {
  Q_OBJECT
 public:
  SplashForm();
  // "Loading " + step, repainted at once.
  void showStep(const QString& step);
  QLabel* loadedLabel() const { return m_loaded; }

 private:
  QLabel* m_loaded;
};

}  // namespace pelodyn
