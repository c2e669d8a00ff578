#include "ui/screenfit.h"

#include <QGuiApplication>
#include <QMargins>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace talik {
namespace {

// Before a window is shown its frame is unknown: a title bar and thin borders as most window
// managers draw them.
constexpr QMargins UsualFrame(4, 30, 4, 4);

QMargins FrameOf(const QWidget* window)
{
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    if (!window->isVisible() || frame == inner) {
        return UsualFrame;
    }
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
}

int Clamp(int start, int length, int areaStart, int areaLength)
{
    return std::max(areaStart, std::min(start, areaStart + areaLength - length));
}

} // namespace

QRect FitFrameInto(const QRect& frame, const QSize& minimum, const QRect& area)
{
    const int width = std::max(minimum.width(), std::min(frame.width(), area.width()));
    const int height = std::max(minimum.height(), std::min(frame.height(), area.height()));
    return {Clamp(frame.x(), width, area.x(), area.width()), Clamp(frame.y(), height, area.y(), area.height()), width,
            height};
}

void FitWindowInto(QWidget* window, const QRect& area)
{
    const QMargins margins = FrameOf(window);
    const QSize extra(margins.left() + margins.right(), margins.top() + margins.bottom());
    QSize minimum = window->minimumSizeHint().expandedTo(window->minimumSize());
    if (!minimum.isValid()) {
        minimum = window->minimumSize();
    }
    const QRect frame(window->pos(), window->size() + extra);
    const QRect fitted = FitFrameInto(frame, minimum + extra, area);
    if (fitted.size() != frame.size()) {
        window->resize(fitted.size() - extra);
    }
    if (fitted.topLeft() != frame.topLeft()) {
        window->move(fitted.topLeft());
    }
}

void FitToScreen(QWidget* window)
{
    QScreen* screen = window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        FitWindowInto(window, screen->availableGeometry());
    }
}

} // namespace talik
