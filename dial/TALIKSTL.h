#pragma once
// The call confirmation: whom and which number the call goes to, the outside line, and for a pager
// the message dialled after the number. Leaves EditStatus "Y" (call) or "N" and the final
// DialNumber in the shared state.
#include <QDialog>

#include "dial/dialrequest.h"
#include "listwin/listmodel.h"

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace talik {

struct AppState;
struct CallLook;

class TALIKSTL : public QDialog
{
    Q_OBJECT
public:
    explicit TALIKSTL(AppState& state, QWidget* parent = nullptr);

public slots:
    // Escape, "取り消し" and the window's close button: no call.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QLabel* label(const char* name, const QString& text, int leftTwips, int topTwips, int widthTwips);
    QPushButton* button(const char* name, const QString& text, int leftTwips, int topTwips, int widthTwips);
    void buildCallee();
    void buildMessage();
    void buildButtons();
    void showLook(const CallLook& look);
    void call();
    void recallMessage();
    void saveMessage();
    void openInputSupport();
    int px(int twips) const;

    AppState& m_state;
    QLabel* m_name = nullptr;                     // Label1
    QLabel* m_kindAndNumber = nullptr;            // Label4
    QCheckBox* m_outsideLine = nullptr;           // Check1
    QLabel* m_messageCaption = nullptr;           // Label2
    QLineEdit* m_message = nullptr;               // Text1
    std::array<QPushButton*, 2> m_messageFiles{}; // Command1(0) recall, Command1(1) save
    QPushButton* m_inputSupport = nullptr;        // Command3
    std::array<QPushButton*, 2> m_command2{};     // call, cancel
};

// Calls telephone slot `slot` of the selected record of `list`: the call confirmation, then the
// dial request of the window the list belongs to.
void DialSelected(AppState& state, Launcher& launcher, const ListModel& list, int slot, DialFrom from, QWidget* parent);

} // namespace talik
