// vCard both ways: the lines as written (folding, escapes, the reading in full-width katakana), every
// field back through 3.0 and 4.0, cards as phones and mail programs write them, overflow into the
// remarks extra data, and the import and export on a database on disk.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "interchange/vcardexport.h"
#include "interchange/vcardimport.h"
#include "interchange/vcardread.h"
#include "interchange/vcardwrite.h"
#include "listwin/currentrecord.h"
#include "platform/codec.h"
#include "store/database.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

const CheckItemNameList CheckNames = {"友人", "仕事", "年賀状", "", "家族", "", "", "", "", "", "", "", "", "", ""};
const std::array<char, 15> NoChecks = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};

std::string Stored(std::span<const char> field)
{
    return GetText(field);
}

// A record with every field set, numbers of every kind, and check items with and without names.
void FullRecord(AddressRecord& rec, ExtraRecord& extra)
{
    ClearRecord(rec);
    ClearRecord(extra);
    SetText(rec.KanaName, "ﾔﾏﾀﾞ ﾀﾛｳ");
    SetText(rec.KanjiName, "山田　太郎");
    SetText(rec.EMail, "taro@example.jp;t.yamada@example.com");
    SetText(rec.Address1, "東京都千代田区丸の内1-2-3, 4F; 北側\\");
    SetText(rec.PostCode1, "100-0005");
    SetText(rec.Tel1, "03-1234-5678");
    SetText(rec.Fax1, "03-1234-5679");
    SetText(rec.Address2, "大阪府大阪市北区梅田9-9");
    SetText(rec.PostCode2, "530-0001");
    SetText(rec.Tel2, "090-1111-2222");
    SetText(rec.Fax2, "070-3333-4444");
    SetLong(rec.Birthday, 19650203);
    SetInteger(rec.PrintOptions, 10101);
    SetText(rec.Company, "山田商事株式会社");
    SetText(rec.Department, "営業部");
    SetText(rec.Remarks, "ゴルフ仲間");
    std::memcpy(rec.CheckItems, "11 11          ", 15);
    SetText(rec.ClassCode, "A-01");
    SetText(rec.Honorific, "様");
    SetInteger(rec.PhoneKinds, 3142); // 携帯電話, ＦＡＸ, ＰＨＳ, ポケベル
    rec.SenderChoice[0] = '1';
    SetText(extra.RemarksExtra, "一行目\r\n二行目, with; marks\r\n三行目");
    SetText(extra.RelatedInfo, "/home/taro/memo.txt");
}

// The card's record read back from the text.
void ReadBack(const std::string& text, AddressRecord& rec, ExtraRecord& extra, VcardFill* fill = nullptr)
{
    const std::vector<VcardCard> cards = ReadVcards(text);
    ASSERT_EQ(cards.size(), 1u) << text;
    VcardFill result = FillFromVcard(cards[0], CheckNames, NoChecks, rec, extra);
    EXPECT_TRUE(result.hasReading);
    if (fill != nullptr) {
        *fill = result;
    }
}

class VcardRoundTrip : public ::testing::TestWithParam<VcardVersion>
{
};

TEST_P(VcardRoundTrip, EveryFieldComesBackByteForByte)
{
    AddressRecord rec{};
    ExtraRecord extra{};
    FullRecord(rec, extra);
    std::string text;
    AppendVcard(text, rec, extra, CheckNames, GetParam());

    AddressRecord back{};
    ExtraRecord backExtra{};
    VcardFill fill;
    ReadBack(text, back, backExtra, &fill);
    EXPECT_FALSE(fill.overflow);
    EXPECT_FALSE(fill.lacking);
    // Check item 4 has no name, so it has no category to come back through.
    std::memcpy(rec.CheckItems, "11 11          ", 15);
    rec.CheckItems[3] = ' ';
    EXPECT_EQ(std::memcmp(&rec, &back, sizeof rec), 0) << text;
    EXPECT_EQ(std::memcmp(&extra, &backExtra, sizeof extra), 0) << text;
    EXPECT_EQ(Stored(back.KanaName), "ﾔﾏﾀﾞ ﾀﾛｳ");
    EXPECT_EQ(Stored(back.Address1), "東京都千代田区丸の内1-2-3, 4F; 北側\\");
}

