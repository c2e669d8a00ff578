// The layout editor's rules without its window: the six items and their defaults, where each
// label stands for a stored position and back (the vertical sender's label right-aligned on its
// first column), dragging kept grippable, and storing only what was moved.
#include <gtest/gtest.h>

#include "print/layoutedit.h"
#include "print/layoutitems.h"
#include "print/tenths.h"
#include "store/settings.h"

namespace talik {
namespace {

constexpr double Scale = LayoutPreviewScale;

TEST(LayoutItems, DefaultsAndKeysOfBothWritings)
{
    EXPECT_EQ(InfoOf(LayoutItem::Address).label, "L_Addr");
    EXPECT_EQ(InfoOf(LayoutItem::SenderCode).leftKeyH, "L_SYNumLeftH");
    const PrintLayout fresh;
    for (int i = 0; i < LayoutItemTotal; ++i) {
        const LayoutItem item = LayoutItemAt(i);
        for (bool horizontal : {false, true}) {
            const LayoutPoint stored = ItemPoint(fresh, item, horizontal);
            const LayoutPoint def = DefaultPoint(item, horizontal);
            EXPECT_EQ(stored.left, def.left) << i << horizontal;
            EXPECT_EQ(stored.top, def.top) << i << horizontal;
        }
    }
    EXPECT_EQ(DefaultPoint(LayoutItem::Name, false).left, 49.0f);
    EXPECT_EQ(DefaultPoint(LayoutItem::Sender, true).top, 90.0f);
    EXPECT_EQ(DefaultPoint(LayoutItem::SenderCode, false).left, 6.5f);
}

TEST(LayoutItems, ItemPointWritesTheKeyOfItsWritingOnly)
{
    PrintLayout layout;
    ItemPoint(layout, LayoutItem::Company, true) = {1.5f, 2.5f};
    EXPECT_EQ(layout.L_CorpH.left, 1.5f);
    EXPECT_EQ(layout.L_Corp.left, 69.0f);
    ItemPoint(layout, LayoutItem::SenderCode, false) = {3, 4};
    EXPECT_EQ(layout.L_SYNum.top, 4.0f);
    EXPECT_EQ(layout.L_SYNumH.top, 124.0f);
}

TEST(LayoutItems, EveryItemConvertsBothWaysInBothWritings)
{
    PrintLayout layout;
    const double width = 12.0;
    for (int i = 0; i < LayoutItemTotal; ++i) {
        const LayoutItem item = LayoutItemAt(i);
        for (bool horizontal : {false, true}) {
            const LayoutPoint stored{41.3f, 77.7f};
            const PicturePoint place = LabelPlace(layout, item, horizontal, stored, width);
            const bool rightColumn = item == LayoutItem::Sender && !horizontal;
            EXPECT_NEAR(place.top, 77.7 * Scale, 1e-5);
            EXPECT_NEAR(place.left, rightColumn ? 41.3 * Scale - (width - Scale * 14 * 0.36) : 41.3 * Scale, 1e-5)
                << i << horizontal;
            const LayoutPoint back = StoredPlace(layout, item, horizontal, place, width);
            EXPECT_EQ(back.left, 41.3f) << i << horizontal;
            EXPECT_EQ(back.top, 77.7f) << i << horizontal;
        }
    }
}

TEST(LayoutItems, TheVerticalSenderColumnFollowsItsFontSize)
{
    PrintLayout layout;
    layout.AddrFontSize[5] = 20; // h5 = 7.2 mm
    const PicturePoint place = LabelPlace(layout, LayoutItem::Sender, false, {23, 60}, 10.0);
    EXPECT_NEAR(place.left, 23 * Scale - (10.0 - Scale * 7.2), 1e-9);
    // A label as wide as one column stands at the stored left.
    EXPECT_NEAR(LabelPlace(layout, LayoutItem::Sender, false, {23, 60}, Scale * 7.2).left, 23 * Scale, 1e-9);
}

TEST(LayoutItems, StoredPlacesAreRoundedToATenth)
{
    PrintLayout layout;
    const LayoutPoint p = StoredPlace(layout, LayoutItem::Name, true, {15.017, 42.0451}, 5);
    EXPECT_EQ(p.left, 25.0f);
    EXPECT_EQ(p.top, 70.1f);
    EXPECT_EQ(FormatDecimal(p.top), "70.1");
}

TEST(LayoutItems, ADraggedLabelKeepsAGripInsideTheCardAndItsMargin)
{
    const double cardWidth = CardWidthMm * Scale, cardHeight = CardHeightMm * Scale;
    PicturePoint far = KeepGrippable({500, 500}, 8, 4);
    EXPECT_DOUBLE_EQ(far.left, cardWidth + DragMarginMm - GripMm);
    EXPECT_DOUBLE_EQ(far.top, cardHeight + DragMarginMm - GripMm);
    PicturePoint before = KeepGrippable({-500, -500}, 8, 4);
    EXPECT_DOUBLE_EQ(before.left, -DragMarginMm + GripMm - 8);
    EXPECT_DOUBLE_EQ(before.top, -DragMarginMm + GripMm - 4);
    // Off the card but inside the margin: kept as it is.
    PicturePoint outside = KeepGrippable({-5, cardHeight + 2}, 8, 4);
    EXPECT_DOUBLE_EQ(outside.left, -5);
    EXPECT_DOUBLE_EQ(outside.top, cardHeight + 2);
}

TEST(LayoutEdit, OnlyMovedItemsAreStored)
{
    PrintLayout layout;
    layout.L_Addr = {87.03f, 25.01f}; // values that whole pixels could not show exactly
    LayoutEdit edit(layout);
    EXPECT_FALSE(edit.horizontal());
    EXPECT_FALSE(edit.anyMoved());
    PrintLayout after = layout;
    EXPECT_FALSE(edit.apply(after));
    EXPECT_EQ(after.L_Addr.left, 87.03f);

    edit.dragTo(LayoutItem::Name, {20.0, 30.0}, 5, 30);
    EXPECT_TRUE(edit.moved(LayoutItem::Name));
    EXPECT_TRUE(edit.apply(after));
    EXPECT_EQ(after.L_Name.left, RoundToTenth(20.0 / Scale));
    EXPECT_EQ(after.L_Name.top, 50.0f);
    EXPECT_EQ(after.L_Addr.left, 87.03f);
    EXPECT_EQ(after.L_NameH.left, 25.0f); // the other writing untouched
}

TEST(LayoutEdit, ResetRestoresTheExactDefaultsOfTheDirection)
{
    PrintLayout layout;
    layout.PrintDirection = 1;
    layout.L_NameH = {1, 2};
    layout.L_SYNumH = {3, 4};
    layout.L_Name = {5, 6};
    LayoutEdit edit(layout);
    edit.resetToDefaults();
    EXPECT_TRUE(edit.apply(layout));
    EXPECT_EQ(layout.L_NameH.left, 25.0f);
    EXPECT_EQ(layout.L_SYNumH.left, 6.5f);
    EXPECT_EQ(layout.L_SYNumH.top, 124.0f);
    EXPECT_EQ(layout.L_Name.left, 5.0f);
}

TEST(LayoutEdit, NudgesAndTypedPositionsAreTenths)
{
    PrintLayout layout;
    LayoutEdit edit(layout);
    edit.nudge(LayoutItem::Company, 0.1, -1);
    EXPECT_EQ(edit.point(LayoutItem::Company).left, 69.1f);
    EXPECT_EQ(edit.point(LayoutItem::Company).top, 29.0f);
    for (int i = 0; i < 7; ++i) {
        edit.nudge(LayoutItem::Company, 0.1, 0);
    }
    EXPECT_EQ(edit.point(LayoutItem::Company).left, 69.8f);
    edit.moveTo(LayoutItem::Sender, {-3.04f, 150.06f});
    EXPECT_EQ(edit.point(LayoutItem::Sender).left, -3.0f);
    EXPECT_EQ(edit.point(LayoutItem::Sender).top, 150.1f);
}

} // namespace
} // namespace talik
