// The two CSV exports from their windows: the list window's menu entry and the result window's
// Command8, each with a scripted save dialog.
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "app/TALIKLST.h"
#include "search/TALIKSRC.h"
#include "store/database.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

std::size_t LineCount(const std::string& text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

class CsvExportWindows : public StoreTest
{
protected:
    void SetUp() override
    {
        state.ProfileFolder = dir.str();
        load();
        for (auto reading : {"ﾔﾏﾀﾞ", "ｱｵｷ", "ﾔﾏﾓﾄ"}) {
            addRecord(reading);
        }
        state.TablesLoaded = false;
    }
    std::string out() const { return dir.str() + "/out.csv"; }
    // The next save dialog picks `path` (nullopt: cancel) and file type `type`.
    void answerSaveDialog(std::optional<std::string> path, std::size_t type = 0)
    {
        ui.fileAnswers.push_back(std::move(path));
        ui.fileTypeAnswers.push_back(type);
    }

    RecordingLauncher launcher;
};

TEST_F(CsvExportWindows, TheListWindowsMenuEntryExportsEveryRecordAndTellsTheCount)
{
    TALIKLST window(state, launcher, nullptr);
    window.show();
    ASSERT_TRUE(window.loadIfNeeded());
    QAction* entry = window.menus().PPCSVOut;
    ASSERT_TRUE(entry->isEnabled());

    answerSaveDialog(out());
    ui.yesNoAnswers.push_back(true);
    entry->trigger();
    EXPECT_EQ(LineCount(ReadFileText(out())), 4u);
    ASSERT_EQ(ui.shown.size(), 3u);
    EXPECT_EQ(ui.shown[0].kind, "save file");
    EXPECT_EQ(ui.shown[0].title, "出力ＣＳＶファイルの設定");
    EXPECT_EQ(ui.shown[1].text, out() + " へ\r登録データを出力してもよろしいですか？");
    EXPECT_EQ(ui.shown[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(ui.shown[2].text, "3 件のデータが出力されました。");
    EXPECT_FALSE(state.Busy);
}

TEST_F(CsvExportWindows, CancelOrNoInTheListWindowWritesNothing)
{
    TALIKLST window(state, launcher, nullptr);
    window.show();
    ASSERT_TRUE(window.loadIfNeeded());
    answerSaveDialog(std::nullopt);
    window.menus().PPCSVOut->trigger();
    answerSaveDialog(out());
    ui.yesNoAnswers.push_back(false);
    window.menus().PPCSVOut->trigger();
    EXPECT_FALSE(std::filesystem::exists(out()));
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_FALSE(state.Busy);
}

TEST_F(CsvExportWindows, TheResultWindowExportsItsRowsInTheOrderShown)
{
    load();
    ClearRecord(state.Rec);
    SetText(state.Rec.KanaName, "ﾔﾏ");
    TALIKSRC window(state, launcher);
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.findChild<QLabel*>("Label1")->text().isEmpty(); }, 5000));
    auto* button = window.findChild<QPushButton*>("Command8");
    ASSERT_TRUE(button->isEnabled());

    answerSaveDialog(out(), 1);
    ui.yesNoAnswers.push_back(true);
    QTest::mouseClick(button, Qt::LeftButton);
    const std::string text = ReadFileText(out());
    EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(LineCount(text), 3u);
    EXPECT_LT(text.find("ﾔﾏﾀﾞ"), text.find("ﾔﾏﾓﾄ"));
    ASSERT_EQ(ui.shown.size(), 3u);
    EXPECT_EQ(ui.shown[0].title, "出力先ファイルの設定");
    EXPECT_EQ(ui.shown[1].text, out() + " へ\r検索結果を出力してもよろしいですか？");
    EXPECT_EQ(ui.shown[2].text, "2件のデータが出力されました。");

    // Cancel writes nothing.
    std::filesystem::remove(out());
    answerSaveDialog(std::nullopt);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(std::filesystem::exists(out()));
}

} // namespace
} // namespace talik::test
