#include "print/canvas.h"

namespace talik {

void Canvas::drawRow(double yMm, std::span<const PlacedText> pieces)
{
    for (const PlacedText& piece : pieces) {
        drawText(piece.xMm, yMm, piece.utf8);
    }
}

} // namespace talik
