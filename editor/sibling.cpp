#include "editor/sibling.h"

#include <unistd.h>

#include <filesystem>

#include "listwin/appstate.h"
#include "platform/launcher.h"
#include "platform/paths.h"
#include "platform/registry.h"

namespace talik {

std::optional<std::string> SiblingProgram(const std::string& windowsFolder)
{
    std::optional<std::string> folder = RegistryDefaultValue(windowsFolder, SiblingRunPathKey);
    if (!folder || !FolderExists(*folder)) {
        return std::nullopt;
    }
    std::optional<std::string> program = FindFileNoCase(WithoutTrailingSlash(*folder), SiblingProgramName);
    std::error_code error;
    if (!program || !std::filesystem::is_regular_file(*program, error) || access(program->c_str(), X_OK) != 0) {
        return std::nullopt;
    }
    return program;
}

AddressSupport::AddressSupport(AppState& state, Launcher& launcher, WindowSeams windows)
    : m_state(state), m_launcher(launcher), m_windows(std::move(windows))
{}

bool AddressSupport::run(SupportTrigger trigger)
{
    if (m_failed && trigger != SupportTrigger::Button) {
        return false;
    }
    FoundWindow window = m_windows.find(SiblingTitlePart);
    if (window.id != 0) {
        m_windows.activate(window.id);
        return true;
    }
    std::optional<std::string> program = SiblingProgram(m_state.ProfileFolder);
    if (!program || !m_launcher.start(*program, {})) {
        m_failed = true;
        m_state.ui.message(SiblingNotInstalled, MessageIcon::Exclamation);
        return false;
    }
    return true;
}

} // namespace talik
