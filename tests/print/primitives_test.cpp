// How the engines' text reaches the printer and the preview: each kind of text at its own printer
// offset, the preview scaled, digits as kanji numerals on request, and the upright dash.
#include <gtest/gtest.h>
#include <vector>

#include "listwin/appstate.h"
#include "print/primitives.h"
#include "tests/support/printjobfixture.h"
#include "tests/support/recordingcanvas.h"
#include "tests/support/scripted.h"

namespace talik::test {
namespace {

class PrimitivesTest : public test::PrintJobTest
{
protected:
    PrimitivesTest()
    {
        job.target.printer = &printer;
        job.target.preview = &preview;
        PrintLayout& layout = state.settings.Layout;
        layout.AddrDispX = 1;
        layout.AddrDispY = -2;
        layout.AddrDispXT = 3;
        layout.AddrDispYT = -4;
        state.settings.AddrDispXL = 5;
        state.settings.AddrDispYL = -6;
        SetPrintFont(job, "ＭＳ 明朝", 10);
    }

    // The one text each canvas holds; fails unless there is exactly one.
    static CanvasCall only(const RecordingCanvas& canvas)
    {
        auto texts = canvas.texts();
        EXPECT_EQ(texts.size(), 1u);
        return texts.empty() ? CanvasCall{} : texts[0];
    }

    RecordingCanvas printer;
    RecordingCanvas preview;
};

TEST_F(PrimitivesTest, EachKindOfTextHasItsPrinterOffsetAndThePreviewIsScaled)
{
    struct Case
    {
        const char* kind;
        void (*put)(PrintJob&, double, double, std::string_view);
        double printerX, printerY;
    };
    for (const Case& c : {
             Case{"PutRun", PutRun, 11, 18}, // "AddrDispX"/"AddrDispY", the whole card moves
             Case{"PutChar", PutChar, 11, 18}, Case{"PutLabelText", PutLabelText, 13, 16}, // "AddrDispXT"/"AddrDispYT"
             Case{"PutListText", PutListText, 15, 14}, // ratio 1, "AddrDispXL"/"AddrDispYL"
         }) {
        printer.calls.clear();
        preview.calls.clear();
        c.put(job, 10, 20, "山");
        const CanvasCall onPaper = only(printer);
        const CanvasCall onPreview = only(preview);
        EXPECT_DOUBLE_EQ(onPaper.x, c.printerX) << c.kind;
        EXPECT_DOUBLE_EQ(onPaper.y, c.printerY) << c.kind;
        EXPECT_DOUBLE_EQ(onPreview.x, 6) << c.kind;
        EXPECT_DOUBLE_EQ(onPreview.y, 12) << c.kind;
        EXPECT_EQ(onPreview.text, "山") << c.kind;
        EXPECT_DOUBLE_EQ(onPaper.size, 10) << c.kind; // points on paper, scaled on the preview
        EXPECT_DOUBLE_EQ(onPreview.size, 6) << c.kind;
    }
}

TEST_F(PrimitivesTest, ALabelRowPutsEachPieceWherePutLabelTextPutsIt)
{
    const std::vector<PlacedText> pieces = {{10, "山"}, {13.5, "田"}, {17, "様"}};
    PutLabelRow(job, 20, pieces);
    RecordingCanvas alonePrinter, alonePreview;
    job.target.printer = &alonePrinter;
    job.target.preview = &alonePreview;
    for (const PlacedText& piece : pieces) {
        PutLabelText(job, piece.xMm, 20, piece.utf8);
    }
    ASSERT_EQ(printer.texts().size(), 3u);
    ASSERT_EQ(preview.texts().size(), 3u);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        EXPECT_EQ(printer.texts()[i].text, alonePrinter.texts()[i].text);
        EXPECT_DOUBLE_EQ(printer.texts()[i].x, alonePrinter.texts()[i].x); // "AddrDispXT" added
        EXPECT_DOUBLE_EQ(printer.texts()[i].y, 16);
        EXPECT_DOUBLE_EQ(preview.texts()[i].x, alonePreview.texts()[i].x); // scaled
        EXPECT_DOUBLE_EQ(preview.texts()[i].y, 12);
    }
    EXPECT_DOUBLE_EQ(printer.texts()[1].x, 16.5);

