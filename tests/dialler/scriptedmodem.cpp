#include "tests/dialler/scriptedmodem.h"

#include <array>
#include <poll.h>
#include <unistd.h>
#include <utility>

namespace talik::dialler::test {
namespace {

constexpr int ListenSliceMs = 5; // how often the thread looks up from the line
constexpr std::string_view Connected = "\r\nCONNECT 2400\r\n";
constexpr std::string_view Ok = "\r\nOK\r\n";

} // namespace

ScriptedModem::ScriptedModem(std::chrono::milliseconds guardTime, std::string commandAnswer)
    : m_guard(guardTime), m_commandAnswer(std::move(commandAnswer)), m_thread([this] { run(); })
{}

ScriptedModem::~ScriptedModem()
{
    m_stop = true;
    m_thread.join();
}

std::vector<std::string> ScriptedModem::commands() const
{
    std::lock_guard lock(m_mutex);
    return m_commands;
}

std::string ScriptedModem::data() const
{
    std::lock_guard lock(m_mutex);
    return m_data;
}

int ScriptedModem::escapes() const
{
    std::lock_guard lock(m_mutex);
    return m_escapes;
}

bool ScriptedModem::hungUp() const
{
    std::lock_guard lock(m_mutex);
    return m_hungUp;
}

void ScriptedModem::run()
{
    std::array<char, 256> chunk;
    while (!m_stop) {
        pollfd line{m_line.masterFd(), POLLIN, 0};
        bool readable = poll(&line, 1, ListenSliceMs) > 0 && (line.revents & POLLIN);
        ssize_t got = readable ? read(m_line.masterFd(), chunk.data(), chunk.size()) : 0;
        Instant now = std::chrono::steady_clock::now();
        std::lock_guard lock(m_mutex);
        // Silence that has lasted the guard time ends the escape before anything read now counts.
        endEscapeIfSilent(now);
        for (ssize_t i = 0; i < got; ++i) {
            hear(chunk[static_cast<std::size_t>(i)], now);
        }
    }
}

void ScriptedModem::hear(char byte, Instant at)
{
    if (m_online) {
        hearOnline(byte, at);
    } else {
        hearCommand(byte);
    }
    m_lastByteAt = at;
}

void ScriptedModem::hearOnline(char byte, Instant at)
{
    bool lineEndOfTheDial = std::exchange(m_dialJustTaken, false) && byte == '\n';
    if (lineEndOfTheDial) {
        return;
    }
    bool startsEscape = m_pluses == 0 && at - m_lastByteAt >= m_guard;
    bool continuesEscape = m_pluses > 0 && m_pluses < 3 && at - m_lastByteAt < m_guard;
    if (byte == '+' && (startsEscape || continuesEscape)) {
        ++m_pluses;
        return;
    }
    // Not an escape after all: the pluses held back so far were data.
    m_data.append(static_cast<std::size_t>(m_pluses), '+');
    m_pluses = 0;
    m_data += byte;
}

void ScriptedModem::endEscapeIfSilent(Instant now)
{
    if (m_online && m_pluses == 3 && now - m_lastByteAt >= m_guard) {
        m_pluses = 0;
        m_online = false;
        ++m_escapes;
        answer(std::string(Ok));
    }
}

void ScriptedModem::hearCommand(char byte)
{
    if (byte == '\n') {
        return;
    }
    if (byte != '\r') {
        m_commandLine += byte;
        return;
    }
    std::size_t at = m_commandLine.find("AT");
    std::string command = at == std::string::npos ? std::string() : m_commandLine.substr(at);
    m_commandLine.clear();
    if (command.empty()) {
        return; // a line without "AT" is no command
    }
    m_commands.push_back(command);
    if (command.starts_with("ATD")) {
        m_online = true;
        m_dialJustTaken = true;
        answer(std::string(Connected));
    } else if (command == "ATH" || command == "ATH0") {
        m_hungUp = true;
        answer(std::string(Ok));
    } else {
        answer(m_commandAnswer);
    }
}

void ScriptedModem::answer(const std::string& text)
{
    (void)write(m_line.masterFd(), text.data(), text.size());
}

} // namespace talik::dialler::test
