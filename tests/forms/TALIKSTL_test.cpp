// The call confirmation and its pager message input support, driven with clicks and keys.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <fstream>
#include <gtest/gtest.h>
#include <memory>

#include "dial/TALIKMSG.h"
#include "dial/TALIKSTL.h"
#include "dial/pagercode.h"
#include "listwin/appstate.h"
#include "store/record.h"
#include "tests/support/modal.h"
#include "tests/support/scripted.h"
#include "tests/support/tempdir.h"

namespace talik::test {
namespace {

constexpr int Pager = 2;

class CallForm : public ::testing::Test
{
protected:
    CallForm()
    {
        ClearRecord(state.Rec);
        SetText(state.Rec.KanjiName, "見本　太郎");
        state.settings.ComExtTel = "0";
    }

    // Opens the confirmation (not modal) for slot `slot` of kind `kind`.
    void open(int slot, int kind, std::string number)
    {
        static constexpr int Place[4] = {1000, 100, 10, 1};
        SetInteger(state.Rec.PhoneKinds, static_cast<std::int16_t>(kind * Place[slot]));
        state.DialSlot = slot;
        state.DialNumber = std::move(number);
        form = std::make_unique<TALIKSTL>(state);
        form->show();
    }
    template <class T> T* child(const char* name) { return form->findChild<T*>(name); }
    QLineEdit* message() { return child<QLineEdit>("Text1"); }
    void click(const char* name) { QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton); }

    TempDir dir;
    ScriptedInteraction ui;
    FixedClock clock;
    AppState state{ui, clock};
    std::unique_ptr<TALIKSTL> form;
};

TEST_F(CallForm, ShowsWhomAndWhichNumberWillBeCalled)
{
    state.settings.ExtTelFlag = 1;
    open(2, Pager, "090-1111-2222");
    EXPECT_EQ(form->windowTitle().toStdString(), "電話かけ先確認");
    EXPECT_EQ(child<QLabel>("Label1")->text().toStdString(), "見本　太郎");
    EXPECT_EQ(child<QLabel>("Label4")->text().toStdString(), "ポケベル：090-1111-2222");
    EXPECT_EQ(child<QCheckBox>("Check1")->text().toStdString(), "外線コール（ 0 ）");
    EXPECT_TRUE(child<QCheckBox>("Check1")->isChecked());
}

TEST_F(CallForm, TheMessageControlsAreOnlyForPagersMobilesAndPhs)
{
    for (int kind = 0; kind < 5; ++kind) {
        open(1, kind, "03-1234-5678");
        const bool on = kind >= Pager;
        for (const char* name : {"Text1", "Command1_0", "Command1_1", "Command3"}) {
            EXPECT_EQ(child<QWidget>(name)->isEnabled(), on) << name << " kind " << kind;
        }
        auto* caption = child<QLabel>("Label2");
        EXPECT_EQ(caption->font().bold(), on) << kind;
        EXPECT_EQ(caption->palette().color(QPalette::WindowText), on ? QColor(Qt::blue) : QColor(Qt::black)) << kind;
    }
}

TEST_F(CallForm, CallingAPagerDialsThePrefixTheNumberAndTheMessage)
{
    state.settings.ExtTelFlag = 1;
    open(3, Pager, "03-1234-5678");
    message()->setText("111210");
    click("Command2_0");
    EXPECT_EQ(state.EditStatus, 'Y');
    EXPECT_EQ(state.DialNumber, "0,03-1234-5678,,111210");
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(CallForm, TheOutsideLineCanBeSwitchedOffForThisCall)
{
    state.settings.ExtTelFlag = 1;
    open(0, 0, "03-1234-5678");
    QTest::keyClick(child<QCheckBox>("Check1"), Qt::Key_Space);
    click("Command2_0");
    EXPECT_EQ(state.DialNumber, "03-1234-5678,,");
}

TEST_F(CallForm, AnEmptySlotIsRefusedAndTheFormCloses)
{
    state.settings.ExtTelFlag = 1;
    open(0, 0, "");
    click("Command2_0");
    EXPECT_EQ(state.EditStatus, 'N');
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"電話番号が登録されていません。"});
    EXPECT_FALSE(form->isVisible());
}

