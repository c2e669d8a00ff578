#include "cli/listlines.h"

#include <cstring>
#include <string>

#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

AddressRecord Person(std::string_view kanaCp932, std::string_view kanjiCp932)
{
    const Bytes600 bytes = HandAddress(kanaCp932, kanjiCp932);
    AddressRecord rec{};
    std::memcpy(&rec, bytes.data(), sizeof(rec));
    return rec;
}

// More people than were counted when the list began (the file grew while it was read): every one is
// listed, whole, in list order.
TEST(ListLines, MoreLinesThanExpectedAreAllKeptInListOrder)
{
    ListLines lines(1);
    lines.add(2, Person("\xB3", "\x89\x4B"));          // ｳ 卯
    lines.add(3, Person("\xB1", "\x88\xA2"));          // ｱ 阿
    lines.add(4, Person(std::string(30, '\xDD'), "")); // a reading filling its field
    lines.add(5, Person("\xB1", "\x88\xA3"));          // ｱ again, after the first ｱ by number
    std::string longest;
    for (int i = 0; i < 30; ++i) {
        longest += "ﾝ";
    }
    EXPECT_EQ(lines.text(), "K00003\tｱ\t阿\n"
                            "K00005\tｱ\t哀\n"
                            "K00002\tｳ\t卯\n"
                            "K00004\t" +
                                longest + "\t\n");
}

// A reading that does not sort by its bytes (its last byte does not decode) is compared as text
// with one it begins with: the whole of both fields takes part, so the shorter comes first although
// its record number is higher.
TEST(ListLines, ReadingsComparedAsTextUseTheirWholeField)
{
    const std::string stem(29, '\xB1'); // ｱ x 29
    ListLines lines(2);
    lines.add(2, Person(stem + "\xFD", ""));
    lines.add(3, Person(stem, ""));
    std::string shown;
    for (int i = 0; i < 29; ++i) {
        shown += "ｱ";
    }
    EXPECT_EQ(lines.text(), "K00003\t" + shown + "\t\n" + "K00002\t" + shown + "\xEF\x9F\xBD\t\n");
}

} // namespace
} // namespace talik::test
