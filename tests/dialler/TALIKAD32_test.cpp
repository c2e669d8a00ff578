// The dialler's window in this process, on the offscreen desktop: its serial port is the slave side
// of a pseudo-terminal on which the test plays the modem; its clock is a fake one, so the pauses
// around "+++" and the time limit of the reply take no real time. The hang-up is tried against a
// modem of its own thread that measures the silence around "+++" in real time.
#include <chrono>
#include <cstdlib>
#include <memory>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "dialler/TALIKAD32.h"
#include "dialler/qtlinecanvas.h"
#include "dialler/texts.h"
#include "tests/dialler/fakes.h"
#include "tests/dialler/pseudoterminal.h"
#include "tests/dialler/scriptedmodem.h"

namespace talik::dialler {
namespace {

using test::FakeClock;
using test::PseudoTerminal;
using test::RecordingNotice;

// A pager call on port 8: pulse dialling, outside line "0,", pager message "1234", no
// initialisation string of its own.
constexpr const char* Example = "~00見本 [0]0,03-1234-5678,,1234[1]8ATDP[2][3]";
constexpr int WindowPatience = 10000; // generous: the steps themselves take well under a second

class DiallerWindow : public ::testing::Test
{
protected:
    DiallerWindow() { setenv("TALIK_COM8", modem.slavePath().c_str(), 1); }
    ~DiallerWindow() override { unsetenv("TALIK_COM8"); }

    void open(std::string_view commandLine = Example)
    {
        window = std::make_unique<TALIKAD32>(*ParseArguments(commandLine), port, clock, notice);
        ended = std::make_unique<QSignalSpy>(window.get(), &TALIKAD32::ended);
    }

