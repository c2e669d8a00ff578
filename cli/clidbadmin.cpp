#include "cli/clidbadmin.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/cliapp.h"
#include "cli/clidatabase.h"
#include "cli/clioptions.h"
#include "cli/clipassword.h"
#include "dbadmin/backup.h"
#include "dbadmin/dbnames.h"
#include "dbadmin/dbpassword.h"
#include "dbadmin/movecopy.h"
#include "listwin/appstate.h"
#include "platform/paths.h"
#include "platform/recordfile.h"

namespace talik {
namespace {

int Refuse(const std::string& reason)
{
    std::fprintf(stderr, "%s\n", reason.c_str());
    return ExitRefused;
}

std::optional<int> Number(const std::string& text, int low, int high)
{
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

// "1,3,10" within low..high; nullopt for anything else.
std::optional<std::vector<int>> NumberList(const std::string& text, int low, int high)
{
    std::vector<int> numbers;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        std::size_t comma = std::min(text.find(',', begin), text.size());
        auto number = Number(text.substr(begin, comma - begin), low, high);
        if (!number) {
            return std::nullopt;
        }
        numbers.push_back(*number);
        begin = comma + 1;
    }
    return numbers;
}

// --- backup and restore ---------------------------------------------------------------------

struct BackupArguments
{
    std::string folder;
    std::optional<std::vector<int>> databases;
    bool settings = false;
    bool overwriteNewer = false;
};

std::optional<BackupArguments>
ParseBackupArguments(const CliOptions& options, const char* folderOption, std::string& error)
{
    BackupArguments parsed;
    const auto& args = options.arguments;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--settings") {
            parsed.settings = true;
            continue;
        }
        if (args[i] == "--overwrite-newer") {
            parsed.overwriteNewer = true;
            continue;
        }
        const std::string arg = args[i];
        auto option = TakeValuedOption(args, i, {folderOption, "--databases"});
        if (!option) {
            error = "不明な引数です: " + arg;
            return std::nullopt;
        }
        if (!option->value) {
            error = option->name + " には値が必要です。";
            return std::nullopt;
        }
        if (option->name == "--databases") {
            parsed.databases = NumberList(*option->value, 1, DbTotal);
            if (!parsed.databases) {
                error = "--databases は 1 から 10 の番号をカンマで区切って指定してください。";
                return std::nullopt;
            }
        } else {
            parsed.folder = *option->value;
        }
    }
    if (parsed.folder.empty()) {
        error = std::string(folderOption) + " DIR を指定してください。";
        return std::nullopt;
    }
    return parsed;
}

int RunBackupCommand(AppState& state, const CliOptions& options, bool restore)
{
    std::string error;
    auto parsed = ParseBackupArguments(options, restore ? "--from" : "--to", error);
    if (!parsed) {
        return UsageError(error);
    }
    BackupRequest request;
    request.restore = restore;
    request.backupFolder = parsed->folder;
    request.settingsFile = parsed->settings;
    request.newerAnswer = parsed->overwriteNewer;
    // Without a list: every database whose pair is there to be copied.
    const std::string& source = restore ? parsed->folder : state.DataPath;
    for (int dbNo = 1; dbNo <= DbTotal; ++dbNo) {
        request.databases[dbNo - 1] = !parsed->databases && PairExists(source, dbNo);
    }
    for (int dbNo : parsed->databases.value_or(std::vector<int>{})) {
        request.databases[dbNo - 1] = true;
    }
    BackupOutcome outcome = RunBackup(state, request);
    return !outcome.failed && !outcome.done.empty() ? ExitDone : ExitRefused;
}

// --- names and counts -----------------------------------------------------------------------

// The live addresses of a main file, read without writing or asking; nullopt when it is not there.
std::optional<int> LiveCount(const std::string& mainFile)
{
    std::optional<std::string> found =
        FindFileNoCase(mainFile.substr(0, mainFile.rfind('/')), mainFile.substr(mainFile.rfind('/') + 1));
    RecordFile file;
    if (!found || file.open(*found, OpenMode::Read, MainRecLen) != OpenError::None) {
        return std::nullopt;
    }
    MainHeader header{};
    file.read(1, Bytes(header));
    BringUpHeader(header);
    std::int32_t last = SaneLastRecNo(GetLong(header.LastRecNo), file.recordCount(), MaxRecNo);
    int count = 0;
    AddressRecord rec{};
    for (std::int32_t r = FirstRecNo; r <= last && r <= file.recordCount(); ++r) {
        file.read(r, Bytes(rec));
        count += IsDeletedSlot(rec) || IsNeverUsedSlot(rec) ? 0 : 1;
    }
    return count;
}

// --- records to another database ------------------------------------------------------------

struct TransferArguments
{
    int target = 0;
    std::vector<int> records;
    std::optional<std::string> targetPassword;
};

