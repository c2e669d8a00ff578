#include "cli/cliimport.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "cli/cliapp.h"
#include "cli/clidatabase.h"
#include "cli/clioptions.h"
#include "store/state.h"

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

bool SetMap(const std::string& value, CsvImportOptions& options, std::string& error)
{
    std::vector<int> columns;
    if (!ParseNumberList(value, 0, 9999, columns) || columns.size() > CsvSlotTotal) {
        error = "--map は 18 個までの列番号 (0 はなし) をカンマで区切って指定してください。";
        return false;
    }
    // Slots the list does not reach take no column.
    options.map.fill(0);
    std::copy(columns.begin(), columns.end(), options.map.begin());
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

bool SetValued(const std::string& name, const std::string& value, CsvImportOptions& options, std::string& error)
{
    if (name == "--map") {
        return SetMap(value, options, error);
    }
    if (name == "--check") {
        return SetChecks(value, options, error);
    }
    return SetEncoding(value, options, error);
}

// Splits "--name=value" or "--name value"; an empty name when `arg` is no valued option of import.
std::string ValuedOption(const std::vector<std::string>& args, std::size_t& i, std::string& value, bool& missing)
{
    for (const char* name : {"--map", "--check", "--encoding"}) {
        std::string option = name;
        const std::string& arg = args[i];
        if (arg.rfind(option + "=", 0) == 0) {
            value = arg.substr(option.size() + 1);
            return option;
        }
        if (arg == option) {
            missing = i + 1 >= args.size();
            value = missing ? std::string() : args[++i];
            return option;
        }
    }
    return {};
}

// Message texts break lines with CR LF or a lone CR; a terminal wants LF.
std::string TerminalLines(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            out += text[i];
        } else if (i + 1 == text.size() || text[i + 1] != '\n') {
            out += '\n';
        }
    }
    return out;
}

void PrintMessage(const std::string& text)
{
    std::fprintf(stderr, "%s\n", TerminalLines(text).c_str());
}

} // namespace

std::optional<CliImport> ParseImportArguments(const std::vector<std::string>& args, std::string& error)
{
    CliImport import;
    bool haveFile = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string value;
        bool missing = false;
        if (std::string name = ValuedOption(args, i, value, missing); !name.empty()) {
            if (missing) {
                error = name + " には値が必要です。";
                return std::nullopt;
            }
            if (!SetValued(name, value, import.options, error)) {
                return std::nullopt;
            }
        } else if (arg == "--skip-first") {
            import.options.skipFirst = true;
        } else if (arg == "--half-kana") {
            import.options.halfKana = true;
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
    if (import->options.map[0] == 0) {
        std::fprintf(stderr, "%s\n%s", CsvReadingRequiredMessage(state.settings.Captions).c_str(), CliUsage());
        return ExitUsage;
    }
    std::string bytes;
    if (!ReadWholeFile(import->file, bytes)) {
        PrintMessage(std::string(CsvReadErrorMessage) + "\r\n" + import->file + ": " + std::strerror(errno));
        return ExitRefused;
    }
    if (DetectCsvEncoding(bytes) == CsvFileEncoding::Unreadable) {
        PrintMessage(std::string(CsvUnreadableMessage));
        return ExitRefused;
    }
    if (!LoadForChanging(state)) {
        return ExitRefused;
    }
    // The command itself is the user's yes to the question the window would ask.
    PrintMessage(CsvImportQuestion(import->file) + " → はい");
    CsvImportResult result = ImportCsvFile(state, bytes, import->options);
    if (result.stoppedAt != 0) {
        PrintMessage(CsvStoppedReport(result));
        return ExitRefused;
    }
    PrintMessage(CsvImportReport(result, state.settings.Captions.kana));
    return ExitDone;
}

} // namespace talik
