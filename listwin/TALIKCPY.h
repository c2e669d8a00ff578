#pragma once
// The copy settings dialog: the four copy settings' names, separators and items.
#include <QDialog>

#include <array>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace talik {

struct AppState;

class TALIKCPY : public QDialog
{
    Q_OBJECT
public:
    explicit TALIKCPY(AppState& state, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void showSetting(int index);
    void storeShown();
    void nameEdited(const QString& text);
    void switchTo(int index);

    AppState& m_state;
    QComboBox* m_setting;                       // Combo2
    QLineEdit* m_name;                          // Text1
    std::array<QRadioButton*, 3> m_separator{}; // Option1(0..2)
    std::array<QComboBox*, 18> m_items{};       // Combo1(0..17)
    QPushButton* m_ok;                          // Command1(0)
    QPushButton* m_cancel;                      // Command1(1)
    int m_shown = 0;
};

} // namespace talik
