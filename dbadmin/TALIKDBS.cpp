#include "dbadmin/TALIKDBS.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dbadmin/dbnames.h"
#include "listwin/appstate.h"
#include "ui/formhelpers.h"
#include "ui/qtinteraction.h"

namespace talik {

TALIKDBS::TALIKDBS(AppState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_register(new QPushButton("登録", this)),
      m_cancel(new QPushButton("取り消し", this))
{
    setObjectName("TALIKDBS");
    setWindowTitle("データベース名設定");
    m_register->setObjectName("Command1");
    m_cancel->setObjectName("Command2");
    auto* form = new QFormLayout;
    for (int i = 0; i < 10; ++i) {
        auto* text = new QLineEdit(Qs(state.settings.AddrDBName[i]), this);
        text->setObjectName(QString("Text1_%1").arg(i));
        form->addRow(QString::number(i + 1), text);
        m_names[i] = text;
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_register);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(360, height());

    connect(m_register, &QPushButton::clicked, this, &TALIKDBS::registerNames);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TALIKDBS::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreForm(this);
    m_names[0]->setFocus();
}

void TALIKDBS::registerNames()
{
    std::array<std::string, 10> names;
    for (int i = 0; i < 10; ++i) {
        names[i] = Us(m_names[i]->text());
    }
    int refused = -1;
    const bool registered = RegisterDbNames(m_state, names, &refused);
    if (m_state.TablesLoaded) {
        // The names are taken even when the settings file could not be written.
        m_state.texts.DbName = m_state.settings.AddrDBName[m_state.DbNo - 1];
    }
    if (registered) {
        accept();
    } else if (refused >= 0) {
        m_names[refused]->setFocus();
        m_names[refused]->selectAll();
    }
}

} // namespace talik
