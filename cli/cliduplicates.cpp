#include "cli/cliduplicates.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/cliapp.h"
#include "cli/clidatabase.h"
#include "cli/clioptions.h"
#include "listwin/appstate.h"
#include "store/merge.h"
#include "store/recordmerge.h"

namespace talik {
namespace {

// Exactly `count` record numbers among the arguments, the option `valued` (if any) taken aside.
struct NumberedArguments
{
    std::vector<std::int32_t> recNos;
    std::optional<std::string> value;
};

std::optional<NumberedArguments> ReadNumberedArguments(const CliOptions& options, std::size_t count, const char* valued)
{
    NumberedArguments read;
    const std::vector<std::string>& args = options.arguments;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (valued != nullptr) {
            if (std::optional<ValuedOption> option = TakeValuedOption(args, i, {valued})) {
                if (!option->value) {
                    return std::nullopt;
                }
                read.value = option->value;
                continue;
            }
        }
        std::optional<std::int32_t> recNo = NumberIn(args[i], FirstRecNo, MaxRecNo);
        if (!recNo) {
            return std::nullopt;
        }
        read.recNos.push_back(*recNo);
    }
    if (read.recNos.size() != count) {
        return std::nullopt;
    }
    return read;
}

void TellMissing(const std::vector<std::int32_t>& recNos)
{
    std::fprintf(stderr, "レコード %d か %d が登録されていません。\n", static_cast<int>(recNos[0]),
                 static_cast<int>(recNos[1]));
}

} // namespace

int DuplicatesCommand(AppState& state, const CliOptions& options)
{
    std::optional<NumberedArguments> read = ReadNumberedArguments(options, 0, "--min-score");
    std::optional<std::int32_t> minScore =
        read && read->value ? NumberIn(*read->value, 0, 100) : std::optional<std::int32_t>(HighConfidenceScore);
    if (!read || !minScore) {
        return UsageError("duplicates には --min-score (0-100) のほかに引数はありません。");
    }
    if (!LoadForReading(state)) {
        return ExitRefused;
    }
    std::optional<std::vector<DuplicatePair>> pairs = ProposedDuplicates(state, *minScore);
    if (!pairs) {
        return ExitRefused;
    }
    for (const DuplicatePair& pair : *pairs) {
        std::printf("%d\t%d\t%d\t%s\n", static_cast<int>(pair.a), static_cast<int>(pair.b), pair.match.score,
                    ReasonText(pair.match).c_str());
    }
    return ExitDone;
}

int MergeCommand(AppState& state, const CliOptions& options)
{
    std::optional<NumberedArguments> read = ReadNumberedArguments(options, 2, "--prefer");
    if (!read || (read->value && *read->value != "A" && *read->value != "B")) {
        return UsageError(
            "merge には残すレコード番号 A と統合するレコード番号 B、必要なら --prefer A|B を指定してください。");
    }
    if (!LoadForChanging(state)) {
        return ExitRefused;
    }
    std::set<std::string, std::less<>> takeFromB;
    if (read->value == "B") {
        takeFromB.insert(MergedFieldNames().begin(), MergedFieldNames().end());
    }
    switch (MergeDuplicates(state, read->recNos[0], read->recNos[1], takeFromB)) {
    case MergeOutcome::Merged:
        std::printf("%d\n", static_cast<int>(read->recNos[0]));
        return ExitDone;
    case MergeOutcome::Missing:
        TellMissing(read->recNos);
        return ExitRefused;
    case MergeOutcome::Failed:
        break;
    }
    return ExitRefused;
}

int NotDuplicateCommand(AppState& state, const CliOptions& options)
{
    std::optional<NumberedArguments> read = ReadNumberedArguments(options, 2, nullptr);
    if (!read) {
        return UsageError("not-duplicate には別人のレコード番号を 2 つ指定してください。");
    }
    if (!LoadForChanging(state)) {
        return ExitRefused;
    }
    if (!MarkNotDuplicate(state, read->recNos[0], read->recNos[1])) {
        TellMissing(read->recNos);
        return ExitRefused;
    }
    return ExitDone;
}

int UnmergeCommand(AppState& state, const CliOptions& options)
{
    std::optional<NumberedArguments> read = ReadNumberedArguments(options, 1, nullptr);
    if (!read) {
        return UsageError("unmerge には統合して残したレコード番号を 1 つ指定してください。");
    }
    if (!LoadForChanging(state)) {
        return ExitRefused;
    }
    std::int32_t back = UndoLastMerge(state, read->recNos[0]);
    if (back == 0) {
        std::fprintf(stderr, "レコード %d に戻せる統合はありません。\n", static_cast<int>(read->recNos[0]));
        return ExitRefused;
    }
    std::printf("%d\n", static_cast<int>(back));
    return ExitDone;
}

} // namespace talik
