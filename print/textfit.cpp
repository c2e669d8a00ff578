#include "print/textfit.h"

#include <algorithm>

namespace talik {

FittedSize FitSize(double size, int maxLines, const LinesAtSize& linesAt)
{
    maxLines = std::max(maxLines, 1);
    for (double tried = size; tried > MinFitPoints - 1e-9; tried -= FontSizeStep) {
        const int lines = linesAt(tried);
        if (lines <= maxLines) {
            return {tried, lines, true};
        }
    }
    const double floor = std::min(size, MinFitPoints);
    const int lines = linesAt(floor);
    return {floor, lines, lines <= maxLines + 1};
}

} // namespace talik
