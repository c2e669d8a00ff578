#include "listwin/listviewsetup.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QTreeView>

#include <utility>

#include "listwin/appstate.h"
#include "listwin/listfont.h"
#include "listwin/listviewmodel.h"
#include "listwin/listwindow.h"
#include "ui/qtinteraction.h"
#include "ui/units.h"

namespace talik {
namespace {

bool MovesThroughList(const QKeyEvent& key)
{
    // With Shift, Ctrl or Alt the arrows belong to the window (Shift+arrows change the tab).
    if (key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return false;
    }
    switch (key.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

class ListKeyMover : public QObject
{
public:
    ListKeyMover(QTreeView* view, std::function<void()> rowMoved)
        : QObject(view), m_view(view), m_rowMoved(std::move(rowMoved))
    {
        view->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_view || event->type() != QEvent::KeyPress) {
            return false;
        }
        auto* key = static_cast<QKeyEvent*>(event);
        if (!MovesThroughList(*key)) {
            return false;
        }
        const QPersistentModelIndex before = m_view->currentIndex();
        // Straight to the view, past the filters: the window's own filter swallows these keys.
        static_cast<QObject*>(m_view)->event(event);
        if (m_view->currentIndex() != before) {
            m_rowMoved();
        }
        // The windows' key tables pass Home and End on: the view would move a second time.
        return key->key() == Qt::Key_Home || key->key() == Qt::Key_End;
    }

private:
    QTreeView* m_view;
    std::function<void()> m_rowMoved;
};

} // namespace

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
    view->setFont(ListFont(state.settings));
    BuildAddressColumns(view, model, state);
    // Sorted from the start, so that every fill shows its rows by reading, not in file order.
    model->sort(0);
}

void FollowListKeys(QTreeView* view, std::function<void()> rowMoved)
{
    new ListKeyMover(view, std::move(rowMoved));
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
    case Qt::Key_Menu:
        return ListKey::Menu;
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

void PopupAtCurrentRow(QMenu* menu, QTreeView* view)
{
    QWidget* viewport = view->viewport();
    QPoint at(0, 0);
    const QModelIndex current = view->currentIndex();
    if (current.isValid()) {
        view->scrollTo(current);
        const QRect row = view->visualRect(current);
        at = QPoint(row.left() + row.height(), row.bottom());
    }
    menu->popup(viewport->mapToGlobal(at));
}

} // namespace talik
