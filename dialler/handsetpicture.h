#pragma once
// The two pictures the dialler blinks between: a telephone with its handset on the cradle, and the
// same telephone with the handset lifted, drawn rather than shipped as image files.
#include <QPixmap>

namespace talik::dialler {

inline constexpr int HandsetPictureSize = 48;

QPixmap HandsetPicture(bool lifted);

} // namespace talik::dialler
