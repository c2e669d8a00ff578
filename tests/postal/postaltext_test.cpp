// How typed codes are read and how addresses are compared, and how KEN_ALL's rows become places.
#include <gtest/gtest.h>

#include "postal/postalentry.h"
#include "postal/postalsource.h"
#include "postal/postaltext.h"

namespace talik::test {
namespace {

TEST(PostalText, CodesAreReadAsPeopleTypeThem)
{
    for (const char* typed :
         {"1500001", "150-0001", "１５０－０００１", "１５００００１", "〒150-0001", " 150ー0001 ", "150\u22120001"}) {
        EXPECT_EQ(NormalizePostalCode(typed), std::optional<std::string>("1500001")) << typed;
    }
    for (const char* typed :
         {"", "150000", "15000012", "15-00001", "150--0001", "150-0001-", "1500001〒", "l500001", "150 0001x"}) {
        EXPECT_EQ(NormalizePostalCode(typed), std::nullopt) << typed;
    }
    EXPECT_EQ(HyphenatedPostalCode("1500001"), "150-0001");
}

TEST(PostalText, AddressesCompareAcrossTheWaysOfWritingThem)
{
    EXPECT_EQ(FoldAddress("旭ヶ丘 1−2〜3"), FoldAddress("旭ケ丘　１－２～３"));
    EXPECT_EQ(ToUtf8(ToUtf16("𠮷野家の住所")), "𠮷野家の住所");
    EXPECT_EQ(OfferFor("", "東京都渋谷区神宮前"), BoxOffer::Fill);
    EXPECT_EQ(OfferFor("東京都渋谷区神宮前１－２－３", "東京都渋谷区神宮前"), BoxOffer::Keep);
    EXPECT_EQ(OfferFor("東京都港区", "東京都渋谷区神宮前"), BoxOffer::Ask);
}

std::vector<std::string> Row(const std::string& code, const std::string& city, const std::string& town)
{
    return {"01101", "060", code, "", "", "", "北海道", city, town, "0", "0", "0", "0", "0", "0"};
}

TEST(PostalSource, RowsOfOneLongTownAreJoinedAndNotesSplitOff)
{
    std::string error;
    auto places = PlacesFromKenAll(
        {Row("0660005", "千歳市", "協和（８８－２、２７１－１０、"), Row("0660005", "千歳市", "３４３－２番地）"),
         Row("0600000", "札幌市中央区", "以下に掲載がない場合"), Row("9806101", "仙台市青葉区", "中央アエル（１階）"),
         Row("7620000", "仲多度郡琴平町", "琴平町の次に１～４２６番地がくる場合（川東）")},
        error);
    ASSERT_TRUE(places) << error;
    ASSERT_EQ(places->size(), 4u);
    EXPECT_EQ((*places)[0].town, "協和");
    EXPECT_EQ((*places)[0].hint, "８８－２、２７１－１０、３４３－２番地");
    EXPECT_EQ((*places)[1].town, "");
    EXPECT_EQ((*places)[2].town, "中央アエル１階");
    EXPECT_EQ((*places)[3].town, "");
    EXPECT_FALSE(PlacesFromKenAll({Row("06600", "千歳市", "協和")}, error));
    EXPECT_NE(error.find("1 行目"), std::string::npos);
}

TEST(PostalSource, QuotedFieldsKeepTheirCommas)
{
    auto rows = ParseCsv("a,\"b,c\",\"d\"\"e\"\r\nf\r\n");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"a", "b,c", "d\"e"}));
    EXPECT_EQ(DecodeCp932("\x81\x7c\x81\x60"), std::optional<std::string>("－～"));
    EXPECT_EQ(DecodeCp932("\x81"), std::nullopt);
}

} // namespace
} // namespace talik::test
