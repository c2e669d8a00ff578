// The dialogs of the popup commands driven for real: the copy settings TALIKCPY, the remarks
// extra data TALIKTXT, the related file TALIKLNK and the version window.
#include <cstring>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/TALIKIN.h"
#include "editor/TALIKLNK.h"
#include "editor/TALIKTXT.h"
#include "editor/popupcommands.h"
#include "listwin/TALIKCPY.h"
#include "listwin/appstate.h"
#include "listwin/listmenus.h"
#include "tests/support/formactions.h"
#include "tests/support/modal.h"
#include "tests/support/scripted.h"
#include "ui/qtinteraction.h"

namespace talik::test {
namespace {

class PopupForms : public ::testing::Test
{
protected:
    PopupForms()
    {
        ClearRecord(state.Rec);
        ClearRecord(state.Extra);
    }
    template <class T> T* child(QWidget& form, const char* name)
    {
        T* found = form.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    // Opens `dialog` modally and runs `script` on it once it is up.
    template <class D> int run(D& dialog, const std::function<void()>& script)
    {
        QTimer::singleShot(0, &dialog, script);
        return dialog.exec();
    }

    ScriptedInteraction ui;
    FixedClock clock;
    AppState state{ui, clock};
    RecordingLauncher launcher;
};

TEST_F(PopupForms, CopySettingsShowTheDefinitionAndStoreItClosedUp)
{
    state.settings.Copy[0] = {"宛名", "020702"};
    state.settings.Copy[1] = {"電話", "010208"};
    TALIKCPY dialog(state);
    EXPECT_EQ(dialog.windowTitle(), "コピー項目設定");
    auto* setting = child<QComboBox>(dialog, "Combo2");
    ASSERT_EQ(setting->count(), 4);
    EXPECT_EQ(setting->itemText(0), "01設定");
    EXPECT_EQ(setting->itemText(3), "04設定");
    EXPECT_EQ(child<QLineEdit>(dialog, "Text1")->text(), "宛名");
    EXPECT_TRUE(child<QRadioButton>(dialog, "Option1_2")->isChecked());
    auto* first = child<QComboBox>(dialog, "Combo1_0");
    auto* second = child<QComboBox>(dialog, "Combo1_1");
    ASSERT_EQ(first->count(), 19);  // "- なし -" and the 18 items
    EXPECT_EQ(second->count(), 18); // every item but the related file
    EXPECT_EQ(first->itemText(0), "- なし -");
    EXPECT_EQ(first->itemText(8), "ＴＥＬ１");
    EXPECT_EQ(first->itemText(18), "関連情報");
    EXPECT_EQ(first->currentIndex(), 7);
    EXPECT_EQ(second->currentIndex(), 2);
    EXPECT_EQ(child<QComboBox>(dialog, "Combo1_2")->currentIndex(), 0);

    // Slot 1 emptied, slot 4 given the e-mail: the items close up.
    first->setCurrentIndex(0);
    child<QComboBox>(dialog, "Combo1_3")->setCurrentIndex(3);
    child<QRadioButton>(dialog, "Option1_1")->setChecked(true);
    setting->setCurrentIndex(1); // switching stores the shown setting first
    EXPECT_EQ(state.settings.Copy[0].parm, "010203");
    EXPECT_EQ(child<QLineEdit>(dialog, "Text1")->text(), "電話");
    EXPECT_EQ(second->currentIndex(), 8);

    run(dialog, [&] {
        TypeText(child<QLineEdit>(dialog, "Text1"), "&FAX");
        child<QComboBox>(dialog, "Combo1_1")->setCurrentIndex(9);
        QTest::mouseClick(child<QPushButton>(dialog, "Command1_0"), Qt::LeftButton);
    });
    EXPECT_EQ(state.EditStatus, 'S');
    EXPECT_EQ(state.settings.Copy[1].title, "電話&FAX");
    EXPECT_EQ(state.settings.Copy[1].parm, "010209");
}

TEST_F(PopupForms, CopySettingsCancelKeepsTypedNamesOnlyAndNamesHoldThirtyBytes)
{
    state.settings.Copy[2] = {"三", "0201"};
    state.EditStatus = ' ';
    TALIKCPY dialog(state);
    run(dialog, [&] {
        child<QComboBox>(dialog, "Combo2")->setCurrentIndex(2);
        auto* name = child<QLineEdit>(dialog, "Text1");
        name->clear();
        TypeText(name, QString(20, QChar(0x6F22))); // 20 double-byte characters: only 15 fit
        child<QComboBox>(dialog, "Combo1_0")->setCurrentIndex(5);
        QTest::mouseClick(child<QPushButton>(dialog, "Command1_1"), Qt::LeftButton);
    });
    EXPECT_EQ(state.EditStatus, ' ');
    EXPECT_EQ(state.settings.Copy[2].title, Us(QString(15, QChar(0x6F22))));
    EXPECT_EQ(state.settings.Copy[2].parm, "0201");
}

TEST_F(PopupForms, EveryCloseOfTheCopySettingsRecaptionsTheEntries)
{
    QWidget owner;
    RecordMenu menu = BuildRecordMenu(&owner, "SPM", "SPM");
    state.settings.Copy[0].title = "old";
    WhenModalShows<TALIKCPY>([this](TALIKCPY* dialog) {
        auto* name = dialog->findChild<QLineEdit*>("Text1");
        name->clear();
        TypeText(name, "A&B");
        dialog->findChild<QPushButton*>("Command1_1")->click(); // cancel: the typed name stays
    });
    EditCopySettings(state, &owner, menu);
    EXPECT_EQ(menu.Copy_Sel[0]->text(), "A&&B"); // shown as "A&B", no access key
}

TEST_F(PopupForms, RemarksAreShownWithLfStoredWithCrLfAndNeverCutSilently)
{
    SetText(state.Extra.RemarksExtra, "一行目\r\n二行目");
    TALIKTXT dialog(state, false);
    EXPECT_EQ(dialog.windowTitle(), "備考追加データ");
    auto* text = child<QPlainTextEdit>(dialog, "Text1");
    EXPECT_EQ(text->toPlainText(), "一行目\n二行目");
    run(dialog, [&] {
        text->setPlainText(QString(201, QChar(0x6F22))); // 402 bytes
        ui.yesNoAnswers.push_back(false);
        QTest::mouseClick(child<QPushButton>(dialog, "Command1"), Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible()); // declined: still open, nothing stored
        EXPECT_EQ(GetText(state.Extra.RemarksExtra), "一行目\r\n二行目");
        text->setPlainText("三行目\n四行目");
        QTest::keyClick(&dialog, Qt::Key_Escape); // Escape closes as 閉じる does
    });
    EXPECT_EQ(GetText(state.Extra.RemarksExtra), "三行目\r\n四行目");
    EXPECT_EQ(ui.shown.size(), 1u);
}

TEST_F(PopupForms, RemarksCopyToTheClipboardAndViewModeChangesNothing)
{
    SetText(state.Extra.RemarksExtra, "memo");
    ExtraRecord before = state.Extra;
    TALIKTXT dialog(state, true);
    auto* text = child<QPlainTextEdit>(dialog, "Text1");
    EXPECT_TRUE(text->isReadOnly());
    QApplication::clipboard()->setText("old");
    QTest::mouseClick(child<QPushButton>(dialog, "Command2"), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), "memo");
    text->setPlainText("changed anyway");
    dialog.close();
    EXPECT_EQ(std::memcmp(&state.Extra, &before, sizeof(before)), 0);

