#pragma once
// The remarks extra data of the record in the editor: up to 400 bytes of free text.
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace talik {

struct AppState;

class TALIKTXT : public QDialog
{
    Q_OBJECT
public:
    // `readOnly`: the editor shows the record only; the text can be read and copied, not changed.
    TALIKTXT(AppState& state, bool readOnly, QWidget* parent = nullptr);

    // Closing (the button, the close box, Escape): the text is stored unless it is unchanged, or
    // too long and the user declined the cut (the dialog then stays open).
    void done(int result) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void copyToClipboard();
    int px(int twips) const;

    AppState& m_state;
    bool m_readOnly;
    QString m_opened;
    QPlainTextEdit* m_text; // Text1
    QPushButton* m_close;   // Command1
    QPushButton* m_copy;    // Command2
};

} // namespace talik
