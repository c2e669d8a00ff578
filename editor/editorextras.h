#pragma once
// The record editor's extra buttons: e-mail, the remarks extra data, the related file and the
// address-entry support of the sibling postcard program.
#include <QObject>

#include <array>
#include <memory>

#include "editor/sibling.h"
#include "ui/readiness.h"

class QFrame;
class QLineEdit;
class QPushButton;

namespace talik {

struct AppState;
class Launcher;

struct EditorExtraControls
{
    QPushButton* mail = nullptr;           // Command2
    QLineEdit* email = nullptr;            // Text2(4)
    QPushButton* remarksExtra = nullptr;   // Command3
    QPushButton* relatedFile = nullptr;    // Command4
    std::array<QPushButton*, 2> support{}; // Command5(0..1)
    std::array<QLineEdit*, 2> addresses{}; // Text5(0..1)
    QFrame* remarksMarker = nullptr;       // Line3
    QFrame* relatedMarker = nullptr;       // Line4
};

class EditorExtras : public QObject
{
    Q_OBJECT
public:
    // `readOnly`: the editor only shows the record (both dialogs then change nothing).
    EditorExtras(QWidget* editor, AppState& state, const EditorExtraControls& controls, bool readOnly);
    ~EditorExtras() override;

    // The launcher and window lookup the buttons use (the system's unless set).
    void setLauncher(Launcher& launcher, WindowSeams windows = {});
    // Line3 and Line4 coloured by whether their value is set.
    void colourMarkers();
    // F2 in an address box, F9, F10: the support when the sibling program is in use.
    void supportFromKey();
    // An address box got the focus: the support when it is blank and the program starts by itself.
    void supportFromFocus(QLineEdit* address);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void mail();
    void editRemarks();
    void openRelated();
    void editRelated();

    QWidget* m_editor;
    AppState& m_state;
    EditorExtraControls m_controls;
    bool m_readOnly;
    std::unique_ptr<Launcher> m_systemLauncher;
    Launcher* m_launcher;
    std::unique_ptr<AddressSupport> m_support;
    bool m_supportQueued = false;
};

} // namespace talik
