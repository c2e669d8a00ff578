#pragma once
// "縮小率設定": the reduction ratio of the address list, as a whole percentage.
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace talik {

struct AppState;

class TALIKPRZ : public QDialog
{
    Q_OBJECT
public:
    explicit TALIKPRZ(AppState& state, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void confirm();

    AppState& m_state;
    QLineEdit* m_percent = nullptr; // Text1
    QPushButton* m_ok = nullptr;    // Command1(0)
};

} // namespace talik
