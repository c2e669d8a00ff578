#include "listwin/inputgate.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace talik {
namespace {

bool IsInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::Enter:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return true;
    default:
        return false;
    }
}

} // namespace

InputGate::InputGate(QWidget* window, const bool& closed) : QObject(window), m_window(window), m_closed(closed)
{
    // Input reaches a window's children and its popup menus (separate windows) directly, so only
    // the application sees all of it.
    qApp->installEventFilter(this);
}

bool InputGate::eventFilter(QObject* watched, QEvent* event)
{
    if (m_closed && IsInput(event->type()) && belongsToWindow(watched)) {
        return true;
    }
    return QObject::eventFilter(watched, event);
}

bool InputGate::belongsToWindow(const QObject* object) const
{
    // A click reaches the window system's window first, and moves the focus before its widget
    // sees it: it is dropped there.
    if (const auto* handle = qobject_cast<const QWindow*>(object)) {
        return handle == m_window->windowHandle() || isOwnPopup(handle);
    }
    // An action or a shortcut belongs where the widget that owns it does.
    while (object != nullptr && !object->isWidgetType()) {
        object = object->parent();
    }
    if (object == nullptr) {
        return false;
    }
    const QWidget* top = static_cast<const QWidget*>(object)->window();
    return top == m_window || isOwnPopup(top);
}

bool InputGate::isOwnPopup(const QWidget* top) const
{
    // Its popup menus are windows of their own. Its dialogs are not: an import or an export may
    // still ask the user something.
    if (top->windowType() != Qt::Popup) {
        return false;
    }
    for (const QObject* owner = top->parent(); owner != nullptr; owner = owner->parent()) {
        if (owner == m_window) {
            return true;
        }
        // A popup of one of its dialogs (a combo box's list) belongs to that dialog.
        const auto* widget = qobject_cast<const QWidget*>(owner);
        if (widget != nullptr && widget->isWindow() && widget->windowType() != Qt::Popup) {
            return false;
        }
    }
    return false;
}

bool InputGate::isOwnPopup(const QWindow* handle) const
{
    const QList<QWidget*> parts = m_window->findChildren<QWidget*>();
    return std::any_of(parts.begin(), parts.end(), [this, handle](const QWidget* part) {
        return part->isWindow() && part->windowHandle() == handle && isOwnPopup(part);
    });
}

} // namespace talik
