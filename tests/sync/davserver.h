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
    // `tls`: Radicale over HTTPS with a certificate of its own, made by the `openssl` program.
    explicit DavServer(Kind kind, bool tls = false);
    ~DavServer();
    DavServer(const DavServer&) = delete;
    DavServer& operator=(const DavServer&) = delete;

    // False when the server's program is missing or did not answer (the test skips).
    bool running() const { return m_pid > 0; }
    std::string root() const
    {
        return (m_tls ? "https://127.0.0.1:" : "http://127.0.0.1:") + std::to_string(m_port) + "/";
    }
    // The address book the test syncs with (created for Radicale, Xandikos's default one).
    std::string book() const { return m_book; }
    std::string user() const { return m_kind == Kind::Radicale ? "alice" : ""; }
    std::string password() const { return m_kind == Kind::Radicale ? "secret" : ""; }
    // Kills the server hard, as a crash would, and starts it again on the same store.
    bool restart();
    // With `tls`: the fingerprint of the certificate's key, as openssl computes it ("sha256//…").
    std::string fingerprint() const { return m_fingerprint; }
    // With `tls`: a new certificate on a new key, the server started again with it.
    bool renewCertificate();

private:
    bool start();
    bool makeCertificate();
    Kind m_kind;
    bool m_tls;
    std::string m_fingerprint;
    int m_certificates = 0;
    TempDir m_dir;
    int m_port = 0;
    int m_pid = -1;
    std::string m_book;
};

// A program on the PATH; empty when there is none.
std::string FindProgram(const std::string& name);

} // namespace talik::test
