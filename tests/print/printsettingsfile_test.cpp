// Print-settings files: what a saved .PR1 holds, byte for byte; round trips of both parts; files
// from another mode; files that hold no layout; failed saves.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "listwin/appstate.h"
#include "platform/codec.h"
#include "platform/profile.h"
#include "print/printloop.h"
#include "print/printsettingsfile.h"
#include "print/printwork.h"
#include "tests/support/scripted.h"
#include "tests/support/tempdir.h"

namespace talik {
namespace {

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteText(const std::string& path, const std::string& cp932)
{
    std::ofstream(path, std::ios::binary) << cp932;
}

// The keys of a settings file's lines, with "[section]" lines as they are (blank lines skipped).
std::vector<std::string> KeysOf(const std::string& utf8)
{
    std::vector<std::string> keys;
    std::size_t from = 0;
    while (from < utf8.size()) {
        std::size_t end = utf8.find("\r\n", from);
        std::string line = utf8.substr(from, end - from);
        if (!line.empty()) {
            keys.push_back(line.starts_with("[") ? line : line.substr(0, line.find('=')));
        }
        from = end == std::string::npos ? utf8.size() : end + 2;
    }
    return keys;
}

// Every key the settings writer writes, in its order: the documented content of a .PR1 or .PR2.
std::vector<std::string> DocumentedKeys()
{
    std::vector<std::string> keys{"[System]"};
    for (const char* window : {"Addr0", "Addr1"}) {
        for (const char* part : {"Left", "Top", "Width", "Height"}) {
            keys.push_back(std::string(window) + part);
        }
    }
    for (int item = 0; item < 17; ++item) {
        keys.push_back("AddrFontName" + std::to_string(item));
        keys.push_back("AddrFontSize" + std::to_string(item));
    }
    for (int column = 0; column < 13; ++column) {
        keys.push_back("ColumnWidth" + std::to_string(column));
    }
    for (const char* key : {"AddrFromSet", "AddrNumChange", "AddrNum7", "AddrDispX", "AddrDispY", "AddrDispXT",
                            "AddrDispYT", "AddrDispXL", "AddrDispYL", "AddrDBAct", "AddrBoxWidth", "AddrBoxHeight",
                            "AddrPrtScale", "AddrGapH", "AddrGapV"}) {
        keys.emplace_back(key);
    }
    for (const char* suffix : {"", "H"}) {
        for (const char* item : {"Addr", "Corp", "Sect", "Name", "Send", "SYNum"}) {
            keys.push_back(std::string("L_") + item + "Left" + suffix);
            keys.push_back(std::string("L_") + item + "Top" + suffix);
        }
    }
    for (const char* key : {"PrintDirection", "ListMode", "BackupPath", "[Copy_Setting_00]"}) {
        keys.emplace_back(key);
    }
    for (int i = 0; i < 4; ++i) {
        keys.push_back("Title0" + std::to_string(i));
        keys.push_back("Parm0" + std::to_string(i));
    }
    return keys;
}

class PrintSettingsFileTest : public ::testing::Test
{
protected:
    std::string file(const std::string& name) const { return dir.str() + "/" + name; }
    PrintLayout& layout() { return state.settings.Layout; }

    void changePostcardLayout()
    {
        layout().AddrFontName[4] = "ＭＳ ゴシック";
        layout().AddrFontSize[4] = 28;
        layout().AddrDispX = 1.5f;
        layout().AddrDispY = -0.5f;
        layout().L_NameH = {31.5f, 72};
        layout().L_SYNum = {7, 120};
        layout().PrintDirection = 1;
        layout().AddrNumChange = 1;
        layout().AddrNum7 = 1;
        layout().AddrFromSet = 1;
    }
    void changeLabelLayout()
    {
        layout().AddrFontSize[12] = 11;
        layout().AddrDispXT = 2;
        layout().AddrDispYT = -1;
        layout().AddrBoxWidth = 86.4f;
        layout().AddrBoxHeight = 42.3f;
        layout().AddrGapH = 2.5f;
        layout().AddrGapV = 0.5f;
    }

