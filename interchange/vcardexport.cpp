#include "interchange/vcardexport.h"

#include "interchange/exportfiles.h"

#include <map>

#include "platform/interaction.h"
#include "store/checkitems.h"
#include "store/identity.h"
#include "store/sidestore.h"
#include "store/state.h"

namespace talik {
namespace {

// The save dialog's file types: the first writes 3.0, the second 4.0.
const std::vector<std::string> VcardFileTypes = {"vCard 3.0 (*.vcf)", "vCard 4.0 (*.vcf)", "すべて(*.*)"};
constexpr std::size_t Version4Type = 1;

// The joint names and card seasons of every person of the open database, read at once from the
// side store.
struct SideData
{
    std::map<std::string, std::vector<JointName>> joint;
    std::map<std::string, SeasonHistory> season;
};

SideData AllSideData(StoreState& state)
{
    SideData all;
    if (auto side = SideStore::open(state, state.DbNo, SideStore::Access::Read)) {
        for (const std::string& identity : side->identities()) {
            all.joint[identity] = side->jointNames(identity);
            all.season[identity] = side->seasonHistory(identity);
        }
    }
    return all;
}

AppendRecordText VcardRecordWriter(const CheckItemNameList& names, VcardVersion version, const SideData& side)
{
    return [&names, version, &side](std::string& out, const AddressRecord& rec, const ExtraRecord& extra) {
        const std::string identity = RecordIdentity(rec);
        const auto joint = side.joint.find(identity);
        const auto season = side.season.find(identity);
        AppendVcard(out, rec, extra, names, version,
                    joint != side.joint.end() ? joint->second : std::vector<JointName>{},
                    season != side.season.end() ? season->second : SeasonHistory{});
    };
}

} // namespace

std::optional<VcardText> WholeDatabaseVcard(StoreState& state, VcardVersion version, const FileProgress& progress)
{
    const CheckItemNameList names = CheckItemCaptions(state);
    const SideData side = AllSideData(state);
    return WholeDatabaseText(
        state, VcardRecordWriter(names, version, side), [](std::size_t) { return std::string(); }, progress);
}

std::optional<VcardText> ListedRecordsVcard(StoreState& state,
                                            const std::vector<std::int32_t>& recNos,
                                            VcardVersion version,
                                            const FileProgress& progress)
{
    const CheckItemNameList names = CheckItemCaptions(state);
    const SideData side = AllSideData(state);
    return ListedRecordsText(state, recNos, VcardRecordWriter(names, version, side), {}, progress);
}

std::optional<VcardExportJob> ChooseVcardTarget(Interaction& ui, ExportScope scope)
{
    auto choice = ChooseExportFile(ui, scope, "出力vCardファイルの設定", VcardFileTypes);
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
