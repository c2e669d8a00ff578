#include "dialler/qtnotice.h"

#include <QMessageBox>

#include "dialler/qtext.h"
#include "dialler/texts.h"

namespace talik::dialler {

void QtNotice::show(std::string_view text)
{
    QMessageBox box(QMessageBox::NoIcon, Qs(WindowCaption), Qs(text), QMessageBox::Ok, m_owner);
    box.exec();
}

} // namespace talik::dialler
