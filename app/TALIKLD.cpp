#include "app/TALIKLD.h"

#include <QApplication>
#include <QStringList>
#include <QTreeView>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "app/TALIKIN.h"
#include "app/TALIKLST.h"
#include "app/appsetup.h"
#include "app/commandinfo.h"
#include "app/instance.h"
#include "app/shownprobe.h"
#include "app/startup.h"
#include "listwin/appstate.h"
#include "platform/launcher.h"
#include "ui/qtinteraction.h"

namespace talik {
namespace {

// The arguments as one text, as the program has always read its command line: its first "-" counts.
ModeArgument ModeOfArguments(const QStringList& arguments)
{
    return ParseModeArgument(Us(arguments.join(' ')));
}

int ModeFromCommandLine(AppState& state)
{
    ModeArgument mode = ModeOfArguments(QApplication::arguments().mid(1));
    if (mode.invalid) {
        state.ui.message(std::string(BadParameterMessage), MessageIcon::Exclamation);
    }
    return mode.mode;
}

void SetFolders(AppState& state, const StartFolders& folders)
{
    state.ProgramFolder = folders.program;
    state.WritableFolder = folders.writable;
    state.ProfileFolder = folders.profile;
}

// The mode of the command line before Qt has taken its own options out of it: only for the records
// read ahead, which the load checks before it takes them.
int EarlyMode(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return ModeOfArguments(arguments).mode;
}

// The start-up watcher, when whoever started the program asked for one.
void WatchStartUp(AppState& state, TALIKIN& startForm, TALIKLST& listWindow)
{
    const std::optional<int> fd = ShownFdOf(std::getenv(ShownFdVariable));
    if (!fd) {
        return;
    }
    auto* list = listWindow.findChild<QTreeView*>("ListView1");
    if (list == nullptr) {
        return;
    }
    auto* probe = new ShownProbe(*fd, state, listWindow, *list->viewport(), [] { QCoreApplication::exit(0); });
    QObject::connect(&listWindow, &TALIKLST::listFilled, probe, &ShownProbe::listFilled);
    QObject::connect(&startForm, &TALIKIN::splashClosed, probe, &ShownProbe::conditionsChanged, Qt::QueuedConnection);
}

} // namespace

int Main(int argc, char** argv)
{
    // Answered before any window or display is needed, so they work from a plain terminal.
    if (auto info = CommandInfo(std::vector<std::string>(argv + 1, argv + argc))) {
        std::fputs(info->c_str(), stdout);
        return 0;
    }
    // The records are read on another processor from here, while Qt and the windows start.
    const StartFolders folders = FindStartFolders();
    std::shared_ptr<ReadAhead> readAhead = StartReadingAhead(EarlyMode(argc, argv), folders);
    QApplication app(argc, argv);
    SetUpApplication(app);

    QtInteraction ui(std::string{ProductName});
    SystemClock clock;
    SystemLauncher launcher;
    AppState state(ui, clock);
    state.Mode = ModeFromCommandLine(state);

    SetFolders(state, folders);
    InstanceGuard guard(Qs(InstanceName(std::to_string(getuid()), state.ProfileFolder, state.Mode)));
    if (guard.handOver()) {
        return 0;
    }
    guard.listen();
    state.readAhead = std::move(readAhead);

    TALIKIN startForm(state, launcher);
    TALIKLST listWindow(state, launcher, &startForm);
    listWindow.setEnabled(false);
    QObject::connect(&startForm, &TALIKIN::splashClosed, &listWindow, [&listWindow] { listWindow.setEnabled(true); });
    QObject::connect(&startForm, &TALIKIN::showListRequested, &listWindow, &TALIKLST::bringToFront);
    QObject::connect(&startForm, &TALIKIN::exitRequested, &listWindow, &TALIKLST::requestExit);
    QObject::connect(&guard, &InstanceGuard::raiseRequested, &listWindow, &TALIKLST::bringToFront);
    QObject::connect(&listWindow, &TALIKLST::programEnds, &app, &QApplication::quit, Qt::QueuedConnection);

    WatchStartUp(state, startForm, listWindow);
    startForm.start();
    listWindow.show();
    listWindow.activateWindow();
    return app.exec();
}

} // namespace talik
