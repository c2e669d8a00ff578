// Record identities and the side store: identities are fresh and unique, survive an edit by an
// older copy and are absent from a slot an older copy reused; joint names follow the identity and
// never show for another person; a damaged or locked side store leaves the address book working
// with one message; a writer killed in the middle of a batch leaves the store whole.
#include "store/sidestore.h"

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>

#include <gtest/gtest.h>

#include "dbadmin/movecopy.h"
#include "listwin/currentrecord.h"
#include "store/deleteall.h"
#include "store/identity.h"
#include "store/recordwriter.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

namespace fs = std::filesystem;

class SideStoreTest : public StoreTest
{
protected:
    SideStoreTest()
    {
        for (int n = 1; n <= 10; ++n) {
            state.settings.AddrDBName[n - 1] = "データベース" + std::to_string(n);
        }
        load();
    }

    std::int32_t addWithJoint(std::string_view reading, std::vector<JointName> joint)
    {
        state.Joint = std::move(joint);
        std::int32_t recNo = addRecord(reading);
        state.Joint.clear();
        return recNo;
    }
    std::vector<JointName> jointOf(std::int32_t recNo)
    {
        state.CurRecNo = recNo;
        EXPECT_TRUE(ReadCurrent(state));
        return state.Joint;
    }
    // An older copy of the program rewrites record `recNo` from its own buffer: every byte as it read
    // it, the reserved ones too, with the name changed.
    void olderCopyEdits(std::int32_t recNo, std::string_view nameCp932)
    {
        std::fstream file(mainPath(), std::ios::in | std::ios::out | std::ios::binary);
        std::vector<char> rec(600);
        file.seekg((recNo - 1) * 600);
        file.read(rec.data(), 600);
        std::fill(rec.begin() + 30, rec.begin() + 60, ' ');
        std::copy(nameCp932.begin(), nameCp932.end(), rec.begin() + 30);
        file.seekp((recNo - 1) * 600);
        file.write(rec.data(), 600);
    }
    std::string sidePath() const { return dir.str() + "/MRPDAT01.db"; }

    const std::vector<JointName> family{{"", "花子", "様"}, {"", "一郎", "くん"}, {"佐藤", "洋子", "様"}};
};

TEST_F(SideStoreTest, IdentitiesAreFreshAndUniqueAcrossEveryAdd)
{
    std::set<std::string> seen;
    for (int i = 0; i < 64000; ++i) {
        std::string identity = NewIdentity();
        ASSERT_EQ(identity.size(), IdentityLength);
        ASSERT_TRUE(std::all_of(identity.begin(), identity.end(), [](char c) { return c > ' ' && c <= '~'; }));
        ASSERT_TRUE(seen.insert(identity).second) << identity;
    }
    // Adds through the database: a slot used before still gets a new identity.
    ExtraRecord extra{};
    ClearRecord(extra);
    std::set<std::string> stored;
    {
        auto writer = RecordWriter::hold(state);
        ASSERT_TRUE(writer);
        AddressRecord rec{};
        ClearRecord(rec);
        SetText(rec.KanaName, "ｱ");
        for (int i = 0; i < 2000; ++i) {
            ASSERT_NE(writer->add(rec, extra), 0);
            ASSERT_TRUE(stored.insert(RecordIdentity(writer->written())).second);
        }
        ASSERT_TRUE(writer->remove(2));
        SetIdentity(rec, RecordIdentity(writer->written())); // the values come with an identity
        ASSERT_EQ(writer->add(rec, extra), 2);
        EXPECT_TRUE(stored.insert(RecordIdentity(writer->written())).second);
    }
}

TEST_F(SideStoreTest, AnOlderCopysEditKeepsTheIdentityAndTheJointNames)
{
    std::int32_t recNo = addWithJoint("ﾔﾏﾀﾞ", family);
    state.CurRecNo = recNo;
    ASSERT_TRUE(ReadCurrent(state));
    const std::string identity = RecordIdentity(state.Rec);
    ASSERT_FALSE(identity.empty());
    olderCopyEdits(recNo, "old");
    EXPECT_EQ(jointOf(recNo), family);
    EXPECT_EQ(RecordIdentity(state.Rec), identity);
    EXPECT_EQ(GetText(state.Rec.KanjiName), "old");
}

TEST_F(SideStoreTest, ASlotAnOlderCopyReusedShowsNothingOfThePersonBefore)
{
    std::int32_t recNo = addWithJoint("ﾔﾏﾀﾞ", family);
    const std::string before = RecordIdentity(state.Rec);
    ASSERT_TRUE(DeleteRecord(state, recNo));
    // The older copy writes its new person whole into the freed slot, reserved bytes blank.
    WriteRecords(mainPath() + ".slot", {HandAddress("\xb6", "new")});
    {
        auto bytes = ReadFileBytes(mainPath() + ".slot");
        std::fstream file(mainPath(), std::ios::in | std::ios::out | std::ios::binary);
        file.seekp((recNo - 1) * 600);
        file.write(reinterpret_cast<const char*>(bytes.data()), 600);
    }
    load();
    EXPECT_TRUE(jointOf(recNo).empty());
    EXPECT_TRUE(RecordIdentity(state.Rec).empty());
    // Saved by this program, the newcomer gets an identity of its own, and still no joint names.
    ASSERT_TRUE(SaveCurrent(state));
    EXPECT_NE(RecordIdentity(state.Rec), before);
    EXPECT_TRUE(jointOf(recNo).empty());
    // The earlier person's data stays as orphaned rows until the clean-up.
    EXPECT_EQ(SideStore::open(state, 1, SideStore::Access::Read)->identities(), std::set<std::string>{before});
    EXPECT_EQ(CleanSideStore(state), 1);
    EXPECT_TRUE(SideStore::open(state, 1, SideStore::Access::Read)->identities().empty());
}

