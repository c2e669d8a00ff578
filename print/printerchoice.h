#pragma once
// Where the print dialogs print: the printer the user chose (kept for the program run, with the
// paper, source, copies and duplex of the printer dialog), else the system's default printer, else
// a PDF file.
#include <QPageSize>
#include <QPrinter>
#include <QString>
#include <memory>
#include <optional>

#include "print/qtcanvas.h"

class QWidget;

namespace talik {

struct AppState;

struct ChosenPrinter
{
    QPrinter printer{QPrinter::HighResolution};
    char kind = ' '; // the print kind whose dialog chose it: its paper is the user's for that kind only
};

// The paper of a print kind: a postcard (100 × 148 mm) or A4.
QPageSize PaperOf(char kind);

// Opens the platform's printer dialog on the kept printer with the kind's paper preselected; false
// when cancelled (nothing changes then).
bool ChoosePrinter(AppState& state, char kind, QWidget* parent);

// The PDF file the printer dialog chose to print into ("print to file"), if it did.
std::optional<QString> ChosenPdfFile(const AppState& state);
// The printer a print goes to: the chosen one, else the default; nullopt when there is none.
std::optional<QString> PrinterFor(const AppState& state);
// Opens that printer for the kind, honouring the user's choices; nullptr when it cannot be opened.
std::unique_ptr<QtCanvas> OpenChosenPrinter(const AppState& state, char kind, const QString& printerName);
// Whether a printer offers postcards (a notice is given before printing them when it does not).
bool OffersPostcards(const QString& printerName);

} // namespace talik
