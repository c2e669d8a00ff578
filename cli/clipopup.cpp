#include "cli/clipopup.h"

#include <cstdio>

#include "cli/cliapp.h"
#include "cli/clidatabase.h"
#include "cli/clioptions.h"
#include "editor/mail.h"
#include "listwin/appstate.h"
#include "listwin/clipboardcopy.h"
#include "listwin/currentrecord.h"
#include "store/database.h"
#include "store/deleteall.h"

namespace talik {
namespace {

// "2,5,9": record numbers; nullopt for anything else.
std::optional<std::vector<std::int32_t>> RecordNumbers(const std::string& text)
{
    std::vector<std::int32_t> recNos;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        std::size_t comma = std::min(text.find(',', begin), text.size());
        std::optional<std::int32_t> recNo = NumberIn(text.substr(begin, comma - begin), FirstRecNo, MaxRecNo);
        if (!recNo) {
            return std::nullopt;
        }
        recNos.push_back(*recNo);
        begin = comma + 1;
    }
    return recNos;
}

bool Live(const AppState& state, std::int32_t recNo)
{
    if (state.tables.usedFlag(recNo) == '1') {
        return true;
    }
    std::fprintf(stderr, "レコード %d は登録されていません。\n", static_cast<int>(recNo));
    return false;
}

} // namespace

int CopyCommand(AppState& state, const CliOptions& options)
{
    std::optional<std::int32_t> recNo;
    int setting = 1;
    const std::vector<std::string>& args = options.arguments;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (std::optional<ValuedOption> option = TakeValuedOption(args, i, {"--setting"})) {
            std::optional<std::int32_t> number =
                option->value ? NumberIn(*option->value, 1, CopySettingTotal) : std::nullopt;
            if (!number) {
                return UsageError("--setting は 1 から 4 の番号で指定してください。");
            }
            setting = *number;
            continue;
        }
        recNo = recNo ? std::nullopt : NumberIn(args[i], FirstRecNo, MaxRecNo);
        if (!recNo) {
            return UsageError("copy にはレコード番号 (2-64000) を 1 つ指定してください。");
        }
    }
    if (!recNo) {
        return UsageError("copy にはレコード番号 (2-64000) を 1 つ指定してください。");
    }
    if (!LoadForReading(state) || !Live(state, *recNo)) {
        return ExitRefused;
    }
    state.CurRecNo = *recNo;
    if (!ReadCurrent(state)) {
        return ExitRefused;
    }
    std::optional<std::string> text = CopyText(state.Rec, state.Extra, state.settings.Copy[setting - 1].parm);
    if (!text || text->empty()) {
        std::fprintf(stderr, "コピーする内容がありません。\n");
        return ExitRefused;
    }
    std::string out = ForClipboard(*text);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return ExitDone;
}

int DeleteAllCommand(AppState& state, const CliOptions&)
{
    if (!LoadForChanging(state)) {
        return ExitRefused;
    }
    return DeleteAllData(state) ? ExitDone : ExitRefused;
}

int MailUrlCommand(AppState& state, const CliOptions& options)
{
    std::optional<std::vector<std::int32_t>> recNos;
    const std::vector<std::string>& args = options.arguments;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::optional<ValuedOption> option = TakeValuedOption(args, i, {"--records"});
        if (!option || !option->value || !(recNos = RecordNumbers(*option->value))) {
            return UsageError("mail-url には --records N,N,... を指定してください。");
        }
    }
    if (!recNos) {
        return UsageError("mail-url には --records N,N,... を指定してください。");
    }
    if (!LoadForReading(state)) {
        return ExitRefused;
    }
    ListModel list;
    for (std::int32_t recNo : *recNos) {
        if (!Live(state, recNo)) {
            return ExitRefused;
        }
        list.add({RecordKey(recNo), {}, {}});
    }
    std::optional<std::vector<std::string>> addresses = CollectListAddresses(state, list, 0, list.size() - 1);
    if (!addresses) {
        return ExitRefused;
    }
    std::string url = MailtoUrl(*addresses);
    std::string tooMany = TooManyRecipients(url, addresses->size());
    if (!tooMany.empty()) {
        std::fprintf(stderr, "%s\n", tooMany.c_str());
        return ExitRefused;
    }
    std::printf("%s\n", url.c_str());
    return ExitDone;
}

} // namespace talik
