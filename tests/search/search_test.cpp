// The search engine on real databases: conditions, the four kinds, the result limit and the batch
// setting of check items.
#include <cstring>
#include <random>

#include <gtest/gtest.h>

#include "platform/codec.h"
#include "platform/recordfile.h"
#include "search/search.h"
#include "search/searchconditions.h"
#include "store/database.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

// The messages as the user reads them.
const std::string NoConditionText = "検索したい項目に入力をするか、\r選択をして検索実行をしてください。";
const std::string TooManyHitsText = "検索結果が3000件を越えています。\nもう少し絞り込んで下さい。";

// The fields the tests use, as a record holds them and as the editor leaves them for a search.
struct Person
{
    std::string kana = {};
    std::string kanji = {};
    std::string company = {};
    std::int32_t birthday = 0;
    std::string checks = {}; // "1" or blank per item, from item 1
};

std::vector<std::uint8_t> RecordOf(const Person& p)
{
    auto rec = HandAddress(ToCp932(p.kana), ToCp932(p.kanji));
    Put(rec, 368, ToCp932(p.company), 60);
    PutLong(rec, 362, p.birthday);
    Put(rec, 548, p.checks, 15);
    return rec;
}

// The double-byte character of these two CP932 bytes.
std::string Kanji(unsigned char lead, unsigned char trail)
{
    std::string text = FromCp932(std::string{static_cast<char>(lead), static_cast<char>(trail)});
    EXPECT_EQ(ToCp932(text), (std::string{static_cast<char>(lead), static_cast<char>(trail)}));
    return text;
}

// The plain way: try every character boundary of the field in turn.
bool FoundByWalking(std::string_view field, std::string_view needle)
{
    for (std::size_t at = 0; at + needle.size() <= field.size();) {
        if (field.substr(at, needle.size()) == needle) {
            return true;
        }
        at += IsLeadByte(static_cast<unsigned char>(field[at])) ? 2 : 1;
    }
    return false;
}

TEST(FoundAtCharBoundary, AgreesWithWalkingTheCharactersOnEveryLengthAndPlace)
{
    // Lead bytes that are also trail bytes, a trail byte that is a half-width kana, a blank.
    const std::string alphabet = "\x88\x89\xd4\xcf\x40 ";
    std::mt19937 random(7);
    auto text = [&](std::size_t length) {
        std::string out;
        for (std::size_t i = 0; i < length; ++i) {
            out += alphabet[random() % alphabet.size()];
        }
        return out;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::string field = text(1 + random() % 40);
        const std::string needle = text(1 + random() % 4);
        ASSERT_EQ(FoundAtCharBoundary(field, needle), FoundByWalking(field, needle))
            << testing::PrintToString(field) << " / " << testing::PrintToString(needle);
    }
}

TEST(CleanConditions, EmptyFieldsOfBlanksOrNulsBecomeBlanksAndNoCondition)
{
    AddressRecord rec;
    std::memset(&rec, 0, sizeof rec); // every text field empty at its first byte
    std::memcpy(rec.KanaName, "  \xd4\xcf", 4);
    std::memset(rec.Company, ' ', sizeof rec.Company);
    std::memcpy(rec.Remarks, "\0\xd4", 2); // cut at the NUL: nothing is left

    CleanConditions(rec);
    std::vector<std::string> cleaned;
    std::vector<std::string> expected;
    for (const auto& field : TextConditionFields()) {
        cleaned.emplace_back(reinterpret_cast<const char*>(&rec) + field.offset, field.width);
        expected.push_back(field.name == "KanaName" ? "\xd4\xcf" + std::string(field.width - 2, ' ')
                                                    : std::string(field.width, ' '));
    }
    EXPECT_EQ(cleaned, expected);

    // Only the reading is a condition.
    AddressRecord stored;
    ClearRecord(stored);
    std::memcpy(stored.KanaName, "\xba\xd4\xcf", 3);
    EXPECT_TRUE(SearchConditions(rec).allHold(stored));
}

class SearchTest : public StoreTest
{
protected:
    // Writes records 2.. of a fresh database and loads it.
    void write(const std::vector<Person>& people)
    {
        std::vector<std::vector<std::uint8_t>> records{HandMainHeader(static_cast<std::int32_t>(people.size()) + 1)};
        for (const auto& p : people) {
            records.push_back(RecordOf(p));
        }
        WriteRecords(mainPath(), records);
        load();
    }

