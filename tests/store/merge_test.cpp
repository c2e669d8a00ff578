// Merging two records of one person on disk, its undo with the side data, and the pairs said to be
// two people.
#include <cstring>

#include <gtest/gtest.h>

#include "store/database.h"
#include "store/identity.h"
#include "store/merge.h"
#include "store/recordwriter.h"
#include "store/sidestore.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

class MergeTest : public StoreTest
{
protected:
    MergeTest() { load(); }

    std::int32_t person(
        const char* reading, const char* name, const char* mobile, const char* address = "", const char* extraText = "")
    {
        return AddPerson(state, reading, name, [&](AddressRecord& rec, ExtraRecord& extra) {
            SetText(rec.Tel2, mobile);
            SetText(rec.Address1, address);
            SetText(extra.RemarksExtra, extraText);
        });
    }
    AddressRecord rec(std::int32_t recNo)
    {
        AddressRecord read{};
        ExtraRecord extra{};
        EXPECT_TRUE(ReadRecord(state, recNo, read, extra));
        m_extra = extra;
        return read;
    }

    std::int32_t writerRestore(std::int32_t recNo, const AddressRecord& rec, const ExtraRecord& extra)
    {
        std::optional<RecordWriter> writer = RecordWriter::hold(state);
        return writer ? writer->restore(recNo, rec, extra) : 0;
    }

    ExtraRecord m_extra{};
};

TEST_F(MergeTest, TheSurvivorKeepsItsNumberAndIdentityAndTakesTheOthersSideData)
{
    std::int32_t a = person("ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎", "090-1234-5678", "", "一つ目");
    std::int32_t b = person("ﾔﾏﾀﾞ ﾀﾛｳ", "山田太郎", "09012345678", "東京都新宿区新宿1-1", "二つ目");
    const std::string identityA = RecordIdentity(rec(a));
    const std::string identityB = RecordIdentity(rec(b));
    ASSERT_TRUE(WriteJointNames(state, identityA, {{"", "花子", "様"}}));
    ASSERT_TRUE(WriteJointNames(state, identityB, {{"", "一郎", "様"}}));
    std::optional<std::vector<DuplicatePair>> pairs = ProposedDuplicates(state);
    ASSERT_TRUE(pairs);
    ASSERT_EQ(pairs->size(), 1u);

    ASSERT_EQ(MergeDuplicates(state, a, b), MergeOutcome::Merged);
    EXPECT_EQ(state.tables.TotalCount, 1);
    AddressRecord merged = rec(a);
    EXPECT_EQ(RecordIdentity(merged), identityA);
    EXPECT_EQ(GetText(merged.KanjiName), "山田 太郎");
    EXPECT_EQ(GetText(merged.Address1), "東京都新宿区新宿1-1"); // empty in A: B's fills it
    EXPECT_EQ(GetText(m_extra.RemarksExtra), "一つ目\r\n二つ目");
    EXPECT_EQ(ReadJointNames(state, identityA), (std::vector<JointName>{{"", "花子", "様"}, {"", "一郎", "様"}}));
    EXPECT_TRUE(ReadJointNames(state, identityB).empty());
    EXPECT_TRUE(ProposedDuplicates(state)->empty());
}

TEST_F(MergeTest, TheChosenFieldsWinAndTheOtherValueIsKept)
{
    std::int32_t a = person("ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎", "090-1234-5678", "大阪府大阪市北区梅田1-1");
    std::int32_t b = person("ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎", "090-1234-5678", "東京都新宿区新宿1-1");
    ASSERT_EQ(MergeDuplicates(state, a, b, {"Address1"}), MergeOutcome::Merged);
    EXPECT_EQ(GetText(rec(a).Address1), "東京都新宿区新宿1-1");
    EXPECT_EQ(GetText(m_extra.RemarksExtra), "統合時の別の値: 大阪府大阪市北区梅田1-1");
    EXPECT_EQ(MergeDuplicates(state, a, b), MergeOutcome::Missing);
    EXPECT_EQ(MergeDuplicates(state, a, a), MergeOutcome::Missing);
}

TEST_F(MergeTest, UndoBringsBothBackWithTheirNumberIdentityAndSideData)
{
    std::int32_t a = person("ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎", "090-1234-5678", "大阪府大阪市北区梅田1-1");
    std::int32_t b = person("ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎", "090-1234-5678", "東京都新宿区新宿1-1");
    const AddressRecord before = rec(a);
    const AddressRecord removed = rec(b);
    ASSERT_TRUE(WriteJointNames(state, RecordIdentity(removed), {{"山田", "一郎", "様"}}));
    ASSERT_EQ(MergeDuplicates(state, a, b, {"Address1"}), MergeOutcome::Merged);

    EXPECT_EQ(UndoLastMerge(state, a), b);
    EXPECT_EQ(state.tables.TotalCount, 2);
    const AddressRecord restored = rec(a);
    EXPECT_EQ(std::memcmp(&before, &restored, sizeof before), 0);
    EXPECT_EQ(GetText(m_extra.RemarksExtra), "");
    const AddressRecord back = rec(b);
    EXPECT_EQ(std::memcmp(&removed, &back, sizeof removed), 0);
    EXPECT_EQ(ReadJointNames(state, RecordIdentity(removed)), (std::vector<JointName>{{"山田", "一郎", "様"}}));
    EXPECT_TRUE(ReadJointNames(state, RecordIdentity(before)).empty());
    EXPECT_EQ(UndoLastMerge(state, a), 0); // nothing more to undo
}

