// The tables' packed rows: texts read back whole however the rows were laid down, moved, rewritten
// or dropped, and the room of dropped rows given back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/tables.h"

namespace talik {
namespace {

TableRow RowOf(std::int32_t recNo, std::initializer_list<std::string_view> columns)
{
    TableRow row;
    row.reset(recNo);
    for (std::string_view column : columns) {
        row.appendCp932(column);
    }
    return row;
}

void ExpectColumns(const RowView& row, std::int32_t recNo, std::initializer_list<std::string_view> columns)
{
    EXPECT_EQ(row.recNo, recNo);
    ASSERT_EQ(row.columnCount(), static_cast<int>(columns.size()));
    int c = 0;
    for (std::string_view column : columns) {
        EXPECT_EQ(row.column(c++), column) << recNo << " column " << c - 1;
    }
    EXPECT_EQ(row.column(c), "");
    EXPECT_EQ(row.column(-1), "");
}

TEST(RowArena, RowsAcrossBlocksAndOneLargerThanABlockReadBackWhole)
{
    Tables tables;
    // The longest text a row can hold (the reading takes one byte), packed larger than a block.
    const std::string wide(65535 - 1, 'w');
    const std::string filler(700, 'f');
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(tables.appendRow(i % 2, RowOf(i + 2, {"\xb1", filler, "", std::to_string(i)})));
    }
    ASSERT_TRUE(tables.appendRow(2, RowOf(500, {"\xb2", wide})));
    ASSERT_TRUE(tables.appendRow(2, RowOf(501, {"\xb3", "after"})));
    for (int i = 0; i < 200; ++i) {
        ExpectColumns(tables.row(i % 2, i / 2 + 1), i + 2, {"ｱ", filler, "", std::to_string(i)});
    }
    ExpectColumns(tables.row(2, 1), 500, {"ｲ", wide});
    ExpectColumns(tables.row(2, 2), 501, {"ｳ", "after"});
    EXPECT_EQ(tables.RecPos[501], 2 * 100 + 2);
}

TEST(RowArena, RowsRewrittenAndDroppedKeepTheRestAndGiveBackTheirRoom)
{
    Tables tables;
    const std::string filler(3000, 'f');
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(tables.appendRow(0, RowOf(i + 2, {"\xb1", filler, std::to_string(i + 39)})));
    }
    const std::size_t held = tables.texts.liveBytes();
    // Rewritten many times over: the arena is rebuilt along the way instead of growing without end.
    for (int round = 0; round < 40; ++round) {
        for (int i = 0; i < 100; ++i) {
            tables.replaceRow(0, i + 1, RowOf(i + 2, {"\xb1", filler, std::to_string(i + round)}));
        }
    }
    EXPECT_EQ(tables.texts.liveBytes(), held);
    EXPECT_LT(tables.texts.wastedBytes(), held + RowArena::BlockSize);
    for (int i = 0; i < 100; ++i) {
        ExpectColumns(tables.row(0, i + 1), i + 2, {"ｱ", filler, std::to_string(i + 39)});
    }
    // The first row dropped: the last takes its place and keeps its texts.
    tables.fillGapWithLastRow(0, 1);
    ASSERT_EQ(tables.GroupCount(0), 99);
    ExpectColumns(tables.row(0, 1), 101, {"ｱ", filler, std::to_string(99 + 39)});
    EXPECT_EQ(tables.RecPos[101], 1 * 100 + 0);
    ExpectColumns(tables.row(0, 2), 3, {"ｱ", filler, std::to_string(1 + 39)});
}

// A column's length takes one byte up to 254 and three from 255 on: texts on either side of that
// line, in any order, read back whole and the row takes exactly the room it says.
TEST(RowArena, ColumnsOnBothSidesOfTheLongLengthReadBackWholeInTheRoomTheyTake)
{
    Tables tables;
    const std::initializer_list<std::size_t> lengths = {0, 1, 254, 255, 256, 3000, 254, 0};
    TableRow row;
    row.reset(2);
    row.appendCp932("\xb1");
    std::vector<std::string> texts;
    for (std::size_t length : lengths) {
        texts.emplace_back(length, static_cast<char>('a' + texts.size()));
        row.appendCp932(texts.back());
    }
    ASSERT_TRUE(tables.appendRow(0, row));
    const RowView view = tables.row(0, 1);
    ASSERT_EQ(view.columnCount(), static_cast<int>(lengths.size()) + 1);
    for (std::size_t c = 0; c < texts.size(); ++c) {
        EXPECT_EQ(view.column(static_cast<int>(c) + 1), texts[c]) << "column " << c + 1;
    }
    // The count, a byte per short length, three per long one (255, 256, 3000), then the texts.
    EXPECT_EQ(tables.texts.liveBytes(), 1u + 6 + 3 * 3 + (1 + 0 + 1 + 254 + 255 + 256 + 3000 + 254 + 0));
}

TEST(RowArena, AClearedTableHoldsNothing)
{
    Tables tables;
    ASSERT_TRUE(tables.appendRow(0, RowOf(2, {"\xb1", "x"})));
    tables.clear();
    EXPECT_EQ(tables.texts.liveBytes(), 0u);
    EXPECT_EQ(tables.GroupCount(0), 0);
    ASSERT_TRUE(tables.appendRow(0, RowOf(3, {"\xb2", "y"})));
    ExpectColumns(tables.row(0, 1), 3, {"ｲ", "y"});
}

TEST(RowArena, ACopyReadsTheSameAndStandsAlone)
{
    Tables tables;
    const std::string filler(1000, 'f');
    for (int i = 0; i < 150; ++i) {
        ASSERT_TRUE(tables.appendRow(0, RowOf(i + 2, {"\xb1", filler, std::to_string(i)})));
    }
    Tables copy = tables;
    tables.replaceRow(0, 1, RowOf(2, {"\xb2", "changed"}));
    tables.clear();
    ASSERT_EQ(copy.GroupCount(0), 150);
    for (int i = 0; i < 150; ++i) {
        ExpectColumns(copy.row(0, i + 1), i + 2, {"ｱ", filler, std::to_string(i)});
    }
}

} // namespace
} // namespace talik
