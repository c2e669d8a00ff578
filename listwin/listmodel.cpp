#include "listwin/listmodel.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "store/record.h"

namespace talik {
namespace {

// A packed row's texts end within 64 KB and it has at most 255 columns. An item's texts come from one
// record and never reach either; what would is cut rather than packed wrongly.
constexpr std::size_t MaxPackedText = std::numeric_limits<std::uint16_t>::max();
constexpr std::size_t MaxPackedColumns = std::numeric_limits<std::uint8_t>::max();

// The order of a sorted column. string_view compares bytes as unsigned, so UTF-8 texts fall in code
// point order.
bool SortsBefore(std::string_view a, std::string_view b)
{
    return a < b;
}

} // namespace

std::size_t ListModel::add(const ListItem& item)
{
    std::vector<std::string_view> columns;
    columns.reserve(1 + item.subItems.size());
    columns.emplace_back(item.text);
    columns.insert(columns.end(), item.subItems.begin(), item.subItems.end());
    return add(item.key, columns);
}

std::size_t ListModel::add(std::string_view key, std::span<const std::string_view> columns)
{
    const std::uint32_t ref = pack(key, columns);
    auto existing = m_index.find(key);
    if (existing == m_index.end()) {
        const std::size_t pos = m_sorted ? sortedPlace(ref) : m_items.size();
        return insertAt(pos, ref);
    }
    const std::size_t old = existing->second;
    std::size_t pos = old;
    if (!m_sorted) {
        // Same key, same place: the index entry is kept (its position too) and reads the new key.
        auto entry = m_index.extract(existing);
        entry.key() = columnOf(ref, 0);
        m_index.insert(std::move(entry));
        m_texts.release(m_items[old]);
        m_items[old] = ref;
    } else {
        // The new texts may belong elsewhere in the sorted order; the selection moves with the item.
        const bool wasSelected = m_selected == old;
        eraseAt(old);
        pos = insertAt(sortedPlace(ref), ref);
        if (wasSelected) {
            m_selected = pos;
        }
    }
    repackIfWasteful();
    return pos;
}

bool ListModel::remove(std::string_view key)
{
    const auto pos = indexOf(key);
    if (!pos) {
        return false;
    }
    eraseAt(*pos);
    repackIfWasteful();
    return true;
}

std::size_t ListModel::removeMany(const std::vector<std::string>& keys)
{
    if (keys.size() < 2) {
        return keys.size() == 1 && remove(keys.front()) ? 1 : 0;
    }
    const std::optional<std::string> selectedKey =
        m_selected ? std::optional<std::string>(keyAt(*m_selected)) : std::nullopt;
    const std::size_t before = m_items.size();
    for (const std::string& key : keys) {
        m_index.erase(key);
    }
    std::size_t kept = 0;
    for (const std::uint32_t ref : m_items) {
        if (m_index.contains(columnOf(ref, 0))) {
            m_items[kept++] = ref;
        } else {
            m_texts.release(ref);
        }
    }
    m_items.resize(kept);
    m_positionOf.resize(kept);
    rebuildIndex();
    m_selected = selectedKey ? indexOf(*selectedKey) : std::nullopt;
    repackIfWasteful();
    return before - kept;
}

void ListModel::clear()
{
    m_items.clear();
    m_index.clear();
    m_positionOf.clear();
    m_texts.clear();
    m_selected.reset();
}

void ListModel::reserve(std::size_t count)
{
    m_items.reserve(count);
    m_positionOf.reserve(count);
    m_index.reserve(count);
}

ListItem ListModel::at(std::size_t index) const
{
    const PackedRow row = packed(index);
    ListItem item{std::string(row.column(0)), std::string(row.column(1)), {}};
    item.subItems.reserve(subItemCount(index));
    for (int c = 2; c < row.columnCount(); ++c) {
        item.subItems.emplace_back(row.column(c));
    }
    return item;
}

std::string_view ListModel::columnAt(std::size_t index, std::size_t column) const
{
    return columnOf(m_items[index], column + 1);
}

std::size_t ListModel::subItemCount(std::size_t index) const
{
    return static_cast<std::size_t>(std::max(packed(index).columnCount() - 2, 0));
}

std::vector<ListItem> ListModel::items() const
{
    std::vector<ListItem> copies;
    copies.reserve(m_items.size());
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        copies.push_back(at(i));
    }
    return copies;
}

std::optional<std::size_t> ListModel::indexOf(std::string_view key) const
{
    const auto found = m_index.find(key);
    if (found == m_index.end()) {
        return std::nullopt;
    }
    return found->second;
}

void ListModel::select(std::optional<std::size_t> index)
{
    // An index past the end selects nothing, as a click below the last row does.
    if (index && *index >= m_items.size()) {
        index.reset();
    }
    m_selected = index;
}

