#pragma once
// The program-wide state the windows share: the core's state, the editor's record buffers and the
// list window's own. Created once by main (and afresh by each test) and passed by reference.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "listwin/listmodel.h"
#include "listwin/seasonlist.h"
#include "store/state.h"

namespace talik {

struct ChosenPrinter; // the print dialogs' printer, known only to them

// What the list window shows about the open database, kept up to date from the change notification.
struct ListWindowTexts
{
    std::string DbName;                                  // display name of the open database
    std::string CountLabel;                              // "登録数：" & TotalCount & " 件"
    std::string ListTitle;                               // title above the list
    std::array<std::string, RowTabTotal> TabCountLabels; // row mode: count & " 件" per row tab
};

struct AppState : StoreState
{
    AppState(Interaction& ui, Clock& clock);

    // The editor's record buffers and the record they hold (0 = a new one).
    AddressRecord Rec{};
    ExtraRecord Extra{};
    std::int32_t CurRecNo = 0;
    char EditStatus = ' ';
    std::vector<JointName> Joint; // the record's joint names (連名), kept in the side store
    char PrintKind = ' ';         // the print job being prepared: "V" postcards, "W" labels, "X" list
    int DialSlot = 0;             // the telephone slot to call: 0 Tel1, 1 Fax1, 2 Tel2, 3 Fax2
    std::string DialNumber;       // the number to dial, as the call confirmation leaves it
    // The printer and its options chosen in a print dialog, kept for the program run (never stored).
    std::shared_ptr<ChosenPrinter> chosenPrinter;

    // Bulk mail puts the addresses in BCC (remembered for the run).
    bool BulkMailBcc = false;

    bool SplashDone = true; // the splash has gone: the list window takes input
    bool MainIdle = true;   // no modal dialog of the list window is open
    bool Busy = false;      // a CSV import or export runs: the list window leaves the focus alone
    ListModel MainList;
    ListWindowTexts texts;
    SeasonListState season; // the card marks the main list shows and filters by

private:
    Subscription m_mainListFollow;
};

} // namespace talik
