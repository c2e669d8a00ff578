// The card season in the postcard and label print dialogs: "今年の宛先だけ" cuts the job to the
// people who get a card this year, and a print that went through in full asks whether its people
// were sent one; yes marks exactly them, no and a stopped print mark no one.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <functional>

#include <gtest/gtest.h>

#include "listwin/appstate.h"
#include "listwin/currentrecord.h"
#include "listwin/seasonlist.h"
#include "print/TALIKPRV.h"
#include "print/TALIKPRW.h"
#include "print/printdispatch.h"
#include "print/printerchoice.h"
#include "print/printwork.h"
#include "store/database.h"
#include "store/identity.h"
#include "store/personids.h"
#include "store/record.h"
#include "store/season.h"
#include "tests/support/childprocess.h"
#include "tests/support/formactions.h"
#include "tests/support/scripted.h"
#include "tests/support/tempdir.h"

namespace talik::test {
namespace {

class PrintSeason : public ::testing::Test
{
protected:
    PrintSeason()
    {
        state.ProgramFolder = dir.str() + "/";
        state.WritableFolder = dir.str() + "/";
        state.DataPath = dir.str();
        state.ProfileFolder = dir.str();
        state.settings.CardYear = 2026;
    }
    void SetUp() override
    {
        for (int i = 1; i <= 6; ++i) {
            ClearRecord(state.Rec);
            ClearRecord(state.Extra);
            SetText(state.Rec.KanaName, std::string("ｱ") + char('0' + i));
            SetText(state.Rec.KanjiName, std::string("名前") + char('0' + i));
            SetText(state.Rec.PostCode1, "123-4567");
            SetText(state.Rec.Address1, "東京都");
            state.CurRecNo = 0;
            state.EditStatus = 'N';
            ASSERT_TRUE(SaveCurrent(state));
        }
        state.TablesLoaded = false;
        ASSERT_EQ(LoadTables(state), LoadResult::Loaded);
        const ListModel all = AllRecordsByReading(state);
        for (const ListItem& item : all.items()) {
            recNos.push_back(RecNoOfKey(item.key));
        }
        ASSERT_EQ(recNos.size(), 6u);
        // 名前2 in mourning, 名前3 already sent, 名前5 no longer written to.
        ASSERT_TRUE(MarkSeason(state, ids({recNos[1]}), 2026, SeasonMark::Mourning, true));
        ASSERT_TRUE(MarkSeason(state, ids({recNos[2]}), 2026, SeasonMark::Sent, true));
        ASSERT_TRUE(MarkSeason(state, ids({recNos[4]}), 0, SeasonMark::Stop, true));
    }
    std::vector<std::string> ids(const std::vector<std::int32_t>& which)
    {
        auto found = IdentitiesOfRecords(state, which);
        EXPECT_TRUE(found.has_value());
        return found ? found->identities : std::vector<std::string>{};
    }
    // The records marked sent in 2026, by their place in reading order (1-based).
    std::vector<int> sentPlaces()
    {
        const SeasonYear year = ReadSeasonYear(state, 2026);
        const std::vector<std::string> all = ids(recNos);
        std::vector<int> places;
        for (std::size_t i = 0; i < all.size(); ++i) {
            const SeasonMarks* marks = year.of(all[i]);
            if (marks != nullptr && marks->sent) {
                places.push_back(static_cast<int>(i) + 1);
            }
        }
        return places;
    }
    PrintTable job(char kind)
    {
        EXPECT_TRUE(PreparePrintAll(state, kind));
        std::optional<PrintTable> table = LoadPrintWork(state, false);
        EXPECT_TRUE(table.has_value());
        return table ? std::move(*table) : PrintTable{};
    }
    void printInto(const std::string& file, char kind)
    {
        state.chosenPrinter = std::make_shared<ChosenPrinter>();
        state.chosenPrinter->printer.setOutputFileName(QString::fromStdString(file));
        state.chosenPrinter->kind = kind;
    }
    std::string pdfText(const std::string& file)
    {
        ProgramRun run = RunProgram({"/usr/bin/pdftotext", "-raw", file, "-"}, dir.path());
        std::string packed;
        for (char c : run.out) {
            if (c != ' ' && c != '\n' && c != '\f') {
                packed += c;
            }
        }
        return packed;
    }
    template <typename T> T* child(QWidget& dialog, const char* name)
    {
        T* found = dialog.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void click(QWidget& dialog, const char* name) { child<QPushButton>(dialog, name)->click(); }

    TempDir dir;
    LoopInteraction ui;
    FixedClock clock;
    AppState state{ui, clock};
    std::vector<std::int32_t> recNos;
};

TEST_F(PrintSeason, ThisYearsRecipientsOnlyAndYesMarksExactlyThePrintedCards)
{
    TALIKPRV dialog(state, job(PrintPostcards));
    dialog.setRecipients(recNos);
    QCheckBox* only = child<QCheckBox>(dialog, "CheckSeasonOnly");
    ASSERT_TRUE(only->isEnabled());
    EXPECT_EQ(only->text().toStdString(), "今年の宛先だけ");
    EXPECT_EQ(child<QLabel>(dialog, "Label1")->text().toStdString(), "1/6 件目");
    only->click();
    EXPECT_EQ(child<QLabel>(dialog, "Label1")->text().toStdString(), "1/3 件目");

    const std::string file = dir.str() + "/season.pdf";
    printInto(file, PrintPostcards);
    ui.yesNoAnswers = {true, true};
    click(dialog, "Command2_0");
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[1].text, "印刷した 3 件を 2026 年の「送」にしますか？");
    EXPECT_EQ(sentPlaces(), (std::vector<int>{1, 3, 4, 6}));
    if (std::filesystem::exists("/usr/bin/pdftotext")) {
        const std::string text = pdfText(file);
        EXPECT_EQ(text.find("名前2"), std::string::npos);
        EXPECT_EQ(text.find("名前5"), std::string::npos);
    }

