// Writes the settings file over and over: one of the processes of the settings concurrency test.
// Usage: settings_writer SETTINGS_FILE KIND MODE COUNT
//   keys      sets "Key0" ... in the mode's section, one new key per write
//   settings  writes the keys written at exit, "BackupPath" telling the round
//   names     writes the ten database names, the first telling the round
// Exits 1 as soon as a write reports failure.
#include <string>
#include <string_view>

#include "platform/profile.h"
#include "store/settings.h"

namespace {

bool WriteRound(std::string_view kind, const std::string& file, int mode, int round)
{
    const std::string value = "round " + std::to_string(round);
    if (kind == "keys") {
        return talik::WritePrivateProfileString(talik::SettingsSection(mode), "Key" + std::to_string(round), value,
                                                file);
    }
    talik::Settings settings;
    if (kind == "settings") {
        settings.BackupPath = value;
        return talik::WriteSettings(settings, file, mode);
    }
    settings.AddrDBName[0] = value;
    return talik::WriteDbNames(settings, file, mode);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        return 2;
    }
    const std::string file = argv[1];
    const int mode = std::stoi(argv[3]);
    const int count = std::stoi(argv[4]);
    for (int round = 0; round < count; ++round) {
        if (!WriteRound(argv[2], file, mode, round)) {
            return 1;
        }
    }
    return 0;
}