void ListModel::sortOn(std::size_t column)
{
    m_sortColumn = column;
    m_sorted = true;
    const std::optional<std::uint32_t> selectedRef =
        m_selected ? std::optional<std::uint32_t>(m_items[*m_selected]) : std::nullopt;
    // Each item's text is found once, not at every comparison, and its index entry moves with it.
    struct Sorted
    {
        std::string_view text;
        std::uint32_t ref;
        std::size_t* position;
    };
    std::vector<Sorted> sorted;
    sorted.reserve(m_items.size());
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        sorted.push_back({columnOf(m_items[i], column + 1), m_items[i], m_positionOf[i]});
    }
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Sorted& a, const Sorted& b) { return SortsBefore(a.text, b.text); });
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        m_items[i] = sorted[i].ref;
        m_positionOf[i] = sorted[i].position;
    }
    reindex(0);
    if (selectedRef) {
        m_selected = indexOf(columnOf(*selectedRef, 0));
    }
}

void ListModel::setSorted(bool sorted)
{
    if (sorted) {
        sortOn(m_sortColumn);
    } else {
        m_sorted = false;
    }
}

std::optional<std::size_t> ListModel::findPrefix(std::string_view prefix) const
{
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (textAt(i).starts_with(prefix)) {
            return i;
        }
    }
    return std::nullopt;
}

std::uint32_t ListModel::pack(std::string_view key, std::span<const std::string_view> columns)
{
    m_packText.clear();
    m_packEnds.clear();
    auto put = [this](std::string_view text) {
        m_packText.append(text.substr(0, MaxPackedText - m_packText.size()));
        m_packEnds.push_back(static_cast<std::uint16_t>(m_packText.size()));
    };
    put(key);
    for (const std::string_view column : columns.first(std::min(columns.size(), MaxPackedColumns - 1))) {
        put(column);
    }
    return m_texts.add(m_packEnds.data(), static_cast<int>(m_packEnds.size()), m_packText);
}

std::string_view ListModel::columnOf(std::uint32_t ref, std::size_t column) const
{
    // Column 0 of a packed item is its key; a column it does not have reads empty.
    return m_texts.at(ref).column(static_cast<int>(std::min(column, MaxPackedColumns)));
}

bool ListModel::lessOn(std::uint32_t a, std::uint32_t b) const
{
    // A row with fewer sub-items shows an empty cell there, which sorts first.
    return SortsBefore(columnOf(a, m_sortColumn + 1), columnOf(b, m_sortColumn + 1));
}

std::size_t ListModel::sortedPlace(std::uint32_t ref) const
{
    // After every equal item, so items added in a row keep their order as a stable sort would.
    const auto place = std::upper_bound(m_items.begin(), m_items.end(), ref,
                                        [this](std::uint32_t a, std::uint32_t b) { return lessOn(a, b); });
    return static_cast<std::size_t>(place - m_items.begin());
}

std::size_t ListModel::insertAt(std::size_t pos, std::uint32_t ref)
{
    const auto entry = m_index.emplace(columnOf(ref, 0), pos).first;
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(pos), ref);
    m_positionOf.insert(m_positionOf.begin() + static_cast<std::ptrdiff_t>(pos), &entry->second);
    reindex(pos + 1);
    if (m_selected && *m_selected >= pos) {
        ++*m_selected;
    }
    return pos;
}

// Leaves the item's texts as waste; the public operations repack once they are done.
void ListModel::eraseAt(std::size_t pos)
{
    m_index.erase(keyAt(pos));
    m_texts.release(m_items[pos]);
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(pos));
    m_positionOf.erase(m_positionOf.begin() + static_cast<std::ptrdiff_t>(pos));
    reindex(pos);
    if (m_selected == pos) {
        m_selected.reset();
    } else if (m_selected && *m_selected > pos) {
        --*m_selected;
    }
}

void ListModel::repackIfWasteful()
{
    if (!m_texts.wasteful()) {
        return;
    }
    RowArena repacked;
    for (std::uint32_t& ref : m_items) {
        ref = repacked.addCopy(m_texts.at(ref));
    }
    // The index's keys read the old blocks: it is made again on the new ones before they go.
    std::unordered_map<std::string_view, std::size_t> index;
    index.reserve(m_items.size());
    m_index.swap(index);
    m_texts.swap(repacked);
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        m_positionOf[i] = &m_index.emplace(columnOf(m_items[i], 0), i).first->second;
    }
}

void ListModel::rebuildIndex()
{
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        m_positionOf[i] = &m_index.find(keyAt(i))->second;
    }
    reindex(0);
}

void ListModel::reindex(std::size_t from)
{
    for (std::size_t i = from; i < m_positionOf.size(); ++i) {
        *m_positionOf[i] = i;
    }
}

std::vector<std::int32_t> RecordsOf(const ListModel& list)
{
    return RecordsOf(list, 0, static_cast<int>(list.size()) - 1);
}

std::vector<std::int32_t> RecordsOf(const ListModel& list, int first, int last)
{
    std::vector<std::int32_t> recNos;
    for (int i = std::max(first, 0); i <= last && i < static_cast<int>(list.size()); ++i) {
        recNos.push_back(RecNoOfKey(list.keyAt(static_cast<std::size_t>(i))));
    }
    return recNos;
}

} // namespace talik
