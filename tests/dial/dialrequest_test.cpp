// The dial request: the dialler's argument text, its split into an argument list, finding and
// starting the dialler, and the checks before a call.
#include "dial/dialrequest.h"
#include "dialler/arguments.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

#include "listwin/appstate.h"
#include "platform/launcher.h"
#include "store/record.h"
#include "tests/support/scripted.h"
#include "tests/support/tempdir.h"

namespace talik::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* DialExample = "~00見本 [0]03-1234-5678,,[1]2ATDT[2]ATZ[3]";
// A stored name that, passed on as it is, would make the dialler dial 0990 on port 1 and send the
// modem an auto-answer command.
constexpr const char* SteeringName = "[0]0990[1]1ATDT[2]ATS0=1[3]";

// What the dialler reads from the argument list the address book starts it with.
dialler::DialArguments ReadByTheDialler(const std::vector<std::string>& arguments)
{
    auto parsed = dialler::ParseArguments(dialler::JoinArguments(arguments));
    EXPECT_TRUE(parsed);
    return parsed.value_or(dialler::DialArguments{});
}

// Also keeps the argument lists it was given.
std::string Joined(const std::vector<std::string>& parts)
{
    std::string text = parts.empty() ? std::string() : parts.front();
    for (std::size_t i = 1; i < parts.size(); ++i) {
        text += " " + parts[i];
    }
    return text;
}

TEST(DiallerArgumentText, IsThePlainConcatenationOfItsFields)
{
    EXPECT_EQ(DiallerArgumentText("見本", "03-1234-5678,,", 2, 1, "ATZ"), DialExample);
}

TEST(DiallerArgumentText, AnyOtherTelephoneTypeDialsByPulse)
{
    EXPECT_EQ(DiallerArgumentText("見本", "117,,", 3, 2, "ATZ"), "~00見本 [0]117,,[1]3ATDP[2]ATZ[3]");
}

TEST(DiallerArgumentText, AnEmptyInitialisationLeavesTheLastTwoMarkersTogether)
{
    std::string text = DiallerArgumentText("見本", "117,,", 1, 1, "");
    EXPECT_TRUE(text.ends_with("[1]1ATDT[2][3]")) << text;
}

TEST(DiallerArgumentText, NoFieldCanPlaceAMarkerForTheDialler)
{
    auto args = ReadByTheDialler(DiallerArgumentList(DiallerArgumentText(SteeringName, "03-1234-5678,,", 2, 1, "ATZ")));
    EXPECT_EQ(args.name, "［0]0990［1]1ATDT［2]ATS0=1［3]");
    EXPECT_EQ(args.dialDigits, "0312345678,,");
    EXPECT_EQ(args.port, "2");
    EXPECT_EQ(args.dialPrefix, "ATDT");
    EXPECT_EQ(args.initString, "ATZ");

    // A number or an initialisation string is no way round it either.
    args = ReadByTheDialler(DiallerArgumentList(DiallerArgumentText("見本", "117[1]1ATDP[2]ATS0=1[3]", 2, 1, "ATZ")));
    EXPECT_EQ(args.number, "117［1]1ATDP［2]ATS0=1［3]");
    EXPECT_EQ(args.port, "2");
    EXPECT_EQ(args.dialPrefix, "ATDT");
    EXPECT_EQ(args.initString, "ATZ");
    args = ReadByTheDialler(DiallerArgumentList(DiallerArgumentText("見本", "117,,", 2, 1, "AT[3]S0=1")));
    EXPECT_EQ(args.initString, "AT［3]S0=1");
}

TEST(DiallerArgumentList, SplitsAtEveryBlankSoJoiningRestoresTheText)
{
    std::string text = DiallerArgumentText("山田  花子 様", "03-1234-5678,,", 2, 1, "AT&F E0");
    auto list = DiallerArgumentList(text);
    EXPECT_EQ(list,
              (std::vector<std::string>{"~00山田", "", "花子", "様", "[0]03-1234-5678,,[1]2ATDT[2]AT&F", "E0[3]"}));
    EXPECT_EQ(Joined(list), text);
    EXPECT_EQ(DiallerArgumentList("~00　全角空白 [0]1"), (std::vector<std::string>{"~00　全角空白", "[0]1"}));
}

class DialRequestTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        programFolder = dir.path() / "Program Files" / "talik";
        fs::create_directories(programFolder);
        state.ProgramFolder = programFolder.string() + "/";
        SetText(state.Rec.KanjiName, " 見本 ");
        state.DialNumber = "03-1234-5678,,";
        state.settings.ComPort = 2;
        state.settings.ComTelType = 1;
        state.settings.ComInitChar = "ATZ";
    }

    fs::path installDialler(const std::string& fileName, const std::string& script = "exit 0")
    {
        fs::path program = programFolder / fileName;
        std::string text = "#!/bin/sh\n" + script + "\n";
        WriteFileBytes(program, std::vector<std::uint8_t>(text.begin(), text.end()));
        fs::permissions(program, fs::perms::owner_all);
        return program;
    }
    void request(DialFrom from, char answer = 'Y')
    {
        DialRequest(state, launcher, from, [&] {
            idleDuringConfirmation = state.MainIdle;
            state.EditStatus = answer;
        });
    }
    std::string missingMessage() const { return state.ProgramFolder + "TALIKAD2.EXEが見つかりません。"; }

    TempDir dir;
    fs::path programFolder;
    ScriptedInteraction ui;
    FixedClock clock;
    AppState state{ui, clock};
    RecordingLauncher launcher;
    bool idleDuringConfirmation = true;
};

