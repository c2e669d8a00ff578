#include "listwin/TALIKSET.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "listwin/appstate.h"
#include "listwin/listcolumns.h"
#include "listwin/listwindow.h"
#include "ui/formhelpers.h"
#include "ui/qtinteraction.h"

namespace talik {

TALIKSET::TALIKSET(AppState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_ok(new QPushButton("ＯＫ", this)), m_cancel(new QPushButton("取り消し", this))
{
    setObjectName("TALIKSET");
    setWindowTitle("一覧表示項目設定");
    buildControls();
    connect(m_ok, &QPushButton::clicked, this, &TALIKSET::storeAndClose);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TALIKSET::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    const ListColumnFlags& enabled = m_state.tables.columns.ColEnabled;
    for (int k = 0; k < ListColumnTotal; ++k) {
        // Check1(1..12) stand for list columns 0..11 in their fixed order.
        auto* check = new QCheckBox(Qs(ListColumnLabel(m_state.settings, k)), this);
        check->setObjectName(QString("Check1_%1").arg(k + 1));
        check->setChecked(enabled[k]);
        layout->addWidget(check);
        m_checks[k] = check;
    }
    m_ok->setObjectName("Command1_0");
    m_cancel->setObjectName("Command1_1");
    m_ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
}

void TALIKSET::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreForm(this);
}

void TALIKSET::storeAndClose()
{
    ListColumnFlags enabled{};
    for (int k = 0; k < ListColumnTotal; ++k) {
        enabled[k] = m_checks[k]->isChecked();
    }
    // A failed write is told to the user; the choice holds for this run all the same.
    StoreListColumns(m_state, enabled);
    m_columnsChanged = true;
    accept();
}

} // namespace talik
