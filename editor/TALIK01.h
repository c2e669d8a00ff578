#pragma once
// The record editor: one person's record created, changed or shown, or search conditions typed.
#include <QDialog>

#include <array>

#include "editor/recordedit.h"
#include "listwin/listmodel.h"
#include "ui/readiness.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace talik {

struct AppState;
class EditorExtras;
class JointTable;
class PostalEntry;
class SeasonGrid;

class TALIK01 : public QDialog
{
    Q_OBJECT
public:
    // Opens on the shared record state: CurRecNo, EditStatus and the search flag decide the mode;
    // `ready` says which of its buttons may be enabled at all.
    TALIK01(AppState& state, bool searchMode, QWidget* parent = nullptr, const Readiness& ready = Ready);

    EditorMode mode() const { return m_mode; }
    // E-mail, remarks extra data, related file and address support (tests give it their launcher).
    EditorExtras* extras() const { return m_extras; }
    // The values the boxes hold now.
    EditorValues values() const;
    JointTable* jointTable() const { return m_joint; }
    SeasonGrid* seasonGrid() const { return m_season; }

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
    void buildJointTable();
    void buildSeasonGrid();
    // The grid's marks after the record itself was stored; false (told) when they could not be.
    bool storeSeason();
    void applyMode();
    void showValues(const EditorValues& values);
    void showPhoneKind(int slot);
    void showAge();
    void leave(EditorButton button);
    void savePosition();
    void boxLeft(QLineEdit* box);
    bool filterKey(QLineEdit* box, QKeyEvent* event);
    // The boxes with a maximum length, in the order the focus advances through them when full.
    std::array<QLineEdit*, 5> limitedBoxes() const;
    void advanceIfFull(int index);
    void moveAlongEnterChain(QObject* from);
    QLineEdit* boxOf(EditorBox which) const;
    std::optional<EditorBox> whichBox(QObject* object) const;
    void dragWindow();
    int px(int twips) const;

    AppState& m_state;
    const Readiness m_ready;
    EditorMode m_mode;
    bool m_active = false;
    QLineEdit* m_reading = nullptr;           // Text1(0)
    QLineEdit* m_name = nullptr;              // Text1(1)
    QLineEdit* m_year = nullptr;              // Text2(0)
    QLineEdit* m_month = nullptr;             // Text2(1)
    QLineEdit* m_day = nullptr;               // Text2(2)
    QLineEdit* m_classCode = nullptr;         // Text2(3)
    QLineEdit* m_email = nullptr;             // Text2(4)
    std::array<QLineEdit*, 2> m_postCodes{};  // Text3(0..1), of address 1 and 2
    std::array<QLineEdit*, 2> m_addresses{};  // Text5(0..1)
    std::array<QLineEdit*, 2> m_telephones{}; // Text6(0..1): Tel1 (slot 0), Tel2 (slot 2)
    std::array<QLineEdit*, 2> m_faxes{};      // Text7(0..1): Fax1 (slot 1), Fax2 (slot 3)
    QLineEdit* m_company = nullptr;           // Text8(0)
    QLineEdit* m_department = nullptr;        // Text8(1)
    QLineEdit* m_remarks = nullptr;           // Text9
    std::array<QCheckBox*, CheckItemTotal> m_checks{};
    std::array<QLabel*, PhoneSlots> m_slotCaptions{}; // Label1 items 3, 4, 7, 8
    std::array<int, PhoneSlots> m_phoneKinds{};
    QLabel* m_age = nullptr; // Label3
    QLabel* m_checkCaption = nullptr;
    QPushButton* m_store = nullptr;                  // Command1(0)
    QPushButton* m_cancel = nullptr;                 // Command1(1)
    QPushButton* m_storeAsNew = nullptr;             // Command1(2)
    QPushButton* m_printSettings = nullptr;          // Command1(3)
    QPushButton* m_mail = nullptr;                   // Command2
    QPushButton* m_remarksExtra = nullptr;           // Command3
    QPushButton* m_relatedFile = nullptr;            // Command4
    std::array<QPushButton*, 2> m_addressSupport{};  // Command5(0..1)
    QFrame* m_remarksExtraMarker = nullptr;          // Line3
    QFrame* m_relatedFileMarker = nullptr;           // Line4
    EditorExtras* m_extras = nullptr;                // what Command2 to Command5 do
    std::array<QPushButton*, 2> m_postalToAddress{}; // "〒→住所" of address 1 and 2
    std::array<QPushButton*, 2> m_postalToCode{};    // "住所→〒"
    PostalEntry* m_postal = nullptr;                 // what they do
    JointTable* m_joint = nullptr;                   // 連名, under the name
    SeasonGrid* m_season = nullptr;                  // 年賀状, under the buttons
};

// Opens the editor modally on the selected record of `list` (EditStatus " " change, "R" view).
// True when the record was stored (EditStatus is then no longer " ").
bool EditSelected(AppState& state, const ListModel& list, char status, QWidget* parent, const Readiness& ready = Ready);

} // namespace talik
