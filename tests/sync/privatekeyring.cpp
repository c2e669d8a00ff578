#include "tests/sync/privatekeyring.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "sync/secretstore.h"
#include "tests/support/childprocess.h"
#include "tests/sync/davserver.h"

namespace talik::test {
namespace {

// A session bus that starts no service on demand: the keyring answers only once it is ready, and
// nothing of the machine's own session is reached.
constexpr const char* BusConfig = R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=@DIR@</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

struct Pipe
{
    int read = -1;
    int write = -1;
    Pipe()
    {
        int ends[2];
        if (pipe2(ends, O_CLOEXEC) == 0) {
            read = ends[0];
            write = ends[1];
        }
    }
    ~Pipe()
    {
        closeRead();
        closeWrite();
    }
    void closeRead()
    {
        if (read >= 0) {
            close(read);
        }
        read = -1;
    }
    void closeWrite()
    {
        if (write >= 0) {
            close(write);
        }
        write = -1;
    }
};

// Starts a program with its own environment, `in` as its standard input and `out` (unless -1) as
// its standard output.
int Spawn(const std::vector<std::string>& args, const std::vector<std::string>& env, int in, int out)
{
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& entry : env) {
        envp.push_back(const_cast<char*>(entry.c_str()));
    }
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in, 0);
    if (out >= 0) {
        posix_spawn_file_actions_adddup2(&actions, out, 1);
    }
    pid_t pid = -1;
    int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return failed == 0 ? pid : -1;
}

std::string ReadLine(int fd)
{
    std::string line;
    char c = 0;
    while (read(fd, &c, 1) == 1 && c != '\n') {
        line += c;
    }
    return line;
}

} // namespace

PrivateKeyring::PrivateKeyring()
{
    if (!startBus()) {
        return;
    }
    setenv("DBUS_SESSION_BUS_ADDRESS", m_address.c_str(), 1);
    startKeyring();
}

bool PrivateKeyring::startBus()
{
    std::string program = FindProgram("dbus-daemon");
    if (program.empty()) {
        m_why = "dbus-daemon is not installed";
        return false;
    }
    std::string config = BusConfig;
    config.replace(config.find("@DIR@"), 5, m_dir.str());
    std::ofstream(m_dir.str() + "/bus.conf") << config;
    Pipe address;
    int in = open("/dev/null", O_RDONLY | O_CLOEXEC);
    m_busPid = Spawn({program, "--config-file=" + m_dir.str() + "/bus.conf", "--nofork", "--print-address"},
                     {"PATH=/usr/bin:/bin"}, in, address.write);
    close(in);
    address.closeWrite();
    if (m_busPid > 0) {
        m_address = ReadLine(address.read);
    }
    if (m_address.empty()) {
        m_why = "the private D-Bus session did not start";
        return false;
    }
    return true;
}

bool PrivateKeyring::startKeyring()
{
    std::string program = FindProgram("gnome-keyring-daemon");
    if (program.empty()) {
        m_why = "gnome-keyring-daemon is not installed";
        return false;
    }
    std::string home = m_dir.str() + "/home";
    std::filesystem::create_directories(home + "/run");
    chmod((home + "/run").c_str(), 0700);
    Pipe password;
    m_keyringPid = Spawn({program, "--foreground", "--unlock", "--components=secrets"},
                         {"PATH=/usr/bin:/bin", "HOME=" + home, "XDG_DATA_HOME=" + home + "/data",
                          "XDG_RUNTIME_DIR=" + home + "/run", "DBUS_SESSION_BUS_ADDRESS=" + m_address},
                         password.read, -1);
    password.closeRead();
    // The login keyring's own password, on standard input as the desktop's login would give it.
    (void)!write(password.write, "test", 4);
    password.closeWrite();
    // The daemon takes its name on the bus when it is ready: until then the store is not reached.
    SecretServiceStore store;
    for (int attempt = 0; m_keyringPid > 0 && attempt < 200; ++attempt) {
        if (store.lookup({"probe", "probe"}).reached) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    m_why = "the keyring daemon did not answer on the private bus";
    StopProgram(m_keyringPid);
    m_keyringPid = -1;
    return false;
}

PrivateKeyring::~PrivateKeyring()
{
    StopProgram(m_keyringPid);
    StopProgram(m_busPid);
}

} // namespace talik::test
