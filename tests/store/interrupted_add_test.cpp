// An add that fails or is cut off at any of its writes leaves no trace: loaded afresh, the database
// holds what it held before, and the next add is whole - its own fields and its own extra data,
// never the leftovers of the add that did not finish.
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "listwin/currentrecord.h"
#include "platform/recordfile.h"
#include "store/database.h"
#include "tests/support/childprocess.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

// Where the new record belongs.
enum class Slot
{
    PastTheEnd,       // no free slot: the add raises LastRecNo
    Deleted,          // a deleted person's slot, whose extra record still holds their long remarks
    UnwrittenInRange, // a slot below LastRecNo that the file does not reach
};

// What befalls the chosen write.
enum class Mishap
{
    Killed,      // the program ends just before it
    Refused,     // it fails without writing a byte
    HalfWritten, // the disk fills up halfway through it
};

struct ProgramKilled
{
};

// Lets every write through but the chosen one.
class MishapGate final : public WriteGate
{
public:
    MishapGate(int writeNo, Mishap mishap) : m_writeNo(writeNo), m_mishap(mishap) {}

    std::size_t admit(const std::string&, std::int64_t, std::size_t size) override
    {
        if (++m_seen != m_writeNo) {
            return size;
        }
        m_struck = true;
        if (m_mishap == Mishap::Killed) {
            throw ProgramKilled{};
        }
        return m_mishap == Mishap::HalfWritten ? size / 2 : 0;
    }
    bool struck() const { return m_struck; }

private:
    int m_writeNo;
    Mishap m_mishap;
    int m_seen = 0;
    bool m_struck = false;
};

// A database as earlier adds and deletes left it.
struct Seed
{
    std::vector<std::vector<std::uint8_t>> main;  // header first
    std::vector<std::vector<std::uint8_t>> extra; // header first
    std::vector<std::int32_t> live;
    std::int32_t nextSlot = 0; // where the next add belongs
};

Seed MakeSeed(Slot slot)
{
    auto a = HandAddress("\xb1", "a");
    auto b = HandAddress("\xb2", "b");
    switch (slot) {
    case Slot::PastTheEnd:
        return {{HandMainHeader(3), a, b}, {HandExtraHeader(3), HandExtra("of a"), HandExtra("of b")}, {2, 3}, 4};
    case Slot::Deleted:
        return {{HandMainHeader(4), a, HandAddress("\xff\xb3", "gone"), b},
                {HandExtraHeader(4), HandExtra("of a"), HandExtra("long remarks of the deleted"), HandExtra("of b")},
                {2, 4},
                3};
    case Slot::UnwrittenInRange:
        return {{HandMainHeader(5), a, b}, {HandExtraHeader(5), HandExtra("of a"), HandExtra("of b")}, {2, 3}, 4};
    }
    return {};
}

std::vector<std::uint8_t> RecordOf(const std::vector<std::uint8_t>& file, std::int32_t recNo, std::size_t recLen)
{
    std::size_t from = static_cast<std::size_t>(recNo - 1) * recLen;
    if (file.size() < from + recLen) {
        return {};
    }
    return {file.begin() + static_cast<std::ptrdiff_t>(from),
            file.begin() + static_cast<std::ptrdiff_t>(from + recLen)};
}

class AddMishapTest : public StoreTest
{
protected:
    void plant(Slot slot)
    {
        seed = MakeSeed(slot);
        WriteRecords(mainPath(), seed.main);
        WriteRecords(extraPath(), seed.extra);
        load();
        ui.shown.clear();
    }

    // Fills the buffers with a person whose every field differs from `tag`'s other people.
    void fillPerson(std::string_view tag)
    {
        ClearRecord(state.Rec);
        ClearRecord(state.Extra);
        SetText(state.Rec.KanaName, "ｼﾝ");
        SetText(state.Rec.KanjiName, std::string(tag) + "の名前");
        SetText(state.Rec.EMail, std::string(tag) + "@example.jp");
        SetText(state.Rec.Address1, std::string(tag) + "の住所");
        SetText(state.Rec.Tel1, tag == "失敗" ? "03-1111-1111" : "06-2222-2222");
        SetLong(state.Rec.Birthday, tag == "失敗" ? 19650203 : 19991231);
        SetText(state.Rec.Company, std::string(tag) + "の会社");
        SetText(state.Rec.Remarks, std::string(tag) + "の備考");
        SetText(state.Rec.ClassCode, tag == "失敗" ? "F" : "S");
        SetText(state.Extra.RemarksExtra, std::string(tag) + "の長い備考\r\n二行目");
        SetText(state.Extra.RelatedInfo, std::string(tag) + ".txt");
    }

