// The record editor driven with real keys and clicks, alone and from the list window.
#include <QAction>
#include <QApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include "app/TALIKLST.h"
#include "editor/TALIK01.h"
#include "listwin/currentrecord.h"
#include "store/database.h"
#include "tests/support/formactions.h"
#include "tests/support/modal.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

class Editor : public StoreTest
{
protected:
    void SetUp() override
    {
        state.ProfileFolder = dir.str();
        load();
    }

    // Opens the editor (not modal) on the current shared state.
    void open(bool searchMode = false)
    {
        editor = std::make_unique<TALIK01>(state, searchMode);
        editor->show();
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    }
    void openRecord(std::int32_t recNo, char status)
    {
        state.CurRecNo = recNo;
        state.EditStatus = status;
        open();
    }
    template <class T> T* child(const char* name) { return editor->findChild<T*>(name); }
    QLineEdit* text(const char* name) { return child<QLineEdit>(name); }
    // Types into a box and leaves it with Tab, as a user does.
    void type(const char* name, const QString& keys)
    {
        QLineEdit* box = text(name);
        box->setFocus();
        box->clear();
        TypeKeys(box, keys);
        QTest::keyClick(box, Qt::Key_Tab);
    }
    std::string shown(const char* name) { return text(name)->text().toStdString(); }
    void click(const char* name) { QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton); }

    std::unique_ptr<TALIK01> editor;
};

TEST_F(Editor, EraYearsBecomeWesternYearsAndBadOnesAreRefused)
{
    state.CurRecNo = 0;
    open();
    for (auto [typed, year] : {std::pair{"s50", "1975"}, {"H1", "1989"}, {"R8", "2026"}, {"1966", "1966"}}) {
        type("Text2_0", typed);
        EXPECT_EQ(shown("Text2_0"), year) << typed;
    }
    EXPECT_TRUE(ui.messages().empty());
    type("Text2_0", "S5X");
    EXPECT_EQ(shown("Text2_0"), "");
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"正しい生年月日を入力してください。"});
    type("Text2_1", "13");
    EXPECT_EQ(shown("Text2_1"), "");
    type("Text2_2", "0");
    EXPECT_EQ(shown("Text2_2"), "");
    EXPECT_EQ(ui.messages().size(), 3u);
}

TEST_F(Editor, AnEmptyMonthIsStoredAsZeroAndTheAgeFollowsTheBirthday)
{
    state.CurRecNo = 0;
    open();
    type("Text1_0", "やまだ");
    EXPECT_EQ(shown("Text1_0"), "ﾔﾏﾀﾞ");
    type("Text2_0", "1984");
    type("Text2_2", "5");
    EXPECT_EQ(child<QLabel>("Label3")->text().toStdString(), "42才"); // the test clock says 2026-12-07
    click("Command1_0");
    EXPECT_EQ(state.EditStatus, 'N');
    EXPECT_EQ(GetLong(state.Rec.Birthday), 19840005);
    EXPECT_FALSE(editor->isVisible());
}

TEST_F(Editor, ANewRecordTakesNothingFromTheRecordReadBefore)
{
    std::int32_t recNo = addRecord("ｱｵｷ");
    state.CurRecNo = recNo;
    ReadCurrent(state);
    SetText(state.Rec.Honorific, "殿");
    SetInteger(state.Rec.PrintOptions, 10101);
    state.CurRecNo = 0;
    open();
    type("Text1_0", "ｲ");
    click("Command1_0");
    EXPECT_EQ(GetText(state.Rec.Honorific), "");
    EXPECT_EQ(GetInteger(state.Rec.PrintOptions), 0);
}

TEST_F(Editor, FiveClicksOnASlotCaptionComeBackToTheFirstKind)
{
    state.CurRecNo = 0;
    open();
    auto* caption = child<QLabel>("Label1_4");
    EXPECT_EQ(caption->text().toStdString(), "ＴＥＬ　");
    std::vector<std::string> seen;
    for (int i = 0; i < 5; ++i) {
        QTest::mouseClick(caption, Qt::LeftButton);
        seen.push_back(caption->text().toStdString());
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"ＦＡＸ　", "ポケベル", "携帯電話", "ＰＨＳ　", "ＴＥＬ　"}));
}

