// The password prompt, driven for real.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "ui/TALIKPSW.h"

namespace talik {
namespace {

// Runs `script` on the prompt once it is up, then asks.
bool AskWith(TALIKPSW& dialog, std::function<void()> script)
{
    QTimer::singleShot(0, &dialog, std::move(script));
    return dialog.ask();
}

TEST(TALIKPSW, ShowsTheDatabaseAndReturnsWhatWasTypedOnOk)
{
    TALIKPSW dialog("仕事用");
    bool ok = AskWith(dialog, [&dialog] {
        EXPECT_EQ(dialog.windowTitle(), "パスワード入力");
        EXPECT_EQ(dialog.findChild<QLabel*>("Label1")->text(), "仕事用のパスワードを入力してください。");
        auto* text = dialog.findChild<QLineEdit*>("Text1");
        EXPECT_TRUE(text->hasFocus() || !QApplication::focusWindow());
        QTest::keyClicks(text, "Secret1");
        QTest::mouseClick(dialog.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(dialog.password(), "Secret1");
}

TEST(TALIKPSW, CancelSaysSoAndEachShowingStartsEmpty)
{
    TALIKPSW dialog("データベース1");
    AskWith(dialog, [&dialog] {
        QTest::keyClicks(dialog.findChild<QLineEdit*>("Text1"), "first");
        QTest::mouseClick(dialog.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    });
    bool ok = AskWith(dialog, [&dialog] {
        EXPECT_EQ(dialog.findChild<QLineEdit*>("Text1")->text(), "");
        EXPECT_EQ(dialog.findChild<QPushButton*>("Command2")->text(), "取消し");
        QTest::mouseClick(dialog.findChild<QPushButton*>("Command2"), Qt::LeftButton);
    });
    EXPECT_FALSE(ok);
}

} // namespace
} // namespace talik
