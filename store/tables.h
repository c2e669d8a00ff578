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
#include "store/rowarena.h"

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

// One row being built: its record number and the texts of column 0 (the reading) and of each
// enabled list column, held in one string as stored (CP932): a text is made readable only when a list
// shows its row, and held as stored it takes less room. The tables keep it packed (see RowView).
class TableRow
{
public:
    std::int32_t recNo = 0;

    // Column c's text (UTF-8).
    std::string column(int c) const;
    int columnCount() const { return m_count; }
    // Starts an empty row of `recNo`; columns are then appended in order.
    void reset(std::int32_t recNo);
    // Appends the next column from stored CP932 bytes (already cut and trimmed).
    void appendCp932(std::string_view cp932);
    // Packs the row into `arena`; returns its reference there.
    std::uint32_t packInto(RowArena& arena) const;

private:
    std::array<std::uint16_t, ListColumnTotal + 1> m_ends{};
    std::uint8_t m_count = 0;
    std::string m_cp932;
};

// A row as the tables hold it: its record number and its packed texts, read in place. Valid until
// the tables next change.
class RowView
{
public:
    RowView(std::int32_t rowRecNo, PackedRow texts) : recNo(rowRecNo), m_texts(texts) {}

    std::int32_t recNo;

    // Column c's text (UTF-8).
    std::string column(int c) const;
    // The same, added to the end of `out`.
    void appendColumn(std::string& out, int c) const;
    int columnCount() const { return m_texts.columnCount(); }

private:
    PackedRow m_texts;
};

// What a group's list holds of each row: eight bytes.
struct RowSlot
{
    std::int32_t recNo = 0;
    std::uint32_t texts = 0; // the row's reference in the tables' arena
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
    std::array<std::vector<RowSlot>, GroupTotal> AddrTable;
    // The rows' texts, all groups together.
    RowArena texts;
    // RecPos(recNo) = row * 100 + group of the record's row (rows counted from 1); 0 = none.
    std::vector<std::int32_t> RecPos = std::vector<std::int32_t>(RecPosSize + 1, 0);
    // UsedFlag(recNo): '1' live and loaded, '0' deleted at load, ' ' deleted since load (or unknown).
    std::vector<char> UsedFlag = std::vector<char>(MaxRecNo + 1, ' ');
    int TotalCount = 0;
    ColumnSet columns;

    int GroupCount(int group) const { return static_cast<int>(AddrTable[group].size()); }
    std::int32_t GroupRecNo(int group, int row0) const { return AddrTable[group][row0].recNo; }
    RowView row(int group, int row1) const;
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
    bool appendRow(int group, const TableRow& row);
    // Files the rows of `later`, read from records after all of these, after each group's own as far
    // as MaxGroupRows allows, and takes its used flags of from..last and its count. Returns for each
    // group the first record it had no room for (0 when all fitted).
    std::array<std::int32_t, GroupTotal> appendLater(Tables&& later, std::int32_t from, std::int32_t last);
    // Writes `row` over row `row1` (1-based) of `group`, which stays where it is.
    void replaceRow(int group, int row1, const TableRow& row);
    void setUsed(std::int32_t recNo, char flag);
    // Writes a row of `recNo` from a record: column 0 the reading, then each enabled list column,
    // all cut at a NUL and trimmed.
    void fillRow(TableRow& row, const AddressRecord& rec, std::int32_t recNo) const;
    char usedFlag(std::int32_t recNo) const;

private:
    void appendSlot(int group, RowSlot slot);
    // Gives back the room of rows dropped or rewritten, once it outweighs the rows still held.
    void rebuildTextsIfWasteful();
};

} // namespace talik
