#include "dbadmin/TALIKSTP.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dbadmin/dbpassword.h"
#include "dbadmin/passwordoutcome.h"
#include "listwin/appstate.h"
#include "ui/formhelpers.h"
#include "ui/qtinteraction.h"

namespace talik {

TALIKSTP::TALIKSTP(AppState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_password(new QLineEdit(this)), m_confirmation(new QLineEdit(this)),
      m_ok(new QPushButton("OK", this)), m_cancel(new QPushButton("取消し", this))
{
    setObjectName("TALIKSTP");
    setWindowTitle("パスワード設定");
    m_password->setObjectName("Text1_0");
    m_confirmation->setObjectName("Text1_1");
    for (QLineEdit* text : {m_password, m_confirmation}) {
        text->setEchoMode(QLineEdit::Password);
    }
    m_ok->setObjectName("Command1");
    m_cancel->setObjectName("Command2");
    m_ok->setDefault(true);
    auto* form = new QFormLayout;
    form->addRow("パスワード", m_password);
    form->addRow("確認入力", m_confirmation);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &TALIKSTP::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TALIKSTP::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreForm(this);
    m_password->setFocus();
}

void TALIKSTP::confirm()
{
    if (m_confirmation->text() != m_password->text()) {
        m_state.ui.message("確認のパスワードが正しくありません。", MessageIcon::Exclamation);
        m_confirmation->setFocus();
        m_confirmation->selectAll();
        return;
    }
    const bool removing = m_password->text().isEmpty();
    if (removing && !m_state.ui.askYesNo(std::string(PasswordRemoveQuestion), MessageIcon::Question, "確認")) {
        m_password->setFocus();
        return;
    }
    if (SetDatabasePassword(m_state, Us(m_password->text()))) {
        m_state.ui.message(std::string(PasswordOutcome(removing)), MessageIcon::Information);
        accept();
    }
}

} // namespace talik
