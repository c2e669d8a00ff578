#include "interchange/formulasafe.h"

namespace talik {

bool SpreadsheetWouldEvaluate(std::string_view field)
{
    if (field.empty()) {
        return false;
    }
    const char first = field.front();
    if (first == '=' || first == '@') {
        return true;
    }
    if (first != '+' && first != '-') {
        return false;
    }
    return field.size() == 1 || field[1] < '0' || field[1] > '9';
}

} // namespace talik
