// The strict UTF-8 check every reader of outside text uses: shortest forms only, no surrogate
// halves, nothing past U+10FFFF.
#include <gtest/gtest.h>

#include "platform/utf8.h"

namespace talik {
namespace {

TEST(Utf8Test, AcceptsEveryWellFormedLengthUpToTheLastCodePoint)
{
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("a\xC2\x80\xDF\xBF"));
    EXPECT_TRUE(IsValidUtf8("\xE0\xA0\x80\xE3\x81\x82\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF"));
    EXPECT_TRUE(IsValidUtf8("\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"));
    EXPECT_EQ(ValidUtf8Length("\xF0\x9F\x98\x80z"), 4u);
}

TEST(Utf8Test, RefusesOverlongFormsSurrogatesAndLeadBytesPastF4)
{
    for (const char* bad : {"\xC0\xAF", "\xC1\xBF", "\xE0\x80\xAF", "\xE0\x9F\xBF", "\xF0\x80\x80\xAF",
                            "\xF0\x8F\xBF\xBF", "\xED\xA0\x80", "\xED\xBF\xBF", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80",
                            "\xF7\xBF\xBF\xBF", "\xF8\x88\x80\x80\x80", "\xFF", "\x80", "\xE3\x81", "\xE3\x81\x41"}) {
        SCOPED_TRACE(::testing::PrintToString(std::string(bad)));
        EXPECT_FALSE(IsValidUtf8(bad));
        EXPECT_EQ(ValidUtf8Length(bad), 0u);
    }
}

TEST(Utf8Test, ReplacingGivesWellFormedTextKeepingWhatWasWellFormed)
{
    EXPECT_EQ(ReplaceInvalidUtf8("a\xC0\xAF\xE3\x81\x82"), "a\xEF\xBF\xBD\xEF\xBF\xBD\xE3\x81\x82");
    EXPECT_TRUE(IsValidUtf8(ReplaceInvalidUtf8("\xED\xA0\x80\xF5")));
}

} // namespace
} // namespace talik
