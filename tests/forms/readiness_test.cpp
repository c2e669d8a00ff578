// The buttons and menu entries of unfinished windows: each stays disabled while its flag is off,
// whatever its window wants, and turning its flag on is all it takes to enable it.
#include <QAction>
#include <QLabel>
#include <QTest>
#include <QTreeView>
#include <QWidget>

#include <iterator>
#include <memory>
#include <span>

#include <gtest/gtest.h>

#include "app/TALIKLST.h"
#include "editor/TALIK01.h"
#include "listwin/currentrecord.h"
#include "listwin/listmenus.h"
#include "listwin/listwindow.h"
#include "search/TALIKSRC.h"
#include "store/database.h"
#include "tests/support/storefixture.h"
#include "ui/readiness.h"

namespace talik::test {
namespace {

using Flag = bool Readiness::*;

constexpr Flag AllFlags[] = {
    &Readiness::databaseNames,
    &Readiness::checkItemNames,
    &Readiness::databasePassword,
    &Readiness::environmentSettings,
    &Readiness::csvImport,
    &Readiness::csvExportAll,
    &Readiness::backup,
    &Readiness::restore,
    &Readiness::deleteAllData,
    &Readiness::version,
    &Readiness::dial,
    &Readiness::printRecordPostcard,
    &Readiness::printRecordLabel,
    &Readiness::mailRecord,
    &Readiness::openRelatedFile,
    &Readiness::copyRecord,
    &Readiness::copySettings,
    &Readiness::printPostcards,
    &Readiness::printLabels,
    &Readiness::printList,
    &Readiness::mailFromList,
    &Readiness::printSelection,
    &Readiness::mailSelection,
    &Readiness::printAllResults,
    &Readiness::printFromSelection,
    &Readiness::csvExportResults,
    &Readiness::moveCopyResults,
    &Readiness::mailAllResults,
    &Readiness::recordPrintSettings,
    &Readiness::mailFromEditor,
    &Readiness::remarksExtra,
    &Readiness::relatedFile,
    &Readiness::addressSupport,
    &Readiness::vcardImport,
    &Readiness::vcardExportAll,
    &Readiness::duplicateReview,
    &Readiness::vcardExportResults,
    &Readiness::printLayoutEditor,
    &Readiness::printPositionAdjust,
    &Readiness::printFonts,
    &Readiness::printScale,
    &Readiness::syncAccount,
    &Readiness::syncNow,
    &Readiness::syncConflicts,
    &Readiness::syncAtStartAndExit,
};
static_assert(sizeof(Readiness) == std::size(AllFlags) * sizeof(bool), "a new flag belongs in AllFlags");

Readiness OnlyReady(Flag only)
{
    Readiness ready;
    for (Flag flag : AllFlags) {
        ready.*flag = flag == only;
    }
    return ready;
}

struct Control
{
    const char* name;
    Flag flag;
};

// Entries of the main window's menus; PPM4, the record menu, is built as the result window's SPM.
constexpr Control MainMenuEntries[] = {
    {"PMDBSet", &Readiness::databaseNames},
    {"PMDBChk", &Readiness::checkItemNames},
    {"PMDBPWSet", &Readiness::databasePassword},
    {"PPSet", &Readiness::environmentSettings},
    {"PPCSVIn", &Readiness::csvImport},
    {"PPCSVOut", &Readiness::csvExportAll},
    {"PPVCardIn", &Readiness::vcardImport},
    {"PPVCardOut", &Readiness::vcardExportAll},
    {"PPDup", &Readiness::duplicateReview},
    {"PPBackup", &Readiness::backup},
    {"PPRestore", &Readiness::restore},
    {"PPAllDel", &Readiness::deleteAllData},
    {"PPVer", &Readiness::version},
    {"PPSyncSet", &Readiness::syncAccount},
    {"PPSyncNow", &Readiness::syncNow},
    {"PPSyncAuto", &Readiness::syncAtStartAndExit},
    {"PPTel1", &Readiness::dial},
    {"PPBTel1", &Readiness::dial},
    {"PPPrtV", &Readiness::printRecordPostcard},
    {"PPPrtW", &Readiness::printRecordLabel},
    {"PPMail", &Readiness::mailRecord},
    {"PPAppl", &Readiness::openRelatedFile},
    {"PPCopy_Sel_0", &Readiness::copyRecord},
    {"PPCopy_Sel_3", &Readiness::copyRecord},
    {"PPCopy_Set", &Readiness::copySettings},
    {"PPPrtBV", &Readiness::printPostcards},
    {"PPPrtBW", &Readiness::printLabels},
    {"PPPrtBX", &Readiness::printList},
};

constexpr Control MainWindowButtons[] = {
    {"Command8", &Readiness::mailFromList},
};

constexpr Control ResultWindowControls[] = {
    {"Command4", &Readiness::printSelection},
    {"Command10", &Readiness::mailSelection},
    {"Command6_0", &Readiness::printAllResults},
    {"Command6_1", &Readiness::printFromSelection},
    {"Command8", &Readiness::csvExportResults},
    {"CommandVcard", &Readiness::vcardExportResults},
    {"Command11", &Readiness::moveCopyResults},
    {"Command13", &Readiness::mailAllResults},
    {"SPMTel1", &Readiness::dial},
    {"SPMBTel1", &Readiness::dial},
    {"SPMPrtV", &Readiness::printRecordPostcard},
    {"SPMPrtW", &Readiness::printRecordLabel},
    {"SPMMail", &Readiness::mailRecord},
    {"SPMAppl", &Readiness::openRelatedFile},
    {"SPMCopy_Sel_0", &Readiness::copyRecord},
    {"SPMCopy_Sel_3", &Readiness::copyRecord},
    {"SPMCopy_Set", &Readiness::copySettings},
    {"SPMPrt2V", &Readiness::printPostcards},
    {"SPMPrt2W", &Readiness::printLabels},
    {"SPMPrt2X", &Readiness::printList},
};

constexpr Control EditorButtons[] = {
    {"Command1_3", &Readiness::recordPrintSettings}, {"Command2", &Readiness::mailFromEditor},
    {"Command3", &Readiness::remarksExtra},          {"Command4", &Readiness::relatedFile},
    {"Command5_0", &Readiness::addressSupport},      {"Command5_1", &Readiness::addressSupport},
};

bool IsEnabled(const QObject* root, const char* name)
{
    if (auto* action = root->findChild<QAction*>(name)) {
        return action->isEnabled();
    }
    if (auto* widget = root->findChild<QWidget*>(name)) {
        return widget->isEnabled();
    }
    ADD_FAILURE() << "no control " << name;
    return false;
}

// Where the window itself wants every listed control enabled, each is enabled exactly when its
// flag is on.
void ExpectEnabledAsReady(const QObject* root, std::span<const Control> controls, const Readiness& ready)
{
    for (const Control& control : controls) {
        EXPECT_EQ(IsEnabled(root, control.name), ready.*control.flag) << control.name;
    }
}

// A record that offers everything: a telephone number, an e-mail address and a related file.
class ReadinessTest : public StoreTest
{
protected:
    void SetUp() override
    {
        state.ProfileFolder = dir.str();
        load();
        recNo = addRecord("ﾔﾏﾀﾞ");
        state.CurRecNo = recNo;
        ReadCurrent(state);
        SetText(state.Rec.Tel1, "03-1234-5678");
        SetText(state.Rec.EMail, "yamada@example.jp");
        SetText(state.Extra.RelatedInfo, "yamada.txt");
        SaveCurrent(state);
        load();
    }

