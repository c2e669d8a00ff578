#pragma once
// The record editor: one person's record created, changed or shown, or search conditions typed.
#include <QDialog>

#include <array>

#include "editor/recordedit.h"
#include "listwin/listmodel.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace talik {

struct AppState;

class TALIK01 : public QDialog
{
    Q_OBJECT
public:
    // Opens on the shared record state: CurRecNo, EditStatus and the search flag decide the mode.
    TALIK01(AppState& state, bool searchMode, QWidget* parent = nullptr);

    EditorMode mode() const { return m_mode; }
    // The values the boxes hold now.
    EditorValues values() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLineEdit* box(const char* name, int leftTwips, int topTwips, int widthTwips);
    QLabel* caption(const char* name, const QString& text, int leftTwips, int topTwips, int widthTwips);
    void buildBoxes();
    void buildTelephones();
    void buildChecks();
    void buildButtons();
    void applyMode();
    void showValues(const EditorValues& values);
    void showPhoneKind(int slot);
    void showAge();
    void leave(EditorButton button);
    void savePosition();
    void boxLeft(QLineEdit* box);
    bool filterKey(QLineEdit* box, QKeyEvent* event);
    void advanceIfFull(int index);
    void moveAlongEnterChain(QObject* from);
    QLineEdit* boxOf(EditorBox which) const;
    std::optional<EditorBox> whichBox(QObject* object) const;
    void dragWindow();
    int px(int twips) const;

    AppState& m_state;
    EditorMode m_mode;
    bool m_active = false;
    std::array<QLineEdit*, 2> m_text1{}; // reading, name
    std::array<QLineEdit*, 5> m_text2{}; // year, month, day, class code, e-mail
    std::array<QLineEdit*, 2> m_text3{}; // postal codes
    std::array<QLineEdit*, 2> m_text5{}; // addresses
    std::array<QLineEdit*, 2> m_text6{}; // Tel1, Tel2
    std::array<QLineEdit*, 2> m_text7{}; // Fax1, Fax2
    std::array<QLineEdit*, 2> m_text8{}; // company, department
    QLineEdit* m_text9 = nullptr;        // remarks
    std::array<QCheckBox*, CheckItemTotal> m_checks{};
    std::array<QLabel*, PhoneSlots> m_slotCaptions{}; // Label1 items 3, 4, 7, 8
    std::array<int, PhoneSlots> m_phoneKinds{};
    QLabel* m_age = nullptr; // Label3
    QLabel* m_checkCaption = nullptr;
    std::array<QPushButton*, 4> m_command1{};
    QPushButton* m_mail = nullptr;           // Command2
    QPushButton* m_extra = nullptr;          // Command3
    QPushButton* m_related = nullptr;        // Command4
    std::array<QPushButton*, 2> m_support{}; // Command5(0..1)
    QFrame* m_line3 = nullptr;
    QFrame* m_line4 = nullptr;
};

// Opens the editor modally on the selected record of `list` (EditStatus " " change, "R" view).
// True when the record was stored (EditStatus is then no longer " ").
bool EditSelected(AppState& state, const ListModel& list, char status, QWidget* parent);

} // namespace talik
