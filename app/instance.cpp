#include "app/instance.h"

#include <QSocketNotifier>

#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace talik {
namespace {

constexpr int ConnectWaitMs = 1000;
constexpr int ReplyWaitMs = 3000;
constexpr int PendingConnections = 8;
constexpr std::string_view RaiseRequest = "raise\n";
constexpr std::string_view RaiseDone = "ok\n";

// The name in the abstract namespace: nothing on disk, so a copy that was killed leaves nothing
// behind, and the name is free again the moment its process is gone.
struct AbstractAddress
{
    sockaddr_un address{};
    socklen_t length = 0;
};

std::optional<AbstractAddress> AddressOf(const QString& name)
{
    const QByteArray bytes = name.toUtf8();
    AbstractAddress result;
    if (bytes.isEmpty() || static_cast<std::size_t>(bytes.size()) + 1 > sizeof(result.address.sun_path)) {
        return std::nullopt;
    }
    result.address.sun_family = AF_UNIX;
    std::memcpy(result.address.sun_path + 1, bytes.constData(), bytes.size());
    result.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + bytes.size());
    return result;
}

// Abstract names have no file permissions: only a peer of this user is answered or handed over to.
bool PeerIsThisUser(int fd)
{
    ucred peer{};
    socklen_t size = sizeof(peer);
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == getuid();
}

// Waits for `fd` to become readable; false on timeout or error.
bool WaitReadable(int fd, int ms)
{
    pollfd entry{fd, POLLIN, 0};
    int ready = 0;
    do {
        ready = poll(&entry, 1, ms);
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}

} // namespace

// One later copy talking to this one: its request read line by line as it comes.
class InstanceGuard::Caller : public QObject
{
public:
    Caller(int fd, InstanceGuard& guard)
        : QObject(&guard), m_fd(fd), m_guard(guard), m_notifier(fd, QSocketNotifier::Read, this)
    {
        connect(&m_notifier, &QSocketNotifier::activated, this, &Caller::readable);
    }
    ~Caller() override
    {
        m_notifier.setEnabled(false);
        ::close(m_fd);
    }

private:
    void readable()
    {
        char buffer[64];
        const ssize_t got = ::recv(m_fd, buffer, sizeof(buffer), MSG_DONTWAIT);
        if (got < 0 && (errno == EAGAIN || errno == EINTR)) {
            return;
        }
        if (got > 0) {
            m_line.append(buffer, static_cast<std::size_t>(got));
        }
        const std::size_t end = m_line.find('\n');
        if (got > 0 && end == std::string::npos && m_line.size() < sizeof(buffer)) {
            return;
        }
        if (end != std::string::npos && std::string_view(m_line).substr(0, end + 1) == RaiseRequest) {
            emit m_guard.raiseRequested();
            ::send(m_fd, RaiseDone.data(), RaiseDone.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        }
        m_notifier.setEnabled(false);
        deleteLater();
    }

    int m_fd;
    InstanceGuard& m_guard;
    QSocketNotifier m_notifier;
    std::string m_line;
};

InstanceGuard::InstanceGuard(const QString& name, QObject* parent) : QObject(parent), m_name(name) {}

InstanceGuard::~InstanceGuard()
{
    if (m_fd >= 0) {
        m_listening->setEnabled(false);
        ::close(m_fd);
    }
}

bool InstanceGuard::handOver()
{
    const std::optional<AbstractAddress> address = AddressOf(m_name);
    if (!address) {
        return false;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    // A first copy too busy to take connections keeps a connect waiting: not for long.
    const timeval connectWait{ConnectWaitMs / 1000, (ConnectWaitMs % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &connectWait, sizeof(connectWait));
    // No copy listening: refused at once.
    const bool connected =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address->address), address->length) == 0 && PeerIsThisUser(fd);
    if (connected) {
        ::send(fd, RaiseRequest.data(), RaiseRequest.size(), MSG_NOSIGNAL);
        // The first copy answers once its window is forward; a busy one may take a moment.
        std::string reply;
        char buffer[16];
        while (reply.size() < RaiseDone.size() && WaitReadable(fd, ReplyWaitMs)) {
            const ssize_t got = ::recv(fd, buffer, sizeof(buffer), 0);
            if (got <= 0) {
                break;
            }
            reply.append(buffer, static_cast<std::size_t>(got));
        }
    }
    ::close(fd);
    return connected;
}

bool InstanceGuard::listen()
{
    const std::optional<AbstractAddress> address = AddressOf(m_name);
    if (!address) {
        return false;
    }
    m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_fd < 0) {
        return false;
    }
    if (::bind(m_fd, reinterpret_cast<const sockaddr*>(&address->address), address->length) != 0 ||
        ::listen(m_fd, PendingConnections) != 0) {
        ::close(m_fd);
        m_fd = -1;
        return false;
    }
    m_listening = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_listening, &QSocketNotifier::activated, this, &InstanceGuard::answer);
    return true;
}

void InstanceGuard::answer()
{
    for (;;) {
        const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            return;
        }
        if (!PeerIsThisUser(fd)) {
            ::close(fd);
            continue;
        }
        new Caller(fd, *this);
    }
}

} // namespace talik
