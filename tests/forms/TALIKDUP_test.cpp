// "重複の確認" driven for real on a database on disk: the pairs and their fields side by side, a merge
// with a chosen field, its undo, a pair said to be two people, and "後で".
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "interchange/TALIKDUP.h"
#include "store/database.h"
#include "store/recordwriter.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

class DuplicateReview : public StoreTest
{
protected:
    DuplicateReview()
    {
        load();
        a = person("ﾔﾏﾀﾞ ﾀﾛｳ", "山田 太郎", "090-1234-5678", "大阪府大阪市北区梅田1-1");
        person("ｽｽﾞｷ ｲﾁﾛｳ", "鈴木 一郎", "", "");
        b = person("やまだ たろう", "山田太郎", "+81 90 1234 5678", "東京都新宿区新宿1-1");
    }

    std::int32_t person(const char* reading, const char* name, const char* mobile, const char* address)
    {
        return AddPerson(state, reading, name, [&](AddressRecord& rec, ExtraRecord&) {
            SetText(rec.Tel2, mobile);
            SetText(rec.Address1, address);
        });
    }
    std::string address(std::int32_t recNo)
    {
        AddressRecord rec{};
        ExtraRecord extra{};
        return ReadRecord(state, recNo, rec, extra) && !IsDeletedSlot(rec) ? GetText(rec.Address1) : "(none)";
    }
    // The row of the field table whose caption is `caption`.
    static int Row(QTableWidget* table, const QString& caption)
    {
        for (int row = 0; row < table->rowCount(); ++row) {
            if (table->item(row, 0)->text() == caption) {
                return row;
            }
        }
        return -1;
    }

    std::int32_t a = 0;
    std::int32_t b = 0;
};

TEST_F(DuplicateReview, ShowsThePairSideBySideAndMergesWithTheChosenValue)
{
    TALIKDUP review(state);
    review.show();
    EXPECT_EQ(review.windowTitle(), "重複の確認");
    auto* pairs = review.findChild<QTreeWidget*>("PairList");
    ASSERT_EQ(pairs->topLevelItemCount(), 1);
    EXPECT_EQ(pairs->topLevelItem(0)->text(0), QString::number(a));
    EXPECT_EQ(pairs->topLevelItem(0)->text(1), QString::number(b));
    EXPECT_EQ(pairs->topLevelItem(0)->text(2), "100");
    EXPECT_EQ(pairs->topLevelItem(0)->text(3), "携帯電話・読み・氏名");
    auto* fields = review.findChild<QTableWidget*>("FieldTable");
    int row = Row(fields, "住所１");
    ASSERT_GE(row, 0);
    EXPECT_EQ(fields->item(row, 1)->text(), "大阪府大阪市北区梅田1-1");
    EXPECT_EQ(fields->item(row, 2)->text(), "東京都新宿区新宿1-1");
    // One number written two ways offers no choice.
    EXPECT_FALSE(fields->item(Row(fields, "Tel2"), 3)->flags() & Qt::ItemIsUserCheckable);
    fields->item(row, 3)->setCheckState(Qt::Checked);
    QTest::mouseClick(review.findChild<QPushButton*>("MergeButton"), Qt::LeftButton);

    EXPECT_EQ(state.tables.TotalCount, 2);
    EXPECT_EQ(address(a), "東京都新宿区新宿1-1");
    EXPECT_EQ(address(b), "(none)");
    EXPECT_EQ(pairs->topLevelItemCount(), 0);
    EXPECT_EQ(review.findChild<QLabel*>("Summary")->text(), "重複と見られるデータはありません。");
    EXPECT_FALSE(review.findChild<QPushButton*>("MergeButton")->isEnabled());

    auto* undo = review.findChild<QPushButton*>("UndoButton");
    ASSERT_TRUE(undo->isEnabled());
    QTest::mouseClick(undo, Qt::LeftButton);
    EXPECT_EQ(state.tables.TotalCount, 3);
    EXPECT_EQ(address(a), "大阪府大阪市北区梅田1-1");
    EXPECT_EQ(address(b), "東京都新宿区新宿1-1");
    EXPECT_EQ(pairs->topLevelItemCount(), 1);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(DuplicateReview, TwoPeopleAreNeverProposedAgainAndLaterKeepsThePair)
{
    {
        TALIKDUP review(state);
        review.show();
        auto* pairs = review.findChild<QTreeWidget*>("PairList");
        QTest::mouseClick(review.findChild<QPushButton*>("LaterButton"), Qt::LeftButton);
        EXPECT_EQ(pairs->topLevelItemCount(), 1);
        QTest::mouseClick(review.findChild<QPushButton*>("ApartButton"), Qt::LeftButton);
        EXPECT_EQ(pairs->topLevelItemCount(), 0);
        EXPECT_EQ(state.tables.TotalCount, 3);
    }
    TALIKDUP again(state);
    EXPECT_EQ(again.findChild<QTreeWidget*>("PairList")->topLevelItemCount(), 0);
}

} // namespace
} // namespace talik::test
