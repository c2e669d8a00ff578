#include "app/startup.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "listwin/appstate.h"
#include "platform/installpaths.h"
#include "platform/launcher.h"
#include "platform/paths.h"
#include "store/readahead.h"

namespace talik {

ModeArgument ParseModeArgument(std::string_view commandLine)
{
    std::size_t dash = commandLine.find('-');
    if (dash == std::string_view::npos) {
        return {};
    }
    std::string_view digits = commandLine.substr(dash + 1, 2);
    bool number = digits.size() == 2 && std::isdigit(static_cast<unsigned char>(digits[0])) &&
                  std::isdigit(static_cast<unsigned char>(digits[1]));
    if (!number) {
        return {0, true};
    }
    return {(digits[0] - '0') * 10 + (digits[1] - '0'), false};
}

std::string ModeText(int mode)
{
    char text[8];
    std::snprintf(text, sizeof(text), "%02d", mode);
    return text;
}

std::string MainWindowTitle(int mode)
{
    return std::string(ProductName) + " (Ver. " + std::string(AppVersion) + ") Mode " + ModeText(mode);
}

std::string TrayTip(int mode)
{
    return std::string(ProductName) + " Mode " + ModeText(mode);
}

std::string InstanceName(std::string_view user, std::string_view profileFolder, int mode)
{
    char folderHash[20];
    std::snprintf(folderHash, sizeof(folderHash), "%016zx", std::hash<std::string_view>{}(profileFolder));
    return "talik32-" + std::string(user) + "-" + folderHash + "-mode" + ModeText(mode);
}

namespace {

// The settings of `mode`, from the settings file of the profile folder and the captions file of the
// program folder.
void ReadSettingsOf(const std::string& profileFolder, const std::string& programFolder, int mode, Settings& settings)
{
    ReadSettings(settings, SettingsFile(profileFolder), CaptionsFile(programFolder), mode);
}

int ActiveDbNo(const Settings& settings)
{
    return (settings.AddrDBAct >= 1 && settings.AddrDBAct <= DbTotal) ? settings.AddrDBAct : 1;
}

} // namespace

void ReadAllSettings(AppState& state)
{
    Settings& settings = state.settings;
    ReadSettingsOf(state.ProfileFolder, state.ProgramFolder, state.Mode, settings);
    state.DataPath = DataPathFromSetting(settings.DBPathAddr, state.WritableFolder);
    state.DbNo = ActiveDbNo(settings);
    state.tables.columns.ColEnabled = settings.ListSelTable;
    state.listMode = settings.ListMode == 1 ? ListMode::Row : ListMode::Individual;
    state.TrayMode = settings.TaskTray != 0;
}

bool WriteAllSettings(AppState& state)
{
    Settings& settings = state.settings;
    settings.AddrDBAct = state.DbNo;
    settings.ListMode = state.listMode == ListMode::Row ? 1 : 0;
    const std::string file = SettingsFile(state.ProfileFolder);
    if (!WriteSettings(settings, file, state.Mode)) {
        TellSettingsNotWritten(state.ui, file);
        return false;
    }
    return true;
}

CloseOutcome CloseMainWindow(AppState& state, bool systemClosing, const EndingSteps& steps)
{
    if (!systemClosing && !state.ExitRequested) {
        return CloseOutcome::Hide;
    }
    steps.storeGeometry();
    steps.writeSettings();
    // The question comes before the other windows and the tray icon go, so that "No" leaves the
    // program whole rather than running on without them.
    if (state.settings.End_Check == 0 &&
        !state.ui.askYesNo(std::string(EndQuestion), MessageIcon::Exclamation, std::string(EndQuestionTitle))) {
        return CloseOutcome::Cancel;
    }
    steps.unloadHelpers();
    return CloseOutcome::End;
}

void OpenHelp(AppState& state, Launcher& launcher)
{
    // In the program folder, as it always was, else among an installed copy's shared files.
    std::string help = ResolveNoCase(WithoutTrailingSlash(state.ProgramFolder), std::string(HelpFileName));
    if (!std::filesystem::exists(help)) {
        help = ResolveNoCase(WithoutTrailingSlash(InstalledDataFolder(state.ProgramFolder)), std::string(HelpFileName));
    }
    if (!std::filesystem::exists(help) || !launcher.openDocument(help)) {
        state.ui.message(std::string(HelpFileName) + "がありません。", MessageIcon::Exclamation);
    }
}

StartFolders FindStartFolders()
{
    StartFolders folders;
    folders.program = ProgramFolder();
    folders.writable = WritableProgramFolder(folders.program);
    folders.profile = ProfileFolder();
    return folders;
}

std::shared_ptr<ReadAhead> StartReadingAhead(int mode, const StartFolders& folders, std::chrono::nanoseconds trustedAge)
{
    Settings settings;
    ReadSettingsOf(folders.profile, folders.program, mode, settings);
    ColumnSet columns;
    columns.ColEnabled = settings.ListSelTable;
    const std::string dataPath = DataPathFromSetting(settings.DBPathAddr, folders.writable);
    return std::make_shared<ReadAhead>(MainFileName(dataPath, ActiveDbNo(settings)), columns, trustedAge);
}

} // namespace talik
