#pragma once
// Window geometry is kept in twips (1/1440 inch), as the settings store it.
#include <cmath>

namespace talik {

inline constexpr int TwipsPerInch = 1440;

inline int TwipsToPixels(int twips, double dotsPerInch)
{
    return static_cast<int>(std::lround(twips * dotsPerInch / TwipsPerInch));
}

inline int PixelsToTwips(int pixels, double dotsPerInch)
{
    return static_cast<int>(std::lround(pixels * TwipsPerInch / dotsPerInch));
}

} // namespace talik