TEST_P(VcardRoundTrip, RemarksExtraWithoutRemarksStaysInItsOwnField)
{
    AddressRecord rec{};
    ExtraRecord extra{};
    FullRecord(rec, extra);
    SetText(rec.Remarks, "");
    std::string text;
    AppendVcard(text, rec, extra, CheckNames, GetParam());
    AddressRecord back{};
    ExtraRecord backExtra{};
    ReadBack(text, back, backExtra);
    EXPECT_EQ(Stored(back.Remarks), "");
    EXPECT_EQ(Stored(backExtra.RemarksExtra), "一行目\r\n二行目, with; marks\r\n三行目");
}

TEST_P(VcardRoundTrip, ARecordWithoutANameIsKnownByItsReadingAndComesBackWithoutOne)
{
    AddressRecord rec{};
    ExtraRecord extra{};
    ClearRecord(rec);
    ClearRecord(extra);
    SetText(rec.KanaName, "ﾀﾅｶ");
    std::string text;
    AppendVcard(text, rec, extra, CheckNames, GetParam());
    EXPECT_NE(text.find("\r\nFN;X-TALIK-NONAME=1:タナカ\r\n"), std::string::npos) << text;
    AddressRecord back{};
    ExtraRecord backExtra{};
    ReadBack(text, back, backExtra);
    EXPECT_EQ(std::memcmp(&rec, &back, sizeof rec), 0) << text;
}

INSTANTIATE_TEST_SUITE_P(Versions, VcardRoundTrip, ::testing::Values(VcardVersion::V3, VcardVersion::V4));

TEST(VcardWrite, CardLinesCarryTheReadingInFullWidthAndTheStandardProperties)
{
    AddressRecord rec{};
    ExtraRecord extra{};
    FullRecord(rec, extra);
    std::string v3;
    AppendVcard(v3, rec, extra, CheckNames, VcardVersion::V3);
    EXPECT_TRUE(v3.starts_with("BEGIN:VCARD\r\nVERSION:3.0\r\nN:山田;太郎;;;\r\nFN:山田　太郎\r\n"
                               "X-PHONETIC-LAST-NAME:ヤマダ\r\nX-PHONETIC-FIRST-NAME:タロウ\r\n"))
        << v3;
    EXPECT_NE(v3.find("\r\nEMAIL:taro@example.jp\r\nEMAIL:t.yamada@example.com\r\n"), std::string::npos);
    EXPECT_NE(v3.find("\r\nADR;TYPE=work:;;大阪府大阪市北区梅田9-9;;;530-0001;\r\n"), std::string::npos);
    EXPECT_NE(v3.find("\r\nTEL;TYPE=home,cell;X-TALIK-SLOT=Tel1;X-TALIK-KIND=3:03-1234-5678\r\n"), std::string::npos);
    EXPECT_NE(v3.find("\r\nTEL;TYPE=work,pager;X-TALIK-SLOT=Fax2;X-TALIK-KIND=2:070-3333-4444\r\n"), std::string::npos);
    EXPECT_NE(v3.find("\r\nBDAY:1965-02-03\r\n"), std::string::npos);
    EXPECT_NE(v3.find("\r\nORG:山田商事株式会社;営業部\r\n"), std::string::npos);
    EXPECT_NE(v3.find("\r\nCATEGORIES:友人,仕事,家族\r\n"), std::string::npos);
    EXPECT_NE(v3.find("\r\nX-TALIK-HONORIFIC:様\r\n"), std::string::npos);
    EXPECT_TRUE(v3.ends_with("\r\nEND:VCARD\r\n"));

    std::string v4;
    AppendVcard(v4, rec, extra, CheckNames, VcardVersion::V4);
    EXPECT_NE(v4.find("\r\nN;SORT-AS=\"ヤマダ,タロウ\":山田;太郎;;;\r\n"), std::string::npos) << v4;
    EXPECT_NE(v4.find("\r\nBDAY:19650203\r\n"), std::string::npos);
    EXPECT_NE(v4.find("\r\nTEL;VALUE=text;TYPE=home,fax;X-TALIK-SLOT=Fax1;"), std::string::npos);
}

