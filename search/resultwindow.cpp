#include "search/resultwindow.h"

#include <algorithm>

#include "listwin/appstate.h"
#include "listwin/listsync.h"

namespace talik {

WindowGeometry ResultWindowGeometry(const WindowGeometry& stored)
{
    WindowGeometry g;
    g.width = stored.width > MinResultWidth - 1 ? stored.width : MinResultWidth;
    g.height = stored.height > MinResultHeight - 1 ? stored.height : MinResultHeight;
    g.left = stored.left > 0 ? stored.left : 0;
    g.top = stored.left > 0 ? stored.top : 0;
    return g;
}

ResultWindowLayout LayoutResultWindow(int width, int height, const TwipRect& buttonFrame, const TwipRect& jumpFrame)
{
    constexpr int Left = 100;
    constexpr int ListTop = 450;
    width = std::max(width, MinResultWidth);
    height = std::max(height, MinResultHeight);
    ResultWindowLayout layout;
    layout.list = {Left, ListTop, width - buttonFrame.width - 200 - Left, height - 1250 - ListTop + 400};
    layout.countLabel = {Left, 100, layout.list.width, 300};
    layout.loadingLabel = layout.list;
    layout.buttonFrame = {width - buttonFrame.width - 50, 100, buttonFrame.width, buttonFrame.height};
    layout.jumpFrame = {Left, layout.list.top + layout.list.height + 100, jumpFrame.width, jumpFrame.height};
    return layout;
}

ResultCommand HandleResultKey(ListKey key, bool shift, bool ctrl, bool jumpHasText)
{
    if (ctrl) {
        return key == ListKey::F1 ? ResultCommand::Minimise : ResultCommand::PassOn;
    }
    if (shift) {
        return key == ListKey::F10 ? ResultCommand::RecordMenu : ResultCommand::PassOn;
    }
    switch (key) {
    case ListKey::Enter:
        return jumpHasText ? ResultCommand::Jump : ResultCommand::DoubleClick;
    case ListKey::PageUp:
    case ListKey::PageDown:
    case ListKey::Up:
    case ListKey::Down:
        return ResultCommand::FocusListAndSelect;
    case ListKey::F5:
        return ResultCommand::AddSearch;
    case ListKey::F7:
        return ResultCommand::EMail;
    case ListKey::F8:
        return ResultCommand::PrintSelection;
    case ListKey::F9:
        return ResultCommand::TelephoneMenu;
    case ListKey::F10:
        return ResultCommand::Change;
    case ListKey::Menu:
        return ResultCommand::RecordMenu;
    default:
        return ResultCommand::PassOn;
    }
}

DoubleClickAction ResultDoubleClickActionFor(int dblClickOpt)
{
    DoubleClickAction action = DoubleClickActionFor(dblClickOpt);
    return action == DoubleClickAction::EMail ? DoubleClickAction::Nothing : action;
}

JumpResult ResultJump(AppState& state, ListModel& list, std::string_view typed)
{
    return FindReading(state, list, typed, false);
}

void ReflectInResults(const AppState& state, ListModel& results, const RecordChanges& changes, bool ownAdds)
{
    // The result list shows the reading and table columns 1 and 2 only.
    const int columns = std::min(state.tables.columns.nCols, 2);
    std::vector<std::string> gone;
    for (std::int32_t recNo : changes.deleted) {
        gone.push_back(RecordKey(recNo));
    }
    results.removeMany(gone);
    // A changed record the results show takes its new texts in its place (the selection stays on it).
    for (const auto& change : changes.changed) {
        if (results.indexOf(RecordKey(change.first))) {
            AddRecordRow(state, results, columns, change.first);
        }
    }
    if (ownAdds) {
        for (const auto& change : changes.added) {
            AddRecordRow(state, results, columns, change.first);
        }
    }
}

} // namespace talik
