// The built index against Japan Post's UTF-8 file, read here on its own: a sample of codes across
// every prefecture, each sampled place found again from its address, and a case for every trap the
// list is known for.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "postal/postalindex.h"
#include "tests/support/childprocess.h"
#include "tests/support/tempdir.h"

namespace talik::test {
namespace {

// One record of utf_ken_all.csv: code, prefecture, city, town (as written, notes and all).
struct ListRow
{
    std::string code, prefecture, city, town;
};

std::vector<std::string> SplitQuoted(const std::string& line)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else if (c != '\r') {
            fields.back() += c;
        }
    }
    return fields;
}

// The UTF-8 file, unpacked from the shipped zip by unzip itself.
const std::vector<ListRow>& Rows()
{
    static const std::vector<ListRow> rows = [] {
        TempDir dir;
        ProgramRun run =
            RunProgram({TALIK_UNZIP, "-p", TALIK_POSTAL_RESOURCES "/utf_ken_all.zip", "utf_ken_all.csv"}, dir.path());
        std::vector<ListRow> read;
        std::size_t start = 0;
        while (start < run.out.size()) {
            std::size_t end = run.out.find('\n', start);
            std::vector<std::string> f = SplitQuoted(run.out.substr(start, end - start));
            start = end == std::string::npos ? run.out.size() : end + 1;
            if (f.size() == 15) {
                read.push_back({f[2], f[6], f[7], f[8]});
            }
        }
        return read;
    }();
    return rows;
}

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// The UTF-8 file writes U+2212 and U+301C where Shift-JIS, as the address book reads and stores
// it, has U+FF0D and U+FF5E: the index gives the form that survives a stored record.
std::string AsStored(const std::string& text)
{
    return Replace(Replace(text, "\u2212", "\uFF0D"), "\u301C", "\uFF5E");
}

// The address of a row as a person writes it, worked out here from the row alone.
std::string ExpectedAddress(const ListRow& row)
{
    std::string town = row.town;
    if (town == "以下に掲載がない場合" ||
        (town.find("の次に") != std::string::npos && town.find("がくる場合") != std::string::npos)) {
        town.clear();
    } else if (town != "一円" && town.size() > 6 && town.substr(town.size() - 6) == "一円" &&
               row.city.find(town.substr(0, town.size() - 6)) != std::string::npos) {
        town.clear();
    }
    std::size_t open = town.find("（");
    if (open != std::string::npos) {
        std::string note = town.substr(open + 3, town.rfind("）") - open - 3);
        bool floor = note.size() > 3 && note.substr(note.size() - 3) == "階" &&
                     note.find_first_of("地不・") == std::string::npos && note.find("階層") == std::string::npos;
        town = town.substr(0, open) + (floor ? note : "");
    }
    return AsStored(row.prefecture + row.city + town);
}

const PostalIndex& Index()
{
    static const PostalIndex index = [] {
        std::string error;
        auto opened = PostalIndex::Open(TALIK_POSTAL_INDEX, error);
        if (!opened) {
            throw std::runtime_error(error);
        }
        return std::move(*opened);
    }();
    return index;
}

std::set<std::string> AddressesOf(const std::vector<PostalPlace>& places)
{
    std::set<std::string> addresses;
    for (const auto& place : places) {
        addresses.insert(place.code + " " + place.address() + (place.isOffice() ? " " + place.office : ""));
    }
    return addresses;
}

std::set<std::string> Lookup(const std::string& code)
{
    return AddressesOf(Index().byCode(code));
}

// Every 400th row and the first row of each prefecture: a few hundred codes from all 47.
std::vector<std::string> SampledCodes()
{
    std::set<std::string> codes;
    std::set<std::string> prefectures;
    const auto& rows = Rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i % 400 == 0 || prefectures.insert(rows[i].prefecture).second) {
            codes.insert(rows[i].code);
        }
    }
    return {codes.begin(), codes.end()};
}

TEST(PostalData, SampledCodesGiveTheirPlacesAsTheListHasThem)
{
    ASSERT_GT(Rows().size(), 124000u);
    std::map<std::string, std::set<std::string>> expected;
    for (const auto& row : Rows()) {
        expected[row.code].insert(row.code + " " + ExpectedAddress(row));
    }
    std::vector<std::string> codes = SampledCodes();
    EXPECT_GT(codes.size(), 300u);
    std::set<std::string> prefectures;
    for (const std::string& code : codes) {
        EXPECT_EQ(Lookup(code), expected[code]) << code;
        for (const auto& place : Index().byCode(code)) {
            prefectures.insert(place.prefecture);
        }
    }
    EXPECT_EQ(prefectures.size(), 47u);
}

TEST(PostalData, EverySampledPlaceIsFoundAgainFromItsAddress)
{
    for (const std::string& code : SampledCodes()) {
        for (const auto& place : Index().byCode(code)) {
            std::set<std::string> found;
            for (const auto& hit : Index().byAddress(place.address())) {
                found.insert(hit.code);
            }
            EXPECT_TRUE(found.count(code)) << code << " " << place.address();
        }
    }
}