TEST(VcardWrite, BirthdaysWithoutMonthDayOrYear)
{
    AddressRecord rec{};
    ExtraRecord extra{};
    ClearRecord(rec);
    ClearRecord(extra);
    SetText(rec.KanaName, "ｱ");
    auto card = [&](std::int32_t birthday, VcardVersion version) {
        SetLong(rec.Birthday, birthday);
        std::string text;
        AppendVcard(text, rec, extra, CheckNames, version);
        const std::size_t at = text.find("BDAY:");
        return at == std::string::npos ? std::string() : text.substr(at + 5, text.find('\r', at) - at - 5);
    };
    EXPECT_EQ(card(203, VcardVersion::V4), "--0203");
    EXPECT_EQ(card(203, VcardVersion::V3), "");
    EXPECT_EQ(card(19650003, VcardVersion::V4), "");
    EXPECT_EQ(card(19650200, VcardVersion::V3), "");
    EXPECT_EQ(ParseVcardBirthday("--0203"), 203);
    EXPECT_EQ(ParseVcardBirthday("--02-03"), 203);
    EXPECT_EQ(ParseVcardBirthday("1965-02-03T00:00:00Z"), 19650203);
    EXPECT_EQ(ParseVcardBirthday("19651303"), 0);
    EXPECT_EQ(ParseVcardBirthday("circa 1965"), 0);
}

TEST(VcardWrite, LongJapaneseLinesFoldBetweenCharactersAndUnfoldAsTheyWere)
{
    std::string value;
    for (int i = 0; i < 40; ++i) {
        value += i % 3 == 0 ? "あ" : i % 3 == 1 ? "x" : "𠮷"; // 3, 1 and 4 octets
    }
    const std::string folded = FoldVcardLine("NOTE:" + value);
    std::istringstream lines(folded);
    std::string line;
    std::string unfolded;
    for (bool first = true; std::getline(lines, line); first = false) {
        ASSERT_TRUE(line.ends_with("\r"));
        line.pop_back();
        EXPECT_LE(line.size(), 75u);
        // Every line holds whole UTF-8 characters: a byte of 0x80 or more that starts a character
        // must be the lead byte of a multi-byte one, never a continuation byte cut from the line before.
        std::size_t i = first ? 0 : 1;
        while (i < line.size()) {
            const std::size_t length = Utf8CharLength(std::string_view(line).substr(i));
            ASSERT_GE(length, 1u);
            if (static_cast<unsigned char>(line[i]) >= 0x80) {
                ASSERT_GE(length, 2u) << "a character split before octet " << i;
            }
            ASSERT_LE(i + length, line.size()) << "a character split at octet " << i;
            i += length;
        }
        unfolded += first ? line : line.substr(1);
    }
    EXPECT_EQ(unfolded, "NOTE:" + value);
    const auto cards = ReadVcards("BEGIN:VCARD\r\n" + folded + "END:VCARD\r\n");
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0].properties.at(0).value, value);
}

TEST(VcardWrite, EscapesAndHalfWidthKana)
{
    EXPECT_EQ(EscapeVcardText("a\\b,c;d\r\ne\nf"), "a\\\\b\\,c\\;d\\ne\\nf");
    EXPECT_EQ(UnescapeVcardText("a\\\\b\\,c\\;d\\ne\\Nf"), "a\\b,c;d\ne\nf");
    EXPECT_EQ(FullWidthKatakana("ﾔﾏﾀﾞ ﾊﾟｳﾞｧ ｰ ABC"), "ヤマダ パヴァ ー ABC");
    EXPECT_EQ(FullWidthKatakana("ｱﾞﾊﾞ"), "ア゛バ");
}

