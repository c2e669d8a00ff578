// Calling from the list window and the search result: a telephone entry, the call confirmation,
// and the dialler started with the record's name and the chosen number.
#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include "app/TALIKLST.h"
#include "dial/TALIKSTL.h"
#include "dial/dialrequest.h"
#include "listwin/currentrecord.h"
#include "search/TALIKSRC.h"
#include "store/database.h"
#include "tests/support/modal.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

// Also keeps the argument lists it was given.
// One record with two numbers, the dialler in the program folder and the modem settings made.
class Dialling : public StoreTest
{
protected:
    void SetUp() override
    {
        state.ProfileFolder = dir.str();
        load();
        addRecord("ｱｵｷ", "見本 一郎"); // on the first tab
        ReadCurrent(state);
        SetText(state.Rec.Tel1, "03-1234-5678");
        SetText(state.Rec.Fax1, "03-1234-5679");
        SaveCurrent(state);
        WriteFileBytes(dir.path() / "Talikad2", {});
        state.settings.ComPort = 2;
        state.settings.ComTelType = 1;
        state.settings.ComInitChar = "ATZ";
        state.settings.ExtTelFlag = 0;
    }
    static void clickFirstRow(QWidget* window)
    {
        auto* list = window->findChild<QTreeView*>("ListView1");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(0, 0)).center());
    }
    static void answerConfirmation(const char* button)
    {
        WhenModalShows<TALIKSTL>([button](TALIKSTL* confirmation) {
            QTest::mouseClick(confirmation->findChild<QPushButton*>(button), Qt::LeftButton);
        });
    }

    RecordingLauncher launcher;
};

class ListWindowDialling : public Dialling
{
protected:
    void SetUp() override
    {
        Dialling::SetUp();
        state.TablesLoaded = false;
        window = std::make_unique<TALIKLST>(state, launcher, nullptr);
        window->show();
        ASSERT_TRUE(window->loadIfNeeded());
        clickFirstRow(window.get());
    }

    std::unique_ptr<TALIKLST> window;
};

TEST_F(ListWindowDialling, ACallConfirmedFromTheTelephoneMenuStartsTheDialler)
{
    const auto& entries = window->menus().PPM7.entries;
    EXPECT_TRUE(entries[1]->isEnabled());
    EXPECT_FALSE(entries[2]->isEnabled()); // no second telephone number
    answerConfirmation("Command2_0");
    entries[1]->trigger();

    EXPECT_EQ(state.DialSlot, 1);
    EXPECT_TRUE(state.MainIdle);
    EXPECT_EQ(launcher.started, std::vector<std::string>{dir.str() + "/Talikad2"});
    ASSERT_EQ(launcher.arguments.size(), 1u);
    EXPECT_EQ(launcher.arguments[0],
              (std::vector<std::string>{"~00見本", "一郎", "[0]03-1234-5679,,[1]2ATDT[2]ATZ[3]"}));
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(ListWindowDialling, ACancelledConfirmationFromTheRecordMenuStartsNothing)
{
    bool confirmationShown = false;
    WhenModalShows<TALIKSTL>([&](TALIKSTL* confirmation) {
        confirmationShown = true;
        QTest::mouseClick(confirmation->findChild<QPushButton*>("Command2_1"), Qt::LeftButton);
    });
    window->menus().PPM4.TelN[0]->trigger();

    EXPECT_TRUE(confirmationShown);
    EXPECT_EQ(state.DialNumber, "03-1234-5678");
    EXPECT_TRUE(launcher.started.empty());
    EXPECT_TRUE(state.MainIdle);
}

TEST_F(Dialling, TheSearchResultCallsWithoutCheckingTheModemSettings)
{
    state.settings.ComPort = 0;
    ClearRecord(state.Rec);
    SetText(state.Rec.KanaName, "ｱｵｷ");
    TALIKSRC results(state, launcher);
    results.show();
    results.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return results.results().size() == 1; }, 5000));
    clickFirstRow(&results);

    answerConfirmation("Command2_0");
    results.telephoneMenu().entries[0]->trigger();

    EXPECT_TRUE(ui.shown.empty());
    ASSERT_EQ(launcher.arguments.size(), 1u);
    EXPECT_EQ(launcher.arguments[0].back(), "[0]03-1234-5678,,[1]0ATDT[2]ATZ[3]");
}

} // namespace
} // namespace talik::test
