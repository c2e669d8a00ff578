#pragma once
// Start-up and shutdown rules of the address book that need no window: the mode on the command
// line, the titles that carry it, the settings applied to the shared state, and the ending path.
#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "store/readahead.h"

namespace talik {

struct AppState;
class Launcher;

inline constexpr std::string_view ProductName = "Rinmaro";
inline constexpr std::string_view AppVersion = "7.01";
inline constexpr std::string_view HelpFileName = "TALIK32.HLP";

struct ModeArgument
{
    int mode = 0;
    bool invalid = false; // a "-" not followed by two digits: tell the user, run mode 0
};

// The mode named by the command line: the two characters after its first "-", when they are digits.
ModeArgument ParseModeArgument(std::string_view commandLine);
// The parameter message shown for an invalid mode.
inline constexpr std::string_view BadParameterMessage = "起動パラメータの指定が正しくありません。";

// "05" for mode 5.
std::string ModeText(int mode);
// "Rinmaro (Ver. 7.01) Mode 05": the list window's title, by which a second copy finds the first.
std::string MainWindowTitle(int mode);
// "Rinmaro Mode 05": the tip of the notification-area icon.
std::string TrayTip(int mode);
// The name under which the running copy of a mode answers a second one: per user, settings
// folder and mode (copies kept apart by their settings folders are different installations).
std::string InstanceName(std::string_view user, std::string_view profileFolder, int mode);

// Reads the settings files and sets the shared state from them: the data folder, the database to
// open, the list columns and mode, the tray mode.
void ReadAllSettings(AppState& state);
// Where the program, its writable files and its settings are, found before any window.
struct StartFolders
{
    std::string program;
    std::string writable;
    std::string profile;
};
StartFolders FindStartFolders();
// Starts reading the records of the database the settings of `mode` open, for the first load to
// take while Qt and the windows start; that load takes them only when they are of the file and
// columns it reads.
std::shared_ptr<ReadAhead>
StartReadingAhead(int mode, const StartFolders& folders, std::chrono::nanoseconds trustedAge = ReadAhead::TrustedAge);
// Puts what the program changed while it ran back into the settings (database, list mode, list
// window geometry given by the caller) and writes them. False, told to the user, when the file
// could not be written.
bool WriteAllSettings(AppState& state);

// What closing the list window comes to.
enum class CloseOutcome
{
    Hide,   // the program lives on in the notification area
    End,    // the program ends
    Cancel, // the user said No: the program keeps running
};

struct EndingSteps
{
    std::function<void()> storeGeometry; // the window's place, when it is in its normal state
    std::function<void()> writeSettings;
    std::function<void()> unloadHelpers; // the other windows and the tray icon
};

// The closing path of the list window. `systemClosing` is true when the session is ending.
CloseOutcome CloseMainWindow(AppState& state, bool systemClosing, const EndingSteps& steps);
inline constexpr std::string_view EndQuestion = "Ｍｉｒｅｐｏｌを終了しますか？";
inline constexpr std::string_view EndQuestionTitle = "終了確認";

// Opens the help file of the program folder with the desktop's viewer; tells the user when it is missing.
void OpenHelp(AppState& state, Launcher& launcher);

} // namespace talik
