#include "listwin/listmodel.h"

#include <gtest/gtest.h>

#include <random>

namespace talik {
namespace {

ListItem Item(std::string key, std::string text, std::vector<std::string> subItems = {})
{
    return {std::move(key), std::move(text), std::move(subItems)};
}

std::vector<std::string> Texts(const ListModel& list)
{
    std::vector<std::string> texts;
    for (const auto& item : list.items()) {
        texts.push_back(item.text);
    }
    return texts;
}

// Every listed key must lead back to its own position.
void ExpectIndexConsistent(const ListModel& list)
{
    for (std::size_t i = 0; i < list.size(); ++i) {
        ASSERT_EQ(list.indexOf(list.at(i).key), i) << list.at(i).key;
    }
}

TEST(ListModel, SortsHalfWidthKanaInSyllabaryOrderAndKeepsEqualItemsInOrder)
{
    ListModel list;
    for (const char* text : {"ｷ", "ｶﾞ", "A", "ｶ", "ﾀ", "ｰｽ", "ｿ", "ｧ", "ｱ", "ｶ"}) {
        list.add(Item("K" + std::to_string(10000 + list.size()), text));
    }
    list.sortOn(0);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"A", "ｧ", "ｰｽ", "ｱ", "ｶ", "ｶ", "ｶﾞ", "ｷ", "ｿ", "ﾀ"}));
    EXPECT_EQ(list.at(4).key, "K10003"); // the first "ｶ" added stays first
    EXPECT_EQ(list.at(5).key, "K10009");
    ExpectIndexConsistent(list);
}

TEST(ListModel, SortsOnASubItemColumnWithMissingCellsFirst)
{
    ListModel list;
    list.add(Item("K00002", "ｱ", {"b", "03-2"}));
    list.add(Item("K00003", "ｲ", {"a"}));
    list.add(Item("K00004", "ｳ", {"c", "03-1"}));
    list.sortOn(2);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"ｲ", "ｳ", "ｱ"}));
    EXPECT_EQ(list.sortColumn(), 2u);
}

TEST(ListModel, AddsAtTheSortedPlaceAfterEqualItemsOnlyWhileSorted)
{
    ListModel list;
    list.add(Item("K00002", "ｻ"));
    list.add(Item("K00003", "ｱ"));
    list.sortOn(0);
    EXPECT_EQ(list.add(Item("K00004", "ｶ")), 1u);
    EXPECT_EQ(list.add(Item("K00005", "ｱ")), 1u); // after the equal "ｱ"
    EXPECT_EQ(list.add(Item("K00006", "ﾜ")), 4u);
    ExpectIndexConsistent(list);

    list.setSorted(false);
    EXPECT_EQ(list.add(Item("K00007", "ｱ")), 5u);
    list.setSorted(true); // sorts again on the same column
    EXPECT_EQ(list.indexOf("K00007"), 2u);
}

TEST(ListModel, DuplicateKeyReplacesTheItem)
{
    ListModel list;
    list.add(Item("K00002", "ｱ"));
    list.add(Item("K00003", "ｲ", {"old"}));
    list.add(Item("K00004", "ｳ"));
    EXPECT_EQ(list.add(Item("K00003", "ｲｲ", {"new"})), 1u); // unsorted: in place
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(list.at(1).subItems, std::vector<std::string>{"new"});

    list.sortOn(0);
    list.select(0);
    EXPECT_EQ(list.add(Item("K00002", "ﾜ")), 2u); // sorted: moves, and the selection with it
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(list.selected(), 2u);
    ExpectIndexConsistent(list);
}

TEST(ListModel, SelectionFollowsItsItem)
{
    ListModel list;
    for (const char* text : {"ｴ", "ｲ", "ｳ", "ｱ"}) {
        list.add(Item("K0000" + std::to_string(2 + list.size()), text));
    }
    list.select(2); // "ｳ", K00004
    EXPECT_TRUE(list.remove("K00002"));
    EXPECT_EQ(list.at(*list.selected()).key, "K00004");
    list.sortOn(0);
    EXPECT_EQ(list.at(*list.selected()).key, "K00004");
    list.add(Item("K00009", "ｱ"));
    EXPECT_EQ(list.at(*list.selected()).key, "K00004");

    EXPECT_FALSE(list.remove("K00099"));
    EXPECT_TRUE(list.remove("K00004"));
    EXPECT_FALSE(list.selected());
    list.select(list.size());
    EXPECT_FALSE(list.selected());
    list.select(0);
    list.clear();
    EXPECT_TRUE(list.empty());
    EXPECT_FALSE(list.selected());
    EXPECT_FALSE(list.indexOf("K00005"));
}

TEST(ListModel, FindPrefixTakesTheFirstItemInListOrder)
{
    ListModel list;
    list.add(Item("K00002", "ｶﾅｻﾞﾜ"));
    list.add(Item("K00003", "ｶﾅｲ"));
    list.add(Item("K00004", "ｶﾄｳ"));
    EXPECT_EQ(list.findPrefix("ｶﾅ"), 0u);
    list.sortOn(0);
    EXPECT_EQ(list.findPrefix("ｶﾅ"), 1u);
    EXPECT_EQ(list.at(1).key, "K00003");
    EXPECT_EQ(list.findPrefix("ｶ"), 0u);
    EXPECT_FALSE(list.findPrefix("ｶﾅｻﾞﾜｼ"));
    EXPECT_FALSE(list.findPrefix("ｷ"));
}

TEST(ListModel, IndexAndSelectionStayRightThroughMixedChanges)
{
    ListModel list;
    std::mt19937 random(7);
    std::optional<std::string> selectedKey;
    for (int step = 0; step < 4000; ++step) {
        const std::string key = "K" + std::to_string(10000 + random() % 400);
        switch (random() % 8) {
        case 0:
            list.sortOn(random() % 2);
            break;
        case 1:
        case 2:
            list.remove(key);
            if (selectedKey == key) {
                selectedKey.reset();
            }
            break;
        case 3:
            if (!list.empty()) {
                list.select(random() % list.size());
                selectedKey = list.at(*list.selected()).key;
            }
            break;
        default:
            list.add(Item(key, std::string(1, static_cast<char>('a' + random() % 5)), {std::to_string(step)}));
        }
        ASSERT_EQ(list.selected().has_value(), selectedKey.has_value()) << "step " << step;
        if (selectedKey) {
            ASSERT_EQ(list.at(*list.selected()).key, *selectedKey) << "step " << step;
        }
    }
    ExpectIndexConsistent(list);
    if (list.sorted() && list.sortColumn() == 0) {
        EXPECT_TRUE(std::is_sorted(list.items().begin(), list.items().end(),
                                   [](const ListItem& a, const ListItem& b) { return a.text < b.text; }));
    }
}

} // namespace
} // namespace talik
