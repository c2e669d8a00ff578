#include "dialler/handsetpicture.h"

#include <QPainter>
#include <QPainterPath>

namespace talik::dialler {
namespace {

const QColor Body(40, 40, 48);
const QColor Dial(235, 235, 225);
const QColor Ring(200, 30, 30);

// The base with its keypad, standing on the bottom of the picture.
void DrawBase(QPainter& painter)
{
    QPainterPath base;
    base.moveTo(10, 44);
    base.lineTo(14, 28);
    base.lineTo(34, 28);
    base.lineTo(38, 44);
    base.closeSubpath();
    painter.fillPath(base, Body);
    painter.setBrush(Dial);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(24, 36.5), 6, 5.5);
    painter.setBrush(Body);
    painter.drawEllipse(QPointF(24, 36.5), 2, 2);
}

// The handset across the top of the base: earpiece and mouthpiece joined by a grip, centred on the
// origin so it can be lifted and tilted by the painter's transform.
void DrawHandset(QPainter& painter)
{
    painter.setPen(QPen(Body, 5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(-13, 0), QPointF(13, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Body);
    painter.drawRoundedRect(QRectF(-19, -1, 10, 7), 3, 3);
    painter.drawRoundedRect(QRectF(9, -1, 10, 7), 3, 3);
}

// Short strokes beside the lifted handset: the line is open.
void DrawSoundMarks(QPainter& painter)
{
    painter.setPen(QPen(Ring, 2, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(33, 2, 8, 10), 300 * 16, 120 * 16);
    painter.drawArc(QRectF(34, -1, 11, 16), 300 * 16, 120 * 16);
}

} // namespace

QPixmap HandsetPicture(bool lifted)
{
    QPixmap picture(HandsetPictureSize, HandsetPictureSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawBase(painter);
    painter.save();
    if (lifted) {
        painter.translate(17, 16);
        painter.rotate(-20);
    } else {
        painter.translate(24, 24);
    }
    DrawHandset(painter);
    painter.restore();
    if (lifted) {
        DrawSoundMarks(painter);
    }
    return picture;
}

} // namespace talik::dialler
