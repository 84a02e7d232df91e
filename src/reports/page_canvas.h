// What the printed drawing page draws with: a few calls in device pixels,
// so that a test can record what was drawn where while the printer, the PDF
// file and the preview draw through a QPainter.
#pragma once

#include <QColor>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

namespace pelodyn {

// The faces of the page: Sans for the captions, labels and title block (a
// Thai-capable sans), Mono for the reports' body text.
enum class PageFace { Sans, Mono };

struct PageFont {
  PageFace face = PageFace::Sans;
  double points = 10.0;
  bool bold = false;
  QColor color = Qt::black;
};

class PageCanvas {
 public:
  virtual ~PageCanvas() = default;
  // The printable page in device pixels, and its resolution in dots per inch.
  virtual QSize pageSize() const = 0;
  virtual int resolution() const = 0;

  // Width 0 or more in device pixels; Qt::NoPen draws no outline.
  virtual void setPen(const QColor& color, int width, Qt::PenStyle style = Qt::SolidLine) = 0;
  // Qt::NoBrush leaves shapes unfilled.
  virtual void setBrush(const QColor& color, Qt::BrushStyle style) = 0;
  virtual void setFont(const PageFont& font) = 0;
  // The size of `text` in the current font.
  virtual QSize textSize(const QString& text) const = 0;

  virtual void drawLine(QPoint from, QPoint to) = 0;
  // Through the points in order, not closed.
  virtual void drawPolyline(const QPolygon& points) = 0;
  virtual void drawRect(const QRect& rect) = 0;
  virtual void drawPolygon(const QPolygon& points) = 0;
  virtual void drawEllipse(const QRect& box) = 0;
  // Text with its top-left corner at `topLeft`, no background.
  virtual void drawText(QPoint topLeft, const QString& text) = 0;
  // Text turned a quarter to the left (reading upwards); `bottomLeft` is the
  // start of the text, the top of the turned glyphs facing left.
  virtual void drawTextUpwards(QPoint bottomLeft, const QString& text) = 0;
};

// The families the faces stand for, chosen from the Thai fonts the program
// installs.
QString PageFaceFamily(PageFace face);

// A canvas over a painter that is active on a paint device; `resolution` is
// the device's dots per inch.
class PainterCanvas final : public PageCanvas {
 public:
  PainterCanvas(QPainter& painter, QSize pageSize, int resolution);
  QSize pageSize() const override { return m_size; }
  int resolution() const override { return m_resolution; }
  void setPen(const QColor& color, int width, Qt::PenStyle style) override;
  void setBrush(const QColor& color, Qt::BrushStyle style) override;
  void setFont(const PageFont& font) override;
  QSize textSize(const QString& text) const override;
  void drawLine(QPoint from, QPoint to) override;
  void drawPolyline(const QPolygon& points) override;
  void drawRect(const QRect& rect) override;
  void drawPolygon(const QPolygon& points) override;
  void drawEllipse(const QRect& box) override;
  void drawText(QPoint topLeft, const QString& text) override;
  void drawTextUpwards(QPoint bottomLeft, const QString& text) override;

 private:
  QPainter& m_painter;
  QSize m_size;
  int m_resolution;
  QColor m_textColor = Qt::black;
};

}  // namespace pelodyn
