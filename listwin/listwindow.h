#pragma once
// What the address list window decides, without the window: the tabs and their layout, which
// records a tab shows and the title above them, the keyboard commands, the kana jump, the columns,
// the layout on resizing, and the state of the record buttons.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "listwin/listmodel.h"
#include "store/kana.h"

namespace talik {

struct AppState;
struct AddressRecord;
struct Settings;

// A rectangle in twips.
struct TwipRect
{
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const TwipRect&) const = default;
};

// --- the index panel ---------------------------------------------------------------------------

inline constexpr int TabLabelTotal = 45; // Label2(0..44)
inline constexpr int CountTabFirst = 9;  // row mode: Label2(9..17) show the rows' counts
inline constexpr int CountTabLast = 17;

// Colours as the program keeps them: &HBBGGRR.
using BgrColour = std::uint32_t;

struct TabLook
{
    bool visible = false;
    std::string caption;
    TwipRect rect;
    BgrColour foreColour = 0;
    BgrColour backColour = 0xC0C0C0;
    bool countTab = false; // a row count: clicking it does nothing
};

// Captions, colours and places of the 45 tab labels in the current list mode, counts taken afresh.
std::array<TabLook, TabLabelTotal> LayoutTabs(const AppState& state);
// Row mode: the caption of row `row`'s count tab, count & " 件", counted afresh from the tables.
std::string CountTabCaption(const AppState& state, int row);
// Where the marker stands behind a tab: 30 twips above and left of it.
TwipRect MarkerRect(const TabLook& tab);
// The light grey box around the tab area: from 50 twips left of and above tab 0 to 920 twips right
// of the search button's left edge and 400 twips below tab 44's top.
TwipRect TabAreaBox(const std::array<TabLook, TabLabelTotal>& tabs, int searchButtonLeft);
// The place of the search button in the index panel.
TwipRect SearchButtonRect();
// The index panel's size: room for the ten lines of the tab grid and the search button.
inline constexpr int IndexPanelWidth = 2400;
inline constexpr int IndexPanelHeight = 3700;

// --- showing a tab ----------------------------------------------------------------------------

// The title above the list for a tab: "か 一覧 (12件)" in individual mode, "か行 一覧" in row mode.
std::string TabTitle(const AppState& state, int tab);
// True when ShowTab(tab) would fill the list: not the shown tab, and not a count tab in row mode.
bool TabCanBeShown(const AppState& state, int tab);
// Fills the list window's list with every row of the tab's groups, in group order, sets its title
// and CurrentTab. False (nothing done) when the tab cannot be shown.
bool ShowTab(AppState& state, int tab);

// --- keyboard ---------------------------------------------------------------------------------

enum class ListKey
{
    Enter,
    PageUp,
    PageDown,
    Up,
    Down,
    Left,
    Right,
    F1,
    F2,
    F3,
    F4,
    F5,
    F6,
    F7,
    F8,
    F9,
    F10,
    F11,
    F12,
    Menu, // the context-menu key
    Other,
};

enum class ListCommand
{
    PassOn,      // not the window's key
    Swallow,     // the window's key, nothing to do here (Enter with jump text: the jump acts)
    DoubleClick, // the double-click action on the current item
    FocusList,
    ClearJumpAndFocusList,
    Help,
    Search,        // Command7
    DatabaseMenu,  // as a click on Label3
    EMail,         // Command8
    PrintMenu,     // Command9
    TelephoneMenu, // Command5
    Change,        // Command2
    New,           // Command3
    ShowTab,       // the tab in KeyAction::tab
    Close,         // Command4
    Minimise,
    RecordMenu,     // the record popup at the selected row, as the right mouse button opens it
    ToggleReceived, // F3 in the season view: 受 on or off for the selected row
};

struct KeyAction
{
    ListCommand command = ListCommand::PassOn;
    int tab = -1;
};

// The window's command for a key; `jumpHasText` is true when the jump box holds text (trimmed).
KeyAction HandleKey(const AppState& state, ListKey key, bool shift, bool ctrl, bool jumpHasText);
// The tab Shift+arrow moves to from `tab`.
int ShiftArrowTab(ListMode mode, int tab, ListKey arrow);

// --- kana jump --------------------------------------------------------------------------------