TEST(VcardWrite, UndecodableStoredBytesBecomeReplacementCharacters)
{
    AddressRecord rec{};
    ExtraRecord extra{};
    ClearRecord(rec);
    ClearRecord(extra);
    SetText(rec.KanaName, "ｱ");
    std::memcpy(rec.KanjiName, "AB\x81", 3); // a lead byte cut from its trail byte
    std::string text;
    AppendVcard(text, rec, extra, CheckNames, VcardVersion::V3);
    EXPECT_NE(text.find("\r\nFN:AB\xEF\xBF\xBD\r\n"), std::string::npos) << text;
}

TEST(VcardRead, PhoneCardIn21WithQuotedPrintableShiftJisAndIrmcReading)
{
    // 山田 太郎, reading ヤマダ タロウ in full-width katakana, a note over two physical lines.
    const std::string card =
        "BEGIN:VCARD\r\n"
        "VERSION:2.1\r\n"
        "N;CHARSET=SHIFT_JIS;ENCODING=QUOTED-PRINTABLE:=8E=52=93=63;=91=BE=98=59;;;\r\n"
        "SOUND;X-IRMC-N;CHARSET=SHIFT_JIS;ENCODING=QUOTED-PRINTABLE:=83=84=83=7D=83=5F;=83=5E=83=8D=\r\n"
        "=83=45;;;\r\n"
        "TEL;CELL:090-1234-5678\r\n"
        "TEL;HOME;VOICE:03-1111-2222\r\n"
        "TEL;WORK;FAX:06-3333-4444\r\n"
        "EMAIL;INTERNET:taro@example.ne.jp\r\n"
        "NOTE;CHARSET=SHIFT_JIS;QUOTED-PRINTABLE:=83=81=83=82=0D=0A2=8D=73=96=DA\r\n"
        "END:VCARD\r\n";
    const auto cards = ReadVcards(card);
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0].version, "2.1");
    AddressRecord rec{};
    ExtraRecord extra{};
    VcardFill fill = FillFromVcard(cards[0], CheckNames, NoChecks, rec, extra);
    EXPECT_TRUE(fill.hasReading);
    EXPECT_EQ(Stored(rec.KanaName), "ﾔﾏﾀﾞ ﾀﾛｳ");
    EXPECT_EQ(Stored(rec.KanjiName), "山田　太郎");
    EXPECT_EQ(Stored(rec.Tel1), "090-1234-5678");
    EXPECT_EQ(Stored(rec.Fax1), "03-1111-2222");
    EXPECT_EQ(Stored(rec.Tel2), "06-3333-4444");
    EXPECT_EQ(PhoneKindsValue(rec), 3010);
    EXPECT_EQ(Stored(rec.EMail), "taro@example.ne.jp");
    EXPECT_EQ(Stored(rec.Remarks), "");
    EXPECT_EQ(Stored(extra.RemarksExtra), "メモ\r\n2行目");
}

