#include "dialler/modemsession.h"

#include <algorithm>
#include <utility>

namespace talik::dialler {
namespace {

// Where the first line that holds only `code` and has ended begins; npos when there is none.
std::size_t FindCodeLine(std::string_view reply, std::string_view code)
{
    std::size_t start = 0;
    for (;;) {
        std::size_t end = reply.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            return std::string_view::npos;
        }
        if (reply.substr(start, end - start) == code) {
            return start;
        }
        start = end + 1;
    }
}

} // namespace

ModemAnswer ReadAnswer(std::string_view reply)
{
    std::size_t ok = std::min(reply.find(ModemReady), FindCodeLine(reply, ModemReadyCode));
    std::size_t error = std::min(reply.find(ModemRejected), FindCodeLine(reply, ModemRejectedCode));
    if (ok == error) { // both npos
        return ModemAnswer::None;
    }
    return ok < error ? ModemAnswer::Ok : ModemAnswer::Error;
}

std::string InitCommand(std::string_view initString)
{
    return std::string(initString) + std::string(LineEnd);
}

std::string DialCommand(std::string_view dialPrefix, std::string_view dialDigits)
{
    return std::string(dialPrefix) + std::string(dialDigits) + std::string(LineEnd);
}

ModemSession::ModemSession(SerialPort& port, Clock& clock, DialArguments arguments)
    : m_port(port), m_clock(clock), m_arguments(std::move(arguments))
{}

OpenResult ModemSession::open()
{
    if (!m_port.open(PortNumber(m_arguments.port), LineSettingsText)) {
        return OpenResult::PortUnusable;
    }
    m_port.clearInput();
    if (m_arguments.initString.empty()) {
        return OpenResult::ReadyToDial;
    }
    m_reply.clear();
    send(InitCommand(m_arguments.initString));
    m_replySince = m_clock.monotonicMs();
    return OpenResult::AwaitingReply;
}

ReplyState ModemSession::pollReply()
{
    m_reply += m_port.readAvailable();
    switch (ReadAnswer(m_reply)) {
    case ModemAnswer::Ok:
        return ReplyState::Answered;
    case ModemAnswer::Error:
        return ReplyState::Rejected;
    case ModemAnswer::None:
        break;
    }
    return m_clock.monotonicMs() - m_replySince >= ReplyLimitMs ? ReplyState::NoAnswer : ReplyState::Waiting;
}

void ModemSession::dial()
{
    m_port.clearInput();
    send(DialCommand(m_arguments.dialPrefix, m_arguments.dialDigits));
    m_dialled = true;
}

void ModemSession::hangUp(const std::function<void()>& letEventsRun)
{
    if (!m_port.isOpen()) {
        return;
    }
    finishSending(letEventsRun);
    m_clock.sleepMs(EscapePauseMs);
    m_port.clearInput(); // what the modem said before ("CONNECT") is not the escape's "OK"
    send(EscapeCommand);
    finishSending(letEventsRun);
    m_clock.sleepMs(EscapePauseMs);
    if (m_dialled) {
        awaitEscapeAnswer(letEventsRun);
    }
    send(HangUpCommand);
    finishSending(letEventsRun);
    close();
}

void ModemSession::finishSending(const std::function<void()>& letEventsRun)
{
    long long since = m_clock.monotonicMs();
    while (!m_lineStalled && m_port.outBufferCount() > 0) {
        if (m_clock.monotonicMs() - since >= DrainLimitMs) {
            m_lineStalled = true;
            return;
        }
        if (letEventsRun) {
            letEventsRun();
        }
        m_clock.sleepMs(DrainPollMs);
    }
    // The queue is empty; the device may still be shifting its last bytes out.
    if (!m_lineStalled) {
        (void)m_port.drain();
    }
}

void ModemSession::awaitEscapeAnswer(const std::function<void()>& letEventsRun)
{
    std::string answer;
    long long since = m_clock.monotonicMs();
    for (;;) {
        answer += m_port.readAvailable();
        if (ReadAnswer(answer) != ModemAnswer::None || m_clock.monotonicMs() - since >= EscapeAnswerLimitMs) {
            return;
        }
        if (letEventsRun) {
            letEventsRun();
        }
        m_clock.sleepMs(DrainPollMs);
    }
}

void ModemSession::close()
{
    m_port.close();
}

} // namespace talik::dialler
