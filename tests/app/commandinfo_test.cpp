// talik32's --help and --version: answered from the command line alone, before any window.
#include <gtest/gtest.h>

#include "app/commandinfo.h"
#include "app/startup.h"

namespace talik {
namespace {

TEST(CommandInfo, HelpAndVersionAreAnsweredWhereverTheyStand)
{
    EXPECT_EQ(CommandInfo({"--version"}), "talik32 (Rinmaro) 7.01\n");
    EXPECT_EQ(CommandInfo({"--help"}), Talik32Usage());
    EXPECT_EQ(CommandInfo({"-05", "--help"}), Talik32Usage());
    // The first one named wins.
    EXPECT_EQ(CommandInfo({"--version", "--help"}), Talik32Version());
    EXPECT_EQ(CommandInfo({"--help", "--version"}), Talik32Usage());
}

TEST(CommandInfo, AnyOtherCommandLineStartsTheAddressBook)
{
    for (const auto& args : std::vector<std::vector<std::string>>{{}, {"-05"}, {"-x"}, {"--helpme"}, {"-help"}}) {
        EXPECT_EQ(CommandInfo(args), std::nullopt) << (args.empty() ? "" : args[0]);
    }
}

TEST(CommandInfo, TheUsageDocumentsTheModeArgument)
{
    std::string usage = Talik32Usage();
    EXPECT_TRUE(usage.starts_with("使い方: talik32 [-NN]\n")) << usage;
    for (const char* part : {"-NN", "モード番号", "\"System_NN\"", "--help", "--version"}) {
        EXPECT_NE(usage.find(part), std::string::npos) << part;
    }
    // The usage's own "-NN" must not read as a mode to the program's parser either way.
    EXPECT_TRUE(ParseModeArgument("-NN").invalid);
}

} // namespace
} // namespace talik