TEST_F(DialRequestTest, ChoosingASlotTakesItsCleanedNumber)
{
    SetText(state.Rec.Tel1, "03-1111-1111");
    SetText(state.Rec.Fax1, "03-2222-2222");
    SetText(state.Rec.Tel2, " 06-3333-3333 ");
    SetText(state.Rec.Fax2, "06-4444-4444");
    ChooseDialSlot(state, 2);
    EXPECT_EQ(state.DialSlot, 2);
    EXPECT_EQ(state.DialNumber, "06-3333-3333");
    ChooseDialSlot(state, 1);
    EXPECT_EQ(state.DialNumber, "03-2222-2222");
}

TEST_F(DialRequestTest, FindsTheDiallerWithoutRegardToCase)
{
    EXPECT_FALSE(FindDialler(state.ProgramFolder));
    fs::path program = installDialler("TALIKAD2");
    EXPECT_EQ(FindDialler(state.ProgramFolder), program.string());
}

TEST_F(DialRequestTest, StartsTheDiallerWithTheCleanedNameAndTheArgumentList)
{
    fs::path program = installDialler("Talikad2");
    EXPECT_TRUE(LaunchDialler(state, launcher));
    EXPECT_EQ(launcher.started, std::vector<std::string>{program.string()});
    ASSERT_EQ(launcher.arguments.size(), 1u);
    EXPECT_EQ(launcher.arguments[0], DiallerArgumentList(DialExample));
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(DialRequestTest, AStoredNameCannotSteerTheDialler)
{
    installDialler("Talikad2");
    SetText(state.Rec.KanjiName, SteeringName);
    ASSERT_TRUE(LaunchDialler(state, launcher));
    ASSERT_EQ(launcher.arguments.size(), 1u);
    auto args = ReadByTheDialler(launcher.arguments[0]);
    EXPECT_EQ(args.name, "［0]0990［1]1ATDT［2]ATS0=1［3]");
    EXPECT_EQ(args.number, "03-1234-5678,,");
    EXPECT_EQ(args.port, "2");
    EXPECT_EQ(args.initString, "ATZ");
}

TEST_F(DialRequestTest, AMissingOrUnstartableDiallerIsReported)
{
    EXPECT_FALSE(LaunchDialler(state, launcher));
    EXPECT_TRUE(launcher.started.empty());
    installDialler("Talikad2");
    launcher.answer = false;
    EXPECT_FALSE(LaunchDialler(state, launcher));
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{missingMessage(), missingMessage()}));
    EXPECT_EQ(ui.shown.back().icon, MessageIcon::Exclamation);
}

TEST_F(DialRequestTest, TheRealDiallerGetsTheTextBackFromAFolderWithBlanks)
{
    fs::path received = programFolder / "received";
    installDialler("Talikad2", "printf '%s' \"$*\" > \"$0.part\" && mv \"$0.part\" '" + received.string() + "'");
    SetText(state.Rec.KanjiName, "山田 花子");
    SystemLauncher system;
    ASSERT_TRUE(LaunchDialler(state, system));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!fs::exists(received) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(fs::exists(received));
    auto bytes = ReadFileBytes(received);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "~00山田 花子 [0]03-1234-5678,,[1]2ATDT[2]ATZ[3]");
}

TEST_F(DialRequestTest, TheMainWindowChecksTheModemSettingsAndIsBusyMeanwhile)
{
    installDialler("Talikad2");
    for (auto [port, type] : {std::pair{0, 1}, std::pair{2, 0}}) {
        state.settings.ComPort = port;
        state.settings.ComTelType = type;
        request(DialFrom::MainWindow);
        EXPECT_FALSE(idleDuringConfirmation);
        EXPECT_TRUE(state.MainIdle);
    }
    EXPECT_TRUE(launcher.started.empty());
    EXPECT_EQ(ui.messages(), (std::vector<std::string>(2, "モデム関連パラメータの設定が行われていません。")));

    state.settings.ComPort = 2;
    state.settings.ComTelType = 1;
    request(DialFrom::MainWindow);
    EXPECT_EQ(launcher.started.size(), 1u);
}

TEST_F(DialRequestTest, TheSearchWindowLeavesAnUnsetPortToTheDialler)
{
    installDialler("Talikad2");
    state.settings.ComPort = 0;
    state.MainIdle = false; // the main window waits for the search window
    request(DialFrom::SearchWindow);
    EXPECT_FALSE(state.MainIdle);
    EXPECT_TRUE(ui.shown.empty());
    ASSERT_EQ(launcher.arguments.size(), 1u);
    EXPECT_EQ(launcher.arguments[0].back(), "[0]03-1234-5678,,[1]0ATDT[2]ATZ[3]");
}

TEST_F(DialRequestTest, ACancelledConfirmationStartsNothing)
{
    installDialler("Talikad2");
    for (DialFrom from : {DialFrom::MainWindow, DialFrom::SearchWindow}) {
        request(from, 'N');
    }
    EXPECT_TRUE(launcher.started.empty());
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_TRUE(state.MainIdle);
}

} // namespace
} // namespace talik::test
