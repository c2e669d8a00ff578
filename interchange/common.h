#pragma once
// What the CSV and vCard formats share: the export's scope, text and outcome, progress reports,
// the UTF-8 byte order mark, reading a whole file, and putting a value into a fixed field.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace talik {

// `done` of `total` steps of an export or import taken so far.
using FileProgress = std::function<void(std::size_t done, std::size_t total)>;

enum class ExportScope
{
    WholeDatabase, // the list window's "全件ＣＳＶデータ出力"
    Listed,        // the search result's "ＣＳＶ出力"
};

// The bytes of an exported file and the number of records in it.
struct ExportedText
{
    std::string bytes;
    std::size_t records = 0;
};

// What an export writes where: `Form` is the format's variant (the CSV file's encoding, the vCard
// version).
template <class Form> struct ExportJob
{
    ExportScope scope = ExportScope::WholeDatabase;
    std::string path;
    Form form{};
    std::vector<std::int32_t> records; // the listed records, in their order
    bool tellReason = false;           // the failure message names the system's reason (talikcli)
};

enum class ExportOutcome
{
    Written,
    Cancelled, // the save dialog was cancelled
    Declined,  // the user answered No
    Failed,    // the user was told
};

inline constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
// The file without a leading UTF-8 BOM.
std::string_view WithoutBom(std::string_view file);

// Reads a whole file into `bytes`; false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Writes CP932 bytes into a fixed field left-aligned and blank-padded, cut at the last whole
// character that fits: a double-byte character is never split.
void PutBytes(std::span<char> field, std::string_view cp932);

} // namespace talik
