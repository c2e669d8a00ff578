#include "editor/envsettings.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <system_error>
#include <unistd.h>

#include "listwin/appstate.h"
#include "platform/codec.h"
#include "platform/profile.h"
#include "platform/trim.h"
#include "store/record.h"
#include "store/settings.h"

namespace talik {
namespace {

constexpr std::string_view SwitchOn = "-1";
constexpr std::string_view SwitchOff = "0";

int OneWhenOutside(int value, int last)
{
    return value >= 1 && value <= last ? value : 1;
}

std::string Trimmed(std::string_view text)
{
    return std::string(TrimOf(text, " \t"));
}

// The longest head of `utf8` that CP932 holds in `bytes` bytes, never cutting a character.
std::string CutToBytes(std::string_view utf8, std::size_t bytes)
{
    std::size_t used = 0;
    std::size_t at = 0;
    while (at < utf8.size()) {
        const std::size_t length = std::max<std::size_t>(Utf8CharLength(utf8.substr(at)), 1);
        const std::size_t encoded = ToCp932(utf8.substr(at, length)).size();
        if (used + encoded > bytes) {
            break;
        }
        used += encoded;
        at += length;
    }
    return std::string(utf8.substr(0, at));
}

bool IsWritableFolder(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_directory(path, error) && access(path.c_str(), W_OK | X_OK) == 0;
}

bool SameFolder(const std::string& a, const std::string& b)
{
    std::error_code error;
    return a == b || std::filesystem::equivalent(a, b, error);
}

std::string_view Switch(bool on)
{
    return on ? SwitchOn : SwitchOff;
}

int SwitchValue(bool on)
{
    return on ? -1 : 0;
}

// Every key the dialog edits, in the order the program has always written them.
void WriteKeys(ProfileDocument& doc,
               const std::string& section,
               const EnvironmentValues& v,
               const std::string& folder,
               int fontSize)
{
    auto text = [&](std::string_view key, std::string_view value) { doc.set(section, key, value); };
    for (int i = 0; i < 15; ++i) {
        text("AddressCheck" + std::to_string(i), CutToBytes(v.AddressCheck[i], GlobalCheckNameBytes));
    }
    text("ComInitChar", CutToBytes(v.ComInitChar, ModemTextBytes));
    text("ComExtTel", CutToBytes(v.ComExtTel, ModemTextBytes));
    text("ComPort", std::to_string(v.ComPort));
    text("ComTelType", std::to_string(v.ComTelType));
    text("DBLClickOPT", std::to_string(v.DBLClickOPT));
    text("FromAddr", CutToBytes(v.FromAddr, SenderTextBytes));
    text("FromName", CutToBytes(v.FromName, SenderTextBytes));
    text("FromPost", CutToBytes(v.FromPost, SenderTextBytes));
    text("FromAddr1", CutToBytes(v.FromAddr1, SenderTextBytes));
    text("FromName1", CutToBytes(v.FromName1, SenderTextBytes));
    text("FromPost1", CutToBytes(v.FromPost1, SenderTextBytes));
    text("DBPathAddr", folder);
    text("ListFontName", CutToBytes(v.ListFontName, FontNameBytes));
    text("ListFontSize", std::to_string(fontSize));
    text("End_Check", Switch(v.End_Check));
    text("TaskTray", Switch(v.TaskTray));
    text("UseHarupo", Switch(v.UseHarupo));
    // Stored inverted: the box says "do not start it".
    text("HarupoRun", Switch(!v.HarupoAutoStartOff));
    text("ExtTelFlag", Switch(v.ExtTelFlag));
}

// What was written, as the program reads it back.
void TakeOver(Settings& s, const EnvironmentValues& v, const std::string& folder, int fontSize)
{
    for (int i = 0; i < 15; ++i) {
        s.AddressCheck[i] = CleanFixed(CutToBytes(v.AddressCheck[i], GlobalCheckNameBytes));
    }
    s.ComInitChar = CleanFixed(CutToBytes(v.ComInitChar, ModemTextBytes));
    s.ComExtTel = CleanFixed(CutToBytes(v.ComExtTel, ModemTextBytes));
    s.ComPort = v.ComPort;
    s.ComTelType = v.ComTelType;
    s.DBLClickOPT = v.DBLClickOPT;
    s.FromAddr = CleanFixed(CutToBytes(v.FromAddr, SenderTextBytes));
    s.FromName = CleanFixed(CutToBytes(v.FromName, SenderTextBytes));
    s.FromPost = CleanFixed(CutToBytes(v.FromPost, SenderTextBytes));
    s.FromAddr1 = CleanFixed(CutToBytes(v.FromAddr1, SenderTextBytes));
    s.FromName1 = CleanFixed(CutToBytes(v.FromName1, SenderTextBytes));
    s.FromPost1 = CleanFixed(CutToBytes(v.FromPost1, SenderTextBytes));
    s.DBPathAddr = folder;
    s.ListFontName = CleanFixed(CutToBytes(v.ListFontName, FontNameBytes));
    s.ListFontSize = fontSize;
    s.End_Check = SwitchValue(v.End_Check);
    s.TaskTray = SwitchValue(v.TaskTray);
    s.UseHarupo = SwitchValue(v.UseHarupo);
    s.HarupoRun = SwitchValue(!v.HarupoAutoStartOff);
    s.ExtTelFlag = SwitchValue(v.ExtTelFlag);
}

} // namespace

EnvironmentValues EnvironmentFromSettings(const Settings& s)
{
    EnvironmentValues v;
    v.AddressCheck = s.AddressCheck;
    v.ComInitChar = s.ComInitChar;
    v.ComExtTel = s.ComExtTel;
    v.FromAddr = s.FromAddr;
    v.FromName = s.FromName;
    v.FromPost = s.FromPost;
    v.FromAddr1 = s.FromAddr1;
    v.FromName1 = s.FromName1;
    v.FromPost1 = s.FromPost1;
    v.DataFolder = s.DBPathAddr;
    v.ListFontName = s.ListFontName;
    v.ListFontSize = std::to_string(s.ListFontSize);
    v.ComPort = OneWhenOutside(s.ComPort, ComPortTotal);
    v.ComTelType = OneWhenOutside(s.ComTelType, 2);
    v.DBLClickOPT = OneWhenOutside(s.DBLClickOPT, 5);
    v.End_Check = s.End_Check != 0;
    v.TaskTray = s.TaskTray != 0;
    v.UseHarupo = s.UseHarupo != 0;
    v.HarupoAutoStartOff = s.HarupoRun == 0;
    v.ExtTelFlag = s.ExtTelFlag != 0;
    return v;
}

bool FitsCp932(std::string_view utf8, std::size_t bytes)
{
    const std::string encoded = ToCp932(utf8);
    return encoded.size() <= bytes && FromCp932(encoded) == utf8;
}

std::optional<std::string> DataFolderSetting(std::string_view typed)
{
    std::string folder = Trimmed(typed);
    if (folder.empty()) {
        return std::string("*");
    }
    if (folder.front() != '*') {
        if (folder.front() != '/') {
            return std::nullopt; // a relative path would depend on where the program was started
        }
        while (folder.size() > 1 && folder.back() == '/') {
            folder.pop_back();
        }
        if (!IsWritableFolder(folder)) {
            return std::nullopt;
        }
    }
    if (!FitsCp932(folder, DataFolderBytes)) {
        return std::nullopt;
    }
    return folder;
}

std::optional<int> ListFontSizeOf(std::string_view typed)
{
    const std::string text = Trimmed(typed);
    int size = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), size);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || size < 0 ||
        size > MaxListFontSize || text.front() == '+') {
        return std::nullopt;
    }
    return std::max(size, MinListFontSize);
}

