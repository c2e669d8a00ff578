#include "print/addresssplit.h"

#include <array>
#include <cstddef>

#include "platform/codec.h"
#include "print/addresschars.h"
#include "print/postcardlayout.h"

namespace talik {
namespace {

using Chars = std::vector<std::string>;

constexpr std::array<std::string_view, 47> Prefectures{
    "北海道", "青森県", "岩手県", "宮城県",   "秋田県", "山形県",   "福島県", "茨城県", "栃木県", "群馬県",
    "埼玉県", "千葉県", "東京都", "神奈川県", "新潟県", "富山県",   "石川県", "福井県", "山梨県", "長野県",
    "岐阜県", "静岡県", "愛知県", "三重県",   "滋賀県", "京都府",   "大阪府", "兵庫県", "奈良県", "和歌山県",
    "鳥取県", "島根県", "岡山県", "広島県",   "山口県", "徳島県",   "香川県", "愛媛県", "高知県", "福岡県",
    "佐賀県", "長崎県", "熊本県", "大分県",   "宮崎県", "鹿児島県", "沖縄県"};

// Words after which a street address of Kyoto may break: "河原町通", "三条上る", "西入".
constexpr std::array<std::string_view, 11> StreetEnds{"通",   "上る", "下る", "入る",   "上ル",  "下ル",
                                                      "入ル", "西入", "東入", "上がる", "下がる"};
// Words that begin or mark a building's name.
constexpr std::array<std::string_view, 6> BuildingWords{"ビル", "マンション", "ハイツ", "コーポ", "レジデンス", "荘"};
// What follows the numbers of a block.
constexpr std::array<std::string_view, 4> NumberWords{"丁目", "番地", "番", "号"};
constexpr std::array<std::string_view, 9> UnitWords{"号室", "丁目", "番地", "番", "号", "階", "F", "Ｆ", "棟"};
constexpr std::size_t CityReach = 6; // a city's or ward's name is at most this many characters

std::string Join(const Chars& chars, std::size_t from, std::size_t to)
{
    std::string text;
    for (std::size_t i = from; i < to && i < chars.size(); ++i) {
        text += chars[i];
    }
    return text;
}

// Compared in place, character by character: the splitter asks this at every position.
bool StartsWithAt(const Chars& chars, std::size_t at, std::string_view word)
{
    std::size_t matched = 0;
    for (std::size_t i = at; i < chars.size() && matched < word.size(); ++i) {
        if (word.compare(matched, chars[i].size(), chars[i]) != 0) {
            return false;
        }
        matched += chars[i].size();
    }
    return matched == word.size();
}

std::size_t CharCount(std::string_view word)
{
    std::size_t count = 0;
    for (; !word.empty(); ++count) {
        word.remove_prefix(Utf8CharLength(word));
    }
    return count;
}

// The length in characters of the number word at `at`, or 0.
std::size_t NumberWordAt(const Chars& chars, std::size_t at)
{
    for (std::string_view word : NumberWords) {
        if (StartsWithAt(chars, at, word)) {
            return CharCount(word);
        }
    }
    return 0;
}

// Kanji numerals count as a number only when a number word follows them ("三丁目", not "三条").
bool NumberStartsAt(const Chars& chars, std::size_t at)
{
    if (IsDigitChar(chars[at])) {
        return true;
    }
    std::size_t i = at;
    while (i < chars.size() && IsKanjiNumeral(chars[i])) {
        ++i;
    }
    return i > at && NumberWordAt(chars, i) > 0;
}

// Where the block numbers starting at `at` end.
std::size_t NumbersEnd(const Chars& chars, std::size_t at)
{
    std::size_t i = at;
    while (i < chars.size()) {
        if (IsDigitChar(chars[i]) || IsKanjiNumeral(chars[i])) {
            ++i;
        } else if (IsDashChar(chars[i]) && i + 1 < chars.size() && NumberStartsAt(chars, i + 1)) {
            ++i;
        } else if (const std::size_t word = NumberWordAt(chars, i); word > 0 && !StartsWithAt(chars, i, "号室")) {
            i += word;
        } else {
            break;
        }
    }
    return i;
}

// The first index of `ch` in [from, from + CityReach), skipping the first character; npos if none.
std::size_t FindNear(const Chars& chars, std::size_t from, std::string_view ch)
{
    for (std::size_t i = from + 1; i < chars.size() && i < from + CityReach; ++i) {
        if (chars[i] == ch) {
            return i;
        }
    }
    return std::string::npos;
}

// The word that counts what the digits before it number ("1001号室", "8階", "12F"): it stays with them.
std::size_t UnitWordAt(const Chars& chars, std::size_t at)
{
    for (std::string_view word : UnitWords) {
        if (StartsWithAt(chars, at, word)) {
            return CharCount(word);
        }
    }
    return 0;
}

class Splitter
{
public:
    explicit Splitter(std::string_view address) : m_chars(SplitChars(address)) {}

