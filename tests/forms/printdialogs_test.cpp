// The three print dialogs on real widgets: paging, the print buttons into PDF files read back with
// the poppler tools, the guard that keeps the dialog still while it prints, loading settings files,
// which controls are enabled, and the dispatch that refuses an empty job.
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>

#include <gtest/gtest.h>

#include "listwin/appstate.h"
#include "listwin/currentrecord.h"
#include "print/TALIKPRP.h"
#include "print/TALIKPRV.h"
#include "print/TALIKPRW.h"
#include "print/TALIKPRX.h"
#include "print/TALIKPRZ.h"
#include "print/printdialogs.h"
#include "print/printdispatch.h"
#include "print/printerchoice.h"
#include "print/printwork.h"
#include "store/database.h"
#include "store/record.h"
#include "tests/support/childprocess.h"
#include "tests/support/formactions.h"
#include "tests/support/modal.h"
#include "tests/support/scripted.h"
#include "tests/support/tempdir.h"

namespace talik::test {
namespace {

namespace fs = std::filesystem;

struct PdfFacts
{
    int pages = 0;
    double widthMm = 0, heightMm = 0;
    std::string text;
};

class PrintDialogsTest : public ::testing::Test
{
protected:
    PrintDialogsTest()
    {
        state.ProgramFolder = dir.str() + "/";
        state.WritableFolder = dir.str() + "/";
        state.DataPath = dir.str();
        state.ProfileFolder = dir.str();
    }
    void SetUp() override
    {
        if (!FindTool("pdfinfo") || !FindTool("pdftotext")) {
            GTEST_SKIP() << "pdfinfo and pdftotext (poppler-utils) are not installed";
        }
    }

    static bool FindTool(const std::string& name) { return fs::exists("/usr/bin/" + name); }

    // `count` records named 名前01.. in reading order, loaded.
    void addRecords(int count)
    {
        for (int i = 1; i <= count; ++i) {
            ClearRecord(state.Rec);
            ClearRecord(state.Extra);
            char number[3] = {static_cast<char>('0' + i / 10), static_cast<char>('0' + i % 10), 0};
            SetText(state.Rec.KanaName, std::string("ｱ") + number);
            SetText(state.Rec.KanjiName, std::string("名前") + number);
            SetText(state.Rec.PostCode1, "123-4567");
            SetText(state.Rec.Address1, std::string("東京都") + number);
            state.CurRecNo = 0;
            state.EditStatus = 'N';
            ASSERT_TRUE(SaveCurrent(state));
        }
        state.TablesLoaded = false;
        ASSERT_EQ(LoadTables(state), LoadResult::Loaded);
    }
    PrintTable job(char kind)
    {
        EXPECT_TRUE(PreparePrintAll(state, kind));
        std::optional<PrintTable> table = LoadPrintWork(state, kind == PrintList);
        EXPECT_TRUE(table.has_value());
        return table ? std::move(*table) : PrintTable{};
    }
    // Prints of this run go into `file`, as the printer dialog's "print to file" chose it.
    void printInto(const std::string& file, char kind)
    {
        state.chosenPrinter = std::make_shared<ChosenPrinter>();
        state.chosenPrinter->printer.setOutputFileName(QString::fromStdString(file));
        state.chosenPrinter->kind = kind;
    }
    std::string pdf(const std::string& name) const { return dir.str() + "/" + name; }

    PdfFacts read(const std::string& file)
    {
        PdfFacts facts;
        ProgramRun info = RunProgram({"/usr/bin/pdfinfo", file}, dir.path());
        std::smatch match;
        if (std::regex_search(info.out, match, std::regex(R"(Pages:\s+(\d+))"))) {
            facts.pages = std::stoi(match[1]);
        }
        if (std::regex_search(info.out, match, std::regex(R"(Page size:\s+([\d.]+) x ([\d.]+) pts)"))) {
            facts.widthMm = std::stod(match[1]) * 25.4 / 72;
            facts.heightMm = std::stod(match[2]) * 25.4 / 72;
        }
        RunProgram({"/usr/bin/pdftotext", "-raw", file, dir.str() + "/text.txt"}, dir.path());
        std::ifstream in(dir.str() + "/text.txt");
        // Text drawn a character at a time comes out in pieces: joined again here.
        for (char c : std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())) {
            if (c != ' ' && c != '\n' && c != '\f') {
                facts.text += c;
            }
        }
        return facts;
    }

