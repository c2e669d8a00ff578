#pragma once
// The bevel drawn around a control on its form: for each step i = 1..width, the control's rectangle
// grown by i pixels, its top and left edges in one colour and its bottom and right in the other.
#include <vector>

namespace talik {

struct PixelRect
{
    int left = 0, top = 0, width = 0, height = 0;
};

struct Rgb
{
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct BevelLine
{
    int x1, y1, x2, y2;
    Rgb colour;
};

inline constexpr int DefaultBevelWidth = 2;
inline constexpr Rgb BevelLight{255, 255, 255};
inline constexpr Rgb BevelDark{64, 64, 64};

// The lines of the bevel around `control`: raised is light on the top and left, dark on the bottom
// and right; sunken the reverse.
std::vector<BevelLine> Draw3DFrameLines(const PixelRect& control, bool raised, int bevelWidth = DefaultBevelWidth);

} // namespace talik
