// The card marks as the main list sees them: letters per row, what each filter keeps, the received
// mark toggled on rows (records of older copies included), and the year's summary of live people.
#include <fstream>

#include <gtest/gtest.h>

#include "listwin/listmodel.h"
#include "listwin/seasonlist.h"
#include "platform/profile.h"
#include "store/identity.h"
#include "store/recordwriter.h"
#include "store/settings.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

class SeasonList : public StoreTest
{
protected:
    void SetUp() override
    {
        state.ProfileFolder = dir.str();
        load();
        for (auto reading : {"ｱｵｷ", "ｲﾄｳ", "ｳｴﾀﾞ", "ｴﾓﾄ", "ｵｶﾞﾜ"}) {
            recNos.push_back(addRecord(reading));
        }
    }
    std::string identity(int i)
    {
        AddressRecord rec{};
        ExtraRecord extra{};
        EXPECT_TRUE(ReadRecord(state, recNos[static_cast<std::size_t>(i)], rec, extra));
        return RecordIdentity(rec);
    }
    std::string key(int i) { return RecordKey(recNos[static_cast<std::size_t>(i)]); }
    ListModel everyone()
    {
        ListModel list;
        for (std::size_t i = 0; i < recNos.size(); ++i) {
            list.add({key(static_cast<int>(i)), "x", {}});
        }
        return list;
    }
    std::vector<std::string> keysOf(const ListModel& list)
    {
        std::vector<std::string> keys;
        for (const ListItem& item : list.items()) {
            keys.push_back(item.key);
        }
        return keys;
    }

    std::vector<std::int32_t> recNos;
};

TEST_F(SeasonList, RowsShowTheCardYearsLettersAndEachFilterKeepsItsRows)
{
    ASSERT_TRUE(MarkSeason(state, {identity(0), identity(1)}, 2027, SeasonMark::Sent, true));
    ASSERT_TRUE(MarkSeason(state, {identity(1), identity(2)}, 2027, SeasonMark::Received, true));
    ASSERT_TRUE(MarkSeason(state, {identity(3)}, 2027, SeasonMark::Mourning, true));
    ASSERT_TRUE(MarkSeason(state, {identity(4)}, 0, SeasonMark::Stop, true));
    ASSERT_TRUE(MarkSeason(state, {identity(2)}, 2026, SeasonMark::Sent, true)) << "another year";

    ASSERT_TRUE(LoadSeasonList(state));
    EXPECT_EQ(state.season.year, 2027) << "December: the coming New Year";
    EXPECT_EQ(SeasonLettersOfKey(state.season, key(0)), "送");
    EXPECT_EQ(SeasonLettersOfKey(state.season, key(1)), "送受");
    EXPECT_EQ(SeasonLettersOfKey(state.season, key(2)), "受");
    EXPECT_EQ(SeasonLettersOfKey(state.season, key(3)), "喪");
    EXPECT_EQ(SeasonLettersOfKey(state.season, key(4)), "止");
    EXPECT_EQ(SeasonLettersOfKey(state.season, "K09999"), "") << "a record not in the file";

    struct Case
    {
        SeasonFilter filter;
        std::vector<int> kept;
    };
    for (const Case& c :
         {Case{SeasonFilter::ToSend, {2}}, Case{SeasonFilter::Sent, {0, 1}}, Case{SeasonFilter::Received, {1, 2}},
          Case{SeasonFilter::ReplyNeeded, {2}}, Case{SeasonFilter::Mourning, {3}}}) {
        state.season.filter = c.filter;
        ListModel list = everyone();
        ApplySeasonFilter(state.season, list);
        std::vector<std::string> expected;
        for (int i : c.kept) {
            expected.push_back(key(i));
        }
        EXPECT_EQ(keysOf(list), expected) << static_cast<int>(c.filter);
    }
    state.season.filter.reset();
    ListModel list = everyone();
    EXPECT_EQ(ApplySeasonFilter(state.season, list), 0u);
    EXPECT_EQ(list.size(), 5u);
}

