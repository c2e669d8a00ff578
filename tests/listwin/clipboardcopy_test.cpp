// Copying a record with the four copy settings: separators, items, the birthday, degenerate
// definitions, and the definitions surviving a restart whole.
#include <gtest/gtest.h>

#include <cstring>

#include "listwin/clipboardcopy.h"
#include "listwin/listsync.h"
#include "store/database.h"
#include "store/settings.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

class CopyText_ : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ClearRecord(rec);
        ClearRecord(extra);
        SetText(rec.KanaName, "ﾔﾏﾀﾞ");
        SetText(rec.KanjiName, "山田");
        SetText(rec.Address1, "東京都");
    }
    std::string copy(std::string_view parm) { return CopyText(rec, extra, parm).value_or("<none>"); }

    AddressRecord rec{};
    ExtraRecord extra{};
};

TEST_F(CopyText_, SeparatorsNoneSpaceAndLineBreak)
{
    EXPECT_EQ(copy("020702"), "東京都\r\n山田\r\n"); // a line break leaves its trailing CR LF
    EXPECT_EQ(copy("010702"), "東京都 山田");        // a space leaves none
    EXPECT_EQ(copy("000702"), "東京都山田");
    EXPECT_EQ(copy("090702"), "東京都山田"); // an unknown separator code separates with nothing
}

TEST_F(CopyText_, EmptyFieldsKeepTheirSeparatorAndTrailingSpacesGo)
{
    EXPECT_EQ(copy("010208"), "山田"); // no telephone: the name alone
    EXPECT_EQ(copy("020802"), "\r\n山田\r\n");
    EXPECT_EQ(copy("010299"), "山田"); // a code naming no item adds nothing
}

TEST_F(CopyText_, BirthdayIsFormattedAndMissingOneIsZeros)
{
    EXPECT_EQ(copy("0004"), "0000/00/00");
    SetLong(rec.Birthday, 19650412);
    EXPECT_EQ(copy("0104"), "1965/04/12");
}

TEST_F(CopyText_, EveryItemCodeTakesItsField)
{
    SetText(rec.EMail, "a@b.jp");
    SetText(rec.ClassCode, "K1");
    SetText(rec.PostCode1, "100-0001");
    SetText(rec.Tel1, "03-1");
    SetText(rec.Fax1, "03-2");
    SetText(rec.PostCode2, "200-0002");
    SetText(rec.Address2, "大阪府");
    SetText(rec.Tel2, "06-1");
    SetText(rec.Fax2, "06-2");
    SetText(rec.Company, "会社");
    SetText(rec.Department, "部");
    SetText(rec.Remarks, "備考");
    SetText(extra.RemarksExtra, "長い\r\n備考");
    SetText(extra.RelatedInfo, "/tmp/a.txt");
    std::string all = "01";
    for (int code = 1; code <= 18; ++code) {
        all += (code < 10 ? "0" : "") + std::to_string(code);
    }
    EXPECT_EQ(copy(all), "ﾔﾏﾀﾞ 山田 a@b.jp 0000/00/00 K1 100-0001 東京都 03-1 03-2 200-0002 大阪府 06-1 06-2 会社 部 "
                         "備考 長い\r\n備考 /tmp/a.txt");
}

TEST_F(CopyText_, DegenerateDefinitionsCopyNothing)
{
    EXPECT_FALSE(CopyText(rec, extra, "").has_value());
    EXPECT_FALSE(CopyText(rec, extra, "02").has_value());
    EXPECT_EQ(copy("020"), ""); // half an item code names no item
}

TEST(CopyDefinition, ParsedAndWrittenBack)
{
    CopyDefinition def = ParseCopyDefinition("020702");
    EXPECT_EQ(def.separator, 2);
    EXPECT_EQ(def.items, (std::vector<int>{7, 2}));
    // Empty slots close up.
    EXPECT_EQ(CopyDefinitionText(1, {0, 3, 0, 0, 18}), "010318");
    std::string longest = "02" + std::string(36, '0');
    for (int i = 0; i < 18; ++i) {
        longest[2 + 2 * i] = static_cast<char>('0' + (i + 1) / 10);
        longest[3 + 2 * i] = static_cast<char>('0' + (i + 1) % 10);
    }
    EXPECT_EQ(ParseCopyDefinition(longest).items.size(), 18u);
    EXPECT_EQ(CopyDefinitionText(2, ParseCopyDefinition(longest).items), longest);
}

TEST(CopyClipboardText, UndecodableBytesBecomeReplacementCharacters)
{
    AddressRecord rec{};
    ExtraRecord extra{};
    ClearRecord(rec);
    ClearRecord(extra);
    std::memcpy(rec.KanjiName, "AB\x81", 3); // a name cut through a double-byte character
    EXPECT_EQ(ForClipboard(*CopyText(rec, extra, "0002")), "AB\xEF\xBF\xBD");
}

TEST(CopyTitle, CutToThirtyBytesOnACharacterBoundary)
{
    EXPECT_EQ(FitCopyTitle(std::string(31, 'x')), std::string(30, 'x'));
    std::string kanji;
    for (int i = 0; i < 16; ++i) {
        kanji += "漢";
    }
    EXPECT_EQ(FitCopyTitle("x" + kanji), "x" + kanji.substr(0, 14 * 3)); // 1 + 28 bytes, not 31
}

class CopySettingsFile : public ::testing::Test
{
protected:
    TempDir dir;
};

TEST_F(CopySettingsFile, AnEighteenItemDefinitionAndAThirtyByteNameSurviveARestart)
{
    Settings s;
    std::string longest = "01";
    for (int code = 1; code <= 18; ++code) {
        longest += (code < 10 ? "0" : "") + std::to_string(code);
    }
    ASSERT_EQ(longest.size(), 38u);
    s.Copy[2] = {"住所と名前と電話番号を全部写す", longest}; // 15 double-byte characters, 30 bytes
    const std::string file = dir.str() + "/QXSCH.INI";
    ASSERT_TRUE(WriteSettings(s, file, 0));
    Settings r;
    ReadSettings(r, file, dir.str() + "/talik.ini", 0);
    EXPECT_EQ(r.Copy[2].parm, longest);
    EXPECT_EQ(r.Copy[2].title, s.Copy[2].title);
}

class CopySelected : public StoreTest
{
};

TEST_F(CopySelected, TheSelectedRecordIsReadAfreshAndAnUnreadableOneCopiesNothing)
{
    load();
    std::int32_t recNo = addRecord("ﾔﾏﾀﾞ", "山田");
    load();
    state.MainList.clear();
    AddListRow(state, state.MainList, state.tables.columns.nCols, 1, state.tables.RecPos[recNo] % 100);
    state.MainList.select(0);
    state.settings.Copy[0].parm = "0202";
    EXPECT_EQ(CopySelectedRecord(state, state.MainList, 0), "山田\r\n");
    state.settings.Copy[1].parm = "02";
    EXPECT_FALSE(CopySelectedRecord(state, state.MainList, 1).has_value());

    // The file gone: nothing to copy, so the clipboard keeps what it had.
    std::filesystem::remove(mainPath());
    std::filesystem::create_directory(mainPath()); // a path that cannot be read as a file
    EXPECT_FALSE(CopySelectedRecord(state, state.MainList, 0).has_value());
}

} // namespace
} // namespace talik::test
