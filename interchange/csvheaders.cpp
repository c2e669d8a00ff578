#include "interchange/csvheaders.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

#include "platform/trim.h"

namespace talik {
namespace {

// A header name we know: the slot it fills and where it stands among the pieces of that slot.
// Piece 0 is the whole field; pieces numbered from 1 are joined in their order.
struct KnownHeader
{
    std::string_view name; // lower case, without blanks
    CsvSlot slot;
    int part;
};

using S = CsvSlot;

// Earlier entries win when two columns claim the same part of a slot.
constexpr KnownHeader KnownHeaders[] = {
    // Our own export.
    {"カナ名", S::KanaName, 0},
    {"漢字名", S::KanjiName, 0},
    {"e-mail", S::EMail, 0},
    {"生年月日", S::Birthday, 0},
    {"分類コード", S::ClassCode, 0},
    {"郵便番号１", S::PostCode1, 0},
    {"住所１", S::Address1, 0},
    {"tel1", S::Tel1, 0},
    {"fax1", S::Fax1, 0},
    {"郵便番号２", S::PostCode2, 0},
    {"住所２", S::Address2, 0},
    {"tel2", S::Tel2, 0},
    {"fax2", S::Fax2, 0},
    {"会社名", S::Company, 0},
    {"部署名", S::Department, 0},
    {"備考", S::Remarks, 0},
    {"備考追加データ", S::RemarksExtra, 0},
    {"関連情報", S::RelatedInfo, 0},
    {"連名", S::JointNames, 0},
    // Japanese spreadsheets.
    {"ふりがな", S::KanaName, 0},
    {"フリガナ", S::KanaName, 0},
    {"よみ", S::KanaName, 0},
    {"ヨミ", S::KanaName, 0},
    {"よみがな", S::KanaName, 0},
    {"ヨミガナ", S::KanaName, 0},
    {"姓ふりがな", S::KanaName, 1},
    {"姓フリガナ", S::KanaName, 1},
    {"姓よみ", S::KanaName, 1},
    {"セイ", S::KanaName, 1},
    {"せい", S::KanaName, 1},
    {"名ふりがな", S::KanaName, 2},
    {"名フリガナ", S::KanaName, 2},
    {"名よみ", S::KanaName, 2},
    {"メイ", S::KanaName, 2},
    {"めい", S::KanaName, 2},
    {"氏名", S::KanjiName, 0},
    {"名前", S::KanjiName, 0},
    {"お名前", S::KanjiName, 0},
    {"姓", S::KanjiName, 1},
    {"名", S::KanjiName, 2},
    {"郵便番号", S::PostCode1, 0},
    {"〒", S::PostCode1, 0},
    {"住所", S::Address1, 0},
    {"都道府県", S::Address1, 1},
    {"市区町村", S::Address1, 2},
    {"番地", S::Address1, 3},
    {"町名番地", S::Address1, 3},
    {"建物名", S::Address1, 4},
    {"建物", S::Address1, 4},
    {"電話番号", S::Tel1, 0},
    {"電話", S::Tel1, 0},
    {"fax", S::Fax1, 0},
    {"ＦＡＸ", S::Fax1, 0},
    {"ファックス", S::Fax1, 0},
    {"携帯電話", S::Tel2, 0},
    {"携帯", S::Tel2, 0},
    {"メールアドレス", S::EMail, 0},
    {"メール", S::EMail, 0},
    {"誕生日", S::Birthday, 0},
    {"会社", S::Company, 0},
    {"部署", S::Department, 0},
    {"メモ", S::Remarks, 0},
    // The big web address books' CSV exports: one's former and current columns, then another's.
    {"name", S::KanjiName, 0},
    {"familyname", S::KanjiName, 1},
    {"lastname", S::KanjiName, 1},
    {"givenname", S::KanjiName, 2},
    {"firstname", S::KanjiName, 2},
    {"yominame", S::KanaName, 0},
    {"familynameyomi", S::KanaName, 1},
    {"phoneticlastname", S::KanaName, 1},
    {"surnameyomi", S::KanaName, 1},
    {"givennameyomi", S::KanaName, 2},
    {"phoneticfirstname", S::KanaName, 2},
    {"givenyomi", S::KanaName, 2},
    {"e-mail1-value", S::EMail, 0},
    {"e-mailaddress", S::EMail, 0},
    {"email", S::EMail, 0},
    {"phone1-value", S::Tel1, 0},
    {"homephone", S::Tel1, 0},
    {"phone2-value", S::Tel2, 0},
    {"mobilephone", S::Tel2, 0},
    {"homefax", S::Fax1, 0},
    {"businessfax", S::Fax2, 0},
    {"birthday", S::Birthday, 0},
    {"organization1-name", S::Company, 0},
    {"organizationname", S::Company, 0},
    {"company", S::Company, 0},
    {"organization1-department", S::Department, 0},
    {"organizationdepartment", S::Department, 0},
    {"department", S::Department, 0},
    {"notes", S::Remarks, 0},
    {"address1-formatted", S::Address1, 0},
    {"address1-region", S::Address1, 1},
    {"address1-city", S::Address1, 2},
    {"address1-street", S::Address1, 3},
    {"address1-extendedaddress", S::Address1, 4},
    {"address1-postalcode", S::PostCode1, 0},
    {"address2-formatted", S::Address2, 0},
    {"address2-region", S::Address2, 1},
    {"address2-city", S::Address2, 2},
    {"address2-street", S::Address2, 3},
    {"address2-extendedaddress", S::Address2, 4},
    {"address2-postalcode", S::PostCode2, 0},
    {"homestate", S::Address1, 1},
    {"homecity", S::Address1, 2},
    {"homestreet", S::Address1, 3},
    {"homepostalcode", S::PostCode1, 0},
    {"businessstate", S::Address2, 1},
    {"businesscity", S::Address2, 2},
    {"businessstreet", S::Address2, 3},
    {"businesspostalcode", S::PostCode2, 0},
    {"businessphone", S::Tel2, 0},
};

constexpr int PartTotal = 5;

// The name as the table holds it: blanks (half- and full-width) dropped, ASCII in lower case.
std::string Normalised(std::string_view name)
{
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name.substr(i).starts_with("\u3000")) {
            i += 2;
            continue;
        }
        char c = name[i];
        if (c != ' ' && c != '\t' && c != '"') {
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return out;
}

const KnownHeader* Find(std::string_view name)
{
    const std::string key = Normalised(name);
    for (const KnownHeader& known : KnownHeaders) {
        if (known.name == key) {
            return &known;
        }
    }
    return nullptr;
}

// For each slot and part, the column (1-based) that claimed it; 0 for none.
using Claims = std::array<std::array<int, PartTotal>, CsvSlotTotal>;

// What one slot takes: its parts in order. A whole column ("住所") stands for the parts the file
// lacks among the first two: before "建物名", after "都道府県", and not at all beside "姓" and "名".
CsvColumns ColumnsFor(const std::array<int, PartTotal>& claims)
{
    std::vector<int> order;
    bool wholePlaced = claims[0] == 0 || (claims[1] != 0 && claims[2] != 0);
    for (std::size_t part = 1; part < PartTotal; ++part) {
        if (!wholePlaced && part <= 2 && claims[part] == 0) {
            order.push_back(claims[0]);
            wholePlaced = true;
        }
        if (claims[part] != 0) {
            order.push_back(claims[part]);
        }
    }
    CsvColumns columns{};
    for (std::size_t i = 0; i < order.size() && i < columns.size(); ++i) {
        columns[i] = order[i];
    }
    return columns;
}

} // namespace

std::optional<CsvMap> GuessCsvMap(const std::vector<std::string>& header)
{
    Claims claims{};
    std::vector<int> priority(CsvSlotTotal * PartTotal, static_cast<int>(std::size(KnownHeaders)));
    int recognised = 0;
    for (std::size_t column = 0; column < header.size(); ++column) {
        const KnownHeader* known = Find(header[column]);
        if (known == nullptr) {
            continue;
        }
        ++recognised;
        const auto slot = static_cast<std::size_t>(known->slot);
        const auto part = static_cast<std::size_t>(known->part);
        const int rank = static_cast<int>(known - KnownHeaders);
        int& best = priority[slot * PartTotal + part];
        if (rank < best) {
            best = rank;
            claims[slot][part] = static_cast<int>(column) + 1;
        }
    }
    if (recognised < 2) {
        return std::nullopt;
    }
    CsvMap map{};
    for (std::size_t slot = 0; slot < map.size(); ++slot) {
        map[slot] = ColumnsFor(claims[slot]);
    }
    return map;
}

std::string DescribeCsvMap(const CsvMap& map, const std::vector<std::string>& header)
{
    std::string text;
    for (int slot = 0; slot < CsvSlotTotal; ++slot) {
        std::vector<int> columns = ColumnsOf(map[static_cast<std::size_t>(slot)]);
        if (columns.empty()) {
            continue;
        }
        std::string numbers;
        std::string names;
        for (int column : columns) {
            numbers += (numbers.empty() ? "" : "+") + std::to_string(column);
            if (column <= static_cast<int>(header.size())) {
                names += (names.empty() ? "" : "+") + header[static_cast<std::size_t>(column - 1)];
            }
        }
        text += std::string(CsvHeaderName(slot)) + " <- " + numbers + (names.empty() ? "" : " (" + names + ")") + "\n";
    }
    return text;
}

} // namespace talik
