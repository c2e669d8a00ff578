#pragma once
// The address list window: the program's main window.
#include <QWidget>

class QLabel;
class QPushButton;
class QTreeView;

namespace talik {

struct AppState;
class TALIKIN;

class TALIKLST : public QWidget
{
    Q_OBJECT
public:
    TALIKLST(AppState& state, TALIKIN* startForm, QWidget* parent = nullptr);

    // Loads the tables when they are not (or no longer) loaded. False when the program is to end
    // (the password prompt of the first database was cancelled).
    bool loadIfNeeded();
    // Shows the window in its normal state, in front, active: a second copy asked for it.
    void bringToFront();
    // Ends the program through the closing path (the tray menu's exit entry).
    void requestExit();

signals:
    void programEnds();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void applyGeometry();
    void storeGeometry();
    void showTexts();

    AppState& m_state;
    TALIKIN* m_startForm;
    QLabel* m_title;
    QLabel* m_dbName;
    QLabel* m_loading;
    QLabel* m_count;
    QTreeView* m_list;
    QPushButton* m_close;
    bool m_ending = false;
};

} // namespace talik