TEST_F(SideStoreTest, AReadingCommandCreatesNoSideStore)
{
    std::int32_t recNo = addRecord("ｱ");
    EXPECT_TRUE(jointOf(recNo).empty());
    ASSERT_TRUE(SaveCurrent(state)); // nothing to keep: nothing created
    EXPECT_FALSE(fs::exists(sidePath()));
    addWithJoint("ｲ", family);
    EXPECT_TRUE(fs::exists(sidePath()));
}

TEST_F(SideStoreTest, JointNamesGoWithMovedAndCopiedPeopleAndLeaveWithDeleteAll)
{
    std::int32_t recNo = addWithJoint("ﾔﾏﾀﾞ", family);
    addWithJoint("ｽｽﾞｷ", {{"", "二郎", "様"}});
    MoveCopyOutcome copied = MoveCopyRecords(state, {recNo}, {2, false, {}});
    ASSERT_EQ(copied.done, 1);
    state.DbNo = 2;
    load();
    EXPECT_EQ(jointOf(2), family);
    const std::string copyIdentity = RecordIdentity(state.Rec);
    state.DbNo = 1;
    load();
    EXPECT_EQ(jointOf(recNo), family);
    EXPECT_NE(RecordIdentity(state.Rec), copyIdentity); // a copy is a person of its own there

    ui.yesNoAnswers.push_back(true);
    ASSERT_TRUE(DeleteAllData(state));
    EXPECT_TRUE(SideStore::open(state, 1, SideStore::Access::Read)->identities().empty());
    state.DbNo = 2;
    load();
    EXPECT_EQ(jointOf(2), family);
}

// Each way a side store can be unusable: the address book goes on without it, says so once, and
// leaves the file as it found it.
TEST_F(SideStoreTest, AnUnusableSideStoreIsToldOnceAndStopsNothing)
{
    std::int32_t recNo = addWithJoint("ﾔﾏﾀﾞ", family);
    const auto good = ReadFileBytes(sidePath());
    for (const char* kind : {"garbage", "truncated", "locked"}) {
        SCOPED_TRACE(kind);
        state.sideNotes = {};
        ui.shown.clear();
        sqlite3* holder = nullptr;
        if (std::string(kind) == "garbage") {
            WriteFileBytes(sidePath(), std::vector<std::uint8_t>(4096, 'x'));
        } else if (std::string(kind) == "truncated") {
            WriteFileBytes(sidePath(), std::vector<std::uint8_t>(good.begin(), good.begin() + 1024 + 100));
        } else {
            WriteFileBytes(sidePath(), good);
            ASSERT_EQ(sqlite3_open(sidePath().c_str(), &holder), SQLITE_OK);
            ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        }
        const auto before = ReadFileBytes(sidePath());
        EXPECT_TRUE(jointOf(recNo).empty());
        SetText(state.Rec.KanjiName, "変更");
        state.Joint = family;
        EXPECT_TRUE(SaveCurrent(state));
        EXPECT_TRUE(jointOf(recNo).empty());
        EXPECT_EQ(GetText(state.Rec.KanjiName), "変更");
        EXPECT_EQ(ui.messages().size(), 1u);
        if (holder != nullptr) {
            sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
            sqlite3_close(holder);
        }
        EXPECT_EQ(ReadFileBytes(sidePath()), before);
    }
    // Rebuilt, the store starts empty and the damaged one is kept beside it.
    WriteFileBytes(sidePath(), std::vector<std::uint8_t>(4096, 'x'));
    ASSERT_TRUE(RebuildSideStore(state, 1));
    EXPECT_TRUE(fs::exists(sidePath() + ".damaged"));
    state.Joint = family;
    state.CurRecNo = recNo;
    ASSERT_TRUE(SaveCurrent(state));
    EXPECT_EQ(jointOf(recNo), family);
}

// A writer killed at any moment of a batch of joint-name updates: every person afterwards has one
// whole list, the one before or the one after (SQLite's own guarantee, held to here).
TEST_F(SideStoreTest, AWriterKilledDuringABatchLeavesEveryListWhole)
{
    std::vector<std::string> people;
    {
        auto store = SideStore::open(state, 1, SideStore::Access::Write);
        ASSERT_TRUE(store);
        for (int i = 0; i < 50; ++i) {
            people.push_back(NewIdentity());
            ASSERT_TRUE(store->setJointNames(people.back(), {{"", "g0", "様"}, {"", "g0", "様"}, {"", "g0", "様"}}));
        }
    }
    for (int round = 0; round < 5; ++round) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            auto store = SideStore::open(state, 1, SideStore::Access::Write);
            for (int generation = 1;; ++generation) {
                const std::string given = "g" + std::to_string(generation);
                for (const std::string& identity : people) {
                    store->setJointNames(identity, {{"", given, "様"}, {"", given, "様"}, {"", given, "様"}});
                }
            }
        }
        usleep(static_cast<useconds_t>(20000 + round * 15000));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        state.sideNotes = {};
        auto store = SideStore::open(state, 1, SideStore::Access::Write);
        ASSERT_TRUE(store) << "round " << round;
        for (const std::string& identity : people) {
            std::vector<JointName> names = store->jointNames(identity);
            ASSERT_EQ(names.size(), 3u) << identity;
            EXPECT_TRUE(names[0].given == names[1].given && names[1].given == names[2].given) << identity;
        }
    }
    EXPECT_TRUE(ui.messages().empty());
}

} // namespace
} // namespace talik::test
