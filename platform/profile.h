#pragma once
// Profile (ini) files as Windows keeps them: CR LF lines, CP932 text, "[section]" headers and
// "key=value" lines. Sections and keys are found without regard to (ASCII) case and the first match
// wins; anything missing reads as the default; writing a key keeps every other line of the file,
// comments and order included.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace talik {

// Whether two section or key names are the same name in a profile file (ASCII letters folded).
bool EqualsNoCase(std::string_view a, std::string_view b);

// A whole profile file in memory. Text is UTF-8 here and CP932 on disk. Its first read makes an index
// of the keys, so a document is read by one thread at a time, as each reader loads its own.
class ProfileDocument
{
public:
    // Reads `path`; a missing or unreadable file gives an empty document.
    static ProfileDocument load(const std::string& path);
    // Writes the document to `path` (replacing it whole, through a temporary file, so a full disk
    // never leaves half a file). False when it could not be written. A file other processes write
    // too is changed through UpdateProfile instead, which loads and saves it under its lock.
    bool save(const std::string& path) const;

    // The value of the first matching key of the first matching section, trimmed of blanks and tabs
    // and of one pair of enclosing quotes; nullopt when there is none.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // Sets a key, adding the section (at the end of the file) and the key (after the section's last
    // key) as needed.
    void set(std::string_view section, std::string_view key, std::string_view value);

    const std::vector<std::string>& lines() const { return m_lines; }

private:
    std::optional<std::size_t> findSection(std::string_view section) const;
    std::size_t sectionEnd(std::size_t header) const;
    // The line of the key in the section, through the index.
    std::optional<std::size_t> keyLine(std::string_view section, std::string_view key) const;
    std::size_t lastKeyLine(std::size_t header) const;
    void insertLine(std::size_t at, std::string line);
    void appendSection(std::string_view section, std::string keyLine);
    void indexKeys() const;

    std::vector<std::string> m_lines; // without line ends
    // The line of each key of each section's first header, by their folded names: made by the first
    // read and dropped by any added line. The settings are some hundred keys read from a file of as
    // many lines, each looked for from the top before.
    mutable std::unordered_map<std::string, std::size_t> m_keyLines;
    mutable bool m_indexed = false;
    // The same lines in CP932 as read, so that lines nobody sets are written back byte for byte
    // (a few CP932 codes, such as the duplicated NEC and IBM kanji, decode to the same character).
    std::vector<std::string> m_stored;
};

// Loads `file`, lets `change` set its keys and writes it back, holding the file's lock from the
// read to the rename: copies of the program writing at the same time (other modes share the
// settings file) then never write back a file that lacks another's keys. False when the lock could
// not be taken or the file could not be written.
bool UpdateProfile(const std::string& file, const std::function<void(ProfileDocument&)>& change);

// The three profile calls the program is built on, each reading or writing the file whole.

// The value, or `def` when missing, cut to `bufferSize` - 1 CP932 bytes (never through a character).
std::string GetPrivateProfileString(std::string_view section,
                                    std::string_view key,
                                    std::string_view def,
                                    std::size_t bufferSize,
                                    const std::string& file);
// A leading optional sign and digits; `def` when the key is missing or starts with no digit.
int GetPrivateProfileInt(std::string_view section, std::string_view key, int def, const std::string& file);
bool WritePrivateProfileString(std::string_view section,
                               std::string_view key,
                               std::string_view value,
                               const std::string& file);

// The same reads on a document already loaded (many keys, one read of the file).
std::string ProfileString(const ProfileDocument& doc,
                          std::string_view section,
                          std::string_view key,
                          std::string_view def,
                          std::size_t bufferSize);
int ProfileInt(const ProfileDocument& doc, std::string_view section, std::string_view key, int def);

} // namespace talik
