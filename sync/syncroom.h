#pragma once
// What the address list asks of the sync: the account dialog, a run now, and where the passwords
// are kept. The sync needs HTTP, TLS, XML and the secret store, whose libraries cost the program's
// start noticeably; so the program loads the sync as a module on first use (app/syncroomsource.h),
// while the tests link it in (sync/syncroomwindows.h).
class QWidget;

namespace talik {

struct AppState;
class PasswordStore;

class SyncRoom
{
public:
    virtual ~SyncRoom() = default;
    // The account of the open database, in its dialog, until the user closes it.
    virtual void openAccount(AppState& state, QWidget* parent) = 0;
    // A sync of the open database now, with its window; false when there was no account to sync
    // with (the user was told). `askConflicts`: the user decides each conflict.
    virtual bool runSync(AppState& state, QWidget* parent, bool askConflicts) = 0;
    // Where the account passwords are kept from now on, instead of the desktop's secret store.
    virtual void usePasswordStore(PasswordStore& store) = 0;
};

// What the module gives the program: the build it belongs to, first, so that a module of any
// other build can be told and refused before anything else of it is used; and how to make a room.
struct SyncRoomEntry
{
    const char* build;
    SyncRoom* (*make)();
};

// The module's one exported symbol: extern "C" const SyncRoomEntry* talik_sync_room_entry().
inline constexpr const char* SyncRoomEntrySymbol = "talik_sync_room_entry";
using SyncRoomEntryFunction = const SyncRoomEntry* (*)();

} // namespace talik
