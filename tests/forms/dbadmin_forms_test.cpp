// The database dialogs, driven for real: backup and restore, the folder chooser, database names,
// the password and move/copy of a search result.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "dbadmin/TALIKBKP.h"
#include "dbadmin/TALIKDBS.h"
#include "dbadmin/TALIKDMV.h"
#include "dbadmin/TALIKSTP.h"
#include "dbadmin/dbpassword.h"
#include "search/resultwindow.h"
#include "store/database.h"
#include "tests/support/storefixture.h"
#include "ui/TALIKDIR.h"

namespace talik::test {
namespace {

namespace fs = std::filesystem;

template <class T> T* Child(QWidget& form, const char* name)
{
    auto* child = form.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
}

void Click(QWidget& form, const char* name)
{
    QTest::mouseClick(Child<QPushButton>(form, name), Qt::LeftButton);
}

QCheckBox* DbBox(QWidget& form, int dbNo)
{
    return Child<QCheckBox>(form, ("Check1_" + std::to_string(dbNo - 1)).c_str());
}

class DbFormsTest : public StoreTest
{
protected:
    DbFormsTest()
    {
        state.ProfileFolder = profile.str();
        for (int n = 1; n <= 10; ++n) {
            state.settings.AddrDBName[n - 1] = "データベース" + std::to_string(n);
        }
        state.settings.AddrDBName[0] = "仕事";
        state.settings.AddrDBName[2] = "友人 & 家族";
    }
    void makeDatabase(const fs::path& folder, int dbNo, const char* ext1 = ".QX1", const char* ext2 = ".QX2")
    {
        char stem[16];
        std::snprintf(stem, sizeof(stem), "MRPDAT%02d", dbNo);
        WriteRecords((folder / (std::string(stem) + ext1)).string(),
                     {HandMainHeader(3), HandAddress("\xb1", "a"), HandAddress("\xb2", "b")});
        WriteRecords((folder / (std::string(stem) + ext2)).string(),
                     {HandExtraHeader(3), HandExtra(""), HandExtra("")});
    }
    TempDir profile;
    TempDir backup;
};

// --- TALIKBKP -----------------------------------------------------------------------------------

TEST_F(DbFormsTest, BackupOffersTheDatabasesWhosePairsExistUnderTheirNames)
{
    makeDatabase(dir.path(), 1);
    makeDatabase(dir.path(), 3);
    state.settings.BackupPath = backup.str() + "/";
    TALIKBKP form(state, true);
    form.show();
    EXPECT_EQ(form.windowTitle(), "バックアップ");
    EXPECT_EQ(Child<QGroupBox>(form, "Frame1")->title(), "バックアップするデータベース");
    EXPECT_EQ(Child<QLabel>(form, "Label1")->text(), "バックアップ先");
    EXPECT_EQ(Child<QLineEdit>(form, "Text1")->text().toStdString(), backup.str() + "/");
    EXPECT_EQ(DbBox(form, 1)->text(), "仕事");
    EXPECT_TRUE(DbBox(form, 1)->isEnabled());
    EXPECT_FALSE(DbBox(form, 2)->isEnabled());
    EXPECT_TRUE(DbBox(form, 3)->isEnabled());
    EXPECT_EQ(DbBox(form, 3)->text(), "友人 && 家族"); // shown as "友人 & 家族", not as a shortcut
    EXPECT_FALSE(Child<QCheckBox>(form, "Check2")->isEnabled());
    EXPECT_EQ(Child<QCheckBox>(form, "Check2")->text(), "システム環境設定ファイル");
    const char* captions[][2] = {{"Command1", "参照"},
                                 {"Command2", "全選択"},
                                 {"Command3", "全解除"},
                                 {"Command4", "開始"},
                                 {"Command5", "キャンセル"}};
    for (auto& [name, caption] : captions) {
        EXPECT_EQ(Child<QPushButton>(form, name)->text(), caption);
    }
    Click(form, "Command2");
    EXPECT_TRUE(DbBox(form, 1)->isChecked());
    EXPECT_FALSE(DbBox(form, 2)->isChecked());
    EXPECT_TRUE(DbBox(form, 3)->isChecked());
    Click(form, "Command3");
    EXPECT_FALSE(DbBox(form, 3)->isChecked());
}

TEST_F(DbFormsTest, AWindowsBackupFolderShowsTheHomeFolder)
{
    state.settings.BackupPath = "A:\\";
    TALIKBKP form(state, true);
    std::string shown = Child<QLineEdit>(form, "Text1")->text().toStdString();
    EXPECT_EQ(shown.find('\\'), std::string::npos);
    EXPECT_EQ(shown.back(), '/');
}

TEST_F(DbFormsTest, StartCopiesTheTickedDatabasesAndCloses)
{
    makeDatabase(dir.path(), 1);
    makeDatabase(dir.path(), 3);
    TALIKBKP form(state, true);
    form.show();
    Child<QLineEdit>(form, "Text1")->setText(QString::fromStdString(backup.str()));
    DbBox(form, 3)->setChecked(true);
    Click(form, "Command4");
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"処理は正常に終了しました。"}));
    EXPECT_TRUE(fs::exists(backup.path() / "MRPDAT03.qx1"));
    EXPECT_FALSE(fs::exists(backup.path() / "MRPDAT01.qx1"));
    EXPECT_EQ(form.outcome().done, (std::vector<int>{3}));
}

