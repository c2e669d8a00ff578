// The sync windows against a real CardDAV server (Radicale) on loopback: the account dialog with its
// connection test, and a run with its summary, the mass-delete question and the list brought up to date.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include <map>
#include <memory>
#include <set>

#include <gtest/gtest.h>

#include "store/recordwriter.h"
#include "sync/TALIKSYC.h"
#include "sync/TALIKSYN.h"
#include "sync/TALIKSYR.h"
#include "sync/secretstore.h"
#include "sync/syncaccount.h"
#include "tests/support/modal.h"
#include "tests/support/storefixture.h"
#include "tests/sync/davserver.h"

namespace talik::test {
namespace {

// A secret store in memory; `reachable` false plays a desktop without a keyring.
class MemoryPasswordStore : public PasswordStore
{
public:
    bool reachable = true;
    std::map<std::pair<std::string, std::string>, std::string> kept;

    SecretOutcome store(const SecretKey& key, const std::string& password) override
    {
        if (!reachable) {
            return {false, std::string(SecretStoreUnreachable) + "\nno keyring"};
        }
        kept[{key.url, key.user}] = password;
        return {true, {}};
    }
    SecretLookup lookup(const SecretKey& key) override
    {
        if (!reachable) {
            return {false, std::nullopt, std::string(SecretStoreUnreachable) + "\nno keyring"};
        }
        auto found = kept.find({key.url, key.user});
        return {true, found == kept.end() ? std::nullopt : std::optional<std::string>(found->second), {}};
    }
    SecretOutcome clear(const SecretKey& key) override
    {
        kept.erase({key.url, key.user});
        return {reachable, {}};
    }
};

class SyncFormsTest : public StoreTest
{
protected:
    void SetUp() override
    {
        server = std::make_unique<DavServer>(DavServer::Kind::Radicale);
        if (!server->running()) {
            GTEST_SKIP() << "no Radicale to test against";
        }
        state.ProfileFolder = dir.str();
        load();
    }

    std::int32_t add(const std::string& reading, const std::string& name, const std::string& email)
    {
        return AddPerson(state, reading, name, email);
    }
    void keepAccount()
    {
        ASSERT_TRUE(WriteSyncAccount(state, {server->book(), server->book(), server->user(), ConflictRule::Skip, ""}));
        vault.kept[{server->book(), server->user()}] = server->password();
    }
    // A run through the window; the summary it told.
    std::string syncThroughWindow()
    {
        TALIKSYR window(state, passwords);
        EXPECT_TRUE(window.runSync());
        return ui.shown.empty() ? std::string() : ui.shown.back().text;
    }
    // The server's card of 山田, its e-mail changed as another client would.
    std::string serverCardChanged(const std::string& email)
    {
        CardDavClient client({server->user(), server->password(), ""});
        std::string error;
        auto listing = client.list(server->book(), "", error);
        std::vector<std::string> hrefs;
        for (const auto& [href, etag] : listing.value_or(ServerListing{}).etags) {
            hrefs.push_back(href);
        }
        auto cards = client.fetch(server->book(), hrefs, error).value_or(std::map<std::string, ServerCard>{});
        std::string href;
        for (const auto& [cardHref, card] : cards) {
            href = card.text.find("山田") != std::string::npos ? cardHref : href;
        }
        if (href.empty()) {
            ADD_FAILURE() << "no card of 山田 on the server";
            return {};
        }
        std::string text = cards.at(href).text;
        if (!email.empty()) {
            std::size_t at = text.find("EMAIL");
            text.replace(at, text.find_first_of("\r\n", at) - at, "EMAIL:" + email);
            EXPECT_TRUE(client.update(server->book(), href, cards.at(href).etag, text).ok());
        }
        return text;
    }
    // Both sides changed since the last run: here the e-mail and the telephone, there the e-mail.
    std::int32_t changedOnBothSides()
    {
        keepAccount();
        std::int32_t yamada = add("ﾔﾏﾀﾞ", "山田 太郎", "a@example.jp");
        syncThroughWindow();
        AddressRecord rec{};
        ExtraRecord extra{};
        EXPECT_TRUE(ReadRecord(state, yamada, rec, extra));
        SetText(rec.EMail, "ours@example.jp");
        SetText(rec.Tel1, "03-1111-1111");
        EXPECT_TRUE(UpdateRecord(state, yamada, rec, extra));
        serverCardChanged("theirs@example.jp");
        return yamada;
    }
    void uncertainPair();
    int serverCards()
    {
        CardDavClient client({server->user(), server->password(), ""});
        std::string error;
        auto listing = client.list(server->book(), "", error);
        return listing ? static_cast<int>(listing->etags.size()) : -1;
    }

