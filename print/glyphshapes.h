#pragma once
// The fonts a canvas was given, each kept with its metrics and with the text shaped in it: each
// piece of text laid out alone, as QPainter::drawText lays it out, its glyphs remembered with the
// font that holds each (a fallback font for characters the chosen font lacks) and each glyph's
// place from the pen on the baseline. A sheet of labels sets the same few fonts and prints the same
// few hundred characters thousands of times; making and shaping each again is most of the work.
#include <QFont>
#include <QFontMetricsF>
#include <QPointF>
#include <QRawFont>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class QPaintDevice;

namespace talik {

struct ShapedGlyph
{
    std::uint32_t glyph = 0;
    std::size_t font = 0; // in GlyphShapes::rawFont()
    QPointF offset;       // from the pen on the baseline, device pixels
};

// Looks text up without copying it into a key.
struct TextHash
{
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

struct FontFace
{
    FontFace(const QFont& font, QPaintDevice* device);

    QFont font;
    QFontMetricsF metrics;
    double ascent = 0; // device pixels
    std::unordered_map<std::string, std::vector<ShapedGlyph>, TextHash, std::equal_to<>> shapes;
};

class GlyphShapes
{
public:
    // The face of the font a canvas names `name` at `size`, made from `makeFont()` on `device` the
    // first time. The faces of the fonts chosen before are kept, until so many are kept that they
    // start afresh (what was returned before is then gone).
    FontFace&
    choose(const std::string& name, double size, const std::function<QFont()>& makeFont, QPaintDevice* device);
    // Whether the face of `name` at `size` is kept: choosing it then makes nothing and forgets nothing.
    bool keeps(const std::string& name, double size) const { return m_faces.contains({name, size}); }
    // The glyphs of `utf8` shaped alone in `face` on `device`.
    const std::vector<ShapedGlyph>& shape(FontFace& face, QPaintDevice* device, std::string_view utf8);
    const QRawFont& rawFont(std::size_t index) const { return m_rawFonts[index]; }

private:
    // Fitted text brings a handful of sizes per font: past this many the kept faces start afresh.
    static constexpr std::size_t MostFaces = 64;

    std::vector<ShapedGlyph> layOut(const QFont& font, QPaintDevice* device, const QString& text);
    std::size_t indexOf(const QRawFont& font);

    std::map<std::pair<std::string, double>, FontFace> m_faces;
    std::vector<QRawFont> m_rawFonts;
};

} // namespace talik
