#pragma once
// The drawing surface of the dialler's panel frames: plain lines and rectangle outlines in pixels,
// so the frame logic can be checked by recording the calls instead of looking at a window.
#include <cstdint>

namespace talik::dialler {

// A colour as &HBBGGRR, or a system colour: the high bit set and the system colour index below
// it (0x80000014 is the 3-D highlight). The surface resolves system colours to its own palette.
using Rgb = std::uint32_t;

inline constexpr Rgb SystemColourFlag = 0x80000000u;
inline constexpr Rgb SystemButtonFace = 0x8000000Fu;
inline constexpr Rgb SystemButtonShadow = 0x80000010u;
inline constexpr Rgb SystemHighlight3D = 0x80000014u;

class LineCanvas
{
public:
    virtual ~LineCanvas() = default;
    // A line from (x1, y1) towards (x2, y2); the end point itself is not drawn.
    virtual void drawLine(int x1, int y1, int x2, int y2, Rgb colour) = 0;
    // The outline of the rectangle with the corners (x1, y1) and (x2, y2), both corners included.
    virtual void drawBox(int x1, int y1, int x2, int y2, Rgb colour) = 0;
};

} // namespace talik::dialler
