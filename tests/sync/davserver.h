#pragma once
// A real CardDAV server for a test: Radicale (strict) or Xandikos (lax), started on a free loopback
// port in a fresh folder and stopped by its process id.
#include <string>

#include "tests/support/tempdir.h"

namespace talik::test {

class DavServer
{
public:
    enum class Kind
    {
        Radicale,
        Xandikos,
    };
    explicit DavServer(Kind kind);
    ~DavServer();
    DavServer(const DavServer&) = delete;
    DavServer& operator=(const DavServer&) = delete;

    // False when the server's program is missing or did not answer (the test skips).
    bool running() const { return m_pid > 0; }
    std::string root() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/"; }
    // The address book the test syncs with (created for Radicale, Xandikos's default one).
    std::string book() const { return m_book; }
    std::string user() const { return m_kind == Kind::Radicale ? "alice" : ""; }
    std::string password() const { return m_kind == Kind::Radicale ? "secret" : ""; }
    // Kills the server hard, as a crash would, and starts it again on the same store.
    bool restart();

private:
    bool start();
    Kind m_kind;
    TempDir m_dir;
    int m_port = 0;
    int m_pid = -1;
    std::string m_book;
};

// A program on the PATH; empty when there is none.
std::string FindProgram(const std::string& name);

} // namespace talik::test
