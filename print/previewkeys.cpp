#include "print/previewkeys.h"

#include "print/printjob.h"
#include "print/printloop.h"
#include "print/printwork.h"

namespace talik {

PreviewMove PreviewMoveOf(PreviewKey key)
{
    switch (key) {
    case PreviewKey::PageUp:
    case PreviewKey::Up:
    case PreviewKey::Left:
        return PreviewMove::Previous;
    case PreviewKey::PageDown:
    case PreviewKey::Down:
    case PreviewKey::Right:
        return PreviewMove::Next;
    case PreviewKey::Home:
        return PreviewMove::First;
    case PreviewKey::End:
        return PreviewMove::Last;
    }
    return PreviewMove::Next;
}

std::optional<int> PreviewTarget(const PrintJob& job, char kind, PreviewMove move)
{
    const int shown = job.table.PrintPos;
    const int last = kind == PrintPostcards ? job.table.PrintLineCount : job.PrintPageCount;
    switch (move) {
    case PreviewMove::Previous:
        return CanPrev(job, kind) ? std::optional<int>(shown - 1) : std::nullopt;
    case PreviewMove::Next:
        return CanNext(job, kind) ? std::optional<int>(shown + 1) : std::nullopt;
    case PreviewMove::First:
        return CanPrev(job, kind) ? std::optional<int>(FirstPosition(kind)) : std::nullopt;
    case PreviewMove::Last:
        return CanNext(job, kind) ? std::optional<int>(last) : std::nullopt;
    }
    return std::nullopt;
}

} // namespace talik
