#pragma once
// The global check-item names and the environment settings: modem, outside line, senders, data
// folder, list font, double-click action and switches. Nothing is taken over before 登録.
#include <array>

#include <QDialog>

#include "editor/envsettings.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace talik {

struct AppState;

class TALIKCHK : public QDialog
{
    Q_OBJECT
public:
    explicit TALIKCHK(AppState& state, QWidget* parent = nullptr);

    // What 登録 changed, for the opener: the list font, the data folder (tables to reload), the
    // list columns chosen through 表示項目選択.
    const StoreResult& stored() const { return m_stored; }
    bool columnsChanged() const { return m_columnsChanged; }

public slots:
    // 取り消し and Escape: nothing is taken over.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* textBox(int index, std::size_t bytes);
    QWidget* buildCheckNames();
    QWidget* buildModem();
    QWidget* buildSenders();
    QWidget* buildListAndFolder();
    QWidget* buildDoubleClick();
    QWidget* buildSwitches();
    QWidget* buildButtons();
    void fill();
    EnvironmentValues edited() const;
    void showFontSample();
    void chooseFolder();
    void chooseColumns();
    void testModem();
    void store();

    AppState& m_state;
    std::array<QLineEdit*, 25> m_text{}; // Text1(0..24)
    QComboBox* m_font = nullptr;         // Combo1
    QLabel* m_sample = nullptr;
    QButtonGroup* m_port = nullptr;        // Option1(0..4)
    QButtonGroup* m_lineType = nullptr;    // Option2(0..1)
    QButtonGroup* m_doubleClick = nullptr; // Option3(0..4)
    QCheckBox* m_endCheck = nullptr;       // Check2
    QCheckBox* m_taskTray = nullptr;       // Check3
    QCheckBox* m_useHarupo = nullptr;      // Check4
    QCheckBox* m_harupoRun = nullptr;      // Check5
    QCheckBox* m_extTel = nullptr;         // Check7
    bool m_filled = false;
    bool m_columnsChanged = false;
    StoreResult m_stored;
};

} // namespace talik