    std::vector<AddressPart> run()
    {
        takePrefecture();
        takeCity();
        takeRest();
        return std::move(m_parts);
    }

private:
    Chars m_chars;
    std::size_t m_at = 0;
    std::vector<AddressPart> m_parts;

    void add(AddressPartKind kind, std::size_t to)
    {
        if (to > m_at) {
            m_parts.push_back({kind, Join(m_chars, m_at, to)});
        }
        m_at = to;
    }

    void takePrefecture()
    {
        for (std::string_view prefecture : Prefectures) {
            if (StartsWithAt(m_chars, 0, prefecture)) {
                add(AddressPartKind::Prefecture, CharCount(prefecture));
                return;
            }
        }
    }

    // "金沢市", "横浜市" "中区", "世田谷区", "西多摩郡" "瑞穂町"; "四日市市" takes its second 市.
    void takeCity()
    {
        if (const std::size_t county = FindNear(m_chars, m_at, "郡"); county != std::string::npos) {
            add(AddressPartKind::City, county + 1);
            takeMunicipalityEnding({"町", "村"});
            return;
        }
        std::size_t city = FindNear(m_chars, m_at, "市");
        if (city != std::string::npos) {
            if (city + 1 < m_chars.size() && m_chars[city + 1] == "市") {
                ++city;
            }
            add(AddressPartKind::City, city + 1);
        }
        takeMunicipalityEnding({"区"});
    }

    void takeMunicipalityEnding(std::initializer_list<std::string_view> ends)
    {
        for (std::size_t i = m_at + 1; i < m_chars.size() && i < m_at + CityReach; ++i) {
            if (IsDigitChar(m_chars[i]) || IsSpace(m_chars[i])) {
                return;
            }
            for (std::string_view end : ends) {
                if (m_chars[i] == end) {
                    add(AddressPartKind::City, i + 1);
                    return;
                }
            }
        }
    }

    // The start of the katakana word holding a building word, from `from` on; npos if none.
    std::size_t BuildingWordStart(std::size_t from) const
    {
        for (std::size_t i = from; i < m_chars.size(); ++i) {
            for (std::string_view word : BuildingWords) {
                if (StartsWithAt(m_chars, i, word)) {
                    std::size_t start = i;
                    while (start > from && IsKatakana(m_chars[start - 1]) && IsKatakana(m_chars[start])) {
                        --start;
                    }
                    return start;
                }
            }
        }
        return std::string::npos;
    }

    // The town (in parts at the streets of Kyoto), the numbers, and the building. m_at stays at the
    // start of the part being read, `i` goes ahead.
    void takeRest()
    {
        const std::size_t building = BuildingWordStart(m_at);
        std::size_t i = m_at;
        while (i < m_chars.size()) {
            if (IsSpace(m_chars[i]) || i == building) {
                add(AddressPartKind::Town, i);
                takeBuilding();
                return;
            }
            if (NumberStartsAt(m_chars, i)) {
                add(AddressPartKind::Town, i);
                takeNumbers();
                i = m_at;
                continue;
            }
            const std::size_t street = StreetEndAt(i);
            i += street > 0 ? street : 1;
            if (street > 0) {
                add(AddressPartKind::Town, i);
            }
        }
        add(AddressPartKind::Town, i);
    }

