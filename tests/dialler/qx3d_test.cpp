#include "dialler/QX3D.h"
#include "dialler/qtlinecanvas.h"

#include <QImage>
#include <QPainter>
#include <QPalette>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace talik::dialler {
namespace {

constexpr Rgb Light = 0xFFFFFFu;
constexpr Rgb Dark = 0x808080u;
constexpr Rgb Face = 0xC0C0C0u;

struct Call
{
    bool box;
    int x1, y1, x2, y2;
    Rgb colour;
    bool operator==(const Call&) const = default;
};

Call line(int x1, int y1, int x2, int y2, Rgb colour)
{
    return {false, x1, y1, x2, y2, colour};
}

Call box(int x1, int y1, int x2, int y2, Rgb colour)
{
    return {true, x1, y1, x2, y2, colour};
}

void PrintTo(const Call& c, std::ostream* os)
{
    *os << (c.box ? "box(" : "line(") << c.x1 << ',' << c.y1 << ' ' << c.x2 << ',' << c.y2 << " #" << std::hex
        << c.colour << std::dec << ')';
}

// Records every call, and sets the pixels of horizontal and vertical lines (end point left out)
// and boxes (both corners in) so tests can look at the result.
class RecordingCanvas : public LineCanvas
{
public:
    void drawLine(int x1, int y1, int x2, int y2, Rgb colour) override
    {
        calls.push_back(line(x1, y1, x2, y2, colour));
        const int dx = (x2 > x1) - (x2 < x1);
        const int dy = (y2 > y1) - (y2 < y1);
        for (int x = x1, y = y1; x != x2 || y != y2; x += dx, y += dy) {
            pixels[{x, y}] = colour;
        }
    }
    void drawBox(int x1, int y1, int x2, int y2, Rgb colour) override
    {
        calls.push_back(box(x1, y1, x2, y2, colour));
        for (int x = x1; x <= x2; ++x) {
            pixels[{x, y1}] = pixels[{x, y2}] = colour;
        }
        for (int y = y1; y <= y2; ++y) {
            pixels[{x1, y}] = pixels[{x2, y}] = colour;
        }
    }
    std::optional<Rgb> at(int x, int y) const
    {
        const auto found = pixels.find({x, y});
        return found == pixels.end() ? std::nullopt : std::optional<Rgb>(found->second);
    }

    std::vector<Call> calls;
    std::map<std::pair<int, int>, Rgb> pixels;
};

class FakeClient : public PanelClient
{
public:
    FakeClient(PixelRect rect, LineCanvas* own, LineCanvas* parent) : m_rect(rect), m_own(own), m_parent(parent) {}
    PixelRect bounds() const override { return m_rect; }
    int scaleWidth() const override { return m_rect.width; }
    int scaleHeight() const override { return m_rect.height; }
    LineCanvas* surface() const override { return m_own; }
    LineCanvas* parentSurface() const override { return m_parent; }

private:
    PixelRect m_rect;
    LineCanvas* m_own;
    LineCanvas* m_parent;
};

// A 4 x 3 pixel control at (10, 10) on a parent that is being drawn.
class QX3DStyles : public testing::Test
{
protected:
    QX3DStyles()
    {
        frame.setClient(&client);
        frame.setHighlight(Light);
        frame.setShadow(Dark);
        frame.setBackground(Face);
    }
    std::vector<Call> draw(std::int16_t style)
    {
        frame.setStyle3D(style);
        frame.Refresh();
        return parent.calls;
    }
    // The explicit rectangle of styles 6 to 8 at the control's place, in twips.
    void useExplicitRectangle()
    {
        frame.setCanvas(&parent);
        frame.setLeft(150);
        frame.setTop(150);
        frame.setWidth(60);
        frame.setHeight(45);
    }
    void useThinBevels()
    {
        frame.setBevelWidth(1);
        frame.setBorderWidth(1);
        frame.setBevelInner(1);
    }