    std::unique_ptr<DavServer> server;
    MemoryPasswordStore vault;
    SyncPasswords passwords{vault};
};

void TestConnection(TALIKSYN& dialog)
{
    QSignalSpy finished(&dialog, &TALIKSYN::testFinished);
    QTest::mouseClick(dialog.findChild<QPushButton*>("CommandTest"), Qt::LeftButton);
    EXPECT_TRUE(dialog.testing());
    ASSERT_TRUE(finished.wait(20000));
}

TEST_F(SyncFormsTest, ConnectionTestListsTheAddressBooksAndOkKeepsTheAccount)
{
    TALIKSYN dialog(state, passwords);
    dialog.findChild<QLineEdit*>("TextUrl")->setText(QString::fromStdString(server->root()));
    dialog.findChild<QLineEdit*>("TextUser")->setText("alice");
    dialog.findChild<QLineEdit*>("TextPassword")->setText("secret");
    dialog.findChild<QComboBox*>("ComboConflict")->setCurrentIndex(2);
    TestConnection(dialog);
    auto* books = dialog.findChild<QListWidget*>("ListBooks");
    ASSERT_EQ(books->count(), 1);
    EXPECT_EQ(books->currentRow(), 0);
    EXPECT_EQ(dialog.findChild<QLabel*>("LabelStatus")->text(), "アドレス帳が 1 件見つかりました。");
    QTest::mouseClick(dialog.findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    std::optional<SyncAccount> account = ReadSyncAccount(state);
    ASSERT_TRUE(account);
    EXPECT_EQ(account->url, server->root());
    EXPECT_EQ(account->book, server->book());
    EXPECT_EQ(account->user, "alice");
    EXPECT_EQ(account->conflict, ConflictRule::Server);
    EXPECT_EQ((vault.kept[{server->root(), "alice"}]), "secret");
}

TEST_F(SyncFormsTest, AWrongPasswordIsToldAndListsNothing)
{
    TALIKSYN dialog(state, passwords);
    dialog.findChild<QLineEdit*>("TextUrl")->setText(QString::fromStdString(server->root()));
    dialog.findChild<QLineEdit*>("TextUser")->setText("alice");
    dialog.findChild<QLineEdit*>("TextPassword")->setText("wrong");
    TestConnection(dialog);
    EXPECT_EQ(dialog.findChild<QListWidget*>("ListBooks")->count(), 0);
    EXPECT_TRUE(dialog.findChild<QLabel*>("LabelStatus")->text().startsWith("接続できませんでした"));
}

TEST_F(SyncFormsTest, WithoutASecretStoreThePasswordServesThisSessionOnlyWhenTheUserAgrees)
{
    vault.reachable = false;
    {
        TALIKSYN dialog(state, passwords);
        dialog.findChild<QLineEdit*>("TextUrl")->setText(QString::fromStdString(server->book()));
        dialog.findChild<QLineEdit*>("TextUser")->setText("alice");
        dialog.findChild<QLineEdit*>("TextPassword")->setText("secret");
        ui.yesNoAnswers = {false};
        QTest::mouseClick(dialog.findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_FALSE(ReadSyncAccount(state));
        ASSERT_FALSE(ui.shown.empty());
        EXPECT_NE(ui.shown.back().text.find(SecretStoreUnreachable), std::string::npos);
        ui.yesNoAnswers = {true};
        QTest::mouseClick(dialog.findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_TRUE(ReadSyncAccount(state));
    EXPECT_EQ(passwords.lookup({server->book(), "alice"}).password, "secret");
    EXPECT_TRUE(vault.kept.empty());
}

TEST_F(SyncFormsTest, ARunCarriesOneCardEachWayAndTheTablesFollow)
{
    keepAccount();
    add("ﾔﾏﾀﾞ", "山田 太郎", "yamada@example.jp");
    CardDavClient client({server->user(), server->password(), ""});
    ASSERT_TRUE(client
                    .create(server->book(), UrlPath(server->book()) + "sato.vcf",
                            "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:sato\r\nN:佐藤;花子;;;\r\nFN:佐藤 花子\r\n"
                            "X-PHONETIC-LAST-NAME:サトウ\r\nEND:VCARD\r\n")
                    .ok());
    EXPECT_EQ(state.tables.TotalCount, 1);
    EXPECT_EQ(syncThroughWindow(), "この住所録: 追加 1・更新 0・削除 0／サーバー: 追加 1・更新 0・削除 0／競合 0");
    EXPECT_EQ(ui.shown.back().title, "同期");
    EXPECT_EQ(state.tables.TotalCount, 2);
    EXPECT_EQ(serverCards(), 2);
    // The record numbers the run used are taken: a record added now overwrites none of them.
    add("ｽｽﾞｷ", "鈴木 一郎", "suzuki@example.jp");
    EXPECT_EQ(state.tables.TotalCount, 3);
    std::set<std::string> names;
    for (std::int32_t recNo = 1; recNo <= GetLong(state.Header.LastRecNo); ++recNo) {
        AddressRecord rec{};
        ExtraRecord extra{};
        if (state.tables.usedFlag(recNo) == '1' && ReadRecord(state, recNo, rec, extra)) {
            names.insert(GetText(rec.KanjiName));
        }
    }
    EXPECT_EQ(names, (std::set<std::string>{"山田 太郎", "佐藤 花子", "鈴木 一郎"}));
}

// A keyring that was locked when the program started keeps no password: the server's refusal brings
// the password prompt, as often as the server refuses, and what was typed serves the session.
TEST_F(SyncFormsTest, ARefusedPasswordIsAskedForAndTheTypedOneServesTheSession)
{
    keepAccount();
    vault.kept.clear();
    add("ﾔﾏﾀﾞ", "山田 太郎", "yamada@example.jp");
    ui.passwordAnswers = {std::nullopt};
    const std::string refused = syncThroughWindow();
    EXPECT_NE(refused.find("401"), std::string::npos) << refused;
    EXPECT_EQ(ui.shown.front().kind, "password");
    EXPECT_EQ(ui.shown.front().text, "同期先「alice」");
    EXPECT_EQ(serverCards(), 0);

    ui.shown.clear();
    ui.passwordAnswers = {"wrong", "secret"};
    EXPECT_EQ(syncThroughWindow(), "この住所録: 追加 0・更新 0・削除 0／サーバー: 追加 1・更新 0・削除 0／競合 0");
    EXPECT_TRUE(ui.passwordAnswers.empty());
    EXPECT_EQ(serverCards(), 1);
    EXPECT_EQ(passwords.lookup({server->book(), "alice"}).password, "secret");
    EXPECT_TRUE(vault.kept.empty()); // kept for the session, not written to the keyring unasked
    // The next run asks nothing.
    ui.shown.clear();
    EXPECT_EQ(syncThroughWindow(), "この住所録: 追加 0・更新 0・削除 0／サーバー: 追加 0・更新 0・削除 0／競合 0");
    EXPECT_EQ(ui.shown.size(), 1u);
}

TEST_F(SyncFormsTest, AMassDeleteStopAsksAndGoesOnOnlyOnYes)
{
    keepAccount();
    std::vector<std::int32_t> recNos;
    for (int i = 0; i < 4; ++i) {
        recNos.push_back(add("ﾃｽﾄ", "人 " + std::to_string(i), "m" + std::to_string(i) + "@example.jp"));
    }
    syncThroughWindow();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(DeleteRecord(state, recNos[i]));
    }
    ui.yesNoAnswers = {false};
    EXPECT_EQ(syncThroughWindow(), "同期を中止しました。何も変更していません。");
    EXPECT_EQ(serverCards(), 4);
    ui.yesNoAnswers = {true};
    EXPECT_EQ(syncThroughWindow(), "この住所録: 追加 0・更新 0・削除 0／サーバー: 追加 0・更新 0・削除 3／競合 0");
    EXPECT_EQ(serverCards(), 1);
}

TEST_F(SyncFormsTest, TheCancelButtonStopsARunAndTheNextConvergesWithNothingLostOrDoubled)
{
    keepAccount();
    const int here = 80;
    const int there = 10;
    for (int i = 0; i < here; ++i) {
        add("ﾃｽﾄ", "人 " + std::to_string(i), "h" + std::to_string(i) + "@example.jp");
    }
    CardDavClient client({server->user(), server->password(), ""});
    for (int i = 0; i < there; ++i) {
        const std::string n = std::to_string(i);
        ASSERT_TRUE(client
                        .create(server->book(), UrlPath(server->book()) + "s" + n + ".vcf",
                                "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:s" + n + "\r\nN:外;人" + n + ";;;\r\nFN:外 人" + n +
                                    "\r\nX-PHONETIC-LAST-NAME:ソト\r\nEMAIL:s" + n + "@example.jp\r\nEND:VCARD\r\n")
                        .ok());
    }
    // The real button, pressed once the run has done a few people.
    bool pressed = false;
    WhenModalShows<TALIKSYR>([&](TALIKSYR* window) {
        QObject::connect(window, &TALIKSYR::progressed, window, [&pressed, window](int done, int) {
            if (!pressed && done >= 5) {
                pressed = true;
                QTest::mouseClick(window->findChild<QPushButton*>("Command1"), Qt::LeftButton);
            }
        });
    });
    {
        TALIKSYR window(state, passwords);
        ASSERT_TRUE(window.runSync());
        EXPECT_TRUE(pressed);
        EXPECT_TRUE(window.summary().cancelled);
        EXPECT_LT(window.summary().localAdded + window.summary().serverAdded, here + there);
    }
    EXPECT_EQ(ui.shown.back().text.rfind("同期をキャンセルしました。", 0), 0u) << ui.shown.back().text;

    syncThroughWindow();
    EXPECT_EQ(state.tables.TotalCount, here + there);
    EXPECT_EQ(serverCards(), here + there);
    std::set<std::string> names;
    for (std::int32_t recNo = 1; recNo <= GetLong(state.Header.LastRecNo); ++recNo) {
        AddressRecord rec{};
        ExtraRecord extra{};
        if (state.tables.usedFlag(recNo) == '1' && ReadRecord(state, recNo, rec, extra)) {
            EXPECT_TRUE(names.insert(GetText(rec.KanjiName)).second) << "twice: " << GetText(rec.KanjiName);
        }
    }
    EXPECT_EQ(names.size(), static_cast<std::size_t>(here + there));
    EXPECT_EQ(syncThroughWindow(), "この住所録: 追加 0・更新 0・削除 0／サーバー: 追加 0・更新 0・削除 0／競合 0");
}

// Here and there a 山田 太郎 with the same reading and another e-mail: one person or two.
void SyncFormsTest::uncertainPair()
{
    keepAccount();
    add("ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎", "taro@home.example.jp");
    CardDavClient client({server->user(), server->password(), ""});
    ASSERT_TRUE(client
                    .create(server->book(), UrlPath(server->book()) + "a.vcf",
                            "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:a\r\nN:山田;太郎;;;\r\nFN:山田 太郎\r\n"
                            "X-PHONETIC-LAST-NAME:ヤマダ\r\nX-PHONETIC-FIRST-NAME:タロウ\r\n"
                            "EMAIL:taro@work.example.jp\r\nEND:VCARD\r\n")
                    .ok());
}

TEST_F(SyncFormsTest, AnUncertainPairLeftForLaterIsListedInTheSummaryAndNeitherSideIsCopied)
{
    uncertainPair();
    ui.choiceAnswers = {2};
    std::string told = syncThroughWindow();
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[0].kind, "choice");
    EXPECT_NE(ui.shown[0].text.find("あとで決める"), std::string::npos);
    EXPECT_NE(told.find("同一人物か確かでないため、どちらの側にも写していない組:\n山田 太郎 ⇔ サーバーの 山田 "
                        "太郎（読み・氏名）"),
              std::string::npos)
        << told;
    EXPECT_EQ(state.tables.TotalCount, 1);
    EXPECT_EQ(serverCards(), 1);
}

TEST_F(SyncFormsTest, AnUncertainPairSaidToBeOnePersonIsLinkedAndSaidToBeTwoIsCopiedBothWays)
{
    uncertainPair();
    ui.choiceAnswers = {0};
    EXPECT_EQ(syncThroughWindow(), "この住所録: 追加 0・更新 0・削除 0／サーバー: 追加 0・更新 0・削除 0／競合 0");
    EXPECT_EQ(state.tables.TotalCount, 1);
    EXPECT_EQ(serverCards(), 1);
    // Linked: asked no more.
    EXPECT_EQ(syncThroughWindow(), "この住所録: 追加 0・更新 0・削除 0／サーバー: 追加 0・更新 0・削除 0／競合 0");

    // Another namesake on each side, said to be two people this time.
    add("ｽｽﾞｷ ﾊﾅｺ", "鈴木 花子", "hana@home.example.jp");
    CardDavClient client({server->user(), server->password(), ""});
    ASSERT_TRUE(client
                    .create(server->book(), UrlPath(server->book()) + "b.vcf",
                            "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:b\r\nN:鈴木;花子;;;\r\nFN:鈴木 花子\r\n"
                            "X-PHONETIC-LAST-NAME:スズキ\r\nX-PHONETIC-FIRST-NAME:ハナコ\r\n"
                            "EMAIL:hana@work.example.jp\r\nEND:VCARD\r\n")
                    .ok());
    ui.choiceAnswers = {1};
    EXPECT_EQ(syncThroughWindow(), "この住所録: 追加 1・更新 0・削除 0／サーバー: 追加 1・更新 0・削除 0／競合 0");
    EXPECT_EQ(state.tables.TotalCount, 3); // 山田 and two 鈴木 花子
    EXPECT_EQ(serverCards(), 3);
    EXPECT_EQ(syncThroughWindow(), "この住所録: 追加 0・更新 0・削除 0／サーバー: 追加 0・更新 0・削除 0／競合 0");
}

TEST_F(SyncFormsTest, TheConflictWindowTakesTheTickedFieldsFromTheServerAndSendsTheResultBack)
{
    std::int32_t yamada = changedOnBothSides();
    add("ｻﾄｳ", "佐藤 花子", "sato@example.jp"); // goes up in the run that finds the conflict
    int rows = 0;
    std::vector<std::string> captions; // as the record editor names the fields
    WhenModalShows<TALIKSYC>([&](TALIKSYC* window) {
        auto* table = window->findChild<QTableWidget*>("TableFields");
        rows = table->rowCount();
        for (int row = 0; row < table->rowCount(); ++row) {
            captions.push_back(table->item(row, 0)->text().toStdString());
            if (table->item(row, 0)->text() == "E-Mail") {
                EXPECT_EQ(table->item(row, 1)->text(), "ours@example.jp");
                EXPECT_EQ(table->item(row, 2)->text(), "theirs@example.jp");
                table->item(row, 2)->setCheckState(Qt::Checked);
            }
        }
        QTest::mouseClick(window->findChild<QPushButton*>("CommandFields"), Qt::LeftButton);
    });
    // Both runs counted: the first took 佐藤 up, the second the merged 山田.
    EXPECT_EQ(syncThroughWindow(), "この住所録: 追加 0・更新 0・削除 0／サーバー: 追加 1・更新 1・削除 0／競合 0");
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(captions, (std::vector<std::string>{"E-Mail", "ＴＥＬ１（住所１）"}));
    AddressRecord rec{};
    ExtraRecord extra{};
    ASSERT_TRUE(ReadRecord(state, yamada, rec, extra));
    EXPECT_EQ(GetText(rec.EMail), "theirs@example.jp");
    EXPECT_EQ(GetText(rec.Tel1), "03-1111-1111");
    std::string card = serverCardChanged("");
    EXPECT_NE(card.find("theirs@example.jp"), std::string::npos);
    EXPECT_NE(card.find("03-1111-1111"), std::string::npos);
}

TEST_F(SyncFormsTest, AConflictLeftForLaterChangesNeitherSide)
{
    std::int32_t yamada = changedOnBothSides();
    WhenModalShows<TALIKSYC>(
        [](TALIKSYC* window) { QTest::mouseClick(window->findChild<QPushButton*>("CommandLater"), Qt::LeftButton); });
    std::string told = syncThroughWindow();
    EXPECT_NE(told.find("この住所録: 追加 0・更新 0・削除 0／サーバー: 追加 0・更新 0・削除 0／競合 1\n"),
              std::string::npos)
        << told;
    EXPECT_NE(told.find("山田 太郎"), std::string::npos);
    AddressRecord rec{};
    ExtraRecord extra{};
    ASSERT_TRUE(ReadRecord(state, yamada, rec, extra));
    EXPECT_EQ(GetText(rec.EMail), "ours@example.jp");
    EXPECT_NE(serverCardChanged("").find("theirs@example.jp"), std::string::npos);
}

TEST(ConflictWindow, EnterLeavesThePersonForLater)
{
    SyncConflict conflict;
    ClearRecord(conflict.oursRec);
    ClearRecord(conflict.oursExtra);
    SetText(conflict.oursRec.KanjiName, "山田 太郎");
    conflict.theirsRec = conflict.oursRec;
    conflict.theirsExtra = conflict.oursExtra;
    SetText(conflict.theirsRec.EMail, "theirs@example.jp");
    conflict.name = "山田 太郎";
    TALIKSYC window(conflict);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_EQ(window.choice(), TALIKSYC::Choice::Later);
    EXPECT_EQ(window.result(), QDialog::Rejected);
}

// A server with a certificate of its own: the windows ask with its fingerprint and keep the key.
class TlsFormsTest : public StoreTest
{
protected:
    void SetUp() override
    {
        server = std::make_unique<DavServer>(DavServer::Kind::Radicale, true);
        if (!server->running()) {
            GTEST_SKIP() << "no Radicale or no openssl";
        }
        state.ProfileFolder = dir.str();
        load();
        ASSERT_NE(AddPerson(state, "ﾔﾏﾀﾞ", "山田 太郎"), 0);
    }
    std::vector<std::string> questions() const
    {
        std::vector<std::string> asked;
        for (const ShownMessage& shown : ui.shown) {
            if (shown.kind == "question") {
                asked.push_back(shown.text);
            }
        }
        return asked;
    }

    std::unique_ptr<DavServer> server;
    MemoryPasswordStore vault;
    SyncPasswords passwords{vault};
};

TEST_F(TlsFormsTest, TheConnectionTestAsksWithTheFingerprintAndOkKeepsTheAcceptedKey)
{
    TALIKSYN dialog(state, passwords);
    dialog.findChild<QLineEdit*>("TextUrl")->setText(QString::fromStdString(server->root()));
    dialog.findChild<QLineEdit*>("TextUser")->setText("alice");
    dialog.findChild<QLineEdit*>("TextPassword")->setText("secret");
    ui.yesNoAnswers = {true};
    TestConnection(dialog);
    ASSERT_EQ(questions().size(), 1u);
    EXPECT_NE(questions()[0].find(server->fingerprint()), std::string::npos) << questions()[0];
    EXPECT_EQ(dialog.findChild<QListWidget*>("ListBooks")->count(), 1);
    QTest::mouseClick(dialog.findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
    std::optional<SyncAccount> account = ReadSyncAccount(state);
    ASSERT_TRUE(account);
    EXPECT_EQ(account->pinnedKey, server->fingerprint());
}

TEST_F(TlsFormsTest, RefusingTheKeyListsNothingAndKeepsNone)
{
    TALIKSYN dialog(state, passwords);
    dialog.findChild<QLineEdit*>("TextUrl")->setText(QString::fromStdString(server->root()));
    dialog.findChild<QLineEdit*>("TextUser")->setText("alice");
    dialog.findChild<QLineEdit*>("TextPassword")->setText("secret");
    ui.yesNoAnswers = {false};
    TestConnection(dialog);
    EXPECT_EQ(dialog.findChild<QListWidget*>("ListBooks")->count(), 0);
    EXPECT_NE(dialog.findChild<QLabel*>("LabelStatus")->text().toStdString().find(server->fingerprint()),
              std::string::npos);
    QTest::mouseClick(dialog.findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
    std::optional<SyncAccount> account = ReadSyncAccount(state);
    ASSERT_TRUE(account);
    EXPECT_EQ(account->pinnedKey, "");
}

TEST_F(TlsFormsTest, TheAccountDialogNamesBothKeysOfAChangedCertificateAndTakesTheNewOneOnlyOnYes)
{
    const std::string old = server->fingerprint();
    ASSERT_TRUE(WriteSyncAccount(state, {server->root(), "", server->user(), ConflictRule::Skip, old}));
    ASSERT_TRUE(server->renewCertificate());
    TALIKSYN dialog(state, passwords);
    dialog.findChild<QLineEdit*>("TextPassword")->setText("secret");
    ui.yesNoAnswers = {false};
    TestConnection(dialog);
    ASSERT_EQ(questions().size(), 1u);
    EXPECT_NE(questions()[0].find(old), std::string::npos) << questions()[0];
    EXPECT_NE(questions()[0].find(server->fingerprint()), std::string::npos) << questions()[0];
    EXPECT_EQ(dialog.findChild<QListWidget*>("ListBooks")->count(), 0);
    ui.yesNoAnswers = {true};
    TestConnection(dialog);
    EXPECT_EQ(dialog.findChild<QListWidget*>("ListBooks")->count(), 1);
    QTest::mouseClick(dialog.findChild<QPushButton*>("CommandOK"), Qt::LeftButton);
    EXPECT_EQ(ReadSyncAccount(state)->pinnedKey, server->fingerprint());
}

TEST_F(TlsFormsTest, ARunWithoutAKeptKeyAsksThenSyncsAndAChangedKeyIsRefusedNamingBoth)
{
    ASSERT_TRUE(WriteSyncAccount(state, {server->book(), server->book(), server->user(), ConflictRule::Skip, ""}));
    vault.kept[{server->book(), server->user()}] = server->password();
    ui.yesNoAnswers = {true};
    {
        TALIKSYR window(state, passwords);
        EXPECT_TRUE(window.runSync());
    }
    ASSERT_EQ(questions().size(), 1u);
    EXPECT_NE(questions()[0].find(server->fingerprint()), std::string::npos) << questions()[0];
    EXPECT_EQ(ui.shown.back().text, "この住所録: 追加 0・更新 0・削除 0／サーバー: 追加 1・更新 0・削除 0／競合 0");
    const std::string accepted = server->fingerprint();
    EXPECT_EQ(ReadSyncAccount(state)->pinnedKey, accepted);

    ASSERT_TRUE(server->renewCertificate());
    {
        TALIKSYR window(state, passwords);
        EXPECT_TRUE(window.runSync());
    }
    EXPECT_EQ(questions().size(), 1u); // a changed key is not offered from here
    const std::string told = ui.shown.back().text;
    EXPECT_NE(told.find(accepted), std::string::npos) << told;
    EXPECT_NE(told.find(server->fingerprint()), std::string::npos) << told;
    EXPECT_EQ(ReadSyncAccount(state)->pinnedKey, accepted);
}

TEST_F(SyncFormsTest, WithoutAnAccountTheRunSaysWhereToSetOne)
{
    TALIKSYR window(state, passwords);
    EXPECT_FALSE(window.runSync());
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "同期先が設定されていません。「同期先の設定…」で設定してください。");
}

} // namespace
} // namespace talik::test
