// Talikad2: the automatic dialler the address book starts with the callee and the modem settings on
// its command line.
#include <string>
#include <vector>

#include <QApplication>
#include <QIcon>

#include "dialler/TALIKAD32.h"
#include "dialler/arguments.h"
#include "dialler/qtnotice.h"
#include "platform/clock.h"
#include "platform/serialport.h"

int main(int argc, char** argv)
{
    using namespace talik;
    using namespace talik::dialler;
    // Read before QApplication takes out arguments it thinks are its own ("-style" in a name).
    auto arguments = ParseArguments(JoinArguments(std::vector<std::string>(argv + 1, argv + argc)));
    if (!arguments) {
        return 0; // not started by the address book: nothing to do, nothing to show
    }
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QIcon icon;
    icon.addFile(":/talik/talik32-48.png");
    icon.addFile(":/talik/talik32-128.png");
    QApplication::setWindowIcon(icon);
    PosixSerialPort port;
    SystemClock clock;
    QtNotice notice;
    TALIKAD32 window(*arguments, port, clock, notice);
    notice.setOwner(&window);
    QObject::connect(&window, &TALIKAD32::ended, &app, &QApplication::exit, Qt::QueuedConnection);
    window.Load();
    return QApplication::exec();
}
