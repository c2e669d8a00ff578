#include "cli/cliexport.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cliapp.h"
#include "cli/clidatabase.h"
#include "cli/clioptions.h"
#include "cli/clivcard.h"
#include "interchange/csvexport.h"
#include "listwin/appstate.h"

namespace talik {
namespace {

struct ExportArguments
{
    std::string out;
    std::optional<std::vector<std::int32_t>> records;
    CsvWriteEncoding encoding = CsvWriteEncoding::Cp932;
    bool vcard = false; // --format vcard
    VcardVersion version = VcardVersion::V3;
    bool formulaSafe = false; // --safe
};

// "2,5,9": record numbers 2..64000; nullopt for anything else.
std::optional<std::vector<std::int32_t>> RecordList(const std::string& text)
{
    std::vector<std::int32_t> recNos;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        const std::size_t comma = std::min(text.find(',', begin), text.size());
        std::int32_t recNo = 0;
        auto [end, ec] = std::from_chars(text.data() + begin, text.data() + comma, recNo);
        if (ec != std::errc() || end != text.data() + comma || recNo < FirstRecNo || recNo > MaxRecNo) {
            return std::nullopt;
        }
        recNos.push_back(recNo);
        begin = comma + 1;
    }
    return recNos;
}

// Takes the value of one of export's options; false when it is not one the option takes.
bool Apply(const std::string& name, const std::string& value, ExportArguments& parsed)
{
    if (name == "--out") {
        parsed.out = value;
        return !value.empty();
    }
    if (name == "--records") {
        parsed.records = RecordList(value);
        return parsed.records.has_value();
    }
    if (name == "--format") {
        parsed.vcard = value == "vcard";
        return value == "csv" || value == "vcard";
    }
    if (name == "--vcard-version") {
        auto version = ParseVcardVersion(value);
        parsed.version = version.value_or(VcardVersion::V3);
        return version.has_value();
    }
    parsed.encoding = value == "utf-8" ? CsvWriteEncoding::Utf8 : CsvWriteEncoding::Cp932;
    return value == "cp932" || value == "utf-8";
}

std::optional<ExportArguments> ParseExportArguments(const std::vector<std::string>& args, std::string& error)
{
    ExportArguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string arg = args[i];
        if (arg == "--safe") {
            parsed.formulaSafe = true;
            continue;
        }
        std::optional<ValuedOption> option =
            TakeValuedOption(args, i, {"--out", "--records", "--encoding", "--format", "--vcard-version"});
        if (!option || !option->value || !Apply(option->name, *option->value, parsed)) {
            error = "export の引数が正しくありません: " + arg;
            return std::nullopt;
        }
    }
    if (parsed.out.empty()) {
        error = "export には --out FILE が必要です。";
        return std::nullopt;
    }
    return parsed;
}

bool AllLive(const AppState& state, const std::vector<std::int32_t>& recNos)
{
    for (std::int32_t recNo : recNos) {
        if (state.tables.usedFlag(recNo) != '1') {
            std::fprintf(stderr, "レコード %d は登録されていません。\n", static_cast<int>(recNo));
            return false;
        }
    }
    return true;
}

} // namespace

int ExportCommand(AppState& state, const CliOptions& options)
{
    std::string error;
    auto args = ParseExportArguments(options.arguments, error);
    if (!args) {
        std::fprintf(stderr, "%s\n%s", error.c_str(), CliUsage());
        return ExitUsage;
    }
    if (args->vcard) {
        return ExportVcardFile(state, args->out, args->version, args->records);
    }
    CsvExportJob job;
    job.path = args->out;
    job.form = args->encoding;
    job.tellReason = true;
    job.formulaSafe = args->formulaSafe;
    if (args->records) {
        // The records named must be there: the tables say which are.
        if (!LoadForReading(state) || !AllLive(state, *args->records)) {
            return ExitRefused;
        }
        job.scope = ExportScope::Listed;
        job.records = *args->records;
    } else if (!OpenForReading(state)) {
        return ExitRefused;
    }
    return ExportCsv(state, job) == ExportOutcome::Written ? ExitDone : ExitRefused;
}

} // namespace talik
