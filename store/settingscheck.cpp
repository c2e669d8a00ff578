#include "store/settingscheck.h"

#include <utility>

#include "store/settings.h"
#include "store/state.h"

namespace talik {
namespace {

constexpr int DefaultListFontSize = 10;
constexpr int DoubleClickChoices = 5;

bool Within(int value, int low, int high)
{
    return value >= low && value <= high;
}

} // namespace

void CheckReadSettings(Settings& s)
{
    if (!Within(s.ListFontSize, MinListFontSize, MaxListFontSize)) {
        s.ListFontSize = DefaultListFontSize;
    }
    if (!Within(s.DBLClickOPT, 0, DoubleClickChoices)) {
        s.DBLClickOPT = 0;
    }
    if (!Within(s.AddrDBAct, 1, DbTotal)) {
        s.AddrDBAct = 1;
    }
    const Settings defaults;
    for (std::size_t column = 0; column < s.ColumnWidth.size(); ++column) {
        if (s.ColumnWidth[column] <= 0) {
            s.ColumnWidth[column] = defaults.ColumnWidth[column];
        }
    }
    for (auto [window, fallback] :
         {std::pair{&s.ListWindow, &defaults.ListWindow}, std::pair{&s.SearchWindow, &defaults.SearchWindow}}) {
        if (window->width <= 0 || window->height <= 0) {
            *window = *fallback;
        }
    }
}

bool UsableComPort(int comPort)
{
    return Within(comPort, 1, ComPortTotal);
}

} // namespace talik
