#pragma once
// The program-wide state the windows share: created once by main (and afresh by each test) and
// passed by reference.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "listwin/listmodel.h"
#include "platform/clock.h"
#include "platform/interaction.h"
#include "store/kana.h"
#include "store/record.h"
#include "store/settings.h"
#include "store/tables.h"

namespace talik {

inline constexpr int DbTotal = 10;

class WriteGate;
struct ChosenPrinter; // the print dialogs' printer, known only to them

// What the list window shows about the open database, kept up to date by the data store.
struct ListWindowTexts
{
    std::string DbName;                                  // display name of the open database
    std::string CountLabel;                              // "登録数：" & TotalCount & " 件"
    std::string ListTitle;                               // title above the list
    std::array<std::string, RowTabTotal> TabCountLabels; // row mode: count & " 件" per row tab
    bool ListHidden = false;                             // the list is hidden while the tables load
};

struct AppState
{
    AppState(Interaction& ui, Clock& clock) : ui(ui), clock(clock) {}

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

    // The shared record buffers and the record they hold (0 = a new one).
    AddressRecord Rec{};
    ExtraRecord Extra{};
    MainHeader Header{};
    ExtraHeader ExtraHdr{};
    std::int32_t CurRecNo = 0;
    char EditStatus = ' ';
    char PrintKind = ' ';   // the print job being prepared: "V" postcards, "W" labels, "X" list
    int DialSlot = 0;       // the telephone slot to call: 0 Tel1, 1 Fax1, 2 Tel2, 3 Fax2
    std::string DialNumber; // the number to dial, as the call confirmation leaves it
    // The printer and its options chosen in a print dialog, kept for the program run (never stored).
    std::shared_ptr<ChosenPrinter> chosenPrinter;

    // Bulk mail puts the addresses in BCC (remembered for the run).
    bool BulkMailBcc = false;

    // The tables and the list window's state that the data store keeps in step.
    Tables tables;
    TabTable Tabs = MakeTabTable();
    ListMode listMode = ListMode::Individual;
    int CurrentTab = -1;
    bool TablesLoaded = false;
    bool LoadBegun = false; // the first load has started: the splash may go
    bool SplashDone = true; // the splash has gone: the list window takes input
    bool MainIdle = true;   // no modal dialog of the list window is open
    bool Busy = false;      // a CSV import or export runs: the list window leaves the focus alone
    ListModel MainList;
    ListWindowTexts texts;
};

} // namespace talik
