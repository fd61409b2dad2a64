#include "common/ui/fileicons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace tarvex {

const IconDesign& DesignOf(FileKind kind) {
  static const IconDesign designs[] = {
      {"COGPage", "COG", QColor(38, 92, 180)},
      {"CGTPage", "CGT", QColor(34, 140, 80)},
      {"DATPage", "DAT", QColor(206, 110, 24)},
      {"JKUni", "UNI", QColor(130, 56, 160)},
  };
  return designs[int(kind)];
}

QImage DrawPage(const IconDesign& design, int size) {
  QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 48.0, size / 48.0);

  // The page, its right upper corner folded down.
  QPainterPath page;
  page.moveTo(8, 2);
  page.lineTo(31, 2);
  page.lineTo(41, 12);
  page.lineTo(41, 46);
  page.lineTo(8, 46);
  page.closeSubpath();
  p.setPen(QPen(QColor(70, 70, 80), 1.5));
  p.setBrush(QColor(250, 250, 246));
  p.drawPath(page);
  QPainterPath fold;
  fold.moveTo(31, 2);
  fold.lineTo(31, 12);
  fold.lineTo(41, 12);
  fold.closeSubpath();
  p.setBrush(QColor(214, 214, 220));
  p.drawPath(fold);

  // Lines of text on the page.
  p.setPen(QPen(QColor(150, 150, 165), size >= 32 ? 1.6 : 2.4, Qt::SolidLine, Qt::RoundCap));
  for (int y = 34; y <= 42; y += 4) p.drawLine(QPointF(12, y), QPointF(y == 38 ? 30 : 37, y));

  // The coloured band with the type's letters.
  p.setPen(Qt::NoPen);
  p.setBrush(design.color);
  p.drawRoundedRect(QRectF(3, 15, 36, 15), 3, 3);
  if (size >= 32) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(11);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(3, 15, 36, 15), Qt::AlignCenter, QLatin1String(design.label));
  } else {
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 22.5), QPointF(32, 22.5));
  }
  return img;
}

}  // namespace tarvex
