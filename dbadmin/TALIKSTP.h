#pragma once
// Setting the password of the open database.
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace talik {

struct AppState;

class TALIKSTP : public QDialog
{
    Q_OBJECT
public:
    explicit TALIKSTP(AppState& state, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void confirm();

    AppState& m_state;
    QLineEdit* m_password;
    QLineEdit* m_confirmation;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

} // namespace talik
