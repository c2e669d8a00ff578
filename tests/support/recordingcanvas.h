#pragma once
// A canvas that records every call with its arguments, for tests of what the engines draw.
#include <string>
#include <vector>

#include "print/canvas.h"

namespace talik::test {

struct CanvasCall
{
    std::string op; // "font", "text", "box", "page", "end", "clear"
    double x = 0, y = 0, w = 0, h = 0;
    std::string text; // the text, or the font name
    double size = 0;  // the font size in force
    std::string font; // the font name in force
};

class RecordingCanvas : public Canvas
{
public:
    // Every character is taken as `charWidthMm` wide per 10 points (so widths depend on the size).
    double charWidthMm = 3.5;
    std::vector<CanvasCall> calls;

    void setFont(const std::string& name, double sizePoints) override;
    std::string fontName() const override { return m_font; }
    double fontSize() const override { return m_size; }
    double textWidth(std::string_view utf8) override;
    void drawText(double xMm, double yMm, std::string_view utf8) override;
    void drawBox(double xMm, double yMm, double widthMm, double heightMm) override;
    void newPage() override { calls.push_back({"page", 0, 0, 0, 0, {}, m_size, m_font}); }
    // What endDocument() reports, as a printer or a PDF file would.
    bool endSucceeds = true;
    bool endDocument() override
    {
        calls.push_back({"end", 0, 0, 0, 0, {}, m_size, m_font});
        return endSucceeds;
    }
    void clear() override { calls.push_back({"clear", 0, 0, 0, 0, {}, m_size, m_font}); }

    // The texts drawn, in order, and the calls of one kind.
    std::vector<CanvasCall> texts() const;
    std::vector<CanvasCall> boxes() const;
    // How many calls of one kind were made.
    int count(const std::string& op) const;
    // The first text call drawing exactly `text`; throws when there is none.
    const CanvasCall& find(const std::string& text) const;

private:
    std::string m_font;
    double m_size = 0;
};

} // namespace talik::test
