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

bool Answers(const std::string& url, const std::string& user, const std::string& password)
{
    HttpClient http({user, password, ""});
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

DavServer::DavServer(Kind kind) : m_kind(kind), m_port(FreePort())
{
    if (!start()) {
        return;
    }
    if (m_kind == Kind::Radicale) {
        m_book = root() + "alice/book/";
        HttpClient http({user(), password(), ""});
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
                "--no-server-ssl",
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
    } else {
        std::string program = FindProgram("xandikos");
        if (program.empty()) {
            return false;
        }
        args = {program, "-d", m_dir.str() + "/store", "--defaults", "-l", "127.0.0.1", "-p", std::to_string(m_port)};
    }
    m_pid = StartProgram(args);
    if (m_pid > 0 && !Answers(root(), user(), password())) {
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

DavServer::~DavServer()
{
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        WaitForProgram(m_pid);
    }
}

} // namespace talik::test
