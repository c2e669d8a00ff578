#pragma once
// The stored form of an address: the 600-byte AddressRecord of the main file, the 512-byte
// ExtraRecord of the extra file, and the header each file keeps as its record 1.
//
// Records are kept exactly as stored (CP932 bytes); text is decoded on read and encoded, cut and
// blank-padded on write through the helpers below, and bytes nobody sets are written back as read.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace talik {

// The five labels a phone field can carry, by kind 0..4.
inline constexpr std::array<std::string_view, 5> PhoneKindNames{"ＴＥＬ　", "ＦＡＸ　", "ポケベル", "携帯電話",
                                                                "ＰＨＳ　"};

// The honorific a name takes when none was chosen.
inline constexpr std::string_view DefaultHonorific = "様";

// Numbers are little-endian: "Integer" 2 bytes, "Long" 4 bytes.
using IntegerField = unsigned char[2];
using LongField = unsigned char[4];

struct AddressRecord
{
    char KanaName[30];  // reading in half-width katakana; first byte 0xFF marks a deleted record
    char KanjiName[30]; // name as written
    char EMail[50];
    char Address1[80];
    char PostCode1[10];
    char Tel1[18];
    char Fax1[18];
    char Address2[80];
    char PostCode2[10];
    char Tel2[18];
    char Fax2[18];
    LongField Birthday;        // yyyymmdd, 0 = none
    IntegerField PrintOptions; // five decimal digits; above 11111 reads as 0
    char Company[60];
    char Department[60];
    char Remarks[60];
    char CheckItems[15]; // "1" set, blank not set
    char ClassCode[10];
    char Honorific[10];
    IntegerField PhoneKinds; // four decimal digits 0..4; above 4444 reads as 0
    char SenderChoice[1];    // "0" or "1"
    char Reserved[14];
};

struct ExtraRecord
{
    char RemarksExtra[400]; // may hold CR LF
    char RelatedInfo[72];
    char Reserved[40];
};

struct MainHeader
{
    char Signature[16];
    LongField LastRecNo;
    LongField OldCount;
    char HeaderFlags[6];
    char CheckItemNames[15][20];
    char PasswordField[30];
    char Reserved[240];
};

struct ExtraHeader
{
    char Unused[20];
    LongField LastRecNo; // copy of the main header's, written whenever it changes, never read
    char Reserved[488];
};

static_assert(sizeof(AddressRecord) == 600 && offsetof(AddressRecord, Birthday) == 362 &&
              offsetof(AddressRecord, PrintOptions) == 366 && offsetof(AddressRecord, Company) == 368 &&
              offsetof(AddressRecord, CheckItems) == 548 && offsetof(AddressRecord, PhoneKinds) == 583 &&
              offsetof(AddressRecord, SenderChoice) == 585 && offsetof(AddressRecord, Reserved) == 586);
static_assert(sizeof(ExtraRecord) == 512 && offsetof(ExtraRecord, RelatedInfo) == 400);
static_assert(sizeof(MainHeader) == 600 && offsetof(MainHeader, LastRecNo) == 16 &&
              offsetof(MainHeader, HeaderFlags) == 24 && offsetof(MainHeader, CheckItemNames) == 30 &&
              offsetof(MainHeader, PasswordField) == 330 && offsetof(MainHeader, Reserved) == 360);
static_assert(sizeof(ExtraHeader) == 512 && offsetof(ExtraHeader, LastRecNo) == 20);

inline constexpr std::size_t MainRecLen = sizeof(AddressRecord);
inline constexpr std::size_t ExtraRecLen = sizeof(ExtraRecord);
inline constexpr std::string_view CurrentSignature = "Mirepol32 7.00  ";
inline constexpr std::int32_t CurrentOldCount = static_cast<std::int32_t>(0xFF0000FFu);
inline constexpr unsigned char DeletedMark = 0xFF;

// The raw bytes of a record, for file I/O.
template <class T> std::span<unsigned char> Bytes(T& rec)
{
    return {reinterpret_cast<unsigned char*>(&rec), sizeof(T)};
}
template <class T> std::span<const unsigned char> Bytes(const T& rec)
{
    return {reinterpret_cast<const unsigned char*>(&rec), sizeof(T)};
}

// True when every byte is zero: a record never written, such as one past the end of its file.
bool AllZero(std::span<const unsigned char> bytes);

// --- text fields -----------------------------------------------------------------------------

