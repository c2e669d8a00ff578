#include "store/changes.h"

#include <algorithm>

namespace talik {

int ChangeNotifier::subscribe(Listener listener)
{
    m_listeners.emplace_back(m_nextId, std::move(listener));
    return m_nextId++;
}

void ChangeNotifier::unsubscribe(int id)
{
    std::erase_if(m_listeners, [id](const auto& entry) { return entry.first == id; });
}

void ChangeNotifier::publish(const RecordChanges& changes) const
{
    if (changes.empty()) {
        return;
    }
    // A listener may take itself off while it runs (a window closing): call a copy of the list.
    auto listeners = m_listeners;
    for (const auto& [id, listener] : listeners) {
        listener(changes);
    }
}

} // namespace talik