TEST(VcardRead, MailProgramCardsIn30WithPhoneticNamesGroupsAndABom)
{
    const std::string file = "\xEF\xBB\xBF"
                             "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:佐藤 花子\r\nN:佐藤;花子;;;\r\n"
                             "X-PHONETIC-FIRST-NAME:はなこ\r\nX-PHONETIC-LAST-NAME:さとう\r\n"
                             "item1.TEL;type=WORK;type=VOICE:03-5555-6666\r\nitem1.X-ABLabel:_$!<Work>!$_\r\n"
                             "item2.EMAIL;type=INTERNET:hanako@example.org\r\n"
                             "ADR;TYPE=home:;101号室;本町1-1;渋谷区;東京都;150-0001;日本\r\n"
                             "NOTE:短いメモ\r\nORG:佐藤工業;総務部;庶務課\r\n"
                             "BDAY:1980-07-15\r\nCATEGORIES:仕事,趣味\r\nEND:VCARD\r\n"
                             "BEGIN:VCARD\nVERSION:3.0\nFN:Bob\nN:Smith;Bob;;;\nSORT-STRING:ｽﾐｽ\nEND:VCARD\n";
    ASSERT_TRUE(LooksLikeVcard(file));
    ASSERT_TRUE(StartsAsVcard(file));
    const auto cards = ReadVcards(file);
    ASSERT_EQ(cards.size(), 2u);
    AddressRecord rec{};
    ExtraRecord extra{};
    ASSERT_TRUE(FillFromVcard(cards[0], CheckNames, NoChecks, rec, extra).hasReading);
    EXPECT_EQ(Stored(rec.KanaName), "ｻﾄｳ ﾊﾅｺ");
    EXPECT_EQ(Stored(rec.KanjiName), "佐藤 花子");
    EXPECT_EQ(Stored(rec.Tel2), "03-5555-6666"); // a work number goes to the second address's slots
    EXPECT_EQ(Stored(rec.Tel1), "");
    EXPECT_EQ(Stored(rec.EMail), "hanako@example.org");
    EXPECT_EQ(Stored(rec.Address1), "東京都渋谷区本町1-1 101号室");
    EXPECT_EQ(Stored(rec.PostCode1), "150-0001");
    EXPECT_EQ(Stored(rec.Remarks), "短いメモ");
    EXPECT_EQ(Stored(rec.Company), "佐藤工業");
    EXPECT_EQ(Stored(rec.Department), "総務部　庶務課");
    EXPECT_EQ(GetLong(rec.Birthday), 19800715);
    EXPECT_EQ(std::string(rec.CheckItems, 15), " 1             ");
    ASSERT_TRUE(FillFromVcard(cards[1], CheckNames, NoChecks, rec, extra).hasReading);
    EXPECT_EQ(Stored(rec.KanaName), "ｽﾐｽ");
    EXPECT_EQ(Stored(rec.KanjiName), "Bob");
}

TEST(VcardRead, WhatFindsNoFieldGoesIntoTheRemarksExtraData)
{
    const std::string file = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:多田\r\nN;SORT-AS=\"タダ\":多田;;;;\r\n"
                             "TEL:1\r\nTEL:2\r\nTEL:3\r\nTEL:4\r\nTEL;TYPE=cell:5\r\nTEL:0120-1234-5678-9012-34\r\n"
                             "EMAIL:first.address.of.a.long.name@example.com\r\n"
                             "EMAIL:second@example.com\r\nEMAIL:third@example.com\r\n"
                             "NOTE:メモ\r\nEND:VCARD\r\n";
    const auto cards = ReadVcards(file);
    ASSERT_EQ(cards.size(), 1u);
    AddressRecord rec{};
    ExtraRecord extra{};
    VcardFill fill = FillFromVcard(cards[0], CheckNames, NoChecks, rec, extra);
    EXPECT_TRUE(fill.overflow);
    EXPECT_EQ(Stored(rec.KanaName), "ﾀﾀﾞ");
    EXPECT_EQ(Stored(rec.Fax2), "4");
    EXPECT_EQ(Stored(rec.EMail), "first.address.of.a.long.name@example.com");
    EXPECT_EQ(Stored(rec.Remarks), "メモ");
    EXPECT_EQ(Stored(extra.RemarksExtra), "E-Mail: second@example.com\r\nE-Mail: third@example.com\r\n"
                                          "TEL: 5\r\nTEL: 0120-1234-5678-9012-34");
}

TEST(VcardRead, AStreetOnTwoLinesIsJoinedAndAFaxThatFindsNoSlotIsLabelledFax)
{
    const auto cards = ReadVcards("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:A\r\nSORT-STRING:ｱ\r\n"
                                  "ADR;TYPE=home:;;1-2-3\\n山田ビル;千代田区;東京都;100-0001;\r\n"
                                  "TEL;TYPE=fax:1\r\nTEL;TYPE=fax:2\r\nTEL;TYPE=fax:3\r\nTEL;TYPE=fax:4\r\n"
                                  "TEL;TYPE=work,fax:06-9999-0000\r\nEND:VCARD\r\n");
    AddressRecord rec{};
    ExtraRecord extra{};
    FillFromVcard(cards.at(0), CheckNames, NoChecks, rec, extra);
    EXPECT_EQ(Stored(rec.Address1), "東京都千代田区 1-2-3 山田ビル");
    EXPECT_EQ(Stored(extra.RemarksExtra), "FAX: 06-9999-0000");
}