    RecordingCanvas parent;
    FakeClient client{{10, 10, 4, 3}, nullptr, &parent};
    QX3D frame;
};

TEST(QX3DProperties, StartWithTheirDefaults)
{
    const QX3D frame;
    EXPECT_EQ(frame.Style3D(), 0);
    EXPECT_EQ(frame.BevelInner(), 0);
    EXPECT_EQ(frame.BevelOuter(), 2);
    EXPECT_EQ(frame.BevelWidth(), 3);
    EXPECT_EQ(frame.BorderWidth(), 2);
    EXPECT_EQ(frame.Highlight(), 0x80000014u);
    EXPECT_EQ(frame.Shadow(), 0x80000010u);
    EXPECT_EQ(frame.Background(), 0x8000000Fu);
    EXPECT_FALSE(frame.ActOnNone());
    EXPECT_EQ(frame.Client(), nullptr);
    EXPECT_EQ(frame.Canvas(), nullptr);
}

TEST(QX3DProperties, IgnoreValuesOutsideTheirRangeAndKeepTheOldOne)
{
    QX3D frame;
    frame.setStyle3D(8);
    frame.setStyle3D(9);
    frame.setStyle3D(-1);
    EXPECT_EQ(frame.Style3D(), 8);

    frame.setBevelInner(1);
    frame.setBevelInner(3);
    frame.setBevelOuter(0);
    frame.setBevelOuter(-1);
    EXPECT_EQ(frame.BevelInner(), 1);
    EXPECT_EQ(frame.BevelOuter(), 0);

    frame.setBevelWidth(0);
    EXPECT_EQ(frame.BevelWidth(), 3);
    frame.setBorderWidth(0);
    frame.setBorderWidth(-1);
    EXPECT_EQ(frame.BorderWidth(), 0);
}

TEST(QX3DErrors, RefreshWithoutCanvasOrClientRaisesNotSet)
{
    const QX3D frame;
    try {
        frame.Refresh();
        FAIL() << "no error raised";
    } catch (const QX3DError& error) {
        EXPECT_EQ(error.number(), 0x80040400u);
        EXPECT_EQ(error.description(), " Canvas and/or Client Properties not set.");
        EXPECT_EQ(error.source(), "QX3D");
    }
}

TEST(QX3DErrors, RefreshWithOnlyAClientAndAStyleNamingNoSurfaceRaisesAmbiguous)
{
    RecordingCanvas surface;
    FakeClient client({0, 0, 10, 10}, &surface, &surface);
    for (std::int16_t style : {4, 6, 7, 8}) {
        QX3D frame;
        frame.setClient(&client);
        frame.setStyle3D(style);
        try {
            frame.Refresh();
            ADD_FAILURE() << "no error raised for style " << style;
        } catch (const QX3DError& error) {
            EXPECT_EQ(error.number(), 0x80040401u);
            EXPECT_STREQ(error.what(), "Canvas Property ambiguous.");
        }
    }
    EXPECT_TRUE(surface.calls.empty());
}

TEST(QX3DErrors, AClientWithoutTheSurfaceItsStyleNeedsCountsAsNotSet)
{
    FakeClient orphan({0, 0, 10, 10}, nullptr, nullptr);
    QX3D frame;
    frame.setClient(&orphan);
    frame.setStyle3D(1);
    EXPECT_THROW(frame.Refresh(), QX3DError);
}

TEST(QX3DErrors, CoordinatesBeyondSixteenBitTwipsRaiseOverflow)
{
    RecordingCanvas surface;
    FakeClient farRight({2200, 0, 10, 10}, nullptr, &surface); // 33 000 twips
    QX3D frame;
    frame.setClient(&farRight);
    frame.setStyle3D(2);
    try {
        frame.Refresh();
        FAIL() << "no error raised";
    } catch (const QX3DError& error) {
        EXPECT_EQ(error.number(), 6u);
    }

    frame.setCanvas(&surface);
    frame.setStyle3D(8);
    frame.setLeft(32700);
    frame.setWidth(100);
    EXPECT_THROW(frame.Refresh(), QX3DError);
}

TEST_F(QX3DStyles, StyleZeroDrawsNothingUnlessActOnNoneErasesTheThinFrame)
{
    EXPECT_TRUE(draw(0).empty());
    frame.setActOnNone(true);
    EXPECT_EQ(draw(0), std::vector{box(9, 9, 14, 13, Face)});
}

TEST_F(QX3DStyles, StyleOneIsSunkenWithLightRightAndBottomEdgesOnePixelOutside)
{
    EXPECT_EQ(draw(1), (std::vector{box(9, 9, 14, 13, Dark), line(14, 9, 14, 14, Light), line(9, 13, 15, 13, Light)}));
    EXPECT_EQ(parent.at(14, 9), Light); // top right corner
    EXPECT_EQ(parent.at(9, 13), Light); // bottom left corner
    EXPECT_EQ(parent.at(10, 9), Dark);
    EXPECT_EQ(parent.at(10, 10), std::nullopt); // the control itself stays untouched
}

TEST_F(QX3DStyles, StyleTwoIsRaisedWithLightTopAndLeftEdges)
{
    EXPECT_EQ(draw(2), (std::vector{box(9, 9, 14, 13, Dark), line(9, 9, 15, 9, Light), line(9, 9, 9, 14, Light)}));
    EXPECT_EQ(parent.at(14, 9), Light);
    EXPECT_EQ(parent.at(14, 13), Dark);
}

TEST_F(QX3DStyles, StyleNineIsIgnoredAndThePreviousStyleDraws)
{
    frame.setStyle3D(2);
    EXPECT_EQ(draw(9), (std::vector{box(9, 9, 14, 13, Dark), line(9, 9, 15, 9, Light), line(9, 9, 9, 14, Light)}));
}

TEST_F(QX3DStyles, StylesThreeAndSixAreADarkGrooveWithALightCopyOnePixelRightAndDown)
{
    const std::vector expected{box(8, 8, 14, 13, Dark), box(9, 9, 15, 14, Light)};
    EXPECT_EQ(draw(3), expected);
    parent.calls.clear();
    useExplicitRectangle();
    EXPECT_EQ(draw(6), expected);
}

TEST_F(QX3DStyles, StylesFourAndSevenPutARaisedAndAnInsetBevelAroundTheRectangle)
{
    useThinBevels(); // thickness 1 + 1 + 1 pixels
    const std::vector expected{
        line(7, 7, 16, 7, Light),   line(7, 7, 7, 15, Light),   line(7, 15, 16, 15, Dark), line(16, 7, 16, 16, Dark),
        line(9, 13, 14, 13, Light), line(14, 9, 14, 14, Light), line(9, 9, 14, 9, Dark),   line(9, 9, 9, 13, Dark),
    };
    frame.setCanvas(&parent);
    EXPECT_EQ(draw(4), expected);
    parent.calls.clear();
    useExplicitRectangle();
    EXPECT_EQ(draw(7), expected);
}

TEST_F(QX3DStyles, StyleFourWithOnlyAnInnerBevelIsOneBevelWidthThickAndInset)
{
    frame.setCanvas(&parent);
    frame.setBevelOuter(0);
    frame.setBevelInner(1);
    frame.setBevelWidth(2);
    draw(4);
    ASSERT_EQ(parent.calls.size(), 8u);
    EXPECT_EQ(parent.calls.front(), line(8, 14, 15, 14, Light)); // bottom edge, unshrunk rectangle (8,8)-(15,14)
    for (int x = 8; x < 15; ++x) {
        EXPECT_EQ(parent.at(x, 8), Dark) << x;
        EXPECT_EQ(parent.at(x, 14), Light) << x;
    }
    EXPECT_EQ(parent.at(15, 8), Light); // the right edge owns the top right corner
    EXPECT_EQ(parent.at(10, 10), std::nullopt);
}

TEST_F(QX3DStyles, StyleEightBevelsInsideTheExplicitRectangle)
{
    useThinBevels();
    useExplicitRectangle();
    frame.setBevelInner(0);
    EXPECT_EQ(draw(8), (std::vector{line(10, 10, 13, 10, Light), line(10, 10, 10, 12, Light),
                                    line(10, 12, 13, 12, Dark), line(13, 10, 13, 13, Dark)}));
}

TEST_F(QX3DStyles, ASetCanvasWinsOverTheClientsParent)
{
    RecordingCanvas other;
    frame.setCanvas(&other);
    draw(1);
    EXPECT_TRUE(parent.calls.empty());
    EXPECT_EQ(other.calls.size(), 3u);
}

TEST_F(QX3DStyles, OtherScreensConvertWithTheirOwnTwipsPerPixel)
{
    QX3D coarse(20, 10); // 72 x 144 dots per inch
    coarse.setCanvas(&parent);
    coarse.setLeft(200);
    coarse.setTop(100);
    coarse.setWidth(80);
    coarse.setHeight(30);
    coarse.setBevelWidth(1);
    coarse.setStyle3D(8);
    coarse.Refresh();
    EXPECT_EQ(parent.calls.front(), line(10, 10, 13, 10, 0x80000014u));
    EXPECT_EQ(parent.calls.back(), line(13, 10, 13, 13, 0x80000010u));
}

// The dialler's borderless window: client and canvas are the window itself, style 5, outer
// raised, inner inset, bevels of 3 pixels with a 2-pixel gap.
TEST(QX3DDiallerFrame, DrawsARaisedEdgeAGapAndAnInsetEdgeAlongTheWindowBorder)
{
    RecordingCanvas window;
    FakeClient windowAsClient({300, 200, 40, 30}, &window, nullptr);
    QX3D frame;
    frame.setClient(&windowAsClient);
    frame.setCanvas(&window);
    frame.setStyle3D(5);
    frame.setBevelOuter(2);
    frame.setBevelInner(1);
    frame.setBevelWidth(3);
    frame.setBorderWidth(2);
    frame.Refresh();

    ASSERT_EQ(window.calls.size(), 24u);
    EXPECT_EQ(window.calls[0], line(0, 0, 39, 0, 0x80000014u));
    EXPECT_EQ(window.calls[3], line(39, 0, 39, 30, 0x80000010u));
    EXPECT_EQ(window.calls[12], line(5, 24, 34, 24, 0x80000014u));

    const std::optional<Rgb> light = 0x80000014u, dark = 0x80000010u, none;
    const std::vector<std::optional<Rgb>> acrossTopLeft{light, light, light, none, none, dark, dark, dark, none};
    const std::vector<std::optional<Rgb>> acrossBottomRight{dark, dark, dark, none, none, light, light, light, none};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(window.at(i, 15), acrossTopLeft[i]) << "left border, " << i;
        EXPECT_EQ(window.at(20, i), acrossTopLeft[i]) << "top border, " << i;
        EXPECT_EQ(window.at(39 - i, 15), acrossBottomRight[i]) << "right border, " << i;
        EXPECT_EQ(window.at(20, 29 - i), acrossBottomRight[i]) << "bottom border, " << i;
    }
    EXPECT_EQ(window.at(39, 29), dark); // the corners are closed
    EXPECT_EQ(window.at(34, 24), light);
}

