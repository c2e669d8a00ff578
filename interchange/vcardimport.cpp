#include "interchange/vcardimport.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <span>

#include "interchange/common.h"
#include "interchange/csvimport.h"
#include "interchange/importfields.h"
#include "interchange/vcardbirthday.h"
#include "platform/codec.h"
#include "platform/trim.h"
#include "store/checkitems.h"
#include "store/identity.h"
#include "store/kana.h"
#include "store/recordwriter.h"
#include "store/state.h"

namespace talik {
namespace {

constexpr int ProgressEveryCards = 128;
constexpr std::string_view HomeType = "HOME";
constexpr std::string_view WorkType = "WORK";

std::string Trim(std::string_view text)
{
    return std::string(TrimOf(text, " \t\r\n"));
}

// A text from the file as CP932; what CP932 lacks becomes "?" and is remembered.
class Encoder
{
public:
    std::string operator()(std::string_view utf8)
    {
        std::string cleaned;
        std::size_t marks = 0;
        for (std::size_t i = 0; i < utf8.size();) {
            const std::size_t length = std::max<std::size_t>(Utf8CharLength(utf8.substr(i)), 1);
            const std::string_view c = utf8.substr(i, length);
            if (IsByteEscape(c)) {
                cleaned += '?';
                lacking = true;
            } else {
                cleaned += c;
                marks += c == "?" ? 1 : 0;
            }
            i += length;
        }
        std::string cp932 = ToCp932(cleaned);
        if (static_cast<std::size_t>(std::count(cp932.begin(), cp932.end(), '?')) > marks) {
            lacking = true;
        }
        return cp932;
    }
    bool lacking = false;
};

// Line breaks of a text as the record keeps them: CR LF.
std::string WithCrLf(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            continue;
        }
        if (text[i] == '\n') {
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string Text(const VcardProperty* property)
{
    return property == nullptr ? std::string() : Trim(UnescapeVcardText(property->value));
}

std::string Part(const std::vector<std::string>& parts, std::size_t i)
{
    return i < parts.size() ? Trim(parts[i]) : std::string();
}

std::string JoinReading(std::string_view family, std::string_view given)
{
    std::string reading = Trim(ToHalfKana(Trim(family)));
    const std::string second = Trim(ToHalfKana(Trim(given)));
    if (!second.empty()) {
        reading += (reading.empty() ? "" : " ") + second;
    }
    return reading;
}

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Pieces of a name or address joined: a blank between them unless both sides are Japanese.
std::string JoinPieces(const std::vector<std::string>& pieces, std::string_view wideSeparator)
{
    std::string out;
    for (const std::string& piece : pieces) {
        if (piece.empty()) {
            continue;
        }
        if (!out.empty()) {
            out += IsAscii(out.substr(out.size() - 1)) || IsAscii(piece.substr(0, 1)) ? std::string(" ")
                                                                                      : std::string(wideSeparator);
        }
        out += piece;
    }
    return out;
}

std::string CardName(const VcardCard& card)
{
    if (std::string name = Text(card.find("FN")); !name.empty()) {
        return name;
    }
    if (const VcardProperty* n = card.find("N")) {
        const auto parts = SplitVcardValue(n->value, ';');
        return JoinPieces({Part(parts, 0), Part(parts, 1)}, "\u3000");
    }
    return {};
}

// Fills one record from a card's properties, keeping what finds no field for the remarks extra data.
class CardFiller
{
public:
    CardFiller(AddressRecord& rec, ExtraRecord& extra) : m_rec(rec), m_extra(extra) {}

    void put(std::span<char> field, std::string_view utf8) { PutBytes(field, m_encode(utf8)); }
    bool fits(std::span<char> field, std::string_view utf8) { return ToCp932(utf8).size() <= field.size(); }
    void overflow(std::string_view label, std::string_view text)
    {
        m_overflow.push_back(std::string(label) + ": " + std::string(text));
    }

    void emails(const VcardCard& card)
    {
        std::string joined;
        for (const VcardProperty& property : card.properties) {
            if (property.name != "EMAIL") {
                continue;
            }
            const std::string address = Text(&property);
            if (address.empty()) {
                continue;
            }
            const std::string longer = joined.empty() ? address : joined + ";" + address;
            if (fits(m_rec.EMail, longer)) {
                joined = longer;
            } else {
                overflow("E-Mail", address);
            }
        }
        put(m_rec.EMail, joined);
    }

    void addresses(const VcardCard& card)
    {
        std::array<bool, 2> taken{};
        const std::array<std::span<char>, 2> fields = {m_rec.Address1, m_rec.Address2};
        const std::array<std::span<char>, 2> codes = {m_rec.PostCode1, m_rec.PostCode2};
        for (const VcardProperty& property : card.properties) {
            if (property.name != "ADR") {
                continue;
            }
            const auto parts = SplitVcardValue(property.value, ';');
            // Japanese order: prefecture, city, street, then the building.
            const std::string address = SingleLine(
                JoinPieces({Part(parts, 4), Part(parts, 3), Part(parts, 2), Part(parts, 1), Part(parts, 0)}, ""));
            const std::string code = Part(parts, 5);
            if (address.empty() && code.empty()) {
                continue;
            }
            std::optional<std::size_t> slot;
            for (std::size_t i :
                 property.has("TYPE", WorkType) ? std::array<std::size_t, 2>{1, 0} : std::array<std::size_t, 2>{0, 1}) {
                if (!slot && !taken[i]) {
                    slot = i;
                }
            }
            if (!slot || !fits(fields[*slot], address) || !fits(codes[*slot], code)) {
                overflow("住所", JoinPieces({code, address}, " "));
                continue;
            }
            taken[*slot] = true;
            put(fields[*slot], address);
            put(codes[*slot], code);
        }
    }

    void phones(const VcardCard& card)
    {
        std::array<bool, 4> taken{};
        std::array<int, 4> kinds{};
        const std::array<std::span<char>, 4> fields = {m_rec.Tel1, m_rec.Fax1, m_rec.Tel2, m_rec.Fax2};
        for (const VcardProperty& property : card.properties) {
            if (property.name != "TEL") {
                continue;
            }
            std::string number = Text(&property);
            if (number.rfind("tel:", 0) == 0) {
                number.erase(0, 4);
            }
            if (number.empty()) {
                continue;
            }
            std::optional<std::size_t> slot;
            for (std::size_t i : SlotOrder(property)) {
                if (!slot && !taken[i]) {
                    slot = i;
                }
            }
            if (!slot || !fits(fields[*slot], number)) {
                overflow(KindOf(property) == 1 ? "FAX" : "TEL", number);
                continue;
            }
            taken[*slot] = true;
            kinds[*slot] = KindOf(property);
            put(fields[*slot], number);
        }
        SetInteger(m_rec.PhoneKinds,
                   static_cast<std::int16_t>(kinds[0] * 1000 + kinds[1] * 100 + kinds[2] * 10 + kinds[3]));
    }

    void note(const VcardCard& card)
    {
        std::string remarks;
        std::string more;
        for (const VcardProperty& property : card.properties) {
            if (property.name != "NOTE") {
                continue;
            }
            std::string text = UnescapeVcardText(property.value);
            const std::string mark = property.param(std::string(VcardRemarksParam));
            std::string first;
            if (mark == "1") {
                first = text.substr(0, text.find('\n'));
                text.erase(0, std::min(text.size(), first.size() + 1));
            } else if (mark.empty() && text.find('\n') == std::string::npos && fits(m_rec.Remarks, Trim(text))) {
                first = text;
                text.clear();
            }
            if (remarks.empty() && !first.empty()) {
                remarks = Trim(first);
            } else if (!first.empty()) {
                text = first + (text.empty() ? "" : "\n" + text);
            }
            if (!text.empty()) {
                more += (more.empty() ? "" : "\n") + text;
            }
        }
        put(m_rec.Remarks, remarks);
        m_remarksExtra = WithCrLf(more);
    }

    // The remarks extra data with the overflow lines after it; true when there were any.
    bool finish()
    {
        std::string text = m_remarksExtra;
        for (const std::string& line : m_overflow) {
            text += (text.empty() ? "" : "\r\n") + line;
        }
        put(m_extra.RemarksExtra, text);
        return !m_overflow.empty();
    }

    bool lacking() const { return m_encode.lacking; }

private:
    static std::array<std::size_t, 4> SlotOrder(const VcardProperty& property)
    {
        const std::string slot = property.param(std::string(VcardSlotParam));
        for (std::size_t i = 0; i < VcardSlotNames.size(); ++i) {
            if (slot == VcardSlotNames[i]) {
                return {i, 0, 1, 2};
            }
        }
        if (property.has("TYPE", WorkType) && !property.has("TYPE", HomeType)) {
            return {2, 3, 0, 1};
        }
        return {0, 1, 2, 3};
    }

    static int KindOf(const VcardProperty& property)
    {
        const std::string own = property.param(std::string(VcardKindParam));
        if (own.size() == 1 && own[0] >= '0' && own[0] <= '4') {
            return own[0] - '0';
        }
        if (property.has("TYPE", "FAX")) {
            return 1;
        }
        if (property.has("TYPE", "PAGER")) {
            return 2;
        }
        return property.has("TYPE", "CELL") ? 3 : 0;
    }

    AddressRecord& m_rec;
    ExtraRecord& m_extra;
    Encoder m_encode;
    std::vector<std::string> m_overflow;
    std::string m_remarksExtra;
};

void SetCategories(const VcardCard& card, const CheckItemNameList& names, AddressRecord& rec)
{
    for (const VcardProperty& property : card.properties) {
        if (property.name != "CATEGORIES") {
            continue;
        }
        for (const std::string& category : SplitVcardValue(property.value, ',')) {
            for (std::size_t i = 0; i < names.size(); ++i) {
                if (!names[i].empty() && Trim(names[i]) == Trim(category)) {
                    rec.CheckItems[i] = '1';
                }
            }
        }
    }
}

// Our own joint names, as the export writes them; what has no given name is not one.
std::vector<JointName> JointNamesOf(const VcardCard& card)
{
    std::vector<JointName> names;
    for (const VcardProperty& property : card.properties) {
        if (property.name != VcardJoint || names.size() == MaxJointNames) {
            continue;
        }
        const auto parts = SplitVcardValue(property.value, ';');
        JointName name;
        name.family = parts.size() > 0 ? Trim(parts[0]) : "";
        name.given = parts.size() > 1 ? Trim(parts[1]) : "";
        name.honorific = parts.size() > 2 && !Trim(parts[2]).empty() ? Trim(parts[2]) : std::string(DefaultHonorific);
        if (!name.given.empty()) {
            names.push_back(name);
        }
    }
    return names;
}

// Our own card season, as the export writes it; a line with no year we know is passed over.
SeasonHistory SeasonOf(const VcardCard& card)
{
    constexpr int FirstYear = 1900;
    constexpr int LastYear = 2200;
    SeasonHistory season;
    for (const VcardProperty& property : card.properties) {
        if (property.name != VcardSeason) {
            continue;
        }
        const auto parts = SplitVcardValue(property.value, ';');
        const std::string head = parts.empty() ? "" : Trim(parts[0]);
        if (head == VcardSeasonStop) {
            season.stop = true;
            continue;
        }
        int year = 0;
        auto [end, error] = std::from_chars(head.data(), head.data() + head.size(), year);
        if (head.empty() || error != std::errc{} || end != head.data() + head.size() || year < FirstYear ||
            year > LastYear) {
            continue;
        }
        SeasonMarks marks;
        for (const std::string& flag : SplitVcardValue(parts.size() > 1 ? parts[1] : "", ',')) {
            const std::string name = Trim(flag);
            marks.sent = marks.sent || name == "sent";
            marks.received = marks.received || name == "received";
            marks.mourning = marks.mourning || name == "mourning";
        }
        marks.note = parts.size() > 2 ? Trim(parts[2]) : "";
        if (marks.any()) {
            season.years[year] = marks;
        }
    }
    return season;
}

void SetOwnFields(const VcardCard& card, CardFiller& fill, AddressRecord& rec, ExtraRecord& extra)
{
    fill.put(rec.ClassCode, Text(card.find(VcardClassCode)));
    fill.put(rec.Honorific, Text(card.find(VcardHonorific)));
    fill.put(extra.RelatedInfo, Text(card.find(VcardRelatedInfo)));
    const std::string options = Text(card.find(VcardPrintOptions));
    int value = 0;
    auto [end, ec] = std::from_chars(options.data(), options.data() + options.size(), value);
    if (ec == std::errc() && end == options.data() + options.size() && value >= 0 && value <= 11111) {
        SetInteger(rec.PrintOptions, static_cast<std::int16_t>(value));
    }
    const std::string sender = Text(card.find(VcardSender));
    if (sender == "0" || sender == "1") {
        rec.SenderChoice[0] = sender[0];
    }
}

void SetOrganisation(const VcardCard& card, CardFiller& fill, AddressRecord& rec)
{
    if (const VcardProperty* org = card.find("ORG")) {
        auto parts = SplitVcardValue(org->value, ';');
        fill.put(rec.Company, Part(parts, 0));
        parts.erase(parts.begin());
        for (auto& part : parts) {
            part = Trim(part);
        }
        fill.put(rec.Department, JoinPieces(parts, "\u3000"));
    }
}

} // namespace

std::string VcardReading(const VcardCard& card)
{
    const VcardProperty* last = card.find("X-PHONETIC-LAST-NAME");
    const VcardProperty* first = card.find("X-PHONETIC-FIRST-NAME");
    if (std::string reading = JoinReading(Text(last), Text(first)); !reading.empty()) {
        return reading;
    }
    if (std::string reading = JoinReading(Text(card.find("SORT-STRING")), {}); !reading.empty()) {
        return reading;
    }
    for (const VcardProperty& property : card.properties) {
        if (property.name == "SOUND" && (property.has("TYPE", "X-IRMC-N") || !property.param("X-IRMC-N").empty())) {
            const auto parts = SplitVcardValue(property.value, ';');
            if (std::string reading = JoinReading(Part(parts, 0), Part(parts, 1)); !reading.empty()) {
                return reading;
            }
        }
    }
    if (const VcardProperty* n = card.find("N")) {
        const std::string sortAs = n->paramText("SORT-AS");
        const auto parts = SplitVcardValue(sortAs, ',');
        return JoinReading(Part(parts, 0), Part(parts, 1));
    }
    return {};
}

std::int32_t ParseVcardBirthday(std::string_view value)
{
    std::string digits;
    bool noYear = value.starts_with("--");
    if (noYear) {
        value.remove_prefix(2);
    }
    for (char c : value.substr(0, value.find('T'))) {
        if (c >= '0' && c <= '9') {
            digits += c;
        } else if (c != '-') {
            return 0;
        }
    }
    if (digits.size() != (noYear ? 4u : 8u)) {
        return 0;
    }
    const int number = std::stoi(digits);
    const int month = number / 100 % 100;
    const int day = number % 100;
    if (month < 1 || month > 12 || day < 1 || day > 31) {
        return 0;
    }
    return number;
}

VcardFill FillFromVcard(const VcardCard& card,
                        const CheckItemNameList& checkNames,
                        const std::array<char, 15>& checks,
                        AddressRecord& rec,
                        ExtraRecord& extra)
{
    VcardFill result;
    result.name = CardName(card);
    ClearRecord(rec);
    ClearRecord(extra);
    CardFiller fill(rec, extra);
    const std::string reading = VcardReading(card);
    if (reading.empty()) {
        return result;
    }
    fill.put(rec.KanaName, reading);
    result.hasReading = !IsDeletedFirstByte(static_cast<unsigned char>(rec.KanaName[0])) && rec.KanaName[0] != ' ';
    std::copy(checks.begin(), checks.end(), rec.CheckItems);
    SetCategories(card, checkNames, rec);
    const VcardProperty* fn = card.find("FN");
    fill.put(rec.KanjiName, fn != nullptr && fn->param(std::string(VcardNoNameParam)) == "1" ? "" : result.name);
    fill.emails(card);
    fill.addresses(card);
    fill.phones(card);
    if (const VcardProperty* birthday = card.find("BDAY")) {
        SetLong(rec.Birthday, VcardBirthday(*birthday));
    }
    SetOrganisation(card, fill, rec);
    fill.note(card);
    SetOwnFields(card, fill, rec, extra);
    result.joint = JointNamesOf(card);
    result.season = SeasonOf(card);
    result.overflow = fill.finish();
    result.lacking = fill.lacking();
    return result;
}

VcardImportResult ImportVcardFile(StoreState& state,
                                  std::string_view file,
                                  const std::array<char, 15>& checks,
                                  const VcardProgress& progress,
                                  const ImportRecordFill& fillRecord)
{
    VcardCardReader cards(file);
    const CheckItemNameList names = CheckItemCaptions(state);
    // One writer holds the files from the first card to the last; the new records are published
    // when it goes.
    std::optional<RecordWriter> writer;
    std::optional<SideStore> side; // opened for the first card with joint names or a season
    AddressRecord rec{};
    ExtraRecord extra{};
    VcardImportResult result;
    VcardCard card;
    while (cards.next(card)) {
        ++result.cards;
        if (progress && result.cards % ProgressEveryCards == 0) {
            progress(cards.position(), cards.size());
        }
        const VcardFill fill = FillFromVcard(card, names, checks, rec, extra);
        if (!fill.hasReading) {
            ++result.failures;
            if (result.unread.size() < VcardNamesReported) {
                result.unread.push_back(fill.name.empty() ? "(名前なし)" : fill.name);
            }
            continue;
        }
        bool filled = fillRecord && fillRecord(rec);
        if (!writer) {
            writer = RecordWriter::hold(state);
        }
        if (!writer || writer->add(rec, extra) == 0) {
            result.stoppedAt = result.cards;
            break;
        }
        if (!fill.joint.empty() || fill.season != SeasonHistory{}) {
            if (!side) {
                side = SideStore::open(state, state.DbNo, SideStore::Access::Write);
            }
            const std::string identity = RecordIdentity(writer->written());
            if (side && !fill.joint.empty()) {
                side->setJointNames(identity, fill.joint);
            }
            if (side && fill.season != SeasonHistory{}) {
                side->setSeasonHistory(identity, fill.season);
            }
        }
        result.lackingCards += fill.lacking ? 1 : 0;
        result.overflowCards += fill.overflow ? 1 : 0;
        result.filledCards += filled ? 1 : 0;
    }
    return result;
}

std::string VcardImportReport(const VcardImportResult& result, std::string_view readingCaption)
{
    ImportCounts counts;
    counts.lines = result.cards;
    counts.failures = result.failures;
    counts.lackingLines = result.lackingCards;
    counts.filledLines = result.filledCards;
    std::string report = ImportReport(counts, readingCaption);
    if (!result.unread.empty()) {
        std::string names;
        for (const std::string& name : result.unread) {
            names += (names.empty() ? "" : "、") + name;
        }
        if (result.failures > static_cast<int>(result.unread.size())) {
            names += " ほか";
        }
        report += "\r\n（" + Trim(readingCaption) + "なし：" + names + "）";
    }
    if (result.overflowCards > 0) {
        report += "\r\n" + std::to_string(result.overflowCards) + std::string(VcardOverflowReport);
    }
    return report;
}

std::string VcardStoppedReport(const VcardImportResult& result)
{
    ImportCounts counts;
    counts.stoppedAt = result.stoppedAt;
    counts.failures = result.failures;
    return ImportStoppedReport(counts);
}

std::string VcardImportQuestion(const std::string& path)
{
    return path + " から\rvCardデータを取込んでもよろしいですか？";
}

} // namespace talik
