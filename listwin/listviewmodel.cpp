#include "listwin/listviewmodel.h"

#include <string>
#include <utility>
#include <vector>

#include "listwin/listmodel.h"
#include "ui/qtinteraction.h"

namespace talik {

ListViewModel::ListViewModel(ListModel& list, QObject* parent) : QAbstractTableModel(parent), m_list(list) {}

void ListViewModel::setHeaders(const QStringList& headers)
{
    // The column count changes with the headers: the view must forget its columns.
    beginResetModel();
    m_headers = headers;
    endResetModel();
}

void ListViewModel::setComputedColumn(int column, std::function<QString(const std::string& key)> text)
{
    m_computedColumn = text ? column : -1;
    m_computedText = std::move(text);
    refreshComputedColumn();
}

void ListViewModel::refreshComputedColumn()
{
    if (m_computedColumn >= 0 && rowCount() > 0) {
        emit dataChanged(index(0, m_computedColumn), index(rowCount() - 1, m_computedColumn));
    }
}

void ListViewModel::refresh()
{
    beginResetModel();
    endResetModel();
}

QString ListViewModel::keyAt(int row) const
{
    if (row < 0 || static_cast<std::size_t>(row) >= m_list.size()) {
        return {};
    }
    return Qs(m_list.keyAt(static_cast<std::size_t>(row)));
}

int ListViewModel::rowCount(const QModelIndex& parent) const
{
    // A table: only the invisible root has rows.
    return parent.isValid() ? 0 : static_cast<int>(m_list.size());
}

int ListViewModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid()) {
        return 0;
    }
    return m_headers.isEmpty() ? 1 : static_cast<int>(m_headers.size());
}

QVariant ListViewModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= m_list.size()) {
        return {};
    }
    const auto row = static_cast<std::size_t>(index.row());
    if (role == KeyRole) {
        return Qs(m_list.keyAt(row));
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (index.column() == m_computedColumn) {
        return m_computedText(std::string(m_list.keyAt(row)));
    }
    return Qs(m_list.columnAt(row, static_cast<std::size_t>(index.column())));
}

QVariant ListViewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= m_headers.size()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return m_headers[section];
}

void ListViewModel::sort(int column, Qt::SortOrder)
{
    if (column < 0) {
        return;
    }
    emit layoutAboutToBeChanged();
    // The view's persistent indexes (current item, selection) follow their records by key.
    const QModelIndexList before = persistentIndexList();
    std::vector<std::string> keys;
    keys.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before) {
        keys.push_back(keyAt(index.row()).toStdString());
    }
    m_list.sortOn(static_cast<std::size_t>(column));
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        const auto row = m_list.indexOf(keys[static_cast<std::size_t>(i)]);
        after.push_back(row ? index(static_cast<int>(*row), before[i].column()) : QModelIndex());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

} // namespace talik