TEST(VcardRead, FurtherAddressesJoinTheMailFieldWhileTheyFit)
{
    const auto cards = ReadVcards("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:A\r\nSORT-STRING:ｱ\r\nEMAIL:a@example.jp\r\n"
                                  "EMAIL:b@example.jp\r\nEND:VCARD\r\n");
    AddressRecord rec{};
    ExtraRecord extra{};
    VcardFill fill = FillFromVcard(cards.at(0), CheckNames, NoChecks, rec, extra);
    EXPECT_FALSE(fill.overflow);
    EXPECT_EQ(Stored(rec.EMail), "a@example.jp;b@example.jp");
}

TEST(VcardRead, CharactersShiftJisLacksBecomeQuestionMarks)
{
    const auto cards =
        ReadVcards("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:𠮷野家\r\nX-PHONETIC-LAST-NAME:ヨシノヤ\r\nEND:VCARD\r\n");
    AddressRecord rec{};
    ExtraRecord extra{};
    VcardFill fill = FillFromVcard(cards.at(0), CheckNames, NoChecks, rec, extra);
    EXPECT_TRUE(fill.lacking);
    EXPECT_EQ(Stored(rec.KanjiName), "?野家");
}

TEST(VcardRead, FilesThatAreNoVcardAreRecognised)
{
    EXPECT_FALSE(LooksLikeVcard("\"カナ名\",\"漢字名\"\r\n"));
    EXPECT_FALSE(StartsAsVcard("note\r\nBEGIN:VCARD\r\n"));
    EXPECT_TRUE(LooksLikeVcard("note\r\nbegin:vcard\r\n"));
    EXPECT_TRUE(ReadVcards("").empty());
    // A card left open at the end of the file still counts; nested cards are skipped.
    const auto cards =
        ReadVcards("BEGIN:VCARD\r\nFN:A\r\nAGENT:BEGIN:VCARD\r\nBEGIN:VCARD\r\nFN:B\r\nEND:VCARD\r\nTEL:1");
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0].find("FN")->value, "A");
    EXPECT_EQ(cards[0].find("TEL")->value, "1");
}

// The import and the export on a database on disk.
class VcardDatabaseTest : public StoreTest
{
protected:
    VcardDatabaseTest() { load(); }

    void read(std::int32_t recNo)
    {
        state.CurRecNo = recNo;
        ASSERT_TRUE(ReadCurrent(state));
    }
};

TEST_F(VcardDatabaseTest, ImportStoresCardsWithReadingsAndNamesTheOthers)
{
    std::string file;
    for (int i = 0; i < 12; ++i) {
        file += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:名無し" + std::to_string(i) + "\r\nEND:VCARD\r\n";
    }
    file += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:山田\r\nX-PHONETIC-LAST-NAME:ヤマダ\r\nTEL:1\r\nTEL:2\r\nTEL:3\r\n"
            "TEL:4\r\nTEL:5\r\nEND:VCARD\r\n";
    // Whatever the buffer held before (print options of the last record shown) is not inherited.
    SetInteger(state.Rec.PrintOptions, 11111);
    std::array<char, 15> checks = NoChecks;
    checks[2] = '1';
    const VcardImportResult result = ImportVcardFile(state, file, checks);
    EXPECT_EQ(result.cards, 13);
    EXPECT_EQ(result.failures, 12);
    EXPECT_EQ(result.overflowCards, 1);
    EXPECT_EQ(result.unread.size(), 10u);
    EXPECT_EQ(VcardImportReport(result, "フリガナ"),
              "1 件のデータを取込みました。\r\n12 件はフリガナなしで取込めませんでした。\r\n"
              "（フリガナなし：名無し0、名無し1、名無し2、名無し3、名無し4、名無し5、名無し6、名無し7、名無し8、"
              "名無し9 ほか）\r\n1 件は一部の項目を備考追加データに入れました。");
    EXPECT_EQ(state.tables.TotalCount, 1);
    read(2);
    EXPECT_EQ(Stored(state.Rec.KanaName), "ﾔﾏﾀﾞ");
    EXPECT_EQ(PrintOptionsValue(state.Rec), 0);
    EXPECT_EQ(std::string(state.Rec.CheckItems, 15), "  1            ");
    EXPECT_EQ(Stored(state.Extra.RemarksExtra), "TEL: 5");
}

