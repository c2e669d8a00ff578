// A row of pieces drawn at once on the Qt canvas lands where the same pieces drawn one by one land:
// in a PDF file word for word and position for position (read back with pdftotext), with
// characters of fallback fonts and after font changes; on the preview pixel for pixel; and in the
// turned variant.
#include <QImage>
#include <QPageSize>
#include <QString>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "print/qtcanvas.h"
#include "tests/support/childprocess.h"
#include "tests/support/tempdir.h"

namespace talik {
namespace {

constexpr double PixelsPerMm = 12;

struct Row
{
    std::string font;
    double size;
    double y;
    std::vector<PlacedText> pieces;
};

void DrawRows(Canvas& canvas, const std::vector<Row>& rows, bool atOnce)
{
    for (const Row& row : rows) {
        canvas.setFont(row.font, row.size);
        if (atOnce) {
            canvas.drawRow(row.y, row.pieces);
        } else {
            for (const PlacedText& piece : row.pieces) {
                canvas.drawText(piece.xMm, row.y, piece.utf8);
            }
        }
    }
}

// The rows drawn on a fresh preview, each at once or piece by piece.
QImage Drawn(const std::vector<Row>& rows, bool atOnce)
{
    QImage image = PreviewImage(120, 60, PixelsPerMm);
    {
        QtCanvas canvas(image);
        DrawRows(canvas, rows, atOnce);
        canvas.endDocument();
    }
    return image;
}

bool HasInk(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                return true;
            }
        }
    }
    return false;
}

// A label line: one character to a cell of the pitch, at positions that are no whole pixels.
std::vector<PlacedText> Cells(const std::vector<std::string_view>& characters, double x, double pitch)
{
    std::vector<PlacedText> pieces;
    for (std::string_view character : characters) {
        pieces.push_back({x, character});
        x += pitch;
    }
    return pieces;
}

const std::vector<Row> LabelRows = {
    {"Sans Serif", 10, 3.3, Cells({"〒", "1", "5", "0", "-", "0", "0", "0", "2"}, 2.17, 3.53)},
    {"Serif", 11.5, 9.71, Cells({"東", "京", "都", "渋", "谷", "区", "１", "－", "２", "𠮷", "ｶ"}, 4.05, 4.06)},
    {"Sans Serif", 16, 20.2, Cells({"山", "田", "　", "太", "郎", "様"}, 10.5, 5.64)},
    {"Serif", 11.5, 30.9, Cells({"株", "式", "会", "社", "A", "b", "é"}, 6.66, 4.06)},
    {"Sans Serif", 10, 40.05, Cells({"2", "-", "2", "1", "ヒ", "カ", "リ", "エ"}, 1.01, 3.53)},
};