StoreResult StoreEnvironment(AppState& state, const EnvironmentValues& values)
{
    const std::optional<std::string> folder = DataFolderSetting(values.DataFolder);
    if (!folder) {
        state.ui.message(std::string(BadFolderMessage), MessageIcon::Critical);
        return {StoreOutcome::BadFolder};
    }
    const std::optional<int> fontSize = ListFontSizeOf(values.ListFontSize);
    if (!fontSize) {
        state.ui.message(std::string(BadNumberMessage), MessageIcon::Exclamation);
        return {StoreOutcome::BadFontSize};
    }
    const std::string file = SettingsFile(state.ProfileFolder);
    const std::string section = SettingsSection(state.Mode);
    if (!UpdateProfile(file, [&](ProfileDocument& doc) { WriteKeys(doc, section, values, *folder, *fontSize); })) {
        TellSettingsNotWritten(state.ui, file);
        return {StoreOutcome::NotWritten};
    }
    StoreResult result;
    const Settings before = state.settings;
    TakeOver(state.settings, values, *folder, *fontSize);
    result.listFontChanged =
        before.ListFontName != state.settings.ListFontName || before.ListFontSize != state.settings.ListFontSize;
    const std::string dataPath = DataPathFromSetting(*folder, state.WritableFolder);
    if (!SameFolder(dataPath, state.DataPath)) {
        state.DataPath = dataPath;
        state.TablesLoaded = false;
        result.dataFolderChanged = true;
    }
    return result;
}

} // namespace talik
