#pragma once
// The in-memory tables of the open database: one row per live address, filed by index group, in
// file order. Only the list texts of the enabled columns are held; everything else stays on disk.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/kana.h"
#include "store/record.h"

namespace talik {

inline constexpr int ListColumnTotal = 12;
inline constexpr int MaxGroupRows = 3000;
inline constexpr std::int32_t FirstRecNo = 2;
inline constexpr std::int32_t MaxRecNo = 64000;
inline constexpr std::int32_t RecPosSize = 65000;

// The columns the list can show, in their fixed order.
enum class ListColumn
{
    KanjiName,
    Tel1,
    Tel2,
    EMail,
    ClassCode,
    PostCode1,
    Address1,
    PostCode2,
    Address2,
    Company,
    Department,
    Remarks,
};
// The field name of list column `k` ("KanjiName", "Tel1", ...).
std::string_view ListColumnField(int k);

// One row of a group: its record number and the texts of column 0 (the reading) and of each
// enabled list column, held in one string.
class TableRow
{
public:
    std::int32_t recNo = 0;

    std::string_view column(int c) const;
    int columnCount() const { return m_count; }
    // Starts an empty row of `recNo`; columns are then appended in order.
    void reset(std::int32_t recNo);
    // Appends the next column from stored CP932 bytes (already cut and trimmed).
    void appendCp932(std::string_view cp932);
    void appendText(std::string_view utf8);

private:
    // In this order the row takes 64 bytes: the small fields fill the room before the text.
    std::array<std::uint16_t, ListColumnTotal + 1> m_ends{};
    std::uint8_t m_count = 0;
    std::string m_text;
};

// The enabled list columns and their table columns.
struct ColumnSet
{
    std::array<bool, ListColumnTotal> ColEnabled{true, true};
    // ColIndex(k): table column (1..nCols) of enabled list column k, 0 when it is not enabled.
    std::array<int, ListColumnTotal> ColIndex{};
    int nCols = 0;

    // Counts and numbers the enabled columns.
    void number();
};

// The raw bytes of list column `k` in a record.
std::string_view ListColumnBytes(const AddressRecord& rec, int k);

struct Tables
{
    // AddrTable(column, group, row): rows of each group; GroupRecNo is each row's recNo.
    std::array<std::vector<TableRow>, GroupTotal> AddrTable;
    // RecPos(recNo) = row * 100 + group of the record's row (rows counted from 1); 0 = none.
    std::vector<std::int32_t> RecPos = std::vector<std::int32_t>(RecPosSize + 1, 0);
    // UsedFlag(recNo): '1' live and loaded, '0' deleted at load, ' ' deleted since load (or unknown).
    std::vector<char> UsedFlag = std::vector<char>(MaxRecNo + 1, ' ');
    int TotalCount = 0;
    ColumnSet columns;

    int GroupCount(int group) const { return static_cast<int>(AddrTable[group].size()); }
    std::int32_t GroupRecNo(int group, int row0) const { return AddrTable[group][row0].recNo; }
    const TableRow& row(int group, int row1) const { return AddrTable[group][row1 - 1]; }
    // The sum of GroupCount over the tab's groups.
    int TabCount(const TabRange& tab) const;

    // Empties every table (the columns stay).
    void clear();
    // Gives back the room the groups grew past their rows while a database was read.
    void fitToRows();
    // Moves the last row of `group` into row `row1` (1-based) and drops the last row, keeping
    // RecPos of the moved record right.
    void fillGapWithLastRow(int group, int row1);
    // Appends a row to `group`; false (and nothing changed) when the group already holds
    // MaxGroupRows rows.
    bool appendRow(int group, TableRow row);
    void setUsed(std::int32_t recNo, char flag);
    // Writes a row of `recNo` from a record: column 0 the reading, then each enabled list column,
    // all cut at a NUL and trimmed.
    void fillRow(TableRow& row, const AddressRecord& rec, std::int32_t recNo) const;
    char usedFlag(std::int32_t recNo) const;
};

} // namespace talik
