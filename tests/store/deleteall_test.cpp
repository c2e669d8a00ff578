// Delete all data: the main file emptied in place under the writers' lock, its protection kept.
#include <gtest/gtest.h>

#include <cstring>

#include "store/database.h"
#include "store/deleteall.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

class DeleteAllTest : public StoreTest
{
protected:
    void SetUp() override
    {
        load();
        for (auto reading : {"ｱ", "ｶ", "ｻ"}) {
            addRecord(reading);
        }
        load();
    }

    MainHeader headerOnDisk()
    {
        MainHeader header{};
        auto bytes = ReadFileBytes(mainPath());
        std::memcpy(&header, bytes.data(), sizeof(header));
        return header;
    }
};

TEST_F(DeleteAllTest, EmptiesTheMainFileAndKeepsPasswordFlagsAndNames)
{
    // The protection and names of the database, set as another copy would have left them.
    MainHeader before = headerOnDisk();
    SetPassword(before, "Secret1", 4);
    std::memcpy(before.HeaderFlags, "101010", 6);
    SetText(before.CheckItemNames[2], "年賀状");
    auto file = ReadFileBytes(mainPath());
    std::memcpy(file.data(), &before, sizeof(before));
    WriteFileBytes(mainPath(), file);
    auto extraBefore = ReadFileBytes(extraPath());

    ui.yesNoAnswers.push_back(true);
    ASSERT_TRUE(DeleteAllData(state));

    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text,
              "選択されているデータベースの全件を削除します。\n復活することはできません。削除しますか？");
    EXPECT_EQ(ui.shown[0].title, "確認");
    EXPECT_EQ(ui.shown[0].icon, MessageIcon::Question);

    auto after = ReadFileBytes(mainPath());
    ASSERT_EQ(after.size(), 600u);
    MainHeader header = headerOnDisk();
    EXPECT_EQ(GetLong(header.LastRecNo), 1);
    EXPECT_EQ(std::memcmp(header.PasswordField, before.PasswordField, sizeof(header.PasswordField)), 0);
    EXPECT_EQ(DecodePassword(header.PasswordField), "Secret1");
    EXPECT_EQ(std::string(header.HeaderFlags, 6), "101010");
    EXPECT_EQ(GetText(header.CheckItemNames[2]), "年賀状");
    EXPECT_EQ(std::string(header.Signature, 16), CurrentSignature);
    EXPECT_EQ(ReadFileBytes(extraPath()), extraBefore); // the extra file is left alone

    EXPECT_EQ(state.tables.TotalCount, 0);
    EXPECT_EQ(state.tables.GroupCount(0), 0);
    // A record added afterwards is number 2 again, and a reload finds only it.
    addRecord("ﾀ");
    state.TablesLoaded = false;
    ui.passwordAnswers.push_back(std::string("Secret1"));
    load();
    EXPECT_EQ(state.tables.TotalCount, 1);
}

TEST_F(DeleteAllTest, NoKeepsEverything)
{
    auto file = ReadFileBytes(mainPath());
    ui.yesNoAnswers.push_back(false);
    EXPECT_FALSE(DeleteAllData(state));
    EXPECT_EQ(ReadFileBytes(mainPath()), file);
    EXPECT_EQ(state.tables.TotalCount, 3);
}

TEST_F(DeleteAllTest, ALockedFileIsToldAndLeftWhole)
{
    auto file = ReadFileBytes(mainPath());
    RecordFile other;
    ASSERT_EQ(other.open(mainPath(), OpenMode::Write, MainRecLen), OpenError::None);
    ui.yesNoAnswers.push_back(true);
    EXPECT_FALSE(DeleteAllData(state));
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ReadFileBytes(mainPath()), file);
    EXPECT_EQ(state.tables.TotalCount, 3);
}

TEST(EmptiedHeader, ABlankHeaderBecomesCurrentAndEmpty)
{
    MainHeader blank{};
    MainHeader header = EmptiedHeader(blank);
    EXPECT_EQ(std::string(header.Signature, 16), CurrentSignature);
    EXPECT_EQ(GetLong(header.LastRecNo), 1);
    EXPECT_FALSE(HasPassword(header.PasswordField));
}

} // namespace
} // namespace talik::test
