#include "ui/shell/tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>
#include <functional>

namespace pelodyn {

namespace {

using Draw = std::function<void(QPainter&)>;

const QColor kInk(40, 40, 40);
const QColor kRed(200, 30, 30);
const QColor kBlue(30, 90, 200);
const QColor kGreen(40, 150, 60);
const QColor kSoilA(230, 200, 120);
const QColor kSoilB(160, 120, 70);

QPen Pen(const QColor& c, double w = 1.5) {
  return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Magnifier(QPainter& p) {
  p.setPen(Pen(kInk, 2));
  p.setBrush(QColor(220, 235, 255));
  p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
  p.setPen(Pen(kInk, 3));
  p.drawLine(QPointF(15, 15), QPointF(21, 21));
}

void Slope(QPainter& p) {
  QPolygonF ground{{2, 20}, {2, 10}, {9, 10}, {16, 17}, {22, 17}, {22, 22}, {2, 22}};
  p.setPen(Pen(kInk, 1));
  p.setBrush(kSoilA);
  p.drawPolygon(ground);
}

QPixmap Paint(const Draw& draw) {
  QPixmap pixmap(48, 48);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(2.0, 2.0);  // drawn on a 24 x 24 grid, kept sharp on dense screens
  draw(p);
  return pixmap;
}

Draw DrawingFor(const QString& name) {
  if (name == QLatin1String("TB_New")) {
    return [](QPainter& p) {
      p.setPen(Pen(kInk, 1.2));
      p.setBrush(Qt::white);
      p.drawPolygon(QPolygonF{{5, 2}, {15, 2}, {20, 7}, {20, 22}, {5, 22}});
      p.drawPolyline(QPolygonF{{15, 2}, {15, 7}, {20, 7}});
    };
  }
  if (name == QLatin1String("TB_Open")) {
    return [](QPainter& p) {
      p.setPen(Pen(QColor(150, 110, 20), 1.2));
      p.setBrush(QColor(250, 210, 90));
      p.drawPolygon(QPolygonF{{2, 6}, {9, 6}, {11, 8}, {20, 8}, {20, 20}, {2, 20}});
      p.setBrush(QColor(255, 230, 140));
      p.drawPolygon(QPolygonF{{4, 11}, {22, 11}, {20, 20}, {2, 20}});
    };
  }
  if (name == QLatin1String("TB_Save")) {
    return [](QPainter& p) {
      p.setPen(Pen(kInk, 1.2));
      p.setBrush(kBlue);
      p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
      p.setBrush(Qt::white);
      p.drawRect(QRectF(7, 3, 10, 7));
      p.setBrush(QColor(200, 200, 200));
      p.drawRect(QRectF(7, 14, 10, 7));
    };
  }
  if (name == QLatin1String("TB_Print")) {
    return [](QPainter& p) {
      p.setPen(Pen(kInk, 1.2));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(7, 2, 10, 8));
      p.setBrush(QColor(170, 170, 170));
      p.drawRoundedRect(QRectF(3, 9, 18, 9), 2, 2);
      p.setBrush(Qt::white);
      p.drawRect(QRectF(7, 15, 10, 7));
    };
  }
  if (name == QLatin1String("TB_Setting")) {
    return [](QPainter& p) {
      p.setPen(Pen(kInk, 3));
      for (int k = 0; k < 8; ++k) {
        const double a = k * M_PI / 4;
        p.drawLine(QPointF(12 + 6 * std::cos(a), 12 + 6 * std::sin(a)),
                   QPointF(12 + 9.5 * std::cos(a), 12 + 9.5 * std::sin(a)));
      }
      p.setPen(Pen(kInk, 1.5));
      p.setBrush(QColor(190, 190, 190));
      p.drawEllipse(QPointF(12, 12), 6.5, 6.5);
      p.setBrush(Qt::white);
      p.drawEllipse(QPointF(12, 12), 2.5, 2.5);
    };
  }
  if (name == QLatin1String("TB_Analysis_Set")) {
    return [](QPainter& p) {
      p.setPen(Pen(kInk, 1.5));
      for (int k = 0; k < 3; ++k) p.drawLine(QPointF(3, 6 + 6 * k), QPointF(21, 6 + 6 * k));
      p.setBrush(kBlue);
      const double at[] = {8, 16, 11};
      for (int k = 0; k < 3; ++k) p.drawRect(QRectF(at[k] - 2, 3.5 + 6 * k, 4, 5));
    };
  }
  if (name == QLatin1String("TB_Theory")) {
    return [](QPainter& p) {
      Slope(p);
      p.setPen(Pen(kRed, 1.8));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(-2, -6, 24, 24), 200 * 16, 110 * 16);
    };
  }
  if (name == QLatin1String("TB_Method")) {
    return [](QPainter& p) {
      p.setPen(Pen(kInk, 2));
      p.drawPolyline(QPolygonF{{19, 5}, {5, 5}, {12, 12}, {5, 19}, {19, 19}});
    };
  }
  if (name == QLatin1String("TB_Soil_Prop") || name == QLatin1String("TB_Hatch_Layer")) {
    const bool toggle = name == QLatin1String("TB_Hatch_Layer");
    return [toggle](QPainter& p) {
      p.setPen(Pen(kInk, 1));
      p.setBrush(toggle ? QColor(120, 255, 255) : kSoilA);
      p.drawRect(QRectF(2, 4, 20, 6));
      p.setBrush(toggle ? QColor(130, 255, 130) : kSoilB);
      p.drawRect(QRectF(2, 10, 20, 5));
      p.setBrush(toggle ? QColor(255, 255, 120) : QColor(120, 90, 60));
      p.drawRect(QRectF(2, 15, 20, 6));
    };
  }
  if (name == QLatin1String("TB_Draw_Line")) {
    return [](QPainter& p) {
      p.setPen(Pen(kInk, 1.5));
      const QPolygonF line{{2, 18}, {8, 10}, {15, 13}, {22, 5}};
      p.drawPolyline(line);
      p.setBrush(kInk);
      for (const QPointF& q : line) p.drawRect(QRectF(q.x() - 1.5, q.y() - 1.5, 3, 3));
    };
  }
  if (name == QLatin1String("TB_Bottom_Line")) {
    return [](QPainter& p) {
      Slope(p);
      p.setPen(Pen(kBlue, 3));
      p.drawLine(QPointF(2, 21), QPointF(22, 21));
    };
  }
  if (name == QLatin1String("TB_Grid_Search") || name == QLatin1String("TB_Show_Grid")) {
    const bool dots = name == QLatin1String("TB_Show_Grid");
    return [dots](QPainter& p) {
      p.setPen(Pen(kInk, dots ? 2.2 : 1.2));
      for (int i = 0; i < 4; ++i) {
        if (dots) {
          for (int j = 0; j < 4; ++j) p.drawPoint(QPointF(4 + 5.3 * i, 4 + 5.3 * j));
        } else {
          p.drawLine(QPointF(4 + 5.3 * i, 4), QPointF(4 + 5.3 * i, 20));
          p.drawLine(QPointF(4, 4 + 5.3 * i), QPointF(20, 4 + 5.3 * i));
        }
      }
    };
  }
  if (name == QLatin1String("TB_Spec_Search")) {
    return [](QPainter& p) {
      p.setPen(Pen(kRed, 1.5));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QPointF(12, 12), 8, 8);
      p.drawLine(QPointF(12, 1), QPointF(12, 7));
      p.drawLine(QPointF(12, 17), QPointF(12, 23));
      p.drawLine(QPointF(1, 12), QPointF(7, 12));
      p.drawLine(QPointF(17, 12), QPointF(23, 12));
      p.setBrush(kRed);
      p.drawEllipse(QPointF(12, 12), 1.8, 1.8);
    };
  }
  if (name == QLatin1String("TB_Auto_Search")) {
    return [](QPainter& p) {
      p.setPen(Pen(kRed, 1.5));
      p.setBrush(kRed);
      p.drawEllipse(QPointF(12, 12), 2.5, 2.5);
      p.setPen(Pen(kInk, 1.5));
      for (int k = 0; k < 4; ++k) {
        const double a = k * M_PI / 2;
        const QPointF tip(12 + 10 * std::cos(a), 12 + 10 * std::sin(a));
        p.drawLine(QPointF(12 + 5 * std::cos(a), 12 + 5 * std::sin(a)), tip);
        p.drawLine(tip, QPointF(tip.x() - 3 * std::cos(a - 0.6), tip.y() - 3 * std::sin(a - 0.6)));
        p.drawLine(tip, QPointF(tip.x() - 3 * std::cos(a + 0.6), tip.y() - 3 * std::sin(a + 0.6)));
      }
    };
  }
  if (name == QLatin1String("TB_Slip_NonCir")) {
    return [](QPainter& p) {
      Slope(p);
      p.setPen(Pen(kRed, 1.8));
      p.drawPolyline(QPolygonF{{4, 10}, {6, 16}, {12, 19}, {18, 17}});
    };
  }
  if (name == QLatin1String("TB_Axis_NonCir")) {
    return [](QPainter& p) {
      p.setPen(Pen(kInk, 1.5));
      p.setBrush(QColor(255, 255, 0));
      p.drawEllipse(QPointF(12, 12), 6, 6);
      p.drawLine(QPointF(12, 2), QPointF(12, 22));
      p.drawLine(QPointF(2, 12), QPointF(22, 12));
    };
  }
  if (name == QLatin1String("TB_Seepage")) {
    return [](QPainter& p) {
      p.setPen(QPen(QColor(0, 170, 220), 2, Qt::DashLine));
      QPainterPath wave(QPointF(2, 12));
      wave.cubicTo(QPointF(7, 6), QPointF(11, 18), QPointF(16, 12));
      wave.cubicTo(QPointF(19, 8), QPointF(21, 10), QPointF(22, 12));
      p.drawPath(wave);
      p.setPen(Pen(QColor(0, 120, 200), 1.2));
      p.setBrush(QColor(0, 170, 220));
      p.drawPolygon(QPolygonF{{12, 15}, {9, 21}, {15, 21}});
    };
  }
  if (name == QLatin1String("TB_Load_Effect")) {
    return [](QPainter& p) {
      p.setPen(Pen(kRed, 2.2));
      p.drawLine(QPointF(12, 2), QPointF(12, 15));
      p.setBrush(kRed);
      p.drawPolygon(QPolygonF{{12, 21}, {7, 13}, {17, 13}});
      p.setPen(Pen(kInk, 1.5));
      p.drawLine(QPointF(2, 22), QPointF(22, 22));
    };
  }
  if (name == QLatin1String("TB_Verify")) {
    return [](QPainter& p) {
      p.setPen(Pen(kGreen, 3));
      p.drawPolyline(QPolygonF{{4, 13}, {10, 19}, {20, 5}});
    };
  }
  if (name == QLatin1String("TB_Cal_FS")) {
    return [](QPainter& p) {
      p.setPen(Pen(QColor(20, 110, 40), 1.2));
      p.setBrush(kGreen);
      p.drawPolygon(QPolygonF{{6, 3}, {21, 12}, {6, 21}});
    };
  }
  if (name == QLatin1String("TB_Contour")) {
    return [](QPainter& p) {
      const QColor colours[] = {QColor(120, 60, 200), QColor(40, 120, 230), QColor(60, 200, 80), QColor(250, 200, 40),
                                QColor(230, 40, 30)};
      p.setPen(Qt::NoPen);
      for (int k = 0; k < 5; ++k) {
        p.setBrush(colours[k]);
        p.drawEllipse(QPointF(12, 12), 10 - 2 * k, 10 - 2 * k);
      }
    };
  }
  if (name == QLatin1String("TB_Hatch_Slice")) {
    return [](QPainter& p) {
      QPainterPath arc(QPointF(3, 6));
      arc.quadTo(QPointF(8, 22), QPointF(21, 18));
      arc.lineTo(QPointF(21, 6));
      arc.closeSubpath();
      p.setPen(Pen(kInk, 1.2));
      p.setBrush(QColor(0, 255, 0));
      p.drawPath(arc);
      for (int k = 1; k < 4; ++k) p.drawLine(QPointF(3 + 4.5 * k, 6), QPointF(3 + 4.5 * k, 18 - (k == 1 ? -1 : 0)));
    };
  }
  if (name == QLatin1String("TB_View_SoilProp")) {
    return [](QPainter& p) {
      p.setPen(Pen(kInk, 1.2));
      p.setBrush(QColor(255, 255, 210));
      p.drawRoundedRect(QRectF(2, 3, 20, 14), 3, 3);
      p.drawPolygon(QPolygonF{{6, 17}, {6, 22}, {11, 17}});
      QFont f = p.font();
      f.setBold(true);
      f.setPixelSize(12);
      p.setFont(f);
      p.drawText(QRectF(2, 3, 20, 14), Qt::AlignCenter, QStringLiteral("c,φ"));
    };
  }
  if (name == QLatin1String("TB_Move_Point")) {
    return [](QPainter& p) {
      p.setPen(Pen(kInk, 1.5));
      p.drawLine(QPointF(12, 2), QPointF(12, 22));
      p.drawLine(QPointF(2, 12), QPointF(22, 12));
      p.setBrush(kInk);
      p.drawPolygon(QPolygonF{{12, 1}, {9, 5}, {15, 5}});
      p.drawPolygon(QPolygonF{{12, 23}, {9, 19}, {15, 19}});
      p.drawPolygon(QPolygonF{{1, 12}, {5, 9}, {5, 15}});
      p.drawPolygon(QPolygonF{{23, 12}, {19, 9}, {19, 15}});
    };
  }
  if (name == QLatin1String("TB_Del_Point")) {
    return [](QPainter& p) {
      p.setPen(Pen(kInk, 1));
      p.setBrush(kInk);
      p.drawRect(QRectF(9, 9, 6, 6));
      p.setPen(Pen(kRed, 2.5));
      p.drawLine(QPointF(4, 4), QPointF(20, 20));
      p.drawLine(QPointF(20, 4), QPointF(4, 20));
    };
  }
  if (name == QLatin1String("TB_Snap_Grid")) {
    return [](QPainter& p) {
      p.setPen(Pen(kInk, 2));
      for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) p.drawPoint(QPointF(4 + 8 * i, 4 + 8 * j));
      }
      p.setPen(Pen(kRed, 1.5));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QPointF(12, 12), 4, 4);
      p.drawLine(QPointF(17, 17), QPointF(21, 21));
    };
  }
  if (name == QLatin1String("TB_Zoom_IN") || name == QLatin1String("TB_Zoom_OUT") ||
      name == QLatin1String("TB_AZoom")) {
    const int kind = name == QLatin1String("TB_Zoom_IN") ? 0 : name == QLatin1String("TB_Zoom_OUT") ? 1 : 2;
    return [kind](QPainter& p) {
      Magnifier(p);
      p.setPen(Pen(kInk, 1.6));
      if (kind == 2) {
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(7, 7, 6, 6));
      } else {
        p.drawLine(QPointF(7, 10), QPointF(13, 10));
        if (kind == 0) p.drawLine(QPointF(10, 7), QPointF(10, 13));
      }
    };
  }
  return {};
}

}  // namespace

QIcon ToolIcon(const QString& button) {
  const Draw draw = DrawingFor(button);
  if (!draw) return {};
  return QIcon(Paint(draw));
}

}  // namespace pelodyn
