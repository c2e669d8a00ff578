// The field rules of a stored record: cutting, cleaning, numbers read back, the stored password.
#include <cstring>

#include <gtest/gtest.h>

#include "store/record.h"

namespace talik {
namespace {

TEST(Record, TextIsCutAtTheFieldWidthNeverThroughACharacter)
{
    AddressRecord rec{};
    std::string fifteen;
    for (int i = 0; i < 15; ++i) {
        fifteen += "漢";
    }
    SetText(rec.KanjiName, fifteen);
    EXPECT_EQ(GetText(rec.KanjiName), fifteen);
    EXPECT_TRUE(FitsField(sizeof(rec.KanjiName), fifteen));
    EXPECT_FALSE(FitsField(sizeof(rec.KanjiName), fifteen + "字"));

    SetText(rec.KanjiName, "A" + fifteen); // 31 bytes: the last character does not fit whole
    EXPECT_EQ(std::string_view(rec.KanjiName, 30).substr(27), "\x8a\xbf ");
    SetText(rec.PostCode1, "123");
    EXPECT_EQ(std::string_view(rec.PostCode1, 10), "123       ");
}

TEST(Record, CleanFixedCutsAtTheFirstNulThenTrimsBlanks)
{
    EXPECT_EQ(CleanFixed(std::string_view("ABC\0DEF", 7)), "ABC");
    EXPECT_EQ(CleanFixed("  ｱｲ  "), "ｱｲ");
    EXPECT_EQ(CleanFixed("\t x \t"), "\t x \t"); // only blanks are trimmed
    EXPECT_EQ(StripLineBreaks("a\r\nb\nc\r"), "abc");
}

// Blank padding is passed over eight bytes at a time: every width, every run of blanks on either side
// and blanks inside, with and without a NUL, cleans as trimming one byte at a time does.
TEST(Record, CleanFixedBytesTrimsAsOneByteAtATimeWouldAtEveryWidth)
{
    auto byBytes = [](std::string_view field) {
        field = field.substr(0, field.find('\0'));
        while (!field.empty() && field.front() == ' ') {
            field.remove_prefix(1);
        }
        while (!field.empty() && field.back() == ' ') {
            field.remove_suffix(1);
        }
        return field;
    };
    for (std::size_t width = 0; width <= 40; ++width) {
        for (std::size_t lead = 0; lead <= width; ++lead) {
            for (std::size_t text = 0; lead + text <= width; ++text) {
                std::string field(width, ' ');
                for (std::size_t i = 0; i < text; ++i) {
                    field[lead + i] = i % 3 == 1 ? ' ' : static_cast<char>('a' + i % 26);
                }
                ASSERT_EQ(CleanFixedBytes(field), byBytes(field)) << width << " " << lead << " " << text;
                if (width > 0) {
                    field[(lead + text) % width] = '\0';
                    ASSERT_EQ(CleanFixedBytes(field), byBytes(field)) << width << " " << lead << " " << text << " nul";
                }
            }
        }
    }
}

TEST(Record, NumbersAreLittleEndianAndOutOfRangeOptionsReadAsZero)
{
    AddressRecord rec{};
    SetLong(rec.Birthday, 19650203);
    EXPECT_EQ(std::memcmp(rec.Birthday, "\x9b\xd6\x2b\x01", 4), 0);
    EXPECT_EQ(FormatBirthday(19650203), "1965/02/03");
    EXPECT_EQ(FormatBirthday(0), "0000/00/00");

    SetInteger(rec.PrintOptions, 11111);
    EXPECT_EQ(PrintOptionsValue(rec), 11111);
    SetInteger(rec.PrintOptions, 11112);
    EXPECT_EQ(PrintOptionsValue(rec), 0);

    SetInteger(rec.PhoneKinds, 1204);
    EXPECT_EQ(PhoneKind(rec, 0), 1);
    EXPECT_EQ(PhoneKind(rec, 1), 2);
    EXPECT_EQ(PhoneKind(rec, 2), 0);
    EXPECT_EQ(PhoneKind(rec, 3), 4);
    SetInteger(rec.PhoneKinds, 4445);
    EXPECT_EQ(PhoneKind(rec, 3), 0);
}

TEST(Record, KeysAndFileNames)
{
    EXPECT_EQ(RecordKey(2), "K00002");
    EXPECT_EQ(RecNoOfKey("K64000"), 64000);
    EXPECT_EQ(MainFileName("/data", 3), "/data/MRPDAT03.QX1");
    EXPECT_EQ(ExtraFileName("/data", 10), "/data/MRPDAT10.QX2");
}

TEST(Record, DigitKeyFilterPassesOnlyWhatANumberFieldTakes)
{
    for (int key : {8, int('-'), int('.'), int('0'), int('9')}) {
        EXPECT_EQ(DigitKeyFilter(key), key);
    }
    for (int key : {int('a'), int(' '), int('/'), int('+'), 13}) {
        EXPECT_EQ(DigitKeyFilter(key), 0);
    }
}

TEST(Password, StoredFormIsTheSaltThenTheCountThenShiftedHexDigits)
{
    EXPECT_EQ(EncodePassword("AB", 7), std::string("\x07\x04\x0b\x08\x0b\x09", 6));
    MainHeader header{};
    SetPassword(header, "Secret1", 3);
    EXPECT_TRUE(HasPassword(header.PasswordField));
    EXPECT_EQ(DecodePassword(header.PasswordField), "Secret1");
    EXPECT_EQ(header.PasswordField[29], ' ');

    SetPassword(header, "あ", 9); // a double-byte character: four digits
    EXPECT_EQ(header.PasswordField[1], 4);
    EXPECT_EQ(DecodePassword(header.PasswordField), "あ");

    SetPassword(header, "", 5); // an empty password removes it
    EXPECT_FALSE(HasPassword(header.PasswordField));
    EXPECT_EQ(std::string_view(header.PasswordField, 3), std::string_view("\0\0 ", 3));
}

TEST(Password, FourteenCharactersFitTheField)
{
    MainHeader header{};
    SetPassword(header, "ABCDEFGHIJKLMN", 9);
    EXPECT_EQ(DecodePassword(header.PasswordField), "ABCDEFGHIJKLMN");
}

} // namespace
} // namespace talik
