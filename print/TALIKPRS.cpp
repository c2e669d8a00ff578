#include "print/TALIKPRS.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QValidator>

#include <algorithm>

#include "listwin/appstate.h"
#include "platform/codec.h"
#include "print/printoptions.h"
#include "ui/formhelpers.h"
#include "ui/qtinteraction.h"
#include "ui/units.h"

namespace talik {
namespace {

// The honorific field holds 10 CP932 bytes: a longer text is refused as it is typed.
class HonorificValidator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override
    {
        return static_cast<std::size_t>(AnsiLen(Us(input))) <= HonorificBytes ? Acceptable : Invalid;
    }
};

} // namespace

TALIKPRS::TALIKPRS(AppState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setObjectName("TALIKPRS");
    setWindowTitle(Qs(PrintSettingsTitle(state.Rec)));
    build();
    showChoices(ReadPrintChoices(state.Rec));
}

void TALIKPRS::build()
{
    const int dpi = logicalDpiX();
    auto px = [dpi](int twips) { return TwipsToPixels(twips, dpi); };
    setFixedSize(px(5400), px(4300));

    auto* addressGroup = new QButtonGroup(this);
    static constexpr const char* AddressCaptions[2] = {"住所１印刷", "住所２印刷"};
    for (int i = 0; i < 2; ++i) {
        m_address[i] = new QRadioButton(AddressCaptions[i], this);
        m_address[i]->setObjectName(QString("Option1_%1").arg(i));
        m_address[i]->setGeometry(px(300 + i * 2200), px(200), px(2000), px(330));
        addressGroup->addButton(m_address[i], i);
    }
    static constexpr const char* CheckCaptions[4] = {"勤務先名称を印刷する", "部署名を印刷する", "敬称を印刷しない",
                                                     "複数行時に最後のみ敬称を印刷する"};
    for (int i = 0; i < 4; ++i) {
        m_checks[i] = new QCheckBox(CheckCaptions[i], this);
        m_checks[i]->setObjectName(QString("Check1_%1").arg(i));
        m_checks[i]->setGeometry(px(300), px(700 + i * 400), px(4800), px(330));
        // Only the box and its caption take a click: no wider than they are.
        m_checks[i]->resize(std::min(m_checks[i]->width(), m_checks[i]->sizeHint().width()), m_checks[i]->height());
    }
    auto* caption = new QLabel("敬　称", this);
    caption->setObjectName("Label1");
    caption->setGeometry(px(300), px(2350), px(900), px(330));
    m_honorific = new QComboBox(this);
    m_honorific->setObjectName("Combo1");
    m_honorific->setEditable(true);
    m_honorific->setInsertPolicy(QComboBox::NoInsert);
    for (std::string_view choice : HonorificChoices) {
        m_honorific->addItem(Qs(choice));
    }
    m_honorific->lineEdit()->setValidator(new HonorificValidator(m_honorific));
    m_honorific->setGeometry(px(1300), px(2330), px(1800), px(360));

    auto* senderGroup = new QButtonGroup(this);
    static constexpr const char* SenderCaptions[2] = {"差出人１", "差出人２"};
    for (int i = 0; i < 2; ++i) {
        m_sender[i] = new QRadioButton(SenderCaptions[i], this);
        m_sender[i]->setObjectName(QString("Option2_%1").arg(i));
        m_sender[i]->setGeometry(px(300 + i * 2200), px(2900), px(2000), px(330));
        senderGroup->addButton(m_sender[i], i);
    }
    auto* ok = new QPushButton("ＯＫ", this);
    ok->setObjectName("Command1_0");
    ok->setGeometry(px(1500), px(3600), px(1100), px(420));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TALIKPRS::confirm);
    auto* cancel = new QPushButton("取り消し", this);
    cancel->setObjectName("Command1_1");
    cancel->setGeometry(px(2800), px(3600), px(1100), px(420));
    connect(cancel, &QPushButton::clicked, this, &TALIKPRS::reject);
}

void TALIKPRS::showChoices(const RecordPrintChoices& c)
{
    m_address[c.address2 ? 1 : 0]->setChecked(true);
    m_checks[0]->setChecked(c.company);
    m_checks[1]->setChecked(c.department);
    m_checks[2]->setChecked(c.noHonorific);
    m_checks[3]->setChecked(c.honorificOnlyAfterLast);
    // A stored honorific longer than the box takes (a damaged field) is shown cut to whole characters.
    QString honorific = Qs(c.honorific);
    while (static_cast<std::size_t>(AnsiLen(Us(honorific))) > HonorificBytes) {
        honorific.chop(1);
    }
    m_honorific->setEditText(honorific);
    m_sender[c.secondSender ? 1 : 0]->setChecked(true);
}

void TALIKPRS::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreForm(this);
}

void TALIKPRS::confirm()
{
    RecordPrintChoices c;
    c.address2 = m_address[1]->isChecked();
    c.company = m_checks[0]->isChecked();
    c.department = m_checks[1]->isChecked();
    c.noHonorific = m_checks[2]->isChecked();
    c.honorificOnlyAfterLast = m_checks[3]->isChecked();
    c.honorific = Us(m_honorific->currentText());
    c.secondSender = m_sender[1]->isChecked();
    WritePrintChoices(c, m_state.Rec);
    accept();
}

} // namespace talik
