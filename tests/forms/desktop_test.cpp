// What the desktop sees of the address book: the icon on its windows, and --help and --version
// answered from a terminal without any display.
#include <QApplication>
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QWidget>

#include <gtest/gtest.h>

#include "app/TALIKIN.h"
#include "app/TALIKLST.h"
#include "app/appsetup.h"
#include "listwin/appstate.h"
#include "tests/support/childprocess.h"
#include "tests/support/scripted.h"
#include "tests/support/tempdir.h"
#include "ui/fonts.h"

namespace talik::test {
namespace {

TEST(ProgramIcon, WindowsCarryTheProgramsIconInItsTwoSizes)
{
    QIcon icon = ProgramIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_TRUE(icon.availableSizes().contains(QSize(48, 48)));
    EXPECT_TRUE(icon.availableSizes().contains(QSize(128, 128)));

    SetUpApplication(*qApp);
    QWidget window;
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(window.windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
    // The windows that set it take that one, decoded once, rather than decoding their own.
    EXPECT_EQ(AppIcon().cacheKey(), QApplication::windowIcon().cacheKey());
}

// Every window draws Japanese and Latin alike in the Gothic that stands in for "ＭＳ ゴシック", at the
// desktop's size: no other font is sought for either.
TEST(WindowFont, JapaneseAndLatinComeFromTheOneGothicAtTheDesktopsSize)
{
    const QFont desktop = QApplication::font();
    QApplication::setFont(QFont("DejaVu Sans", 13));
    UseWindowFont();
    const QFont font = QApplication::font();
    QApplication::setFont(desktop);
    EXPECT_EQ(QFontInfo(font).family(), "IPAGothic");
    EXPECT_EQ(font.pointSize(), 13);
    const QFontMetrics metrics(font);
    for (char32_t code : {U'A', U'7', U'あ', U'ア', U'ｱ', U'漢', U'：'}) {
        EXPECT_TRUE(metrics.inFontUcs4(code)) << static_cast<std::uint32_t>(code);
    }
}

// A stored "ＭＳ" name is drawn with its IPA stand-in unless the system has that font under either of
// its names; any other name is drawn as it is stored.
TEST(WindowFont, StoredNamesAreDrawnWithTheirStandInOnlyWhereTheSystemLacksTheFont)
{
    const QStringList plain{"DejaVu Sans", "IPAGothic", "IPAMincho"};
    EXPECT_EQ(DrawnFamily("ＭＳ ゴシック", plain), "IPAGothic");
    EXPECT_EQ(DrawnFamily("MS Mincho", plain), "IPAMincho");
    EXPECT_EQ(DrawnFamily("ms pgothic", plain), "IPAPGothic");
    EXPECT_EQ(DrawnFamily("ＭＳ Ｐ明朝", plain), "IPAPMincho");
    EXPECT_EQ(DrawnFamily("Noto Sans CJK JP", plain), "Noto Sans CJK JP");
    EXPECT_EQ(DrawnFamily("ＭＳ ゴシック", {"MS Gothic"}), "ＭＳ ゴシック");
    EXPECT_EQ(DrawnFamily("MS Gothic", {"ＭＳ ゴシック"}), "MS Gothic");
    EXPECT_EQ(DrawnFamily("ＭＳ 明朝", {"MS Gothic"}), "IPAMincho");
}

// The list window, the splash and the notification-area icon carry the same icon as the menu entry.
TEST(ProgramIcon, TheListWindowAndTheTrayShowTheShippedIcon)
{
    ScriptedInteraction scripted;
    FixedClock clock;
    RecordingLauncher launcher;
    AppState state(scripted, clock);
    TALIKLST window(state, launcher, nullptr);
    EXPECT_TRUE(window.windowIcon().availableSizes().contains(QSize(128, 128)));
    EXPECT_EQ(AppIcon().pixmap(48).toImage(), ProgramIcon().pixmap(48).toImage());
}

// Started with no display at all (no DISPLAY, no offscreen platform): a window would fail to start.
ProgramRun RunWithoutDisplay(const std::vector<std::string>& args, const TempDir& capture)
{
    std::vector<std::string> argv{"/usr/bin/env", "-i", "HOME=" + capture.str(), TALIK32_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProgram(argv, capture.path());
}

TEST(Talik32CommandLine, HelpAndVersionNeedNoDisplay)
{
    TempDir capture;
    ProgramRun version = RunWithoutDisplay({"--version"}, capture);
    EXPECT_EQ(version.exitCode, 0) << version.err;
    EXPECT_EQ(version.out, "talik32 (Rinmaro) 7.01\n");

    ProgramRun help = RunWithoutDisplay({"-03", "--help"}, capture);
    EXPECT_EQ(help.exitCode, 0) << help.err;
    EXPECT_TRUE(help.out.starts_with("使い方: talik32 [-NN]\n")) << help.out;
    EXPECT_EQ(help.err, "");
}

} // namespace
} // namespace talik::test
