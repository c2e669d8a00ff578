#include "cli/printprogram.h"

#include <malloc.h>
#include <unistd.h>

#include <cstdio>

#include "cli/cliapp.h"
#include "cli/cliprint.h"
#include "cli/helperprogram.h"

namespace talik {
namespace {

// A print job allocates and frees the buffers of every page (Qt's PDF writer takes a page's
// drawing commands whole before it compresses them). By default the C library gives that memory
// back to the system after each page and takes it again for the next: thousands of page faults
// on a big job. The program lives for one job, so it keeps what it freed.
void KeepFreedMemory()
{
    constexpr int LargestHeapBlock = 32 * 1024 * 1024; // the most the C library allows
    constexpr int KeptFree = 256 * 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, LargestHeapBlock);
    mallopt(M_TRIM_THRESHOLD, KeptFree);
}

// The job is done and everything it wrote is closed: what is left is the libraries' own clean-up at
// exit (font caches, Qt's globals), which this one-job program does not need to wait for.
[[noreturn]] void QuickExit(int status)
{
    const bool flushed = std::fflush(nullptr) == 0;
    ::_exit(flushed ? status : ExitRefused);
}

} // namespace

void RunPrintProgram(int argc, char** argv, PrinterOpener printers)
{
    KeepFreedMemory();
    const std::vector<std::string> args(argv + 1, argv + argc);
    auto print = [printers](AppState& state, const CliOptions& options) {
        return PrintCommand(state, options, printers);
    };
    QuickExit(RunCli(args, {print, HelperCommand(SyncHelperName, args)}));
}

} // namespace talik
