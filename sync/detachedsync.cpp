#include "sync/detachedsync.h"

#include "store/changes.h"
#include "store/state.h"

namespace talik {

void HeldInteraction::message(const std::string& text, MessageIcon icon, const std::string& title)
{
    m_held.push_back({text, icon, title});
}

bool HeldInteraction::askYesNo(const std::string& text, MessageIcon icon, const std::string& title)
{
    m_held.push_back({text, icon, title});
    return false;
}

std::optional<std::string> HeldInteraction::promptPassword(const std::string&)
{
    return std::nullopt;
}

std::optional<std::string> HeldInteraction::chooseOpenFile(const std::string&, const std::string&)
{
    return std::nullopt;
}

std::optional<std::string> HeldInteraction::chooseSaveFile(const std::string&, const std::string&)
{
    return std::nullopt;
}

DetachedSync::DetachedSync(const StoreState& open) : m_state(std::make_unique<StoreState>(m_ui, open.clock))
{
    StoreState& copy = *m_state;
    copy.writeGate = open.writeGate;
    copy.ProgramFolder = open.ProgramFolder;
    copy.WritableFolder = open.WritableFolder;
    copy.ProfileFolder = open.ProfileFolder;
    copy.Mode = open.Mode;
    copy.TrayMode = open.TrayMode;
    copy.ExitRequested = open.ExitRequested;
    copy.settings = open.settings;
    copy.DataPath = open.DataPath;
    copy.DbNo = open.DbNo;
    copy.PrevDbNo = open.PrevDbNo;
    copy.Header = open.Header;
    copy.ExtraHdr = open.ExtraHdr;
    copy.tables = open.tables;
    copy.Tabs = open.Tabs;
    copy.listMode = open.listMode;
    copy.CurrentTab = open.CurrentTab;
    copy.TablesLoaded = open.TablesLoaded;
    copy.LoadBegun = open.LoadBegun;
    copy.sideNotes = open.sideNotes;
}

DetachedSync::~DetachedSync() = default;

SyncSummary DetachedSync::run(CardDavClient& client, const std::string& book, const SyncOptions& options)
{
    m_ran = true;
    return RunSync(*m_state, client, book, options);
}

void DetachedSync::handBack(StoreState& open)
{
    if (m_ran) {
        open.Header = m_state->Header;
        open.ExtraHdr = m_state->ExtraHdr;
        open.tables = std::move(m_state->tables);
        open.sideNotes = m_state->sideNotes;
        RecordChanges reloaded;
        reloaded.reloaded = true;
        open.changes.publish(reloaded);
        m_ran = false;
    }
    for (const HeldInteraction::Held& held : m_ui.held()) {
        open.ui.message(held.text, held.icon, held.title);
    }
}

} // namespace talik
