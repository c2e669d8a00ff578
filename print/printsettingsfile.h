#pragma once
// Print-settings files: the postcard layout (.PR1) and the label-sheet layout (.PR2), saved as a
// whole settings file and loaded a part at a time, so they move between copies of the program.
#include <string>
#include <string_view>

namespace talik {

struct AppState;
struct PrintLayout;
class ProfileDocument;

enum class PrintSettingsPart
{
    Postcard = 1, // .PR1: postcard fonts 0..6, "AddrDispX/Y", the "L_" positions, direction and options
    Label = 2,    // .PR2: label fonts 10..14, "AddrDispXT/YT", cell size and gaps
};

std::string_view PrintSettingsExtension(PrintSettingsPart part); // ".PR1" or ".PR2"
// The file dialog's filter: the part's files in either case, then every file.
std::string PrintSettingsFilter(PrintSettingsPart part);
// A name given without an extension gets the part's.
std::string WithPrintSettingsExtension(const std::string& path, PrintSettingsPart part);

// The section of `doc` that holds the part's keys: the mode's own, or else the file's only settings
// section (a file saved by a copy of another mode). Empty when there is no such section.
std::string LayoutSectionOf(const ProfileDocument& doc, int mode, PrintSettingsPart part);

// Reads the part's keys of the file at `path` into `layout`, missing keys taking their defaults.
// False, `layout` untouched, when the file holds no section with any of them.
bool ReadPrintSettingsFile(PrintLayout& layout, const std::string& path, int mode, PrintSettingsPart part);
// As ReadPrintSettingsFile on the program's settings; a file that cannot be read is told.
bool LoadPrintSettingsFile(AppState& state, const std::string& path, PrintSettingsPart part);

// Writes every setting the program writes at exit into a new file at `path` (replacing one that is
// there whole); false when it could not be written.
bool WritePrintSettingsFile(const AppState& state, const std::string& path);
// As WritePrintSettingsFile; a failure is told with the path.
bool SavePrintSettingsFile(AppState& state, const std::string& path);

} // namespace talik
