#pragma once
// A sync run on a worker thread while the window stays responsive. The worker gets a state of its
// own, copied from the open database (settings, headers, tables) on the window's thread before it
// starts, so nothing the window shows is touched from the worker; what the worker would have told
// the user is held back. Afterwards, on the window's thread again, the open database takes the
// worker's tables and headers, hears of it as a reload, and the held messages are told.
#include <memory>
#include <string>
#include <vector>

#include "platform/interaction.h"
#include "sync/syncrun.h"

namespace talik {

struct StoreState;

// An interaction for a thread without windows: messages are kept to be told later, questions are
// answered No, prompts cancelled.
class HeldInteraction : public Interaction
{
public:
    struct Held
    {
        std::string text;
        MessageIcon icon;
        std::string title;
    };
    void message(const std::string& text, MessageIcon icon, const std::string& title = {}) override;
    bool askYesNo(const std::string& text, MessageIcon icon, const std::string& title = {}) override;
    std::optional<std::string> promptPassword(const std::string& dbDisplayName) override;
    std::optional<std::string> chooseOpenFile(const std::string& title, const std::string& filter) override;
    std::optional<std::string> chooseSaveFile(const std::string& title, const std::string& filter) override;
    void setBusy(bool) override {}
    void processEvents() override {}

    const std::vector<Held>& held() const { return m_held; }

private:
    std::vector<Held> m_held;
};

class DetachedSync
{
public:
    // On the window's thread: the open database's state copied for the worker.
    explicit DetachedSync(const StoreState& open);
    ~DetachedSync();
    DetachedSync(const DetachedSync&) = delete;
    DetachedSync& operator=(const DetachedSync&) = delete;

    // On the worker thread.
    SyncSummary run(CardDavClient& client, const std::string& book, const SyncOptions& options);
    // On the window's thread once the worker is done: the open database brought up to what the
    // worker wrote, its listeners told it was read afresh, and the held messages told.
    void handBack(StoreState& open);

private:
    HeldInteraction m_ui;
    std::unique_ptr<StoreState> m_state;
    bool m_ran = false;
};

} // namespace talik