// pdftotext's words with their boxes (points), one line each; empty without the tool.
std::vector<std::string> WordsOf(const std::filesystem::path& pdf, const test::TempDir& folder)
{
    const auto html = folder.path() / (pdf.stem().string() + ".html");
    test::RunProgram({"/usr/bin/pdftotext", "-bbox", pdf.string(), html.string()}, folder.path());
    std::ifstream in(html);
    std::stringstream text;
    text << in.rdbuf();
    const std::string content = text.str();
    std::vector<std::string> words;
    const std::regex word(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
    for (auto it = std::sregex_iterator(content.begin(), content.end(), word); it != std::sregex_iterator(); ++it) {
        // To a hundred-thousandth of a point: the PDF writes its moves to six places.
        char line[160];
        std::snprintf(line, sizeof(line), "%.5f %.5f %.5f %.5f ", std::stod((*it)[1]), std::stod((*it)[2]),
                      std::stod((*it)[3]), std::stod((*it)[4]));
        words.push_back(line + (*it)[5].str());
    }
    return words;
}

// Draws a PDF twice with `draw`, rows at once and piece by piece, and expects the same words in the
// same places. With `end` false the canvas goes without ending its document.
void ExpectRowsWhereTheirPiecesStand(const std::function<void(Canvas&, bool atOnce)>& draw, bool end = true)
{
    test::TempDir folder;
    for (bool atOnce : {true, false}) {
        auto canvas = PdfCanvas(QString::fromStdString((folder.path() / (atOnce ? "row.pdf" : "pieces.pdf")).string()),
                                QPageSize(QPageSize::A4));
        ASSERT_TRUE(canvas);
        draw(*canvas, atOnce);
        if (end) {
            ASSERT_TRUE(canvas->endDocument());
        }
    }
    const std::vector<std::string> pieces = WordsOf(folder.path() / "pieces.pdf", folder);
    ASSERT_GE(pieces.size(), 2 * LabelRows.size());
    // Rounding in the last written place may move a word by a millionth of a point.
    const std::vector<std::string> row = WordsOf(folder.path() / "row.pdf", folder);
    ASSERT_EQ(row.size(), pieces.size());
    for (std::size_t i = 0; i < row.size(); ++i) {
        EXPECT_EQ(row[i], pieces[i]);
    }
}

bool HasPdfToText()
{
    return std::filesystem::exists("/usr/bin/pdftotext");
}

TEST(QtCanvasRow, InAPdfARowStandsWordForWordWhereItsPiecesDrawnAloneStand)
{
    if (!HasPdfToText()) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    ExpectRowsWhereTheirPiecesStand([](Canvas& canvas, bool atOnce) {
        DrawRows(canvas, LabelRows, atOnce);
        canvas.newPage();
        DrawRows(canvas, LabelRows, atOnce); // the kept shapes serve the second page
    });
}

TEST(QtCanvasRow, RowsOfOneFontThatGoDownTogetherLoseNothingAndStandInPlace)
{
    if (!HasPdfToText()) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    // Rows of the same font one after another, broken by a box, a text, new pages and more faces
    // than the canvas keeps (which start its kept fonts afresh).
    std::vector<Row> sameFont;
    for (const Row& row : LabelRows) {
        sameFont.push_back({"Serif", 11.5, row.y, row.pieces});
    }
    for (bool end : {true, false}) {
        ExpectRowsWhereTheirPiecesStand(
            [&](Canvas& canvas, bool atOnce) {
                DrawRows(canvas, sameFont, atOnce);
                canvas.drawBox(5, 50, 30, 10);
                DrawRows(canvas, sameFont, atOnce);
                canvas.drawText(40, 60, "枠の後");
                DrawRows(canvas, sameFont, atOnce);
                for (int size = 0; size < 70; ++size) {
                    canvas.setFont("Sans Serif", 6 + size / 4.0);
                }
                // Another font is the first kept after the fresh start.
                DrawRows(canvas, {LabelRows[0]}, atOnce);
                DrawRows(canvas, sameFont, atOnce);
                canvas.newPage();
                DrawRows(canvas, sameFont, atOnce);
            },
            end);
    }
}

TEST(QtCanvasRow, AMeasuringTwinOnAnotherThreadMeasuresToTheBitAsThePdfDoes)
{
    test::TempDir folder;
    auto pdf = PdfCanvas(QString::fromStdString((folder.path() / "twin.pdf").string()), QPageSize(QPageSize::A4));
    ASSERT_TRUE(pdf);
    const std::vector<std::string> texts = {"東京都渋谷区渋谷２－２１－１", "ﾔﾏﾀﾞ ﾀﾛｳ", "Abc-123 é", "𠮷野家〒"};
    std::vector<double> onPaper;
    for (double size : {7.0, 10.5, 13.7, 21.25}) {
        for (const char* font : {"Serif", "Sans Serif"}) {
            pdf->setFont(font, size);
            for (const std::string& text : texts) {
                onPaper.push_back(pdf->textWidth(text));
            }
        }
    }
    std::vector<double> measured;
    std::thread other([&, makeTwin = pdf->measuringTwins()] {
        auto twin = makeTwin();
        for (double size : {7.0, 10.5, 13.7, 21.25}) {
            for (const char* font : {"Serif", "Sans Serif"}) {
                twin->setFont(font, size);
                for (const std::string& text : texts) {
                    measured.push_back(twin->textWidth(text));
                }
            }
        }
    });
    other.join();
    EXPECT_EQ(measured, onPaper);
    EXPECT_TRUE(pdf->endDocument());
}

TEST(QtCanvasRow, AFontSetAgainIsKeptAndAnotherOfTheSameSizeIsTakenUp)
{
    QImage image = PreviewImage(50, 20, PixelsPerMm);
    QtCanvas canvas(image);
    canvas.setFont("Serif", 10);
    const double serif = canvas.textWidth("Wide words");
    canvas.setFont("Serif", 10);
    EXPECT_EQ(canvas.textWidth("Wide words"), serif);
    canvas.setFont("Sans Serif", 10);
    EXPECT_EQ(canvas.fontName(), "Sans Serif");
    EXPECT_NE(canvas.textWidth("Wide words"), serif);
    canvas.setFont("Serif", 12);
    EXPECT_EQ(canvas.fontSize(), 12);
    EXPECT_GT(canvas.textWidth("Wide words"), serif);
}

TEST(QtCanvasRow, OnThePreviewARowIsPixelForPixelItsPiecesDrawnAlone)
{
    // The first drawing fills the glyph caches, which smooths edges a shade differently.
    Drawn(LabelRows, false);
    const QImage pieces = Drawn(LabelRows, false);
    ASSERT_TRUE(HasInk(pieces));
    EXPECT_TRUE(Drawn(LabelRows, true) == pieces);
}

TEST(QtCanvasRow, TheTurnedVariantDrawsItsPiecesOneByOne)
{
    const std::vector<Row> rows = {
        {"@Sans Serif", 12, 5.5, Cells({"ー", "－", "あ", "1"}, 3.3, 4.3)},
        {"Sans Serif", 12, 15.5, Cells({"ー", "－", "あ", "1"}, 3.3, 4.3)},
    };
    Drawn(rows, false);
    const QImage whole = Drawn(rows, true);
    ASSERT_TRUE(HasInk(whole));
    EXPECT_TRUE(whole == Drawn(rows, false));
}

TEST(QtCanvasRow, NothingToDrawLeavesThePageWhite)
{
    EXPECT_FALSE(HasInk(Drawn({{"Sans Serif", 12, 5, {}}, {"Sans Serif", 12, 9, Cells({"", " "}, 2, 3)}}, true)));
}

} // namespace
} // namespace talik
