// A sync run on a worker thread with a state of its own, handed back to the open database.
#include <set>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "store/recordwriter.h"
#include "sync/detachedsync.h"
#include "tests/support/storefixture.h"
#include "tests/sync/davserver.h"

namespace talik::test {
namespace {

std::set<std::string> LiveNames(StoreState& state)
{
    std::set<std::string> names;
    for (std::int32_t recNo = 1; recNo <= GetLong(state.Header.LastRecNo) + 1; ++recNo) {
        AddressRecord rec{};
        ExtraRecord extra{};
        if (state.tables.usedFlag(recNo) == '1' && ReadRecord(state, recNo, rec, extra)) {
            names.insert(GetText(rec.KanjiName));
        }
    }
    return names;
}

TEST(HeldInteractionTest, KeepsMessagesAndAnswersNoToQuestions)
{
    HeldInteraction held;
    held.message("一つ目", MessageIcon::Exclamation, "題");
    EXPECT_FALSE(held.askYesNo("続けますか？", MessageIcon::Question));
    EXPECT_FALSE(held.promptPassword("住所録"));
    ASSERT_EQ(held.held().size(), 2u);
    EXPECT_EQ(held.held()[0].text, "一つ目");
    EXPECT_EQ(held.held()[0].title, "題");
    EXPECT_EQ(held.held()[1].text, "続けますか？");
}

class DetachedSyncTest : public StoreTest
{
protected:
    void SetUp() override
    {
        server = std::make_unique<DavServer>(DavServer::Kind::Radicale);
        if (!server->running()) {
            GTEST_SKIP() << "no CardDAV server program";
        }
        load();
    }
    std::int32_t add(const std::string& reading, const std::string& name) { return AddPerson(state, reading, name); }
    std::unique_ptr<DavServer> server;
};

TEST_F(DetachedSyncTest, TheOpenDatabaseHearsOfWhatTheWorkerWroteOnlyWhenHandedBack)
{
    add("ﾔﾏﾀﾞ", "山田 太郎");
    {
        // Another client's card, to come here.
        CardDavClient other({server->user(), server->password(), ""});
        ASSERT_TRUE(other
                        .create(server->book(), UrlPath(server->book()) + "sato.vcf",
                                "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:sato\r\nN:佐藤;花子;;;\r\nFN:佐藤 花子\r\n"
                                "X-PHONETIC-LAST-NAME:サトウ\r\nEND:VCARD\r\n")
                        .ok());
    }
    int reloads = 0;
    Subscription listen(state.changes, [&](const RecordChanges& changes) { reloads += changes.reloaded ? 1 : 0; });
    DetachedSync run(state);
    SyncSummary summary;
    std::thread worker([&] {
        CardDavClient client({server->user(), server->password(), ""});
        summary = run.run(client, server->book(), {});
    });
    worker.join();
    EXPECT_EQ(summary.localAdded, 1);
    EXPECT_EQ(summary.serverAdded, 1);
    EXPECT_EQ(state.tables.TotalCount, 1);
    EXPECT_EQ(reloads, 0);
    run.handBack(state);
    EXPECT_EQ(state.tables.TotalCount, 2);
    EXPECT_EQ(reloads, 1);
    // The record numbers the worker used are taken: the next record overwrites none of them.
    add("ｽｽﾞｷ", "鈴木 一郎");
    EXPECT_EQ(LiveNames(state), (std::set<std::string>{"山田 太郎", "佐藤 花子", "鈴木 一郎"}));
}

} // namespace
} // namespace talik::test
