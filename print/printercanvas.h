#pragma once
// A canvas on a CUPS printer. It is a library of its own because Qt's print support brings the
// widgets library and the print system's with it: a program that only writes PDF files starts
// faster without them.
#include <QPageSize>
#include <QString>
#include <memory>

#include "print/qtcanvas.h"

namespace talik {

// The CUPS printer `printerName` with pages of `size` (high resolution, full page, no margins).
// nullptr when there is no such printer or it cannot be opened. The caller ends the document.
std::unique_ptr<QtCanvas> PrinterCanvas(const QString& printerName, const QPageSize& size);

} // namespace talik
