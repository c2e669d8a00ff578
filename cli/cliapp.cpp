#include "cli/cliapp.h"

#include <charconv>
#include <cstdio>
#include <functional>
#include <map>

#include "app/startup.h"
#include "cli/clidatabase.h"
#include "cli/clidbadmin.h"
#include "cli/cliduplicates.h"
#include "cli/cliexport.h"
#include "cli/cliimport.h"
#include "cli/cliinteraction.h"
#include "cli/clijoint.h"
#include "cli/clilayout.h"
#include "cli/clilist.h"
#include "cli/clioptions.h"
#include "cli/clipopup.h"
#include "cli/clipostal.h"
#include "cli/clisearch.h"
#include "cli/cliseason.h"
#include "cli/clisettings.h"
#include "cli/json.h"
#include "listwin/appstate.h"
#include "listwin/currentrecord.h"
#include "listwin/listsync.h"
#include "platform/paths.h"
#include "store/database.h"
#include "store/fields.h"
#include "store/identity.h"
#include "store/season.h"

namespace talik {

int UsageError(const std::string& error)
{
    std::fprintf(stderr, "%s\n%s", error.c_str(), CliUsage());
    return ExitUsage;
}

namespace {

// The address book's own settings (of mode 0, or of the mode named) give the data folder, the
// database names and the print layout; the command line may name another folder and database.
void SetUpState(AppState& state, const CliOptions& options)
{
    state.ProgramFolder = ProgramFolder();
    state.WritableFolder = WritableProgramFolder(state.ProgramFolder);
    state.ProfileFolder = ProfileFolder();
    state.Mode = options.mode;
    ReadAllSettings(state);
    if (options.dataFolder) {
        state.DataPath = WithoutTrailingSlash(*options.dataFolder);
    }
    state.DbNo = options.dbNo;
    // The name is the only list column any command prints: the others need not be decoded.
    state.tables.columns.ColEnabled.fill(false);
    state.tables.columns.ColEnabled[static_cast<int>(ListColumn::KanjiName)] = true;
}

// The record number argument of show and delete; 0 when it is not one.
std::int32_t RecNoArgument(const CliOptions& options)
{
    if (options.arguments.size() != 1) {
        return 0;
    }
    const std::string& text = options.arguments[0];
    std::int32_t recNo = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), recNo);
    bool whole = ec == std::errc() && end == text.data() + text.size();
    return (whole && recNo >= FirstRecNo && recNo <= MaxRecNo) ? recNo : 0;
}

bool IsLive(const AppState& state, std::int32_t recNo)
{
    if (state.tables.usedFlag(recNo) == '1') {
        return true;
    }
    std::fprintf(stderr, "レコード %d は登録されていません。\n", static_cast<int>(recNo));
    return false;
}

// One line per address: key, reading and name.
void PrintItems(const AppState& state, const std::vector<ListItem>& items)
{
    int nameColumn = state.tables.columns.ColIndex[static_cast<int>(ListColumn::KanjiName)];
    for (const auto& item : items) {
        std::printf("%s\t%s\t%s\n", item.key.c_str(), item.text.c_str(), item.subItems[nameColumn - 1].c_str());
    }
}

int ListCommand(AppState& state, const CliOptions&)
{
    if (!OpenForReading(state)) {
        return ExitRefused;
    }
    std::optional<std::string> lines = ListAllLive(state);
    if (!lines) {
        return ExitRefused;
    }
    std::fwrite(lines->data(), 1, lines->size(), stdout);
    return ExitDone;
}

int CountCommand(AppState& state, const CliOptions&)
{
    if (!LoadForReading(state)) {
        return ExitRefused;
    }
    std::printf("%d\n", state.tables.TotalCount);
    return ExitDone;
}

