#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "print/addresssplit.h"
#include "print/postcardlayout.h"

namespace talik {
namespace {

using Kind = AddressPartKind;

std::vector<std::string> Texts(const std::vector<AddressPart>& parts)
{
    std::vector<std::string> texts;
    for (const AddressPart& part : parts) {
        texts.push_back(part.text);
    }
    return texts;
}

std::vector<Kind> Kinds(const std::vector<AddressPart>& parts)
{
    std::vector<Kind> kinds;
    for (const AddressPart& part : parts) {
        kinds.push_back(part.kind);
    }
    return kinds;
}

// Every character one millimetre long: line lengths read as characters.
double OneEach(std::string_view text)
{
    return static_cast<double>(SplitChars(text).size());
}

std::vector<std::string> Lines(std::string_view address, double length)
{
    std::vector<std::string> lines;
    for (const AddressLine& line : BreakAddress(address, length, 1.0, OneEach)) {
        lines.push_back(std::string(static_cast<std::size_t>(line.indent), '_') + line.text);
    }
    return lines;
}

TEST(AddressSplitTest, PrefectureCityTownNumbersAndBuilding)
{
    auto parts = SplitAddress("東京都渋谷区渋谷2-21-1 渋谷ヒカリエ");
    EXPECT_EQ(Texts(parts), (std::vector<std::string>{"東京都", "渋谷区", "渋谷", "2-21-1", "渋谷ヒカリエ"}));
    EXPECT_EQ(Kinds(parts),
              (std::vector<Kind>{Kind::Prefecture, Kind::City, Kind::Town, Kind::Numbers, Kind::Building}));

    EXPECT_EQ(Texts(SplitAddress("石川県金沢市木ノ新保町1-1")),
              (std::vector<std::string>{"石川県", "金沢市", "木ノ新保町", "1-1"}));
    EXPECT_EQ(Texts(SplitAddress("神奈川県横浜市中区山下町3丁目5番地")),
              (std::vector<std::string>{"神奈川県", "横浜市", "中区", "山下町", "3丁目5番地"}));
    // A city named with 市 keeps it; a county ends at its town.
    EXPECT_EQ(Texts(SplitAddress("三重県四日市市諏訪町1-5")),
              (std::vector<std::string>{"三重県", "四日市市", "諏訪町", "1-5"}));
    EXPECT_EQ(Texts(SplitAddress("東京都西多摩郡瑞穂町箱根ケ崎2335")),
              (std::vector<std::string>{"東京都", "西多摩郡", "瑞穂町", "箱根ケ崎", "2335"}));
    // 京都府 is not 京 + 都.
    EXPECT_EQ(SplitAddress("京都府京都市北区")[0].text, "京都府");
}

TEST(AddressSplitTest, BuildingsFromABlankOrAWordOrARoom)
{
    EXPECT_EQ(Texts(SplitAddress("大阪府大阪市北区梅田1-1-3大阪駅前第3ビル12F")),
              (std::vector<std::string>{"大阪府", "大阪市", "北区", "梅田", "1-1-3", "大阪駅前第3ビル12F"}));
    EXPECT_EQ(Texts(SplitAddress("東京都港区芝5-1-2-301号室")),
              (std::vector<std::string>{"東京都", "港区", "芝", "5-1-2", "301号室"}));
    EXPECT_EQ(Texts(SplitAddress("札幌市中央区北一条西コーポ北1")),
              (std::vector<std::string>{"札幌市", "中央区", "北一条西", "コーポ北1"}));
    // Kanji numerals before 丁目 are numbers; before 条 they are the town's name.
    EXPECT_EQ(Kinds(SplitAddress("中央区銀座四丁目")), (std::vector<Kind>{Kind::City, Kind::Town, Kind::Numbers}));
}

TEST(AddressSplitTest, KyotoStreetsBreakAfterTheirDirections)
{
    EXPECT_EQ(Texts(SplitAddress("京都府京都市中京区河原町通三条上る恵比須町427")),
              (std::vector<std::string>{"京都府", "京都市", "中京区", "河原町通", "三条上る", "恵比須町", "427"}));
    EXPECT_EQ(Texts(SplitAddress("京都市下京区烏丸通七条下る東塩小路町721-1")),
              (std::vector<std::string>{"京都市", "下京区", "烏丸通", "七条下る", "東塩小路町", "721-1"}));
}

TEST(AddressSplitTest, PiecesKeepNumbersKatakanaAndLatinWhole)
{
    EXPECT_EQ(UnbreakablePieces("第12-3ヒカリエB棟"), (std::vector<std::string>{"第", "12-3", "ヒカリエ", "B", "棟"}));
    EXPECT_EQ(UnbreakablePieces("コーポ１２３"), (std::vector<std::string>{"コーポ", "１２３"}));
    // A number keeps the word that counts it: never "1001号" and "室".
    EXPECT_EQ(UnbreakablePieces("諏訪1001号室8階"), (std::vector<std::string>{"諏", "訪", "1001号室", "8階"}));
}

TEST(AddressSplitTest, LinesBreakBetweenPartsAndIndentAfterTheFirst)
{
    // Ten characters a line: the town does not split, the number stays whole.
    EXPECT_EQ(Lines("石川県金沢市木ノ新保町1-1", 10), (std::vector<std::string>{"石川県金沢市", "_木ノ新保町1-1"}));
    // The building on its own line, one character in, even when there is room.
    EXPECT_EQ(Lines("東京都渋谷区渋谷2-21-1 渋谷ヒカリエ", 40),
              (std::vector<std::string>{"東京都渋谷区渋谷2-21-1", "_渋谷ヒカリエ"}));
    // The town keeps its numbers on its line.
    EXPECT_EQ(Lines("石川県金沢市木ノ新保町1-1", 12), (std::vector<std::string>{"石川県金沢市", "_木ノ新保町1-1"}));
    // A stored break still breaks.
    EXPECT_EQ(Lines("東京都港区\\芝5-1-2", 40), (std::vector<std::string>{"東京都港区", "_芝5-1-2"}));
}

TEST(AddressSplitTest, APartLongerThanALineBreaksBetweenPiecesNotInsideThem)
{
    const auto lines = Lines("東京都港区芝5-1-2 ザ・パークハウスタワーズ芝浦", 9);
    ASSERT_GE(lines.size(), 3u);
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find("パーク") != std::string::npos, line.find("パークハウスタワーズ") != std::string::npos)
            << line;
    }
    // A run of digits longer than the line stays on one line.
    EXPECT_EQ(Lines("芝12345678-90", 5), (std::vector<std::string>{"芝", "_12345678-90"}));
}

} // namespace
} // namespace talik