TEST_F(CallForm, CancelEscapeAndClosingAllMeanNoCall)
{
    std::vector<std::function<void()>> ways = {
        [this] { click("Command2_1"); },
        [this] { QTest::keyClick(message(), Qt::Key_Escape); },
        [this] { form->close(); },
    };
    for (std::size_t i = 0; i < ways.size(); ++i) {
        state.EditStatus = 'Y';
        open(2, Pager, "03-1234-5678");
        ways[i]();
        EXPECT_EQ(state.EditStatus, 'N') << i;
        EXPECT_EQ(state.DialNumber, "03-1234-5678") << i;
        EXPECT_FALSE(form->isVisible()) << i;
    }
}

TEST_F(CallForm, ExecLeavesNoCallWhenCancelled)
{
    SetInteger(state.Rec.PhoneKinds, 0);
    state.DialNumber = "03-1234-5678";
    TALIKSTL dialog(state);
    WhenModalShows<TALIKSTL>(
        [](TALIKSTL* shown) { QTest::mouseClick(shown->findChild<QPushButton*>("Command2_1"), Qt::LeftButton); });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(state.EditStatus, 'N');
}

TEST_F(CallForm, EnterInTheMessageBoxDoesNotCall)
{
    open(2, Pager, "03-1234-5678");
    QTest::keyClick(message(), Qt::Key_Return);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(state.EditStatus, 'N');
}

TEST_F(CallForm, AMessageIsSavedToAndRecalledFromAMessageFile)
{
    const std::string path = dir.str() + "/朝.qxm";
    open(2, Pager, "03-1234-5678");
    message()->setText(" 111210 ");
    ui.fileAnswers = {path};
    click("Command1_1");
    EXPECT_EQ(ReadMessageFile(path), "111210");
    message()->clear();
    ui.fileAnswers = {path};
    click("Command1_0");
    EXPECT_EQ(message()->text().toStdString(), "111210");
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[0].kind, "save file");
    EXPECT_EQ(ui.shown[0].title, "メッセージファイル保存");
    EXPECT_EQ(ui.shown[0].text, "メッセージファイル (*.qxm)");
    EXPECT_EQ(ui.shown[1].kind, "open file");
    EXPECT_EQ(ui.shown[1].title, "メッセージファイル呼出し");
}

TEST_F(CallForm, AMessageFileThatCannotBeWrittenIsToldToTheUser)
{
    // A file stands where the folder should be: nothing can be written below it.
    std::ofstream(dir.str() + "/notes") << "x";
    const std::string path = dir.str() + "/notes/朝.qxm";
    open(2, Pager, "03-1234-5678");
    message()->setText("111210");
    ui.fileAnswers = {path};
    click("Command1_1");
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[1].kind, "message");
    EXPECT_EQ(ui.shown[1].text, "メッセージファイル（" + path + "）への書き込みに失敗しました。\r\n" +
                                    "ディスクの空き容量とアクセス権を確認してください。");
    EXPECT_EQ(ui.shown[1].icon, MessageIcon::Exclamation);
}

TEST_F(CallForm, ACancelledFileDialogChangesNothingAndAFileWithoutAMessageClearsTheBox)
{
    const std::string other = dir.str() + "/other.qxm";
    std::ofstream(other, std::ios::binary) << "[Tel_Option]\r\nNote=1\r\n";
    open(2, Pager, "03-1234-5678");
    message()->setText("4649");
    ui.fileAnswers = {std::nullopt, std::nullopt};
    click("Command1_0");
    click("Command1_1");
    EXPECT_EQ(message()->text().toStdString(), "4649");
    ui.fileAnswers = {other};
    click("Command1_0");
    EXPECT_EQ(message()->text().toStdString(), "");
}

