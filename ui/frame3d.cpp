#include "ui/frame3d.h"

namespace talik {

// Coordinates are pixels on the form, both end points of a line included. A control at left L,
// width W covers x = L .. L+W-1, so at step i its grown rectangle spans L-i .. L+W-1+i and its right
// edge lies on x = L+W-1+i (likewise the bottom edge on y = T+H-1+i). The lines come in drawing
// order, per step top, left, bottom, right: where edges of both colours meet (top-right and
// bottom-left corners) the bottom/right colour is drawn last and shows.
std::vector<BevelLine> Draw3DFrameLines(const PixelRect& control, bool raised, int bevelWidth)
{
    const Rgb topLeft = raised ? BevelLight : BevelDark;
    const Rgb bottomRight = raised ? BevelDark : BevelLight;
    std::vector<BevelLine> lines;
    for (int i = 1; i <= bevelWidth; ++i) {
        const int left = control.left - i;
        const int top = control.top - i;
        const int right = control.left + control.width - 1 + i;
        const int bottom = control.top + control.height - 1 + i;
        lines.push_back({left, top, right, top, topLeft});
        lines.push_back({left, top, left, bottom, topLeft});
        lines.push_back({left, bottom, right, bottom, bottomRight});
        lines.push_back({right, top, right, bottom, bottomRight});
    }
    return lines;
}

} // namespace talik
