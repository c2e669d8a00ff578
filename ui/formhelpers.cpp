#include "ui/formhelpers.h"

#include <QFrame>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QWidget>

#include "store/settings.h"
#include "ui/frame3d.h"
#include "ui/screenfit.h"
#include "ui/units.h"

namespace talik {

void CentreForm(QWidget* form)
{
    QScreen* screen = form->screen() != nullptr ? form->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    FitToScreen(form);
    QRect area = screen->availableGeometry();
    QSize size = form->frameGeometry().size();
    form->move(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);
}

void PlaceWindow(QWidget* window, const WindowGeometry& twips)
{
    double dpi = window->logicalDpiX();
    window->resize(TwipsToPixels(twips.width, dpi), TwipsToPixels(twips.height, dpi));
    if (twips.left > 0) {
        window->move(TwipsToPixels(twips.left, dpi), TwipsToPixels(twips.top, dpi));
    } else {
        CentreForm(window);
    }
    FitToScreen(window);
}

void StoreWindowGeometry(const QWidget* window, WindowGeometry& into)
{
    if (window->isMinimized() || window->isMaximized() || window->isFullScreen()) {
        return;
    }
    double dpi = window->logicalDpiX();
    into = {PixelsToTwips(window->x(), dpi), PixelsToTwips(window->y(), dpi), PixelsToTwips(window->width(), dpi),
            PixelsToTwips(window->height(), dpi)};
}

void Draw3DFrame(QPainter& painter, const QWidget* control, bool raised, int bevelWidth)
{
    QRect r = control->geometry();
    for (const BevelLine& line : Draw3DFrameLines({r.x(), r.y(), r.width(), r.height()}, raised, bevelWidth)) {
        painter.setPen(QColor(line.colour.r, line.colour.g, line.colour.b));
        painter.drawLine(line.x1, line.y1, line.x2, line.y2);
    }
}

QFrame* NewControlFrame(QWidget* parent)
{
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::StyledPanel);
    return frame;
}

void SetColours(QWidget* widget, const QColor& text, const QColor& background)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Window, background);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace talik
