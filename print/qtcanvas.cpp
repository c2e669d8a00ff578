#include "print/qtcanvas.h"

#include <QGlyphRun>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace talik {
namespace {

constexpr double MmPerInch = 25.4;
// Box lines are one dot of a 300 dpi printer, and at least one pixel of a coarse preview.
constexpr double BoxLineMm = MmPerInch / 300;
// Qt refuses sizes of 0 points and below; a size the engines never ask for.
constexpr double SmallestPoints = 0.1;

QString FromUtf8(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The characters of `text`, a surrogate pair kept together.
QStringList Characters(const QString& text)
{
    QStringList characters;
    for (qsizetype i = 0; i < text.size(); ++i) {
        bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        characters.append(text.mid(i, pair ? 2 : 1));
        i += pair ? 1 : 0;
    }
    return characters;
}

// Text measured on a canvas of one pixel: the fonts of the chosen resolution, nothing drawn.
class MeasuringCanvas final : public Canvas
{
public:
    MeasuringCanvas(int dpiX, int dpiY) : m_image(1, 1, QImage::Format_RGB32)
    {
        // The image gives its resolution back in whole dots per inch: these round to the given ones.
        m_image.setDotsPerMeterX(static_cast<int>(std::lround(dpiX / 0.0254)));
        m_image.setDotsPerMeterY(static_cast<int>(std::lround(dpiY / 0.0254)));
        m_canvas = std::make_unique<QtCanvas>(m_image);
    }

    void setFont(const std::string& name, double sizePoints) override { m_canvas->setFont(name, sizePoints); }
    std::string fontName() const override { return m_canvas->fontName(); }
    double fontSize() const override { return m_canvas->fontSize(); }
    double textWidth(std::string_view utf8) override { return m_canvas->textWidth(utf8); }
    void drawText(double, double, std::string_view) override {}
    void drawRow(double, std::span<const PlacedText>) override {}
    void drawBox(double, double, double, double) override {}
    void newPage() override {}
    bool endDocument() override { return true; }
    void clear() override {}

private:
    QImage m_image;
    std::unique_ptr<QtCanvas> m_canvas; // after the image it draws on
};

} // namespace

QPageLayout FullPage(const QPageSize& size)
{
    QPageLayout layout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

std::unique_ptr<QtCanvas> OpenedCanvas(std::unique_ptr<QPagedPaintDevice> device)
{
    auto canvas = std::make_unique<QtCanvas>(std::move(device));
    return canvas->isActive() ? std::move(canvas) : nullptr;
}

QtCanvas::QtCanvas(std::unique_ptr<QPagedPaintDevice> device)
    : m_pages(std::move(device)), m_device(m_pages.get()), m_metrics(m_font)
{
    // The device's resolution converts both millimetres and points, so the two always agree.
    m_pixelsPerMmX = m_device->logicalDpiX() / MmPerInch;
    m_pixelsPerMmY = m_device->logicalDpiY() / MmPerInch;
    // A page device is opened at once: a file that cannot be written shows here, not after drawing.
    begin();
    m_metrics = QFontMetricsF(m_font, m_device);
    m_ascent = m_metrics.ascent();
}

QtCanvas::QtCanvas(QImage& image) : m_image(&image), m_device(&image), m_metrics(m_font)
{
    m_pixelsPerMmX = image.logicalDpiX() / MmPerInch;
    m_pixelsPerMmY = image.logicalDpiY() / MmPerInch;
    m_metrics = QFontMetricsF(m_font, m_device);
    m_ascent = m_metrics.ascent();
}

QtCanvas::~QtCanvas()
{
    flushGlyphs();
}

bool QtCanvas::isActive() const
{
    return m_painter.isActive();
}

std::function<std::unique_ptr<Canvas>()> QtCanvas::measuringTwins() const
{
    const int dpiX = m_device->logicalDpiX();
    const int dpiY = m_device->logicalDpiY();
    return [dpiX, dpiY] { return std::make_unique<MeasuringCanvas>(dpiX, dpiY); };
}

// The painter of the image is begun again on the first drawing after endDocument(); a page device
// is begun once only, by the constructor, since beginning it again would start a new document over
// the finished one.
QPainter& QtCanvas::painter()
{
    if (m_image != nullptr && !m_painter.isActive()) {
        begin();
    }
    return m_painter;
}

void QtCanvas::begin()
{
    if (!m_painter.begin(m_device)) {
        return;
    }
    double lineWidth = std::max(1.0, BoxLineMm * m_pixelsPerMmX);
    m_painter.setPen(QPen(Qt::black, lineWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.setRenderHint(QPainter::TextAntialiasing);
    m_painter.setFont(m_font);
    m_painterHasFont = true;
}

QPainter& QtCanvas::textPainter()
{
    QPainter& p = painter();
    if (!m_painterHasFont && p.isActive()) {
        p.setFont(m_font);
        m_painterHasFont = true;
    }
    return p;
}

QPointF QtCanvas::toDevice(double xMm, double yMm) const
{
    return {xMm * m_pixelsPerMmX, yMm * m_pixelsPerMmY};
}

void QtCanvas::setFont(const std::string& name, double sizePoints)
{
    if (m_face != nullptr && sizePoints == m_fontSize && name == m_fontName) {
        return; // an engine sets the font of each line, most often the one in force
    }
    m_fontName = name;
    m_fontSize = sizePoints;
    m_turned = name.starts_with('@');
    const std::string_view family = m_turned ? std::string_view(name).substr(1) : std::string_view(name);
    auto makeFont = [&] {
        QFont font(FromUtf8(family));
        font.setPointSizeF(std::max(sizePoints, SmallestPoints));
        return font;
    };
    if (!m_shapes.keeps(name, sizePoints)) {
        flushGlyphs(); // a new face may start the kept fonts afresh, the waiting run's among them
    }
    m_face = &m_shapes.choose(name, sizePoints, makeFont, m_device);
    m_font = m_face->font;
    m_metrics = m_face->metrics;
    m_ascent = m_face->ascent;
    m_painterHasFont = false;
}

double QtCanvas::textWidth(std::string_view utf8)
{
    return m_metrics.horizontalAdvance(FromUtf8(utf8)) / m_pixelsPerMmX;
}

void QtCanvas::drawText(double xMm, double yMm, std::string_view utf8)
{
    flushGlyphs();
    QString text = FromUtf8(utf8);
    if (m_turned) {
        drawTurnedCharacters(toDevice(xMm, yMm), text);
    } else {
        drawUpright(toDevice(xMm, yMm), text);
    }
}

void QtCanvas::drawRow(double yMm, std::span<const PlacedText> pieces)
{
    // The preview is drawn a piece at a time, as ever: the raster engine smooths a glyph run's
    // edges a shade differently, and one page needs no haste.
    if (m_turned || m_face == nullptr || m_image != nullptr) {
        Canvas::drawRow(yMm, pieces);
        return;
    }
    const double baseline = toDevice(0, yMm).y() + m_ascent;
    // In the order drawText would draw them.
    for (const PlacedText& piece : pieces) {
        const QPointF pen(toDevice(piece.xMm, yMm).x(), baseline);
        for (const ShapedGlyph& shaped : m_shapes.shape(*m_face, m_device, piece.utf8)) {
            addGlyph(shaped.font, shaped.glyph, pen + shaped.offset);
        }
    }
}

void QtCanvas::addGlyph(std::size_t font, std::uint32_t glyph, QPointF position)
{
    if (!m_runGlyphs.isEmpty() && font != m_runFont) {
        flushGlyphs();
    }
    m_runFont = font;
    m_runGlyphs.append(glyph);
    m_runPositions.append(position);
}

void QtCanvas::flushGlyphs()
{
    if (m_runGlyphs.isEmpty()) {
        return;
    }
    QGlyphRun run;
    run.setRawFont(m_shapes.rawFont(m_runFont));
    run.setGlyphIndexes(m_runGlyphs);
    run.setPositions(m_runPositions);
    m_painter.drawGlyphRun(QPointF(0, 0), run);
    m_runGlyphs.clear();
    m_runPositions.clear();
}

// Text with its top-left corner at `topLeft`: the baseline lies one ascent below.
void QtCanvas::drawUpright(QPointF topLeft, const QString& text)
{
    textPainter().drawText(QPointF(topLeft.x(), topLeft.y() + m_ascent), text);
}

// The vertical variant, which Qt has no font for: each character is turned 90° clockwise about the
// centre of its own cell, so that a dash stands upright in a column of vertical text.
void QtCanvas::drawTurnedCharacters(QPointF topLeft, const QString& text)
{
    QPainter& p = textPainter();
    double x = topLeft.x();
    for (const QString& character : Characters(text)) {
        double advance = m_metrics.horizontalAdvance(character);
        double height = m_metrics.height();
        p.save();
        p.translate(x + advance / 2, topLeft.y() + height / 2);
        p.rotate(90);
        p.drawText(QPointF(-advance / 2, -height / 2 + m_metrics.ascent()), character);
        p.restore();
        x += advance;
    }
}

void QtCanvas::drawBox(double xMm, double yMm, double widthMm, double heightMm)
{
    flushGlyphs();
    QPointF topLeft = toDevice(xMm, yMm);
    QPointF bottomRight = toDevice(xMm + widthMm, yMm + heightMm);
    painter().drawRect(QRectF(topLeft, bottomRight));
}

void QtCanvas::newPage()
{
    flushGlyphs();
    if (m_pages && m_painter.isActive()) {
        m_pages->newPage();
    }
}

bool QtCanvas::endDocument()
{
    flushGlyphs();
    if (!m_painter.isActive()) {
        return m_image != nullptr;
    }
    return m_painter.end();
}

void QtCanvas::clear()
{
    flushGlyphs();
    if (m_image != nullptr) {
        painter().fillRect(QRectF(0, 0, m_image->width(), m_image->height()), Qt::white);
    }
}

std::unique_ptr<QtCanvas> PdfCanvas(const QString& file, const QPageSize& size)
{
    auto writer = std::make_unique<QPdfWriter>(file);
    writer->setResolution(600);
    writer->setPageLayout(FullPage(size));
    writer->setCreator(QStringLiteral("talik"));
    return OpenedCanvas(std::move(writer));
}

QImage PreviewImage(double widthMm, double heightMm, double pixelsPerMm)
{
    // The image keeps its resolution in whole dots per inch: the pixel size follows that value.
    int dpi = std::max(1, static_cast<int>(std::lround(pixelsPerMm * MmPerInch)));
    double pixels = dpi / MmPerInch;
    QImage image(static_cast<int>(std::ceil(widthMm * pixels)), static_cast<int>(std::ceil(heightMm * pixels)),
                 QImage::Format_RGB32);
    int dotsPerMetre = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    return image;
}

} // namespace talik