int ShowCommand(AppState& state, const CliOptions& options)
{
    std::int32_t recNo = RecNoArgument(options);
    if (recNo == 0) {
        return UsageError("show にはレコード番号 (2-64000) を指定してください。");
    }
    if (!LoadForReading(state) || !IsLive(state, recNo)) {
        return ExitRefused;
    }
    state.CurRecNo = recNo;
    if (!ReadCurrent(state)) {
        return ExitRefused;
    }
    std::string json = "{";
    for (const auto& field : AllFields()) {
        json += (json.size() > 1 ? ", " : "") + JsonString(field.name) + ": ";
        bool number = field.kind == FieldKind::Long || field.kind == FieldKind::Integer;
        json += number ? std::to_string(FieldNumber(field, state.Rec, state.Extra))
                       : JsonString(FieldText(field, state.Rec, state.Extra));
    }
    const std::string identity = RecordIdentity(state.Rec);
    json += ", \"Id\": " + JsonString(identity) + ", \"Joint\": " + JointJson(state.Joint) +
            ", \"Season\": " + SeasonJson(ReadSeasonHistory(state, identity));
    std::printf("%s}\n", json.c_str());
    return ExitDone;
}

// Fills the record buffers from the --Field=value arguments over what they hold (a new record
// starts from a clean one); false (with the reason) on a bad one. --Joint options replace the joint
// names.
bool FillFromArguments(AppState& state, const CliOptions& options, std::string& error)
{
    JointOptions joint = ParseJointOptions(options.fields);
    if (!joint.error.empty()) {
        error = joint.error;
        return false;
    }
    if (joint.names) {
        state.Joint = *joint.names;
    }
    for (const auto& [name, value] : options.fields) {
        if (name == "Joint") {
            continue;
        }
        const FieldInfo* field = FindField(name);
        if (field == nullptr) {
            error = "不明な項目です: " + name;
            return false;
        }
        bool number = field->kind == FieldKind::Long || field->kind == FieldKind::Integer;
        if (number) {
            long parsed = 0;
            auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), parsed);
            long limit = field->kind == FieldKind::Long ? 2147483647L : 32767L;
            if (ec != std::errc() || end != value.data() + value.size() || parsed < 0 || parsed > limit) {
                error = name + " は数値で指定してください。";
                return false;
            }
            SetFieldNumber(*field, state.Rec, state.Extra, parsed);
            continue;
        }
        // Readings are kept in half-width katakana, as the editor keeps them.
        std::string text = field->name == "KanaName" ? ToHalfKana(value) : value;
        if (!FitsField(field->width, text)) {
            error = name + " が長すぎます (" + std::to_string(field->width) + " バイトまで)。";
            return false;
        }
        SetFieldText(*field, state.Rec, state.Extra, text);
    }
    return true;
}

int AddCommand(AppState& state, const CliOptions& options)
{
    bool hasReading = false;
    for (const auto& field : options.fields) {
        hasReading = hasReading || field.first == "KanaName";
    }
    if (!hasReading || !options.arguments.empty()) {
        return UsageError("add には --KanaName=... が必要です。");
    }
    std::string error;
    ClearRecord(state.Rec);
    ClearRecord(state.Extra);
    if (!FillFromArguments(state, options, error)) {
        return UsageError(error);
    }
    if (GetText(state.Rec.KanaName).empty()) {
        std::fprintf(stderr, "フリガナは必ず入力して下さい。\n");
        return ExitUsage;
    }
    AddressRecord rec = state.Rec;
    ExtraRecord extra = state.Extra;
    std::vector<JointName> joint = state.Joint;
    if (!LoadForChanging(state)) {
        return ExitRefused;
    }
    state.Rec = rec;
    state.Extra = extra;
    state.Joint = joint;
    state.CurRecNo = 0;
    state.EditStatus = 'N';
    if (!SaveCurrent(state)) {
        return ExitRefused;
    }
    std::printf("%d\n", static_cast<int>(state.CurRecNo));
    return ExitDone;
}

