#include "search/searchconditions.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstddef>
#include <cstring>

#include "platform/codec.h"
#include "store/identity.h"

namespace talik {
namespace {

#define TALIK_CONDITION_FIELD(name)                                                                                    \
    {                                                                                                                  \
#name, offsetof(AddressRecord, name), sizeof(AddressRecord::name)                                              \
    }

constexpr TextConditionField ConditionFields[] = {
    TALIK_CONDITION_FIELD(KanaName),  TALIK_CONDITION_FIELD(KanjiName), TALIK_CONDITION_FIELD(Address1),
    TALIK_CONDITION_FIELD(PostCode1), TALIK_CONDITION_FIELD(Tel1),      TALIK_CONDITION_FIELD(Fax1),
    TALIK_CONDITION_FIELD(Address2),  TALIK_CONDITION_FIELD(PostCode2), TALIK_CONDITION_FIELD(Tel2),
    TALIK_CONDITION_FIELD(Fax2),      TALIK_CONDITION_FIELD(Company),   TALIK_CONDITION_FIELD(Department),
    TALIK_CONDITION_FIELD(Remarks),   TALIK_CONDITION_FIELD(ClassCode), TALIK_CONDITION_FIELD(EMail),
};

#undef TALIK_CONDITION_FIELD

// The year, month and day of a birthday condition, each compared unless it is all zeros.
struct BirthdayPartPlace
{
    std::size_t start;
    std::size_t length;
    std::string_view unset;
};
constexpr BirthdayPartPlace BirthdayPlaces[] = {{1, 4, "0000"}, {5, 2, "00"}, {7, 2, "00"}};

// Finds the places where a needle may start: its first and last byte both in place. Eight places
// are tested at once in a 64-bit word, which beats a library search on fields this short.
class CandidateFilter
{
public:
    explicit CandidateFilter(std::string_view needle)
        : m_first(Repeated(needle.front())), m_last(Repeated(needle.back())), m_lastOffset(needle.size() - 1)
    {}

    // One bit (the high bit of byte i) for each of the places at .. at+7 that is a candidate; the
    // bytes up to at + 7 + the needle's length - 1 must be readable.
    std::uint64_t eightAt(const unsigned char* at) const
    {
        const std::uint64_t differs = (Load(at) ^ m_first) | (Load(at + m_lastOffset) ^ m_last);
        // A byte of `differs` is zero exactly where both bytes matched.
        const std::uint64_t low = 0x7F7F7F7F7F7F7F7Full;
        return ~(((differs & low) + low) | differs | low);
    }

    bool oneAt(const unsigned char* at) const
    {
        return at[0] == (m_first & 0xFF) && at[m_lastOffset] == (m_last & 0xFF);
    }

private:
    static std::uint64_t Repeated(char byte) { return 0x0101010101010101ull * static_cast<unsigned char>(byte); }
    static std::uint64_t Load(const unsigned char* at)
    {
        std::uint64_t word;
        std::memcpy(&word, at, sizeof word);
        return word;
    }

    std::uint64_t m_first;
    std::uint64_t m_last;
    std::size_t m_lastOffset;
};
static_assert(std::endian::native == std::endian::little, "CandidateFilter numbers the places from the low byte");

// One search of a needle in a field (the needle not empty and not longer than the field): the
// candidate places are tried in increasing order, the lead bytes walked only as far as a match.
class BoundarySearch
{
public:
    BoundarySearch(std::string_view field, std::string_view needle)
        : m_bytes(reinterpret_cast<const unsigned char*>(field.data())), m_needle(needle), m_filter(needle),
          m_places(field.size() - needle.size() + 1)
    {}

    bool found()
    {
        if (m_places < 8) {
            return foundPlaceByPlace();
        }
        std::size_t at = 0;
        for (; at + 8 <= m_places; at += 8) {
            if (anyIn(at, m_filter.eightAt(m_bytes + at))) {
                return true;
            }
        }
        // The last places in one more word, overlapping the one before; the places seen are masked.
        const std::size_t tail = m_places - 8;
        return at < m_places &&
               anyIn(tail, m_filter.eightAt(m_bytes + tail) & (~std::uint64_t{0} << ((at - tail) * 8)));
    }

private:
    bool foundPlaceByPlace()
    {
        for (std::size_t at = 0; at < m_places; ++at) {
            if (m_filter.oneAt(m_bytes + at) && matchesAt(at)) {
                return true;
            }
        }
        return false;
    }

    bool anyIn(std::size_t base, std::uint64_t candidates)
    {
        for (; candidates != 0; candidates &= candidates - 1) {
            if (matchesAt(base + static_cast<std::size_t>(std::countr_zero(candidates)) / 8)) {
                return true;
            }
        }
        return false;
    }

    bool matchesAt(std::size_t at)
    {
        if (std::memcmp(m_bytes + at, m_needle.data(), m_needle.size()) != 0) {
            return false;
        }
        while (m_walked < at) {
            m_walked += IsLeadByte(m_bytes[m_walked]) ? 2 : 1;
        }
        return m_walked == at;
    }

