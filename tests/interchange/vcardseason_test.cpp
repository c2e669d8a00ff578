// The card season through vCard: exported as X-TALIK-SEASON lines (each marked year and the stop
// mark, the note escaped as vCard text), read back by our import into the new person's history,
// and lines with no year we know passed over.
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "interchange/vcardexport.h"
#include "interchange/vcardimport.h"
#include "interchange/vcardwrite.h"
#include "store/identity.h"
#include "store/recordwriter.h"
#include "store/season.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

constexpr std::array<char, 15> BlankCheckItems{' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ',
                                               ' ', ' ', ' ', ' ', ' ', ' ', ' '};

class VcardSeason : public StoreTest
{
protected:
    VcardSeason() { load(); }

    std::string identityOf(std::int32_t recNo)
    {
        AddressRecord rec{};
        ExtraRecord extra{};
        EXPECT_TRUE(ReadRecord(state, recNo, rec, extra));
        return RecordIdentity(rec);
    }
    std::string exported()
    {
        const std::string path = dir.str() + "/out.vcf";
        ui.yesNoAnswers = {true};
        VcardExportJob job;
        job.path = path;
        job.form = VcardVersion::V3;
        EXPECT_EQ(ExportVcard(state, job), ExportOutcome::Written);
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
};

TEST_F(VcardSeason, EveryMarkedYearAndTheStopMarkGoOutAndComeBackIntoTheImportedPerson)
{
    const std::int32_t marked = addRecord("ｱｵｷ", "青木");
    addRecord("ﾜﾀﾞ", "和田"); // no marks: no season lines
    SeasonHistory history;
    history.years[2019] = {false, false, true, ""};
    history.years[2026] = {true, true, false, "転居; 旧,新\\x"};
    history.stop = true;
    ASSERT_TRUE(WriteSeasonHistory(state, identityOf(marked), history));

    const std::string text = exported();
    EXPECT_NE(text.find("X-TALIK-SEASON:2019;mourning;\r\n"), std::string::npos);
    EXPECT_NE(text.find("X-TALIK-SEASON:2026;sent,received;転居\\; 旧\\,新\\\\x\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("X-TALIK-SEASON:stop\r\n"), std::string::npos);
    const std::size_t wada = text.find("FN:和田");
    ASSERT_NE(wada, std::string::npos);
    EXPECT_EQ(text.find("X-TALIK-SEASON", wada), std::string::npos) << "an unmarked person carries none";

    const VcardImportResult result = ImportVcardFile(state, text, BlankCheckItems);
    ASSERT_EQ(result.cards, 2);
    ASSERT_EQ(result.failures, 0);
    // Imported after the two: 青木 again at 4, 和田 at 5, each with a fresh identity.
    EXPECT_NE(identityOf(4), identityOf(marked));
    EXPECT_EQ(ReadSeasonHistory(state, identityOf(4)), history);
    EXPECT_EQ(ReadSeasonHistory(state, identityOf(5)), SeasonHistory{});
}

TEST_F(VcardSeason, LinesWithoutAYearWeKnowArePassedOver)
{
    const std::string file = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:山田\r\nX-PHONETIC-LAST-NAME:ヤマダ\r\n"
                             "X-TALIK-SEASON:20x6;sent;\r\nX-TALIK-SEASON:;sent;\r\nX-TALIK-SEASON:1200;sent;\r\n"
                             "X-TALIK-SEASON:2027;received,unknown;\r\nX-TALIK-SEASON:2028;;\r\nEND:VCARD\r\n";
    const VcardImportResult result = ImportVcardFile(state, file, BlankCheckItems);
    ASSERT_EQ(result.failures, 0);
    SeasonHistory expected;
    expected.years[2027] = {false, true, false, ""};
    EXPECT_EQ(ReadSeasonHistory(state, identityOf(2)), expected);
}

} // namespace
} // namespace talik::test
