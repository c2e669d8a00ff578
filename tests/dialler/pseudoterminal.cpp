#include "tests/dialler/pseudoterminal.h"

#include <array>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>
#include <utility>

#include <QTest>

#include <gtest/gtest.h>

namespace talik::dialler::test {

PseudoTerminal::PseudoTerminal()
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        ADD_FAILURE() << "no pseudo-terminal";
        return;
    }
    m_slavePath = ptsname(m_master);
    m_slave = open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
}

PseudoTerminal::~PseudoTerminal()
{
    if (m_slave >= 0) {
        close(m_slave);
    }
    if (m_master >= 0) {
        close(m_master);
    }
}

void PseudoTerminal::reply(std::string_view text)
{
    ASSERT_EQ(write(m_master, text.data(), text.size()), static_cast<ssize_t>(text.size()));
}

void PseudoTerminal::collect()
{
    std::array<char, 256> chunk;
    ssize_t got = 0;
    while ((got = read(m_master, chunk.data(), chunk.size())) > 0) {
        m_received.append(chunk.data(), static_cast<std::size_t>(got));
    }
}

std::string PseudoTerminal::readUntil(std::string_view expected, int timeoutMs)
{
    (void)QTest::qWaitFor(
        [&] {
            collect();
            return m_received.find(expected) != std::string::npos;
        },
        timeoutMs);
    std::size_t at = m_received.find(expected);
    std::size_t end = at == std::string::npos ? m_received.size() : at + expected.size();
    std::string taken = m_received.substr(0, end);
    m_received.erase(0, end);
    return taken;
}

std::string PseudoTerminal::drain(int ms)
{
    QTest::qWait(ms);
    collect();
    return std::exchange(m_received, {});
}

} // namespace talik::dialler::test
