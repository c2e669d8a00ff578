#pragma once
// talikcli print: postcards, a label sheet or the address list of chosen records, written to a PDF
// file or sent to a CUPS printer, through the same print work file and engines as the print dialogs.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/clioptions.h"
#include "print/printjob.h"

class QPageSize;
class QString;

namespace talik {

struct AppState;
class QtCanvas;

// Opens a CUPS printer by name for pages of a size; nullptr when it cannot. Only the program that
// sends jobs to printers has one (a printer brings Qt's print support and the widgets with it).
using PrinterOpener = std::unique_ptr<QtCanvas> (*)(const QString& printerName, const QPageSize& size);

struct PrintRequest
{
    char kind = ' ';                    // PrintPostcards, PrintLabels or PrintList
    std::string out;                    // --out FILE.pdf
    std::optional<std::string> printer; // --printer NAME, instead of a file
    std::vector<std::int32_t> records;  // --records 2,5,9 in that order; empty: every record by reading
    std::optional<int> direction;       // postcards: --vertical 0, --horizontal 1; else the setting
    LabelOptions label;                 // labels: --start-row, --start-col, --frames, --postal-mark
    std::optional<std::string> layout;  // --layout FILE.PR1|FILE.PR2: the layout of a print-settings file
    bool calibration = false;           // print calibration --kind postcard|label: the calibration sheet
    std::optional<int> season;          // --season YEAR: only the people who get a card that year
    bool markSent = false;              // --mark-sent: them marked sent once the whole run went through
};

// Reads the arguments of print (the kind, then its options); nullopt and `error` on a usage error.
std::optional<PrintRequest> ParsePrintRequest(const std::vector<std::string>& args, std::string& error);

// Runs print on the state set up for the command line; returns the exit code. Without `printers`, a
// job for a printer is refused as one for a printer that cannot be used.
int PrintCommand(AppState& state, const CliOptions& options, PrinterOpener printers);

} // namespace talik
