#include "platform/launcher.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "tests/support/envguard.h"
#include "tests/support/tempdir.h"

namespace talik {
namespace {

using test::TempDir;
namespace fs = std::filesystem;

// Writes an executable shell script: the fake programs these tests start. The launcher itself
// runs them directly, never through a shell.
fs::path WriteScript(const TempDir& dir, const std::string& name, const std::string& body)
{
    fs::path script = dir.path() / name;
    std::string text = "#!/bin/sh\n" + body + "\n";
    test::WriteFileBytes(script, std::vector<std::uint8_t>(text.begin(), text.end()));
    fs::permissions(script, fs::perms::owner_all);
    return script;
}

// A fake program that writes the arguments after its first (the output file) NUL-separated, and
// renames the file into place only when complete.
fs::path WriteArgumentRecorder(const TempDir& dir)
{
    return WriteScript(dir, "record-args", R"(out="$1"; shift
for a in "$@"; do printf '%s\0' "$a"; done > "$out.part"
mv "$out.part" "$out")");
}

// The arguments a recorder wrote, once it has written them.
std::optional<std::vector<std::string>> RecordedArguments(const fs::path& file)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!fs::exists(file)) {
        if (std::chrono::steady_clock::now() > deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::vector<std::string> args;
    std::string current;
    for (std::uint8_t byte : test::ReadFileBytes(file)) {
        if (byte == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(byte);
        }
    }
    return args;
}

// True while `pid` is a process of ours, running or ended but not yet collected (a zombie). The
// parent's id is checked, so that a later process given the same id does not count.
bool IsUncollectedChild(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) {
        return false;
    }
    // "pid (name) state ppid ...": the name may hold blanks and parentheses, so read after the last ")".
    std::istringstream rest(line.substr(line.rfind(')') + 1));
    char state = 0;
    pid_t parent = 0;
    rest >> state >> parent;
    return parent == getpid();
}

// Waits for a started program to end and be collected; false when it is still ours after a while.
bool CollectedInTime(pid_t pid)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (IsUncollectedChild(pid)) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// A fake program that writes its process id to `file` (complete, by a rename) and then runs `then`.
fs::path WritePidReporter(const TempDir& dir, const std::string& name, const fs::path& file, const std::string& then)
{
    return WriteScript(dir, name,
                       "echo $$ > '" + file.string() + ".part'; mv '" + file.string() + ".part' '" + file.string() +
                           "'; " + then);
}

// The process id a reporter wrote, once it has written it.
pid_t ReportedPid(const fs::path& file)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!fs::exists(file) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_t pid = 0;
    std::ifstream(file) >> pid;
    return pid;
}

TEST(SystemLauncher, StartPassesEveryArgumentExactlyWithoutAShell)
{
    TempDir dir;
    fs::path out = dir.path() / "args";
    const std::vector<std::string> args = {
        "two words",
        "",
        "it's \"quoted\"",
        "a; touch " + (dir.path() / "injected").string(),
        "$(touch " + (dir.path() / "substituted").string() + ")",
        "`id`",
        "* ?",
        "山田　太郎 ﾔﾏﾀﾞ",
        "back\\slash",
    };
    std::vector<std::string> withOutput = {out.string()};
    withOutput.insert(withOutput.end(), args.begin(), args.end());

    SystemLauncher launcher;
    ASSERT_TRUE(launcher.start(WriteArgumentRecorder(dir).string(), withOutput));

    EXPECT_EQ(RecordedArguments(out), args);
    EXPECT_FALSE(fs::exists(dir.path() / "injected"));
    EXPECT_FALSE(fs::exists(dir.path() / "substituted"));
}

TEST(SystemLauncher, StartLooksProgramsUpOnPathAndRefusesMissingOnes)
{
    TempDir dir;
    SystemLauncher launcher;
    EXPECT_TRUE(launcher.start("true", {}));
    EXPECT_FALSE(launcher.start((dir.path() / "no-such-program").string(), {}));
    EXPECT_FALSE(launcher.start("talik-no-such-program", {"x"}));
    EXPECT_FALSE(launcher.start("", {}));
}

TEST(SystemLauncher, OpenDocumentHandsTheTargetToTheOpenerAsOneArgument)
{
    TempDir dir;
    fs::path out = dir.path() / "args";
    fs::path opener =
        WriteScript(dir, "opener", WriteArgumentRecorder(dir).string() + " '" + out.string() + "' \"$@\"");
    test::EnvGuard openerSetting("TALIK_OPENER", opener.string());

    SystemLauncher launcher;
    EXPECT_TRUE(launcher.openDocument("mailto:a@example.jp;b@example.jp"));
    EXPECT_EQ(RecordedArguments(out), std::vector<std::string>{"mailto:a@example.jp;b@example.jp"});

    fs::remove(out);
    EXPECT_TRUE(launcher.openDocument("-名簿 (1).txt"));
    EXPECT_EQ(RecordedArguments(out), std::vector<std::string>{"./-名簿 (1).txt"}); // never read as an option
}

TEST(SystemLauncher, OpenDocumentFailsWhenTheOpenerReportsAnErrorOrIsMissing)
{
    TempDir dir;
    {
        test::EnvGuard openerSetting("TALIK_OPENER", WriteScript(dir, "opener-fails", "exit 2").string());
        EXPECT_FALSE(SystemLauncher().openDocument("/no/such/file.txt"));
    }
    {
        test::EnvGuard openerSetting("TALIK_OPENER", WriteScript(dir, "opener-crashes", "kill -9 $$").string());
        EXPECT_FALSE(SystemLauncher().openDocument("/some/file.txt"));
    }
    test::EnvGuard openerSetting("TALIK_OPENER", (dir.path() / "not-installed").string());
    EXPECT_FALSE(SystemLauncher().openDocument("/some/file.txt"));
}

TEST(SystemLauncher, OpenDocumentCountsAnOpenerStillRunningAfterTheWaitAsSuccess)
{
    TempDir dir;
    // Its output goes elsewhere so that the test's own output closes when the test ends.
    test::EnvGuard openerSetting("TALIK_OPENER",
                                 WriteScript(dir, "opener-stays", "exec sleep 10 >/dev/null 2>&1").string());

    const auto begin = std::chrono::steady_clock::now();
    {
        SystemLauncher launcher;
        EXPECT_TRUE(launcher.openDocument("/some/file.txt"));
    } // the destructor leaves the still running opener alone
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(8));
}

TEST(SystemLauncher, AStartedProgramThatEndsLeavesNoZombieBehind)
{
    TempDir dir;
    const fs::path pidFile = dir.path() / "pid";
    SystemLauncher launcher;
    ASSERT_TRUE(launcher.start(WritePidReporter(dir, "short-lived", pidFile, "exit 0").string(), {}));

    const pid_t pid = ReportedPid(pidFile);
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(CollectedInTime(pid)) << "process " << pid << " stays a zombie";
}

TEST(SystemLauncher, AnOpenerThatEndsAfterTheVerdictWaitLeavesNoZombieBehind)
{
    TempDir dir;
    const fs::path pidFile = dir.path() / "pid";
    test::EnvGuard openerSetting("TALIK_OPENER", WritePidReporter(dir, "opener-slow", pidFile, "sleep 3").string());

    SystemLauncher launcher;
    EXPECT_TRUE(launcher.openDocument("/some/file.txt"));
    const pid_t pid = ReportedPid(pidFile);
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(CollectedInTime(pid)) << "process " << pid << " stays a zombie";
}

} // namespace
} // namespace talik