    SearchOutcome run(SearchKind kind, const Person& condition)
    {
        ClearRecord(state.Rec);
        SetText(state.Rec.KanaName, condition.kana);
        SetText(state.Rec.KanjiName, condition.kanji);
        SetText(state.Rec.Company, condition.company);
        SetLong(state.Rec.Birthday, condition.birthday);
        std::memcpy(state.Rec.CheckItems, condition.checks.data(), condition.checks.size());
        session.kind = kind;
        return RunSearch(state, session, result);
    }

    std::vector<std::string> readings() const
    {
        std::vector<std::string> texts;
        for (const auto& item : result.items()) {
            texts.push_back(item.text);
        }
        return texts;
    }

    SearchSession session;
    ListModel result;
};

TEST_F(SearchTest, ReadingConditionFindsItAnywhereInTheReading)
{
    write({{"ﾔﾏﾀﾞ", "山田"}, {"ｺﾔﾏ", "小山"}, {"ﾔﾅｷﾞ", "柳"}});
    ClearRecord(state.Rec);
    std::memcpy(state.Rec.KanaName, "  \xd4\xcf", 4); // "  ﾔﾏ": the editor may leave blanks in front
    session.kind = SearchKind::New;
    SearchOutcome outcome = RunSearch(state, session, result);

    EXPECT_EQ(outcome.end, SearchEnd::Done);
    EXPECT_EQ(readings(), (std::vector<std::string>{"ｺﾔﾏ", "ﾔﾏﾀﾞ"}));
    EXPECT_EQ(result.at(0).key, "K00003");
    EXPECT_EQ(result.at(0).subItems.at(0), "小山");
    EXPECT_EQ(SearchCountLine(state, outcome.hits), "検索件数：3 件　　該当件数：2 件");
    EXPECT_EQ(std::string(state.Rec.KanaName, 4), "\xd4\xcf  "); // the condition was cleaned in place
    EXPECT_EQ(session.HitFlag[2], '1');
    EXPECT_EQ(session.HitFlag[4], ' ');
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(SearchTest, TextNeverMatchesHalfOfADoubleByteCharacter)
{
    const std::string ya = ToCp932("ﾔ");
    ASSERT_EQ(ya.size(), 1u);
    const std::string flower = Kanji(0x89, static_cast<unsigned char>(ya[0])); // trail byte = "ﾔ"
    // Two characters whose bytes in a row hold a third one across their boundary.
    const std::string left = Kanji(0x88, 0x88);
    const std::string right = Kanji(0x89, 0x40);
    const std::string straddling = Kanji(0x88, 0x89);
    write({{"ｱ", flower + "ﾏ"}, {"ｲ", "ﾔﾏ" + flower}, {"ｳ", left + right}, {"ｴ", "ｱ" + straddling}});

    run(SearchKind::New, {"", "ﾔﾏ"});
    EXPECT_EQ(readings(), (std::vector<std::string>{"ｲ"}));
    run(SearchKind::New, {"", straddling});
    EXPECT_EQ(readings(), (std::vector<std::string>{"ｴ"}));

    // A candidate on a trail byte does not hide a real match further on.
    EXPECT_TRUE(FoundAtCharBoundary("\x89\xd4\xd4", "\xd4"));
    EXPECT_FALSE(FoundAtCharBoundary("\x89\xd4 ", "\xd4"));
    EXPECT_FALSE(FoundAtCharBoundary("\x88\x88\x89\x40", "\x88\x89"));
}

TEST_F(SearchTest, BirthdayComparesOnlyThePartsGiven)
{
    write({{"ｱ", "", "", 19650203}, {"ｲ", "", "", 19800215}, {"ｳ", "", "", 19650303}, {"ｴ"}});
    run(SearchKind::New, {.birthday = 200});
    EXPECT_EQ(readings(), (std::vector<std::string>{"ｱ", "ｲ"}));
    run(SearchKind::New, {.birthday = 19650003});
    EXPECT_EQ(readings(), (std::vector<std::string>{"ｱ", "ｳ"}));
    run(SearchKind::New, {.birthday = 19650303});
    EXPECT_EQ(readings(), (std::vector<std::string>{"ｳ"}));
}

TEST_F(SearchTest, CheckItemsOfTheConditionMustAllBeSet)
{
    write({{"ｱ", "", "", 0, "1 1"}, {"ｲ", "", "", 0, " 11"}, {"ｳ", "", "", 0, "  1"}, {"ｴ", "", "", 0, "1"}});
    run(SearchKind::New, {.checks = "  1"});
    EXPECT_EQ(readings(), (std::vector<std::string>{"ｱ", "ｲ", "ｳ"}));
    run(SearchKind::New, {.checks = "1 1"});
    EXPECT_EQ(readings(), (std::vector<std::string>{"ｱ"}));
    run(SearchKind::New, {.kana = "ｲ", .checks = "1"});
    EXPECT_TRUE(readings().empty());
}

TEST_F(SearchTest, NarrowWithoutAConditionIsRefusedAndEmptiesTheResult)
{
    write({{"ﾔﾏﾀﾞ"}, {"ｺﾔﾏ"}, {"ﾀﾅｶ"}});
    run(SearchKind::New, {"ﾔﾏ"});
    ASSERT_EQ(result.size(), 2u);

    SearchOutcome outcome = run(SearchKind::Narrow, {});
    EXPECT_EQ(outcome.end, SearchEnd::NoCondition);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{NoConditionText});
    EXPECT_EQ(ui.shown.back().icon, MessageIcon::Exclamation);
    EXPECT_TRUE(result.empty());
    // The emptied list is the result: an add search lists those records again.
    run(SearchKind::Add, {"ﾔﾏ"});
    EXPECT_EQ(result.size(), 2u);

    run(SearchKind::New, {});
    EXPECT_TRUE(result.empty());
    EXPECT_EQ(ui.messages().size(), 2u);
}

