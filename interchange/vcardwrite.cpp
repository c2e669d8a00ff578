#include "interchange/vcardwrite.h"

#include <cstdint>

#include "platform/codec.h"

namespace talik {
namespace {

constexpr std::size_t MaxLineOctets = 75;
constexpr std::string_view CardLineEnd = "\r\n";

// The vCard TYPE of each telephone kind (ＴＥＬ, ＦＡＸ, ポケベル, 携帯電話, ＰＨＳ).
constexpr std::array<std::string_view, 5> KindTypes = {"voice", "fax", "pager", "cell", "cell"};

char32_t CodePointOf(std::string_view c)
{
    const auto b = [&](std::size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(c[i])); };
    switch (c.size()) {
    case 1:
        return b(0);
    case 2:
        return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    case 3:
        return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    default:
        return ((b(0) & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F);
    }
}

// Full-width katakana of U+FF61..U+FF9F, in that order.
constexpr char16_t FullForms[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5,
    0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC,
    0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4,
    0x30E6, 0x30E8, 0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C,
};
constexpr char32_t HalfFirst = 0xFF61;
constexpr char32_t HalfLast = 0xFF9F;
constexpr char32_t HalfVoiced = 0xFF9E;
constexpr char32_t HalfSemiVoiced = 0xFF9F;

// The full-width kana with the mark joined, or 0 when the pair has no such kana.
char32_t Joined(char32_t full, char32_t mark)
{
    const bool kaToTo = full >= 0x30AB && full <= 0x30C8;
    const bool haToHo = full >= 0x30CF && full <= 0x30DB && (full - 0x30CF) % 3 == 0;
    if (mark == HalfVoiced) {
        if (full == 0x30A6) {
            return 0x30F4; // ヴ
        }
        return kaToTo || haToHo ? full + 1 : 0;
    }
    return haToHo ? full + 2 : 0;
}

// Stored bytes that are no CP932 character become U+FFFD.
std::string ExportText(std::span<const char> field)
{
    const std::string text = FromCp932(CleanFixedBytes(std::string_view(field.data(), field.size())));
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = std::max<std::size_t>(Utf8CharLength(std::string_view(text).substr(i)), 1);
        const std::string_view c = std::string_view(text).substr(i, length);
        const char32_t code = length > 1 ? CodePointOf(c) : 0;
        if (code >= EscapeBase + 0x80 && code <= EscapeBase + 0xFF) {
            out += "\xEF\xBF\xBD";
        } else {
            out += c;
        }
        i += length;
    }
    return out;
}

std::string ParamText(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c != '"' && c != '\r' && c != '\n') {
            out += c;
        }
    }
    return out;
}

class CardWriter
{
public:
    explicit CardWriter(std::string& out) : m_out(out) {}
    void line(std::string_view text) { m_out += FoldVcardLine(text); }
    // NAME:escaped value, left out when the value is empty.
    void text(std::string_view name, std::string_view value)
    {
        if (!value.empty()) {
            line(std::string(name) + ":" + EscapeVcardText(value));
        }
    }

private:
    std::string& m_out;
};

void WriteNames(CardWriter& card, const AddressRecord& rec, VcardVersion version)
{
    const std::string name = ExportText(rec.KanjiName);
    const std::string reading = FullWidthKatakana(ExportText(rec.KanaName));
    const auto [family, given] = SplitAtFirst(name, {" ", "\u3000"});
    const auto [readingFamily, readingGiven] = SplitAtFirst(reading, {" "});
    std::string n = "N";
    if (version == VcardVersion::V4 && !reading.empty()) {
        n += ";SORT-AS=\"" + ParamText(readingFamily) + (readingGiven.empty() ? "" : "," + ParamText(readingGiven)) +
             "\"";
    }
    card.line(n + ":" + EscapeVcardText(family) + ";" + EscapeVcardText(given) + ";;;");
    // FN may not be empty: a card without a name is known by its reading.
    if (name.empty()) {
        card.line("FN;" + std::string(VcardNoNameParam) + "=1:" + EscapeVcardText(reading));
    } else {
        card.line("FN:" + EscapeVcardText(name));
    }
    card.text("X-PHONETIC-LAST-NAME", readingFamily);
    card.text("X-PHONETIC-FIRST-NAME", readingGiven);
}

