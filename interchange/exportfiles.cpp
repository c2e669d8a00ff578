#include "interchange/exportfiles.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/atomicfile.h"
#include "platform/interaction.h"
#include "store/dbfile.h"
#include "store/liverecords.h"
#include "store/messages.h"
#include "store/state.h"

namespace talik {
namespace {

constexpr std::size_t ProgressStep = 64; // listed records between two progress reports

constexpr std::string_view ExportFailed = "出力時にエラーが発生しました。";

struct DatabaseFiles
{
    std::string mainPath;
    std::string extraPath;
    RecordFile main;
    RecordFile extra;
};

// Both files of the open database, opened once for the whole export.
std::optional<DatabaseFiles> OpenBothFiles(StoreState& state)
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

std::string Question(const ExportTarget& target)
{
    const char* what = target.scope == ExportScope::WholeDatabase ? "登録データを出力してもよろしいですか？"
                                                                  : "検索結果を出力してもよろしいですか？";
    return target.path + " へ\r" + what;
}

std::string CountMessage(const ExportTarget& target, std::size_t count)
{
    // The whole database's message has a blank before its text; the search result's has none.
    const char* text =
        target.scope == ExportScope::WholeDatabase ? " 件のデータが出力されました。" : "件のデータが出力されました。";
    return std::to_string(count) + text;
}

ExportOutcome Fail(StoreState& state, const ExportTarget& target, const std::string& reason)
{
    std::string text(ExportFailed);
    if (target.tellReason && !reason.empty()) {
        text += "\r\n" + reason;
    }
    state.ui.message(text, MessageIcon::Critical);
    return ExportOutcome::Failed;
}

} // namespace

std::optional<ExportedText> WholeDatabaseText(StoreState& state,
                                              const AppendRecordText& append,
                                              const ExportHead& head,
                                              const FileProgress& progress)
{
    auto files = OpenBothFiles(state);
    if (!files) {
        return std::nullopt;
    }
    // Each record's text is written as the record is read; the texts are put in list order afterwards.
    const auto expected = static_cast<std::size_t>(std::max<std::int64_t>(files->main.recordCount() - 1, 0));
    ReadingOrder order(expected);
    std::vector<std::size_t> starts;
    starts.reserve(expected + 1);
    std::string texts;
    texts.reserve(expected * 160);
    auto visit = [&](std::int32_t recNo, const AddressRecord& rec, const ExtraRecord* extra) {
        order.add(recNo, std::string_view(rec.KanaName, sizeof rec.KanaName));
        starts.push_back(texts.size());
        append(texts, rec, *extra);
    };
    if (!ScanLiveRecords(state, {&files->main, files->mainPath}, {&files->extra, files->extraPath}, visit, progress)) {
        return std::nullopt;
    }
    starts.push_back(texts.size());
    ExportedText text{head(order.size()), order.size()};
    text.bytes.reserve(text.bytes.size() + texts.size());
    const std::string_view all(texts);
    for (std::uint32_t position : order.sorted()) {
        text.bytes.append(all.substr(starts[position], starts[position + 1] - starts[position]));
    }
    return text;
}

std::optional<ExportedText> ListedRecordsText(StoreState& state,
                                              const std::vector<std::int32_t>& recNos,
                                              const AppendRecordText& append,
                                              std::string head,
                                              const FileProgress& progress)
{
    auto files = OpenBothFiles(state);
    if (!files) {
        return std::nullopt;
    }
    ExportedText text{std::move(head), recNos.size()};
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
        append(text.bytes, rec, extra);
        if ((i + 1) % ProgressStep == 0) {
            if (progress) {
                progress(i + 1, recNos.size());
            }
            state.ui.processEvents();
        }
    }
    return text;
}

ExportOutcome
WriteExport(StoreState& state, const ExportTarget& target, const std::function<std::optional<ExportedText>()>& build)
{
    if (!state.ui.askYesNo(Question(target), MessageIcon::Exclamation, "確認")) {
        return ExportOutcome::Declined;
    }
    std::optional<ExportedText> text;
    std::optional<std::string> failure; // why nothing was written
    {
        BusyCursor busy(state.ui);
        if (IsOwnDatabaseFile(state, target.path)) {
            failure = "データベースのファイルには出力できません。";
        } else if (text = build(); !text) {
            failure = std::string(); // the store has told why
        } else if (!WriteFileAtomically(target.path, text->bytes, {.followLink = true, .keepMode = true})) {
            failure = std::strerror(errno);
        }
    }
    if (failure) {
        return Fail(state, target, *failure);
    }
    state.ui.message(CountMessage(target, text->records), MessageIcon::None);
    return ExportOutcome::Written;
}

std::optional<Interaction::SaveChoice> ChooseExportFile(Interaction& ui,
                                                        ExportScope scope,
                                                        const std::string& wholeTitle,
                                                        const std::vector<std::string>& types,
                                                        const std::vector<std::string>& checks)
{
    const std::string title = scope == ExportScope::WholeDatabase ? wholeTitle : "出力先ファイルの設定";
    return checks.empty() ? ui.chooseSaveFileOfType(title, types) : ui.chooseSaveFileWithChecks(title, types, checks);
}

} // namespace talik