TEST_F(SearchTest, NarrowKeepsOnlyResultsThatMeetTheCondition)
{
    write({{"ﾔﾏﾀﾞ", "山田"}, {"ｺﾔﾏ", "小山"}, {"ﾔﾏﾓﾄ", "山本"}, {"ﾀﾞｲ", "山田"}});
    run(SearchKind::New, {"ﾔﾏ"});
    run(SearchKind::Narrow, {"", "田"});
    EXPECT_EQ(readings(), (std::vector<std::string>{"ﾔﾏﾀﾞ"}));
    EXPECT_EQ(session.HitFlag[3], ' ');
    EXPECT_EQ(session.HitFlag[5], ' '); // a hit of the condition, but not in the result before
}

TEST_F(SearchTest, ExcludeRemovesEveryResultThatMeetsAnyOneCondition)
{
    write({{"ﾔﾏﾀﾞ", "", "", 19650203},
           {"ｺﾔﾏ", "", "東西商事", 19700101},
           {"ﾔﾏﾓﾄ", "", "", 19650101, " 1"},
           {"ﾔﾏｻﾞｷ", "", "", 19991231},
           {"ﾔﾏｶﾜ", "", "", 0, "1"},
           {"ﾀﾅｶ", "", "東西商事"}});
    run(SearchKind::New, {"ﾔﾏ"});
    ASSERT_EQ(result.size(), 5u);

    run(SearchKind::Exclude, {.company = "商事"});
    EXPECT_EQ(readings(), (std::vector<std::string>{"ﾔﾏｶﾜ", "ﾔﾏｻﾞｷ", "ﾔﾏﾀﾞ", "ﾔﾏﾓﾄ"}));
    // A reading found, a birthday part equal, a check item set: each one alone removes a record.
    run(SearchKind::Exclude, {.kana = "ﾀﾞ", .birthday = 19990000, .checks = "1"});
    EXPECT_EQ(readings(), (std::vector<std::string>{"ﾔﾏﾓﾄ"}));
    EXPECT_EQ(session.HitFlag[4], '1');
    EXPECT_EQ(session.HitFlag[2], ' ');
}

TEST_F(SearchTest, AddSearchNeverListsARecordTwice)
{
    write({{"ﾔﾏﾀﾞ"}, {"ｺﾔﾏ"}, {"ﾀﾅｶ"}});
    run(SearchKind::New, {"ﾀﾞ"});
    SearchOutcome outcome = run(SearchKind::Add, {"ﾔﾏ"});
    EXPECT_EQ(outcome.hits, 2);
    EXPECT_EQ(readings(), (std::vector<std::string>{"ｺﾔﾏ", "ﾔﾏﾀﾞ"}));
    run(SearchKind::Add, {"ﾀ"});
    EXPECT_EQ(readings(), (std::vector<std::string>{"ｺﾔﾏ", "ﾀﾅｶ", "ﾔﾏﾀﾞ"}));
}

