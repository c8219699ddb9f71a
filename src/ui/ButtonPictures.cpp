#include "ui/ButtonPictures.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace ButtonPictures {

namespace {

// Every picture is drawn on a 16 x 16 grid and scaled to the size asked for.
constexpr qreal kGrid = 16.0;

using Drawing = std::function<void(QPainter&)>;

QImage Render(const Drawing& draw, int size, int roomAfter) {
  QImage image(size + roomAfter, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / kGrid, size / kGrid);
  painter.setClipRect(QRectF(0, 0, kGrid, kGrid));
  draw(painter);
  return image;
}

// Light greys that keep the shape's shading, like a disabled picture of the desktop.
QImage Greyed(QImage image) {
  image = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int grey = 112 + qGray(line[x]) / 2;
      line[x] = qRgba(grey, grey, grey, qAlpha(line[x]));
    }
  }
  return image;
}

QIcon Picture(const Drawing& draw, int size, int roomAfter = 0) {
  const QImage image = Render(draw, size, roomAfter);
  QIcon icon;
  icon.addPixmap(QPixmap::fromImage(image), QIcon::Normal);
  icon.addPixmap(QPixmap::fromImage(Greyed(image)), QIcon::Disabled);
  return icon;
}

void DrawFolder(QPainter& p) {
  const QColor outline(128, 96, 0);
  p.setPen(QPen(outline, 0.8));
  QPainterPath back;
  back.moveTo(1, 3.5);
  back.lineTo(5.5, 3.5);
  back.lineTo(7, 5);
  back.lineTo(13, 5);
  back.lineTo(13, 13.5);
  back.lineTo(1, 13.5);
  back.closeSubpath();
  p.setBrush(QColor(230, 180, 40));
  p.drawPath(back);
  QPainterPath front;
  front.moveTo(1, 13.5);
  front.lineTo(3, 7);
  front.lineTo(15, 7);
  front.lineTo(13, 13.5);
  front.closeSubpath();
  p.setBrush(QColor(255, 220, 80));
  p.drawPath(front);
}

void DrawMagnifier(QPainter& p, QPointF centre, qreal radius) {
  const QPointF handleStart = centre + QPointF(radius * 0.7, radius * 0.7);
  p.setPen(QPen(QColor(70, 50, 30), radius * 0.7, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(handleStart, handleStart + QPointF(radius * 1.1, radius * 1.1));
  p.setPen(QPen(QColor(40, 40, 40), radius * 0.35));
  p.setBrush(QColor(190, 225, 255, 220));
  p.drawEllipse(centre, radius, radius);
  p.setPen(QPen(Qt::white, radius * 0.25, Qt::SolidLine, Qt::RoundCap));
  p.drawArc(
      QRectF(centre.x() - radius * 0.6, centre.y() - radius * 0.6, radius * 1.2, radius * 1.2),
      100 * 16, 70 * 16);
}

QPainterPath Arrow(QPointF tail, QPointF head, qreal shaft, qreal barb) {
  // Drawn along +x from the origin, then turned onto tail -> head.
  const QLineF line(tail, head);
  const qreal length = line.length();
  QPainterPath path;
  path.moveTo(0, -shaft / 2);
  path.lineTo(length - barb, -shaft / 2);
  path.lineTo(length - barb, -barb);
  path.lineTo(length, 0);
  path.lineTo(length - barb, barb);
  path.lineTo(length - barb, shaft / 2);
  path.lineTo(0, shaft / 2);
  path.closeSubpath();
  QTransform turn;
  turn.translate(tail.x(), tail.y());
  turn.rotate(-line.angle());
  return turn.map(path);
}

void DrawArrow(QPainter& p, const QPainterPath& arrow, const QColor& fill) {
  p.setPen(QPen(fill.darker(160), 0.6));
  p.setBrush(fill);
  p.drawPath(arrow);
}

}  // namespace

QIcon FolderWithMagnifier(int size) {
  return Picture(
      [](QPainter& p) {
        DrawFolder(p);
        DrawMagnifier(p, QPointF(9.5, 8.5), 3.2);
      },
      size);
}

QIcon FolderWithArrowIn(int size) {
  return Picture(
      [](QPainter& p) {
        // A smaller, lower folder leaves room above it for the arrow.
        p.save();
        p.translate(0, 2);
        p.scale(0.875, 0.875);
        DrawFolder(p);
        p.restore();
        DrawArrow(p, Arrow(QPointF(14.5, 0.8), QPointF(7.5, 9), 2.6, 2.8), QColor(40, 170, 40));
      },
      size);
}

QIcon Magnifier(int size, int roomAfter) {
  return Picture([](QPainter& p) { DrawMagnifier(p, QPointF(6.5, 6.5), 4.3); }, size, roomAfter);
}

QIcon WindowWithArrowOut(int size) {
  return Picture(
      [](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 60), 0.8));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(0.5, 1.5, 10, 12));
        p.setBrush(QColor(40, 80, 190));
        p.drawRect(QRectF(0.5, 1.5, 10, 2.5));
        DrawArrow(p, Arrow(QPointF(5, 9), QPointF(15.5, 9), 2.8, 3.2), QColor(50, 110, 230));
      },
      size);
}

}  // namespace ButtonPictures
