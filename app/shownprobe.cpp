#include "app/shownprobe.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include "listwin/appstate.h"
#include "platform/fdwrite.h"

namespace talik {
namespace {

bool IsSocket(int fd)
{
    struct stat info
    {
    };
    return ::fstat(fd, &info) == 0 && S_ISSOCK(info.st_mode);
}

void WaitForHangUp(int fd)
{
    char ignored[64];
    for (;;) {
        const ssize_t got = ::read(fd, ignored, sizeof(ignored));
        if (got == 0 || (got < 0 && errno != EINTR)) {
            return;
        }
    }
}

} // namespace

std::optional<int> ShownFdOf(const char* value)
{
    if (value == nullptr) {
        return std::nullopt;
    }
    const char* end = value + std::strlen(value);
    int fd = -1;
    const auto [stop, error] = std::from_chars(value, end, fd);
    if (error != std::errc() || stop != end || value == end || fd < 0) {
        return std::nullopt;
    }
    return fd;
}

ShownProbe::ShownProbe(
    int fd, const AppState& state, QWidget& listWindow, QWidget& viewport, std::function<void()> finish)
    : QObject(&listWindow), m_fd(fd), m_state(state), m_listWindow(listWindow), m_viewport(viewport),
      m_finish(std::move(finish))
{
    m_viewport.installEventFilter(this);
}

void ShownProbe::listFilled()
{
    m_filled = true;
    conditionsChanged();
}

void ShownProbe::conditionsChanged()
{
    if (usable()) {
        m_viewport.update();
    }
}

bool ShownProbe::usable() const
{
    return m_filled && m_state.SplashDone && m_listWindow.isEnabled() && m_viewport.isVisible();
}

bool ShownProbe::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_viewport && event->type() == QEvent::Paint && !m_reported && usable()) {
        m_reported = true;
        // Queued: the paint under way ends and reaches the screen before the line is written.
        QTimer::singleShot(0, this, &ShownProbe::report);
    }
    return QObject::eventFilter(watched, event);
}

void ShownProbe::report()
{
    WriteAll(m_fd, ShownLine); // a reader that went has nobody left to tell
    if (IsSocket(m_fd)) {
        ::shutdown(m_fd, SHUT_WR);
        WaitForHangUp(m_fd);
    }
    ::close(m_fd);
    m_finish();
}

} // namespace talik