TEST_F(SearchTest, ThreeThousandHitsStopTheScanWithAMessage)
{
    std::vector<Person> people;
    for (int i = 0; i < MaxSearchHits; ++i) {
        people.push_back({i % 2 ? "ｱﾀﾞ" : "ｶﾀﾞ"}); // two groups: neither is full
    }
    write(people);
    SearchOutcome outcome = run(SearchKind::New, {"ﾀﾞ"});
    EXPECT_EQ(outcome.end, SearchEnd::TooMany);
    EXPECT_EQ(result.size(), 3000u);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{TooManyHitsText});

    people.push_back({"ｻﾀﾞ"});
    write(people);
    outcome = run(SearchKind::New, {"ﾀﾞ"});
    EXPECT_EQ(outcome.hits, 3000);
    EXPECT_EQ(session.HitFlag[3001], '1');
    EXPECT_EQ(session.HitFlag[3002], ' '); // not examined
    EXPECT_FALSE(result.indexOf("K03002"));
}

// The records are mapped for the scan, but not while another copy holds the file to write it:
// they are read instead, the same records found, over more chunks than either way takes at once.
TEST_F(SearchTest, AFileHeldByAWriterIsReadInsteadOfMappedWithTheSameHits)
{
    std::vector<Person> people;
    for (int i = 0; i < 2500; ++i) {
        people.push_back({i % 7 == 0 ? "ﾔﾏﾀﾞ" : "ｽｽﾞｷ"}); // records 2, 9, ..., 2501
    }
    write(people);
    const auto keys = [this] {
        std::vector<std::string> found;
        for (const auto& item : result.items()) {
            found.push_back(item.key);
        }
        return found;
    };
    run(SearchKind::New, {"ﾔﾏ"});
    const std::vector<std::string> mapped = keys();
    ASSERT_EQ(mapped.size(), 358u);

    RecordFile writer;
    ASSERT_EQ(writer.open(mainPath(), OpenMode::Write, MainRecLen), OpenError::None);
    run(SearchKind::New, {"ﾔﾏ"});
    EXPECT_EQ(keys(), mapped);
    EXPECT_EQ(session.HitFlag[2], '1');
    EXPECT_EQ(session.HitFlag[2500], ' ');
    EXPECT_EQ(session.HitFlag[2501], '1');
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(SearchTest, DeletedAndNeverUsedSlotsAreNoHits)
{
    auto deleted = RecordOf({"ﾔﾏﾀﾞ", "山田"});
    Put(deleted, 0, "\xff" + ToCp932("ﾔﾏﾀﾞ"), 30);
    WriteRecords(mainPath(),
                 {HandMainHeader(5), deleted, std::vector<std::uint8_t>(600, 0), RecordOf({"ﾔﾏﾓﾄ", "山本"})});
    load();
    run(SearchKind::New, {"", "山"});
    EXPECT_EQ(readings(), (std::vector<std::string>{"ﾔﾏﾓﾄ"}));
    run(SearchKind::Exclude, {"ｱ"});
    EXPECT_EQ(readings(), (std::vector<std::string>{"ﾔﾏﾓﾄ"}));
    run(SearchKind::New, {.birthday = 0, .checks = " "}); // a blank item is no condition
    EXPECT_EQ(ui.messages().back(), NoConditionText);
}

TEST_F(SearchTest, ARecordTheTablesDoNotHoldIsListedFromItsOwnFields)
{
    write({{"ﾔﾏﾀﾞ", "山田"}});
    // Another copy adds a record after our load.
    WriteRecords(mainPath(), {HandMainHeader(3), RecordOf({"ﾔﾏﾀﾞ", "山田"}), RecordOf({"ﾔﾏﾓﾄ", "山本"})});
    run(SearchKind::New, {"ﾔﾏ"});
    ASSERT_EQ(result.size(), 2u);
    EXPECT_EQ(result.at(1).key, "K00003");
    EXPECT_EQ(result.at(1).text, "ﾔﾏﾓﾄ");
    EXPECT_EQ(result.at(1).subItems, (std::vector<std::string>{"山本", ""})); // the name and Tel1 columns
    EXPECT_EQ(result.at(0).subItems, (std::vector<std::string>{"山田", ""}));
}

TEST_F(SearchTest, BatchSetAndClearTouchOnlyTheTickedItemOfListedRecords)
{
    write({{"ﾔﾏﾀﾞ", "", "", 0, "1 1 1 1 1 1 1 1"},
           {"ｺﾔﾏ", "", "", 0, " 1 1 1 1 1 1 1"},
           {"ﾀﾅｶ"},
           {"ﾔﾏﾓﾄ", "", "", 0, "  1"}});
    run(SearchKind::New, {"ﾔﾏ"});
    const auto before = ReadFileBytes(mainPath());
    std::array<bool, 15> third{};
    third[2] = true;

    EXPECT_EQ(ApplyCheckItems(state, result, third, true), 3);
    auto expected = before;
    for (std::int32_t recNo : {2, 3, 5}) {
        expected[static_cast<std::size_t>(recNo - 1) * 600 + 548 + 2] = '1';
    }
    // Records written by this program for the first time take an identity too.
    EXPECT_EQ(WithoutIdentities(ReadFileBytes(mainPath())), expected);

    EXPECT_EQ(ApplyCheckItems(state, result, third, false), 3);
    for (std::int32_t recNo : {2, 3, 5}) {
        expected[static_cast<std::size_t>(recNo - 1) * 600 + 548 + 2] = ' ';
    }
    EXPECT_EQ(WithoutIdentities(ReadFileBytes(mainPath())), expected);
    EXPECT_TRUE(ui.shown.empty());
}

} // namespace
} // namespace talik::test

