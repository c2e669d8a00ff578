// vCard from the windows: the list window's import (file, check items, question, report, the new
// rows shown) and its export, and the result window's export of its rows.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTreeView>

#include <filesystem>
#include <fstream>
#include <memory>

#include <gtest/gtest.h>

#include "app/TALIKLST.h"
#include "editor/TALIKCHI.h"
#include "listwin/currentrecord.h"
#include "search/TALIKSRC.h"
#include "store/database.h"
#include "tests/support/formactions.h"
#include "tests/support/modal.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

const std::string TwoCards = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:青木 一郎\r\nX-PHONETIC-LAST-NAME:アオキ\r\n"
                             "X-PHONETIC-FIRST-NAME:イチロウ\r\nTEL;TYPE=cell:090-1\r\nEND:VCARD\r\n"
                             "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:読み無し\r\nEND:VCARD\r\n";

class VcardWindows : public StoreTest
{
protected:
    void SetUp() override
    {
        state.ProfileFolder = dir.str();
        load();
        addRecord("ｱﾍﾞ", "阿部");
        addRecord("ﾔﾏﾀﾞ", "山田");
        state.TablesLoaded = false;
    }
    std::string path(const char* name) const { return dir.str() + "/" + name; }
    std::unique_ptr<TALIKLST> openListWindow()
    {
        auto window = std::make_unique<TALIKLST>(state, launcher, nullptr);
        window->show();
        EXPECT_TRUE(window->loadIfNeeded());
        return window;
    }

    RecordingLauncher launcher;
};

TEST_F(VcardWindows, ImportFromTheListWindowStoresTheCardsAndShowsTheNewRows)
{
    auto window = openListWindow();
    ASSERT_TRUE(window->menus().PPVCardIn->isEnabled());
    std::ofstream(path("in.vcf"), std::ios::binary) << TwoCards;
    ui.fileAnswers = {path("in.vcf")};
    ui.yesNoAnswers = {true};
    bool busyMeanwhile = false;
    WhenModalShows<TALIKCHI>([&](TALIKCHI* dialog) {
        busyMeanwhile = state.Busy;
        ClickButton(dialog, "Command1_0");
    });
    window->menus().PPVCardIn->trigger();
    EXPECT_TRUE(busyMeanwhile);
    EXPECT_FALSE(state.Busy);
    ASSERT_EQ(ui.shown.size(), 3u);
    EXPECT_EQ(ui.shown[0].kind, "open file");
    EXPECT_EQ(ui.shown[0].title, "入力vCardファイル設定");
    EXPECT_EQ(ui.shown[1].text, path("in.vcf") + " から\rvCardデータを取込んでもよろしいですか？");
    EXPECT_EQ(ui.shown[1].title, "確認");
    EXPECT_EQ(ui.shown[2].text, "1 件のデータを取込みました。\r\n1 件はフリガナなしで取込めませんでした。\r\n"
                                "（フリガナなし：読み無し）");
    EXPECT_EQ(state.tables.TotalCount, 3);
    EXPECT_EQ(window->findChild<QTreeView*>("ListView1")->model()->rowCount(), 2); // ｱｵｷ beside ｱﾍﾞ
    state.CurRecNo = 4;
    ASSERT_TRUE(ReadCurrent(state));
    EXPECT_EQ(GetText(state.Rec.KanaName), "ｱｵｷ ｲﾁﾛｳ");
    EXPECT_EQ(GetText(state.Rec.Tel1), "090-1");
    EXPECT_EQ(PhoneKind(state.Rec, 0), 3);
}

TEST_F(VcardWindows, AFileThatIsNoVcardIsRefusedBeforeAnyDialog)
{
    auto window = openListWindow();
    const auto before = ReadFileText(mainPath());
    std::ofstream(path("in.csv"), std::ios::binary) << "\"ｱｵｷ\",\"青木\"\r\n";
    ui.fileAnswers = {path("in.csv")};
    window->menus().PPVCardIn->trigger();
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[1].text,
              "vCardファイルではありません。\r\n(BEGIN:VCARD の行がないため、何も取込みませんでした。)");
    EXPECT_EQ(ui.shown[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(ReadFileText(mainPath()), before);
    EXPECT_FALSE(state.Busy);
}

TEST_F(VcardWindows, ExportFromTheListWindowWritesEveryRecordInTheChosenVersion)
{
    auto window = openListWindow();
    ASSERT_TRUE(window->menus().PPVCardOut->isEnabled());
    ui.fileAnswers = {path("all.vcf")};
    ui.fileTypeAnswers = {1};
    ui.yesNoAnswers = {true};
    window->menus().PPVCardOut->trigger();
    const std::string text = ReadFileText(path("all.vcf"));
    EXPECT_TRUE(text.starts_with("BEGIN:VCARD\r\nVERSION:4.0\r\n")) << text;
    EXPECT_LT(text.find("FN:阿部"), text.find("FN:山田"));
    ASSERT_EQ(ui.shown.size(), 3u);
    EXPECT_EQ(ui.shown[0].title, "出力vCardファイルの設定");
    EXPECT_EQ(ui.shown[1].text, path("all.vcf") + " へ\r登録データを出力してもよろしいですか？");
    EXPECT_EQ(ui.shown[2].text, "2 件のデータが出力されました。");
    EXPECT_FALSE(state.Busy);
}

TEST_F(VcardWindows, TheResultWindowExportsItsRowsBesideItsCsvButton)
{
    load();
    ClearRecord(state.Rec);
    SetText(state.Rec.KanaName, "ﾔﾏ");
    TALIKSRC window(state, launcher);
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.findChild<QLabel*>("Label1")->text().isEmpty(); }, 5000));
    auto* button = window.findChild<QPushButton*>("CommandVcard");
    ASSERT_TRUE(button->isEnabled());
    EXPECT_EQ(button->text(), "vCard出力");
    ui.fileAnswers = {path("found.vcf")};
    ui.fileTypeAnswers = {0};
    ui.yesNoAnswers = {true};
    QTest::mouseClick(button, Qt::LeftButton);
    const std::string text = ReadFileText(path("found.vcf"));
    EXPECT_NE(text.find("VERSION:3.0\r\nN:山田;;;;\r\nFN:山田\r\nX-PHONETIC-LAST-NAME:ヤマダ\r\n"), std::string::npos)
        << text;
    EXPECT_EQ(text.find("阿部"), std::string::npos);
    ASSERT_EQ(ui.shown.size(), 3u);
    EXPECT_EQ(ui.shown[1].text, path("found.vcf") + " へ\r検索結果を出力してもよろしいですか？");
    EXPECT_EQ(ui.shown[2].text, "1件のデータが出力されました。");
}

} // namespace
} // namespace talik::test
