// E-mail: the mailto URL built safely, the desktop's mailto handler found through mimeapps.list,
// single and bulk mail with their questions.
#include <gtest/gtest.h>

#include <fstream>

#include "editor/mail.h"
#include "listwin/currentrecord.h"
#include "platform/mailhandler.h"
#include "store/database.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

void WriteText(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

TEST(MailtoUrl, AddressesArePercentEncodedAndJoinedByComma)
{
    EXPECT_EQ(MailtoUrl({"a&b?cc=x@evil#f@example.jp"}), "mailto:a%26b%3Fcc%3Dx@evil%23f@example.jp");
    EXPECT_EQ(MailtoUrl({"taro.y_1-2~@ex.jp", "花子@ex.jp"}), "mailto:taro.y_1-2~@ex.jp,%E8%8A%B1%E5%AD%90@ex.jp");
    EXPECT_EQ(MailtoUrl({"a b@x", "c,d@y"}, true), "mailto:?bcc=a%20b@x,c%2Cd@y");
    EXPECT_EQ(SplitAddresses(" a@x ; b@y,c@z ;; "), (std::vector<std::string>{"a@x", "b@y", "c@z"}));
    EXPECT_TRUE(SplitAddresses("  ").empty());
}

TEST(MailtoUrl, OverLongUrlsAreRefusedWithTheirCount)
{
    std::string url(MaxMailtoLength, 'x');
    EXPECT_EQ(TooManyRecipients(url, 3), "");
    EXPECT_EQ(TooManyRecipients(url + "x", 3), "宛先が多すぎます（3 件）。");
}

TEST(ExecLine, SplitByTheDesktopEntryRules)
{
    const std::string url = "mailto:a@x";
    EXPECT_EQ(ExpandExec("thunderbird -compose %u", url), (std::vector<std::string>{"thunderbird", "-compose", url}));
    EXPECT_EQ(ExpandExec(R"("/opt/my mail/bin" --to=%U %i %c %%x)", url),
              (std::vector<std::string>{"/opt/my mail/bin", "--to=" + url, "%x"}));
    EXPECT_EQ(ExpandExec(R"(sh -c "echo \"$HOME\"")", url),
              (std::vector<std::string>{"sh", "-c", "echo \"$HOME\"", url})); // no %u: the URL is appended
    EXPECT_FALSE(ExpandExec(R"(mail "open)", url).has_value());
    EXPECT_FALSE(ExpandExec("   ", url).has_value());
}

class MailHandlerLookup : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folders.configDirs = {dir.str() + "/config", dir.str() + "/etcxdg"};
        folders.dataDirs = {dir.str() + "/data", dir.str() + "/usr"};
        WriteText(dir.path() / "usr/applications/fakemail.desktop",
                  "[Desktop Entry]\nName=Fake\nExec=fakemail --compose %u\n[Desktop Action New]\nExec=wrong\n");
        WriteText(dir.path() / "usr/applications/other.desktop", "[Desktop Entry]\nExec=othermail %U\n");
    }
    TempDir dir;
    XdgFolders folders;
};

TEST_F(MailHandlerLookup, TheFirstListNamingAnInstalledHandlerWins)
{
    EXPECT_FALSE(MailHandlerCommand("mailto:a@x", folders).has_value());
    WriteText(dir.path() / "usr/applications/mimeapps.list",
              "[Default Applications]\nx-scheme-handler/mailto=other.desktop\n");
    EXPECT_EQ(MailHandlerCommand("mailto:a@x", folders), (std::vector<std::string>{"othermail", "mailto:a@x"}));
    // The user's own list comes first; an entry that is not installed is passed over.
    WriteText(dir.path() / "config/mimeapps.list",
              "[Added Associations]\nx-scheme-handler/mailto=other.desktop\n"
              "[Default Applications]\nx-scheme-handler/mailto=missing.desktop;fakemail.desktop;\n");
    EXPECT_EQ(MailHandlerCommand("mailto:a@x", folders),
              (std::vector<std::string>{"fakemail", "--compose", "mailto:a@x"}));
}

