#pragma once
// Reading CSV text as spreadsheets and older copies of the program write it: the encoding of the
// whole file, lines ended by CR LF, LF or CR, and fields split at commas with double quotes.
//
// The reader works on bytes. CP932 trail bytes never take the values of the comma, the double
// quote, CR or LF, so CP932 and UTF-8 text split alike.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "interchange/common.h"

namespace talik {

// The encoding the user asks for.
enum class CsvEncoding
{
    Auto,
    Cp932,
    Utf8,
};

// The encoding a file is read in.
enum class CsvFileEncoding
{
    Cp932,
    Utf8,
    Unreadable, // a UTF-16/32 byte order mark or a NUL byte: not a text file this program reads
};

// Decides from the whole file: a UTF-8 BOM gives UTF-8; a UTF-16/32 BOM or any NUL byte makes the
// file unreadable; else a file of valid UTF-8 holding at least one byte of 0x80 or more is UTF-8
// (what spreadsheets on Linux write, without BOM); else CP932.
CsvFileEncoding DetectCsvEncoding(std::string_view file);
// The encoding to read in: the user's choice, or the detected one for Auto. An unreadable file
// stays unreadable whatever the choice.
CsvFileEncoding ChooseCsvEncoding(std::string_view file, CsvEncoding wanted);

// A quoted field left open at a line end may run on over this many lines and bytes at most.
inline constexpr int MaxFieldLines = 100;
inline constexpr std::size_t MaxFieldBytes = 64 * 1024;

class CsvReader
{
public:
    explicit CsvReader(std::string_view text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    // How far the reader got, in bytes of the text.
    std::size_t position() const { return m_pos; }
    // The next physical line without its line end.
    std::string_view readLine();
    // The next record into `fields` (a quoted field may hold line breaks, as CR LF). False at the end.
    bool readRecord(std::vector<std::string>& fields);

private:
    // Reads the quoted field that starts after the quote at `start` of `line`; `line` moves on
    // when the field runs over several lines. Returns where reading goes on in `line`, or npos
    // when the record ends with this field.
    std::size_t readQuoted(std::string_view& line, std::size_t start, std::string& field);
    // Continues a field left open at a line end on the lines that follow. True with `line` and
    // `next` set when it closes there; false (nothing consumed) when it does not close in time.
    bool continueQuoted(std::string_view& line, std::size_t& next, std::string& field);

    std::string_view m_text;
    std::size_t m_pos = 0;
};

// Splits one line alone (no continuation onto other lines).
std::vector<std::string> SplitCsvLine(std::string_view line);

} // namespace talik
