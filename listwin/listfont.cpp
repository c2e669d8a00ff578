#include "listwin/listfont.h"

#include <algorithm>

#include <QTreeView>

#include "store/settings.h"
#include "ui/qtinteraction.h"

namespace talik {

void ApplyListFont(QTreeView* view, const Settings& settings)
{
    QFont font(Qs(settings.ListFontName));
    font.setPointSize(std::max(settings.ListFontSize, 6));
    view->setFont(font);
    view->doItemsLayout();
    view->viewport()->update();
}

} // namespace talik