    template <typename T> T* child(QWidget& dialog, const char* name)
    {
        T* found = dialog.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString position(QWidget& dialog) { return child<QLabel>(dialog, "Label1")->text(); }
    void click(QWidget& dialog, const char* name) { child<QPushButton>(dialog, name)->click(); }

    TempDir dir;
    LoopInteraction ui;
    FixedClock clock;
    AppState state{ui, clock};
};

TEST_F(PrintDialogsTest, OneRecipientShowsOneOfOneWithBothArrowsDisabled)
{
    addRecords(1);
    TALIKPRV dialog(state, job(PrintPostcards));
    EXPECT_EQ(dialog.windowTitle(), "はがき印刷確認");
    EXPECT_EQ(position(dialog), "1/1 件目");
    EXPECT_FALSE(child<QPushButton>(dialog, "Command1_0")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(dialog, "Command1_1")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(dialog, "Command2_0")->isEnabled());
}

TEST_F(PrintDialogsTest, ThePagingKeysMoveAsTheArrowButtonsFromAnyControl)
{
    addRecords(5);
    TALIKPRV dialog(state, job(PrintPostcards));
    QWidget* close = child<QPushButton>(dialog, "Command3");
    QWidget* preview = dialog.findChild<QWidget*>("Picture2");
    QTest::keyClick(&dialog, Qt::Key_PageDown);
    EXPECT_EQ(position(dialog), "2/5 件目");
    QTest::keyClick(close, Qt::Key_Right);
    QTest::keyClick(preview, Qt::Key_Down);
    EXPECT_EQ(position(dialog), "4/5 件目");
    QTest::keyClick(close, Qt::Key_End);
    EXPECT_EQ(position(dialog), "5/5 件目");
    QTest::keyClick(close, Qt::Key_PageDown); // past the last: stays
    EXPECT_EQ(position(dialog), "5/5 件目");
    QTest::keyClick(preview, Qt::Key_PageUp);
    QTest::keyClick(close, Qt::Key_Left);
    QTest::keyClick(close, Qt::Key_Up);
    EXPECT_EQ(position(dialog), "2/5 件目");
    QTest::keyClick(&dialog, Qt::Key_Home);
    EXPECT_EQ(position(dialog), "1/5 件目");
    EXPECT_FALSE(child<QPushButton>(dialog, "Command1_0")->isEnabled());
}

TEST_F(PrintDialogsTest, TabGoesDownTheButtonColumnAsItReads)
{
    addRecords(2);
    TALIKPRW dialog(state, job(PrintLabels));
    QWidget* first = child<QPushButton>(dialog, "Command2_0");
    EXPECT_EQ(first->nextInFocusChain(), child<QPushButton>(dialog, "Command2_1"));
    EXPECT_EQ(child<QPushButton>(dialog, "CommandPdf")->nextInFocusChain(), child<QPushButton>(dialog, "Command3"));
}

TEST_F(PrintDialogsTest, TheRestFromTheFifthCardIsASixPagePostcardPdfStartingWithTheFifth)
{
    addRecords(10);
    state.settings.Layout.PrintDirection = 1; // horizontal: each name in one piece
    TALIKPRV dialog(state, job(PrintPostcards));
    for (int i = 0; i < 4; ++i) {
        click(dialog, "Command1_1");
    }
    EXPECT_EQ(position(dialog), "5/10 件目");
    EXPECT_TRUE(child<QPushButton>(dialog, "Command1_0")->isEnabled());

    printInto(pdf("rest.pdf"), PrintPostcards);
    ui.yesNoAnswers.push_back(true);
    click(dialog, "Command2_1");

    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "印刷を開始しますか？");
    EXPECT_EQ(ui.shown[0].title, "確認");
    PdfFacts facts = read(pdf("rest.pdf"));
    EXPECT_EQ(facts.pages, 6);
    EXPECT_NEAR(facts.widthMm, 100, 0.5);
    EXPECT_NEAR(facts.heightMm, 148, 0.5);
    EXPECT_EQ(facts.text.find("名前04"), std::string::npos);
    EXPECT_LT(facts.text.find("名前05"), facts.text.find("名前06"));
    EXPECT_NE(facts.text.find("名前10"), std::string::npos);
    EXPECT_EQ(position(dialog), "5/10 件目"); // the card on show stays
}

TEST_F(PrintDialogsTest, AnswerNoPrintsNothing)
{
    addRecords(2);
    TALIKPRV dialog(state, job(PrintPostcards));
    printInto(pdf("no.pdf"), PrintPostcards);
    ui.yesNoAnswers.push_back(false);
    click(dialog, "Command2_0");
    EXPECT_FALSE(fs::exists(pdf("no.pdf")));
}

TEST_F(PrintDialogsTest, WhilePrintingOnlyStopWorksAndACloseRequestIsIgnored)
{
    addRecords(50);
    TALIKPRV dialog(state, job(PrintPostcards));
    dialog.show();
    printInto(pdf("fifty.pdf"), PrintPostcards);
    int calls = 0;
    bool closeEnabled = true, stopEnabled = false, visibleAfterClose = false;
    QString progress;
    ui.duringLoop = [&] {
        if (++calls != 3) {
            return;
        }
        closeEnabled = child<QPushButton>(dialog, "Command3")->isEnabled() ||
                       child<QPushButton>(dialog, "Command1_1")->isEnabled() ||
                       child<QCheckBox>(dialog, "Check1")->isEnabled();
        stopEnabled = child<QPushButton>(dialog, "CommandStop")->isEnabled();
        progress = child<QLabel>(dialog, "LabelProgress")->text();
        dialog.close();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QApplication::processEvents();
        visibleAfterClose = dialog.isVisible();
    };
    ui.yesNoAnswers.push_back(true);
    click(dialog, "Command2_0");

    EXPECT_FALSE(closeEnabled);
    EXPECT_TRUE(stopEnabled);
    EXPECT_EQ(progress, "3 / 50 件");
    EXPECT_TRUE(visibleAfterClose);
    EXPECT_EQ(read(pdf("fifty.pdf")).pages, 50);
    EXPECT_TRUE(child<QPushButton>(dialog, "Command3")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(dialog, "CommandStop")->isEnabled());
}

TEST_F(PrintDialogsTest, StopEndsAfterTheCurrentCardWithAFinishedDocument)
{
    addRecords(50);
    TALIKPRV dialog(state, job(PrintPostcards));
    printInto(pdf("stopped.pdf"), PrintPostcards);
    int calls = 0;
    ui.duringLoop = [&] {
        if (++calls == 7) {
            click(dialog, "CommandStop");
        }
    };
    ui.yesNoAnswers.push_back(true);
    click(dialog, "Command2_0");
    EXPECT_EQ(read(pdf("stopped.pdf")).pages, 7);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(PrintDialogsTest, APdfThatCannotBeWrittenGivesOneMessageAndNoLoop)
{
    addRecords(5);
    TALIKPRV dialog(state, job(PrintPostcards));
    const std::string target = dir.str() + "/missing folder/out.pdf";
    printInto(target, PrintPostcards);
    ui.yesNoAnswers.push_back(true);
    click(dialog, "Command2_0");
    EXPECT_EQ(ui.messages(), std::vector<std::string>{target + " に書き込めません。"});
    EXPECT_EQ(ui.eventsRun, 0);
}

TEST_F(PrintDialogsTest, PdfButtonAsksForAFileAndKeepsTheWholeJob)
{
    addRecords(3);
    TALIKPRV dialog(state, job(PrintPostcards));
    ui.fileAnswers.push_back(pdf("all.pdf"));
    click(dialog, "CommandPdf");
    EXPECT_EQ(read(pdf("all.pdf")).pages, 3);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].kind, "save file");
}

