#include "platform/profile.h"

#include <algorithm>
#include <climits>
#include <fstream>
#include <iterator>
#include <unordered_set>

#include "platform/atomicfile.h"
#include "platform/codec.h"
#include "platform/filelock.h"
#include "platform/trim.h"

namespace talik {
namespace {

constexpr std::string_view Blanks = " \t";

std::string_view Trim(std::string_view text)
{
    return TrimOf(text, Blanks);
}

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// A name folded as EqualsNoCase compares names.
std::string Folded(std::string_view name)
{
    std::string folded(name);
    std::transform(folded.begin(), folded.end(), folded.begin(), AsciiLower);
    return folded;
}

// A section's and a key's names as one index key: no name holds a line end.
std::string FoldedPair(std::string_view section, std::string_view key)
{
    return Folded(section) + '\n' + Folded(key);
}

} // namespace

// Names are compared on their UTF-8 form, where no byte of a non-ASCII character falls in the
// ASCII range: only ASCII letters fold, as in the CP932 comparison the files were made for.
bool EqualsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

namespace {

// The name of a "[name]" line; nullopt for every other line.
std::optional<std::string_view> SectionName(std::string_view line)
{
    std::string_view text = Trim(line);
    if (text.empty() || text.front() != '[') {
        return std::nullopt;
    }
    std::size_t close = text.find(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return Trim(text.substr(1, close - 1));
}

struct KeyLine
{
    std::string_view key;
    std::string_view value;
    std::size_t equals; // position of the "=" in the line
};

// A "key=value" line, both parts trimmed; nullopt for headers, comments, blank and other lines.
std::optional<KeyLine> ParseKeyLine(std::string_view line)
{
    std::string_view text = Trim(line);
    if (text.empty() || text.front() == ';' || text.front() == '[') {
        return std::nullopt;
    }
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    return KeyLine{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)), equals};
}

std::string_view Unquoted(std::string_view value)
{
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

bool IsBlankLine(std::string_view line)
{
    return Trim(line).empty();
}

// `utf8` cut to at most `maxBytes` CP932 bytes, never through a double-byte character.
std::string CutToBytes(std::string_view utf8, std::size_t maxBytes)
{
    const std::string bytes = ToCp932(utf8);
    if (bytes.size() <= maxBytes) {
        return std::string(utf8);
    }
    std::size_t keep = 0;
    while (keep < bytes.size()) {
        const bool pair = IsLeadByte(static_cast<unsigned char>(bytes[keep])) && keep + 1 < bytes.size();
        const std::size_t step = pair ? 2 : 1;
        if (keep + step > maxBytes) {
            break;
        }
        keep += step;
    }
    return FromCp932(std::string_view(bytes).substr(0, keep));
}

// An optional sign and the digits that follow it; nullopt when no digit comes. Values beyond the
// range of int are held at its ends.
std::optional<int> LeadingInteger(std::string_view text)
{
    std::size_t pos = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        ++pos;
    }
    const std::size_t digitsStart = pos;
    constexpr long long limit = static_cast<long long>(INT_MAX) + 1;
    long long magnitude = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        magnitude = std::min(magnitude * 10 + (text[pos] - '0'), limit);
    }
    if (pos == digitsStart) {
        return std::nullopt;
    }
    return static_cast<int>(negative ? -magnitude : std::min<long long>(magnitude, INT_MAX));
}

} // namespace

ProfileDocument ProfileDocument::load(const std::string& path)
{
    ProfileDocument doc;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return doc;
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    // No CP932 trail byte is CR or LF, so the bytes split into lines before decoding.
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        std::string_view line(bytes.data() + start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        doc.m_stored.emplace_back(line);
        doc.m_lines.push_back(FromCp932(line));
        start = end + 1;
    }
    return doc;
}

bool ProfileDocument::save(const std::string& path) const
{
    std::string bytes;
    for (const std::string& line : m_stored) {
        bytes += line;
        bytes += "\r\n";
    }
    return WriteFileAtomically(path, bytes, {.followLink = true, .keepMode = true, .makeFolders = true});
}

std::optional<std::string> ProfileDocument::value(std::string_view section, std::string_view key) const
{
    const auto at = keyLine(section, key);
    if (!at) {
        return std::nullopt;
    }
    return std::string(Unquoted(ParseKeyLine(m_lines[*at])->value));
}

std::optional<std::size_t> ProfileDocument::keyLine(std::string_view section, std::string_view key) const
{
    if (!m_indexed) {
        indexKeys();
    }
    const auto at = m_keyLines.find(FoldedPair(Trim(section), Trim(key)));
    if (at == m_keyLines.end()) {
        return std::nullopt;
    }
    return at->second;
}