// The name field holds 30 bytes: one ASCII letter and fourteen kanji fill 29 of them, and the
// fifteenth kanji would leave its first byte alone at the end.
TEST_F(VcardDatabaseTest, AValueLongerThanItsFieldIsCutBetweenCharacters)
{
    std::string fifteen;
    for (int i = 0; i < 15; ++i) {
        fifteen += "漢";
    }
    const std::string file =
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:x" + fifteen + "\r\nX-PHONETIC-LAST-NAME:ア\r\nEND:VCARD\r\n";
    ASSERT_EQ(ImportVcardFile(state, file, NoChecks).failures, 0);
    read(2);
    const std::string stored(state.Rec.KanjiName, sizeof(state.Rec.KanjiName));
    EXPECT_EQ(stored, ToCp932("x" + fifteen.substr(0, 14 * 3)) + " ");
}

TEST_F(VcardDatabaseTest, AtTheCeilingTheImportStopsAndTellsHowFarItGot)
{
    // Records 2..63998 all taken: two numbers are left.
    WriteRecords(mainPath(), {HandMainHeader(63998)});
    std::filesystem::resize_file(mainPath(), 63998u * 600u);
    {
        std::fstream f(mainPath(), std::ios::in | std::ios::out | std::ios::binary);
        for (std::int32_t rec = 2; rec <= 63998; ++rec) {
            f.seekp((rec - 1) * 600);
            f.put('\xb1');
        }
    }
    load();
    ui.shown.clear();
    std::string file;
    for (const char* reading : {"カ", "", "キ", "ク", "ケ"}) {
        file +=
            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:x\r\nX-PHONETIC-LAST-NAME:" + std::string(reading) + "\r\nEND:VCARD\r\n";
    }
    const VcardImportResult result = ImportVcardFile(state, file, NoChecks);
    EXPECT_EQ(result.stoppedAt, 4);
    EXPECT_EQ(result.failures, 1);
    ASSERT_EQ(ui.messages().size(), 1u);  // the store's own message about the ceiling
    EXPECT_EQ(VcardStoppedReport(result), // カ and キ were stored; the card without a reading was not
              "2 件のデータを取込みました。\r\n4 件目で中断しました。以降のデータは取込まれていません。");
    EXPECT_EQ(LongAt(ReadFileBytes(mainPath()), 16), 64000);
}

TEST_F(VcardDatabaseTest, ExportWritesEveryRecordInListOrderAndReadsBack)
{
    addRecord("ﾜﾀﾞ", "和田");
    addRecord("ｱｵｷ", "青木");
    const std::string path = dir.str() + "/out.vcf";
    ui.yesNoAnswers = {true};
    VcardExportJob job;
    job.path = path;
    job.form = VcardVersion::V4;
    ASSERT_EQ(ExportVcard(state, job), ExportOutcome::Written);
    EXPECT_EQ(ui.messages().back(), "2 件のデータが出力されました。");
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    const auto cards = ReadVcards(text);
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_EQ(cards[0].version, "4.0");
    EXPECT_EQ(cards[0].find("FN")->value, "青木");
    EXPECT_EQ(cards[1].find("FN")->value, "和田");
}

TEST_F(VcardDatabaseTest, AFailedExportLeavesTheOldFileAndSaysSo)
{
    addRecord("ﾜﾀﾞ", "和田");
    const std::string path = dir.str() + "/missing/out.vcf";
    ui.yesNoAnswers = {true};
    VcardExportJob job;
    job.path = path;
    EXPECT_EQ(ExportVcard(state, job), ExportOutcome::Failed);
    EXPECT_EQ(ui.messages().back(), "出力時にエラーが発生しました。");
}

} // namespace
} // namespace talik::test
