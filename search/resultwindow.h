#pragma once
// What the search-result window decides, without the window: its size, its layout, its keys, its
// double-click action and the kana jump over the results.
#include <optional>
#include <string_view>

#include "listwin/listwindow.h"
#include "store/changes.h"
#include "store/settings.h"

namespace talik {

inline constexpr int MinResultWidth = 7290;
inline constexpr int MinResultHeight = 6120;

// The size and place the window opens with: the stored ones, raised to the minimum; a stored left
// of 0 or less means centred (left and top then 0 here).
WindowGeometry ResultWindowGeometry(const WindowGeometry& stored);

struct ResultWindowLayout
{
    TwipRect list;
    TwipRect countLabel;   // Label1
    TwipRect loadingLabel; // Label4
    TwipRect buttonFrame;  // Frame1, at the right
    TwipRect jumpFrame;    // Frame2, under the list
};
ResultWindowLayout LayoutResultWindow(int width, int height, const TwipRect& buttonFrame, const TwipRect& jumpFrame);

enum class ResultCommand
{
    PassOn,
    Jump,        // Enter with text in the jump box
    DoubleClick, // Enter with an empty jump box
    FocusListAndSelect,
    AddSearch,      // Command7(0)
    EMail,          // Command10
    PrintSelection, // Command4
    TelephoneMenu,  // Command5
    Change,         // Command3
    Minimise,
    RecordMenu, // the record popup at the selected row
};
ResultCommand HandleResultKey(ListKey key, bool shift, bool ctrl, bool jumpHasText);

// 0 and 1 change, 2 view, 3 the telephone menu, 4 print the selection; anything else nothing.
DoubleClickAction ResultDoubleClickActionFor(int dblClickOpt);

// The kana jump over a result list: the typed text in its reading form; when it begins with a kana
// from "ｱ" to "ﾜ", the list is sorted on the reading and its first item beginning with the text is
// selected (the user is told when there is none).
JumpResult ResultJump(AppState& state, ListModel& list, std::string_view typed);

// The result list follows the published changes: deleted records leave it, changed ones it shows
// are shown anew, and records added while the window had its editor open (`ownAdds`) join it.
void ReflectInResults(const AppState& state, ListModel& results, const RecordChanges& changes, bool ownAdds);

} // namespace talik