TEST_F(MergeTest, TheCardHistoriesAreJoinedAndAnUndoSplitsThemAgain)
{
    std::int32_t a = person("ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎", "090-1234-5678");
    std::int32_t b = person("ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎", "090-1234-5678");
    const std::string identityA = RecordIdentity(rec(a));
    const std::string identityB = RecordIdentity(rec(b));
    ASSERT_TRUE(MarkSeason(state, {identityA}, 2026, SeasonMark::Sent, true, "年末に投函"));
    ASSERT_TRUE(MarkSeason(state, {identityB}, 2026, SeasonMark::Received, true, "転居"));
    ASSERT_TRUE(MarkSeason(state, {identityB}, 2025, SeasonMark::Mourning, true));
    ASSERT_TRUE(MarkSeason(state, {identityB}, 0, SeasonMark::Stop, true));
    const SeasonHistory beforeA = ReadSeasonHistory(state, identityA);
    const SeasonHistory beforeB = ReadSeasonHistory(state, identityB);

    ASSERT_EQ(MergeDuplicates(state, a, b), MergeOutcome::Merged);
    SeasonHistory joined = ReadSeasonHistory(state, identityA);
    EXPECT_EQ(joined.years[2026], (SeasonMarks{true, true, false, "年末に投函"}));
    EXPECT_EQ(joined.years[2025], (SeasonMarks{false, false, true, ""}));
    EXPECT_TRUE(joined.stop);
    EXPECT_EQ(ReadSeasonHistory(state, identityB), SeasonHistory{});

    ASSERT_EQ(UndoLastMerge(state, a), b);
    EXPECT_EQ(ReadSeasonHistory(state, identityA), beforeA);
    EXPECT_EQ(ReadSeasonHistory(state, identityB), beforeB);
}

TEST_F(MergeTest, UndoPutsTheRecordElsewhereWhenItsNumberWasTaken)
{
    std::int32_t a = person("ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎", "090-1234-5678");
    std::int32_t b = person("ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎", "090-1234-5678");
    ASSERT_EQ(MergeDuplicates(state, a, b), MergeOutcome::Merged);
    std::int32_t newcomer = person("ｻﾄｳ", "佐藤", "");
    ASSERT_EQ(newcomer, b);
    std::int32_t back = UndoLastMerge(state, a);
    EXPECT_NE(back, 0);
    EXPECT_NE(back, b);
    EXPECT_EQ(GetText(rec(back).KanjiName), "山田 太郎");
    EXPECT_EQ(GetText(rec(b).KanjiName), "佐藤");
}

// A merge stopped after keeping its undo but before deleting the other record: the undo finds that
// record in its place and does not bring it back a second time.
TEST_F(MergeTest, UndoOfAMergeStoppedBeforeItsDeleteLeavesOneCopyOfEachRecord)
{
    std::int32_t a = person("ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎", "090-1234-5678", "大阪府大阪市北区梅田1-1");
    std::int32_t b = person("ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎", "090-1234-5678", "東京都新宿区新宿1-1");
    const AddressRecord before = rec(a);
    const AddressRecord other = rec(b);
    ExtraRecord otherExtra = m_extra;
    ASSERT_EQ(MergeDuplicates(state, a, b, {"Address1"}), MergeOutcome::Merged);
    // The other record as it was left by the stop: still live at its number.
    ASSERT_NE(writerRestore(b, other, otherExtra), 0);
    ASSERT_EQ(state.tables.TotalCount, 2);

    EXPECT_EQ(UndoLastMerge(state, a), b);
    EXPECT_EQ(state.tables.TotalCount, 2);
    EXPECT_EQ(GetText(rec(a).Address1), GetText(before.Address1));
}

TEST_F(MergeTest, APairSaidToBeTwoPeopleIsNeverProposedAgain)
{
    std::int32_t a = person("ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎", "090-1234-5678");
    std::int32_t b = person("ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎", "090-1234-5678");
    ASSERT_EQ(ProposedDuplicates(state)->size(), 1u);
    ASSERT_TRUE(MarkNotDuplicate(state, b, a));
    EXPECT_TRUE(ProposedDuplicates(state)->empty());
    EXPECT_TRUE(ProposedDuplicates(state, 0)->empty());
    EXPECT_FALSE(MarkNotDuplicate(state, a, 99));
}

} // namespace
} // namespace talik::test
