// A move between databases ended at any write (a kill, a failed write) is finished by the next
// open of either database: every person is then in exactly one of the two.
#include <filesystem>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "dbadmin/movecopy.h"
#include "platform/recordfile.h"
#include "store/database.h"
#include "store/movejournal.h"
#include "store/record.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

namespace fs = std::filesystem;

struct ProgramKilled
{
};

// Ends the program (throws) just before the `killAt`th write of any database file.
class KillGate final : public WriteGate
{
public:
    explicit KillGate(int killAt) : m_killAt(killAt) {}
    std::size_t admit(const std::string&, std::int64_t, std::size_t size) override
    {
        if (++m_writes == m_killAt) {
            throw ProgramKilled{};
        }
        return size;
    }

private:
    int m_killAt;
    int m_writes = 0;
};

class MoveJournalTest : public StoreTest
{
protected:
    MoveJournalTest()
    {
        WriteRecords(mainPath(), {HandMainHeader(5), HandAddress("\xb1", "one"), HandAddress("\xb2", "two"),
                                  HandAddress("\xb3", "three"), HandAddress("\xb4", "four")});
        WriteRecords(extraPath(),
                     {HandExtraHeader(5), HandExtra("r1"), HandExtra("r2"), HandExtra("r3"), HandExtra("r4")});
        load();
    }

    std::string mainOf(int dbNo) const { return MainFileName(dir.str(), dbNo); }

    // How many live records of database `dbNo` carry each name, read from its file.
    void countNames(int dbNo, std::map<std::string, int>& names) const
    {
        RecordFile file;
        ASSERT_EQ(file.open(mainOf(dbNo), OpenMode::Read, MainRecLen), OpenError::None);
        MainHeader header{};
        file.read(1, Bytes(header));
        std::int32_t last = SaneLastRecNo(GetLong(header.LastRecNo), file.recordCount(), MaxRecNo);
        for (std::int32_t i = FirstRecNo; i <= last; ++i) {
            AddressRecord rec{};
            file.read(i, Bytes(rec));
            if (!IsDeletedSlot(rec) && !IsNeverUsedSlot(rec)) {
                std::string name(rec.KanjiName, sizeof(rec.KanjiName));
                ++names[name.substr(0, name.find(' '))];
            }
        }
    }

    // Every one of the four people is in exactly one of databases 1 and 2.
    void expectEachOnce()
    {
        std::map<std::string, int> names;
        countNames(1, names);
        countNames(2, names);
        EXPECT_EQ(names, (std::map<std::string, int>{{"four", 1}, {"one", 1}, {"three", 1}, {"two", 1}}));
    }

    bool journalLeft(int sourceDbNo = 1) const { return fs::exists(MoveJournalPath(dir.str(), sourceDbNo)); }

    void reset()
    {
        fs::remove(mainOf(2));
        fs::remove(ExtraFileName(dir.str(), 2));
        fs::remove(MoveJournalPath(dir.str(), 1));
        WriteRecords(mainPath(), {HandMainHeader(5), HandAddress("\xb1", "one"), HandAddress("\xb2", "two"),
                                  HandAddress("\xb3", "three"), HandAddress("\xb4", "four")});
        state.DbNo = 1;
        load();
    }
};

// A kill before each write of the move in turn: the next open of the source, or of the target,
// finds each person once, and the journal gone.
TEST_F(MoveJournalTest, AMoveKilledAtAnyWriteIsFinishedByTheNextOpenOfEitherDatabase)
{
    for (int openedAfter : {1, 2}) {
        int kills = 0;
        for (int killAt = 1;; ++killAt) {
            SCOPED_TRACE("killed at write " + std::to_string(killAt) + ", then database " +
                         std::to_string(openedAfter) + " opened");
            reset();
            KillGate gate(killAt);
            state.writeGate = &gate;
            bool killed = false;
            try {
                MoveCopyRecords(state, {2, 3, 5}, {2, true, {}});
            } catch (const ProgramKilled&) {
                killed = true;
            }
            state.writeGate = nullptr;
            if (!killed) {
                EXPECT_FALSE(journalLeft());
                break;
            }
            // The first write brings the target's header up, before the journal is written.
            bool journalled = journalLeft();
            kills += journalled ? 1 : 0;
            std::size_t told = ui.messages().size();
            state.DbNo = openedAfter;
            load();
            EXPECT_FALSE(journalLeft());
            expectEachOnce();
            if (journalled) {
                ASSERT_GT(ui.messages().size(), told);
                EXPECT_NE(ui.messages().back().find("への移動が途中で終わっていました"), std::string::npos);
            }
        }
        EXPECT_GE(kills, 8);
    }
}

