#include "print/printjob.h"

namespace talik {

const PrintEntry& PrintTable::line(int n) const
{
    static const PrintEntry Empty{};
    if (n < 1 || n > static_cast<int>(entries.size())) {
        return Empty;
    }
    return entries[static_cast<std::size_t>(n - 1)];
}

} // namespace talik