void WriteAddress(CardWriter& card, std::string_view type, std::span<const char> address, std::span<const char> post)
{
    const std::string street = ExportText(address);
    const std::string code = ExportText(post);
    if (!street.empty() || !code.empty()) {
        card.line("ADR;TYPE=" + std::string(type) + ":;;" + EscapeVcardText(street) + ";;;" + EscapeVcardText(code) +
                  ";");
    }
}

void WritePhones(CardWriter& card, const AddressRecord& rec, VcardVersion version)
{
    const std::array<std::span<const char>, 4> numbers = {rec.Tel1, rec.Fax1, rec.Tel2, rec.Fax2};
    for (int slot = 0; slot < 4; ++slot) {
        const std::string number = ExportText(numbers[static_cast<std::size_t>(slot)]);
        if (number.empty()) {
            continue;
        }
        const int kind = PhoneKind(rec, slot);
        std::string line = "TEL";
        if (version == VcardVersion::V4) {
            line += ";VALUE=text";
        }
        line += ";TYPE=" + std::string(slot < 2 ? "home," : "work,") +
                std::string(KindTypes[static_cast<std::size_t>(kind)]);
        line += ";" + std::string(VcardSlotParam) + "=" + std::string(VcardSlotNames[static_cast<std::size_t>(slot)]);
        line += ";" + std::string(VcardKindParam) + "=" + std::to_string(kind);
        card.line(line + ":" + EscapeVcardText(number));
    }
}

void WriteBirthday(CardWriter& card, std::int32_t birthday, VcardVersion version)
{
    const int year = birthday / 10000;
    const int month = birthday / 100 % 100;
    const int day = birthday % 100;
    if (birthday <= 0 || month == 0 || day == 0) {
        return;
    }
    char text[16];
    if (year > 0) {
        if (version == VcardVersion::V3) {
            std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
        } else {
            std::snprintf(text, sizeof text, "%04d%02d%02d", year, month, day);
        }
    } else if (version == VcardVersion::V4) {
        std::snprintf(text, sizeof text, "--%02d%02d", month, day);
    } else {
        return; // 3.0 has no date without a year
    }
    card.line(std::string("BDAY:") + text);
}

void WriteNote(CardWriter& card, const AddressRecord& rec, const ExtraRecord& extra)
{
    const std::string remarks = ExportText(rec.Remarks);
    std::string more = ExportText(extra.RemarksExtra);
    if (remarks.empty() && more.empty()) {
        return;
    }
    // CR LF inside the extra data is one line break.
    std::string lines;
    for (std::size_t i = 0; i < more.size(); ++i) {
        if (more[i] == '\r' && i + 1 < more.size() && more[i + 1] == '\n') {
            continue;
        }
        lines += more[i];
    }
    std::string note = remarks;
    if (!remarks.empty() && !lines.empty()) {
        note += '\n';
    }
    note += lines;
    card.line("NOTE;" + std::string(VcardRemarksParam) + "=" + (remarks.empty() ? "0" : "1") + ":" +
              EscapeVcardText(note));
}

void WriteCategories(CardWriter& card, const AddressRecord& rec, const CheckItemNameList& names)
{
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (rec.CheckItems[i] == '1' && !names[i].empty()) {
            list += (list.empty() ? "" : ",") + EscapeVcardText(names[i]);
        }
    }
    if (!list.empty()) {
        card.line("CATEGORIES:" + list);
    }
}

void WriteOwnFields(CardWriter& card, const AddressRecord& rec, const ExtraRecord& extra)
{
    card.text(VcardClassCode, ExportText(rec.ClassCode));
    card.text(VcardHonorific, ExportText(rec.Honorific));
    card.text(VcardRelatedInfo, ExportText(extra.RelatedInfo));
    if (const int options = PrintOptionsValue(rec); options != 0) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%05d", options);
        card.line(std::string(VcardPrintOptions) + ":" + digits);
    }
    card.text(VcardSender, ExportText(rec.SenderChoice));
}

} // namespace

std::string FoldVcardLine(std::string_view line)
{
    std::string out;
    out.reserve(line.size() + line.size() / 70 * 3 + 2);
    std::size_t used = 0; // octets on the current physical line
    for (std::size_t i = 0; i < line.size();) {
        const std::size_t length = std::max<std::size_t>(Utf8CharLength(line.substr(i)), 1);
        if (used + length > MaxLineOctets) {
            out += CardLineEnd;
            out += ' ';
            used = 1;
        }
        out.append(line.substr(i, length));
        used += length;
        i += length;
    }
    out += CardLineEnd;
    return out;
}

