#include "dial/TALIKSTL.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dial/TALIKMSG.h"
#include "dial/pagercode.h"
#include "listwin/appstate.h"
#include "listwin/listwindow.h"
#include "store/messages.h"
#include "ui/formhelpers.h"
#include "ui/qtinteraction.h"
#include "ui/units.h"

namespace talik {
namespace {

constexpr int FormWidth = 6300;
constexpr int FormHeight = 3800;
constexpr int Left = 300;
constexpr int FullWidth = FormWidth - 2 * Left;
constexpr int LineHeight = 330;
constexpr int ButtonHeight = 420;
const QColor MessageOnColour(0x00, 0x00, 0xFF); // &HFF0000: blue

} // namespace

TALIKSTL::TALIKSTL(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName("TALIKSTL");
    setWindowTitle("電話かけ先確認");
    setFixedSize(px(FormWidth), px(FormHeight));
    buildCallee();
    buildMessage();
    buildButtons();
    // Whatever ends the dialog other than "電話をかける" means no call.
    m_state.EditStatus = 'N';
    showLook(LookOfCall(m_state));
}

int TALIKSTL::px(int twips) const
{
    return TwipsToPixels(twips, logicalDpiX());
}

QLabel* TALIKSTL::label(const char* name, const QString& text, int leftTwips, int topTwips, int widthTwips)
{
    auto* caption = new QLabel(text, this);
    caption->setObjectName(name);
    caption->setGeometry(px(leftTwips), px(topTwips), px(widthTwips), px(LineHeight));
    return caption;
}

QPushButton* TALIKSTL::button(const char* name, const QString& text, int leftTwips, int topTwips, int widthTwips)
{
    auto* b = new QPushButton(text, this);
    b->setObjectName(name);
    b->setGeometry(px(leftTwips), px(topTwips), px(widthTwips), px(ButtonHeight));
    return b;
}

void TALIKSTL::buildCallee()
{
    m_name = label("Label1", {}, Left, 200, FullWidth);
    m_name->setFixedHeight(px(420));
    QFont large = m_name->font();
    large.setPointSize(large.pointSize() + 3);
    large.setBold(true);
    m_name->setFont(large);
    m_kindAndNumber = label("Label4", {}, Left, 700, FullWidth);
    m_outsideLine = new QCheckBox(this);
    m_outsideLine->setObjectName("Check1");
    m_outsideLine->setGeometry(px(Left), px(1150), px(FullWidth), px(LineHeight));
}

void TALIKSTL::buildMessage()
{
    label("Label3", "ポケベルオプション", Left, 1650, FullWidth);
    m_messageCaption = label("Label2", "メッセージ", Left, 2050, 1100);
    m_message = new QLineEdit(this);
    m_message->setObjectName("Text1");
    m_message->setGeometry(px(Left + 1150), px(2030), px(FullWidth - 1150), px(LineHeight));
    m_messageFiles[0] = button("Command1_0", "メッセージ呼出", Left + 1150, 2450, 1550);
    m_messageFiles[1] = button("Command1_1", "メッセージ保存", Left + 2750, 2450, 1550);
    m_inputSupport = button("Command3", "入力支援", Left + 4350, 2450, FullWidth - 4350);
    connect(m_messageFiles[0], &QPushButton::clicked, this, &TALIKSTL::recallMessage);
    connect(m_messageFiles[1], &QPushButton::clicked, this, &TALIKSTL::saveMessage);
    connect(m_inputSupport, &QPushButton::clicked, this, &TALIKSTL::openInputSupport);
}

void TALIKSTL::buildButtons()
{
    m_command2[0] = button("Command2_0", "電話をかける", FormWidth - Left - 3500, 3150, 1700);
    m_command2[1] = button("Command2_1", "取り消し", FormWidth - Left - 1700, 3150, 1700);
    connect(m_command2[0], &QPushButton::clicked, this, &TALIKSTL::call);
    connect(m_command2[1], &QPushButton::clicked, this, &TALIKSTL::reject);
}

void TALIKSTL::showLook(const CallLook& look)
{
    m_name->setText(Qs(look.name));
    m_kindAndNumber->setText(Qs(look.kindAndNumber));
    m_outsideLine->setText(Qs(look.outsideLineCaption));
    m_outsideLine->setChecked(look.outsideLineChecked);
    for (QWidget* control : {static_cast<QWidget*>(m_message), static_cast<QWidget*>(m_messageFiles[0]),
                             static_cast<QWidget*>(m_messageFiles[1]), static_cast<QWidget*>(m_inputSupport)}) {
        control->setEnabled(look.messageEnabled);
    }
    QFont font = m_messageCaption->font();
    font.setBold(look.messageEnabled);
    m_messageCaption->setFont(font);
    QPalette palette = m_messageCaption->palette();
    palette.setColor(QPalette::WindowText, look.messageEnabled ? MessageOnColour : QColor(Qt::black));
    m_messageCaption->setPalette(palette);
}

void TALIKSTL::call()
{
    ConfirmCall(m_state, m_outsideLine->isChecked(), Us(m_message->text()));
    done(m_state.EditStatus == 'Y' ? QDialog::Accepted : QDialog::Rejected);
}

void TALIKSTL::reject()
{
    CancelCall(m_state);
    QDialog::reject();
}

void TALIKSTL::recallMessage()
{
    std::optional<std::string> path =
        m_state.ui.chooseOpenFile(std::string(MessageRecallTitle), std::string(MessageFileFilter));
    if (path) {
        m_message->setText(Qs(ReadMessageFile(*path)));
    }
}

void TALIKSTL::saveMessage()
{
    std::optional<std::string> path =
        m_state.ui.chooseSaveFile(std::string(MessageSaveTitle), std::string(MessageFileFilter));
    if (path && !WriteMessageFile(*path, Us(m_message->text()))) {
        TellFileNotWritten(m_state.ui, "メッセージファイル", *path);
    }
}

void TALIKSTL::openInputSupport()
{
    TALIKMSG support(m_state, this);
    if (support.exec() == QDialog::Accepted) {
        m_message->setText(support.message());
    }
}

void TALIKSTL::keyPressEvent(QKeyEvent* event)
{
    // Enter in the message box or on the check box must not set off a call: only a focused button
    // acts on it (and does so itself).
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        return;
    }
    QDialog::keyPressEvent(event);
}

void TALIKSTL::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreForm(this);
}

void DialSelected(AppState& state, Launcher& launcher, const ListModel& list, int slot, DialFrom from, QWidget* parent)
{
    if (!ReadSelectedRecord(state, list)) {
        return;
    }
    ChooseDialSlot(state, slot);
    DialRequest(state, launcher, from, [&state, parent] {
        TALIKSTL confirmation(state, parent);
        confirmation.exec();
    });
}

} // namespace talik