std::optional<TransferArguments> ParseTransferArguments(const CliOptions& options, std::string& error)
{
    TransferArguments parsed;
    const auto& args = options.arguments;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string arg = args[i];
        if (auto option = TakeValuedOption(args, i, {"--records", "--to-password"})) {
            if (!option->value) {
                error = option->name + " には値が必要です。";
                return std::nullopt;
            }
            if (option->name == "--to-password") {
                parsed.targetPassword = *option->value;
                continue;
            }
            auto records = NumberList(*option->value, FirstRecNo, MaxRecNo);
            if (!records) {
                error = "--records はレコード番号 (2-64000) をカンマで区切って指定してください。";
                return std::nullopt;
            }
            parsed.records = *records;
        } else if (parsed.target == 0 && Number(arg, 1, DbTotal)) {
            parsed.target = *Number(arg, 1, DbTotal);
        } else {
            error = "不明な引数です: " + arg;
            return std::nullopt;
        }
    }
    if (parsed.target == 0 || parsed.records.empty()) {
        error = options.command + " にはデータベース番号 (1-10) と --records が必要です。";
        return std::nullopt;
    }
    return parsed;
}

int Transfer(AppState& state, const CliOptions& options, bool move)
{
    std::string error;
    auto parsed = ParseTransferArguments(options, error);
    if (!parsed) {
        return UsageError(error);
    }
    if (parsed->target == state.DbNo) {
        return Refuse("移動先・複写先に開いているデータベースは指定できません。");
    }
    if (!LoadForChanging(state)) {
        return ExitRefused;
    }
    std::vector<std::int32_t> listed;
    for (int recNo : parsed->records) {
        if (state.tables.usedFlag(recNo) != '1') {
            return Refuse("レコード " + std::to_string(recNo) + " は登録されていません。何も処理していません。");
        }
        if (std::find(listed.begin(), listed.end(), recNo) == listed.end()) {
            listed.push_back(recNo);
        }
    }
    MoveCopyOutcome outcome = MoveCopyRecords(state, listed, {parsed->target, move, parsed->targetPassword});
    std::printf("%d\n", outcome.done);
    return outcome.stopped ? ExitRefused : ExitDone;
}

} // namespace

int BackupCommand(AppState& state, const CliOptions& options)
{
    return RunBackupCommand(state, options, false);
}

int RestoreCommand(AppState& state, const CliOptions& options)
{
    return RunBackupCommand(state, options, true);
}

int DatabasesCommand(AppState& state, const CliOptions& options)
{
    if (!options.arguments.empty()) {
        return UsageError("余分な引数があります: " + options.arguments[0]);
    }
    for (int dbNo = 1; dbNo <= DbTotal; ++dbNo) {
        std::optional<int> count = LiveCount(MainFileName(state.DataPath, dbNo));
        std::printf("%d\t%s\t%s\n", dbNo, state.settings.AddrDBName[dbNo - 1].c_str(),
                    count ? std::to_string(*count).c_str() : "");
    }
    return ExitDone;
}

int RenameDbCommand(AppState& state, const CliOptions& options)
{
    std::optional<int> dbNo = options.arguments.size() == 2 ? Number(options.arguments[0], 1, DbTotal) : std::nullopt;
    if (!dbNo) {
        return UsageError("rename-db にはデータベース番号 (1-10) と名前を指定してください。");
    }
    std::array<std::string, DbTotal> names = state.settings.AddrDBName;
    names[*dbNo - 1] = options.arguments[1];
    if (!RegisterDbNames(state, names)) {
        return ExitRefused;
    }
    std::printf("%d\t%s\n", *dbNo, state.settings.AddrDBName[*dbNo - 1].c_str());
    return ExitDone;
}

int CopyToCommand(AppState& state, const CliOptions& options)
{
    return Transfer(state, options, false);
}

int MoveToCommand(AppState& state, const CliOptions& options)
{
    return Transfer(state, options, true);
}

int PasswordCommand(AppState& state, const CliOptions& options)
{
    const auto& args = options.arguments;
    std::optional<std::string> password;
    if (args.size() == 1 && args[0] == "--clear") {
        password = "";
    } else if (args.size() == 2 && args[0] == "--set") {
        if (args[1] == "-") {
            if (options.password && options.password->source == PasswordOption::Source::StandardInput) {
                return UsageError("標準入力から読めるのは一つのパスワードだけです。");
            }
            std::string error;
            password = ReadPassword({PasswordOption::Source::StandardInput, "-"}, error);
            if (!password) {
                return Refuse(error);
            }
        } else {
            password = args[1];
        }
        if (password->empty()) {
            return UsageError("パスワードを消すには --clear を指定してください。");
        }
    } else {
        return UsageError("password には --set TEXT, --set - または --clear を指定してください。");
    }
    if (auto problem = PasswordProblem(*password)) {
        return Refuse(*problem);
    }
    if (!LoadForChanging(state)) {
        return ExitRefused;
    }
    return SetDatabasePassword(state, *password) ? ExitDone : ExitRefused;
}

} // namespace talik