    template <class T> T* child(const char* name) const
    {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString label2() const { return child<QLabel>("Label2")->text(); }
    QColor label2Colour() const { return child<QLabel>("Label2")->palette().color(QPalette::WindowText); }
    QPushButton* button() const { return child<QPushButton>("Command1"); }

    // The exit code the window ended with, once it has.
    int endedWith()
    {
        if (!QTest::qWaitFor([&] { return ended->count() > 0; }, WindowPatience)) {
            return -1;
        }
        return ended->at(0).at(0).toInt();
    }

    PseudoTerminal modem;
    PosixSerialPort port;
    FakeClock clock;
    RecordingNotice notice;
    std::unique_ptr<TALIKAD32> window;
    std::unique_ptr<QSignalSpy> ended;
};

TEST_F(DiallerWindow, ShowsTheCalleeAndItsNumberWithoutThePagerMessage)
{
    open();
    EXPECT_EQ(window->windowTitle(), "Mirepol 自動ダイヤラー");
    EXPECT_EQ(window->objectName(), "TALIKAD32");
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(child<QLabel>("Label1")->text(), "電話番号：0,03-1234-5678\n見本さん");
    EXPECT_EQ(button()->text(), "取り消し");
    EXPECT_TRUE(button()->isEnabled());
    EXPECT_FALSE(child<QLabel>("Image1_0")->isHidden());
    EXPECT_TRUE(child<QLabel>("Image1_1")->isHidden());
}

TEST_F(DiallerWindow, HasTheThreeTimersOfTheSequence)
{
    open();
    auto* timer1 = child<QTimer>("Timer1");
    auto* timer2 = child<QTimer>("Timer2");
    auto* timer3 = child<QTimer>("Timer3");
    EXPECT_EQ(timer1->interval(), 500);
    EXPECT_TRUE(timer1->isSingleShot());
    EXPECT_FALSE(timer1->isActive());
    EXPECT_EQ(timer2->interval(), 4000);
    EXPECT_TRUE(timer2->isSingleShot());
    EXPECT_FALSE(timer2->isActive());
    EXPECT_EQ(timer3->interval(), 700);
    EXPECT_TRUE(timer3->isActive());
}

TEST_F(DiallerWindow, TheButtonCancelsWhileTheModemHasNotAnswered)
{
    open();
    window->Load();
    EXPECT_EQ(modem.readUntil("\r\n", WindowPatience), "AT\r\n");
    QTest::mouseClick(button(), Qt::LeftButton);
    EXPECT_EQ(modem.readUntil("\r", WindowPatience), "+++ATH\r");
    EXPECT_EQ(endedWith(), 0);
    EXPECT_EQ(modem.drain(600), ""); // and no dialling afterwards
}

TEST_F(DiallerWindow, AModemThatNeverAnswersEndsTheDiallerAfterTheTimeLimit)
{
    open();
    window->Load();
    EXPECT_EQ(modem.readUntil("\r\n", WindowPatience), "AT\r\n");
    clock.advance(ReplyLimitMs - 1);
    QTest::qWait(200);
    EXPECT_EQ(ended->count(), 0);
    clock.advance(1);
    EXPECT_EQ(endedWith(), 1);
    EXPECT_EQ(notice.shown, std::vector<std::string>{"モデムが応答しません。モデムの電源と接続を確認してください。"});
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(modem.drain(100), "");
}

TEST_F(DiallerWindow, AModemThatRejectsTheInitialisationStringIsToldAtOnceNamingIt)
{
    // The fake clock stands still: only the answer itself can end the wait.
    open("~00見本 [0]03-1234-5678,,[1]8ATDT[2]ATZ E9[3]");
    window->Load();
    EXPECT_EQ(modem.readUntil("\r\n", WindowPatience), "ATZ E9\r\n");
    modem.reply("ATZ E9\r\r\nERROR\r\n");
    EXPECT_EQ(endedWith(), 1);
    EXPECT_EQ(notice.shown,
              std::vector<std::string>{
                  "モデムが初期化文字列「ATZ E9」を受け付けませんでした。初期化文字列を確認してください。"});
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(modem.drain(100), "");
}

TEST_F(DiallerWindow, NumericResultCodesCountAsTheirWords)
{
    open();
    window->Load();
    EXPECT_EQ(modem.readUntil("\r\n", WindowPatience), "AT\r\n");
    modem.reply("0\r");
    EXPECT_EQ(modem.readUntil("\r\n", WindowPatience), "ATDP0,0312345678,,1234\r\n");

    window.reset();
    open();
    window->Load();
    EXPECT_EQ(modem.readUntil("\r\n", WindowPatience), "AT\r\n");
    modem.reply("4\r");
    EXPECT_EQ(endedWith(), 1);
    EXPECT_EQ(notice.shown.back(),
              "モデムが初期化文字列「AT」を受け付けませんでした。初期化文字列を確認してください。");
}

TEST_F(DiallerWindow, APortThatCannotBeOpenedGivesThePortMessageAndEnds)
{
    setenv("TALIK_COM9", "/nonexistent/ttyS8", 1);
    open("~00見本 [0]03-1234-5678,,[1]9ATDT[2]ATZ[3]");
    window->Load();
    EXPECT_EQ(endedWith(), 1);
    unsetenv("TALIK_COM9");
    EXPECT_EQ(notice.shown,
              std::vector<std::string>{"指定されたCOMポートは使用できません。ポートを確認してください。"});
    EXPECT_FALSE(window->isVisible());
}

TEST_F(DiallerWindow, TheSequenceRunsOnlyOnceHoweverOftenTheWindowIsActivated)
{
    open();
    window->Load();
    EXPECT_EQ(modem.readUntil("\r\n", WindowPatience), "AT\r\n");
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(window.get(), &activate);
    EXPECT_EQ(modem.drain(700), "");
}

TEST_F(DiallerWindow, ThePicturesTakeTurns)
{
    open();
    window->show();
    auto* first = child<QLabel>("Image1_0");
    auto* second = child<QLabel>("Image1_1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return second->isVisible(); }, WindowPatience));
    EXPECT_FALSE(first->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return first->isVisible(); }, WindowPatience));
    EXPECT_FALSE(second->isVisible());
    EXPECT_FALSE(first->pixmap().toImage() == second->pixmap().toImage());
}

TEST_F(DiallerWindow, IsDraggedByItsLabels)
{
    open();
    window->show();
    QPoint start = window->pos();
    auto* label = child<QLabel>("Label1");
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(label, QPoint(45, 25));
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(45, 25));
    EXPECT_EQ(window->pos(), start + QPoint(40, 20));
}

TEST_F(DiallerWindow, HasARaisedEdgeAndAnInsetEdgeInsideIt)
{
    open();
    QImage shot = window->grab().toImage();
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    QtLineCanvas colours(painter, window->palette());
    QRgb light = colours.toQColor(SystemHighlight3D).rgb();
    QRgb dark = colours.toQColor(SystemButtonShadow).rgb();
    int right = shot.width() - 1;
    int bottom = shot.height() - 1;
    // Outer bevel: light top and left, dark bottom and right; 2 pixels of gap further in, the
    // inner bevel the other way round.
    EXPECT_EQ(shot.pixel(1, 10), light);
    EXPECT_EQ(shot.pixel(10, 1), light);
    EXPECT_EQ(shot.pixel(right - 1, 10), dark);
    EXPECT_EQ(shot.pixel(10, bottom - 1), dark);
    EXPECT_EQ(shot.pixel(6, 20), dark);
    EXPECT_EQ(shot.pixel(20, 6), dark);
    EXPECT_EQ(shot.pixel(right - 6, 20), light);
    EXPECT_EQ(shot.pixel(20, bottom - 6), light);
}

// The whole sequence against a modem that wants real silence around "+++", with a clock five times
// faster than the real one and the modem's guard time cut down far below the dialler's pauses, so
// that a busy machine cannot make the silence look too short.
class DiallerOnAGuardedModem : public ::testing::Test
{
protected:
    DiallerOnAGuardedModem() { setenv("TALIK_COM8", modem.slavePath().c_str(), 1); }
    ~DiallerOnAGuardedModem() override { unsetenv("TALIK_COM8"); }

