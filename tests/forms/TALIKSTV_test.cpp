// The layout editor driven with the mouse and keys: a dragged label stores its item only, closing
// without a drag changes nothing, the defaults come back exactly, and a card printed afterwards shows
// the item where it was dragged.
#include <QApplication>
#include <QLineEdit>
#include <QPageSize>
#include <QPushButton>
#include <QTest>

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

#include "listwin/appstate.h"
#include "print/TALIKPRP.h"
#include "print/TALIKSTV.h"
#include "print/engines.h"
#include "print/qtcanvas.h"
#include "tests/support/childprocess.h"
#include "tests/support/modal.h"
#include "tests/support/scripted.h"
#include "tests/support/tempdir.h"

namespace talik::test {
namespace {

constexpr double Px = TALIKSTV::PixelsPerMm;
constexpr double Scale = LayoutPreviewScale;

class LayoutEditor : public ::testing::Test
{
protected:
    void open(const PrintTable* job = nullptr)
    {
        form = std::make_unique<TALIKSTV>(state, job);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    QWidget* label(const char* name) { return form->findChild<QWidget*>(name); }
    void click(const char* name) { QTest::mouseClick(form->findChild<QPushButton*>(name), Qt::LeftButton); }
    // Presses a label near its top-left corner, moves the mouse by (dx, dy) pixels and lets go.
    void drag(const char* name, int dx, int dy)
    {
        QWidget* item = label(name);
        const QPoint grip(2, 2);
        QTest::mousePress(item, Qt::LeftButton, {}, grip);
        QTest::mouseMove(item, grip + QPoint(dx / 2, dy / 2));
        QTest::mouseMove(item, grip + QPoint(dx, dy) - (item->pos() - start));
        QTest::mouseRelease(item, Qt::LeftButton, {}, grip);
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
    std::unique_ptr<TALIKSTV> form;
    QPoint start;
};

TEST_F(LayoutEditor, LabelsStandAtTheStoredPositionsOfTheDirection)
{
    state.settings.Layout.PrintDirection = 1;
    state.settings.Layout.L_NameH = {30, 80};
    open();
    EXPECT_EQ(form->windowTitle(), "印刷位置設定");
    EXPECT_NEAR(form->labelPlace(LayoutItem::Name).left, 30 * Scale, 0.5 / Px);
    EXPECT_NEAR(form->labelPlace(LayoutItem::Name).top, 80 * Scale, 0.5 / Px);
    EXPECT_NEAR(form->labelPlace(LayoutItem::SenderCode).left, 6.5 * Scale, 0.5 / Px);
}

TEST_F(LayoutEditor, TheVerticalSendersRightColumnStandsAtItsLeft)
{
    open();
    QWidget* sender = label("L_Send");
    ASSERT_NE(sender, nullptr);
    // Two columns (address and name): the label's right column begins at the stored left.
    const double h5 = 14 * 0.36 * Scale;
    const double rightColumn = form->labelPlace(LayoutItem::Sender).left + sender->width() / Px - h5;
    EXPECT_NEAR(rightColumn, 23 * Scale, 1.0 / Px);
    EXPECT_GT(sender->width(), sender->height() / 10);
}

TEST_F(LayoutEditor, ClosingWithoutADragChangesNoByte)
{
    state.settings.Layout.L_Addr = {87.03f, 25.07f};
    state.settings.Layout.L_SYNum = {6.33f, 123.9f};
    const auto before = settingsBytes();
    open();
    click("Command1");
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_FALSE(form->changed());
    EXPECT_EQ(settingsBytes(), before);
}

TEST_F(LayoutEditor, ADragStoresThatLabelOnlyRoundedToATenth)
{
    state.settings.Layout.L_Corp = {69.04f, 30.02f};
    open();
    QWidget* name = label("L_Name");
    start = name->pos();
    const LayoutPoint was = state.settings.Layout.L_Name;
    drag("L_Name", 24, -12); // 6 and -3 picture mm: 10 and -5 card mm
    EXPECT_EQ(name->pos(), start + QPoint(24, -12));
    click("Command1");
    EXPECT_TRUE(form->changed());
    const PrintLayout& layout = state.settings.Layout;
    EXPECT_NEAR(layout.L_Name.left, was.left + 10, 0.3);
    EXPECT_NEAR(layout.L_Name.top, was.top - 5, 0.3);
    EXPECT_EQ(FormatDecimal(layout.L_Name.left).find('.') == std::string::npos ||
                  FormatDecimal(layout.L_Name.left).size() - FormatDecimal(layout.L_Name.left).find('.') == 2,
              true);
    EXPECT_EQ(layout.L_Corp.left, 69.04f); // untouched
    EXPECT_EQ(layout.L_Corp.top, 30.02f);
    EXPECT_EQ(layout.L_NameH.left, 25.0f);
}

TEST_F(LayoutEditor, CancelAfterADragStoresNothing)
{
    const auto before = settingsBytes();
    open();
    start = label("L_Addr")->pos();
    drag("L_Addr", -40, 20);
    click("Command2");
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_EQ(settingsBytes(), before);
}

TEST_F(LayoutEditor, ALabelDraggedFarAwayStaysGrippableAndIsStoredOffTheCard)
{
    open();
    QWidget* code = label("L_SYNum");
    start = code->pos();
    drag("L_SYNum", -2000, 2000);
    QWidget* picture = form->findChild<QWidget*>("Picture1");
    EXPECT_TRUE(picture->rect().intersects(code->geometry()));
    click("Command1");
    EXPECT_LT(state.settings.Layout.L_SYNum.left, 0.0f);
    EXPECT_GT(state.settings.Layout.L_SYNum.top, 148.0f);
}

TEST_F(LayoutEditor, DefaultsComeBackExactly)
{
    state.settings.Layout.L_Addr = {1, 2};
    state.settings.Layout.L_Send = {3, 4};
    state.settings.Layout.L_AddrH = {5, 6};
    open();
    click("Command3");
    EXPECT_NEAR(form->labelPlace(LayoutItem::Address).left, 87 * Scale, 0.5 / Px);
    EXPECT_EQ(state.settings.Layout.L_Addr.left, 1.0f); // stored only on closing
    click("Command1");
    EXPECT_EQ(state.settings.Layout.L_Addr.left, 87.0f);
    EXPECT_EQ(state.settings.Layout.L_Addr.top, 25.0f);
    EXPECT_EQ(state.settings.Layout.L_Send.left, 23.0f);
    EXPECT_EQ(state.settings.Layout.L_SYNum.left, 6.5f);
    EXPECT_EQ(state.settings.Layout.L_AddrH.left, 5.0f); // the other direction keeps its own
}

TEST_F(LayoutEditor, ArrowKeysAndTheBoxesMoveTheSelectedItemByTenths)
{
    open();
    QWidget* dept = label("L_Sect");
    QTest::mousePress(dept, Qt::LeftButton, {}, QPoint(1, 1));
    QTest::mouseRelease(dept, Qt::LeftButton, {}, QPoint(1, 1));
    QWidget* picture = form->findChild<QWidget*>("Picture1");
    QTest::keyClick(picture, Qt::Key_Right);
    QTest::keyClick(picture, Qt::Key_Down, Qt::ShiftModifier);
    QLineEdit* x = form->findChild<QLineEdit*>("Text1_0");
    QLineEdit* y = form->findChild<QLineEdit*>("Text1_1");
    EXPECT_EQ(x->text(), "62.1");
    EXPECT_EQ(y->text(), "31.0");
    x->setText("40.25");
    emit x->editingFinished();
    click("Command1");
    EXPECT_EQ(state.settings.Layout.L_Sect.left, 40.3f);
    EXPECT_EQ(state.settings.Layout.L_Sect.top, 31.0f);
}

TEST_F(LayoutEditor, PositionAdjustmentStoresAtOnceEvenWhenTheEditorIsCancelled)
{
    open();
    state.PrintKind = 'V';
    WhenModalShows<TALIKPRP>([](TALIKPRP* adjust) {
        EXPECT_EQ(adjust->windowTitle(), "はがき印刷位置調整");
        adjust->findChild<QLineEdit*>("Text1_0")->setText("12");
        adjust->findChild<QLineEdit*>("Text1_1")->setText("5");
        QTest::mouseClick(adjust->findChild<QPushButton*>("Command1_0"), Qt::LeftButton);
    });
    click("Command4");
    click("Command2");
    EXPECT_EQ(state.settings.Layout.AddrDispX, 1.2f);
    EXPECT_EQ(state.settings.Layout.AddrDispY, -0.5f);
    EXPECT_TRUE(form->changed());
    EXPECT_EQ(state.PrintKind, 'V');
}

TEST_F(LayoutEditor, LabelsShowTheFirstRecipientOfTheJob)
{
    PrintTable job;
    job.entries = {{"1540015", "東京都", "", "", "差出　一郎!", "", ""},
                   {"", "", "", "", "!", "", ""},
                   {"1000001", "千代田区", "見本商事", "", "山田　太郎!", "様", "0"}};
    job.PrintLineCount = 3;
    state.settings.Layout.PrintDirection = 1;
    open(&job);
    // Horizontal labels are as wide as their text: the company name is wider than its caption alone.
    EXPECT_GT(label("L_Name")->width(), label("L_SYNum")->width() / 2);
    EXPECT_GT(label("L_Send")->height(), label("L_Corp")->height());
}

TEST_F(LayoutEditor, TheNameItemCarriesTheJointNames)
{
    PrintTable job;
    job.entries = {{"", "", "", "", "!", "", ""},
                   {"", "", "", "", "!", "", ""},
                   {"1000001", "千代田区", "", "", "山田　太郎!", "様", "0"}};
    job.PrintLineCount = 3;
    state.settings.Layout.PrintDirection = 1;
    open(&job);
    const int alone = label("L_Name")->height();
    job.entries[2].PrintName = "山田　太郎!";
    job.entries[2].JointNames = {{"", "花子", "様"}, {"", "健太", "くん"}};
    open(&job);
    // Horizontal: the joint names are lines of the name's label, which grows to hold them.
    EXPECT_GT(label("L_Name")->height(), 2 * alone);
}

TEST_F(LayoutEditor, AVerticalNameLabelShowsItsFirstColumnOnlySoItsLeftIsTheStoredLeft)
{
    PrintTable job;
    job.entries = {{"", "", "", "", "!", "", ""},
                   {"", "", "", "", "!", "", ""},
                   {"1000001", "千代田区", "", "", "山田　太郎\\花子!", "様", "0"}};
    job.PrintLineCount = 3;
    open(&job);
    const double pitch = 32 * 0.36 * Scale * Px;
    EXPECT_NEAR(label("L_Name")->width(), pitch, 1.0);
    EXPECT_NEAR(form->labelPlace(LayoutItem::Name).left, 49 * Scale, 0.5 / Px);
}

// --- a card printed after a layout change ------------------------------------------------------

std::optional<std::string> FindOnPath(const std::string& program)
{
    std::istringstream folders(std::getenv("PATH") != nullptr ? std::getenv("PATH") : "/usr/bin:/bin");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::string candidate = folder + "/" + program;
        if (!folder.empty() && access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return std::nullopt;
}

struct WordBox
{
    double x = 0, y = 0;
};

// Where the first word beginning with `text` stands on page 1, millimetres from the top-left.
std::optional<WordBox> FindWord(const std::string& html, const std::string& text)
{
    static const std::regex WordTag(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">(.*)</word>)re");
    constexpr double MmPerPoint = 25.4 / 72;
    std::istringstream lines(html);
    std::smatch match;
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_search(line, match, WordTag) && match[3].str().rfind(text, 0) == 0) {
            return WordBox{std::stod(match[1]) * MmPerPoint, std::stod(match[2]) * MmPerPoint};
        }
    }
    return std::nullopt;
}

class LayoutEditorPdf : public LayoutEditor
{
protected:
    void SetUp() override
    {
        if (!pdftotext) {
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        }
    }
    // Prints the job's first card to a PDF and finds its name there.
    std::optional<WordBox> printedName(const std::string& pdfName)
    {
        PrintTable table;
        table.entries = {{"", "", "", "", "!", "", ""},
                         {"", "", "", "", "!", "", ""},
                         {"1000001", "千代田区", "", "", "山田　太郎!", "様", "0"}};
        table.PrintLineCount = 3;
        const std::string pdf = dir.str() + "/" + pdfName;
        {
            auto canvas = PdfCanvas(QString::fromStdString(pdf), QPageSize(QPageSize::Postcard));
            EXPECT_NE(canvas, nullptr);
            PrintJob job(state, table);
            job.target.printer = canvas.get();
            job.target.preview = nullptr;
            EXPECT_TRUE(PrintPostcardH(job, 3));
            canvas->endDocument();
        }
        const std::string html = dir.str() + "/words.html";
        ProgramRun run = RunProgram({*pdftotext, "-bbox", pdf, html}, dir.path());
        EXPECT_EQ(run.exitCode, 0) << run.err;
        std::ifstream in(html);
        std::stringstream text;
        text << in.rdbuf();
        return FindWord(text.str(), "山田");
    }