TEST(QX3DDiallerFrame, TakesTheWindowAsCanvasWhenOnlyTheClientIsSet)
{
    RecordingCanvas window;
    FakeClient windowAsClient({0, 0, 20, 20}, &window, nullptr);
    QX3D frame;
    frame.setClient(&windowAsClient);
    frame.setStyle3D(5);
    frame.Refresh();
    EXPECT_EQ(window.calls.size(), 12u); // the default outer bevel only
    EXPECT_EQ(frame.Canvas(), nullptr);
}

// The Qt surface on an image: lines leave out their end point, boxes include both corners.
TEST(QtLineCanvas, LeavesOutTheEndPointOfALineAndKeepsBothCornersOfABox)
{
    QImage image(12, 12, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPalette palette;
    palette.setColor(QPalette::Light, Qt::white);
    palette.setColor(QPalette::Dark, Qt::gray);
    {
        QPainter painter(&image);
        QtLineCanvas canvas(painter, palette);
        canvas.drawLine(1, 1, 6, 1, 0x0000FFu);   // red, as &HBBGGRR
        canvas.drawLine(1, 3, 1, 8, 0x80000014u); // the 3-D highlight
        canvas.drawBox(3, 3, 8, 8, 0x80000010u);
    }
    EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(5, 1), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(6, 1), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(1, 7), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(1, 8), QColor(Qt::black));
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{{3, 3}, {8, 3}, {3, 8}, {8, 8}, {5, 8}}) {
        EXPECT_EQ(image.pixelColor(x, y), QColor(Qt::gray)) << x << ',' << y;
    }
    EXPECT_EQ(image.pixelColor(9, 9), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::black));
}

} // namespace
} // namespace talik::dialler
