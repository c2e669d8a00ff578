#include <gtest/gtest.h>

#include "print/numerals.h"

namespace talik {
namespace {

TEST(NumeralsTest, SpokenNumbersUpToFourDigits)
{
    EXPECT_EQ(SpokenNumber("23"), "二十三");
    EXPECT_EQ(SpokenNumber("10"), "十");
    EXPECT_EQ(SpokenNumber("105"), "百五");
    EXPECT_EQ(SpokenNumber("2024"), "二千二十四");
    EXPECT_EQ(SpokenNumber("0"), "〇");
    EXPECT_EQ(SpokenNumber("12345"), "一二三四五");
}

TEST(NumeralsTest, EachStyleWritesTheAddressItsWay)
{
    EXPECT_EQ(KanjiNumerals("芝10-2", NumeralStyle::DigitByDigit), "芝一〇－二");
    EXPECT_EQ(KanjiNumerals("芝23-2", NumeralStyle::Spoken), "芝二十三－二");
    EXPECT_EQ(KanjiNumerals("芝1-2-3", NumeralStyle::BlockWords), "芝一丁目二番三号");
    EXPECT_EQ(KanjiNumerals("芝１－２", NumeralStyle::BlockWords), "芝一丁目二番");
    // Numbers that carry their words already, and a room number after the building's blank.
    EXPECT_EQ(KanjiNumerals("銀座4丁目5番", NumeralStyle::BlockWords), "銀座四丁目五番");
    EXPECT_EQ(KanjiNumerals("芝1-2-3 コーポ芝201", NumeralStyle::BlockWords), "芝一丁目二番三号 コーポ芝二〇一");
}

TEST(NumeralsTest, TheLongVowelMarkOfKatakanaIsNeverAStroke)
{
    EXPECT_EQ(KanjiNumerals("コーポ1ー2", NumeralStyle::DigitByDigit), "コーポ一－二");
    EXPECT_EQ(MarkNumberDashes("コーポ1ー2"), "コーポ1－2");
    EXPECT_EQ(MarkNumberDashes("ハイツ-"), "ハイツ-");
}

TEST(NumeralsTest, StoredStyleNumbers)
{
    EXPECT_EQ(NumeralStyleOf(0), NumeralStyle::DigitByDigit);
    EXPECT_EQ(NumeralStyleOf(1), NumeralStyle::Spoken);
    EXPECT_EQ(NumeralStyleOf(2), NumeralStyle::BlockWords);
    EXPECT_EQ(NumeralStyleOf(9), NumeralStyle::DigitByDigit);
}

} // namespace
} // namespace talik