TEST_F(PrintDialogsTest, PostcardOptionsFollowTheSettingsAndChangeThem)
{
    addRecords(2);
    state.settings.Layout.PrintDirection = 1;
    state.settings.Layout.AddrNum7 = 1;
    TALIKPRV dialog(state, job(PrintPostcards));
    EXPECT_TRUE(child<QRadioButton>(dialog, "Option1_1")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(dialog, "Check3")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(dialog, "Check1")->isChecked());
    child<QCheckBox>(dialog, "Check1")->setChecked(true);
    child<QRadioButton>(dialog, "Option1_0")->setChecked(true);
    EXPECT_EQ(state.settings.Layout.AddrFromSet, 1);
    EXPECT_EQ(state.settings.Layout.PrintDirection, 0);
}

TEST_F(PrintDialogsTest, TheNumeralStyleAndTheJointNamesAreChosenInThePostcardDialog)
{
    addRecords(2);
    state.settings.Layout.AddrNumStyle = 2;
    TALIKPRV dialog(state, job(PrintPostcards));
    auto* style = child<QComboBox>(dialog, "ComboNumeralStyle");
    EXPECT_EQ(style->currentText(), "丁目・番・号");
    EXPECT_TRUE(child<QCheckBox>(dialog, "CheckJointNames")->isChecked());

    child<QCheckBox>(dialog, "Check2")->setChecked(true);
    style->setCurrentIndex(1);
    child<QCheckBox>(dialog, "CheckJointNames")->setChecked(false);
    EXPECT_EQ(state.settings.Layout.AddrNumChange, 1);
    EXPECT_EQ(state.settings.Layout.AddrNumStyle, 1);
    EXPECT_EQ(state.settings.Layout.AddrJointNames, 0);
}

