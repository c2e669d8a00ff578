#pragma once
// The frames of label cells and list blocks, drawn on the preview always and on the printer when
// the engine asks for it.
#include "print/printjob.h"

namespace talik {

// A rectangle in millimetres.
struct Box
{
    double x = 0, y = 0, width = 0, height = 0;
};

// Draws `page` (a position on the page) on the preview, at PreviewScale; nothing without a preview.
void PreviewBox(PrintJob& job, const Box& page);
// Draws `printed` (a position already in printer millimetres) on the printer; nothing when not printing.
void PrinterBox(PrintJob& job, const Box& printed);

} // namespace talik
