#include "listwin/listwindow.h"

#include "listwin/currentrecord.h"
#include "listwin/listsync.h"

#include "listwin/appstate.h"
#include "platform/codec.h"
#include "platform/trim.h"
#include "store/database.h"

namespace talik {
namespace {

// The tab grid of the individual mode, in twips from the index panel's corner.
constexpr int GridLeft = 150;
constexpr int GridTop = 100;
constexpr int GridColumnStep = 420;
constexpr int GridLineStep = 360;
constexpr int TabWidth = 345;
constexpr int TabHeight = 300;
// The row mode: row tabs one under the other, their counts beside them.
constexpr int RowTabStep = 345;
constexpr int RowTabWidth = 700;
constexpr int CountTabLeft = 900;
constexpr int CountTabWidth = 1180;

constexpr BgrColour Blue = 0xFF0000;
constexpr BgrColour Green = 0x008000;
constexpr BgrColour Silver = 0xC0C0C0;
constexpr BgrColour DarkBlue = 0xC00000;
constexpr BgrColour White = 0xFFFFFF;
constexpr BgrColour Grey = 0x808080;

struct GridPlace
{
    int line;
    int column;
};

// Five tabs a kana row; the や row has gaps under the second and fourth columns, and the last line
// holds わ and 他.
GridPlace PlaceOfGroup(int group)
{
    if (group < 35) {
        return {group / 5, group % 5};
    }
    if (group < 38) {
        return {7, (group - 35) * 2};
    }
    if (group < 43) {
        return {8, group - 38};
    }
    return {9, group - 43};
}

TabLook IndividualTab(int group)
{
    GridPlace place = PlaceOfGroup(group);
    TabLook look;
    look.visible = true;
    look.caption = GroupCaption(group);
    look.rect = {GridLeft + place.column * GridColumnStep, GridTop + place.line * GridLineStep, TabWidth, TabHeight};
    look.foreColour = place.column == 0 ? Blue : Green;
    look.backColour = Silver;
    return look;
}

TabLook RowTab(int tab)
{
    TabLook look;
    look.visible = true;
    look.caption = RowTabCaption(tab);
    look.rect = {GridLeft, GridTop + tab * RowTabStep, RowTabWidth, TabHeight};
    look.foreColour = DarkBlue;
    look.backColour = Silver;
    return look;
}

TabLook CountTab(const AppState& state, int row)
{
    TabLook look;
    look.visible = true;
    look.caption = CountTabCaption(state, row);
    look.rect = {CountTabLeft, GridTop + row * RowTabStep, CountTabWidth, TabHeight};
    look.foreColour = White;
    look.backColour = Grey;
    look.countTab = true;
    return look;
}

// The groups a tab shows: its own in individual mode, its row's in row mode.
TabRange GroupsOfTab(const AppState& state, int tab)
{
    if (state.listMode == ListMode::Row) {
        return state.Tabs[tab];
    }
    return {tab, tab};
}

int TabCountFor(ListMode mode)
{
    return mode == ListMode::Row ? RowTabTotal : GroupTotal;
}

void FillList(AppState& state, const TabRange& groups)
{
    ListModel& list = state.MainList;
    bool sorted = list.sorted();
    std::size_t column = list.sortColumn();
    // Filled unsorted and sorted once: a sorted insert per row would move the rows thousands of times.
    list.setSorted(false);
    list.clear();
    int rows = 0;
    for (int group = groups.first; group <= groups.last; ++group) {
        rows += state.tables.GroupCount(group);
    }
    list.reserve(static_cast<std::size_t>(rows));
    for (int group = groups.first; group <= groups.last; ++group) {
        for (int row = 1; row <= state.tables.GroupCount(group); ++row) {
            AddListRow(state, list, state.tables.columns.nCols, row, group);
        }
    }
    if (sorted) {
        list.sortOn(column);
    }
}

std::string_view TrimBlanks(std::string_view text)
{
    return TrimOf(text, " ");
}

} // namespace

std::array<TabLook, TabLabelTotal> LayoutTabs(const AppState& state)
{
    std::array<TabLook, TabLabelTotal> tabs{};
    if (state.listMode == ListMode::Row) {
        for (int tab = 0; tab < RowTabTotal; ++tab) {
            tabs[tab] = RowTab(tab);
            tabs[CountTabFirst + tab] = CountTab(state, tab);
        }
        // Hidden labels keep their grid place, which the tab area box is measured from.
        for (int tab = CountTabLast + 1; tab < TabLabelTotal; ++tab) {
            tabs[tab] = IndividualTab(tab);
            tabs[tab].visible = false;
        }
        return tabs;
    }
    for (int group = 0; group < GroupTotal; ++group) {
        tabs[group] = IndividualTab(group);
    }
    return tabs;
}

std::string CountTabCaption(const AppState& state, int row)
{
    return std::to_string(state.tables.TabCount(state.Tabs[row])) + " 件";
}

TwipRect MarkerRect(const TabLook& tab)
{
    return {tab.rect.left - 30, tab.rect.top - 30, tab.rect.width + 60, tab.rect.height + 60};
}

TwipRect SearchButtonRect()
{
    return {1300, GridTop + 9 * GridLineStep, 800, TabHeight + 60};
}

TwipRect TabAreaBox(const std::array<TabLook, TabLabelTotal>& tabs, int searchButtonLeft)
{
    int left = tabs[0].rect.left - 50;
    int top = tabs[0].rect.top - 50;
    return {left, top, searchButtonLeft + 920 - left, tabs[OtherGroup].rect.top + 400 - top};
}

std::string TabTitle(const AppState& state, int tab)
{
    if (state.listMode == ListMode::Row) {
        return RowTabCaption(tab) + "行 一覧";
    }
    return GroupCaption(tab) + " 一覧 (" + std::to_string(state.tables.GroupCount(tab)) + "件)";
}

bool TabCanBeShown(const AppState& state, int tab)
{
    return tab >= 0 && tab < TabCountFor(state.listMode) && tab != state.CurrentTab;
}

bool ShowTab(AppState& state, int tab)
{
    if (!TabCanBeShown(state, tab)) {
        return false;
    }
    state.texts.ListTitle = TabTitle(state, tab);
    FillList(state, GroupsOfTab(state, tab));
    state.CurrentTab = tab;
    return true;
}

int ShiftArrowTab(ListMode mode, int tab, ListKey arrow)
{
    int last = TabCountFor(mode) - 1;
    tab = std::max(tab, 0);
    bool back = arrow == ListKey::Left || (arrow == ListKey::Up && mode == ListMode::Row);
    bool forward = arrow == ListKey::Right || (arrow == ListKey::Down && mode == ListMode::Row);
    if (back) {
        return tab == 0 ? last : tab - 1;
    }
    if (forward) {
        return tab == last ? 0 : tab + 1;
    }
    if (arrow == ListKey::Up) {
        int step = (tab == 36 || tab == 40) ? 4 : (tab == 37 || tab == 38) ? 3 : (tab == 39 || tab == 41) ? 8 : 5;
        return tab - step < 0 ? OtherGroup : tab - step;
    }
    int step = (tab == 31 || tab == 33) ? 8 : (tab == 32 || tab == 36) ? 4 : (tab == 34 || tab == 35) ? 3 : 5;
    return tab + step > OtherGroup ? 0 : tab + step;
}

KeyAction HandleKey(const AppState& state, ListKey key, bool shift, bool ctrl, bool jumpHasText)
{
    bool arrow = key == ListKey::Left || key == ListKey::Right || key == ListKey::Up || key == ListKey::Down;
    if (shift && arrow) {
        return {ListCommand::ShowTab, ShiftArrowTab(state.listMode, state.CurrentTab, key)};
    }
    if (shift) {
        if (key == ListKey::F10) {
            return {ListCommand::RecordMenu};
        }
        return {key == ListKey::F12 ? ListCommand::Close : ListCommand::PassOn};
    }
    if (ctrl) {
        return {key == ListKey::F1 ? ListCommand::Minimise : ListCommand::PassOn};
    }
    switch (key) {
    case ListKey::Enter:
        return {jumpHasText ? ListCommand::Swallow : ListCommand::DoubleClick};
    case ListKey::PageUp:
    case ListKey::PageDown:
        return {ListCommand::FocusList};
    case ListKey::Up:
    case ListKey::Down:
        return {ListCommand::ClearJumpAndFocusList};
    case ListKey::F1:
        return {ListCommand::Help};
    case ListKey::F5:
        return {ListCommand::Search};
    case ListKey::F6:
        return {ListCommand::DatabaseMenu};
    case ListKey::F7:
        return {ListCommand::EMail};
    case ListKey::F8:
        return {ListCommand::PrintMenu};
    case ListKey::F9:
        return {ListCommand::TelephoneMenu};
    case ListKey::F10:
        return {ListCommand::Change};
    case ListKey::F11:
        return {ListCommand::New};
    case ListKey::Menu:
        return {ListCommand::RecordMenu};
    case ListKey::F3:
        // Only while the list shows the card marks: a mark never changes where it cannot be seen.
        return {state.settings.SeasonView != 0 ? ListCommand::ToggleReceived : ListCommand::PassOn};
    default:
        return {ListCommand::PassOn};
    }
}

JumpResult KanaJump(AppState& state, std::string_view typed)
{
    return FindReading(state, state.MainList, typed, true);
}

std::string JumpReading(std::string_view typed)
{
    std::string_view trimmed = TrimBlanks(typed);
    return trimmed.empty() ? std::string() : ToHalfKana(trimmed);
}

std::optional<int> JumpTab(const AppState& state, std::string_view reading)
{
    const std::string bytes = ToCp932(reading);
    if (bytes.empty()) {
        return std::nullopt;
    }
    return TabOfGroup(state.Tabs, state.listMode, KanaGroupOfBytes(bytes));
}

JumpResult FindReading(AppState& state, ListModel& list, std::string_view typed, bool showTab)
{
    JumpResult result;
    result.reading = JumpReading(typed);
    std::optional<int> tab = JumpTab(state, result.reading);
    if (!tab) {
        return result;
    }
    if (showTab) {
        ShowTab(state, *tab);
    }
    list.sortOn(0);
    result.found = list.findPrefix(result.reading);
    if (result.found) {
        list.select(result.found);
    } else {
        state.ui.message(std::string(NoJumpMatchMessage), MessageIcon::Exclamation);
    }
    return result;
}

std::string ListColumnLabel(const Settings& settings, int k)
{
    const FieldCaptions& c = settings.Captions;
    switch (static_cast<ListColumn>(k)) {
    case ListColumn::KanjiName:
        return c.name;
    case ListColumn::Tel1:
        return "電話番号１";
    case ListColumn::Tel2:
        return "電話番号２";
    case ListColumn::EMail:
        return c.email;
    case ListColumn::ClassCode:
        return c.classCode;
    case ListColumn::PostCode1:
        return c.postCode1;
    case ListColumn::Address1:
        return c.address1;
    case ListColumn::PostCode2:
        return c.postCode2;
    case ListColumn::Address2:
        return c.address2;
    case ListColumn::Company:
        return c.company;
    case ListColumn::Department:
        return c.department;
    case ListColumn::Remarks:
        return c.remarks;
    }
    return {};
}

std::vector<ColumnHeader> ListColumnHeaders(const AppState& state)
{
    const Settings& settings = state.settings;
    std::vector<ColumnHeader> headers{{"カナ名", settings.ColumnWidth[0]}};
    for (int k = 0; k < ListColumnTotal; ++k) {
        if (state.tables.columns.ColEnabled[k]) {
            headers.push_back({ListColumnLabel(settings, k), settings.ColumnWidth[k + 1]});
        }
    }
    return headers;
}

void StoreColumnWidths(AppState& state, const std::vector<int>& widthsTwips)
{
    auto kept = [](int width) { return width == 0 ? 10 : width; };
    if (widthsTwips.empty()) {
        return;
    }
    state.settings.ColumnWidth[0] = kept(widthsTwips[0]);
    std::size_t shown = 1;
    for (int k = 0; k < ListColumnTotal && shown < widthsTwips.size(); ++k) {
        if (state.tables.columns.ColEnabled[k]) {
            state.settings.ColumnWidth[k + 1] = kept(widthsTwips[shown++]);
        }
    }
}

bool ReadSelectedRecord(AppState& state, const ListModel& list)
{
    auto selected = list.selected();
    if (!selected) {
        return false;
    }
    state.CurRecNo = RecNoOfKey(list.keyAt(*selected));
    return ReadCurrent(state);
}

RecordButtons SelectCurrentRow(AppState& state, ListModel& list, std::size_t index)
{
    RecordButtons buttons;
    if (index >= list.size()) {
        return buttons;
    }
    list.select(index);
    state.CurRecNo = RecNoOfKey(list.keyAt(index));
    buttons.recordSelected = true;
    buttons.printCaption = "選択印刷";
    if (ReadCurrent(state)) {
        buttons.mailEnabled = !GetText(state.Rec.EMail).empty();
        buttons.relatedEnabled = !GetText(state.Extra.RelatedInfo).empty();
    }
    return buttons;
}

std::array<TelephoneEntry, 4> TelephoneEntries(const AddressRecord& rec)
{
    const std::string numbers[4] = {GetText(rec.Tel1), GetText(rec.Fax1), GetText(rec.Tel2), GetText(rec.Fax2)};
    std::array<TelephoneEntry, 4> entries;
    for (int slot = 0; slot < 4; ++slot) {
        std::string address = slot < 2 ? "住所１-" : "住所２-";
        entries[slot].caption = address + std::string(PhoneKindNames[PhoneKind(rec, slot)]) + "：" + numbers[slot];
        entries[slot].enabled = !numbers[slot].empty();
    }
    return entries;
}

DoubleClickAction DoubleClickActionFor(int dblClickOpt)
{
    switch (dblClickOpt) {
    case 0:
    case 1:
        return DoubleClickAction::Change;
    case 2:
        return DoubleClickAction::View;
    case 3:
        return DoubleClickAction::TelephoneMenu;
    case 4:
        return DoubleClickAction::PrintMenu;
    case 5:
        return DoubleClickAction::EMail;
    default:
        return DoubleClickAction::Nothing;
    }
}

ListWindowLayout LayoutForSize(int width, int height, const TwipRect& jumpFrame, const TwipRect& buttonFrame)
{
    constexpr int ListLeft = 100;
    constexpr int ListTop = 400;
    width = std::max(width, MinWindowWidth);
    height = std::max(height, MinWindowHeight);
    ListWindowLayout layout;
    bool sideBySide = jumpFrame.width + buttonFrame.width < width;
    layout.list = {ListLeft, ListTop, width - IndexPanelWidth - 250, height - (sideBySide ? 1200 : 1600) - ListTop};
    int framesTop = layout.list.top + layout.list.height + 50;
    layout.loadingLabel = {ListLeft, ListTop, layout.list.width - 100, layout.list.height};
    layout.indexPanel = {width - IndexPanelWidth - 150, ListTop, IndexPanelWidth, IndexPanelHeight};
    layout.jumpFrame = {ListLeft, framesTop, jumpFrame.width, jumpFrame.height};
    // The button frame stands under the index panel, which is taller than a short list.
    int buttonTop = std::max(sideBySide ? framesTop : framesTop + jumpFrame.height + 50,
                             layout.indexPanel.top + IndexPanelHeight + 50);
    // The stored sizes count the window's border too; the client area keeps that margin.
    layout.buttonFrame = {width - buttonFrame.width - 100, buttonTop, buttonFrame.width, buttonFrame.height};
    return layout;
}

SwitchOutcome SwitchDatabase(AppState& state, int index)
{
    if (state.Busy || index < 0 || index >= DbTotal || index + 1 == state.DbNo) {
        return SwitchOutcome::Unchanged;
    }
    state.DbNo = index + 1;
    state.TablesLoaded = false;
    if (LoadTables(state) == LoadResult::EndProgram) {
        return SwitchOutcome::EndProgram;
    }
    state.TablesLoaded = true;
    return SwitchOutcome::Switched;
}

} // namespace talik
