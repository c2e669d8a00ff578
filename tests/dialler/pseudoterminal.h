#pragma once
// A pseudo-terminal for playing the modem: the dialler opens the slave side as its serial port,
// the test reads the commands and writes the replies on the master side.
#include <string>
#include <string_view>

namespace talik::dialler::test {

class PseudoTerminal
{
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // The device the dialler opens.
    const std::string& slavePath() const { return m_slavePath; }
    // A descriptor of the slave side held by the test, for looking at the line settings.
    int slaveFd() const { return m_slave; }
    // The modem's end, non-blocking, for a modem played by a thread of its own.
    int masterFd() const { return m_master; }

    // Sends `text` to the dialler as the modem's reply.
    void reply(std::string_view text);
    // Everything the dialler has sent up to and including `expected`, once it has arrived; window
    // events keep running while it waits. What arrived by `timeoutMs` (without `expected`) otherwise.
    std::string readUntil(std::string_view expected, int timeoutMs);
    // Everything sent and not yet returned by readUntil, after letting `ms` pass.
    std::string drain(int ms);

private:
    void collect();

    int m_master = -1;
    int m_slave = -1; // kept open so the master never sees the line hung up between openers
    std::string m_slavePath;
    std::string m_received;
};

} // namespace talik::dialler::test
