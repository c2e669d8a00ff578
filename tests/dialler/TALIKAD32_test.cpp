// The dialler's window in this process, on the offscreen desktop: its serial port is the slave side
// of a pseudo-terminal on which the test plays the modem; its clock is a fake one, so the pauses
// around "+++" and the time limit of the reply take no real time.
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

namespace talik::dialler {
namespace {

using test::FakeClock;
using test::PseudoTerminal;
using test::RecordingNotice;

// A pager call on port 8: pulse dialling, outside line "0,", pager message "1234", no
// initialisation string of its own.
constexpr const char* Example = "~00見本 [0]0,03-1234-5678,,1234[1]8ATDP[2][3]";
constexpr int Patience = 10000; // generous: the steps themselves take well under a second

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
        if (!QTest::qWaitFor([&] { return ended->count() > 0; }, Patience)) {
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

TEST_F(DiallerWindow, InitialisesDialsPromptsAndHangsUpOnTheTalkButton)
{
    open();
    child<QTimer>("Timer2")->setInterval(10); // the prompt's four seconds are not what is tested here
    window->Load();
    EXPECT_EQ(modem.readUntil("\r\n", Patience), "AT\r\n");
    EXPECT_EQ(label2(), "お待ちください...");
    EXPECT_EQ(label2Colour(), QColor(Qt::red));

    modem.reply("AT\r\r\nOK\r\n");
    EXPECT_EQ(modem.readUntil("\r\n", Patience), "ATDP0,0312345678,,1234\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return button()->text() == "通話"; }, Patience));
    EXPECT_TRUE(button()->isEnabled());
    EXPECT_EQ(label2(), "受話器を取って接続確認後に\n'通話'ボタンを押してください。");
    EXPECT_EQ(label2Colour(), QColor(Qt::black));

    QTest::mouseClick(button(), Qt::LeftButton);
    EXPECT_EQ(modem.readUntil("\r", Patience), "+++ATH\r");
    EXPECT_EQ(clock.sleeps, (std::vector<int>{1000, 1000}));
    EXPECT_EQ(endedWith(), 0);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(notice.shown.empty());
}

TEST_F(DiallerWindow, TheButtonCancelsWhileTheModemHasNotAnswered)
{
    open();
    window->Load();
    EXPECT_EQ(modem.readUntil("\r\n", Patience), "AT\r\n");
    QTest::mouseClick(button(), Qt::LeftButton);
    EXPECT_EQ(modem.readUntil("\r", Patience), "+++ATH\r");
    EXPECT_EQ(endedWith(), 0);
    EXPECT_EQ(modem.drain(600), ""); // and no dialling afterwards
}

TEST_F(DiallerWindow, AModemThatNeverAnswersEndsTheDiallerAfterTheTimeLimit)
{
    open();
    window->Load();
    EXPECT_EQ(modem.readUntil("\r\n", Patience), "AT\r\n");
    clock.advance(ReplyLimitMs - 1);
    QTest::qWait(200);
    EXPECT_EQ(ended->count(), 0);
    clock.advance(1);
    EXPECT_EQ(endedWith(), 1);
    EXPECT_EQ(notice.shown, std::vector<std::string>{"モデムが応答しません。モデムの電源と接続を確認してください。"});
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(modem.drain(100), "");
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
    EXPECT_EQ(modem.readUntil("\r\n", Patience), "AT\r\n");
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return second->isVisible(); }, Patience));
    EXPECT_FALSE(first->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return first->isVisible(); }, Patience));
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

} // namespace
} // namespace talik::dialler
