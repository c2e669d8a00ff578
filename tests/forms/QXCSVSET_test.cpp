// The CSV import from the list window, driven for real: the mapping dialog's captions, choices and
// refusal, the question, the report, and cancel at every step importing nothing.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <fstream>
#include <memory>

#include <gtest/gtest.h>

#include "app/TALIKLST.h"
#include "editor/TALIKCHI.h"
#include "interchange/QXCSVSET.h"
#include "interchange/csvimport.h"
#include "listwin/currentrecord.h"
#include "platform/codec.h"
#include "store/database.h"
#include "tests/support/formactions.h"
#include "tests/support/modal.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

// The export's header and two records, in CP932, written byte by byte.
const std::string HeaderCp932 =
    "\"\x83\x4A\x83\x69\x96\xBC\",\"\x8A\xBF\x8E\x9A\x96\xBC\",\"E-Mail\",\"\x90\xB6\x94\x4E"
    "\x8C\x8E\x93\xFA\",\"\x95\xAA\x97\xDE\x83\x52\x81\x5B\x83\x68\",\"\x97\x58\x95\xD6\x94"
    "\xD4\x8D\x86\x82\x50\",\"\x8F\x5A\x8F\x8A\x82\x50\",\"Tel1\",\"Fax1\",\"\x97\x58\x95\xD6"
    "\x94\xD4\x8D\x86\x82\x51\",\"\x8F\x5A\x8F\x8A\x82\x51\",\"Tel2\",\"Fax2\",\"\x89\xEF\x8E"
    "\xD0\x96\xBC\",\"\x95\x94\x8F\x90\x96\xBC\",\"\x94\xF5\x8D\x6C\",\"\x94\xF5\x8D\x6C\x92"
    "\xC7\x89\xC1\x83\x66\x81\x5B\x83\x5E\",\"\x8A\xD6\x98\x41\x8F\xEE\x95\xF1\"\r\n";
const std::string RecordsCp932 = "\"\xB1\xB5\xB7\",\"\x90\xC2\x96\xD8\"\r\n\"\xB6\xC4\xB3\",\"\x89\xC1\x93\xA1\"\r\n";

void Tick(QCheckBox* box)
{
    QStyleOptionButton option;
    option.initFrom(box);
    QTest::mouseClick(box, Qt::LeftButton, {},
                      box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).center());
}

void Key(QWidget* dialog, const QString& name, Qt::Key key)
{
    auto* widget = dialog->findChild<QWidget*>(name);
    widget->setFocus();
    QTest::keyClick(widget, key);
}

class CsvMappingDialog : public StoreTest
{
protected:
    CsvMappingDialog() { load(); }

    // Opens the dialog on `file` modally and runs `script` on it once it is up.
    int run(const std::string& file, const std::function<void(QXCSVSET&)>& script)
    {
        QXCSVSET dialog(state, file, options);
        QTimer::singleShot(0, &dialog, [&] { script(dialog); });
        return dialog.exec();
    }

    CsvImportOptions options;
};

TEST_F(CsvMappingDialog, TheFirstLineShowsFromItsStartAndTabVisitsTheColumnsFirst)
{
    std::string file = HeaderCp932 + RecordsCp932;
    run(file, [&](QXCSVSET& dialog) {
        auto* line = dialog.findChild<QLineEdit*>("Text1");
        EXPECT_EQ(line->cursorPosition(), 0);
        line->setFocus();
        std::vector<QString> visited;
        for (int i = 0; i < 21; ++i) {
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
            visited.push_back(dialog.focusWidget()->objectName());
        }
        EXPECT_EQ(visited[0], "Combo1_0");
        EXPECT_EQ(visited[17], "Combo1_17");
        EXPECT_EQ(visited[18], "Combo1_18");
        EXPECT_EQ(visited[19], "Check1");
        EXPECT_EQ(visited[20], "Check2");
        ClickButton(&dialog, "Command1_1");
    });
}

