#pragma once
// The start-up form: the splash while the first database loads, the one place the settings are
// read, and for the rest of the run the owner of the notification-area icon and its menu.
#include <QIcon>
#include <QWidget>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QSystemTrayIcon;
class QTimer;

namespace talik {

struct AppState;
class Launcher;

class TALIKIN : public QWidget
{
    Q_OBJECT
public:
    TALIKIN(AppState& state, Launcher& launcher, QWidget* parent = nullptr);

    // Reads the settings, shows the splash and, with the tray setting on (and a tray to put it in),
    // adds the icon.
    void start();
    // Closes the splash: the list window may load on and take input.
    void closeSplash();
    // Closes the splash once the first load has begun, if it still shows. The splash's timer asks,
    // and so does the list window as soon as its load has begun.
    void watchLoad();
    // Removes the icon and the form: the program is ending.
    void unload();
    // The form as the modal version window: shown in front with its OK until OK (or a click) closes it.
    void showVersion();

    QSystemTrayIcon* trayIcon() const { return m_tray; }

signals:
    void splashClosed();
    void showListRequested(); // the icon was clicked
    void exitRequested();     // the menu's exit entry

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void buildSplash();
    void addTrayIcon();
    void nextTitleColour();

    AppState& m_state;
    Launcher& m_launcher;
    QLabel* m_title;
    QLabel* m_version;
    QPushButton* m_ok;
    QTimer* m_splashTimer;
    QTimer* m_colourTimer;
    int m_colourStep = 0;
    QSystemTrayIcon* m_tray = nullptr;
    QMenu* m_menu = nullptr;
    QAction* m_exit = nullptr;
    QAction* m_help = nullptr;
};

// The program's icon: the one the desktop menu shows, on the windows and in the notification area.
QIcon AppIcon();

// The start-up form shown modally as the version window (one made for the moment without one).
void ShowVersionWindow(AppState& state, Launcher& launcher, TALIKIN* startForm);

} // namespace talik
