#include "store/settings.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "tests/support/tempdir.h"

namespace talik {
namespace {

using test::TempDir;

constexpr std::string_view Data = "\x83\x66\x81\x5b\x83\x5e"; // "データ" in CP932
constexpr std::string_view Shimei = "\x8e\x81\x96\xbc";       // "氏名" in CP932

// The postcard positions, vertical then horizontal writing.
constexpr LayoutPoint PrintLayout::*Points[] = {
    &PrintLayout::L_Addr,  &PrintLayout::L_Corp,  &PrintLayout::L_Sect,  &PrintLayout::L_Name,
    &PrintLayout::L_Send,  &PrintLayout::L_SYNum, &PrintLayout::L_AddrH, &PrintLayout::L_CorpH,
    &PrintLayout::L_SectH, &PrintLayout::L_NameH, &PrintLayout::L_SendH, &PrintLayout::L_SYNumH,
};

std::string Bytes(const std::filesystem::path& file)
{
    auto bytes = test::ReadFileBytes(file);
    return {bytes.begin(), bytes.end()};
}

void WriteBytes(const std::filesystem::path& file, std::string_view bytes)
{
    test::WriteFileBytes(file, {bytes.begin(), bytes.end()});
}

// The file's CR LF lines.
std::vector<std::string> Lines(const std::filesystem::path& file)
{
    const std::string text = Bytes(file);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

class SettingsFiles : public ::testing::Test
{
protected:
    TempDir dir;
    std::string file = (dir.path() / "QXSCH.INI").string();
    std::string captions = (dir.path() / "talik.ini").string();

    void write(std::string_view bytes) { WriteBytes(file, bytes); }
    Settings read(int mode)
    {
        Settings settings;
        ReadSettings(settings, file, captions, mode);
        return settings;
    }
};

TEST_F(SettingsFiles, WithoutAFileEveryDefaultHolds)
{
    const Settings s = read(0);
    EXPECT_EQ(s.AddrDBAct, 1);
    EXPECT_EQ(s.AddrDBName[0], "データベース1");
    EXPECT_EQ(s.AddrDBName[9], "データベース10");
    EXPECT_EQ(DataPathFromSetting(s.DBPathAddr, dir.str() + "/"), dir.str());
    EXPECT_EQ(s.ListSelTable, (std::array<bool, 12>{true, true}));
    for (const WindowGeometry& w : {s.ListWindow, s.SearchWindow}) {
        EXPECT_EQ(std::vector<int>({w.left, w.top, w.width, w.height}), std::vector<int>({0, 0, 7500, 4900}));
    }
    EXPECT_EQ(s.HarupoRun, -1);
    EXPECT_EQ(s.MsgType, 1);
    EXPECT_EQ(s.ComInitChar, ""); // the stored default is one blank
    EXPECT_EQ(s.AddressCheck[14], "");
    EXPECT_EQ(s.ColumnWidth[12], 1500);
    EXPECT_EQ(s.ListFontName, "ＭＳ ゴシック");
    EXPECT_EQ(s.ListFontSize, 10);
    EXPECT_EQ(s.AddrPrtScale, 1.0f);
    EXPECT_EQ(s.Copy[3].title, "コピー04");
    EXPECT_EQ(s.Copy[3].parm, "020702");
    EXPECT_EQ(s.Captions.name, "名　　前");
    EXPECT_EQ(s.Layout.AddrFontName[16], "ＭＳ ゴシック");
    EXPECT_EQ(s.Layout.L_SYNum.left, 6.5f);
    EXPECT_EQ(s.Layout.L_SYNumH.top, 124.0f);
    EXPECT_EQ(s.Layout.L_Addr.left, 87.0f);
    // A fresh object already holds what reading no file gives.
    const Settings fresh;
    EXPECT_EQ(fresh.AddrDBName, s.AddrDBName);
    EXPECT_EQ(fresh.ColumnWidth, s.ColumnWidth);
    EXPECT_EQ(fresh.Layout.AddrFontName, s.Layout.AddrFontName);
}

TEST_F(SettingsFiles, EveryValueWrittenReadsBack)
{
    Settings s;
    s.ListWindow = {10, 20, 3000, 2000};
    s.SearchWindow = {-5, 7, 8000, 6000};
    for (int i = 0; i < PrintItemTotal; ++i) {
        s.Layout.AddrFontName[i] = "明朝" + std::to_string(i);
        s.Layout.AddrFontSize[i] = 8 + i;
    }
    for (int c = 0; c < 13; ++c) {
        s.ColumnWidth[c] = 900 + c;
    }
    for (int k = 0; k < 12; ++k) {
        s.Layout.*Points[k] = {100.5f + static_cast<float>(k), 0.1f * static_cast<float>(k) + 1};
    }
    PrintLayout& l = s.Layout;
    l.AddrFromSet = 1, l.AddrNumChange = 2, l.AddrNum7 = 0, l.PrintDirection = 1;
    l.AddrDispX = 1.5f, l.AddrDispY = -2.25f, l.AddrDispXT = 0.1f, l.AddrDispYT = 3;
    l.AddrBoxWidth = 63.5f, l.AddrBoxHeight = 38.1f, l.AddrGapH = 2.5f, l.AddrGapV = 0.2f;
    s.AddrDispXL = -0.3f, s.AddrDispYL = 4.75f, s.AddrDBAct = 7, s.AddrPrtScale = 1.25f, s.ListMode = 1;
    s.BackupPath = "/media/控え";
    for (int i = 0; i < 4; ++i) {
        s.Copy[i] = {"写し" + std::to_string(i), "0102" + std::to_string(i)};
    }
    for (int n = 0; n < 10; ++n) {
        s.AddrDBName[n] = "住所録" + std::to_string(n);
    }
    ASSERT_TRUE(WriteSettings(s, file, 0));
    ASSERT_TRUE(WriteDbNames(s, file, 0));

    const Settings r = read(0);
    EXPECT_EQ(std::vector<int>({r.ListWindow.left, r.ListWindow.top, r.ListWindow.width, r.ListWindow.height}),
              std::vector<int>({10, 20, 3000, 2000}));
    EXPECT_EQ(std::vector<int>({r.SearchWindow.left, r.SearchWindow.top, r.SearchWindow.width, r.SearchWindow.height}),
              std::vector<int>({-5, 7, 8000, 6000}));
    EXPECT_EQ(r.Layout.AddrFontName, l.AddrFontName);
    EXPECT_EQ(r.Layout.AddrFontSize, l.AddrFontSize);
    EXPECT_EQ(r.ColumnWidth, s.ColumnWidth);
    for (int k = 0; k < 12; ++k) {
        EXPECT_EQ((r.Layout.*Points[k]).left, (l.*Points[k]).left) << k;
        EXPECT_EQ((r.Layout.*Points[k]).top, (l.*Points[k]).top) << k;
    }
    const PrintLayout& rl = r.Layout;
    EXPECT_EQ(std::vector<int>({rl.AddrFromSet, rl.AddrNumChange, rl.AddrNum7, rl.PrintDirection}),
              std::vector<int>({1, 2, 0, 1}));
    EXPECT_EQ(
        std::vector<float>({rl.AddrDispX, rl.AddrDispY, rl.AddrDispXT, rl.AddrDispYT, rl.AddrBoxWidth, rl.AddrBoxHeight,
                            rl.AddrGapH, rl.AddrGapV, r.AddrDispXL, r.AddrDispYL, r.AddrPrtScale}),
        std::vector<float>({1.5f, -2.25f, 0.1f, 3, 63.5f, 38.1f, 2.5f, 0.2f, -0.3f, 4.75f, 1.25f}));
    EXPECT_EQ(r.AddrDBAct, 7);
    EXPECT_EQ(r.ListMode, 1);
    EXPECT_EQ(r.BackupPath, "/media/控え");
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(r.Copy[i].title, s.Copy[i].title);
        EXPECT_EQ(r.Copy[i].parm, s.Copy[i].parm);
    }
    EXPECT_EQ(r.AddrDBName, s.AddrDBName);
}

TEST_F(SettingsFiles, SevenDigitBoxesUnlessAFileKeepsFive)
{
    // No file, and a mode of its own that was never written: seven boxes, and written as 1.
    EXPECT_EQ(read(0).Layout.AddrNum7, 1);
    EXPECT_EQ(Settings().Layout.AddrNum7, 1);
    write("[System]\r\nAddrNum7=0\r\n");
    EXPECT_EQ(read(0).Layout.AddrNum7, 0);
    const Settings fresh = read(4);
    EXPECT_EQ(fresh.Layout.AddrNum7, 1);
    ASSERT_TRUE(WriteSettings(fresh, file, 4));
    const std::vector<std::string> lines = Lines(file);
    const auto modeFour = std::find(lines.begin(), lines.end(), "[System_04]");
    ASSERT_NE(modeFour, lines.end());
    EXPECT_NE(std::find(modeFour, lines.end(), "AddrNum7=1"), lines.end());
    // The older copy's stored 0 is left as it was.
    EXPECT_EQ(read(0).Layout.AddrNum7, 0);
}

TEST_F(SettingsFiles, KeysAreWrittenInTheirOrder)
{
    ASSERT_TRUE(WriteSettings(Settings(), file, 0));
    std::vector<std::string> expected = {"[System]"};
    auto add = [&](const std::string& key) { expected.push_back(key); };
    for (std::string window : {"Addr0", "Addr1"}) {
        for (const char* part : {"Left", "Top", "Width", "Height"}) {
            add(window + part);
        }
    }
    for (int i = 0; i < 17; ++i) {
        add("AddrFontName" + std::to_string(i));
        add("AddrFontSize" + std::to_string(i));
    }
    for (int c = 0; c < 13; ++c) {
        add("ColumnWidth" + std::to_string(c));
    }
    for (const char* key : {"AddrFromSet", "AddrNumChange", "AddrNum7", "AddrDispX", "AddrDispY", "AddrDispXT",
                            "AddrDispYT", "AddrDispXL", "AddrDispYL", "AddrDBAct", "AddrBoxWidth", "AddrBoxHeight",
                            "AddrPrtScale", "AddrGapH", "AddrGapV"}) {
        add(key);
    }
    for (std::string writing : {"", "H"}) {
        for (std::string item : {"Addr", "Corp", "Sect", "Name", "Send", "SYNum"}) {
            add("L_" + item + "Left" + writing);
            add("L_" + item + "Top" + writing);
        }
    }
    for (const char* key : {"PrintDirection", "ListMode", "BackupPath", "", "[Copy_Setting_00]", "Title00", "Parm00",
                            "Title01", "Parm01", "Title02", "Parm02", "Title03", "Parm03"}) {
        add(key);
    }
    const std::vector<std::string> lines = Lines(file);
    std::vector<std::string> keys;
    for (const std::string& line : lines) {
        keys.push_back(line.substr(0, line.find('=')));
    }
    EXPECT_EQ(keys, expected);
    for (const char* line : {"AddrPrtScale=100", "L_SYNumLeft=6.5", "L_AddrLeft=87", "AddrDispX=0", "Parm03=020702"}) {
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
    }
}

TEST_F(SettingsFiles, AModeReadsAndWritesOnlyItsOwnSections)
{
    const std::string shared = "; shared\r\n[System]\r\nAddr0Left=5\r\n\r\n[Copy_Setting_00]\r\nTitle00=zero\r\n";
    write(shared);
    Settings three = read(3);
    EXPECT_EQ(three.ListWindow.left, 0);
    EXPECT_EQ(three.Copy[0].title, "コピー01");
    EXPECT_EQ(read(0).ListWindow.left, 5);
    EXPECT_EQ(read(0).Copy[0].title, "zero");

    three.ListWindow.left = 33;
    ASSERT_TRUE(WriteSettings(three, file, 3));
    const std::vector<std::string> lines = Lines(file);
    std::vector<std::string> headers;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(headers),
                 [](const std::string& line) { return line.starts_with("["); });
    EXPECT_EQ(headers, (std::vector<std::string>{"[System]", "[Copy_Setting_00]", "[System_03]", "[Copy_Setting_03]"}));
    EXPECT_EQ(Bytes(file).substr(0, shared.size()), shared);
    EXPECT_EQ(read(3).ListWindow.left, 33);
    EXPECT_EQ(read(0).ListWindow.left, 5);
}

TEST_F(SettingsFiles, AnExistingFileKeepsItsSectionsCommentsAndOrder)
{
    const std::string head = "; " + std::string(Data) + "\r\n[Schedule]\r\nOwner=" + std::string(Data) +
                             "\r\n[System]\r\nDBPathAddr=D:\\ADDR\\\r\n; percent\r\nAddrPrtScale=85\r\nListMode=1\r\n";
    const std::vector<std::string> tail = {"", "[Copy_Setting_00]", "; mine", "Title00=Mine"};
    std::string bytes = head;
    for (const std::string& line : tail) {
        bytes += line + "\r\n";
    }
    write(bytes);

    const Settings s = read(0);
    EXPECT_EQ(s.AddrPrtScale, 0.85f);
    EXPECT_EQ(DataPathFromSetting(s.DBPathAddr, dir.str()), "D:\\ADDR");
    EXPECT_EQ(s.ListMode, 1);
    EXPECT_EQ(s.Copy[0].title, "Mine");
    ASSERT_TRUE(WriteSettings(s, file, 0));

    // The old lines come first and unchanged ("85" written back as "85"); the rest follow in order.
    EXPECT_EQ(Bytes(file).substr(0, head.size()), head);
    const std::vector<std::string> lines = Lines(file);
    auto at = lines.begin();
    for (const std::string& line : tail) {
        at = std::find(at, lines.end(), line);
        EXPECT_NE(at, lines.end()) << line;
    }
}

TEST_F(SettingsFiles, CaptionsComeFromTheModesLabelSection)
{
    const std::string upper = (dir.path() / "TALIK.INI").string();
    WriteBytes(upper, "[label_02]\r\n\x96\xbc\x91\x4f=" + std::string(Shimei) + "\r\n"); // 名前=氏名
    captions = CaptionsFile(dir.str() + "/");
    EXPECT_EQ(captions, upper);

    EXPECT_EQ(read(2).Captions.name, "氏名");
    EXPECT_EQ(read(2).Captions.remarks, "備　　考");
    EXPECT_EQ(read(0).Captions.name, "名　　前");
}

TEST_F(SettingsFiles, ALayoutPartReadsOnlyItsOwnKeys)
{
    write("[System]\r\nAddrFontName0=A\r\nAddrFontName12=B\r\nAddrDispX=3\r\nAddrGapH=4\r\n");
    PrintLayout postcard;
    postcard.AddrFontName[12] = "keep";
    postcard.AddrGapH = -1;
    ReadLayout(postcard, file, 0, 1);
    EXPECT_EQ(postcard.AddrFontName[0], "A");
    EXPECT_EQ(postcard.AddrFontName[12], "keep");
    EXPECT_EQ(postcard.AddrDispX, 3.0f);
    EXPECT_EQ(postcard.AddrGapH, -1.0f);

    PrintLayout sheets;
    sheets.AddrFontName[0] = sheets.AddrFontName[15] = "keep";
    sheets.AddrDispX = -1;
    ReadLayout(sheets, file, 0, 2);
    EXPECT_EQ(sheets.AddrFontName[12], "B");
    EXPECT_EQ(sheets.AddrFontName[0], "keep");
    EXPECT_EQ(sheets.AddrFontName[15], "keep");
    EXPECT_EQ(sheets.AddrGapH, 4.0f);
    EXPECT_EQ(sheets.AddrDispX, -1.0f);
}

TEST(SettingsText, NamesPathsAndNumbers)
{
    EXPECT_EQ(SettingsSection(0), "System");
    EXPECT_EQ(SettingsSection(5), "System_05");
    EXPECT_EQ(CopySettingSection(0), "Copy_Setting_00");
    EXPECT_EQ(CaptionSection(12), "Label_12");

    EXPECT_EQ(DataPathFromSetting("*", "/opt/talik/"), "/opt/talik");
    EXPECT_EQ(DataPathFromSetting("*anything", "/opt/talik/"), "/opt/talik");
    EXPECT_EQ(DataPathFromSetting("/srv/addr/", "/opt/talik/"), "/srv/addr");
    EXPECT_EQ(DataPathFromSetting("/srv/addr", "/opt/talik/"), "/srv/addr");

    EXPECT_EQ(ParseDecimal("6.5"), 6.5f);
    EXPECT_EQ(ParseDecimal("85abc"), 85.0f);
    EXPECT_EQ(ParseDecimal(""), 0.0f);
    EXPECT_EQ(ParseDecimal("-3"), -3.0f);
    EXPECT_EQ(ParseDecimal(" 12"), 12.0f);
    EXPECT_EQ(ParseDecimal("1.5.2"), 1.5f);
    EXPECT_EQ(ParseDecimal(".25"), 0.25f);
    EXPECT_EQ(ParseDecimal("x1"), 0.0f);

    EXPECT_EQ(FormatDecimal(6.5f), "6.5");
    EXPECT_EQ(FormatDecimal(87.0f), "87");
    EXPECT_EQ(FormatDecimal(0.1f), "0.1");
    EXPECT_EQ(FormatDecimal(-2.25f), "-2.25");
    EXPECT_EQ(FormatDecimal(1e-5f), "0.00001"); // never an exponent the reader would stop at
}

} // namespace
} // namespace talik

