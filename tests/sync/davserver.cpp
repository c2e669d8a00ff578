#include "tests/sync/davserver.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "sync/http.h"
#include "tests/support/childprocess.h"

namespace talik::test {
namespace {

int FreePort()
{
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
        port = ntohs(address.sin_port);
    }
    close(fd);
    return port;
}

bool Answers(const std::string& url, const std::string& user, const std::string& password, const std::string& pin)
{
    HttpClient http({user, password, pin});
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (http.send({"OPTIONS", url, {}, ""}).status != 0) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

} // namespace

std::string FindProgram(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path == nullptr ? "/usr/bin" : path);
    for (std::string dir; std::getline(dirs, dir, ':');) {
        std::filesystem::path candidate = std::filesystem::path(dir) / name;
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate.string();
        }
    }
    return {};
}

DavServer::DavServer(Kind kind, bool tls) : m_kind(kind), m_tls(tls), m_port(FreePort())
{
    if ((m_tls && !makeCertificate()) || !start()) {
        return;
    }
    if (m_kind == Kind::Radicale) {
        m_book = root() + "alice/book/";
        HttpClient http({user(), password(), m_fingerprint});
        http.send({"MKCOL", root() + "alice/", {}, ""});
        http.send({"MKCOL",
                   m_book,
                   {"Content-Type: application/xml"},
                   "<?xml version=\"1.0\"?><d:mkcol xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:carddav\">"
                   "<d:set><d:prop><d:resourcetype><d:collection/><c:addressbook/></d:resourcetype></d:prop>"
                   "</d:set></d:mkcol>"});
    } else {
        m_book = root() + "user/contacts/addressbook/";
    }
}

bool DavServer::start()
{
    std::vector<std::string> args;
    if (m_kind == Kind::Radicale) {
        std::string program = FindProgram("radicale");
        if (program.empty()) {
            return false;
        }
        std::ofstream(m_dir.str() + "/users") << "alice:secret\n";
        args = {program,
                "--config",
                "",
                "--server-hosts",
                "127.0.0.1:" + std::to_string(m_port),
                "--auth-type",
                "htpasswd",
                "--auth-htpasswd-filename",
                m_dir.str() + "/users",
                "--auth-htpasswd-encryption",
                "plain",
                "--rights-type",
                "owner_only",
                "--storage-filesystem-folder",
                m_dir.str() + "/store",
                "--logging-level",
                "error"};
        if (m_tls) {
            args.insert(args.end(), {"--server-ssl", "--server-certificate", m_dir.str() + "/cert.pem", "--server-key",
                                     m_dir.str() + "/key.pem"});
        } else {
            args.push_back("--no-server-ssl");
        }
    } else {
        std::string program = FindProgram("xandikos");
        if (program.empty()) {
            return false;
        }
        args = {program, "-d", m_dir.str() + "/store", "--defaults", "-l", "127.0.0.1", "-p", std::to_string(m_port)};
    }
    m_pid = StartProgram(args);
    if (m_pid > 0 && !Answers(root(), user(), password(), m_fingerprint)) {
        kill(m_pid, SIGKILL);
        WaitForProgram(m_pid);
        m_pid = -1;
    }
    return m_pid > 0;
}

bool DavServer::restart()
{
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        WaitForProgram(m_pid);
    }
    return start();
}

// A self-signed certificate for 127.0.0.1 on a fresh key, and its key's fingerprint computed by
// openssl itself (not by the code under test).
bool DavServer::makeCertificate()
{
    std::string openssl = FindProgram("openssl");
    if (openssl.empty()) {
        return false;
    }
    const std::string dir = m_dir.str();
    const std::string n = std::to_string(++m_certificates);
    std::filesystem::create_directories(dir + "/openssl");
    const std::vector<std::vector<std::string>> steps = {
        {openssl, "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout",
         dir + "/key.pem", "-out", dir + "/cert.pem", "-days", "2", "-subj", "/CN=talik test " + n, "-addext",
         "subjectAltName=IP:127.0.0.1"},
        {openssl, "x509", "-in", dir + "/cert.pem", "-pubkey", "-noout", "-out", dir + "/pub.pem"},
        {openssl, "pkey", "-pubin", "-in", dir + "/pub.pem", "-outform", "der", "-out", dir + "/pub.der"},
        {openssl, "dgst", "-sha256", "-binary", "-out", dir + "/pub.sha256", dir + "/pub.der"},
        {openssl, "base64", "-A", "-in", dir + "/pub.sha256", "-out", dir + "/pub.b64"},
    };
    for (const std::vector<std::string>& step : steps) {
        if (RunProgram(step, dir + "/openssl").exitCode != 0) {
            return false;
        }
    }
    std::ifstream in(dir + "/pub.b64");
    std::string base64;
    std::getline(in, base64);
    m_fingerprint = "sha256//" + base64;
    return !base64.empty();
}

bool DavServer::renewCertificate()
{
    return makeCertificate() && restart();
}

DavServer::~DavServer()
{
    StopProgram(m_pid);
}

} // namespace talik::test