// Cut at the first NUL, then remove leading and trailing blanks.
std::string CleanFixed(std::string_view text);
// The field's bytes as CleanFixed leaves them (still CP932).
std::string_view CleanFixedBytes(std::string_view field);

// The stored text of a field, decoded and cleaned.
std::string GetText(std::span<const char> field);
template <std::size_t N> std::string GetText(const char (&field)[N])
{
    return GetText(std::span<const char>(field, N));
}
// Writes `utf8` left-aligned, blank-padded; a value longer than the field is cut at the last whole
// character that fits, so no half of a double-byte character is ever stored.
void SetText(std::span<char> field, std::string_view utf8);
template <std::size_t N> void SetText(char (&field)[N], std::string_view utf8)
{
    SetText(std::span<char>(field, N), utf8);
}
// True when `utf8` fits the field's width in CP932 bytes.
bool FitsField(std::size_t width, std::string_view utf8);

// --- numbers ---------------------------------------------------------------------------------

std::int16_t GetInteger(const IntegerField& field);
void SetInteger(IntegerField& field, std::int16_t value);
std::int32_t GetLong(const LongField& field);
void SetLong(LongField& field, std::int32_t value);

// The per-record print options and phone kinds as the program reads them (out of range -> 0).
int PrintOptionsValue(const AddressRecord& rec);
int PhoneKindsValue(const AddressRecord& rec);
// The kind (0..4) of phone slot `slot` (0..3): the slot's decimal digit of PhoneKinds; a digit
// above 4 reads as 0.
int PhoneKind(const AddressRecord& rec, int slot);

// The birthday number shown with the pattern "0000/00/00" (19650203 -> "1965/02/03").
std::string FormatBirthday(std::int32_t yyyymmdd);

// --- helpers of the editing fields -------------------------------------------------------------

// Every LF and CR removed.
std::string StripLineBreaks(std::string_view text);
// Key filter of number-only fields: backspace, "-", "." and digits pass; anything else becomes 0.
int DigitKeyFilter(int key);

// --- deleted and unused slots ------------------------------------------------------------------

// Marks the record deleted: 0xFF followed by the old reading, cut to the field.
void MarkDeleted(AddressRecord& rec);
// A record whose reading begins with the deleted mark.
bool IsDeletedSlot(const AddressRecord& rec);
// A record that was never written (every byte zero), such as one past the end of the file.
bool IsNeverUsedSlot(const AddressRecord& rec);

// --- stored password ---------------------------------------------------------------------------

// The stored form of `password`; `secondsUnits` is the salt digit (the units of the seconds).
std::string EncodePassword(std::string_view password, int secondsUnits);
// The password held by a stored field (its raw 30 bytes); empty when none is set.
std::string DecodePassword(std::span<const char> passwordField);
// True when the stored field holds a password (its second byte is not zero).
bool HasPassword(std::span<const char> passwordField);
// Writes the stored form of `password` into the field (an empty password removes it).
void SetPassword(MainHeader& header, std::string_view password, int secondsUnits);

// --- headers -----------------------------------------------------------------------------------

// What opening a main file found in its header.
enum class HeaderState
{
    Current,   // current signature: nothing to do
    Fresh,     // empty signature: a fresh header was made
    Converted, // earlier layout: brought to the current one
};
// Brings a header read from a main file to the current form (in place) and says what it did; the
// caller writes it back unless it was already current.
HeaderState BringUpHeader(MainHeader& header);

// The highest record number to trust: the stored one when it can be right (1..maxRecNo), else,
// for a damaged header, as many records as the file holds (at least 1, at most maxRecNo).
std::int32_t SaneLastRecNo(std::int32_t stored, std::int64_t recordsInFile, std::int32_t maxRecNo);

// --- empty records -------------------------------------------------------------------------------

// Every text field blank, every number zero: the buffer of a new address.
void ClearRecord(AddressRecord& rec);
void ClearRecord(ExtraRecord& rec);

// --- file names --------------------------------------------------------------------------------

// "MRPDAT" + the database number in two digits + ".QX1" / ".QX2", inside `dataPath`.
std::string MainFileName(const std::string& dataPath, int dbNo);
std::string ExtraFileName(const std::string& dataPath, int dbNo);

// The key "K00002" of a list row, and the record number read back from a key's last five digits.
std::string RecordKey(std::int32_t recNo);
std::int32_t RecNoOfKey(std::string_view key);

} // namespace talik