// The first key of a name under the first header of each section name, as findSection finds the
// header; keys under a later header of the same name, or above every header, never count.
void ProfileDocument::indexKeys() const
{
    m_keyLines.clear();
    std::unordered_set<std::string> sectionsSeen;
    std::string_view section;
    bool firstHeader = false;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (const auto name = SectionName(m_lines[i])) {
            section = *name;
            firstHeader = sectionsSeen.insert(Folded(section)).second;
            continue;
        }
        const auto line = firstHeader ? ParseKeyLine(m_lines[i]) : std::nullopt;
        if (line) {
            m_keyLines.try_emplace(FoldedPair(section, line->key), i);
        }
    }
    m_indexed = true;
}

void ProfileDocument::set(std::string_view section, std::string_view key, std::string_view value)
{
    if (auto at = keyLine(section, key)) {
        // Everything up to the "=" stays as it was; only the value changes.
        const std::size_t equals = ParseKeyLine(m_lines[*at])->equals;
        m_lines[*at] = m_lines[*at].substr(0, equals + 1) + std::string(value);
        m_stored[*at] = m_stored[*at].substr(0, m_stored[*at].find('=') + 1) + ToCp932(value);
        return;
    }
    const auto header = findSection(section);
    if (!header) {
        appendSection(section, std::string(Trim(key)) + "=" + std::string(value));
        return;
    }
    insertLine(lastKeyLine(*header) + 1, std::string(Trim(key)) + "=" + std::string(value));
}

std::optional<std::size_t> ProfileDocument::findSection(std::string_view section) const
{
    const std::string_view wanted = Trim(section);
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        auto name = SectionName(m_lines[i]);
        if (name && EqualsNoCase(*name, wanted)) {
            return i;
        }
    }
    return std::nullopt;
}

std::size_t ProfileDocument::sectionEnd(std::size_t header) const
{
    std::size_t i = header + 1;
    while (i < m_lines.size() && !SectionName(m_lines[i])) {
        ++i;
    }
    return i;
}

// The section's last key line, or its header when it has none: a new key goes right after it,
// ahead of the blank lines and comments that lead to the next section.
std::size_t ProfileDocument::lastKeyLine(std::size_t header) const
{
    std::size_t last = header;
    const std::size_t end = sectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        if (ParseKeyLine(m_lines[i])) {
            last = i;
        }
    }
    return last;
}

void ProfileDocument::insertLine(std::size_t at, std::string line)
{
    m_keyLines.clear();
    m_indexed = false;
    m_stored.insert(m_stored.begin() + static_cast<std::ptrdiff_t>(at), ToCp932(line));
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

// A new section goes at the end of the file, set off from what precedes it by one blank line.
void ProfileDocument::appendSection(std::string_view section, std::string keyLine)
{
    if (!m_lines.empty() && !IsBlankLine(m_lines.back())) {
        insertLine(m_lines.size(), "");
    }
    insertLine(m_lines.size(), "[" + std::string(Trim(section)) + "]");
    insertLine(m_lines.size(), std::move(keyLine));
}

std::string ProfileString(const ProfileDocument& doc,
                          std::string_view section,
                          std::string_view key,
                          std::string_view def,
                          std::size_t bufferSize)
{
    if (bufferSize == 0) {
        return {};
    }
    auto found = doc.value(section, key);
    return CutToBytes(found ? std::string_view(*found) : def, bufferSize - 1);
}

int ProfileInt(const ProfileDocument& doc, std::string_view section, std::string_view key, int def)
{
    auto found = doc.value(section, key);
    if (!found) {
        return def;
    }
    return LeadingInteger(*found).value_or(def);
}

std::string GetPrivateProfileString(std::string_view section,
                                    std::string_view key,
                                    std::string_view def,
                                    std::size_t bufferSize,
                                    const std::string& file)
{
    return ProfileString(ProfileDocument::load(file), section, key, def, bufferSize);
}

int GetPrivateProfileInt(std::string_view section, std::string_view key, int def, const std::string& file)
{
    return ProfileInt(ProfileDocument::load(file), section, key, def);
}

bool WritePrivateProfileString(std::string_view section,
                               std::string_view key,
                               std::string_view value,
                               const std::string& file)
{
    return UpdateProfile(file, [&](ProfileDocument& doc) { doc.set(section, key, value); });
}

bool UpdateProfile(const std::string& file, const std::function<void(ProfileDocument&)>& change)
{
    const auto lock = FileLock::acquire(LockPathFor(file));
    if (!lock) {
        return false;
    }
    ProfileDocument doc = ProfileDocument::load(file);
    change(doc);
    return doc.save(file);
}

} // namespace talik
