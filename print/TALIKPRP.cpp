#include "print/TALIKPRP.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "listwin/appstate.h"
#include "print/numberbox.h"
#include "print/numberparse.h"
#include "print/positionadjust.h"
#include "ui/formhelpers.h"
#include "ui/qtinteraction.h"
#include "ui/units.h"

namespace talik {
namespace {

constexpr int FormWidth = 4400;
constexpr int FormHeight = 1900;
constexpr int LineHeight = 330;

} // namespace

TALIKPRP::TALIKPRP(AppState& state, LabelOptions* startCell, QWidget* parent)
    : QDialog(parent), m_state(state), m_startCell(startCell), m_mode(state.PrintKind)
{
    setObjectName("TALIKPRP");
    build();
    const AdjustCaptions captions = AdjustCaptionsOf(m_mode);
    setWindowTitle(Qs(captions.window));
    m_firstCaption->setText(Qs(captions.first));
    m_secondCaption->setText(Qs(captions.second));
    m_firstUnit->setText(Qs(captions.firstUnit));
    m_secondUnit->setText(Qs(captions.secondUnit));
    const AdjustValues shown = ShownAdjustValues(m_mode, m_state.settings, m_startCell);
    m_first->setText(Qs(shown.first));
    m_second->setText(Qs(shown.second));
    updateOk();
}

void TALIKPRP::build()
{
    const int dpi = logicalDpiX();
    auto px = [dpi](int twips) { return TwipsToPixels(twips, dpi); };
    setFixedSize(px(FormWidth), px(FormHeight));
    auto row = [&](int index, QLabel*& caption, QLineEdit*& box, QLabel*& unit) {
        const int top = 200 + index * 450;
        caption = new QLabel(this);
        caption->setObjectName(QString("Label1_%1").arg(index));
        caption->setGeometry(px(150), px(top), px(1600), px(LineHeight));
        box = new QLineEdit(this);
        box->setObjectName(QString("Text1_%1").arg(index));
        box->setGeometry(px(1800), px(top), px(1000), px(LineHeight));
        box->setAlignment(Qt::AlignRight);
        MakeNumberBox(box);
        connect(box, &QLineEdit::textChanged, this, &TALIKPRP::updateOk);
        unit = new QLabel(this);
        unit->setObjectName(QString("Label2_%1").arg(index));
        unit->setGeometry(px(2850), px(top), px(1400), px(LineHeight));
    };
    row(0, m_firstCaption, m_first, m_firstUnit);
    row(1, m_secondCaption, m_second, m_secondUnit);
    m_ok = new QPushButton("ＯＫ", this);
    m_ok->setObjectName("Command1_0");
    m_ok->setGeometry(px(1000), px(1250), px(1100), px(420));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &TALIKPRP::confirm);
    m_cancel = new QPushButton("取り消し", this);
    m_cancel->setObjectName("Command1_1");
    m_cancel->setGeometry(px(2300), px(1250), px(1100), px(420));
    connect(m_cancel, &QPushButton::clicked, this, &TALIKPRP::reject);
}

void TALIKPRP::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreForm(this);
}

void TALIKPRP::updateOk()
{
    m_ok->setEnabled(!m_first->text().trimmed().isEmpty() && !m_second->text().trimmed().isEmpty());
}

void TALIKPRP::confirm()
{
    if (!m_ok->isEnabled()) {
        return;
    }
    if (!StoreAdjustValues(m_mode, {Us(m_first->text()), Us(m_second->text())}, m_state.settings, m_startCell)) {
        m_state.ui.message(std::string(NumberInvalidMessage), MessageIcon::Exclamation);
        return;
    }
    accept();
}

void TALIKPRP::reject()
{
    m_state.PrintKind = ' ';
    QDialog::reject();
}

} // namespace talik
