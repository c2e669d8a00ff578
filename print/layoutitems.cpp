#include "print/layoutitems.h"

#include <algorithm>

#include "print/printwork.h"
#include "print/tenths.h"

namespace talik {
namespace {

constexpr std::array<LayoutItemInfo, LayoutItemTotal> Items{{
    {"L_Addr", "相手先住所", "L_AddrLeft", "L_AddrTop", "L_AddrLeftH", "L_AddrTopH", {87, 25}, {10, 50}},
    {"L_Corp", "会社名", "L_CorpLeft", "L_CorpTop", "L_CorpLeftH", "L_CorpTopH", {69, 30}, {20, 55}},
    {"L_Sect", "部署名", "L_SectLeft", "L_SectTop", "L_SectLeftH", "L_SectTopH", {62, 30}, {20, 60}},
    {"L_Name", "相手先氏名", "L_NameLeft", "L_NameTop", "L_NameLeftH", "L_NameTopH", {49, 35}, {25, 70}},
    {"L_Send", "差出人住所", "L_SendLeft", "L_SendTop", "L_SendLeftH", "L_SendTopH", {23, 60}, {30, 90}},
    {"L_SYNum", "〒", "L_SYNumLeft", "L_SYNumTop", "L_SYNumLeftH", "L_SYNumTopH", {6.5f, 124}, {6.5f, 124}},
}};

// The postcard font of each item, and the engine's size for a stored 0.
constexpr std::array<int, LayoutItemTotal> ItemFont{1, 2, 3, 4, 5, 0};
constexpr std::array<int, 7> EngineDefaultSize{16, 20, 20, 20, 32, 14, 16};
constexpr double SenderCodeScale = 0.8;
constexpr int SenderAddressFontItem = 5;

double FontSizeOf(const PrintLayout& layout, int font)
{
    const int stored = layout.AddrFontSize[static_cast<std::size_t>(font)];
    return stored != 0 ? stored : EngineDefaultSize[static_cast<std::size_t>(font)];
}

bool RightColumnRule(LayoutItem item, bool horizontal)
{
    return item == LayoutItem::Sender && !horizontal;
}

// How far the label's left lies left of the stored left, picture millimetres.
double LeftShift(const PrintLayout& layout, LayoutItem item, bool horizontal, double labelWidth, double scale)
{
    if (!RightColumnRule(item, horizontal)) {
        return 0;
    }
    return labelWidth - scale * FontHeight(FontSizeOf(layout, SenderAddressFontItem));
}

} // namespace

const LayoutItemInfo& InfoOf(LayoutItem item)
{
    return Items[static_cast<std::size_t>(item)];
}

LayoutItem LayoutItemAt(int index)
{
    return static_cast<LayoutItem>(index);
}

LayoutPoint& ItemPoint(PrintLayout& layout, LayoutItem item, bool horizontal)
{
    switch (item) {
    case LayoutItem::Address:
        return horizontal ? layout.L_AddrH : layout.L_Addr;
    case LayoutItem::Company:
        return horizontal ? layout.L_CorpH : layout.L_Corp;
    case LayoutItem::Department:
        return horizontal ? layout.L_SectH : layout.L_Sect;
    case LayoutItem::Name:
        return horizontal ? layout.L_NameH : layout.L_Name;
    case LayoutItem::Sender:
        return horizontal ? layout.L_SendH : layout.L_Send;
    case LayoutItem::SenderCode:
        break;
    }
    return horizontal ? layout.L_SYNumH : layout.L_SYNum;
}

LayoutPoint ItemPoint(const PrintLayout& layout, LayoutItem item, bool horizontal)
{
    return ItemPoint(const_cast<PrintLayout&>(layout), item, horizontal);
}

LayoutPoint DefaultPoint(LayoutItem item, bool horizontal)
{
    return horizontal ? InfoOf(item).horizontal : InfoOf(item).vertical;
}

double ItemFontHeight(const PrintLayout& layout, LayoutItem item)
{
    const double size = FontSizeOf(layout, ItemFont[static_cast<std::size_t>(item)]);
    return FontHeight(item == LayoutItem::SenderCode ? size * SenderCodeScale : size);
}

PicturePoint LabelPlace(
    const PrintLayout& layout, LayoutItem item, bool horizontal, LayoutPoint stored, double labelWidth, double scale)
{
    return {scale * stored.left - LeftShift(layout, item, horizontal, labelWidth, scale), scale * stored.top};
}

LayoutPoint StoredPlace(
    const PrintLayout& layout, LayoutItem item, bool horizontal, PicturePoint place, double labelWidth, double scale)
{
    const double left = (place.left + LeftShift(layout, item, horizontal, labelWidth, scale)) / scale;
    return {RoundToTenth(left), RoundToTenth(place.top / scale)};
}

PicturePoint KeepGrippable(PicturePoint place, double labelWidth, double labelHeight, double scale)
{
    const double grip = std::min({GripMm, labelWidth, labelHeight});
    const double right = CardWidthMm * scale + DragMarginMm;
    const double bottom = CardHeightMm * scale + DragMarginMm;
    return {std::clamp(place.left, -DragMarginMm + grip - labelWidth, right - grip),
            std::clamp(place.top, -DragMarginMm + grip - labelHeight, bottom - grip)};
}

} // namespace talik
