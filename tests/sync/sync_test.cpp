// Two-way sync against real CardDAV servers started by the test.
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "store/checkitems.h"
#include "store/database.h"
#include "store/deleteall.h"
#include "store/duplicates.h"
#include "store/identity.h"
#include "store/recordwriter.h"
#include "store/sidestore.h"
#include "store/sidesync.h"
#include "sync/carddav.h"
#include "sync/cardmap.h"
#include "sync/davxml.h"
#include "sync/syncrun.h"
#include "tests/support/storefixture.h"
#include "tests/sync/davserver.h"

namespace talik::test {
namespace {

struct LocalCard
{
    std::int32_t recNo;
    std::string name;
    std::string reading;
    std::string email;
};

class SyncTest : public StoreTest, public ::testing::WithParamInterface<DavServer::Kind>
{
protected:
    void SetUp() override
    {
        server = std::make_unique<DavServer>(GetParam());
        if (!server->running()) {
            GTEST_SKIP() << "no CardDAV server program";
        }
        load();
        client = std::make_unique<CardDavClient>(HttpAuth{server->user(), server->password(), ""});
    }

    std::int32_t add(const std::string& reading, const std::string& name, const std::string& email = "")
    {
        return AddPerson(state, reading, name, email);
    }
    void change(std::int32_t recNo, const std::string& email)
    {
        AddressRecord rec{};
        ExtraRecord extra{};
        ASSERT_TRUE(ReadRecord(state, recNo, rec, extra));
        SetText(rec.EMail, email);
        ASSERT_TRUE(UpdateRecord(state, recNo, rec, extra));
    }
    std::map<std::string, LocalCard> local() // by name
    {
        std::map<std::string, LocalCard> cards;
        auto people = ReadKeyedPeople(state);
        EXPECT_TRUE(people.has_value());
        for (const KeyedPerson& person : people.value_or(std::vector<KeyedPerson>{})) {
            AddressRecord rec{};
            ExtraRecord extra{};
            ReadRecord(state, person.recNo, rec, extra);
            EXPECT_FALSE(cards.contains(GetText(rec.KanjiName))) << "twice: " << GetText(rec.KanjiName);
            cards[GetText(rec.KanjiName)] = {person.recNo, GetText(rec.KanjiName), GetText(rec.KanaName),
                                             GetText(rec.EMail)};
        }
        return cards;
    }
    std::map<std::string, ServerCard> remote() // by href
    {
        std::string error;
        auto listing = client->list(server->book(), "", error);
        EXPECT_TRUE(listing.has_value()) << error;
        std::vector<std::string> hrefs;
        for (const auto& [href, etag] : listing->etags) {
            hrefs.push_back(href);
        }
        return client->fetch(server->book(), hrefs, error).value_or(std::map<std::string, ServerCard>{});
    }
    // The server card whose text holds `needle`.
    std::pair<std::string, ServerCard> remoteWith(const std::string& needle)
    {
        for (auto& [href, card] : remote()) {
            if (card.text.find(needle) != std::string::npos) {
                return {href, card};
            }
        }
        ADD_FAILURE() << "no server card with " << needle;
        return {};
    }
    // Another client's card, written as it writes them.
    void put(const std::string& name, const std::string& uid, const std::string& body, const std::string& etag = "")
    {
        WriteResult result = etag.empty() ? client->create(server->book(), UrlPath(server->book()) + name, body)
                                          : client->update(server->book(), UrlPath(server->book()) + name, etag, body);
        ASSERT_TRUE(result.ok()) << result.error << " " << uid;
    }
    SyncSummary sync(ConflictRule rule = ConflictRule::Skip, bool allowMassDelete = false)
    {
        SyncOptions options;
        options.conflict = rule;
        options.allowMassDelete = allowMassDelete;
        SyncSummary summary = RunSync(state, *client, server->book(), options);
        load();
        return summary;
    }

    void uncertainFirstSync();

