// The rules of the small print dialogs that need no window: tenths shown and typed without drift,
// the strict number reader, each position-adjustment mode, the reduction ratio, the font sizes and
// lists, and the per-record print options.
#include <gtest/gtest.h>

#include "print/fontchoice.h"
#include "print/numberparse.h"
#include "print/positionadjust.h"
#include "print/printjob.h"
#include "print/printoptions.h"
#include "print/tenths.h"
#include "store/record.h"
#include "store/settings.h"

namespace talik {
namespace {

// --- tenths ------------------------------------------------------------------------------------

TEST(Tenths, EveryTenthFromMinusToPlusThousandShowsExactlyAndTypesBackToTheSameValue)
{
    for (long k = -10000; k <= 10000; ++k) {
        const float stored = TenthsValue(k);
        ASSERT_EQ(ShownTenths(stored), k) << k;
        // What the settings reader makes of the written value shows the same.
        ASSERT_EQ(ShownTenths(ParseDecimal(FormatDecimal(stored))), k) << k;
        // Typing the shown number stores the same value: OK without a change changes nothing.
        ASSERT_EQ(TenthsToMillimetres(std::to_string(k)), stored) << k;
    }
}

TEST(Tenths, TheFractionBeyondTheTenthIsCutTowardsZero)
{
    EXPECT_EQ(ShownTenths(62.35f), 623);
    EXPECT_EQ(ShownTenths(-1.55f), -15);
    EXPECT_EQ(ShownTenths(0.7f), 7);
    EXPECT_EQ(ShownTenths(0.04f), 0);
    EXPECT_EQ(ShownTenths(-0.04f), 0);
}

TEST(Tenths, TypedTenthsKeepTheirDigits)
{
    EXPECT_EQ(TenthsToMillimetres("623"), 62.3f);
    EXPECT_EQ(TenthsToMillimetres("62.5"), 6.25f);
    EXPECT_EQ(TenthsToMillimetres("-15"), -1.5f);
    EXPECT_EQ(TenthsToMillimetres(".5"), 0.05f);
    EXPECT_EQ(TenthsToMillimetres("7."), 0.7f);
    EXPECT_EQ(TenthsToMillimetres("abc"), std::nullopt);
}

TEST(Tenths, RoundingToATenthGoesHalfAwayFromZero)
{
    EXPECT_EQ(RoundToTenth(12.34), 12.3f);
    EXPECT_EQ(RoundToTenth(12.36), 12.4f);
    EXPECT_EQ(RoundToTenth(-3.05000001), -3.1f);
    EXPECT_EQ(FormatDecimal(RoundToTenth(-0.01)), "0");
}

// --- strict numbers ----------------------------------------------------------------------------

TEST(StrictNumber, AcceptsASignDigitsAndOnePoint)
{
    for (const char* text : {"0", "15", "-15", "+15", "1.5", "-1.5", ".5", "5.", " 42 "}) {
        EXPECT_TRUE(ParseStrictNumber(text).has_value()) << text;
    }
    EXPECT_DOUBLE_EQ(ParseStrictNumber("-1.5")->value(), -1.5);
    EXPECT_DOUBLE_EQ(ParseStrictNumber(".5")->value(), 0.5);
}

TEST(StrictNumber, RefusesEverythingElse)
{
    for (const char* text : {"", " ", "-", ".", "-.", "1.2.3", "1-2", "--1", "1e3", "12a", "１２", "0x10", "1,5"}) {
        EXPECT_FALSE(ParseStrictNumber(text).has_value()) << text;
    }
}

TEST(StrictNumber, TellsWholeNumbers)
{
    EXPECT_TRUE(ParseStrictNumber("3")->isWhole());
    EXPECT_TRUE(ParseStrictNumber("3.00")->isWhole());
    EXPECT_FALSE(ParseStrictNumber("1.5")->isWhole());
}

// --- position adjustment -----------------------------------------------------------------------

class PositionAdjust : public ::testing::Test
{
protected:
    Settings settings;
    LabelOptions cells;
};

TEST_F(PositionAdjust, PostcardOffsetShowsTheVerticalWithTheOppositeSign)
{
    settings.Layout.AddrDispX = 0.7f;
    settings.Layout.AddrDispY = -1.5f;
    AdjustValues shown = ShownAdjustValues('H', settings, nullptr);
    EXPECT_EQ(shown.first, "7");
    EXPECT_EQ(shown.second, "15");

    ASSERT_TRUE(StoreAdjustValues('H', {"7", "20"}, settings, nullptr));
    EXPECT_EQ(settings.Layout.AddrDispX, 0.7f);
    EXPECT_EQ(settings.Layout.AddrDispY, -2.0f);
    EXPECT_EQ(FormatDecimal(settings.Layout.AddrDispY), "-2");
}

TEST_F(PositionAdjust, EachModeStoresItsOwnKeys)
{
    ASSERT_TRUE(StoreAdjustValues('T', {"12", "-3"}, settings, nullptr));
    EXPECT_EQ(settings.Layout.AddrDispXT, 1.2f);
    EXPECT_EQ(settings.Layout.AddrDispYT, 0.3f);
    ASSERT_TRUE(StoreAdjustValues('L', {"-5", "5"}, settings, nullptr));
    EXPECT_EQ(settings.AddrDispXL, -0.5f);
    EXPECT_EQ(settings.AddrDispYL, -0.5f);
    ASSERT_TRUE(StoreAdjustValues('W', {"623", "340"}, settings, nullptr));
    EXPECT_EQ(settings.Layout.AddrBoxWidth, 62.3f);
    EXPECT_EQ(settings.Layout.AddrBoxHeight, 34.0f);
    ASSERT_TRUE(StoreAdjustValues('G', {"25", "0"}, settings, nullptr));
    EXPECT_EQ(settings.Layout.AddrGapH, 2.5f);
    EXPECT_EQ(settings.Layout.AddrGapV, 0.0f);
    ASSERT_TRUE(StoreAdjustValues('P', {"3", "2"}, settings, &cells));
    EXPECT_EQ(cells.startRow, 3);
    EXPECT_EQ(cells.startColumn, 2);
    // Nothing else moved.
    EXPECT_EQ(settings.Layout.AddrDispX, 0.0f);
    EXPECT_EQ(settings.Layout.AddrDispY, 0.0f);
}

TEST_F(PositionAdjust, CellSizeShowsTenthsCutAndTheStartCellAsIs)
{
    settings.Layout.AddrBoxWidth = 62.35f;
    settings.Layout.AddrBoxHeight = 34;
    EXPECT_EQ(ShownAdjustValues('W', settings, nullptr).first, "623");
    EXPECT_EQ(ShownAdjustValues('W', settings, nullptr).second, "340");
    cells.startRow = 3;
    cells.startColumn = 2;
    AdjustValues start = ShownAdjustValues('P', settings, &cells);
    EXPECT_EQ(start.first, "3");
    EXPECT_EQ(start.second, "2");
}

TEST_F(PositionAdjust, TheStartCellTakesWholeNumbersFromOneOnly)
{
    for (const char* bad : {"0", "-1", "1.5", "abc", "", "1000"}) {
        EXPECT_FALSE(StoreAdjustValues('P', {bad, "1"}, settings, &cells)) << bad;
        EXPECT_FALSE(StoreAdjustValues('P', {"1", bad}, settings, &cells)) << bad;
    }
    EXPECT_EQ(cells.startRow, 1);
    EXPECT_EQ(cells.startColumn, 1);
    EXPECT_TRUE(StoreAdjustValues('P', {"2.0", "999"}, settings, &cells));
    EXPECT_EQ(cells.startRow, 2);
    EXPECT_EQ(cells.startColumn, 999);
}

TEST_F(PositionAdjust, ARefusedEntryStoresNeitherValue)
{
    settings.Layout.AddrDispX = 1;
    settings.Layout.AddrDispY = 2;
    EXPECT_FALSE(StoreAdjustValues('H', {"5", "1.2.3"}, settings, nullptr));
    EXPECT_FALSE(StoreAdjustValues('H', {"-", "5"}, settings, nullptr));
    EXPECT_FALSE(StoreAdjustValues('H', {"100000", "5"}, settings, nullptr));
    EXPECT_EQ(settings.Layout.AddrDispX, 1.0f);
    EXPECT_EQ(settings.Layout.AddrDispY, 2.0f);
    // Sizes and gaps are never negative.
    EXPECT_FALSE(StoreAdjustValues('W', {"-600", "340"}, settings, nullptr));
    EXPECT_FALSE(StoreAdjustValues('G', {"0", "-1"}, settings, nullptr));
}

TEST_F(PositionAdjust, CaptionsByMode)
{
    EXPECT_EQ(AdjustCaptionsOf('H').window, "はがき印刷位置調整");
    EXPECT_EQ(AdjustCaptionsOf('T').window, "タックシール印刷位置調整");
    EXPECT_EQ(AdjustCaptionsOf('L').window, "一覧表印刷位置調整");
    EXPECT_EQ(AdjustCaptionsOf('W').first, "１マスの幅");
    EXPECT_EQ(AdjustCaptionsOf('P').secondUnit, "（列）");
    EXPECT_EQ(AdjustCaptionsOf('G').second, "垂直方向ギャップ");
    EXPECT_EQ(AdjustCaptionsOf('Q').window, "印刷位置調整");
    EXPECT_EQ(AdjustCaptionsOf('Q').firstUnit, "(1/10 mm)");
    EXPECT_FALSE(IsAdjustMode('Q'));
    EXPECT_EQ(ShownAdjustValues('Q', settings, &cells).first, "");
    EXPECT_FALSE(StoreAdjustValues('Q', {"1", "1"}, settings, &cells));
}

TEST(ListScale, ShowsTheNearestWholePercentAndTakesOneTo999)
{
    EXPECT_EQ(ShownScalePercent(0.85f), "85");
    EXPECT_EQ(ShownScalePercent(1.0f), "100");
    EXPECT_EQ(ShownScalePercent(0.576f), "58");
    EXPECT_EQ(ShownScalePercent(0.574f), "57");
    for (int percent = 1; percent <= 999; ++percent) {
        const std::optional<float> ratio = ListRatioFromPercent(std::to_string(percent));
        ASSERT_TRUE(ratio.has_value());
        ASSERT_EQ(ShownScalePercent(*ratio), std::to_string(percent));
    }
    for (const char* bad : {"0", "-50", "1000", "85.5", "", "x"}) {
        EXPECT_FALSE(ListRatioFromPercent(bad).has_value()) << bad;
    }
}

// --- fonts -------------------------------------------------------------------------------------

TEST(FontSize, EmptyAndSmallBecomeSixDigitsOnly)
{
    EXPECT_EQ(FontSizeFromBox(""), 6);
    EXPECT_EQ(FontSizeFromBox("0"), 6);
    EXPECT_EQ(FontSizeFromBox("5"), 6);
    EXPECT_EQ(FontSizeFromBox("6"), 6);
    EXPECT_EQ(FontSizeFromBox("012"), 12);
    EXPECT_EQ(FontSizeFromBox("999"), 999);
    EXPECT_EQ(FontSizeFromBox("99999"), 999);
    EXPECT_EQ(FontSizeFromBox("1.5"), std::nullopt);
    EXPECT_EQ(FontSizeFromBox("-8"), std::nullopt);
}

TEST(FontSize, OpeningSetsTheDocumentedSizesOfZeroOnly)
{
    PrintLayout layout;
    EXPECT_TRUE(SetOpeningFontSizes(layout, 'W'));
    EXPECT_EQ(layout.AddrFontSize[10], 10);
    EXPECT_EQ(layout.AddrFontSize[13], 10);
    EXPECT_EQ(layout.AddrFontSize[14], 14);
    EXPECT_EQ(layout.AddrFontSize[0], 0);
    layout.AddrFontSize[4] = 40;
    EXPECT_TRUE(SetOpeningFontSizes(layout, 'V'));
    EXPECT_EQ((std::vector<int>(layout.AddrFontSize.begin(), layout.AddrFontSize.begin() + 7)),
              (std::vector<int>{16, 20, 20, 20, 40, 14, 16}));
    EXPECT_FALSE(SetOpeningFontSizes(layout, 'V'));
    EXPECT_FALSE(SetOpeningFontSizes(layout, 'X'));
}

TEST(FontList, VerticalVariantsFoldAndTheStoredNameIsKept)
{
    const std::vector<std::string> system{"@IPAGothic", "IPAGothic", "DejaVu Sans", "@IPAMincho", "DejaVu Sans"};
    EXPECT_EQ(FontChoices(system, "IPAGothic"), (std::vector<std::string>{"IPAGothic", "DejaVu Sans", "IPAMincho"}));
    EXPECT_EQ(FontChoices(system, "ＭＳ ゴシック"),
              (std::vector<std::string>{"ＭＳ ゴシック", "IPAGothic", "DejaVu Sans", "IPAMincho"}));
}

TEST(FontDialogKinds, RowsAndItemsByKind)
{
    ASSERT_NE(FontDialogKindOf('V'), nullptr);
    EXPECT_EQ(FontDialogKindOf('V')->rows.size(), 7u);
    EXPECT_EQ(FontDialogKindOf('V')->rows[4].caption, "相手先氏名");
    EXPECT_EQ(FontDialogKindOf('W')->rows[0].item, 10);
    EXPECT_EQ(FontDialogKindOf('W')->caption, "タックシール印刷フォント選択");
    EXPECT_EQ(FontDialogKindOf('X')->rows[0].item, 9);
    EXPECT_FALSE(FontDialogKindOf('X')->sizes);
    EXPECT_EQ(FontDialogKindOf('H'), nullptr);
}

// --- per-record print options ------------------------------------------------------------------

TEST(RecordPrintOptions, PackAndUnpackEveryCombination)
{
    for (int bits = 0; bits < 32; ++bits) {
        RecordPrintChoices c;
        c.honorificOnlyAfterLast = bits & 16;
        c.noHonorific = bits & 8;
        c.address2 = bits & 4;
        c.company = bits & 2;
        c.department = bits & 1;
        const int packed = PackPrintOptions(c);
        const RecordPrintChoices back = UnpackPrintOptions(packed);
        EXPECT_EQ(PackPrintOptions(back), packed);
    }
    EXPECT_EQ(PackPrintOptions(UnpackPrintOptions(10110)), 10110);
}

TEST(RecordPrintOptions, AboveTheRangeCountsAsZeroAndADigitAboveOneAsOne)
{
    EXPECT_EQ(PackPrintOptions(UnpackPrintOptions(11112)), 0);
    EXPECT_EQ(PackPrintOptions(UnpackPrintOptions(-1)), 0);
    EXPECT_EQ(PackPrintOptions(UnpackPrintOptions(2090)), 1010);
    EXPECT_TRUE(UnpackPrintOptions(9).department);
    EXPECT_FALSE(UnpackPrintOptions(9).company);
}

TEST(RecordPrintOptions, TheRecordRoundTrip)
{
    AddressRecord rec{};
    SetText(rec.KanjiName, "山田　太郎");
    SetText(rec.Honorific, "");
    rec.SenderChoice[0] = ' ';
    RecordPrintChoices c = ReadPrintChoices(rec);
    EXPECT_EQ(c.honorific, "様");
    EXPECT_FALSE(c.secondSender);
    EXPECT_EQ(PrintSettingsTitle(rec), "印刷設定：山田　太郎");

    c.address2 = true;
    c.honorificOnlyAfterLast = true;
    c.honorific = "  御中 ";
    c.secondSender = true;
    WritePrintChoices(c, rec);
    EXPECT_EQ(GetInteger(rec.PrintOptions), 10100);
    EXPECT_EQ(std::string(rec.Honorific, 10), "\x8c\xe4\x92\x86      ");
    EXPECT_EQ(rec.SenderChoice[0], '1');
}

} // namespace
} // namespace talik
