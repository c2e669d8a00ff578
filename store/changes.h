#pragma once
// The one way the rest of the program learns that records of the open database changed: every
// writer publishes what it did, and the tables and the windows that show records subscribe.
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "store/record.h"

namespace talik {

struct RecordChanges
{
    // Records written as new, and records rewritten, each with what was written.
    std::vector<std::pair<std::int32_t, AddressRecord>> added;
    std::vector<std::pair<std::int32_t, AddressRecord>> changed;
    std::vector<std::int32_t> deleted;
    bool cleared = false;  // every record is gone (delete-all)
    bool reloaded = false; // the tables were read afresh (a database opened or reloaded)
    // Who wrote: a window may treat the records it added itself differently (nullptr: nobody in particular).
    const void* origin = nullptr;

    bool empty() const { return added.empty() && changed.empty() && deleted.empty() && !cleared && !reloaded; }
};

class ChangeNotifier
{
public:
    using Listener = std::function<void(const RecordChanges&)>;

    // Listeners are called in the order they subscribed; the id takes the listener off again.
    int subscribe(Listener listener);
    void unsubscribe(int id);
    void publish(const RecordChanges& changes) const;

private:
    std::vector<std::pair<int, Listener>> m_listeners;
    int m_nextId = 1;
};

// Takes a listener off when it goes (a window that closes).
class Subscription
{
public:
    Subscription() = default;
    Subscription(ChangeNotifier& notifier, ChangeNotifier::Listener listener)
        : m_notifier(&notifier), m_id(notifier.subscribe(std::move(listener)))
    {}
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription()
    {
        if (m_notifier) {
            m_notifier->unsubscribe(m_id);
        }
    }

private:
    ChangeNotifier* m_notifier = nullptr;
    int m_id = 0;
};

} // namespace talik
