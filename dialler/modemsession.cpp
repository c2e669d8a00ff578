#include "dialler/modemsession.h"

#include <utility>

namespace talik::dialler {

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
    if (m_reply.find(ModemReady) != std::string::npos) {
        return ReplyState::Answered;
    }
    return m_clock.monotonicMs() - m_replySince >= ReplyLimitMs ? ReplyState::NoAnswer : ReplyState::Waiting;
}

void ModemSession::dial()
{
    m_port.clearInput();
    send(DialCommand(m_arguments.dialPrefix, m_arguments.dialDigits));
}

void ModemSession::hangUp(const std::function<void()>& letEventsRun)
{
    if (!m_port.isOpen()) {
        return;
    }
    m_clock.sleepMs(EscapeGuardMs);
    send(EscapeCommand);
    m_clock.sleepMs(EscapeGuardMs);
    send(HangUpCommand);
    waitForDrain(letEventsRun);
    close();
}

void ModemSession::waitForDrain(const std::function<void()>& letEventsRun)
{
    long long since = m_clock.monotonicMs();
    while (m_port.outBufferCount() > 0 && m_clock.monotonicMs() - since < DrainLimitMs) {
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
