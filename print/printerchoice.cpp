#include "print/printerchoice.h"

#include <QPrintDialog>
#include <QPrinterInfo>

#include "listwin/appstate.h"
#include "print/printwork.h"

namespace talik {
namespace {

ChosenPrinter& Kept(AppState& state)
{
    if (!state.chosenPrinter) {
        state.chosenPrinter = std::make_shared<ChosenPrinter>();
        state.chosenPrinter->printer.setFullPage(true);
    }
    return *state.chosenPrinter;
}

QPageLayout FullPageLayout(const QPageSize& size)
{
    QPageLayout::Orientation orientation =
        size.sizePoints().width() > size.sizePoints().height() ? QPageLayout::Landscape : QPageLayout::Portrait;
    return QPageLayout(size, orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

} // namespace

QPageSize PaperOf(char kind)
{
    return QPageSize(kind == PrintPostcards ? QPageSize::Postcard : QPageSize::A4);
}

bool ChoosePrinter(AppState& state, char kind, QWidget* parent)
{
    ChosenPrinter& kept = Kept(state);
    QPrinter& printer = kept.printer;
    if (kept.kind != kind) {
        printer.setPageLayout(FullPageLayout(PaperOf(kind)));
    }
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("プリンタの設定"));
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    kept.kind = kind;
    return true;
}

std::optional<QString> ChosenPdfFile(const AppState& state)
{
    const ChosenPrinter* chosen = state.chosenPrinter.get();
    if (chosen == nullptr || chosen->kind == ' ' || chosen->printer.outputFormat() != QPrinter::PdfFormat ||
        chosen->printer.outputFileName().isEmpty()) {
        return std::nullopt;
    }
    return chosen->printer.outputFileName();
}

std::optional<QString> PrinterFor(const AppState& state)
{
    if (state.chosenPrinter && state.chosenPrinter->kind != ' ' &&
        state.chosenPrinter->printer.outputFormat() == QPrinter::NativeFormat &&
        !state.chosenPrinter->printer.printerName().isEmpty()) {
        return state.chosenPrinter->printer.printerName();
    }
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        return std::nullopt;
    }
    return info.printerName();
}

std::unique_ptr<QtCanvas> OpenChosenPrinter(const AppState& state, char kind, const QString& printerName)
{
    if (QPrinterInfo::printerInfo(printerName).isNull()) {
        return nullptr;
    }
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setPrinterName(printerName);
    printer->setFullPage(true);
    const ChosenPrinter* chosen = state.chosenPrinter.get();
    bool honoured = chosen != nullptr && chosen->printer.printerName() == printerName;
    if (honoured) {
        printer->setCopyCount(chosen->printer.copyCount());
        printer->setCollateCopies(chosen->printer.collateCopies());
        printer->setDuplex(chosen->printer.duplex());
        printer->setPaperSource(chosen->printer.paperSource());
        printer->setColorMode(chosen->printer.colorMode());
    }
    bool paperChosen = honoured && chosen->kind == kind;
    printer->setPageLayout(FullPageLayout(paperChosen ? chosen->printer.pageLayout().pageSize() : PaperOf(kind)));
    auto canvas = std::make_unique<QtCanvas>(std::move(printer));
    return canvas->isActive() ? std::move(canvas) : nullptr;
}

bool OffersPostcards(const QString& printerName)
{
    const QPageSize postcard(QPageSize::Postcard);
    for (const QPageSize& size : QPrinterInfo::printerInfo(printerName).supportedPageSizes()) {
        if (size.isEquivalentTo(postcard) || size.id() == QPageSize::Postcard) {
            return true;
        }
    }
    return false;
}

} // namespace talik
