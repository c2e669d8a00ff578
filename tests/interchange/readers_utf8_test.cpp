// The CSV and vCard readers take text for UTF-8 only when every byte is well-formed UTF-8, and show
// or store nothing else as if it were.
#include <array>

#include <gtest/gtest.h>

#include "interchange/csvimport.h"
#include "interchange/csvread.h"
#include "interchange/vcardbirthday.h"
#include "interchange/vcardimport.h"
#include "interchange/vcardread.h"
#include "platform/utf8.h"

namespace talik {
namespace {

TEST(ReadersUtf8Test, ACsvFileWithABomShowsBytesThatAreNoUtf8AsReplacementCharacters)
{
    const std::string file = "\xEF\xBB\xBF\xC0\x80\xFF,\"\xE3\x81\x82\"\r\n";
    ASSERT_EQ(DetectCsvEncoding(file), CsvFileEncoding::Utf8);
    const CsvPreview preview = PreviewCsv(file, CsvFileEncoding::Utf8);
    EXPECT_TRUE(IsValidUtf8(preview.line));
    EXPECT_EQ(preview.line, "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD,\"\xE3\x81\x82\"");
}

TEST(ReadersUtf8Test, ACsvFileWithoutABomIsUtf8OnlyWhenStrictlyWellFormed)
{
    EXPECT_EQ(DetectCsvEncoding("\xE3\x81\x82,b\r\n"), CsvFileEncoding::Utf8);
    EXPECT_EQ(DetectCsvEncoding("\xED\xA0\x80,b\r\n"), CsvFileEncoding::Cp932); // a surrogate half
}

TEST(ReadersUtf8Test, VcardValuesInOverlongOrSurrogateFormsAreReadAsShiftJisNotKept)
{
    for (const std::string value : {"\xC0\xAF", "\xED\xA0\x80", "\xF5\x80\x80\x80", "\xF0\x80\x80\xAF"}) {
        SCOPED_TRACE(::testing::PrintToString(value));
        auto cards = ReadVcards("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + value + "\r\nEND:VCARD\r\n");
        ASSERT_EQ(cards.size(), 1u);
        for (const VcardProperty& property : cards[0].properties) {
            EXPECT_TRUE(IsValidUtf8(property.value)) << property.name;
            EXPECT_NE(property.value, value);
        }
    }
}

// Apple's form of a birthday without a year names the made-up year it wrote.
TEST(VcardBirthdayTest, AnOmittedYearIsStoredAsMonthAndDayAsForTheDashForm)
{
    // Read as the import reads a card: through the whole fill of the record.
    auto birthdayOf = [](const std::string& line) {
        auto cards = ReadVcards("BEGIN:VCARD\r\nVERSION:3.0\r\nN:山田;太郎\r\nX-PHONETIC-LAST-NAME:ヤマダ\r\n" + line +
                                "\r\nEND:VCARD\r\n");
        const CheckItemNameList names{};
        std::array<char, 15> checks{};
        checks.fill(' ');
        AddressRecord rec{};
        ExtraRecord extra{};
        EXPECT_TRUE(FillFromVcard(cards.at(0), names, checks, rec, extra).hasReading);
        return GetLong(rec.Birthday);
    };
    EXPECT_EQ(birthdayOf("BDAY;X-APPLE-OMIT-YEAR=1604:1604-08-15"), 815);
    EXPECT_EQ(birthdayOf("BDAY;X-APPLE-OMIT-YEAR=1604;VALUE=date:16040815"), 815);
    EXPECT_EQ(birthdayOf("BDAY:--0815"), 815);
    EXPECT_EQ(birthdayOf("BDAY:1604-08-15"), 16040815); // no parameter: a real year
    EXPECT_EQ(birthdayOf("BDAY;X-APPLE-OMIT-YEAR=1604:1980-08-15"), 19800815);
}

} // namespace
} // namespace talik