TEST_F(CsvMappingDialog, ShowsTheCaptionsTheFirstLineAndColumnIForSlotI)
{
    std::string file = HeaderCp932 + RecordsCp932;
    run(file, [&](QXCSVSET& dialog) {
        EXPECT_EQ(dialog.objectName(), "QXCSVSET");
        EXPECT_EQ(dialog.windowTitle(), "ＣＳＶ取り込み設定");
        const QStringList captions{"フリガナ", "名　　前",   "E-Mail",   "生年月日", "分類コード",
                                   "郵便番号", "住 所 １",   "ＴＥＬ",   "ＦＡＸ",   "郵便番号",
                                   "住 所 ２", "ＴＥＬ",     "ＦＡＸ",   "勤 務 先", "部 署 名",
                                   "備　　考", "追加データ", "関連情報", "連名"};
        for (int slot = 0; slot < CsvSlotTotal; ++slot) {
            EXPECT_EQ(dialog.findChild<QLabel*>(QString("Label1_%1").arg(slot))->text(), captions[slot]) << slot;
            auto* list = dialog.findChild<QComboBox*>(QString("Combo1_%1").arg(slot));
            ASSERT_EQ(list->count(), 19) << slot;
            EXPECT_EQ(list->itemText(0), "- なし -");
            // The export writes no joint names: that slot starts at none.
            EXPECT_EQ(list->currentIndex(), slot < CsvExportSlotTotal ? slot + 1 : 0) << slot;
            EXPECT_TRUE(dialog.findChild<QComboBox*>(QString("Combo3_%1_1").arg(slot))->isHidden()) << slot;
        }
        EXPECT_EQ(dialog.findChild<QComboBox*>("Combo1_17")->itemText(18), "関連情報");
        EXPECT_EQ(dialog.findChild<QLineEdit*>("Text1")->text().toStdString(), CsvHeaderLine());
        EXPECT_EQ(dialog.findChild<QLabel*>("Label2")->text(),
                  "割り当てるべきフィールドを選択してください。フィールドがない場合は「- なし "
                  "-」を選択して取込んでください。");
        auto* skip = dialog.findChild<QCheckBox*>("Check1");
        EXPECT_EQ(skip->text(), "１行目は取り込まない");
        EXPECT_TRUE(skip->isChecked()); // the export's own header
        auto* half = dialog.findChild<QCheckBox*>("Check2");
        EXPECT_EQ(half->text(), "フリガナを半角カナに変換する");
        EXPECT_FALSE(half->isChecked());
        EXPECT_EQ(dialog.findChild<QLabel*>("Label3")->text(), "文字コード");
        auto* encoding = dialog.findChild<QComboBox*>("Combo2");
        EXPECT_EQ(encoding->itemText(0), "自動判定");
        EXPECT_EQ(encoding->itemText(1), "Shift-JIS");
        EXPECT_EQ(encoding->itemText(2), "UTF-8");
        EXPECT_EQ(dialog.findChild<QPushButton*>("Command1_0")->text(), "ＯＫ");
        EXPECT_EQ(dialog.findChild<QPushButton*>("Command1_1")->text(), "取り消し");
        ClickButton(&dialog, "Command1_1");
    });
    EXPECT_EQ(state.EditStatus, ' ');
}

TEST_F(CsvMappingDialog, SlotsBeyondAShortFirstLineStartAtNone)
{
    run(RecordsCp932, [&](QXCSVSET& dialog) {
        EXPECT_EQ(dialog.findChild<QComboBox*>("Combo1_0")->currentIndex(), 1);
        EXPECT_EQ(dialog.findChild<QComboBox*>("Combo1_1")->currentIndex(), 2);
        EXPECT_EQ(dialog.findChild<QComboBox*>("Combo1_2")->currentIndex(), 0);
        EXPECT_EQ(dialog.findChild<QComboBox*>("Combo1_1")->itemText(2), "青木");
        EXPECT_FALSE(dialog.findChild<QCheckBox*>("Check1")->isChecked());
        ClickButton(&dialog, "Command1_1");
    });
}

