#pragma once
// The canvas on Qt: a QPainter on a printer, a PDF file or the preview image. The painter stays
// untransformed: millimetres become device pixels here and fonts are set in points, so that font
// sizes keep their fractions (a painter scaled to millimetres would round them to whole units).
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "print/canvas.h"
#include "print/glyphshapes.h"

namespace talik {

class QtCanvas : public Canvas
{
public:
    // Draws pages on `device` (a QPrinter or a QPdfWriter set up for the page), which the canvas
    // keeps until it goes. isActive() is false when the device could not be opened.
    explicit QtCanvas(std::unique_ptr<QPagedPaintDevice> device);
    // Draws on `image`, which must outlive the canvas. The image's resolution (dots per metre) says
    // how many pixels make a millimetre, and font points are measured with the same resolution.
    explicit QtCanvas(QImage& image);
    ~QtCanvas() override;
    QtCanvas(const QtCanvas&) = delete;
    QtCanvas& operator=(const QtCanvas&) = delete;

    bool isActive() const;
    // Makes canvases that measure text exactly as this one does and draw nothing: an image of one
    // pixel at this canvas's resolution. A maker may be called, and its canvases used, on any one
    // thread while this canvas is drawn on by another.
    std::function<std::unique_ptr<Canvas>()> measuringTwins() const;

    void setFont(const std::string& name, double sizePoints) override;
    std::string fontName() const override { return m_fontName; }
    double fontSize() const override { return m_fontSize; }
    double textWidth(std::string_view utf8) override;
    void drawText(double xMm, double yMm, std::string_view utf8) override;
    // On paper and in PDF files the row's glyphs go down a run at a time, each where drawText
    // would put it; on the preview piece by piece.
    void drawRow(double yMm, std::span<const PlacedText> pieces) override;
    void drawBox(double xMm, double yMm, double widthMm, double heightMm) override;
    // A new sheet on a page device; nothing on the image.
    void newPage() override;
    // Finishes the document (a PDF is written out, a print job sent). On the image it ends the
    // painting, so the image can be shown; the next drawing begins again.
    bool endDocument() override;
    // Fills the image white; paper cannot be wiped, so nothing happens on a page device.
    void clear() override;

private:
    QPainter& painter();
    // The painter with the canvas's font, for drawing text through it.
    QPainter& textPainter();
    void begin();
    QPointF toDevice(double xMm, double yMm) const;
    void drawUpright(QPointF topLeft, const QString& text);
    void drawTurnedCharacters(QPointF topLeft, const QString& text);
    // Glyphs of rows wait here, while they are of one font, to go down as one run: each run the
    // painter takes costs a printer or a PDF as much as a handful of glyphs. Anything else drawn,
    // and the end of a page, sends them first, so the order on paper stays the order of drawing.
    void addGlyph(std::size_t font, std::uint32_t glyph, QPointF position);
    void flushGlyphs();

    std::unique_ptr<QPagedPaintDevice> m_pages; // the device, when drawing pages
    QImage* m_image = nullptr;                  // the device, when drawing the preview
    QPaintDevice* m_device = nullptr;
    double m_pixelsPerMmX = 1;
    double m_pixelsPerMmY = 1;
    QPainter m_painter; // after the device: it ends before the device goes

    std::string m_fontName;
    double m_fontSize = 0;
    bool m_turned = false; // the "@" variant: each character turned 90° clockwise
    QFont m_font;
    QFontMetricsF m_metrics;
    double m_ascent = 0;           // of m_font, device pixels
    bool m_painterHasFont = false; // the painter's font is set only when text is drawn through it
    FontFace* m_face = nullptr;    // m_font's, once a font was set
    GlyphShapes m_shapes;
    std::size_t m_runFont = 0;
    QList<quint32> m_runGlyphs;
    QList<QPointF> m_runPositions;
};

// A page layout covering the whole sheet: no margins, origin at the paper's top-left corner.
QPageLayout FullPage(const QPageSize& size);
// A canvas on `device`, begun; nullptr when the device could not be opened.
std::unique_ptr<QtCanvas> OpenedCanvas(std::unique_ptr<QPagedPaintDevice> device);

// A PDF of pages of `size` (QPdfWriter, 600 dpi, full page, no margins; the text stays text).
// nullptr when the file cannot be written. The caller ends the document.
std::unique_ptr<QtCanvas> PdfCanvas(const QString& file, const QPageSize& size);

// A white preview image of `widthMm` × `heightMm` at `pixelsPerMm`, its resolution set to match.
QImage PreviewImage(double widthMm, double heightMm, double pixelsPerMm);

} // namespace talik