    std::size_t StreetEndAt(std::size_t at) const
    {
        for (std::string_view word : StreetEnds) {
            if (StartsWithAt(m_chars, at, word)) {
                return CharCount(word);
            }
        }
        return 0;
    }

    // Numbers, and what follows them without a blank is the building ("渋谷ビル5F", "101号室").
    void takeNumbers()
    {
        std::size_t end = NumbersEnd(m_chars, m_at);
        if (StartsWithAt(m_chars, end, "号室")) {
            end = RoomNumberStart(end);
        }
        const std::size_t start = m_at;
        add(AddressPartKind::Numbers, end);
        const bool roomOnly = m_at == start; // "101号室" with no block numbers before it
        if (roomOnly || (m_at < m_chars.size() && !NumberStartsAt(m_chars, m_at) && !IsSpace(m_chars[m_at]) &&
                         StreetEndAt(m_at) == 0 && !IsTownAfterNumbers())) {
            add(AddressPartKind::Building, m_chars.size());
        }
    }

    // "1-2-3-101号室": the room's number is the building's, and the dash before it is dropped.
    std::size_t RoomNumberStart(std::size_t end)
    {
        std::size_t start = end;
        while (start > m_at && IsDigitChar(m_chars[start - 1])) {
            --start;
        }
        if (start > m_at && IsDashChar(m_chars[start - 1])) {
            m_chars.erase(m_chars.begin() + static_cast<std::ptrdiff_t>(start - 1));
            --start;
        }
        return start;
    }

    // Kyoto writes the town after its number ("四条上る 二丁目 米屋町") and so do a few others:
    // a name ending in 町 or 条 without a building word is still a town.
    bool IsTownAfterNumbers() const
    {
        for (std::size_t i = m_at; i < m_chars.size() && !IsSpace(m_chars[i]); ++i) {
            if (m_chars[i] == "町" || m_chars[i] == "条") {
                return BuildingWordStart(m_at) == std::string::npos;
            }
        }
        return false;
    }

    void takeBuilding()
    {
        while (m_at < m_chars.size() && IsSpace(m_chars[m_at])) {
            ++m_at;
        }
        add(AddressPartKind::Building, m_chars.size());
    }
};

bool Fits(const TextMeasure& measure, std::string_view text, double indent, double lineLength)
{
    return indent + measure(text) <= lineLength + 1e-9;
}

// Fills lines from parts (or pieces of a part): a piece that does not fit starts a new line.
class LineFiller
{
public:
    LineFiller(std::vector<AddressLine>& lines, double lineLength, double charLength, const TextMeasure& measure)
        : m_lines(lines), m_lineLength(lineLength), m_charLength(charLength), m_measure(measure)
    {}

    void startLine(bool building)
    {
        const int indent = m_lines.empty() ? 0 : 1;
        m_lines.push_back({"", indent, building});
    }

    void add(const std::string& part)
    {
        if (fits(part)) {
            m_lines.back().text += part;
            return;
        }
        if (!m_lines.back().text.empty() && Fits(m_measure, part, m_charLength, m_lineLength)) {
            continueLine();
            m_lines.back().text += part;
            return;
        }
        for (const std::string& piece : UnbreakablePieces(part)) {
            if (!fits(piece) && !m_lines.back().text.empty()) {
                continueLine();
            }
            m_lines.back().text += piece;
        }
    }

private:
    std::vector<AddressLine>& m_lines;
    double m_lineLength, m_charLength;
    const TextMeasure& m_measure;

