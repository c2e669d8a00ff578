#pragma once
// Address-entry support through the sibling postcard program: its window brought forward when it
// runs, else the program started from the folder its installation left in the registry.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/windowlookup.h"

namespace talik {

struct AppState;
class Launcher;

inline constexpr const char* SiblingTitlePart = "Harupo";
inline constexpr const char* SiblingRunPathKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\QXApps\\HARUPO\\RunPath";
inline constexpr const char* SiblingProgramName = "HARUPO.EXE";
inline constexpr const char* SiblingNotInstalled = "「Harupo」がインストールされていません。";

// How the window lookup is done: the desktop's own by default, a fake in tests.
struct WindowSeams
{
    std::function<FoundWindow(std::string_view)> find = FindWindowLike;
    std::function<bool(WindowId)> activate = RestoreAndActivate;
};

// The sibling program's executable under the registered folder (name matched without regard to
// case); nullopt when the key is missing or the file is not there or not executable.
std::optional<std::string> SiblingProgram(const std::string& windowsFolder);

// What asked for the support.
enum class SupportTrigger
{
    Button, // a "支援" button: tries on every press
    Key,    // F2, F9, F10
    Focus,  // a blank address box got the focus
};

// The support's state over one editor session: after the first failure neither the keys nor the
// focus start it again, so its message cannot come back on every focus change.
class AddressSupport
{
public:
    AddressSupport(AppState& state, Launcher& launcher, WindowSeams windows = {});
    // Brings the sibling forward or starts it. False when it is not installed (told once per try).
    bool run(SupportTrigger trigger);
    bool gaveUp() const { return m_failed; }

private:
    AppState& m_state;
    Launcher& m_launcher;
    WindowSeams m_windows;
    bool m_failed = false;
};

} // namespace talik
