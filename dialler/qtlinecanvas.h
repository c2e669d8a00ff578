#pragma once
// LineCanvas on a QPainter that paints a widget (inside its paintEvent); system colours are
// taken from the widget's palette.
#include "dialler/linecanvas.h"

#include <QColor>
#include <QPalette>

class QPainter;

namespace talik::dialler {

class QtLineCanvas : public LineCanvas
{
public:
    // `palette` is normally the painted widget's palette().
    QtLineCanvas(QPainter& painter, const QPalette& palette);

    void drawLine(int x1, int y1, int x2, int y2, Rgb colour) override;
    void drawBox(int x1, int y1, int x2, int y2, Rgb colour) override;

    // The Qt colour of `colour`: &HBBGGRR as is, a system colour from the palette.
    QColor toQColor(Rgb colour) const;

private:
    void usePen(Rgb colour, Qt::PenCapStyle cap);

    QPainter& m_painter;
    QPalette m_palette;
};

} // namespace talik::dialler
