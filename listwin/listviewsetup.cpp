#include "listwin/listviewsetup.h"

#include <QHeaderView>
#include <QMenu>
#include <QTreeView>

#include "listwin/listviewmodel.h"
#include "listwin/listwindow.h"
#include "store/state.h"
#include "ui/qtinteraction.h"
#include "ui/units.h"

namespace talik {

void SetUpAddressList(QTreeView* view, ListViewModel* model, const AppState& state)
{
    view->setObjectName("ListView1");
    view->setModel(model);
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setFrameShape(QFrame::Box);
    view->header()->setSectionsClickable(true);
    view->header()->setStretchLastSection(false);
    QFont font(Qs(state.settings.ListFontName));
    font.setPointSize(std::max(state.settings.ListFontSize, 6));
    view->setFont(font);
    BuildAddressColumns(view, model, state);
}

void BuildAddressColumns(QTreeView* view, ListViewModel* model, const AppState& state)
{
    QStringList labels;
    std::vector<ColumnHeader> headers = ListColumnHeaders(state);
    for (const ColumnHeader& header : headers) {
        labels << Qs(header.label);
    }
    model->setHeaders(labels);
    for (int i = 0; i < static_cast<int>(headers.size()); ++i) {
        view->header()->resizeSection(i, TwipsToPixels(headers[i].widthTwips, view->logicalDpiX()));
    }
}

void ShowFoundRow(QTreeView* view, int row)
{
    QModelIndex found = view->model()->index(row, 0);
    view->scrollTo(found);
    view->selectionModel()->setCurrentIndex(found, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view->setFocus();
}

ListKey ListKeyOfQt(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return ListKey::Enter;
    case Qt::Key_PageUp:
        return ListKey::PageUp;
    case Qt::Key_PageDown:
        return ListKey::PageDown;
    case Qt::Key_Up:
        return ListKey::Up;
    case Qt::Key_Down:
        return ListKey::Down;
    case Qt::Key_Left:
        return ListKey::Left;
    case Qt::Key_Right:
        return ListKey::Right;
    default:
        break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
        return static_cast<ListKey>(static_cast<int>(ListKey::F1) + (key - Qt::Key_F1));
    }
    return ListKey::Other;
}

void PopupBelow(QMenu* menu, QWidget* anchor)
{
    menu->popup(anchor->mapToGlobal(QPoint(0, anchor->height())));
}

} // namespace talik
