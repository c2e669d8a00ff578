#include "editor/dbcheckitems.h"

#include <cstddef>

#include "listwin/appstate.h"
#include "store/headerupdate.h"
#include "store/record.h"

namespace talik {
namespace {

// The marker and the names lie side by side: one write puts both down.
constexpr std::size_t ChangedFirst = offsetof(MainHeader, HeaderFlags);
constexpr std::size_t ChangedEnd = offsetof(MainHeader, PasswordField);

void SetItems(MainHeader& header, const DbCheckItems& items)
{
    header.HeaderFlags[0] = items.ownNames ? '1' : '0';
    for (int i = 0; i < 15; ++i) {
        SetText(header.CheckItemNames[i], CleanFixed(items.names[i]));
    }
}

} // namespace

DbCheckItems DbCheckItemsOf(const AppState& state)
{
    DbCheckItems items;
    const char marker = state.Header.HeaderFlags[0];
    items.ownNames = marker == '1';
    for (int i = 0; i < 15; ++i) {
        items.names[i] =
            marker == '1' || marker == '0' ? GetText(state.Header.CheckItemNames[i]) : state.settings.AddressCheck[i];
    }
    return items;
}

bool StoreDbCheckItems(AppState& state, const DbCheckItems& items)
{
    if (!UpdateMainHeader(
            state, [&](MainHeader& onDisk) { SetItems(onDisk, items); }, ChangedFirst, ChangedEnd)) {
        return false;
    }
    SetItems(state.Header, items);
    return true;
}

} // namespace talik
