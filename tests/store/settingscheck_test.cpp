// A hand-edited settings file: every value the settings window checks is checked again when read,
// and one it could never have stored falls back to the default.
#include <gtest/gtest.h>

#include "store/settings.h"
#include "tests/support/tempdir.h"

namespace talik {
namespace {

Settings ReadText(const std::string& text)
{
    test::TempDir dir;
    test::WriteFileBytes(dir.path() / "QXSCH.INI", {text.begin(), text.end()});
    Settings settings;
    ReadSettings(settings, (dir.path() / "QXSCH.INI").string(), (dir.path() / "none.ini").string(), 0);
    return settings;
}

TEST(SettingsCheckTest, ValuesNoWindowCouldStoreFallBackToTheirDefaults)
{
    Settings s = ReadText("[System]\r\nListFontSize=5000\r\nDBLClickOPT=9\r\nAddrDBAct=11\r\n"
                          "ColumnWidth0=-40\r\nColumnWidth3=0\r\nAddr0Width=-1\r\nAddr1Height=0\r\nComPort=10\r\n");
    const Settings defaults;
    EXPECT_EQ(s.ListFontSize, 10);
    EXPECT_EQ(s.DBLClickOPT, 0);
    EXPECT_EQ(s.AddrDBAct, 1);
    EXPECT_EQ(s.ColumnWidth[0], defaults.ColumnWidth[0]);
    EXPECT_EQ(s.ColumnWidth[3], defaults.ColumnWidth[3]);
    EXPECT_EQ(s.ListWindow.width, defaults.ListWindow.width);
    EXPECT_EQ(s.SearchWindow.height, defaults.SearchWindow.height);
    EXPECT_EQ(s.ComPort, 10); // kept as written: the dial request tells it where the port is used
    EXPECT_EQ(ReadText("[System]\r\nListFontSize=2\r\n").ListFontSize, 10);
}

TEST(SettingsCheckTest, ValuesTheWindowsStoreAreKept)
{
    Settings s = ReadText("[System]\r\nListFontSize=72\r\nDBLClickOPT=5\r\nAddrDBAct=10\r\nColumnWidth0=10\r\n"
                          "Addr0Width=3000\r\n");
    EXPECT_EQ(s.ListFontSize, 72);
    EXPECT_EQ(s.DBLClickOPT, 5);
    EXPECT_EQ(s.AddrDBAct, 10);
    EXPECT_EQ(s.ColumnWidth[0], 10);
    EXPECT_EQ(s.ListWindow.width, 3000);
}

} // namespace
} // namespace talik