TEST_F(CsvMappingDialog, OkWithoutAColumnForTheReadingIsRefusedAndTheDialogStays)
{
    int outcome = run(RecordsCp932, [&](QXCSVSET& dialog) {
        Key(&dialog, "Combo1_0", Qt::Key_Home);
        ClickButton(&dialog, "Command1_0");
        EXPECT_TRUE(dialog.isVisible());
        ASSERT_EQ(ui.shown.size(), 1u);
        EXPECT_EQ(ui.shown[0].text, "フリガナのフィールドは必須です。");
        EXPECT_EQ(ui.shown[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(state.EditStatus, ' ');
        Key(&dialog, "Combo1_0", Qt::Key_Down);
        ClickButton(&dialog, "Command1_0");
    });
    EXPECT_EQ(outcome, QDialog::Accepted);
    EXPECT_EQ(state.EditStatus, 'Y');
    EXPECT_EQ(options.map[0][0], 1);
}

TEST_F(CsvMappingDialog, OkKeepsEveryChoice)
{
    run(HeaderCp932 + RecordsCp932, [&](QXCSVSET& dialog) {
        Key(&dialog, "Combo1_1", Qt::Key_Down); // column 3
        Key(&dialog, "Combo1_17", Qt::Key_Home);
        Tick(dialog.findChild<QCheckBox*>("Check1"));
        Tick(dialog.findChild<QCheckBox*>("Check2"));
        Key(&dialog, "Combo2", Qt::Key_End);
        ClickButton(&dialog, "Command1_0");
    });
    EXPECT_EQ(state.EditStatus, 'Y');
    EXPECT_EQ(options.map[0][0], 1);
    EXPECT_EQ(options.map[1][0], 3);
    EXPECT_EQ(options.map[16][0], 17);
    EXPECT_EQ(options.map[17][0], 0);
    EXPECT_FALSE(options.skipFirst);
    EXPECT_TRUE(options.halfKana);
    EXPECT_EQ(options.encoding, CsvEncoding::Utf8);
}

TEST_F(CsvMappingDialog, PlusAddsAColumnToAFieldJoinedAfterTheFirst)
{
    run(ToCp932("ｱｵｷ,青木,東京都,世田谷区,桜新町1-2\r\n"), [&](QXCSVSET& dialog) {
        auto* second = dialog.findChild<QComboBox*>("Combo3_6_1");
        EXPECT_TRUE(second->isHidden());
        Key(&dialog, "Combo1_6", Qt::Key_Home);
        Key(&dialog, "Combo1_6", Qt::Key_Down);
        Key(&dialog, "Combo1_6", Qt::Key_Down);
        Key(&dialog, "Combo1_6", Qt::Key_Down); // column 3
        ClickButton(&dialog, "Join_6");
        EXPECT_FALSE(second->isHidden());
        second->setCurrentIndex(4);
        ClickButton(&dialog, "Join_6");
        dialog.findChild<QComboBox*>("Combo3_6_2")->setCurrentIndex(5);
        ClickButton(&dialog, "Join_6");
        EXPECT_FALSE(dialog.findChild<QPushButton*>("Join_6")->isEnabled()); // four columns at most
        Key(&dialog, "DuplicateAction", Qt::Key_End);
        ClickButton(&dialog, "Command1_0");
    });
    EXPECT_EQ(options.map[6], (CsvColumns{3, 4, 5, 0}));
    EXPECT_EQ(options.onDuplicate, DuplicateAction::Fill);
}

TEST_F(CsvMappingDialog, AKnownHeaderLinePreselectsItsColumnsAndIsSkipped)
{
    run(ToCp932("名,姓,メイ,セイ,番地,都道府県,市区町村\r\n太郎,山田,ﾀﾛｳ,ﾔﾏﾀﾞ,桜新町1-2,東京都,世田谷区\r\n"),
        [&](QXCSVSET& dialog) {
            EXPECT_TRUE(dialog.findChild<QCheckBox*>("Check1")->isChecked());
            EXPECT_EQ(dialog.findChild<QComboBox*>("Combo1_1")->currentText(), "姓");
            auto* given = dialog.findChild<QComboBox*>("Combo3_1_1");
            EXPECT_FALSE(given->isHidden());
            EXPECT_EQ(given->currentText(), "名");
            EXPECT_EQ(dialog.findChild<QComboBox*>("Combo1_6")->currentText(), "都道府県");
            EXPECT_EQ(dialog.findChild<QComboBox*>("Combo3_6_2")->currentText(), "番地");
            EXPECT_EQ(dialog.findChild<QComboBox*>("Combo1_2")->currentIndex(), 0);
            ClickButton(&dialog, "Command1_0");
        });
    EXPECT_EQ(options.map[1], (CsvColumns{2, 1, 0, 0}));
    EXPECT_EQ(options.map[0], (CsvColumns{4, 3, 0, 0}));
    EXPECT_EQ(options.map[6], (CsvColumns{6, 7, 5, 0}));
    EXPECT_TRUE(options.skipFirst);
}

// --- the whole import from the list window ------------------------------------------------------

class CsvImportFromListWindow : public StoreTest
{
protected:
    void SetUp() override
    {
        state.ProfileFolder = dir.str();
        load();
        addRecord("ｱﾍﾞ");
        state.TablesLoaded = false;
        window = std::make_unique<TALIKLST>(state, launcher, nullptr);
        window->show();
        ASSERT_TRUE(window->loadIfNeeded());
        std::ofstream(csvPath(), std::ios::binary) << HeaderCp932 + RecordsCp932;
    }

    std::string csvPath() const { return dir.str() + "/in.csv"; }
    void startImport() { window->menus().PPCSVIn->trigger(); }
    int shownRows() { return window->findChild<QTreeView*>("ListView1")->model()->rowCount(); }

    RecordingLauncher launcher;
    std::unique_ptr<TALIKLST> window;
};

TEST_F(CsvImportFromListWindow, ImportsAfterTheDialogsAndTheQuestionAndShowsTheNewRows)
{
    ASSERT_TRUE(window->menus().PPCSVIn->isEnabled());
    ui.fileAnswers = {csvPath()};
    ui.yesNoAnswers = {true};
    bool busyMeanwhile = false;
    WhenModalShows<QXCSVSET>([&](QXCSVSET* dialog) {
        busyMeanwhile = state.Busy;
        ClickButton(dialog, "Command1_0");
    });
    QString instruction;
    WhenModalShows<TALIKCHI>([&](TALIKCHI* dialog) {
        instruction = dialog->findChild<QLabel*>("Label1_12")->text();
        Tick(dialog->findChild<QCheckBox*>("Check1_2"));
        ClickButton(dialog, "Command1_0");
    });
    startImport();
    EXPECT_TRUE(busyMeanwhile);
    EXPECT_FALSE(state.Busy);
    EXPECT_EQ(instruction, "取込むデータに付ける項目をチェックしてください。");
    ASSERT_EQ(ui.shown.size(), 3u);
    EXPECT_EQ(ui.shown[0].kind, "open file");
    EXPECT_EQ(ui.shown[0].title, "入力ＣＳＶファイル設定");
    EXPECT_EQ(ui.shown[1].kind, "question");
    EXPECT_EQ(ui.shown[1].text, csvPath() + " から\rＣＳＶデータを取込んでもよろしいですか？");
    EXPECT_EQ(ui.shown[1].title, "確認");
    EXPECT_EQ(ui.shown[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(ui.shown[2].text, "2 件のデータを取込みました。");
    EXPECT_EQ(ui.shown[2].icon, MessageIcon::None);
    EXPECT_EQ(state.tables.TotalCount, 3);
    EXPECT_EQ(shownRows(), 2); // tab あ shows ｱｵｷ beside ｱﾍﾞ
    EXPECT_EQ(window->findChild<QLabel*>("Label1")->text(), "あ 一覧 (2件)");
    state.CurRecNo = 3;
    ASSERT_TRUE(ReadCurrent(state));
    EXPECT_EQ(GetText(state.Rec.KanjiName), "青木");
    EXPECT_EQ(std::string(state.Rec.CheckItems, 15), "  1            ");
}

// Where the user stops: 0 the file dialog, 1 the mapping, 2 the check items, 3 the question.
class CsvImportCancelled : public CsvImportFromListWindow, public ::testing::WithParamInterface<int>
{
};

TEST_P(CsvImportCancelled, ImportsNothing)
{
    const int step = GetParam();
    auto before = ReadFileBytes(mainPath());
    ui.fileAnswers = {step == 0 ? std::nullopt : std::optional<std::string>(csvPath())};
    if (step == 3) {
        ui.yesNoAnswers = {false};
    }
    if (step >= 1) {
        WhenModalShows<QXCSVSET>(
            [&](QXCSVSET* dialog) { ClickButton(dialog, step == 1 ? "Command1_1" : "Command1_0"); });
    }
    if (step >= 2) {
        WhenModalShows<TALIKCHI>(
            [&](TALIKCHI* dialog) { ClickButton(dialog, step == 2 ? "Command1_1" : "Command1_0"); });
    }
    startImport();
    EXPECT_EQ(ReadFileBytes(mainPath()), before);
    EXPECT_EQ(state.tables.TotalCount, 1);
    EXPECT_FALSE(state.Busy);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(ui.shown.back().kind, step == 3 ? "question" : "open file");
}

INSTANTIATE_TEST_SUITE_P(AtEveryStep, CsvImportCancelled, ::testing::Values(0, 1, 2, 3));

TEST_F(CsvImportFromListWindow, AFileWithNulBytesIsRefusedBeforeTheMapping)
{
    std::ofstream(csvPath(), std::ios::binary) << std::string("\"\xB1\",\"\0\"\r\n", 9);
    ui.fileAnswers = {csvPath()};
    startImport();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].rfind("ＣＳＶファイルとして読めません。", 0), 0u);
    EXPECT_EQ(state.tables.TotalCount, 1);
}

} // namespace
} // namespace talik::test
