#include "ui/TALIKPSW.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/formhelpers.h"

namespace talik {

TALIKPSW::TALIKPSW(const QString& dbDisplayName, QWidget* parent)
    : QDialog(parent), m_label(new QLabel(dbDisplayName + "のパスワードを入力してください。", this)),
      m_text(new QLineEdit(this)), m_ok(new QPushButton("OK", this)), m_cancel(new QPushButton("取消し", this))
{
    setObjectName("TALIKPSW");
    setWindowTitle("パスワード入力");
    m_label->setObjectName("Label1");
    m_text->setObjectName("Text1");
    m_text->setEchoMode(QLineEdit::Password);
    m_ok->setObjectName("Command1");
    m_cancel->setObjectName("Command2");
    m_ok->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_text);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TALIKPSW::ask()
{
    // The wait cursor of a load in progress would hide that the prompt waits for the user.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    bool ok = exec() == QDialog::Accepted;
    QApplication::restoreOverrideCursor();
    return ok;
}

QString TALIKPSW::password() const
{
    return m_text->text();
}

void TALIKPSW::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreForm(this);
    m_text->clear();
    m_text->setFocus();
}

} // namespace talik