TEST_F(DbFormsTest, TheDataFolderIsRefusedAndTheDialogStaysOpen)
{
    makeDatabase(dir.path(), 1);
    TALIKBKP form(state, true);
    form.show();
    Child<QLineEdit>(form, "Text1")->setText(QString::fromStdString(dir.str() + "/."));
    DbBox(form, 1)->setChecked(true);
    Click(form, "Command4");
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"データパスと同じ場所の指定は無効です。"}));
}

TEST_F(DbFormsTest, CancelCopiesNothing)
{
    makeDatabase(dir.path(), 1);
    TALIKBKP form(state, true);
    form.show();
    Child<QLineEdit>(form, "Text1")->setText(QString::fromStdString(backup.str()));
    DbBox(form, 1)->setChecked(true);
    Click(form, "Command5");
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_TRUE(fs::is_empty(backup.path()));
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(DbFormsTest, RestoreOffersNothingUntilAFolderIsChosen)
{
    makeDatabase(backup.path(), 2, ".qx1", ".qx2");
    makeDatabase(backup.path(), 4, ".qx1", ".qx2");
    TALIKBKP form(state, false);
    form.show();
    EXPECT_EQ(form.windowTitle(), "復元");
    EXPECT_EQ(Child<QGroupBox>(form, "Frame1")->title(), "復元するデータベース");
    EXPECT_EQ(Child<QLabel>(form, "Label1")->text(), "復元もと");
    for (int n = 1; n <= 10; ++n) {
        EXPECT_EQ(DbBox(form, n)->text().toStdString(), "データベース" + std::to_string(n));
        EXPECT_FALSE(DbBox(form, n)->isEnabled());
    }
    ui.fileAnswers = {backup.str()};
    Click(form, "Command1");
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].kind, "folder");
    EXPECT_EQ(Child<QLineEdit>(form, "Text1")->text().toStdString(), backup.str() + "/");
    EXPECT_EQ(state.settings.BackupPath, backup.str() + "/");
    for (int n = 1; n <= 10; ++n) {
        EXPECT_EQ(DbBox(form, n)->isEnabled(), n == 2 || n == 4) << n;
    }
    Click(form, "Command2");
    Click(form, "Command4");
    EXPECT_EQ(form.outcome().done, (std::vector<int>{2, 4}));
    EXPECT_TRUE(fs::exists(dir.path() / "MRPDAT02.QX1"));
}

TEST_F(DbFormsTest, RestoreOffersTheRememberedFoldersPairsAtOnce)
{
    makeDatabase(backup.path(), 2, ".qx1", ".qx2");
    state.settings.BackupPath = backup.str() + "/";
    TALIKBKP form(state, false);
    form.show();
    for (int n = 1; n <= 10; ++n) {
        EXPECT_EQ(DbBox(form, n)->isEnabled(), n == 2) << n;
    }
    EXPECT_FALSE(Child<QCheckBox>(form, "Check2")->isEnabled()); // the running program owns its settings
}

