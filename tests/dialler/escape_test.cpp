// Hanging up on a modelled 2400 bit/s line against a modem that judges the escape "+++" as a Hayes
// modem does: by the silence on the line before and after it.
#include <optional>

#include <gtest/gtest.h>

#include "dialler/modemsession.h"
#include "tests/dialler/fakes.h"

namespace talik::dialler {
namespace {

using test::FakeClock;
using test::FakeSerialPort;
using test::SentText;

constexpr double ByteMsAt2400 = 10.0 / 2.4; // start bit, 8 data bits, stop bit

// The modem's side of the line. Online after the dial command, it takes "+++" as the escape only
// when the line was silent for the guard time before the first "+" and stays silent for the guard
// time after the last one; it then says `answer` (nothing when quiet) and takes commands again.
class GuardTimeModem
{
public:
    GuardTimeModem(FakeSerialPort& port, int guardMs, std::string answer = "\r\nOK\r\n")
        : m_port(port), m_guardMs(guardMs), m_answer(std::move(answer))
    {
        port.onSent = [this](const SentText& sent) { hear(sent); };
    }

    bool hungUp = false;
    std::string dataWhileOnline;

private:
    void hear(const SentText& sent)
    {
        if (m_escapeLeftAt) {
            bool silentAfter = sent.leavesAtMs - *m_escapeLeftAt >= m_guardMs;
            m_online = !silentAfter;
            if (!silentAfter) {
                dataWhileOnline += "+++";
            }
            m_escapeLeftAt.reset();
        }
        if (m_online && sent.text == EscapeCommand && sent.leavesAtMs - m_lineSilentSince >= m_guardMs) {
            m_escapeLeftAt = sent.leftAtMs;
            if (!m_answer.empty()) {
                m_port.replyAt(sent.leftAtMs + m_guardMs, m_answer);
            }
        } else if (m_online) {
            dataWhileOnline += sent.text;
        } else {
            m_online = sent.text.starts_with("ATD");
            hungUp = hungUp || sent.text == HangUpCommand;
        }
        m_lineSilentSince = sent.leftAtMs;
    }

    FakeSerialPort& m_port;
    int m_guardMs;
    std::string m_answer;
    bool m_online = false;
    double m_lineSilentSince = 0;
    std::optional<double> m_escapeLeftAt;
};

class Escape : public ::testing::Test
{
protected:
    Escape() { port.byteMs = ByteMsAt2400; }

    // Initialised and dialled; the dial command has just been handed to the port.
    ModemSession dialled()
    {
        ModemSession session(port, clock, *ParseArguments("~00見本 [0]03-1234-5678,,[1]2ATDT[2]ATZ[3]"));
        session.open();
        port.incoming = {"\r\nOK\r\n"};
        EXPECT_EQ(session.pollReply(), ReplyState::Answered);
        clock.advance(DialDelayMs);
        session.dial();
        return session;
    }

    const SentText& sent(std::string_view text) const
    {
        for (const SentText& s : port.sent) {
            if (s.text == text) {
                return s;
            }
        }
        ADD_FAILURE() << "never sent: " << text;
        return port.sent.front();
    }

    FakeClock clock;
    FakeSerialPort port{clock};
};

TEST_F(Escape, TheSilenceAroundThePlusesIsClearlyLongerThanTheGuardTimeOnTheLine)
{
    GuardTimeModem modem(port, ModemGuardMs);
    auto session = dialled();
    clock.advance(PromptDelayMs + 3000); // the user takes the handset and presses the button
    session.hangUp({});
    EXPECT_TRUE(modem.hungUp);
    EXPECT_EQ(modem.dataWhileOnline, "");
    double before = sent("+++").leavesAtMs - sent("ATDT0312345678,,\r\n").leftAtMs;
    double after = sent("ATH\r").leavesAtMs - sent("+++").leftAtMs;
    EXPECT_GE(before, 1.15 * ModemGuardMs);
    EXPECT_GE(after, 1.15 * ModemGuardMs);
    EXPECT_FALSE(session.isOpen());
}

TEST_F(Escape, AButtonPressedWhileTheDialCommandIsStillGoingOutWaitsForItsLastByte)
{
    GuardTimeModem modem(port, ModemGuardMs);
    auto session = dialled();
    session.hangUp({}); // the 18 bytes of the dial command take 75 ms at 2400 bit/s
    EXPECT_TRUE(modem.hungUp);
    EXPECT_EQ(modem.dataWhileOnline, "");
}

TEST_F(Escape, AModemWithALongerGuardTimeIsGivenTheTimeToAnswerBeforeTheHangUp)
{
    GuardTimeModem modem(port, ModemGuardMs + 700);
    auto session = dialled();
    clock.advance(PromptDelayMs + 3000);
    session.hangUp({});
    EXPECT_TRUE(modem.hungUp);
    EXPECT_EQ(modem.dataWhileOnline, "");
}

TEST_F(Escape, ANumericZeroIsTheModemsOKAfterTheEscapeToo)
{
    GuardTimeModem modem(port, ModemGuardMs, "0\r");
    auto session = dialled();
    clock.advance(PromptDelayMs);
    session.hangUp({});
    EXPECT_TRUE(modem.hungUp);
    EXPECT_LT(sent("ATH\r").atMs - sent("+++").leftAtMs, EscapePauseMs + EscapeAnswerLimitMs);
}

TEST_F(Escape, ASilentModemGetsTheHangUpAfterTheTimeLimit)
{
    GuardTimeModem modem(port, ModemGuardMs, "");
    auto session = dialled();
    clock.advance(PromptDelayMs);
    port.replyAt(static_cast<double>(clock.monotonicMs()), "\r\nOK\r\n"); // said long before: not the escape's
    session.hangUp({});
    EXPECT_TRUE(modem.hungUp);
    double waited = static_cast<double>(sent("ATH\r").atMs) - sent("+++").leftAtMs;
    EXPECT_GE(waited, EscapePauseMs + EscapeAnswerLimitMs);
    EXPECT_LE(waited, EscapePauseMs + EscapeAnswerLimitMs + 2 * DrainPollMs);
    EXPECT_FALSE(session.isOpen());
}

TEST_F(Escape, TheHangUpIsOffTheLineBeforeThePortCloses)
{
    GuardTimeModem modem(port, ModemGuardMs);
    auto session = dialled();
    clock.advance(PromptDelayMs);
    session.hangUp({});
    EXPECT_GE(static_cast<double>(clock.monotonicMs()), sent("ATH\r").leftAtMs);
}

} // namespace
} // namespace talik::dialler
