#pragma once
// The editor's joint-name table (連名): up to four further people, each a family name (when it
// differs from the main name's), a given name and an honorific, with buttons to add, remove and
// reorder them. Read-only when the record is only shown.
#include <QWidget>

#include <vector>

#include "store/sidestore.h"

class QPushButton;
class QStyledItemDelegate;
class QTableWidget;

namespace talik {

class JointTable : public QWidget
{
    Q_OBJECT
public:
    // `rowHeight` in pixels, as the editor's boxes are high.
    JointTable(QWidget* parent, int rowHeight);

    void setNames(const std::vector<JointName>& names);
    // The rows as typed (a cell being edited included), in order.
    std::vector<JointName> rows() const;
    void setReadOnly(bool readOnly);
    // Puts the cursor on the given name of `row` and starts editing it.
    void editGiven(int row);

    QTableWidget* table() const { return m_table; }
    QPushButton* lastButton() const { return m_down; }

private:
    void addRow();
    void removeRow();
    void moveRow(int by);
    void putRow(int row, const JointName& name);
    void enableButtons();

    QTableWidget* m_table = nullptr;
    QStyledItemDelegate* m_delegate = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_up = nullptr;
    QPushButton* m_down = nullptr;
    bool m_readOnly = false;
};

} // namespace talik
