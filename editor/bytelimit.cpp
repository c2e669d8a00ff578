#include "editor/bytelimit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QValidator>

#include "editor/envsettings.h"
#include "store/record.h"
#include "ui/qtinteraction.h"

namespace talik {
namespace {

class Cp932ByteValidator final : public QValidator
{
public:
    Cp932ByteValidator(std::size_t bytes, QObject* parent) : QValidator(parent), m_bytes(bytes) {}

    State validate(QString& input, int&) const override { return FitsCp932(Us(input), m_bytes) ? Acceptable : Invalid; }

private:
    std::size_t m_bytes;
};

class DigitKeys final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const QString text = static_cast<QKeyEvent*>(event)->text();
            // Keys without text (arrows, Delete, Home, ...) pass; typed characters must be digits.
            if (text.size() == 1 && text[0].unicode() >= 0x20 && DigitKeyFilter(text[0].unicode()) == 0) {
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

class SelectAllOnFocusIn final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn) {
            if (auto* box = qobject_cast<QLineEdit*>(watched)) {
                QTimer::singleShot(0, box, &QLineEdit::selectAll);
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void LimitToCp932Bytes(QLineEdit* box, std::size_t bytes)
{
    box->setValidator(new Cp932ByteValidator(bytes, box));
}

void AcceptDigitKeysOnly(QLineEdit* box)
{
    box->installEventFilter(new DigitKeys(box));
}

void SelectAllOnFocus(QLineEdit* box)
{
    box->installEventFilter(new SelectAllOnFocusIn(box));
}

} // namespace talik