TEST_F(CallForm, TheInputSupportPutsItsCodesIntoTheMessageBox)
{
    open(2, Pager, "03-1234-5678");
    message()->setText("9999");
    WhenModalShows<TALIKMSG>([](TALIKMSG* support) {
        auto* input = support->findChild<QLineEdit*>("Text1");
        input->setText("かが");
        QTest::keyClick(input, Qt::Key_Return);
        QTest::mouseClick(support->findChild<QPushButton*>("Command1_0"), Qt::LeftButton);
    });
    click("Command3");
    EXPECT_EQ(message()->text().toStdString(), "212104");
    WhenModalShows<TALIKMSG>([](TALIKMSG* support) {
        support->findChild<QLineEdit*>("Text1")->setText("ｱ");
        QTest::keyClick(support->findChild<QLineEdit*>("Text1"), Qt::Key_Return);
        QTest::mouseClick(support->findChild<QPushButton*>("Command1_1"), Qt::LeftButton);
    });
    click("Command3");
    EXPECT_EQ(message()->text().toStdString(), "212104") << "取消し leaves the message alone";
}

class InputSupport : public ::testing::Test
{
protected:
    void open()
    {
        form = std::make_unique<TALIKMSG>(state);
        form->show();
    }
    template <class T> T* child(const char* name) { return form->findChild<T*>(name); }
    QLineEdit* input() { return child<QLineEdit>("Text1"); }
    std::string codes() { return child<QLabel>("Label1")->text().toStdString(); }
    void typeAndEnter(const QString& text)
    {
        input()->setText(text);
        QTest::keyClick(input(), Qt::Key_Return);
    }

    ScriptedInteraction ui;
    FixedClock clock;
    AppState state{ui, clock};
    std::unique_ptr<TALIKMSG> form;
};

TEST_F(InputSupport, OpensOnTheCurrentCodeSystem)
{
    for (auto [msgType, selected] : {std::pair{1, "Option1_1"}, {2, "Option1_2"}, {5, "Option1_2"}}) {
        state.settings.MsgType = msgType;
        open();
        EXPECT_TRUE(child<QRadioButton>(selected)->isChecked()) << msgType;
    }
    EXPECT_EQ(form->windowTitle().toStdString(), "メッセージ入力支援");
    EXPECT_EQ(child<QRadioButton>("Option1_1")->text().toStdString(), "NTT DoCoMo");
    EXPECT_EQ(child<QRadioButton>("Option1_2")->text().toStdString(), "telemessage");
    EXPECT_EQ(child<QLabel>("Label3")->text().toStdString(),
              "入力をしてＥｎｔｅｒキーを押すとメッセージに変換されます。");
}

TEST_F(InputSupport, EnterConvertsTheInputAndShowsItNormalised)
{
    open();
    typeAndEnter("ｷｬｯﾁ a1");
    EXPECT_EQ(input()->text().toStdString(), "ｷｬｯﾁ A1");
    EXPECT_EQ(codes(), "2242091610");
    EXPECT_TRUE(form->isVisible()) << "Enter converts and never closes the dialog";
}

TEST_F(InputSupport, ChoosingTheOtherSystemReconvertsAtOnce)
{
    open();
    typeAndEnter("ｱｲ1");
    EXPECT_EQ(codes(), "111210");
    QTest::mouseClick(child<QRadioButton>("Option1_2"), Qt::LeftButton);
    EXPECT_EQ(codes(), "111296");
    EXPECT_EQ(state.settings.MsgType, 2);
    input()->setText("ｱｲ2"); // typed but not yet converted: the option converts it too
    QTest::mouseClick(child<QRadioButton>("Option1_1"), Qt::LeftButton);
    EXPECT_EQ(codes(), "111220");
    EXPECT_EQ(state.settings.MsgType, 1);
}

} // namespace
} // namespace talik::test
