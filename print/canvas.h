#pragma once
// The drawing surface of printing: a printer, a PDF file or the preview picture. Positions and
// sizes are millimetres from the top-left corner of the page; font sizes are points; text is placed
// with its top-left corner at the position.
#include <span>
#include <string>
#include <string_view>

namespace talik {

// A piece of text on a row: where its top-left corner stands across the page, and the text.
struct PlacedText
{
    double xMm = 0;
    std::string_view utf8;
};

class Canvas
{
public:
    virtual ~Canvas() = default;
    // A font name beginning with "@" asks for the vertical variant of the font: each character is
    // drawn turned 90° clockwise in its cell.
    virtual void setFont(const std::string& name, double sizePoints) = 0;
    virtual std::string fontName() const = 0;
    virtual double fontSize() const = 0;
    // The width of the text in the current font, millimetres.
    virtual double textWidth(std::string_view utf8) = 0;
    virtual void drawText(double xMm, double yMm, std::string_view utf8) = 0;
    // Pieces of one row, each placed exactly as drawText would place it alone at (its x, `yMm`).
    // A canvas that can lay out a row at once does so; this one draws the pieces one by one.
    virtual void drawRow(double yMm, std::span<const PlacedText> pieces);
    // A rectangle outline.
    virtual void drawBox(double xMm, double yMm, double widthMm, double heightMm) = 0;
    virtual void newPage() = 0;
    // Finishes the document; false when the printer or the file did not take it.
    virtual bool endDocument() = 0;
    // Wipes what was drawn (the preview before the next card or page).
    virtual void clear() = 0;
};

} // namespace talik
