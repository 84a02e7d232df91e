#include "reports/page_canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

namespace pelodyn {

QString PageFaceFamily(PageFace face) {
  // Both come with the Thai fonts the install script sets up: a sans with
  // Latin and Thai letters, and the monospaced face whose Thai letters keep
  // the columns of the reports. Both place their marks so that a PDF reader
  // reads a line of Thai as one line: with Tlwg Typo or Tlwg Mono pdftotext
  // breaks a word at each mark, with Waree at a tone mark over an upper
  // vowel.
  return face == PageFace::Mono ? QStringLiteral("Tlwg Typist") : QStringLiteral("Umpush");
}

PainterCanvas::PainterCanvas(QPainter& painter, QSize pageSize, int resolution)
    : m_painter(painter), m_size(pageSize), m_resolution(resolution) {}

void PainterCanvas::setPen(const QColor& color, int width, Qt::PenStyle style) {
  QPen pen(color, width, style);
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  m_painter.setPen(pen);
}

void PainterCanvas::setBrush(const QColor& color, Qt::BrushStyle style) {
  QBrush brush(color, style);
  // A hatch is drawn in device pixels: scale it so that it shows at the
  // printer's resolution as it does on a 100-dpi screen.
  if (style != Qt::SolidPattern && style != Qt::NoBrush)
    brush.setTransform(QTransform::fromScale(m_resolution / 100.0, m_resolution / 100.0));
  m_painter.setBrush(brush);
}

void PainterCanvas::setFont(const PageFont& font) {
  QFont f(PageFaceFamily(font.face));
  f.setPointSizeF(font.points);
  f.setBold(font.bold);
  f.setStyleHint(font.face == PageFace::Mono ? QFont::Monospace : QFont::SansSerif);
  m_painter.setFont(f);
  m_textColor = font.color;
}

QSize PainterCanvas::textSize(const QString& text) const {
  const QFontMetrics metrics = m_painter.fontMetrics();
  return {metrics.horizontalAdvance(text), metrics.height()};
}

void PainterCanvas::drawLine(QPoint from, QPoint to) {
  m_painter.drawLine(from, to);
}

void PainterCanvas::drawPolyline(const QPolygon& points) {
  m_painter.drawPolyline(points);
}

void PainterCanvas::drawRect(const QRect& rect) {
  m_painter.drawRect(rect);
}

void PainterCanvas::drawPolygon(const QPolygon& points) {
  m_painter.drawPolygon(points);
}

void PainterCanvas::drawEllipse(const QRect& box) {
  m_painter.drawEllipse(box);
}

void PainterCanvas::drawText(QPoint topLeft, const QString& text) {
  const QPen pen = m_painter.pen();
  m_painter.setPen(m_textColor);
  m_painter.drawText(topLeft + QPoint(0, m_painter.fontMetrics().ascent()), text);
  m_painter.setPen(pen);
}

void PainterCanvas::drawTextUpwards(QPoint bottomLeft, const QString& text) {
  const QPen pen = m_painter.pen();
  m_painter.save();
  m_painter.setPen(m_textColor);
  m_painter.translate(bottomLeft);
  m_painter.rotate(-90.0);
  m_painter.drawText(QPoint(0, m_painter.fontMetrics().ascent()), text);
  m_painter.restore();
  m_painter.setPen(pen);
}

}  // namespace pelodyn
