#pragma once
// Finding another program's top-level window by its title, as the desktop's window manager lists
// them (EWMH _NET_CLIENT_LIST and _NET_WM_NAME on X11). Without an X11 display nothing is found.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace talik {

using WindowId = std::uint32_t; // 0 = none

struct FoundWindow
{
    WindowId id = 0;
    std::string title; // the title that matched
};

// The first listed window whose title, upper-cased, contains `part` upper-cased (titles read up to
// 256 characters). id 0 when none matches or there is no display.
FoundWindow FindWindowLike(std::string_view part);
// Restores (un-minimises) and activates a window found above; false when it could not be asked.
bool RestoreAndActivate(WindowId id);

// The pure rule behind FindWindowLike, for any list of titles: the index of the first match, or -1.
int FirstTitleContaining(const std::vector<std::string>& titles, std::string_view part);

} // namespace talik