namespace talik::test {
namespace {

TEST(NewSettingsKeys, AreWrittenOnceUsedAndThenKeptSoThatGoingBackToTheDefaultIsStored)
{
    TempDir dir;
    const std::string file = dir.str() + "/QXSCH.INI";
    Settings settings;
    ASSERT_TRUE(WriteSettings(settings, file, 0));
    for (const char* key : {"AddrNumStyle", "AddrJointNames", "CardYear", "SeasonView"}) {
        EXPECT_FALSE(ProfileDocument::load(file).value("System", key)) << key << ": never used";
    }
    settings.Layout.AddrNumStyle = 2;
    settings.Layout.AddrJointNames = 0;
    settings.CardYear = 2027;
    settings.SeasonView = 1;
    ASSERT_TRUE(WriteSettings(settings, file, 0));
    Settings read;
    ReadSettings(read, file, dir.str() + "/none.ini", 0);
    EXPECT_EQ(read.Layout.AddrNumStyle, 2);
    EXPECT_EQ(read.Layout.AddrJointNames, 0);
    EXPECT_EQ(read.CardYear, 2027);
    EXPECT_EQ(read.SeasonView, 1);

    ASSERT_TRUE(WriteSettings(Settings(), file, 0)); // each back to its default
    Settings again;
    ReadSettings(again, file, dir.str() + "/none.ini", 0);
    EXPECT_EQ(again.Layout.AddrNumStyle, 0);
    EXPECT_EQ(again.Layout.AddrJointNames, 1);
    EXPECT_EQ(again.CardYear, 0);
    EXPECT_EQ(again.SeasonView, 0);
}

} // namespace
} // namespace talik::test
