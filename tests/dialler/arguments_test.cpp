// The dialler's command line as the address book writes it, and what the dialler makes of it.
#include <gtest/gtest.h>

#include "dialler/arguments.h"

namespace talik::dialler {
namespace {

std::optional<DialArguments> Parse(const std::vector<std::string>& pieces)
{
    return ParseArguments(JoinArguments(pieces));
}

TEST(DiallerArguments, TheExampleSplitIntoPiecesGivesEveryField)
{
    auto args = Parse({"~00見本", "[0]03-1234-5678,,[1]2ATDT[2]ATZ[3]"});
    ASSERT_TRUE(args);
    EXPECT_EQ(args->name, "見本");
    EXPECT_EQ(args->number, "03-1234-5678,,");
    EXPECT_EQ(args->dialDigits, "0312345678,,");
    EXPECT_EQ(args->port, "2");
    EXPECT_EQ(PortNumber(args->port), 2);
    EXPECT_EQ(args->dialPrefix, "ATDT");
    EXPECT_EQ(args->initString, "ATZ");
}

TEST(DiallerArguments, OutsideLineAndPagerMessageStayInTheDialDigits)
{
    auto args = Parse({"~00見本", "[0]0,03-1234-5678,,1234[1]3ATDP[2][3]"});
    ASSERT_TRUE(args);
    EXPECT_EQ(args->dialDigits, "0,0312345678,,1234");
    EXPECT_EQ(PortNumber(args->port), 3);
    EXPECT_EQ(args->dialPrefix, "ATDP");
}

TEST(DiallerArguments, PiecesAreJoinedWithSingleBlanksSoANameKeepsItsInnerBlank)
{
    EXPECT_EQ(JoinArguments({"~00山田", "太郎", "[0]1[1]2ATDT[2][3]"}), "~00山田 太郎 [0]1[1]2ATDT[2][3]");
    auto args = Parse({"~00山田", "太郎", "[0]1[1]2ATDT[2][3]"});
    ASSERT_TRUE(args);
    EXPECT_EQ(args->name, "山田 太郎");
    EXPECT_EQ(JoinArguments({}), "");
}

TEST(DiallerArguments, NameAndFieldsAreTrimmedOfBlanks)
{
    auto args = Parse({"~00", "", "見本", "", "[0]", "03-1234", "[1]2", "ATDT", "[2]", "ATZ", "[3]"});
    ASSERT_TRUE(args);
    EXPECT_EQ(args->name, "見本");
    EXPECT_EQ(args->number, "03-1234");
    EXPECT_EQ(args->dialPrefix, "ATDT");
    EXPECT_EQ(args->initString, "ATZ");
}

TEST(DiallerArguments, TheNameEndsOneCharacterBeforeTheNumberMarkerEvenWithoutTheBlank)
{
    auto args = ParseArguments("~00見本さ[0]1[1]2ATDT[2][3]");
    ASSERT_TRUE(args);
    EXPECT_EQ(args->name, "見本");
}

TEST(DiallerArguments, ForeignArgumentsAreRejected)
{
    EXPECT_FALSE(ParseArguments(""));
    EXPECT_FALSE(ParseArguments("~"));
    EXPECT_FALSE(Parse({"--help"}));
    EXPECT_FALSE(Parse({"00見本", "[0]1[1]2ATDT[2][3]"}));
    EXPECT_FALSE(Parse({"hello", "~00見本", "[0]1[1]2ATDT[2][3]"}));
}

TEST(DiallerArguments, ArgumentsWithoutTheNumberOrPortMarkerAreRejected)
{
    EXPECT_FALSE(Parse({"~00見本"}));
    EXPECT_FALSE(Parse({"~00見本", "03-1234[1]2ATDT[2][3]"}));
    EXPECT_FALSE(Parse({"~00見本", "[0]03-1234", "2ATDT[2][3]"}));
    EXPECT_FALSE(Parse({"~00見本", "[1]2ATDT[0]03-1234[2][3]"}));
}

TEST(DiallerArguments, AnEmptyInitialisationStringBecomesAT)
{
    EXPECT_EQ(Parse({"~00a", "[0]1[1]2ATDT[2][3]"})->initString, "AT");
    // "[3]" missing, or only earlier in the line, counts as following at once.
    EXPECT_EQ(Parse({"~00a", "[0]1[1]2ATDT[2]"})->initString, "AT");
    EXPECT_EQ(Parse({"~00a[3]", "[0]1[1]2ATDT[2]ATZ"})->initString, "AT");
}

TEST(DiallerArguments, WithoutTheInitialisationMarkerThereIsNothingToSend)
{
    auto args = Parse({"~00a", "[0]1[1]2ATDT"});
    ASSERT_TRUE(args);
    EXPECT_EQ(args->dialPrefix, "ATDT");
    EXPECT_EQ(args->initString, "");
}

TEST(DiallerArguments, ThePortIsExactlyOneCharacter)
{
    auto args = Parse({"~00a", "[0]1[1]12ATDT[2][3]"});
    ASSERT_TRUE(args);
    EXPECT_EQ(args->port, "1");
    EXPECT_EQ(args->dialPrefix, "2ATDT");
    auto wide = Parse({"~00a", "[0]1[1]３ATDT[2][3]"});
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->port, "３");
    EXPECT_EQ(wide->dialPrefix, "ATDT");
    EXPECT_EQ(PortNumber(wide->port), 0);
    EXPECT_EQ(PortNumber(Parse({"~00a", "[0]1[1]"})->port), 0);
}

TEST(DiallerArguments, DialDigitsKeepOnlyDigitsPausesHashAndStar)
{
    EXPECT_EQ(DialDigits("0, 03-1234-5678,,1234"), "0,0312345678,,1234");
    EXPECT_EQ(DialDigits("(03) 1234 5678#*"), "0312345678#*");
    EXPECT_EQ(DialDigits("０３－１２３４ 99 内線p"), "99");
    EXPECT_EQ(DialDigits(""), "");
}

TEST(DiallerArguments, TheCalleeCaptionHidesThePagerMessage)
{
    auto args = Parse({"~00見本", "[0]0,03-1234-5678,,1234[1]3ATDP[2][3]"});
    ASSERT_TRUE(args);
    EXPECT_EQ(CalleeCaption(*args), "電話番号：0,03-1234-5678\n見本さん");
    args->number = "03-1234-5678";
    EXPECT_EQ(CalleeCaption(*args), "電話番号：03-1234-5678\n見本さん");
}

} // namespace
} // namespace talik::dialler
