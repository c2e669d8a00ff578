#pragma once
// The list column settings: which of the twelve list columns the lists show.
#include <array>

#include <QDialog>

#include "store/tables.h"

class QCheckBox;
class QPushButton;

namespace talik {

struct AppState;

class TALIKSET : public QDialog
{
    Q_OBJECT
public:
    explicit TALIKSET(AppState& state, QWidget* parent = nullptr);

    // True once OK stored a choice: the opener rebuilds the list's columns and reloads the tables.
    bool columnsChanged() const { return m_columnsChanged; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void storeAndClose();

    AppState& m_state;
    std::array<QCheckBox*, ListColumnTotal> m_checks{};
    QPushButton* m_ok;
    QPushButton* m_cancel;
    bool m_columnsChanged = false;
};

} // namespace talik
