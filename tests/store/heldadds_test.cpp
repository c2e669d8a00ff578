// New records held back by a writer and written together: in no file until written, found by
// read() all the same, written before anything else the writer does, and on a disk that fills up
// written one by one as far as it takes them - never half a record, never one told that is not there.
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/recordfile.h"
#include "store/database.h"
#include "store/identity.h"
#include "store/recordwriter.h"
#include "tests/support/fillingdisk.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

class HeldAddsTest : public StoreTest
{
protected:
    HeldAddsTest()
    {
        WriteRecords(mainPath(), {HandMainHeader(3), HandAddress("\xb1", "one"), HandAddress("\xb6", "two")});
        WriteRecords(extraPath(), {HandExtraHeader(3), HandExtra("r1"), HandExtra("r2")});
        load();
        ClearRecord(extra);
        seen.clear();
    }

    static AddressRecord Address(std::string_view reading)
    {
        AddressRecord rec{};
        ClearRecord(rec);
        SetText(rec.KanaName, reading);
        return rec;
    }
    std::int32_t lastOnDisk() const { return LongAt(ReadFileBytes(mainPath()), 16); }
    std::uintmax_t recordsOnDisk() const { return std::filesystem::file_size(mainPath()) / MainRecLen; }

    ExtraRecord extra{};
    std::vector<RecordChanges> seen;
    Subscription follow{state.changes, [this](const RecordChanges& changes) { seen.push_back(changes); }};
};

TEST_F(HeldAddsTest, HeldRecordsAreInNoFileUntilWrittenYetReadFindsThem)
{
    {
        auto writer = RecordWriter::hold(state);
        ASSERT_TRUE(writer);
        writer->holdBackAdds(3);
        EXPECT_EQ(writer->add(Address("ｻ"), extra), 4);
        EXPECT_EQ(writer->add(Address("ﾀ"), extra), 5);
        EXPECT_FALSE(writer->holdingFull());
        EXPECT_EQ(recordsOnDisk(), 3u);
        EXPECT_EQ(lastOnDisk(), 3);
        AddressRecord rec{};
        ExtraRecord readExtra{};
        ASSERT_TRUE(writer->read(5, rec, readExtra));
        EXPECT_EQ(GetText(rec.KanaName), "ﾀ");
        EXPECT_EQ(RecordIdentity(rec), RecordIdentity(writer->written()));
        EXPECT_EQ(writer->add(Address("ﾅ"), extra), 6);
        EXPECT_TRUE(writer->holdingFull());

        EXPECT_EQ(writer->writeHeldBack(), 0);
        EXPECT_EQ(recordsOnDisk(), 6u);
        EXPECT_EQ(lastOnDisk(), 6);
        EXPECT_FALSE(writer->holdingFull());
        EXPECT_TRUE(seen.empty());
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].added.size(), 3u);
    load();
    EXPECT_EQ(state.tables.TotalCount, 5);
    auto main = ReadFileBytes(mainPath());
    for (std::int32_t recNo : {4, 5, 6}) {
        EXPECT_NE(main[static_cast<std::size_t>(recNo - 1) * MainRecLen], DeletedMark) << recNo;
    }
}

TEST_F(HeldAddsTest, AnythingElseTheWriterDoesWritesTheHeldRecordsFirst)
{
    auto writer = RecordWriter::hold(state);
    ASSERT_TRUE(writer);
    writer->holdBackAdds(100);
    EXPECT_EQ(writer->add(Address("ｻ"), extra), 4);
    ASSERT_TRUE(writer->update(2, Address("ｱｲ"), extra));
    EXPECT_EQ(lastOnDisk(), 4);
    EXPECT_EQ(writer->add(Address("ﾀ"), extra), 5);
    ASSERT_TRUE(writer->remove(3));
    EXPECT_EQ(lastOnDisk(), 5);
    // The freed slot is taken at once, not held back: it lies inside the records.
    EXPECT_EQ(writer->add(Address("ﾅ"), extra), 3);
    EXPECT_EQ(writer->add(Address("ﾊ"), extra), 6);
    writer->mainFile();
    EXPECT_EQ(lastOnDisk(), 6);
}

TEST_F(HeldAddsTest, OnAFillingDiskTheHeldRecordsGoInOneByOneAsFarAsThereIsRoom)
{
    // Room for the four extra records and a record and a half of addresses: the run's second write
    // fails; one by one, record 4 fits in what the run left and record 5 does not.
    FillingDisk disk(4 * ExtraRecLen + MainRecLen + MainRecLen / 2);
    state.writeGate = &disk;
    {
        auto writer = RecordWriter::hold(state);
        ASSERT_TRUE(writer);
        writer->holdBackAdds(4);
        for (std::string_view reading : {"ｻ", "ﾀ", "ﾅ", "ﾊ"}) {
            EXPECT_NE(writer->add(Address(reading), extra), 0);
        }
        EXPECT_EQ(writer->writeHeldBack(), 5);
        EXPECT_EQ(writer->firstUnstored(), 5);
        for (std::int32_t recNo : {5, 6, 7}) {
            EXPECT_EQ(state.tables.usedFlag(recNo), ' ') << recNo;
        }
        EXPECT_EQ(state.tables.usedFlag(4), '1');
    }
    state.writeGate = nullptr;
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_NE(ui.messages()[0].find("への書き込みに失敗しました。"), std::string::npos) << ui.messages()[0];
    ASSERT_EQ(seen.size(), 1u); // only what is in the files is told
    ASSERT_EQ(seen[0].added.size(), 1u);
    EXPECT_EQ(seen[0].added[0].first, 4);
    load();
    EXPECT_EQ(state.tables.TotalCount, 3);
    EXPECT_EQ(lastOnDisk(), 4);
}

TEST_F(HeldAddsTest, AWriterGivesEachNewRecordAnIdentityOfItsOwn)
{
    std::set<std::string> identities;
    auto writer = RecordWriter::hold(state);
    ASSERT_TRUE(writer);
    writer->holdBackAdds(1000);
    for (int i = 0; i < 500; ++i) {
        ASSERT_NE(writer->add(Address("ｻ"), extra), 0);
        const std::string identity = RecordIdentity(writer->written());
        ASSERT_EQ(identity.size(), IdentityLength);
        EXPECT_EQ(identity.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ234567"), std::string::npos) << identity;
        identities.insert(identity);
    }
    EXPECT_EQ(identities.size(), 500u);
    // Two runs side by side draw apart.
    IdentitySource one, two;
    EXPECT_NE(one.next(), two.next());
}

} // namespace
} // namespace talik::test