TEST_F(DbFormsTest, StartWithNothingTickedKeepsTheDialogOpenWithAMessage)
{
    makeDatabase(dir.path(), 1);
    TALIKBKP form(state, true);
    form.show();
    Child<QLineEdit>(form, "Text1")->setText(QString::fromStdString(backup.str()));
    Click(form, "Command4");
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"バックアップするデータベースを選択してください。"}));
    EXPECT_TRUE(fs::is_empty(backup.path()));
}

TEST_F(DbFormsTest, AMissingBackupFolderIsOfferedAndMadeWhenTheUserAgrees)
{
    makeDatabase(dir.path(), 1);
    const std::string target = backup.str() + "/new/deeper";
    TALIKBKP form(state, true);
    form.show();
    Child<QLineEdit>(form, "Text1")->setText(QString::fromStdString(target));
    DbBox(form, 1)->setChecked(true);
    ui.yesNoAnswers = {false};
    Click(form, "Command4");
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(fs::exists(target));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "フォルダー（" + target + "）が見つかりません。\r\n作成しますか？");

    ui.yesNoAnswers = {true};
    Click(form, "Command4");
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_TRUE(fs::exists(fs::path(target) / "MRPDAT01.qx1"));
}

TEST_F(DbFormsTest, TheSettingsFileCanBeBackedUpWhereThereIsOne)
{
    makeDatabase(dir.path(), 1);
    std::ofstream(profile.path() / "QXSCH.INI") << "[QXSCH]\r\nAddrDBName1=仕事\r\n";
    TALIKBKP form(state, true);
    form.show();
    Child<QLineEdit>(form, "Text1")->setText(QString::fromStdString(backup.str()));
    auto* settings = Child<QCheckBox>(form, "Check2");
    ASSERT_TRUE(settings->isEnabled());
    settings->setChecked(true); // the settings file alone is something to do
    Click(form, "Command4");
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_TRUE(form.outcome().settingsCopied);
    EXPECT_TRUE(fs::exists(backup.path() / "QXSCH.INI"));
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"処理は正常に終了しました。"}));
}

// --- TALIKDIR -----------------------------------------------------------------------------------

TEST_F(DbFormsTest, TheFolderChooserListsItsPlacesAndReturnsTheShownFolder)
{
    fs::create_directories(backup.path() / "sub");
    std::vector<FolderPlace> places = {{"ホーム", backup.str()}, {"/", "/"}};
    TALIKDIR form("フォルダー選択", (backup.path() / "sub").string(), nullptr, places);
    form.show();
    EXPECT_EQ(form.windowTitle(), "フォルダー選択");
    auto* drive = Child<QComboBox>(form, "Drive1");
    ASSERT_EQ(drive->count(), 2);
    EXPECT_EQ(drive->currentIndex(), 0);
    EXPECT_EQ(Child<QLabel>(form, "Label1")->text().toStdString(), (backup.path() / "sub").string());
    EXPECT_EQ(Child<QPushButton>(form, "Command1")->text(), "ＯＫ");
    EXPECT_EQ(Child<QPushButton>(form, "Command2")->text(), "キャンセル");
    drive->setCurrentIndex(1);
    EXPECT_EQ(Child<QLabel>(form, "Label1")->text(), "/");
    drive->setCurrentIndex(0);
    Click(form, "Command1");
    EXPECT_EQ(form.chosen(), backup.str());
}

TEST_F(DbFormsTest, TheFolderChooserCancelledChoosesNothing)
{
    TALIKDIR form("フォルダー選択", backup.str(), nullptr, {{"ホーム", backup.str()}});
    form.show();
    Click(form, "Command2");
    EXPECT_FALSE(form.chosen());
}

TEST(FolderPlaces, HomeRootAndMountedMediaInOrder)
{
    TempDir root;
    fs::create_directories(root.path() / "media/u/USB B");
    fs::create_directories(root.path() / "media/u/USB A");
    fs::create_directories(root.path() / "run/media/u/SD");
    fs::create_directories(root.path() / "mnt/share");
    auto places = FolderPlaces(root.str() + "/", "u", root.str());
    std::vector<std::string> paths;
    for (const auto& place : places) {
        paths.push_back(place.path);
    }
    EXPECT_EQ(paths,
              (std::vector<std::string>{root.str(), "/", root.str() + "/media/u/USB A", root.str() + "/media/u/USB B",
                                        root.str() + "/run/media/u/SD", root.str() + "/mnt/share"}));
    EXPECT_EQ(PlaceOf(places, root.str() + "/media/u/USB B/backup"), 3u);
    EXPECT_EQ(PlaceOf(places, "/etc"), 1u);
    EXPECT_EQ(PlaceOf(places, root.str() + "/x"), 0u);
}

