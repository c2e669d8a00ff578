// talik32 as the user starts it - a new process on the largest database - timed from the exec to
// the moment its list has painted the first tab's rows with the splash gone and the window taking
// keys, which the program itself tells through its start-up watcher (TALIK_SHOWN_FD). Beside it, in
// the same run, the floor any such program stands on: a bare QApplication showing a QTreeView of as
// many rows. Counters: the resident memory when the list was painted ("rss_mb"), its highest point
// until then ("hwm_mb") and over the whole run ("maxrss_mb").
#include <benchmark/benchmark.h>

#include <QAbstractTableModel>
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QTreeView>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "bench/benchsupport.h"
#include "store/record.h"

extern char** environ;

namespace talik {
namespace {

constexpr int ShownFdInChild = 3;
constexpr int ShownTimeoutMs = 60000;
constexpr const char* BareListFlag = "--bare-list";

// --- one start, watched ----------------------------------------------------------------------------

struct StartMeasure
{
    bool shown = false;
    double seconds = 0;
    double rssMb = 0; // VmRSS when the line came
    double hwmMb = 0; // VmHWM when the line came
    double maxRssMb = 0;
};

double StatusMb(pid_t pid, std::string_view field)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(field)) {
            return std::strtod(line.c_str() + field.size(), nullptr) / 1024.0; // kB
        }
    }
    return 0;
}

std::vector<std::string> ChildEnvironment(const std::string& windir)
{
    std::vector<std::string> env;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        std::string_view text(*entry);
        if (!text.starts_with("TALIK_SHOWN_FD=") && !text.starts_with("TALIK_WINDIR=") &&
            !text.starts_with("QT_QPA_PLATFORM=")) {
            env.emplace_back(text);
        }
    }
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    env.push_back(std::string("QT_QPA_PLATFORM=") + (platform != nullptr && *platform != 0 ? platform : "offscreen"));
    env.push_back("TALIK_SHOWN_FD=" + std::to_string(ShownFdInChild));
    env.push_back("TALIK_WINDIR=" + windir);
    return env;
}

bool ReadShownLine(int fd)
{
    std::string got;
    pollfd waiting{fd, POLLIN, 0};
    while (got.find('\n') == std::string::npos) {
        if (poll(&waiting, 1, ShownTimeoutMs) <= 0) {
            return false;
        }
        char buffer[64];
        const ssize_t n = read(fd, buffer, sizeof(buffer));
        if (n <= 0) {
            return false;
        }
        got.append(buffer, static_cast<std::size_t>(n));
    }
    return got == "shown\n";
}

// Starts `args` with one end of a socket pair as its descriptor 3, waits for the line, looks at its
// memory, hangs up and waits for it to end.
StartMeasure MeasureStart(const std::vector<std::string>& args, const std::string& windir)
{
    StartMeasure measure;
    int pair[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
        return measure;
    }
    std::vector<std::string> env = ChildEnvironment(windir);
    std::vector<char*> argv;
    std::vector<char*> envp;
    for (const auto& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    for (auto& entry : env) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pair[1], ShownFdInChild);
    pid_t pid = 0;
    const auto start = std::chrono::steady_clock::now();
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pair[1]);
    if (spawned != 0) {
        close(pair[0]);
        return measure;
    }
    measure.shown = ReadShownLine(pair[0]);
    measure.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    measure.rssMb = StatusMb(pid, "VmRSS:");
    measure.hwmMb = StatusMb(pid, "VmHWM:");
    if (!measure.shown) {
        kill(pid, SIGKILL);
    }
    close(pair[0]);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        measure.shown = false;
    }
    measure.maxRssMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return measure;
}

void RunStarts(benchmark::State& bench, const std::vector<std::string>& args, const std::string& windir)
{
    double rss = 0;
    double hwm = 0;
    double maxRss = 0;
    for (auto _ : bench) {
        const StartMeasure measure = MeasureStart(args, windir);
        if (!measure.shown) {
            bench.SkipWithError("the program never told that its list was painted");
            return;
        }
        bench.SetIterationTime(measure.seconds);
        rss += measure.rssMb;
        hwm += measure.hwmMb;
        maxRss += measure.maxRssMb;
    }
    const double runs = static_cast<double>(bench.iterations());
    bench.counters["rss_mb"] = rss / runs;
    bench.counters["hwm_mb"] = hwm / runs;
    bench.counters["maxrss_mb"] = maxRss / runs;
}

// A user's database was written long before the program starts; one generated a moment ago is
// not yet old enough for talik32 to trust what it reads ahead of its load (a second change within
// one tick of the file's clock would not show), so the runs wait until the file is.
void LetSettle(const std::string& data)
{
    const std::filesystem::path mainFile = MainFileName(data, 1);
    constexpr auto Settled = std::chrono::milliseconds(2500);
    std::error_code error;
    const auto written = std::filesystem::last_write_time(mainFile, error);
    if (!error) {
        std::this_thread::sleep_until(std::chrono::file_clock::to_sys(written + Settled));
    }
}

// talik32 on database 1 of the size, its settings (and nothing else of the user's) in the workspace.
void BM_Talik32(benchmark::State& bench, Workspace& workspace)
{
    const std::string data = workspace.dataPath(static_cast<int>(bench.range(0)));
    LetSettle(data);
    std::ofstream(workspace.programFolder() + "QXSCH.INI") << "[System]\r\nDBPathAddr=" << data << "\r\n";
    RunStarts(bench, {TALIK32_PATH}, workspace.programFolder());
}

// This program again, as nothing but a QTreeView of as many rows.
void BM_BareTreeView(benchmark::State& bench, Workspace& workspace)
{
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    RunStarts(bench, {self, BareListFlag, std::to_string(bench.range(0))}, workspace.programFolder());
}

constexpr NamedBenchmark StartBenchmarks[] = {
    {"Start/Talik32", BM_Talik32},
    {"Start/BareTreeView", BM_BareTreeView},
};

// --- the floor: a bare list ----------------------------------------------------------------------

class NumberedRows final : public QAbstractTableModel
{
public:
    explicit NumberedRows(int rows) : m_rows(rows) {}
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : m_rows; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 3; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole) {
            return {};
        }
        return QString::number(index.row() * 3 + index.column());
    }

private:
    int m_rows;
};

class FirstPaint final : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, [] {
                const ssize_t written = write(ShownFdInChild, "shown\n", 6);
                shutdown(ShownFdInChild, SHUT_WR);
                char ignored[16];
                while (written > 0 && read(ShownFdInChild, ignored, sizeof(ignored)) > 0) {
                }
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

int BareList(int argc, char** argv, int rows)
{
    QApplication app(argc, argv);
    NumberedRows model(rows);
    QTreeView view;
    view.setUniformRowHeights(true);
    view.setRootIsDecorated(false);
    view.setModel(&model);
    FirstPaint watcher;
    view.viewport()->installEventFilter(&watcher);
    view.resize(800, 400);
    view.show();
    return app.exec();
}

} // namespace
} // namespace talik

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], talik::BareListFlag) == 0) {
        return talik::BareList(argc, argv, std::atoi(argv[2]));
    }
    return talik::RunRaces(argc, argv, talik::StartBenchmarks, {10000, 64000});
}