    // The main window's menus with the record chosen and its entries captioned, as a right click leaves them.
    void checkMainMenus(const Readiness& ready)
    {
        state.CurRecNo = recNo;
        ReadCurrent(state);
        QWidget owner;
        ListMenus menus = BuildListMenus(&owner, ready);
        EnableRecordMenu(menus.PPM4, {true, true, true});
        CaptionTelephoneEntries(state.Rec, menus.PPM4, menus.PPM7);
        ExpectEnabledAsReady(&owner, MainMenuEntries, ready);
    }

    // The main window with the record selected in its tab.
    void checkMainWindow(const Readiness& ready)
    {
        RecordingLauncher launcher;
        TALIKLST window(state, launcher, nullptr, nullptr, ready);
        window.show();
        ASSERT_TRUE(window.loadIfNeeded());
        window.showTab(KanaGroup("ﾔﾏﾀﾞ"));
        auto* list = window.findChild<QTreeView*>("ListView1");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(0, 0)).center());
        ExpectEnabledAsReady(&window, MainWindowButtons, ready);
    }

    // The result window with its one result selected.
    void checkResultWindow(const Readiness& ready)
    {
        ClearRecord(state.Rec);
        SetText(state.Rec.KanaName, "ﾔﾏ");
        RecordingLauncher launcher;
        TALIKSRC window(state, launcher, nullptr, ready);
        window.show();
        auto* countLine = window.findChild<QLabel*>("Label1");
        ASSERT_TRUE(QTest::qWaitFor([countLine] { return !countLine->text().isEmpty(); }, 5000));
        auto* list = window.findChild<QTreeView*>("ListView1");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(0, 0)).center());
        ExpectEnabledAsReady(&window, ResultWindowControls, ready);
    }

    void checkEditor(const Readiness& ready)
    {
        state.CurRecNo = 0;
        state.EditStatus = ' ';
        TALIK01 editor(state, false, nullptr, ready);
        ExpectEnabledAsReady(&editor, EditorButtons, ready);
    }

    std::int32_t recNo = 0;
};

TEST_F(ReadinessTest, WhatIsNotReadyStaysDisabledWhereItsWindowWouldEnableIt)
{
    checkMainMenus(Ready);
    checkMainWindow(Ready);
    checkResultWindow(Ready);
    checkEditor(Ready);
}

TEST_F(ReadinessTest, TurningOneFlagOnEnablesItsControlsAndNothingElse)
{
    for (std::size_t i = 0; i < std::size(AllFlags); ++i) {
        SCOPED_TRACE(testing::Message() << "only flag " << i << " on");
        Readiness only = OnlyReady(AllFlags[i]);
        checkMainMenus(only);
        checkMainWindow(only);
        checkResultWindow(only);
        checkEditor(only);
    }
}

} // namespace
} // namespace talik::test
