// The modem conversation step by step, against a scripted port and a clock that never waits.
#include <gtest/gtest.h>

#include "dialler/modemsession.h"
#include "tests/dialler/fakes.h"

namespace talik::dialler {
namespace {

using test::FakeClock;
using test::FakeSerialPort;
using Texts = std::vector<std::string>;

TEST(ModemAnswer, OKAndErrorInWordsOrAsNumericCodes)
{
    EXPECT_EQ(ReadAnswer("AT\r\r\nOK\r\n"), ModemAnswer::Ok);
    EXPECT_EQ(ReadAnswer("OK"), ModemAnswer::Ok);
    EXPECT_EQ(ReadAnswer("ATV0\r0\r"), ModemAnswer::Ok);
    EXPECT_EQ(ReadAnswer("ATZ E9\r\r\nERROR\r\n"), ModemAnswer::Error);
    EXPECT_EQ(ReadAnswer("4\r"), ModemAnswer::Error);
    EXPECT_EQ(ReadAnswer("\r\n4\r\n"), ModemAnswer::Error);
}

TEST(ModemAnswer, EchoesBlankLinesAndUnfinishedOrLongerCodesSayNothingYet)
{
    for (const char* nothing : {"", "\r\n", "AT\r", "0", "4", "10\r", "40\r", "ATS0=0\r", "AT&F0\r", "O"}) {
        EXPECT_EQ(ReadAnswer(nothing), ModemAnswer::None) << nothing;
    }
}

TEST(ModemAnswer, TheFirstResultCounts)
{
    EXPECT_EQ(ReadAnswer("ERROR\r\nOK\r\n"), ModemAnswer::Error);
    EXPECT_EQ(ReadAnswer("0\r4\r"), ModemAnswer::Ok);
}

class Session : public ::testing::Test
{
protected:
    // A pager call: port 3, pulse dialling, outside line "0,", pager message "1234", no
    // initialisation string of its own.
    ModemSession make(std::string_view commandLine = "~00見本 [0]0,03-1234-5678,,1234[1]3ATDP[2][3]")
    {
        return ModemSession(port, clock, *ParseArguments(commandLine));
    }