namespace talik::test {
namespace {

class JointSearchTest : public StoreTest
{
protected:
    void SetUp() override
    {
        load();
        for (auto [reading, joint] : {std::pair{"ﾔﾏﾀﾞ", std::vector<JointName>{{"", "花子", "様"}}},
                                      {"ｻﾄｳ", {{"", "一郎", "様"}, {"佐藤", "花子", "様"}}},
                                      {"ﾀﾅｶ", {}}}) {
            state.Joint = joint;
            addRecord(reading);
        }
    }
    std::vector<std::string> found(SearchKind kind, std::vector<JointName> wanted, std::string_view kana = {})
    {
        ClearRecord(state.Rec);
        SetText(state.Rec.KanaName, kana);
        state.Joint = std::move(wanted);
        session.kind = kind;
        EXPECT_EQ(RunSearch(state, session, result).end, SearchEnd::Done);
        std::vector<std::string> texts;
        for (const auto& item : result.items()) {
            texts.push_back(item.text);
        }
        return texts;
    }
    SearchSession session;
    ListModel result;
};

TEST_F(JointSearchTest, AJointNameConditionFindsThePeopleWhoseJointNamesHoldItTogetherWithTheOtherConditions)
{
    EXPECT_EQ(found(SearchKind::New, {{"", "花子", ""}}), (std::vector<std::string>{"ｻﾄｳ", "ﾔﾏﾀﾞ"}));
    EXPECT_EQ(found(SearchKind::New, {{"佐藤", "", ""}}), (std::vector<std::string>{"ｻﾄｳ"}));
    EXPECT_EQ(found(SearchKind::New, {{"", "花子", ""}}, "ﾔﾏ"), (std::vector<std::string>{"ﾔﾏﾀﾞ"}));
    // Every row must be met, each by some joint name of the person.
    EXPECT_EQ(found(SearchKind::New, {{"", "花子", ""}, {"", "一郎", ""}}), (std::vector<std::string>{"ｻﾄｳ"}));
    EXPECT_TRUE(found(SearchKind::New, {{"", "太郎", ""}}).empty());

    found(SearchKind::New, {}, "ﾀﾅ");
    found(SearchKind::Add, {}, "ｻﾄ");
    ASSERT_EQ(found(SearchKind::Add, {}, "ﾔﾏ").size(), 3u);
    EXPECT_EQ(found(SearchKind::Exclude, {{"", "花子", ""}}), (std::vector<std::string>{"ﾀﾅｶ"}));
}

} // namespace
} // namespace talik::test
