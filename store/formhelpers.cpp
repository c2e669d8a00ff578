#include "store/formhelpers.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>

#include "store/frame3d.h"

namespace talik {

void CentreForm(QWidget* form)
{
    QScreen* screen = form->screen() != nullptr ? form->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    QRect area = screen->geometry();
    QSize size = form->frameGeometry().size();
    form->move(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);
}

void Draw3DFrame(QPainter& painter, const QWidget* control, bool raised, int bevelWidth)
{
    QRect r = control->geometry();
    for (const BevelLine& line : Draw3DFrameLines({r.x(), r.y(), r.width(), r.height()}, raised, bevelWidth)) {
        painter.setPen(QColor(line.colour.r, line.colour.g, line.colour.b));
        painter.drawLine(line.x1, line.y1, line.x2, line.y2);
    }
}

} // namespace talik
