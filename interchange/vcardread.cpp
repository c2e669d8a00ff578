#include "interchange/vcardread.h"

#include "interchange/common.h"

#include <algorithm>
#include <cctype>

#include "platform/codec.h"
#include "platform/utf8.h"

namespace talik {
namespace {

std::string Upper(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::toupper(c); });
    return out;
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && Upper(a) == Upper(b);
}

std::string_view TrimSpaceTab(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// The file's physical lines, any of CR LF, LF or CR ending one.
class LineSource
{
public:
    explicit LineSource(std::string_view text, std::size_t at = 0) : m_text(text), m_at(at) {}
    bool atEnd() const { return m_at >= m_text.size(); }
    std::size_t position() const { return m_at; }
    std::string_view next()
    {
        const std::size_t end = std::min(m_text.find_first_of("\r\n", m_at), m_text.size());
        std::string_view line = m_text.substr(m_at, end - m_at);
        m_at = end;
        if (m_at < m_text.size() && m_text[m_at] == '\r') {
            ++m_at;
        }
        if (m_at < m_text.size() && m_text[m_at] == '\n') {
            ++m_at;
        }
        return line;
    }
    // The next line without taking it.
    std::string_view peek() const
    {
        LineSource copy = *this;
        return copy.next();
    }

private:
    std::string_view m_text;
    std::size_t m_at = 0;
};

// Where the property's name and parameters end: the first ":" outside double quotes.
std::size_t ValueColon(std::string_view line)
{
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') {
            quoted = !quoted;
        } else if (line[i] == ':' && !quoted) {
            return i;
        }
    }
    return std::string_view::npos;
}

bool IsQuotedPrintable(std::string_view head)
{
    return Upper(head).find("QUOTED-PRINTABLE") != std::string::npos;
}

