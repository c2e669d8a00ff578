#pragma once
// The report list of addresses without a view: keyed items with a text and sub-items, one selected
// item, sorting on a column, and finding an item by the beginning of its text. The list windows
// show it through a Qt model adapter; the core and the tests work on it directly.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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
    std::size_t add(ListItem item);
    // Removes the item with `key`; false when there is none. The selection follows the item it was on.
    bool remove(std::string_view key);
    // Removes every item whose key is in `keys` in one pass (a batch of deletions stays linear).
    // Returns how many were removed.
    std::size_t removeMany(const std::vector<std::string>& keys);
    void clear();

    std::size_t size() const { return m_items.size(); }
    bool empty() const { return m_items.empty(); }
    const ListItem& at(std::size_t index) const { return m_items[index]; }
    const std::vector<ListItem>& items() const { return m_items; }
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
    std::string_view columnText(const ListItem& item, std::size_t column) const;
    bool lessOn(const ListItem& a, const ListItem& b) const;
    std::size_t sortedPlace(const ListItem& item) const;
    std::size_t insertAt(std::size_t pos, ListItem item);
    void eraseAt(std::size_t pos);
    void rebuildIndex();
    void reindex(std::size_t from);

    std::vector<ListItem> m_items;
    std::unordered_map<std::string, std::size_t> m_index; // key -> position
    // m_positionOf[i] points at the m_index value of item i (map values stay put on rehash), so a
    // shift after an insert or removal updates positions without hashing a key again.
    std::vector<std::size_t*> m_positionOf;
    std::optional<std::size_t> m_selected;
    bool m_sorted = false;
    std::size_t m_sortColumn = 0;
};

} // namespace talik
