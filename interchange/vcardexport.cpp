#include "interchange/vcardexport.h"

#include "interchange/exportfiles.h"
#include "platform/interaction.h"
#include "store/checkitems.h"
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

std::optional<VcardText> WholeDatabaseVcard(StoreState& state, VcardVersion version, const FileProgress& progress)
{
    const CheckItemNameList names = CheckItemCaptions(state);
    return WholeDatabaseText(
        state, CardWriter(names, version), [](std::size_t) { return std::string(); }, progress);
}

std::optional<VcardText> ListedRecordsVcard(StoreState& state,
                                            const std::vector<std::int32_t>& recNos,
                                            VcardVersion version,
                                            const FileProgress& progress)
{
    const CheckItemNameList names = CheckItemCaptions(state);
    return ListedRecordsText(state, recNos, CardWriter(names, version), {}, progress);
}

std::optional<VcardExportJob> ChooseVcardTarget(Interaction& ui, ExportScope scope)
{
    auto choice = ChooseExportFile(ui, scope, "出力vCardファイルの設定", FileTypes);
    if (!choice) {
        return std::nullopt;
    }
    VcardExportJob job;
    job.scope = scope;
    job.path = choice->path;
    job.form = choice->type == Version4Type ? VcardVersion::V4 : VcardVersion::V3;
    return job;
}

ExportOutcome ExportVcard(StoreState& state, const VcardExportJob& job, const FileProgress& progress)
{
    return ExportJobToFile(
        state, job, [&] { return WholeDatabaseVcard(state, job.form, progress); },
        [&](const auto& records) { return ListedRecordsVcard(state, records, job.form, progress); });
}

ExportOutcome RunVcardExport(StoreState& state,
                             ExportScope scope,
                             const std::vector<std::int32_t>& records,
                             const FileProgress& progress)
{
    return ChooseAndExport(
        records, [&] { return ChooseVcardTarget(state.ui, scope); },
        [&](const auto& job) { return ExportVcard(state, job, progress); });
}

} // namespace talik