// One logical line: folded lines joined, and quoted-printable soft line breaks too.
std::string LogicalLine(LineSource& lines, bool keepFoldBlank)
{
    std::string line(lines.next());
    const std::size_t colon = ValueColon(line);
    const bool qp = colon != std::string_view::npos && IsQuotedPrintable(std::string_view(line).substr(0, colon));
    for (;;) {
        if (lines.atEnd()) {
            break;
        }
        if (qp && !line.empty() && line.back() == '=') {
            line.pop_back();
            line += TrimSpaceTab(lines.next());
            continue;
        }
        std::string_view next = lines.peek();
        if (next.empty() || (next.front() != ' ' && next.front() != '\t')) {
            break;
        }
        lines.next();
        line += keepFoldBlank ? next : next.substr(1);
    }
    return line;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

std::string DecodeQuotedPrintable(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '=' && i + 2 < text.size()) {
            const int high = HexValue(text[i + 1]);
            const int low = HexValue(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

bool IsShiftJisName(std::string_view charset)
{
    const std::string name = Upper(charset);
    return name == "SHIFT_JIS" || name == "SHIFT-JIS" || name == "SJIS" || name == "CP932" || name == "WINDOWS-31J" ||
           name == "MS_KANJI";
}

// The parameters between the name and the colon: NAME=v1,v2 or a bare 2.1 value.
std::vector<std::pair<std::string, std::string>> ParseParams(std::string_view text)
{
    std::vector<std::pair<std::string, std::string>> params;
    while (!text.empty()) {
        std::size_t end = 0;
        bool quoted = false;
        while (end < text.size() && (quoted || text[end] != ';')) {
            quoted = text[end] == '"' ? !quoted : quoted;
            ++end;
        }
        std::string_view piece = TrimSpaceTab(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (piece.empty()) {
            continue;
        }
        const std::size_t eq = piece.find('=');
        std::string name =
            eq == std::string_view::npos ? std::string("TYPE") : Upper(TrimSpaceTab(piece.substr(0, eq)));
        std::string value(eq == std::string_view::npos ? piece : TrimSpaceTab(piece.substr(eq + 1)));
        value.erase(std::remove(value.begin(), value.end(), '"'), value.end());
        params.emplace_back(std::move(name), std::move(value));
    }
    return params;
}

// A logical line as a property; false for a line that is none.
bool ParseProperty(std::string_view line, VcardProperty& property)
{
    const std::size_t colon = ValueColon(line);
    if (colon == std::string_view::npos) {
        return false;
    }
    const std::string_view head = line.substr(0, colon);
    const std::size_t semicolon = std::min(head.find(';'), head.size());
    std::string_view name = TrimSpaceTab(head.substr(0, semicolon));
    if (const std::size_t dot = name.rfind('.'); dot != std::string_view::npos) {
        name.remove_prefix(dot + 1);
    }
    if (name.empty()) {
        return false;
    }
    property.name = Upper(name);
    property.params = ParseParams(head.substr(std::min(semicolon + 1, head.size())));
    std::string bytes(line.substr(colon + 1));
    if (property.has("ENCODING", "QUOTED-PRINTABLE") || property.has("TYPE", "QUOTED-PRINTABLE")) {
        bytes = DecodeQuotedPrintable(bytes);
    }
    const std::string charset = property.param("CHARSET");
    const bool shiftJis = IsShiftJisName(charset) || (charset.empty() && !IsValidUtf8(bytes));
    property.value = shiftJis ? FromCp932(bytes) : IsValidUtf8(bytes) ? bytes : FromCp932(bytes);
    return true;
}

bool IsLine(std::string_view line, std::string_view text)
{
    return EqualNoCase(TrimSpaceTab(line), text);
}

} // namespace

bool VcardProperty::has(std::string_view name, std::string_view value) const
{
    for (const auto& [key, values] : params) {
        if (key != name) {
            continue;
        }
        for (const std::string& one : SplitVcardValue(values, ',')) {
            if (EqualNoCase(TrimSpaceTab(one), value)) {
                return true;
            }
        }
    }
    return false;
}

std::string VcardProperty::param(std::string_view name) const
{
    for (const auto& [key, values] : params) {
        if (key == name) {
            return values.substr(0, values.find(','));
        }
    }
    return {};
}

std::string VcardProperty::paramText(std::string_view name) const
{
    for (const auto& [key, values] : params) {
        if (key == name) {
            return values;
        }
    }
    return {};
}

const VcardProperty* VcardCard::find(std::string_view name) const
{
    for (const VcardProperty& property : properties) {
        if (property.name == name) {
            return &property;
        }
    }
    return nullptr;
}

bool LooksLikeVcard(std::string_view file)
{
    file = WithoutBom(file);
    LineSource lines(file);
    while (!lines.atEnd()) {
        if (IsLine(LogicalLine(lines, false), "BEGIN:VCARD")) {
            return true;
        }
    }
    return false;
}

bool StartsAsVcard(std::string_view file)
{
    file = WithoutBom(file);
    LineSource lines(file);
    while (!lines.atEnd()) {
        const std::string line = LogicalLine(lines, false);
        if (!TrimSpaceTab(line).empty()) {
            return IsLine(line, "BEGIN:VCARD");
        }
    }
    return false;
}

VcardCardReader::VcardCardReader(std::string_view file) : m_file(WithoutBom(file)) {}

bool VcardCardReader::next(VcardCard& card)
{
    card = VcardCard{};
    LineSource lines(m_file, m_at);
    int depth = 0;
    bool begun = false;
    while (!lines.atEnd()) {
        const bool old = depth > 0 && card.version == "2.1";
        const std::string line = LogicalLine(lines, old);
        if (IsLine(line, "BEGIN:VCARD")) {
            ++depth;
            begun = true;
            continue;
        }
        if (depth == 0) {
            continue;
        }
        if (IsLine(line, "END:VCARD")) {
            if (--depth == 0) {
                break;
            }
            continue;
        }
        VcardProperty property;
        if (depth == 1 && ParseProperty(line, property)) {
            if (property.name == "VERSION") {
                card.version = std::string(TrimSpaceTab(property.value));
            } else {
                card.properties.push_back(std::move(property));
            }
        }
    }
    m_at = lines.position();
    return begun;
}

std::vector<VcardCard> ReadVcards(std::string_view file)
{
    std::vector<VcardCard> cards;
    VcardCardReader reader(file);
    VcardCard card;
    while (reader.next(card)) {
        cards.push_back(std::move(card));
    }
    return cards;
}

std::string UnescapeVcardText(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const char next = value[++i];
        out += next == 'n' || next == 'N' ? '\n' : next;
    }
    return out;
}

std::vector<std::string> SplitVcardValue(std::string_view value, char separator)
{
    std::vector<std::string> parts;
    std::size_t begin = 0;
    for (std::size_t i = 0; i <= value.size(); ++i) {
        if (i + 1 < value.size() && value[i] == '\\') {
            ++i;
            continue;
        }
        if (i == value.size() || value[i] == separator) {
            parts.push_back(UnescapeVcardText(value.substr(begin, i - begin)));
            begin = i + 1;
        }
    }
    return parts;
}

} // namespace talik
