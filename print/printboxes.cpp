#include "print/printboxes.h"

namespace talik {

void PreviewBox(PrintJob& job, const Box& page)
{
    if (job.target.preview == nullptr) {
        return;
    }
    double scale = job.target.PreviewScale;
    job.target.preview->drawBox(page.x * scale, page.y * scale, page.width * scale, page.height * scale);
}

void PrinterBox(PrintJob& job, const Box& printed)
{
    if (job.target.printer == nullptr) {
        return;
    }
    job.target.printer->drawBox(printed.x, printed.y, printed.width, printed.height);
}

} // namespace talik