TEST_F(PrintDialogsTest, SubDialogButtonsFollowTheirFlagsAndTheRestIsEnabled)
{
    addRecords(11);
    Readiness waiting = Ready;
    waiting.printLayoutEditor = waiting.printPositionAdjust = waiting.printFonts = waiting.printScale = false;
    TALIKPRV card(state, job(PrintPostcards), nullptr, waiting);
    TALIKPRW labels(state, job(PrintLabels), nullptr, waiting);
    TALIKPRX list(state, job(PrintList), nullptr, waiting);
    for (QWidget* dialog : std::initializer_list<QWidget*>{&card, &labels, &list}) {
        for (const char* name : {"Command4", "Command5"}) {
            EXPECT_FALSE(child<QPushButton>(*dialog, name)->isEnabled()) << name;
        }
    }
    for (const char* name : {"Command7", "Command8", "Command10"}) {
        EXPECT_FALSE(child<QPushButton>(labels, name)->isEnabled()) << name;
    }
    EXPECT_FALSE(child<QPushButton>(list, "Command7")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(card, "Command6")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(labels, "Command9")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(labels, "Command11_0")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(list, "Command9")->isEnabled());
    EXPECT_EQ(child<QPushButton>(labels, "Command8")->text(), "開始マス目設定");
    EXPECT_EQ(child<QPushButton>(list, "Command7")->text(), "縮小率設定");

    TALIKPRW readyLabels(state, job(PrintLabels));
    for (const char* name : {"Command4", "Command5", "Command7", "Command8", "Command10"}) {
        EXPECT_TRUE(child<QPushButton>(readyLabels, name)->isEnabled()) << name;
    }
}

TEST_F(PrintDialogsTest, AStartCellChosenThroughItsButtonRepagesTheSheets)
{
    addRecords(30);
    TALIKPRW dialog(state, job(PrintLabels));
    dialog.show();
    EXPECT_EQ(position(dialog), "1 / 2");
    WhenModalShows<TALIKPRP>([](TALIKPRP* start) {
        start->findChild<QLineEdit*>("Text1_0")->setText("8");
        start->findChild<QLineEdit*>("Text1_1")->setText("3");
        QTest::mouseClick(start->findChild<QPushButton*>("Command1_0"), Qt::LeftButton);
    });
    click(dialog, "Command8");
    EXPECT_EQ(dialog.labelOptions().startRow, 8);
    EXPECT_EQ(dialog.labelOptions().startColumn, 3);
    EXPECT_EQ(state.PrintKind, ' ');
    EXPECT_EQ(position(dialog), "1 / 3"); // one cell left on the first sheet
}

TEST_F(PrintDialogsTest, AScaleChosenThroughItsButtonIsStoredAndDrawn)
{
    addRecords(40);
    TALIKPRX dialog(state, job(PrintList));
    dialog.show();
    const QImage before = dialog.previewImage();
    WhenModalShows<TALIKPRZ>([](TALIKPRZ* scale) {
        scale->findChild<QLineEdit*>("Text1")->setText("50");
        QTest::mouseClick(scale->findChild<QPushButton*>("Command1_0"), Qt::LeftButton);
    });
    click(dialog, "Command7");
    EXPECT_EQ(state.settings.AddrPrtScale, 0.5f);
    EXPECT_NE(dialog.previewImage(), before);
}

TEST_F(PrintDialogsTest, LabelPageTwoBeginsWithTheEighteenthAfterAStartCell)
{
    addRecords(30);
    TALIKPRW dialog(state, job(PrintLabels));
    EXPECT_EQ(dialog.windowTitle(), "タックシール印刷確認");
    EXPECT_EQ(state.settings.Layout.AddrBoxWidth, 60); // 3 × 8 cells of 60 × 34 mm
    dialog.labelOptions().startRow = 3;
    dialog.labelOptions().startColumn = 2; // 17 cells left on the first page
    dialog.redrawFromStart();
    EXPECT_EQ(position(dialog), "1 / 2");
    click(dialog, "Command1_1");
    EXPECT_EQ(position(dialog), "2 / 2");
    EXPECT_FALSE(child<QPushButton>(dialog, "Command1_1")->isEnabled());

    printInto(pdf("page2.pdf"), PrintLabels);
    ui.yesNoAnswers.push_back(true);
    click(dialog, "Command2_1");
    PdfFacts facts = read(pdf("page2.pdf"));
    EXPECT_EQ(facts.pages, 1);
    EXPECT_NEAR(facts.widthMm, 210, 0.5);
    // Label cells print digits full-width.
    EXPECT_EQ(facts.text.find("名前１７"), std::string::npos) << facts.text;
    EXPECT_EQ(facts.text.find("名前１８"), facts.text.find("名前")) << facts.text;
    EXPECT_NE(facts.text.find("名前３０"), std::string::npos) << facts.text;
}