    test::TempDir dir;
    test::ScriptedInteraction ui;
    test::FixedClock clock;
    AppState state{ui, clock};
};

TEST_F(PrintSettingsFileTest, ASavedFileHoldsExactlyTheSettingsKeysInOrderInCp932WithCrLf)
{
    changePostcardLayout();
    ASSERT_TRUE(SavePrintSettingsFile(state, file("card.PR1")));

    const std::string bytes = FileBytes(file("card.PR1"));
    ASSERT_TRUE(bytes.ends_with("\r\n"));
    EXPECT_EQ(bytes.find("\n"), bytes.find("\r\n") + 1); // no bare LF anywhere
    const std::string text = FromCp932(bytes);
    EXPECT_EQ(KeysOf(text), DocumentedKeys());
    EXPECT_NE(bytes.find(ToCp932("AddrFontName4=ＭＳ ゴシック\r\n")), std::string::npos);
    EXPECT_NE(text.find("L_NameLeftH=31.5\r\n"), std::string::npos);
}

TEST_F(PrintSettingsFileTest, SavingOverAnOlderFileLeavesNothingOfIt)
{
    WriteText(file("old.PR1"), "[Other]\r\nStale=1\r\n[System]\r\nUnknown=2\r\n");
    ASSERT_TRUE(SavePrintSettingsFile(state, file("old.PR1")));
    EXPECT_EQ(KeysOf(FromCp932(FileBytes(file("old.PR1")))), DocumentedKeys());
}

TEST_F(PrintSettingsFileTest, APostcardFileBringsBackThePostcardLayoutAndLeavesTheLabelsAlone)
{
    changePostcardLayout();
    ASSERT_TRUE(SavePrintSettingsFile(state, file("card.PR1")));
    const PrintLayout saved = layout();
    layout() = PrintLayout();
    changeLabelLayout();
    const PrintLayout labels = layout();

    ASSERT_TRUE(LoadPrintSettingsFile(state, file("card.PR1"), PrintSettingsPart::Postcard));

    EXPECT_EQ(layout().AddrFontName[4], saved.AddrFontName[4]);
    EXPECT_EQ(layout().AddrFontSize[4], 28);
    EXPECT_EQ(layout().AddrDispX, 1.5f);
    EXPECT_EQ(layout().AddrDispY, -0.5f);
    EXPECT_EQ(layout().L_NameH.left, 31.5f);
    EXPECT_EQ(layout().L_SYNum.top, 120);
    EXPECT_EQ(layout().PrintDirection, 1);
    EXPECT_EQ(layout().AddrNumChange + layout().AddrNum7 + layout().AddrFromSet, 3);
    EXPECT_EQ(layout().AddrFontSize[12], labels.AddrFontSize[12]);
    EXPECT_EQ(layout().AddrBoxWidth, labels.AddrBoxWidth);
    EXPECT_EQ(layout().AddrGapH, labels.AddrGapH);
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(PrintSettingsFileTest, ALabelFileBringsBackCellsGapsAndOffsetAndLeavesThePostcardAlone)
{
    changeLabelLayout();
    ASSERT_TRUE(SavePrintSettingsFile(state, file("sheet.PR2")));
    layout() = PrintLayout();
    changePostcardLayout();

    ASSERT_TRUE(LoadPrintSettingsFile(state, file("sheet.PR2"), PrintSettingsPart::Label));

    EXPECT_EQ(layout().AddrFontSize[12], 11);
    EXPECT_EQ(layout().AddrDispXT, 2);
    EXPECT_EQ(layout().AddrDispYT, -1);
    EXPECT_EQ(layout().AddrBoxWidth, 86.4f);
    EXPECT_EQ(layout().AddrBoxHeight, 42.3f);
    EXPECT_EQ(layout().AddrGapH, 2.5f);
    EXPECT_EQ(layout().AddrGapV, 0.5f);
    EXPECT_EQ(layout().AddrDispX, 1.5f);
    EXPECT_EQ(layout().PrintDirection, 1);
}

TEST_F(PrintSettingsFileTest, AFileSavedByAnotherModeIsReadFromItsOnlySection)
{
    state.Mode = 5;
    changePostcardLayout();
    ASSERT_TRUE(SavePrintSettingsFile(state, file("mode5.PR1")));
    ASSERT_NE(FileBytes(file("mode5.PR1")).find("[System_05]"), std::string::npos);
    state.Mode = 0;
    layout() = PrintLayout();

    ASSERT_TRUE(LoadPrintSettingsFile(state, file("mode5.PR1"), PrintSettingsPart::Postcard));
    EXPECT_EQ(layout().AddrDispX, 1.5f);
    EXPECT_EQ(layout().PrintDirection, 1);
}

TEST_F(PrintSettingsFileTest, FilesWithoutTheLayoutAreRefusedAndChangeNothing)
{
    WriteText(file("notes.PR1"), "買い物メモ\r\n牛乳\r\n");
    WriteText(file("two.PR1"), "[System_01]\r\nAddrDispX=3\r\n[System_02]\r\nAddrDispX=4\r\n");
    WriteText(file("labels.PR2"), "[System]\r\nAddrBoxWidth=70\r\n");
    changePostcardLayout();
    const PrintLayout before = layout();

    for (const char* name : {"notes.PR1", "two.PR1", "labels.PR2", "missing.PR1"}) {
        EXPECT_FALSE(LoadPrintSettingsFile(state, file(name), PrintSettingsPart::Postcard)) << name;
    }

    EXPECT_EQ(ui.messages(), std::vector<std::string>(4, "この印刷設定値ファイルは読み込めません。"));
    EXPECT_EQ(layout().AddrDispX, before.AddrDispX);
    EXPECT_EQ(layout().L_NameH.left, before.L_NameH.left);
    EXPECT_EQ(layout().AddrFontSize[4], before.AddrFontSize[4]);
    // Nor does the settings file written at exit learn anything else.
    ASSERT_TRUE(WriteSettings(state.settings, file("QXSCH.INI"), 0));
    PrintLayout atExit;
    ReadLayout(atExit, file("QXSCH.INI"), 0, 0);
    EXPECT_EQ(atExit.AddrDispX, 1.5f);
    EXPECT_EQ(atExit.PrintDirection, 1);
}

TEST_F(PrintSettingsFileTest, KeysMissingFromASectionThatHoldsSomeTakeTheirDefaults)
{
    WriteText(file("part.PR1"), "[System]\r\nAddrDispX=3\r\n");
    changePostcardLayout();
    ASSERT_TRUE(LoadPrintSettingsFile(state, file("part.PR1"), PrintSettingsPart::Postcard));
    EXPECT_EQ(layout().AddrDispX, 3);
    EXPECT_EQ(layout().AddrDispY, 0);
    EXPECT_EQ(layout().L_NameH.left, 25);
    EXPECT_EQ(layout().PrintDirection, 0);
}

TEST_F(PrintSettingsFileTest, AFailedSaveIsToldWithThePath)
{
    const std::string target = file("no such folder/card.PR1");
    EXPECT_FALSE(SavePrintSettingsFile(state, target));
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"印刷設定値ファイルを保存できませんでした。\n" + target});
    EXPECT_FALSE(std::filesystem::exists(target));
}

TEST_F(PrintSettingsFileTest, ANameWithoutExtensionGetsThePartsOne)
{
    EXPECT_EQ(WithPrintSettingsExtension("/tmp/card", PrintSettingsPart::Postcard), "/tmp/card.PR1");
    EXPECT_EQ(WithPrintSettingsExtension("/tmp/sheet", PrintSettingsPart::Label), "/tmp/sheet.PR2");
    EXPECT_EQ(WithPrintSettingsExtension("/tmp/card.pr1", PrintSettingsPart::Postcard), "/tmp/card.pr1");
    EXPECT_EQ(PrintSettingsFilter(PrintSettingsPart::Postcard), "はがき印刷用設定値ファイル (*.PR1 *.pr1);;すべて (*)");
}

TEST_F(PrintSettingsFileTest, TheShippedLabelPresetsLoadAndFillTheirSheets)
{
    struct Preset
    {
        const char* file;
        int cellsPerPage;
    };
    PrintTable table;
    table.entries.push_back({"100-0001", "東京都", "", "", "差出人!", "", ""});
    table.entries.resize(181, {"123-4567", "住所", "", "", "宛名!", "様", "0"});
    table.PrintLineCount = 181; // 180 recipients
    for (const Preset& preset : {Preset{"A4-12men-86.4x42.3.PR2", 12}, Preset{"A4-10men-86.4x50.8.PR2", 10},
                                 Preset{"A4-18men-70x42.3.PR2", 18}, Preset{"A4-21men-70x42.3.PR2", 18}}) {
        layout() = PrintLayout();
        const std::string path =
            (std::filesystem::path(TALIK_TEST_DATA).parent_path().parent_path() / "resources/labels" / preset.file)
                .string();
        ASSERT_TRUE(ReadPrintSettingsFile(layout(), path, 0, PrintSettingsPart::Label)) << preset.file;
        PrintJob job(state, table);
        EXPECT_EQ(CountPages(job, PrintLabels), 180 / preset.cellsPerPage) << preset.file;
        EXPECT_TRUE(ui.shown.empty()) << preset.file << ": " << (ui.shown.empty() ? "" : ui.shown[0].text);
    }
}

} // namespace
} // namespace talik
