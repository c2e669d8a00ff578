#pragma once
// Moving or copying the records of a search result into another database.
#include <QDialog>

#include "dbadmin/movecopy.h"

class QListWidget;
class QPushButton;
class QRadioButton;

namespace talik {

struct AppState;
class ListModel;

class TALIKDMV : public QDialog
{
    Q_OBJECT
public:
    // Works on the records listed in `results`, which loses the rows of moved records.
    TALIKDMV(AppState& state, ListModel& results, QWidget* parent = nullptr);

    // The chosen target (0 = none) and mode, and how the run went.
    int targetDbNo() const { return m_targetDbNo; }
    bool moveMode() const { return m_moveMode; }
    const MoveCopyOutcome& outcome() const { return m_outcome; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void chooseTarget(int row);
    void execute();

    AppState& m_state;
    ListModel& m_results;
    QListWidget* m_list;
    QRadioButton* m_move;
    QRadioButton* m_copy;
    QPushButton* m_execute;
    QPushButton* m_cancel;
    int m_targetDbNo = 0;
    bool m_moveMode = false;
    MoveCopyOutcome m_outcome;
};

} // namespace talik