// --- TALIKDBS -----------------------------------------------------------------------------------

TEST_F(DbFormsTest, NamesAreRegisteredFromTheTenBoxes)
{
    TALIKDBS form(state);
    form.show();
    EXPECT_EQ(form.windowTitle(), "データベース名設定");
    EXPECT_EQ(Child<QLineEdit>(form, "Text1_0")->text(), "仕事");
    EXPECT_EQ(Child<QPushButton>(form, "Command1")->text(), "登録");
    EXPECT_EQ(Child<QPushButton>(form, "Command2")->text(), "取り消し");
    Child<QLineEdit>(form, "Text1_2")->setText(" 友人 ");
    Child<QLineEdit>(form, "Text1_0")->clear();
    state.TablesLoaded = true;
    state.DbNo = 3;
    Click(form, "Command1");
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(state.settings.AddrDBName[2], "友人");
    EXPECT_EQ(state.settings.AddrDBName[0], "データベース1");
    EXPECT_EQ(state.texts.DbName, "友人"); // the list window shows the open database's new name
    EXPECT_TRUE(fs::exists(profile.path() / "QXSCH.INI"));
}

TEST_F(DbFormsTest, NamesCancelledOrRefusedChangeNothing)
{
    TALIKDBS form(state);
    form.show();
    Child<QLineEdit>(form, "Text1_1")->setText(QString(80, 'x'));
    Click(form, "Command1");
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(ui.messages().size(), 1u);
    Click(form, "Command2");
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_EQ(state.settings.AddrDBName[1], "データベース2");
    EXPECT_FALSE(fs::exists(profile.path() / "QXSCH.INI"));
}

// --- TALIKSTP -----------------------------------------------------------------------------------

TEST_F(DbFormsTest, AWrongConfirmationKeepsThePasswordDialogOpenAndTheFileAsItWas)
{
    makeDatabase(dir.path(), 1);
    load();
    auto before = ReadFileBytes(mainPath());
    TALIKSTP form(state);
    form.show();
    EXPECT_EQ(form.windowTitle(), "パスワード設定");
    EXPECT_EQ(Child<QPushButton>(form, "Command1")->text(), "OK");
    EXPECT_EQ(Child<QPushButton>(form, "Command2")->text(), "取消し");
    QTest::keyClicks(Child<QLineEdit>(form, "Text1_0"), "abc");
    QTest::keyClicks(Child<QLineEdit>(form, "Text1_1"), "abd");
    Click(form, "Command1");
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"確認のパスワードが正しくありません。"}));
    EXPECT_EQ(ReadFileBytes(mainPath()), before);
    Click(form, "Command2");
    EXPECT_EQ(ReadFileBytes(mainPath()), before);
}

TEST_F(DbFormsTest, AMatchingPasswordIsStoredAndAskedAtTheNextOpening)
{
    makeDatabase(dir.path(), 1);
    load();
    TALIKSTP form(state);
    form.show();
    QTest::keyClicks(Child<QLineEdit>(form, "Text1_0"), "abc");
    QTest::keyClicks(Child<QLineEdit>(form, "Text1_1"), "abc");
    Click(form, "Command1");
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"パスワードを設定しました。"}));
    ui.passwordAnswers = {std::string("abc")};
    load();
    EXPECT_TRUE(ui.passwordAnswers.empty());
}

