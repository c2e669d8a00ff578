// The table of keys and the people filed under each: keys that share a hash, or a slot, stay apart,
// and a key's people come back in the order they were filed, across the table's growth.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/duplicates.h"
#include "store/keyblocks.h"
#include "store/matchkeys.h"

namespace talik::test {
namespace {

// Every key lands on the one hash: only comparing the bytes tells them apart.
std::uint64_t OneHashForAll(char, std::string_view)
{
    return 42;
}

std::vector<std::uint32_t> Members(const KeyBlocks& blocks, char kind, std::string_view text)
{
    std::vector<std::uint32_t> members;
    blocks.appendMembers(kind, text, members);
    return members;
}

TEST(KeyBlocks, KeysSharingTheirHashKeepTheirOwnMembers)
{
    KeyBlocks blocks(4, OneHashForAll);
    blocks.file('r', "ﾔﾏﾀﾞ", 1);
    blocks.file('n', "山田", 2);
    blocks.file('r', "ﾔﾏﾀﾞﾀﾛｳ", 3);
    blocks.file('r', "ﾔﾏﾀﾞ", 4);
    EXPECT_EQ(Members(blocks, 'r', "ﾔﾏﾀﾞ"), (std::vector<std::uint32_t>{1, 4}));
    EXPECT_EQ(Members(blocks, 'n', "山田"), (std::vector<std::uint32_t>{2}));
    EXPECT_EQ(Members(blocks, 'r', "ﾔﾏﾀﾞﾀﾛｳ"), (std::vector<std::uint32_t>{3}));
    EXPECT_EQ(blocks.size(), 3u);
}

TEST(KeyBlocks, TheKindOfAKeyIsPartOfIt)
{
    KeyBlocks blocks(4, OneHashForAll);
    blocks.file('t', "0312345678", 1);
    blocks.file('e', "0312345678", 2);
    EXPECT_EQ(Members(blocks, 't', "0312345678"), (std::vector<std::uint32_t>{1}));
    EXPECT_EQ(Members(blocks, 'e', "0312345678"), (std::vector<std::uint32_t>{2}));
    EXPECT_EQ(blocks.memberCount('e', "0312345678"), 1u);
}

TEST(KeyBlocks, AKeyWithoutMembersFindsNone)
{
    KeyBlocks blocks(4, OneHashForAll);
    blocks.file('r', "ｱｲ", 1);
    std::vector<std::uint32_t> members{7};
    EXPECT_FALSE(blocks.appendMembers('r', "ｱ", members));
    EXPECT_FALSE(blocks.appendMembers('r', "ｱｲｳ", members));
    EXPECT_FALSE(blocks.appendMembers('n', "ｱｲ", members));
    EXPECT_EQ(members, (std::vector<std::uint32_t>{7}));
    EXPECT_EQ(blocks.memberCount('r', "ｱ"), 0u);
}

// A table of two slots grows many times over; every key keeps its members, in their order.
TEST(KeyBlocks, EveryKeyKeepsItsMembersInOrderAsTheTableGrows)
{
    for (BlockKeyHash hash : {HashBlockKey, OneHashForAll}) {
        KeyBlocks blocks(2, hash);
        for (std::uint32_t member = 0; member < 300; ++member) {
            blocks.file('t', "09000000" + std::to_string(member % 100), member);
        }
        ASSERT_EQ(blocks.size(), 100u);
        for (std::uint32_t key = 0; key < 100; ++key) {
            EXPECT_EQ(Members(blocks, 't', "09000000" + std::to_string(key)),
                      (std::vector<std::uint32_t>{key, key + 100, key + 200}));
        }
    }
}

// Room made ahead keeps what was filed before it, and takes what is filed after.
TEST(KeyBlocks, RoomMadeAheadKeepsTheKeysFiledBefore)
{
    KeyBlocks blocks(2);
    blocks.file('n', "佐藤", 1);
    blocks.file('r', "ｻﾄｳ", 1);
    blocks.reserve(500);
    EXPECT_EQ(Members(blocks, 'n', "佐藤"), (std::vector<std::uint32_t>{1}));
    EXPECT_EQ(Members(blocks, 'r', "ｻﾄｳ"), (std::vector<std::uint32_t>{1}));
    for (std::uint32_t member = 2; member < 500; ++member) {
        blocks.file('e', "p" + std::to_string(member) + "@example.jp", member);
    }
    EXPECT_EQ(blocks.size(), 500u);
    EXPECT_EQ(Members(blocks, 'e', "p499@example.jp"), (std::vector<std::uint32_t>{499}));
    EXPECT_EQ(Members(blocks, 'r', "ｻﾄｳ"), (std::vector<std::uint32_t>{1}));
}

TEST(KeyBlocks, TheHashTellsKeysOfOneLengthApart)
{
    EXPECT_NE(HashBlockKey('r', "ﾔﾏﾀﾞ"), HashBlockKey('n', "ﾔﾏﾀﾞ"));
    EXPECT_NE(HashBlockKey('t', "09012345678"), HashBlockKey('t', "09012345687"));
    EXPECT_NE(HashBlockKey('t', "0901234567812345"), HashBlockKey('t', "0901234567812346"));
    EXPECT_EQ(HashBlockKey('e', "a@example.jp"), HashBlockKey('e', std::string("a@example.jp")));
}

// An index given room for an import's lines finds the people it held and those added after.
TEST(KeyBlocks, AnIndexGivenRoomFindsThePeopleBeforeAndAfter)
{
    PersonKeys sato;
    sato.reading = "ｻﾄｳｼﾞﾛｳ";
    sato.name = "佐藤次郎";
    sato.mobiles = {"09011112222"};
    PersonKeys suzuki;
    suzuki.reading = "ｽｽﾞｷﾊﾅｺ";
    suzuki.name = "鈴木花子";
    suzuki.emails = {"h@example.jp"};
    DuplicateIndex index({{3, sato, ""}});
    index.reserve(10000);
    index.add(8, suzuki);
    EXPECT_EQ(index.find(sato), 3);
    EXPECT_EQ(index.find(suzuki), 8);
}

} // namespace
} // namespace talik::test
