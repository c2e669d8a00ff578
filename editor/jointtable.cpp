#include "editor/jointtable.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include "editor/bytelimit.h"
#include "editor/jointedit.h"
#include "ui/qtinteraction.h"

namespace talik {
namespace {

enum Column
{
    FamilyColumn,
    GivenColumn,
    HonorificColumn,
    ColumnCount
};

// Each cell takes no more than its field of the record could hold.
class LimitedCells final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        auto* edit = new QLineEdit(parent);
        edit->setFrame(false);
        LimitToCp932Bytes(edit, index.column() == HonorificColumn ? JointHonorificBytes : JointPartBytes);
        (void)option;
        return edit;
    }
};

QString CellText(const QTableWidget* table, int row, int column)
{
    const QTableWidgetItem* item = table->item(row, column);
    return item != nullptr ? item->text() : QString();
}

} // namespace

JointTable::JointTable(QWidget* parent, int rowHeight) : QWidget(parent)
{
    setObjectName("JointNamesArea");
    m_table = new QTableWidget(0, ColumnCount, this);
    m_table->setObjectName("JointNames");
    m_table->setHorizontalHeaderLabels({"姓", "名", "敬称"});
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(rowHeight);
    m_table->horizontalHeader()->setFixedHeight(rowHeight);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->horizontalHeader()->setSectionResizeMode(HonorificColumn, QHeaderView::ResizeToContents);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setTabKeyNavigation(false); // Tab leaves the table, as it leaves a box
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
    m_delegate = new LimitedCells(m_table);
    m_table->setItemDelegate(m_delegate);

    auto* buttons = new QVBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(1);
    const std::pair<QPushButton**, std::pair<const char*, const char*>> made[] = {
        {&m_add, {"JointAdd", "追加"}},
        {&m_remove, {"JointRemove", "削除"}},
        {&m_up, {"JointUp", "↑"}},
        {&m_down, {"JointDown", "↓"}},
    };
    for (const auto& [member, names] : made) {
        *member = new QPushButton(names.second, this);
        (*member)->setObjectName(names.first);
        (*member)->setFixedHeight(rowHeight + 2);
        (*member)->setAutoDefault(false);
        buttons->addWidget(*member);
    }
    buttons->addStretch();
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_table, 1);
    row->addLayout(buttons);

    connect(m_add, &QPushButton::clicked, this, [this] { addRow(); });
    connect(m_remove, &QPushButton::clicked, this, [this] { removeRow(); });
    connect(m_up, &QPushButton::clicked, this, [this] { moveRow(-1); });
    connect(m_down, &QPushButton::clicked, this, [this] { moveRow(1); });
    connect(m_table, &QTableWidget::currentCellChanged, this, [this] { enableButtons(); });
    enableButtons();
}

void JointTable::putRow(int row, const JointName& name)
{
    const std::string* texts[ColumnCount] = {&name.family, &name.given, &name.honorific};
    for (int column = 0; column < ColumnCount; ++column) {
        m_table->setItem(row, column, new QTableWidgetItem(Qs(*texts[column])));
    }
}

void JointTable::setNames(const std::vector<JointName>& names)
{
    m_table->setRowCount(0);
    m_table->setRowCount(static_cast<int>(names.size()));
    for (std::size_t i = 0; i < names.size(); ++i) {
        putRow(static_cast<int>(i), names[i]);
    }
    enableButtons();
}

std::vector<JointName> JointTable::rows() const
{
    // A cell still being edited counts with what it holds now.
    for (auto* editing : m_table->findChildren<QLineEdit*>()) {
        if (editing->isVisible()) {
            emit m_delegate->commitData(editing);
        }
    }
    std::vector<JointName> rows;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        rows.push_back({Us(CellText(m_table, row, FamilyColumn)), Us(CellText(m_table, row, GivenColumn)),
                        Us(CellText(m_table, row, HonorificColumn))});
    }
    return rows;
}

void JointTable::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    m_table->setEditTriggers(readOnly ? QAbstractItemView::NoEditTriggers
                                      : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                            QAbstractItemView::AnyKeyPressed);
    for (QPushButton* button : {m_add, m_remove, m_up, m_down}) {
        button->setVisible(!readOnly);
    }
    enableButtons();
}

void JointTable::editGiven(int row)
{
    m_table->setFocus();
    m_table->setCurrentCell(row, GivenColumn);
    m_table->editItem(m_table->item(row, GivenColumn));
}

void JointTable::addRow()
{
    if (m_readOnly || m_table->rowCount() >= MaxJointNames) {
        return;
    }
    int row = m_table->rowCount();
    m_table->setRowCount(row + 1);
    putRow(row, JointName{});
    editGiven(row);
    enableButtons();
}

void JointTable::removeRow()
{
    int row = m_table->currentRow();
    if (m_readOnly || row < 0) {
        return;
    }
    m_table->removeRow(row);
    m_table->setFocus();
    enableButtons();
}

void JointTable::moveRow(int by)
{
    int row = m_table->currentRow();
    std::vector<JointName> all = rows();
    if (m_readOnly || !MoveJointRow(all, row, by)) {
        return;
    }
    putRow(row, all[static_cast<std::size_t>(row)]);
    putRow(row + by, all[static_cast<std::size_t>(row + by)]);
    m_table->setCurrentCell(row + by, m_table->currentColumn());
    m_table->setFocus();
}

void JointTable::enableButtons()
{
    int row = m_table->currentRow();
    int count = m_table->rowCount();
    m_add->setEnabled(!m_readOnly && count < MaxJointNames);
    m_remove->setEnabled(!m_readOnly && row >= 0);
    m_up->setEnabled(!m_readOnly && row > 0);
    m_down->setEnabled(!m_readOnly && row >= 0 && row + 1 < count);
}

} // namespace talik