    bool fits(const std::string& more)
    {
        const AddressLine& line = m_lines.back();
        return Fits(m_measure, line.text + more, line.indent * m_charLength, m_lineLength);
    }
    void continueLine() { m_lines.push_back({"", 1, m_lines.back().building}); }
};

// The address's stored lines, split at "\" and "￥".
std::vector<std::string> StoredLines(std::string_view address)
{
    std::vector<std::string> lines(1);
    for (const std::string& ch : SplitChars(address)) {
        if (IsLineBreak(ch)) {
            lines.emplace_back();
        } else {
            lines.back() += ch;
        }
    }
    return lines;
}

// The parts as lines take them: a town and the numbers after it go on together, as people write
// "木ノ新保町1-1" rather than leave the number alone on a line.
std::vector<AddressPart> BreakingUnits(std::vector<AddressPart> parts)
{
    std::vector<AddressPart> units;
    for (AddressPart& part : parts) {
        const bool numbersAfterTown =
            part.kind == AddressPartKind::Numbers && !units.empty() && units.back().kind == AddressPartKind::Town;
        if (numbersAfterTown) {
            units.back().text += part.text;
        } else {
            units.push_back(std::move(part));
        }
    }
    return units;
}

} // namespace

std::vector<AddressPart> SplitAddress(std::string_view address)
{
    return Splitter(address).run();
}

std::vector<std::string> UnbreakablePieces(std::string_view text)
{
    const Chars chars = SplitChars(text);
    std::vector<std::string> pieces;
    for (std::size_t i = 0; i < chars.size();) {
        std::size_t end = i + 1;
        if (IsDigitChar(chars[i])) {
            while (end < chars.size() && (IsDigitChar(chars[end]) || IsDashBetweenDigits(chars, end))) {
                ++end;
            }
            end += UnitWordAt(chars, end);
        } else if (IsKatakana(chars[i])) {
            while (end < chars.size() && IsKatakana(chars[end])) {
                ++end;
            }
        } else if (IsLatinLetter(chars[i])) {
            while (end < chars.size() && IsLatinLetter(chars[end])) {
                ++end;
            }
        }
        pieces.push_back(Join(chars, i, end));
        i = end;
    }
    return pieces;
}

std::vector<AddressLine>
BreakAddress(std::string_view address, double lineLength, double charLength, const TextMeasure& measure)
{
    std::vector<AddressLine> lines;
    LineFiller filler(lines, lineLength, charLength, measure);
    for (const std::string& stored : StoredLines(address)) {
        bool inBuilding = false;
        filler.startLine(false);
        for (const AddressPart& part : BreakingUnits(SplitAddress(stored))) {
            const bool building = part.kind == AddressPartKind::Building;
            if (building && !inBuilding && !lines.back().text.empty()) {
                filler.startLine(true);
                lines.back().indent = 1;
            }
            inBuilding = inBuilding || building;
            lines.back().building = inBuilding;
            filler.add(part.text);
        }
    }
    std::erase_if(lines, [](const AddressLine& line) { return line.text.empty(); });
    if (!lines.empty()) {
        lines.front().indent = 0;
    }
    return lines;
}

} // namespace talik

namespace talik {

std::vector<AddressLine>
BreakPlain(std::string_view text, double lineLength, double charLength, const TextMeasure& measure)
{
    std::vector<AddressLine> lines;
    LineFiller filler(lines, lineLength, charLength, measure);
    for (const std::string& stored : StoredLines(text)) {
        filler.startLine(false);
        filler.add(stored);
    }
    std::erase_if(lines, [](const AddressLine& line) { return line.text.empty(); });
    if (!lines.empty()) {
        lines.front().indent = 0;
    }
    return lines;
}

int LinesNeeded(const std::vector<AddressLine>& lines, double lineLength, double charLength, const TextMeasure& measure)
{
    constexpr int TooMany = 1000;
    for (const AddressLine& line : lines) {
        if (!Fits(measure, line.text, line.indent * charLength, lineLength)) {
            return TooMany;
        }
    }
    return static_cast<int>(lines.size());
}

} // namespace talik
