#include "store/tables.h"

#include <algorithm>
#include <numeric>

#include "platform/codec.h"

namespace talik {

std::string_view ListColumnField(int k)
{
    static constexpr std::string_view Names[ListColumnTotal] = {
        "KanjiName", "Tel1",      "Tel2",     "EMail",   "ClassCode",  "PostCode1",
        "Address1",  "PostCode2", "Address2", "Company", "Department", "Remarks",
    };
    return (k >= 0 && k < ListColumnTotal) ? Names[k] : std::string_view{};
}

std::string TableRow::column(int c) const
{
    if (c < 0 || c >= m_count) {
        return {};
    }
    std::size_t begin = c == 0 ? 0 : m_ends[c - 1];
    return FromCp932(std::string_view(m_cp932).substr(begin, m_ends[c] - begin));
}

std::string RowView::column(int c) const
{
    return FromCp932(m_texts.column(c));
}

void RowView::appendColumn(std::string& out, int c) const
{
    AppendFromCp932(out, m_texts.column(c));
}

void TableRow::reset(std::int32_t rowRecNo)
{
    recNo = rowRecNo;
    m_cp932.clear();
    m_count = 0;
}

void TableRow::appendCp932(std::string_view cp932)
{
    m_cp932 += cp932;
    m_ends[m_count++] = static_cast<std::uint16_t>(m_cp932.size());
}

std::uint32_t TableRow::packInto(RowArena& arena) const
{
    return arena.add(m_ends.data(), m_count, m_cp932);
}

void ColumnSet::number()
{
    nCols = 0;
    for (int k = 0; k < ListColumnTotal; ++k) {
        ColIndex[k] = ColEnabled[k] ? ++nCols : 0;
    }
}

std::string_view ListColumnBytes(const AddressRecord& rec, int k)
{
    auto view = [](const auto& field) { return std::string_view(field, sizeof(field)); };
    switch (static_cast<ListColumn>(k)) {
    case ListColumn::KanjiName:
        return view(rec.KanjiName);
    case ListColumn::Tel1:
        return view(rec.Tel1);
    case ListColumn::Tel2:
        return view(rec.Tel2);
    case ListColumn::EMail:
        return view(rec.EMail);
    case ListColumn::ClassCode:
        return view(rec.ClassCode);
    case ListColumn::PostCode1:
        return view(rec.PostCode1);
    case ListColumn::Address1:
        return view(rec.Address1);
    case ListColumn::PostCode2:
        return view(rec.PostCode2);
    case ListColumn::Address2:
        return view(rec.Address2);
    case ListColumn::Company:
        return view(rec.Company);
    case ListColumn::Department:
        return view(rec.Department);
    case ListColumn::Remarks:
        return view(rec.Remarks);
    }
    return {};
}

void Tables::fillRow(TableRow& row, const AddressRecord& rec, std::int32_t recNo) const
{
    row.reset(recNo);
    row.appendCp932(CleanFixedBytes(std::string_view(rec.KanaName, sizeof(rec.KanaName))));
    for (int k = 0; k < ListColumnTotal; ++k) {
        if (columns.ColEnabled[k]) {
            row.appendCp932(CleanFixedBytes(ListColumnBytes(rec, k)));
        }
    }
}

int Tables::TabCount(const TabRange& tab) const
{
    int count = 0;
    for (int g = tab.first; g <= tab.last; ++g) {
        count += GroupCount(g);
    }
    return count;
}

RowView Tables::row(int group, int row1) const
{
    const RowSlot& slot = AddrTable[group][static_cast<std::size_t>(row1 - 1)];
    return RowView(slot.recNo, texts.at(slot.texts));
}

void Tables::clear()
{
    for (auto& group : AddrTable) {
        group.clear();
    }
    texts.clear();
    std::fill(RecPos.begin(), RecPos.end(), 0);
    std::fill(UsedFlag.begin(), UsedFlag.end(), ' ');
    TotalCount = 0;
}

void Tables::fitToRows()
{
    for (auto& group : AddrTable) {
        group.shrink_to_fit();
    }
}

void Tables::fillGapWithLastRow(int group, int row1)
{
    auto& rows = AddrTable[group];
    std::size_t gap = static_cast<std::size_t>(row1 - 1);
    if (gap >= rows.size()) {
        return;
    }
    texts.release(rows[gap].texts);
    if (gap + 1 != rows.size()) {
        rows[gap] = rows.back();
        std::int32_t moved = rows[gap].recNo;
        if (moved > 0 && moved <= RecPosSize) {
            RecPos[moved] = row1 * 100 + group;
        }
    }
    rows.pop_back();
    rebuildTextsIfWasteful();
}

bool Tables::appendRow(int group, const TableRow& row)
{
    auto& rows = AddrTable[group];
    if (static_cast<int>(rows.size()) >= MaxGroupRows) {
        return false;
    }
    appendSlot(group, {row.recNo, row.packInto(texts)});
    return true;
}

void Tables::appendSlot(int group, RowSlot slot)
{
    auto& rows = AddrTable[group];
    rows.push_back(slot);
    if (slot.recNo > 0 && slot.recNo <= RecPosSize) {
        RecPos[slot.recNo] = static_cast<std::int32_t>(rows.size()) * 100 + group;
    }
}

std::array<std::int32_t, GroupTotal> Tables::appendLater(Tables&& later, std::int32_t from, std::int32_t last)
{
    std::array<std::int32_t, GroupTotal> firstLeftOut{};
    const std::uint32_t shift = texts.adopt(std::move(later.texts));
    for (int group = 0; group < GroupTotal; ++group) {
        for (const RowSlot& slot : later.AddrTable[group]) {
            const std::uint32_t ref = RowArena::moved(slot.texts, shift);
            if (GroupCount(group) < MaxGroupRows) {
                appendSlot(group, {slot.recNo, ref});
                continue;
            }
            if (firstLeftOut[group] == 0) {
                firstLeftOut[group] = slot.recNo;
            }
            texts.release(ref);
        }
    }
    for (std::int32_t recNo = std::max(from, FirstRecNo); recNo <= std::min(last, MaxRecNo); ++recNo) {
        UsedFlag[recNo] = later.UsedFlag[recNo];
    }
    TotalCount += later.TotalCount;
    later.clear();
    return firstLeftOut;
}

void Tables::replaceRow(int group, int row1, const TableRow& row)
{
    RowSlot& slot = AddrTable[group][static_cast<std::size_t>(row1 - 1)];
    texts.release(slot.texts);
    slot = {row.recNo, row.packInto(texts)};
    rebuildTextsIfWasteful();
}

void Tables::rebuildTextsIfWasteful()
{
    if (!texts.wasteful()) {
        return;
    }
    RowArena rebuilt;
    for (auto& rows : AddrTable) {
        for (RowSlot& slot : rows) {
            slot.texts = rebuilt.addCopy(texts.at(slot.texts));
        }
    }
    texts.swap(rebuilt);
}

void Tables::setUsed(std::int32_t recNo, char flag)
{
    if (recNo >= FirstRecNo && recNo <= MaxRecNo) {
        UsedFlag[recNo] = flag;
    }
}

char Tables::usedFlag(std::int32_t recNo) const
{
    return (recNo >= FirstRecNo && recNo <= MaxRecNo) ? UsedFlag[recNo] : ' ';
}

} // namespace talik