TEST_F(Editor, AStoredKindsValueAbove4444OpensAsFourTelephones)
{
    std::int32_t recNo = addRecord("ｱ");
    state.CurRecNo = recNo;
    ReadCurrent(state);
    SetInteger(state.Rec.PhoneKinds, 5000);
    SaveCurrent(state);
    openRecord(recNo, ' ');
    for (const char* name : {"Label1_3", "Label1_4", "Label1_7", "Label1_8"}) {
        EXPECT_EQ(child<QLabel>(name)->text().toStdString(), "ＴＥＬ　") << name;
    }
    EXPECT_EQ(editor->windowTitle().toStdString(), "住所録　登録／変更");
}

TEST_F(Editor, EscapeLeavesWithoutStoring)
{
    std::int32_t recNo = addRecord("ｱｵｷ");
    auto before = ReadFileBytes(mainPath());
    openRecord(recNo, ' ');
    type("Text1_1", "別人");
    QTest::keyClick(text("Text1_1"), Qt::Key_Escape);
    EXPECT_EQ(state.EditStatus, ' ');
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(ReadFileBytes(mainPath()), before);
}

TEST_F(Editor, ViewModeOffersOnlyTheCloseButtonWhileEnterAndEscapeWork)
{
    std::int32_t recNo = addRecord("ｱｵｷ", "青木");
    openRecord(recNo, 'R');
    EXPECT_EQ(editor->windowTitle().toStdString(), "住所録　表示");
    EXPECT_FALSE(child<QPushButton>("Command1_0")->isVisible());
    EXPECT_FALSE(child<QPushButton>("Command1_2")->isVisible());
    EXPECT_FALSE(child<QPushButton>("Command1_3")->isVisible());
    auto* close = child<QPushButton>("Command1_1");
    EXPECT_EQ(close->text().toStdString(), "閉じる");
    EXPECT_EQ(shown("Text1_1"), "青木");
    EXPECT_TRUE(close->hasFocus());
    QTest::keyClick(close, Qt::Key_Return);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(state.EditStatus, ' ');

    openRecord(recNo, 'R');
    QTest::keyClick(editor.get(), Qt::Key_Escape);
    EXPECT_FALSE(editor->isVisible());
}

TEST_F(Editor, ANameLongerThanItsFieldKeepsItsFirstFifteenCharacters)
{
    state.CurRecNo = 0;
    open();
    type("Text1_0", "ｱ");
    text("Text1_1")->setText(QString("漢").repeated(16));
    click("Command1_0");
    ASSERT_EQ(state.EditStatus, 'N');
    QString fifteen = QString("漢").repeated(15);
    EXPECT_EQ(GetText(state.Rec.KanjiName), fifteen.toStdString());
}

TEST_F(Editor, TheReadingIsRequiredAndCommasAreRefused)
{
    state.CurRecNo = 0;
    open();
    type("Text1_1", "山田,太郎");
    EXPECT_EQ(shown("Text1_1"), "山田太郎");
    type("Text3_0", "123-4567a");
    EXPECT_EQ(shown("Text3_0"), "123-4567");
    click("Command1_0");
    EXPECT_TRUE(editor->isVisible());
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "フリガナは必ず入力して下さい。");
    EXPECT_EQ(ui.shown[0].title, "必須項目");
}

TEST_F(Editor, EnterMovesAlongTheChain)
{
    state.CurRecNo = 0;
    open();
    text("Text1_0")->setFocus();
    for (const char* next : {"Text1_1", "Text2_0", "Text2_1", "Text2_2", "Text2_3", "Text2_4", "Text5_0", "Text3_0",
                             "Text6_0", "Text7_0", "Text5_1"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), next);
    }
}

