// The small print dialogs driven as a user drives them: the position adjustment in each mode, the
// reduction ratio, the fonts and the record's print settings.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cstring>
#include <gtest/gtest.h>
#include <memory>

#include "listwin/appstate.h"
#include "print/TALIKFNT.h"
#include "print/TALIKPRP.h"
#include "print/TALIKPRS.h"
#include "print/TALIKPRZ.h"
#include "print/printjob.h"
#include "store/record.h"
#include "tests/support/formactions.h"
#include "tests/support/scripted.h"
#include "tests/support/tempdir.h"

namespace talik::test {
namespace {

class PrintDialogForm : public ::testing::Test
{
protected:
    template <class T> static T* child(QWidget* form, const QString& name)
    {
        T* found = form->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    static void type(QLineEdit* box, const QString& text)
    {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
    }
    std::vector<std::uint8_t> settingsBytes()
    {
        const std::string file = dir.str() + "/QXSCH" + std::to_string(++written) + ".INI";
        EXPECT_TRUE(WriteSettings(state.settings, file, 0));
        return ReadFileBytes(file);
    }

    TempDir dir;
    int written = 0;
    ScriptedInteraction ui;
    FixedClock clock;
    AppState state{ui, clock};
    LabelOptions cells;
};

// --- TALIKPRP ----------------------------------------------------------------------------------

struct ModeCase
{
    char mode;
    const char* title;
    const char* first;
    const char* second;
    const char* unit;
};

TEST_F(PrintDialogForm, PositionAdjustCaptionsAndUnitsByMode)
{
    const ModeCase cases[] = {
        {'H', "はがき印刷位置調整", "水平方向調整量", "垂直方向調整量", "(1/10 mm)"},
        {'T', "タックシール印刷位置調整", "水平方向調整量", "垂直方向調整量", "(1/10 mm)"},
        {'L', "一覧表印刷位置調整", "水平方向調整量", "垂直方向調整量", "(1/10 mm)"},
        {'W', "マス目サイズ設定", "１マスの幅", "１マスの高さ", "(1/10 mm)"},
        {'P', "開始マス目設定", "開始行", "開始列", "（行）"},
        {'G', "マス目ギャップ設定", "水平方向ギャップ", "垂直方向ギャップ", "(1/10 mm)"},
        {'Z', "印刷位置調整", "水平方向調整量", "垂直方向調整量", "(1/10 mm)"},
    };
    for (const ModeCase& c : cases) {
        state.PrintKind = c.mode;
        TALIKPRP form(state, &cells);
        EXPECT_EQ(form.windowTitle(), QString(c.title)) << c.mode;
        EXPECT_EQ(child<QLabel>(&form, "Label1_0")->text(), QString(c.first)) << c.mode;
        EXPECT_EQ(child<QLabel>(&form, "Label1_1")->text(), QString(c.second)) << c.mode;
        EXPECT_EQ(child<QLabel>(&form, "Label2_0")->text(), QString(c.unit)) << c.mode;
    }
    state.PrintKind = 'P';
    TALIKPRP start(state, &cells);
    EXPECT_EQ(child<QLabel>(&start, "Label2_1")->text(), "（列）");
    EXPECT_EQ(child<QLineEdit>(&start, "Text1_0")->text(), "1");
}

TEST_F(PrintDialogForm, PostcardOffsetShowsFifteenForMinusOnePointFiveAndStoresUpwardsEntries)
{
    state.settings.Layout.AddrDispX = 0.7f;
    state.settings.Layout.AddrDispY = -1.5f;
    state.PrintKind = 'H';
    TALIKPRP form(state);
    form.show();
    QLineEdit* first = child<QLineEdit>(&form, "Text1_0");
    QLineEdit* second = child<QLineEdit>(&form, "Text1_1");
    EXPECT_EQ(first->text(), "7");
    EXPECT_EQ(second->text(), "15");
    type(second, "20");
    QTest::mouseClick(child<QPushButton>(&form, "Command1_0"), Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(state.settings.Layout.AddrDispX, 0.7f); // OK without a change keeps the value exactly
    EXPECT_EQ(state.settings.Layout.AddrDispY, -2.0f);
    EXPECT_EQ(state.PrintKind, 'H');
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(PrintDialogForm, EachModeStoresItsKeysThroughTheBoxes)
{
    struct Stored
    {
        char mode;
        const char* first;
        const char* second;
    };
    for (const Stored& s : {Stored{'T', "12", "3"}, Stored{'W', "623", "340"}, Stored{'G', "15", "25"},
                            Stored{'L', "-4", "-6"}, Stored{'P', "3", "2"}}) {
        state.PrintKind = s.mode;
        TALIKPRP form(state, &cells);
        form.show();
        type(child<QLineEdit>(&form, "Text1_0"), s.first);
        type(child<QLineEdit>(&form, "Text1_1"), s.second);
        QTest::mouseClick(child<QPushButton>(&form, "Command1_0"), Qt::LeftButton);
        EXPECT_EQ(form.result(), QDialog::Accepted) << s.mode;
    }
    const PrintLayout& layout = state.settings.Layout;
    EXPECT_EQ(layout.AddrDispXT, 1.2f);
    EXPECT_EQ(layout.AddrDispYT, -0.3f);
    EXPECT_EQ(layout.AddrBoxWidth, 62.3f);
    EXPECT_EQ(layout.AddrBoxHeight, 34.0f);
    EXPECT_EQ(layout.AddrGapH, 1.5f);
    EXPECT_EQ(layout.AddrGapV, 2.5f);
    EXPECT_EQ(state.settings.AddrDispXL, -0.4f);
    EXPECT_EQ(state.settings.AddrDispYL, 0.6f);
    EXPECT_EQ(cells.startRow, 3);
    EXPECT_EQ(cells.startColumn, 2);
    EXPECT_EQ(layout.AddrDispX, 0.0f);
}

TEST_F(PrintDialogForm, CancelChangesNothingAndClearsPrintKind)
{
    state.settings.Layout.AddrDispXT = 1.1f;
    const auto before = settingsBytes();
    state.PrintKind = 'T';
    TALIKPRP form(state);
    form.show();
    type(child<QLineEdit>(&form, "Text1_0"), "99");
    QTest::mouseClick(child<QPushButton>(&form, "Command1_1"), Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_EQ(state.PrintKind, ' ');
    EXPECT_EQ(settingsBytes(), before);
}

TEST_F(PrintDialogForm, AWrongNumberIsToldAndTheDialogStays)
{
    state.PrintKind = 'P';
    TALIKPRP form(state, &cells);
    form.show();
    QLineEdit* row = child<QLineEdit>(&form, "Text1_0");
    type(row, "1.5");
    QTest::mouseClick(child<QPushButton>(&form, "Command1_0"), Qt::LeftButton);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "正しい数値を入力してください。");
    EXPECT_EQ(ui.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(cells.startRow, 1);
    type(row, "0");
    QTest::mouseClick(child<QPushButton>(&form, "Command1_0"), Qt::LeftButton);
    EXPECT_EQ(ui.shown.size(), 2u);
    EXPECT_TRUE(form.isVisible());
}

TEST_F(PrintDialogForm, TheBoxesTakeDigitsSignAndPointOnlyAndOkNeedsBoth)
{
    state.PrintKind = 'G';
    TALIKPRP form(state);
    form.show();
    QLineEdit* first = child<QLineEdit>(&form, "Text1_0");
    type(first, "a1,b.5x-");
    EXPECT_EQ(first->text(), "1.5-");
    QPushButton* ok = child<QPushButton>(&form, "Command1_0");
    EXPECT_TRUE(ok->isEnabled());
    child<QLineEdit>(&form, "Text1_1")->setText("  ");
    EXPECT_FALSE(ok->isEnabled());
}

// --- TALIKPRZ ----------------------------------------------------------------------------------

TEST_F(PrintDialogForm, ScaleShowsThePercentAndTakesOneTo999)
{
    state.settings.AddrPrtScale = 0.85f;
    TALIKPRZ form(state);
    form.show();
    EXPECT_EQ(form.windowTitle(), "縮小率設定");
    QLineEdit* box = child<QLineEdit>(&form, "Text1");
    EXPECT_EQ(box->text(), "85");
    type(box, "0");
    QTest::mouseClick(child<QPushButton>(&form, "Command1_0"), Qt::LeftButton);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"正しい数値を入力してください。"});
    EXPECT_EQ(state.settings.AddrPrtScale, 0.85f);
    type(box, "50");
    QTest::mouseClick(child<QPushButton>(&form, "Command1_0"), Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(state.settings.AddrPrtScale, 0.5f);
}

TEST_F(PrintDialogForm, ScaleCancelKeepsTheRatio)
{
    state.settings.AddrPrtScale = 0.85f;
    TALIKPRZ form(state);
    form.show();
    type(child<QLineEdit>(&form, "Text1"), "40");
    QTest::mouseClick(child<QPushButton>(&form, "Command1_1"), Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_EQ(state.settings.AddrPrtScale, 0.85f);
}

// --- TALIKFNT ----------------------------------------------------------------------------------

TEST_F(PrintDialogForm, FontsOfTheStoredDefaultsStayUntilTheUserChooses)
{
    for (int i = 0; i < 7; ++i) {
        state.settings.Layout.AddrFontSize[i] = 10 + i;
    }
    state.settings.Layout.AddrFontName[4] = "ＭＳ 明朝";
    const auto before = settingsBytes();
    int redraws = 0;
    state.PrintKind = 'V';
    TALIKFNT form(state, [&] { ++redraws; });
    form.show();
    EXPECT_EQ(form.windowTitle(), "はがき印刷フォント選択");
    QComboBox* code = child<QComboBox>(&form, "Combo1_0");
    QComboBox* name = child<QComboBox>(&form, "Combo1_4");
    EXPECT_EQ(code->currentText(), "ＭＳ ゴシック");
    EXPECT_EQ(name->currentText(), "ＭＳ 明朝");
    EXPECT_EQ(child<QLabel>(&form, "Label1_4")->text(), "相手先氏名");
    QTest::mouseClick(child<QPushButton>(&form, "Command1"), Qt::LeftButton);
    EXPECT_FALSE(form.changed());
    EXPECT_EQ(redraws, 0);
    EXPECT_EQ(settingsBytes(), before);
}

TEST_F(PrintDialogForm, ChoosingAFontStoresItAndRedraws)
{
    int redraws = 0;
    state.PrintKind = 'W';
    TALIKFNT form(state, [&] { ++redraws; });
    form.show();
    QComboBox* address = child<QComboBox>(&form, "Combo1_1");
    ASSERT_GE(address->count(), 2);
    const int other = address->currentIndex() == 0 ? 1 : 0;
    address->setCurrentIndex(other);
    emit address->activated(other);
    EXPECT_EQ(state.settings.Layout.AddrFontName[11], address->itemText(other).toStdString());
    EXPECT_EQ(state.settings.Layout.AddrFontName[10], "ＭＳ ゴシック");
    EXPECT_EQ(redraws, 1);
    EXPECT_TRUE(form.changed());
}

TEST_F(PrintDialogForm, LabelFontsOpenedWithSizesZeroStoreTheDialogsDefaults)
{
    state.PrintKind = 'W';
    TALIKFNT form(state);
    EXPECT_EQ(form.windowTitle(), "タックシール印刷フォント選択");
    const auto& sizes = state.settings.Layout.AddrFontSize;
    EXPECT_EQ((std::vector<int>{sizes[10], sizes[11], sizes[12], sizes[13], sizes[14]}),
              (std::vector<int>{10, 10, 10, 10, 14}));
    EXPECT_EQ(child<QLineEdit>(&form, "Text1_4")->text(), "14");
    EXPECT_EQ(form.findChild<QComboBox*>("Combo1_5"), nullptr);
    EXPECT_TRUE(form.changed());
}

TEST_F(PrintDialogForm, ASizeBoxLeftEmptyStoresSixAndDigitsOnlyAreTyped)
{
    state.settings.Layout.AddrFontSize[1] = 20;
    int redraws = 0;
    state.PrintKind = 'V';
    TALIKFNT form(state, [&] { ++redraws; });
    form.show();
    QLineEdit* size = child<QLineEdit>(&form, "Text1_1");
    type(size, "1x.-2");
    EXPECT_EQ(size->text(), "12");
    QTest::keyClick(size, Qt::Key_Return);
    EXPECT_EQ(state.settings.Layout.AddrFontSize[1], 12);
    EXPECT_EQ(redraws, 1);
    type(size, "");
    QTest::keyClick(size, Qt::Key_Return);
    EXPECT_EQ(state.settings.Layout.AddrFontSize[1], 6);
    EXPECT_EQ(size->text(), "6");
    type(size, "3");
    QTest::keyClick(size, Qt::Key_Return);
    EXPECT_EQ(state.settings.Layout.AddrFontSize[1], 6);
    EXPECT_EQ(redraws, 2); // 3 became 6, which was stored already
}

TEST_F(PrintDialogForm, TheListFontHasOneRowWithoutSize)
{
    state.settings.Layout.AddrFontName[9] = "ＭＳ 明朝";
    state.PrintKind = 'X';
    TALIKFNT form(state);
    EXPECT_EQ(form.windowTitle(), "一覧表印刷フォント選択");
    EXPECT_EQ(child<QLabel>(&form, "Label1_0")->text(), "一覧表フォント");
    EXPECT_EQ(child<QComboBox>(&form, "Combo1_0")->currentText(), "ＭＳ 明朝");
    EXPECT_EQ(form.findChild<QLineEdit*>("Text1_0"), nullptr);
    EXPECT_EQ(form.findChild<QComboBox*>("Combo1_1"), nullptr);
    // Each name once, the vertical variants folded.
    QComboBox* combo = child<QComboBox>(&form, "Combo1_0");
    QStringList names;
    for (int i = 0; i < combo->count(); ++i) {
        EXPECT_FALSE(combo->itemText(i).startsWith('@'));
        EXPECT_FALSE(names.contains(combo->itemText(i)));
        names << combo->itemText(i);
    }
}

// --- TALIKPRS ----------------------------------------------------------------------------------

class RecordPrintForm : public PrintDialogForm
{
protected:
    RecordPrintForm()
    {
        ClearRecord(state.Rec);
        SetText(state.Rec.KanjiName, "山田　太郎");
    }
};

TEST_F(RecordPrintForm, AnEmptyHonorificShowsAndStoresSama)
{
    TALIKPRS form(state);
    form.show();
    EXPECT_EQ(form.windowTitle(), "印刷設定：山田　太郎");
    EXPECT_EQ(child<QComboBox>(&form, "Combo1")->currentText(), "様");
    EXPECT_TRUE(child<QRadioButton>(&form, "Option1_0")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(&form, "Option2_0")->isChecked());
    QTest::mouseClick(child<QPushButton>(&form, "Command1_0"), Qt::LeftButton);
    EXPECT_EQ(GetText(state.Rec.Honorific), "様");
    EXPECT_EQ(GetInteger(state.Rec.PrintOptions), 0);
    EXPECT_EQ(state.Rec.SenderChoice[0], '0');
}

TEST_F(RecordPrintForm, TheControlsSetTheirDigits)
{
    SetInteger(state.Rec.PrintOptions, 1020); // digit 2 = 1, digit 4 = 2 (counts as 1)
    SetText(state.Rec.Honorific, "御中");
    state.Rec.SenderChoice[0] = '1';
    TALIKPRS form(state);
    form.show();
    EXPECT_TRUE(child<QCheckBox>(&form, "Check1_0")->isChecked());  // company
    EXPECT_FALSE(child<QCheckBox>(&form, "Check1_1")->isChecked()); // department
    EXPECT_TRUE(child<QCheckBox>(&form, "Check1_2")->isChecked());  // no honorific
    EXPECT_EQ(child<QComboBox>(&form, "Combo1")->currentText(), "御中");
    EXPECT_TRUE(child<QRadioButton>(&form, "Option2_1")->isChecked());

    QTest::mouseClick(child<QRadioButton>(&form, "Option1_1"), Qt::LeftButton);
    QTest::mouseClick(child<QCheckBox>(&form, "Check1_3"), Qt::LeftButton);
    QTest::mouseClick(child<QCheckBox>(&form, "Check1_1"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(&form, "Command1_0"), Qt::LeftButton);
    EXPECT_EQ(GetInteger(state.Rec.PrintOptions), 11111);
    EXPECT_EQ(state.Rec.SenderChoice[0], '1');
}

TEST_F(RecordPrintForm, CancelLeavesTheRecordByteForByte)
{
    SetInteger(state.Rec.PrintOptions, 22222); // out of range: shown as all off
    const AddressRecord before = state.Rec;
    TALIKPRS form(state);
    form.show();
    EXPECT_FALSE(child<QCheckBox>(&form, "Check1_0")->isChecked());
    QTest::mouseClick(child<QCheckBox>(&form, "Check1_0"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(&form, "Command1_1"), Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_EQ(std::memcmp(&before, &state.Rec, sizeof before), 0);
}

TEST_F(RecordPrintForm, TheHonorificBoxTakesTenBytes)
{
    TALIKPRS form(state);
    form.show();
    QComboBox* combo = child<QComboBox>(&form, "Combo1");
    QLineEdit* edit = combo->lineEdit();
    edit->selectAll();
    TypeKeys(edit, "先生先生先生"); // 2 bytes each: the sixth does not fit
    EXPECT_EQ(combo->currentText(), "先生先生先");
    QTest::mouseClick(child<QPushButton>(&form, "Command1_0"), Qt::LeftButton);
    EXPECT_EQ(GetText(state.Rec.Honorific), "先生先生先");
}

} // namespace
} // namespace talik::test
