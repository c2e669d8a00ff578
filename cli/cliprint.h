#pragma once
// talikcli print: postcards, a label sheet or the address list of chosen records, written to a PDF
// file or sent to a CUPS printer, through the same print work file and engines as the print dialogs.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/clioptions.h"
#include "print/printjob.h"

namespace talik {

struct AppState;

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

// Runs print on the state set up for the command line; returns the exit code.
int PrintCommand(AppState& state, const CliOptions& options);

} // namespace talik
