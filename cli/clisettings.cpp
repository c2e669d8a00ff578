#include "cli/clisettings.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <string>

#include "cli/cliapp.h"
#include "cli/clioptions.h"
#include "editor/envsettings.h"
#include "listwin/appstate.h"
#include "platform/profile.h"
#include "store/settings.h"

namespace talik {
namespace {

// A key the file can hold on one line of its own.
bool UsableKey(const std::string& key)
{
    return !key.empty() && key.find_first_of("=[]\r\n;") == std::string::npos && key.front() != ' ' &&
           key.back() != ' ';
}

std::optional<std::string> ComPortValue(const std::string& value)
{
    int port = 0;
    auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), port);
    if (error != std::errc() || end != value.data() + value.size() || port < 1 || port > ComPortTotal) {
        return std::nullopt;
    }
    return std::to_string(port);
}

// The value stored for `key`, checked as the settings dialog checks it; nullopt (with the reason
// on standard error) when it is refused.
std::optional<std::string> CheckedValue(const std::string& key, const std::string& value)
{
    if (value.find_first_of("\r\n") != std::string::npos || !FitsCp932(value, value.size() * 2 + 2)) {
        std::fprintf(stderr, "設定ファイルに書けない文字があります。\n");
        return std::nullopt;
    }
    if (EqualsNoCase(key, "DBPathAddr")) {
        std::optional<std::string> folder = DataFolderSetting(value);
        if (!folder) {
            std::fprintf(stderr, "%s\n", std::string(BadFolderMessage).c_str());
        }
        return folder;
    }
    if (EqualsNoCase(key, "ListFontSize")) {
        std::optional<int> size = ListFontSizeOf(value);
        if (!size) {
            std::fprintf(stderr, "%s\n", std::string(BadNumberMessage).c_str());
            return std::nullopt;
        }
        return std::to_string(*size);
    }
    if (EqualsNoCase(key, "ComPort")) {
        std::optional<std::string> port = ComPortValue(value);
        if (!port) {
            std::fprintf(stderr, "ComPort は 1 から 5 の番号で指定してください。\n");
        }
        return port;
    }
    return value;
}

int GetSetting(const std::string& file, const std::string& section, const std::string& key)
{
    std::optional<std::string> value = ProfileDocument::load(file).value(section, key);
    if (!value) {
        std::fprintf(stderr, "設定 %s はありません。\n", key.c_str());
        return ExitRefused;
    }
    std::printf("%s\n", value->c_str());
    return ExitDone;
}

int SetSetting(const std::string& file, const std::string& section, const std::string& key, const std::string& value)
{
    std::optional<std::string> stored = CheckedValue(key, value);
    if (!stored) {
        return ExitRefused;
    }
    if (!UpdateProfile(file, [&](ProfileDocument& doc) { doc.set(section, key, *stored); })) {
        std::fprintf(stderr, "設定ファイル（%s）への書き込みに失敗しました。\n", file.c_str());
        return ExitRefused;
    }
    return ExitDone;
}

int SettingsUsage()
{
    std::fprintf(stderr, "settings get KEY または settings set KEY VALUE と指定してください。\n%s", CliUsage());
    return ExitUsage;
}

} // namespace

int SettingsCommand(AppState& state, const CliOptions& options)
{
    const std::vector<std::string>& args = options.arguments;
    const bool get = args.size() == 2 && args[0] == "get";
    const bool set = args.size() == 3 && args[0] == "set";
    if ((!get && !set) || !UsableKey(args[1])) {
        return SettingsUsage();
    }
    const std::string file = SettingsFile(state.ProfileFolder);
    const std::string section = SettingsSection(state.Mode);
    return get ? GetSetting(file, section, args[1]) : SetSetting(file, section, args[1], args[2]);
}

} // namespace talik