TEST_F(DbFormsTest, EnterOnEmptyBoxesAsksBeforeRemovingThePasswordAndTellsWhatItDid)
{
    makeDatabase(dir.path(), 1);
    load();
    ASSERT_TRUE(SetDatabasePassword(state, "abc"));
    const auto protectedFile = ReadFileBytes(mainPath());
    {
        TALIKSTP form(state);
        form.show();
        ui.yesNoAnswers = {false};
        QTest::keyClick(Child<QLineEdit>(form, "Text1_0"), Qt::Key_Return);
        EXPECT_TRUE(form.isVisible());
        ASSERT_EQ(ui.shown.size(), 1u);
        EXPECT_EQ(ui.shown[0].kind, "question");
        EXPECT_EQ(ui.shown[0].text, "パスワードが入力されていません。\r\nパスワードを解除してもよろしいですか？");
        EXPECT_EQ(ReadFileBytes(mainPath()), protectedFile);

        ui.yesNoAnswers = {true};
        QTest::keyClick(Child<QLineEdit>(form, "Text1_0"), Qt::Key_Return);
        EXPECT_EQ(form.result(), QDialog::Accepted);
        EXPECT_EQ(ui.messages().back(), "パスワードを解除しました。");
    }
    load(); // no prompt: the protection is gone
}

// --- TALIKDMV -----------------------------------------------------------------------------------

TEST_F(DbFormsTest, TheOpenDatabaseCannotBeTheTargetAndCancelMovesNothing)
{
    makeDatabase(dir.path(), 1);
    load();
    ListModel results;
    results.add({RecordKey(2), "ｱ", {}});
    auto before = ReadFileBytes(mainPath());
    TALIKDMV form(state, results);
    form.show();
    EXPECT_EQ(form.windowTitle(), "他ＤＢへの移動／複写");
    EXPECT_EQ(Child<QGroupBox>(form, "Frame1")->title(), "移動／複写の選択");
    auto* list = Child<QListWidget>(form, "List1");
    ASSERT_EQ(list->count(), 10);
    EXPECT_EQ(list->item(0)->text(), "仕事");
    auto* execute = Child<QPushButton>(form, "Command1");
    EXPECT_EQ(execute->text(), "実行");
    EXPECT_FALSE(execute->isEnabled());
    list->setCurrentRow(0);
    EXPECT_FALSE(execute->isEnabled());
    EXPECT_EQ(form.targetDbNo(), 0);
    list->setCurrentRow(1);
    EXPECT_TRUE(execute->isEnabled());
    EXPECT_EQ(form.targetDbNo(), 2);
    Child<QRadioButton>(form, "Option1_0")->click();
    EXPECT_TRUE(form.moveMode());
    Click(form, "Command2");
    EXPECT_FALSE(form.moveMode());
    EXPECT_EQ(ReadFileBytes(mainPath()), before);
    EXPECT_FALSE(fs::exists(dir.path() / "MRPDAT02.QX1"));
}

TEST_F(DbFormsTest, MoveTakesTheListedRecordsToTheChosenDatabase)
{
    makeDatabase(dir.path(), 1);
    load();
    ListModel results;
    results.add({RecordKey(2), "ｱ", {}});
    results.add({RecordKey(3), "ｲ", {}});
    // The result window that owns the list follows the change the move publishes.
    Subscription follow(state.changes,
                        [&](const RecordChanges& changes) { ReflectInResults(state, results, changes, false); });
    TALIKDMV form(state, results);
    form.show();
    EXPECT_TRUE(Child<QRadioButton>(form, "Option1_1")->isChecked());
    Child<QListWidget>(form, "List1")->setCurrentRow(4);
    Child<QRadioButton>(form, "Option1_0")->click();
    // A move deletes from the open database: asked first, and No keeps everything.
    ui.yesNoAnswers = {false};
    Click(form, "Command1");
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(results.size(), 2u);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text,
              "2 件のデータを「" + state.settings.AddrDBName[4] +
                  "」へ移動します。\r\n移動したデータはこのデータベースから削除されます。よろしいですか？");
    ui.yesNoAnswers = {true};
    Click(form, "Command1");
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.outcome().done, 2);
    EXPECT_EQ(ui.messages().back(), "2 件のデータを「" + state.settings.AddrDBName[4] + "」へ移動しました。");
    EXPECT_TRUE(results.empty());
    EXPECT_EQ(state.tables.TotalCount, 0);
    state.DbNo = 5;
    load();
    EXPECT_EQ(state.tables.TotalCount, 2);
}

} // namespace
} // namespace talik::test
