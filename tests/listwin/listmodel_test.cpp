#include "listwin/listmodel.h"

#include <gtest/gtest.h>

#include <map>
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

// Long sub-items now and then: the replaced and removed ones pile up as waste until the texts are
// packed afresh, several times over the run, and every item must read what it was last given.
TEST(ListModel, IndexSelectionAndTextsStayRightThroughMixedChangesAndRepacking)
{
    ListModel list;
    std::mt19937 random(7);
    std::optional<std::string> selectedKey;
    std::map<std::string, ListItem> latest;
    for (int step = 0; step < 4000; ++step) {
        const std::string key = "K" + std::to_string(10000 + random() % 400);
        switch (random() % 8) {
        case 0:
            list.sortOn(random() % 2);
            break;
        case 1:
        case 2:
            list.remove(key);
            latest.erase(key);
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
        default: {
            const std::size_t length = random() % 3 == 0 ? 3000 : 1;
            ListItem item = Item(key, std::string(1, static_cast<char>('a' + random() % 5)),
                                 {std::to_string(step), std::string(length, static_cast<char>('0' + step % 10))});
            list.add(item);
            latest[key] = item;
        }
        }
        ASSERT_EQ(list.selected().has_value(), selectedKey.has_value()) << "step " << step;
        if (selectedKey) {
            ASSERT_EQ(list.at(*list.selected()).key, *selectedKey) << "step " << step;
        }
    }
    ExpectIndexConsistent(list);
    ASSERT_EQ(list.size(), latest.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        const ListItem& expected = latest.at(std::string(list.keyAt(i)));
        EXPECT_EQ(list.textAt(i), expected.text);
        EXPECT_EQ(list.at(i).subItems, expected.subItems);
    }
    if (list.sorted() && list.sortColumn() == 0) {
        const std::vector<ListItem> items = list.items();
        EXPECT_TRUE(std::is_sorted(items.begin(), items.end(),
                                   [](const ListItem& a, const ListItem& b) { return a.text < b.text; }));
    }
}

TEST(ListModel, ColumnsPastAnItemsSubItemsReadEmptyAndRecordNumbersComeInListOrder)
{
    ListModel list;
    list.add(Item("K00012", "ｱ", {"名", "03-1"}));
    list.add(Item("K00003", "ｲ"));
    EXPECT_EQ(list.columnAt(0, 0), "ｱ");
    EXPECT_EQ(list.columnAt(0, 2), "03-1");
    EXPECT_EQ(list.columnAt(0, 3), "");
    EXPECT_EQ(list.columnAt(1, 1), "");
    EXPECT_EQ(list.subItemCount(0), 2u);
    EXPECT_EQ(list.subItemCount(1), 0u);
    EXPECT_EQ(RecordsOf(list), (std::vector<std::int32_t>{12, 3}));
    EXPECT_EQ(RecordsOf(list, 1, 1), (std::vector<std::int32_t>{3}));
    EXPECT_EQ(RecordsOf(list, -1, 5), (std::vector<std::int32_t>{12, 3})); // cut to the list
}

// An item's texts have at most 64 KB of room together. None from a record comes near that; one that
// did is cut at the end, and the item stays whole and findable.
TEST(ListModel, AnItemTooLongForItsRoomIsCutAtTheEnd)
{
    ListModel list;
    list.add(Item("K00001", "ｱ", {"a", std::string(70000, 'x')}));
    ASSERT_EQ(list.indexOf("K00001"), 0u);
    EXPECT_EQ(list.keyAt(0), "K00001");
    EXPECT_EQ(list.textAt(0), "ｱ");
    EXPECT_EQ(list.columnAt(0, 1), "a");
    EXPECT_EQ(list.columnAt(0, 2), std::string(65535 - 6 - 3 - 1, 'x'));
}

} // namespace
} // namespace talik
