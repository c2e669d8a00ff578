// The list column settings, driven for real: what they show, what OK writes, what cancel leaves.
#include <fstream>

#include <QCheckBox>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "listwin/TALIKSET.h"
#include "listwin/appstate.h"
#include "platform/profile.h"
#include "store/settings.h"
#include "tests/support/scripted.h"
#include "tests/support/tempdir.h"

namespace talik::test {
namespace {

class ListColumnSettings : public ::testing::Test
{
protected:
    ListColumnSettings()
    {
        state.ProfileFolder = dir.str();
        state.Mode = 3;
        // Another section and another key of the same section must survive the write.
        std::ofstream(iniPath()) << "[System]\r\nListSelTable1=0\r\n[System_03]\r\nListMode=1\r\n";
    }

    std::string iniPath() const { return dir.str() + "/QXSCH.INI"; }
    std::string iniText() const
    {
        auto bytes = ReadFileBytes(iniPath());
        return std::string(bytes.begin(), bytes.end());
    }
    QCheckBox* check(TALIKSET& dialog, int n) { return dialog.findChild<QCheckBox*>(QString("Check1_%1").arg(n)); }
    // Clicks the box itself: a check box spans the dialog's width but takes clicks on its box and
    // caption only.
    void tick(TALIKSET& dialog, int n)
    {
        QCheckBox* box = check(dialog, n);
        QStyleOptionButton option;
        option.initFrom(box);
        QTest::mouseClick(box, Qt::LeftButton, {},
                          box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).center());
    }

    // Opens the dialog modally and runs `script` on it once it is up.
    int run(TALIKSET& dialog, const std::function<void()>& script)
    {
        QTimer::singleShot(0, &dialog, script);
        return dialog.exec();
    }

    TempDir dir;
    ScriptedInteraction ui;
    FixedClock clock;
    AppState state{ui, clock};
};

TEST_F(ListColumnSettings, ShowsTheTwelveColumnsInTheirOrderTickedFromTheState)
{
    state.settings.Captions.name = "氏　　名"; // the field captions head the columns
    state.tables.columns.ColEnabled = {true, false, false, true};
    TALIKSET dialog(state);
    EXPECT_EQ(dialog.objectName(), "TALIKSET");
    EXPECT_EQ(dialog.windowTitle(), "一覧表示項目設定");
    const QStringList captions{"氏　　名", "電話番号１", "電話番号２", "E-Mail",   "分類コード", "郵便番号",
                               "住 所 １", "郵便番号",   "住 所 ２",   "勤 務 先", "部 署 名",   "備　　考"};
    for (int n = 1; n <= 12; ++n) {
        ASSERT_NE(check(dialog, n), nullptr) << n;
        EXPECT_EQ(check(dialog, n)->text(), captions[n - 1]) << n;
        EXPECT_EQ(check(dialog, n)->isChecked(), n == 1 || n == 4) << n;
    }
    EXPECT_EQ(dialog.findChild<QPushButton*>("Command1_0")->text(), "ＯＫ");
    EXPECT_EQ(dialog.findChild<QPushButton*>("Command1_1")->text(), "取り消し");
}

TEST_F(ListColumnSettings, OkStoresEveryFlagInTheStateAndInTheModesSection)
{
    TALIKSET dialog(state);
    int result = run(dialog, [&] {
        tick(dialog, 2);  // Tel1 off
        tick(dialog, 6);  // PostCode1 on
        tick(dialog, 12); // Remarks on
        QTest::mouseClick(dialog.findChild<QPushButton*>("Command1_0"), Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(dialog.columnsChanged());

    const std::array<bool, 12> expected{true,  false, false, false, false, true,
                                        false, false, false, false, false, true};
    EXPECT_EQ(state.tables.columns.ColEnabled, expected);
    EXPECT_EQ(state.settings.ListSelTable, expected);
    ProfileDocument written = ProfileDocument::load(iniPath());
    for (int n = 1; n <= 12; ++n) {
        EXPECT_EQ(written.value("System_03", "ListSelTable" + std::to_string(n)),
                  std::string(expected[n - 1] ? "1" : "0"))
            << n;
    }
    EXPECT_EQ(written.value("System_03", "ListMode"), "1");
    EXPECT_EQ(written.value("System", "ListSelTable1"), "0");
    EXPECT_TRUE(ui.shown.empty());

    // What was written is what the next start reads.
    Settings reread;
    ReadSettings(reread, iniPath(), dir.str() + "/talik.ini", 3);
    EXPECT_EQ(reread.ListSelTable, expected);
}

TEST_F(ListColumnSettings, ASettingsFileThatCannotBeWrittenIsToldAndTheChoiceHoldsForTheRun)
{
    std::ofstream(dir.path() / "not-a-folder") << "a file where the settings folder should be";
    state.ProfileFolder = dir.str() + "/not-a-folder";
    TALIKSET dialog(state);
    int result = run(dialog, [&] {
        tick(dialog, 2); // Tel1 off
        QTest::mouseClick(dialog.findChild<QPushButton*>("Command1_0"), Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_FALSE(state.tables.columns.ColEnabled[1]);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "設定ファイル（" + dir.str() +
                                    "/not-a-folder/QXSCH.INI）への書き込みに失敗しました。\r\n" +
                                    "ディスクの空き容量とアクセス権を確認してください。");
    EXPECT_EQ(ui.shown[0].icon, MessageIcon::Exclamation);
}

TEST_F(ListColumnSettings, CancelChangesNothing)
{
    const std::string before = iniText();
    TALIKSET dialog(state);
    int result = run(dialog, [&] {
        tick(dialog, 1);
        tick(dialog, 5);
        EXPECT_FALSE(check(dialog, 1)->isChecked());
        QTest::mouseClick(dialog.findChild<QPushButton*>("Command1_1"), Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_FALSE(dialog.columnsChanged());
    EXPECT_EQ(state.tables.columns.ColEnabled, (std::array<bool, 12>{true, true}));
    EXPECT_EQ(state.settings.ListSelTable, (std::array<bool, 12>{true, true}));
    EXPECT_EQ(iniText(), before);
}

} // namespace
} // namespace talik::test
