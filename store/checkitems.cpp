#include "store/checkitems.h"

#include "store/state.h"

namespace talik {

std::array<std::string, 15> CheckItemCaptions(const StoreState& state)
{
    bool ownNames = state.Header.HeaderFlags[0] == '1';
    std::array<std::string, 15> names;
    for (int i = 0; i < 15; ++i) {
        names[i] = ownNames ? GetText(state.Header.CheckItemNames[i]) : state.settings.AddressCheck[i];
    }
    return names;
}

} // namespace talik
