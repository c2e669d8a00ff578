#include "app/TALIKIN.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QVBoxLayout>

#include "app/appsetup.h"
#include "app/startup.h"
#include "listwin/appstate.h"
#include "ui/formhelpers.h"
#include "ui/qtinteraction.h"

namespace talik {
namespace {

constexpr int SplashWatchMs = 5; // the list is usable as soon as this sees the load begin
constexpr int ColourStepMs = 250;
// The title cycles through green, cyan, magenta and red.
constexpr QRgb TitleColours[] = {0x00FF00, 0x00FFFF, 0xFF00FF, 0xFF0000};

} // namespace

QIcon AppIcon()
{
    // The application's, decoded once at the start; built afresh only where none was set.
    const QIcon set = QApplication::windowIcon();
    return set.isNull() ? ProgramIcon() : set;
}

TALIKIN::TALIKIN(AppState& state, Launcher& launcher, QWidget* parent)
    : QWidget(parent,
              Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      m_state(state), m_launcher(launcher), m_title(new QLabel("Rinmaro32", this)), m_version(new QLabel(this)),
      m_ok(new QPushButton("OK", this)), m_splashTimer(new QTimer(this)), m_colourTimer(new QTimer(this))
{
    setObjectName("TALIKIN");
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowIcon(AppIcon());
    buildSplash();
}

void TALIKIN::buildSplash()
{
    m_title->setObjectName("Label1");
    m_version->setObjectName("Label2");
    m_ok->setObjectName("Command1");
    QFont titleFont = m_title->font();
    titleFont.setPointSize(28);
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    m_title->setAlignment(Qt::AlignCenter);
    m_version->setAlignment(Qt::AlignCenter);
    m_ok->hide();
    SetColours(this, palette().color(QPalette::WindowText), QColor(0x20, 0x28, 0x38));
    SetColours(m_version, Qt::white, QColor(0x20, 0x28, 0x38));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 30, 40, 20);
    layout->addWidget(m_title);
    layout->addWidget(m_version);
    layout->addWidget(m_ok, 0, Qt::AlignCenter);
    connect(m_ok, &QPushButton::clicked, this, &TALIKIN::closeSplash);
    connect(m_splashTimer, &QTimer::timeout, this, &TALIKIN::watchLoad);
    connect(m_colourTimer, &QTimer::timeout, this, &TALIKIN::nextTitleColour);
}

void TALIKIN::start()
{
    m_state.SplashDone = false;
    m_colourTimer->start(ColourStepMs);
    nextTitleColour();
    m_version->setText("Version " + Qs(AppVersion));
    ReadAllSettings(m_state);
    adjustSize();
    CentreForm(this);
    show();
    m_splashTimer->start(SplashWatchMs);
    m_state.ExitRequested = true;
    if (m_state.TrayMode && QSystemTrayIcon::isSystemTrayAvailable()) {
        addTrayIcon();
        m_state.ExitRequested = false;
    }
}

void TALIKIN::addTrayIcon()
{
    m_menu = new QMenu(this);
    m_menu->setObjectName("PPM");
    m_exit = m_menu->addAction("終了（アン・ロード）");
    m_exit->setObjectName("PM1");
    m_help = m_menu->addAction("ヘルプ");
    m_help->setObjectName("PMHelp");
    connect(m_menu, &QMenu::aboutToShow, this, [this] { m_exit->setEnabled(m_state.MainIdle); });
    connect(m_exit, &QAction::triggered, this, &TALIKIN::exitRequested);
    connect(m_help, &QAction::triggered, this, [this] { OpenHelp(m_state, m_launcher); });

    m_tray = new QSystemTrayIcon(AppIcon(), this);
    m_tray->setToolTip(Qs(TrayTip(m_state.Mode)));
    m_tray->setContextMenu(m_menu);
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger && m_state.MainIdle) {
            emit showListRequested();
        }
    });
    m_tray->show();
}

void TALIKIN::watchLoad()
{
    if (m_state.LoadBegun && !m_state.SplashDone) {
        closeSplash();
    }
}

void TALIKIN::nextTitleColour()
{
    QPalette palette = m_title->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(TitleColours[m_colourStep]));
    m_title->setPalette(palette);
    m_colourStep = (m_colourStep + 1) % 4;
}

void TALIKIN::closeSplash()
{
    m_splashTimer->stop();
    m_colourTimer->stop();
    m_ok->show();
    m_state.SplashDone = true;
    hide();
    // Its window and the picture kept of it go until the version is asked for, which makes them anew:
    // the program holds no memory for a window nobody sees.
    destroy();
    emit splashClosed();
}

void TALIKIN::unload()
{
    if (m_tray != nullptr) {
        m_tray->hide();
        delete m_tray;
        m_tray = nullptr;
    }
    hide();
}

void TALIKIN::showVersion()
{
    const Qt::WindowFlags splashFlags = windowFlags();
    // A window that takes the focus, so OK answers to Enter and Space.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    setWindowModality(Qt::ApplicationModal);
    m_version->setText("Version " + Qs(AppVersion));
    m_ok->show();
    m_ok->setDefault(true);
    adjustSize();
    CentreForm(this);
    QEventLoop loop;
    auto closed = connect(this, &TALIKIN::splashClosed, &loop, &QEventLoop::quit);
    show();
    activateWindow();
    m_ok->setFocus();
    loop.exec();
    disconnect(closed);
    setWindowModality(Qt::NonModal);
    setWindowFlags(splashFlags);
    setAttribute(Qt::WA_ShowWithoutActivating, true);
}

void TALIKIN::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    closeSplash();
}

void ShowVersionWindow(AppState& state, Launcher& launcher, TALIKIN* startForm)
{
    if (startForm != nullptr) {
        startForm->showVersion();
        return;
    }
    TALIKIN form(state, launcher);
    form.showVersion();
}

} // namespace talik
