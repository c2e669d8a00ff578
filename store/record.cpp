#include "store/record.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/codec.h"
#include "platform/trim.h"

namespace talik {
namespace {

std::string_view TrimBlanks(std::string_view text)
{
    return TrimOf(text, " ");
}

std::string_view CutAtNul(std::string_view text)
{
    std::size_t nul = text.find('\0');
    return nul == std::string_view::npos ? text : text.substr(0, nul);
}

// The number of leading bytes of `cp932` that hold whole characters and fit in `width`.
std::size_t WholeCharsWithin(std::string_view cp932, std::size_t width)
{
    std::size_t pos = 0;
    while (pos < cp932.size()) {
        std::size_t step = (IsLeadByte(static_cast<unsigned char>(cp932[pos])) && pos + 1 < cp932.size()) ? 2 : 1;
        if (pos + step > width) {
            break;
        }
        pos += step;
    }
    return pos;
}

} // namespace

std::string CleanFixed(std::string_view text)
{
    return std::string(TrimBlanks(CutAtNul(text)));
}

// Every scan of the file runs this on each field it shows: plain loops over the bytes, rather than
// a search of the blank set for every byte.
std::string_view CleanFixedBytes(std::string_view field)
{
    const void* nul = std::memchr(field.data(), '\0', field.size());
    std::size_t end =
        nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - field.data()) : field.size();
    // A field is mostly blank padding: every list, search and load passes over it, eight bytes at a time.
    constexpr std::uint64_t EightBlanks = 0x2020202020202020;
    for (std::uint64_t word; end >= sizeof(word); end -= sizeof(word)) {
        std::memcpy(&word, field.data() + end - sizeof(word), sizeof(word));
        if (word != EightBlanks) {
            break;
        }
    }
    while (end > 0 && field[end - 1] == ' ') {
        --end;
    }
    std::size_t begin = 0;
    while (begin < end && field[begin] == ' ') {
        ++begin;
    }
    return field.substr(begin, end - begin);
}

std::string GetText(std::span<const char> field)
{
    return FromCp932(CleanFixedBytes(std::string_view(field.data(), field.size())));
}

void SetText(std::span<char> field, std::string_view utf8)
{
    std::string bytes = ToCp932(utf8);
    std::size_t keep = WholeCharsWithin(bytes, field.size());
    std::memcpy(field.data(), bytes.data(), keep);
    std::memset(field.data() + keep, ' ', field.size() - keep);
}

bool FitsField(std::size_t width, std::string_view utf8)
{
    return static_cast<std::size_t>(AnsiLen(utf8)) <= width;
}

std::int16_t GetInteger(const IntegerField& field)
{
    return static_cast<std::int16_t>(field[0] | (field[1] << 8));
}

void SetInteger(IntegerField& field, std::int16_t value)
{
    auto bits = static_cast<std::uint16_t>(value);
    field[0] = static_cast<unsigned char>(bits & 0xFF);
    field[1] = static_cast<unsigned char>(bits >> 8);
}

std::int32_t GetLong(const LongField& field)
{
    std::uint32_t bits = static_cast<std::uint32_t>(field[0]) | (static_cast<std::uint32_t>(field[1]) << 8) |
                         (static_cast<std::uint32_t>(field[2]) << 16) | (static_cast<std::uint32_t>(field[3]) << 24);
    return static_cast<std::int32_t>(bits);
}

void SetLong(LongField& field, std::int32_t value)
{
    auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        field[i] = static_cast<unsigned char>((bits >> (8 * i)) & 0xFF);
    }
}

int PrintOptionsValue(const AddressRecord& rec)
{
    int value = GetInteger(rec.PrintOptions);
    return (value < 0 || value > 11111) ? 0 : value;
}

int PhoneKindsValue(const AddressRecord& rec)
{
    int value = GetInteger(rec.PhoneKinds);
    return (value < 0 || value > 4444) ? 0 : value;
}

