#pragma once
// The database password prompt.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace talik {

class TALIKPSW : public QDialog
{
    Q_OBJECT
public:
    explicit TALIKPSW(const QString& dbDisplayName, QWidget* parent = nullptr);

    // Shows the prompt modally; true for OK (Unload_Flag), false for cancel.
    bool ask();
    QString password() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* m_label;
    QLineEdit* m_text;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

} // namespace talik
