// The record editor's "印刷設定" opens the record's print settings; what they change is stored with
// the record by the editor's store button.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "editor/TALIK01.h"
#include "listwin/currentrecord.h"
#include "print/TALIKPRS.h"
#include "store/database.h"
#include "tests/support/modal.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

class EditorPrintSettings : public StoreTest
{
protected:
    void SetUp() override
    {
        state.ProfileFolder = dir.str();
        load();
        recNo = addRecord("ﾔﾏﾀﾞ", "山田　太郎");
        load();
        state.CurRecNo = recNo;
        state.EditStatus = ' ';
        ready.recordPrintSettings = true;
    }

    std::int32_t recNo = 0;
    Readiness ready;
};

TEST_F(EditorPrintSettings, TheChoicesAreStoredWithTheRecord)
{
    TALIK01 editor(state, false, nullptr, ready);
    editor.show();
    QPushButton* settings = editor.findChild<QPushButton*>("Command1_3");
    ASSERT_TRUE(settings->isEnabled());
    bool shown = false;
    WhenModalShows<TALIKPRS>([&](TALIKPRS* dialog) {
        shown = true;
        EXPECT_EQ(dialog->windowTitle(), "印刷設定：山田　太郎");
        QTest::mouseClick(dialog->findChild<QCheckBox*>("Check1_0"), Qt::LeftButton);
        dialog->findChild<QComboBox*>("Combo1")->setEditText("殿");
        QTest::mouseClick(dialog->findChild<QPushButton*>("Command1_0"), Qt::LeftButton);
    });
    QTest::mouseClick(settings, Qt::LeftButton);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(editor.isVisible()); // the editor stays open
    QTest::mouseClick(editor.findChild<QPushButton*>("Command1_0"), Qt::LeftButton);
    EXPECT_EQ(state.EditStatus, 'R');

    state.Rec = {};
    state.CurRecNo = recNo;
    ASSERT_TRUE(ReadCurrent(state));
    EXPECT_EQ(GetInteger(state.Rec.PrintOptions), 10);
    EXPECT_EQ(GetText(state.Rec.Honorific), "殿");
    EXPECT_EQ(GetText(state.Rec.KanjiName), "山田　太郎");
}

TEST_F(EditorPrintSettings, CancelledSettingsLeaveTheRecordAsStored)
{
    TALIK01 editor(state, false, nullptr, ready);
    editor.show();
    WhenModalShows<TALIKPRS>([](TALIKPRS* dialog) {
        QTest::mouseClick(dialog->findChild<QCheckBox*>("Check1_1"), Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QPushButton*>("Command1_1"), Qt::LeftButton);
    });
    QTest::mouseClick(editor.findChild<QPushButton*>("Command1_3"), Qt::LeftButton);
    QTest::mouseClick(editor.findChild<QPushButton*>("Command1_0"), Qt::LeftButton);
    state.Rec = {};
    ASSERT_TRUE(ReadCurrent(state));
    EXPECT_EQ(GetInteger(state.Rec.PrintOptions), 0);
}

} // namespace
} // namespace talik::test