int PhoneKind(const AddressRecord& rec, int slot)
{
    static constexpr int Place[4] = {1000, 100, 10, 1};
    if (slot < 0 || slot > 3) {
        return 0;
    }
    int digit = PhoneKindsValue(rec) / Place[slot] % 10;
    return digit > 4 ? 0 : digit;
}

std::string FormatBirthday(std::int32_t yyyymmdd)
{
    long long value = yyyymmdd;
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (digits.size() < 8) {
        digits.insert(0, 8 - digits.size(), '0');
    }
    std::size_t yearDigits = digits.size() - 4;
    std::string text = value < 0 ? "-" : "";
    return text + digits.substr(0, yearDigits) + "/" + digits.substr(yearDigits, 2) + "/" +
           digits.substr(yearDigits + 2);
}

std::string StripLineBreaks(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c != '\n' && c != '\r') {
            out += c;
        }
    }
    return out;
}

int DigitKeyFilter(int key)
{
    bool passes = key == 8 || key == '-' || key == '.' || (key >= '0' && key <= '9');
    return passes ? key : 0;
}

void MarkDeleted(AddressRecord& rec)
{
    std::memmove(rec.KanaName + 1, rec.KanaName, sizeof(rec.KanaName) - 1);
    rec.KanaName[0] = static_cast<char>(DeletedMark);
}

bool IsDeletedSlot(const AddressRecord& rec)
{
    return static_cast<unsigned char>(rec.KanaName[0]) == DeletedMark;
}

bool AllZero(std::span<const unsigned char> bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](unsigned char b) { return b == 0; });
}

bool IsNeverUsedSlot(const AddressRecord& rec)
{
    return AllZero(Bytes(rec));
}

HeaderState BringUpHeader(MainHeader& header)
{
    std::string_view signature(header.Signature, sizeof(header.Signature));
    HeaderState state = HeaderState::Current;
    if (CleanFixedBytes(signature).empty()) {
        SetLong(header.LastRecNo, 1);
        std::memset(header.Reserved, ' ', sizeof(header.Reserved));
        state = HeaderState::Fresh;
    } else if (signature != CurrentSignature) {
        // The earlier layout kept the highest record number in the second Long. A header whose
        // second Long already holds the current marker only lost its signature's padding.
        if (GetLong(header.OldCount) != CurrentOldCount) {
            std::memcpy(header.LastRecNo, header.OldCount, sizeof(header.LastRecNo));
        }
        state = HeaderState::Converted;
    } else {
        return state;
    }
    std::memcpy(header.Signature, CurrentSignature.data(), CurrentSignature.size());
    SetLong(header.OldCount, CurrentOldCount);
    SetPassword(header, "", 0);
    return state;
}

std::int32_t SaneLastRecNo(std::int32_t stored, std::int64_t recordsInFile, std::int32_t maxRecNo)
{
    if (stored >= 1 && stored <= maxRecNo) {
        return stored;
    }
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(recordsInFile, 1, maxRecNo));
}

std::string MainFileName(const std::string& dataPath, int dbNo)
{
    char name[32];
    std::snprintf(name, sizeof(name), "/MRPDAT%02d.QX1", dbNo);
    return dataPath + name;
}

std::string ExtraFileName(const std::string& dataPath, int dbNo)
{
    char name[32];
    std::snprintf(name, sizeof(name), "/MRPDAT%02d.QX2", dbNo);
    return dataPath + name;
}

std::string RecordKey(std::int32_t recNo)
{
    char key[16];
    std::snprintf(key, sizeof(key), "K%05d", static_cast<int>(recNo));
    return key;
}

std::int32_t RecNoOfKey(std::string_view key)
{
    std::string_view digits = key.size() > 5 ? key.substr(key.size() - 5) : key;
    std::int32_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            break;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

void ClearRecord(AddressRecord& rec)
{
    std::memset(&rec, ' ', sizeof(rec));
    SetLong(rec.Birthday, 0);
    SetInteger(rec.PrintOptions, 0);
    SetInteger(rec.PhoneKinds, 0);
}

void ClearRecord(ExtraRecord& rec)
{
    std::memset(&rec, ' ', sizeof(rec));
}

} // namespace talik
