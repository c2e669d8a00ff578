#include "print/numberbox.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include "print/numberparse.h"

namespace talik {
namespace {

class NumberBoxFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* box = qobject_cast<QLineEdit*>(watched);
        if (box == nullptr) {
            return false;
        }
        if (event->type() == QEvent::FocusIn) {
            // After the click that brought the focus has placed the cursor.
            QTimer::singleShot(0, box, &QLineEdit::selectAll);
            return false;
        }
        if (event->type() == QEvent::KeyPress) {
            const QString text = static_cast<QKeyEvent*>(event)->text();
            const bool types = !text.isEmpty() && text[0].isPrint();
            return types && !IsNumberBoxChar(text.toUcs4().value(0));
        }
        return false;
    }
};

} // namespace

void MakeNumberBox(QLineEdit* box)
{
    box->installEventFilter(new NumberBoxFilter(box));
}

} // namespace talik
