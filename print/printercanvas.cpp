#include "print/printercanvas.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace talik {

std::unique_ptr<QtCanvas> PrinterCanvas(const QString& printerName, const QPageSize& size)
{
    if (QPrinterInfo::printerInfo(printerName).isNull()) {
        return nullptr;
    }
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setPrinterName(printerName);
    printer->setFullPage(true);
    printer->setPageLayout(FullPage(size));
    return OpenedCanvas(std::move(printer));
}

} // namespace talik
