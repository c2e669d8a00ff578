// The database's own check-item names driven for real: what the dialog opens with, greying with
// the common choice, and that only 登録 writes the header.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "editor/TALIKDBC.h"
#include "store/database.h"
#include "tests/support/formactions.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

constexpr std::size_t MarkerAt = 24;

class DbCheckItemsDialog : public StoreTest
{
protected:
    void SetUp() override
    {
        state.settings.AddrDBName[0] = "仕事用";
        state.settings.AddressCheck[0] = "共通の名前";
        load();
    }
    QLineEdit* box(TALIKDBC& dialog, int i) { return dialog.findChild<QLineEdit*>(QString("Text1_%1").arg(i)); }
    QRadioButton* option(TALIKDBC& dialog, int i)
    {
        return dialog.findChild<QRadioButton*>(QString("Option1_%1").arg(i));
    }
    int run(TALIKDBC& dialog, const std::function<void()>& script)
    {
        QTimer::singleShot(0, &dialog, script);
        return dialog.exec();
    }
    void markOwn(const char* firstName)
    {
        state.Header.HeaderFlags[0] = '1';
        SetText(state.Header.CheckItemNames[0], firstName);
    }
};

TEST_F(DbCheckItemsDialog, OwnNamesOpenEnabledAndCommonOnesGreyedWithTheirTexts)
{
    markOwn("個別の名前");
    TALIKDBC dialog(state);
    EXPECT_EQ(dialog.windowTitle(), "チェック項目設定");
    EXPECT_EQ(dialog.findChild<QLabel*>("Label2")->text(), "「仕事用」のチェック項目");
    EXPECT_EQ(option(dialog, 0)->text(), "共通のチェック項目を使う");
    EXPECT_EQ(option(dialog, 1)->text(), "個別にチェック項目を設定する");
    EXPECT_TRUE(option(dialog, 1)->isChecked());
    EXPECT_EQ(box(dialog, 0)->text(), "個別の名前");
    for (int i = 0; i < 15; ++i) {
        EXPECT_TRUE(box(dialog, i)->isEnabled()) << i;
    }
    option(dialog, 0)->click();
    for (int i = 0; i < 15; ++i) {
        EXPECT_FALSE(box(dialog, i)->isEnabled()) << i;
        EXPECT_TRUE(box(dialog, i)->styleSheet().contains("#C0C0C0")) << i;
    }
    EXPECT_EQ(box(dialog, 0)->text(), "個別の名前");
}

TEST_F(DbCheckItemsDialog, ANeverChosenMarkerOffersTheGlobalNames)
{
    state.Header.HeaderFlags[0] = 'x';
    TALIKDBC dialog(state);
    EXPECT_TRUE(option(dialog, 0)->isChecked());
    EXPECT_EQ(box(dialog, 0)->text(), "共通の名前");
}

TEST_F(DbCheckItemsDialog, CancelWritesNothingAndKeepsTheMarker)
{
    markOwn("個別の名前");
    const auto before = ReadFileBytes(mainPath());
    TALIKDBC dialog(state);
    int result = run(dialog, [&] {
        option(dialog, 0)->click();
        dialog.findChild<QPushButton*>("Command2_1")->click();
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(ReadFileBytes(mainPath()), before);
    EXPECT_EQ(state.Header.HeaderFlags[0], '1');
}

TEST_F(DbCheckItemsDialog, StoringWritesTheNamesAndTheMarker)
{
    TALIKDBC dialog(state);
    int result = run(dialog, [&] {
        option(dialog, 1)->click();
        box(dialog, 0)->clear();
        TypeText(box(dialog, 0), "あいうえおかきくけこさ"); // 22 bytes: the box stops at 20
        box(dialog, 4)->setText("取引先");
        dialog.findChild<QPushButton*>("Command2_0")->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(ReadFileBytes(mainPath())[MarkerAt], '1');
    load();
    EXPECT_EQ(GetText(state.Header.CheckItemNames[0]), "あいうえおかきくけこ");
    EXPECT_EQ(GetText(state.Header.CheckItemNames[4]), "取引先");
    EXPECT_EQ(ui.shown.size(), 0u);
}

} // namespace
} // namespace talik::test
