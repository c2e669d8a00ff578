#pragma once
// The Qt model adapter that shows a ListModel in a QTreeView: one row per item, column 0 the
// item's text, column k its sub-item k. The texts stay in the ListModel and are converted only when
// the view asks for them, so a list of thousands of rows costs the view nothing up front.
#include <QAbstractTableModel>
#include <QStringList>

#include <functional>
#include <string>

namespace talik {

class ListModel;

class ListViewModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // The item's key ("K00002") under this role, in every column.
    static constexpr int KeyRole = Qt::UserRole + 1;

    explicit ListViewModel(ListModel& list, QObject* parent = nullptr);

    // The column headers; their number is the number of columns.
    void setHeaders(const QStringList& headers);
    const QStringList& headers() const { return m_headers; }
    // Column `column` shows a text worked out per row from its key instead of a sub-item (-1: none).
    void setComputedColumn(int column, std::function<QString(const std::string& key)> text);
    // The computed column's texts changed: the view asks for them again.
    void refreshComputedColumn();
    // Shows the list afresh after the core changed it (filled, cleared, added or removed items).
    void refresh();
    // The key of the item in `row`; empty for a row that does not exist.
    QString keyAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // A header click: the list sorts itself ascending on the column (the only order it knows), and
    // the view's current and selected items stay on the same records.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    ListModel& m_list;
    QStringList m_headers;
    int m_computedColumn = -1;
    std::function<QString(const std::string& key)> m_computedText;
};

} // namespace talik
