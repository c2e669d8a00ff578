// Birthdays written by other programs: the export's form as always, Western dates unpadded or
// hyphenated, eight digits, era dates written out or by letter, and what is no date at all.
#include <gtest/gtest.h>

#include "interchange/birthdayread.h"
#include "platform/codec.h"

namespace talik::test {
namespace {

std::int32_t Read(std::string_view utf8)
{
    return ReadBirthday(ToCp932(utf8)).value;
}
bool Readable(std::string_view utf8)
{
    return ReadBirthday(ToCp932(utf8)).readable;
}

TEST(ReadBirthday, TheExportsFormReadsAsBefore)
{
    EXPECT_EQ(Read("1965/04/12"), 19650412);
    EXPECT_EQ(Read("1965-04-12"), 19650412);
    EXPECT_EQ(Read("1965.04.12"), 19650412);
    EXPECT_EQ(Read("1965/00/00"), 19650000); // a year alone stays a year alone
    EXPECT_EQ(Read("0000/00/00"), 0);        // the export's "no birthday"
    EXPECT_TRUE(Readable("0000/00/00"));
    EXPECT_EQ(Read("1965/13/01"), 0);
    EXPECT_FALSE(Readable("1965/13/01"));
}

TEST(ReadBirthday, WesternDatesUnpaddedHyphenatedOrAsEightDigits)
{
    EXPECT_EQ(Read("1965/4/12"), 19650412);
    EXPECT_EQ(Read("1965-4-2"), 19650402);
    EXPECT_EQ(Read("19650412"), 19650412);
    EXPECT_EQ(Read(" 1965/4/12 "), 19650412);
    EXPECT_EQ(Read("1965年4月12日"), 19650412);
    EXPECT_EQ(Read("１９６５／４／１２"), 19650412);
    EXPECT_EQ(Read("2000/2/29"), 20000229);
}

TEST(ReadBirthday, EraDatesWrittenOutOrByLetter)
{
    EXPECT_EQ(Read("昭和25年1月2日"), 19500102);
    EXPECT_EQ(Read("S25.1.2"), 19500102);
    EXPECT_EQ(Read("s25/1/2"), 19500102);
    EXPECT_EQ(Read("H7/3/4"), 19950304);
    EXPECT_EQ(Read("R2年5月1日"), 20200501);
    EXPECT_EQ(Read("令和元年5月1日"), 20190501);
    EXPECT_EQ(Read("平成元年1月8日"), 19890108);
    EXPECT_EQ(Read("明治45年7月1日"), 19120701);
    EXPECT_EQ(Read("大正15年12月1日"), 19261201);
    EXPECT_EQ(Read("Ｓ５０．１．２"), 19750102);
    EXPECT_EQ(Read("昭和25年1月2"), 19500102);
}

TEST(ReadBirthday, WhatIsNoDateIsUnreadableAndAnEmptyFieldIsNone)
{
    for (const char* text : {"1965/4/31", "1965/2/29", "65/4/12", "1965/4-12", "S65.1.1", "大正16年1月1日", "H0/1/1",
                             "不明", "1965/4/12頃", "19651312", "X25.1.2", "1965年4月"}) {
        EXPECT_EQ(Read(text), 0) << text;
        EXPECT_FALSE(Readable(text)) << text;
    }
    for (const char* text : {"", "   ", "　"}) {
        EXPECT_EQ(Read(text), 0);
        EXPECT_TRUE(Readable(text)) << "[" << text << "]";
    }
}

} // namespace
} // namespace talik::test
