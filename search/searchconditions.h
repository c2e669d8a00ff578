#pragma once
// The conditions of a search as the record editor leaves them in the record buffer, and the test
// of one stored record against them. Records are tested on their stored CP932 bytes: nothing is
// decoded, so a full scan costs little more than reading the file.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "store/record.h"

namespace talik {

// A text field that can carry a condition.
struct TextConditionField
{
    std::string_view name;
    std::size_t offset;
    std::size_t width;
};

// The fifteen text fields, in the order their conditions are tested.
std::span<const TextConditionField> TextConditionFields();

// Cuts each of the fifteen text fields of `rec` at its first NUL, trims the blanks and writes it
// back left-aligned and blank-padded: an empty field is no condition.
void CleanConditions(AddressRecord& rec);

// True when `needle` occurs in `field` at a position that starts a character of the field (the
// lead bytes are walked from the field's start), so half of a double-byte character never matches.
bool FoundAtCharBoundary(std::string_view field, std::string_view needle);

// A birthday written with the pattern "00000000": eight digits at least, a minus sign first when
// the number is negative.
class BirthdayDigits
{
public:
    explicit BirthdayDigits(std::int32_t yyyymmdd);
    // The characters start .. start+length-1 (1-based), fewer at the end of the text.
    std::string_view part(std::size_t start, std::size_t length) const;

private:
    std::array<char, 16> m_text{};
    std::size_t m_size = 0;
};

class SearchConditions
{
public:
    // Takes the conditions from cleaned buffer `rec`.
    explicit SearchConditions(const AddressRecord& rec);

    // Adds the joint-name condition: the record's identity is one of `people`.
    void requirePeople(std::set<std::string> people);

    // No condition at all was given.
    bool empty() const { return m_texts.empty() && m_birthdayParts.empty() && m_checkItems.empty() && !m_people; }
    // Every test holds: a text found, a birthday part equal, a condition check item set.
    bool allHold(const AddressRecord& rec) const;
    // At least one test holds (the exclude search removes such records).
    bool anyHolds(const AddressRecord& rec) const;

    // The bytes of a record that the first test looks at, which decide most records: a pass asks
    // for them ahead of time.
    struct FieldPlace
    {
        std::size_t offset;
        std::size_t width;
    };
    FieldPlace firstLook() const;

private:
    struct TextTest
    {
        std::size_t offset;
        std::size_t width;
        std::string needle; // stored bytes of the condition
    };
    struct BirthdayPart
    {
        std::size_t start;
        std::size_t length;
        std::string digits;
    };

    bool textHolds(const TextTest& test, const AddressRecord& rec) const;

    std::vector<TextTest> m_texts;
    std::vector<BirthdayPart> m_birthdayParts;
    std::vector<std::size_t> m_checkItems;         // 0-based items set in the condition
    std::optional<std::set<std::string>> m_people; // identities the joint-name condition holds for
};

} // namespace talik
