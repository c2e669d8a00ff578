#include "interchange/csvread.h"

#include <algorithm>

#include "platform/utf8.h"

namespace talik {
namespace {

constexpr std::size_t None = std::string_view::npos;

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// True when the whole text is well-formed UTF-8 and holds at least one byte of 0x80 or more.
bool IsUtf8WithHighBytes(std::string_view text)
{
    bool high = false;
    std::size_t i = 0;
    while (i < text.size()) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = ValidUtf8Length(text.substr(i));
        if (length < 2) {
            return false;
        }
        high = true;
        i += length;
    }
    return high;
}

enum class ScanEnd
{
    Closed, // a quote followed by a comma or the line end
    Broken, // a quote followed by anything else
    Open,   // the line ended inside the quotes
};

struct Scan
{
    ScanEnd end;
    std::size_t at; // Closed: just past the closing quote; Broken: the stray quote
};

// Reads a quoted field the RFC 4180 way from `from` on, appending its text to `out`.
Scan ScanQuoted(std::string_view line, std::size_t from, std::string& out)
{
    std::size_t i = from;
    for (;;) {
        std::size_t quote = line.find('"', i);
        if (quote == None) {
            out.append(line.substr(i));
            return {ScanEnd::Open, line.size()};
        }
        out.append(line.substr(i, quote - i));
        if (quote + 1 == line.size() || line[quote + 1] == ',') {
            return {ScanEnd::Closed, quote + 1};
        }
        if (line[quote + 1] != '"') {
            return {ScanEnd::Broken, quote};
        }
        out += '"';
        i = quote + 2;
    }
}

// The first quote from `from` on that is followed by a comma or ends the line: where a field of
// an older export, whose quotes were written undoubled, ends.
std::size_t FirstClosingQuote(std::string_view line, std::size_t from)
{
    for (std::size_t quote = line.find('"', from); quote != None; quote = line.find('"', quote + 1)) {
        if (quote + 1 == line.size() || line[quote + 1] == ',') {
            return quote;
        }
    }
    return None;
}

// Where reading goes on after a closing quote at `afterQuote` - 1; None when the record ends. A
// comma that ends the line after a quoted field opens no further field.
std::size_t AfterClosingQuote(std::string_view line, std::size_t afterQuote)
{
    if (afterQuote + 1 >= line.size()) {
        return None;
    }
    return afterQuote + 1;
}

} // namespace

CsvFileEncoding DetectCsvEncoding(std::string_view file)
{
    if (file.find('\0') != None || StartsWith(file, "\xFF\xFE") || StartsWith(file, "\xFE\xFF")) {
        return CsvFileEncoding::Unreadable;
    }
    if (StartsWith(file, Utf8Bom)) {
        return CsvFileEncoding::Utf8;
    }
    return IsUtf8WithHighBytes(file) ? CsvFileEncoding::Utf8 : CsvFileEncoding::Cp932;
}

CsvFileEncoding ChooseCsvEncoding(std::string_view file, CsvEncoding wanted)
{
    CsvFileEncoding detected = DetectCsvEncoding(file);
    if (detected == CsvFileEncoding::Unreadable || wanted == CsvEncoding::Auto) {
        return detected;
    }
    return wanted == CsvEncoding::Utf8 ? CsvFileEncoding::Utf8 : CsvFileEncoding::Cp932;
}

std::string_view CsvReader::readLine()
{
    // The line ends at its first CR or LF: the LF is looked for first, then a CR before it, each
    // with one search of its own (a file with no CR is not searched to its end for one each line).
    std::size_t start = m_pos;
    std::size_t end = std::min(m_text.find('\n', start), m_text.size());
    end = std::min(m_text.substr(0, end).find('\r', start), end);
    m_pos = end;
    if (m_pos < m_text.size() && m_text[m_pos] == '\r') {
        ++m_pos;
    }
    if (m_pos < m_text.size() && m_text[m_pos] == '\n' && (m_pos == end || m_text[end] == '\r')) {
        ++m_pos;
    }
    return m_text.substr(start, end - start);
}

bool CsvReader::readRecord(std::vector<std::string>& fields)
{
    if (atEnd()) {
        fields.clear();
        return false;
    }
    // The strings of the record before are written over: their buffers serve again.
    std::size_t count = 0;
    auto nextField = [&fields, &count]() -> std::string& {
        if (count == fields.size()) {
            fields.emplace_back();
        }
        std::string& field = fields[count++];
        field.clear();
        return field;
    };
    std::string_view line = readLine();
    std::size_t p = 0;
    for (;;) {
        if (p < line.size() && line[p] == '"') {
            std::size_t next = readQuoted(line, p + 1, nextField());
            if (next == None) {
                break;
            }
            p = next;
            continue;
        }
        std::size_t comma = line.find(',', p);
        if (comma == None) {
            nextField().assign(line.substr(p));
            break;
        }
        nextField().assign(line.substr(p, comma - p));
        p = comma + 1;
    }
    fields.resize(count);
    return true;
}

std::size_t CsvReader::readQuoted(std::string_view& line, std::size_t start, std::string& field)
{
    Scan scan = ScanQuoted(line, start, field);
    if (scan.end == ScanEnd::Closed) {
        return AfterClosingQuote(line, scan.at);
    }
    if (std::size_t quote = FirstClosingQuote(line, start); quote != None) {
        field.assign(line.substr(start, quote - start));
        return AfterClosingQuote(line, quote + 1);
    }
    std::size_t next = None;
    if (scan.end == ScanEnd::Open && continueQuoted(line, next, field)) {
        return next;
    }
    // Nothing closes the field: the rest of the line is its text, so reading always moves on.
    field.assign(line.substr(start));
    return None;
}

bool CsvReader::continueQuoted(std::string_view& line, std::size_t& next, std::string& field)
{
    std::size_t resume = m_pos;
    for (int lines = 1; lines < MaxFieldLines && !atEnd() && field.size() <= MaxFieldBytes; ++lines) {
        std::string_view more = readLine();
        field += "\r\n";
        std::size_t lineStart = field.size();
        Scan scan = ScanQuoted(more, 0, field);
        if (scan.end == ScanEnd::Broken) {
            if (std::size_t quote = FirstClosingQuote(more, 0); quote != None) {
                field.resize(lineStart);
                field.append(more.substr(0, quote));
                scan = {ScanEnd::Closed, quote + 1};
            } else {
                field.append(more.substr(scan.at));
                continue;
            }
        }
        if (scan.end == ScanEnd::Closed) {
            line = more;
            next = AfterClosingQuote(more, scan.at);
            return true;
        }
    }
    m_pos = resume;
    return false;
}

std::vector<std::string> SplitCsvLine(std::string_view line)
{
    // A lone line: cut at its first line end so the reader sees one line only.
    std::size_t end = line.find_first_of("\r\n");
    CsvReader reader(line.substr(0, end == None ? line.size() : end));
    std::vector<std::string> fields;
    if (!reader.readRecord(fields)) {
        fields.emplace_back();
    }
    return fields;
}

} // namespace talik
