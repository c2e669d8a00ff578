#include "cli/cliseason.h"

#include <charconv>
#include <cstdio>
#include <map>

#include "cli/cliapp.h"
#include "cli/clidatabase.h"
#include "cli/clilist.h"
#include "cli/clioptions.h"
#include "cli/json.h"
#include "listwin/appstate.h"
#include "store/identity.h"
#include "store/personids.h"
#include "store/season.h"

namespace talik {
namespace {

struct SeasonArguments
{
    std::string action;
    std::optional<int> year;
    std::optional<SeasonMark> mark;
    std::optional<SeasonFilter> filter;
    bool off = false;
    std::optional<std::string> note;
    std::vector<std::int32_t> records;
};

bool ParseRecords(const std::string& text, std::vector<std::int32_t>& records)
{
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        int recNo = 0;
        if (!ParseWholeNumber(text.substr(start, comma - start), recNo)) {
            return false;
        }
        records.push_back(recNo);
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    return !records.empty();
}

bool TakeFlag(const std::string& arg, SeasonArguments& parsed)
{
    static const std::map<std::string, SeasonMark> marks = {
        {"--sent", SeasonMark::Sent},
        {"--received", SeasonMark::Received},
        {"--mourning", SeasonMark::Mourning},
        {"--stop", SeasonMark::Stop},
    };
    static const std::map<std::string, SeasonFilter> filters = {
        {"--to-send", SeasonFilter::ToSend},    {"--sent", SeasonFilter::Sent},
        {"--received", SeasonFilter::Received}, {"--reply-needed", SeasonFilter::ReplyNeeded},
        {"--mourning", SeasonFilter::Mourning},
    };
    if (parsed.action == "mark" && marks.contains(arg) && !parsed.mark) {
        parsed.mark = marks.at(arg);
        return true;
    }
    if (parsed.action == "list" && filters.contains(arg) && !parsed.filter) {
        parsed.filter = filters.at(arg);
        return true;
    }
    if (parsed.action == "mark" && arg == "--off") {
        parsed.off = true;
        return true;
    }
    return false;
}

std::optional<SeasonArguments> Parse(const std::vector<std::string>& args, std::string& error)
{
    SeasonArguments parsed;
    parsed.action = args.empty() ? std::string() : args[0];
    if (parsed.action != "mark" && parsed.action != "list") {
        error = "season には mark か list を指定してください。";
        return std::nullopt;
    }
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (TakeFlag(args[i], parsed)) {
            continue;
        }
        auto valued = TakeValuedOption(args, i, {"--year", "--note", "--records"});
        if (!valued || !valued->value) {
            error = valued ? valued->name + " に値を指定してください。" : "不明なオプションです: " + args[i];
            return std::nullopt;
        }
        int year = 0;
        if (valued->name == "--year" && ParseWholeNumber(*valued->value, year) && year > 0) {
            parsed.year = year;
        } else if (valued->name == "--note" && parsed.action == "mark") {
            parsed.note = *valued->value;
        } else if (valued->name == "--records" && parsed.action == "mark" &&
                   ParseRecords(*valued->value, parsed.records)) {
        } else {
            error = "オプションの値が正しくありません: " + args[i];
            return std::nullopt;
        }
    }
    if (parsed.action == "mark" && (!parsed.mark || parsed.records.empty())) {
        error = "season mark には --sent、--received、--mourning、--stop のどれかと --records を指定してください。";
        return std::nullopt;
    }
    if (parsed.mark == SeasonMark::Stop && (parsed.year || parsed.note)) {
        error = "--stop には年もメモもありません。";
        return std::nullopt;
    }
    return parsed;
}

int Mark(AppState& state, const SeasonArguments& args)
{
    if (!LoadForChanging(state)) {
        return ExitRefused;
    }
    std::optional<PersonIds> ids = IdentitiesOfRecords(state, args.records);
    if (!ids) {
        return ExitRefused;
    }
    if (ids->missing != 0) {
        std::fprintf(stderr, "レコード %d は登録されていません。\n", static_cast<int>(ids->missing));
        return ExitRefused;
    }
    int year = args.year.value_or(CardYearOf(state));
    return MarkSeason(state, ids->identities, year, *args.mark, !args.off, args.note) ? ExitDone : ExitRefused;
}

int List(AppState& state, const SeasonArguments& args)
{
    if (!OpenForReading(state)) {
        return ExitRefused;
    }
    const SeasonYear year = ReadSeasonYear(state, args.year.value_or(CardYearOf(state)));
    const SeasonFilter filter = args.filter.value_or(SeasonFilter::AnyMark);
    std::optional<std::string> lines = ListAllLive(state, [&](const AddressRecord& rec) {
        const std::string identity = RecordIdentity(rec);
        return SeasonHolds(filter, year.of(identity), year.stopped.contains(identity));
    });
    if (!lines) {
        return ExitRefused;
    }
    std::fwrite(lines->data(), 1, lines->size(), stdout);
    return ExitDone;
}

} // namespace

int SeasonCommand(AppState& state, const CliOptions& options)
{
    std::string error;
    std::optional<SeasonArguments> args = Parse(options.arguments, error);
    if (!args) {
        return UsageError(error);
    }
    return args->action == "mark" ? Mark(state, *args) : List(state, *args);
}

std::string SeasonJson(const SeasonHistory& history)
{
    std::string json = "{";
    for (const auto& [year, marks] : history.years) {
        if (!marks.any()) {
            continue;
        }
        json += (json.size() > 1 ? ", " : "") + JsonString(std::to_string(year)) +
                ": {\"Sent\": " + (marks.sent ? "true" : "false") +
                ", \"Received\": " + (marks.received ? "true" : "false") +
                ", \"Mourning\": " + (marks.mourning ? "true" : "false") + ", \"Note\": " + JsonString(marks.note) +
                "}";
    }
    return json + "}, \"Stop\": " + (history.stop ? "true" : "false");
}

} // namespace talik
