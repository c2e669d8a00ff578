#include "dialler/QX3D.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace talik::dialler {

namespace {

// The frame's coordinates are 16-bit twips; every step of the arithmetic must stay in range.
std::int16_t fit16(long value)
{
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max()) {
        throw QX3DError(QX3DErrorOverflow, "Overflow");
    }
    return static_cast<std::int16_t>(value);
}

std::int16_t plus(long a, long b)
{
    return fit16(a + b);
}

std::int16_t minus(long a, long b)
{
    return fit16(a - b);
}

std::int16_t times(long a, long b)
{
    return fit16(a * b);
}

int toPixels(std::int16_t twips, std::int16_t twipsPerPixel)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / twipsPerPixel));
}

bool isBevel(std::int16_t value)
{
    return value >= 0 && value <= 2;
}

constexpr std::int16_t NoBevel = 0;
constexpr std::int16_t InsetBevel = 1;

} // namespace

QX3DError::QX3DError(std::uint32_t number, const std::string& description)
    : std::runtime_error(description), m_number(number)
{}

QX3D::QX3D(std::int16_t twipsPerPixelX, std::int16_t twipsPerPixelY)
    : m_pixelX(std::max<std::int16_t>(1, twipsPerPixelX)), m_pixelY(std::max<std::int16_t>(1, twipsPerPixelY))
{}

void QX3D::setStyle3D(std::int16_t style)
{
    if (style >= 0 && style <= 8) {
        m_style3D = style;
    }
}

void QX3D::setBevelInner(std::int16_t bevel)
{
    if (isBevel(bevel)) {
        m_bevelInner = bevel;
    }
}

void QX3D::setBevelOuter(std::int16_t bevel)
{
    if (isBevel(bevel)) {
        m_bevelOuter = bevel;
    }
}

void QX3D::setBevelWidth(std::int16_t pixels)
{
    if (pixels > 0) {
        m_bevelWidth = pixels;
    }
}

void QX3D::setBorderWidth(std::int16_t pixels)
{
    if (pixels >= 0) {
        m_borderWidth = pixels;
    }
}

void QX3D::Refresh() const
{
    LineCanvas& canvas = canvasForStyle();
    switch (m_style3D) {
    case 0:
        if (m_actOnNone) {
            box(canvas, thinRect(clientBounds()), m_background);
        }
        break;
    case 1:
    case 2:
        drawThinFrame(canvas, thinRect(clientBounds()));
        break;
    case 3:
        drawEtched(canvas, etchedRect(clientBounds()));
        break;
    case 4:
        drawPanel(canvas, aroundRect(clientBounds()));
        break;
    case 5:
        drawPanel(canvas, clientInsideRect());
        break;
    case 6:
        drawEtched(canvas, etchedRect(explicitBounds()));
        break;
    case 7:
        drawPanel(canvas, aroundRect(explicitBounds()));
        break;
    case 8:
        drawPanel(canvas, explicitInsideRect());
        break;
    }
}

// The canvas when set; otherwise the client's parent for the thin frames and the groove around
// the client, the client itself for the panel inside it. The derived surface is used for this
// drawing only, because a surface lives no longer than one paint.
LineCanvas& QX3D::canvasForStyle() const
{
    if (m_canvas) {
        return *m_canvas;
    }
    if (!m_client) {
        throw QX3DError(QX3DErrorNotSet, " Canvas and/or Client Properties not set.");
    }
    LineCanvas* derived = nullptr;
    if (m_style3D <= 3) {
        derived = m_client->parentSurface();
    } else if (m_style3D == 5) {
        derived = m_client->surface();
    } else {
        throw QX3DError(QX3DErrorAmbiguous, "Canvas Property ambiguous.");
    }
    if (!derived) {
        throw QX3DError(QX3DErrorNotSet, " Canvas and/or Client Properties not set.");
    }
    return *derived;
}

QX3D::TwipBounds QX3D::clientBounds() const
{
    const PixelRect pixels = m_client ? m_client->bounds() : PixelRect{};
    return {times(pixels.left, m_pixelX), times(pixels.top, m_pixelY), times(pixels.width, m_pixelX),
            times(pixels.height, m_pixelY)};
}

QX3D::TwipBounds QX3D::explicitBounds() const
{
    return {m_left, m_top, m_width, m_height};
}

// One pixel outside the bounds.
QX3D::TwipRect QX3D::thinRect(const TwipBounds& b) const
{
    return {minus(b.left, m_pixelX), minus(b.top, m_pixelY), plus(b.left, b.width), plus(b.top, b.height)};
}

// Two pixels outside the bounds at the top left; the light copy shifted by one pixel closes the
// bottom right.
QX3D::TwipRect QX3D::etchedRect(const TwipBounds& b) const
{
    return {minus(b.left, times(2, m_pixelX)), minus(b.top, times(2, m_pixelY)), plus(b.left, b.width),
            plus(b.top, b.height)};
}

