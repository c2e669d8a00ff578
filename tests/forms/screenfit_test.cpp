// Windows fit the free part of the screen down to 1024×768: the print dialogs, whose preview page
// is taller than such a screen, keep their paging row, 中止 and 終了 in sight.
#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <memory>

#include <gtest/gtest.h>

#include "listwin/appstate.h"
#include "listwin/currentrecord.h"
#include "print/TALIKPRV.h"
#include "print/TALIKPRW.h"
#include "print/TALIKPRX.h"
#include "print/printdispatch.h"
#include "print/printwork.h"
#include "store/database.h"
#include "store/record.h"
#include "tests/support/scripted.h"
#include "tests/support/tempdir.h"
#include "ui/screenfit.h"

namespace talik::test {
namespace {

const QRect SmallScreen(0, 0, 1024, 768);

TEST(FitFrameInto, ShrinksToTheAreaMovesInsideAndKeepsTheMinimum)
{
    EXPECT_EQ(FitFrameInto({100, 50, 764, 856}, {300, 400}, SmallScreen), QRect(100, 0, 764, 768));
    EXPECT_EQ(FitFrameInto({900, 700, 300, 200}, {100, 100}, SmallScreen), QRect(724, 568, 300, 200));
    EXPECT_EQ(FitFrameInto({-20, -40, 300, 200}, {100, 100}, SmallScreen), QRect(0, 0, 300, 200));
    // Larger than the area even at its minimum: the top left stays inside, where the title bar is.
    EXPECT_EQ(FitFrameInto({0, 0, 500, 900}, {500, 800}, SmallScreen), QRect(0, 0, 500, 800));
    // A panel at the top: the area starts below it.
    EXPECT_EQ(FitFrameInto({10, 0, 400, 900}, {100, 100}, {0, 30, 1024, 738}), QRect(10, 30, 400, 738));
}

class PrintDialogsOnASmallScreen : public ::testing::Test
{
protected:
    PrintDialogsOnASmallScreen()
    {
        state.ProgramFolder = dir.str() + "/";
        state.WritableFolder = dir.str() + "/";
        state.DataPath = dir.str();
        state.ProfileFolder = dir.str();
        for (int i = 1; i <= 3; ++i) {
            ClearRecord(state.Rec);
            ClearRecord(state.Extra);
            SetText(state.Rec.KanaName, "ｱ" + std::to_string(i));
            SetText(state.Rec.KanjiName, "名前" + std::to_string(i));
            SetText(state.Rec.Address1, "東京都");
            state.CurRecNo = 0;
            state.EditStatus = 'N';
            EXPECT_TRUE(SaveCurrent(state));
        }
        state.TablesLoaded = false;
        EXPECT_EQ(LoadTables(state), LoadResult::Loaded);
    }
    PrintTable job(char kind)
    {
        EXPECT_TRUE(PreparePrintAll(state, kind));
        std::optional<PrintTable> table = LoadPrintWork(state, kind == PrintList);
        return table ? std::move(*table) : PrintTable{};
    }

    // The dialog inside `area` with its frame, every button inside the dialog.
    static void ExpectInside(QWidget& dialog, const QRect& area)
    {
        const QRect frame = dialog.frameGeometry();
        EXPECT_TRUE(area.contains(frame)) << dialog.objectName().toStdString() << " frame " << frame.width() << "×"
                                          << frame.height() << " at " << frame.x() << "," << frame.y();
        for (const char* name : {"Command1_0", "Command1_1", "Command3", "CommandStop", "CommandPdf"}) {
            auto* button = dialog.findChild<QPushButton*>(name);
            ASSERT_NE(button, nullptr) << name;
            const QRect where(button->mapTo(&dialog, QPoint(0, 0)), button->size());
            EXPECT_TRUE(dialog.rect().contains(where)) << dialog.objectName().toStdString() << " " << name;
        }
    }

    // Built as the list window builds it, shown on this screen, then placed on a 1024×768 one.
    void check(QDialog& dialog)
    {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        ExpectInside(dialog, dialog.screen()->availableGeometry());
        dialog.hide();
        FitWindowInto(&dialog, SmallScreen);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        ExpectInside(dialog, SmallScreen);
        // What the layout needs fits 768 pixels with a title bar.
        EXPECT_LE(dialog.minimumSizeHint().height() + 40, SmallScreen.height()) << dialog.objectName().toStdString();
    }

    TempDir dir;
    ScriptedInteraction ui;
    FixedClock clock;
    AppState state{ui, clock};
};

TEST_F(PrintDialogsOnASmallScreen, LabelListAndPostcardDialogsKeepTheirButtonsInSight)
{
    {
        TALIKPRW labels(state, job(PrintLabels));
        check(labels);
    }
    {
        TALIKPRX list(state, job(PrintList));
        check(list);
    }
    {
        TALIKPRV postcards(state, job(PrintPostcards));
        check(postcards);
    }
}

} // namespace
} // namespace talik::test
