// A pair is replaced as one: a rename that fails after another succeeded is taken back, and a
// process killed at any step of the switch leaves a journal that the next open completes, so a
// reader never meets a new main file beside an old extra file. Copies keep the source's
// permissions, and temporary files of killed runs are tidied away.
#include <csignal>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "dbadmin/filecopy.h"
#include "platform/leftovers.h"
#include "store/pairswitch.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

namespace fs = std::filesystem;

void WriteText(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

class PairSwitchTest : public ::testing::Test
{
protected:
    PairSwitchTest()
    {
        WriteText(main(), "old main");
        WriteText(extra(), "old extra");
        WriteText(newMain(), "new main");
        WriteText(newExtra(), "new extra");
    }
    fs::path main() const { return dir.path() / "MRPDAT01.QX1"; }
    fs::path extra() const { return dir.path() / "MRPDAT01.QX2"; }
    fs::path newMain() const { return dir.path() / ".MRPDAT01.QX1.7.tmp"; }
    fs::path newExtra() const { return dir.path() / ".MRPDAT01.QX2.7.tmp"; }
    std::vector<FilePlacement> placements() const
    {
        return {{newMain().string(), main().string()}, {newExtra().string(), extra().string()}};
    }
    // Runs the switch in a child process that is killed right after step `killAt`; true when the
    // kill came before the switch was done.
    bool switchKilledAfter(int killAt,
                           const std::string& keepSuffix = {},
                           const std::vector<FilePlacement>& extraPlacements = {})
    {
        pid_t pid = ::fork();
        if (pid == 0) {
            SwitchOptions options;
            options.keepSuffix = keepSuffix;
            options.afterStep = [killAt](int step) {
                if (step == killAt) {
                    std::raise(SIGKILL);
                }
            };
            std::vector<FilePlacement> all = placements();
            all.insert(all.end(), extraPlacements.begin(), extraPlacements.end());
            SwitchFiles(all, options);
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFSIGNALED(status);
    }
    TempDir dir;
};

TEST_F(PairSwitchTest, ASwitchPlacesBothFilesAndLeavesNothingElse)
{
    EXPECT_TRUE(SwitchFiles(placements()).path.empty());
    EXPECT_EQ(ReadFileText(main()), "new main");
    EXPECT_EQ(ReadFileText(extra()), "new extra");
    EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"MRPDAT01.QX1", "MRPDAT01.QX2"}));
}

TEST_F(PairSwitchTest, ARenameFailingAfterTheFirstTakesTheFirstBack)
{
    fs::remove(extra());
    fs::create_directory(extra()); // a folder where the extra file goes: its rename fails
    WriteText(extra() / "inside", "x");
    SwitchOptions options;
    options.keepSuffix = ".prev";
    SwitchFailure failure = SwitchFiles(placements(), options);
    EXPECT_EQ(failure.path, extra().string());
    EXPECT_EQ(ReadFileText(main()), "old main");
    EXPECT_TRUE(fs::is_directory(extra()));
    EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"MRPDAT01.QX1", "MRPDAT01.QX2"}));
}

TEST_F(PairSwitchTest, AKillAtAnyStepIsCompletedByTheNextOpenNeverLeavingAMixedPair)
{
    for (int killAt = 0; killAt < 5; ++killAt) {
        SCOPED_TRACE("killed after step " + std::to_string(killAt));
        WriteText(main(), "old main");
        WriteText(extra(), "old extra");
        WriteText(newMain(), "new main");
        WriteText(newExtra(), "new extra");
        ASSERT_TRUE(switchKilledAfter(killAt, ".prev"));
        EXPECT_TRUE(FinishPendingSwitchOf(extra().string()));
        EXPECT_EQ(ReadFileText(main()), "new main");
        EXPECT_EQ(ReadFileText(extra()), "new extra");
        EXPECT_EQ(ReadFileText(dir.path() / "MRPDAT01.QX1.prev"), "old main");
        EXPECT_EQ(ReadFileText(dir.path() / "MRPDAT01.QX2.prev"), "old extra");
        EXPECT_FALSE(fs::exists(SwitchJournalPath(main().string())));
    }
    EXPECT_FALSE(switchKilledAfter(5)); // five steps: the loop above met every one
}

