#pragma once
// One session of the layout editor: the six positions of the current writing direction as the user
// moves them. Only the items the user moved are stored on closing, so opening the editor and
// closing it again changes nothing (the labels stand on whole pixels, which would shift every item
// a little on each round trip).
#include <array>

#include "print/layoutitems.h"

namespace talik {

class LayoutEdit
{
public:
    // Works on the direction of the layout's "PrintDirection".
    explicit LayoutEdit(const PrintLayout& layout);

    bool horizontal() const { return m_horizontal; }
    const PrintLayout& layout() const { return m_layout; }
    LayoutPoint point(LayoutItem item) const;
    bool moved(LayoutItem item) const { return m_moved[Index(item)]; }
    bool anyMoved() const;

    // The label of `item`, `labelWidth` wide, is where the position puts it.
    PicturePoint labelPlace(LayoutItem item, double labelWidth) const;
    // A label was dragged to `place` (picture millimetres): kept grippable, stored to 0.1 mm.
    void dragTo(LayoutItem item, PicturePoint place, double labelWidth, double labelHeight);
    // A position typed or nudged, card millimetres, rounded to 0.1 mm.
    void moveTo(LayoutItem item, LayoutPoint point);
    void nudge(LayoutItem item, double dx, double dy);
    // Every item back to the defaults of the direction, exactly; all six count as moved.
    void resetToDefaults();

    // Stores the moved items into `layout`; true when a stored value changed.
    bool apply(PrintLayout& layout) const;

private:
    static std::size_t Index(LayoutItem item) { return static_cast<std::size_t>(item); }

    PrintLayout m_layout;
    bool m_horizontal;
    std::array<bool, LayoutItemTotal> m_moved{};
};

} // namespace talik
