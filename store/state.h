#pragma once
// What the core shares about the running program and its open database: created once (as part of
// the program's state, which main makes and each test makes afresh) and passed by reference.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/interaction.h"
#include "store/changes.h"
#include "store/kana.h"
#include "store/record.h"
#include "store/settings.h"
#include "store/sidestore.h"
#include "store/tables.h"

namespace talik {

inline constexpr int DbTotal = 10;

class WriteGate;
class ReadAhead;

struct StoreState
{
    StoreState(Interaction& ui, Clock& clock);
    StoreState(const StoreState&) = delete;
    StoreState& operator=(const StoreState&) = delete;

    Interaction& ui;
    Clock& clock;
    // Passed every write to the database files; only tests set it, to fill the disk or stop the program.
    WriteGate* writeGate = nullptr;

    // Where the program is (trailing "/"), where it may write what it keeps "in its folder", and
    // where its settings file lives.
    std::string ProgramFolder;
    std::string WritableFolder;
    std::string ProfileFolder;

    // The instance: its mode number and how it ends.
    int Mode = 0;
    bool TrayMode = false;     // an icon in the notification area keeps the program alive
    bool ExitRequested = true; // closing the list window ends the program
    Settings settings;

    // The open database.
    std::string DataPath; // no trailing "/"
    int DbNo = 1;
    int PrevDbNo = -1; // the database to fall back to when its password prompt is cancelled; -1 at start
    MainHeader Header{};
    ExtraHeader ExtraHdr{};

    // The tables of the open database, kept in step with every write through `changes`.
    Tables tables;
    TabTable Tabs = MakeTabTable();
    ListMode listMode = ListMode::Individual;
    int CurrentTab = -1;
    bool TablesLoaded = false;
    bool LoadBegun = false; // the first load has started: the splash may go
    // The records of the database to open, read while the program starts; the first load takes
    // them when they are still good, and drops them either way.
    std::shared_ptr<ReadAhead> readAhead;

    // Every write to the open database's records is published here; the tables listen first.
    ChangeNotifier changes;
    // Side stores found damaged or locked this run (told once each).
    SideStoreNotes sideNotes;

private:
    Subscription m_tablesFollow;
};

} // namespace talik
