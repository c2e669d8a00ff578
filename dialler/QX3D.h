#pragma once
// QX3D: three-dimensional frames drawn with plain lines: thin sunken or raised frames and etched
// grooves around a control, and bevelled panels (outer bevel, gap, inner bevel). It keeps no
// drawing of its own: every Refresh draws again with the current properties.
//
// Geometry is held in twips, as the window side of the dialler measures it; the surfaces draw in
// pixels, converted with the twips per pixel given at construction. Coordinates are 16-bit: an
// overflow raises QX3DError 6 "Overflow".
#include "dialler/linecanvas.h"
#include "dialler/panelclient.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace talik::dialler {

// An error raised by Refresh: the error number, the source "QX3D" and the description.
class QX3DError : public std::runtime_error
{
public:
    QX3DError(std::uint32_t number, const std::string& description);
    std::uint32_t number() const { return m_number; }
    std::string description() const { return what(); }
    static std::string source() { return "QX3D"; }

private:
    std::uint32_t m_number;
};

inline constexpr std::uint32_t QX3DErrorNotSet = 0x80040400u;    // neither Canvas nor Client set
inline constexpr std::uint32_t QX3DErrorAmbiguous = 0x80040401u; // no canvas follows from the style
inline constexpr std::uint32_t QX3DErrorOverflow = 6;            // 16-bit coordinate overflow

class QX3D
{
public:
    // The screen's twips per pixel, horizontally and vertically (15 at 96 dots per inch).
    explicit QX3D(std::int16_t twipsPerPixelX = 15, std::int16_t twipsPerPixelY = 15);

    // The control (or window) the frame belongs to; not owned.
    PanelClient* Client() const { return m_client; }
    void setClient(PanelClient* client) { m_client = client; }
    // The surface drawn on; not owned. When null, Refresh takes it from the client.
    LineCanvas* Canvas() const { return m_canvas; }
    void setCanvas(LineCanvas* canvas) { m_canvas = canvas; }

    // 0 nothing, 1 thin sunken, 2 thin raised, 3 etched, 4 bevelled around the client,
    // 5 bevelled inside the client, 6 etched, 7 bevelled around and 8 bevelled inside the
    // explicit rectangle. Other values are ignored.
    std::int16_t Style3D() const { return m_style3D; }
    void setStyle3D(std::int16_t style);
    // 0 none, 1 inset, 2 raised; other values are ignored.
    std::int16_t BevelInner() const { return m_bevelInner; }
    void setBevelInner(std::int16_t bevel);
    std::int16_t BevelOuter() const { return m_bevelOuter; }
    void setBevelOuter(std::int16_t bevel);
    // Width of each bevel in pixels, greater than 0; other values are ignored.
    std::int16_t BevelWidth() const { return m_bevelWidth; }
    void setBevelWidth(std::int16_t pixels);
    // Gap between outer and inner bevel in pixels, 0 or more; negative values are ignored.
    std::int16_t BorderWidth() const { return m_borderWidth; }
    void setBorderWidth(std::int16_t pixels);

    // The explicit rectangle of styles 6, 7 and 8, in twips.
    std::int16_t Left() const { return m_left; }
    void setLeft(std::int16_t twips) { m_left = twips; }
    std::int16_t Top() const { return m_top; }
    void setTop(std::int16_t twips) { m_top = twips; }
    std::int16_t Width() const { return m_width; }
    void setWidth(std::int16_t twips) { m_width = twips; }
    std::int16_t Height() const { return m_height; }
    void setHeight(std::int16_t twips) { m_height = twips; }

    // Light edges, dark edges, and the erasing colour of style 0 with ActOnNone.
    Rgb Highlight() const { return m_highlight; }
    void setHighlight(Rgb colour) { m_highlight = colour; }
    Rgb Shadow() const { return m_shadow; }
    void setShadow(Rgb colour) { m_shadow = colour; }
    Rgb Background() const { return m_background; }
    void setBackground(Rgb colour) { m_background = colour; }
    // With style 0, erase the thin frame around the client.
    bool ActOnNone() const { return m_actOnNone; }
    void setActOnNone(bool erase) { m_actOnNone = erase; }

    // Draws the frame. Throws QX3DError QX3DErrorNotSet when neither Canvas nor Client is set (or
    // the client offers no surface to draw on), QX3DErrorAmbiguous when Canvas is not set and the
    // style does not say which surface to use (styles 4, 6, 7, 8), QX3DErrorOverflow when a
    // coordinate leaves the 16-bit range.
    void Refresh() const;

private:
    struct TwipBounds
    {
        std::int16_t left, top, width, height;
    };
    struct TwipRect
    {
        std::int16_t x1, y1, x2, y2;
    };

    LineCanvas& canvasForStyle() const;
    TwipBounds clientBounds() const;
    TwipBounds explicitBounds() const;
    TwipRect thinRect(const TwipBounds& b) const;
    TwipRect etchedRect(const TwipBounds& b) const;
    TwipRect aroundRect(const TwipBounds& b) const;
    TwipRect clientInsideRect() const;
    TwipRect explicitInsideRect() const;
    std::int16_t frameThickness() const;
    void drawThinFrame(LineCanvas& canvas, const TwipRect& r) const;
    void drawEtched(LineCanvas& canvas, const TwipRect& r) const;
    void drawPanel(LineCanvas& canvas, TwipRect r) const;
    void drawBevel(LineCanvas& canvas, const TwipRect& r, std::int16_t bevel) const;
    void line(LineCanvas& canvas, std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2, Rgb colour) const;
    void box(LineCanvas& canvas, const TwipRect& r, Rgb colour) const;

    // One pixel in twips, horizontally and vertically.
    std::int16_t m_pixelX;
    std::int16_t m_pixelY;
    PanelClient* m_client = nullptr;
    LineCanvas* m_canvas = nullptr;
    std::int16_t m_style3D = 0;
    std::int16_t m_bevelInner = 0;
    std::int16_t m_bevelOuter = 2;
    std::int16_t m_bevelWidth = 3;
    std::int16_t m_borderWidth = 2;
    std::int16_t m_left = 0;
    std::int16_t m_top = 0;
    std::int16_t m_width = 0;
    std::int16_t m_height = 0;
    Rgb m_highlight = SystemHighlight3D;
    Rgb m_shadow = SystemButtonShadow;
    Rgb m_background = SystemButtonFace;
    bool m_actOnNone = false;
};

} // namespace talik::dialler
