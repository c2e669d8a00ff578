#pragma once
// The print options one address record keeps: which address, company and department print, the
// honorific and whether it prints, and which sender the card carries.
#include <array>
#include <string>
#include <string_view>

namespace talik {

struct AddressRecord;

struct RecordPrintChoices
{
    bool honorificOnlyAfterLast = false; // digit 1 of PrintOptions
    bool noHonorific = false;            // digit 2
    bool address2 = false;               // digit 3
    bool company = false;                // digit 4
    bool department = false;             // digit 5
    std::string honorific;               // "様" when the record holds none
    bool secondSender = false;           // SenderChoice "1"
};

inline constexpr std::array<std::string_view, 6> HonorificChoices{"様", "殿", "御中", "先生", "係", "行き"};
inline constexpr std::size_t HonorificBytes = 10; // the record's field, in CP932 bytes

// The five digits of a PrintOptions value formatted "00000"; a value above 11111 (or below 0)
// counts as 0 and a digit above 1 as 1.
RecordPrintChoices UnpackPrintOptions(int value);
// digit1 × 10000 + digit2 × 1000 + digit3 × 100 + digit4 × 10 + digit5.
int PackPrintOptions(const RecordPrintChoices& choices);

// The choices of the record in the buffer, and back into it (PrintOptions, Honorific left-aligned
// in its field, SenderChoice "0" / "1").
RecordPrintChoices ReadPrintChoices(const AddressRecord& rec);
void WritePrintChoices(const RecordPrintChoices& choices, AddressRecord& rec);

// "印刷設定：" and the record's name.
std::string PrintSettingsTitle(const AddressRecord& rec);

} // namespace talik
