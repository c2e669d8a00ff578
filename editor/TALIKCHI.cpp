#include "editor/TALIKCHI.h"

#include <QCheckBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "listwin/appstate.h"
#include "store/checkitems.h"
#include "ui/formhelpers.h"
#include "ui/qtinteraction.h"
#include "ui/units.h"

namespace talik {

TALIKCHI::TALIKCHI(AppState& state, QWidget* parent) : QDialog(parent), m_state(state), m_message(new QLabel(this))
{
    setObjectName("TALIKCHI");
    setWindowTitle("チェック項目設定");
    auto px = [this](int twips) { return TwipsToPixels(twips, logicalDpiX()); };
    resize(px(7800), px(2900));
    m_message->setObjectName("Label1_12");
    m_message->setGeometry(px(200), px(150), px(7400), px(330));
    std::array<std::string, 15> names = CheckItemCaptions(state);
    for (int i = 0; i < 15; ++i) {
        m_checks[i] = new QCheckBox(Qs(names[i]), this);
        m_checks[i]->setObjectName(QString("Check1_%1").arg(i));
        m_checks[i]->setGeometry(px(200 + (i % 5) * 1500), px(650 + (i / 5) * 420), px(1400), px(300));
    }
    auto* ok = new QPushButton("ＯＫ", this);
    ok->setObjectName("Command1_0");
    ok->setGeometry(px(4700), px(2150), px(1300), px(420));
    auto* cancel = new QPushButton("取り消し", this);
    cancel->setObjectName("Command1_1");
    cancel->setGeometry(px(6100), px(2150), px(1300), px(420));
    connect(ok, &QPushButton::clicked, this, [this] { finish(true); });
    connect(cancel, &QPushButton::clicked, this, [this] { finish(false); });
    m_state.EditStatus = ' ';
}

void TALIKCHI::setMessage(const QString& text, std::uint32_t bgrColour)
{
    m_message->setText(text);
    QPalette palette = m_message->palette();
    palette.setColor(QPalette::WindowText,
                     QColor(static_cast<int>(bgrColour & 0xFF), static_cast<int>((bgrColour >> 8) & 0xFF),
                            static_cast<int>((bgrColour >> 16) & 0xFF)));
    m_message->setPalette(palette);
}

void TALIKCHI::finish(bool ok)
{
    m_state.EditStatus = ok ? 'Y' : ' ';
    if (ok) {
        for (int i = 0; i < 15; ++i) {
            m_state.Rec.CheckItems[i] = m_checks[i]->isChecked() ? '1' : ' ';
        }
    }
    done(ok ? QDialog::Accepted : QDialog::Rejected);
}

void TALIKCHI::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreForm(this);
}

void TALIKCHI::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    for (const QCheckBox* check : m_checks) {
        Draw3DFrame(painter, check, false, 1);
    }
}

void TALIKCHI::offerOption(const QString& caption, const char* objectName)
{
    m_option = new QCheckBox(caption, this);
    m_option->setObjectName(objectName);
    const auto px = [this](int twips) { return TwipsToPixels(twips, logicalDpiX()); };
    m_option->setGeometry(px(200), px(2200), px(4400), px(330));
    // After the check items, before the buttons, as it stands.
    QWidget::setTabOrder(m_checks.back(), m_option);
}

bool TALIKCHI::optionChosen() const
{
    return m_option != nullptr && m_option->isChecked();
}

} // namespace talik
