#include "platform/codec.h"

#include <climits>
#include <gtest/gtest.h>
#include <iconv.h>
#include <utility>

#include "platform/utf8.h"

namespace talik {
namespace {

TEST(Codec, TextRoundTripsWithWindowsMeanings)
{
    // Backslash and tilde stay themselves (not yen and overline), alone and among double-byte text.
    const std::string ascii = "C:\\a~b\x1A\x1C\x7F";
    EXPECT_EQ(FromCp932(ascii), ascii);
    EXPECT_EQ(ToCp932(ascii), ascii);
    const std::string bytes = "\x8E\x52\x93\x63\x81\x40\x82\xA0\x83\x41\x87\x40\xB1\xDF\xA1\\~";
    EXPECT_EQ(FromCp932(bytes), "山田　あア①ｱﾟ｡\\~");
    EXPECT_EQ(ToCp932("山田　あア①ｱﾟ｡\\~"), bytes);
    std::string appended = "x";
    AppendFromCp932(appended, bytes);
    EXPECT_EQ(appended, "x山田　あア①ｱﾟ｡\\~");
    // CP932 folds the wave dash and the minus sign into the full-width forms.
    EXPECT_EQ(ToCp932("〜−～－"), "\x81\x60\x81\x7C\x81\x60\x81\x7C");
}

TEST(Codec, UndecodableBytesSurviveAReadModifyWrite)
{
    EXPECT_EQ(FromCp932("\x80"), "\xEF\x9E\x80"); // U+F780
    EXPECT_EQ(FromCp932("\xFF"), "\xEF\x9F\xBF"); // U+F7FF
    const char* fields[] = {
        "A\x80Z",    "A\xA0Z",    "A\xFD\xFE\xFF", "\x8E\x52\x82",     // lone lead byte at the end
        "\x81\x20Z", "\x82\x7FZ", "\x85\x40Z",     "\xEB\x40\x82\xA0", // bad or unassigned trail
    };
    for (const std::string field : fields) {
        const std::string text = FromCp932(field);
        EXPECT_EQ(ToCp932(text), field) << text;
        EXPECT_EQ(ToCp932(text + "山"), field + "\x8E\x52") << text;
    }
}

TEST(Codec, EveryLeadTrailPairDecodesToTextThatEncodesBack)
{
    // Pairs CP932 defines twice (NEC and IBM extensions) may come back as the other code of the
    // same character; anything else must come back byte for byte.
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC && IsLeadByte(static_cast<unsigned char>(lead)); ++trail) {
            const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string text = FromCp932(pair);
            const std::string back = ToCp932(text);
            ASSERT_EQ(FromCp932(back), text) << lead << " " << trail;
            ASSERT_EQ(back.size(), 2u) << lead << " " << trail;
        }
    }
}

// What this system's iconv makes of `utf8`, each character it cannot encode as "?".
std::string IconvCp932(iconv_t toCp932, const std::string& utf8)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t length = DecodeUtf8(std::string_view(utf8).substr(i)).length;
        char* in = const_cast<char*>(utf8.data() + i);
        std::size_t inLeft = length;
        char bytes[8];
        char* outPtr = bytes;
        std::size_t outLeft = sizeof bytes;
        iconv(toCp932, nullptr, nullptr, nullptr, nullptr);
        const bool done = iconv(toCp932, &in, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
        out += done ? std::string(bytes, outPtr) : std::string("?");
        i += length;
    }
    return out;
}

TEST(Codec, EveryCharacterEncodesAsIconvEncodesIt)
{
    iconv_t toCp932 = iconv_open("CP932", "UTF-8");
    ASSERT_NE(toCp932, reinterpret_cast<iconv_t>(-1));
    std::string all;
    for (char32_t code = 0x80; code < 0x10000; ++code) {
        const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
        const bool escape = code >= EscapeBase + 0x80 && code <= EscapeBase + 0xFF;
        if (surrogate || escape) {
            continue;
        }
        std::string one;
        AppendUtf8(one, code);
        ASSERT_EQ(ToCp932(one), IconvCp932(toCp932, one)) << std::hex << static_cast<unsigned>(code);
        all += one;
    }
    // And as one text, the way a line of a job is encoded.
    all += "ABC〜山\\~😀ｱ";
    EXPECT_EQ(ToCp932(all), IconvCp932(toCp932, all));
    iconv_close(toCp932);
}

TEST(Codec, WhatCp932CannotHoldBecomesQuestionMarks)
{
    EXPECT_EQ(ToCp932("A😀B"), "A?B");
    EXPECT_EQ(ToCp932("山😀"), "\x8E\x52?");
    EXPECT_EQ(ToCp932("A\xC0\x80Z"), "A??Z");        // overlong
    EXPECT_EQ(ToCp932("\xED\xA0\x80"), "???");       // surrogate
    EXPECT_EQ(ToCp932("\xE5\xB1Z"), "??Z");          // truncated
    EXPECT_EQ(ToCp932("\x80\xEF\x9E\x80"), "?\x80"); // stray continuation, then an escape
}

TEST(Codec, AnsiLenAndAnsiMidCountCp932Bytes)
{
    EXPECT_EQ(AnsiLen(""), 0);
    EXPECT_EQ(AnsiLen("〜\xEF\x9E\x80😀"), 4);
    EXPECT_EQ(AnsiLen(std::string(15, 'x') + "山山山山山山山"), 29);
    const std::string text = "A山ｱB"; // 41 8E52 B1 42
    EXPECT_EQ(AnsiLen(text), 5);
    EXPECT_EQ(AnsiMid(text, 1, 3), "A山");
    EXPECT_EQ(AnsiMid(text, 2, 2), "山");
    EXPECT_EQ(ToCp932(AnsiMid(text, 1, 2)), "A\x8E"); // lead half kept as an escape
    EXPECT_EQ(AnsiMid(text, 3, 3), "RｱB");            // trail half read on its own
    EXPECT_EQ(AnsiMid(text, 4, 100), "ｱB");
    EXPECT_EQ(AnsiMid(text, 1, LONG_MAX), text);
    EXPECT_EQ(AnsiMid(text, 0, 2), "A"); // only bytes that exist are taken
    EXPECT_EQ(AnsiMid(text, -1, 5), "A山");
    const std::pair<long, long> outside[] = {{6, 1}, {1, 0}, {1, -3}, {-5, 3}, {LONG_MIN, LONG_MAX}, {LONG_MAX, 1}};
    for (const auto& [start, length] : outside) {
        EXPECT_EQ(AnsiMid(text, start, length), "") << start << " " << length;
    }
}

} // namespace
} // namespace talik
