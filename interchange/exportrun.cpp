#include "interchange/exportrun.h"

#include "interchange/vcardexport.h"
#include "listwin/appstate.h"

namespace talik {

ExportOutcome RunExport(AppState& state,
                        ExportFormat format,
                        ExportScope scope,
                        const std::vector<std::int32_t>& records,
                        const FileProgress& progress)
{
    state.Busy = true;
    ExportOutcome outcome = format == ExportFormat::Csv ? RunCsvExport(state, scope, records, progress)
                                                        : RunVcardExport(state, scope, records, progress);
    state.Busy = false;
    return outcome;
}

} // namespace talik