    // Runs one add with `gate` between it and the disk; true when SaveCurrent reported success.
    bool addThrough(WriteGate& gate)
    {
        state.writeGate = &gate;
        state.CurRecNo = 0;
        state.EditStatus = 'N';
        bool saved = false;
        try {
            saved = SaveCurrent(state);
        } catch (const ProgramKilled&) {
        }
        state.writeGate = nullptr;
        return saved;
    }

    // A fresh load shows the seeded people only, each with its own bytes in both files.
    void expectSeedIntact(std::size_t added = 0)
    {
        load();
        EXPECT_EQ(state.tables.TotalCount, static_cast<int>(seed.live.size() + added));
        auto main = ReadFileBytes(mainPath());
        auto extra = ReadFileBytes(extraPath());
        for (std::int32_t recNo : seed.live) {
            EXPECT_EQ(RecordOf(main, recNo, MainRecLen), seed.main[recNo - 1]) << "record " << recNo;
            EXPECT_EQ(RecordOf(extra, recNo, ExtraRecLen), seed.extra[recNo - 1]) << "extra " << recNo;
        }
    }

    // The next add goes where it belongs and reads back whole.
    void expectNextAddWhole()
    {
        fillPerson("成功");
        AddressRecord wanted = state.Rec;
        ExtraRecord wantedExtra = state.Extra;
        state.CurRecNo = 0;
        ASSERT_TRUE(SaveCurrent(state));
        EXPECT_EQ(state.CurRecNo, seed.nextSlot);
        expectSeedIntact(1);
        state.CurRecNo = seed.nextSlot;
        ASSERT_TRUE(ReadCurrent(state));
        TakeIdentity(wanted, state.Rec);
        EXPECT_EQ(std::memcmp(&state.Rec, &wanted, sizeof(wanted)), 0) << GetText(state.Rec.KanjiName);
        EXPECT_EQ(std::memcmp(&state.Extra, &wantedExtra, sizeof(wantedExtra)), 0) << GetText(state.Extra.RemarksExtra);
    }

    Seed seed;
};

class InterruptedAdd : public AddMishapTest, public ::testing::WithParamInterface<std::tuple<Slot, Mishap>>
{
};

TEST_P(InterruptedAdd, LeavesNoTraceAndTheNextAddIsWhole)
{
    auto [slot, mishap] = GetParam();
    for (int writeNo = 1;; ++writeNo) {
        SCOPED_TRACE("mishap at write " + std::to_string(writeNo));
        plant(slot);
        fillPerson("失敗");
        MishapGate gate(writeNo, mishap);
        bool saved = addThrough(gate);
        if (!gate.struck()) {
            // The add needs fewer writes than this: every one of them has had its mishap.
            EXPECT_TRUE(saved);
            EXPECT_GT(writeNo, 2);
            break;
        }
        EXPECT_FALSE(saved);
        EXPECT_EQ(state.CurRecNo, 0);
        if (mishap != Mishap::Killed) {
            auto told = ui.messages();
            ASSERT_EQ(told.size(), 1u);
            EXPECT_NE(told[0].find("への書き込みに失敗しました。"), std::string::npos) << told[0];
        }
        expectSeedIntact();
        expectNextAddWhole();
        if (HasFailure()) {
            break; // one broken write says enough
        }
    }
}

std::string NameOf(const ::testing::TestParamInfo<std::tuple<Slot, Mishap>>& info)
{
    const char* slots[] = {"PastTheEnd", "DeletedSlot", "UnwrittenSlotInRange"};
    const char* mishaps[] = {"Killed", "Refused", "HalfWritten"};
    return std::string(slots[static_cast<int>(std::get<0>(info.param))]) + "_" +
           mishaps[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(EveryWrite,
                         InterruptedAdd,
                         ::testing::Combine(::testing::Values(Slot::PastTheEnd, Slot::Deleted, Slot::UnwrittenInRange),
                                            ::testing::Values(Mishap::Killed, Mishap::Refused, Mishap::HalfWritten)),
                         NameOf);

// The same with a real program killed by the system just before each write of its add.
TEST_F(AddMishapTest, AWriterKilledBeforeAnyWriteOfItsAddLeavesNoTrace)
{
    TempDir capture;
    for (Slot slot : {Slot::Deleted, Slot::PastTheEnd}) {
        for (int writeNo = 1;; ++writeNo) {
            SCOPED_TRACE("slot " + std::to_string(static_cast<int>(slot)) + ", killed at write " +
                         std::to_string(writeNo));
            plant(slot);
            auto run = RunProgram({STORE_WRITER_PATH, dir.str(), "K", "1", std::to_string(writeNo)}, capture.path());
            if (run.exitCode == 0) {
                EXPECT_GT(writeNo, 2); // the add finished before the chosen write
                break;
            }
            EXPECT_EQ(run.exitCode, -1) << run.err;
            expectSeedIntact();
            expectNextAddWhole();
            if (HasFailure()) {
                return;
            }
        }
    }
}

} // namespace
} // namespace talik::test
