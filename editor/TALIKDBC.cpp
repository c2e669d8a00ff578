#include "editor/TALIKDBC.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "editor/bytelimit.h"
#include "editor/dbcheckitems.h"
#include "listwin/appstate.h"
#include "ui/formhelpers.h"
#include "ui/qtinteraction.h"

namespace talik {
namespace {

constexpr const char* DisabledLook = "QLineEdit { background: #C0C0C0; }";
constexpr const char* EnabledLook = "QLineEdit { background: #FFFFFF; }";

} // namespace

TALIKDBC::TALIKDBC(AppState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_common(new QRadioButton("共通のチェック項目を使う", this)),
      m_own(new QRadioButton("個別にチェック項目を設定する", this))
{
    setObjectName("TALIKDBC");
    setWindowTitle("チェック項目設定");
    auto* column = new QVBoxLayout(this);
    auto* title = new QLabel(Qs("「" + state.settings.AddrDBName[state.DbNo - 1] + "」のチェック項目"), this);
    title->setObjectName("Label2");
    column->addWidget(title);
    m_common->setObjectName("Option1_0");
    m_own->setObjectName("Option1_1");
    auto* options = new QButtonGroup(this);
    options->addButton(m_common);
    options->addButton(m_own);
    column->addWidget(m_common);
    column->addWidget(m_own);
    auto* grid = new QGridLayout;
    const DbCheckItems items = DbCheckItemsOf(state);
    for (int i = 0; i < 15; ++i) {
        m_names[i] = new QLineEdit(Qs(items.names[i]), this);
        m_names[i]->setObjectName(QString("Text1_%1").arg(i));
        LimitToCp932Bytes(m_names[i], DbCheckNameBytes);
        SelectAllOnFocus(m_names[i]);
        grid->addWidget(m_names[i], i % 5, i / 5);
    }
    column->addLayout(grid);
    auto* buttons = new QHBoxLayout;
    auto* store = new QPushButton("登録", this);
    store->setObjectName("Command2_0");
    auto* cancel = new QPushButton("取り消し", this);
    cancel->setObjectName("Command2_1");
    buttons->addStretch();
    buttons->addWidget(store);
    buttons->addWidget(cancel);
    column->addLayout(buttons);
    connect(m_own, &QRadioButton::toggled, this, &TALIKDBC::useOwnNames);
    connect(store, &QPushButton::clicked, this, &TALIKDBC::store);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    (items.ownNames ? m_own : m_common)->setChecked(true);
    useOwnNames(items.ownNames);
}

void TALIKDBC::useOwnNames(bool own)
{
    for (QLineEdit* box : m_names) {
        box->setEnabled(own);
        box->setStyleSheet(own ? EnabledLook : DisabledLook);
    }
    if (own && isActiveWindow()) {
        m_names[0]->setFocus();
    }
}

void TALIKDBC::store()
{
    DbCheckItems items;
    items.ownNames = m_own->isChecked();
    for (int i = 0; i < 15; ++i) {
        items.names[i] = Us(m_names[i]->text());
    }
    if (StoreDbCheckItems(m_state, items)) {
        accept();
    }
}

void TALIKDBC::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreForm(this);
    if (m_own->isChecked()) {
        m_names[0]->setFocus();
    }
}

} // namespace talik
