#pragma once
// Input support for pager messages: text typed in letters, digits and kana becomes the two-digit
// code sequence of the chosen pager system.
#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace talik {

struct AppState;

class TALIKMSG : public QDialog
{
    Q_OBJECT
public:
    explicit TALIKMSG(AppState& state, QWidget* parent = nullptr);

    // The code sequence shown, which "ＯＫ" hands to the call confirmation.
    QString message() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QLabel* label(const char* name, const QString& text, int leftTwips, int topTwips, int widthTwips);
    void buildInput();
    void buildChoices();
    void chooseSystem(int msgType);
    void convert();
    int px(int twips) const;

    AppState& m_state;
    QLineEdit* m_input = nullptr;             // Text1
    QLabel* m_codes = nullptr;                // Label1
    std::array<QRadioButton*, 2> m_systems{}; // Option1(1), Option1(2)
};

} // namespace talik
