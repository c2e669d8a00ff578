// The record editor's extra buttons for real: the remarks extra data and the related file stored
// with the record, the related-file launch, e-mail, and the sibling program's message shown once.
#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "editor/TALIK01.h"
#include "editor/TALIKLNK.h"
#include "editor/TALIKTXT.h"
#include "editor/editorextras.h"
#include "listwin/currentrecord.h"
#include "store/database.h"
#include "tests/support/modal.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

class EditorExtrasTest : public StoreTest
{
protected:
    void SetUp() override
    {
        state.ProfileFolder = dir.str();
        load();
        recNo = addRecord("ﾔﾏﾀﾞ", "山田");
        load();
    }
    void open(char status)
    {
        state.CurRecNo = recNo;
        state.EditStatus = status;
        editor = std::make_unique<TALIK01>(state, false);
        editor->extras()->setLauncher(
            launcher, WindowSeams{[](std::string_view) { return FoundWindow{}; }, [](WindowId) { return true; }});
        editor->show();
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    }
    template <class T> T* child(const char* name) { return editor->findChild<T*>(name); }

    std::int32_t recNo = 0;
    RecordingLauncher launcher;
    std::unique_ptr<TALIK01> editor;
};

TEST_F(EditorExtrasTest, RemarksAndRelatedFileAreStoredWithTheRecordAndMarked)
{
    open(' ');
    EXPECT_EQ(child<QFrame>("Line4")->styleSheet(), "background: #00FFFF;");
    QTest::mouseClick(child<QPushButton>("Command4"), Qt::LeftButton);
    EXPECT_EQ(ui.messages().back(), "起動する関連情報がありません。\r設定はマウスの右ボタンでクリックしてください。");

    WhenModalShows<TALIKLNK>([](TALIKLNK* dialog) {
        dialog->findChild<QLineEdit*>("Text1")->setText("http://example.jp/");
        dialog->findChild<QPushButton*>("Command1_1")->click();
    });
    QTest::mouseClick(child<QPushButton>("Command4"), Qt::RightButton);
    EXPECT_EQ(child<QFrame>("Line4")->styleSheet(), "background: #FF0000;");

    WhenModalShows<TALIKTXT>([](TALIKTXT* dialog) {
        dialog->findChild<QPlainTextEdit*>("Text1")->setPlainText("一\n二");
        dialog->findChild<QPushButton*>("Command1")->click();
    });
    QTest::mouseClick(child<QPushButton>("Command3"), Qt::LeftButton);
    EXPECT_EQ(child<QFrame>("Line3")->styleSheet(), "background: #FF0000;");

    QTest::mouseClick(child<QPushButton>("Command4"), Qt::LeftButton);
    EXPECT_EQ(launcher.opened, (std::vector<std::string>{"http://example.jp/"}));

    QTest::mouseClick(child<QPushButton>("Command1_0"), Qt::LeftButton); // 更新登録
    ClearRecord(state.Extra);
    state.CurRecNo = recNo;
    ASSERT_TRUE(ReadCurrent(state));
    EXPECT_EQ(GetText(state.Extra.RelatedInfo), "http://example.jp/");
    EXPECT_EQ(GetText(state.Extra.RemarksExtra), "一\r\n二");
}

TEST_F(EditorExtrasTest, TheEditorsMailButtonHandsTheTypedAddressOver)
{
    setenv("XDG_CONFIG_HOME", (dir.str() + "/noconfig").c_str(), 1);
    setenv("XDG_CONFIG_DIRS", (dir.str() + "/noconfig").c_str(), 1);
    setenv("XDG_DATA_HOME", (dir.str() + "/nodata").c_str(), 1);
    setenv("XDG_DATA_DIRS", (dir.str() + "/nodata").c_str(), 1);
    open(' ');
    child<QLineEdit>("Text2_4")->setText("taro@example.jp");
    QTest::mouseClick(child<QPushButton>("Command2"), Qt::LeftButton);
    EXPECT_EQ(launcher.opened, (std::vector<std::string>{"mailto:taro@example.jp"}));
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS"}) {
        unsetenv(name);
    }
}

TEST_F(EditorExtrasTest, TheSiblingsNotInstalledMessageComesOnceForFocusAndKeys)
{
    state.settings.UseHarupo = 1;
    state.settings.HarupoRun = 1; // started by itself when a blank address box gets the focus
    open(' ');
    auto* address1 = child<QLineEdit>("Text5_0");
    auto* address2 = child<QLineEdit>("Text5_1");
    ASSERT_NE(address1, nullptr);
    address1->setFocus();
    QApplication::processEvents();
    address2->setFocus();
    QApplication::processEvents();
    address1->setFocus();
    QTest::keyClick(address1, Qt::Key_F2);
    QTest::keyClick(editor.get(), Qt::Key_F10);
    QApplication::processEvents();
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"「Harupo」がインストールされていません。"}));
}

} // namespace
} // namespace talik::test
