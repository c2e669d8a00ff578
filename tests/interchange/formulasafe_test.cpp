// The spreadsheet-safe CSV: a field a spreadsheet would run as a formula gets a leading "'" when
// asked for, in either encoding; without the option every line is what it always was.
#include <gtest/gtest.h>

#include "interchange/csvexport.h"
#include "interchange/formulasafe.h"
#include "store/record.h"
#include "tests/support/scripted.h"

namespace talik {
namespace {

TEST(FormulaSafeTest, FormulasAreTheLeadingEqualsAtAndSignsNotBeforeADigit)
{
    for (const char* formula : {"=1+1", "@SUM(A1)", "+A1", "-A1", "+", "-", "=HYPERLINK(\"x\")"}) {
        EXPECT_TRUE(SpreadsheetWouldEvaluate(formula)) << formula;
    }
    for (const char* plain : {"", "+81 3 1234", "-5", "a=b", " =x", "山田", "1=1"}) {
        EXPECT_FALSE(SpreadsheetWouldEvaluate(plain)) << plain;
    }
}

class FormulaCsvTest : public ::testing::Test
{
protected:
    FormulaCsvTest()
    {
        ClearRecord(rec);
        ClearRecord(extra);
        SetText(rec.KanaName, "ﾔﾏﾀﾞ");
        SetText(rec.KanjiName, "=HYPERLINK(\"http://x\",\"y\")");
        SetText(rec.Tel1, "+81-3-1234");
        SetText(rec.Remarks, "-cmd|' /C calc'!A0");
        SetText(rec.Company, "@SUM(1)");
    }
    std::string line(CsvWriteEncoding encoding, bool safe) const
    {
        std::string out;
        AppendCsvLine(out, rec, extra, encoding, safe);
        return out;
    }
    AddressRecord rec{};
    ExtraRecord extra{};
};

TEST_F(FormulaCsvTest, TheDefaultLineIsUnchangedAndTheSafeOneQuotesOnlyFormulas)
{
    for (CsvWriteEncoding encoding : {CsvWriteEncoding::Cp932, CsvWriteEncoding::Utf8}) {
        const std::string plain = line(encoding, false);
        const std::string safe = line(encoding, true);
        EXPECT_EQ(plain.find("\"'"), std::string::npos);
        EXPECT_NE(plain.find("\"=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\""), std::string::npos) << plain;
        EXPECT_NE(safe.find("\"'=HYPERLINK("), std::string::npos) << safe;
        EXPECT_NE(safe.find("\"'-cmd|'"), std::string::npos) << safe;
        EXPECT_NE(safe.find("\"'@SUM(1)\""), std::string::npos) << safe;
        EXPECT_NE(safe.find("\"+81-3-1234\""), std::string::npos) << safe; // a number stays as it is
        EXPECT_EQ(safe.size(), plain.size() + 3);
    }
}

TEST(FormulaSafeDialogTest, TheSaveDialogOffersTheBoxAndItsStateReachesTheJob)
{
    test::ScriptedInteraction ui;
    ui.fileAnswers = {"/tmp/a.csv", "/tmp/b.csv"};
    ui.checkAnswers = {{true}};
    auto ticked = ChooseCsvTarget(ui, ExportScope::WholeDatabase);
    auto plain = ChooseCsvTarget(ui, ExportScope::Listed);
    ASSERT_TRUE(ticked && plain);
    EXPECT_TRUE(ticked->formulaSafe);
    EXPECT_FALSE(plain->formulaSafe);
    EXPECT_EQ(ui.checksOffered,
              (std::vector<std::vector<std::string>>(2, std::vector<std::string>{"表計算ソフト用に安全な形で出力"})));
}

} // namespace
} // namespace talik
