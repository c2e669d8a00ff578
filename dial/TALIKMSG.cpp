#include "dial/TALIKMSG.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "dial/pagercode.h"
#include "listwin/appstate.h"
#include "ui/formhelpers.h"
#include "ui/qtinteraction.h"
#include "ui/units.h"

namespace talik {
namespace {

constexpr int MsgFormWidth = 6000;
constexpr int MsgFormHeight = 3400;
constexpr int MsgLeft = 300;
constexpr int MsgFullWidth = MsgFormWidth - 2 * MsgLeft;
constexpr int MsgLineHeight = 330;

} // namespace

TALIKMSG::TALIKMSG(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName("TALIKMSG");
    setWindowTitle("メッセージ入力支援");
    setFixedSize(px(MsgFormWidth), px(MsgFormHeight));
    buildInput();
    buildChoices();
}

int TALIKMSG::px(int twips) const
{
    return TwipsToPixels(twips, logicalDpiX());
}

QLabel* TALIKMSG::label(const char* name, const QString& text, int leftTwips, int topTwips, int widthTwips)
{
    auto* caption = new QLabel(text, this);
    caption->setObjectName(name);
    caption->setGeometry(px(leftTwips), px(topTwips), px(widthTwips), px(MsgLineHeight));
    return caption;
}

void TALIKMSG::buildInput()
{
    label("Label2", "英数カナ入力", MsgLeft, 150, MsgFullWidth);
    m_input = new QLineEdit(this);
    m_input->setObjectName("Text1");
    m_input->setGeometry(px(MsgLeft), px(480), px(MsgFullWidth), px(MsgLineHeight));
    connect(m_input, &QLineEdit::returnPressed, this, &TALIKMSG::convert);
    label("Label4", "変換メッセージ", MsgLeft, 950, MsgFullWidth);
    m_codes = label("Label1", {}, MsgLeft, 1280, MsgFullWidth);
    m_codes->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_codes->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label("Label3", "入力をしてＥｎｔｅｒキーを押すとメッセージに変換されます。", MsgLeft, 1700, MsgFullWidth);
}

void TALIKMSG::buildChoices()
{
    static constexpr const char* Names[2] = {"Option1_1", "Option1_2"};
    static constexpr const char* Captions[2] = {"NTT DoCoMo", "telemessage"};
    for (int i = 0; i < 2; ++i) {
        const int msgType = i + 1;
        m_systems[i] = new QRadioButton(Captions[i], this);
        m_systems[i]->setObjectName(Names[i]);
        m_systems[i]->setGeometry(px(MsgLeft + i * 2000), px(2250), px(1900), px(MsgLineHeight));
        connect(m_systems[i], &QRadioButton::clicked, this, [this, msgType] { chooseSystem(msgType); });
    }
    m_systems[PagerOptionOf(m_state.settings.MsgType) - 1]->setChecked(true);
    auto* ok = new QPushButton("ＯＫ", this);
    ok->setObjectName("Command1_0");
    ok->setGeometry(px(MsgFormWidth - MsgLeft - 2750), px(2750), px(1300), px(420));
    auto* cancel = new QPushButton("取消し", this);
    cancel->setObjectName("Command1_1");
    cancel->setGeometry(px(MsgFormWidth - MsgLeft - 1300), px(2750), px(1300), px(420));
    connect(ok, &QPushButton::clicked, this, &TALIKMSG::accept);
    connect(cancel, &QPushButton::clicked, this, &TALIKMSG::reject);
}

QString TALIKMSG::message() const
{
    return m_codes->text();
}

void TALIKMSG::chooseSystem(int msgType)
{
    // The choice holds for the rest of the run; the settings file keeps its own value.
    m_state.settings.MsgType = msgType;
    convert();
}

void TALIKMSG::convert()
{
    const std::string normalised = NormalisePagerText(Us(m_input->text()));
    m_input->setText(Qs(normalised));
    m_codes->setText(Qs(PagerCodes(normalised, m_state.settings.MsgType)));
}

void TALIKMSG::keyPressEvent(QKeyEvent* event)
{
    // Enter converts (in the input box) and is spent there; it never closes the dialog.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        return;
    }
    QDialog::keyPressEvent(event);
}

void TALIKMSG::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreForm(this);
}

} // namespace talik