    test::ScriptedModem modem{std::chrono::milliseconds(EscapePauseMs / SpeedUp / 4)};
    PosixSerialPort port;
    static constexpr int SpeedUp = 5;
    test::FastClock clock{SpeedUp};
    RecordingNotice notice;
};

TEST_F(DiallerOnAGuardedModem, InitialisesDialsPromptsAndHangsUpOnTheTalkButton)
{
    TALIKAD32 window(*ParseArguments(Example), port, clock, notice);
    QSignalSpy ended(&window, &TALIKAD32::ended);
    window.findChild<QTimer*>("Timer2")->setInterval(10); // the prompt's four seconds are not tested here
    auto* label2 = window.findChild<QLabel*>("Label2");
    auto* button = window.findChild<QPushButton*>("Command1");
    window.Load();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !modem.commands().empty(); }, WindowPatience));
    EXPECT_EQ(label2->text(), "お待ちください...");
    EXPECT_EQ(label2->palette().color(QPalette::WindowText), QColor(Qt::red));

    ASSERT_TRUE(QTest::qWaitFor([&] { return button->text() == "通話"; }, WindowPatience));
    EXPECT_TRUE(button->isEnabled());
    EXPECT_EQ(label2->text(), "受話器を取って接続確認後に\n'通話'ボタンを押してください。");
    EXPECT_EQ(label2->palette().color(QPalette::WindowText), QColor(Qt::black));

    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ended.count() > 0; }, WindowPatience));
    EXPECT_EQ(ended.at(0).at(0).toInt(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return modem.hungUp(); }, WindowPatience));
    EXPECT_EQ(modem.escapes(), 1);
    EXPECT_EQ(modem.data(), "");
    EXPECT_EQ(modem.commands(), (std::vector<std::string>{"AT", "ATDP0,0312345678,,1234", "ATH"}));
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(notice.shown.empty());
}

TEST(ScriptedModemItself, TakesPlusesWithoutSilenceAfterThemAsData)
{
    test::ScriptedModem modem{std::chrono::milliseconds(200)};
    PosixSerialPort port;
    ASSERT_TRUE(port.openDevice(modem.slavePath(), LineSettingsText)) << port.error();
    port.write("ATDT1\r");
    ASSERT_TRUE(QTest::qWaitFor([&] { return modem.commands().size() == 1; }, WindowPatience));
    QTest::qWait(300);
    port.write("+++ATH\r");
    QTest::qWait(400);
    EXPECT_EQ(modem.escapes(), 0);
    EXPECT_FALSE(modem.hungUp());
    EXPECT_EQ(modem.data(), "+++ATH\r");
}

} // namespace
} // namespace talik::dialler