TEST_F(PrintDialogsTest, ALoadedLabelPresetChangesThePagesButNotTheStartCellOrChecks)
{
    addRecords(30);
    TALIKPRW dialog(state, job(PrintLabels));
    child<QCheckBox>(dialog, "Check2")->setChecked(true);
    dialog.labelOptions().startRow = 2;
    std::ofstream(pdf("twelve.PR2"), std::ios::binary)
        << "[System]\r\nAddrBoxWidth=86.4\r\nAddrBoxHeight=42.3\r\nAddrGapH=2.5\r\nAddrGapV=0\r\n";
    ui.fileAnswers.push_back(pdf("twelve.PR2"));
    click(dialog, "Command11_0");
    EXPECT_EQ(state.settings.Layout.AddrBoxWidth, 86.4f);
    EXPECT_EQ(dialog.labelOptions().startRow, 2);
    EXPECT_TRUE(child<QCheckBox>(dialog, "Check2")->isChecked());
    EXPECT_EQ(position(dialog), "1 / 3"); // 2 × 6 cells, the first row skipped
    EXPECT_EQ(ui.shown[0].text, "タックシール印刷用設定値ファイル (*.PR2 *.pr2);;すべて (*)");
}

TEST_F(PrintDialogsTest, AFileThatIsNoSettingsFileChangesNothing)
{
    addRecords(2);
    TALIKPRV dialog(state, job(PrintPostcards));
    std::ofstream(pdf("notes.PR1")) << "hello\n";
    state.settings.Layout.L_Name.left = 40;
    ui.fileAnswers.push_back(pdf("notes.PR1"));
    click(dialog, "Command7_0");
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"この印刷設定値ファイルは読み込めません。"});
    EXPECT_EQ(state.settings.Layout.L_Name.left, 40);
}

TEST_F(PrintDialogsTest, SavingTakesTheExtensionAndCancelIsSilent)
{
    addRecords(2);
    TALIKPRV dialog(state, job(PrintPostcards));
    ui.fileAnswers.push_back(pdf("mine"));
    click(dialog, "Command7_1");
    EXPECT_TRUE(fs::exists(pdf("mine.PR1")));
    ui.fileAnswers.push_back(std::nullopt);
    click(dialog, "Command7_1");
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(PrintDialogsTest, TheListPrintsThePageOnShowAsOneA4Page)
{
    addRecords(11);
    TALIKPRX dialog(state, job(PrintList));
    EXPECT_EQ(dialog.windowTitle(), "一覧表印刷確認");
    EXPECT_EQ(position(dialog), "1 / 2");
    click(dialog, "Command1_1");
    printInto(pdf("list.pdf"), PrintList);
    ui.yesNoAnswers.push_back(true);
    click(dialog, "Command2_1");
    PdfFacts facts = read(pdf("list.pdf"));
    EXPECT_EQ(facts.pages, 1);
    EXPECT_NEAR(facts.widthMm, 210, 0.5);
    EXPECT_NEAR(facts.heightMm, 297, 0.5);
    EXPECT_NE(facts.text.find("名前11"), std::string::npos);
    EXPECT_EQ(facts.text.find("名前10"), std::string::npos);
}

TEST_F(PrintDialogsTest, AnEmptyDatabaseOpensNoDialog)
{
    addRecords(0);
    PrintAllRecords(state, PrintPostcards, nullptr);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"印刷データがありません。"});
    EXPECT_FALSE(fs::exists(PrintWorkFile(state)));
}

TEST_F(PrintDialogsTest, TheCalibrationSheetIsOnePageOfTheKindsPaper)
{
    addRecords(2);
    TALIKPRW dialog(state, job(PrintLabels));
    printInto(pdf("calibration.pdf"), PrintLabels);
    click(dialog, "CommandCalib");
    PdfFacts facts = read(pdf("calibration.pdf"));
    EXPECT_EQ(facts.pages, 1);
    EXPECT_NEAR(facts.heightMm, 297, 0.5);
    EXPECT_NE(facts.text.find("X=10.0Y=10.0mm"), std::string::npos) << facts.text;
    EXPECT_TRUE(ui.shown.empty());
}

} // namespace
} // namespace talik::test