// The frame's thickness outside the bounds on every side.
QX3D::TwipRect QX3D::aroundRect(const TwipBounds& b) const
{
    const std::int16_t t = frameThickness();
    const std::int16_t x1 = minus(b.left, times(t, m_pixelX));
    const std::int16_t y1 = minus(b.top, times(t, m_pixelY));
    const std::int16_t x2 = minus(plus(plus(x1, b.width), times(times(2, t), m_pixelX)), m_pixelX);
    const std::int16_t y2 = minus(plus(plus(y1, b.height), times(times(2, t), m_pixelY)), m_pixelY);
    return {x1, y1, x2, y2};
}

QX3D::TwipRect QX3D::clientInsideRect() const
{
    const std::int16_t width = m_client ? times(m_client->scaleWidth(), m_pixelX) : 0;
    const std::int16_t height = m_client ? times(m_client->scaleHeight(), m_pixelY) : 0;
    return {0, 0, minus(width, m_pixelX), minus(height, m_pixelY)};
}

QX3D::TwipRect QX3D::explicitInsideRect() const
{
    return {m_left, m_top, minus(plus(m_left, m_width), m_pixelX), minus(plus(m_top, m_height), m_pixelY)};
}

// In pixels: both bevels and the gap between them, or the one bevel there is.
std::int16_t QX3D::frameThickness() const
{
    if (m_bevelOuter != NoBevel && m_bevelInner != NoBevel) {
        return plus(times(2, m_bevelWidth), m_borderWidth);
    }
    return m_bevelWidth;
}

void QX3D::drawThinFrame(LineCanvas& canvas, const TwipRect& r) const
{
    box(canvas, r, m_shadow);
    if (m_style3D == 1) {
        line(canvas, r.x2, r.y1, r.x2, plus(r.y2, m_pixelY), m_highlight);
        line(canvas, r.x1, r.y2, plus(r.x2, m_pixelX), r.y2, m_highlight);
    } else {
        line(canvas, r.x1, r.y1, plus(r.x2, m_pixelX), r.y1, m_highlight);
        line(canvas, r.x1, r.y1, r.x1, plus(r.y2, m_pixelY), m_highlight);
    }
}

void QX3D::drawEtched(LineCanvas& canvas, const TwipRect& r) const
{
    box(canvas, r, m_shadow);
    const TwipRect shifted{plus(r.x1, m_pixelX), plus(r.y1, m_pixelY), plus(r.x2, m_pixelX), plus(r.y2, m_pixelY)};
    box(canvas, shifted, m_highlight);
}

// The outer bevel, then the inner one (BevelWidth + BorderWidth further in when there is an outer).
void QX3D::drawPanel(LineCanvas& canvas, TwipRect r) const
{
    if (m_bevelOuter != NoBevel) {
        drawBevel(canvas, r, m_bevelOuter);
        const std::int16_t inwards = plus(m_bevelWidth, m_borderWidth);
        const std::int16_t dx = times(inwards, m_pixelX);
        const std::int16_t dy = times(inwards, m_pixelY);
        r = {plus(r.x1, dx), plus(r.y1, dy), minus(r.x2, dx), minus(r.y2, dy)};
    }
    if (m_bevelInner != NoBevel) {
        drawBevel(canvas, r, m_bevelInner);
    }
}

// BevelWidth nested rectangles, one pixel apart. The right edge runs one pixel further down to
// close the bottom right corner, as a line leaves out its end point.
void QX3D::drawBevel(LineCanvas& canvas, const TwipRect& r, std::int16_t bevel) const
{
    const bool inset = bevel == InsetBevel;
    const Rgb topLeft = inset ? m_shadow : m_highlight;
    const Rgb bottomRight = inset ? m_highlight : m_shadow;
    for (std::int16_t i = 0; i < m_bevelWidth; ++i) {
        const std::int16_t dx = times(i, m_pixelX);
        const std::int16_t dy = times(i, m_pixelY);
        const TwipRect e{plus(r.x1, dx), plus(r.y1, dy), minus(r.x2, dx), minus(r.y2, dy)};
        auto drawTopLeft = [&] {
            line(canvas, e.x1, e.y1, e.x2, e.y1, topLeft);
            line(canvas, e.x1, e.y1, e.x1, e.y2, topLeft);
        };
        auto drawBottomRight = [&] {
            line(canvas, e.x1, e.y2, e.x2, e.y2, bottomRight);
            line(canvas, e.x2, e.y1, e.x2, plus(e.y2, m_pixelY), bottomRight);
        };
        // The light edges are drawn first.
        if (inset) {
            drawBottomRight();
            drawTopLeft();
        } else {
            drawTopLeft();
            drawBottomRight();
        }
    }
}

void QX3D::line(
    LineCanvas& canvas, std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2, Rgb colour) const
{
    canvas.drawLine(toPixels(x1, m_pixelX), toPixels(y1, m_pixelY), toPixels(x2, m_pixelX), toPixels(y2, m_pixelY),
                    colour);
}

void QX3D::box(LineCanvas& canvas, const TwipRect& r, Rgb colour) const
{
    canvas.drawBox(toPixels(r.x1, m_pixelX), toPixels(r.y1, m_pixelY), toPixels(r.x2, m_pixelX),
                   toPixels(r.y2, m_pixelY), colour);
}

} // namespace talik::dialler
