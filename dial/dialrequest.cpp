#include "dial/dialrequest.h"

#include <span>

#include "dialler/texts.h"
#include "listwin/appstate.h"
#include "platform/installpaths.h"
#include "platform/launcher.h"
#include "platform/paths.h"
#include "store/record.h"
#include "store/settingscheck.h"

namespace talik {
namespace {

constexpr int ToneDialling = 1;
constexpr char NoCall = 'N'; // the call confirmation's answer when no call is to be made
constexpr std::string_view NotFoundSuffix = "が見つかりません。";

std::string_view DialPrefix(int comTelType)
{
    return comTelType == ToneDialling ? "ATDT" : "ATDP";
}

// The dialler takes the first "[0]" to "[3]" it finds, so a marker inside a stored field would
// move the fields after it: a name could choose the number and the modem commands. Every "[" of
// a field becomes the full-width "［", which reads the same and is no marker.
std::string WithoutMarkers(std::string_view field)
{
    constexpr std::string_view FullWidthBracket = "［";
    std::string text;
    for (char c : field) {
        if (c == '[') {
            text.append(FullWidthBracket);
        } else {
            text += c;
        }
    }
    return text;
}

// The stored number of a telephone slot.
std::span<const char> SlotNumber(const AddressRecord& rec, int slot)
{
    switch (slot) {
    case 0:
        return rec.Tel1;
    case 1:
        return rec.Fax1;
    case 2:
        return rec.Tel2;
    default:
        return rec.Fax2;
    }
}

bool ModemSettingsMade(const Settings& settings)
{
    return settings.ComPort != 0 && settings.ComTelType != 0;
}

void ReportDiallerMissing(AppState& state)
{
    state.ui.message(state.ProgramFolder + std::string(DiallerWindowsName) + std::string(NotFoundSuffix),
                     MessageIcon::Exclamation);
}

// After the call confirmation: nothing when no call is wanted, else the settings check (the
// search window leaves an unset port to the dialler, which reports it) and the launch.
void CallIfConfirmed(AppState& state, Launcher& launcher, bool checkSettings)
{
    if (state.EditStatus == NoCall) {
        return;
    }
    if (checkSettings && !ModemSettingsMade(state.settings)) {
        state.ui.message(std::string(ModemSettingsMissingMessage), MessageIcon::Exclamation);
        return;
    }
    LaunchDialler(state, launcher);
}

} // namespace

std::string DiallerArgumentText(
    std::string_view name, std::string_view dialNumber, int comPort, int comTelType, std::string_view initString)
{
    std::string text = "~00";
    text.append(WithoutMarkers(name)).append(" [0]").append(WithoutMarkers(dialNumber)).append("[1]");
    text.append(std::to_string(comPort)).append(DialPrefix(comTelType));
    text.append("[2]").append(WithoutMarkers(initString)).append("[3]");
    return text;
}

std::vector<std::string> DiallerArgumentList(std::string_view argumentText)
{
    std::vector<std::string> arguments;
    for (;;) {
        std::size_t blank = argumentText.find(' ');
        arguments.emplace_back(argumentText.substr(0, blank));
        if (blank == std::string_view::npos) {
            return arguments;
        }
        argumentText.remove_prefix(blank + 1);
    }
}

std::optional<std::string> FindDialler(const std::string& programFolder)
{
    // Beside the address book first (the build folder, a copied program folder), then on PATH.
    if (auto beside = FindFileNoCase(programFolder, std::string(DiallerName))) {
        return beside;
    }
    return FindOnPath(std::string(DiallerName));
}

void ChooseDialSlot(AppState& state, int slot)
{
    state.DialSlot = slot;
    state.DialNumber = GetText(SlotNumber(state.Rec, slot));
}

bool LaunchDialler(AppState& state, Launcher& launcher)
{
    const Settings& settings = state.settings;
    // Port 0 (not set) goes on to the dialler, which tells it; a number no window offers does not.
    if (settings.ComPort != 0 && !UsableComPort(settings.ComPort)) {
        state.ui.message(std::string(dialler::PortUnusableMessage), MessageIcon::Exclamation);
        return false;
    }
    std::string text = DiallerArgumentText(GetText(state.Rec.KanjiName), state.DialNumber, settings.ComPort,
                                           settings.ComTelType, settings.ComInitChar);
    auto program = FindDialler(state.ProgramFolder);
    if (!program || !launcher.start(*program, DiallerArgumentList(text))) {
        ReportDiallerMissing(state);
        return false;
    }
    return true;
}

void DialRequest(AppState& state, Launcher& launcher, DialFrom from, const std::function<void()>& confirm)
{
    const bool mainWindow = from == DialFrom::MainWindow;
    if (mainWindow) {
        state.MainIdle = false;
    }
    confirm();
    CallIfConfirmed(state, launcher, mainWindow);
    if (mainWindow) {
        state.MainIdle = true;
    }
}

} // namespace talik
