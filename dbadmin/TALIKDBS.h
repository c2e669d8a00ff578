#pragma once
// Naming the ten databases.
#include <array>

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace talik {

struct AppState;

class TALIKDBS : public QDialog
{
    Q_OBJECT
public:
    explicit TALIKDBS(AppState& state, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void registerNames();

    AppState& m_state;
    std::array<QLineEdit*, 10> m_names{};
    QPushButton* m_register;
    QPushButton* m_cancel;
};

} // namespace talik
