#pragma once
// Fitting a block of text into its area: the font shrinks a step at a time down to a floor, then
// the block may take one line (column) more; what still does not fit is reported, never drawn
// past the area.
#include <functional>

namespace talik {

inline constexpr double MinFitPoints = 6; // points: smaller cannot be read on a card
inline constexpr double FontSizeStep = 1; // points

struct FittedSize
{
    double size = 0;
    int lines = 0;     // the lines the block takes at that size
    bool fits = false; // false: even the floor with one more line was not enough
};

// The lines a block needs at a size; a line that cannot be made short enough counts as too many.
using LinesAtSize = std::function<int(double sizePoints)>;

// The largest size from `size` down to MinFitPoints at which the block takes at most `maxLines`;
// failing that, MinFitPoints with one more line; failing that, MinFitPoints and fits = false. The
// last call of `linesAt` is always at the size returned, so what it laid out can be drawn as it is.
FittedSize FitSize(double size, int maxLines, const LinesAtSize& linesAt);

} // namespace talik
