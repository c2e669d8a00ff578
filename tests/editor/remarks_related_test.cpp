// The remarks extra data (400 bytes, CR LF, never cut silently), the related file (which values
// may be stored and what the opener gets), and the sibling program's support (its message once).
#include <gtest/gtest.h>

#include <cstring>

#include <fstream>

#include "editor/relatedfile.h"
#include "editor/remarkstext.h"
#include "editor/sibling.h"
#include "platform/registry.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

TEST(RemarksText, LineBreaksAreStoredAsCrLfAndShownAsLf)
{
    EXPECT_EQ(RemarksForDisplay("a\r\nb\rc\nd"), "a\nb\nc\nd");
    EXPECT_EQ(RemarksForStorage("a\nb\r\nc"), "a\r\nb\r\nc");
}

TEST(RemarksText, CutsOnACharacterBoundaryNeverInsideALineBreak)
{
    EXPECT_EQ(CutRemarks("ab\r\ncd", 3), "ab");
    EXPECT_EQ(CutRemarks("ab\r\ncd", 4), "ab\r\n");
    EXPECT_EQ(CutRemarks("a漢字", 4), "a漢"); // 1 + 2 bytes; the next character would make 5
}

class RemarksStore : public ::testing::Test
{
protected:
    void SetUp() override { ClearRecord(extra); }
    ExtraRecord extra{};
    ScriptedInteraction ui;
};

TEST_F(RemarksStore, UnchangedTextLeavesTheFieldAlone)
{
    std::memcpy(extra.RemarksExtra, "keep\r\n  ", 8); // odd trailing bytes stay as they were
    ExtraRecord before = extra;
    EXPECT_EQ(StoreRemarks(extra, ui, "keep", "keep"), RemarksOutcome::Unchanged);
    EXPECT_EQ(std::memcmp(&extra, &before, sizeof(extra)), 0);
}

TEST_F(RemarksStore, OverTheLimitAsksBeforeCutting)
{
    std::string shown;
    for (int i = 0; i < 201; ++i) {
        shown += "漢"; // 402 bytes
    }
    ui.yesNoAnswers.push_back(false);
    EXPECT_EQ(StoreRemarks(extra, ui, "", shown), RemarksOutcome::KeepOpen);
    EXPECT_EQ(GetText(extra.RemarksExtra), "");
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_NE(ui.shown[0].text.find("402 バイト"), std::string::npos);

    ui.yesNoAnswers.push_back(true);
    EXPECT_EQ(StoreRemarks(extra, ui, "", shown), RemarksOutcome::Stored);
    EXPECT_EQ(GetText(extra.RemarksExtra), shown.substr(0, 200 * 3));

    EXPECT_EQ(StoreRemarks(extra, ui, "", "一行目\n二行目"), RemarksOutcome::Stored);
    EXPECT_EQ(std::string(extra.RemarksExtra, 16), "\x88\xea\x8d\x73\x96\xda\r\n\x93\xf1\x8d\x73\x96\xda  ");
}

class RelatedFile : public StoreTest
{
protected:
    void SetUp() override
    {
        state.ProgramFolder = dir.str() + "/prog/";
        std::filesystem::create_directories(state.ProgramFolder);
        std::ofstream(state.ProgramFolder + "-notes.txt") << "x";
        std::ofstream(dir.str() + "/abs.txt") << "x";
    }
    RecordingLauncher launcher;
};

TEST_F(RelatedFile, TheOpenerGetsAbsolutePathsAndWebUrlsOnly)
{
    const std::string folder = state.ProgramFolder;
    EXPECT_EQ(RelatedFileTarget("-notes.txt", folder), folder + "-notes.txt"); // never an option
    EXPECT_EQ(RelatedFileTarget(dir.str() + "/abs.txt", folder), dir.str() + "/abs.txt");
    EXPECT_EQ(RelatedFileTarget("HTTPS://example.jp/a?b", folder), "HTTPS://example.jp/a?b");
    EXPECT_EQ(RelatedFileTarget("http://x", folder), "http://x");
    for (const char* refused :
         {"file:///etc/passwd", "javascript:x", "C:\\DOC\\A.DOC", "c:/a", "\\\\server\\share", "missing.txt", ""}) {
        EXPECT_FALSE(RelatedFileTarget(refused, folder).has_value()) << refused;
    }
}

