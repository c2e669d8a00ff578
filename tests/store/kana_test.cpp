#include "store/kana.h"

#include <gtest/gtest.h>

namespace talik {
namespace {

TEST(Kana, GroupComesFromTheFirstCharacter)
{
    EXPECT_EQ(KanaGroup("ｱﾝ"), 0);
    EXPECT_EQ(KanaGroup("ｶﾞｯｺｳ"), 5);
    EXPECT_EQ(KanaGroup("ﾖｼﾀﾞ"), 37);
    EXPECT_EQ(KanaGroup("ﾜﾀﾞ"), 43);
    for (const char* other : {"ﾝ", "ｦﾀ", "ｧ", "ｰ", "1ﾀ", "Aｱ", " ｱ", "", "あ", "山田", "😀"}) {
        EXPECT_EQ(KanaGroup(other), OtherGroup) << other;
    }
}

TEST(Kana, StoredBytesGroupByFirstByte)
{
    EXPECT_EQ(KanaGroupOfBytes("\xB1\xDD"), 0);
    EXPECT_EQ(KanaGroupOfBytes("\xDC"), 43);
    const std::string others[] = {"\xDD", "\xA6", "\xB0", "\x82\xA0", "\xE0\xB1", "\xFF\xB1", "", std::string(1, '\0'),
                                  "   "};
    for (const std::string& other : others) {
        EXPECT_EQ(KanaGroupOfBytes(other), OtherGroup);
    }
    EXPECT_EQ(KanaGroupOfByte(0xB1, true), OtherGroup);
}

TEST(Kana, OnlySingleBytesAbove246MarkADeletedRecord)
{
    for (int b = 0; b <= 0xFF; ++b) {
        EXPECT_EQ(IsDeletedFirstByte(static_cast<unsigned char>(b)), b >= 0xFD) << b;
    }
}

TEST(Kana, TabsGatherGroupsByKanaRow)
{
    const TabTable tabs = MakeTabTable();
    const TabTable expected{{{0, 4}, {5, 9}, {10, 14}, {15, 19}, {20, 24}, {25, 29}, {30, 34}, {35, 37}, {38, 44}}};
    for (int tab = 0; tab < RowTabTotal; ++tab) {
        EXPECT_EQ(tabs[tab].first, expected[tab].first);
        EXPECT_EQ(tabs[tab].last, expected[tab].last);
    }
    EXPECT_EQ(TabOfGroup(tabs, ListMode::Row, KanaGroup("ﾜ")), 8);
    EXPECT_EQ(TabOfGroup(tabs, ListMode::Row, KanaGroup("ﾖ")), 7);
    EXPECT_EQ(TabOfGroup(tabs, ListMode::Row, KanaGroup("ﾝ")), 8);
    EXPECT_EQ(TabOfGroup(tabs, ListMode::Row, 4), 0);
    EXPECT_EQ(TabOfGroup(tabs, ListMode::Row, 5), 1);
    EXPECT_EQ(TabOfGroup(tabs, ListMode::Individual, 37), 37);
}

TEST(Kana, Captions)
{
    std::string groups;
    for (int g = 0; g < GroupTotal; ++g) {
        groups += GroupCaption(g);
    }
    EXPECT_EQ(groups, "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわ他");
    std::string tabs;
    for (int t = 0; t < RowTabTotal; ++t) {
        tabs += RowTabCaption(t) + "|";
    }
    EXPECT_EQ(tabs, "あ|か|さ|た|な|は|ま|や|ら、わ|");
    EXPECT_EQ(GroupCaption(GroupTotal), "");
    EXPECT_EQ(RowTabCaption(-1), "");
}

TEST(Kana, ToHalfKanaConvertsTypedReadings)
{
    EXPECT_EQ(ToHalfKana("やまだ"), "ﾔﾏﾀﾞ");
    EXPECT_EQ(ToHalfKana("ガッコウ"), "ｶﾞｯｺｳ");
    EXPECT_EQ(ToHalfKana("山田"), "");
    EXPECT_EQ(ToHalfKana("ー－−　゛゜"), "ｰｰｰ ﾞﾟ");
    EXPECT_EQ(ToHalfKana("ヴゐゑヵヶＡ１😀\xFF"), "");
    EXPECT_EQ(ToHalfKana("Ab 1-?ｶﾞﾝ\xEF\x9E\x80"), "Ab 1-?ｶﾞﾝ\xEF\x9E\x80"); // single-byte, escape too
}

TEST(Kana, ToHalfKanaKeepsTheWholeHalfWidthKatakanaBlockAndNothingBesideIt)
{
    // U+FF61..U+FF9F are CP932's single bytes A1..DF; U+FF60 and U+FFA0 beside them are not in it.
    EXPECT_EQ(ToHalfKana("｡｢ｦｿﾀﾝﾞﾟ"), "｡｢ｦｿﾀﾝﾞﾟ");
    EXPECT_EQ(ToHalfKana("\uFF60\uFFA0\uFFBF\uFFE5"), "");
}

TEST(Kana, ToHalfKanaCoversBothKanaBlocks)
{
    // Both blocks in code order; small ゎ ヮ, ゐ ヰ, ゑ ヱ, ヴ, ヵ and ヶ have no half-width form.
    const std::string half = "ｧｱｨｲｩｳｪｴｫｵｶｶﾞｷｷﾞｸｸﾞｹｹﾞｺｺﾞｻｻﾞｼｼﾞｽｽﾞｾｾﾞｿｿﾞﾀﾀﾞﾁﾁﾞｯﾂﾂﾞﾃﾃﾞﾄﾄﾞﾅﾆﾇﾈﾉ"
                             "ﾊﾊﾞﾊﾟﾋﾋﾞﾋﾟﾌﾌﾞﾌﾟﾍﾍﾞﾍﾟﾎﾎﾞﾎﾟﾏﾐﾑﾒﾓｬﾔｭﾕｮﾖﾗﾘﾙﾚﾛﾜｦﾝ";
    EXPECT_EQ(ToHalfKana("ぁあぃいぅうぇえぉおかがきぎくぐけげこごさざしじすずせぜそぞただちぢっつづてでとどなにぬねの"
                         "はばぱひびぴふぶぷへべぺほぼぽまみむめもゃやゅゆょよらりるれろゎわゐゑをん"),
              half);
    EXPECT_EQ(ToHalfKana("ァアィイゥウェエォオカガキギクグケゲコゴサザシジスズセゼソゾタダチヂッツヅテデトドナニヌネノ"
                         "ハバパヒビピフブプヘベペホボポマミムメモャヤュユョヨラリルレロヮワヰヱヲンヴヵヶ"),
              half);
}

} // namespace
} // namespace talik
