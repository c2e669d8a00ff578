#pragma once
// The report list of addresses without a view: keyed items with a text and sub-items, one selected
// item, sorting on a column, and finding an item by the beginning of its text. The list windows
// show it through a Qt model adapter; the core and the tests work on it directly.
//
// A list shows thousands of people at once, so an item is kept packed - its key, text and sub-items
// laid down together in large blocks - and read back in place; only `at` and `items` make copies.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/rowarena.h"

namespace talik {

struct ListItem
{
    std::string key;                   // "K" + record number in five digits
    std::string text;                  // column 0: the reading
    std::vector<std::string> subItems; // columns 1..n
};

class ListModel
{
public:
    // Adds an item at the end, or at its sorted place while the list is sorted. An item whose key is
    // already listed is replaced. Returns the item's index.
    std::size_t add(const ListItem& item);
    // The same from texts that stand elsewhere: `columns` are the text and then the sub-items.
    std::size_t add(std::string_view key, std::span<const std::string_view> columns);
    // Removes the item with `key`; false when there is none. The selection follows the item it was on.
    bool remove(std::string_view key);
    // Removes every item whose key is in `keys` in one pass (a batch of deletions stays linear).
    // Returns how many were removed.
    std::size_t removeMany(const std::vector<std::string>& keys);
    void clear();
    // Room ahead for `count` items, when about that many are coming.
    void reserve(std::size_t count);

    std::size_t size() const { return m_items.size(); }
    bool empty() const { return m_items.empty(); }
    // A copy of item `index`.
    ListItem at(std::size_t index) const;
    std::string_view keyAt(std::size_t index) const { return packed(index).column(0); }
    std::string_view textAt(std::size_t index) const { return packed(index).column(1); }
    // Column `column` of item `index`: 0 its text, k its sub-item k; empty past its sub-items.
    std::string_view columnAt(std::size_t index, std::size_t column) const;
    std::size_t subItemCount(std::size_t index) const;
    // A copy of every item, in list order.
    std::vector<ListItem> items() const;
    std::optional<std::size_t> indexOf(std::string_view key) const;

    // The selected item, if any.
    std::optional<std::size_t> selected() const { return m_selected; }
    void select(std::optional<std::size_t> index);

    // Sorts ascending on `column` (0 = the text, k = sub-item k) and keeps the list sorted on later
    // adds. The comparison is by code, so half-width kana fall in syllabary order (ｶ < ｶﾞ < ｷ);
    // items that compare equal keep their order.
    void sortOn(std::size_t column);
    void setSorted(bool sorted);
    bool sorted() const { return m_sorted; }
    std::size_t sortColumn() const { return m_sortColumn; }

    // The first item (in list order) whose text begins with `prefix`.
    std::optional<std::size_t> findPrefix(std::string_view prefix) const;

private:
    PackedRow packed(std::size_t index) const { return m_texts.at(m_items[index]); }
    std::uint32_t pack(std::string_view key, std::span<const std::string_view> columns);
    std::string_view columnOf(std::uint32_t ref, std::size_t column) const;
    bool lessOn(std::uint32_t a, std::uint32_t b) const;
    std::size_t sortedPlace(std::uint32_t ref) const;
    std::size_t insertAt(std::size_t pos, std::uint32_t ref);
    void eraseAt(std::size_t pos);
    void repackIfWasteful();
    void rebuildIndex();
    void reindex(std::size_t from);

    RowArena m_texts;                   // each item as a row: key, text, sub-items
    std::vector<std::uint32_t> m_items; // the items' rows in list order
    // key -> position; the keys are read in m_texts, whose blocks stay put until it is repacked.
    std::unordered_map<std::string_view, std::size_t> m_index;
    // m_positionOf[i] points at the m_index value of item i (map values stay put on rehash), so a
    // shift after an insert or removal updates positions without hashing a key again.
    std::vector<std::size_t*> m_positionOf;
    std::optional<std::size_t> m_selected;
    bool m_sorted = false;
    std::size_t m_sortColumn = 0;
    // Reused by every add, so packing an item allocates nothing once they have grown.
    std::string m_packText;
    std::vector<std::uint16_t> m_packEnds;
};

// The record numbers of the listed items, in list order.
std::vector<std::int32_t> RecordsOf(const ListModel& list);
// The same of the items first..last (a range reaching past either end of the list is cut to it).
std::vector<std::int32_t> RecordsOf(const ListModel& list, int first, int last);

} // namespace talik
