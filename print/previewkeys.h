#pragma once
// Paging a print preview from the keyboard: Page Up/Down and the arrows move as "＜前" and "次＞"
// do, Home and End go to the first and the last card or page.
#include <optional>

namespace talik {

struct PrintJob;

enum class PreviewMove
{
    Previous,
    Next,
    First,
    Last,
};

// The move a key of the preview makes (Qt key codes are passed by the form as these names).
enum class PreviewKey
{
    PageUp,
    PageDown,
    Up,
    Down,
    Left,
    Right,
    Home,
    End,
};
PreviewMove PreviewMoveOf(PreviewKey key);

// The card line or page a move goes to from the one on show; nullopt when it cannot move (already
// there).
std::optional<int> PreviewTarget(const PrintJob& job, char kind, PreviewMove move);

} // namespace talik