TEST_F(RelatedFile, OpeningTellsWhatCannotBeStarted)
{
    EXPECT_TRUE(OpenRelatedFile(state, launcher, "-notes.txt"));
    EXPECT_EQ(launcher.opened, (std::vector<std::string>{state.ProgramFolder + "-notes.txt"}));

    EXPECT_FALSE(OpenRelatedFile(state, launcher, "gone.doc"));
    EXPECT_EQ(launcher.opened.size(), 1u); // the opener is not even asked
    EXPECT_EQ(ui.messages().back(), "gone.docを起動できません。");

    launcher.answer = false; // the opener reported a failure
    EXPECT_FALSE(OpenRelatedFile(state, launcher, "http://x"));
    EXPECT_EQ(ui.messages().back(), "http://xを起動できません。");
}

TEST(RelatedPath, TooLongOrNotCp932IsRefusedNotCut)
{
    EXPECT_EQ(RelatedPathProblem(std::string(72, 'a')), "");
    EXPECT_EQ(RelatedPathProblem(std::string(73, 'a')), RelatedPathTooLong);
    EXPECT_EQ(RelatedPathProblem("/home/u/" + std::string(50, 'a') + "漢字漢字漢字漢字"), RelatedPathTooLong);
    EXPECT_EQ(RelatedPathProblem("/home/u/😀.txt"), RelatedPathBadChars);
    EXPECT_EQ(RelatedPathProblem("/home/u/한.txt"), RelatedPathBadChars);
}

class Sibling : public StoreTest
{
protected:
    void SetUp() override
    {
        state.ProfileFolder = dir.str();
        windows.find = [this](std::string_view part) {
            looked.emplace_back(part);
            return running;
        };
        windows.activate = [this](WindowId id) {
            activated.push_back(id);
            return true;
        };
    }
    void install(const std::string& name, bool executable)
    {
        std::filesystem::create_directories(dir.path() / "harupo");
        std::ofstream(dir.path() / "harupo" / name) << "#!/bin/sh\n";
        std::filesystem::permissions(dir.path() / "harupo" / name, executable ? std::filesystem::perms::owner_all
                                                                              : std::filesystem::perms::owner_read);
        std::ofstream(dir.path() / "REGISTRY.INI")
            << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\QXApps\\HARUPO\\RunPath]\r\n@=" << dir.str() << "/harupo/\r\n";
    }
    RecordingLauncher launcher;
    WindowSeams windows;
    FoundWindow running;
    std::vector<std::string> looked;
    std::vector<WindowId> activated;
};

TEST_F(Sibling, NotInstalledIsToldOnceForKeysAndFocusButEveryButtonPress)
{
    AddressSupport support(state, launcher, windows);
    EXPECT_FALSE(support.run(SupportTrigger::Focus));
    EXPECT_FALSE(support.run(SupportTrigger::Focus));
    EXPECT_FALSE(support.run(SupportTrigger::Key));
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"「Harupo」がインストールされていません。"}));
    EXPECT_FALSE(support.run(SupportTrigger::Button));
    EXPECT_EQ(ui.messages().size(), 2u);
    EXPECT_TRUE(launcher.started.empty());
}

TEST_F(Sibling, FoundCaseInsensitivelyAndStartedOnlyWhenExecutable)
{
    install("Harupo.exe", false);
    EXPECT_FALSE(SiblingProgram(state.ProfileFolder).has_value());
    install("Harupo.exe", true);
    EXPECT_EQ(SiblingProgram(state.ProfileFolder), dir.str() + "/harupo/Harupo.exe");
    AddressSupport support(state, launcher, windows);
    EXPECT_TRUE(support.run(SupportTrigger::Key));
    EXPECT_EQ(launcher.started, (std::vector<std::string>{dir.str() + "/harupo/Harupo.exe"}));
    EXPECT_TRUE(launcher.arguments[0].empty());
}

TEST_F(Sibling, ARunningCopyIsBroughtForwardInsteadOfAStart)
{
    install("HARUPO.EXE", true);
    running = {42, "はがき Harupo"};
    AddressSupport support(state, launcher, windows);
    EXPECT_TRUE(support.run(SupportTrigger::Button));
    EXPECT_EQ(looked, (std::vector<std::string>{"Harupo"}));
    EXPECT_EQ(activated, (std::vector<WindowId>{42}));
    EXPECT_TRUE(launcher.started.empty());
}

TEST(Registry, MissingFileOrKeyReadsAsNothing)
{
    TempDir dir;
    EXPECT_FALSE(RegistryDefaultValue(dir.str(), "HKEY_LOCAL_MACHINE\\SOFTWARE\\X").has_value());
    std::ofstream(dir.path() / "registry.ini") << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\X]\r\n@=  /opt/x  \r\n";
    EXPECT_EQ(RegistryDefaultValue(dir.str(), "hkey_local_machine\\software\\x"), "/opt/x");
    EXPECT_FALSE(RegistryDefaultValue(dir.str(), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Y").has_value());
}

} // namespace
} // namespace talik::test
