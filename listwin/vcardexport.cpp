#include "listwin/vcardexport.h"

#include <cerrno>
#include <cstring>

#include "editor/checkitems.h"
#include "listwin/liverecords.h"
#include "platform/atomicfile.h"
#include "platform/interaction.h"
#include "store/dbfile.h"
#include "store/messages.h"
#include "store/state.h"

namespace talik {
namespace {

constexpr std::size_t ProgressStep = 64;

// The save dialog's file types: the first writes 3.0, the second 4.0.
const std::vector<std::string> FileTypes = {"vCard 3.0 (*.vcf)", "vCard 4.0 (*.vcf)", "すべて(*.*)"};
constexpr std::size_t Version4Type = 1;

constexpr std::string_view ExportFailed = "出力時にエラーが発生しました。";

struct DatabaseFiles
{
    std::string mainPath;
    std::string extraPath;
    RecordFile main;
    RecordFile extra;
};

std::optional<DatabaseFiles> OpenBothFiles(AppState& state)
{
    DatabaseFiles files{MainFileName(state.DataPath, state.DbNo), ExtraFileName(state.DataPath, state.DbNo), {}, {}};
    auto main = OpenDbFile(state, files.mainPath, OpenMode::Read, MainRecLen);
    if (!main) {
        return std::nullopt;
    }
    auto extra = OpenDbFile(state, files.extraPath, OpenMode::Read, ExtraRecLen);
    if (!extra) {
        return std::nullopt;
    }
    files.main = std::move(*main);
    files.extra = std::move(*extra);
    return files;
}

std::string Question(const VcardExportJob& job)
{
    const char* what = job.scope == CsvScope::WholeDatabase ? "登録データを出力してもよろしいですか？"
                                                            : "検索結果を出力してもよろしいですか？";
    return job.path + " へ\r" + what;
}

std::string CountMessage(const VcardExportJob& job, std::size_t count)
{
    const char* text =
        job.scope == CsvScope::WholeDatabase ? " 件のデータが出力されました。" : "件のデータが出力されました。";
    return std::to_string(count) + text;
}

} // namespace

std::optional<VcardText> WholeDatabaseVcard(AppState& state, VcardVersion version, const CsvProgress& progress)
{
    auto files = OpenBothFiles(state);
    if (!files) {
        return std::nullopt;
    }
    const CheckItemNameList names = CheckItemCaptions(state);
    ReadingOrder order;
    std::vector<std::size_t> starts;
    std::string cards;
    auto visit = [&](std::int32_t recNo, const AddressRecord& rec, const ExtraRecord* extra) {
        order.add(recNo, std::string_view(rec.KanaName, sizeof rec.KanaName));
        starts.push_back(cards.size());
        AppendVcard(cards, rec, *extra, names, version);
    };
    if (!ScanLiveRecords(state, {&files->main, files->mainPath}, {&files->extra, files->extraPath}, visit, progress)) {
        return std::nullopt;
    }
    starts.push_back(cards.size());
    VcardText text{{}, order.size()};
    text.bytes.reserve(cards.size());
    const std::string_view all(cards);
    for (std::uint32_t position : order.sorted()) {
        text.bytes.append(all.substr(starts[position], starts[position + 1] - starts[position]));
    }
    return text;
}

std::optional<VcardText> ListedRecordsVcard(AppState& state,
                                            const std::vector<std::int32_t>& recNos,
                                            VcardVersion version,
                                            const CsvProgress& progress)
{
    auto files = OpenBothFiles(state);
    if (!files) {
        return std::nullopt;
    }
    const CheckItemNameList names = CheckItemCaptions(state);
    VcardText text{{}, recNos.size()};
    AddressRecord rec{};
    ExtraRecord extra{};
    for (std::size_t i = 0; i < recNos.size(); ++i) {
        if (!files->main.read(recNos[i], Bytes(rec))) {
            TellAccessError(state, files->mainPath);
            return std::nullopt;
        }
        if (!files->extra.read(recNos[i], Bytes(extra))) {
            TellAccessError(state, files->extraPath);
            return std::nullopt;
        }
        AppendVcard(text.bytes, rec, extra, names, version);
        if ((i + 1) % ProgressStep == 0) {
            if (progress) {
                progress(i + 1, recNos.size());
            }
            state.ui.processEvents();
        }
    }
    return text;
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
    if (!state.ui.askYesNo(Question(job), MessageIcon::Exclamation, "確認")) {
        return CsvExportOutcome::Declined;
    }
    std::optional<VcardText> text;
    std::optional<std::string> failure;
    {
        BusyCursor busy(state.ui);
        if (IsOwnDatabaseFile(state, job.path)) {
            failure = "データベースのファイルには出力できません。";
        } else if (text = job.scope == CsvScope::WholeDatabase
                              ? WholeDatabaseVcard(state, job.version, progress)
                              : ListedRecordsVcard(state, job.records, job.version, progress);
                   !text) {
            failure = std::string();
        } else if (!WriteFileAtomically(job.path, text->bytes, {.followLink = true, .keepMode = true})) {
            failure = std::strerror(errno);
        }
    }
    if (failure) {
        std::string message(ExportFailed);
        if (job.tellReason && !failure->empty()) {
            message += "\r\n" + *failure;
        }
        state.ui.message(message, MessageIcon::Critical);
        return CsvExportOutcome::Failed;
    }
    state.ui.message(CountMessage(job, text->records), MessageIcon::None);
    return CsvExportOutcome::Written;
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
