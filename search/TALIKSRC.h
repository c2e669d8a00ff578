#pragma once
// The search-result window: the hits of a search, refined by further searches, changed, deleted
// and given check items in one batch.
#include <QDialog>

#include <array>

#include "listwin/listmenus.h"
#include "listwin/listmodel.h"
#include "listwin/listwindow.h"
#include "search/search.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace talik {

struct AppState;
class Launcher;
class ListViewModel;

class TALIKSRC : public QDialog
{
    Q_OBJECT
public:
    TALIKSRC(AppState& state, Launcher& launcher, QWidget* parent = nullptr);
    ~TALIKSRC() override;

    // Searches by the current kind with the conditions in the record buffer.
    void runSearch();
    // A further search (0 add, 1 narrow, 2 exclude) with conditions typed into the editor.
    void furtherSearch(int kind);
    // Sets (0) or clears (1) the check items picked in the picker in every result.
    void batchCheckItems(int mode);
    void resultJump();

    ListModel& results() { return m_results; }
    const RecordMenu& recordMenu() const { return m_recordMenu; }
    const TelephoneMenu& telephoneMenu() const { return m_telephoneMenu; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildButtons();
    void connectControls();
    void applyOpeningGeometry();
    void storeGeometry();
    void setHitButtons(bool hits);
    void setRecordButtons(const RecordButtons& buttons);
    void selectCurrentRow();
    void prepareRecordMenu();
    void openRecord(char status);
    void deleteSelected();
    void deleteAll();
    // Telephone slot `slot` of the selected result: the call confirmation, then the dialler.
    void dial(int slot);
    void doubleClickAction();
    bool handleKey(QKeyEvent* event);
    int px(int twips) const;

    AppState& m_state;
    Launcher& m_launcher;
    SearchSession m_session;
    ListModel m_results;
    ListViewModel* m_model;
    QTreeView* m_list;
    QLabel* m_label1;
    QLabel* m_label4;
    QGroupBox* m_frame1;
    QGroupBox* m_frame2;
    QLabel* m_label6;
    QLineEdit* m_jump;
    std::array<QPushButton*, 14> m_command{}; // Command1..Command13 by number (index 0 unused)
    std::array<QPushButton*, 2> m_command6{};
    std::array<QPushButton*, 3> m_command7{};
    std::array<QPushButton*, 2> m_command9{};
    RecordMenu m_recordMenu;
    PrintMenu m_printMenu;
    TelephoneMenu m_telephoneMenu;
    bool m_searched = false;
};

} // namespace talik
