#pragma once
// The six postcard items the layout editor moves on its picture of the card: their settings, the
// positions "初期値に戻す" restores, and how a stored position becomes a place on the picture and
// back. The picture shows the card at PreviewScale, in millimetres of the picture.
#include <array>
#include <string_view>

#include "store/settings.h"

namespace talik {

enum class LayoutItem
{
    Address,
    Company,
    Department,
    Name,
    Sender,     // the sender block: address and name
    SenderCode, // the sender's postal code
};
inline constexpr int LayoutItemTotal = 6;

struct LayoutItemInfo
{
    std::string_view label;   // the label's object name, "L_Addr"
    std::string_view caption; // what the label shows when there is no recipient to show
    std::string_view leftKey, topKey, leftKeyH, topKeyH;
    LayoutPoint vertical, horizontal; // the defaults
};

const LayoutItemInfo& InfoOf(LayoutItem item);
LayoutItem LayoutItemAt(int index);

// The position of an item in the settings, for vertical or horizontal writing.
LayoutPoint& ItemPoint(PrintLayout& layout, LayoutItem item, bool horizontal);
LayoutPoint ItemPoint(const PrintLayout& layout, LayoutItem item, bool horizontal);
LayoutPoint DefaultPoint(LayoutItem item, bool horizontal);

// The line or column pitch of the item's text on the card, millimetres (FontHeight of its font,
// the sizes of 0 taken as the postcard engine takes them; the sender's code at 0.8 of the code font).
double ItemFontHeight(const PrintLayout& layout, LayoutItem item);

inline constexpr double CardWidthMm = 100;
inline constexpr double CardHeightMm = 148;
inline constexpr double LayoutPreviewScale = 0.6;

// A label's place on the picture, picture millimetres.
struct PicturePoint
{
    double left = 0, top = 0;
};

// Where the label of an item stands for a stored position. In vertical writing the sender's label
// shows the whole block, its rightmost column at the stored left: the label's left is the stored
// left × scale − (its width − scale × the sender-address pitch).
PicturePoint LabelPlace(const PrintLayout& layout,
                        LayoutItem item,
                        bool horizontal,
                        LayoutPoint stored,
                        double labelWidth,
                        double scale = LayoutPreviewScale);
// The stored position a label's place stands for, rounded to 0.1 mm.
LayoutPoint StoredPlace(const PrintLayout& layout,
                        LayoutItem item,
                        bool horizontal,
                        PicturePoint place,
                        double labelWidth,
                        double scale = LayoutPreviewScale);

// How far past the card's edges a label may be dragged (picture millimetres), and how much of it
// stays inside that area so that it can be grabbed again.
inline constexpr double DragMarginMm = 10;
inline constexpr double GripMm = 3;
// The place nearest to `place` at which a label of this size keeps GripMm inside the card picture
// plus its margin.
PicturePoint
KeepGrippable(PicturePoint place, double labelWidth, double labelHeight, double scale = LayoutPreviewScale);

} // namespace talik
