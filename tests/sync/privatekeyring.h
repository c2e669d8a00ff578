#pragma once
// A Secret Service of the test's own: a D-Bus session bus and a keyring daemon (gnome-keyring)
// started in a fresh folder, its login keyring created unlocked, both stopped by their process ids.
// The test process talks to it from then on (DBUS_SESSION_BUS_ADDRESS), so one per test program.
#include <string>

#include "tests/support/tempdir.h"

namespace talik::test {

class PrivateKeyring
{
public:
    PrivateKeyring();
    ~PrivateKeyring();
    PrivateKeyring(const PrivateKeyring&) = delete;
    PrivateKeyring& operator=(const PrivateKeyring&) = delete;

    // False when the bus or the keyring daemon could not be started; `why` says what was missing.
    bool running() const { return m_keyringPid > 0; }
    const std::string& why() const { return m_why; }

private:
    bool startBus();
    bool startKeyring();
    TempDir m_dir;
    std::string m_address;
    std::string m_why;
    int m_busPid = -1;
    int m_keyringPid = -1;
};

} // namespace talik::test
