#include "listwin/listmodel.h"

#include <algorithm>
#include <utility>

namespace talik {

std::size_t ListModel::add(ListItem item)
{
    auto existing = m_index.find(item.key);
    if (existing == m_index.end()) {
        const std::size_t pos = m_sorted ? sortedPlace(item) : m_items.size();
        return insertAt(pos, std::move(item));
    }
    const std::size_t old = existing->second;
    if (!m_sorted) {
        m_items[old] = std::move(item); // same key: the index stays right
        return old;
    }
    // The new texts may belong elsewhere in the sorted order; the selection moves with the item.
    const bool wasSelected = m_selected == old;
    eraseAt(old);
    const std::size_t place = sortedPlace(item);
    const std::size_t pos = insertAt(place, std::move(item));
    if (wasSelected) {
        m_selected = pos;
    }
    return pos;
}

bool ListModel::remove(std::string_view key)
{
    const auto pos = indexOf(key);
    if (!pos) {
        return false;
    }
    eraseAt(*pos);
    return true;
}

std::size_t ListModel::removeMany(const std::vector<std::string>& keys)
{
    if (keys.size() < 2) {
        return keys.size() == 1 && remove(keys.front()) ? 1 : 0;
    }
    const std::optional<std::string> selectedKey =
        m_selected ? std::optional<std::string>(m_items[*m_selected].key) : std::nullopt;
    std::size_t before = m_items.size();
    for (const std::string& key : keys) {
        m_index.erase(key);
    }
    std::erase_if(m_items, [this](const ListItem& item) { return !m_index.contains(item.key); });
    m_positionOf.resize(m_items.size());
    rebuildIndex();
    m_selected = selectedKey ? indexOf(*selectedKey) : std::nullopt;
    return before - m_items.size();
}

void ListModel::clear()
{
    m_items.clear();
    m_index.clear();
    m_positionOf.clear();
    m_selected.reset();
}

std::optional<std::size_t> ListModel::indexOf(std::string_view key) const
{
    const auto found = m_index.find(std::string(key));
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
    const std::optional<std::string> selectedKey =
        m_selected ? std::optional<std::string>(m_items[*m_selected].key) : std::nullopt;
    std::stable_sort(m_items.begin(), m_items.end(),
                     [this](const ListItem& a, const ListItem& b) { return lessOn(a, b); });
    rebuildIndex();
    if (selectedKey) {
        m_selected = indexOf(*selectedKey);
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
    const auto found = std::find_if(m_items.begin(), m_items.end(),
                                    [prefix](const ListItem& item) { return item.text.starts_with(prefix); });
    if (found == m_items.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - m_items.begin());
}

std::string_view ListModel::columnText(const ListItem& item, std::size_t column) const
{
    if (column == 0) {
        return item.text;
    }
    // A row with fewer sub-items shows an empty cell there, which sorts first.
    return column <= item.subItems.size() ? std::string_view(item.subItems[column - 1]) : std::string_view();
}

bool ListModel::lessOn(const ListItem& a, const ListItem& b) const
{
    // string_view compares bytes as unsigned, so UTF-8 texts fall in code point order.
    return columnText(a, m_sortColumn) < columnText(b, m_sortColumn);
}

std::size_t ListModel::sortedPlace(const ListItem& item) const
{
    // After every equal item, so items added in a row keep their order as a stable sort would.
    const auto place = std::upper_bound(m_items.begin(), m_items.end(), item,
                                        [this](const ListItem& a, const ListItem& b) { return lessOn(a, b); });
    return static_cast<std::size_t>(place - m_items.begin());
}

std::size_t ListModel::insertAt(std::size_t pos, ListItem item)
{
    const auto entry = m_index.emplace(item.key, pos).first;
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(pos), std::move(item));
    m_positionOf.insert(m_positionOf.begin() + static_cast<std::ptrdiff_t>(pos), &entry->second);
    reindex(pos + 1);
    if (m_selected && *m_selected >= pos) {
        ++*m_selected;
    }
    return pos;
}

void ListModel::eraseAt(std::size_t pos)
{
    m_index.erase(m_items[pos].key);
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(pos));
    m_positionOf.erase(m_positionOf.begin() + static_cast<std::ptrdiff_t>(pos));
    reindex(pos);
    if (m_selected == pos) {
        m_selected.reset();
    } else if (m_selected && *m_selected > pos) {
        --*m_selected;
    }
}

void ListModel::rebuildIndex()
{
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        m_positionOf[i] = &m_index.find(m_items[i].key)->second;
    }
    reindex(0);
}

void ListModel::reindex(std::size_t from)
{
    for (std::size_t i = from; i < m_positionOf.size(); ++i) {
        *m_positionOf[i] = i;
    }
}

} // namespace talik
