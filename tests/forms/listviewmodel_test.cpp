// The Qt adapter over the list model: what a view sees of the list, before and after it changes.
#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QTreeView>

#include <gtest/gtest.h>

#include "listwin/listmodel.h"
#include "listwin/listviewmodel.h"

namespace talik {
namespace {

class ListViewModelTest : public ::testing::Test
{
protected:
    ListViewModelTest()
    {
        model.setHeaders({"カナ名", "名前", "電話番号１"});
        list.add({"K00005", "ｻﾄｳ", {"佐藤", "03-1111"}});
        list.add({"K00002", "ｱｵｷ", {"青木"}}); // no telephone: an empty cell
        list.add({"K00009", "ｶﾄｳ", {"加藤", "06-2222"}});
        model.refresh();
    }

    QString cell(int row, int column, int role = Qt::DisplayRole) const
    {
        return model.data(model.index(row, column), role).toString();
    }

    ListModel list;
    ListViewModel model{list};
    // Aborts the tests on any breach of the rules a view relies on (row and column counts, signals).
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(ListViewModelTest, ShowsEachItemAsARowWithItsSubItemsUnderTheHeaders)
{
    ASSERT_EQ(model.rowCount(), 3);
    ASSERT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "カナ名");
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), "電話番号１");
    EXPECT_EQ(cell(0, 0), "ｻﾄｳ");
    EXPECT_EQ(cell(0, 1), "佐藤");
    EXPECT_EQ(cell(0, 2), "03-1111");
    EXPECT_EQ(cell(1, 2), "");
    EXPECT_EQ(model.keyAt(2), "K00009");
    EXPECT_EQ(cell(2, 1, ListViewModel::KeyRole), "K00009");
    EXPECT_EQ(model.keyAt(3), "");
    EXPECT_EQ(model.keyAt(-1), "");
}

TEST_F(ListViewModelTest, RefreshShowsTheListAsTheCoreLeftIt)
{
    list.sortOn(0);
    list.add({"K00011", "ｲﾄｳ", {"伊藤", "011-3333"}}); // takes its sorted place
    list.remove("K00009");
    model.refresh();
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(cell(0, 0), "ｱｵｷ");
    EXPECT_EQ(cell(1, 0), "ｲﾄｳ");
    EXPECT_EQ(cell(2, 0), "ｻﾄｳ");
    EXPECT_EQ(model.keyAt(1), "K00011");

    list.clear();
    model.refresh();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(ListViewModelTest, NewHeadersChangeTheColumnsAViewShows)
{
    QTreeView view;
    view.setModel(&model);
    EXPECT_EQ(view.header()->count(), 3);
    model.setHeaders({"カナ名"});
    EXPECT_EQ(view.header()->count(), 1);
    EXPECT_EQ(model.columnCount(), 1);
}

TEST_F(ListViewModelTest, AHeaderClickSortsTheListAndTheCurrentRowStaysOnItsRecord)
{
    QTreeView view;
    view.setModel(&model);
    view.setCurrentIndex(model.index(0, 0)); // ｻﾄｳ
    model.sort(2, Qt::DescendingOrder);      // the list knows ascending order only
    EXPECT_TRUE(list.sorted());
    EXPECT_EQ(list.sortColumn(), 2u);
    EXPECT_EQ(model.keyAt(0), "K00002"); // the empty telephone sorts first
    EXPECT_EQ(model.keyAt(1), "K00005");
    EXPECT_EQ(model.keyAt(2), "K00009");
    EXPECT_EQ(model.keyAt(view.currentIndex().row()), "K00005");
}

} // namespace
} // namespace talik
