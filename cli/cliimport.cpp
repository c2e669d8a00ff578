#include "cli/cliimport.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "cli/cliapp.h"
#include "cli/clidatabase.h"
#include "cli/clioptions.h"
#include "cli/clivcard.h"
#include "interchange/csvheaders.h"
#include "interchange/importsource.h"
#include "interchange/vcardread.h"
#include "listwin/appstate.h"
#include "platform/installpaths.h"
#include "postal/postalrecord.h"

namespace talik {
namespace {

// A comma-separated list of numbers from `low` to `high`; false on anything else.
bool ParseNumberList(const std::string& text, int low, int high, std::vector<int>& numbers)
{
    numbers.clear();
    const char* p = text.data();
    const char* end = text.data() + text.size();
    for (;;) {
        int value = 0;
        auto [next, ec] = std::from_chars(p, end, value);
        if (ec != std::errc() || value < low || value > high) {
            return false;
        }
        numbers.push_back(value);
        if (next == end) {
            return true;
        }
        if (*next != ',') {
            return false;
        }
        p = next + 1;
    }
}

// "2+3,1+4,0,…": each slot's columns, joined with "+", the slots separated by commas.
bool SetMap(const std::string& value, CsvImportOptions& options, std::string& error)
{
    // Slots the list does not reach take no column.
    options.map = CsvMap{};
    std::size_t slot = 0;
    for (std::size_t from = 0; from <= value.size(); ++slot) {
        std::size_t comma = std::min(value.find(',', from), value.size());
        if (slot == options.map.size() ||
            !ParseJoinedColumns(std::string_view(value).substr(from, comma - from), 9999, options.map[slot])) {
            error = "--map は 19 個までの列番号 (0 はなし、「2+3」で列をつなぐ) をカンマで区切って指定するか、"
                    "auto を指定してください。";
            return false;
        }
        from = comma + 1;
    }
    return true;
}

bool SetOnDuplicate(const std::string& value, CsvImportOptions& options, std::string& error)
{
    if (value == "add") {
        options.onDuplicate = DuplicateAction::Add;
    } else if (value == "skip") {
        options.onDuplicate = DuplicateAction::Skip;
    } else if (value == "fill") {
        options.onDuplicate = DuplicateAction::Fill;
    } else {
        error = "--on-duplicate は add, skip, fill のどれかで指定してください。";
        return false;
    }
    return true;
}

// The columns named by the file's header line, told on standard error; false when the first line
// is no header we know.
bool GuessMap(const std::string& bytes, CsvImportOptions& options)
{
    CsvPreview preview = PreviewCsv(bytes, ChooseCsvEncoding(bytes, options.encoding));
    if (!preview.guessed) {
        std::fprintf(stderr, "１行目を見出しとして読めません。--map で列を指定してください。\n");
        return false;
    }
    options.map = *preview.guessed;
    options.skipFirst = true;
    std::fprintf(stderr, "%s", DescribeCsvMap(options.map, preview.fields).c_str());
    return true;
}

bool SetChecks(const std::string& value, CsvImportOptions& options, std::string& error)
{
    std::vector<int> items;
    if (!ParseNumberList(value, 1, 15, items)) {
        error = "--check はチェック項目の番号 (1-15) をカンマで区切って指定してください。";
        return false;
    }
    for (int item : items) {
        options.checkItems[static_cast<std::size_t>(item - 1)] = '1';
    }
    return true;
}

bool SetEncoding(const std::string& value, CsvImportOptions& options, std::string& error)
{
    if (value == "auto") {
        options.encoding = CsvEncoding::Auto;
    } else if (value == "cp932") {
        options.encoding = CsvEncoding::Cp932;
    } else if (value == "utf-8") {
        options.encoding = CsvEncoding::Utf8;
    } else {
        error = "--encoding は auto, cp932, utf-8 のどれかで指定してください。";
        return false;
    }
    return true;
}

bool OpenPostal(AppState& state, std::optional<PostalIndex>& postal)
{
    std::string path = FindPostalIndex(state.ProgramFolder, InstalledDataFolder(state.ProgramFolder));
    std::string error;
    postal = path.empty() ? std::nullopt : PostalIndex::Open(path, error);
    if (!postal) {
        state.ui.message(path.empty() ? "郵便番号データがありません。" : error, MessageIcon::Exclamation);
    }
    return postal.has_value();
}

ImportRecordFill FillFrom(const PostalIndex& postal)
{
    return [&postal](AddressRecord& rec) { return FillRecordPostal(postal, rec); };
}

bool SetValued(const std::string& name, const std::string& value, CsvImportOptions& options, std::string& error)
{
    if (name == "--map") {
        return SetMap(value, options, error);
    }
    if (name == "--on-duplicate") {
        return SetOnDuplicate(value, options, error);
    }
    if (name == "--check") {
        return SetChecks(value, options, error);
    }
    return SetEncoding(value, options, error);
}

} // namespace

std::optional<CliImport> ParseImportArguments(const std::vector<std::string>& args, std::string& error)
{
    CliImport import;
    bool haveFile = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (auto option = TakeValuedOption(args, i, {"--map", "--check", "--encoding", "--format", "--on-duplicate"})) {
            if (!option->value) {
                error = option->name + " には値が必要です。";
                return std::nullopt;
            }
            if (option->name == "--format") {
                if (*option->value != "csv" && *option->value != "vcard") {
                    error = "--format は csv か vcard で指定してください。";
                    return std::nullopt;
                }
                import.vcard = *option->value == "vcard";
            } else if (option->name == "--map" && *option->value == "auto") {
                import.autoMap = true;
            } else if (!SetValued(option->name, *option->value, import.options, error)) {
                return std::nullopt;
            }
        } else if (arg == "--skip-first") {
            import.options.skipFirst = true;
        } else if (arg == "--half-kana") {
            import.options.halfKana = true;
        } else if (arg == "--fill-postal") {
            import.options.fillPostal = true;
        } else if (arg.rfind("--", 0) == 0 || haveFile) {
            error = (haveFile ? "余分な引数があります: " : "不明なオプションです: ") + arg;
            return std::nullopt;
        } else {
            import.file = arg;
            haveFile = true;
        }
    }
    if (!haveFile) {
        error = "import には取込むＣＳＶファイルを指定してください。";
        return std::nullopt;
    }
    return import;
}