    std::optional<std::string> pdftotext = FindOnPath("pdftotext");
};

TEST_F(LayoutEditorPdf, ACardPrintedAfterADragShowsTheNameMovedByTheStoredAmount)
{
    state.settings.Layout.PrintDirection = 1;
    // A name that fits its line at both places, so the card keeps its size and moves only by the drag.
    state.settings.Layout.AddrFontSize[4] = 20;
    const std::optional<WordBox> before = printedName("before.pdf");
    ASSERT_TRUE(before.has_value());
    const LayoutPoint was = state.settings.Layout.L_NameH;
    EXPECT_NEAR(before->x, was.left, 0.5);

    open();
    start = label("L_Name")->pos();
    drag("L_Name", 36, 48); // 9 and 12 picture mm: 15 and 20 card mm
    click("Command1");
    const LayoutPoint now = state.settings.Layout.L_NameH;
    EXPECT_NEAR(now.left - was.left, 15, 0.3);
    EXPECT_NEAR(now.top - was.top, 20, 0.3);

    const std::optional<WordBox> after = printedName("after.pdf");
    ASSERT_TRUE(after.has_value());
    EXPECT_NEAR(after->x - before->x, now.left - was.left, 0.2);
    EXPECT_NEAR(after->y - before->y, now.top - was.top, 0.2);
}

} // namespace
} // namespace talik::test
