#pragma once
// The environment settings as the settings dialog edits them: a copy of every value, filled from the
// settings, checked and stored together in one write of the settings file, and only then taken over
// by the running program.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "store/settings.h"

namespace talik {

struct AppState;
struct Settings;

// What reads back from the settings file: the text reads cut one byte below their buffer.
inline constexpr std::size_t GlobalCheckNameBytes = 39;
inline constexpr std::size_t ModemTextBytes = 39;
inline constexpr std::size_t SenderTextBytes = 79;
inline constexpr std::size_t DataFolderBytes = 59;
inline constexpr std::size_t FontNameBytes = 39;

inline constexpr std::string_view BadFolderMessage = "ディレクトリーの指定が正しくありません。";
inline constexpr std::string_view BadNumberMessage = "正しい数値を入力してください。";
inline constexpr std::string_view TaskTrayNotice = "タスクトレイの設定は、次回のRinmaro\r\n起動時に有効になります。";
inline constexpr std::string_view ReloadedNotice = "データベースを読み直しました";

struct EnvironmentValues
{
    std::array<std::string, 15> AddressCheck;
    std::string ComInitChar;
    std::string ComExtTel;
    std::string FromAddr, FromName, FromPost;
    std::string FromAddr1, FromName1, FromPost1;
    std::string DataFolder; // as typed; "*" the program's own folder
    std::string ListFontName;
    std::string ListFontSize; // as typed
    int ComPort = 1;          // 1..5
    int ComTelType = 1;       // 1 tone, 2 pulse
    int DBLClickOPT = 1;      // 1..5: change, show, telephone, selective print, e-mail
    bool End_Check = false;
    bool TaskTray = false;
    bool UseHarupo = false;
    bool HarupoAutoStartOff = false; // stored inverted as "HarupoRun"
    bool ExtTelFlag = false;
};

// The values as the dialog opens with them; a port, line type or double-click action of 0 (or out
// of range) reads as 1.
EnvironmentValues EnvironmentFromSettings(const Settings& settings);

// The "DBPathAddr" value a typed data folder is stored as: empty gives "*", "*..." stays as it is,
// otherwise an absolute path to an existing, writable folder, without its trailing "/", that
// CP932 can hold in 59 bytes. nullopt for anything else.
std::optional<std::string> DataFolderSetting(std::string_view typed);
// The list font size a typed text gives: whole numbers, below 6 raised to 6, up to 72; nullopt
// for anything else.
std::optional<int> ListFontSizeOf(std::string_view typed);
// True when CP932 holds every character of `utf8` in at most `bytes` bytes.
bool FitsCp932(std::string_view utf8, std::size_t bytes);

enum class StoreOutcome
{
    Stored,
    BadFolder,   // told; nothing stored
    BadFontSize, // told; nothing stored
    NotWritten,  // the settings file could not be written (told); nothing taken over
};

struct StoreResult
{
    StoreOutcome outcome = StoreOutcome::Stored;
    bool dataFolderChanged = false; // the tables describe another folder: the caller reloads them
    bool listFontChanged = false;
};

// Checks the values, writes every key the dialog edits in one replacement of the settings file and,
// only when that succeeded, takes them over into the settings and the state. A changed data folder
// becomes DataPath with TablesLoaded cleared.
StoreResult StoreEnvironment(AppState& state, const EnvironmentValues& values);

} // namespace talik