    ClearRecord(state.Extra);
    TALIKTXT empty(state, false);
    QTest::mouseClick(empty.findChild<QPushButton*>("Command2"), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), ""); // an empty box leaves the clipboard empty
}

TEST_F(PopupForms, TheRelatedFileIsChosenOrTypedAndStoredWholeOrNotAtAll)
{
    SetText(state.Extra.RelatedInfo, "/home/u/old.txt");
    {
        TALIKLNK dialog(state, false);
        EXPECT_EQ(dialog.windowTitle(), "関連情報ファイルの設定");
        EXPECT_EQ(child<QLineEdit>(dialog, "Text1")->text(), "/home/u/old.txt");
        ui.fileAnswers.push_back(std::string("/home/u/new.doc"));
        run(dialog, [&] {
            QTest::mouseClick(child<QPushButton>(dialog, "Command1_0"), Qt::LeftButton);
            EXPECT_EQ(child<QLineEdit>(dialog, "Text1")->text(), "/home/u/new.doc");
            QTest::mouseClick(child<QPushButton>(dialog, "Command1_2"), Qt::LeftButton); // 取消し
        });
        EXPECT_EQ(ui.shown.at(0).title, "関連情報ファイルの選択");
        EXPECT_EQ(GetText(state.Extra.RelatedInfo), "/home/u/old.txt");
    }
    TALIKLNK dialog(state, false);
    run(dialog, [&] {
        auto* path = child<QLineEdit>(dialog, "Text1");
        path->setText("/home/u/" + QString(70, 'a'));
        QTest::mouseClick(child<QPushButton>(dialog, "Command1_1"), Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(ui.messages().back(), "関連情報ファイルのパスが長すぎます（72 バイトまで）。");
        path->setText("/home/u/写真.jpg");
        QTest::mouseClick(child<QPushButton>(dialog, "Command1_1"), Qt::LeftButton);
    });
    EXPECT_EQ(GetText(state.Extra.RelatedInfo), "/home/u/写真.jpg");
}

TEST_F(PopupForms, TheVersionWindowIsModalUntilItsOk)
{
    TALIKIN form(state, launcher);
    QString shownVersion;
    bool modal = false;
    WhenModalShows<TALIKIN>([&](TALIKIN* window) {
        modal = window->isModal() || window->windowModality() == Qt::ApplicationModal;
        shownVersion = window->findChild<QLabel*>("Label2")->text();
        auto* ok = window->findChild<QPushButton*>("Command1");
        EXPECT_TRUE(ok->isVisible());
        ok->click();
    });
    ShowVersionWindow(state, launcher, &form);
    EXPECT_TRUE(modal);
    EXPECT_EQ(shownVersion, "Version 7.01");
    EXPECT_FALSE(form.isVisible());
}

} // namespace
} // namespace talik::test
