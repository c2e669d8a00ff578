// The keys of a person however typed, the score of two records, the household rule, and finding the
// pairs by shared keys.
#include <gtest/gtest.h>

#include "store/duplicates.h"
#include "store/matchkeys.h"
#include "store/record.h"

namespace talik::test {
namespace {

struct Person
{
    const char* reading;
    const char* name;
    const char* mail = "";
    const char* tel1 = "";
    const char* tel2 = "";
    const char* address = "";
    std::int32_t birthday = 0;
};

PersonKeys Keys(const Person& person)
{
    AddressRecord rec{};
    ClearRecord(rec);
    SetText(rec.KanaName, person.reading);
    SetText(rec.KanjiName, person.name);
    SetText(rec.EMail, person.mail);
    SetText(rec.Tel1, person.tel1);
    SetText(rec.Tel2, person.tel2);
    SetText(rec.Address1, person.address);
    SetLong(rec.Birthday, person.birthday);
    return KeysOf(rec);
}

TEST(MatchKeys, ReadingsFoldToOneSpelling)
{
    const std::string expected = NormaliseReading("ﾔﾏﾀﾞ ﾀﾛｳ");
    EXPECT_EQ(expected, "ﾔﾏﾀﾞﾀﾛｳ");
    EXPECT_EQ(NormaliseReading("やまだ　たろう"), expected);
    EXPECT_EQ(NormaliseReading("ヤマダ・タロウ"), expected);
    EXPECT_EQ(NormaliseReading("ヴァイオリン"), NormaliseReading("ｳﾞｱｲｵﾘﾝ"));
    EXPECT_EQ(NormaliseReading("ウ\u3099ァ"), NormaliseReading("ｳﾞｧ"));
    EXPECT_EQ(NormaliseReading("ｷｬｯﾄ"), NormaliseReading("ｷﾔﾂﾄ")); // small kana as full-size
}

TEST(MatchKeys, KanjiVariantsFold)
{
    EXPECT_EQ(FoldKanjiVariants("髙橋 一郎"), "高橋一郎");
    EXPECT_EQ(FoldKanjiVariants("山﨑"), "山崎");
    EXPECT_EQ(FoldKanjiVariants("渡邊"), FoldKanjiVariants("渡邉"));
    EXPECT_EQ(FoldKanjiVariants("渡邉"), "渡辺");
    EXPECT_EQ(FoldKanjiVariants("齋藤"), "斎藤");
    EXPECT_EQ(FoldKanjiVariants("齊藤"), "斎藤");
}

TEST(MatchKeys, EveryVariantOfTheTableFoldsAndOtherCharactersStay)
{
    EXPECT_EQ(FoldKanjiVariants("髙﨑嵜邊邉齋齊濱澤櫻國廣德惠眞黑藪槇冨嶋嶌曻槗關"),
              "高崎崎辺辺斎斎浜沢桜国広徳恵真黒薮槙富島島昇橋関");
    EXPECT_EQ(FoldKanjiVariants("高崎a1ｱ　関"), "高崎a1ｱ関");
}

TEST(MatchKeys, NumbersAndAddressesInOneSpelling)
{
    EXPECT_EQ(NormaliseNumber("090-1234-5678"), "09012345678");
    EXPECT_EQ(NormaliseNumber("０９０（１２３４）５６７８"), "09012345678");
    EXPECT_EQ(NormaliseNumber("+81 90-1234-5678"), "09012345678");
    EXPECT_EQ(NormaliseNumber("+81 (0)3 1234 5678"), "0312345678");
    EXPECT_EQ(NormaliseNumber("内線 12"), "");
    EXPECT_EQ(NormaliseEmail(" Taro@Example.JP "), "Taro@example.jp");
    EXPECT_EQ(NormaliseEmail("no address"), "");
    PersonKeys keys = Keys({"ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎", "t@x.jp; T2@X.JP", "03-1111-2222", "080-3333-4444"});
    EXPECT_EQ(keys.home, "0311112222");
    EXPECT_EQ(keys.mobiles, std::vector<std::string>{"08033334444"});
    EXPECT_EQ(keys.emails, (std::vector<std::string>{"t@x.jp", "T2@x.jp"}));
    EXPECT_EQ(keys.family, "山田");
    EXPECT_EQ(keys.given, "太郎");
}

TEST(DuplicateScore, OnePersonTypedTwiceIsHighConfidence)
{
    Person sheet{"ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎", "", "", "090-1234-5678"};
    Person phone{"やまだ たろう", "山田太郎", "", "", "+81 90 1234 5678"};
    MatchScore match = ScoreMatch(Keys(sheet), Keys(phone));
    EXPECT_GE(match.score, HighConfidenceScore);
    EXPECT_EQ(ReasonText(match), "携帯電話・読み・氏名");
    // Kanji variants and an e-mail with the domain in capitals.
    match = ScoreMatch(Keys({"ﾀｶﾊｼ ｲﾁﾛｳ", "髙橋 一郎", "ichiro@Example.jp"}),
                       Keys({"ﾀｶﾊｼ ｲﾁﾛｳ", "高橋 一郎", "ichiro@example.JP"}));
    EXPECT_EQ(match.score, 100);
}

TEST(DuplicateScore, ANameAloneOrAHomeNumberAloneIsNotEnough)
{
    // Namesakes: the same reading and name, nothing else shared.
    EXPECT_LT(ScoreMatch(Keys({"ｻﾄｳ ﾀﾛｳ", "佐藤 太郎"}), Keys({"ｻﾄｳ ﾀﾛｳ", "佐藤 太郎"})).score, HighConfidenceScore);
    EXPECT_LT(ScoreMatch(Keys({"ｱ", "甲", "", "03-1111-2222"}), Keys({"ｲ", "乙", "", "03-1111-2222"})).score,
              HighConfidenceScore);
    // Two birthdays that differ speak against one person.
    EXPECT_LT(ScoreMatch(Keys({"ｻﾄｳ ﾀﾛｳ", "佐藤 太郎", "", "", "", "", 19600101}),
                         Keys({"ｻﾄｳ ﾀﾛｳ", "佐藤 太郎", "", "", "", "", 19900101}))
                  .score,
              HighConfidenceScore);
}

TEST(DuplicateScore, AHouseholdIsNeverOnePerson)
{
    // A couple with one address, one home number, and the family's one e-mail address and mobile.
    Person husband{"ﾔﾏﾀﾞ ﾀﾛｳ",     "山田 太郎",     "yamada@example.jp",
                   "03-1111-2222", "090-5555-6666", "東京都新宿区新宿1-1"};
    Person wife{"ﾔﾏﾀﾞ ﾊﾅｺ", "山田 花子", "yamada@example.jp", "03-1111-2222", "090-5555-6666", "東京都新宿区新宿1-1"};
    MatchScore match = ScoreMatch(Keys(husband), Keys(wife));
    EXPECT_LT(match.score, HighConfidenceScore);
    EXPECT_TRUE(ReasonText(match).ends_with("同じ世帯の別の人")) << ReasonText(match);
    EXPECT_EQ(FindDuplicates({{2, Keys(husband), ""}, {3, Keys(wife), ""}}, HighConfidenceScore).size(), 0u);
}

TEST(FindDuplicates, PairsShareAKeyBestFirstAndThoseSaidApartStayOut)
{
    std::vector<KeyedPerson> people = {
        {2, Keys({"ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎", "", "", "090-1234-5678"}), ""},
        {3, Keys({"ｽｽﾞｷ ｲﾁﾛｳ", "鈴木 一郎", "ichiro@example.jp"}), ""},
        {4, Keys({"ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎", "", "", "09012345678"}), ""},
        {5, Keys({"ｽｽﾞｷ ｲﾁﾛｳ", "鈴木 一郎", "ichiro@example.jp", "", "", "", 19700101}), ""},
        {6, Keys({"ｽｽﾞｷ ｲﾁﾛｳ", "鈴木 一郎"}), ""},
    };
    std::vector<DuplicatePair> pairs = FindDuplicates(people, HighConfidenceScore);
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(std::pair(pairs[0].a, pairs[0].b), std::pair(2, 4));
    EXPECT_EQ(pairs[0].match.score, 100);
    EXPECT_EQ(std::pair(pairs[1].a, pairs[1].b), std::pair(3, 5));
    // With a low floor the namesakes come too, after them.
    EXPECT_EQ(FindDuplicates(people, 50).size(), 4u);
    pairs = FindDuplicates(people, HighConfidenceScore, {{2, 4}});
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(pairs[0].a, 3);
}

TEST(DuplicateIndex, TheBestMatchBelowHighConfidenceTellsANamesakeFromAHousehold)
{
    Person husband{"ﾔﾏﾀﾞ ﾀﾛｳ",     "山田 太郎",     "yamada@example.jp",
                   "03-1111-2222", "090-5555-6666", "東京都新宿区新宿1-1"};
    Person wife{"ﾔﾏﾀﾞ ﾊﾅｺ", "山田 花子", "yamada@example.jp", "03-1111-2222", "090-5555-6666", "東京都新宿区新宿1-1"};
    DuplicateIndex index({{2, Keys(husband), ""}});
    DuplicatePair household = index.best(Keys(wife));
    EXPECT_EQ(household.b, 2);
    EXPECT_EQ(household.match.score, HighConfidenceScore - 1);
    EXPECT_TRUE(KeptApartAsHousehold(household.match));
    EXPECT_EQ(index.find(Keys(wife)), 0);
    // The same name and reading, nothing else shared: one person or two.
    DuplicatePair namesake = index.best(Keys({"ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎", "taro@work.example.jp"}));
    EXPECT_EQ(namesake.b, 2);
    EXPECT_GE(namesake.match.score, UncertainScore);
    EXPECT_LT(namesake.match.score, HighConfidenceScore);
    EXPECT_FALSE(KeptApartAsHousehold(namesake.match));
    EXPECT_EQ(index.best(Keys({"ｽｽﾞｷ", "鈴木 一郎"})).b, 0);
}

TEST(DuplicateIndex, FindsTheBestHighConfidenceMatchAndRecordsAddedLater)
{
    DuplicateIndex index({{2, Keys({"ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎", "", "", "090-1234-5678"}), ""}});
    EXPECT_EQ(index.find(Keys({"ヤマダ タロウ", "山田 太郎", "", "", "09012345678"})), 2);
    EXPECT_EQ(index.find(Keys({"ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎"})), 0);
    index.add(7, Keys({"ｻﾄｳ", "佐藤", "s@example.jp"}));
    EXPECT_EQ(index.find(Keys({"ｻﾄｳ", "佐藤", "s@example.jp"})), 7);
}

TEST(DuplicateIndex, APersonAddedAfterALookUpIsFoundByEachOfItsKeys)
{
    DuplicateIndex index({});
    const PersonKeys sato = Keys({"ｻﾄｳ ｼﾞﾛｳ", "佐藤 次郎", "s@example.jp", "", "090-1111-2222"});
    EXPECT_EQ(index.find(sato), 0);
    index.add(9, sato);
    EXPECT_EQ(index.find(sato), 9);
    // Found through the mobile number and the mail alone, as through the name and reading alone.
    EXPECT_EQ(index.find(Keys({"ｻﾄｳ ｼﾞﾛｳ", "佐藤 次郎", "s@example.jp"})), 9);
    EXPECT_EQ(index.find(Keys({"ｽｽﾞｷ", "鈴木", "s@example.jp", "", "09011112222"})), 9);
}

// Every key's people are weighed, each once: the person a line really is may share only keys looked
// up after those a namesake shares, or be filed under a key after the namesake.
TEST(DuplicateIndex, TheBestMatchIsFoundWhereverItsKeysWereFiled)
{
    DuplicateIndex index({{2, Keys({"ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎"}), ""},
                          {3, Keys({"ﾔﾏﾀﾞ ﾀｶｼ", "山田 隆", "t@example.jp", "", "090-3333-4444"}), ""},
                          {4, Keys({"ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎", "", "", "", "", 19700101}), ""}});
    EXPECT_EQ(index.find(Keys({"ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎", "t@example.jp", "", "090-3333-4444"})), 3);
    EXPECT_EQ(index.find(Keys({"ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎", "", "", "", "", 19700101})), 4);
}

} // namespace
} // namespace talik::test