TEST_F(PairSwitchTest, AFileTheNewSetHasNoneOfGoesWithTheSwitchAndComesBackWithATakeBack)
{
    const fs::path side = dir.path() / "MRPDAT01.db";
    const std::vector<FilePlacement> takeAway{{"", side.string()}};
    for (int killAt = 0; killAt < 6; ++killAt) {
        SCOPED_TRACE("killed after step " + std::to_string(killAt));
        WriteText(main(), "old main");
        WriteText(extra(), "old extra");
        WriteText(side, "old side");
        WriteText(newMain(), "new main");
        WriteText(newExtra(), "new extra");
        ASSERT_TRUE(switchKilledAfter(killAt, ".prev", takeAway));
        EXPECT_TRUE(FinishPendingSwitchOf(side.string()));
        EXPECT_EQ(ReadFileText(main()), "new main");
        EXPECT_FALSE(fs::exists(side));
        EXPECT_EQ(ReadFileText(dir.path() / "MRPDAT01.db.prev"), "old side");
    }

    // A rename failing after the side store went brings it back with the rest.
    WriteText(side, "old side");
    WriteText(newMain(), "new main");
    fs::remove(extra());
    fs::create_directory(extra());
    std::vector<FilePlacement> all{
        {newMain().string(), main().string()}, takeAway.front(), {newExtra().string(), extra().string()}};
    WriteText(newExtra(), "new extra");
    EXPECT_EQ(SwitchFiles(all).path, extra().string());
    EXPECT_EQ(ReadFileText(side), "old side");
    EXPECT_EQ(ReadFileText(main()), "new main") << "as the loop above left it";
}

TEST_F(PairSwitchTest, ASwitchThatAnotherProcessIsMakingIsLeftToIt)
{
    // The journal of a live switch is locked: an open meanwhile does not take the switch over.
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    pid_t pid = ::fork();
    if (pid == 0) {
        SwitchOptions options;
        options.afterStep = [&](int step) {
            if (step == 2) {
                (void)!::write(fds[1], "x", 1);
                ::pause(); // until the parent kills it
            }
        };
        SwitchFiles(placements(), options);
        ::_exit(0);
    }
    ::close(fds[1]); // a child that ends without reaching the step ends the read too
    char c = 0;
    if (::read(fds[0], &c, 1) != 1) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        FAIL() << "the switch ended before its second step";
    }
    EXPECT_TRUE(FinishPendingSwitchOf(main().string()));
    EXPECT_TRUE(fs::exists(SwitchJournalPath(main().string())));
    EXPECT_EQ(ReadFileText(main()), "new main"); // the child's first rename only
    EXPECT_EQ(ReadFileText(extra()), "old extra");
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    EXPECT_TRUE(FinishPendingSwitchOf(main().string()));
    EXPECT_EQ(ReadFileText(extra()), "new extra");
    ::close(fds[0]);
}

TEST(LeftoverTest, TemporaryFilesOfEndedProcessesAreRemovedThoseOfLiveOnesKept)
{
    TempDir dir;
    pid_t ended = ::fork();
    if (ended == 0) {
        ::_exit(0);
    }
    ::waitpid(ended, nullptr, 0);
    const std::string mine = ".MRPDAT01.QX1." + std::to_string(::getpid()) + ".tmp";
    const std::string dead = ".MRPDAT01.QX2." + std::to_string(ended) + ".tmp";
    const std::string live = ".QXSCH.INI.1.tmp"; // process 1 always runs
    for (const std::string& name : {mine, dead, live, std::string(".notours.tmp"), std::string("a.12.tmp")}) {
        WriteText(dir.path() / name, "x");
    }
    EXPECT_EQ(RemoveLeftoverTemporaries(dir.str()), 2);
    EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{".QXSCH.INI.1.tmp", ".notours.tmp", "a.12.tmp"}));
    EXPECT_EQ(TemporaryOwner(".x.123.tmp"), 123);
    EXPECT_EQ(TemporaryOwner(".x.12a.tmp"), -1);
    EXPECT_EQ(TemporaryOwner("..123.tmp"), -1);
}

TEST(FileCopyModeTest, CopiesKeepTheSourcesModeAndNoMoreThanTheReplacedFile)
{
    TempDir from;
    TempDir to;
    ::umask(022);
    WriteText(from.path() / "a", "a");
    ::chmod((from.path() / "a").c_str(), 0600);
    WriteText(from.path() / "b", "b");
    ::chmod((from.path() / "b").c_str(), 0644);
    WriteText(to.path() / "b", "old");
    ::chmod((to.path() / "b").c_str(), 0640);
    ASSERT_TRUE(CopyFilesWhole({{(from.path() / "a").string(), (to.path() / "a").string()},
                                {(from.path() / "b").string(), (to.path() / "b").string()}},
                               nullptr)
                    .path.empty());
    struct stat st
    {
    };
    ASSERT_EQ(::stat((to.path() / "a").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat((to.path() / "b").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(FileCopyModeTest, ADeviceOrALinkToOneIsNeverCopied)
{
    TempDir to;
    fs::create_symlink("/dev/zero", to.path() / "zero");
    CopyFailure failure = CopyFilesWhole({{(to.path() / "zero").string(), (to.path() / "out").string()}}, nullptr);
    EXPECT_FALSE(failure.path.empty());
    EXPECT_EQ(FileNames(to.path()), (std::vector<std::string>{"zero"}));
}

} // namespace
} // namespace talik::test