class MailCommands : public StoreTest
{
protected:
    void SetUp() override
    {
        load();
        for (auto [reading, mail] : {std::pair{"ｱ", "a@x.jp"}, {"ｲ", ""}, {"ｳ", "u@x.jp; u2@x.jp"}}) {
            ClearRecord(state.Rec);
            ClearRecord(state.Extra);
            SetText(state.Rec.KanaName, reading);
            SetText(state.Rec.EMail, mail);
            state.CurRecNo = 0;
            ASSERT_TRUE(SaveCurrent(state));
            recNos.push_back(state.CurRecNo);
        }
        for (std::int32_t recNo : recNos) {
            state.MainList.add({RecordKey(recNo), "", {}});
        }
    }
    RecordingLauncher launcher;
    XdgFolders none; // no handler: the opener takes the URL
    std::vector<std::int32_t> recNos;
};

TEST_F(MailCommands, BulkMailSkipsBlankAddressesAfterOneQuestion)
{
    ui.yesNoAnswers.push_back(true);
    ASSERT_TRUE(MailList(state, launcher, state.MainList, 0, 2, false, none));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "E-Mailアドレスが入力されていない方がいますが続けますか？");
    EXPECT_EQ(ui.shown[0].title, "確認");
    EXPECT_EQ(launcher.opened, (std::vector<std::string>{"mailto:a@x.jp,u@x.jp,u2@x.jp"}));

    ui.yesNoAnswers.push_back(true);
    ASSERT_TRUE(MailList(state, launcher, state.MainList, 0, 2, true, none));
    EXPECT_EQ(launcher.opened.back(), "mailto:?bcc=a@x.jp,u@x.jp,u2@x.jp");
}

TEST_F(MailCommands, NoStartsNothingAndAllBlankIsTold)
{
    ui.yesNoAnswers.push_back(false);
    EXPECT_FALSE(MailList(state, launcher, state.MainList, 0, 2, false, none));
    EXPECT_TRUE(launcher.opened.empty());

    ui.yesNoAnswers.push_back(true);
    EXPECT_FALSE(MailList(state, launcher, state.MainList, 1, 1, false, none));
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"E-Mailアドレスがすべて入力されていません。"}));
    EXPECT_TRUE(launcher.opened.empty());
}

TEST_F(MailCommands, SingleMailTellsAMissingAddressAndAFailedStart)
{
    state.CurRecNo = recNos[1];
    EXPECT_FALSE(MailCurrentRecord(state, launcher, none));
    EXPECT_EQ(ui.messages().back(), "E-Mailアドレスが入力されていません。");

    state.CurRecNo = recNos[0];
    launcher.answer = false;
    EXPECT_FALSE(MailCurrentRecord(state, launcher, none));
    EXPECT_EQ(ui.messages().back(), "メールを起動できません。");
}

TEST_F(MailCommands, TheDesktopHandlerIsStartedWithTheUrlAsOneArgument)
{
    XdgFolders folders{{dir.str() + "/cfg"}, {dir.str() + "/share"}, {}};
    WriteText(dir.path() / "cfg/mimeapps.list", "[Default Applications]\nx-scheme-handler/mailto=m.desktop\n");
    WriteText(dir.path() / "share/applications/m.desktop", "[Desktop Entry]\nExec=mymail %u\n");
    ASSERT_TRUE(MailFromEditor(state, launcher, " a&b@x.jp ", folders));
    EXPECT_EQ(launcher.started, (std::vector<std::string>{"mymail"}));
    EXPECT_EQ(launcher.arguments[0], (std::vector<std::string>{"mailto:a%26b@x.jp"}));
    EXPECT_TRUE(launcher.opened.empty());
    EXPECT_FALSE(MailFromEditor(state, launcher, "  ", folders)); // blank: nothing at all
    EXPECT_EQ(launcher.started.size(), 1u);
}

} // namespace
} // namespace talik::test
