#include "print/TALIKPRZ.h"

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

TALIKPRZ::TALIKPRZ(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName("TALIKPRZ");
    setWindowTitle("縮小率設定");
    const int dpi = logicalDpiX();
    auto px = [dpi](int twips) { return TwipsToPixels(twips, dpi); };
    setFixedSize(px(4000), px(1500));
    auto* caption = new QLabel("縮小率", this);
    caption->setObjectName("Label1");
    caption->setGeometry(px(200), px(250), px(1000), px(330));
    m_percent = new QLineEdit(Qs(ShownScalePercent(m_state.settings.AddrPrtScale)), this);
    m_percent->setObjectName("Text1");
    m_percent->setGeometry(px(1300), px(250), px(900), px(330));
    m_percent->setAlignment(Qt::AlignRight);
    MakeNumberBox(m_percent);
    auto* unit = new QLabel("％", this);
    unit->setObjectName("Label2");
    unit->setGeometry(px(2300), px(250), px(500), px(330));
    m_ok = new QPushButton("ＯＫ", this);
    m_ok->setObjectName("Command1_0");
    m_ok->setGeometry(px(800), px(850), px(1100), px(420));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &TALIKPRZ::confirm);
    auto* cancel = new QPushButton("取り消し", this);
    cancel->setObjectName("Command1_1");
    cancel->setGeometry(px(2100), px(850), px(1100), px(420));
    connect(cancel, &QPushButton::clicked, this, &TALIKPRZ::reject);
    connect(m_percent, &QLineEdit::textChanged, this,
            [this] { m_ok->setEnabled(!m_percent->text().trimmed().isEmpty()); });
}

void TALIKPRZ::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreForm(this);
}

void TALIKPRZ::confirm()
{
    if (!m_ok->isEnabled()) {
        return;
    }
    const std::optional<float> ratio = ListRatioFromPercent(Us(m_percent->text()));
    if (!ratio) {
        m_state.ui.message(std::string(NumberInvalidMessage), MessageIcon::Exclamation);
        return;
    }
    m_state.settings.AddrPrtScale = *ratio;
    accept();
}

} // namespace talik