    printer.calls.clear();
    job.target.printer = nullptr;
    job.target.preview = &preview;
    PutLabelRow(job, 0, pieces);
    EXPECT_TRUE(printer.calls.empty());
}

TEST_F(PrimitivesTest, TheListScalesPrinterPositionsAndFontsButNotItsOffset)
{
    state.settings.AddrPrtScale = 0.5f;
    job.target.PreviewScale = 0.5 * 0.6;
    EXPECT_DOUBLE_EQ(ListRatio(job), 0.5);
    PutListText(job, 16, 26, "名　前：");
    EXPECT_DOUBLE_EQ(only(printer).x, 8 + 5);
    EXPECT_DOUBLE_EQ(only(printer).y, 13 - 6);
    EXPECT_DOUBLE_EQ(only(preview).x, 16 * 0.3);
    EXPECT_DOUBLE_EQ(only(preview).y, 26 * 0.3);

    SetListFont(job, "ＭＳ ゴシック", 24);
    EXPECT_DOUBLE_EQ(printer.fontSize(), 12);
    EXPECT_DOUBLE_EQ(preview.fontSize(), 24 * 0.3);
}

TEST_F(PrimitivesTest, WithoutAPrinterOnlyThePreviewIsDrawn)
{
    job.target.printer = nullptr;
    printer.calls.clear();
    PutRun(job, 1, 1, "a");
    PutChar(job, 1, 1, "－");
    SetPrintFont(job, "x", 12);
    EXPECT_TRUE(printer.calls.empty());
    EXPECT_EQ(preview.texts().size(), 2u);

    job.target.preview = nullptr;
    job.target.printer = &printer;
    PutLabelText(job, 1, 1, "b");
    EXPECT_EQ(only(printer).text, "b");
}

TEST_F(PrimitivesTest, DigitsBecomeKanjiNumeralsOnRequest)
{
    PutRun(job, 0, 0, "〒123-４５ 6");
    EXPECT_EQ(only(printer).text, "〒123-４５ 6");

    state.settings.Layout.AddrNumChange = 1;
    printer.calls.clear();
    preview.calls.clear();
    PutRun(job, 0, 0, "〒123-４５ 6");
    EXPECT_EQ(only(printer).text, "〒一二三-四五 六");
    EXPECT_EQ(only(preview).text, "〒一二三-四五 六");

    printer.calls.clear();
    PutChar(job, 0, 0, "７");
    PutChar(job, 0, 0, "7"); // a half-width digit alone stays as it is
    ASSERT_EQ(printer.texts().size(), 2u);
    EXPECT_EQ(printer.texts()[0].text, "七");
    EXPECT_EQ(printer.texts()[1].text, "7");
}

TEST_F(PrimitivesTest, TheDashIsDrawnInTheVerticalFontWhichIsRestoredAfterwards)
{
    for (RecordingCanvas* canvas : {&printer, &preview}) {
        canvas->calls.clear();
    }
    PutChar(job, 0, 0, "－");
    PutChar(job, 0, 0, "ー"); // the long-vowel mark turns with the column too, and stays itself
    PutChar(job, 0, 0, "山");
    for (RecordingCanvas* canvas : {&printer, &preview}) {
        const double size = canvas->fontSize();
        ASSERT_EQ(canvas->calls.size(), 7u);
        EXPECT_EQ(canvas->calls[0].op, "font");
        EXPECT_EQ(canvas->calls[0].text, "@ＭＳ 明朝");
        EXPECT_DOUBLE_EQ(canvas->calls[0].size, size);
        EXPECT_EQ(canvas->calls[1].text, "－");
        EXPECT_EQ(canvas->calls[1].font, "@ＭＳ 明朝");
        EXPECT_EQ(canvas->calls[2].op, "font");
        EXPECT_EQ(canvas->calls[2].text, "ＭＳ 明朝");
        EXPECT_EQ(canvas->calls[4].text, "ー");
        EXPECT_EQ(canvas->calls[4].font, "@ＭＳ 明朝");
        EXPECT_EQ(canvas->calls[6].text, "山");
        EXPECT_EQ(canvas->calls[6].font, "ＭＳ 明朝");
        EXPECT_DOUBLE_EQ(canvas->calls[6].size, size);
    }
    EXPECT_DOUBLE_EQ(printer.fontSize(), 10);
    EXPECT_DOUBLE_EQ(preview.fontSize(), 6);
}

} // namespace
} // namespace talik::test
