#pragma once
// The print helpers of talikcli: talikcli-print writes PDF files, talikcli-printer also sends jobs
// to CUPS printers. talikcli starts one of them with its own command line; the other commands work
// there too, but talikcli runs them itself.
#include "cli/cliprint.h"

namespace talik {

// Runs the command line and ends the program with its exit code; `printers` opens the printers
// of jobs that name one (none in the helper that only writes files).
[[noreturn]] void RunPrintProgram(int argc, char** argv, PrinterOpener printers);

} // namespace talik
