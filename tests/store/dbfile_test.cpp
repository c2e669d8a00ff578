#include "store/dbfile.h"

#include <array>
#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

#include "listwin/appstate.h"
#include "store/record.h"
#include "tests/support/scripted.h"
#include "tests/support/tempdir.h"

namespace talik {
namespace {

using test::FixedClock;
using test::ScriptedInteraction;
using test::TempDir;

class OpenDbFileTest : public ::testing::Test
{
protected:
    TempDir dir;
    ScriptedInteraction ui;
    FixedClock clock;
    AppState state{ui, clock};
    std::string path = (dir.path() / "MRPDAT01.QX1").string();
};

TEST_F(OpenDbFileTest, WriterGivesUpAfterAHundredAttemptsOnAHeldLock)
{
    RecordFile holder;
    ASSERT_EQ(holder.open(path, OpenMode::Write, MainRecLen), OpenError::None);

    EXPECT_FALSE(OpenDbFile(state, path, OpenMode::Write, MainRecLen));
    EXPECT_EQ(clock.slept, (LockAttempts - 1) * LockRetryMs);
    EXPECT_EQ(clock.slept, 9900);
    EXPECT_GE(ui.eventsRun, 99);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].kind, "message");
    EXPECT_EQ(ui.shown[0].text, "他の人がデータベース（" + path + "）を使用中で書き込みができません。");
    EXPECT_EQ(ui.shown[0].icon, MessageIcon::Exclamation);
}

TEST_F(OpenDbFileTest, ReaderIsNotHeldUpByAWriter)
{
    RecordFile holder;
    ASSERT_EQ(holder.open(path, OpenMode::Write, MainRecLen), OpenError::None);

    EXPECT_TRUE(OpenDbFile(state, path, OpenMode::Read, MainRecLen));
    holder.close();
    EXPECT_TRUE(OpenDbFile(state, path, OpenMode::Write, MainRecLen));
    EXPECT_EQ(clock.slept, 0);
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(OpenDbFileTest, AccessErrorIsToldAtOnce)
{
    std::string missing = (dir.path() / "missing" / "MRPDAT01.QX1").string();

    EXPECT_FALSE(OpenDbFile(state, missing, OpenMode::Write, MainRecLen));
    EXPECT_EQ(clock.slept, 0);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"指定したデータベース（" + missing +
                                                      "）にアクセスできません。\r\n"
                                                      "パスが正しいか、読み取り専用でないか、アクセス権が"
                                                      "あるか確認してください。"});
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].icon, MessageIcon::Exclamation);
}

TEST_F(OpenDbFileTest, OpensTheExistingFileWhoseNameDiffersInCase)
{
    auto lower = dir.path() / "mrpdat01.qx1";
    test::WriteFileBytes(lower, std::vector<std::uint8_t>(MainRecLen, 'A'));

    auto file = OpenDbFile(state, path, OpenMode::Write, MainRecLen);
    ASSERT_TRUE(file);
    std::array<unsigned char, MainRecLen> rec{};
    ASSERT_TRUE(file->read(1, rec));
    EXPECT_EQ(rec[0], 'A');
    ASSERT_TRUE(file->write(2, rec));
    file.reset();

    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(lower), 2 * MainRecLen);
}

} // namespace
} // namespace talik
