// The application set-up the address book runs before its first window: titles exactly as the
// windows set them, and Qt's own buttons in Japanese. Message boxes are driven through the real
// interaction seam.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include "app/TALIKLST.h"
#include "app/appsetup.h"
#include "app/startup.h"
#include "listwin/appstate.h"
#include "tests/support/scripted.h"
#include "ui/qtinteraction.h"

namespace talik::test {
namespace {

// Whether the application was given a display name of its own: one that was never set follows the
// application name.
bool DisplayNameWasSet()
{
    QString name = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(name + "-probe");
    bool set = QGuiApplication::applicationDisplayName() != name + "-probe";
    QCoreApplication::setApplicationName(name);
    return set;
}

// The title the desktop shows for a window: Qt's platform windows append a display name that was
// set, after an em dash, unless the title already ends with it.
QString ShownTitle(const QWidget& window)
{
    QString title = window.windowHandle()->title();
    QString name = QGuiApplication::applicationDisplayName();
    if (!DisplayNameWasSet() || title.endsWith(name)) {
        return title;
    }
    return title + QString::fromUtf8(" \u2014 ") + name;
}

// A button's caption without its keyboard mnemonic: Qt's Japanese buttons read "はい(&Y)", shown as
// "はい(Y)" with the Y underlined, as Japanese desktops show them.
QString Caption(const QAbstractButton* button)
{
    return button->text().remove(QRegularExpression(R"(\(&\w\)$)"));
}

struct SeenBox
{
    QString title;
    QString text;
    QStringList buttons;
};

// Reads the message box the seam puts up, then presses its `answer` button.
void AnswerNextBox(SeenBox& seen, QMessageBox::StandardButton answer)
{
    QTimer::singleShot(0, [&seen, answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.title = ShownTitle(*box);
        seen.text = box->text();
        for (QAbstractButton* button : box->buttons()) {
            seen.buttons << Caption(button);
        }
        box->button(answer)->click();
    });
}

class AppSetUp : public ::testing::Test
{
protected:
    void SetUp() override { SetUpApplication(*qApp); }

    QtInteraction ui{std::string(ProductName)};
};

TEST_F(AppSetUp, TheListWindowShowsExactlyItsOwnTitle)
{
    ScriptedInteraction scripted;
    FixedClock clock;
    RecordingLauncher launcher;
    AppState state(scripted, clock);
    state.Mode = 3;
    TALIKLST window(state, launcher, nullptr);
    window.show();
    ASSERT_NE(window.windowHandle(), nullptr);
    EXPECT_EQ(ShownTitle(window), "Rinmaro (Ver. 7.01) Mode 03");
}

TEST_F(AppSetUp, BoxesCarryTheirGivenTitleAndJapaneseButtons)
{
    SeenBox question;
    AnswerNextBox(question, QMessageBox::No);
    EXPECT_FALSE(ui.askYesNo("Ｍｉｒｅｐｏｌを終了しますか？", MessageIcon::Exclamation, "終了確認"));
    EXPECT_EQ(question.title, "終了確認");
    EXPECT_EQ(question.text, "Ｍｉｒｅｐｏｌを終了しますか？");
    EXPECT_EQ(question.buttons, (QStringList{"はい", "いいえ"}));

    SeenBox message;
    AnswerNextBox(message, QMessageBox::Ok);
    ui.message("パスワードが正しくありません。", MessageIcon::Exclamation, "");
    EXPECT_EQ(message.title, "Rinmaro"); // a box given no title carries the product's name
    EXPECT_EQ(message.buttons, QStringList{"OK"});
}

TEST_F(AppSetUp, QtsOwnStandardButtonsAreJapanese)
{
    QMessageBox box(QMessageBox::Question, "確認", "", QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(Caption(box.button(QMessageBox::Yes)), "はい");
    EXPECT_EQ(Caption(box.button(QMessageBox::No)), "いいえ");
    EXPECT_EQ(Caption(box.button(QMessageBox::Cancel)), "キャンセル");
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), "はい(&Y)");
}

} // namespace
} // namespace talik::test