int ImportCommand(AppState& state, const CliOptions& options)
{
    std::string error;
    std::optional<CliImport> import = ParseImportArguments(options.arguments, error);
    if (!import) {
        std::fprintf(stderr, "%s\n%s", error.c_str(), CliUsage());
        return ExitUsage;
    }
    if (!import->autoMap && ColumnsOf(import->options.map[0]).empty() && import->vcard != true) {
        std::fprintf(stderr, "%s\n%s", CsvReadingRequiredMessage(state.settings.Captions).c_str(), CliUsage());
        return ExitUsage;
    }
    std::string bytes;
    if (ImportFileError error = ReadImportBytes(import->file, bytes); error != ImportFileError::None) {
        state.ui.message(ImportFileMessage(error, import->file, errno), MessageIcon::Exclamation);
        return ExitRefused;
    }
    // The index is opened before anything is stored: without it the import asked for is not done.
    std::optional<PostalIndex> postal;
    if (import->options.fillPostal && !OpenPostal(state, postal)) {
        return ExitRefused;
    }
    if (postal) {
        import->options.fill = FillFrom(*postal);
    }
    if (import->vcard.value_or(StartsAsVcard(bytes))) {
        return ImportVcardBytes(state, import->file, bytes, import->options.checkItems, import->options.fill);
    }
    if (DetectCsvEncoding(bytes) == CsvFileEncoding::Unreadable) {
        state.ui.message(std::string(CsvUnreadableMessage), MessageIcon::Exclamation);
        return ExitRefused;
    }
    if (import->autoMap) {
        if (!GuessMap(bytes, import->options)) {
            return ExitUsage;
        }
        if (ColumnsOf(import->options.map[0]).empty()) {
            std::fprintf(stderr, "%s\n", CsvReadingRequiredMessage(state.settings.Captions).c_str());
            return ExitUsage;
        }
    }
    if (!LoadForChanging(state)) {
        return ExitRefused;
    }
    // The command itself is the user's yes to the question the window would ask (and it is shown).
    state.ui.askYesNo(CsvImportQuestion(import->file), MessageIcon::Exclamation, std::string(ImportConfirmTitle));
    ImportCounts result;
    if (ImportRanOutOfMemory(state, [&] { result = ImportCsvFile(state, bytes, import->options); })) {
        return ExitRefused;
    }
    if (result.stoppedAt != 0) {
        state.ui.message(ImportStoppedReport(result), MessageIcon::Exclamation);
        return ExitRefused;
    }
    state.ui.message(ImportReport(result, state.settings.Captions.kana), MessageIcon::Exclamation);
    return ExitDone;
}

} // namespace talik
