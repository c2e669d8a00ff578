// The list window's entries for backup and restore: the window takes no input while the dialog
// runs, and a restore that replaced the open database shows the restored data at once.
#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "app/TALIKLST.h"
#include "dbadmin/TALIKBKP.h"
#include "listwin/inputgate.h"
#include "store/database.h"
#include "tests/support/modal.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

namespace fs = std::filesystem;

TEST_F(StoreTest, ARestoreOfTheOpenDatabaseReloadsTheListAndTheWindowWaitsMeanwhile)
{
    state.ProfileFolder = dir.str();
    load();
    for (auto reading : {"ｱｵｷ", "ｶﾄｳ"}) {
        addRecord(reading);
    }
    TempDir backup;
    fs::copy_file(mainPath(), backup.path() / "MRPDAT01.qx1");
    fs::copy_file(extraPath(), backup.path() / "MRPDAT01.qx2");
    addRecord("ｻﾄｳ");
    // The data file is newer than the backup: the user is asked and agrees.
    ui.yesNoAnswers = {true};

    RecordingLauncher launcher;
    state.TablesLoaded = false;
    TALIKLST window(state, launcher, nullptr);
    window.show();
    ASSERT_TRUE(window.loadIfNeeded());
    ASSERT_EQ(state.tables.TotalCount, 3);

    bool busyMeanwhile = false;
    WhenModalShows<TALIKBKP>([&](TALIKBKP* dialog) {
        busyMeanwhile = state.Busy;
        auto* folder = dialog->findChild<QLineEdit*>("Text1");
        folder->setText(QString::fromStdString(backup.str()));
        QTest::keyClick(folder, Qt::Key_Return);
        auto* first = dialog->findChild<QCheckBox*>("Check1_0");
        EXPECT_TRUE(first->isEnabled());
        first->setChecked(true);
        QTest::mouseClick(dialog->findChild<QPushButton*>("Command4"), Qt::LeftButton);
    });
    window.findChild<QAction*>("PPRestore")->trigger();

    EXPECT_TRUE(busyMeanwhile);
    EXPECT_FALSE(state.Busy);
    EXPECT_EQ(state.tables.TotalCount, 2);
    EXPECT_EQ(state.texts.CountLabel, "登録数：2 件");
    // The replaced live pair is kept, and the report says where.
    EXPECT_TRUE(ui.messages().back().starts_with("処理は正常に終了しました。\n置き換える前のファイルは "))
        << ui.messages().back();
}

// Counts the keys that reach it.
class KeyCountingMenu : public QMenu
{
public:
    using QMenu::QMenu;
    int keys = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        ++keys;
        QMenu::keyPressEvent(event);
    }
};

TEST(InputGateOfDialogs, APopupOfADialogTakesKeysWhileTheWindowBehindIsClosed)
{
    QWidget window;
    bool closed = true;
    new InputGate(&window, closed);
    QDialog dialog(&window);
    KeyCountingMenu dialogPopup(&dialog); // as the folder chooser's place list is
    KeyCountingMenu windowPopup(&window);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(&dialogPopup, &key);
    QApplication::sendEvent(&windowPopup, &key);
    EXPECT_EQ(dialogPopup.keys, 1);
    EXPECT_EQ(windowPopup.keys, 0);
}

} // namespace
} // namespace talik::test
