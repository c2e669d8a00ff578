#pragma once
// A Hayes modem played by a thread of its own on the master side of a pseudo-terminal, so that it
// hears the bytes when they arrive even while the dialler's window, in the test's thread, sleeps.
//
// In command mode it takes lines ending in CR from their "AT" on: "ATD..." connects and goes
// online, "ATH" hangs up, any other command gets the answer it was given. Online everything is data
// except the escape "+++" framed by the guard time of silence on both sides, measured by its own
// clock as the bytes arrive; after the escape it says "OK" and takes commands again.
#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/dialler/pseudoterminal.h"

namespace talik::dialler::test {

class ScriptedModem
{
public:
    ScriptedModem(std::chrono::milliseconds guardTime, std::string commandAnswer = "\r\nOK\r\n");
    ~ScriptedModem();
    ScriptedModem(const ScriptedModem&) = delete;
    ScriptedModem& operator=(const ScriptedModem&) = delete;

    // The device the dialler opens.
    const std::string& slavePath() const { return m_line.slavePath(); }

    // The command lines taken, without their CR; what went through as data while online; how
    // often the escape was taken; whether the call was hung up. Safe while the modem runs.
    std::vector<std::string> commands() const;
    std::string data() const;
    int escapes() const;
    bool hungUp() const;

private:
    using Instant = std::chrono::steady_clock::time_point;

    void run();
    void hear(char byte, Instant at);
    void hearOnline(char byte, Instant at);
    void hearCommand(char byte);
    void endEscapeIfSilent(Instant now);
    void answer(const std::string& text);

    PseudoTerminal m_line;
    const std::chrono::milliseconds m_guard;
    const std::string m_commandAnswer;
    std::atomic<bool> m_stop{false};

    mutable std::mutex m_mutex; // guards everything below
    bool m_online = false;
    bool m_dialJustTaken = false; // the LF of the dial command's CR LF is no data
    Instant m_lastByteAt{};
    int m_pluses = 0; // "+" heard after a guard time of silence, up to 3
    std::string m_commandLine;
    std::vector<std::string> m_commands;
    std::string m_data;
    int m_escapes = 0;
    bool m_hungUp = false;

    std::thread m_thread; // last: starts once everything above is ready
};

} // namespace talik::dialler::test
