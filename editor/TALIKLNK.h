#pragma once
// The related file of the record in the editor: typed or chosen, stored whole or not at all.
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace talik {

struct AppState;

class TALIKLNK : public QDialog
{
    Q_OBJECT
public:
    // `readOnly`: the editor shows the record only; the path is shown and nothing is stored.
    TALIKLNK(AppState& state, bool readOnly, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void browse();
    void storeAndClose();

    AppState& m_state;
    bool m_readOnly;
    QLineEdit* m_path;     // Text1
    QPushButton* m_browse; // Command1(0)
    QPushButton* m_close;  // Command1(1)
    QPushButton* m_cancel; // Command1(2)
};

} // namespace talik
