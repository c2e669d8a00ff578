#pragma once
// The three print engines. Each draws one card or one page of the job on the preview and, when
// printing, on the printer; none starts or ends a printer page (the dialog does).
#include "print/printjob.h"

namespace talik {

// Postcards (100 × 148 mm) for recipient line `line` (3 or more), horizontal or vertical writing.
// False when the card could not be drawn (the user was told).
bool PrintPostcardH(PrintJob& job, int line);
bool PrintPostcardV(PrintJob& job, int line);
// One A4 page of the label sheet; sets PrintPageCount and the page label. False when the page could
// not be drawn (the user was told).
bool PrintLabelPage(PrintJob& job, int page);
// One A4 page of the address list; sets PrintPageCount and the page label. False as above.
bool PrintListPage(PrintJob& job, int page);

} // namespace talik