// Changes only the fields given, as the editor does; prints nothing.
int UpdateCommand(AppState& state, const CliOptions& options)
{
    std::int32_t recNo = RecNoArgument(options);
    if (recNo == 0) {
        return UsageError("update にはレコード番号 (2-64000) を指定してください。");
    }
    std::string error;
    if (JointOptions joint = ParseJointOptions(options.fields); !joint.error.empty()) {
        return UsageError(joint.error);
    }
    if (!LoadForChanging(state) || !IsLive(state, recNo)) {
        return ExitRefused;
    }
    state.CurRecNo = recNo;
    if (!ReadCurrent(state)) {
        return ExitRefused;
    }
    if (!FillFromArguments(state, options, error)) {
        return UsageError(error);
    }
    if (GetText(state.Rec.KanaName).empty()) {
        std::fprintf(stderr, "フリガナは必ず入力して下さい。\n");
        return ExitUsage;
    }
    state.EditStatus = 'R';
    return SaveCurrent(state) ? ExitDone : ExitRefused;
}

int DeleteCommand(AppState& state, const CliOptions& options)
{
    std::int32_t recNo = RecNoArgument(options);
    if (recNo == 0) {
        return UsageError("delete にはレコード番号 (2-64000) を指定してください。");
    }
    // Read only until the record is known to be there: deleting from a missing database creates nothing.
    if (!LoadForReading(state) || !IsLive(state, recNo)) {
        return ExitRefused;
    }
    ListModel list;
    std::int32_t pos = state.tables.RecPos[recNo];
    std::string reading = pos != 0 ? std::string(state.tables.row(pos % 100, pos / 100).column(0)) : std::string();
    list.add({RecordKey(recNo), reading, {}});
    list.select(0);
    return DeleteSelected(state, list) ? ExitDone : ExitRefused;
}

int SearchCommand(AppState& state, const CliOptions& options)
{
    std::string error;
    auto steps = ParseSearchSteps(options.searches, error);
    if (!steps) {
        return UsageError(error);
    }
    // The hits are read from their records in the scan: the tables are not needed.
    if (!OpenForReading(state)) {
        return ExitRefused;
    }
    auto hits = RunSearchSteps(state, *steps);
    if (!hits) {
        return ExitRefused;
    }
    PrintItems(state, *hits);
    return ExitDone;
}

} // namespace

int RunCli(const std::vector<std::string>& args, const HelperCommands& helpers)
{
    std::string error;
    auto options = ParseCliOptions(args, error);
    if (!options) {
        return UsageError(error);
    }
    const std::map<std::string, CliCommand> commands = {
        {"list", ListCommand},
        {"count", CountCommand},
        {"show", ShowCommand},
        {"add", AddCommand},
        {"update", UpdateCommand},
        {"delete", DeleteCommand},
        {"search", SearchCommand},
        {"print", helpers.print},
        {"export", ExportCommand},
        {"import", ImportCommand},
        {"settings", SettingsCommand},
        {"backup", BackupCommand},
        {"restore", RestoreCommand},
        {"databases", DatabasesCommand},
        {"rename-db", RenameDbCommand},
        {"copy-to", CopyToCommand},
        {"move-to", MoveToCommand},
        {"password", PasswordCommand},
        {"layout", LayoutCommand},
        {"copy", CopyCommand},
        {"delete-all", DeleteAllCommand},
        {"mail-url", MailUrlCommand},
        {"postal", PostalCommand},
        {"sidestore", SideStoreCommand},
        {"season", SeasonCommand},
        {"duplicates", DuplicatesCommand},
        {"merge", MergeCommand},
        {"not-duplicate", NotDuplicateCommand},
        {"unmerge", UnmergeCommand},
        {"sync", helpers.sync},
    };
    auto command = commands.find(options->command);
    if (command == commands.end()) {
        return UsageError("不明なコマンドです: " + options->command);
    }
    bool takesArguments = options->command == "show" || options->command == "delete" || options->command == "update" ||
                          TakesOwnOptions(options->command);
    if (!takesArguments && !options->arguments.empty()) {
        return UsageError("余分な引数があります: " + options->arguments[0]);
    }
    CliInteraction ui(options->password);
    SystemClock clock;
    AppState state(ui, clock);
    SetUpState(state, *options);
    return command->second(state, *options);
}

} // namespace talik