TEST_F(SeasonList, ToggleSetsReceivedOnAllUnlessAllHaveItAndGivesOlderRecordsAnIdentity)
{
    // A record written by an older copy: blank reserved bytes, no identity yet.
    {
        std::fstream file(mainPath(), std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(static_cast<std::streamoff>((recNos[0] - 1) * MainRecLen + 586));
        file.write("              ", 14);
    }
    ASSERT_EQ(identity(0), "");
    ASSERT_TRUE(LoadSeasonList(state));

    ASSERT_TRUE(MarkSeason(state, {identity(1)}, 2027, SeasonMark::Received, true));
    ASSERT_TRUE(LoadSeasonList(state));
    ASSERT_TRUE(ToggleReceived(state, {key(0), key(1)}));
    EXPECT_EQ(SeasonLettersOfKey(state.season, key(0)), "受") << "not all had it: set on all";
    EXPECT_EQ(SeasonLettersOfKey(state.season, key(1)), "受");
    ASSERT_NE(identity(0), "") << "given an identity to keep the mark by";
    ASSERT_NE(ReadSeasonYear(state, 2027).of(identity(0)), nullptr);
    EXPECT_TRUE(ReadSeasonYear(state, 2027).of(identity(0))->received) << "stored, not only shown";

    ASSERT_TRUE(ToggleReceived(state, {key(0), key(1)}));
    EXPECT_EQ(SeasonLettersOfKey(state.season, key(0)), "");
    EXPECT_EQ(SeasonLettersOfKey(state.season, key(1)), "");
    EXPECT_EQ(ReadSeasonYear(state, 2026).marks.size(), 0u) << "only the card year is touched";
}

TEST_F(SeasonList, ARecordDeletedMeanwhileMarksNothing)
{
    ASSERT_TRUE(LoadSeasonList(state));
    ASSERT_TRUE(DeleteRecord(state, recNos[3]));
    EXPECT_FALSE(ToggleReceived(state, {key(2), key(3)}));
    EXPECT_EQ(ui.messages(), std::vector<std::string>{std::string(SeasonRecordGoneMessage)});
    EXPECT_EQ(ReadSeasonYear(state, 2027).of(identity(2)), nullptr) << "the other row is not marked either";
}

TEST_F(SeasonList, TheSummaryCountsLivePeopleOnly)
{
    ASSERT_TRUE(MarkSeason(state, {identity(0), identity(1)}, 2027, SeasonMark::Received, true));
    ASSERT_TRUE(MarkSeason(state, {identity(0)}, 2027, SeasonMark::Sent, true));
    ASSERT_TRUE(MarkSeason(state, {identity(2)}, 2027, SeasonMark::Mourning, true));
    EXPECT_EQ(SeasonSummaryOf(state), "2027 年　送：1 件　受：2 件　返信が必要：1 件　喪中：1 件");
    // The deleted person's marks stay in the side store, for an undo, but are no one to write to.
    ASSERT_TRUE(DeleteRecord(state, recNos[1]));
    EXPECT_EQ(SeasonSummaryOf(state), "2027 年　送：1 件　受：1 件　返信が必要：0 件　喪中：1 件");
}

TEST_F(SeasonList, TheViewIsStoredInTheModesSectionAtOnce)
{
    state.Mode = 1;
    ASSERT_TRUE(StoreSeasonView(state, true));
    EXPECT_EQ(state.settings.SeasonView, 1);
    ProfileDocument doc = ProfileDocument::load(SettingsFile(state.ProfileFolder));
    EXPECT_EQ(doc.value(SettingsSection(1), "SeasonView"), "1");
    EXPECT_EQ(doc.value(SettingsSection(0), "SeasonView"), std::nullopt) << "the other mode keeps its own";
    ASSERT_TRUE(StoreSeasonView(state, false));
    EXPECT_EQ(ProfileDocument::load(SettingsFile(state.ProfileFolder)).value(SettingsSection(1), "SeasonView"), "0");
}

} // namespace
} // namespace talik::test
