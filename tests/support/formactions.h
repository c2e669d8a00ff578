#pragma once
// What the form tests do to a window as a person would: click a button, type text, let the
// modal loops of a print run turn while the test watches.
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include <functional>

#include "tests/support/scripted.h"

namespace talik::test {

inline void ClickButton(QWidget* dialog, const char* button)
{
    QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
}

// Each character pressed and released, with its key code where it has one.
inline void TypeKeys(QWidget* widget, const QString& text)
{
    for (QChar c : text) {
        int key = c.unicode() < 0x80 ? QTest::asciiToKey(c.toLatin1()) : 0;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

// Each character as a text press alone, as an input method delivers it.
inline void TypeText(QWidget* box, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
    }
}

// A scripted user whose event loops also run `duringLoop`: how a test acts while a print runs.
class LoopInteraction : public ScriptedInteraction
{
public:
    std::function<void()> duringLoop;
    void processEvents() override
    {
        ScriptedInteraction::processEvents();
        if (duringLoop) {
            duringLoop();
        }
    }
};

} // namespace talik::test