// From the list window: the editor opens modally; the script answers it once it is up.
class EditorFromList : public Editor
{
protected:
    void SetUp() override
    {
        Editor::SetUp();
        aoki = addRecord("ｱｵｷ", "青木");
        state.TablesLoaded = false;
        window = std::make_unique<TALIKLST>(state, launcher, nullptr);
        window->show();
        ASSERT_TRUE(window->loadIfNeeded());
    }
    void whenEditorShows(std::function<void(TALIK01*)> script) { WhenModalShows<TALIK01>(std::move(script)); }
    void selectFirstRow()
    {
        auto* list = window->findChild<QTreeView*>("ListView1");
        QRect rect = list->visualRect(list->model()->index(0, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }
    int rows() { return window->findChild<QTreeView*>("ListView1")->model()->rowCount(); }
    std::string label(const char* name) { return window->findChild<QLabel*>(name)->text().toStdString(); }

    RecordingLauncher launcher;
    std::unique_ptr<TALIKLST> window;
    std::int32_t aoki = 0;
};

TEST_F(EditorFromList, ANewRecordAppearsInItsGroupWithTheCount)
{
    whenEditorShows([](TALIK01* dialog) {
        dialog->findChild<QLineEdit*>("Text1_0")->setText("ｱｲｶﾜ");
        dialog->findChild<QLineEdit*>("Text1_1")->setText("相川");
        QTest::mouseClick(dialog->findChild<QPushButton*>("Command1_0"), Qt::LeftButton);
    });
    QTest::mouseClick(window->findChild<QPushButton*>("Command3"), Qt::LeftButton);
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(label("Label1"), "あ 一覧 (2件)");
    EXPECT_EQ(label("Label5"), "登録数：2 件");
}

TEST_F(EditorFromList, ChangingTheReadingMovesTheRecordToItsNewGroup)
{
    selectFirstRow();
    whenEditorShows([](TALIK01* dialog) {
        dialog->findChild<QLineEdit*>("Text1_0")->setText("ｶﾄｳ");
        QTest::mouseClick(dialog->findChild<QPushButton*>("Command1_0"), Qt::LeftButton);
    });
    QTest::mouseClick(window->findChild<QPushButton*>("Command2"), Qt::LeftButton);
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(state.tables.GroupCount(5), 1);
    window->showTab(5);
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(label("Label5"), "登録数：1 件");
}

// The buttons say "全件印刷" after a change: the print menu must then mean everyone too, not the
// row that was opened (here by Enter, as a double-click).
TEST_F(EditorFromList, AfterAChangeNoRowIsSelectedAndPrintingMeansEveryone)
{
    addRecord("ｱﾍﾞ", "阿部");
    state.TablesLoaded = false;
    ASSERT_TRUE(window->loadIfNeeded());
    selectFirstRow();
    auto* list = window->findChild<QTreeView*>("ListView1");
    whenEditorShows([list](TALIK01* dialog) {
        dialog->findChild<QLineEdit*>("Text1_1")->setText("青木 二郎");
        QTest::mouseClick(dialog->findChild<QPushButton*>("Command1_0"), Qt::LeftButton);
        // A window manager gives the focus back to the list as the editor closes, before the
        // list window has taken in the change.
        QFocusEvent focusBack(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(list, &focusBack);
    });
    QTest::keyClick(list, Qt::Key_Return);
    auto* print = window->findChild<QPushButton*>("Command9");
    EXPECT_EQ(print->text(), "全件印刷");
    EXPECT_TRUE(list->selectionModel()->selectedRows().isEmpty());
    QTest::mouseClick(print, Qt::LeftButton);
    const ListMenus& menus = window->menus();
    EXPECT_EQ(menus.PPM6.entries[0]->text(), "全件 はがき印刷");
    EXPECT_TRUE(menus.PPM6.entries[2]->isVisible());
    menus.PPM6.menu->hide();
}

TEST_F(EditorFromList, StoringAsNewInChangeModeAppendsACopy)
{
    selectFirstRow();
    whenEditorShows([](TALIK01* dialog) {
        dialog->findChild<QLineEdit*>("Text1_1")->setText("青木 二郎");
        QTest::mouseClick(dialog->findChild<QPushButton*>("Command1_2"), Qt::LeftButton);
    });
    QTest::mouseClick(window->findChild<QPushButton*>("Command2"), Qt::LeftButton);
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(label("Label5"), "登録数：2 件");
    state.CurRecNo = aoki;
    ReadCurrent(state);
    EXPECT_EQ(GetText(state.Rec.KanjiName), "青木"); // the opened record is untouched
}

} // namespace
} // namespace talik::test
