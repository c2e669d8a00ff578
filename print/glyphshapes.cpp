#include "print/glyphshapes.h"

#include <QGlyphRun>
#include <QTextLayout>
#include <QTextLine>

namespace talik {

FontFace::FontFace(const QFont& chosen, QPaintDevice* device)
    : font(chosen), metrics(chosen, device), ascent(metrics.ascent())
{}

FontFace&
GlyphShapes::choose(const std::string& name, double size, const std::function<QFont()>& makeFont, QPaintDevice* device)
{
    auto found = m_faces.find({name, size});
    if (found != m_faces.end()) {
        return found->second;
    }
    if (m_faces.size() >= MostFaces) {
        m_faces.clear();
        m_rawFonts.clear();
    }
    return m_faces.try_emplace({name, size}, makeFont(), device).first->second;
}

const std::vector<ShapedGlyph>& GlyphShapes::shape(FontFace& face, QPaintDevice* device, std::string_view utf8)
{
    auto found = face.shapes.find(utf8);
    if (found == face.shapes.end()) {
        QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
        found = face.shapes.emplace(std::string(utf8), layOut(face.font, device, text)).first;
    }
    return found->second;
}

std::vector<ShapedGlyph> GlyphShapes::layOut(const QFont& font, QPaintDevice* device, const QString& text)
{
    QTextLayout layout(text, font, device);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    std::vector<ShapedGlyph> glyphs;
    if (!line.isValid()) {
        return glyphs;
    }
    // The runs stand on the line's baseline, one ascent below its top.
    const QPointF pen(line.x(), line.y() + line.ascent());
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const std::size_t index = indexOf(run.rawFont());
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < indexes.size() && i < positions.size(); ++i) {
            glyphs.push_back({indexes[i], index, positions[i] - pen});
        }
    }
    return glyphs;
}

std::size_t GlyphShapes::indexOf(const QRawFont& font)
{
    for (std::size_t i = 0; i < m_rawFonts.size(); ++i) {
        if (m_rawFonts[i] == font) {
            return i;
        }
    }
    m_rawFonts.push_back(font);
    return m_rawFonts.size() - 1;
}

} // namespace talik
