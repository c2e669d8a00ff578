#pragma once
// The check-item names of the open database: its own, or the global ones. Written into the
// database's header on 登録 only.
#include <array>

#include <QDialog>

class QLineEdit;
class QRadioButton;

namespace talik {

struct AppState;

class TALIKDBC : public QDialog
{
    Q_OBJECT
public:
    explicit TALIKDBC(AppState& state, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void useOwnNames(bool own);
    void store();

    AppState& m_state;
    std::array<QLineEdit*, 15> m_names{}; // Text1(0..14)
    QRadioButton* m_common;               // Option1(0)
    QRadioButton* m_own;                  // Option1(1)
};

} // namespace talik