std::string EscapeVcardText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' || c == ',' || c == ';') {
            out += '\\';
            out += c;
        } else if (c == '\r' || c == '\n') {
            out += "\\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            out += c;
        }
    }
    return out;
}

std::string FullWidthKatakana(std::string_view utf8)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t length = std::max<std::size_t>(Utf8CharLength(utf8.substr(i)), 1);
        const char32_t code = length == 3 ? CodePointOf(utf8.substr(i, 3)) : 0;
        if (code < HalfFirst || code > HalfLast) {
            out.append(utf8.substr(i, length));
            i += length;
            continue;
        }
        char32_t full = FullForms[code - HalfFirst];
        i += length;
        if (i + 3 <= utf8.size() && Utf8CharLength(utf8.substr(i)) == 3) {
            const char32_t mark = CodePointOf(utf8.substr(i, 3));
            if (mark == HalfVoiced || mark == HalfSemiVoiced) {
                if (const char32_t joined = Joined(full, mark); joined != 0) {
                    full = joined;
                    i += 3;
                }
            }
        }
        AppendUtf8(out, full);
    }
    return out;
}

std::pair<std::string, std::string> SplitAtFirst(std::string_view text,
                                                 std::initializer_list<std::string_view> separators)
{
    std::size_t at = std::string_view::npos;
    std::size_t width = 0;
    for (std::string_view separator : separators) {
        const std::size_t found = text.find(separator);
        if (found < at) {
            at = found;
            width = separator.size();
        }
    }
    if (at == std::string_view::npos) {
        return {std::string(text), {}};
    }
    return {std::string(text.substr(0, at)), std::string(text.substr(at + width))};
}

std::vector<std::string> SplitMailAddresses(std::string_view field)
{
    std::vector<std::string> addresses;
    std::size_t begin = 0;
    while (begin < field.size()) {
        const std::size_t end = std::min(field.find_first_of(";, \t", begin), field.size());
        if (end > begin) {
            addresses.emplace_back(field.substr(begin, end - begin));
        }
        begin = end + 1;
    }
    return addresses;
}

namespace {

void WriteSeason(CardWriter& card, const SeasonHistory& season)
{
    const std::string property(VcardSeason);
    for (const auto& [year, marks] : season.years) {
        if (!marks.any()) {
            continue;
        }
        std::string flags;
        for (const auto& [set, name] : {std::pair{marks.sent, "sent"}, std::pair{marks.received, "received"},
                                        std::pair{marks.mourning, "mourning"}}) {
            if (set) {
                flags += (flags.empty() ? "" : ",") + std::string(name);
            }
        }
        card.line(property + ":" + std::to_string(year) + ";" + flags + ";" + EscapeVcardText(marks.note));
    }
    if (season.stop) {
        card.line(property + ":" + std::string(VcardSeasonStop));
    }
}

} // namespace

void AppendVcard(std::string& out,
                 const AddressRecord& rec,
                 const ExtraRecord& extra,
                 const CheckItemNameList& checkNames,
                 VcardVersion version,
                 const std::vector<JointName>& joint,
                 const SeasonHistory& season)
{
    CardWriter card(out);
    card.line("BEGIN:VCARD");
    card.line(version == VcardVersion::V3 ? "VERSION:3.0" : "VERSION:4.0");
    WriteNames(card, rec, version);
    for (const std::string& address : SplitMailAddresses(ExportText(rec.EMail))) {
        card.text("EMAIL", address);
    }
    WriteAddress(card, "home", rec.Address1, rec.PostCode1);
    WriteAddress(card, "work", rec.Address2, rec.PostCode2);
    WritePhones(card, rec, version);
    WriteBirthday(card, GetLong(rec.Birthday), version);
    const std::string company = ExportText(rec.Company);
    const std::string department = ExportText(rec.Department);
    if (!company.empty() || !department.empty()) {
        card.line("ORG:" + EscapeVcardText(company) + (department.empty() ? "" : ";" + EscapeVcardText(department)));
    }
    WriteNote(card, rec, extra);
    WriteCategories(card, rec, checkNames);
    WriteOwnFields(card, rec, extra);
    for (const JointName& name : joint) {
        card.line(std::string(VcardJoint) + ":" + EscapeVcardText(name.family) + ";" + EscapeVcardText(name.given) +
                  ";" + EscapeVcardText(name.honorific));
    }
    WriteSeason(card, season);
    card.line("END:VCARD");
}

} // namespace talik
