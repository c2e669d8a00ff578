// A database's own check-item names: what the dialog opens with, and a write that changes only the
// marker and the names of the header on disk, whatever another copy wrote since the load.
#include <algorithm>

#include <gtest/gtest.h>

#include "editor/dbcheckitems.h"
#include "store/database.h"
#include "tests/support/childprocess.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

constexpr std::size_t MarkerAt = 24;
constexpr std::size_t NamesAt = 30;
constexpr std::size_t PasswordAt = 330;

class DbCheckItemNames : public StoreTest
{
protected:
    DbCheckItems named(bool own)
    {
        DbCheckItems items;
        items.ownNames = own;
        for (int i = 0; i < 15; ++i) {
            items.names[i] = "項目名" + std::to_string(i + 1);
        }
        return items;
    }
};

TEST_F(DbCheckItemNames, TheDialogOpensWithTheHeadersNamesOrTheGlobalOnesWhenNoMarkerWasChosen)
{
    state.settings.AddressCheck[0] = "共通";
    SetText(state.Header.CheckItemNames[0], "個別");
    state.Header.HeaderFlags[0] = '1';
    EXPECT_TRUE(DbCheckItemsOf(state).ownNames);
    EXPECT_EQ(DbCheckItemsOf(state).names[0], "個別");
    state.Header.HeaderFlags[0] = '0';
    EXPECT_FALSE(DbCheckItemsOf(state).ownNames);
    EXPECT_EQ(DbCheckItemsOf(state).names[0], "個別");
    state.Header.HeaderFlags[0] = ' ';
    EXPECT_FALSE(DbCheckItemsOf(state).ownNames);
    EXPECT_EQ(DbCheckItemsOf(state).names[0], "共通");
}

TEST_F(DbCheckItemNames, OnlyTheMarkerAndTheNamesChangeOnDisk)
{
    load();
    const auto before = ReadFileBytes(mainPath());
    DbCheckItems items = named(true);
    items.names[1] = "  両端の空白  ";
    items.names[2] = "とても長いチェック項目の名前です"; // 32 bytes: cut to 20
    ASSERT_TRUE(StoreDbCheckItems(state, items));
    const auto after = ReadFileBytes(mainPath());
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after[MarkerAt], '1');
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + MarkerAt, after.begin()));
    EXPECT_TRUE(std::equal(before.begin() + MarkerAt + 1, before.begin() + NamesAt, after.begin() + MarkerAt + 1));
    EXPECT_TRUE(std::equal(before.begin() + PasswordAt, before.end(), after.begin() + PasswordAt));

    load();
    EXPECT_EQ(state.Header.HeaderFlags[0], '1');
    EXPECT_EQ(GetText(state.Header.CheckItemNames[0]), "項目名1");
    EXPECT_EQ(GetText(state.Header.CheckItemNames[1]), "両端の空白");
    EXPECT_EQ(GetText(state.Header.CheckItemNames[2]), "とても長いチェック項");
}

TEST_F(DbCheckItemNames, TheCommonChoiceStillWritesTheNamesAndTheMemoryFollows)
{
    load();
    ASSERT_TRUE(StoreDbCheckItems(state, named(false)));
    EXPECT_EQ(state.Header.HeaderFlags[0], '0');
    EXPECT_EQ(GetText(state.Header.CheckItemNames[14]), "項目名15");
    EXPECT_EQ(ReadFileBytes(mainPath())[MarkerAt], '0');
}

TEST_F(DbCheckItemNames, RecordsAndAPasswordAnotherCopyWroteSinceTheLoadSurvive)
{
    load();
    addRecord("ｱｵｷ", "青木");
    // Another program adds to the same database after this copy loaded it.
    ASSERT_EQ(WaitForProgram(StartProgram({STORE_WRITER_PATH, dir.str(), "B", "20"})), 0);
    // ... and another copy set a password.
    auto bytes = ReadFileBytes(mainPath());
    const std::string stored = EncodePassword("secret", 7);
    std::copy(stored.begin(), stored.end(), bytes.begin() + PasswordAt);
    WriteFileBytes(mainPath(), bytes);
    const std::int32_t lastOnDisk = LongAt(bytes, 16);
    ASSERT_EQ(lastOnDisk, 22);

    ASSERT_TRUE(StoreDbCheckItems(state, named(true)));
    const auto after = ReadFileBytes(mainPath());
    EXPECT_EQ(LongAt(after, 16), lastOnDisk);
    EXPECT_TRUE(std::equal(stored.begin(), stored.end(), after.begin() + PasswordAt));

    ui.passwordAnswers.push_back("secret");
    load();
    EXPECT_EQ(state.tables.TotalCount, 21);
    EXPECT_EQ(state.Header.HeaderFlags[0], '1');
}

TEST_F(DbCheckItemNames, AFileThatCannotBeOpenedIsTold)
{
    load();
    state.DataPath = dir.str() + "/missing";
    EXPECT_FALSE(StoreDbCheckItems(state, named(true)));
    EXPECT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(state.Header.HeaderFlags[0], ReadFileBytes(mainPath())[MarkerAt]);
}

} // namespace
} // namespace talik::test
