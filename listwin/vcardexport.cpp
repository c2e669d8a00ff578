#include "listwin/vcardexport.h"

#include "editor/checkitems.h"
#include "listwin/exportfiles.h"
#include "platform/interaction.h"
#include "store/state.h"

namespace talik {
namespace {

// The save dialog's file types: the first writes 3.0, the second 4.0.
const std::vector<std::string> FileTypes = {"vCard 3.0 (*.vcf)", "vCard 4.0 (*.vcf)", "すべて(*.*)"};
constexpr std::size_t Version4Type = 1;

AppendRecordText CardWriter(const CheckItemNameList& names, VcardVersion version)
{
    return [&names, version](std::string& out, const AddressRecord& rec, const ExtraRecord& extra) {
        AppendVcard(out, rec, extra, names, version);
    };
}

} // namespace

std::optional<VcardText> WholeDatabaseVcard(AppState& state, VcardVersion version, const CsvProgress& progress)
{
    const CheckItemNameList names = CheckItemCaptions(state);
    return WholeDatabaseText(
        state, CardWriter(names, version), [](std::size_t) { return std::string(); }, progress);
}

std::optional<VcardText> ListedRecordsVcard(AppState& state,
                                            const std::vector<std::int32_t>& recNos,
                                            VcardVersion version,
                                            const CsvProgress& progress)
{
    const CheckItemNameList names = CheckItemCaptions(state);
    return ListedRecordsText(state, recNos, CardWriter(names, version), {}, progress);
}

std::optional<VcardExportJob> ChooseVcardTarget(Interaction& ui, CsvScope scope)
{
    const char* title = scope == CsvScope::WholeDatabase ? "出力vCardファイルの設定" : "出力先ファイルの設定";
    auto choice = ui.chooseSaveFileOfType(title, FileTypes);
    if (!choice) {
        return std::nullopt;
    }
    VcardExportJob job;
    job.scope = scope;
    job.path = choice->path;
    job.version = choice->type == Version4Type ? VcardVersion::V4 : VcardVersion::V3;
    return job;
}

CsvExportOutcome ExportVcard(AppState& state, const VcardExportJob& job, const CsvProgress& progress)
{
    return WriteExport(state, {job.scope, job.path, job.tellReason}, [&] {
        return job.scope == CsvScope::WholeDatabase ? WholeDatabaseVcard(state, job.version, progress)
                                                    : ListedRecordsVcard(state, job.records, job.version, progress);
    });
}

CsvExportOutcome
RunVcardExport(AppState& state, CsvScope scope, const std::vector<std::int32_t>& records, const CsvProgress& progress)
{
    state.Busy = true;
    CsvExportOutcome outcome = CsvExportOutcome::Cancelled;
    if (auto job = ChooseVcardTarget(state.ui, scope)) {
        job->records = records;
        outcome = ExportVcard(state, *job, progress);
    }
    state.Busy = false;
    return outcome;
}

} // namespace talik
