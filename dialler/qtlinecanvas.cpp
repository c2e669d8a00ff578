#include "dialler/qtlinecanvas.h"

#include <QPainter>
#include <QPen>
namespace talik::dialler {

namespace {

// The palette role standing for a system colour index of the Windows colour table.
QPalette::ColorRole systemColourRole(std::uint32_t index)
{
    switch (index) {
    case 0x02: // active caption
    case 0x0D: // highlight
        return QPalette::Highlight;
    case 0x05: // window
        return QPalette::Base;
    case 0x09: // caption text
    case 0x0E: // highlight text
        return QPalette::HighlightedText;
    case 0x0F: // button face
        return QPalette::Button;
    case 0x10: // button shadow
        return QPalette::Dark;
    case 0x12: // button text
        return QPalette::ButtonText;
    case 0x14: // 3-D highlight
        return QPalette::Light;
    case 0x06: // window frame
    case 0x15: // 3-D dark shadow
        return QPalette::Shadow;
    case 0x16: // 3-D light
        return QPalette::Midlight;
    case 0x17: // tooltip text
        return QPalette::ToolTipText;
    case 0x18: // tooltip background
        return QPalette::ToolTipBase;
    case 0x01: // desktop
    case 0x04: // menu
        return QPalette::Window;
    default:
        return QPalette::WindowText;
    }
}

} // namespace

QtLineCanvas::QtLineCanvas(QPainter& painter, const QPalette& palette) : m_painter(painter), m_palette(palette) {}

QColor QtLineCanvas::toQColor(Rgb colour) const
{
    if (colour & SystemColourFlag) {
        return m_palette.color(QPalette::Active, systemColourRole(colour & 0xFFu));
    }
    return QColor(static_cast<int>(colour & 0xFFu), static_cast<int>((colour >> 8) & 0xFFu),
                  static_cast<int>((colour >> 16) & 0xFFu));
}

// A one-pixel cosmetic pen. With flat caps Qt leaves out the last pixel of a line, as this
// surface's lines do; square caps keep it, as the corners of a box need.
void QtLineCanvas::usePen(Rgb colour, Qt::PenCapStyle cap)
{
    QPen pen(toQColor(colour));
    pen.setWidth(0);
    pen.setCapStyle(cap);
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setPen(pen);
}

void QtLineCanvas::drawLine(int x1, int y1, int x2, int y2, Rgb colour)
{
    usePen(colour, Qt::FlatCap);
    m_painter.drawLine(x1, y1, x2, y2);
}

void QtLineCanvas::drawBox(int x1, int y1, int x2, int y2, Rgb colour)
{
    usePen(colour, Qt::SquareCap);
    m_painter.drawLine(x1, y1, x2, y1);
    m_painter.drawLine(x2, y1, x2, y2);
    m_painter.drawLine(x2, y2, x1, y2);
    m_painter.drawLine(x1, y2, x1, y1);
}

} // namespace talik::dialler
