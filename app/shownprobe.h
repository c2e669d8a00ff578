#pragma once
// A watcher for whoever measures the program's start-up from outside (the start-up benchmark): off
// unless the environment names a file descriptor in TALIK_SHOWN_FD. Once the list window has
// painted its rows with the splash gone and the window taking keys, it writes "shown\n" to that
// descriptor, waits for the reader to hang up when the descriptor is a socket (so the reader can
// look at the running process first), and ends the program without the ending path: nothing the
// user keeps is written.
#include <QObject>

#include <functional>
#include <optional>
#include <string_view>

class QWidget;

namespace talik {

struct AppState;

inline constexpr const char* ShownFdVariable = "TALIK_SHOWN_FD";
inline constexpr std::string_view ShownLine = "shown\n";

// The descriptor a TALIK_SHOWN_FD value names: a decimal number and nothing else; none for an
// unset, empty or malformed value.
std::optional<int> ShownFdOf(const char* value);

class ShownProbe : public QObject
{
    Q_OBJECT
public:
    // Watches `listWindow`, whose list paints in `viewport`; `listShown` is the window's signal that
    // its first tab is filled. `finish` ends the program once the line is written.
    ShownProbe(int fd, const AppState& state, QWidget& listWindow, QWidget& viewport, std::function<void()> finish);

    // The first tab is filled: the next paint of the list shows its rows.
    void listFilled();
    // The splash went (or the window was enabled): the list may have painted already, so it paints again.
    void conditionsChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool usable() const;
    void report();

    int m_fd;
    const AppState& m_state;
    QWidget& m_listWindow;
    QWidget& m_viewport;
    std::function<void()> m_finish;
    bool m_filled = false;
    bool m_reported = false;
};

} // namespace talik