TEST_F(MoveJournalTest, ASourceThatCouldNotBeMarkedIsFinishedAtTheNextOpenAndNamedByNumber)
{
    struct RefuseSourceMarks final : WriteGate
    {
        std::size_t admit(const std::string& p, std::int64_t offset, std::size_t size) override
        {
            return p.find("MRPDAT01.QX1") != std::string::npos && offset >= 600 ? 0 : size;
        }
    } gate;
    state.writeGate = &gate;
    MoveCopyOutcome outcome = MoveCopyRecords(state, {2, 4}, {2, true, {}});
    state.writeGate = nullptr;
    EXPECT_TRUE(outcome.stopped);
    EXPECT_TRUE(journalLeft());
    std::size_t told = ui.messages().size();
    load();
    EXPECT_FALSE(journalLeft());
    expectEachOnce();
    EXPECT_EQ(state.tables.TotalCount, 2);
    ASSERT_GT(ui.messages().size(), told);
    EXPECT_NE(ui.messages().back().find("移動を済ませ、元のデータベースから削除しました（記録番号 2, 4）"),
              std::string::npos);
}

TEST_F(MoveJournalTest, AKilledCopyIsOnlyToldAndLeavesTheSourceWhole)
{
    // The target's header brought up, then five writes for each copy: the extra record, the address
    // twice (marked, then its first byte) and the two headers: the seventh is the second copy's first.
    KillGate gate(7);
    state.writeGate = &gate;
    EXPECT_THROW(MoveCopyRecords(state, {2, 3, 4}, {2, false, {}}), ProgramKilled);
    state.writeGate = nullptr;
    std::size_t told = ui.messages().size();
    load();
    EXPECT_FALSE(journalLeft());
    EXPECT_EQ(state.tables.TotalCount, 4);
    ASSERT_GT(ui.messages().size(), told);
    EXPECT_NE(ui.messages().back().find("複写できたのは1件です（記録番号 2）"), std::string::npos);
    EXPECT_NE(ui.messages().back().find("残りの2件は元のデータベースにそのまま残っています（記録番号 3, 4）"),
              std::string::npos);
}

// A journal whose databases another run still holds is that run's: nothing is marked or removed.
TEST_F(MoveJournalTest, ARunStillHoldingItsDatabasesIsLeftAlone)
{
    MoveJournal journal{true, 1, 2, {{2, "", "ABCDEFGHIJKLMN"}}};
    ASSERT_TRUE(WriteMoveJournal(dir.str(), journal));
    RecordFile held;
    ASSERT_EQ(held.open(mainPath(), OpenMode::Write, MainRecLen), OpenError::None);
    EXPECT_TRUE(FinishInterruptedMoves(state, 1).empty());
    EXPECT_TRUE(journalLeft());
    held.close();
    std::vector<FinishedMove> done = FinishInterruptedMoves(state, 2);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_TRUE(done[0].copied.empty());
    EXPECT_EQ(done[0].keptInPlace, std::vector<std::int32_t>{2});
    EXPECT_FALSE(journalLeft());
}

TEST_F(MoveJournalTest, AJournalReadsBackAndOneCutShortIsNone)
{
    MoveJournal journal{true, 3, 7, {{2, "ABCDEFGHIJKLMN", "ZYXWVUTSRQPONM"}, {9, "", "22222222222222"}}};
    std::string text = SerialiseMoveJournal(journal);
    std::optional<MoveJournal> back = ParseMoveJournal(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->sourceDbNo, 3);
    EXPECT_EQ(back->targetDbNo, 7);
    ASSERT_EQ(back->entries.size(), 2u);
    EXPECT_EQ(back->entries[1].sourceRecNo, 9);
    EXPECT_EQ(back->entries[1].sourceIdentity, "");
    EXPECT_EQ(back->entries[0].targetIdentity, "ZYXWVUTSRQPONM");
    EXPECT_FALSE(ParseMoveJournal(text.substr(0, text.size() - 4)));
    EXPECT_FALSE(ParseMoveJournal(text.substr(0, text.rfind("9 "))));
}

} // namespace
} // namespace talik::test
