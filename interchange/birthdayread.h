#pragma once
// Reading a birthday written by another program: the export's own "yyyy/mm/dd" as always, and the
// forms people and other address books write: unpadded or hyphenated Western dates, eight digits,
// "1965年4月12日", and Japanese-era dates ("昭和25年1月2日", "S25.1.2", "H7/3/4", "R2年5月1日",
// "平成元年…"), in half- or full-width characters.
#include <cstdint>
#include <string_view>

namespace talik {

struct BirthdayReading
{
    std::int32_t value = 0; // yyyymmdd as stored; 0 for none
    bool readable = true;   // false when there was text that is no date
};

// A birthday field's CP932 text, untrimmed. A text of exactly ten bytes with digits at the year,
// month and day places is read as the export writes it, whatever stands between them (so an
// exported "0000/00/00" is no birthday, and "1965/00/00" keeps its unknown month and day); other
// texts are read trimmed, and must be a real day. An empty text is no birthday, and readable.
BirthdayReading ReadBirthday(std::string_view cp932);

} // namespace talik
