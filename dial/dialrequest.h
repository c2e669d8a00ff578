#pragma once
// The dial request: the address book checks the modem settings and starts the dialler program
// with everything it needs on its command line, which is the whole interface between the two.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talik {

struct AppState;
class Launcher;

inline constexpr std::string_view DiallerName = "Talikad2";            // the program file on this system
inline constexpr std::string_view DiallerWindowsName = "TALIKAD2.EXE"; // its name in messages

// The argument text after the program name: "~00" + name + " [0]" + number + "[1]" + port +
// "ATDT"/"ATDP" + "[2]" + initialisation + "[3]". No field can carry a marker: each "[" in the
// name, the number and the initialisation is passed on as the full-width "［".
std::string DiallerArgumentText(
    std::string_view name, std::string_view dialNumber, int comPort, int comTelType, std::string_view initString);
// The argument text as an argument list: split at every blank (the dialler joins its arguments with
// single blanks, so the text arrives unchanged).
std::vector<std::string> DiallerArgumentList(std::string_view argumentText);
// The dialler in the program folder, found without regard to case, else the first one on PATH (an
// installed copy); nullopt when there is none.
std::optional<std::string> FindDialler(const std::string& programFolder);

// Chooses telephone slot `slot` (0 Tel1, 1 Fax1, 2 Tel2, 3 Fax2) of the record in the buffers:
// DialSlot and DialNumber, the slot's number as stored, cleaned.
void ChooseDialSlot(AppState& state, int slot);

// Starts the dialler for the record in the buffers and DialNumber; tells the user when it cannot.
bool LaunchDialler(AppState& state, Launcher& launcher);

enum class DialFrom
{
    MainWindow,   // checks the modem settings and keeps MainIdle false meanwhile
    SearchWindow, // no settings check
};
// The dial request: `confirm` shows the call confirmation (which leaves EditStatus "N" when no call
// is to be made); then the settings check and the launch.
void DialRequest(AppState& state, Launcher& launcher, DialFrom from, const std::function<void()>& confirm);

inline constexpr std::string_view ModemSettingsMissingMessage = "モデム関連パラメータの設定が行われていません。";

} // namespace talik