    const unsigned char* m_bytes;
    std::string_view m_needle;
    CandidateFilter m_filter;
    std::size_t m_places;     // the places a match can start at: 0 .. m_places - 1
    std::size_t m_walked = 0; // a character boundary of the field
};

std::string_view FieldOf(const AddressRecord& rec, std::size_t offset, std::size_t width)
{
    return {reinterpret_cast<const char*>(&rec) + offset, width};
}

} // namespace

std::span<const TextConditionField> TextConditionFields()
{
    return ConditionFields;
}

void CleanConditions(AddressRecord& rec)
{
    for (const auto& field : ConditionFields) {
        char* bytes = reinterpret_cast<char*>(&rec) + field.offset;
        std::string_view clean = CleanFixedBytes({bytes, field.width});
        // An empty field may come back without any data pointer, which memmove must not be given.
        if (!clean.empty()) {
            std::memmove(bytes, clean.data(), clean.size());
        }
        std::memset(bytes + clean.size(), ' ', field.width - clean.size());
    }
}

bool FoundAtCharBoundary(std::string_view field, std::string_view needle)
{
    if (needle.empty() || needle.size() > field.size()) {
        return needle.empty();
    }
    return BoundarySearch(field, needle).found();
}

BirthdayDigits::BirthdayDigits(std::int32_t yyyymmdd)
{
    const long long value = yyyymmdd;
    const auto magnitude = static_cast<unsigned long long>(value < 0 ? -value : value);
    char digits[12];
    const auto* end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
    const auto count = static_cast<std::size_t>(end - digits);
    if (value < 0) {
        m_text[m_size++] = '-';
    }
    for (std::size_t pad = count; pad < 8; ++pad) {
        m_text[m_size++] = '0';
    }
    std::memcpy(m_text.data() + m_size, digits, count);
    m_size += count;
}

std::string_view BirthdayDigits::part(std::size_t start, std::size_t length) const
{
    return std::string_view(m_text.data(), m_size).substr(std::min(start - 1, m_size), length);
}

SearchConditions::SearchConditions(const AddressRecord& rec)
{
    for (const auto& field : ConditionFields) {
        std::string_view needle = CleanFixedBytes(FieldOf(rec, field.offset, field.width));
        if (!needle.empty()) {
            m_texts.push_back({field.offset, field.width, std::string(needle)});
        }
    }
    if (const std::int32_t birthday = GetLong(rec.Birthday); birthday != 0) {
        const BirthdayDigits digits(birthday);
        for (const auto& place : BirthdayPlaces) {
            std::string_view part = digits.part(place.start, place.length);
            if (part != place.unset) {
                m_birthdayParts.push_back({place.start, place.length, std::string(part)});
            }
        }
    }
    for (std::size_t item = 0; item < sizeof rec.CheckItems; ++item) {
        if (rec.CheckItems[item] == '1') {
            m_checkItems.push_back(item);
        }
    }
}

void SearchConditions::requirePeople(std::set<std::string> people)
{
    m_people = std::move(people);
}

bool SearchConditions::textHolds(const TextTest& test, const AddressRecord& rec) const
{
    return FoundAtCharBoundary(FieldOf(rec, test.offset, test.width), test.needle);
}

bool SearchConditions::allHold(const AddressRecord& rec) const
{
    if (m_people && !m_people->contains(RecordIdentity(rec))) {
        return false;
    }
    for (const auto& test : m_texts) {
        if (!textHolds(test, rec)) {
            return false;
        }
    }
    if (!m_birthdayParts.empty()) {
        const BirthdayDigits digits(GetLong(rec.Birthday));
        for (const auto& part : m_birthdayParts) {
            if (digits.part(part.start, part.length) != part.digits) {
                return false;
            }
        }
    }
    return std::all_of(m_checkItems.begin(), m_checkItems.end(),
                       [&rec](std::size_t item) { return rec.CheckItems[item] == '1'; });
}

SearchConditions::FieldPlace SearchConditions::firstLook() const
{
    if (m_people) {
        return {offsetof(AddressRecord, Reserved), sizeof(AddressRecord::Reserved)}; // the identity
    }
    if (!m_texts.empty()) {
        return {m_texts.front().offset, m_texts.front().width};
    }
    if (!m_birthdayParts.empty()) {
        return {offsetof(AddressRecord, Birthday), sizeof(AddressRecord::Birthday)};
    }
    return {offsetof(AddressRecord, CheckItems), sizeof(AddressRecord::CheckItems)};
}

bool SearchConditions::anyHolds(const AddressRecord& rec) const
{
    if (m_people && m_people->contains(RecordIdentity(rec))) {
        return true;
    }
    for (const auto& test : m_texts) {
        if (textHolds(test, rec)) {
            return true;
        }
    }
    if (!m_birthdayParts.empty()) {
        const BirthdayDigits digits(GetLong(rec.Birthday));
        for (const auto& part : m_birthdayParts) {
            if (digits.part(part.start, part.length) == part.digits) {
                return true;
            }
        }
    }
    return std::any_of(m_checkItems.begin(), m_checkItems.end(),
                       [&rec](std::size_t item) { return rec.CheckItems[item] == '1'; });
}

} // namespace talik
