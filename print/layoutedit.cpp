#include "print/layoutedit.h"

#include <algorithm>

#include "print/tenths.h"

namespace talik {

LayoutEdit::LayoutEdit(const PrintLayout& layout) : m_layout(layout), m_horizontal(layout.PrintDirection != 0) {}

LayoutPoint LayoutEdit::point(LayoutItem item) const
{
    return ItemPoint(m_layout, item, m_horizontal);
}

bool LayoutEdit::anyMoved() const
{
    return std::any_of(m_moved.begin(), m_moved.end(), [](bool moved) { return moved; });
}

PicturePoint LayoutEdit::labelPlace(LayoutItem item, double labelWidth) const
{
    return LabelPlace(m_layout, item, m_horizontal, point(item), labelWidth);
}

void LayoutEdit::dragTo(LayoutItem item, PicturePoint place, double labelWidth, double labelHeight)
{
    place = KeepGrippable(place, labelWidth, labelHeight);
    ItemPoint(m_layout, item, m_horizontal) = StoredPlace(m_layout, item, m_horizontal, place, labelWidth);
    m_moved[Index(item)] = true;
}

void LayoutEdit::moveTo(LayoutItem item, LayoutPoint to)
{
    ItemPoint(m_layout, item, m_horizontal) = {RoundToTenth(to.left), RoundToTenth(to.top)};
    m_moved[Index(item)] = true;
}

void LayoutEdit::nudge(LayoutItem item, double dx, double dy)
{
    const LayoutPoint now = point(item);
    moveTo(item, {static_cast<float>(now.left + dx), static_cast<float>(now.top + dy)});
}

void LayoutEdit::resetToDefaults()
{
    for (int i = 0; i < LayoutItemTotal; ++i) {
        const LayoutItem item = LayoutItemAt(i);
        ItemPoint(m_layout, item, m_horizontal) = DefaultPoint(item, m_horizontal);
        m_moved[Index(item)] = true;
    }
}

bool LayoutEdit::apply(PrintLayout& layout) const
{
    bool changed = false;
    for (int i = 0; i < LayoutItemTotal; ++i) {
        const LayoutItem item = LayoutItemAt(i);
        if (!moved(item)) {
            continue;
        }
        LayoutPoint& stored = ItemPoint(layout, item, m_horizontal);
        const LayoutPoint now = point(item);
        changed = changed || stored.left != now.left || stored.top != now.top;
        stored = now;
    }
    return changed;
}

} // namespace talik
