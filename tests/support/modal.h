#pragma once
// Scripts a modal dialog from a form test: the script runs once a dialog of type T is up.
#include <QApplication>
#include <QTimer>

#include <functional>

namespace talik::test {

template <class T> void WhenModalShows(std::function<void(T*)> script, int triesLeft = 300)
{
    QTimer::singleShot(10, [script = std::move(script), triesLeft] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            script(dialog);
        } else if (triesLeft > 0) {
            WhenModalShows<T>(script, triesLeft - 1);
        }
    });
}

} // namespace talik::test
