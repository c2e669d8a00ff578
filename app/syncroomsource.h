#pragma once
// Where the main window gets its sync room: the module beside the program, loaded when a sync is
// first wanted (the program starts without the sync's libraries), or a room made by the caller.
#include <memory>
#include <string>

#include "sync/syncroom.h"

namespace talik {

// The module's file name; it lives in the program's folder.
inline constexpr const char* SyncRoomModuleName = "talik32-sync.so";
std::string SyncRoomModulePath(const std::string& programFolder);

class SyncRoomSource
{
public:
    // The room of the module at `modulePath`, loaded on first use.
    explicit SyncRoomSource(std::string modulePath);
    // A room the caller made (linked into the program).
    explicit SyncRoomSource(std::unique_ptr<SyncRoom> room);
    ~SyncRoomSource();
    SyncRoomSource(const SyncRoomSource&) = delete;
    SyncRoomSource& operator=(const SyncRoomSource&) = delete;

    // The room; nullptr when the module cannot be loaded, and failure() says why. A failed load
    // is tried again at the next call: the module may have been put in place meanwhile.
    SyncRoom* room();
    const std::string& failure() const { return m_failure; }
    // Given to the room now, or when it is loaded.
    void usePasswordStore(PasswordStore& store);

private:
    std::unique_ptr<SyncRoom> load();

    std::string m_modulePath;
    std::unique_ptr<SyncRoom> m_room;
    std::string m_failure;
    PasswordStore* m_store = nullptr;
};

} // namespace talik