struct JumpResult
{
    std::string reading;              // the typed text in its reading form, shown in the box
    std::optional<std::size_t> found; // the first item whose reading begins with it
};

// Converts the typed text, shows the tab of its first kana, and finds the first item beginning
// with it (telling the user when there is none). Nothing happens for an empty text or one that does
// not begin with a kana from "ｱ" to "ﾜ".
JumpResult KanaJump(AppState& state, std::string_view typed);
// The typed text, trimmed, in its reading form (half-width katakana); empty for a blank text.
std::string JumpReading(std::string_view typed);
// The tab a jump to `reading` shows: the one holding the group its first character files it in, as
// the list files a record ("ﾝ", small kana, digits and the like in the other group); none for an
// empty reading.
std::optional<int> JumpTab(const AppState& state, std::string_view reading);
// The search part of a jump on any list: converts the text, and when it begins with "ｱ" to "ﾜ"
// (showing its tab first when `showTab` is set) sorts `list` and selects the first match.
JumpResult FindReading(AppState& state, ListModel& list, std::string_view typed, bool showTab);
inline constexpr std::string_view NoJumpMatchMessage = "指定されたカナ名で始まる名前はありません。";

// --- columns ----------------------------------------------------------------------------------

struct ColumnHeader
{
    std::string label;
    int widthTwips = 0;
};

// The label of list column k: the field captions, "電話番号１" and "電話番号２" for the telephones.
std::string ListColumnLabel(const Settings& settings, int k);
// Column 0 "カナ名", then each enabled list column, with their stored widths.
std::vector<ColumnHeader> ListColumnHeaders(const AppState& state);
// Stores the shown columns' widths (twips, in header order) into the settings; 0 is kept as 10.
void StoreColumnWidths(AppState& state, const std::vector<int>& widthsTwips);

// --- the record buttons and menus ----------------------------------------------------------------

struct RecordButtons
{
    bool recordSelected = false; // Command1, Command2, Command5, and the record-menu entries
    bool mailEnabled = false;    // Command8 and the e-mail entry
    bool relatedEnabled = false; // the related-information entry
    std::string printCaption = "全件印刷";
};

// Makes the selected item's record the current one and reads it into the buffers; false when no
// item is selected or the record cannot be read.
bool ReadSelectedRecord(AppState& state, const ListModel& list);
// Selects item `index` of `list`, reads its record and says what the buttons offer.
RecordButtons SelectCurrentRow(AppState& state, ListModel& list, std::size_t index);

struct TelephoneEntry
{
    std::string caption; // "住所１-ＴＥＬ　：03-1234-5678"
    bool enabled = false;
};
// The four telephone entries of a record: Tel1, Fax1, Tel2, Fax2.
std::array<TelephoneEntry, 4> TelephoneEntries(const AddressRecord& rec);

// What a double-click on a list item does, by the "DBLClickOPT" setting.
enum class DoubleClickAction
{
    Change,
    View,
    TelephoneMenu,
    PrintMenu,
    EMail,
    Nothing,
};
DoubleClickAction DoubleClickActionFor(int dblClickOpt);

// --- window size -------------------------------------------------------------------------------

inline constexpr int MinWindowWidth = 7500;
inline constexpr int MinWindowHeight = 4900;

struct ListWindowLayout
{
    TwipRect list;
    TwipRect loadingLabel;
    TwipRect indexPanel;
    TwipRect jumpFrame;
    TwipRect buttonFrame;
};

// The places of the list, the loading label, the index panel and the two frames for a client area
// of the given size (twips), which is first raised to the minimum.
ListWindowLayout LayoutForSize(int width, int height, const TwipRect& jumpFrame, const TwipRect& buttonFrame);

// --- databases ---------------------------------------------------------------------------------

enum class SwitchOutcome
{
    Unchanged,  // refused, or the database already open
    Switched,   // the tables hold the chosen database, or the one fallen back to
    EndProgram, // the prompt of the database fallen back to was cancelled too
};

// Opens database `index` + 1 (menu entry PMDB(index)) unless it is the open one: the tables are
// reloaded at once; a cancelled password prompt falls back to the database that was open. Refused
// while `Busy`: an import or export must not end up in two databases.
SwitchOutcome SwitchDatabase(AppState& state, int index);

} // namespace talik