TEST(PostalData, TheListsTrapsEachHaveTheirCase)
{
    // Town names split over several rows of KEN_ALL come back whole: the note is the hint.
    auto split = Index().byCode("0660005");
    ASSERT_EQ(split.size(), 1u);
    EXPECT_EQ(split[0].address(), "北海道千歳市協和");
    EXPECT_TRUE(split[0].hint.ends_with("番地")) << split[0].hint;
    // The city-wide code has no town.
    EXPECT_EQ(Lookup("0600000"), std::set<std::string>{"0600000 北海道札幌市中央区"});
    // A note is a hint, not part of the town.
    auto noted = Index().byCode("0600042");
    ASSERT_EQ(noted.size(), 1u);
    EXPECT_EQ(noted[0].town, "大通西");
    EXPECT_EQ(noted[0].hint, "１～１９丁目");
    // A building's floor is part of the address; an unknown floor is not.
    EXPECT_EQ(Lookup("9806101"), std::set<std::string>{"9806101 宮城県仙台市青葉区中央アエル１階"});
    EXPECT_EQ(Lookup("9806190"), std::set<std::string>{"9806190 宮城県仙台市青葉区中央アエル"});
    // One code in two prefectures.
    EXPECT_EQ(Lookup("4980000"), (std::set<std::string>{"4980000 愛知県弥富市", "4980000 三重県桑名郡木曽岬町"}));
    // 一円 of a village is the whole village; the town 一円 keeps its name.
    EXPECT_EQ(Lookup("1000301"), std::set<std::string>{"1000301 東京都利島村"});
    auto ichien = Index().byAddress("滋賀県犬上郡多賀町一円");
    ASSERT_FALSE(ichien.empty());
    EXPECT_EQ(ichien[0].town, "一円");
    // The dashes and wave dashes of the UTF-8 file find the same place as the Shift-JIS ones.
    auto waved = Index().byAddress("岩手県九戸郡洋野町種市第７１地割〜第７４地割");
    auto shifted = Index().byAddress("岩手県九戸郡洋野町種市第７１地割～第７４地割");
    ASSERT_EQ(waved.size(), 1u);
    EXPECT_EQ(AddressesOf(waved), AddressesOf(shifted));
    // A large office: its full address with block numbers, and its name.
    EXPECT_EQ(Lookup("0608621"),
              std::set<std::string>{"0608621 北海道札幌市中央区北一条西６丁目１－２アーバンネット札幌ビル２Ｆ "
                                    "株式会社　日本経済新聞社　札幌支社"});
}

TEST(PostalData, SeveralCodesOfOneTownAreAllOffered)
{
    std::set<std::string> codes;
    for (const auto& place : Index().byAddress("北海道札幌市中央区大通西５丁目")) {
        codes.insert(place.code);
    }
    EXPECT_EQ(codes, (std::set<std::string>{"0600042", "0640820"}));
}

TEST(PostalData, AddressesAreFoundWithoutPrefectureAndAsPeopleTypeThem)
{
    EXPECT_EQ(AddressesOf(Index().byAddress("渋谷区神宮前１－２－３")),
              std::set<std::string>{"1500001 東京都渋谷区神宮前"});
    // The small ヶ people type, blanks between the parts.
    auto asahi = Index().byAddress("北海道 札幌市中央区　旭ヶ丘５丁目");
    ASSERT_EQ(asahi.size(), 1u);
    EXPECT_EQ(asahi[0].code, "0640941");
    // A city of that name in two prefectures: both.
    std::set<std::string> prefectures;
    for (const auto& place : Index().byAddress("府中市")) {
        prefectures.insert(place.prefecture);
    }
    EXPECT_EQ(prefectures, (std::set<std::string>{"東京都", "広島県"}));
    EXPECT_TRUE(Index().byAddress("どこでもない町").empty());
    EXPECT_TRUE(Index().byAddress("").empty());
}

TEST(PostalData, ADamagedIndexIsRefusedNotRead)
{
    TempDir dir;
    std::vector<std::uint8_t> bytes = ReadFileBytes(TALIK_POSTAL_INDEX);
    std::string error;
    for (std::size_t keep : {std::size_t{0}, std::size_t{10}, std::size_t{64}, bytes.size() / 2, bytes.size() - 1}) {
        std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(keep));
        WriteFileBytes(dir.path() / "cut.idx", cut);
        EXPECT_FALSE(PostalIndex::Open((dir.path() / "cut.idx").string(), error)) << keep;
    }
    // A table pointing past the end of the file.
    std::vector<std::uint8_t> bad = bytes;
    bad[28] = 0xFF;
    bad[29] = 0xFF;
    bad[30] = 0xFF;
    WriteFileBytes(dir.path() / "bad.idx", bad);
    EXPECT_FALSE(PostalIndex::Open((dir.path() / "bad.idx").string(), error));
    EXPECT_FALSE(PostalIndex::Open((dir.path() / "missing.idx").string(), error));
    EXPECT_NE(error.find("missing.idx"), std::string::npos);
}

} // namespace
} // namespace talik::test
