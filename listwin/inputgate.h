#pragma once
// Keeps a window from taking input while a flag is set: keys, mouse buttons, the wheel, context
// menus and shortcuts meant for the window, its children or its popup menus are dropped, while
// painting goes on. Not a greyed-out window: the user still sees what it shows. Dialogs the window
// opens meanwhile take input as usual.
#include <QObject>

class QWidget;
class QWindow;

namespace talik {

class InputGate : public QObject
{
public:
    // Watches the whole application for input to `window` (which owns the gate) while `closed`.
    InputGate(QWidget* window, const bool& closed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool belongsToWindow(const QObject* object) const;
    // A popup menu of the window, as a widget and as the windowing system sees it.
    bool isOwnPopup(const QWidget* top) const;
    bool isOwnPopup(const QWindow* handle) const;

    QWidget* m_window;
    const bool& m_closed;
};

} // namespace talik
