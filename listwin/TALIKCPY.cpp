#include "listwin/TALIKCPY.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "listwin/appstate.h"
#include "listwin/clipboardcopy.h"
#include "ui/formhelpers.h"
#include "ui/qtinteraction.h"

namespace talik {
namespace {

constexpr const char* NoItem = "- なし -";

} // namespace

TALIKCPY::TALIKCPY(AppState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_setting(new QComboBox(this)), m_name(new QLineEdit(this)),
      m_ok(new QPushButton("OK", this)), m_cancel(new QPushButton("取り消し", this))
{
    setObjectName("TALIKCPY");
    setWindowTitle("コピー項目設定");
    buildControls();
    showSetting(0);
    connect(m_setting, &QComboBox::currentIndexChanged, this, &TALIKCPY::switchTo);
    connect(m_name, &QLineEdit::textEdited, this, &TALIKCPY::nameEdited);
    connect(m_ok, &QPushButton::clicked, this, [this] {
        storeShown();
        m_state.EditStatus = 'S';
        accept();
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TALIKCPY::buildControls()
{
    m_setting->setObjectName("Combo2");
    for (int i = 1; i <= CopySettingTotal; ++i) {
        m_setting->addItem(QString("%1設定").arg(i, 2, 10, QChar('0')));
    }
    m_name->setObjectName("Text1");
    auto* nameLabel = new QLabel("表示名称", this);
    nameLabel->setObjectName("Label2");

    auto* frame = new QGroupBox("区切り設定", this);
    frame->setObjectName("Frame1");
    auto* frameLayout = new QHBoxLayout(frame);
    const char* captions[3] = {"なし", "スペース", "改行"};
    for (int i = 0; i < 3; ++i) {
        m_separator[i] = new QRadioButton(captions[i], frame);
        m_separator[i]->setObjectName(QString("Option1_%1").arg(i));
        frameLayout->addWidget(m_separator[i]);
    }

    QStringList offered{NoItem};
    for (const std::string& caption : CopyItemCaptions(m_state.settings.Captions)) {
        offered << Qs(caption);
    }
    auto* slotGrid = new QGridLayout;
    for (int slot = 0; slot < CopyItemTotal; ++slot) {
        m_items[slot] = new QComboBox(this);
        m_items[slot]->setObjectName(QString("Combo1_%1").arg(slot));
        // Slot 1 offers all 18 items; the others every item but the last.
        m_items[slot]->addItems(slot == 0 ? offered : offered.mid(0, CopyItemTotal));
        auto* number = new QLabel(QString::number(slot + 1), this);
        slotGrid->addWidget(number, slot % 9, (slot / 9) * 2);
        slotGrid->addWidget(m_items[slot], slot % 9, (slot / 9) * 2 + 1);
    }

    m_ok->setObjectName("Command1_0");
    m_cancel->setObjectName("Command1_1");
    m_ok->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(m_setting);
    top->addWidget(nameLabel);
    top->addWidget(m_name, 1);
    layout->addLayout(top);
    layout->addWidget(frame);
    layout->addLayout(slotGrid);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
}

void TALIKCPY::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreForm(this);
}

void TALIKCPY::showSetting(int index)
{
    m_shown = index;
    const CopySetting& setting = m_state.settings.Copy[index];
    m_name->setText(Qs(setting.title));
    CopyDefinition def = ParseCopyDefinition(setting.parm);
    m_separator[def.separator >= 0 ? def.separator : 0]->setChecked(true);
    for (QComboBox* slot : m_items) {
        slot->setCurrentIndex(0);
    }
    for (std::size_t slot = 0; slot < def.items.size(); ++slot) {
        int code = def.items[slot];
        if (code < 0 || code >= m_items[slot]->count()) {
            m_state.ui.message("コピー項目 " + std::to_string(slot + 1) + " の設定 (" + std::to_string(code) +
                                   ") はこの位置で使用できません。",
                               MessageIcon::Exclamation);
            continue;
        }
        m_items[slot]->setCurrentIndex(code);
    }
}

void TALIKCPY::storeShown()
{
    int separator = 0;
    for (int i = 0; i < 3; ++i) {
        if (m_separator[i]->isChecked()) {
            separator = i;
        }
    }
    std::vector<int> items;
    for (QComboBox* slot : m_items) {
        items.push_back(slot->currentIndex());
    }
    CopySetting& setting = m_state.settings.Copy[m_shown];
    setting.title = FitCopyTitle(Us(m_name->text()));
    setting.parm = CopyDefinitionText(separator, items);
}

void TALIKCPY::nameEdited(const QString& text)
{
    std::string fitted = FitCopyTitle(Us(text));
    if (fitted != Us(text)) {
        int cursor = m_name->cursorPosition();
        m_name->setText(Qs(fitted)); // the name holds 30 bytes: what goes beyond is not taken
        m_name->setCursorPosition(std::min(cursor, static_cast<int>(m_name->text().size())));
    }
    m_state.settings.Copy[m_shown].title = fitted;
}

void TALIKCPY::switchTo(int index)
{
    storeShown();
    showSetting(index);
}

} // namespace talik