    std::unique_ptr<DavServer> server;
    std::unique_ptr<CardDavClient> client;
};

std::string Card(const std::string& uid,
                 const std::string& family,
                 const std::string& given,
                 const std::string& reading,
                 const std::string& extra = "")
{
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid + "\r\nN:" + family + ";" + given + ";;;\r\nFN:" + family + " " +
           given + "\r\nX-PHONETIC-LAST-NAME:" + reading + "\r\n" + extra + "END:VCARD\r\n";
}

TEST_P(SyncTest, FindsTheAddressBookFromTheServersRoot)
{
    std::string error;
    std::vector<FoundAddressBook> books = client->discover(server->root(), error);
    ASSERT_EQ(books.size(), 1u) << error;
    EXPECT_EQ(UrlPath(books[0].url), UrlPath(server->book()));
    // The address book's own URL is taken as it is.
    books = client->discover(server->book(), error);
    ASSERT_EQ(books.size(), 1u) << error;
}

TEST_P(SyncTest, CarriesAddsChangesAndDeletesBothWays)
{
    add("ﾔﾏﾀﾞ", "山田 太郎", "t@example.jp");
    std::int32_t suzuki = add("ｽｽﾞｷ", "鈴木 花子");
    std::int32_t sato = add("ｻﾄｳ", "佐藤 一");
    add("ﾀﾅｶ", "田中 次郎");
    SyncSummary first = sync();
    EXPECT_EQ(first.serverAdded, 4);
    EXPECT_EQ(first.error, "");
    EXPECT_EQ(remote().size(), 4u);
    // Nothing changed: nothing moves.
    EXPECT_EQ(SummaryLine(sync()), "この住所録: 追加 0・更新 0・削除 0／サーバー: 追加 0・更新 0・削除 0／競合 0");

    change(suzuki, "hana@example.jp");
    ASSERT_TRUE(DeleteRecord(state, sato));
    SyncSummary here = sync();
    EXPECT_EQ(here.serverUpdated, 1);
    EXPECT_EQ(here.serverDeleted, 1);
    EXPECT_NE(remoteWith("鈴木").second.text.find("hana@example.jp"), std::string::npos);
    EXPECT_EQ(remote().size(), 3u);

    // Another client adds one (the reading only in X-PHONETIC-*), changes one and deletes one.
    put("new.vcf", "other-1", Card("other-1", "伊藤", "三郎", "イトウ"));
    auto [tanakaHref, tanaka] = remoteWith("田中");
    ASSERT_TRUE(client->remove(server->book(), tanakaHref, tanaka.etag).ok());
    auto [yamadaHref, yamada] = remoteWith("山田");
    std::string edited = yamada.text;
    edited.replace(edited.find("t@example.jp"), 12, "taro@example.jp");
    ASSERT_TRUE(client->update(server->book(), yamadaHref, yamada.etag, edited).ok());
    SyncSummary there = sync();
    EXPECT_EQ(there.localAdded, 1);
    EXPECT_EQ(there.localUpdated, 1);
    EXPECT_EQ(there.localDeleted, 1);
    auto people = local();
    EXPECT_EQ(people.size(), 3u);
    EXPECT_EQ(people["山田 太郎"].email, "taro@example.jp");
    EXPECT_EQ(people["伊藤 三郎"].reading, "ｲﾄｳ");
    EXPECT_FALSE(people.contains("田中 次郎"));
    EXPECT_EQ(SummaryLine(sync()), "この住所録: 追加 0・更新 0・削除 0／サーバー: 追加 0・更新 0・削除 0／競合 0");
}

TEST_P(SyncTest, AnAccountMovedToAnotherAddressBookSyncsThereAfreshAndDeletesNoOne)
{
    add("ﾔﾏﾀﾞ", "山田 太郎", "t@example.jp");
    add("ｽｽﾞｷ", "鈴木 花子");
    EXPECT_EQ(sync().serverAdded, 2);
    // The other book knows none of the cards of the first: they are not deleted there, so no one goes here.
    DavServer other(GetParam());
    ASSERT_TRUE(other.running());
    CardDavClient otherClient(HttpAuth{other.user(), other.password(), ""});
    SyncOptions dryRun;
    dryRun.dryRun = true;
    SyncSummary preview = RunSync(state, otherClient, other.book(), dryRun);
    EXPECT_EQ(preview.localDeleted, 0);
    EXPECT_FALSE(preview.massDeleteStop);
    SyncSummary moved = RunSync(state, otherClient, other.book(), {});
    EXPECT_EQ(moved.error, "");
    EXPECT_FALSE(moved.massDeleteStop);
    EXPECT_EQ(moved.localDeleted, 0);
    EXPECT_EQ(moved.serverAdded, 2);
    EXPECT_EQ(local().size(), 2u);
    // And back: the first book's cards are linked again by their UIDs, none doubled on either side.
    SyncSummary back = sync();
    EXPECT_EQ(back.error, "");
    EXPECT_EQ(back.localDeleted + back.localAdded + back.serverAdded + back.serverDeleted, 0);
    EXPECT_EQ(remote().size(), 2u);
    EXPECT_EQ(local().size(), 2u);
}

TEST_P(SyncTest, AStoreFromBeforeTheBookWasWrittenDownKnowsItByItsSyncToken)
{
    add("ﾔﾏﾀﾞ", "山田 太郎");
    add("ｽｽﾞｷ", "鈴木 花子");
    EXPECT_EQ(sync().serverAdded, 2);
    {
        auto side = SideStore::open(state, state.DbNo, SideStore::Access::Write);
        ASSERT_TRUE(side);
        if (!ReadSyncToken(*side, server->book())) {
            GTEST_SKIP() << "this server gave no sync token";
        }
        ASSERT_EQ(
            sqlite3_exec(side->handle(), "DELETE FROM sync_meta WHERE key = 'cards book'", nullptr, nullptr, nullptr),
            SQLITE_OK);
    }
    DavServer other(GetParam());
    ASSERT_TRUE(other.running());
    CardDavClient otherClient(HttpAuth{other.user(), other.password(), ""});
    SyncSummary moved = RunSync(state, otherClient, other.book(), {});
    EXPECT_FALSE(moved.massDeleteStop);
    EXPECT_EQ(moved.localDeleted, 0);
    EXPECT_EQ(local().size(), 2u);
}

TEST_P(SyncTest, AnUpdateKeepsWhatAnotherClientAddedAndReadingsSurviveTheRoundTrip)
{
    std::int32_t yamada = add("ﾔﾏﾀﾞ", "山田 太郎");
    sync();
    auto [href, card] = remoteWith("山田");
    // Another client rewrites the card its own way, with a photo link, a URL and its own property.
    std::string uid = CardUid(card.text);
    std::string theirs = "BEGIN:VCARD\r\nVERSION:3.0\r\nPRODID:-//Other//EN\r\nUID:" + uid +
                         "\r\nFN:山田 太郎\r\nN:山田;太郎;;;\r\nX-PHONETIC-LAST-NAME:ヤマダ\r\n"
                         "URL:https://example.org/taro\r\nX-OTHER-CLIENT-ID:42\r\nTEL;TYPE=CELL:090-1111-2222\r\n"
                         "END:VCARD\r\n";
    ASSERT_TRUE(client->update(server->book(), href, card.etag, theirs).ok());
    EXPECT_EQ(sync().localUpdated, 1);
    change(yamada, "taro@example.jp");
    EXPECT_EQ(sync().serverUpdated, 1);
    std::string now = remoteWith("山田").second.text;
    EXPECT_NE(now.find("URL:https://example.org/taro"), std::string::npos) << now;
    EXPECT_NE(now.find("X-OTHER-CLIENT-ID:42"), std::string::npos) << now;
    EXPECT_NE(now.find("taro@example.jp"), std::string::npos) << now;
    EXPECT_NE(now.find("090-1111-2222"), std::string::npos) << now;
    EXPECT_NE(now.find("X-PHONETIC-LAST-NAME:ヤマダ"), std::string::npos) << now;
    EXPECT_NE(now.find("VERSION:3.0"), std::string::npos) << now;

    // A card whose reading is only in N;SORT-AS.
    put("sortas.vcf", "s-1",
        "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:s-1\r\nN;SORT-AS=\"コバヤシ,ハナ\":小林;花;;;\r\nFN:小林 "
        "花\r\nEND:VCARD\r\n");
    EXPECT_EQ(sync().localAdded, 1);
    EXPECT_EQ(local()["小林 花"].reading.rfind("ｺﾊﾞﾔｼ", 0), 0u);
}

TEST_P(SyncTest, ACardRewrittenWithTheSameContentMovesNothing)
{
    add("ﾔﾏﾀﾞ", "山田 太郎", "t@example.jp");
    sync();
    auto [href, card] = remoteWith("山田");
    // Another client writes the same person back in its own order and folding: a new ETag only.
    std::string same =
        "BEGIN:VCARD\r\nVERSION:3.0\r\nX-PHONETIC-LAST-NAME:ヤマダ\r\nEMAIL;TYPE=INTERNET:t@example.jp\r\n"
        "N:山田;太郎;;;\r\nUID:" +
        CardUid(card.text) + "\r\nFN:山田 太郎\r\nEND:VCARD\r\n";
    ASSERT_TRUE(client->update(server->book(), href, card.etag, same).ok());
    EXPECT_EQ(SummaryLine(sync()), "この住所録: 追加 0・更新 0・削除 0／サーバー: 追加 0・更新 0・削除 0／競合 0");
}

TEST_P(SyncTest, AChangeOnBothSidesFollowsTheConflictRule)
{
    std::int32_t yamada = add("ﾔﾏﾀﾞ", "山田 太郎", "a@example.jp");
    sync();
    auto bothChange = [&](const std::string& ours, const std::string& theirs) {
        change(yamada, ours);
        auto [href, card] = remoteWith("山田");
        std::string text = card.text;
        std::size_t at = text.find("EMAIL");
        std::size_t end = text.find_first_of("\r\n", at); // XML turns the card's CR LF into LF
        text.replace(at, end - at, "EMAIL:" + theirs);
        ASSERT_TRUE(client->update(server->book(), href, card.etag, text).ok());
    };
    bothChange("ours@example.jp", "theirs@example.jp");
    SyncSummary skipped = sync(ConflictRule::Skip);
    EXPECT_EQ(skipped.conflicts, 1);
    EXPECT_EQ(local()["山田 太郎"].email, "ours@example.jp");
    EXPECT_NE(remoteWith("山田").second.text.find("theirs@example.jp"), std::string::npos);
    // Still a conflict the next time: skipping decides nothing.
    EXPECT_EQ(sync(ConflictRule::Skip).conflicts, 1);

    EXPECT_EQ(sync(ConflictRule::Server).localUpdated, 1);
    EXPECT_EQ(local()["山田 太郎"].email, "theirs@example.jp");

    bothChange("mine@example.jp", "yours@example.jp");
    EXPECT_EQ(sync(ConflictRule::Local).serverUpdated, 1);
    EXPECT_NE(remoteWith("山田").second.text.find("mine@example.jp"), std::string::npos);
    EXPECT_EQ(local()["山田 太郎"].email, "mine@example.jp");
    EXPECT_EQ(sync().conflicts, 0);
}

TEST_P(SyncTest, AConflictLeftAloneCarriesBothVersionsAndADecisionForOnePersonOverridesTheRule)
{
    std::int32_t yamada = add("ﾔﾏﾀﾞ", "山田 太郎", "a@example.jp");
    add("ｻﾄｳ", "佐藤 花子", "s@example.jp");
    sync();
    change(yamada, "ours@example.jp");
    auto [href, card] = remoteWith("山田");
    std::string text = card.text;
    std::size_t at = text.find("EMAIL");
    text.replace(at, text.find_first_of("\r\n", at) - at, "EMAIL:theirs@example.jp");
    ASSERT_TRUE(client->update(server->book(), href, card.etag, text).ok());

    SyncSummary skipped = sync(ConflictRule::Skip);
    ASSERT_EQ(skipped.conflictsLeft.size(), 1u);
    const SyncConflict& left = skipped.conflictsLeft[0];
    EXPECT_EQ(left.name, "山田 太郎");
    EXPECT_EQ(left.recNo, yamada);
    EXPECT_EQ(GetText(left.oursRec.EMail), "ours@example.jp");
    EXPECT_EQ(GetText(left.theirsRec.EMail), "theirs@example.jp");
    EXPECT_EQ(RecordIdentity(left.theirsRec), left.identity);

    SyncOptions options;
    options.conflict = ConflictRule::Skip;
    options.decided[left.identity] = ConflictRule::Server;
    SyncSummary decided = RunSync(state, *client, server->book(), options);
    load();
    EXPECT_EQ(decided.conflicts, 0);
    EXPECT_EQ(decided.localUpdated, 1);
    EXPECT_EQ(local()["山田 太郎"].email, "theirs@example.jp");
}

TEST_P(SyncTest, ARecordAnotherCopyAddedAndSyncedSinceThisOneLoadedIsNotTakenForDeleted)
{
    add("ﾔﾏﾀﾞ", "山田 太郎", "y@example.jp");
    sync();
    // Another copy of the program on the same database adds someone and syncs them.
    ScriptedInteraction otherUi;
    FixedClock otherClock;
    AppState other{otherUi, otherClock};
    other.ProgramFolder = state.ProgramFolder;
    other.WritableFolder = state.WritableFolder;
    other.DataPath = state.DataPath;
    ASSERT_EQ(LoadTables(other), LoadResult::Loaded);
    ASSERT_NE(AddPerson(other, "ｻﾄｳ", "佐藤 花子"), 0);
    EXPECT_EQ(RunSync(other, *client, server->book(), {}).serverAdded, 1);
    // This copy still holds the header it read before: the run looks at the file as it is now.
    SyncSummary stale = RunSync(state, *client, server->book(), {});
    EXPECT_EQ(stale.serverDeleted, 0);
    EXPECT_EQ(remote().size(), 2u);
}

TEST_P(SyncTest, AFirstSyncWithPeopleOnBothSidesMakesNoSecondCopy)
{
    const std::vector<std::string> families = {"山田", "鈴木", "佐藤", "田中", "伊藤", "渡辺", "中村", "小林"};
    const std::vector<std::string> readings = {"ﾔﾏﾀﾞ", "ｽｽﾞｷ", "ｻﾄｳ", "ﾀﾅｶ", "ｲﾄｳ", "ﾜﾀﾅﾍﾞ", "ﾅｶﾑﾗ", "ｺﾊﾞﾔｼ"};
    const std::vector<std::string> kana = {"ヤマダ", "スズキ",   "サトウ",   "タナカ",
                                           "イトウ", "ワタナベ", "ナカムラ", "コバヤシ"};
    // 0-5 on both sides (the server's written by another client, its own UIDs, other formatting),
    // 6 only here, 7 only there.
    for (std::size_t i = 0; i < 7; ++i) {
        add(readings[i], families[i] + " 様子" + std::to_string(i), "p" + std::to_string(i) + "@example.jp");
    }
    for (std::size_t i : {0, 1, 2, 3, 4, 5, 7}) {
        std::string n = std::to_string(i);
        put("other-" + n + ".vcf", "other-" + n,
            Card("other-" + n, families[i], "様子" + n, kana[i], "EMAIL;TYPE=INTERNET:p" + n + "@example.jp\r\n"));
    }
    SyncSummary first = sync();
    EXPECT_EQ(first.localAdded, 1);
    EXPECT_EQ(first.serverAdded, 1);
    EXPECT_EQ(local().size(), 8u);
    EXPECT_EQ(remote().size(), 8u);
    SyncSummary again = sync();
    EXPECT_EQ(SummaryLine(again), "この住所録: 追加 0・更新 0・削除 0／サーバー: 追加 0・更新 0・削除 0／競合 0");
}

// Two hundred people here and two hundred there, written by another client with its own UIDs,
// of whom one hundred and fifty are the same people: they are linked, not copied.
TEST_P(SyncTest, TwoHundredOnEachSideOfWhomAHundredAndFiftyAreTheSameMakeTwoHundredAndFifty)
{
    struct Name
    {
        const char* kanji;
        const char* half;
        const char* full;
    };
    const std::vector<Name> families = {
        {"山田", "ﾔﾏﾀﾞ", "ヤマダ"},    {"鈴木", "ｽｽﾞｷ", "スズキ"},    {"佐藤", "ｻﾄｳ", "サトウ"},
        {"田中", "ﾀﾅｶ", "タナカ"},     {"伊藤", "ｲﾄｳ", "イトウ"},     {"渡辺", "ﾜﾀﾅﾍﾞ", "ワタナベ"},
        {"中村", "ﾅｶﾑﾗ", "ナカムラ"},  {"小林", "ｺﾊﾞﾔｼ", "コバヤシ"}, {"加藤", "ｶﾄｳ", "カトウ"},
        {"吉田", "ﾖｼﾀﾞ", "ヨシダ"},    {"松本", "ﾏﾂﾓﾄ", "マツモト"},  {"井上", "ｲﾉｳｴ", "イノウエ"},
        {"木村", "ｷﾑﾗ", "キムラ"},     {"林", "ﾊﾔｼ", "ハヤシ"},       {"清水", "ｼﾐｽﾞ", "シミズ"},
        {"山口", "ﾔﾏｸﾞﾁ", "ヤマグチ"}, {"森", "ﾓﾘ", "モリ"},          {"池田", "ｲｹﾀﾞ", "イケダ"},
        {"橋本", "ﾊｼﾓﾄ", "ハシモト"},  {"阿部", "ｱﾍﾞ", "アベ"},       {"石川", "ｲｼｶﾜ", "イシカワ"},
        {"前田", "ﾏｴﾀﾞ", "マエダ"},    {"藤田", "ﾌｼﾞﾀ", "フジタ"},    {"小川", "ｵｶﾞﾜ", "オガワ"},
        {"岡田", "ｵｶﾀﾞ", "オカダ"}};
    const std::vector<Name> givens = {{"太郎", "ﾀﾛｳ", "タロウ"},    {"花子", "ﾊﾅｺ", "ハナコ"},
                                      {"一郎", "ｲﾁﾛｳ", "イチロウ"}, {"健", "ｹﾝ", "ケン"},
                                      {"美咲", "ﾐｻｷ", "ミサキ"},    {"翔", "ｼｮｳ", "ショウ"},
                                      {"陽子", "ﾖｳｺ", "ヨウコ"},    {"大輔", "ﾀﾞｲｽｹ", "ダイスケ"},
                                      {"彩", "ｱﾔ", "アヤ"},         {"誠", "ﾏｺﾄ", "マコト"}};
    auto person = [&](int i) { return std::pair{families[i % 25], givens[i / 25]}; };
    auto email = [](int i) { return "person" + std::to_string(i) + "@example.jp"; };
    for (int i = 0; i < 200; ++i) {
        auto [family, given] = person(i);
        add(std::string(family.half) + " " + given.half, std::string(family.kanji) + " " + given.kanji, email(i));
    }
    for (int i = 50; i < 250; ++i) {
        auto [family, given] = person(i);
        const std::string uid = "phone-" + std::to_string(i);
        put(uid + ".vcf", uid,
            Card(uid, family.kanji, given.kanji, family.full,
                 std::string("X-PHONETIC-FIRST-NAME:") + given.full + "\r\nEMAIL;TYPE=INTERNET:" + email(i) + "\r\n"));
    }
    SyncSummary first = sync();
    EXPECT_EQ(first.error, "");
    EXPECT_EQ(first.localAdded, 50);
    EXPECT_EQ(first.serverAdded, 50);
    EXPECT_EQ(local().size(), 250u); // local() fails on any name held twice
    std::map<std::string, ServerCard> cards = remote();
    EXPECT_EQ(cards.size(), 250u);
    std::set<std::string> names;
    for (const auto& [href, card] : cards) {
        const std::size_t fn = card.text.find("FN:");
        names.insert(card.text.substr(fn, card.text.find('\r', fn) - fn));
    }
    EXPECT_EQ(names.size(), 250u) << "a person is on the server twice";
    EXPECT_EQ(SummaryLine(sync()), "この住所録: 追加 0・更新 0・削除 0／サーバー: 追加 0・更新 0・削除 0／競合 0");
}

// On each side a 山田 太郎 with the same reading but another e-mail: one person or two, the matcher
// cannot tell. Beside them a person certainly on both sides and one new on each.
void SyncTest::uncertainFirstSync()
{
    add("ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎", "taro@home.example.jp");
    add("ｽｽﾞｷ ﾊﾅｺ", "鈴木 花子", "hana@example.jp");
    add("ｻﾄｳ ｲﾁﾛｳ", "佐藤 一郎", "ichiro@example.jp");
    put("a.vcf", "a",
        Card("a", "山田", "太郎", "ヤマダ", "X-PHONETIC-FIRST-NAME:タロウ\r\nEMAIL:taro@work.example.jp\r\n"));
    put("b.vcf", "b", Card("b", "鈴木", "花子", "スズキ", "X-PHONETIC-FIRST-NAME:ハナコ\r\nEMAIL:hana@example.jp\r\n"));
    put("c.vcf", "c", Card("c", "伊藤", "三郎", "イトウ", "X-PHONETIC-FIRST-NAME:サブロウ\r\n"));
}

TEST_P(SyncTest, AnUncertainFirstSyncPairIsListedAndCopiedNeitherWayUntilTheUserSays)
{
    uncertainFirstSync();
    SyncSummary first = sync();
    EXPECT_EQ(first.error, "");
    ASSERT_EQ(first.uncertainPairs.size(), 1u);
    const UncertainPair& pair = first.uncertainPairs[0];
    EXPECT_EQ(pair.name, "山田 太郎");
    EXPECT_EQ(pair.cardName, "山田 太郎");
    EXPECT_TRUE(pair.href.ends_with("/a.vcf")) << pair.href;
    EXPECT_GE(pair.score, UncertainScore);
    EXPECT_LT(pair.score, HighConfidenceScore);
    EXPECT_EQ(pair.reasons, "読み・氏名");
    EXPECT_EQ(first.localAdded, 1);  // 伊藤
    EXPECT_EQ(first.serverAdded, 1); // 佐藤
    EXPECT_EQ(local().size(), 4u);
    EXPECT_EQ(remote().size(), 4u);
    // Listed again, still nothing copied, until the user says.
    SyncSummary again = sync();
    EXPECT_EQ(again.uncertainPairs.size(), 1u);
    EXPECT_EQ(SummaryLine(again), "この住所録: 追加 0・更新 0・削除 0／サーバー: 追加 0・更新 0・削除 0／競合 0");

    SyncOptions same;
    same.uncertain = UncertainRule::Same;
    SyncSummary linked = RunSync(state, *client, server->book(), same);
    load();
    EXPECT_TRUE(linked.uncertainPairs.empty());
    EXPECT_EQ(SummaryLine(linked), "この住所録: 追加 0・更新 0・削除 0／サーバー: 追加 0・更新 0・削除 0／競合 0");
    EXPECT_EQ(local().size(), 4u);
    EXPECT_EQ(remote().size(), 4u);
    SyncSummary after = sync();
    EXPECT_TRUE(after.uncertainPairs.empty());
    EXPECT_EQ(SummaryLine(after), "この住所録: 追加 0・更新 0・削除 0／サーバー: 追加 0・更新 0・削除 0／競合 0");
}

TEST_P(SyncTest, AnUncertainPairSaidToBeTwoPeopleIsCopiedBothWays)
{
    uncertainFirstSync();
    EXPECT_EQ(sync().uncertainPairs.size(), 1u);
    SyncOptions separate;
    separate.uncertain = UncertainRule::Separate;
    SyncSummary copied = RunSync(state, *client, server->book(), separate);
    load();
    EXPECT_TRUE(copied.uncertainPairs.empty());
    EXPECT_EQ(copied.localAdded, 1);
    EXPECT_EQ(copied.serverAdded, 1);
    EXPECT_EQ(ReadKeyedPeople(state).value_or(std::vector<KeyedPerson>{}).size(), 5u);
    EXPECT_EQ(remote().size(), 5u);
    SyncSummary after = sync();
    EXPECT_TRUE(after.uncertainPairs.empty());
    EXPECT_EQ(SummaryLine(after), "この住所録: 追加 0・更新 0・削除 0／サーバー: 追加 0・更新 0・削除 0／競合 0");
}

TEST_P(SyncTest, ASecondCardSaidToBeSomeoneAlreadyLinkedIsNotedAndNotTaken)
{
    add("ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎", "taro@example.jp");
    put("a.vcf", "a", Card("a", "山田", "太郎", "ヤマダ", "X-PHONETIC-FIRST-NAME:タロウ\r\nEMAIL:taro@example.jp\r\n"));
    put("b.vcf", "b",
        Card("b", "山田", "太郎", "ヤマダ", "X-PHONETIC-FIRST-NAME:タロウ\r\nEMAIL:yamada@work.example.jp\r\n"));
    SyncSummary first = sync();
    ASSERT_EQ(first.uncertainPairs.size(), 1u);
    EXPECT_TRUE(first.uncertainPairs[0].href.ends_with("/b.vcf"));
    EXPECT_EQ(local().size(), 1u);
    // 山田 is linked to a.vcf now: b.vcf is still his possible second card, not someone new.
    SyncSummary again = sync();
    EXPECT_EQ(again.uncertainPairs.size(), 1u);
    EXPECT_EQ(local().size(), 1u);
    SyncOptions same;
    same.uncertainDecided[first.uncertainPairs[0].href] = UncertainRule::Same;
    SyncSummary said = RunSync(state, *client, server->book(), same);
    load();
    EXPECT_TRUE(said.uncertainPairs.empty());
    ASSERT_EQ(said.notes.size(), 1u);
    EXPECT_EQ(said.notes[0].rfind("同じ人と見られるカードが複数あります", 0), 0u) << said.notes[0];
    EXPECT_EQ(local().size(), 1u);
    EXPECT_EQ(remote().size(), 2u);
    // Listed again until the user deals with the second card on the server.
    SyncSummary later = sync();
    EXPECT_EQ(later.uncertainPairs.size(), 1u);
    EXPECT_EQ(local().size(), 1u);
}

TEST_P(SyncTest, ARunThatWouldDeleteMostOfOneSideStops)
{
    std::vector<std::int32_t> recNos;
    for (int i = 0; i < 4; ++i) {
        recNos.push_back(add("ﾃｽﾄ", "人 " + std::to_string(i), "m" + std::to_string(i) + "@example.jp"));
    }
    sync();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(DeleteRecord(state, recNos[i]));
    }
    SyncSummary stopped = sync();
    EXPECT_TRUE(stopped.massDeleteStop);
    EXPECT_EQ(stopped.serverDeleted, 0);
    EXPECT_EQ(remote().size(), 4u);
    SyncSummary allowed = sync(ConflictRule::Skip, true);
    EXPECT_EQ(allowed.serverDeleted, 3);
    EXPECT_EQ(remote().size(), 1u);
}

TEST_P(SyncTest, DeletingEverythingHereMeetsTheStopInsteadOfEmptyingTheServer)
{
    for (int i = 0; i < 3; ++i) {
        add("ﾃｽﾄ", "人 " + std::to_string(i), "d" + std::to_string(i) + "@example.jp");
    }
    sync();
    ui.yesNoAnswers.push_back(true);
    ASSERT_TRUE(DeleteAllData(state));
    load();
    SyncSummary stopped = sync();
    EXPECT_TRUE(stopped.massDeleteStop);
    EXPECT_EQ(remote().size(), 3u);
}

TEST_P(SyncTest, ATokenTheServerRefusesMeansAFullListing)
{
    add("ﾔﾏﾀﾞ", "山田 太郎");
    sync();
    {
        std::optional<SideStore> side = SideStore::open(state, state.DbNo, SideStore::Access::Write);
        ASSERT_TRUE(side.has_value());
        ASSERT_TRUE(StoreSyncToken(*side, server->book(), "http://example.org/ns/sync/unknown-token"));
    }
    put("n.vcf", "n-1", Card("n-1", "伊藤", "三郎", "イトウ"));
    SyncSummary summary = sync();
    EXPECT_EQ(summary.error, "");
    EXPECT_EQ(summary.localAdded, 1);
    EXPECT_EQ(local().size(), 2u);
}

TEST_P(SyncTest, ACardRememberedBeforeItsRecordWasStoredIsStoredOnce)
{
    put("p.vcf", "p-1", Card("p-1", "伊藤", "三郎", "イトウ"));
    auto [href, card] = remoteWith("伊藤");
    {
        // What a run killed between remembering the card and storing its record leaves.
        std::optional<SideStore> side = SideStore::open(state, state.DbNo, SideStore::Access::Write);
        ASSERT_TRUE(side.has_value());
        std::optional<Person> person = PersonFromCard(card.text, CheckItemCaptions(state));
        ASSERT_TRUE(person.has_value());
        ASSERT_TRUE(
            StoreSyncedCard(*side, NewIdentity(), {"p-1", href, card.etag, "pending", PersonHash(*person), card.text}));
    }
    EXPECT_EQ(sync().localAdded, 1);
    EXPECT_EQ(local().size(), 1u);
    EXPECT_EQ(SummaryLine(sync()), "この住所録: 追加 0・更新 0・削除 0／サーバー: 追加 0・更新 0・削除 0／競合 0");
    EXPECT_EQ(remote().size(), 1u);
}

TEST_P(SyncTest, ACancelledRunLosesNothingAndTheNextConverges)
{
    for (int i = 0; i < 12; ++i) {
        add("ﾃｽﾄ", "人 " + std::to_string(i), "c" + std::to_string(i) + "@example.jp");
    }
    for (int i = 0; i < 6; ++i) {
        std::string n = std::to_string(i);
        put("x" + n + ".vcf", "x" + n, Card("x" + n, "外", "人" + n, "ソト", "EMAIL:x" + n + "@example.jp\r\n"));
    }
    int calls = 0;
    SyncOptions options;
    options.cancelled = [&] { return ++calls > 7; };
    SyncSummary cut = RunSync(state, *client, server->book(), options);
    load();
    EXPECT_TRUE(cut.cancelled);
    // The server forgets what it had not stored when it is killed; the next run meets what it kept.
    ASSERT_TRUE(server->restart());
    SyncSummary rest = sync();
    EXPECT_EQ(rest.error, "");
    EXPECT_EQ(local().size(), 18u);
    EXPECT_EQ(remote().size(), 18u);
    EXPECT_EQ(SummaryLine(sync()), "この住所録: 追加 0・更新 0・削除 0／サーバー: 追加 0・更新 0・削除 0／競合 0");
}

INSTANTIATE_TEST_SUITE_P(Servers,
                         SyncTest,
                         ::testing::Values(DavServer::Kind::Radicale, DavServer::Kind::Xandikos),
                         [](const auto& info) {
                             return info.param == DavServer::Kind::Radicale ? "Radicale" : "Xandikos";
                         });

TEST(Multistatus, NamesAreMatchedByNamespaceNotPrefix)
{
    std::string xml =
        "<?xml version=\"1.0\"?><x:multistatus xmlns:x=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:carddav\">"
        "<x:response><x:href>/a/b.vcf</x:href><x:propstat><x:prop><x:getetag>\"1\"</x:getetag>"
        "<C:address-data>BEGIN:VCARD&#13;\nEND:VCARD</C:address-data></x:prop>"
        "<x:status>HTTP/1.1 200 OK</x:status></x:propstat></x:response>"
        "<x:response><x:href>/a/c.vcf</x:href><x:status>HTTP/1.1 404 Not Found</x:status></x:response>"
        "<x:sync-token>tok-2</x:sync-token></x:multistatus>";
    auto parsed = ParseMultistatus(xml);
    ASSERT_TRUE(parsed.has_value());
    ASSERT_EQ(parsed->responses.size(), 2u);
    EXPECT_EQ(parsed->responses[0].etag, "\"1\"");
    EXPECT_EQ(parsed->responses[0].addressData, "BEGIN:VCARD\r\nEND:VCARD");
    EXPECT_EQ(parsed->responses[1].status, 404);
    EXPECT_EQ(parsed->syncToken, "tok-2");
    // The same names in another namespace are not DAV's.
    EXPECT_FALSE(ParseMultistatus("<multistatus xmlns=\"urn:other\"/>").has_value());
}

} // namespace
} // namespace talik::test
