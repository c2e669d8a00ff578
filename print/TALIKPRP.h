#pragma once
// "印刷位置調整": two numbers in one of several modes (printer offsets of the postcard, label sheet
// or list, the label cell size, the start cell, the gaps). The mode comes in PrintKind; cancelling
// sets PrintKind to " ", so the opener knows whether to redraw.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace talik {

struct AppState;
struct LabelOptions;

class TALIKPRP : public QDialog
{
    Q_OBJECT
public:
    // `startCell`: the label dialog's start row and column, which mode "P" edits (no start cell
    // without it).
    explicit TALIKPRP(AppState& state, LabelOptions* startCell = nullptr, QWidget* parent = nullptr);

    char mode() const { return m_mode; }

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void build();
    void updateOk();
    void confirm();

    AppState& m_state;
    LabelOptions* m_startCell;
    const char m_mode;
    QLabel* m_firstCaption = nullptr;  // Label1(0)
    QLabel* m_secondCaption = nullptr; // Label1(1)
    QLabel* m_firstUnit = nullptr;     // Label2(0)
    QLabel* m_secondUnit = nullptr;    // Label2(1)
    QLineEdit* m_first = nullptr;      // Text1(0)
    QLineEdit* m_second = nullptr;     // Text1(1)
    QPushButton* m_ok = nullptr;       // Command1(0)
    QPushButton* m_cancel = nullptr;   // Command1(1)
};

} // namespace talik
