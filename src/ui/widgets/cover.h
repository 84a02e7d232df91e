// A panel that stands in front of what it covers ("Water Line not
// Calculated" over the water-line grid): while it shows, the covered
// control is hidden and the cover takes its place.
#pragma once

#include <QLabel>

namespace pelodyn {

class Cover : public QLabel {
 public:
  Cover(const QString& name, QWidget* covered, QWidget* parent) : QLabel(parent), m_covered(covered) {
    setObjectName(name);
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("QLabel { color: #800000; font-weight: bold; background: #f0f0f0; }"));
  }
  void setVisible(bool visible) override {
    QLabel::setVisible(visible);
    if (m_covered) m_covered->setVisible(!visible);
  }

 private:
  QWidget* m_covered;
};

}  // namespace pelodyn