    // Back to everyone, one card printed: the question counts that one only.
    only->click();
    EXPECT_EQ(child<QLabel>(dialog, "Label1")->text().toStdString(), "1/6 件目");
    click(dialog, "Command1_1"); // 名前2
    ui.yesNoAnswers = {true, true};
    click(dialog, "Command2_2");
    EXPECT_EQ(ui.shown.back().text, "印刷した 1 件を 2026 年の「送」にしますか？");
    EXPECT_EQ(sentPlaces(), (std::vector<int>{1, 2, 3, 4, 6}));
}

TEST_F(PrintSeason, PrintingEveryoneFromAFilteredListTakesOnlyThePeopleTheFilterKeeps)
{
    state.settings.SeasonView = 1;
    ASSERT_TRUE(LoadSeasonList(state));
    state.season.filter = SeasonFilter::ToSend;
    EXPECT_EQ(AllRecordsPrintPrefix(state), "今年の宛先 ");
    {
        TALIKPRV dialog(state, job(PrintPostcards));
        EXPECT_EQ(child<QLabel>(dialog, "Label1")->text().toStdString(), "1/3 件目");
    }
    EXPECT_EQ(RecordsToPrintAll(state, PrintLabels).size(), 3u);
    EXPECT_EQ(RecordsToPrintAll(state, PrintList).size(), 6u) << "the address list is not a card run";

    state.season.filter = SeasonFilter::Mourning;
    EXPECT_EQ(RecordsToPrintAll(state, PrintPostcards).size(), 1u);
    state.settings.SeasonView = 0; // the column off: the filter no longer holds
    EXPECT_EQ(RecordsToPrintAll(state, PrintPostcards).size(), 6u);
    EXPECT_EQ(AllRecordsPrintPrefix(state), "全件 ");
}

TEST_F(PrintSeason, NoMarksNoOne)
{
    TALIKPRV dialog(state, job(PrintPostcards));
    dialog.setRecipients(recNos);
    printInto(dir.str() + "/no.pdf", PrintPostcards);
    ui.yesNoAnswers = {true, false};
    click(dialog, "Command2_0");
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[1].text, "印刷した 6 件を 2026 年の「送」にしますか？");
    EXPECT_EQ(sentPlaces(), (std::vector<int>{3}));
}

TEST_F(PrintSeason, AStoppedOrFailedPrintAsksNothingAndMarksNoOne)
{
    TALIKPRV dialog(state, job(PrintPostcards));
    dialog.setRecipients(recNos);
    printInto(dir.str() + "/stopped.pdf", PrintPostcards);
    int calls = 0;
    ui.duringLoop = [&] {
        if (++calls == 2) {
            click(dialog, "CommandStop");
        }
    };
    ui.yesNoAnswers = {true};
    click(dialog, "Command2_0");
    EXPECT_EQ(ui.shown.size(), 1u);
    ui.duringLoop = nullptr;

    printInto(dir.str() + "/missing folder/out.pdf", PrintPostcards);
    ui.yesNoAnswers = {true};
    click(dialog, "Command2_0");
    EXPECT_EQ(ui.shown.back().text.find("印刷した"), std::string::npos);
    EXPECT_EQ(sentPlaces(), (std::vector<int>{3}));
}

TEST_F(PrintSeason, ALabelSheetPrintedInFullMarksEveryoneOnIt)
{
    TALIKPRW dialog(state, job(PrintLabels));
    dialog.setRecipients(recNos);
    child<QCheckBox>(dialog, "CheckSeasonOnly")->click();
    printInto(dir.str() + "/labels.pdf", PrintLabels);
    ui.yesNoAnswers = {true, true};
    click(dialog, "Command2_0");
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[1].text, "印刷した 3 件を 2026 年の「送」にしますか？");
    EXPECT_EQ(sentPlaces(), (std::vector<int>{1, 3, 4, 6}));
}

TEST_F(PrintSeason, WithoutKnownRecordsTheOptionRestsAndNothingIsAsked)
{
    TALIKPRV dialog(state, job(PrintPostcards));
    EXPECT_FALSE(child<QCheckBox>(dialog, "CheckSeasonOnly")->isEnabled());
    printInto(dir.str() + "/plain.pdf", PrintPostcards);
    ui.yesNoAnswers = {true};
    click(dialog, "Command2_0");
    EXPECT_EQ(ui.shown.size(), 1u);
}

} // namespace
} // namespace talik::test
