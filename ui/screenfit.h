#pragma once
// Keeps windows inside the free part of the screen (without its panels): a window sized for a larger
// screen shrinks to the screen, never below what its layout needs, and moves back inside, so that
// its buttons stay where the mouse and the eye can reach them.
class QRect;
class QSize;
class QWidget;

namespace talik {

// The frame rectangle `frame` (title bar and borders included) moved and shrunk into `area`; it
// keeps at least `minimum`, even where that is larger than the area (then its top left stays inside).
QRect FitFrameInto(const QRect& frame, const QSize& minimum, const QRect& area);

// Fits the window into `area` (screen coordinates), its window-manager frame counted: the real
// frame once it is shown, a usual one before.
void FitWindowInto(QWidget* window, const QRect& area);

// Fits the window into the available geometry of its screen.
void FitToScreen(QWidget* window);

} // namespace talik
