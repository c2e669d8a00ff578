// The result window at its default and smallest size shows its whole button column, the bulk-mail
// extras included; after a move took every hit, the commands that need hits rest.
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "dbadmin/TALIKDMV.h"
#include "search/TALIKSRC.h"
#include "store/database.h"
#include "tests/support/modal.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

class ResultWindowFit : public StoreTest
{
protected:
    void SetUp() override
    {
        state.ProfileFolder = dir.str();
        load();
        for (auto reading : {"ﾔﾏﾀﾞ", "ﾔﾏﾓﾄ"}) {
            addRecord(reading);
        }
        load();
        ClearRecord(state.Rec);
        SetText(state.Rec.KanaName, "ﾔﾏ");
    }
    void open()
    {
        window = std::make_unique<TALIKSRC>(state, launcher);
        window->show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->findChild<QLabel*>("Label1")->text().size() > 0; }, 5000));
    }
    // Every control of the button column lies inside the window and is as wide as its caption.
    void expectWholeColumn()
    {
        for (const char* name : {"CheckBcc", "CommandCopyMail", "Command13", "Command1"}) {
            auto* control = window->findChild<QWidget*>(name);
            ASSERT_NE(control, nullptr) << name;
            const QRect where(control->mapTo(window.get(), QPoint(0, 0)), control->size());
            EXPECT_TRUE(window->rect().contains(where))
                << name << " at " << where.y() << "+" << where.height() << " in " << window->height();
            EXPECT_GE(control->width(), control->sizeHint().width()) << name;
        }
    }

    RecordingLauncher launcher;
    std::unique_ptr<TALIKSRC> window;
};

TEST_F(ResultWindowFit, TheBccBoxAndAddressCopyShowWholeAtDefaultAndMinimumSize)
{
    open();
    expectWholeColumn();
    window->resize(window->minimumSize());
    QApplication::processEvents();
    expectWholeColumn();
}

TEST_F(ResultWindowFit, AfterAMoveTookEveryHitTheHitCommandsRest)
{
    open();
    ASSERT_TRUE(window->findChild<QPushButton*>("Command7_1")->isEnabled());
    WhenModalShows<TALIKDMV>([this](TALIKDMV* dialog) {
        dialog->findChild<QListWidget*>("List1")->setCurrentRow(1);
        dialog->findChild<QRadioButton*>("Option1_0")->click();
        ui.yesNoAnswers = {true};
        QTest::mouseClick(dialog->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    });
    window->findChild<QPushButton*>("Command11")->click();
    EXPECT_EQ(state.tables.TotalCount, 0);
    for (const char* name : {"Command7_1", "Command7_2", "Command9_0", "Command9_1", "Command11"}) {
        EXPECT_FALSE(window->findChild<QPushButton*>(name)->isEnabled()) << name;
    }
    EXPECT_EQ(ui.messages().back(), "2 件のデータを「" + state.settings.AddrDBName[1] + "」へ移動しました。");
}

} // namespace
} // namespace talik::test