    FakeClock clock;
    FakeSerialPort port{clock};
};

TEST_F(Session, OpensTheNumberedPortAt2400N81AndSendsTheInitialisationWithCrLf)
{
    auto session = make();
    EXPECT_EQ(session.open(), OpenResult::AwaitingReply);
    EXPECT_EQ(port.openedPort, 3);
    EXPECT_EQ(port.openedSettings, "2400,N,8,1");
    EXPECT_EQ(port.sentTexts(), Texts{"AT\r\n"});
    EXPECT_GE(port.inputClears, 1);
}

TEST_F(Session, AnInitialisationStringOfItsOwnIsSentAsGiven)
{
    auto session = make("~00見本 [0]03-1234-5678,,[1]2ATDT[2]ATZ E0[3]");
    session.open();
    EXPECT_EQ(port.openedPort, 2);
    EXPECT_EQ(port.sentTexts(), Texts{"ATZ E0\r\n"});
}

TEST_F(Session, APortThatCannotBeOpenedEndsTheSequenceBeforeAnythingIsSent)
{
    port.refuseOpen = true;
    auto session = make();
    EXPECT_EQ(session.open(), OpenResult::PortUnusable);
    EXPECT_TRUE(port.sent.empty());
    EXPECT_FALSE(session.isOpen());
}

TEST_F(Session, WithoutAnInitialisationMarkerItDialsStraightAway)
{
    auto session = make("~00見本 [0]03-1234-5678,,[1]2ATDT");
    EXPECT_EQ(session.open(), OpenResult::ReadyToDial);
    EXPECT_TRUE(port.sent.empty());
}

TEST_F(Session, TheReplyIsCollectedAcrossReadsUntilItContainsOK)
{
    auto session = make();
    session.open();
    port.incoming = {"AT\r\r\n", "O", "K\r\n"};
    EXPECT_EQ(session.pollReply(), ReplyState::Waiting);
    EXPECT_EQ(session.pollReply(), ReplyState::Waiting);
    EXPECT_EQ(session.pollReply(), ReplyState::Answered);
    EXPECT_EQ(session.reply(), "AT\r\r\nOK\r\n");
}

TEST_F(Session, AModemThatNeverAnswersIsGivenUpAfterTenSeconds)
{
    auto session = make();
    session.open();
    port.incoming = {"AT\r\r\n"};
    clock.advance(ReplyLimitMs - 1);
    EXPECT_EQ(session.pollReply(), ReplyState::Waiting);
    clock.advance(1);
    EXPECT_EQ(session.pollReply(), ReplyState::NoAnswer);
    EXPECT_EQ(ReplyLimitMs, 10000);
}

TEST_F(Session, DiallingSendsPrefixAndDialDigitsWithCrLfAfterThrowingAwayStaleInput)
{
    auto session = make();
    session.open();
    port.incoming = {"OK\r\n"};
    session.pollReply();
    port.incoming = {"stale"};
    session.dial();
    EXPECT_TRUE(port.incoming.empty());
    EXPECT_EQ(port.sentTexts(), (Texts{"AT\r\n", "ATDP0,0312345678,,1234\r\n"}));
}

TEST_F(Session, AnInitialisationStringTheModemRejectsIsToldAtOnce)
{
    for (const char* answer : {"ATZ E9\r\r\nERROR\r\n", "4\r"}) {
        auto session = make("~00見本 [0]03-1234-5678,,[1]2ATDT[2]ATZ E9[3]");
        session.open();
        port.incoming = {answer};
        EXPECT_EQ(session.pollReply(), ReplyState::Rejected) << answer;
    }
    EXPECT_EQ(clock.monotonicMs(), 0);
}

TEST_F(Session, ANumericZeroIsTheModemsOK)
{
    auto session = make();
    session.open();
    port.incoming = {"AT\r", "0", "\r"};
    EXPECT_EQ(session.pollReply(), ReplyState::Waiting);
    EXPECT_EQ(session.pollReply(), ReplyState::Waiting); // "0" alone could still become "0" + more
    EXPECT_EQ(session.pollReply(), ReplyState::Answered);
}

TEST_F(Session, HangingUpEscapesWithGuardPausesThenHangsUpAndCloses)
{
    auto session = make();
    session.open();
    long long pressedAt = clock.monotonicMs();
    session.hangUp({});
    ASSERT_EQ(port.sent.size(), 3u);
    EXPECT_EQ(port.sent[1].text, "+++");
    EXPECT_EQ(port.sent[1].atMs, pressedAt + EscapePauseMs);
    EXPECT_EQ(port.sent[2].text, "ATH\r");
    // The modem never dialled: it is in command mode already and has no "OK" to give.
    EXPECT_EQ(port.sent[2].atMs, pressedAt + 2 * EscapePauseMs);
    EXPECT_FALSE(session.isOpen());
}

TEST_F(Session, HangingUpWaitsForTheOutputToDrainWhileEventsRun)
{
    auto session = make();
    session.open();
    port.outCounts = {5, 3, 0};
    int eventsRun = 0;
    session.hangUp([&] {
        EXPECT_TRUE(port.isOpen());
        ++eventsRun;
    });
    EXPECT_EQ(eventsRun, 2);
    EXPECT_FALSE(session.isOpen());
}

TEST_F(Session, AnOutputThatNeverDrainsDoesNotKeepTheProgramAlive)
{
    auto session = make();
    session.open();
    port.outCounts = {-1};
    long long before = clock.monotonicMs();
    session.hangUp({});
    EXPECT_FALSE(session.isOpen());
    EXPECT_GE(clock.monotonicMs() - before, 2 * EscapePauseMs + DrainLimitMs);
    EXPECT_LE(clock.monotonicMs() - before, 2 * EscapePauseMs + DrainLimitMs + DrainPollMs);
}

TEST_F(Session, HangingUpAPortThatWasNeverOpenedSendsNothingAndDoesNotPause)
{
    auto session = make();
    session.hangUp({});
    EXPECT_TRUE(port.sent.empty());
    EXPECT_TRUE(clock.sleeps.empty());
}

} // namespace
} // namespace talik::dialler
