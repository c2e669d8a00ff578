#include "print/printsettingsfile.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "listwin/appstate.h"
#include "platform/atomicfile.h"
#include "platform/profile.h"
#include "store/settings.h"

namespace talik {
namespace {

constexpr const char* CannotLoad = "この印刷設定値ファイルは読み込めません。";
constexpr const char* CannotSave = "印刷設定値ファイルを保存できませんでした。";

// The keys a part reads, any one of which makes a section the part's.
std::vector<std::string> PartKeys(PrintSettingsPart part)
{
    std::vector<std::string> keys;
    int first = part == PrintSettingsPart::Postcard ? 0 : 10;
    int last = part == PrintSettingsPart::Postcard ? 6 : 14;
    for (int item = first; item <= last; ++item) {
        keys.push_back("AddrFontName" + std::to_string(item));
        keys.push_back("AddrFontSize" + std::to_string(item));
    }
    if (part == PrintSettingsPart::Label) {
        for (const char* key : {"AddrDispXT", "AddrDispYT", "AddrBoxWidth", "AddrBoxHeight", "AddrGapH", "AddrGapV"}) {
            keys.emplace_back(key);
        }
        return keys;
    }
    for (const char* key : {"AddrDispX", "AddrDispY", "PrintDirection", "AddrNumChange", "AddrNum7", "AddrNumStyle",
                            "AddrJointNames", "AddrFromSet"}) {
        keys.emplace_back(key);
    }
    for (const char* item : {"Addr", "Corp", "Sect", "Name", "Send", "SYNum"}) {
        for (const char* side : {"Left", "Top"}) {
            keys.push_back(std::string("L_") + item + side);
            keys.push_back(std::string("L_") + item + side + "H");
        }
    }
    return keys;
}

bool HoldsPartKeys(const ProfileDocument& doc, const std::string& section, PrintSettingsPart part)
{
    for (const std::string& key : PartKeys(part)) {
        if (doc.value(section, key)) {
            return true;
        }
    }
    return false;
}

// The mode whose settings section `name` is ("System" 0, "System_05" 5); -1 for any other section.
int ModeOfSection(std::string_view name)
{
    for (int mode = 0; mode <= 99; ++mode) {
        if (EqualsNoCase(name, SettingsSection(mode))) {
            return mode;
        }
    }
    return -1;
}

// The settings sections of the file, by their mode.
std::vector<int> SettingsSectionModes(const ProfileDocument& doc)
{
    std::vector<int> modes;
    for (const std::string& line : doc.lines()) {
        std::string_view text = line;
        std::size_t open = text.find_first_not_of(" \t");
        if (open == std::string_view::npos || text[open] != '[') {
            continue;
        }
        std::size_t close = text.find(']', open);
        if (close == std::string_view::npos) {
            continue;
        }
        std::string_view name = text.substr(open + 1, close - open - 1);
        int mode = ModeOfSection(name);
        if (mode >= 0 && std::find(modes.begin(), modes.end(), mode) == modes.end()) {
            modes.push_back(mode);
        }
    }
    return modes;
}

int LayoutModeOf(const ProfileDocument& doc, int mode, PrintSettingsPart part)
{
    if (HoldsPartKeys(doc, SettingsSection(mode), part)) {
        return mode;
    }
    std::vector<int> modes = SettingsSectionModes(doc);
    if (modes.size() == 1 && HoldsPartKeys(doc, SettingsSection(modes.front()), part)) {
        return modes.front();
    }
    return -1;
}

// A folder of this save's own for the settings writer's new file and its lock.
class ScratchFolder
{
public:
    ScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "talik-layout-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            m_path = pattern;
        }
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        if (!m_path.empty()) {
            std::filesystem::remove_all(m_path, ignored);
        }
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace

std::string_view PrintSettingsExtension(PrintSettingsPart part)
{
    return part == PrintSettingsPart::Postcard ? ".PR1" : ".PR2";
}

std::string PrintSettingsFilter(PrintSettingsPart part)
{
    if (part == PrintSettingsPart::Postcard) {
        return "はがき印刷用設定値ファイル (*.PR1 *.pr1);;すべて (*)";
    }
    return "タックシール印刷用設定値ファイル (*.PR2 *.pr2);;すべて (*)";
}

std::string WithPrintSettingsExtension(const std::string& path, PrintSettingsPart part)
{
    if (std::filesystem::path(path).has_extension()) {
        return path;
    }
    return path + std::string(PrintSettingsExtension(part));
}

std::string LayoutSectionOf(const ProfileDocument& doc, int mode, PrintSettingsPart part)
{
    int found = LayoutModeOf(doc, mode, part);
    return found < 0 ? std::string() : SettingsSection(found);
}

bool ReadPrintSettingsFile(PrintLayout& layout, const std::string& path, int mode, PrintSettingsPart part)
{
    const ProfileDocument doc = ProfileDocument::load(path);
    int found = LayoutModeOf(doc, mode, part);
    if (found < 0) {
        return false;
    }
    ReadLayout(layout, doc, found, static_cast<int>(part));
    return true;
}

bool LoadPrintSettingsFile(AppState& state, const std::string& path, PrintSettingsPart part)
{
    if (ReadPrintSettingsFile(state.settings.Layout, path, state.Mode, part)) {
        return true;
    }
    state.ui.message(CannotLoad, MessageIcon::Exclamation);
    return false;
}

bool WritePrintSettingsFile(const AppState& state, const std::string& path)
{
    ScratchFolder scratch;
    if (scratch.path().empty()) {
        return false;
    }
    const std::string fresh = scratch.path() + "/layout.ini";
    if (!WriteSettings(state.settings, fresh, state.Mode)) {
        return false;
    }
    std::ifstream in(fresh, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        return false;
    }
    return WriteFileAtomically(path, bytes, {.followLink = true, .keepMode = true});
}

bool SavePrintSettingsFile(AppState& state, const std::string& path)
{
    if (WritePrintSettingsFile(state, path)) {
        return true;
    }
    state.ui.message(std::string(CannotSave) + "\n" + path, MessageIcon::Exclamation);
    return false;
}

} // namespace talik
